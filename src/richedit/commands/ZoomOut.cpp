#include "ZoomOut.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

ZoomOut::ZoomOut(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.ZoomOut"), tr("Zoom Out"),
                      QStringLiteral("Command.ZoomOut.Description"),
                      tr("Make the document look smaller."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("zoom-out")));
}

void ZoomOut::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->activeView()->zoomFactor() > RichEditView::MinimumZoom);
}

void ZoomOut::execute()
{
    control()->zoomOut();
}

} // namespace richedit
