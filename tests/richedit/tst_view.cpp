#include "richedit/layout/PaginatedLayout.h"
#include "richedit/layout/StoryBox.h"
#include "richedit/view/RichEditControl.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace richedit;

namespace {

QString outputDir()
{
    const QString dir = qEnvironmentVariable("MARLIX_TEST_OUTPUT", QDir::tempPath());
    QDir().mkpath(dir);
    return dir;
}

void fill(RichEditControl &c, int paragraphs)
{
    QTextCursor cur(c.document()->mainStory());
    for (int i = 0; i < paragraphs; ++i) {
        if (i)
            cur.insertBlock();
        cur.insertText(QStringLiteral("Paragraph %1 with some words that wrap across the line "
                                      "and fill the page as a letter would do it. ")
                           .arg(i)
                           .repeated(3));
    }
    c.document()->setModified(false);
}

struct Window
{
    RichEditControl control;
    Window()
    {
        control.resize(900, 700);
        control.show();
        control.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        QApplication::setActiveWindow(&control);
    }
    QPoint at(int position)
    {
        QTextCursor c(control.document()->mainStory());
        c.setPosition(position);
        control.setTextCursor(c);
        return control.viewportPointOf(position).toPoint();
    }
    void click(int position, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(control.viewport(), Qt::LeftButton, mods, at(position));
    }
};

} // namespace

class ViewTest : public QObject
{
    Q_OBJECT
private slots:
    void typingAndUndoBackToClean();
    void secondRangeIsFormattedWithTheFirst();
    void caretMovesIntoTable();
    void typingInHeaderReachesEveryPage();
    void textBoxIsEditedInPlace();
    void viewsKeepTheirOwnZoom();
    void zoomedClickPutsCaretUnderMouse_data();
    void zoomedClickPutsCaretUnderMouse();
    void overwriteReplacesCharacters();
    void rulerDragsChangeMarginsAndIndents();
    void screenshots();
};

void ViewTest::typingAndUndoBackToClean()
{
    Window w;
    QSignalSpy spy(&w.control, &RichEditControl::modifiedChanged);
    QTest::keyClicks(&w.control, QStringLiteral("Hello"));
    QCOMPARE(w.control.document()->mainStory()->toPlainText(), QStringLiteral("Hello"));
    QVERIFY(w.control.isModified());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    for (int i = 0; i < 5 && w.control.isModified(); ++i)
        QTest::keyClick(&w.control, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w.control.isModified());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
    QCOMPARE(w.control.document()->mainStory()->toPlainText(), QString());
}

void ViewTest::secondRangeIsFormattedWithTheFirst()
{
    Window w;
    QTextCursor(w.control.document()->mainStory())
        .insertText(QStringLiteral("alpha beta gamma delta epsilon"));
    w.control.layout()->layoutAll();
    // First range by dragging over "alpha", the second with Ctrl over "gamma".
    const QPoint a0 = w.at(0);
    const QPoint a1 = w.at(5);
    QTest::mousePress(w.control.viewport(), Qt::LeftButton, {}, a0);
    QTest::mouseMove(w.control.viewport(), a1);
    QTest::mouseRelease(w.control.viewport(), Qt::LeftButton, {}, a1);
    const QPoint g0 = w.control.viewportPointOf(11).toPoint();
    const QPoint g1 = w.control.viewportPointOf(16).toPoint();
    QTest::mousePress(w.control.viewport(), Qt::LeftButton, Qt::ControlModifier, g0);
    QTest::mouseMove(w.control.viewport(), g1);
    QTest::mouseRelease(w.control.viewport(), Qt::LeftButton, Qt::ControlModifier, g1);
    const QList<QTextCursor> ranges = w.control.selectionCursors();
    QCOMPARE(ranges.size(), 2);
    QCOMPARE(ranges[0].selectedText(), QStringLiteral("alpha"));
    QCOMPARE(ranges[1].selectedText(), QStringLiteral("gamma"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    w.control.mergeCharFormat(bold);
    QTextDocument *doc = w.control.document()->mainStory();
    auto boldAt = [doc](int pos) {
        QTextCursor c(doc);
        c.setPosition(pos);
        return c.charFormat().fontWeight() == QFont::Bold;
    };
    QVERIFY(boldAt(3));
    QVERIFY(boldAt(14));
    QVERIFY(!boldAt(8));
    QCOMPARE(w.control.document()->selections().size(), 2);
}

void ViewTest::caretMovesIntoTable()
{
    Window w;
    QTextCursor c(w.control.document()->mainStory());
    c.insertText(QStringLiteral("Above the table"));
    c.insertBlock();
    QTextTable *t = c.insertTable(2, 2);
    t->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("one"));
    w.click(3);
    QVERIFY(!w.control.isSelectionInTable());
    QSignalSpy spy(&w.control, &RichEditControl::selectionChanged);
    QTest::keyClick(&w.control, Qt::Key_Down);
    QTest::keyClick(&w.control, Qt::Key_Down);
    QVERIFY(w.control.isSelectionInTable());
    QVERIFY(w.control.document()->isSelectionInTable());
    QVERIFY(spy.count() >= 2);
    // Tab walks the cells and adds a row after the last one.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&w.control, Qt::Key_Tab);
    QCOMPARE(t->rows(), 3);
}

void ViewTest::typingInHeaderReachesEveryPage()
{
    Window w;
    fill(w.control, 40);
    w.control.layout()->layoutAll();
    QVERIFY(w.control.layout()->laidOutPageCount() >= 3);
    QVERIFY(!w.control.isSelectionInHeaderOrFooter());
    const int page0Top = w.at(0).y();
    // The header area lies above the body's first line.
    const QPoint inHeader(w.control.viewport()->width() / 2,
                          page0Top - int(40 * w.control.scale() * 15));
    QTest::mouseDClick(w.control.viewport(), Qt::LeftButton, {}, inHeader);
    QVERIFY(w.control.isSelectionInHeaderOrFooter());
    QTest::keyClicks(&w.control, QStringLiteral("Report"));
    const int story = w.control.activeStory();
    QCOMPARE(w.control.document()->story(story)->toPlainText(), QStringLiteral("Report"));
    QCOMPARE(w.control.document()->mainStory()->toPlainText().contains(QStringLiteral("Report")),
             false);
    PaginatedLayout *layout = w.control.layout();
    layout->layoutAll();
    for (int i = 0; i < layout->laidOutPageCount(); ++i) {
        const LayoutPage &p = layout->page(i);
        QCOMPARE(p.headerStory, story);
        QCOMPARE(layout->storyBox(p.headerStory, p.setup.textWidth(), p.pageNumber)->text(),
                 QStringLiteral("Report"));
    }
    QTest::keyClick(&w.control, Qt::Key_Escape);
    QVERIFY(!w.control.isSelectionInHeaderOrFooter());
}

void ViewTest::textBoxIsEditedInPlace()
{
    Window w;
    fill(w.control, 3);
    RichEditDocument *doc = w.control.document();
    FloatingObject box;
    box.kind = FloatingObject::Kind::TextBox;
    box.textBoxStory = doc->createStory(StoryKind::TextBox);
    box.size = QSize(2880, 1440);
    box.horizontalRelativeTo = HorizontalRelativeTo::Margin;
    box.horizontalAlignment = HorizontalAlignment::Right;
    doc->insertFloatingObject({MainStoryId, 0}, box);
    w.control.layout()->layoutAll();
    const QPoint body = w.at(20);
    const PlacedObject placed = w.control.layout()->page(0).objects.front();
    const QPoint inside = w.control.viewportPointOnPage(0, placed.rect.center()).toPoint();
    QTest::mouseDClick(w.control.viewport(), Qt::LeftButton, {}, inside);
    QCOMPARE(w.control.activeStory(), box.textBoxStory);
    QVERIFY(!w.control.isSelectionInHeaderOrFooter());
    QTest::keyClicks(&w.control, QStringLiteral("Note"));
    QCOMPARE(doc->story(box.textBoxStory)->toPlainText(), QStringLiteral("Note"));
    QVERIFY(!doc->mainStory()->toPlainText().contains(QStringLiteral("Note")));
    // A double-click in the body goes back to the main text.
    QTest::mouseDClick(w.control.viewport(), Qt::LeftButton, {}, body);
    QCOMPARE(w.control.activeStory(), MainStoryId);
}

void ViewTest::viewsKeepTheirOwnZoom()
{
    Window w;
    QCOMPARE(w.control.activeView()->zoomFactor(), 1.1f);
    w.control.activeView()->setZoomFactor(1.5f);
    w.control.setActiveViewType(ViewType::Draft);
    QCOMPARE(w.control.activeView()->zoomFactor(), 1.0f);
    w.control.zoomOut();
    w.control.zoomOut();
    QCOMPARE(w.control.activeView()->zoomFactor(), 0.8f);
    w.control.setActiveViewType(ViewType::Simple);
    QCOMPARE(w.control.activeView()->zoomFactor(), 1.0f);
    w.control.setActiveViewType(ViewType::PrintLayout);
    QCOMPARE(w.control.activeView()->zoomFactor(), 1.5f);
    QCOMPARE(w.control.view(ViewType::Draft)->zoomFactor(), 0.8f);
    // Limits: 10 % and 500 %.
    for (int i = 0; i < 60; ++i)
        w.control.zoomIn();
    QCOMPARE(w.control.activeView()->zoomFactor(), 5.0f);
    for (int i = 0; i < 60; ++i)
        w.control.zoomOut();
    QCOMPARE(w.control.activeView()->zoomFactor(), 0.1f);
}

void ViewTest::zoomedClickPutsCaretUnderMouse_data()
{
    QTest::addColumn<float>("zoom");
    QTest::newRow("50 %") << 0.5f;
    QTest::newRow("110 %") << 1.1f;
    QTest::newRow("300 %") << 3.0f;
}

void ViewTest::zoomedClickPutsCaretUnderMouse()
{
    QFETCH(float, zoom);
    Window w;
    fill(w.control, 12);
    w.control.activeView()->setZoomFactor(zoom);
    w.control.layout()->layoutAll();
    for (int pos : {7, 180, 455}) {
        const QPoint p = w.at(pos);
        QTest::keyClick(&w.control, Qt::Key_Right); // move away without scrolling
        QCOMPARE(w.control.textCursor().position(), pos + 1);
        QTest::mouseClick(w.control.viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(w.control.textCursor().position(), pos);
    }
}

void ViewTest::overwriteReplacesCharacters()
{
    Window w;
    QTest::keyClicks(&w.control, QStringLiteral("abcdef"));
    QTest::keyClick(&w.control, Qt::Key_Home);
    QSignalSpy spy(&w.control, &RichEditControl::overwriteModeChanged);
    QTest::keyClick(&w.control, Qt::Key_Insert);
    QVERIFY(w.control.overwriteMode());
    QCOMPARE(spy.count(), 1);
    QTest::keyClicks(&w.control, QStringLiteral("XY"));
    QCOMPARE(w.control.document()->mainStory()->toPlainText(), QStringLiteral("XYcdef"));
    QTest::keyClick(&w.control, Qt::Key_End);
    QTest::keyClicks(&w.control, QStringLiteral("!"));
    QCOMPARE(w.control.document()->mainStory()->toPlainText(), QStringLiteral("XYcdef!"));
}

void ViewTest::rulerDragsChangeMarginsAndIndents()
{
    Window w;
    fill(w.control, 2);
    w.at(5);
    Ruler *horizontal = nullptr;
    for (Ruler *r : w.control.findChildren<Ruler *>()) {
        if (r->sizeHint().width() > r->sizeHint().height())
            horizontal = r;
    }
    QVERIFY(horizontal && horizontal->model().valid);
    QCOMPARE(horizontal->model().marginStart, 1800);
    emit horizontal->handleMoved(RulerHandle::MarginStart, 2880);
    QCOMPARE(w.control.document()->sectionProperties(0).margins.left, 2880);
    emit horizontal->handleMoved(RulerHandle::LeftIndent, 2880 + 720);
    QCOMPARE(w.control.textCursor().blockFormat().leftMargin(), 720.0);
    QVERIFY(w.control.isModified());
    w.control.undo();
    QCOMPARE(w.control.textCursor().blockFormat().leftMargin(), 0.0);
    w.control.undo();
    QCOMPARE(w.control.document()->sectionProperties(0).margins.left, 1800);
    QVERIFY(!w.control.isModified());
}

void ViewTest::screenshots()
{
    Window w;
    w.control.resize(1100, 800);
    fill(w.control, 30);
    const int header =
        w.control.document()->ensureHeaderFooter(0, StoryKind::Header, HeaderFooterType::Odd);
    w.control.document()->insertText({header, 0}, QStringLiteral("Quarterly report"));
    QTextCursor c(w.control.document()->mainStory());
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    w.control.setTextCursor(c);
    const struct
    {
        ViewType type;
        const char *name;
    } views[] = {
        {ViewType::PrintLayout, "print"}, {ViewType::Draft, "draft"}, {ViewType::Simple, "simple"}};
    for (const auto &v : views) {
        w.control.setActiveViewType(v.type);
        for (float zoom : {0.6f, 1.5f}) {
            w.control.activeView()->setZoomFactor(zoom);
            QTest::qWait(20);
            const QString file = QStringLiteral("%1/view-%2-%3.png")
                                     .arg(outputDir(), QLatin1String(v.name))
                                     .arg(int(zoom * 100));
            QVERIFY(w.control.grab().save(file));
        }
    }
}

QTEST_MAIN(ViewTest)
#include "tst_view.moc"
