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
    StoryBox(const RichEditDocument *model, const QTextDocument *story, qreal width,
             int pageNumber, int pageCount);

    qreal height() const { return m_height; }
    // The text as shown, paragraphs separated by newlines.
    QString text() const;
    void draw(QPainter *painter, const QPointF &origin) const;
    // Whether the story has fields whose text depends on the page.
    static bool dependsOnPage(const RichEditDocument *model, const QTextDocument *story);

private:
    struct Block
    {
        std::unique_ptr<QTextLayout> layout;
        qreal y = 0;
    };
    std::vector<Block> m_blocks;
    qreal m_height = 0;
};

} // namespace richedit
