#include "PagePainter.h"

#include "LayoutDevice.h"
#include "PaginatedLayout.h"
#include "StoryBox.h"
#include "richedit/model/RichEditDocument.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

namespace richedit {

namespace {

// Draws a short text (a list label or a line number) with a font measured
// on the layout device, so it scales with the page.
void drawText(QPainter *painter, const QString &text, const QTextCharFormat &format,
              const QPointF &baselineStart, bool rightAligned)
{
    QTextLayout layout(text, format.font(), layoutDevice());
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setFormats({QTextLayout::FormatRange{0, int(text.size()), format}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
    if (!line.isValid())
        return;
    const qreal x = rightAligned ? baselineStart.x() - line.naturalTextWidth() : baselineStart.x();
    layout.draw(painter, QPointF(x, baselineStart.y() - line.ascent()));
}

QPen borderPen(const QBrush &brush, qreal width, QTextFrameFormat::BorderStyle style)
{
    QPen pen(brush.style() == Qt::NoBrush ? QBrush(Qt::black) : brush, width);
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted:
        pen.setStyle(Qt::DotLine);
        break;
    case QTextFrameFormat::BorderStyle_Dashed:
        pen.setStyle(Qt::DashLine);
        break;
    default:
        break;
    }
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

void PagePainter::paint(QPainter *painter, const LayoutPage &page, const Options &options) const
{
    painter->save();
    const QRectF pageRect(QPointF(0, 0), page.size());
    const QColor pageColor = m_layout->model()->settings().pageColor;
    painter->fillRect(pageRect, pageColor.isValid() ? pageColor : QColor(Qt::white));
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);

    paintObjects(painter, page, true);
    paintHeaderFooter(painter, page, options);
    if (options.activeStory != MainStoryId)
        painter->setOpacity(0.45);
    paintCells(painter, page);
    paintLines(painter, page, options);
    paintLineNumbers(painter, page);
    paintObjects(painter, page, false);
    painter->restore();
}

void PagePainter::paintHeaderFooter(QPainter *painter, const LayoutPage &page,
                                    const Options &options) const
{
    if (page.blank)
        return;
    const SectionProperties &s = page.setup;
    for (int which = 0; which < 2; ++which) {
        const int story = which == 0 ? page.headerStory : page.footerStory;
        auto box = m_layout->storyBox(story, s.textWidth(), page.pageNumber);
        if (!box)
            continue;
        const qreal y =
            which == 0 ? s.headerDistance : s.pageHeight - s.footerDistance - box->height();
        painter->save();
        if (options.activeStory == MainStoryId || options.activeStory != story)
            painter->setOpacity(options.activeStory == MainStoryId ? 1.0 : 0.45);
        box->draw(painter, QPointF(s.margins.left, y));
        painter->restore();
    }
}

void PagePainter::paintCells(QPainter *painter, const LayoutPage &page) const
{
    for (const PlacedCell &c : page.cells) {
        const QBrush shade = c.format.background();
        if (shade.style() != Qt::NoBrush)
            painter->fillRect(c.rect, shade);
    }
    for (const PlacedCell &c : page.cells) {
        const QTextTableCellFormat &f = c.format;
        const QRectF r = c.rect;
        struct Side
        {
            qreal width;
            QBrush brush;
            QTextFrameFormat::BorderStyle style;
            QLineF line;
            bool open;
        } sides[] = {
            {f.topBorder(),
             f.topBorderBrush(),
             f.topBorderStyle(),
             {r.topLeft(), r.topRight()},
             c.continuesAbove},
            {f.bottomBorder(),
             f.bottomBorderBrush(),
             f.bottomBorderStyle(),
             {r.bottomLeft(), r.bottomRight()},
             c.continuesBelow},
            {f.leftBorder(),
             f.leftBorderBrush(),
             f.leftBorderStyle(),
             {r.topLeft(), r.bottomLeft()},
             false},
            {f.rightBorder(),
             f.rightBorderBrush(),
             f.rightBorderStyle(),
             {r.topRight(), r.bottomRight()},
             false},
        };
        for (const Side &side : sides) {
            if (side.width <= 0 || side.style == QTextFrameFormat::BorderStyle_None)
                continue;
            painter->setPen(borderPen(side.brush, side.width, side.style));
            painter->drawLine(side.line);
        }
    }
}

void PagePainter::paintLines(QPainter *painter, const LayoutPage &page,
                             const Options &options) const
{
    const bool clipped = !options.area.isEmpty();
    for (const PlacedLines &l : page.lines) {
        if (clipped && (l.bottom < options.area.top() || l.top > options.area.bottom()))
            continue;
        const QTextLayout *layout = l.block.layout();
        if (!layout || l.lineCount <= 0 || layout->lineCount() < l.firstLine + l.lineCount)
            continue;
        QList<QTextLayout::FormatRange> selections;
        const int blockStart = l.block.position();
        const int blockEnd = blockStart + l.block.length();
        for (const DocumentRange &r : options.selections) {
            if (r.story != MainStoryId || r.length <= 0)
                continue;
            const int s = std::max(r.start, blockStart);
            const int e = std::min(r.end(), blockEnd);
            if (s >= e)
                continue;
            QTextLayout::FormatRange fr;
            fr.start = s - blockStart;
            fr.length = e - s;
            fr.format.setBackground(options.selectionColor);
            selections.append(fr);
        }
        // Only this page's lines: the clip band skips the others.
        const QTextLine first = layout->lineAt(l.firstLine);
        const QTextLine last = layout->lineAt(l.firstLine + l.lineCount - 1);
        const qreal top = l.offset.y() + first.y();
        const qreal bottom = l.offset.y() + last.y() + last.height();
        const QRectF clip(-1e7, top + 1, 2e7, std::max<qreal>(1, bottom - top - 2));
        layout->draw(painter, l.offset, selections, clip);

        if (!l.label.isEmpty()) {
            const QTextBlockFormat bf = l.block.blockFormat();
            QTextCharFormat cf = l.block.charFormat();
            QTextBlock::iterator it = l.block.begin();
            if (!it.atEnd())
                cf = it.fragment().charFormat();
            cf.clearProperty(QTextFormat::TextUnderlineStyle);
            cf.setFontUnderline(false);
            const qreal x = l.areaLeft + bf.leftMargin() + bf.textIndent();
            drawText(painter, l.label, cf, QPointF(x, l.offset.y() + first.y() + first.ascent()),
                     false);
        }
    }
}

void PagePainter::paintLineNumbers(QPainter *painter, const LayoutPage &page) const
{
    if (page.lineNumbers.empty())
        return;
    QTextCharFormat cf;
    cf.setFont(m_layout->model()->mainStory()->defaultFont());
    cf.setForeground(QColor(Qt::black));
    for (const LineNumberMark &m : page.lineNumbers)
        drawText(painter, QString::number(m.number), cf, QPointF(m.x, m.baseline), true);
}

void PagePainter::paintObjects(QPainter *painter, const LayoutPage &page, bool behindText) const
{
    const RichEditDocument *model = m_layout->model();
    for (const PlacedObject &o : page.objects) {
        const FloatingObject *obj = model->floatingObject(o.objectId);
        if (!obj || (obj->wrap == WrapType::BehindText) != behindText)
            continue;
        if (obj->kind == FloatingObject::Kind::Picture) {
            const QImage image = model->images().image(obj->imageId);
            if (image.isNull()) {
                painter->fillRect(o.rect, QColor(225, 225, 225));
                painter->setPen(QPen(QColor(160, 160, 160), 10));
                painter->drawRect(o.rect);
            } else {
                painter->drawImage(o.rect, image);
            }
        } else {
            painter->fillRect(o.rect, Qt::white);
            painter->setPen(QPen(Qt::black, 10));
            painter->drawRect(o.rect);
            auto box = m_layout->storyBox(obj->textBoxStory, o.rect.width() - 288, page.pageNumber);
            if (box) {
                painter->save();
                painter->setClipRect(o.rect);
                box->draw(painter, o.rect.topLeft() + QPointF(144, 72));
                painter->restore();
            }
        }
    }
}

} // namespace richedit
