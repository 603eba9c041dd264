#include "platform/DateTimeFormat.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute, int second, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms));
}

// Friday 9 January 2026, 14:05:07, with milliseconds that must not round the seconds up.
const QDateTime friday = at(2026, 1, 9, 14, 5, 7, 999);

} // namespace

class TestDateTimeFormat : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void separators_data();
    void separators();
    void systemLocaleIsTheDefault();
};

void TestDateTimeFormat::format_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    // The date and time dialog's thirteen lines and the two quick patterns.
    const struct
    {
        const char *pattern;
        const char16_t *english;
    } lines[] = {
        {"yyyy-mm-dd", u"2026-01-09"},
        {"yyyy-m-d", u"2026-1-9"},
        {"yyyy \"rok\" mm \"měsíc\" dd \"den\"", u"2026 rok 01 měsíc 09 den"},
        {"yyyy \"rok\" mm \"měsíc\" dd \"den\" ddd", u"2026 rok 01 měsíc 09 den Fri"},
        {"yyyy \"rok\" mm \"měsíc\" dd \"den\" dddd", u"2026 rok 01 měsíc 09 den Friday"},
        {"yyyy, mmm, dd, ddd", u"2026, Jan, 09, Fri"},
        {"hh-mm-ss", u"14-05-07"},
        {"yyyy, mmm, dd, dddd", u"2026, Jan, 09, Friday"},
        {"yyyy-mm-dd h:n:s a/p", u"2026-01-09 2:5:7 p"},
        {"mm-dd-yyyy", u"01-09-2026"},
        {"m-d-yyyy", u"1-9-2026"},
        {"mmm, dd, yyyy", u"Jan, 09, 2026"},
        {"mmmm, d, yyyy", u"January, 9, 2026"},
        {"dd.mm.yyyy", u"09.01.2026"},
        {"hh:nn:ss", u"14:05:07"},
    };
    for (const auto &line : lines) {
        QTest::addRow("en %s", line.pattern) << "en_US" << friday << QString::fromUtf8(line.pattern)
                                             << QString::fromUtf16(line.english);
    }

    QTest::newRow("quick date, March") << "en_US" << at(2026, 3, 5, 9, 4, 3) << "dd.mm.yyyy"
                                       << "05.03.2026";
    QTest::newRow("quick time, March") << "en_US" << at(2026, 3, 5, 9, 4, 3) << "hh:nn:ss"
                                       << "09:04:03";

    // Czech names, with the quoted words unchanged.
    QTest::newRow("cs short day") << "cs_CZ" << friday
                                  << u"yyyy \"rok\" mm \"měsíc\" dd \"den\" ddd"_s
                                  << u"2026 rok 01 měsíc 09 den pá"_s;
    QTest::newRow("cs long day") << "cs_CZ" << friday << "yyyy, mmm, dd, dddd"
                                 << u"2026, led, 09, pátek"_s;
    QTest::newRow("cs long month") << "cs_CZ" << friday << "mmmm, d, yyyy"
                                   << "leden, 9, 2026";

    // A full stop as the time separator changes ':' and nothing else.
    QTest::newRow("fi quick time") << "fi_FI" << friday << "hh:nn:ss"
                                   << "14.05.07";
    QTest::newRow("fi hyphens kept") << "fi_FI" << friday << "hh-mm-ss"
                                     << "14-05-07";

    // The 12-hour clock.
    QTest::newRow("midnight is 12 a")
        << "en_US" << at(2026, 1, 9, 0, 30, 0) << "yyyy-mm-dd h:n:s a/p"
        << "2026-01-09 12:30:0 a";
    QTest::newRow("noon is 12 p") << "en_US" << at(2026, 1, 9, 12, 0, 9) << "yyyy-mm-dd h:n:s a/p"
                                  << "2026-01-09 12:0:9 p";
    QTest::newRow("a/p in written case") << "en_US" << friday << "h A/P, h a/P"
                                         << "2 P, 2 P";
    QTest::newRow("am/pm in written case") << "en_US" << at(2026, 1, 9, 9, 0, 0) << "hh AM/pm"
                                           << "09 AM";
    QTest::newRow("ampm is the locale's") << "cs_CZ" << friday << "h ampm" << u"2 odp."_s;
    QTest::newRow("only the hour before a/p") << "en_US" << friday << "h a/p h"
                                              << "2 p 14";
    QTest::newRow("quoted a/p is text") << "en_US" << friday << "h \"a/p\""
                                        << "14 a/p";
    QTest::newRow("aa/p is no element") << "en_US" << friday << "h aa/p"
                                        << "14 aa/p";

    // Month or minutes.
    QTest::newRow("mm after hh is minutes") << "en_US" << friday << "hh:mm"
                                            << "14:05";
    QTest::newRow("quoted text keeps the link") << "en_US" << friday << "h\"dd\"m"
                                                << "14dd5";
    QTest::newRow("another letter breaks it") << "en_US" << friday << "h d m"
                                              << "14 9 1";
    QTest::newRow("mmm after h is a name") << "en_US" << friday << "h mmm"
                                           << "14 Jan";
    QTest::newRow("upper case is the same") << "en_US" << friday << "DD.MM.YYYY HH:MM:SS"
                                            << "09.01.2026 14:05:07";

    // Other forms and characters.
    QTest::newRow("two-digit year") << "en_US" << at(2005, 1, 9, 0, 0, 0) << "yy y"
                                    << "05 05";
    QTest::newRow("longer runs") << "en_US" << friday << "ddddd mmmmm hhh"
                                 << "Friday January 14";
    QTest::newRow("date separator") << "en_US" << friday << "m/d/yyyy"
                                    << "1/9/2026";
    QTest::newRow("German date separator") << "de_DE" << friday << "dd/mm/yyyy"
                                           << "09.01.2026";
    QTest::newRow("single quotes") << "en_US" << friday << "'day' d"
                                   << "day 9";
    QTest::newRow("unclosed quote") << "en_US" << friday << "yyyy \"d"
                                    << "2026 d";
    QTest::newRow("other letters copied") << "en_US" << friday << "Q1 T x"
                                          << "Q1 T x";
    QTest::newRow("empty pattern") << "en_US" << friday << ""
                                   << "";
    QTest::newRow("invalid moment") << "en_US" << QDateTime() << "dd.mm.yyyy"
                                    << "";
}

void TestDateTimeFormat::format()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(DateTimeFormat::format(pattern, moment, QLocale(locale)), expected);
}

void TestDateTimeFormat::separators_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");

    QTest::newRow("en_US") << "en_US"
                           << ":"
                           << "/";
    QTest::newRow("cs_CZ") << "cs_CZ"
                           << ":"
                           << ".";
    QTest::newRow("fi_FI") << "fi_FI"
                           << "."
                           << ".";
    QTest::newRow("sv_SE") << "sv_SE"
                           << ":"
                           << "-";
    QTest::newRow("ko_KR, hour after AM/PM") << "ko_KR"
                                             << ":"
                                             << ".";
    QTest::newRow("fr_CA, quoted text between") << "fr_CA"
                                                << ":"
                                                << "-";
    QTest::newRow("ar_EG, marks around the slash") << "ar_EG"
                                                   << ":"
                                                   << "/";
}

void TestDateTimeFormat::separators()
{
    QFETCH(QString, locale);
    QFETCH(QString, time);
    QFETCH(QString, date);
    QCOMPARE(DateTimeFormat::timeSeparator(QLocale(locale)), time);
    QCOMPARE(DateTimeFormat::dateSeparator(QLocale(locale)), date);
}

void TestDateTimeFormat::systemLocaleIsTheDefault()
{
    const QString pattern = u"dddd, mmmm d, yyyy hh:nn:ss"_s;
    QCOMPARE(DateTimeFormat::format(pattern, friday),
             DateTimeFormat::format(pattern, friday, QLocale::system()));
}

QTEST_GUILESS_MAIN(TestDateTimeFormat)
#include "tst_datetimeformat.moc"
