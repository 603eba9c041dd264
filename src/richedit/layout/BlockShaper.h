#pragma once

#include <QTextBlock>

#include <functional>
#include <vector>

namespace richedit {

// Where a line may go: its left edge and width inside the area, or a
// place further down when something blocks the whole width.
struct LineSpan
{
    qreal x = 0;
    qreal width = 0;
    qreal pushDown = 0; // > 0: no room at this height; retry this far below
};

// Line boxes of one shaped block, in block-local coordinates: x from the
// area's left edge, y from the top of the first line (spacing before the
// paragraph excluded).
struct ShapedBlock
{
    std::vector<qreal> lineTop;
    std::vector<qreal> lineHeight;
    qreal width = -1;           // area width the lines were made for
    bool aroundObjects = false; // made for one position only
    int revision = -1;

    qreal height() const { return lineTop.empty() ? 0 : lineTop.back() + lineHeight.back(); }
    int lineCount() const { return int(lineTop.size()); }
};

// Breaks a block's text into lines with QTextLayout and computes each
// line's box from the paragraph's line spacing.
class BlockShaper
{
public:
    // `spanAt(localTop, height)` narrows a line when objects are in the way;
    // null for a plain full-width area.
    using SpanFunction = std::function<LineSpan(qreal localTop, qreal height)>;

    // Shapes `block` for `width`, reusing the cached lines when nothing
    // changed since they were made.
    static const ShapedBlock &shape(const QTextBlock &block, qreal width,
                                    const SpanFunction &spanAt = {});
    // The lines the block was last shaped into, when still valid for its
    // text; a paragraph continuing on another page keeps them.
    static const ShapedBlock *current(const QTextBlock &block);
    // The cached shape, or null when the block needs shaping.
    static const ShapedBlock *cached(const QTextBlock &block, qreal width);

    // Indents of the block's text for the first and the other lines.
    static qreal firstLineIndent(const QTextBlock &block);
    static qreal leftIndent(const QTextBlock &block);
    static qreal rightIndent(const QTextBlock &block);
};

} // namespace richedit
