#pragma once

#include "richedit/model/FloatingObject.h"
#include "richedit/model/SectionProperties.h"

#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextFrame>

class QTextBlock;
class QTextTable;
class QXmlStreamWriter;

namespace formats {

class DocxWriter;

// Writes the block content of one story (w:body, w:hdr, w:ftr or a text
// box's w:txbxContent): paragraphs with their direct formatting, runs,
// fields, hyperlinks, bookmarks and permission ranges, tables, pictures and
// anchored objects, and in the main story the sections.
class DocxStoryWriter
{
public:
    // `markers` false leaves out bookmarks and permissions, for the second
    // copy of a text box in its fallback drawing.
    DocxStoryWriter(DocxWriter &writer, QXmlStreamWriter &xml, const QString &part, int storyId,
                    bool markers = true);

    void write();
    void writeSection(const richedit::SectionProperties &section);
    // The namespaces every story part's root declares.
    static void writeNamespaces(QXmlStreamWriter &xml);

private:
    struct Marker
    {
        int position = 0;
        bool end = false;
        bool permission = false;
        QString id;
        QString name; // bookmark name, or the permission's editor
        QString group;
    };
    void collectMarkers();
    // Markers up to `position`, in order.
    void writeMarkers(int position);
    void writeItems(QTextFrame::iterator it);
    void writeTable(QTextTable *table);
    void writeParagraph(const QTextBlock &block, bool nextIsParagraph);
    void writePiece(QStringView text, const QTextCharFormat &format, const QString &paragraphStyle);
    void writeText(QStringView text, bool *open);
    void writeObject(const QTextCharFormat &format);
    void writeInlinePicture(const QTextCharFormat &format);
    void writeFloatingObject(const richedit::FloatingObject &object);
    void writeAnchor(const richedit::FloatingObject &object, bool textBox);
    void writePictureGraphic(const QString &relationship, QSize size, int id);
    void writeVmlTextBox(const richedit::FloatingObject &object);
    void closeHyperlink();
    void closeField();
    void breakRun(const QString &type);

    DocxWriter &m_writer;
    QXmlStreamWriter &m_w;
    QString m_part;
    int m_storyId;
    bool m_withMarkers;
    QList<Marker> m_markers;
    qsizetype m_nextMarker = 0;
    int m_section = 0;
    // What the runs being written sit in.
    bool m_inHyperlink = false;
    QString m_href;
    int m_field = 0;
    bool m_fieldSimple = false;
    bool m_fieldInHyperlink = false;
};

} // namespace formats
