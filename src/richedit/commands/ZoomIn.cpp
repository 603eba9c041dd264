#include "ZoomIn.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

ZoomIn::ZoomIn(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.ZoomIn"), tr("Zoom In"),
                      QStringLiteral("Command.ZoomIn.Description"),
                      tr("Make the document look larger."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("zoom-in")));
}

void ZoomIn::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->activeView()->zoomFactor() < RichEditView::MaximumZoom);
}

void ZoomIn::execute()
{
    control()->zoomIn();
}

} // namespace richedit
