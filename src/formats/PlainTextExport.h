#pragma once

#include <QString>
#include <QTextBlock>

#include <functional>

namespace richedit {
class RichEditDocument;
}

namespace formats {

// The document as plain text, the way a word processor exports it: one
// line per paragraph of the main story in document order (table cells row
// by row), each text box's paragraphs at its anchor, field results as
// shown, hidden text and object characters left out.
class PlainTextExport
{
public:
    // The list label shown before a paragraph ("1.", "•"), or empty. The
    // model does not count lists; the layout's ListNumbering does.
    using LabelFunction = std::function<QString(const QTextBlock &)>;

    static QString text(const richedit::RichEditDocument &document,
                        const LabelFunction &label = {});

private:
    static void appendStory(const richedit::RichEditDocument &document, int storyId,
                            const LabelFunction &label, QString *out, int depth);
};

} // namespace formats
