#include "CopySelection.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

CopySelection::CopySelection(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.CopySelection"), tr("Copy"),
                      QStringLiteral("Command.CopySelection.Description"),
                      tr("Copy the selection and put it on the clipboard."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
}

void CopySelection::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->canCopy());
}

void CopySelection::execute()
{
    control()->copy();
}

} // namespace richedit
