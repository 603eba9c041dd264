#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>

#include <optional>

namespace richedit {

enum class NumberFormat
{
    None,
    Bullet,
    Decimal,
    DecimalZero, // 01, 02, ...
    LowerLetter,
    UpperLetter,
    LowerRoman,
    UpperRoman,
    Ordinal
};

struct ListLevel
{
    NumberFormat format = NumberFormat::Decimal;
    // Number text with placeholders %1..%9 for the levels' numbers
    // ("%1.%2."), or the bullet character for bullets.
    QString text = QStringLiteral("%1.");
    int start = 1;
    int indent = 720;  // twips: left edge of the text
    int hanging = 360; // twips: the label hangs this far left of the text
    Qt::Alignment alignment = Qt::AlignLeft;
    bool legal = false;               // show all levels' numbers in decimal
    int restartAfterLevel = -1;       // -1: restart after any higher level
    QChar suffix = QLatin1Char('\t'); // tab, space or none (QChar())
    QTextCharFormat labelFormat;
};

struct AbstractList
{
    int id = 0;
    QString name;
    bool multiLevel = true;
    QList<ListLevel> levels; // always nine
};

struct LevelOverride
{
    std::optional<int> start;
    std::optional<ListLevel> level;
};

// A list as paragraphs refer to it: an abstract definition with overrides.
struct ListInstance
{
    int id = 0;
    int abstractId = 0;
    QHash<int, LevelOverride> overrides;
};

// The document's list definitions: abstract lists and their instances.
class ListTable
{
public:
    static constexpr int LevelCount = 9;

    int addAbstract(AbstractList list); // returns id (assigned when 0)
    int addInstance(ListInstance instance);
    // A new bullet or numbered list with the usual nine levels.
    int createList(NumberFormat format);

    const AbstractList *abstractList(int id) const;
    const ListInstance *instance(int id) const;
    const QHash<int, AbstractList> &abstracts() const { return m_abstracts; }
    const QHash<int, ListInstance> &instances() const { return m_instances; }
    void clear();

    // The level as paragraphs of the instance see it, overrides applied.
    ListLevel level(int instanceId, int level) const;

    static QList<ListLevel> defaultLevels(NumberFormat format);
    static QString formatNumber(int number, NumberFormat format);
    // "%1.%2." with counters {3, 2} gives "3.2.".
    static QString labelText(const ListLevel &level, const QList<int> &counters,
                             const QList<NumberFormat> &formats);

private:
    QHash<int, AbstractList> m_abstracts;
    QHash<int, ListInstance> m_instances;
};

} // namespace richedit
