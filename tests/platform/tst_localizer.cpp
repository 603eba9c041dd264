#include "platform/Exception.h"
#include "platform/Localizer.h"

#include <QFile>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString czechAndEnglish = u"[1029]\r\n"
                                u"ToggleFontBold.Caption=Tučné\r\n"
                                u"Přenést.Caption=Přenést blíž\r\n"
                                u"[1033]\r\n"
                                u"ToggleFontBold.Caption=Bold\r\n"
                                u"Přenést.Caption=Bring Forward\r\n"
                                u"Empty.Caption=\r\n"_s;

QString failureText(const std::function<void()> &step)
{
    try {
        step();
    } catch (const Exception &failure) {
        return failure.message();
    }
    return QString();
}

} // namespace

class TestLocalizer : public QObject
{
    Q_OBJECT

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;

private slots:
    void textsFollowTheLocaleSection();
    void utf16File();
    void missingFileFailsAndStaysInactive();
    void changedSignalsWhatComponentsMustReread();
    void fileIsReadOnceOnActivation();
    void firstLocalizerIsCurrent();
};

void TestLocalizer::textsFollowTheLocaleSection()
{
    Localizer localizer;
    localizer.setFileName(write(u"lang.ini"_s, czechAndEnglish.toUtf8()));
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold!"_s), u"Bold!"_s);

    localizer.setActive(true);
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold!"_s), u"Bold!"_s);
    localizer.setLocale(1029);
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold!"_s), u"Tučné"_s);
    QCOMPARE(localizer.text(u"přenést.caption"_s, u"x"_s), u"Přenést blíž"_s);
    localizer.setLocale(1033);
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold!"_s), u"Bold"_s);
    QCOMPARE(localizer.text(u"Empty.Caption"_s, u"Something"_s), QString());
    // The English text passes unchanged, trailing blanks included.
    QCOMPARE(localizer.text(u"Missing.Caption"_s, u"Font: "_s), u"Font: "_s);
    localizer.setLocale(1031);
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold!"_s), u"Bold!"_s);
}

void TestLocalizer::utf16File()
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    Localizer localizer;
    localizer.setFileName(write(u"lang16.ini"_s, encoder.encode(czechAndEnglish)));
    localizer.setLocale(1029);
    localizer.setActive(true);
    QCOMPARE(localizer.text(u"Přenést.Caption"_s, u"x"_s), u"Přenést blíž"_s);
}

void TestLocalizer::missingFileFailsAndStaysInactive()
{
    Localizer localizer;
    const QString path = m_dir.filePath(u"Lang/lang_cz.ini"_s);
    localizer.setFileName(path);
    localizer.setLocale(1033);
    QSignalSpy changed(&localizer, &Localizer::changed);

    QCOMPARE(failureText([&] { localizer.setActive(true); }),
             u"Cannot open file \"%1\". No such file or directory"_s.arg(path));
    QVERIFY(!localizer.isActive());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(localizer.text(u"ToggleFontBold.Caption"_s, u"Bold"_s), u"Bold"_s);

    // Switching on again tries again, and fails the same way.
    QCOMPARE(failureText([&] { localizer.setActive(true); }),
             u"Cannot open file \"%1\". No such file or directory"_s.arg(path));

    localizer.setFileName(m_dir.path());
    QCOMPARE(failureText([&] { localizer.setActive(true); }),
             u"Cannot open file \"%1\". file to open is a directory"_s.arg(m_dir.path()));
}

void TestLocalizer::changedSignalsWhatComponentsMustReread()
{
    const QString first = write(u"first.ini"_s, "[1033]\nk=first\n");
    const QString second = write(u"second.ini"_s, "[1033]\nk=second\n");
    Localizer localizer;
    QSignalSpy changed(&localizer, &Localizer::changed);

    localizer.setFileName(first);
    localizer.setLocale(1033);
    QCOMPARE(changed.count(), 0); // nothing the components show has changed yet
    localizer.setActive(true);
    QCOMPARE(changed.count(), 1);
    localizer.setLocale(1029);
    localizer.setLocale(1029);
    QCOMPARE(changed.count(), 2);
    localizer.setLocale(1033);
    QCOMPARE(changed.count(), 3);

    // The same settings again change nothing (the start-up profile runs twice).
    localizer.setFileName(first);
    localizer.setActive(true);
    QCOMPARE(changed.count(), 3);

    localizer.setFileName(second);
    QCOMPARE(changed.count(), 4);
    QCOMPARE(localizer.text(u"k"_s, u"english"_s), u"second"_s);

    // A file that cannot be opened leaves everything as it was.
    const QString missing = m_dir.filePath(u"missing.ini"_s);
    QVERIFY(!failureText([&] { localizer.setFileName(missing); }).isEmpty());
    QCOMPARE(localizer.fileName(), second);
    QVERIFY(localizer.isActive());
    QCOMPARE(localizer.text(u"k"_s, u"english"_s), u"second"_s);
    QCOMPARE(changed.count(), 4);

    localizer.setActive(false);
    QCOMPARE(changed.count(), 5);
    QCOMPARE(localizer.text(u"k"_s, u"english"_s), u"english"_s);
    localizer.setFileName(missing); // inactive: nothing is read yet
    QCOMPARE(changed.count(), 5);
}

void TestLocalizer::fileIsReadOnceOnActivation()
{
    const QString path = write(u"once.ini"_s, "[1033]\nk=kept\n");
    Localizer localizer;
    localizer.setFileName(path);
    localizer.setLocale(1033);
    localizer.setActive(true);

    QVERIFY(QFile::remove(path));
    QCOMPARE(localizer.text(u"k"_s, u"english"_s), u"kept"_s);

    write(u"once.ini"_s, "[1033]\nk=new\n");
    localizer.setActive(false);
    localizer.setActive(true);
    QCOMPARE(localizer.text(u"k"_s, u"english"_s), u"new"_s);
}

void TestLocalizer::firstLocalizerIsCurrent()
{
    QCOMPARE(Localizer::translate(u"k"_s, u"english"_s), u"english"_s);
    auto first = std::make_unique<Localizer>();
    Localizer second;
    QCOMPARE(Localizer::current(), first.get());

    first->setFileName(write(u"current.ini"_s, "[1033]\nk=from file\n"));
    first->setLocale(1033);
    first->setActive(true);
    QCOMPARE(Localizer::translate(u"k"_s, u"english"_s), u"from file"_s);

    first.reset();
    QCOMPARE(Localizer::current(), nullptr);
    QCOMPARE(Localizer::translate(u"k"_s, u"english"_s), u"english"_s);
}

QTEST_GUILESS_MAIN(TestLocalizer)
#include "tst_localizer.moc"
