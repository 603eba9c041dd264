#include "platform/IniDocument.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// The fixture of Wine's GetPrivateProfileString conformance test, which runs on Windows.
const QByteArray wineFixture = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\n"
                               "name4=a\r\n[section2]\r\n";

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

int openFileCount()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::Files | QDir::System).size());
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(u"case%1.ini"_s.arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void readString_data();
    void readString();
    void longValuesAreCutTo2047();
    void missingFileGivesDefault();
    void everyReadOpensAndReleasesTheFile();
    void oddBytesNeverCrash();
};

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    // Wine's table, asserted there against Windows.
    QTest::newRow("plain") << wineFixture << "section1"
                           << "name1"
                           << "default"
                           << "val1";
    QTest::newRow("key case") << wineFixture << "section1"
                              << "NaMe1"
                              << "default"
                              << "val1";
    QTest::newRow("section case") << wineFixture << "SECTION1"
                                  << "name1"
                                  << "default"
                                  << "val1";
    QTest::newRow("quotes stripped") << wineFixture << "section1"
                                     << "name2"
                                     << "default"
                                     << "val2";
    QTest::newRow("one character") << wineFixture << "section1"
                                   << "name4"
                                   << "default"
                                   << "a";
    QTest::newRow("missing key") << wineFixture << "section1"
                                 << "notakey"
                                 << "default"
                                 << "default";
    QTest::newRow("missing section") << wineFixture << "notasection"
                                     << "name1"
                                     << "default"
                                     << "default";
    QTest::newRow("empty key, default blanks cut") << wineFixture << "section1"
                                                   << ""
                                                   << "default  "
                                                   << "default";
    QTest::newRow("empty section") << wineFixture << ""
                                   << "name1"
                                   << "default"
                                   << "default";
    QTest::newRow("empty section in file") << wineFixture << "section2"
                                           << "DoesntExist"
                                           << ""
                                           << "";
    QTest::newRow("key without =") << wineFixture << "section1"
                                   << "name3"
                                   << "default"
                                   << "default";
    QTest::newRow("requested names trimmed") << wineFixture << "  section1 "
                                             << "\tname1  "
                                             << "default"
                                             << "val1";
    QTest::newRow("only trailing spaces of default cut") << wineFixture << "section1"
                                                         << "x"
                                                         << "  one two \t  "
                                                         << "  one two \t";

    // Lines and whitespace.
    QTest::newRow("CR only") << QByteArray("[s]\rk=v\rk2=w\r") << "s"
                             << "k2"
                             << ""
                             << "w";
    QTest::newRow("LF only") << QByteArray("[s]\nk=v\nk2=w") << "s"
                             << "k2"
                             << ""
                             << "w";
    QTest::newRow("blanks around key and value")
        << QByteArray("[s]\r\n  key  =   a b c   \r\n") << "s"
        << "key"
        << ""
        << "a b c";
    QTest::newRow("tabs and ^Z") << QByteArray("\t[s]\t\n\tkey\t=\tv\t\x1a\n") << "s"
                                 << "key"
                                 << ""
                                 << "v";
    QTest::newRow("empty value is not absent") << QByteArray("[s]\nkey=\n") << "s"
                                               << "key"
                                               << "default"
                                               << "";
    QTest::newRow("value keeps further =") << QByteArray("[s]\nk=a=b = c\n") << "s"
                                           << "k"
                                           << ""
                                           << "a=b = c";
    QTest::newRow("no inline comments") << QByteArray("[s]\nk=value ; note\n") << "s"
                                        << "k"
                                        << ""
                                        << "value ; note";
    QTest::newRow("; line is a key") << QByteArray("[s]\n;k=x\nk=y\n") << "s"
                                     << "k"
                                     << ""
                                     << "y";
    QTest::newRow("# line is a key") << QByteArray("[s]\n#k=x\n") << "s"
                                     << "#k"
                                     << ""
                                     << "x";
    QTest::newRow("before first section") << QByteArray("k=x\n[s]\n") << ""
                                          << "k"
                                          << "d"
                                          << "d";
    QTest::newRow("duplicate key, first wins") << QByteArray("[s]\nk=1\nK=2\n") << "s"
                                               << "k"
                                               << ""
                                               << "1";
    QTest::newRow("first key has no value") << QByteArray("[s]\nk\nk=2\n") << "s"
                                            << "k"
                                            << "d"
                                            << "d";
    QTest::newRow("duplicate section, only first searched")
        << QByteArray("[s]\na=1\n[t]\n[S]\nb=2\n") << "s"
        << "b"
        << "d"
        << "d";
    QTest::newRow("duplicate section, first answers") << QByteArray("[s]\na=1\n[S]\na=2\n") << "s"
                                                      << "a"
                                                      << ""
                                                      << "1";
    QTest::newRow("header with blanks") << QByteArray("[  sec  ]\nk=v\n") << "sec"
                                        << "k"
                                        << ""
                                        << "v";
    QTest::newRow("header with trailing text") << QByteArray("[sec] junk\nk=v\n") << "sec"
                                               << "k"
                                               << ""
                                               << "v";
    QTest::newRow("header runs to last ]") << QByteArray("[a]b]\nk=v\n") << "a]b"
                                           << "k"
                                           << ""
                                           << "v";
    QTest::newRow("[ without ] is a key line") << QByteArray("[s]\n[t\nk=v\n") << "s"
                                               << "k"
                                               << ""
                                               << "v";
    QTest::newRow("key is not in next section") << QByteArray("[s]\n[t]\nk=v\n") << "s"
                                                << "k"
                                                << "d"
                                                << "d";

    // Quotes: one matching outer pair, nothing else.
    QTest::newRow("single quotes") << QByteArray("[s]\nk='x y'\n") << "s"
                                   << "k"
                                   << ""
                                   << "x y";
    QTest::newRow("unmatched quotes") << QByteArray("[s]\nk='x\"\n") << "s"
                                      << "k"
                                      << ""
                                      << "'x\"";
    QTest::newRow("opening quote only") << QByteArray("[s]\nk=\"abc\n") << "s"
                                        << "k"
                                        << ""
                                        << "\"abc";
    QTest::newRow("lone quote") << QByteArray("[s]\nk=\"\n") << "s"
                                << "k"
                                << ""
                                << "\"";
    QTest::newRow("empty quotes") << QByteArray("[s]\nk=\"\"\n") << "s"
                                  << "k"
                                  << "d"
                                  << "";
    QTest::newRow("only outer pair") << QByteArray("[s]\nk=\"\"x\"\"\n") << "s"
                                     << "k"
                                     << ""
                                     << "\"x\"";
    QTest::newRow("inner quotes literal") << QByteArray("[s]\nk=a \"b\" c\n") << "s"
                                          << "k"
                                          << ""
                                          << "a \"b\" c";

    // Encodings and names outside ASCII.
    const QString czech = u"[en]\r\nbRozlozeníStrankyPrenestBliz=Bring Forward\r\n"
                          u"SaveChanges=Uložit změny?\r\n"_s;
    QTest::newRow("UTF-8, key with í")
        << czech.toUtf8() << "en" << u"bRozlozeníStrankyPrenestBliz"_s << ""
        << "Bring Forward";
    QTest::newRow("UTF-8, plain i does not match") << czech.toUtf8() << "en"
                                                   << "bRozlozeniStrankyPrenestBliz"
                                                   << "d"
                                                   << "d";
    QTest::newRow("UTF-8, Í matches í")
        << czech.toUtf8() << "EN" << u"BROZLOZENÍSTRANKYPRENESTBLIZ"_s << ""
        << "Bring Forward";
    QTest::newRow("UTF-8 with BOM, section on line 1")
        << QByteArray("\xEF\xBB\xBF") + czech.toUtf8() << "en"
        << "SaveChanges"
        << "" << u"Uložit změny?"_s;
    QTest::newRow("UTF-16 LE with BOM") << utf16(czech, QStringConverter::Utf16LE) << "en"
                                        << u"bRozlozeníStrankyPrenestBliz"_s << ""
                                        << "Bring Forward";
    QTest::newRow("UTF-16 LE value") << utf16(czech, QStringConverter::Utf16LE) << "en"
                                     << "SaveChanges"
                                     << "" << u"Uložit změny?"_s;
    QTest::newRow("UTF-16 BE with BOM") << utf16(czech, QStringConverter::Utf16BE) << "en"
                                        << "SaveChanges"
                                        << "" << u"Uložit změny?"_s;
    QTest::newRow("second BOM is content")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=v\n") << "s"
        << "k"
        << "d"
        << "d";
    QTest::newRow("Windows-1250 bytes, ASCII key still found")
        << QByteArray("[s]\nk=Ulo\x9Eit\nj=x\n") << "s"
        << "j"
        << ""
        << "x";
    QTest::newRow("BOM only") << QByteArray("\xFF\xFE") << "s"
                              << "k"
                              << "d"
                              << "d";
    QTest::newRow("empty file") << QByteArray() << "s"
                                << "k"
                                << "d"
                                << "d";
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    QCOMPARE(IniFile(write(content)).readString(section, key, defaultValue), expected);
}

void TestIniFile::longValuesAreCutTo2047()
{
    const QString value = QString(2046, u'x') + u"yz"_s + QString(952, u'w');
    const QString withPair = QString(2046, u'x') + u"\U0001F600"_s + u"tail"_s;
    QByteArray content = "[s]\nlong=" + value.toUtf8() + "\nquoted=\"" + value.toUtf8() +
                         "\"\nfits=" + QByteArray(2047, 'a') + "\npair=" + withPair.toUtf8() + "\n";
    const IniFile file(write(content));

    QCOMPARE(file.readString(u"s"_s, u"long"_s, {}), value.first(2047));
    QCOMPARE(file.readString(u"s"_s, u"quoted"_s, {}), value.first(2047));
    QCOMPARE(file.readString(u"s"_s, u"fits"_s, {}), QString(2047, u'a'));
    // The cut would fall between the two halves of a surrogate pair.
    QCOMPARE(file.readString(u"s"_s, u"pair"_s, {}), QString(2046, u'x'));
    QCOMPARE(file.readString(u"s"_s, u"missing"_s, value), value.first(2047));
}

void TestIniFile::missingFileGivesDefault()
{
    QCOMPARE(IniFile(m_dir.filePath(u"absent.ini"_s)).readString(u"s"_s, u"k"_s, u"d "_s), u"d"_s);
    QCOMPARE(IniFile(QString()).readString(u"s"_s, u"k"_s, u"d"_s), u"d"_s);
    QCOMPARE(IniFile(m_dir.path()).readString(u"s"_s, u"k"_s, u"d"_s), u"d"_s);
}

void TestIniFile::everyReadOpensAndReleasesTheFile()
{
    const QString path = write("[s]\nk=first\n");
    const IniFile file(path);
    const int before = openFileCount();
    QCOMPARE(file.readString(u"s"_s, u"k"_s, {}), u"first"_s);
    QCOMPARE(openFileCount(), before);

    QFile rewrite(path);
    QVERIFY(rewrite.open(QIODevice::WriteOnly | QIODevice::Truncate));
    rewrite.write("[s]\nk=second\n");
    rewrite.close();
    QCOMPARE(file.readString(u"s"_s, u"k"_s, {}), u"second"_s);
}

void TestIniFile::oddBytesNeverCrash()
{
    // Fragments that steer the parser and the decoders into their corners.
    const QList<QByteArray> pieces = {"[",
                                      "]",
                                      "=",
                                      "\r",
                                      "\n",
                                      " ",
                                      "\t",
                                      "\"",
                                      "'",
                                      "\x1a",
                                      QByteArray(1, '\0'),
                                      "\xFF\xFE",
                                      "\xFE\xFF",
                                      "\xEF\xBB\xBF",
                                      "\xD8",
                                      "\xDC",
                                      "\xC3",
                                      "\xA9",
                                      "k",
                                      "s",
                                      "v"};
    QRandomGenerator random(20260109);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int count = random.bounded(40);
        for (int i = 0; i < count; ++i)
            bytes += pieces[random.bounded(int(pieces.size()))];
        const IniDocument document = IniDocument::fromBytes(bytes);
        const QString value = document.readString(u"s"_s, u"k"_s, u"d"_s);
        QVERIFY(value.size() <= bytes.size() + 1);
    }
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
