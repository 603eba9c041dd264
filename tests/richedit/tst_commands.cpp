#include "formats/FormatRegistry.h"
#include "platform/Exception.h"
#include "platform/ScriptedUiHost.h"
#include "richedit/commands/CommandFactory.h"
#include "richedit/commands/CommandRefresher.h"
#include "richedit/commands/RichEditCommand.h"
#include "richedit/view/RichEditControl.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <memory>

using namespace richedit;

namespace {

std::unique_ptr<RichEditCommand> command(const QString &name)
{
    return std::unique_ptr<RichEditCommand>(
        static_cast<RichEditCommand *>(CommandFactory::create(name, nullptr)));
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void everyClassIsMade();
    void stateFollowsTheEditorOncePerTurn();
    void saveAsThenOpenRoundTrips();
    void cancelledDialogsChangeNothing();
    void failedSaveKeepsDocumentModified();
    void viewAndRulerCommandsAreChecked();
};

void CommandsTest::everyClassIsMade()
{
    const QStringList classes = CommandFactory::classes();
    QCOMPARE(classes.size(), 17);
    for (const QString &name : classes) {
        auto c = command(name);
        QVERIFY2(c, qPrintable(name));
        QVERIFY2(!c->text().isEmpty(), qPrintable(name));
        QVERIFY2(!c->toolTip().isEmpty(), qPrintable(name));
    }
    QVERIFY(!CommandFactory::create(QStringLiteral("NoSuchCommand"), nullptr));
}

void CommandsTest::stateFollowsTheEditorOncePerTurn()
{
    RichEditControl control;
    auto undo = command(QStringLiteral("Undo"));
    auto copy = command(QStringLiteral("CopySelection"));
    CommandRefresher::instance()->refreshNow();
    QVERIFY(!undo->isEnabled());
    QVERIFY(!copy->isEnabled());
    control.document()->insertText({MainStoryId, 0}, QStringLiteral("text"));
    QTRY_VERIFY(undo->isEnabled());
    control.selectAll();
    QTRY_VERIFY(copy->isEnabled());
    undo->trigger();
    QCOMPARE(control.document()->mainStory()->toPlainText(), QString());
    QTRY_VERIFY(!undo->isEnabled());
}

void CommandsTest::saveAsThenOpenRoundTrips()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter.txt"));
    RichEditControl control;
    control.document()->insertText({MainStoryId, 0}, QStringLiteral("Dear reader"));
    QVERIFY(control.isModified());
    ScriptedUiHost host;
    host.answerFile(path);
    command(QStringLiteral("SaveDocumentAs"))->trigger();
    QVERIFY(QFile::exists(path));
    QVERIFY(!control.isModified());
    QCOMPARE(control.documentSaveOptions().currentFileName, path);
    QCOMPARE(control.documentSaveOptions().currentFormat, QStringLiteral("PlainText"));
    // The save dialog offered the registry's formats, its default first.
    QCOMPARE(host.questions().first().file.filters,
             formats::FormatRegistry::instance().saveFilters());

    // Save writes to the current file without asking.
    control.document()->insertText({MainStoryId, 11}, QStringLiteral("!"));
    command(QStringLiteral("SaveDocument"))->trigger();
    QCOMPARE(host.questions().size(), 1);
    QVERIFY(!control.isModified());

    command(QStringLiteral("NewDocument"))->trigger();
    QVERIFY(control.documentSaveOptions().currentFileName.isEmpty());
    QCOMPARE(control.document()->mainStory()->toPlainText(), QString());

    host.answerFile(path);
    command(QStringLiteral("LoadDocument"))->trigger();
    QCOMPARE(control.document()->mainStory()->toPlainText(), QStringLiteral("Dear reader!"));
    QCOMPARE(control.documentSaveOptions().currentFileName, path);
    QVERIFY(!control.isModified());
    QVERIFY(host.questions().last().file.filters.first().startsWith(
        QStringLiteral("All supported documents")));
}

void CommandsTest::cancelledDialogsChangeNothing()
{
    RichEditControl control;
    control.document()->insertText({MainStoryId, 0}, QStringLiteral("keep me"));
    ScriptedUiHost host;
    host.answerFileCancelled();
    command(QStringLiteral("LoadDocument"))->trigger();
    host.answerFileCancelled();
    command(QStringLiteral("SaveDocument"))->trigger(); // untitled: asks like Save As
    QCOMPARE(control.document()->mainStory()->toPlainText(), QStringLiteral("keep me"));
    QVERIFY(control.isModified());
    QVERIFY(control.documentSaveOptions().currentFileName.isEmpty());
    QCOMPARE(host.unexpectedQuestions(), 0);
}

void CommandsTest::failedSaveKeepsDocumentModified()
{
    QTemporaryDir dir;
    // A folder that cannot exist: its parent is a plain file (this holds
    // for root too, where permissions would not stop the write).
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    RichEditControl control;
    control.document()->insertText({MainStoryId, 0}, QStringLiteral("unsaved"));
    ScriptedUiHost host;
    host.answerFile(blocker + QStringLiteral("/doc.txt"));
    auto save = command(QStringLiteral("SaveDocumentAs"));
    QVERIFY_THROWS_EXCEPTION(Exception, save->execute());
    QVERIFY(control.isModified());
    QVERIFY(control.documentSaveOptions().currentFileName.isEmpty());
}

void CommandsTest::viewAndRulerCommandsAreChecked()
{
    RichEditControl control;
    auto draft = command(QStringLiteral("SwitchToDraftView"));
    auto print = command(QStringLiteral("SwitchToPrintLayoutView"));
    auto ruler = command(QStringLiteral("ToggleShowHorizontalRuler"));
    auto zoomIn = command(QStringLiteral("ZoomIn"));
    CommandRefresher::instance()->refreshNow();
    QVERIFY(print->isChecked());
    QVERIFY(!draft->isChecked());
    QVERIFY(ruler->isChecked());
    draft->trigger();
    QCOMPARE(control.activeViewType(), ViewType::Draft);
    QTRY_VERIFY(draft->isChecked() && !print->isChecked());
    ruler->trigger();
    QVERIFY(!control.isHorizontalRulerVisible());
    QTRY_VERIFY(!ruler->isChecked());
    const float before = control.activeView()->zoomFactor();
    zoomIn->trigger();
    QVERIFY(control.activeView()->zoomFactor() > before);
    QCOMPARE(control.view(ViewType::PrintLayout)->zoomFactor(), 1.1f);
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
