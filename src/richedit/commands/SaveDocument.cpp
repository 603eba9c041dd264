#include "SaveDocument.h"

#include "DocumentFileActions.h"
#include "formats/DocumentFormat.h"
#include "richedit/view/RichEditControl.h"

namespace richedit {

SaveDocument::SaveDocument(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SaveDocument"), tr("Save"),
                      QStringLiteral("Command.SaveDocument.Description"), tr("Save the document."),
                      parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("document-save")));
}

void SaveDocument::execute()
{
    RichEditControl *c = control();
    const DocumentSaveOptions &options = c->documentSaveOptions();
    const formats::DocumentFormat *format = DocumentFileActions::formatById(options.currentFormat);
    if (options.currentFileName.isEmpty() || !format || !format->canWrite())
        DocumentFileActions::saveAs(c);
    else
        DocumentFileActions::write(c, options.currentFileName, format);
}

} // namespace richedit
