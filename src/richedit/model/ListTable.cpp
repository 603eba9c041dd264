#include "ListTable.h"

#include <algorithm>

namespace richedit {

int ListTable::addAbstract(AbstractList list)
{
    if (list.id == 0) {
        list.id = 1;
        for (auto it = m_abstracts.cbegin(); it != m_abstracts.cend(); ++it)
            list.id = std::max(list.id, it.key() + 1);
    }
    while (list.levels.size() < LevelCount)
        list.levels.append(ListLevel{});
    m_abstracts.insert(list.id, list);
    return list.id;
}

int ListTable::addInstance(ListInstance instance)
{
    if (instance.id == 0) {
        instance.id = 1;
        for (auto it = m_instances.cbegin(); it != m_instances.cend(); ++it)
            instance.id = std::max(instance.id, it.key() + 1);
    }
    m_instances.insert(instance.id, instance);
    return instance.id;
}

int ListTable::createList(NumberFormat format)
{
    AbstractList a;
    a.levels = defaultLevels(format);
    ListInstance i;
    i.abstractId = addAbstract(a);
    return addInstance(i);
}

const AbstractList *ListTable::abstractList(int id) const
{
    auto it = m_abstracts.constFind(id);
    return it == m_abstracts.cend() ? nullptr : &it.value();
}

const ListInstance *ListTable::instance(int id) const
{
    auto it = m_instances.constFind(id);
    return it == m_instances.cend() ? nullptr : &it.value();
}

void ListTable::clear()
{
    m_abstracts.clear();
    m_instances.clear();
}

ListLevel ListTable::level(int instanceId, int levelIndex) const
{
    levelIndex = std::clamp(levelIndex, 0, LevelCount - 1);
    const ListInstance *inst = instance(instanceId);
    const AbstractList *abs = inst ? abstractList(inst->abstractId) : nullptr;
    ListLevel result =
        abs && levelIndex < abs->levels.size() ? abs->levels[levelIndex] : ListLevel{};
    if (inst) {
        auto it = inst->overrides.constFind(levelIndex);
        if (it != inst->overrides.cend()) {
            if (it->level)
                result = *it->level;
            if (it->start)
                result.start = *it->start;
        }
    }
    return result;
}

QList<ListLevel> ListTable::defaultLevels(NumberFormat format)
{
    static const QString bullets[] = {QStringLiteral("\u2022"), QStringLiteral("o"),
                                      QStringLiteral("\u25AA")};
    static const NumberFormat cycle[] = {NumberFormat::Decimal, NumberFormat::LowerLetter,
                                         NumberFormat::LowerRoman};
    QList<ListLevel> levels;
    for (int i = 0; i < LevelCount; ++i) {
        ListLevel l;
        l.indent = 720 * (i + 1);
        l.hanging = 360;
        if (format == NumberFormat::Bullet) {
            l.format = NumberFormat::Bullet;
            l.text = bullets[i % 3];
        } else {
            l.format = i == 0 ? format : cycle[i % 3];
            l.text = QStringLiteral("%%1.").arg(i + 1);
            if (l.format == NumberFormat::LowerRoman)
                l.alignment = Qt::AlignRight;
        }
        levels.append(l);
    }
    return levels;
}

static QString roman(int n)
{
    static const struct
    {
        int value;
        const char *text;
    } table[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                 {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                 {5, "v"},    {4, "iv"},   {1, "i"}};
    if (n <= 0 || n >= 4000)
        return QString::number(n);
    QString s;
    for (const auto &e : table) {
        while (n >= e.value) {
            s += QLatin1String(e.text);
            n -= e.value;
        }
    }
    return s;
}

static QString letters(int n)
{
    // a..z, then aa..zz, as word processors count letters.
    if (n <= 0)
        return QString::number(n);
    const int repeat = (n - 1) / 26 + 1;
    return QString(repeat, QChar(u'a' + (n - 1) % 26));
}

QString ListTable::formatNumber(int number, NumberFormat format)
{
    switch (format) {
    case NumberFormat::None:
    case NumberFormat::Bullet:
        return QString();
    case NumberFormat::Decimal:
        return QString::number(number);
    case NumberFormat::DecimalZero:
        return number < 10 && number >= 0 ? QStringLiteral("0%1").arg(number)
                                          : QString::number(number);
    case NumberFormat::LowerLetter:
        return letters(number);
    case NumberFormat::UpperLetter:
        return letters(number).toUpper();
    case NumberFormat::LowerRoman:
        return roman(number);
    case NumberFormat::UpperRoman:
        return roman(number).toUpper();
    case NumberFormat::Ordinal: {
        const int mod100 = number % 100;
        const int mod10 = number % 10;
        const char *suffix = (mod100 >= 11 && mod100 <= 13) ? "th"
                             : mod10 == 1                   ? "st"
                             : mod10 == 2                   ? "nd"
                             : mod10 == 3                   ? "rd"
                                                            : "th";
        return QString::number(number) + QLatin1String(suffix);
    }
    }
    return QString::number(number);
}

QString ListTable::labelText(const ListLevel &level, const QList<int> &counters,
                             const QList<NumberFormat> &formats)
{
    if (level.format == NumberFormat::Bullet)
        return level.text;
    QString out;
    out.reserve(level.text.size() + 8);
    for (qsizetype i = 0; i < level.text.size(); ++i) {
        const QChar c = level.text[i];
        if (c == u'%' && i + 1 < level.text.size() && level.text[i + 1].isDigit()) {
            const int index = level.text[i + 1].digitValue() - 1;
            ++i;
            if (index >= 0 && index < counters.size()) {
                const NumberFormat f =
                    level.legal ? NumberFormat::Decimal
                                : (index < formats.size() ? formats[index] : NumberFormat::Decimal);
                out += formatNumber(counters[index], f);
            }
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace richedit
