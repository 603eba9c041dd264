#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include "ModelProbes.h"
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace richedit;
using namespace formats;

namespace {

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void wordStyleInput();
    void damagedInput_data();
    void damagedInput();

private:
    bool open(const QByteArray &rtf, RichEditDocument *doc, QString *error);
    QTemporaryDir m_dir;
};

bool TestRtf::open(const QByteArray &rtf, RichEditDocument *doc, QString *error)
{
    const QString path = m_dir.filePath(QStringLiteral("input.rtf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size())
        return false;
    f.close();
    return DocumentFile::open(path, doc, error);
}

void TestRtf::roundTrip()
{
    RichEditDocument doc;
    doc.clear();
    const StyleSheet &styles = doc.styles();
    const QString h1 = StyleSheet::headingStyleName(1);
    QTextCursor c(doc.mainStory());
    QTextBlockFormat heading = styles.resolvedBlockFormat(h1);
    heading.setProperty(ModelProperty::ParagraphStyle, h1);
    c.setBlockFormat(heading);
    c.insertText(QStringLiteral("Title"), styles.resolvedCharFormat(h1));

    const QTextCharFormat normal = styles.resolvedCharFormat(StyleSheet::normalStyleName());
    QTextBlockFormat body = styles.resolvedBlockFormat(StyleSheet::normalStyleName());
    body.setProperty(ModelProperty::ParagraphStyle, StyleSheet::normalStyleName());
    QTextBlockFormat special = body;
    special.setAlignment(Qt::AlignRight);
    special.setLeftMargin(400);
    special.setRightMargin(300);
    special.setTextIndent(-200);
    special.setTopMargin(120);
    special.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Exactly));
    special.setProperty(ModelProperty::LineSpacingValue, 300.0);
    special.setProperty(ModelProperty::KeepWithNext, true);
    special.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(special, normal);
    c.insertText(QStringLiteral("plain {braces} \\ "), normal);
    QTextCharFormat rich = normal;
    rich.setFontWeight(QFont::Bold);
    rich.setFontItalic(true);
    rich.setFontUnderline(true);
    rich.setFontStrikeOut(true);
    rich.setFontPointSize(15);
    rich.setFontFamilies({QStringLiteral("Courier New")});
    rich.setForeground(QColor(0x123456));
    rich.setBackground(QColor(Qt::yellow));
    c.insertText(QStringLiteral("rich"), rich);
    QTextCharFormat sup = normal;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    sup.setFontCapitalization(QFont::SmallCaps);
    c.insertText(QStringLiteral("sup"), sup);
    c.insertText(QStringLiteral("\t€ 中文 😀") + QChar(QChar::LineSeparator) +
                     QStringLiteral("next"),
                 normal);

    c.insertBlock(body, normal);
    c.insertText(QStringLiteral("Page "), normal);
    const int fieldAt = c.position();
    c.insertText(QStringLiteral(" link"), normal);
    doc.insertField({MainStoryId, fieldAt}, QStringLiteral(" PAGE "), QStringLiteral("4"));
    QTextCursor l(doc.mainStory());
    l.setPosition(fieldAt + 2);
    l.setPosition(fieldAt + 6, QTextCursor::KeepAnchor);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/"));
    l.mergeCharFormat(link);
    doc.addBookmark(QStringLiteral("mark"), {MainStoryId, fieldAt - 5, 4});
    const QString image = doc.images().add(pngBytes(Qt::green, QSize(5, 2)), QStringLiteral("png"));
    c.movePosition(QTextCursor::End);
    doc.insertInlinePicture({MainStoryId, c.position()}, image, QSizeF(750, 300));

    const int numbered = doc.lists().createList(NumberFormat::LowerRoman);
    for (int level : {0, 1}) {
        QTextBlockFormat item = body;
        item.setProperty(ModelProperty::ListInstance, numbered);
        item.setProperty(ModelProperty::ListLevel, level);
        item.setLeftMargin(doc.lists().level(numbered, level).indent);
        c.movePosition(QTextCursor::End);
        c.insertBlock(item, normal);
        c.insertText(QStringLiteral("item %1").arg(level), normal);
    }
    c.movePosition(QTextCursor::End);
    c.insertBlock(body, normal);
    QTextTable *table = c.insertTable(2, 3);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(0, 2, 2, 1);
    QTextTableCellFormat cf = table->cellAt(0, 0).format().toTableCellFormat();
    cf.setTopBorder(30);
    cf.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    cf.setTopBorderBrush(QColor(Qt::red));
    cf.setBackground(QColor(0xDDEEFF));
    cf.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    table->cellAt(0, 0).setFormat(cf);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("B2"));
    QTextTableFormat tf = table->format();
    tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 2000),
                                  QTextLength(QTextLength::FixedLength, 1500),
                                  QTextLength(QTextLength::FixedLength, 1000)});
    tf.setProperty(ModelProperty::TableRowHeights, QVariantList{400, 0});
    table->setFormat(tf);
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("after table"), normal);

    doc.insertSectionBreak(blockWith(doc, QStringLiteral("after table")).position(),
                           SectionBreakType::Continuous);
    SectionProperties last = doc.sectionProperties(1);
    last.orientation = PageOrientation::Landscape;
    std::swap(last.pageWidth, last.pageHeight);
    last.margins.left = 1000;
    last.columns.count = 2;
    last.columns.spacing = 500;
    last.pageNumberStart = 3;
    doc.applySectionProperties(1, last);
    DocumentSettings settings = doc.settings();
    settings.properties.title = QStringLiteral("Über");
    doc.applySettings(settings);

    const QString path = m_dir.filePath(QStringLiteral("out.rtf"));
    QString error;
    QVERIFY2(DocumentFile::save(path, doc, nullptr, &error), qPrintable(error));
    RichEditDocument back;
    QVERIFY2(DocumentFile::open(path, &back, &error), qPrintable(error));

    QCOMPARE(back.mainStory()->toPlainText(), doc.mainStory()->toPlainText());
    QCOMPARE(blockWith(back, QStringLiteral("Title"))
                 .blockFormat()
                 .stringProperty(ModelProperty::ParagraphStyle),
             h1);
    QCOMPARE(formatAt(back, QStringLiteral("Title")).fontPointSize(),
             formatAt(doc, QStringLiteral("Title")).fontPointSize());
    const QTextBlockFormat p = blockWith(back, QStringLiteral("plain")).blockFormat();
    QCOMPARE(p.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(p.leftMargin(), 400.0);
    QCOMPARE(p.rightMargin(), 300.0);
    QCOMPARE(p.textIndent(), -200.0);
    QCOMPARE(p.topMargin(), 120.0);
    QCOMPARE(p.intProperty(ModelProperty::LineSpacingRule), int(LineSpacing::Exactly));
    QCOMPARE(p.doubleProperty(ModelProperty::LineSpacingValue), 300.0);
    QVERIFY(p.boolProperty(ModelProperty::KeepWithNext));
    QVERIFY(p.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    const QTextCharFormat r = formatAt(back, QStringLiteral("rich"));
    QCOMPARE(r.fontWeight(), int(QFont::Bold));
    QVERIFY(r.fontItalic() && r.fontUnderline() && r.fontStrikeOut());
    QCOMPARE(r.fontPointSize(), 15.0);
    QCOMPARE(r.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
    QCOMPARE(r.foreground().color(), QColor(0x123456));
    QCOMPARE(r.background().color(), QColor(Qt::yellow));
    QCOMPARE(formatAt(back, QStringLiteral("plain")).fontFamilies(), normal.fontFamilies());
    QCOMPARE(formatAt(back, QStringLiteral("plain")).fontPointSize(), normal.fontPointSize());
    const QTextCharFormat s = formatAt(back, QStringLiteral("sup"));
    QCOMPARE(s.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(s.fontCapitalization(), QFont::SmallCaps);

    QCOMPARE(back.fields().size(), 2); // PAGE, and the link as a HYPERLINK field
    const Field *page =
        back.field(formatAt(back, QStringLiteral("4")).intProperty(ModelProperty::FieldId));
    QVERIFY(page);
    QCOMPARE(page->type, FieldType::Page);
    QCOMPARE(formatAt(back, QStringLiteral("link")).anchorHref(),
             QStringLiteral("https://example.org/"));
    QVERIFY(back.bookmark(QStringLiteral("mark")));
    QCOMPARE(back.bookmark(QStringLiteral("mark"))->range.range(),
             doc.bookmark(QStringLiteral("mark"))->range.range());
    QCOMPARE(back.images().ids().size(), 1);
    QCOMPARE(back.images().entry(back.images().ids().first()).bytes,
             pngBytes(Qt::green, QSize(5, 2)));
    QTextCursor pic(blockWith(back, QStringLiteral("Page")));
    pic.movePosition(QTextCursor::EndOfBlock);
    QCOMPARE(pic.charFormat().toImageFormat().width(), 750.0);

    for (int level : {0, 1}) {
        const QTextBlockFormat item =
            blockWith(back, QStringLiteral("item %1").arg(level)).blockFormat();
        const int list = item.intProperty(ModelProperty::ListInstance);
        QVERIFY(back.lists().instance(list));
        QCOMPARE(item.intProperty(ModelProperty::ListLevel), level);
        QCOMPARE(item.leftMargin(), double(doc.lists().level(numbered, level).indent));
        const ListLevel l = back.lists().level(list, level);
        const ListLevel expected = doc.lists().level(numbered, level);
        QCOMPARE(l.format, expected.format);
        QCOMPARE(l.text, expected.text);
        QCOMPARE(l.indent, expected.indent);
        QCOMPARE(l.hanging, expected.hanging);
        QCOMPARE(l.start, expected.start);
    }
    QTextTable *t = QTextCursor(blockWith(back, QStringLiteral("wide"))).currentTable();
    QVERIFY(t);
    QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(t->cellAt(0, 2).rowSpan(), 2);
    const QTextTableCellFormat wide = t->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(wide.topBorder(), 30.0);
    QCOMPARE(wide.topBorderBrush().color(), QColor(Qt::red));
    QCOMPARE(wide.background().color(), QColor(0xDDEEFF));
    QCOMPARE(wide.verticalAlignment(), QTextCharFormat::AlignMiddle);
    QCOMPARE(t->format().columnWidthConstraints().value(1).rawValue(), 1500.0);
    QCOMPARE(t->format().property(ModelProperty::TableRowHeights).toList().value(0).toInt(), 400);

    QCOMPARE(back.sectionCount(), 2);
    QCOMPARE(back.sectionProperties(0).pageWidth, doc.sectionProperties(0).pageWidth);
    QVERIFY(back.sectionProperties(1) == doc.sectionProperties(1));
    QCOMPARE(back.settings().properties.title, QStringLiteral("Über"));
}

void TestRtf::wordStyleInput()
{
    // What Word and other programs write: code-page text, a Cyrillic font,
    // \u with fallbacks, unknown destinations, fields, bookmarks, a picture
    // in \shppict beside its fallback, a table and a second section.
    const QByteArray png = pngBytes(Qt::green, QSize(5, 2)).toHex();
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New "
        "Roman;}{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "{\\*\\defchp \\fs22}{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\b\\fs32 heading "
        "1;}}{\\*\\listtable{\\list\\listtemplateid5{\\listlevel\\levelnfc23\\levelstartat1"
        "{\\leveltext\\leveltemplateid9\\'01\\u-3913 ?;}{\\levelnumbers;}\\f0\\fi-360\\li720}"
        "{\\listname ;}\\listid77}}{\\*\\listoverridetable{\\listoverride\\listid77"
        "\\listoverridecount0\\ls1}}{\\*\\generator Some Writer;}{\\info{\\title A title}{\\author "
        "Ann}}"
        "\\paperw11906\\paperh16838\\margl1134 \\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1134 "
        "\\pard\\plain\\s1\\b\\fs32 Caf\\'e9\\par"
        "\\pard\\plain\\qc {\\f1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2} {\\uc2\\u8364\\'80\\'80 "
        "euro}\\~{\\cf1 red}{\\*\\unknowndest skipped text}\\par"
        "\\pard\\plain {\\field{\\*\\fldinst { HYPERLINK \"https://example.com\" }}{\\fldrslt "
        "{\\ul site}}} {\\*\\bkmkstart b1}marked{\\*\\bkmkend b1}\\par"
        "\\pard\\plain {\\*\\shppict{\\pict\\pngblip\\picwgoal600\\pichgoal240 " +
        png +
        "}}{\\nonshppict{\\pict\\wmetafile8 0102}}\\par"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl A1\\cell B1\\cell\\row"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl A2\\cell B2\\cell\\row"
        "\\pard\\plain\\ls1\\ilvl0\\fi-360\\li720 {\\listtext \\'b7\\tab}bullet\\par"
        "\\pard\\plain after\\par\\sect\\sectd\\sbknone\\lndscpsxn\\pgwsxn16838\\pghsxn11906 "
        "\\pard last\\par}";
    RichEditDocument doc;
    QString error;
    QVERIFY2(open(rtf, &doc, &error), qPrintable(error));
    QStringList lines; // block texts keep no-break spaces, toPlainText() does not
    for (QTextBlock b = doc.mainStory()->begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    QCOMPARE(lines.value(0), QStringLiteral("Café"));
    QCOMPARE(lines.value(1), QStringLiteral("Привет € euro\u00A0red"));
    QCOMPARE(lines.value(2), QStringLiteral("site marked"));
    QCOMPARE(blockWith(doc, QStringLiteral("Café"))
                 .blockFormat()
                 .stringProperty(ModelProperty::ParagraphStyle),
             StyleSheet::headingStyleName(1));
    QCOMPARE(formatAt(doc, QStringLiteral("Café")).fontPointSize(), 16.0);
    QCOMPARE(formatAt(doc, QStringLiteral("euro")).fontPointSize(), 11.0); // \defchp
    QCOMPARE(formatAt(doc, QStringLiteral("red")).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatAt(doc, QStringLiteral("site")).anchorHref(),
             QStringLiteral("https://example.com"));
    QCOMPARE(doc.bookmark(QStringLiteral("b1"))->range.range().length, 6);
    QCOMPARE(doc.images().ids().size(), 1); // the fallback picture is not read
    QTextTable *t = QTextCursor(blockWith(doc, QStringLiteral("A1"))).currentTable();
    QVERIFY(t);
    QCOMPARE(t->rows(), 2);
    QCOMPARE(t->columns(), 2);
    QCOMPARE(t->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("B2"));
    const QTextBlockFormat bullet = blockWith(doc, QStringLiteral("bullet")).blockFormat();
    QCOMPARE(blockWith(doc, QStringLiteral("bullet")).text(), QStringLiteral("bullet"));
    const ListLevel level = doc.lists().level(bullet.intProperty(ModelProperty::ListInstance), 0);
    QCOMPARE(level.format, NumberFormat::Bullet);
    QCOMPARE(level.text, QString(QChar(0x2022)));
    QCOMPARE(level.indent, 720);
    QCOMPARE(level.hanging, 360);
    QCOMPARE(doc.sectionCount(), 2);
    QCOMPARE(doc.sectionProperties(0).margins.left, 1134);
    QCOMPARE(doc.sectionProperties(1).breakType, SectionBreakType::Continuous);
    QCOMPARE(doc.sectionProperties(1).orientation, PageOrientation::Landscape);
    QCOMPARE(doc.settings().properties.title, QStringLiteral("A title"));
    QCOMPARE(lines.last(), QStringLiteral("last"));
}

void TestRtf::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("error"); // empty: read as far as it goes
    QTest::addColumn<QString>("text");
    QTest::newRow("control bytes")
        << QByteArray("{\\rtf1 \x01\x02\x7f ok}") << QString() << QStringLiteral("ok");
    QTest::newRow("missing closing braces")
        << QByteArray("{\\rtf1 {\\b bold {\\i more") << QString() << QStringLiteral("bold more");
    QTest::newRow("stray closing brace")
        << QByteArray("{\\rtf1 one}} two}") << QString() << QStringLiteral("one");
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a{\\pict\\bin999999999 xx}}")
                              << QStringLiteral("\\bin at byte") << QString();
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1 ") + QByteArray(5000, '{') + "x"
                                  << QStringLiteral("deeper than 1000") << QString();
    QTest::newRow("truncated hex escape")
        << QByteArray("{\\rtf1 ab\\'4") << QString() << QStringLiteral("ab4");
    QTest::newRow("truncated picture hex")
        << QByteArray("{\\rtf1 x{\\pict\\pngblip 89504e4") << QString() << QStringLiteral("x");
    QTest::newRow("huge parameters")
        << QByteArray("{\\rtf1\\fs99999999999999 \\u-999999999999 \\uc99999 z\\cf99 y}")
        << QString() << QStringLiteral("y");
}

void TestRtf::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, error);
    QFETCH(QString, text);
    RichEditDocument doc;
    QTextCursor(doc.mainStory()).insertText(QStringLiteral("keep me"));
    QString why;
    const bool ok = open(rtf, &doc, &why);
    if (error.isEmpty()) {
        QVERIFY2(ok, qPrintable(why));
        QVERIFY2(doc.mainStory()->toPlainText().contains(text),
                 qPrintable(doc.mainStory()->toPlainText()));
    } else {
        QVERIFY(!ok);
        QVERIFY2(why.contains(error), qPrintable(why));
        QVERIFY(why.contains(QStringLiteral("input.rtf")));
        QCOMPARE(doc.mainStory()->toPlainText(), QStringLiteral("keep me"));
    }
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
