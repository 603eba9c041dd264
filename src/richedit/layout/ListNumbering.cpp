#include "ListNumbering.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <array>

namespace richedit {

QString ListNumbering::label(const QTextBlock &block)
{
    if (!m_valid || m_story != block.document())
        recount(block.document());
    return m_labels.value(block.blockNumber());
}

void ListNumbering::recount(const QTextDocument *story)
{
    m_labels.clear();
    m_story = story;
    m_valid = true;
    struct Counters
    {
        std::array<int, ListTable::LevelCount> value{};
        std::array<bool, ListTable::LevelCount> started{};
    };
    QHash<int, Counters> byAbstract; // instances of one abstract list count together
    QHash<int, bool> instanceSeen;
    const ListTable &lists = m_document->lists();
    for (QTextBlock b = story->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        const int inst = f.intProperty(ModelProperty::ListInstance);
        if (inst <= 0)
            continue;
        const ListInstance *instance = lists.instance(inst);
        if (!instance)
            continue;
        const int level =
            std::clamp(f.intProperty(ModelProperty::ListLevel), 0, ListTable::LevelCount - 1);
        Counters &c = byAbstract[instance->abstractId];
        // A level override with a start value restarts the list where the
        // instance is first used.
        if (!instanceSeen.value(inst)) {
            instanceSeen.insert(inst, true);
            for (auto it = instance->overrides.cbegin(); it != instance->overrides.cend(); ++it) {
                if (it->start && it.key() < ListTable::LevelCount)
                    c.started[it.key()] = false;
            }
        }
        const ListLevel lvl = lists.level(inst, level);
        if (!c.started[level]) {
            c.value[level] = lvl.start;
            c.started[level] = true;
        } else {
            ++c.value[level];
        }
        for (int deeper = level + 1; deeper < ListTable::LevelCount; ++deeper)
            c.started[deeper] = false;
        if (lvl.format == NumberFormat::None) {
            m_labels.insert(b.blockNumber(), lvl.text.contains(u'%') ? QString() : lvl.text);
            continue;
        }
        QList<int> counters;
        QList<NumberFormat> formats;
        for (int i = 0; i <= level; ++i) {
            const ListLevel li = lists.level(inst, i);
            counters.append(c.started[i] ? c.value[i] : li.start);
            formats.append(li.format);
        }
        m_labels.insert(b.blockNumber(), ListTable::labelText(lvl, counters, formats));
    }
}

} // namespace richedit
