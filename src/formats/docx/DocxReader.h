#pragma once

#include "DocxPackage.h"
#include "DocxProperties.h"

#include "richedit/model/RichEditDocument.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace formats {

class XmlScanner;

// Reads a .docx package into a document: the package-wide parts (theme,
// numbering, styles, settings, core properties) here, the stories through
// DocxStoryReader. Also the lookup service the story readers share.
class DocxReader
{
public:
    DocxReader(const QByteArray &bytes, richedit::RichEditDocument *document);
    // Builds the document; false with error() naming the part and place.
    bool read();
    QString error() const { return m_error; }
    // Content the model cannot hold yet that was read as visible text only.
    QStringList notes() const { return QStringList(m_notes.cbegin(), m_notes.cend()); }

    // ---- shared with the story readers
    richedit::RichEditDocument *document() { return m_doc; }
    DocxPackage &package() { return m_package; }
    const ThemeFonts &theme() const { return m_theme; }
    // The model's style name for a w:styleId (empty when unknown).
    QString styleName(QStringView styleId) const { return m_styleNames.value(styleId.toString()); }
    QString defaultParagraphStyle() const { return m_defaultParagraphStyle; }
    // Effective formats of a paragraph style, cached.
    const QTextBlockFormat &paragraphFormat(const QString &style);
    const QTextCharFormat &paragraphCharFormat(const QString &style);
    // What a character style chain sets, without the document defaults.
    const QTextCharFormat &characterStyleFormat(const QString &style);
    const DocxTableLook *tableStyleLook(const QString &style) const;
    // Applies w:numPr (at the scanner) to a block format: list, level and
    // the level's indents.
    void applyNumbering(XmlScanner &x, QTextBlockFormat *format);
    void applyListLevel(int instanceId, int level, QTextBlockFormat *format);
    // The story of a header or footer part, read on first use; 0 on failure.
    int headerFooterStory(const QString &part, richedit::StoryKind kind);
    // The image store id of a relationship's picture, or empty.
    QString imageId(const QString &part, QStringView relId);
    void note(const QString &what) { m_notes.insert(what); }
    // Records the first error; the reader stops at the next check.
    void fail(const QString &part, const QString &message);
    bool failed() const { return !m_error.isEmpty(); }
    richedit::SectionProperties readSection(XmlScanner &x, const QString &part);

private:
    bool readPart(const QString &part, QByteArray *bytes);
    void readTheme(const QString &part);
    void readNumbering(const QString &part);
    void readStyles(const QString &part);
    void readSettings(const QString &part);
    void readCoreProperties();
    void readMain();
    richedit::ListLevel readListLevel(XmlScanner &x);

    DocxPackage m_package;
    richedit::RichEditDocument *m_doc;
    QString m_error;
    QSet<QString> m_notes;
    ThemeFonts m_theme;
    richedit::DocumentSettings m_settings;
    QHash<QString, QString> m_styleNames; // styleId -> name
    QString m_defaultParagraphStyle;
    QHash<QString, QTextBlockFormat> m_paragraphFormats;
    QHash<QString, QTextCharFormat> m_paragraphCharFormats;
    QHash<QString, QTextCharFormat> m_characterFormats;
    QHash<QString, DocxTableLook> m_tableLooks; // by style name
    QHash<int, int> m_abstractIds;              // w:abstractNumId -> model id
    QHash<QString, int> m_headerFooterStories;  // part -> story
    QHash<QString, QString> m_images;           // part -> image id
    QSet<QString> m_partsInProgress;            // stops a header that includes itself
};

} // namespace formats
