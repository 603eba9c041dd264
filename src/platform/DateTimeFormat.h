#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

// Formats a moment by a pattern in the pattern language of the program's date and time
// commands. A pattern is read from left to right; a run of one letter repeated in the same
// case is one element, its length selects the form, and upper and lower case mean the same:
//
//   y, yy        year, two digits         yyy, yyyy  year, four digits
//   m            month 1-12               mm         month 01-12
//   mmm          short month name         mmmm       long month name
//   d            day 1-31                 dd         day 01-31
//   ddd          short day name           dddd       long day name
//   h, n, s      hour, minute, second     hh, nn, ss the same with two digits
//   a/p          "a" before noon, "p" after, each in the case written in the pattern
//   am/pm        "am" or "pm", in the case written   ampm  the locale's AM or PM text
//   :            the locale's time separator    /  the locale's date separator
//   "text", 'text'  the text without the quotes; an unclosed quote runs to the end
//
// Longer runs take the longest form. An m or mm whose nearest preceding letter outside quotes
// is an h means minutes ("hh-mm-ss"). An hour is on the 12-hour clock (0 becomes 12) when an
// a/p, am/pm or ampm element follows it before the next hour element. Seconds drop the
// milliseconds. Any other character, including letters that are no element, is copied.
//
// Names are the locale's stand-alone month and day names (Czech "leden", not "ledna"), as the
// system's regional settings list them. An invalid moment gives an empty text.
class DateTimeFormat
{
public:
    // With the names and separators of QLocale::system().
    static QString format(QStringView pattern, const QDateTime &moment);
    static QString format(QStringView pattern, const QDateTime &moment, const QLocale &locale);

    // The separators the locale's own short formats use, ":" and "/" when they show none.
    static QString timeSeparator(const QLocale &locale);
    static QString dateSeparator(const QLocale &locale);
};
