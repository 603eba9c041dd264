#pragma once

#include <QPointF>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace richedit {

class RichEditDocument;

// A small story (a header, footer or text box) laid out as one column at a
// given width, with its PAGE and NUMPAGES fields showing the page's values.
// It is laid out apart from the story's own blocks so that every page can
// show its own numbers without touching the story.
class StoryBox
{
public:
    StoryBox(const RichEditDocument *model, const QTextDocument *story, qreal width, int pageNumber,
             int pageCount);

    qreal height() const { return m_height; }
    // The text as shown, paragraphs separated by newlines.
    QString text() const;
    void draw(QPainter *painter, const QPointF &origin) const;
    // Draws with the story ranges [start, end) highlighted.
    void draw(QPainter *painter, const QPointF &origin, const QList<std::pair<int, int>> &ranges,
              const QColor &highlight) const;
    // The caret's box for a story position, in box coordinates.
    QRectF caretRect(int position) const;
    // The story position nearest to a point in box coordinates.
    int hitTest(const QPointF &point) const;
    // Whether the story has fields whose text depends on the page.
    static bool dependsOnPage(const RichEditDocument *model, const QTextDocument *story);

private:
    // A run of the block's text: where it starts in the story and in the
    // laid-out text (they differ after a field shows another value).
    struct Piece
    {
        int storyStart;
        int storyLength;
        int textStart;
        int textLength;
    };
    struct Block
    {
        std::unique_ptr<QTextLayout> layout;
        qreal y = 0;
        int position = 0; // story position of the block
        int length = 0;
        std::vector<Piece> pieces;
        int toText(int offset) const;
        int toStory(int textOffset) const;
    };
    std::vector<Block> m_blocks;
    qreal m_height = 0;
};

} // namespace richedit
