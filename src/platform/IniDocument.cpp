#include "platform/IniDocument.h"

#include <QStringDecoder>

namespace {

// The blanks GetPrivateProfileString trims: TAB, LF, VT, FF, CR, space and ^Z (a DOS end of
// file mark, found in old files).
bool isProfileSpace(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

QStringView trimmedLeft(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isProfileSpace(text[begin]))
        ++begin;
    return text.mid(begin);
}

QStringView trimmedRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isProfileSpace(text[end - 1]))
        --end;
    return text.first(end);
}

QStringView trimmed(QStringView text)
{
    return trimmedRight(trimmedLeft(text));
}

QString foldedName(QStringView name)
{
    return trimmed(name).toString().toCaseFolded();
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.sliced(1, value.size() - 2);
    }
    return value;
}

// Windows copies at most 2047 code units into its buffer; dropping a high surrogate cut from
// its partner avoids handing out a broken character.
QString limited(QString text)
{
    if (text.size() > IniDocument::MaxValueLength) {
        text.truncate(IniDocument::MaxValueLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

QString decoded(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    // The byte-order mark has been removed already; a second one is content.
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return fromText(decoded(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16LE));
    if (bytes.startsWith("\xFE\xFF"))
        return fromText(decoded(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16BE));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return fromText(decoded(QByteArrayView(bytes).sliced(3), QStringConverter::Utf8));
    return fromText(decoded(bytes, QStringConverter::Utf8));
}

IniDocument IniDocument::fromText(QStringView text)
{
    IniDocument document;
    // Null while outside a section that can be reached: before the first header, or in a
    // repeated section whose name an earlier one already holds.
    Entries *entries = nullptr;

    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < text.size() && text[lineEnd] != u'\r' && text[lineEnd] != u'\n')
            ++lineEnd;
        const QStringView line = trimmed(text.sliced(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (line.isEmpty())
            continue;

        if (line.front() == u'[') {
            const qsizetype close = line.lastIndexOf(u']');
            if (close > 0) {
                const QString name = foldedName(line.sliced(1, close - 1));
                entries = document.m_sections.contains(name) ? nullptr : &document.m_sections[name];
                continue;
            }
        }

        if (!entries)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = foldedName(equals < 0 ? line : line.first(equals));
        if (entries->contains(key))
            continue;
        if (equals < 0)
            entries->insert(key, std::nullopt);
        else
            entries->insert(key, trimmedLeft(line.sliced(equals + 1)).toString());
    }
    return document;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const QString sectionName = foldedName(section);
    const QString keyName = foldedName(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return std::nullopt;
    const auto entries = m_sections.constFind(sectionName);
    if (entries == m_sections.constEnd())
        return std::nullopt;
    const auto entry = entries->constFind(keyName);
    if (entry == entries->constEnd() || !entry->has_value())
        return std::nullopt;
    return limited(unquoted(**entry));
}

QString IniDocument::readString(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    if (std::optional<QString> found = value(section, key))
        return *std::move(found);

    qsizetype end = defaultValue.size();
    while (end > 0 && defaultValue[end - 1] == u' ')
        --end;
    return limited(defaultValue.first(end));
}
