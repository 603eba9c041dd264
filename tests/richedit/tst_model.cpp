#include "richedit/model/ListTable.h"
#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace richedit;

class ModelTest : public QObject
{
    Q_OBJECT
private slots:
    void undoBackToCleanClearsModified();
    void undoCoversStoriesAndSideTablesInOneOrder();
    void typingAfterSaveIsModifiedAgain();
    void marginsInMeasurementUnits_data();
    void marginsInMeasurementUnits();
    void sectionBreaksSplitSections();
    void headerFollowsLinkToPrevious();
    void styleInheritanceAndCycles();
    void listLabels_data();
    void listLabels();
    void bookmarksFollowEdits();
    void insertTextInHeaderStory();
};

void ModelTest::undoBackToCleanClearsModified()
{
    RichEditDocument doc;
    QSignalSpy spy(&doc, &RichEditDocument::modifiedChanged);
    QVERIFY(!doc.isModified());
    doc.insertText({MainStoryId, 0}, QStringLiteral("Hello"));
    QVERIFY(doc.isModified());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().first().toBool(), true);
    doc.undo();
    QVERIFY(!doc.isModified());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().first().toBool(), false);
    QCOMPARE(doc.mainStory()->toPlainText(), QString());
    doc.redo();
    QVERIFY(doc.isModified());
    QCOMPARE(doc.mainStory()->toPlainText(), QStringLiteral("Hello"));
}

void ModelTest::undoCoversStoriesAndSideTablesInOneOrder()
{
    RichEditDocument doc;
    const int header = doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    doc.setModified(false);
    doc.insertText({MainStoryId, 0}, QStringLiteral("body"));
    SectionProperties p = doc.sectionProperties(0);
    p.margins.left = 720;
    doc.setSectionProperties(0, p);
    doc.insertText({header, 0}, QStringLiteral("head"));
    doc.insertText({header, 4}, QStringLiteral("er")); // merges with the previous typing

    doc.undo();
    QCOMPARE(doc.story(header)->toPlainText(), QString());
    QCOMPARE(doc.sectionProperties(0).margins.left, 720);
    doc.undo();
    QCOMPARE(doc.sectionProperties(0).margins.left, 1800);
    QCOMPARE(doc.mainStory()->toPlainText(), QStringLiteral("body"));
    doc.undo();
    QCOMPARE(doc.mainStory()->toPlainText(), QString());
    QVERIFY(!doc.isModified());
    doc.redo();
    doc.redo();
    doc.redo();
    QCOMPARE(doc.story(header)->toPlainText(), QStringLiteral("header"));
    QCOMPARE(doc.sectionProperties(0).margins.left, 720);
}

void ModelTest::typingAfterSaveIsModifiedAgain()
{
    // Qt merges consecutive typing; a save in between must still count.
    RichEditDocument doc;
    doc.insertText({MainStoryId, 0}, QStringLiteral("a"));
    doc.setModified(false);
    QSignalSpy spy(&doc, &RichEditDocument::modifiedChanged);
    doc.insertText({MainStoryId, 1}, QStringLiteral("b"));
    QVERIFY(doc.isModified());
    QCOMPARE(spy.count(), 1);
    doc.undo();
    QVERIFY(!doc.isModified());
    QCOMPARE(doc.mainStory()->toPlainText(), QStringLiteral("a"));
}

void ModelTest::marginsInMeasurementUnits_data()
{
    QTest::addColumn<MeasurementUnit>("unit");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("twips");
    QTest::newRow("inch") << MeasurementUnit::Inch << 1.0f << 1440;
    QTest::newRow("centimeter") << MeasurementUnit::Centimeter << 2.5f << 1417;
    QTest::newRow("millimeter") << MeasurementUnit::Millimeter << 25.4f << 1440;
    QTest::newRow("point") << MeasurementUnit::Point << 72.0f << 1440;
    QTest::newRow("document") << MeasurementUnit::Document << 300.0f << 1440;
}

void ModelTest::marginsInMeasurementUnits()
{
    QFETCH(MeasurementUnit, unit);
    QFETCH(float, value);
    QFETCH(int, twips);
    RichEditDocument doc;
    doc.setMeasurementUnit(unit);
    SectionMargins m = doc.sections().item(0).margins();
    m.setLeft(value);
    m.setRight(value);
    m.setTop(value);
    m.setBottom(value);
    const PageMargins pm = doc.sectionProperties(0).margins;
    QCOMPARE(pm.left, twips);
    QCOMPARE(pm.bottom, twips);
    QVERIFY(qAbs(m.top() - value) < 0.01f);
    // Programmatic set-up is no edit of the user's.
    QVERIFY(!doc.isModified());
}

void ModelTest::sectionBreaksSplitSections()
{
    RichEditDocument doc;
    doc.insertText({MainStoryId, 0}, QStringLiteral("one\ntwo"));
    SectionProperties first = doc.sectionProperties(0);
    first.margins.left = 1000;
    doc.setSectionProperties(0, first);
    doc.insertSectionBreak(3, SectionBreakType::OddPage);
    QCOMPARE(doc.sectionCount(), 2);
    QCOMPARE(doc.sectionProperties(0).margins.left, 1000);
    QCOMPARE(doc.sectionProperties(1).breakType, SectionBreakType::OddPage);
    QCOMPARE(doc.sectionProperties(1).margins.left, 1000);
    // Only the first section's margins change through the interface.
    doc.setMeasurementUnit(MeasurementUnit::Inch);
    doc.sections().item(0).margins().setLeft(2.0f);
    QCOMPARE(doc.sectionProperties(0).margins.left, 2880);
    QCOMPARE(doc.sectionProperties(1).margins.left, 1000);
    QCOMPARE(doc.sectionOfBlock(doc.mainStory()->findBlockByNumber(0)), 0);
    QCOMPARE(doc.sectionOfBlock(doc.mainStory()->lastBlock()), 1);
    doc.undo(); // the break
    QCOMPARE(doc.sectionCount(), 1);
    QCOMPARE(doc.mainStory()->toPlainText(), QStringLiteral("one\ntwo"));
}

void ModelTest::headerFollowsLinkToPrevious()
{
    RichEditDocument doc;
    doc.insertText({MainStoryId, 0}, QStringLiteral("a\nb\nc"));
    doc.insertSectionBreak(1, SectionBreakType::NextPage);
    doc.insertSectionBreak(3, SectionBreakType::NextPage);
    QCOMPARE(doc.sectionCount(), 3);
    const int h = doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    QCOMPARE(doc.headerFooterStory(2, StoryKind::Header, HeaderFooterType::Odd), h);
    SectionProperties p = doc.sectionProperties(1);
    p.headerLinkedToPrevious[int(HeaderFooterType::Odd)] = false;
    doc.setSectionProperties(1, p);
    QCOMPARE(doc.headerFooterStory(1, StoryKind::Header, HeaderFooterType::Odd), 0);
    QCOMPARE(doc.headerFooterStory(2, StoryKind::Header, HeaderFooterType::Odd), 0);
    QCOMPARE(doc.headerFooterStory(0, StoryKind::Footer, HeaderFooterType::Odd), 0);
}

void ModelTest::styleInheritanceAndCycles()
{
    StyleSheet sheet;
    sheet.addBuiltInStyles();
    Style mine;
    mine.name = QStringLiteral("Mine");
    mine.basedOn = StyleSheet::headingStyleName(2);
    mine.charFormat.setFontItalic(true);
    sheet.setStyle(mine);
    const QTextCharFormat f = sheet.resolvedCharFormat(QStringLiteral("Mine"));
    QVERIFY(f.fontItalic());
    QCOMPARE(f.fontPointSize(), 13.0);
    QCOMPARE(sheet.resolvedOutlineLevel(QStringLiteral("Mine")), 1);
    // A cycle in damaged styles ends the walk instead of looping.
    Style a;
    a.name = QStringLiteral("A");
    a.basedOn = QStringLiteral("B");
    Style b;
    b.name = QStringLiteral("B");
    b.basedOn = QStringLiteral("A");
    b.charFormat.setFontWeight(QFont::Bold);
    sheet.setStyle(a);
    sheet.setStyle(b);
    QCOMPARE(sheet.resolvedCharFormat(QStringLiteral("A")).fontWeight(), int(QFont::Bold));
}

void ModelTest::listLabels_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("counters");
    QTest::addColumn<QString>("label");
    const QList<int> c{3, 2};
    QTest::newRow("decimal") << int(NumberFormat::Decimal) << "%1.%2." << c << "3.2.";
    QTest::newRow("upper roman") << int(NumberFormat::UpperRoman) << "%1)" << QList<int>{14}
                                 << "XIV)";
    QTest::newRow("lower letter past z")
        << int(NumberFormat::LowerLetter) << "(%1)" << QList<int>{28} << "(bb)";
    QTest::newRow("zero padded") << int(NumberFormat::DecimalZero) << "%1" << QList<int>{7} << "07";
    QTest::newRow("missing level")
        << int(NumberFormat::Decimal) << "%1.%5" << QList<int>{1} << "1.";
}

void ModelTest::listLabels()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(QList<int>, counters);
    QFETCH(QString, label);
    ListLevel level;
    level.format = NumberFormat(format);
    level.text = text;
    QList<NumberFormat> formats(counters.size(), NumberFormat(format));
    if (counters.size() == 2)
        formats = {NumberFormat::Decimal, NumberFormat::Decimal};
    QCOMPARE(ListTable::labelText(level, counters, formats), label);
}

void ModelTest::bookmarksFollowEdits()
{
    RichEditDocument doc;
    doc.insertText({MainStoryId, 0}, QStringLiteral("Hello world"));
    doc.addBookmark(QStringLiteral("w"), {MainStoryId, 6, 5});
    doc.insertText({MainStoryId, 0}, QStringLiteral(">> "));
    const DocumentRange r = doc.bookmark(QStringLiteral("W"))->range.range();
    QCOMPARE(r.start, 9);
    QCOMPARE(r.length, 5);
}

void ModelTest::insertTextInHeaderStory()
{
    RichEditDocument doc;
    const int h = doc.ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    doc.setCaretPosition({h, 0});
    QVERIFY(doc.isSelectionInHeaderOrFooter());
    QVERIFY(!doc.isSelectionInTable());
    const DocumentRange r = doc.insertText(doc.caretPosition(), QStringLiteral("Title\nLine"));
    QCOMPARE(r.length, 10);
    QCOMPARE(doc.story(h)->blockCount(), 2);
    QCOMPARE(doc.mainStory()->toPlainText(), QString());
    doc.deleteRange({h, 0, 6});
    QCOMPARE(doc.story(h)->toPlainText(), QStringLiteral("Line"));
}

QTEST_MAIN(ModelTest)
#include "tst_model.moc"
