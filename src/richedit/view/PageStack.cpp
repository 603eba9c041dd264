#include "PageStack.h"

#include "richedit/layout/PaginatedLayout.h"

#include <algorithm>

namespace richedit {

void PageStack::rebuild(const PaginatedLayout *layout, qreal scale, bool paged, qreal viewportWidth)
{
    m_scale = scale;
    m_rects.clear();
    const int n = layout->laidOutPageCount();
    m_rects.reserve(size_t(n));
    qreal widest = 0;
    for (int i = 0; i < n; ++i)
        widest = std::max(widest, layout->page(i).size().width() * scale);
    const qreal gap = paged ? Gap : 0;
    const qreal contentWidth = std::max(viewportWidth, widest + 2 * gap);
    qreal y = gap;
    for (int i = 0; i < n; ++i) {
        QSizeF s = layout->page(i).size() * scale;
        if (!paged && i + 1 == n && layout->isComplete()) {
            // The last strip ends below its text.
            qreal bottom = 0;
            for (const PlacedLines &l : layout->page(i).lines)
                bottom = std::max(bottom, l.bottom);
            s.setHeight((bottom + 720) * scale);
        }
        const qreal x = paged ? (contentWidth - s.width()) / 2 : 0;
        m_rects.emplace_back(x, y, s.width(), s.height());
        y += s.height() + gap;
    }
    m_size = QSizeF(contentWidth, y);
}

int PageStack::pageAt(const QPointF &p) const
{
    if (m_rects.empty())
        return -1;
    auto it = std::upper_bound(m_rects.cbegin(), m_rects.cend(), p.y(),
                               [](qreal y, const QRectF &r) { return y < r.top(); });
    int index = std::max(0, int(it - m_rects.cbegin()) - 1);
    // In the gap below a page, the nearer page wins.
    if (index + 1 < count() && p.y() > m_rects[size_t(index)].bottom() &&
        p.y() - m_rects[size_t(index)].bottom() > m_rects[size_t(index) + 1].top() - p.y())
        ++index;
    return index;
}

QPointF PageStack::toPage(int page, const QPointF &p) const
{
    const QRectF r = m_rects.at(size_t(page));
    return (p - r.topLeft()) / m_scale;
}

QPointF PageStack::fromPage(int page, const QPointF &p) const
{
    return m_rects.at(size_t(page)).topLeft() + p * m_scale;
}

} // namespace richedit
