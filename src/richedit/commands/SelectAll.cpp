#include "SelectAll.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

SelectAll::SelectAll(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SelectAll"), tr("Select All"),
                      QStringLiteral("Command.SelectAll.Description"),
                      tr("Select the whole document."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-select-all")));
}

void SelectAll::execute()
{
    control()->selectAll();
}

} // namespace richedit
