#include "FlowFiller.h"

#include "BlockShaper.h"
#include "ListNumbering.h"
#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace richedit {

namespace {

constexpr qreal Epsilon = 0.5; // twips; room for rounding in fit tests
constexpr qreal DefaultCellPadding = 108;

FlowPosition at(int position, int line = 0)
{
    FlowPosition p;
    p.position = position;
    p.line = line;
    return p;
}

qreal padding(const QTextTableCellFormat &f, QTextFormat::Property side, qreal fallback)
{
    return f.hasProperty(side) ? f.doubleProperty(side) : fallback;
}

} // namespace

FlowFiller::FlowFiller(const RichEditDocument *model, ListNumbering *lists, LayoutPage *page,
                       PageObjects *objects, bool honourPageBreaks)
    : m_model(model), m_story(model->mainStory()), m_lists(lists), m_page(page), m_objects(objects),
      m_pageBreaks(honourPageBreaks)
{
}

FillResult FlowFiller::fill(const FlowPosition &from, const FillArea &area, bool pageTop,
                            LineCounter *counter)
{
    m_counter = counter;
    if (from.finished)
        return FillResult{from, area.top, FillStop::FlowEnd};
    QTextFrame *root = m_story->rootFrame();
    return fillFlow(root, root->lastPosition(), from, area, true, true, pageTop);
}

QTextFrame *FlowFiller::tableAt(QTextFrame *container, int position) const
{
    QTextFrame *f = m_story->frameAt(position);
    while (f && f != container && f->parentFrame() != container)
        f = f->parentFrame();
    if (f && f != container && f->firstPosition() == position && qobject_cast<QTextTable *>(f))
        return f;
    return nullptr;
}

FillResult FlowFiller::fillFlow(QTextFrame *container, int end, FlowPosition from,
                                const FillArea &area, bool forceProgress, bool root, bool pageTop)
{
    struct KeepMark
    {
        FlowPosition position;
        size_t lines;
        size_t cells;
        qreal y;
        int counter;
    };
    std::vector<KeepMark> keepChain; // paragraphs kept with the one that follows
    qreal y = area.top;
    FlowPosition pos = from;
    bool first = true;
    const QTextBlock lastBlock = m_story->lastBlock();

    while (true) {
        if (pos.position > end || pos.position >= m_story->characterCount()) {
            FlowPosition done = pos;
            done.finished = true;
            return FillResult{done, y, FillStop::FlowEnd};
        }
        if (QTextFrame *f = tableAt(container, pos.position)) {
            FillResult r =
                placeTable(static_cast<QTextTable *>(f), pos, y, area, forceProgress && first);
            keepChain.clear();
            if (r.stop != FillStop::FlowEnd)
                return r;
            pos = r.next;
            y = r.y;
            first = false;
            continue;
        }
        const QTextBlock block = m_story->findBlock(pos.position);
        if (!block.isValid()) {
            FlowPosition done = pos;
            done.finished = true;
            return FillResult{done, y, FillStop::FlowEnd};
        }
        const KeepMark mark{pos, m_page->lines.size(), m_page->cells.size(), y,
                            m_counter ? m_counter->next : 0};
        FillResult r =
            placeBlock(block, pos.line, y, area, forceProgress && first, root, pageTop && first);
        if (r.stop != FillStop::FlowEnd) {
            const bool nothingPlaced = r.next.position == pos.position && r.next.line == pos.line;
            if (r.stop == FillStop::AreaFull && nothingPlaced && !keepChain.empty() &&
                keepChain.front().y > area.top + Epsilon) {
                // Keep-with-next: the chain moves on with this paragraph.
                const KeepMark &k = keepChain.front();
                m_page->lines.resize(k.lines);
                m_page->cells.resize(k.cells);
                if (m_counter)
                    m_counter->next = k.counter;
                m_page->lineNumbers.erase(
                    std::remove_if(m_page->lineNumbers.begin(), m_page->lineNumbers.end(),
                                   [&](const LineNumberMark &m) { return m.baseline > k.y; }),
                    m_page->lineNumbers.end());
                return FillResult{k.position, k.y, FillStop::AreaFull};
            }
            return r;
        }
        if (block.blockFormat().boolProperty(ModelProperty::KeepWithNext) && pos.line == 0)
            keepChain.push_back(mark);
        else
            keepChain.clear();
        pos = at(block.position() + block.length());
        y = r.y;
        first = false;
        if (root && block != lastBlock &&
            block.blockFormat().hasProperty(ModelProperty::SectionBreak))
            return FillResult{pos, y, FillStop::SectionEnd};
        if (r.next.row == -2) // page break after the paragraph
            return FillResult{pos, y, FillStop::PageBreak};
    }
}

FillResult FlowFiller::placeBlock(const QTextBlock &block, int startLine, qreal y,
                                  const FillArea &area, bool forceProgress, bool root, bool pageTop)
{
    const QTextBlockFormat fmt = block.blockFormat();
    if (startLine == 0) {
        if (root && m_pageBreaks && !pageTop &&
            (fmt.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            return FillResult{at(block.position()), y, FillStop::PageBreak};
        if (root && m_pageBreaks && y > area.top + Epsilon &&
            fmt.boolProperty(ModelProperty::ColumnBreakBefore))
            return FillResult{at(block.position()), y, FillStop::ColumnBreak};
        y += fmt.topMargin();
        if (block.text().contains(QChar::ObjectReplacementCharacter))
            registerObjects(block, y, area);
    }

    const qreal width = area.width;
    const bool aroundObjects =
        startLine == 0 && root && m_objects->affects(area.left, area.left + width, y, area.bottom);
    BlockShaper::SpanFunction spanAt;
    if (aroundObjects) {
        const qreal top = y;
        spanAt = [this, top, area](qreal localTop, qreal height) {
            return m_objects->span(area.left, area.left + area.width, top + localTop, height);
        };
    }
    const ShapedBlock *kept = startLine > 0 ? BlockShaper::current(block) : nullptr;
    const ShapedBlock &s =
        kept && kept->width == width ? *kept : BlockShaper::shape(block, width, spanAt);
    const int n = s.lineCount();
    if (n == 0)
        return FillResult{at(block.position() + block.length()), y + fmt.bottomMargin(),
                          FillStop::FlowEnd};
    startLine = std::min(startLine, n - 1);
    const qreal base = s.lineTop[startLine];
    int k = 0;
    while (startLine + k < n && y + s.lineTop[startLine + k] + s.lineHeight[startLine + k] - base <=
                                    area.bottom + Epsilon)
        ++k;
    const int remaining = n - startLine;
    if (k < remaining) {
        if (startLine == 0 && fmt.boolProperty(ModelProperty::KeepLinesTogether))
            k = 0;
        else if (fmt.boolProperty(ModelProperty::WidowControl)) {
            if (remaining - k == 1 && k >= 2 && (startLine > 0 || k - 1 >= 2))
                --k; // no single line alone at the top of the next page
            if (startLine == 0 && k == 1 && n >= 2)
                k = 0; // no single first line alone at the bottom
        }
        if (k == 0 && forceProgress)
            k = 1;
        if (k == 0)
            return FillResult{at(block.position(), startLine), y, FillStop::AreaFull};
    }

    PlacedLines placed;
    placed.block = block;
    placed.firstLine = startLine;
    placed.lineCount = k;
    placed.offset = QPointF(area.left, y - base);
    placed.top = y;
    placed.bottom = y + s.lineTop[startLine + k - 1] + s.lineHeight[startLine + k - 1] - base;
    placed.areaLeft = area.left;
    placed.areaWidth = area.width;
    placed.inTable = !root;
    if (startLine == 0 && fmt.intProperty(ModelProperty::ListInstance) > 0)
        placed.label = m_lists->label(block);
    m_page->lines.push_back(placed);

    if (root && m_counter && m_counter->setup.restart != LineNumberRestart::None &&
        !fmt.boolProperty(ModelProperty::SuppressLineNumbers)) {
        const QTextLayout *layout = block.layout();
        const int countBy = std::max(1, m_counter->setup.countBy);
        for (int i = 0; i < k; ++i) {
            const int number = m_counter->next++;
            if (number % countBy != 0)
                continue;
            const QTextLine line = layout->lineAt(startLine + i);
            m_page->lineNumbers.push_back(
                LineNumberMark{area.left - m_counter->setup.distance,
                               placed.offset.y() + line.y() + line.ascent(), number});
        }
    }

    y = placed.bottom;
    if (k < remaining)
        return FillResult{at(block.position(), startLine + k), y, FillStop::AreaFull};
    y += fmt.bottomMargin();
    FillResult done{at(block.position() + block.length()), y, FillStop::FlowEnd};
    if (root && m_pageBreaks && (fmt.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter))
        done.next.row = -2;
    return done;
}

void FlowFiller::registerObjects(const QTextBlock &block, qreal paragraphTop, const FillArea &area)
{
    const SectionProperties &setup = m_page->setup;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat cf = frag.charFormat();
        if (cf.objectType() != FloatingObjectTextFormat)
            continue;
        const int id = cf.intProperty(ModelProperty::FloatingObjectId);
        const FloatingObject *obj = m_model->floatingObject(id);
        if (!obj || m_objects->contains(id))
            continue;
        const qreal w = obj->size.width();
        const qreal h = obj->size.height();
        qreal x0 = area.left;
        qreal x1 = area.left + area.width;
        switch (obj->horizontalRelativeTo) {
        case HorizontalRelativeTo::Margin:
            x0 = setup.margins.left;
            x1 = setup.pageWidth - setup.margins.right;
            break;
        case HorizontalRelativeTo::Page:
            x0 = 0;
            x1 = setup.pageWidth;
            break;
        case HorizontalRelativeTo::Column:
        case HorizontalRelativeTo::Character:
            break;
        }
        const bool evenPage = m_page->pageNumber % 2 == 0;
        qreal x = x0 + obj->horizontalOffset;
        switch (obj->horizontalAlignment) {
        case HorizontalAlignment::None:
            break;
        case HorizontalAlignment::Left:
            x = x0;
            break;
        case HorizontalAlignment::Center:
            x = (x0 + x1 - w) / 2;
            break;
        case HorizontalAlignment::Right:
            x = x1 - w;
            break;
        case HorizontalAlignment::Inside:
            x = evenPage ? x1 - w : x0;
            break;
        case HorizontalAlignment::Outside:
            x = evenPage ? x0 : x1 - w;
            break;
        }
        qreal y0 = paragraphTop;
        qreal y1 = paragraphTop + h;
        switch (obj->verticalRelativeTo) {
        case VerticalRelativeTo::Margin:
            y0 = setup.margins.top;
            y1 = setup.pageHeight - setup.margins.bottom;
            break;
        case VerticalRelativeTo::Page:
            y0 = 0;
            y1 = setup.pageHeight;
            break;
        case VerticalRelativeTo::Paragraph:
        case VerticalRelativeTo::Line:
            break;
        }
        qreal y = y0 + obj->verticalOffset;
        switch (obj->verticalAlignment) {
        case VerticalAlignment::None:
            break;
        case VerticalAlignment::Top:
        case VerticalAlignment::Inside:
            y = y0;
            break;
        case VerticalAlignment::Center:
            y = (y0 + y1 - h) / 2;
            break;
        case VerticalAlignment::Bottom:
        case VerticalAlignment::Outside:
            y = y1 - h;
            break;
        }
        PageObjects::Entry e;
        e.id = id;
        e.rect = QRectF(x, y, w, h);
        e.keepOut = e.rect.adjusted(-obj->distanceLeft, -obj->distanceTop, obj->distanceRight,
                                    obj->distanceBottom);
        e.wrap = obj->wrap;
        e.side = obj->wrapSide;
        m_objects->add(e);
        m_page->objects.push_back(PlacedObject{id, e.rect});
        // Text placed above the anchor may now overlap the object.
        if (PageObjects::wrapsText(e.wrap)) {
            for (const PlacedLines &l : m_page->lines) {
                if (!l.inTable && l.bottom > e.keepOut.top() && l.top < e.keepOut.bottom() &&
                    l.areaLeft < e.keepOut.right() && l.areaLeft + l.areaWidth > e.keepOut.left()) {
                    m_needsRefill = true;
                    break;
                }
            }
        }
    }
}

FillResult FlowFiller::placeTable(QTextTable *table, const FlowPosition &from, qreal y,
                                  const FillArea &area, bool forceProgress, int endRow)
{
    const QTextTableFormat tf = table->format();
    const int rows = table->rows();
    const int cols = table->columns();
    const int tablePos = table->firstPosition();
    const FlowPosition after = at(table->lastPosition() + 1);
    if (rows == 0 || cols == 0)
        return FillResult{after, y, FillStop::FlowEnd};

    // Column edges from the width constraints: fixed widths as given,
    // percentages of the area, the rest shared by variable columns.
    const qreal indent = tf.intProperty(ModelProperty::TableIndent);
    const qreal available = std::max<qreal>(1, area.width - indent);
    const QList<QTextLength> constraints = tf.columnWidthConstraints();
    std::vector<qreal> widths(cols, -1);
    qreal fixedTotal = 0;
    int variable = 0;
    for (int c = 0; c < cols; ++c) {
        if (c < constraints.size() && constraints[c].type() == QTextLength::FixedLength)
            widths[c] = constraints[c].rawValue();
        else if (c < constraints.size() && constraints[c].type() == QTextLength::PercentageLength)
            widths[c] = available * constraints[c].rawValue() / 100.0;
        if (widths[c] >= 0)
            fixedTotal += widths[c];
        else
            ++variable;
    }
    const qreal share = variable ? std::max<qreal>(360, (available - fixedTotal) / variable) : 0;
    for (qreal &w : widths) {
        if (w < 0)
            w = share;
    }
    const auto autoFit = TableAutoFit(tf.intProperty(ModelProperty::TableAutoFit));
    qreal total = 0;
    for (qreal w : widths)
        total += w;
    if (autoFit == TableAutoFit::Window && total > 0) {
        for (qreal &w : widths)
            w *= available / total;
        total = available;
    }
    qreal left = area.left + indent;
    const auto align = Qt::Alignment(tf.intProperty(ModelProperty::TableAlignment));
    if (align & Qt::AlignHCenter)
        left = area.left + (area.width - total) / 2;
    else if (align & Qt::AlignRight)
        left = area.left + area.width - total;
    std::vector<qreal> colX(cols + 1, left);
    for (int c = 0; c < cols; ++c)
        colX[c + 1] = colX[c] + widths[c];

    const QVariantList rowHeights = tf.property(ModelProperty::TableRowHeights).toList();
    const QVariantList cantSplit = tf.property(ModelProperty::TableRowCantSplit).toList();

    struct Span
    {
        QTextTableCellFormat format;
        qreal x, w, top, contentBottom;
        int lastRow;
    };
    std::vector<Span> spans;

    int r = std::max(0, from.row);
    std::vector<FlowPosition> resume = from.row >= 0 ? from.cells : std::vector<FlowPosition>{};
    bool resuming = !resume.empty();
    qreal rowTop = y;
    bool firstRow = true;
    const int lastRow = endRow < 0 ? rows : std::min(rows, endRow);

    // A table continuing at the top of a page shows its heading rows again,
    // when they fit whole.
    const int headerRows = std::min(tf.intProperty(ModelProperty::TableHeaderRows), rows);
    if (endRow < 0 && headerRows > 0 && r >= headerRows && y <= area.top + Epsilon) {
        const size_t linesMark = m_page->lines.size();
        const size_t cellsMark = m_page->cells.size();
        FlowPosition head = at(tablePos);
        head.row = 0;
        const FillResult repeated = placeTable(table, head, y, area, false, headerRows);
        if (repeated.stop == FillStop::FlowEnd && repeated.y < area.bottom - 720) {
            rowTop = repeated.y;
            forceProgress = true; // the rows below must still make progress
        } else {
            m_page->lines.resize(linesMark);
            m_page->cells.resize(cellsMark);
        }
    }

    while (r < lastRow) {
        const bool rowAtTop = rowTop <= area.top + Epsilon || (forceProgress && firstRow);
        const size_t linesMark = m_page->lines.size();
        const size_t cellsMark = m_page->cells.size();
        const size_t spansMark = spans.size();
        struct Run
        {
            QTextTableCell cell;
            size_t lineBegin, lineEnd;
            qreal x, w, contentBottom;
            FillResult result;
        };
        std::vector<Run> runs;
        int index = 0;
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (!cell.isValid() || cell.row() != r || cell.column() != c)
                continue;
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            const qreal x = colX[c];
            const qreal w = colX[std::min(cols, c + cell.columnSpan())] - x;
            const qreal padL = padding(cf, QTextFormat::TableCellLeftPadding, DefaultCellPadding);
            const qreal padR = padding(cf, QTextFormat::TableCellRightPadding, DefaultCellPadding);
            const qreal padT = padding(cf, QTextFormat::TableCellTopPadding, 0);
            const qreal padB = padding(cf, QTextFormat::TableCellBottomPadding, 0);
            const FillArea ca{x + padL, std::max<qreal>(1, w - padL - padR), rowTop + padT,
                              area.bottom - padB};
            FlowPosition cp =
                resuming && index < int(resume.size()) ? resume[index] : at(cell.firstPosition());
            Run run{cell, m_page->lines.size(), 0, x, w, 0, {}};
            if (cp.finished)
                run.result = FillResult{cp, ca.top, FillStop::FlowEnd};
            else
                run.result = fillFlow(table, cell.lastPosition(), cp, ca, rowAtTop, false, false);
            run.lineEnd = m_page->lines.size();
            run.contentBottom = run.result.y + padB;
            if (cell.rowSpan() > 1 && !resuming)
                spans.push_back(Span{cf, x, w, rowTop, run.contentBottom, r + cell.rowSpan() - 1});
            runs.push_back(run);
            ++index;
        }

        bool overflow = false;
        bool anyPlaced = false;
        qreal rowHeight = 0;
        for (const Run &run : runs) {
            if (run.result.stop == FillStop::AreaFull)
                overflow = true;
            if (run.lineEnd > run.lineBegin)
                anyPlaced = true;
            if (run.cell.rowSpan() == 1)
                rowHeight = std::max(rowHeight, run.contentBottom - rowTop);
        }
        const qreal fixedHeight = r < rowHeights.size() ? rowHeights[r].toDouble() : 0;
        if (fixedHeight > 0)
            rowHeight = std::max(rowHeight, fixedHeight);
        else if (fixedHeight < 0)
            rowHeight = -fixedHeight;
        qreal rowBottom = rowTop + rowHeight;
        for (const Span &s : spans) {
            if (s.lastRow == r)
                rowBottom = std::max(rowBottom, s.contentBottom);
        }

        const bool mustMove =
            !rowAtTop &&
            (!anyPlaced || (overflow && r < cantSplit.size() && cantSplit[r].toBool()));
        if (mustMove || (!overflow && rowBottom > area.bottom + Epsilon && !rowAtTop)) {
            m_page->lines.resize(linesMark);
            m_page->cells.resize(cellsMark);
            spans.resize(spansMark);
            for (const Span &s : spans)
                m_page->cells.push_back(
                    PlacedCell{QRectF(s.x, s.top, s.w, rowTop - s.top), s.format, false, true});
            FlowPosition next = at(tablePos);
            next.row = r;
            next.cells = resume;
            return FillResult{next, rowTop, FillStop::AreaFull};
        }
        if (overflow) {
            // The row continues on the next page, each cell where it stopped.
            rowBottom = std::max(rowTop, area.bottom);
            FlowPosition next = at(tablePos);
            next.row = r;
            for (const Run &run : runs) {
                m_page->cells.push_back(PlacedCell{QRectF(run.x, rowTop, run.w, rowBottom - rowTop),
                                                   run.cell.format().toTableCellFormat(), resuming,
                                                   true});
                FlowPosition cp = run.result.next;
                cp.finished = run.result.stop == FillStop::FlowEnd;
                next.cells.push_back(cp);
            }
            return FillResult{next, rowBottom, FillStop::AreaFull};
        }

        for (const Run &run : runs) {
            if (run.cell.rowSpan() > 1)
                continue;
            const auto valign = run.cell.format().verticalAlignment();
            const qreal room = rowBottom - run.contentBottom;
            const qreal shift = valign == QTextCharFormat::AlignMiddle   ? room / 2
                                : valign == QTextCharFormat::AlignBottom ? room
                                                                         : 0;
            if (shift > 0) {
                for (size_t i = run.lineBegin; i < run.lineEnd; ++i) {
                    m_page->lines[i].offset.ry() += shift;
                    m_page->lines[i].top += shift;
                    m_page->lines[i].bottom += shift;
                }
            }
            m_page->cells.push_back(PlacedCell{QRectF(run.x, rowTop, run.w, rowBottom - rowTop),
                                               run.cell.format().toTableCellFormat(), resuming,
                                               false});
        }
        for (auto it = spans.begin(); it != spans.end();) {
            if (it->lastRow == r) {
                m_page->cells.push_back(PlacedCell{
                    QRectF(it->x, it->top, it->w, rowBottom - it->top), it->format, false, false});
                it = spans.erase(it);
            } else {
                ++it;
            }
        }
        rowTop = rowBottom;
        ++r;
        resuming = false;
        resume.clear();
        firstRow = false;
    }
    return FillResult{after, rowTop, FillStop::FlowEnd};
}

} // namespace richedit
