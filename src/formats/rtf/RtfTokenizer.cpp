#include "RtfTokenizer.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

namespace formats {

static bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

static bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

static int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken RtfTokenizer::fail(const QString &message)
{
    m_error = message;
    RtfToken t;
    t.type = RtfToken::Error;
    return t;
}

RtfToken RtfTokenizer::next()
{
    RtfToken t;
    const qsizetype size = m_bytes.size();
    const char *b = m_bytes.constData();
    while (m_pos < size && (b[m_pos] == '\r' || b[m_pos] == '\n'))
        ++m_pos;
    if (m_pos >= size)
        return t;
    const char c = b[m_pos];
    if (c == '{' || c == '}') {
        ++m_pos;
        t.type = c == '{' ? RtfToken::GroupStart : RtfToken::GroupEnd;
        return t;
    }
    if (c != '\\') {
        const qsizetype start = m_pos;
        while (m_pos < size && b[m_pos] != '\\' && b[m_pos] != '{' && b[m_pos] != '}' &&
               b[m_pos] != '\r' && b[m_pos] != '\n')
            ++m_pos;
        t.type = RtfToken::Text;
        t.data = m_bytes.mid(start, m_pos - start);
        return t;
    }
    ++m_pos;
    if (m_pos >= size)
        return t; // a lone backslash at the end: nothing more to read
    const char s = b[m_pos];
    if (!isLetter(s)) {
        ++m_pos;
        if (s == '\\' || s == '{' || s == '}') {
            t.type = RtfToken::Text;
            t.data = QByteArray(1, s);
        } else if (s == '\'') {
            const int hi = m_pos < size ? hexValue(b[m_pos]) : -1;
            const int lo = m_pos + 1 < size ? hexValue(b[m_pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // A broken escape is skipped, not fatal.
                t.type = RtfToken::Text;
                return t;
            }
            m_pos += 2;
            t.type = RtfToken::HexByte;
            t.data = QByteArray(1, char(hi * 16 + lo));
        } else {
            t.type = RtfToken::Control;
            t.word = QByteArray(1, s == '\r' ? '\n' : s);
        }
        return t;
    }
    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(b[m_pos]) && m_pos - start < 32)
        ++m_pos;
    t.type = RtfToken::Control;
    t.word = m_bytes.mid(start, m_pos - start);
    bool negative = false;
    if (m_pos < size && b[m_pos] == '-' && m_pos + 1 < size && isDigit(b[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < size && isDigit(b[m_pos])) {
        qint64 value = 0;
        int digits = 0;
        while (m_pos < size && isDigit(b[m_pos])) {
            if (digits++ < 10)
                value = value * 10 + (b[m_pos] - '0');
            ++m_pos;
        }
        value = std::min<qint64>(value, INT_MAX);
        t.parameter = int(negative ? -value : value);
        t.hasParameter = true;
    }
    if (m_pos < size && b[m_pos] == ' ')
        ++m_pos;
    if (t.word == "bin" && t.parameter > 0) {
        if (t.parameter > size - m_pos)
            return fail(QCoreApplication::translate("formats",
                                                    "\\bin at byte %1 asks for %2 bytes, but only "
                                                    "%3 follow")
                            .arg(start - 1)
                            .arg(t.parameter)
                            .arg(size - m_pos));
        t.type = RtfToken::Binary;
        t.data = m_bytes.mid(m_pos, t.parameter);
        m_pos += t.parameter;
    }
    return t;
}

} // namespace formats
