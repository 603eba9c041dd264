#include "BlockShaper.h"

#include "LayoutDevice.h"
#include "richedit/model/ModelProperty.h"

#include <QHash>
#include <QRawFont>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace richedit {

namespace {

class ShapeData : public QTextBlockUserData
{
public:
    ShapedBlock shape;
};

ShapeData *dataOf(const QTextBlock &block)
{
    return static_cast<ShapeData *>(block.userData());
}

bool isListParagraph(const QTextBlockFormat &f)
{
    return f.intProperty(ModelProperty::ListInstance) > 0;
}

// The gap word processors add below a font's ascent and descent for single
// spacing: the part of the font's line gap that its Windows ascent and
// descent do not already cover. Read once per font from its tables.
qreal lineGapEm(const QFont &font)
{
    static QHash<QString, qreal> cache;
    const QString key = font.key();
    auto it = cache.constFind(key);
    if (it != cache.cend())
        return *it;
    qreal gap = 0;
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray hhea = raw.fontTable("hhea");
    const QByteArray os2 = raw.fontTable("OS/2");
    const QByteArray head = raw.fontTable("head");
    auto s16 = [](const QByteArray &t, int at) {
        return t.size() >= at + 2 ? qint16(quint16(uchar(t[at])) << 8 | uchar(t[at + 1])) : 0;
    };
    auto u16 = [](const QByteArray &t, int at) {
        return t.size() >= at + 2 ? int(quint16(uchar(t[at])) << 8 | uchar(t[at + 1])) : 0;
    };
    const int unitsPerEm = u16(head, 18);
    if (unitsPerEm > 0 && hhea.size() >= 10 && os2.size() >= 78) {
        const int hheaHeight = s16(hhea, 4) - s16(hhea, 6);
        const int winHeight = u16(os2, 74) + u16(os2, 76);
        gap = std::max(0, s16(hhea, 8) - (winHeight - hheaHeight)) / qreal(unitsPerEm);
    } else {
        gap = -1; // unknown: keep the leading the font engine reports
    }
    cache.insert(key, gap);
    return gap;
}

// The line box: natural height for single spacing, scaled, at least or exactly.
qreal lineBoxHeight(const QTextLine &line, const QTextBlockFormat &f, const QFont &font)
{
    const qreal gapEm = lineGapEm(font);
    const qreal leading = std::max<qreal>(0, line.leading());
    const qreal gap =
        gapEm < 0 ? leading : std::min(leading, gapEm * font.pointSizeF() * LayoutDpi / 72.0);
    const qreal natural = line.ascent() + line.descent() + gap;
    const auto rule = LineSpacing(f.intProperty(ModelProperty::LineSpacingRule));
    const qreal value = f.doubleProperty(ModelProperty::LineSpacingValue);
    switch (rule) {
    case LineSpacing::Multiple:
        return value > 0 ? natural * value : natural;
    case LineSpacing::AtLeast:
        return std::max(natural, value);
    case LineSpacing::Exactly:
        return value > 0 ? value : natural;
    }
    return natural;
}

} // namespace

qreal BlockShaper::leftIndent(const QTextBlock &block)
{
    return block.blockFormat().leftMargin();
}

qreal BlockShaper::firstLineIndent(const QTextBlock &block)
{
    const QTextBlockFormat f = block.blockFormat();
    // A list paragraph's label sits in the hanging indent and a tab takes
    // the text to the paragraph's left edge.
    if (isListParagraph(f))
        return f.leftMargin();
    return f.leftMargin() + f.textIndent();
}

qreal BlockShaper::rightIndent(const QTextBlock &block)
{
    return block.blockFormat().rightMargin();
}

const ShapedBlock *BlockShaper::cached(const QTextBlock &block, qreal width)
{
    const ShapeData *data = dataOf(block);
    if (!data || data->shape.aroundObjects || data->shape.width != width ||
        data->shape.revision != block.revision() || block.layout()->lineCount() == 0)
        return nullptr;
    return &data->shape;
}

const ShapedBlock *BlockShaper::current(const QTextBlock &block)
{
    const ShapeData *data = dataOf(block);
    if (!data || data->shape.revision != block.revision() || block.layout()->lineCount() == 0)
        return nullptr;
    return &data->shape;
}

const ShapedBlock &BlockShaper::shape(const QTextBlock &block, qreal width,
                                      const SpanFunction &spanAt)
{
    if (!spanAt) {
        if (const ShapedBlock *c = cached(block, width))
            return *c;
    }
    ShapeData *data = dataOf(block);
    if (!data) {
        data = new ShapeData;
        QTextBlock(block).setUserData(data);
    }
    ShapedBlock &s = data->shape;
    s.lineTop.clear();
    s.lineHeight.clear();
    s.width = width;
    s.aroundObjects = bool(spanAt);
    s.revision = block.revision();

    const QTextBlockFormat f = block.blockFormat();
    QTextLayout *layout = block.layout();
    QTextOption option = layout->textOption();
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(f.alignment());
    option.setTextDirection(f.layoutDirection());
    // The document's default tab distance travels in its default text option.
    const qreal defaultTab = block.document()->defaultTextOption().tabStopDistance();
    applyTabStops(&option, f, defaultTab > 0 ? defaultTab : 720);
    layout->setTextOption(option);

    // The font that sets the paragraph's line gap: its first run's.
    QFont font = block.charFormat().font();
    if (QTextBlock::iterator it = block.begin(); !it.atEnd())
        font = it.fragment().charFormat().font();
    const qreal first = firstLineIndent(block);
    const qreal left = leftIndent(block);
    const qreal right = rightIndent(block);
    qreal y = 0;
    layout->beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        const qreal indent = i == 0 ? first : left;
        qreal x = indent;
        qreal w = std::max<qreal>(1, width - indent - right);
        // Placed before it is filled, so tab stops count from the text
        // area's edge, as word processors measure them, not from the indent.
        line.setPosition(QPointF(x, y));
        line.setLineWidth(w);
        qreal h = lineBoxHeight(line, f, font);
        if (spanAt) {
            // Objects may narrow the line or push it below them; the line's
            // height may change with its width, so settle it in a few steps.
            for (int attempt = 0; attempt < 8; ++attempt) {
                const LineSpan span = spanAt(y, h);
                if (span.pushDown > 0) {
                    y += span.pushDown;
                    continue;
                }
                const qreal spanLeft = std::max(span.x, x);
                const qreal spanRight = std::min(span.x + span.width, width - right);
                const qreal nw = std::max<qreal>(1, spanRight - spanLeft);
                if (spanLeft == x && nw == w)
                    break;
                x = spanLeft;
                w = nw;
                line.setPosition(QPointF(x, y));
                line.setLineWidth(w);
                h = lineBoxHeight(line, f, font);
            }
        }
        const qreal natural = line.ascent() + line.descent();
        // Extra line spacing goes above the text, as word processors do.
        line.setPosition(QPointF(x, y + (h - natural)));
        s.lineTop.push_back(y);
        s.lineHeight.push_back(h);
        y += h;
    }
    layout->endLayout();
    return s;
}

} // namespace richedit
