#include "ribbon/BarManager.h"

#include "ribbon/Bar.h"
#include "ribbon/BarSubItem.h"

#include <QAction>

#include <algorithm>

BarManager::BarManager(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("dxBarManager1"));
}

BarManager::~BarManager() = default;

void BarManager::addItem(BarItem *item)
{
    item->setParent(this);
    m_items << item;
    m_itemsByName.insert(item->name(), item);
}

Bar *BarManager::addBar(const QString &name, const QString &caption)
{
    auto *bar = new Bar(name, caption, this);
    m_bars << bar;
    connect(bar, &Bar::changed, this, &BarManager::barsChanged);
    emit barsChanged();
    return bar;
}

Bar *BarManager::bar(const QString &name) const
{
    const auto found = std::find_if(m_bars.begin(), m_bars.end(),
                                    [&name](const Bar *bar) { return bar->name() == name; });
    return found == m_bars.end() ? nullptr : *found;
}

QString BarManager::unusedBarName(const QString &stem) const
{
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (!bar(name))
            return name;
    }
}

void BarManager::addCommand(const Command &command)
{
    command.action->setParent(this);
    m_commands << command;
}

const BarManager::Command *BarManager::command(const QString &name) const
{
    const auto found = std::find_if(m_commands.begin(), m_commands.end(),
                                    [&name](const Command &c) { return c.name == name; });
    return found == m_commands.end() ? nullptr : &*found;
}

bool BarManager::isInGroup(const BarItem *item) const
{
    const auto listedBy = [item](const BarItem *linked, auto &self) -> bool {
        if (linked == item)
            return true;
        const auto *sub = qobject_cast<const BarSubItem *>(linked);
        if (!sub)
            return false;
        return std::any_of(sub->entries().begin(), sub->entries().end(),
                           [&self](const BarItem *entry) { return self(entry, self); });
    };
    for (const Bar *bar : m_bars) {
        for (const BarItemLink &link : bar->links()) {
            if (listedBy(link.item, listedBy))
                return true;
        }
    }
    return false;
}
