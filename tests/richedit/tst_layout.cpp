#include "richedit/layout/PagePainter.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/layout/StoryBox.h"
#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <map>

using namespace richedit;

namespace {

QString words(int count, int seed = 0)
{
    static const char *pool[] = {"lorem",      "ipsum", "dolor", "sit", "amet",    "consectetur",
                                 "adipiscing", "elit",  "sed",   "do",  "eiusmod", "tempor"};
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(QLatin1String(pool[(i * 7 + seed) % 12]));
    return out.join(u' ');
}

// Appends a paragraph at the end of a story and returns its position.
int paragraph(QTextDocument *story, const QString &text)
{
    QTextCursor c(story);
    c.movePosition(QTextCursor::End);
    if (!c.block().text().isEmpty() || c.block().previous().isValid())
        c.insertBlock(c.blockFormat(), QTextCharFormat());
    const int pos = c.position();
    c.insertText(text, QTextCharFormat());
    return pos;
}

void paragraphs(QTextDocument *story, int count, int wordsEach = 60)
{
    for (int i = 0; i < count; ++i)
        paragraph(story, words(wordsEach, i));
}

// Ends the current last paragraph's section and starts a new one.
void sectionBreak(RichEditDocument &doc, const SectionProperties &before)
{
    doc.setSectionBreakBlock(doc.mainStory()->lastBlock(), before);
    QTextCursor c(doc.mainStory());
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    QTextBlockFormat f = c.blockFormat();
    f.clearProperty(ModelProperty::SectionBreak);
    c.setBlockFormat(f);
}

// How often each block's lines were placed, over all pages.
std::map<int, int> placedLineCounts(const PaginatedLayout &layout, bool tableCells)
{
    std::map<int, int> counts;
    for (int i = 0; i < layout.laidOutPageCount(); ++i) {
        for (const PlacedLines &l : layout.page(i).lines) {
            if (l.inTable == tableCells)
                counts[l.block.blockNumber()] += l.lineCount;
        }
    }
    return counts;
}

struct Fixture
{
    RichEditDocument doc;
    PaginatedLayout *layout = new PaginatedLayout(&doc);
    QTextDocument *main() { return doc.mainStory(); }
};

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void portraitAndLandscapeSections();
    void oddPageBreakInsertsBlankPage();
    void headerShowsPageNumbersAndFirstPageDiffers();
    void tableContinuesOnNextPage();
    void headingRowsRepeatOnEveryPage();
    void tabStopsCountFromTheMargin();
    void columnsFillLeftThenRight();
    void lineNumbersRestart_data();
    void lineNumbersRestart();
    void squareWrapPushesLinesAside_data();
    void squareWrapPushesLinesAside();
    void oversizedContentStillLaysOut();
    void incrementalLayoutMatchesFullLayout();
    void rendersAPage();
};

void LayoutTest::portraitAndLandscapeSections()
{
    Fixture f;
    paragraphs(f.main(), 3);
    SectionProperties portrait;
    sectionBreak(f.doc, portrait);
    paragraphs(f.main(), 2);
    SectionProperties landscape;
    landscape.orientation = PageOrientation::Landscape;
    landscape.pageWidth = 15840;
    landscape.pageHeight = 12240;
    f.doc.setFinalSectionProperties(landscape);
    f.layout->layoutAll();
    QCOMPARE(f.layout->laidOutPageCount(), 2);
    QCOMPARE(f.layout->page(0).size(), QSizeF(12240, 15840));
    QCOMPARE(f.layout->page(1).size(), QSizeF(15840, 12240));
    QCOMPARE(f.layout->page(1).section, 1);
}

void LayoutTest::oddPageBreakInsertsBlankPage()
{
    Fixture f;
    paragraphs(f.main(), 1);
    sectionBreak(f.doc, SectionProperties{});
    paragraphs(f.main(), 1);
    SectionProperties odd;
    odd.breakType = SectionBreakType::OddPage;
    f.doc.setFinalSectionProperties(odd);
    f.layout->layoutAll();
    QCOMPARE(f.layout->laidOutPageCount(), 3);
    QVERIFY(!f.layout->page(0).blank);
    QVERIFY(f.layout->page(1).blank);
    QVERIFY(f.layout->page(1).lines.empty());
    QCOMPARE(f.layout->page(2).pageNumber, 3);
    QVERIFY(!f.layout->page(2).lines.empty());

    // On an odd page already, an even-page break needs no blank page... but
    // an odd-page one after an odd page does; switching to even drops it.
    odd.breakType = SectionBreakType::EvenPage;
    f.doc.setFinalSectionProperties(odd);
    f.layout->layoutAll();
    QCOMPARE(f.layout->laidOutPageCount(), 2);
}

void LayoutTest::headerShowsPageNumbersAndFirstPageDiffers()
{
    Fixture f;
    paragraphs(f.main(), 24);
    const int odd = f.doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    f.doc.insertText({odd, 0}, QStringLiteral("Page "));
    f.doc.insertField({odd, 5}, QStringLiteral(" PAGE "), QStringLiteral("1"));
    f.layout->layoutAll();
    QVERIFY(f.layout->laidOutPageCount() >= 3);
    auto headerText = [&](int page) {
        const LayoutPage &p = f.layout->page(page);
        auto box = f.layout->storyBox(p.headerStory, p.setup.textWidth(), p.pageNumber);
        return box ? box->text() : QString();
    };
    QCOMPARE(headerText(0), QStringLiteral("Page 1"));
    QCOMPARE(headerText(1), QStringLiteral("Page 2"));
    QCOMPARE(headerText(2), QStringLiteral("Page 3"));

    SectionProperties p = f.doc.sectionProperties(0);
    p.differentFirstPage = true;
    f.doc.setSectionProperties(0, p);
    const int first = f.doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::First);
    f.doc.insertText({first, 0}, QStringLiteral("Title page"));
    f.layout->layoutAll();
    QCOMPARE(headerText(0), QStringLiteral("Title page"));
    QCOMPARE(headerText(1), QStringLiteral("Page 2"));
    QCOMPARE(headerText(2), QStringLiteral("Page 3"));
}

void LayoutTest::tableContinuesOnNextPage()
{
    Fixture f;
    paragraph(f.main(), QStringLiteral("Before the table"));
    QTextCursor c(f.main());
    c.movePosition(QTextCursor::End);
    const int rows = 70;
    QTextTable *table = c.insertTable(rows, 2);
    for (int r = 0; r < rows; ++r) {
        for (int col = 0; col < 2; ++col)
            table->cellAt(r, col).firstCursorPosition().insertText(
                QStringLiteral("r%1c%2").arg(r).arg(col));
    }
    paragraph(f.main(), QStringLiteral("After the table"));
    f.layout->layoutAll();
    QVERIFY(f.layout->laidOutPageCount() >= 2);

    std::map<QString, int> seen;
    for (int i = 0; i < f.layout->laidOutPageCount(); ++i) {
        for (const PlacedLines &l : f.layout->page(i).lines) {
            if (l.inTable)
                seen[l.block.text()] += l.lineCount;
        }
    }
    QCOMPARE(int(seen.size()), rows * 2);
    for (const auto &[text, count] : seen)
        QVERIFY2(count == 1, qPrintable(text));
    // The second page's first row sits at the top of its body.
    const LayoutPage &second = f.layout->page(1);
    QVERIFY(!second.cells.empty());
    QCOMPARE(second.cells.front().rect.top(), second.bodyRect.top());
    QVERIFY(second.start.row > 0);
}

void LayoutTest::headingRowsRepeatOnEveryPage()
{
    Fixture f;
    QTextCursor c(f.main());
    QTextTableFormat tf;
    tf.setProperty(ModelProperty::TableHeaderRows, 1);
    QTextTable *table = c.insertTable(120, 2, tf);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Heading"));
    for (int r = 1; r < 120; ++r)
        table->cellAt(r, 0).firstCursorPosition().insertText(QStringLiteral("row %1").arg(r));
    f.layout->layoutAll();
    const int pages = f.layout->laidOutPageCount();
    QVERIFY(pages >= 3);
    int rowsSeen = 0;
    for (int i = 0; i < pages; ++i) {
        const LayoutPage &page = f.layout->page(i);
        // Each page's first table line is the heading.
        const auto first =
            std::find_if(page.lines.begin(), page.lines.end(),
                         [](const PlacedLines &l) { return !l.block.text().isEmpty(); });
        QVERIFY(first != page.lines.end());
        QCOMPARE(first->block.text(), QStringLiteral("Heading"));
        for (const PlacedLines &l : page.lines)
            rowsSeen += l.block.text().startsWith(QStringLiteral("row "));
    }
    QCOMPARE(rowsSeen, 119); // body rows once each
}

void LayoutTest::tabStopsCountFromTheMargin()
{
    Fixture f;
    const int pos = paragraph(f.main(), QStringLiteral("Entry\t7"));
    QTextCursor c(f.main());
    c.setPosition(pos);
    QTextBlockFormat bf = c.blockFormat();
    bf.setLeftMargin(1440);
    const qreal right = f.doc.sectionProperties(0).textWidth();
    bf.setTabPositions({QTextOption::Tab(right, QTextOption::RightTab)});
    c.setBlockFormat(bf);
    f.layout->layoutAll();
    // A right tab at the margin's far edge keeps "7" on the line, flush right.
    const QTextLayout *tl = f.main()->findBlock(pos).layout();
    QCOMPARE(tl->lineCount(), 1);
    const QTextLine line = tl->lineAt(0);
    QVERIFY(qAbs(line.x() + line.naturalTextWidth() - right) < 20);
}

void LayoutTest::columnsFillLeftThenRight()
{
    Fixture f;
    SectionProperties two;
    two.columns.count = 2;
    f.doc.setFinalSectionProperties(two);
    paragraphs(f.main(), 14);
    f.layout->layoutAll();
    const LayoutPage &page = f.layout->page(0);
    const qreal left = two.margins.left;
    int lastPosition = -1;
    bool inRight = false;
    qreal leftBottom = 0;
    for (const PlacedLines &l : page.lines) {
        const bool right = l.areaLeft > left + 1;
        QVERIFY2(!(inRight && !right), "a left-column line after the right column began");
        if (!right)
            leftBottom = std::max(leftBottom, l.bottom);
        inRight = inRight || right;
        QVERIFY(l.block.position() >= lastPosition);
        lastPosition = l.block.position();
        QVERIFY(l.areaWidth < two.textWidth() / 2);
    }
    QVERIFY(inRight);
    QVERIFY(leftBottom > page.bodyRect.bottom() - 600);
}

void LayoutTest::lineNumbersRestart_data()
{
    QTest::addColumn<int>("restart");
    QTest::addColumn<bool>("secondPageRestarts");
    QTest::addColumn<bool>("secondSectionRestarts");
    QTest::newRow("each page") << int(LineNumberRestart::EachPage) << true << true;
    QTest::newRow("each section") << int(LineNumberRestart::EachSection) << false << true;
    QTest::newRow("continuous") << int(LineNumberRestart::Continuous) << false << false;
}

void LayoutTest::lineNumbersRestart()
{
    QFETCH(int, restart);
    QFETCH(bool, secondPageRestarts);
    QFETCH(bool, secondSectionRestarts);
    Fixture f;
    SectionProperties s;
    s.lineNumbering.restart = LineNumberRestart(restart);
    paragraphs(f.main(), 14); // a little more than a page
    sectionBreak(f.doc, s);
    paragraphs(f.main(), 2);
    f.doc.setFinalSectionProperties(s);
    f.layout->layoutAll();
    QCOMPARE(f.layout->laidOutPageCount(), 3);
    const auto &p0 = f.layout->page(0).lineNumbers;
    const auto &p1 = f.layout->page(1).lineNumbers;
    const auto &p2 = f.layout->page(2).lineNumbers;
    QVERIFY(!p0.empty() && !p1.empty() && !p2.empty());
    QCOMPARE(p0.front().number, 1);
    QCOMPARE(p1.front().number == 1, secondPageRestarts);
    if (!secondPageRestarts)
        QCOMPARE(p1.front().number, p0.back().number + 1);
    QCOMPARE(p2.front().number == 1, secondSectionRestarts);
    for (const LineNumberMark &m : p0)
        QVERIFY(m.x < s.margins.left);
}

void LayoutTest::squareWrapPushesLinesAside_data()
{
    QTest::addColumn<int>("wrap");
    QTest::addColumn<bool>("pushed");
    QTest::newRow("square") << int(WrapType::Square) << true;
    QTest::newRow("behind text") << int(WrapType::BehindText) << false;
}

void LayoutTest::squareWrapPushesLinesAside()
{
    QFETCH(int, wrap);
    QFETCH(bool, pushed);
    Fixture f;
    paragraphs(f.main(), 3, 120);
    FloatingObject obj;
    obj.wrap = WrapType(wrap);
    obj.size = QSize(2880, 2880);
    obj.horizontalRelativeTo = HorizontalRelativeTo::Margin;
    obj.horizontalAlignment = HorizontalAlignment::Left;
    obj.verticalRelativeTo = VerticalRelativeTo::Margin;
    obj.verticalAlignment = VerticalAlignment::Top;
    f.doc.insertFloatingObject({MainStoryId, 0}, obj);
    f.layout->layoutAll();
    const LayoutPage &page = f.layout->page(0);
    QCOMPARE(int(page.objects.size()), 1);
    const QRectF rect = page.objects.front().rect;
    QCOMPARE(rect.topLeft(), QPointF(page.setup.margins.left, page.setup.margins.top));
    int beside = 0;
    for (const PlacedLines &l : page.lines) {
        const QTextLayout *tl = l.block.layout();
        for (int i = l.firstLine; i < l.firstLine + l.lineCount; ++i) {
            const QTextLine line = tl->lineAt(i);
            const qreal top = l.offset.y() + line.y();
            const qreal x = l.offset.x() + line.x();
            if (top + line.height() <= rect.top() || top >= rect.bottom())
                continue;
            ++beside;
            if (pushed)
                QVERIFY2(x >= rect.right(), "a line overlaps the picture");
            else
                QCOMPARE(x, qreal(page.setup.margins.left));
        }
    }
    QVERIFY(beside >= 5);
}

void LayoutTest::oversizedContentStillLaysOut()
{
    Fixture f;
    // A paragraph longer than a page.
    paragraph(f.main(), words(2500));
    // A picture larger than the page.
    const int pos = paragraph(f.main(), QString());
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "PNG");
    }
    const QString id = f.doc.images().add(png, QStringLiteral("png"));
    f.doc.insertInlinePicture({MainStoryId, pos}, id, QSizeF(30000, 30000));
    // A table cell longer than a page.
    QTextCursor c(f.main());
    c.movePosition(QTextCursor::End);
    QTextTable *t = c.insertTable(1, 2);
    t->cellAt(0, 0).firstCursorPosition().insertText(words(1500));
    // An empty section.
    paragraph(f.main(), QString());
    sectionBreak(f.doc, SectionProperties{});
    sectionBreak(f.doc, SectionProperties{});
    f.layout->layoutAll();
    QVERIFY(f.layout->isComplete());
    QVERIFY(f.layout->laidOutPageCount() >= 6);
    for (const auto &counts :
         {placedLineCounts(*f.layout, false), placedLineCounts(*f.layout, true)}) {
        for (const auto &[number, placed] : counts) {
            const QTextBlock b = f.main()->findBlockByNumber(number);
            QCOMPARE(placed, b.layout()->lineCount());
        }
    }
    // Every block of the story was placed, the cell blocks too.
    const auto body = placedLineCounts(*f.layout, false);
    const auto cells = placedLineCounts(*f.layout, true);
    QCOMPARE(int(body.size() + cells.size()), f.main()->blockCount());
}

void LayoutTest::incrementalLayoutMatchesFullLayout()
{
    Fixture f;
    const int list = f.doc.lists().createList(NumberFormat::Decimal);
    for (int i = 0; i < 120; ++i) {
        const int pos = paragraph(f.main(), words(20 + (i * 13) % 70, i));
        if (i % 9 == 3) {
            QTextCursor c(f.main());
            c.setPosition(pos);
            QTextBlockFormat bf = c.blockFormat();
            bf.setProperty(ModelProperty::ListInstance, list);
            bf.setLeftMargin(720);
            bf.setTextIndent(-360);
            c.setBlockFormat(bf);
        }
        if (i % 40 == 20) {
            QTextCursor c(f.main());
            c.movePosition(QTextCursor::End);
            QTextTable *t = c.insertTable(12, 3);
            t->cellAt(5, 1).firstCursorPosition().insertText(words(40));
        }
    }
    f.layout->layoutAll();
    const int middle = f.main()->characterCount() / 2;

    auto snapshot = [&] {
        std::vector<std::pair<FlowPosition, int>> s;
        for (int i = 0; i < f.layout->laidOutPageCount(); ++i)
            s.emplace_back(f.layout->page(i).start, int(f.layout->page(i).lines.size()));
        return s;
    };
    auto check = [&](const char *what) {
        f.layout->layoutAll();
        const auto incremental = snapshot();
        f.doc.applySectionProperties(0, f.doc.sectionProperties(0)); // full relayout
        f.layout->layoutAll();
        const auto full = snapshot();
        QVERIFY2(incremental == full, what);
    };

    QTextCursor c(f.main());
    c.setPosition(middle);
    c.insertText(QStringLiteral("x"));
    check("one character");
    c.insertText(words(300));
    check("many words");
    c.insertBlock();
    check("new paragraph");
    c.setPosition(middle - 2000);
    c.setPosition(middle + 2000, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    check("deleted range");
    c.setPosition(10);
    c.insertText(words(900));
    check("text near the start");
}

void LayoutTest::rendersAPage()
{
    Fixture f;
    SectionProperties two;
    two.columns.count = 2;
    f.doc.setFinalSectionProperties(two);
    const int header = f.doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    f.doc.insertText({header, 0}, QStringLiteral("Marlix Editor \u2014 layout sample, page "));
    f.doc.insertField({header, f.doc.story(header)->characterCount() - 1}, QStringLiteral("PAGE"),
                      QStringLiteral("1"));
    {
        QTextCursor c(f.main());
        QTextCharFormat title;
        title.setFontPointSize(20);
        title.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("A page with two columns"), title);
    }
    paragraphs(f.main(), 2, 70);
    QTextCursor c(f.main());
    c.movePosition(QTextCursor::End);
    QTextTableFormat tf;
    QTextTable *t = c.insertTable(4, 3, tf);
    for (int r = 0; r < 4; ++r) {
        for (int col = 0; col < 3; ++col) {
            QTextTableCell cell = t->cellAt(r, col);
            QTextTableCellFormat cf = cell.format().toTableCellFormat();
            cf.setBorder(10);
            cf.setBorderBrush(Qt::black);
            cf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            if (r == 0)
                cf.setBackground(QColor(0xD9E2F3));
            cell.setFormat(cf);
            cell.firstCursorPosition().insertText(r == 0 ? QStringLiteral("Head %1").arg(col)
                                                         : QString::number(r * 10 + col));
        }
    }
    paragraphs(f.main(), 4, 80);
    QImage picture(200, 150, QImage::Format_RGB32);
    QPainter pp(&picture);
    QLinearGradient g(0, 0, 200, 150);
    g.setColorAt(0, QColor(0x4472C4));
    g.setColorAt(1, QColor(0xED7D31));
    pp.fillRect(picture.rect(), g);
    pp.end();
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    FloatingObject obj;
    obj.imageId = f.doc.images().add(png, QStringLiteral("png"));
    obj.size = QSize(2400, 1800);
    obj.horizontalRelativeTo = HorizontalRelativeTo::Column;
    obj.horizontalAlignment = HorizontalAlignment::Right;
    obj.verticalOffset = 200;
    const int anchor = f.main()->findBlockByNumber(2).position();
    f.doc.insertFloatingObject({MainStoryId, anchor}, obj);
    f.layout->layoutAll();

    const LayoutPage &page = f.layout->page(0);
    const qreal scale = 96.0 / 1440.0;
    QImage image(qCeil(page.size().width() * scale), qCeil(page.size().height() * scale),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    PagePainter(f.layout).paint(&painter, page, PagePainter::Options{});
    painter.end();

    const QString dir = qEnvironmentVariable("MARLIX_TEST_OUTPUT", QDir::tempPath());
    QDir().mkpath(dir);
    QVERIFY(image.save(dir + QStringLiteral("/layout-page.png")));
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 96;
    }
    QVERIFY(dark > 2000);
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
