#include "ToggleShowHorizontalRuler.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

ToggleShowHorizontalRuler::ToggleShowHorizontalRuler(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.ToggleShowHorizontalRuler"), tr("Horizontal Ruler"),
                      QStringLiteral("Command.ToggleShowHorizontalRuler.Description"),
                      tr("Show or hide the horizontal ruler."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("show-ruler")));
    setCheckable(true);
}

void ToggleShowHorizontalRuler::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setChecked(c && c->isHorizontalRulerVisible());
}

void ToggleShowHorizontalRuler::execute()
{
    control()->setHorizontalRulerVisible(!control()->isHorizontalRulerVisible());
}

} // namespace richedit
