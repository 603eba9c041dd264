#pragma once

#include <QByteArray>
#include <QString>

namespace formats {

// One piece of RTF: a group brace, a control word or symbol with its
// parameter, a run of plain text, a \'hh byte or the data of \binN.
struct RtfToken
{
    enum Type
    {
        GroupStart,
        GroupEnd,
        Control, // word or symbol ("*", "~", "-", "_", "\n")
        Text,
        HexByte,
        Binary,
        End,
        Error
    };
    Type type = End;
    QByteArray word;
    int parameter = 0;
    bool hasParameter = false;
    QByteArray data; // Text, HexByte (one byte), Binary
};

// Splits RTF into tokens without interpreting them. Line breaks in the
// source are not text; a \binN larger than what is left is an error.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(const QByteArray &bytes) : m_bytes(bytes) {}
    // The next token; End at the end of the bytes, Error with error().
    RtfToken next();
    QString error() const { return m_error; }
    qsizetype offset() const { return m_pos; }

private:
    RtfToken fail(const QString &message);
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    QString m_error;
};

} // namespace formats
