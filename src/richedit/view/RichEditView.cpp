#include "RichEditView.h"

#include <algorithm>

namespace richedit {

void RichEditView::setZoomFactor(float zoom)
{
    zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    emit zoomFactorChanged(zoom);
}

} // namespace richedit
