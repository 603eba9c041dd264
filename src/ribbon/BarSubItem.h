#pragma once

#include "ribbon/BarItem.h"

class QMenu;

// A sub-menu: a button that opens the list of its entries, themselves items of the bar
// manager. Large where it carries a large picture.
class BarSubItem : public BarItem
{
    Q_OBJECT

public:
    explicit BarSubItem(const QString &name, QObject *parent = nullptr);

    const QList<BarItem *> &entries() const { return m_entries; }
    void setEntries(const QList<BarItem *> &entries) { m_entries = entries; }

    bool isLarge() const override;
    QWidget *createWidget(ItemForm form, const BarItemLink &link, QWidget *parent) override;
    void addToMenu(QMenu *menu, bool largeColumn) override;

    // The list, filled afresh each time it opens. A list holding a large entry shows
    // 32-pixel pictures, so large entries show their large picture.
    QMenu *createMenu(QWidget *parent);

private:
    QList<BarItem *> m_entries;
};
