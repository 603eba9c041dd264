#include "SaveDocumentAs.h"

#include "DocumentFileActions.h"
#include "richedit/view/RichEditControl.h"

namespace richedit {

SaveDocumentAs::SaveDocumentAs(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SaveDocumentAs"), tr("Save As..."),
                      QStringLiteral("Command.SaveDocumentAs.Description"),
                      tr("Save the document under another name or in another format."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("document-save-as")));
}

void SaveDocumentAs::execute()
{
    DocumentFileActions::saveAs(control());
}

} // namespace richedit
