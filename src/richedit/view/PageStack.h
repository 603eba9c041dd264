#pragma once

#include <QPointF>
#include <QRectF>

#include <vector>

namespace richedit {

class PaginatedLayout;

// Where each laid-out page sits in the editor's scrollable content, in
// pixels: pages one below another with gaps in the print layout view, or
// strips without gaps in the continuous views.
class PageStack
{
public:
    void rebuild(const PaginatedLayout *layout, qreal scale, bool paged, qreal viewportWidth);
    int count() const { return int(m_rects.size()); }
    QRectF pageRect(int index) const { return m_rects.at(size_t(index)); }
    QSizeF contentSize() const { return m_size; }
    qreal scale() const { return m_scale; }
    // The page under a content point, or the nearest one; -1 without pages.
    int pageAt(const QPointF &contentPoint) const;
    QPointF toPage(int page, const QPointF &contentPoint) const;
    QPointF fromPage(int page, const QPointF &pagePoint) const;

    static constexpr qreal Gap = 16; // pixels between pages

private:
    std::vector<QRectF> m_rects;
    QSizeF m_size;
    qreal m_scale = 1;
};

} // namespace richedit
