#include "platform/Application.h"
#include "platform/ErrorReport.h"
#include "platform/Exception.h"
#include "platform/ScriptedUiHost.h"

#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const QEvent::Type failingEvent = QEvent::Type(QEvent::User + 1);

// Throws from its event handler, as a handler of the program would.
class FailingObject : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == failingEvent)
            throw Exception(u"Cannot open the file"_s);
        if (event->type() == QEvent::Type(failingEvent + 1))
            throw std::runtime_error("Unexpected failure");
        return QObject::event(event);
    }
};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void displayText_data();
    void displayText();
    void exceptionCarriesItsMessage();
    void titleFor_data();
    void titleFor();
    void runningExecutable();
    void failuresFromHandlersAreReported();
    void eventLoopGoesOnAfterAFailure();
    void clickHandlerFailureLeavesButtonUsable();
};

void TestApplication::displayText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("letter") << "File not found"
                            << "File not found.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("closing parenthesis") << "List index out of bounds (-1)"
                                         << "List index out of bounds (-1)";
    QTest::newRow("exclamation mark")
        << u"Soubor novinky.txt nebyl nalezen!"_s << u"Soubor novinky.txt nebyl nalezen!"_s;
    QTest::newRow("quotation mark") << "Cannot open \"x\""
                                    << "Cannot open \"x\"";
    QTest::newRow("comma, hyphen, space") << "a, b -, "
                                          << "a, b -, ";
    QTest::newRow("question mark sorts after") << "Really?"
                                               << "Really?.";
    QTest::newRow("digit") << "Error 5"
                           << "Error 5.";
    QTest::newRow("slash") << "path/"
                           << "path/.";
    QTest::newRow("colon") << "Reason:"
                           << "Reason:.";
    QTest::newRow("non-ASCII") << u"Chyba č"_s << u"Chyba č."_s;
    QTest::newRow("surrogate pair") << u"Smile \U0001F600"_s << u"Smile \U0001F600."_s;
}

void TestApplication::displayText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorReport::displayText(message), shown);
}

void TestApplication::exceptionCarriesItsMessage()
{
    const Exception failure(u"Soubor „x“ nelze otevřít"_s);
    QCOMPARE(failure.message(), u"Soubor „x“ nelze otevřít"_s);
    QCOMPARE(QString::fromUtf8(failure.what()), failure.message());
    const std::exception &general = failure;
    QCOMPARE(QString::fromUtf8(general.what()), failure.message());
}

void TestApplication::titleFor_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");

    QTest::newRow("no extension") << "/usr/bin/MarlixEditor"
                                  << "MarlixEditor";
    QTest::newRow("cut at first full stop") << "/opt/m/Marlix.Editor.bin"
                                            << "Marlix";
    QTest::newRow("dots in folder ignored") << "/home/a.b/c.d/MarlixEditor"
                                            << "MarlixEditor";
    QTest::newRow("relative") << "build/MarlixEditor.exe"
                              << "MarlixEditor";
    QTest::newRow("leading full stop") << "/tmp/.hidden"
                                       << "";
    QTest::newRow("name only") << "Marlix Editor.x"
                               << "Marlix Editor";
}

void TestApplication::titleFor()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(Application::titleFor(path), title);
}

void TestApplication::runningExecutable()
{
    QCOMPARE(Application::title(), u"tst_platform_application"_s);
    const QString folder = Application::executableFolder();
    QVERIFY(folder.endsWith(u'/'));
    QCOMPARE(QFileInfo(folder + Application::title()).canonicalFilePath(),
             QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

void TestApplication::failuresFromHandlersAreReported()
{
    ScriptedUiHost host;
    FailingObject object;

    QEvent first(failingEvent);
    QVERIFY(!QCoreApplication::sendEvent(&object, &first));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::Type(failingEvent + 1)));
    QCoreApplication::processEvents();

    const QList<UiHost::Message> shown = host.messages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, u"Cannot open the file."_s);
    QCOMPARE(shown[0].title, u"tst_platform_application"_s);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(shown[1].text, u"Unexpected failure."_s);
    QCOMPARE(host.unexpectedQuestions(), 0);
}

void TestApplication::eventLoopGoesOnAfterAFailure()
{
    ScriptedUiHost host;
    QEventLoop loop;
    bool ranAfter = false;
    QTimer::singleShot(0, [] { throw Exception(u"Timer failed"_s); });
    QTimer::singleShot(0, [&] {
        ranAfter = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();

    QVERIFY(ranAfter);
    QCOMPARE(host.messages().size(), 1);
    QCOMPARE(host.messages().constFirst().text, u"Timer failed."_s);
}

void TestApplication::clickHandlerFailureLeavesButtonUsable()
{
    ScriptedUiHost host;
    QPushButton button(u"Go"_s);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        throw Exception(u"List index out of bounds (-1)"_s);
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));

    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);

    QCOMPARE(clicks, 2);
    QVERIFY(!button.isDown());
    QCOMPARE(host.messages().size(), 2);
    QCOMPARE(host.messages().constLast().text, u"List index out of bounds (-1)"_s);
}

int main(int argc, char **argv)
{
    Application application(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
