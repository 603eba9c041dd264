#include "LayoutLocator.h"

#include "PaginatedLayout.h"

#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace richedit {

LayoutLocator::Place LayoutLocator::caret(int position) const
{
    const int count = m_layout->laidOutPageCount();
    if (count == 0)
        return {};
    // Pages inside one table share their start position; look back over
    // them and one page further on each side.
    int first = m_layout->pageOf(position);
    const int startAt = m_layout->page(first).start.position;
    while (first > 0 && m_layout->page(first - 1).start.position >= startAt)
        --first;
    first = std::max(0, first - 1);
    const int last = std::min(count - 1, m_layout->pageOf(position) + 1);
    for (int p = first; p <= last; ++p) {
        for (const PlacedLines &l : m_layout->page(p).lines) {
            const int blockPos = l.block.position();
            if (position < blockPos || position >= blockPos + l.block.length())
                continue;
            const QTextLayout *tl = l.block.layout();
            const QTextLine line = tl->lineForTextPosition(position - blockPos);
            if (!line.isValid() || line.lineNumber() < l.firstLine ||
                line.lineNumber() >= l.firstLine + l.lineCount)
                continue;
            const qreal x = line.cursorToX(position - blockPos);
            return Place{p, QRectF(l.offset.x() + x, l.offset.y() + line.y(), 1, line.height())};
        }
    }
    return {};
}

int LayoutLocator::hitTest(int page, const QPointF &point) const
{
    if (page < 0 || page >= m_layout->laidOutPageCount())
        return 0;
    const int pos = nearest(page, point, 0);
    return pos < 0 ? m_layout->page(page).start.position : pos;
}

int LayoutLocator::lineBeyond(int page, qreal x, qreal y, int direction) const
{
    if (page < 0 || page >= m_layout->laidOutPageCount())
        return -1;
    return nearest(page, QPointF(x, y), direction);
}

int LayoutLocator::nearest(int page, const QPointF &point, int direction) const
{
    const LayoutPage &p = m_layout->page(page);
    const PlacedLines *best = nullptr;
    int bestLine = 0;
    qreal bestDistance = std::numeric_limits<qreal>::max();
    for (const PlacedLines &l : p.lines) {
        const QTextLayout *tl = l.block.layout();
        if (!tl || tl->lineCount() < l.firstLine + l.lineCount)
            continue;
        // Prefer the column under the point; distance counts vertically first.
        // A point just beside a column or cell (its padding, the margin)
        // still belongs to it; one farther off belongs to another column.
        const qreal dx =
            std::max<qreal>({0.0, l.areaLeft - point.x(), point.x() - (l.areaLeft + l.areaWidth)});
        for (int i = l.firstLine; i < l.firstLine + l.lineCount; ++i) {
            const QTextLine line = tl->lineAt(i);
            const qreal top = l.offset.y() + line.y();
            const qreal bottom = top + line.height();
            if ((direction > 0 && top < point.y() - 0.5) ||
                (direction < 0 && bottom > point.y() + 0.5))
                continue;
            qreal d = point.y() < top      ? top - point.y()
                      : point.y() > bottom ? point.y() - bottom
                                           : 0;
            d += dx > 720 ? 1e6 : dx;
            if (d < bestDistance) {
                bestDistance = d;
                best = &l;
                bestLine = i;
            }
        }
    }
    if (!best)
        return -1;
    const QTextLine line = best->block.layout()->lineAt(bestLine);
    const int offset = line.xToCursor(point.x() - best->offset.x());
    return best->block.position() + offset;
}

} // namespace richedit
