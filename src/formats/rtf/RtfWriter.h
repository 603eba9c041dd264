#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QTextBlock;
class QTextBlockFormat;
class QTextTable;

namespace richedit {
class RichEditDocument;
struct SectionProperties;
} // namespace richedit

namespace formats {

// Writes a document as RTF that Word and LibreOffice read: font and colour
// tables, document defaults, the style sheet, sections with page setup,
// paragraphs and runs with their formatting, tables with merges, borders
// and shading, pictures as hex data, fields with instruction and result,
// bookmarks and document properties. Every run is its own group, so one
// run's formatting never leaks into the next.
class RtfWriter
{
public:
    explicit RtfWriter(const richedit::RichEditDocument &document);
    QByteArray write();

private:
    struct Marker
    {
        int position;
        bool end;
        QString name;
    };
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    void writeCharacterProperties(const QTextCharFormat &format, const QTextCharFormat &base,
                                  QByteArray *out);
    void writeParagraphProperties(const QTextBlockFormat &format, const QTextBlockFormat &base,
                                  QByteArray *out);
    QByteArray listTables();
    void writeSection(const richedit::SectionProperties &section);
    void writeBlock(const QTextBlock &block, bool inTable);
    void writeTable(QTextTable *table);
    void writeRun(QStringView text, const QTextCharFormat &format);
    void writePicture(const QString &imageId, int width, int height);
    void writeText(QStringView text);
    void closeField();
    void writeMarkers(int position);

    const richedit::RichEditDocument &m_doc;
    QByteArray m_out;
    QStringList m_fonts;
    QList<QColor> m_colors;
    int m_field = 0; // the field whose result is open
    QString m_href;  // the link of a run outside fields, written as a HYPERLINK field
    QList<Marker> m_markers;
    qsizetype m_nextMarker = 0;
};

} // namespace formats
