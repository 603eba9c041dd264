#include "ToggleShowVerticalRuler.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

ToggleShowVerticalRuler::ToggleShowVerticalRuler(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.ToggleShowVerticalRuler"), tr("Vertical Ruler"),
                      QStringLiteral("Command.ToggleShowVerticalRuler.Description"),
                      tr("Show or hide the vertical ruler."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("show-ruler")));
    setCheckable(true);
}

void ToggleShowVerticalRuler::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->activeViewType() == ViewType::PrintLayout);
    setChecked(c && c->isVerticalRulerVisible());
}

void ToggleShowVerticalRuler::execute()
{
    control()->setVerticalRulerVisible(!control()->isVerticalRulerVisible());
}

} // namespace richedit
