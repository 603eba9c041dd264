#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"
#include "formats/PlainTextExport.h"
#include "formats/PlainTextFormat.h"

#include "DocxFixtures.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace richedit;
using namespace formats;
using namespace fixtures;

namespace {

QString mainText(const RichEditDocument &doc)
{
    return doc.mainStory()->toPlainText();
}

// An open document with content of its own, to see that failed reads leave it alone.
void fillOpenDocument(RichEditDocument *doc)
{
    QTextCursor(doc->mainStory()).insertText(QStringLiteral("keep me"));
    doc->setModified(false);
}

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT
private slots:
    void registryFiltersAndDetection();
    void plainTextDecoding_data();
    void plainTextDecoding();
    void plainTextRoundTrip();
    void saveFailureKeepsOldFile();
    void damagedDocx_data();
    void damagedDocx();
    void docxStylesListsAndSections();
    void docxTables();
    void docxFieldsBookmarksLinksAndSettings();
};

void TestFormats::registryFiltersAndDetection()
{
    const FormatRegistry &r = FormatRegistry::instance();
    const QStringList open = r.openFilters();
    QVERIFY(open.first().startsWith(QLatin1String("All supported documents (")));
    QVERIFY(open.first().contains(QLatin1String("*.docx")));
    QVERIFY(open.first().contains(QLatin1String("*.txt")));
    QVERIFY(r.defaultSaveFormat());
    QCOMPARE(r.saveFilters().first(), r.defaultSaveFormat()->filter());
    QCOMPARE(r.byFilter(r.saveFilters().first()), r.defaultSaveFormat());
    QCOMPARE(r.defaultSaveFormat(), r.byExtension(QStringLiteral("docx")));

    // Content decides over the name: a package named .txt is a Word document.
    const QByteArray docx = package(
        {{QStringLiteral("word/document.xml"), body("<w:p><w:r><w:t>zipped</w:t></w:r></w:p>")}});
    QCOMPARE(r.detect(docx.left(4096), QStringLiteral("letter.txt")),
             r.byExtension(QStringLiteral("docx")));
    QCOMPARE(r.detect("plain words", QStringLiteral("notes.docx")),
             r.byExtension(QStringLiteral("txt")));
    QCOMPARE(r.detect(QByteArray("\x00\x01\x02", 3), QStringLiteral("x.bin")), nullptr);

    QTemporaryDir dir;
    RichEditDocument doc;
    QString error;
    QVERIFY2(DocumentFile::open(writeFile(dir, QStringLiteral("letter.txt"), docx), &doc, &error),
             qPrintable(error));
    QCOMPARE(mainText(doc), QStringLiteral("zipped"));
    QVERIFY(!doc.isModified());
}

void TestFormats::plainTextDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString cafe = QStringLiteral("caf\u00e9 \u20ac");
    QTest::newRow("utf-8") << cafe.toUtf8() << cafe;
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + cafe.toUtf8() << cafe;
    QByteArray le("\xFF\xFE");
    QByteArray be("\xFE\xFF");
    for (QChar c : cafe) {
        le += char(c.unicode() & 0xFF);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    QTest::newRow("utf-16le bom") << le << cafe;
    QTest::newRow("utf-16be bom") << be << cafe;
    // Not UTF-8: the Western 8-bit code page, where 0x80 is the euro sign.
    QTest::newRow("windows-1252") << QByteArray("caf\xE9 \x80") << cafe;
}

void TestFormats::plainTextDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(PlainTextFormat::decode(bytes), text);
}

void TestFormats::plainTextRoundTrip()
{
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, QStringLiteral("in.txt"), "first line\r\nsecond\tline\n\nlast\n");
    RichEditDocument doc;
    QString error;
    QVERIFY2(DocumentFile::open(path, &doc, &error), qPrintable(error));
    QCOMPARE(doc.mainStory()->blockCount(), 4);
    QCOMPARE(mainText(doc), QStringLiteral("first line\nsecond\tline\n\nlast"));
    QCOMPARE(doc.mainStory()->begin().blockFormat().stringProperty(ModelProperty::ParagraphStyle),
             StyleSheet::normalStyleName());

    const QString out = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY2(DocumentFile::save(out, doc, nullptr, &error), qPrintable(error));
    RichEditDocument again;
    QVERIFY2(DocumentFile::open(out, &again, &error), qPrintable(error));
    QCOMPARE(mainText(again), mainText(doc));
}

namespace {
// Writes half a document, then fails, like a full disk.
class FailingFormat : public PlainTextFormat
{
public:
    bool write(const RichEditDocument &, QIODevice *device, QString *error) const override
    {
        device->write("half");
        *error = QStringLiteral("disk full");
        return false;
    }
};
} // namespace

void TestFormats::saveFailureKeepsOldFile()
{
    QTemporaryDir dir;
    RichEditDocument doc;
    fillOpenDocument(&doc);
    QString error;

    // A folder nobody can write into, root included: its "parent" is a file.
    const QString blocker = writeFile(dir, QStringLiteral("not-a-folder"), "x");
    QVERIFY(!DocumentFile::save(blocker + QStringLiteral("/doc.txt"), doc, nullptr, &error));
    QVERIFY2(error.contains(QLatin1String("doc.txt")), qPrintable(error));

    const QString old = writeFile(dir, QStringLiteral("old.txt"), "the old content");
    FailingFormat failing;
    QVERIFY(!DocumentFile::save(old, doc, &failing, &error));
    QVERIFY2(error.contains(QLatin1String("old.txt")) && error.contains(QLatin1String("disk full")),
             qPrintable(error));
    QFile f(old);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("the old content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
}

void TestFormats::damagedDocx_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QByteArray good = package(
        {{QStringLiteral("word/document.xml"), body("<w:p><w:r><w:t>fine</w:t></w:r></w:p>")}});
    QTest::newRow("truncated zip") << good.left(good.size() / 2) << QStringLiteral("ZIP");
    QTest::newRow("missing document part")
        << package({{QStringLiteral("word/other.xml"), body("")}})
        << QStringLiteral("word/document.xml is missing");
    QTest::newRow("broken xml") << package({{QStringLiteral("word/document.xml"),
                                             body("<w:p><w:r><w:t>open</w:r></w:p>")}})
                                << QStringLiteral("word/document.xml, line 1");
    QByteArray zeros(64 << 20, '\0');
    QTest::newRow("zip bomb") << package({{QStringLiteral("word/document.xml"), zeros}})
                              << QStringLiteral("zip bomb");
    QByteArray deep =
        body(QByteArray("<w:p>").repeated(1000) + QByteArray("</w:p>").repeated(1000));
    QTest::newRow("deep nesting") << package({{QStringLiteral("word/document.xml"), deep}})
                                  << QStringLiteral("nested more than");
    QTest::newRow("wrong content type")
        << package({{QStringLiteral("[Content_Types].xml"),
                     contentTypes("application/vnd.ms-excel.sheet.main+xml")},
                    {QStringLiteral("word/document.xml"), body("")}})
        << QStringLiteral("not a word processing document");
    QTest::newRow("entity expansion")
        << package({{QStringLiteral("word/document.xml"),
                     "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                     "\"&a;&a;&a;&a;\">]>" +
                         body("<w:p><w:r><w:t>&b;</w:t></w:r></w:p>")}})
        << QStringLiteral("document type declarations are not allowed");
    QTest::newRow("no package at all")
        << QByteArray("PK\x03\x04garbage", 11) << QStringLiteral("ZIP");
}

void TestFormats::damagedDocx()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("damaged.docx"), bytes);
    RichEditDocument doc;
    fillOpenDocument(&doc);
    QString error;
    QVERIFY(!DocumentFile::open(path, &doc, &error));
    QVERIFY2(error.contains(QLatin1String("damaged.docx")) && error.contains(expected),
             qPrintable(error));
    QCOMPARE(mainText(doc), QStringLiteral("keep me"));
    QVERIFY(!doc.isModified());
}

void TestFormats::docxStylesListsAndSections()
{
    const QByteArray styles =
        QByteArray("<w:styles ") + W +
        ">"
        "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\"/><w:sz "
        "w:val=\"22\"/></w:rPr></w:rPrDefault>"
        "<w:pPrDefault><w:pPr><w:spacing w:after=\"120\" w:line=\"276\" "
        "w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
        "w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"berschrift1\"><w:name w:val=\"heading "
        "1\"/><w:basedOn w:val=\"Normal\"/>"
        "<w:pPr><w:keepNext/><w:spacing w:before=\"240\"/></w:pPr><w:rPr><w:b/><w:sz "
        "w:val=\"32\"/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Sub\"><w:name w:val=\"Sub Heading\"/><w:basedOn "
        "w:val=\"berschrift1\"/>"
        "<w:rPr><w:i/></w:rPr></w:style>"
        "<w:style w:type=\"character\" w:styleId=\"Red\"><w:name w:val=\"Red\"/><w:rPr><w:color "
        "w:val=\"FF0000\"/></w:rPr></w:style>"
        "</w:styles>";
    const QByteArray numbering =
        QByteArray("<w:numbering ") + W +
        ">"
        "<w:abstractNum w:abstractNumId=\"3\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt "
        "w:val=\"decimal\"/>"
        "<w:lvlText w:val=\"%1.\"/><w:pPr><w:ind w:left=\"720\" w:hanging=\"360\"/></w:pPr></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"lowerLetter\"/><w:lvlText w:val=\"%1.%2)\"/><w:suff "
        "w:val=\"space\"/>"
        "<w:pPr><w:ind w:left=\"1440\" w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"7\"><w:abstractNumId w:val=\"3\"/><w:lvlOverride "
        "w:ilvl=\"0\"><w:startOverride w:val=\"4\"/></w:lvlOverride></w:num>"
        "</w:numbering>";
    const QByteArray header =
        QByteArray("<w:hdr ") + W + "><w:p><w:r><w:t>Head</w:t></w:r></w:p></w:hdr>";
    const QByteArray doc =
        body("<w:p><w:pPr><w:pStyle w:val=\"Sub\"/></w:pPr><w:r><w:t>Title</w:t></w:r></w:p>"
             "<w:p><w:r><w:t xml:space=\"preserve\">plain </w:t></w:r><w:r><w:rPr><w:rStyle "
             "w:val=\"Red\"/><w:b/></w:rPr><w:t>red</w:t></w:r></w:p>"
             "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"7\"/></w:numPr><w:ind "
             "w:left=\"2000\"/></w:pPr><w:r><w:t>item</w:t></w:r></w:p>"
             "<w:p><w:pPr><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1000\" "
             "w:right=\"1100\" w:bottom=\"1200\" w:left=\"1300\" w:header=\"500\" w:footer=\"600\" "
             "w:gutter=\"0\"/>"
             "<w:cols w:num=\"2\" w:space=\"400\"/><w:lnNumType w:countBy=\"5\" "
             "w:restart=\"newSection\"/><w:titlePg/>"
             "<w:headerReference w:type=\"first\" r:id=\"rIdH\"/></w:sectPr></w:pPr><w:r><w:t>end "
             "one</w:t><w:br w:type=\"page\"/><w:t>after break</w:t></w:r></w:p>"
             "<w:p><w:r><w:t>last</w:t></w:r></w:p>"
             "<w:sectPr><w:type w:val=\"oddPage\"/><w:pgSz w:w=\"16838\" w:h=\"11906\" "
             "w:orient=\"landscape\"/><w:pgNumType w:start=\"3\"/>"
             "<w:headerReference w:type=\"even\" r:id=\"rIdH\"/></w:sectPr>");
    const QByteArray docRels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdS\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>"
        "<Relationship Id=\"rIdN\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering\" "
        "Target=\"numbering.xml\"/>"
        "<Relationship Id=\"rIdH\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" "
        "Target=\"header1.xml\"/>"
        "</Relationships>";
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, QStringLiteral("styled.docx"),
                  package({{QStringLiteral("word/document.xml"), doc},
                           {QStringLiteral("word/_rels/document.xml.rels"), docRels},
                           {QStringLiteral("word/styles.xml"), styles},
                           {QStringLiteral("word/numbering.xml"), numbering},
                           {QStringLiteral("word/header1.xml"), header}}));
    RichEditDocument d;
    QString error;
    QVERIFY2(DocumentFile::open(path, &d, &error), qPrintable(error));

    // Styles: localized id, English name mapped to the built-in, inheritance.
    const Style *sub = d.styles().find(QStringLiteral("Sub Heading"));
    QVERIFY(sub);
    QCOMPARE(sub->basedOn, QStringLiteral("Heading 1"));
    QCOMPARE(d.styles().find(QStringLiteral("Heading 1"))->basedOn, StyleSheet::normalStyleName());
    QTextBlock b = d.mainStory()->begin();
    QCOMPARE(b.blockFormat().stringProperty(ModelProperty::ParagraphStyle),
             QStringLiteral("Sub Heading"));
    QVERIFY(b.blockFormat().boolProperty(ModelProperty::KeepWithNext));
    QCOMPARE(b.blockFormat().topMargin(), 240.0);
    QCOMPARE(b.blockFormat().bottomMargin(), 120.0);
    QCOMPARE(b.blockFormat().doubleProperty(ModelProperty::LineSpacingValue), 276 / 240.0);
    QTextCharFormat title = b.begin().fragment().charFormat();
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QVERIFY(title.fontItalic());
    QCOMPARE(title.fontPointSize(), 16.0);
    QCOMPARE(title.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});

    b = b.next();
    auto it = b.begin();
    QCOMPARE(it.fragment().text(), QStringLiteral("plain "));
    QCOMPARE(it.fragment().charFormat().fontPointSize(), 11.0);
    ++it;
    QCOMPARE(it.fragment().text(), QStringLiteral("red"));
    QCOMPARE(it.fragment().charFormat().foreground().color(), QColor(Qt::red));
    QCOMPARE(it.fragment().charFormat().stringProperty(ModelProperty::CharacterStyle),
             QStringLiteral("Red"));
    QCOMPARE(it.fragment().charFormat().fontWeight(), int(QFont::Bold));

    // Lists: instance, level, level override, direct indent over the level's.
    b = b.next();
    QCOMPARE(b.blockFormat().intProperty(ModelProperty::ListInstance), 7);
    QCOMPARE(b.blockFormat().intProperty(ModelProperty::ListLevel), 1);
    QCOMPARE(b.blockFormat().leftMargin(), 2000.0);
    QCOMPARE(b.blockFormat().textIndent(), -360.0);
    const ListLevel level = d.lists().level(7, 1);
    QCOMPARE(level.format, NumberFormat::LowerLetter);
    QCOMPARE(level.text, QStringLiteral("%1.%2)"));
    QCOMPARE(level.suffix, QChar(u' '));
    QVERIFY(d.lists().instance(7)->overrides.value(0).start == 4);

    // A page break in the middle of a paragraph splits it; the section
    // ends at the paragraph's last part.
    b = b.next();
    QCOMPARE(b.text(), QStringLiteral("end one"));
    b = b.next();
    QCOMPARE(b.text(), QStringLiteral("after break"));
    QCOMPARE(b.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(d.sectionCount(), 2);
    QCOMPARE(d.sectionEndBlock(0).text(), QStringLiteral("after break"));
    const SectionProperties first = d.sectionProperties(0);
    QCOMPARE(first.pageWidth, 11906);
    QCOMPARE(first.margins, (PageMargins{1300, 1100, 1000, 1200, 0}));
    QCOMPARE(first.headerDistance, 500);
    QCOMPARE(first.columns.count, 2);
    QCOMPARE(first.columns.spacing, 400);
    QCOMPARE(first.lineNumbering.countBy, 5);
    QCOMPARE(first.lineNumbering.restart, LineNumberRestart::EachSection);
    QVERIFY(first.differentFirstPage);
    QVERIFY(first.headers[int(HeaderFooterType::First)] != 0);
    QCOMPARE(d.story(first.headers[int(HeaderFooterType::First)])->toPlainText(),
             QStringLiteral("Head"));
    const SectionProperties last = d.sectionProperties(1);
    QCOMPARE(last.orientation, PageOrientation::Landscape);
    QCOMPARE(last.breakType, SectionBreakType::OddPage);
    QCOMPARE(last.pageNumberStart, 3);
    // One header part referenced twice is one story.
    QCOMPARE(last.headers[int(HeaderFooterType::Even)],
             first.headers[int(HeaderFooterType::First)]);
    QVERIFY(!d.isModified());
}

void TestFormats::docxTables()
{
    const QByteArray styles =
        QByteArray("<w:styles ") + W +
        ">"
        "<w:style w:type=\"table\" w:styleId=\"Grid\"><w:name "
        "w:val=\"Grid\"/><w:tblPr><w:tblBorders>"
        "<w:top w:val=\"single\" w:sz=\"8\" w:color=\"00FF00\"/><w:insideH w:val=\"single\" "
        "w:sz=\"4\"/>"
        "<w:insideV w:val=\"single\" w:sz=\"4\"/></w:tblBorders></w:tblPr></w:style></w:styles>";
    auto cell = [](const QByteArray &pr, const QByteArray &text) {
        return "<w:tc><w:tcPr>" + pr + "</w:tcPr><w:p><w:r><w:t>" + text +
               "</w:t></w:r></w:p></w:tc>";
    };
    const QByteArray doc =
        body("<w:p><w:r><w:t>before</w:t></w:r></w:p>"
             "<w:tbl><w:tblPr><w:tblStyle w:val=\"Grid\"/><w:tblW w:w=\"5000\" "
             "w:type=\"pct\"/><w:jc w:val=\"center\"/>"
             "<w:tblLayout w:type=\"fixed\"/><w:tblBorders><w:bottom w:val=\"double\" w:sz=\"12\" "
             "w:color=\"0000FF\"/></w:tblBorders></w:tblPr>"
             "<w:tblGrid><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"2000\"/><w:gridCol "
             "w:w=\"3000\"/></w:tblGrid>"
             "<w:tr><w:trPr><w:tblHeader/><w:trHeight w:val=\"400\" w:hRule=\"exact\"/></w:trPr>" +
             cell("<w:gridSpan w:val=\"2\"/>", "wide") +
             cell("<w:vMerge w:val=\"restart\"/><w:vAlign w:val=\"center\"/>", "tall") +
             "</w:tr>"
             "<w:tr>" +
             cell("<w:shd w:fill=\"FFFF00\"/>", "a") +
             cell("<w:tcMar><w:left w:w=\"50\"/></w:tcMar>", "b") + cell("<w:vMerge/>", "") +
             "</w:tr>"
             "</w:tbl><w:p><w:r><w:t>after</w:t></w:r></w:p>");
    const QByteArray docRels = rels({{"styles", "styles.xml"}});
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, QStringLiteral("table.docx"),
                  package({{QStringLiteral("word/document.xml"), doc},
                           {QStringLiteral("word/_rels/document.xml.rels"), docRels},
                           {QStringLiteral("word/styles.xml"), styles}}));
    RichEditDocument d;
    QString error;
    QVERIFY2(DocumentFile::open(path, &d, &error), qPrintable(error));
    QCOMPARE(d.mainStory()->begin().text(), QStringLiteral("before"));
    QCOMPARE(d.mainStory()->lastBlock().text(), QStringLiteral("after"));
    QTextCursor c(d.mainStory()->begin().next());
    QTextTable *t = c.currentTable();
    QVERIFY(t);
    QCOMPARE(t->rows(), 2);
    QCOMPARE(t->columns(), 3);
    QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(t->cellAt(0, 2).rowSpan(), 2);
    QCOMPARE(t->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("b"));

    const QTextTableFormat tf = t->format();
    QCOMPARE(tf.columnWidthConstraints().at(2), QTextLength(QTextLength::FixedLength, 3000));
    QCOMPARE(tf.width(), QTextLength(QTextLength::PercentageLength, 100));
    QCOMPARE(tf.stringProperty(ModelProperty::TableStyleName), QStringLiteral("Grid"));
    QCOMPARE(tf.intProperty(ModelProperty::TableAutoFit), int(TableAutoFit::Fixed));
    QCOMPARE(tf.intProperty(ModelProperty::TableHeaderRows), 1);
    QCOMPARE(tf.property(ModelProperty::TableRowHeights).toList().value(0).toInt(), -400);
    QCOMPARE(tf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // Borders resolve cell, then table, then style; inner edges take inside borders.
    const QTextTableCellFormat wide = t->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(wide.topBorder(), 20.0);
    QCOMPARE(wide.topBorderBrush().color(), QColor(Qt::green));
    QCOMPARE(wide.bottomBorder(), 10.0); // insideH
    QCOMPARE(wide.leftBorder(), 0.0);    // the style has no outer left edge
    const QTextTableCellFormat a = t->cellAt(1, 0).format().toTableCellFormat();
    QCOMPARE(a.bottomBorder(), 30.0);
    QCOMPARE(a.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
    QCOMPARE(a.background().color(), QColor(Qt::yellow));
    QCOMPARE(a.leftPadding(), 108.0);
    QCOMPARE(t->cellAt(1, 1).format().toTableCellFormat().leftPadding(), 50.0);
    const QTextTableCellFormat tall = t->cellAt(0, 2).format().toTableCellFormat();
    QCOMPARE(tall.verticalAlignment(), QTextCharFormat::AlignMiddle);
    QCOMPARE(tall.bottomBorderStyle(),
             QTextFrameFormat::BorderStyle_Double); // spans to the last row
}

void TestFormats::docxFieldsBookmarksLinksAndSettings()
{
    const QByteArray doc =
        "<w:document " + QByteArray(W) +
        "><w:background w:color=\"FFEEDD\"/><w:body>"
        "<w:p><w:bookmarkStart w:id=\"0\" w:name=\"target\"/><w:r><w:t>Page </w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\"> "
        "PAGE </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>7</w:t></w:r><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r>"
        "<w:bookmarkEnd w:id=\"0\"/><w:fldSimple w:instr=\" NUMPAGES "
        "\"><w:r><w:t>9</w:t></w:r></w:fldSimple></w:p>"
        "<w:p><w:permStart w:id=\"5\" w:edGrp=\"everyone\"/><w:hyperlink "
        "r:id=\"rIdL\"><w:r><w:t>site</w:t></w:r></w:hyperlink>"
        "<w:hyperlink w:anchor=\"target\"><w:r><w:t>back</w:t></w:r></w:hyperlink><w:permEnd "
        "w:id=\"5\"/>"
        "<w:r><w:footnoteReference "
        "w:id=\"1\"/></w:r><w:del><w:r><w:delText>gone</w:delText></w:r></w:del></w:p>"
        "</w:body></w:document>";
    const QByteArray docRels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdL\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" "
        "Target=\"https://example.org/\" TargetMode=\"External\"/>"
        "<Relationship Id=\"rIdT\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings\" "
        "Target=\"settings.xml\"/>"
        "</Relationships>";
    const QByteArray settings =
        QByteArray("<w:settings ") + W +
        "><w:evenAndOddHeaders/><w:defaultTabStop w:val=\"708\"/>"
        "<w:documentProtection w:edit=\"readOnly\" w:enforcement=\"1\" w:algorithmName=\"SHA-512\" "
        "w:hashValue=\"AAEC\" w:saltValue=\"AwQF\" w:spinCount=\"100000\"/></w:settings>";
    const QByteArray core =
        "<cp:coreProperties "
        "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
        "xmlns:dcterms=\"http://purl.org/dc/terms/\"><dc:title>The Title</dc:title>"
        "<dc:creator>Ann</dc:creator><dcterms:created>2024-05-01T10:00:00Z</dcterms:created></"
        "cp:coreProperties>";
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, QStringLiteral("fields.docx"),
                  package({{QStringLiteral("word/document.xml"), doc},
                           {QStringLiteral("word/_rels/document.xml.rels"), docRels},
                           {QStringLiteral("word/settings.xml"), settings},
                           {QStringLiteral("docProps/core.xml"), core},
                           {QStringLiteral("_rels/.rels"),
                            rels({{"officeDocument", "word/document.xml"}})
                                .replace("</Relationships>",
                                         "<Relationship Id=\"c\" "
                                         "Type=\"http://schemas.openxmlformats.org/package/2006/"
                                         "relationships/metadata/core-properties\" "
                                         "Target=\"docProps/core.xml\"/></Relationships>")}}));
    RichEditDocument d;
    QString error;
    QVERIFY2(DocumentFile::open(path, &d, &error), qPrintable(error));
    QTextBlock b = d.mainStory()->begin();
    QCOMPARE(b.text(), QStringLiteral("Page 79"));
    QCOMPARE(b.next().text(),
             QStringLiteral("siteback")); // deleted text and the note mark are not shown

    QTextCursor c(d.mainStory());
    c.setPosition(6); // inside "7"
    const Field *page = d.field(c.charFormat().intProperty(ModelProperty::FieldId));
    QVERIFY(page);
    QCOMPARE(page->type, FieldType::Page);
    c.setPosition(7);
    const Field *pages = d.field(c.charFormat().intProperty(ModelProperty::FieldId));
    QVERIFY(pages && pages->simple);
    QCOMPARE(pages->type, FieldType::NumPages);

    const Bookmark *mark = d.bookmark(QStringLiteral("target"));
    QVERIFY(mark);
    QCOMPARE(mark->range.range(), (DocumentRange{MainStoryId, 0, 6}));
    c.setPosition(b.next().position() + 1);
    QCOMPARE(c.charFormat().anchorHref(), QStringLiteral("https://example.org/"));
    c.setPosition(b.next().position() + 5);
    QCOMPARE(c.charFormat().anchorHref(), QStringLiteral("#target"));
    QCOMPARE(d.permissions().size(), 1);
    QCOMPARE(d.permissions().first().group, QStringLiteral("everyone"));
    QCOMPARE(d.permissions().first().range.range().length, 8);

    const DocumentSettings &s = d.settings();
    QCOMPARE(s.pageColor, QColor(0xFFEEDD));
    QVERIFY(s.evenAndOddHeaders);
    QVERIFY(d.sectionProperties(0).differentOddEven);
    QCOMPARE(s.defaultTabStop, 708);
    QVERIFY(s.protection.enforced);
    QCOMPARE(s.protection.type, ProtectionType::ReadOnly);
    QCOMPARE(s.protection.hash, QByteArray::fromBase64("AAEC"));
    QCOMPARE(s.protection.spinCount, 100000);
    QCOMPARE(s.properties.title, QStringLiteral("The Title"));
    QCOMPARE(s.properties.creator, QStringLiteral("Ann"));
    QCOMPARE(s.properties.created, QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::UTC));
}

QTEST_MAIN(TestFormats)
#include "tst_formats.moc"
