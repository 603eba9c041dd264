#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The text of an INI file, held in memory and answered with the rules of Windows
// private-profile reading (GetPrivateProfileStringW into a 2048-character buffer):
//
// - Lines end at CR, LF or CR LF. Each line is trimmed of TAB, LF, VT, FF, CR, space and ^Z;
//   empty lines are skipped.
// - A line starting with '[' that holds a ']' is a section header; the name runs to the last
//   ']' and is trimmed; text after that ']' is ignored. A '[' line without ']' is a key line.
// - Any other line is a key line: the key is the text before the first '=' (trailing blanks
//   removed), the value the text after it (leading blanks removed). A line without '=' is a
//   key without a value, which reads as absent. "key=" is an empty value, not an absent one.
// - There are no comments: ";x" and "#x" are keys that never match ordinary names, and
//   "key=value ; note" reads as "value ; note".
// - Lines before the first section header are unreachable.
// - Section and key names match case-insensitively; blanks around the requested names are
//   ignored; an empty requested section or key gives the default.
// - Of duplicate sections only the first is searched; within it the first matching key wins.
// - One pair of matching outer quotes ("..." or '...') is removed from a value.
// - A value, or the default, longer than 2047 UTF-16 code units is cut to 2047; a high
//   surrogate left alone at the cut is dropped as well.
// - The default loses its trailing spaces (U+0020), as Windows does.
//
// Encodings (fromBytes): FF FE starts UTF-16 LE, FE FF starts UTF-16 BE, EF BB BF starts
// UTF-8; without a byte-order mark the text is UTF-8. Windows would read a file without a
// mark in the ANSI code page and would not skip a UTF-8 mark; we take UTF-8 throughout, so
// Windows-1250 files must be converted. Invalid bytes become U+FFFD.
class IniDocument
{
public:
    static constexpr qsizetype MaxValueLength = 2047;

    IniDocument() = default;

    static IniDocument fromText(QStringView text);
    static IniDocument fromBytes(const QByteArray &bytes);

    // The value of key in section, or defaultValue when the section or key is missing or the
    // key has no value; both prepared as described above.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // The prepared value, or nullopt where readString would give the default.
    std::optional<QString> value(const QString &section, const QString &key) const;

private:
    // Keyed by case-folded key name; a key without '=' maps to nullopt.
    using Entries = QHash<QString, std::optional<QString>>;

    // Keyed by case-folded section name; only the first section of a name is kept.
    QHash<QString, Entries> m_sections;
};
