#pragma once

#include "DocxProperties.h"

#include "richedit/model/DocumentPosition.h"
#include "richedit/model/FloatingObject.h"
#include "richedit/model/SectionProperties.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>

namespace formats {

class DocxReader;
class XmlScanner;

// Reads the block content of one story (w:body, w:hdr, w:ftr or a text
// box's w:txbxContent) into its QTextDocument, inserting text in runs of
// equal format rather than character by character.
class DocxStoryReader
{
public:
    DocxStoryReader(DocxReader &reader, XmlScanner &x, const QString &part, int storyId);

    // Reads the children of the element at the scanner.
    void readContent();
    bool hasFinalSection() const { return m_hasFinalSection; }
    richedit::SectionProperties finalSection() const { return m_finalSection; }

private:
    struct FieldState
    {
        QString instruction;
        int id = 0;
        bool inResult = false;
    };
    struct Paragraph
    {
        QTextBlockFormat block;
        QTextCharFormat chars; // the paragraph style's effective character format
    };

    void readBlockContent(int depth);
    void readBlockChild();
    // Bookmark and permission starts and ends; false for other elements.
    bool readMarker();
    void readParagraph();
    void readParagraphChild(const Paragraph &p);
    void readMath(const Paragraph &p);
    void readRun(const Paragraph &p);
    void readFieldChar();
    void readTable();
    void readDrawing(const QTextCharFormat &format);
    void readPicture(const QTextCharFormat &format);
    void readGraphic(int depth, QString *imageId, int *textBox);
    void readAnchorPosition(richedit::FloatingObject *object);
    int readTextBox();
    // Reads the branch of mc:AlternateContent we understand, each child by `child`.
    void readAlternate(const std::function<void()> &child);
    void startBlock(const QTextBlockFormat &block, const QTextCharFormat &chars);
    void breakBlock(bool page);
    void appendText(const QString &text, const QTextCharFormat &format);
    void flush();
    int position();
    QTextCharFormat fieldFormat(QTextCharFormat format) const;
    bool inFieldInstruction() const;
    void insertObject(const QTextCharFormat &format);

    DocxReader &m_reader;
    XmlScanner &m_x;
    QString m_part;
    int m_storyId;
    QTextCursor m_cursor;
    bool m_blockFresh = true; // the current block is empty and no paragraph owns it yet
    QString m_pending;
    QTextCharFormat m_pendingFormat;
    QList<FieldState> m_fields;
    QString m_href;                                        // target of the enclosing w:hyperlink
    QHash<QString, QPair<QString, int>> m_bookmarks;       // w:id -> name, start
    QHash<QString, QPair<QStringList, int>> m_permissions; // w:id -> {editor, group}, start
    struct PendingPermission
    {
        QString id, editor, group;
        richedit::DocumentRange range;
    };
    QList<QPair<QString, richedit::DocumentRange>> m_finishedBookmarks;
    QList<PendingPermission> m_finishedPermissions;
    bool m_hasFinalSection = false;
    richedit::SectionProperties m_finalSection;
};

} // namespace formats
