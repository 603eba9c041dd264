#include "Unit1.h"
#include "fDatumACas.h"
#include "platform/Application.h"
#include "platform/ScriptedUiHost.h"
#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonTab.h"
#include "richedit/view/RichEditControl.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>

#include <memory>

using namespace richedit;

namespace {

QString here()
{
    return Application::executableFolder();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Puts the shipped data files (or the given ones) beside the executable.
void installData(bool translations = true, bool localizer = true)
{
    QFile::remove(here() + QStringLiteral("translations.ini"));
    QFile::remove(here() + QStringLiteral("Lang/lang_cz.ini"));
    QDir().mkpath(here() + QStringLiteral("Lang"));
    if (translations)
        QFile::copy(QStringLiteral(MARLIX_DATA_DIR "/translations.ini"),
                    here() + QStringLiteral("translations.ini"));
    if (localizer)
        QFile::copy(QStringLiteral(MARLIX_DATA_DIR "/Lang/lang_cz.ini"),
                    here() + QStringLiteral("Lang/lang_cz.ini"));
}

// The program's two windows, made as the program makes them.
struct Program
{
    std::unique_ptr<TForm1> form{new TForm1};
    Program()
    {
        new TfDatumCas(form.get());
        fDatumCas->hide();
        form->show();
        QApplication::setActiveWindow(form.get());
        QTest::qWait(10);
    }
    ~Program()
    {
        form.reset();
        OpenDocumentPath.clear();
        SaveChangesQuestion.clear();
    }
    RichEditControl *editor() { return form->dxRichEditControl1; }
    QString tabCaption(const char *name)
    {
        return form->dxRibbon->tab(QLatin1String(name))->caption();
    }
    bool tabVisible(const char *name)
    {
        return form->dxRibbon->tab(QLatin1String(name))->isVisible();
    }
    QString activeTab() { return form->dxRibbon->activeTab()->name(); }
    void type(const QString &text) { QTest::keyClicks(editor(), text); }
};

float margin(RichEditControl *e, int which)
{
    SectionMargins m = e->document()->sections().item(0).margins();
    return which == 0 ? m.left() : which == 1 ? m.right() : which == 2 ? m.top() : m.bottom();
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { installData(); }
    void startUpState();
    void titleFollowsPathAndModifiedFlag();
    void promptAnswers_data();
    void promptAnswers();
    void yesSavesThenGoesOn();
    void yesWithCancelledSaveKeepsTheDocument();
    void failingSaveKeepsWindowOpen();
    void translationPasses_data();
    void translationPasses();
    void missingLocalizerFileIsReportedTwice();
    void contextualTabsFollowTheCaret();
    void dateAndTimeDialog();
    void plainTextPasteReplacesEveryRange();
    void screenshots();
};

void AppTest::startUpState()
{
    ScriptedUiHost host;
    Program p;
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor"));
    QCOMPARE(p.activeTab(), QStringLiteral("ZalozkaDomu"));
    QVERIFY(!p.tabVisible("ZalozkaZahlaviZapati"));
    QVERIFY(!p.tabVisible("ZalozkaNavrhTabulky"));
    QVERIFY(!p.tabVisible("ZalozkaRozlozeniTabulky"));
    QCOMPARE(p.editor()->measurementUnit(), MeasurementUnit::Inch);
    QCOMPARE(p.editor()->activeView()->zoomFactor(), 1.1f);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(margin(p.editor(), i), 1.0f);
    QVERIFY(!p.editor()->isModified());
    QVERIFY(p.editor()->hasFocus());
    QCOMPARE(SaveChangesQuestion, QStringLiteral("Do you want to save the changes to the file?"));
    QCOMPARE(p.tabCaption("ZalozkaDomu"), QStringLiteral("Home"));
    QCOMPARE(fDatumCas->windowTitle(), QStringLiteral("Date and Time"));
    QVERIFY(!fDatumCas->isVisible());
    QCOMPARE(host.messages().size(), 0);
}

void AppTest::titleFollowsPathAndModifiedFlag()
{
    ScriptedUiHost host;
    Program p;
    p.type(QStringLiteral("x"));
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor")); // untitled: no star
    const QString path = QDir::temp().filePath(QStringLiteral("marlix-letter.txt"));
    QFile::remove(path);
    host.answerFile(path);
    p.form->BSouborUlozitClick(); // untitled: asks for a name
    QCOMPARE(OpenDocumentPath, path);
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-letter.txt)"));
    p.type(QStringLiteral("y"));
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-letter.txt) *"));
    p.form->BSouborUlozitClick();
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-letter.txt)"));
    // Save As cancelled on a modified titled document keeps the star and path.
    p.type(QStringLiteral("z"));
    host.answerFileCancelled();
    p.form->BSouborUlozitJakoClick();
    QCOMPARE(OpenDocumentPath, path);
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-letter.txt) *"));
    // The editor's own Ctrl+S goes through the same handler.
    QTest::keyClick(p.editor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-letter.txt)"));
    QFile::remove(path);
}

void AppTest::promptAnswers_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("New, No") << "new" << int(QMessageBox::No) << true;
    QTest::newRow("New, Cancel") << "new" << int(QMessageBox::Cancel) << false;
    QTest::newRow("Open, No") << "open" << int(QMessageBox::No) << true;
    QTest::newRow("Open, Cancel") << "open" << int(QMessageBox::Cancel) << false;
    QTest::newRow("Close, No") << "close" << int(QMessageBox::No) << true;
    QTest::newRow("Close, Cancel") << "close" << int(QMessageBox::Cancel) << false;
}

void AppTest::promptAnswers()
{
    QFETCH(QString, operation);
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    const QString other = QDir::temp().filePath(QStringLiteral("marlix-other.txt"));
    writeFile(other, "other text");
    ScriptedUiHost host;
    Program p;
    p.editor()->document()->sections().item(0).margins().setLeft(2.0f);
    p.type(QStringLiteral("changes"));
    host.answerButton(QMessageBox::StandardButton(answer));
    if (operation == u"open")
        host.answerFile(other);
    bool closed = false;
    if (operation == u"new") {
        p.form->BSouborNovyClick();
    } else if (operation == u"open") {
        p.form->acOtevritExecute();
    } else {
        closed = p.form->close();
    }
    QCOMPARE(host.messages().size(), 1);
    const auto prompt = host.messages().first();
    QCOMPARE(prompt.text, SaveChangesQuestion + QStringLiteral("\r\r"));
    QCOMPARE(prompt.icon, QMessageBox::Warning);
    const QString text = p.editor()->document()->mainStory()->toPlainText();
    if (operation == u"close") {
        QCOMPARE(closed, replaced);
        return;
    }
    QCOMPARE(text != QStringLiteral("changes"), replaced);
    if (replaced && operation == u"new") {
        QCOMPARE(margin(p.editor(), 0), 1.0f);
        QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor"));
    }
    if (replaced && operation == u"open") {
        QCOMPARE(text, QStringLiteral("other text"));
        QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor - (marlix-other.txt)"));
        // An opened document keeps its own margins.
        QCOMPARE(p.editor()->isModified(), false);
    }
    if (!replaced)
        QCOMPARE(margin(p.editor(), 0), 2.0f);
    QFile::remove(other);
}

void AppTest::yesSavesThenGoesOn()
{
    const QString path = QDir::temp().filePath(QStringLiteral("marlix-yes.txt"));
    QFile::remove(path);
    ScriptedUiHost host;
    Program p;
    p.type(QStringLiteral("first"));
    host.answerFile(path);
    p.form->BSouborUlozitJakoClick();
    p.type(QStringLiteral(" second"));
    // Yes on New: the titled document is saved, then replaced.
    host.answerButton(QMessageBox::Yes);
    p.form->BSouborNovyClick();
    QCOMPARE(host.messages().last().text, SaveChangesQuestion + QStringLiteral("\r\r") + path);
    QCOMPARE(p.editor()->document()->mainStory()->toPlainText(), QString());
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor"));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().trimmed(), QByteArray("first second"));
    QFile::remove(path);
}

void AppTest::yesWithCancelledSaveKeepsTheDocument()
{
    // Yes, then the save dialog cancelled: nothing is replaced or closed.
    ScriptedUiHost host;
    Program p;
    p.type(QStringLiteral("precious"));
    host.answerButton(QMessageBox::Yes);
    host.answerFileCancelled();
    p.form->BSouborNovyClick();
    QCOMPARE(p.editor()->document()->mainStory()->toPlainText(), QStringLiteral("precious"));
    host.answerButton(QMessageBox::Yes);
    host.answerFileCancelled();
    p.form->acOtevritExecute(); // no open dialog follows
    QCOMPARE(host.pendingAnswers(), 0);
    QCOMPARE(host.unexpectedQuestions(), 0);
    host.answerButton(QMessageBox::Yes);
    host.answerFileCancelled();
    QVERIFY(!p.form->close());
    QCOMPARE(p.editor()->document()->mainStory()->toPlainText(), QStringLiteral("precious"));
}

void AppTest::failingSaveKeepsWindowOpen()
{
    ScriptedUiHost host;
    Program p;
    const QString blocker = QDir::temp().filePath(QStringLiteral("marlix-blocker"));
    writeFile(blocker, "a file, not a folder");
    p.type(QStringLiteral("text"));
    host.answerButton(QMessageBox::Yes);
    host.answerFile(blocker + QStringLiteral("/doc.txt"));
    QVERIFY(!p.form->close());
    QVERIFY(OpenDocumentPath.isEmpty());
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Marlix Editor"));
    // The prompt, then the error box.
    QCOMPARE(host.messages().size(), 2);
    QCOMPARE(host.messages().last().icon, QMessageBox::Critical);
    QFile::remove(blocker);
}

void AppTest::translationPasses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("newCaption");
    QTest::addColumn<QString>("fileTab");
    QTest::addColumn<QString>("fileGroup");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("bringForward");
    QTest::addColumn<QString>("dialog");
    const QString czQuestion = QStringLiteral("Chcete uložit změny v souboru?");
    QTest::newRow("no file") << QByteArray() << "Nový"
                             << "Soubor"
                             << "Soubor" << czQuestion << "Přenést blíž"
                             << "Datum a čas";
    QTest::newRow("cs only") << QByteArray("[cs]\nBSouborNovy=Novy\n") << "Nový"
                             << "Soubor"
                             << "Soubor" << czQuestion << "Přenést blíž"
                             << "Datum a čas";
    QTest::newRow("empty value") << QByteArray("[en]\nBSouborNovy=\nSaveChanges=\n") << ""
                                 << "Soubor"
                                 << "Soubor"
                                 << ""
                                 << "Přenést blíž"
                                 << "Datum a čas";
    QTest::newRow("file group and tab")
        << QByteArray("[en]\nZalozkaSouborSoubor=Files\nZalozkaSoubor=Nope\n") << "Nový"
        << "Files"
        << "Files" << czQuestion << "Přenést blíž"
        << "Datum a čas";
    QTest::newRow("key with i-acute")
        << QByteArray("[en]\nbRozlozeníStrankyPrenestBliz=Forward\nfDatumCas=When\n") << "Nový"
        << "Soubor"
        << "Soubor" << czQuestion << "Forward"
        << "When";
    QTest::newRow("plain i sets nothing")
        << QByteArray("[en]\nbRozlozeniStrankyPrenestBliz=Forward\n") << "Nový"
        << "Soubor"
        << "Soubor" << czQuestion << "Přenést blíž"
        << "Datum a čas";
    QTest::newRow("long value") << (QByteArray("[en]\nBSouborNovy=") + QByteArray(3000, 'n') + "\n")
                                << QString(2047, u'n') << "Soubor"
                                << "Soubor" << czQuestion << "Přenést blíž"
                                << "Datum a čas";
}

void AppTest::translationPasses()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, newCaption);
    QFETCH(QString, fileTab);
    QFETCH(QString, fileGroup);
    QFETCH(QString, question);
    QFETCH(QString, bringForward);
    QFETCH(QString, dialog);
    installData(false, true);
    if (!file.isNull())
        writeFile(here() + QStringLiteral("translations.ini"), file);
    ScriptedUiHost host;
    Program p;
    BarManager *m = p.form->dxBarManager1;
    QCOMPARE(m->item(QStringLiteral("BSouborNovy"))->caption(), newCaption);
    QCOMPARE(p.tabCaption("ZalozkaSoubor"), fileTab);
    QCOMPARE(m->bar(QStringLiteral("ZalozkaSouborSoubor"))->caption(), fileGroup);
    QCOMPARE(SaveChangesQuestion, question);
    QCOMPARE(m->item(QStringLiteral("bRozlozeníStrankyPrenestBliz"))->caption(), bringForward);
    QCOMPARE(fDatumCas->windowTitle(), dialog);
    QCOMPARE(host.messages().size(), 0);
}

void AppTest::missingLocalizerFileIsReportedTwice()
{
    installData(true, false);
    ScriptedUiHost host;
    Program p;
    const auto messages = host.messages();
    QCOMPARE(messages.size(), 2);
    for (const auto &m : messages) {
        QVERIFY(m.text.startsWith(QStringLiteral("Cannot open file \"") + here() +
                                  QStringLiteral("Lang/lang_cz.ini\". ")));
        QCOMPARE(m.icon, QMessageBox::Critical);
    }
    // The unit and captions came before the failing step; the margins did not.
    QCOMPARE(p.editor()->measurementUnit(), MeasurementUnit::Inch);
    QCOMPARE(p.tabCaption("ZalozkaDomu"), QStringLiteral("Home"));
    QCOMPARE(margin(p.editor(), 0), 1.25f);
    QCOMPARE(fDatumCas->lbCas->count(), 0);
    QVERIFY(p.form->isVisible());
    p.form->BSouborNovyClick();
    QCOMPARE(margin(p.editor(), 0), 1.0f);
}

void AppTest::contextualTabsFollowTheCaret()
{
    ScriptedUiHost host;
    Program p;
    QTextCursor c(p.editor()->document()->mainStory());
    c.insertText(QStringLiteral("Body"));
    c.insertBlock();
    c.insertTable(2, 2);
    c.movePosition(QTextCursor::Start);
    p.editor()->setTextCursor(c);
    QVERIFY(!p.tabVisible("ZalozkaNavrhTabulky"));
    for (int i = 0; i < 3 && !p.editor()->isSelectionInTable(); ++i)
        QTest::keyClick(p.editor(), Qt::Key_Down);
    QVERIFY(p.editor()->isSelectionInTable());
    QVERIFY(p.tabVisible("ZalozkaNavrhTabulky"));
    QVERIFY(p.tabVisible("ZalozkaRozlozeniTabulky"));
    QCOMPARE(p.activeTab(), QStringLiteral("ZalozkaRozlozeniTabulky"));
    QTest::keyClick(p.editor(), Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(!p.tabVisible("ZalozkaNavrhTabulky"));
    QVERIFY(!p.tabVisible("ZalozkaRozlozeniTabulky"));

    p.editor()->editHeaderFooter(0, StoryKind::Header);
    QVERIFY(p.tabVisible("ZalozkaZahlaviZapati"));
    QCOMPARE(p.activeTab(), QStringLiteral("ZalozkaZahlaviZapati"));
    QTest::keyClick(p.editor(), Qt::Key_Escape);
    QVERIFY(!p.tabVisible("ZalozkaZahlaviZapati"));
}

void AppTest::dateAndTimeDialog()
{
    ScriptedUiHost host;
    Program p;
    QCOMPARE(fDatumCas->lbCas->count(), 13);
    QCOMPARE(fDatumCas->size(), QSize(258, 308));
    // Ok without a chosen line: the index error, nothing inserted.
    fDatumCas->show();
    QTest::mouseClick(fDatumCas->bVlozit, Qt::LeftButton);
    QCOMPARE(host.messages().size(), 1);
    QCOMPARE(host.messages().first().text, QStringLiteral("List index out of bounds (-1)"));
    QVERIFY(fDatumCas->isVisible());
    fDatumCas->lbCas->setCurrentRow(0);
    QTest::mouseClick(fDatumCas->bVlozit, Qt::LeftButton);
    QVERIFY(!fDatumCas->isVisible());
    const QString text = p.editor()->document()->mainStory()->toPlainText();
    QCOMPARE(text, fDatumCas->lbCas->item(0)->text());
    QVERIFY(QDate::fromString(text, QStringLiteral("yyyy-MM-dd")).isValid());
    // Into the header being edited.
    p.editor()->editHeaderFooter(0, StoryKind::Header);
    p.form->bVlozitCasClick();
    const int story = p.editor()->activeStory();
    QCOMPARE(p.editor()->document()->story(story)->toPlainText().size(), 8);
}

void AppTest::plainTextPasteReplacesEveryRange()
{
    ScriptedUiHost host;
    Program p;
    QTextCursor c(p.editor()->document()->mainStory());
    c.insertText(QStringLiteral("one two three"));
    QGuiApplication::clipboard()->setText(QStringLiteral("X"));
    p.editor()->document()->setSelections({{MainStoryId, 0, 3}, {MainStoryId, 8, 5}},
                                          {MainStoryId, 13});
    p.form->bDomuSchrankaVLozitProstyTextClick();
    QCOMPARE(p.editor()->document()->mainStory()->toPlainText(), QStringLiteral(" two X"));
}

void AppTest::screenshots()
{
    // Pictures to look at, when a folder is given for them.
    const QString dir = qEnvironmentVariable("MARLIX_APP_SHOTS");
    if (dir.isEmpty())
        QSKIP("MARLIX_APP_SHOTS names no folder");
    QDir().mkpath(dir);
    Program p;
    p.form->resize(1400, 900);
    p.type(QStringLiteral("Dear reader, this letter is not saved yet."));
    QTest::qWait(50);
    QVERIFY(p.form->grab().save(dir + QStringLiteral("/main-window.png")));
    // The real save prompt, answered Cancel once it was photographed.
    QTimer::singleShot(300, [dir] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        box->grab().save(dir + QStringLiteral("/save-prompt.png"));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QVERIFY(!p.form->close());
    QVERIFY(QFile::exists(dir + QStringLiteral("/save-prompt.png")));
}

QTEST_MAIN(AppTest)
#include "tst_app.moc"
