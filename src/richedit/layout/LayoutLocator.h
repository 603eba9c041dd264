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

private:
    const PaginatedLayout *m_layout;
};

} // namespace richedit
