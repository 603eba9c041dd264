#include "NewDocument.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

NewDocument::NewDocument(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.NewDocument"), tr("New"),
                      QStringLiteral("Command.NewDocument.Description"),
                      tr("Create a new blank document."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("document-new")));
}

void NewDocument::execute()
{
    control()->newDocument();
}

} // namespace richedit
