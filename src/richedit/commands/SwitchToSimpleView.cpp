#include "SwitchToSimpleView.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

SwitchToSimpleView::SwitchToSimpleView(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SwitchToSimpleView"), tr("Simple View"),
                      QStringLiteral("Command.SwitchToSimpleView.Description"),
                      tr("Show the document wrapped to the window, as a web page."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("view-list-text")));
    setCheckable(true);
}

void SwitchToSimpleView::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setChecked(c && c->activeViewType() == ViewType::Simple);
}

void SwitchToSimpleView::execute()
{
    control()->setActiveViewType(ViewType::Simple);
}

} // namespace richedit
