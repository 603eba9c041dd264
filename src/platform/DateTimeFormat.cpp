#include "platform/DateTimeFormat.h"

using namespace Qt::StringLiterals;

namespace {

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The index just past the quoted text that starts at start, or the pattern's end when the
// quote is not closed.
qsizetype pastQuoted(QStringView pattern, qsizetype start)
{
    const qsizetype close = pattern.indexOf(pattern[start], start + 1);
    return close < 0 ? pattern.size() : close + 1;
}

// The length of the am/pm element at index, or 0 when there is none.
qsizetype amPmLength(QStringView pattern, qsizetype index)
{
    for (QStringView element : {u"am/pm", u"ampm", u"a/p"}) {
        if (pattern.sliced(index).startsWith(element, Qt::CaseInsensitive))
            return element.size();
    }
    return 0;
}

// Whether an am/pm element follows index before the next hour element; the pattern is split
// into elements the way format() splits it.
bool usesTwelveHourClock(QStringView pattern, qsizetype index)
{
    while (index < pattern.size()) {
        const QChar c = pattern[index];
        if (isQuote(c)) {
            index = pastQuoted(pattern, index);
        } else if (amPmLength(pattern, index) > 0) {
            return true;
        } else if (c == u'h' || c == u'H') {
            return false;
        } else {
            ++index;
            while (isAsciiLetter(c) && index < pattern.size() && pattern[index] == c)
                ++index;
        }
    }
    return false;
}

QString number(int value, qsizetype count)
{
    return count >= 2 ? u"%1"_s.arg(value, 2, 10, QChar(u'0')) : QString::number(value);
}

// The first punctuation or symbol between the first field of a QLocale format (one of
// letters) and the next field.
QString separatorAfter(QStringView format, QStringView letters)
{
    qsizetype index = 0;
    while (index < format.size()) {
        if (format[index] == u'\'') {
            index = pastQuoted(format, index);
            continue;
        }
        if (letters.contains(format[index]))
            break;
        ++index;
    }
    while (index < format.size() && letters.contains(format[index]))
        ++index;
    for (; index < format.size(); ++index) {
        const QChar c = format[index];
        if (isAsciiLetter(c) || c == u'\'')
            break;
        if (c.isPunct() || c.isSymbol())
            return QString(c);
    }
    return QString();
}

} // namespace

QString DateTimeFormat::timeSeparator(const QLocale &locale)
{
    const QString separator = separatorAfter(locale.timeFormat(QLocale::ShortFormat), u"hH");
    return separator.isEmpty() ? u":"_s : separator;
}

QString DateTimeFormat::dateSeparator(const QLocale &locale)
{
    const QString separator = separatorAfter(locale.dateFormat(QLocale::ShortFormat), u"dMy");
    return separator.isEmpty() ? u"/"_s : separator;
}

QString DateTimeFormat::format(QStringView pattern, const QDateTime &moment)
{
    return format(pattern, moment, QLocale::system());
}

QString DateTimeFormat::format(QStringView pattern, const QDateTime &moment, const QLocale &locale)
{
    if (!moment.isValid())
        return QString();
    const QDate date = moment.date();
    const QTime time = moment.time();
    const QString timeSeparator = DateTimeFormat::timeSeparator(locale);
    const QString dateSeparator = DateTimeFormat::dateSeparator(locale);

    QString result;
    QChar lastLetter;
    qsizetype index = 0;
    while (index < pattern.size()) {
        const QChar c = pattern[index];
        if (isQuote(c)) {
            const qsizetype close = pattern.indexOf(c, index + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            result += pattern.sliced(index + 1, end - index - 1);
            index = close < 0 ? pattern.size() : close + 1;
            continue;
        }
        if (c == u':' || c == u'/') {
            result += c == u':' ? timeSeparator : dateSeparator;
            ++index;
            continue;
        }
        if (!isAsciiLetter(c)) {
            result += c;
            ++index;
            continue;
        }

        if (const qsizetype length = amPmLength(pattern, index)) {
            const bool morning = time.hour() < 12;
            if (length == 4)
                result += morning ? locale.amText() : locale.pmText();
            else if (length == 5)
                result += pattern.sliced(morning ? index : index + 3, 2);
            else
                result += pattern[morning ? index : index + 2];
            lastLetter = u'A';
            index += length;
            continue;
        }

        qsizetype count = 1;
        while (index + count < pattern.size() && pattern[index + count] == c)
            ++count;
        QChar letter = c.toUpper();
        if (letter == u'M' && lastLetter == u'H' && count <= 2)
            letter = u'N';

        switch (letter.unicode()) {
        case u'Y':
            result += count <= 2 ? u"%1"_s.arg(qAbs(date.year()) % 100, 2, 10, QChar(u'0'))
                                 : u"%1"_s.arg(date.year(), 4, 10, QChar(u'0'));
            break;
        case u'M':
            if (count <= 2)
                result += number(date.month(), count);
            else
                result += locale.standaloneMonthName(
                    date.month(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'D':
            if (count <= 2)
                result += number(date.day(), count);
            else
                result += locale.standaloneDayName(
                    date.dayOfWeek(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'H': {
            int hour = time.hour();
            if (usesTwelveHourClock(pattern, index + count)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            result += number(hour, count);
            break;
        }
        case u'N':
            result += number(time.minute(), count);
            break;
        case u'S':
            result += number(time.second(), count);
            break;
        default:
            result += pattern.sliced(index, count);
            break;
        }
        lastLetter = c.toUpper();
        index += count;
    }
    return result;
}
