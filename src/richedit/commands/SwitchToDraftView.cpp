#include "SwitchToDraftView.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

SwitchToDraftView::SwitchToDraftView(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SwitchToDraftView"), tr("Draft View"),
                      QStringLiteral("Command.SwitchToDraftView.Description"),
                      tr("Show the document as continuous text without page layout."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("view-list-details")));
    setCheckable(true);
}

void SwitchToDraftView::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setChecked(c && c->activeViewType() == ViewType::Draft);
}

void SwitchToDraftView::execute()
{
    control()->setActiveViewType(ViewType::Draft);
}

} // namespace richedit
