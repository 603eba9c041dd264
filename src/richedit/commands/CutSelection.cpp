#include "CutSelection.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

CutSelection::CutSelection(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.CutSelection"), tr("Cut"),
                      QStringLiteral("Command.CutSelection.Description"),
                      tr("Cut the selection and put it on the clipboard."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-cut")));
}

void CutSelection::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->canCopy());
}

void CutSelection::execute()
{
    control()->cut();
}

} // namespace richedit
