#include "StoryBox.h"

#include "LayoutDevice.h"
#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <optional>

namespace richedit {

namespace {

// The text a field shows on a page, or null when it keeps its stored result.
std::optional<QString> pageValue(const RichEditDocument *model, int fieldId, int pageNumber,
                                 int pageCount)
{
    const Field *f = model->field(fieldId);
    if (!f)
        return std::nullopt;
    if (f->type == FieldType::Page)
        return QString::number(pageNumber);
    if (f->type == FieldType::NumPages)
        return QString::number(pageCount);
    return std::nullopt;
}

} // namespace

bool StoryBox::dependsOnPage(const RichEditDocument *model, const QTextDocument *story)
{
    for (QTextBlock b = story->begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const int id = it.fragment().charFormat().intProperty(ModelProperty::FieldId);
            if (id > 0 && pageValue(model, id, 1, 1))
                return true;
        }
    }
    return false;
}

StoryBox::StoryBox(const RichEditDocument *model, const QTextDocument *story, qreal width,
                   int pageNumber, int pageCount)
{
    qreal y = 0;
    for (QTextBlock b = story->begin(); b.isValid(); b = b.next()) {
        // Rebuild the block's text with page values in place of field results.
        QString text;
        QList<QTextLayout::FormatRange> formats;
        std::vector<Piece> pieces;
        int lastField = 0;
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat cf = frag.charFormat();
            const int id = cf.intProperty(ModelProperty::FieldId);
            QString piece = frag.text();
            if (id > 0) {
                if (const auto value = pageValue(model, id, pageNumber, pageCount)) {
                    piece = id == lastField ? QString() : *value;
                }
            }
            lastField = id;
            pieces.push_back(Piece{frag.position() - b.position(), frag.length(), int(text.size()),
                                   int(piece.size())});
            if (piece.isEmpty())
                continue;
            formats.append(QTextLayout::FormatRange{int(text.size()), int(piece.size()), cf});
            text += piece;
        }
        const QTextBlockFormat bf = b.blockFormat();
        auto layout = std::make_unique<QTextLayout>(text, b.charFormat().font(), layoutDevice());
        layout->setFormats(formats);
        QTextOption option;
        option.setUseDesignMetrics(true);
        option.setAlignment(bf.alignment());
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        applyTabStops(&option, bf, model->settings().defaultTabStop);
        layout->setTextOption(option);
        y += bf.topMargin();
        const qreal top = y;
        qreal lineY = 0;
        layout->beginLayout();
        for (int i = 0;; ++i) {
            QTextLine line = layout->createLine();
            if (!line.isValid())
                break;
            const qreal indent = bf.leftMargin() + (i == 0 ? bf.textIndent() : 0);
            line.setLineWidth(std::max<qreal>(1, width - indent - bf.rightMargin()));
            line.setPosition(QPointF(indent, lineY));
            lineY += line.ascent() + line.descent() + std::max<qreal>(0, line.leading());
        }
        layout->endLayout();
        y = top + lineY + bf.bottomMargin();
        m_blocks.push_back(
            Block{std::move(layout), top, b.position(), b.length(), std::move(pieces)});
    }
    m_height = y;
}

int StoryBox::Block::toText(int offset) const
{
    for (const Piece &p : pieces) {
        if (offset < p.storyStart + p.storyLength)
            return p.textStart + std::min(std::max(0, offset - p.storyStart), p.textLength);
    }
    return layout->text().size();
}

int StoryBox::Block::toStory(int textOffset) const
{
    for (const Piece &p : pieces) {
        if (textOffset < p.textStart + p.textLength ||
            (p.textLength == 0 && textOffset == p.textStart))
            return p.storyStart + std::min(std::max(0, textOffset - p.textStart), p.storyLength);
    }
    return std::max(0, length - 1);
}

QRectF StoryBox::caretRect(int position) const
{
    for (const Block &b : m_blocks) {
        if (position < b.position || position >= b.position + b.length)
            continue;
        const int offset = b.toText(position - b.position);
        const QTextLine line = b.layout->lineForTextPosition(offset);
        if (!line.isValid())
            break;
        return QRectF(line.cursorToX(offset), b.y + line.y(), 1, line.height());
    }
    return QRectF();
}

int StoryBox::hitTest(const QPointF &point) const
{
    const Block *best = nullptr;
    for (const Block &b : m_blocks) {
        best = &b;
        if (point.y() < b.y + b.layout->boundingRect().bottom())
            break;
    }
    if (!best)
        return 0;
    const QTextLayout *layout = best->layout.get();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (i + 1 == layout->lineCount() || point.y() < best->y + line.y() + line.height())
            return best->position + best->toStory(line.xToCursor(point.x()));
    }
    return best->position;
}

QString StoryBox::text() const
{
    QStringList lines;
    for (const Block &b : m_blocks)
        lines.append(b.layout->text());
    return lines.join(u'\n');
}

void StoryBox::draw(QPainter *painter, const QPointF &origin) const
{
    for (const Block &b : m_blocks)
        b.layout->draw(painter, origin + QPointF(0, b.y));
}

void StoryBox::draw(QPainter *painter, const QPointF &origin,
                    const QList<std::pair<int, int>> &ranges, const QColor &highlight) const
{
    for (const Block &b : m_blocks) {
        QList<QTextLayout::FormatRange> local;
        for (const auto &[start, end] : ranges) {
            const int s = std::max(start, b.position);
            const int e = std::min(end, b.position + b.length);
            if (s >= e)
                continue;
            QTextLayout::FormatRange r;
            r.start = b.toText(s - b.position);
            r.length = std::max(0, b.toText(e - b.position) - r.start);
            r.format.setBackground(highlight);
            local.append(r);
        }
        b.layout->draw(painter, origin + QPointF(0, b.y), local);
    }
}
} // namespace richedit
