#pragma once

#include <QRectF>

namespace richedit {

class PaginatedLayout;

// Maps main-story positions to their place on the laid-out pages and back:
// where the caret is drawn, and which position a click lands on.
class LayoutLocator
{
public:
    struct Place
    {
        int page = -1;
        QRectF rect; // the caret's box, page coordinates
    };

    explicit LayoutLocator(const PaginatedLayout *layout) : m_layout(layout) {}
    Place caret(int position) const;
    // The position under a point of a page, or the nearest one.
    int hitTest(int page, const QPointF &point) const;
    // The position on the nearest line wholly below (direction > 0) or
    // above (direction < 0) the page y, at x; -1 when the page has none.
    int lineBeyond(int page, qreal x, qreal y, int direction) const;

private:
    int nearest(int page, const QPointF &point, int direction) const;
    const PaginatedLayout *m_layout;
};

} // namespace richedit
