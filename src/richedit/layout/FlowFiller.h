#pragma once

#include "FlowPosition.h"
#include "LayoutPage.h"
#include "PageObjects.h"

class QTextDocument;
class QTextFrame;
class QTextTable;

namespace richedit {

class ListNumbering;
class RichEditDocument;

// The rectangle of one column being filled, page coordinates.
struct FillArea
{
    qreal left = 0;
    qreal width = 0;
    qreal top = 0;
    qreal bottom = 0;
};

enum class FillStop
{
    FlowEnd,
    AreaFull,
    PageBreak,
    ColumnBreak,
    SectionEnd
};

struct FillResult
{
    FlowPosition next;
    qreal y = 0;
    FillStop stop = FillStop::FlowEnd;
};

// Line numbering state carried from page to page.
struct LineCounter
{
    LineNumbering setup;
    int next = 1;
};

// Fills one column of a page with the main text from a resume point:
// paragraphs line by line (widows, orphans, keep-together and keep-with-next
// respected), tables row by row (a row continues on the next page inside its
// cells), floating objects registered as their anchors come by.
class FlowFiller
{
public:
    FlowFiller(const RichEditDocument *model, ListNumbering *lists, LayoutPage *page,
               PageObjects *objects, bool honourPageBreaks = true);

    // `pageTop`: the column is the first of its page, so forced breaks at
    // its top are already done.
    FillResult fill(const FlowPosition &from, const FillArea &area, bool pageTop,
                    LineCounter *counter);
    // An object anchored on the page covers text already placed above its
    // anchor: the page must be filled again with the object known.
    bool needsRefill() const { return m_needsRefill; }

private:
    FillResult fillFlow(QTextFrame *container, int end, FlowPosition from, const FillArea &area,
                        bool forceProgress, bool root, bool pageTop);
    FillResult placeBlock(const QTextBlock &block, int startLine, qreal y, const FillArea &area,
                          bool forceProgress, bool root, bool pageTop);
    // Places rows up to `endRow` (all when -1).
    FillResult placeTable(QTextTable *table, const FlowPosition &from, qreal y,
                          const FillArea &area, bool forceProgress, int endRow = -1);
    void registerObjects(const QTextBlock &block, qreal paragraphTop, const FillArea &area);
    QTextFrame *tableAt(QTextFrame *container, int position) const;

    const RichEditDocument *m_model;
    QTextDocument *m_story;
    ListNumbering *m_lists;
    LayoutPage *m_page;
    PageObjects *m_objects;
    LineCounter *m_counter = nullptr;
    bool m_needsRefill = false;
    bool m_pageBreaks = true;
    qreal m_lastPlacedBottom = 0;
};

} // namespace richedit
