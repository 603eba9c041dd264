#include "platform/Application.h"
#include "platform/MessageBoxes.h"
#include "platform/QtUiHost.h"
#include "platform/ScriptedUiHost.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs act on the next modal dialog once it is on screen, the way a user would answer it.
void whenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

} // namespace

class TestUiHost : public QObject
{
    Q_OBJECT

private slots:
    void scriptedHostInstallsItselfWhileItLives();
    void saveQuestionIsAWarningWithYesNoCancel();
    void unansweredQuestionCountsAndCancels();
    void plainAndErrorBoxesNeedNoAnswer();
    void fileAndPasswordAnswersInOrder();
    void qtPlainBoxIsCentredOnTheScreen();
    void qtWarningClosedWithEscapeIsCancel();
    void qtSaveDialogAddsSuffixAndReportsFilter();
    void qtPasswordPromptHidesTheText();
};

void TestUiHost::scriptedHostInstallsItselfWhileItLives()
{
    QVERIFY(dynamic_cast<QtUiHost *>(&UiHost::current()));
    {
        ScriptedUiHost outer;
        QCOMPARE(&UiHost::current(), &outer);
        {
            ScriptedUiHost inner;
            QCOMPARE(&UiHost::current(), &inner);
        }
        QCOMPARE(&UiHost::current(), &outer);
    }
    QVERIFY(dynamic_cast<QtUiHost *>(&UiHost::current()));
}

void TestUiHost::saveQuestionIsAWarningWithYesNoCancel()
{
    ScriptedUiHost host;
    host.answerButton(QMessageBox::No);
    host.answerButton(QMessageBox::Yes);

    const QString text = u"Chcete uložit změny v souboru?\r\r/tmp/a.docx"_s;
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, text), QMessageBox::No);
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, text), QMessageBox::Yes);

    QCOMPARE(host.messages().size(), 2);
    const UiHost::Message asked = host.messages().constFirst();
    QCOMPARE(asked.text, text);
    QCOMPARE(asked.title, u"Warning"_s);
    QCOMPARE(asked.icon, QMessageBox::Warning);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(asked.defaultButton, QMessageBox::Yes);
    QCOMPARE(asked.escapeButton, QMessageBox::Cancel);
    QCOMPARE(host.pendingAnswers(), 0);
}

void TestUiHost::unansweredQuestionCountsAndCancels()
{
    ScriptedUiHost host;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"without a matching answer"_s));
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, u"Save?"_s), QMessageBox::Cancel);

    // An answer of the wrong kind is not consumed by another question.
    host.answerFile(u"/tmp/x.docx"_s);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"without a matching answer"_s));
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, u"Save?"_s), QMessageBox::Cancel);
    QCOMPARE(host.unexpectedQuestions(), 2);
    QCOMPARE(host.pendingAnswers(), 1);
}

void TestUiHost::plainAndErrorBoxesNeedNoAnswer()
{
    ScriptedUiHost host;
    MessageBoxes::plain(u"Soubor novinky.txt nebyl nalezen!"_s);
    MessageBoxes::error(u"Cannot open file."_s);

    QCOMPARE(host.unexpectedQuestions(), 0);
    const QList<UiHost::Message> shown = host.messages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(shown[0].title, Application::title());
    QVERIFY(shown[0].centredOnScreen);
    QCOMPARE(shown[1].icon, QMessageBox::Critical);
    QCOMPARE(shown[1].title, Application::title());
    QCOMPARE(shown[1].text, u"Cannot open file."_s);
}

void TestUiHost::fileAndPasswordAnswersInOrder()
{
    ScriptedUiHost host;
    host.answerFile(u"/tmp/letter.docx"_s, u"Word Document (*.docx)"_s);
    host.answerFileCancelled();
    host.answerPassword(u"tajné"_s);
    host.answerPasswordCancelled();

    UiHost::FileQuestion question;
    question.mode = UiHost::FileQuestion::Save;
    question.filters = {u"Word Document (*.docx)"_s, u"Rich Text (*.rtf)"_s};
    question.selectedFilter = question.filters.constLast();
    const UiHost::FileAnswer chosen = UiHost::current().file(nullptr, question);
    QCOMPARE(chosen.fileName, u"/tmp/letter.docx"_s);
    QCOMPARE(chosen.selectedFilter, u"Word Document (*.docx)"_s);
    QVERIFY(UiHost::current().file(nullptr, question).fileName.isEmpty());
    QCOMPARE(UiHost::current().password(nullptr, {u"Protect"_s, u"Password:"_s}),
             std::optional<QString>(u"tajné"_s));
    QCOMPARE(UiHost::current().password(nullptr, {u"Protect"_s, u"Password:"_s}), std::nullopt);

    QCOMPARE(host.questions().size(), 4);
    QCOMPARE(host.questions()[0].kind, ScriptedUiHost::Kind::File);
    QCOMPARE(host.questions()[0].file.filters, question.filters);
    QCOMPARE(host.questions()[0].file.selectedFilter, u"Rich Text (*.rtf)"_s);
    QCOMPARE(host.questions()[3].kind, ScriptedUiHost::Kind::Password);
    QCOMPARE(host.questions()[3].password.label, u"Password:"_s);
    QCOMPARE(host.unexpectedQuestions(), 0);
}

void TestUiHost::qtPlainBoxIsCentredOnTheScreen()
{
    QWidget window;
    window.setGeometry(10, 10, 200, 150);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QRect boxFrame;
    QString boxTitle;
    whenModal([&](QWidget *box) {
        boxFrame = box->frameGeometry();
        boxTitle = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    });
    MessageBoxes::plain(u"Soubor novinky.txt nebyl nalezen!"_s);

    const QPoint screenCentre = window.screen()->availableGeometry().center();
    QVERIFY2((boxFrame.center() - screenCentre).manhattanLength() <= 2,
             qPrintable(u"box at %1,%2"_s.arg(boxFrame.center().x()).arg(boxFrame.center().y())));
    QCOMPARE(boxTitle, Application::title());
}

void TestUiHost::qtWarningClosedWithEscapeIsCancel()
{
    QStringList buttons;
    whenModal([&](QWidget *box) {
        for (const QAbstractButton *button : box->findChildren<QAbstractButton *>())
            buttons.append(button->text().remove(u'&'));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, u"Save?"_s), QMessageBox::Cancel);
    QCOMPARE(buttons.size(), 3);

    whenModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); });
    QCOMPARE(MessageBoxes::warningYesNoCancel(nullptr, u"Save?"_s), QMessageBox::Yes);
}

void TestUiHost::qtSaveDialogAddsSuffixAndReportsFilter()
{
    QTemporaryDir dir;
    UiHost::FileQuestion question;
    question.mode = UiHost::FileQuestion::Save;
    question.directory = dir.path();
    question.filters = {u"Word Document (*.docx)"_s, u"Rich Text (*.rtf)"_s};
    question.selectedFilter = question.filters.constLast();
    question.defaultSuffix = u"rtf"_s;

    QString shownFilter;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        shownFilter = dialog->selectedNameFilter();
        dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(u"letter"_s);
        static_cast<QDialog *>(dialog)->accept();
    });
    QtUiHost host;
    const UiHost::FileAnswer answer = host.file(nullptr, question);

    QCOMPARE(shownFilter, u"Rich Text (*.rtf)"_s);
    QCOMPARE(answer.fileName, dir.filePath(u"letter.rtf"_s));
    QCOMPARE(answer.selectedFilter, u"Rich Text (*.rtf)"_s);

    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QVERIFY(host.file(nullptr, question).fileName.isEmpty());
}

void TestUiHost::qtPasswordPromptHidesTheText()
{
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    whenModal([&](QWidget *modal) {
        auto *edit = modal->findChild<QLineEdit *>();
        echo = edit->echoMode();
        edit->setText(u"secret"_s);
        qobject_cast<QDialog *>(modal)->accept();
    });
    QtUiHost host;
    QCOMPARE(host.password(nullptr, {u"Protect"_s, u"Password:"_s}),
             std::optional<QString>(u"secret"_s));
    QCOMPARE(echo, QLineEdit::Password);

    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QCOMPARE(host.password(nullptr, {u"Protect"_s, u"Password:"_s}), std::nullopt);
}

QTEST_MAIN(TestUiHost)
#include "tst_uihost.moc"
