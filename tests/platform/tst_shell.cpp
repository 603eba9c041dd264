#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Stands in for the desktop: records what it was asked to open.
class Desktop : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileReachesTheDesktopAsItsOwnPath();
    void relativeFileIsTakenFromTheCurrentFolder();
    void webAddressReachesTheDesktop();
    void emptyOrRelativeTargetsAreRefused();

private:
    Desktop m_desktop;
};

void TestShell::init()
{
    m_desktop.opened.clear();
    QDesktopServices::setUrlHandler(u"file"_s, &m_desktop, "open");
    QDesktopServices::setUrlHandler(u"https"_s, &m_desktop, "open");
}

void TestShell::cleanup()
{
    QDesktopServices::unsetUrlHandler(u"file"_s);
    QDesktopServices::unsetUrlHandler(u"https"_s);
}

void TestShell::fileReachesTheDesktopAsItsOwnPath()
{
    const QString path = u"/tmp/Marlix notes/novinky #1 50%.txt"_s;
    QVERIFY(Shell::openFile(path));
    QCOMPARE(m_desktop.opened.size(), 1);
    QVERIFY(m_desktop.opened[0].isLocalFile());
    QVERIFY(!m_desktop.opened[0].hasFragment());
    QCOMPARE(m_desktop.opened[0].toLocalFile(), path);
}

void TestShell::relativeFileIsTakenFromTheCurrentFolder()
{
    QVERIFY(Shell::openFile(u"novinky.txt"_s));
    QCOMPARE(m_desktop.opened.value(0).toLocalFile(), QDir::current().filePath(u"novinky.txt"_s));
}

void TestShell::webAddressReachesTheDesktop()
{
    const QUrl home(u"https://marlix.example/editor?lang=en#news"_s);
    QVERIFY(Shell::openUrl(home));
    QCOMPARE(m_desktop.opened, QList<QUrl>{home});
}

void TestShell::emptyOrRelativeTargetsAreRefused()
{
    QVERIFY(!Shell::openFile(QString()));
    QVERIFY(!Shell::openUrl(QUrl()));
    QVERIFY(!Shell::openUrl(QUrl(u"marlix.example/editor"_s)));
    QVERIFY(m_desktop.opened.isEmpty());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
