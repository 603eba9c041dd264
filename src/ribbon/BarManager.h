#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class Bar;
class BarItem;
class QAction;

// Owns the groups (Bar), all items and the command objects the items run, each by name.
class BarManager : public QObject
{
    Q_OBJECT

public:
    // A command object: its action and the class and category it was made from.
    struct Command
    {
        QString name;
        QString className;
        QString category;
        QAction *action = nullptr;
    };

    explicit BarManager(QObject *parent = nullptr);
    ~BarManager() override;

    // Takes ownership; names are unique.
    void addItem(BarItem *item);
    BarItem *item(const QString &name) const { return m_itemsByName.value(name); }
    const QList<BarItem *> &items() const { return m_items; }

    Bar *addBar(const QString &name, const QString &caption);
    Bar *bar(const QString &name) const;
    const QList<Bar *> &bars() const { return m_bars; }
    // A name no bar has yet, from the stem.
    QString unusedBarName(const QString &stem) const;

    // Takes ownership of the action.
    void addCommand(const Command &command);
    const Command *command(const QString &name) const;
    const QList<Command> &commands() const { return m_commands; }

    // Whether a group links the item, or links a sub-menu that lists it.
    bool isInGroup(const BarItem *item) const;

signals:
    void barsChanged();

private:
    QList<BarItem *> m_items;
    QHash<QString, BarItem *> m_itemsByName;
    QList<Bar *> m_bars;
    QList<Command> m_commands;
};
