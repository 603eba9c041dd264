#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <QTextFrame>

class QTextBlock;
class QTextTable;

namespace richedit {
class RichEditDocument;
}

namespace formats {

// Writes a document's main story as one HTML page: headings as h1..h6,
// other paragraphs as p, runs as spans with inline CSS for what their
// paragraph style does not give, lists as ol/ul, tables with their borders
// and merges, pictures as data: URIs. Lengths go out as CSS pixels at
// 96 dpi (15 twips each), font sizes as points.
class HtmlWriter
{
public:
    explicit HtmlWriter(const richedit::RichEditDocument &document);
    QByteArray write();

private:
    struct OpenList
    {
        int instance;
        int level;
        bool ordered;
    };
    void writeItems(QTextFrame::iterator it);
    void writeTable(QTextTable *table);
    void writeParagraph(const QTextBlock &block);
    void syncLists(int instance, int level);
    void writeRun(QStringView text, const QTextCharFormat &format, const QTextCharFormat &base,
                  bool heading);
    void writeImage(const QString &imageId, double width, double height);
    const QTextCharFormat &styleFormat(const QString &style);

    const richedit::RichEditDocument &m_doc;
    QString m_out;
    QList<OpenList> m_lists;
    QString m_href; // the open <a>
    QHash<QString, QTextCharFormat> m_styleFormats;
};

} // namespace formats
