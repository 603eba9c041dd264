#include "BlockShaper.h"

#include "LayoutDevice.h"
#include "richedit/model/ModelProperty.h"

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

// The line box: natural height for single spacing, scaled, at least or exactly.
qreal lineBoxHeight(const QTextLine &line, const QTextBlockFormat &f)
{
    const qreal natural = line.ascent() + line.descent() + std::max<qreal>(0, line.leading());
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

void BlockShaper::invalidate(const QTextBlock &block)
{
    if (ShapeData *data = dataOf(block))
        data->shape.revision = -1;
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
    option.setTabStopDistance(720);
    QList<QTextOption::Tab> tabs;
    for (const QTextOption::Tab &t : f.tabPositions())
        tabs.append(t);
    option.setTabs(tabs);
    layout->setTextOption(option);

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
        line.setLineWidth(w);
        qreal h = lineBoxHeight(line, f);
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
                line.setLineWidth(w);
                h = lineBoxHeight(line, f);
            }
        }
        const qreal natural = line.ascent() + line.descent() + std::max<qreal>(0, line.leading());
        // Extra line spacing goes above the text, as word processors do.
        line.setPosition(QPointF(x, y + (h - natural) + std::max<qreal>(0, line.leading())));
        s.lineTop.push_back(y);
        s.lineHeight.push_back(h);
        y += h;
    }
    layout->endLayout();
    return s;
}

} // namespace richedit
