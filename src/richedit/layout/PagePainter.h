#pragma once

#include "richedit/model/DocumentPosition.h"

#include <QColor>
#include <QList>
#include <QRectF>

class QPainter;

namespace richedit {

class PaginatedLayout;
struct LayoutPage;

// Paints one laid-out page in page coordinates (twips) on any painter: the
// screen, the print preview, a printer or a PDF writer. The caller sets the
// painter's transform from twips to its device.
class PagePainter
{
public:
    struct Options
    {
        QList<DocumentRange> selections;
        QColor selectionColor{153, 201, 239};
        // The story being edited: the others are drawn faded, as when a
        // header is edited over the dimmed body.
        int activeStory = MainStoryId;
        // Page area to paint (page coordinates); empty for the whole page.
        QRectF area;
    };

    explicit PagePainter(const PaginatedLayout *layout) : m_layout(layout) {}
    void paint(QPainter *painter, const LayoutPage &page, const Options &options) const;

private:
    void paintObjects(QPainter *painter, const LayoutPage &page, bool behindText) const;
    void paintCells(QPainter *painter, const LayoutPage &page) const;
    void paintLines(QPainter *painter, const LayoutPage &page, const Options &options) const;
    void paintHeaderFooter(QPainter *painter, const LayoutPage &page, const Options &options) const;
    void paintLineNumbers(QPainter *painter, const LayoutPage &page) const;

    const PaginatedLayout *m_layout;
};

} // namespace richedit
