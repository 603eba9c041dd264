#include "formats/DocumentFile.h"
#include "formats/docx/ZipReader.h"

#include "DocxFixtures.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include "ModelProbes.h"
#include <QBuffer>
#include <QImage>

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace richedit;
using namespace formats;
using namespace fixtures;
using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray Drawing =
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\"";

QByteArray stylesPart()
{
    return QByteArray("<w:styles ") + W +
           "><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\"/><w:sz "
           "w:val=\"22\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"120\" "
           "w:line=\"276\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
           "w:val=\"Normal\"/></w:style>"
           "<w:style w:type=\"paragraph\" w:styleId=\"berschrift1\"><w:name w:val=\"heading 1\"/>"
           "<w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:link w:val=\"H1Char\"/>"
           "<w:pPr><w:keepNext/><w:spacing w:before=\"240\"/><w:outlineLvl w:val=\"0\"/></w:pPr>"
           "<w:rPr><w:b/><w:sz w:val=\"32\"/></w:rPr></w:style>"
           "<w:style w:type=\"character\" w:styleId=\"H1Char\"><w:name w:val=\"Heading 1 "
           "Char\"/><w:link w:val=\"berschrift1\"/><w:rPr><w:b/></w:rPr></w:style>"
           "<w:style w:type=\"paragraph\" w:styleId=\"Listed\"><w:name w:val=\"Listed\"/>"
           "<w:basedOn w:val=\"Normal\"/><w:pPr><w:numPr><w:numId w:val=\"8\"/></w:numPr>"
           "<w:ind w:left=\"900\"/></w:pPr></w:style>"
           "<w:style w:type=\"character\" w:styleId=\"Red\"><w:name w:val=\"Red\"/><w:rPr><w:color "
           "w:val=\"FF0000\"/></w:rPr></w:style>"
           "<w:style w:type=\"table\" w:styleId=\"Grid\"><w:name w:val=\"Table Grid\"/><w:tblPr>"
           "<w:tblBorders><w:top w:val=\"single\" w:sz=\"4\"/><w:insideH w:val=\"single\" "
           "w:sz=\"4\"/></w:tblBorders></w:tblPr></w:style></w:styles>";
}

QByteArray numberingPart()
{
    return QByteArray("<w:numbering ") + W +
           "><w:abstractNum w:abstractNumId=\"3\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
           "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/><w:pPr><w:ind w:left=\"720\" "
           "w:hanging=\"360\"/></w:pPr></w:lvl><w:lvl w:ilvl=\"1\"><w:numFmt "
           "w:val=\"lowerLetter\"/><w:lvlRestart w:val=\"1\"/><w:suff w:val=\"space\"/><w:lvlText "
           "w:val=\"%1.%2)\"/><w:lvlJc w:val=\"right\"/><w:pPr><w:ind w:left=\"1440\" "
           "w:hanging=\"360\"/></w:pPr><w:rPr><w:b/></w:rPr></w:lvl></w:abstractNum>"
           "<w:abstractNum w:abstractNumId=\"4\"><w:multiLevelType w:val=\"singleLevel\"/><w:lvl "
           "w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/><w:lvlText "
           "w:val=\"\xEF\x82\xB7\"/><w:pPr><w:ind "
           "w:left=\"360\" w:hanging=\"360\"/></w:pPr><w:rPr><w:rFonts w:ascii=\"Symbol\"/></w:rPr>"
           "</w:lvl></w:abstractNum>"
           "<w:num w:numId=\"7\"><w:abstractNumId w:val=\"3\"/><w:lvlOverride w:ilvl=\"0\">"
           "<w:startOverride w:val=\"4\"/></w:lvlOverride><w:lvlOverride w:ilvl=\"2\"><w:lvl "
           "w:ilvl=\"2\"><w:numFmt w:val=\"upperRoman\"/><w:lvlText w:val=\"%3\"/></w:lvl>"
           "</w:lvlOverride></w:num><w:num w:numId=\"8\"><w:abstractNumId w:val=\"4\"/></w:num>"
           "</w:numbering>";
}

QByteArray run(const QByteArray &text, const QByteArray &properties = QByteArray())
{
    return "<w:r>" + (properties.isEmpty() ? QByteArray() : "<w:rPr>" + properties + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

QByteArray fieldChar(const QByteArray &type)
{
    return "<w:r><w:fldChar w:fldCharType=\"" + type + "\"/></w:r>";
}

QByteArray complexField(const QByteArray &instruction, const QByteArray &result)
{
    return fieldChar("begin") + "<w:r><w:instrText xml:space=\"preserve\">" + instruction +
           "</w:instrText></w:r>" + fieldChar("separate") + run(result) + fieldChar("end");
}

QByteArray anchor(const QByteArray &attributes, const QByteArray &inner, const QByteArray &graphic)
{
    return "<w:drawing><wp:anchor distT=\"63500\" distB=\"0\" distL=\"114300\" "
           "distR=\"114300\" simplePos=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"0\" " +
           attributes + "><wp:simplePos x=\"0\" y=\"0\"/>" + inner +
           "<wp:docPr id=\"9\" name=\"Thing\" descr=\"About it\"/><a:graphic>" + graphic +
           "</a:graphic></wp:anchor></w:drawing>";
}

const QByteArray PictureGraphic =
    "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
    "<pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic></a:graphicData>";

QByteArray documentPart()
{
    const QByteArray textBox =
        "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" +
        anchor("relativeHeight=\"7\" behindDoc=\"0\"",
               "<wp:positionH relativeFrom=\"page\"><wp:posOffset>127000</wp:posOffset>"
               "</wp:positionH><wp:positionV relativeFrom=\"margin\"><wp:align>bottom</wp:align>"
               "</wp:positionV><wp:extent cx=\"1270000\" cy=\"635000\"/><wp:wrapSquare "
               "wrapText=\"left\"/>",
               "<a:graphicData "
               "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\">"
               "<wps:wsp><wps:txbx><w:txbxContent><w:p>" +
                   run("box text", "<w:i/>") +
                   "</w:p></w:txbxContent></wps:txbx></wps:wsp></a:graphicData>") +
        "</mc:Choice><mc:Fallback><w:pict><v:rect><v:textbox><w:txbxContent><w:p>" +
        run("box text") +
        "</w:p></w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback>"
        "</mc:AlternateContent></w:r>";
    const QByteArray table =
        "<w:tbl><w:tblPr><w:tblStyle w:val=\"Grid\"/><w:tblW w:w=\"9000\" w:type=\"dxa\"/><w:jc "
        "w:val=\"center\"/><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid><w:gridCol "
        "w:w=\"3000\"/><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"4000\"/></w:tblGrid>"
        "<w:tr><w:trPr><w:cantSplit/><w:trHeight w:val=\"400\"/><w:tblHeader/></w:trPr>"
        "<w:tc><w:tcPr><w:gridSpan w:val=\"2\"/><w:shd w:val=\"clear\" "
        "w:fill=\"FFFF00\"/></w:tcPr><w:p>" +
        run("A1") +
        "</w:p></w:tc><w:tc><w:tcPr><w:vMerge w:val=\"restart\"/><w:vAlign "
        "w:val=\"center\"/><w:tcMar><w:left w:w=\"200\" w:type=\"dxa\"/></w:tcMar></w:tcPr><w:p>" +
        run("C1") +
        "</w:p></w:tc></w:tr>"
        "<w:tr><w:trPr><w:trHeight w:val=\"500\" w:hRule=\"exact\"/></w:trPr><w:tc><w:tcPr>"
        "<w:tcBorders><w:top w:val=\"double\" w:sz=\"12\" w:color=\"FF0000\"/></w:tcBorders>"
        "</w:tcPr><w:p>" +
        run("A2") + "</w:p></w:tc><w:tc><w:p>" + run("B2") +
        "</w:p><w:tbl><w:tblGrid><w:gridCol w:w=\"900\"/></w:tblGrid><w:tr><w:tc><w:p>" +
        run("nested") +
        "</w:p></w:tc></w:tr></w:tbl><w:p/></w:tc><w:tc><w:tcPr><w:vMerge/></w:tcPr><w:p/>"
        "</w:tc></w:tr></w:tbl>";
    return QByteArray("<w:document ") + W + " " + Drawing +
           "><w:background w:color=\"FFEEDD\"/><w:body>"
           "<w:p><w:pPr><w:pStyle w:val=\"berschrift1\"/></w:pPr><w:bookmarkStart w:id=\"0\" "
           "w:name=\"top\"/>" +
           run("Title") + "<w:bookmarkEnd w:id=\"0\"/>" +
           run(" styled", "<w:rStyle w:val=\"H1Char\"/><w:i/>") +
           "</w:p>"
           "<w:p><w:pPr><w:keepLines/><w:tabs><w:tab w:val=\"center\" w:pos=\"2000\"/><w:tab "
           "w:val=\"right\" w:pos=\"4000\"/></w:tabs><w:spacing w:before=\"60\" w:after=\"80\" "
           "w:line=\"360\" w:lineRule=\"auto\"/><w:ind w:left=\"300\" w:right=\"200\" "
           "w:firstLine=\"100\"/><w:jc w:val=\"center\"/></w:pPr>" +
           run("plain ") +
           run("fmt", "<w:rFonts w:ascii=\"Courier New\"/><w:b/><w:i/><w:color "
                      "w:val=\"00FF00\"/><w:sz w:val=\"28\"/><w:u w:val=\"single\"/>") +
           run("red", "<w:rStyle w:val=\"Red\"/>") + run("hi", "<w:highlight w:val=\"yellow\"/>") +
           run("shade", "<w:shd w:val=\"clear\" w:fill=\"ABCDEF\"/>") +
           run("sup", "<w:vertAlign w:val=\"superscript\"/>") +
           run("caps", "<w:caps/><w:strike/><w:spacing w:val=\"30\"/>") +
           "<w:r><w:tab/><w:t>a</w:t><w:br/><w:t>b</w:t><w:noBreakHyphen/></w:r></w:p>"
           "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"7\"/></w:numPr></w:pPr>" +
           run("item") +
           "</w:p>"
           "<w:p><w:pPr><w:pStyle w:val=\"Listed\"/><w:spacing w:line=\"300\" "
           "w:lineRule=\"exact\"/></w:pPr>" +
           run("bullet") +
           "</w:p>"
           "<w:p><w:pPr><w:pStyle w:val=\"Listed\"/><w:numPr><w:numId w:val=\"0\"/></w:numPr>"
           "</w:pPr>" +
           run("not listed") + "</w:p><w:p>" + run("Page ") + complexField(" PAGE ", "7") +
           run(" of ") + "<w:fldSimple w:instr=\" NUMPAGES \">" + run("9") + "</w:fldSimple>" +
           run(" ") + complexField(" HYPERLINK \"https://example.com/\" ", "link") +
           "<w:permStart w:id=\"5\" w:edGrp=\"everyone\"/><w:hyperlink r:id=\"rIdL\">" +
           run("site") + "</w:hyperlink><w:hyperlink w:anchor=\"top\">" + run("back") +
           "</w:hyperlink><w:permEnd w:id=\"5\"/></w:p>"
           "<w:p>" +
           run("before") + "<w:r><w:br w:type=\"page\"/></w:r>" + run("after page") +
           "<w:r><w:br w:type=\"column\"/></w:r>" + run("after column") +
           "</w:p>"
           "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"635000\" cy=\"476250\"/><a:graphic>" +
           PictureGraphic + "</a:graphic></wp:inline></w:drawing></w:r>" + "<w:r>" +
           anchor("relativeHeight=\"3\" behindDoc=\"1\"",
                  "<wp:positionH relativeFrom=\"margin\"><wp:align>center</wp:align></wp:positionH>"
                  "<wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>635000</wp:posOffset>"
                  "</wp:positionV><wp:extent cx=\"952500\" cy=\"635000\"/><wp:wrapNone/>",
                  PictureGraphic) +
           "</w:r>" + textBox + "</w:p>" + table +
           "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"first\" r:id=\"rIdH1\"/>"
           "<w:headerReference w:type=\"even\" r:id=\"rIdH2\"/><w:footerReference "
           "w:type=\"default\" r:id=\"rIdF1\"/><w:type w:val=\"continuous\"/><w:pgSz w:w=\"11906\" "
           "w:h=\"16838\"/><w:pgMar w:top=\"1000\" w:right=\"1100\" w:bottom=\"1200\" "
           "w:left=\"1300\" w:header=\"500\" w:footer=\"600\" w:gutter=\"100\"/><w:lnNumType "
           "w:countBy=\"5\" w:start=\"1\" w:distance=\"300\" w:restart=\"newSection\"/>"
           "<w:cols w:num=\"2\" w:space=\"500\" w:equalWidth=\"0\" w:sep=\"1\"><w:col w:w=\"4000\" "
           "w:space=\"500\"/><w:col w:w=\"4006\" w:space=\"0\"/></w:cols><w:titlePg/></w:sectPr>"
           "</w:pPr>" +
           run("end of one") + "</w:p><w:p>" + run("last") +
           "</w:p><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdH2\"/><w:type "
           "w:val=\"oddPage\"/><w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>"
           "<w:pgNumType w:start=\"5\"/><w:cols w:num=\"3\" w:space=\"360\"/></w:sectPr>"
           "</w:body></w:document>";
}

QByteArray relationship(const QByteArray &id, const QByteArray &type, const QByteArray &target,
                        bool external = false)
{
    return "<Relationship Id=\"" + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
           "\" Target=\"" + target + "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
}

// A document with every feature the writer handles, as Word would write it.
QByteArray richPackage(const QByteArray &png)
{
    const QByteArray docRels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        relationship("rIdS", "styles", "styles.xml") +
        relationship("rIdN", "numbering", "numbering.xml") +
        relationship("rIdT", "settings", "settings.xml") +
        relationship("rIdL", "hyperlink", "https://example.org/a?b=1&amp;c=2", true) +
        relationship("rIdImg", "image", "media/pic.png") +
        relationship("rIdH1", "header", "header1.xml") +
        relationship("rIdH2", "header", "header2.xml") +
        relationship("rIdF1", "footer", "footer1.xml") + "</Relationships>";
    const QByteArray settings =
        QByteArray("<w:settings ") + W +
        "><w:displayBackgroundShape/><w:documentProtection w:edit=\"readOnly\" "
        "w:enforcement=\"1\" w:algorithmName=\"SHA-512\" w:hashValue=\"AAEC\" "
        "w:saltValue=\"AwQF\" w:spinCount=\"100000\"/><w:defaultTabStop w:val=\"708\"/>"
        "<w:evenAndOddHeaders/></w:settings>";
    const QByteArray core =
        "<cp:coreProperties "
        "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\">"
        "<dc:title>The &lt;Title&gt;</dc:title><dc:creator>Ann</dc:creator><cp:keywords>k1 "
        "k2</cp:keywords><dcterms:created>2024-05-01T10:00:00Z</dcterms:created>"
        "<dcterms:modified>2024-06-02T11:30:00Z</dcterms:modified></cp:coreProperties>";
    auto story = [](const char *root, const QByteArray &content) {
        return QByteArray("<w:") + root + " " + W + ">" + content + "</w:" + root + ">";
    };
    return package(
        {{QStringLiteral("word/document.xml"), documentPart()},
         {QStringLiteral("word/_rels/document.xml.rels"), docRels},
         {QStringLiteral("word/styles.xml"), stylesPart()},
         {QStringLiteral("word/numbering.xml"), numberingPart()},
         {QStringLiteral("word/settings.xml"), settings},
         {QStringLiteral("word/media/pic.png"), png},
         {QStringLiteral("word/header1.xml"), story("hdr", "<w:p>" + run("First head") + "</w:p>")},
         {QStringLiteral("word/header2.xml"),
          story("hdr", "<w:p><w:fldSimple w:instr=\"PAGE\">" + run("1") + "</w:fldSimple></w:p>")},
         {QStringLiteral("word/footer1.xml"), story("ftr", "<w:p>" + run("Foot") + "</w:p>")},
         {QStringLiteral("docProps/core.xml"), core},
         {QStringLiteral("_rels/.rels"),
          rels({{"officeDocument", "word/document.xml"}})
              .replace(
                  "</Relationships>",
                  "<Relationship Id=\"c\" "
                  "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/"
                  "metadata/core-properties\" Target=\"docProps/core.xml\"/></Relationships>")}});
}

// Property ids where two formats differ, for failure messages; empty when
// they are the same. A property one format leaves unset equals the other's
// explicit zero, false or empty value, which reads the same.
QString formatDifference(const QTextFormat &a, const QTextFormat &b)
{
    auto same = [](const QVariant &x, const QVariant &y) {
        if (x.isValid() && y.isValid())
            return x == y;
        const QVariant &set = x.isValid() ? x : y;
        return set.typeId() == QMetaType::QString ? set.toString().isEmpty()
                                                  : set.toDouble() == 0 && !set.toBool();
    };
    QStringList keys;
    QMap<int, QVariant> all = a.properties();
    all.insert(b.properties());
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        const QVariant x = a.property(it.key());
        const QVariant y = b.property(it.key());
        if (!same(x, y))
            keys.append(QStringLiteral("0x%1: %2 / %3")
                            .arg(it.key(), 0, 16)
                            .arg(x.toString(), y.toString()));
    }
    return keys.join(QStringLiteral("; "));
}

// Compares two stories block by block and fragment by fragment, formats
// included, and their tables cell by cell.
void compareStories(const QTextDocument *a, const QTextDocument *b, const QString &where)
{
    QCOMPARE(b->toPlainText(), a->toPlainText());
    for (QTextBlock x = a->begin(), y = b->begin(); x.isValid(); x = x.next(), y = y.next()) {
        QVERIFY(y.isValid());
        const QString at = QStringLiteral("%1, paragraph “%2”").arg(where, x.text());
        QVERIFY2(formatDifference(x.blockFormat(), y.blockFormat()).isEmpty(),
                 qPrintable(at + u": "_s + formatDifference(x.blockFormat(), y.blockFormat())));
        auto fx = x.begin();
        auto fy = y.begin();
        for (; !fx.atEnd(); ++fx, ++fy) {
            QVERIFY2(!fy.atEnd(), qPrintable(at));
            QCOMPARE(fy.fragment().text(), fx.fragment().text());
            QVERIFY2(
                formatDifference(fx.fragment().charFormat(), fy.fragment().charFormat()).isEmpty(),
                qPrintable(
                    at + u" “"_s + fx.fragment().text() + u"”: "_s +
                    formatDifference(fx.fragment().charFormat(), fy.fragment().charFormat())));
        }
        QVERIFY2(fy.atEnd(), qPrintable(at));
        QTextCursor cx(x);
        QTextCursor cy(y);
        QTextTable *tx = cx.currentTable();
        QTextTable *ty = cy.currentTable();
        QCOMPARE(bool(ty), bool(tx));
        if (tx && tx->firstPosition() == x.position()) {
            QCOMPARE(ty->rows(), tx->rows());
            QCOMPARE(ty->columns(), tx->columns());
            QVERIFY2(formatDifference(tx->format(), ty->format()).isEmpty(),
                     qPrintable(at + u" table: "_s + formatDifference(tx->format(), ty->format())));
            for (int r = 0; r < tx->rows(); ++r) {
                for (int c = 0; c < tx->columns(); ++c) {
                    const QTextTableCell u = tx->cellAt(r, c);
                    const QTextTableCell v = ty->cellAt(r, c);
                    QCOMPARE(v.rowSpan(), u.rowSpan());
                    QCOMPARE(v.columnSpan(), u.columnSpan());
                    QVERIFY2(formatDifference(u.format(), v.format()).isEmpty(),
                             qPrintable(at + QStringLiteral(" cell %1,%2: ").arg(r).arg(c) +
                                        formatDifference(u.format(), v.format())));
                }
            }
        }
    }
}

void compareLevels(const ListLevel &a, const ListLevel &b)
{
    QCOMPARE(b.format, a.format);
    QCOMPARE(b.text, a.text);
    QCOMPARE(b.start, a.start);
    QCOMPARE(b.indent, a.indent);
    QCOMPARE(b.hanging, a.hanging);
    QCOMPARE(b.alignment, a.alignment);
    QCOMPARE(b.legal, a.legal);
    QCOMPARE(b.restartAfterLevel, a.restartAfterLevel);
    QCOMPARE(b.suffix, a.suffix);
    QVERIFY(formatDifference(a.labelFormat, b.labelFormat).isEmpty());
}

// Everything the model holds, compared between a document and its reread copy.
void compareDocuments(const RichEditDocument &a, const RichEditDocument &b)
{
    QCOMPARE(b.storyIds(), a.storyIds());
    for (int id : a.storyIds()) {
        QCOMPARE(b.storyKind(id), a.storyKind(id));
        compareStories(a.story(id), b.story(id), QStringLiteral("story %1").arg(id));
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(b.sectionCount(), a.sectionCount());
    for (int i = 0; i < a.sectionCount(); ++i)
        QVERIFY2(b.sectionProperties(i) == a.sectionProperties(i),
                 qPrintable(QStringLiteral("section %1").arg(i)));

    const StyleSheet &sa = a.styles();
    const StyleSheet &sb = b.styles();
    QVERIFY(formatDifference(sb.defaultCharFormat(), sa.defaultCharFormat()).isEmpty());
    QVERIFY(formatDifference(sb.defaultBlockFormat(), sa.defaultBlockFormat()).isEmpty());
    QCOMPARE(sb.styles().size(), sa.styles().size());
    for (const Style &s : sa.styles()) {
        const Style *t = sb.find(s.name);
        QVERIFY2(t, qPrintable(s.name));
        QCOMPARE(t->type, s.type);
        QCOMPARE(t->basedOn, s.basedOn);
        QCOMPARE(t->next, s.next);
        QCOMPARE(t->linked, s.linked);
        QCOMPARE(t->outlineLevel, s.outlineLevel);
        QCOMPARE(t->builtIn, s.builtIn);
        QCOMPARE(t->hidden, s.hidden);
        QVERIFY2(formatDifference(s.charFormat, t->charFormat).isEmpty(),
                 qPrintable(s.name + u": "_s + formatDifference(s.charFormat, t->charFormat)));
        QVERIFY2(formatDifference(s.blockFormat, t->blockFormat).isEmpty(),
                 qPrintable(s.name + u": "_s + formatDifference(s.blockFormat, t->blockFormat)));
    }

    QCOMPARE(b.lists().instances().keys(), a.lists().instances().keys());
    for (const ListInstance &i : a.lists().instances()) {
        const ListInstance *j = b.lists().instance(i.id);
        const AbstractList *la = a.lists().abstractList(i.abstractId);
        const AbstractList *lb = b.lists().abstractList(j->abstractId);
        QVERIFY(la && lb);
        QCOMPARE(lb->multiLevel, la->multiLevel);
        QCOMPARE(j->overrides.keys(), i.overrides.keys());
        for (int level = 0; level < ListTable::LevelCount; ++level)
            compareLevels(a.lists().level(i.id, level), b.lists().level(j->id, level));
    }

    QCOMPARE(b.fields().size(), a.fields().size());
    for (const Field &f : a.fields()) {
        const Field *g = b.field(f.id);
        QVERIFY(g);
        QCOMPARE(g->instruction, f.instruction);
        QCOMPARE(g->type, f.type);
        QCOMPARE(g->simple, f.simple);
    }
    QCOMPARE(b.floatingObjects().size(), a.floatingObjects().size());
    for (const FloatingObject &o : a.floatingObjects()) {
        const FloatingObject *p = b.floatingObject(o.id);
        QVERIFY(p);
        QCOMPARE(p->kind, o.kind);
        QCOMPARE(p->wrap, o.wrap);
        QCOMPARE(p->wrapSide, o.wrapSide);
        QCOMPARE(p->horizontalRelativeTo, o.horizontalRelativeTo);
        QCOMPARE(p->horizontalAlignment, o.horizontalAlignment);
        QCOMPARE(p->horizontalOffset, o.horizontalOffset);
        QCOMPARE(p->verticalRelativeTo, o.verticalRelativeTo);
        QCOMPARE(p->verticalAlignment, o.verticalAlignment);
        QCOMPARE(p->verticalOffset, o.verticalOffset);
        QCOMPARE(p->size, o.size);
        QCOMPARE(p->zOrder, o.zOrder);
        QCOMPARE(p->distanceLeft, o.distanceLeft);
        QCOMPARE(p->distanceTop, o.distanceTop);
        QCOMPARE(p->allowOverlap, o.allowOverlap);
        QCOMPARE(p->imageId, o.imageId);
        QCOMPARE(p->textBoxStory, o.textBoxStory);
        QCOMPARE(p->name, o.name);
        QCOMPARE(p->description, o.description);
    }
    QCOMPARE(b.images().ids(), a.images().ids());
    QCOMPARE(b.bookmarks().size(), a.bookmarks().size());
    for (const Bookmark &m : a.bookmarks()) {
        QVERIFY(b.bookmark(m.name));
        QCOMPARE(b.bookmark(m.name)->range.range(), m.range.range());
    }
    QCOMPARE(b.permissions().size(), a.permissions().size());
    for (qsizetype i = 0; i < a.permissions().size(); ++i) {
        QCOMPARE(b.permissions()[i].id, a.permissions()[i].id);
        QCOMPARE(b.permissions()[i].group, a.permissions()[i].group);
        QCOMPARE(b.permissions()[i].range.range(), a.permissions()[i].range.range());
    }
    QVERIFY(b.settings() == a.settings());
}

QByteArray part(const QString &file, const QString &name)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    ZipReader zip(f.readAll());
    QByteArray bytes;
    zip.read(name, &bytes);
    return bytes;
}

} // namespace

class TestDocxWriter : public QObject
{
    Q_OBJECT
private slots:
    void roundTripKeepsTheModel();
    void writtenParts();
    void newDocumentRoundTrip();

private:
    QTemporaryDir m_dir;
};

void TestDocxWriter::roundTripKeepsTheModel()
{
    const QString source =
        writeFile(m_dir, QStringLiteral("rich.docx"), richPackage(pngBytes(Qt::red)));
    RichEditDocument first;
    QString error;
    QVERIFY2(DocumentFile::open(source, &first, &error), qPrintable(error));
    // The fixture reads as intended, so the comparison below covers it all.
    QCOMPARE(first.sectionCount(), 2);
    QCOMPARE(first.fields().size(), 4);
    QCOMPARE(first.floatingObjects().size(), 2);
    QCOMPARE(first.bookmarks().size(), 1);
    QCOMPARE(first.permissions().size(), 1);
    QVERIFY(first.sectionProperties(0).headers[int(HeaderFooterType::First)] != 0);
    QVERIFY(!first.sectionProperties(0).columns.equalWidth);

    const QString saved = m_dir.filePath(QStringLiteral("saved.docx"));
    QVERIFY2(DocumentFile::save(saved, first, nullptr, &error), qPrintable(error));
    RichEditDocument second;
    QVERIFY2(DocumentFile::open(saved, &second, &error), qPrintable(error));
    compareDocuments(first, second);
    if (QTest::currentTestFailed())
        return;

    // Saving what was read back writes the same parts again.
    const QString again = m_dir.filePath(QStringLiteral("again.docx"));
    QVERIFY2(DocumentFile::save(again, second, nullptr, &error), qPrintable(error));
    for (const QString &name :
         {QStringLiteral("word/document.xml"), QStringLiteral("word/styles.xml"),
          QStringLiteral("word/numbering.xml"), QStringLiteral("word/settings.xml")})
        QCOMPARE(part(again, name), part(saved, name));
}

void TestDocxWriter::writtenParts()
{
    const QByteArray png = pngBytes(Qt::red);
    const QString source = writeFile(m_dir, QStringLiteral("parts.docx"), richPackage(png));
    RichEditDocument doc;
    QString error;
    QVERIFY2(DocumentFile::open(source, &doc, &error), qPrintable(error));
    const QString saved = m_dir.filePath(QStringLiteral("parts-saved.docx"));
    QVERIFY2(DocumentFile::save(saved, doc, nullptr, &error), qPrintable(error));

    const QByteArray types = part(saved, QStringLiteral("[Content_Types].xml"));
    for (const char *expected :
         {"<Default Extension=\"png\" ContentType=\"image/png\"/>",
          "PartName=\"/word/header1.xml\" "
          "ContentType=\"application/"
          "vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"",
          "PartName=\"/word/footer1.xml\"", "PartName=\"/word/numbering.xml\"",
          "PartName=\"/docProps/core.xml\""})
        QVERIFY2(types.contains(expected), expected);
    QCOMPARE(part(saved, QStringLiteral("word/media/image1.png")), png);

    const QByteArray document = part(saved, QStringLiteral("word/document.xml"));
    for (const char *expected : {"<w:background w:color=\"FFEEDD\"/>",
                                 "<w:vMerge w:val=\"restart\"/>",
                                 "<w:vMerge/>",
                                 "<w:gridSpan w:val=\"2\"/>",
                                 "<w:tblLayout w:type=\"fixed\"/>",
                                 "<w:trHeight w:val=\"500\" w:hRule=\"exact\"/>",
                                 "<w:tblHeader/>",
                                 "<w:fldChar w:fldCharType=\"begin\"/>",
                                 "<w:fldSimple w:instr=\" NUMPAGES \">",
                                 "<w:hyperlink w:anchor=\"top\">",
                                 "<w:bookmarkStart w:id=\"0\" w:name=\"top\"/>",
                                 "<w:permStart w:id=\"5\" w:edGrp=\"everyone\"/>",
                                 "<w:br w:type=\"page\"/>",
                                 "<w:br w:type=\"column\"/>",
                                 "<mc:Choice Requires=\"wps\">",
                                 "<mc:Fallback><w:pict>",
                                 "<wp:wrapSquare wrapText=\"left\"/>",
                                 "behindDoc=\"1\"",
                                 "<wp:wrapNone/>",
                                 "<wp:align>center</wp:align>",
                                 "<w:titlePg/>",
                                 "<w:headerReference w:type=\"first\"",
                                 "w:equalWidth=\"0\"",
                                 "<w:pgNumType w:start=\"5\"/>",
                                 "<w:lnNumType w:countBy=\"5\""})
        QVERIFY2(document.contains(expected), expected);
    // Direct formatting is what the style does not give: the heading's
    // bold comes from its style, the italic run states only its italic.
    QVERIFY(!document.contains("<w:r><w:rPr><w:b/>"));
    QVERIFY(document.contains("<w:rPr><w:rStyle w:val=\"Heading1Char\"/><w:i/><w:iCs/></w:rPr>"));
    // The bullet list of the Listed style is not repeated on its paragraphs.
    QCOMPARE(document.count("<w:numId w:val=\"8\"/>"), 0);
    QCOMPARE(document.count("<w:numId w:val=\"0\"/>"), 1);

    const QByteArray styles = part(saved, QStringLiteral("word/styles.xml"));
    QVERIFY(styles.contains("<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\""));
    QVERIFY(styles.contains("<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name "
                            "w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/><w:next "
                            "w:val=\"Normal\"/><w:link w:val=\"Heading1Char\"/>"));
    QVERIFY(styles.contains("<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"));
    const QByteArray numbering = part(saved, QStringLiteral("word/numbering.xml"));
    QVERIFY(numbering.contains("<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"4\"/>"));
    QVERIFY(numbering.contains("<w:lvlText w:val=\"\xEF\x82\xB7\"/>")); // Symbol bullet kept
    const QByteArray settings = part(saved, QStringLiteral("word/settings.xml"));
    QVERIFY(settings.contains("<w:displayBackgroundShape/><w:documentProtection "
                              "w:edit=\"readOnly\" w:enforcement=\"1\""));
    QVERIFY(settings.contains("<w:evenAndOddHeaders/>"));
    QVERIFY(part(saved, QStringLiteral("word/_rels/document.xml.rels"))
                .contains("Target=\"https://example.org/a?b=1&amp;c=2\" TargetMode=\"External\""));
    QVERIFY(part(saved, QStringLiteral("docProps/core.xml"))
                .contains("<dc:title>The &lt;Title&gt;</dc:title>"));
}

void TestDocxWriter::newDocumentRoundTrip()
{
    // A document made through the model's editing interface, as a user makes one.
    RichEditDocument doc;
    doc.clear();
    QTextCursor c(doc.mainStory());
    c.insertText(QStringLiteral("Hello"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral(" world"), bold);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/a b"));
    c.insertText(QStringLiteral(" link"), link);
    QTextBlockFormat item;
    item.setProperty(ModelProperty::ListInstance, doc.lists().createList(NumberFormat::Decimal));
    item.setProperty(ModelProperty::ListLevel, 0);
    c.insertBlock(item);
    c.insertText(QStringLiteral("first item"));
    c.insertBlock(QTextBlockFormat());
    QTextTable *table = c.insertTable(2, 2);
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("cell"));
    doc.insertField({MainStoryId, 0}, QStringLiteral(" PAGE "), QStringLiteral("1"));
    doc.insertSectionBreak(2, SectionBreakType::Continuous);
    doc.insertInlinePicture({MainStoryId, 1},
                            doc.images().add(pngBytes(Qt::red), QStringLiteral("png")),
                            QSizeF(600, 450));

    const QString saved = m_dir.filePath(QStringLiteral("new.docx"));
    QString error;
    QVERIFY2(DocumentFile::save(saved, doc, nullptr, &error), qPrintable(error));
    RichEditDocument back;
    QVERIFY2(DocumentFile::open(saved, &back, &error), qPrintable(error));
    QCOMPARE(back.mainStory()->toPlainText(), doc.mainStory()->toPlainText());
    // A link target that is no valid URI as typed goes out percent-encoded.
    QVERIFY(part(saved, QStringLiteral("word/_rels/document.xml.rels"))
                .contains("Target=\"https://example.org/a%20b\" TargetMode=\"External\""));
    QCOMPARE(back.sectionCount(), 2);
    QCOMPARE(back.sectionProperties(1).breakType, SectionBreakType::Continuous);
    auto blockWith = [&back](const QString &text) {
        for (QTextBlock b = back.mainStory()->begin(); b.isValid(); b = b.next()) {
            if (b.text().contains(text))
                return b;
        }
        return QTextBlock();
    };
    const QTextBlock hello = blockWith(QStringLiteral("world"));
    QTextCursor at(hello);
    at.setPosition(hello.position() + int(hello.text().indexOf(u"world")) + 1);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(blockWith(QStringLiteral("first item"))
                .blockFormat()
                .intProperty(ModelProperty::ListInstance) > 0);
    QCOMPARE(back.images().ids().size(), 1);
    QCOMPARE(back.fields().size(), 1);
    QTextCursor inTable(blockWith(QStringLiteral("cell")));
    QVERIFY(inTable.currentTable());
    QCOMPARE(inTable.currentTable()->cellAt(1, 1).firstCursorPosition().block().text(),
             QStringLiteral("cell"));
}

QTEST_MAIN(TestDocxWriter)
#include "tst_docxwriter.moc"
