#include "Field.h"

#include <QStringList>

namespace richedit {

namespace {

// Splits an instruction into words, keeping quoted arguments whole.
QStringList tokens(const QString &instruction)
{
    QStringList out;
    QString current;
    bool quoted = false;
    bool any = false;
    for (const QChar c : instruction) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
            continue;
        }
        if (!quoted && c.isSpace()) {
            if (any)
                out.append(current);
            current.clear();
            any = false;
            continue;
        }
        current += c;
        any = true;
    }
    if (any)
        out.append(current);
    return out;
}

} // namespace

FieldType Field::parseType(const QString &instruction)
{
    const QStringList t = tokens(instruction);
    if (t.isEmpty())
        return FieldType::Unknown;
    const QString name = t.first().toUpper();
    if (name == u"PAGE")
        return FieldType::Page;
    if (name == u"NUMPAGES")
        return FieldType::NumPages;
    if (name == u"TOC")
        return FieldType::Toc;
    if (name == u"SEQ")
        return FieldType::Seq;
    if (name == u"PAGEREF")
        return FieldType::PageRef;
    if (name == u"HYPERLINK")
        return FieldType::Hyperlink;
    return FieldType::Unknown;
}

QString Field::argument() const
{
    const QStringList t = tokens(instruction);
    for (qsizetype i = 1; i < t.size(); ++i) {
        if (!t[i].startsWith(u'\\'))
            return t[i];
        if (t[i].size() == 2 && QStringLiteral("lomst").contains(t[i][1].toLower()))
            ++i; // a switch that takes a value
    }
    return QString();
}

QString Field::switchValue(QChar name) const
{
    const QStringList t = tokens(instruction);
    for (qsizetype i = 1; i + 1 < t.size(); ++i) {
        if (t[i].size() == 2 && t[i][0] == u'\\' && t[i][1] == name)
            return t[i + 1];
    }
    return QString();
}

bool Field::hasSwitch(QChar name) const
{
    const QStringList t = tokens(instruction);
    for (const QString &w : t) {
        if (w.size() == 2 && w[0] == u'\\' && w[1] == name)
            return true;
    }
    return false;
}

} // namespace richedit
