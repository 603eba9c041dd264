#pragma once

#include "RtfTokenizer.h"

#include "richedit/model/RichEditDocument.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextTable;

namespace formats {

// Reads RTF into a document: fonts, colours and styles, paragraph and
// character formatting, tables, pictures, fields, bookmarks, sections and
// page setup. Unknown destinations are skipped; damaged input gives an
// error naming the byte where it went wrong, or as much as could be read.
class RtfReader
{
public:
    static constexpr int MaxDepth = 1000;
    static constexpr qsizetype MaxSize = qsizetype(256) << 20;

    RtfReader(const QByteArray &bytes, richedit::RichEditDocument *document);
    bool read();
    QString error() const { return m_error; }

private:
    enum class Destination
    {
        Text,
        Skip,
        FontTable,
        ColorTable,
        StyleSheet,
        StyleEntry,
        Collect, // text into `target`: document properties, bookmark names
        Picture,
        FieldInstruction,
        DefaultChar,
        DefaultParagraph,
        Info, // only its children's text counts
        ListTable,
        ListEntry,
        ListLevel,
        LevelText,
        OverrideTable,
        OverrideEntry
    };
    // What a group changes and its end restores.
    struct State
    {
        Destination destination = Destination::Text;
        QTextCharFormat chars; // stated character properties
        QTextBlockFormat para; // stated paragraph properties
        QString paragraphStyle;
        QString characterStyle;
        int font = -1;
        int unicodeSkip = 1;
        bool inTable = false;
        bool ignorable = false; // after \*
        int field = -1;         // index in m_fields of the enclosing \field
        int fieldId = 0;        // inside \fldrslt
        QString *target = nullptr;
        int bookmark = 0; // 1: start, 2: end
    };
    struct FieldBuild
    {
        QString instruction;
        int id = 0;
        bool locked = false;
    };
    struct CellDef
    {
        int right = 0;
        bool mergeFirst = false, merged = false, vmergeFirst = false, vmerged = false;
        QColor shading;
        int vAlign = 0;               // 0 top, 1 middle, 2 bottom
        int border[4] = {0, 0, 0, 0}; // top, left, bottom, right twips
        QColor borderColor[4];
    };
    struct Pending
    {
        int row, column;
        CellDef def;
    };

    void control(const RtfToken &t);
    bool destinationWord(const QByteArray &word);
    void characterWord(const QByteArray &word, int value, bool has, QTextCharFormat *chars);
    bool paragraphWord(const QByteArray &word, int value, bool has, State &s);
    bool sectionWord(const QByteArray &word, int value);
    bool tableWord(const QByteArray &word, int value);
    void text(const QString &text);
    void endGroup(const State &closed);
    QString decodeBytes();
    void flushBytes();
    QTextCharFormat runFormat() const;
    QTextBlockFormat blockFormat() const;
    void appendText(const QString &text);
    void flush();
    void paragraphBreak();
    void finishParagraph();
    void breakBefore(bool page);
    void sectionBreak();
    void enterTable();
    void leaveTable();
    void endCell();
    void endRow();
    void insertPicture();
    bool listWord(const QByteArray &word, int value);
    void finishLevelText();
    int position();

    RtfTokenizer m_tokens;
    qsizetype m_size;
    richedit::RichEditDocument *m_doc;
    QString m_error;
    QList<State> m_stack;
    State m_state;
    QTextCursor m_cursor;
    QString m_pending;
    QTextCharFormat m_pendingFormat;
    QByteArray m_bytes; // \'hh bytes waiting to be decoded together
    int m_skip = 0;     // characters left to skip after \uN
    int m_codepage = 1252;
    int m_defaultFont = 0;
    struct Font
    {
        QString name;
        int charset = 0;
    };
    QHash<int, Font> m_fonts;
    int m_fontNumber = -1;
    QString m_fontName;
    int m_fontCharset = 0;
    QList<QColor> m_colors;
    int m_red = -1, m_green = 0, m_blue = 0;
    QHash<int, QString> m_styleNames;
    struct StyleBuild
    {
        int number = 0;
        richedit::StyleType type = richedit::StyleType::Paragraph;
        int basedOn = -1, next = -1;
        QString name;
    } m_styleEntry;
    QList<QPair<StyleBuild, richedit::Style>> m_styles;
    QTextCharFormat m_defaultChar;
    QTextBlockFormat m_defaultBlock;
    richedit::DocumentSettings m_settings;
    richedit::SectionProperties m_documentSection;
    richedit::SectionProperties m_section;
    QList<FieldBuild> m_fields;
    QHash<QString, int> m_bookmarkStarts;
    QList<QPair<QString, richedit::DocumentRange>> m_bookmarks;
    QString m_collected; // bookmark name being read
    bool m_pageBreakNext = false;
    bool m_columnBreakNext = false;
    // Tables: the one being built, the row being defined and the cells made.
    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    bool m_rowDone = false;
    bool m_nextCell = false; // a \cell ended the last cell; the next one starts on content
    QList<int> m_grid;       // column widths from the first row
    QList<CellDef> m_rowDef;
    CellDef m_cellDef;
    int m_cellEdge = -1;
    int m_rowHeight = 0;
    bool m_rowHeader = false;
    bool m_rowKeep = false;
    QList<Pending> m_cells;
    QVariantList m_heights;
    QVariantList m_cantSplit;
    int m_headerRows = 0;
    // Lists: the one being read from \listtable, and its level.
    richedit::AbstractList m_list;
    int m_listId = 0;
    int m_levelIndex = 0;
    richedit::ListLevel m_level;
    QString m_levelText;
    QHash<int, int> m_abstractIds; // \listid -> model id
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    // Pictures.
    QByteArray m_picture;
    QString m_pictureType;
    int m_picW = 0, m_picH = 0, m_picGoalW = 0, m_picGoalH = 0, m_scaleX = 100, m_scaleY = 100;
};

} // namespace formats
