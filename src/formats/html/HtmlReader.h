#pragma once

#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextBlock;
class QTextDocument;
class QTextList;
class QTextTable;

namespace richedit {
class RichEditDocument;
}

namespace formats {

// Reads HTML through Qt's HTML import, then turns what it made into the
// model's form: pixel lengths (96 dpi) into twips, h1..h6 into the heading
// styles, Qt lists into the document's lists, data: pictures into the
// image store, and every run onto its paragraph style's format.
class HtmlReader
{
public:
    explicit HtmlReader(richedit::RichEditDocument *document);
    void read(const QString &html);

private:
    static void dropParagraphsAfterTables(QTextDocument *parsed);
    void convertBlock(const QTextBlock &block);
    void convertTable(QTextTable *table);
    QTextCharFormat convertChar(const QTextCharFormat &imported, const QTextCharFormat &base);
    int listInstance(QTextList *list);

    richedit::RichEditDocument *m_doc;
    QHash<QTextList *, int> m_lists;
    int m_lastInstance = 0;           // list of the paragraph before, 0 when none
    QHash<QString, QString> m_images; // data URI -> image id
};

} // namespace formats
