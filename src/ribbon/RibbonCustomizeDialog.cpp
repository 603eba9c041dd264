#include "ribbon/RibbonCustomizeDialog.h"

#include "platform/Localizer.h"
#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonTab.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int nameRole = Qt::UserRole;
constexpr int levelRole = Qt::UserRole + 1;

QString text(const char *key, const char *english)
{
    return Localizer::translate(QLatin1String("RibbonCustomize.") + QLatin1String(key),
                                QString::fromUtf8(english));
}

} // namespace

RibbonCustomizeDialog::RibbonCustomizeDialog(Ribbon *ribbon, QWidget *parent)
    : QDialog(parent), m_ribbon(ribbon), m_items(new QListWidget(this)),
      m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("ribbonCustomizeDialog"));
    setWindowTitle(text("Title", "Customize the Ribbon"));
    resize(760, 520);

    m_items->setObjectName(QStringLiteral("items"));
    for (BarItem *item : ribbon->barManager()->items()) {
        const QString caption = item->caption().isEmpty() ? item->name() : item->caption();
        auto *row = new QListWidgetItem(item->action()->icon(), caption, m_items);
        row->setData(nameRole, item->name());
        row->setToolTip(item->name());
    }

    m_tree->setObjectName(QStringLiteral("layout"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    for (RibbonTab *tab : ribbon->tabs()) {
        QTreeWidgetItem *tabNode = newNode(TabLevel, tab->name(), tab->caption());
        m_tree->addTopLevelItem(tabNode);
        for (Bar *bar : tab->groups()) {
            QTreeWidgetItem *groupNode = newNode(GroupLevel, bar->name(), bar->caption());
            tabNode->addChild(groupNode);
            for (const BarItemLink &link : bar->links())
                groupNode->addChild(newNode(ItemLevel, link.item->name(), link.item->caption()));
        }
    }

    const auto button = [this](const char *name, const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(button("add", text("Add", "Add >>"), [this] { addSelectedItem(); }));
    buttons->addWidget(button("remove", text("Remove", "<< Remove"), [this] { removeSelected(); }));
    buttons->addSpacing(12);
    buttons->addWidget(button("newTab", text("NewTab", "New Tab"), [this] { addTab(); }));
    buttons->addWidget(button("newGroup", text("NewGroup", "New Group"), [this] { addGroup(); }));
    buttons->addWidget(button("rename", text("Rename", "Rename..."), [this] { renameSelected(); }));
    buttons->addSpacing(12);
    buttons->addWidget(button("up", text("Up", "Move Up"), [this] { moveSelected(-1); }));
    buttons->addWidget(button("down", text("Down", "Move Down"), [this] { moveSelected(1); }));
    buttons->addStretch(1);

    auto *columns = new QHBoxLayout;
    columns->addWidget(m_items, 1);
    columns->addLayout(buttons);
    columns->addWidget(m_tree, 1);

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(box);
}

int RibbonCustomizeDialog::level(const QTreeWidgetItem *node)
{
    return node->data(0, levelRole).toInt();
}

QTreeWidgetItem *RibbonCustomizeDialog::newNode(Level level, const QString &name,
                                                const QString &caption)
{
    auto *node = new QTreeWidgetItem(QStringList(caption.isEmpty() ? name : caption));
    node->setData(0, nameRole, name);
    node->setData(0, levelRole, level);
    node->setToolTip(0, name);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    return node;
}

void RibbonCustomizeDialog::addSelectedItem()
{
    QListWidgetItem *chosen = m_items->currentItem();
    QTreeWidgetItem *target = m_tree->currentItem();
    if (!chosen || !target || level(target) == TabLevel)
        return;
    QTreeWidgetItem *group = level(target) == GroupLevel ? target : target->parent();
    const int at =
        level(target) == GroupLevel ? group->childCount() : group->indexOfChild(target) + 1;
    QTreeWidgetItem *node = newNode(ItemLevel, chosen->data(nameRole).toString(), chosen->text());
    group->insertChild(at, node);
    m_tree->setCurrentItem(node);
}

void RibbonCustomizeDialog::removeSelected()
{
    delete m_tree->currentItem();
}

void RibbonCustomizeDialog::renameSelected()
{
    if (QTreeWidgetItem *node = m_tree->currentItem())
        m_tree->editItem(node);
}

void RibbonCustomizeDialog::moveSelected(int step)
{
    QTreeWidgetItem *node = m_tree->currentItem();
    if (!node)
        return;
    QTreeWidgetItem *parent = node->parent();
    const int index = parent ? parent->indexOfChild(node) : m_tree->indexOfTopLevelItem(node);
    const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
    const int to = index + step;
    if (to < 0 || to >= count)
        return;
    const bool expanded = node->isExpanded();
    if (parent) {
        parent->takeChild(index);
        parent->insertChild(to, node);
    } else {
        m_tree->takeTopLevelItem(index);
        m_tree->insertTopLevelItem(to, node);
    }
    node->setExpanded(expanded);
    m_tree->setCurrentItem(node);
}

void RibbonCustomizeDialog::addTab()
{
    QTreeWidgetItem *node = newNode(TabLevel, QString(), text("NewTabCaption", "New Tab"));
    QTreeWidgetItem *current = m_tree->currentItem();
    while (current && current->parent())
        current = current->parent();
    m_tree->insertTopLevelItem(
        current ? m_tree->indexOfTopLevelItem(current) + 1 : m_tree->topLevelItemCount(), node);
    m_tree->setCurrentItem(node);
}

void RibbonCustomizeDialog::addGroup()
{
    QTreeWidgetItem *tab = m_tree->currentItem();
    while (tab && tab->parent())
        tab = tab->parent();
    if (!tab)
        return;
    QTreeWidgetItem *node = newNode(GroupLevel, QString(), text("NewGroupCaption", "New Group"));
    tab->addChild(node);
    tab->setExpanded(true);
    m_tree->setCurrentItem(node);
}

void RibbonCustomizeDialog::apply()
{
    BarManager *manager = m_ribbon->barManager();
    QList<RibbonTab *> tabs;
    for (int t = 0; t < m_tree->topLevelItemCount(); ++t) {
        QTreeWidgetItem *tabNode = m_tree->topLevelItem(t);
        const QString caption = tabNode->text(0);
        RibbonTab *tab = m_ribbon->tab(tabNode->data(0, nameRole).toString());
        if (!tab)
            tab = m_ribbon->addTab(m_ribbon->unusedTabName(QStringLiteral("CustomTab")), caption);
        tab->setCaption(caption);
        QList<Bar *> groups;
        for (int g = 0; g < tabNode->childCount(); ++g) {
            QTreeWidgetItem *groupNode = tabNode->child(g);
            Bar *bar = manager->bar(groupNode->data(0, nameRole).toString());
            if (!bar)
                bar = manager->addBar(manager->unusedBarName(QStringLiteral("CustomGroup")),
                                      groupNode->text(0));
            bar->setCaption(groupNode->text(0));
            // A link the group had keeps its layout settings.
            QList<BarItemLink> before = bar->links();
            QList<BarItemLink> links;
            for (int i = 0; i < groupNode->childCount(); ++i) {
                QTreeWidgetItem *itemNode = groupNode->child(i);
                BarItem *item = manager->item(itemNode->data(0, nameRole).toString());
                if (!item)
                    continue;
                const auto kept =
                    std::find_if(before.begin(), before.end(),
                                 [item](const BarItemLink &l) { return l.item == item; });
                if (kept != before.end()) {
                    links << *kept;
                    before.erase(kept);
                } else {
                    BarItemLink link;
                    link.item = item;
                    links << link;
                }
                if (itemNode->text(0) != item->caption() && itemNode->text(0) != item->name())
                    item->setCaption(itemNode->text(0));
            }
            bar->setLinks(links);
            groups << bar;
        }
        tab->setGroups(groups);
        tabs << tab;
    }
    m_ribbon->setTabOrder(tabs);
}
