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

bool openHtml(const QString &path, const QByteArray &html, RichEditDocument *doc, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(html) != html.size())
        return false;
    f.close();
    return DocumentFile::open(path, doc, error);
}

} // namespace

class TestHtml : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void pageFromElsewhere();

private:
    QTemporaryDir m_dir;
};

void TestHtml::roundTrip()
{
    RichEditDocument doc;
    doc.clear();
    const StyleSheet &styles = doc.styles();
    QTextCursor c(doc.mainStory());
    QTextBlockFormat heading = styles.resolvedBlockFormat(StyleSheet::headingStyleName(1));
    heading.setProperty(ModelProperty::ParagraphStyle, StyleSheet::headingStyleName(1));
    c.setBlockFormat(heading);
    c.insertText(QStringLiteral("Heading"),
                 styles.resolvedCharFormat(StyleSheet::headingStyleName(1)));

    QTextBlockFormat body = styles.resolvedBlockFormat(StyleSheet::normalStyleName());
    body.setProperty(ModelProperty::ParagraphStyle, StyleSheet::normalStyleName());
    body.setAlignment(Qt::AlignHCenter);
    body.setLeftMargin(720);
    body.setTopMargin(150);
    body.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
    body.setProperty(ModelProperty::LineSpacingValue, 1.5);
    const QTextCharFormat normal = styles.resolvedCharFormat(StyleSheet::normalStyleName());
    c.insertBlock(body, normal);
    c.insertText(QStringLiteral("plain "), normal);
    QTextCharFormat rich = normal;
    rich.setFontWeight(QFont::Bold);
    rich.setFontItalic(true);
    rich.setFontUnderline(true);
    rich.setForeground(QColor(0x336699));
    rich.setBackground(QColor(Qt::yellow));
    rich.setFontFamilies({QStringLiteral("Courier New")});
    rich.setFontPointSize(15);
    c.insertText(QStringLiteral("rich"), rich);
    QTextCharFormat sup = normal;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("sup"), sup);
    QTextCharFormat link = normal;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/?a=1&b=2"));
    c.insertText(QStringLiteral("link"), link);
    const QString image = doc.images().add(pngBytes(Qt::blue), QStringLiteral("png"));
    c.insertText(QStringLiteral(" "), normal);
    doc.insertInlinePicture({MainStoryId, c.position()}, image, QSizeF(60, 45));

    const int list = doc.lists().createList(NumberFormat::Decimal);
    for (int level : {0, 1, 0}) {
        QTextBlockFormat item = body;
        item.setAlignment(Qt::AlignLeft);
        item.setProperty(ModelProperty::ListInstance, list);
        item.setProperty(ModelProperty::ListLevel, level);
        const ListLevel l = doc.lists().level(list, level);
        item.setLeftMargin(l.indent);
        item.setTextIndent(-l.hanging);
        c.movePosition(QTextCursor::End);
        c.insertBlock(item, normal);
        c.insertText(QStringLiteral("item %1").arg(level), normal);
    }
    c.insertBlock(body, normal);
    QTextTable *table = c.insertTable(2, 3);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(0, 2, 2, 1);
    QTextTableCellFormat cf;
    cf.setTopBorder(30);
    cf.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    cf.setTopBorderBrush(QColor(Qt::red));
    cf.setBackground(QColor(0xEEEEEE));
    cf.setLeftPadding(105);
    table->cellAt(0, 0).setFormat(cf);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("B2"));

    const QString path = m_dir.filePath(QStringLiteral("page.html"));
    QString error;
    QVERIFY2(DocumentFile::save(path, doc, nullptr, &error), qPrintable(error));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray html = written.readAll();
    for (const char *expected :
         {"<h1 ", "<ol>", "colspan=\"2\"", "rowspan=\"2\"", "src=\"data:image/png;base64,",
          "href=\"https://example.org/?a=1&amp;b=2\""})
        QVERIFY2(html.contains(expected), expected);

    RichEditDocument back;
    QVERIFY2(DocumentFile::open(path, &back, &error), qPrintable(error));
    QCOMPARE(back.mainStory()->toPlainText(), doc.mainStory()->toPlainText());
    QCOMPARE(blockWith(back, QStringLiteral("Heading"))
                 .blockFormat()
                 .stringProperty(ModelProperty::ParagraphStyle),
             StyleSheet::headingStyleName(1));
    QCOMPARE(formatAt(back, QStringLiteral("Heading")).fontPointSize(),
             formatAt(doc, QStringLiteral("Heading")).fontPointSize());
    const QTextBlockFormat para = blockWith(back, QStringLiteral("plain")).blockFormat();
    QCOMPARE(para.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(para.leftMargin(), 720.0);
    QCOMPARE(para.topMargin(), 150.0);
    QCOMPARE(para.doubleProperty(ModelProperty::LineSpacingValue), 1.5);
    const QTextCharFormat r = formatAt(back, QStringLiteral("rich"));
    QCOMPARE(r.fontWeight(), int(QFont::Bold));
    QVERIFY(r.fontItalic() && r.fontUnderline());
    QCOMPARE(r.foreground().color(), QColor(0x336699));
    QCOMPARE(r.background().color(), QColor(Qt::yellow));
    QCOMPARE(r.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
    QCOMPARE(r.fontPointSize(), 15.0);
    QCOMPARE(formatAt(back, QStringLiteral("plain")).fontPointSize(), normal.fontPointSize());
    QCOMPARE(formatAt(back, QStringLiteral("sup")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatAt(back, QStringLiteral("link")).anchorHref(),
             QStringLiteral("https://example.org/?a=1&b=2"));
    QCOMPARE(back.images().ids().size(), 1);
    QCOMPARE(back.images().entry(back.images().ids().first()).bytes, pngBytes(Qt::blue));

    const QTextBlock first = blockWith(back, QStringLiteral("item 0"));
    const QTextBlock nested = blockWith(back, QStringLiteral("item 1"));
    QVERIFY(first.blockFormat().intProperty(ModelProperty::ListInstance) > 0);
    QCOMPARE(nested.blockFormat().intProperty(ModelProperty::ListInstance),
             first.blockFormat().intProperty(ModelProperty::ListInstance));
    QCOMPARE(nested.blockFormat().intProperty(ModelProperty::ListLevel), 1);
    QVERIFY(!first.textList()); // the model's lists, not Qt's

    QTextTable *t = QTextCursor(blockWith(back, QStringLiteral("wide"))).currentTable();
    QVERIFY(t);
    QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(t->cellAt(0, 2).rowSpan(), 2);
    const QTextTableCellFormat wide = t->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(wide.topBorder(), 30.0);
    QCOMPARE(wide.topBorderBrush().color(), QColor(Qt::red));
    QCOMPARE(wide.background().color(), QColor(0xEEEEEE));
    QCOMPARE(wide.leftPadding(), 105.0);
}

void TestHtml::pageFromElsewhere()
{
    // Pixel lengths become twips; headings their styles; a page named .txt
    // is still read as HTML by its content.
    RichEditDocument doc;
    QString error;
    QVERIFY2(openHtml(m_dir.filePath(QStringLiteral("other.txt")),
                      "<!DOCTYPE html><html><head><title>T &amp; C</title></head><body>"
                      "<h2>Two</h2><p style=\"margin-left:20px;text-indent:-10px\">a "
                      "<b>b</b></p><ul><li>x</li></ul>"
                      "<img src=\"missing.png\"><p>after</p></body></html>",
                      &doc, &error),
             qPrintable(error));
    QCOMPARE(doc.settings().properties.title, QStringLiteral("T & C"));
    QCOMPARE(blockWith(doc, QStringLiteral("Two"))
                 .blockFormat()
                 .stringProperty(ModelProperty::ParagraphStyle),
             StyleSheet::headingStyleName(2));
    const QTextBlockFormat p = blockWith(doc, QStringLiteral("a b")).blockFormat();
    QCOMPARE(p.leftMargin(), 300.0);
    QCOMPARE(p.textIndent(), -150.0);
    QCOMPARE(formatAt(doc, QStringLiteral("b")).fontWeight(), int(QFont::Bold));
    const QTextBlockFormat item = blockWith(doc, QStringLiteral("x")).blockFormat();
    const int list = item.intProperty(ModelProperty::ListInstance);
    QVERIFY(list > 0);
    QCOMPARE(doc.lists().level(list, 0).format, NumberFormat::Bullet);
    QVERIFY(doc.images().ids().isEmpty()); // linked pictures are not fetched
    QVERIFY(blockWith(doc, QStringLiteral("after")).isValid());
}

QTEST_MAIN(TestHtml)
#include "tst_html.moc"
