#pragma once

#include <QHash>
#include <QString>
#include <QTextBlock>

namespace richedit {

class RichEditDocument;

// The list labels ("1.", "2.3.", "•") of a story's paragraphs, counted in
// document order. Counting is one pass over the blocks; it is redone only
// when paragraphs were added, removed or reformatted.
class ListNumbering
{
public:
    explicit ListNumbering(const RichEditDocument *document) : m_document(document) {}

    void invalidate() { m_valid = false; }
    // The label of a block, empty when it is no list paragraph.
    QString label(const QTextBlock &block);

private:
    void recount(const QTextDocument *story);

    const RichEditDocument *m_document;
    const QTextDocument *m_story = nullptr;
    bool m_valid = false;
    QHash<int, QString> m_labels; // by block number
};

} // namespace richedit
