#pragma once

#include <QDialog>

class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;
class Ribbon;

// Lets the user rearrange the ribbon for the rest of the run: add, remove, rename and reorder
// tabs, groups and the items of groups, and place any item of the bar manager in a group,
// also items that no group shows. Nothing is saved.
//
// The left list holds every item of the bar manager; the tree holds the tabs, their groups
// and the groups' items. apply() makes the ribbon match the tree.
class RibbonCustomizeDialog : public QDialog
{
    Q_OBJECT

public:
    RibbonCustomizeDialog(Ribbon *ribbon, QWidget *parent = nullptr);

    QListWidget *itemList() const { return m_items; }
    QTreeWidget *layoutTree() const { return m_tree; }

    void apply();

private:
    enum Level
    {
        TabLevel,
        GroupLevel,
        ItemLevel,
    };

    static int level(const QTreeWidgetItem *node);
    QTreeWidgetItem *newNode(Level level, const QString &name, const QString &text);
    void addSelectedItem();
    void removeSelected();
    void renameSelected();
    void moveSelected(int step);
    void addTab();
    void addGroup();

    Ribbon *m_ribbon;
    QListWidget *m_items;
    QTreeWidget *m_tree;
};
