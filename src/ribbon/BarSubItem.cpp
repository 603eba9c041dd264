#include "ribbon/BarSubItem.h"

#include "ribbon/ItemButton.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>

namespace {

// Widens a list's picture column to 32 pixels.
class LargePictureMenuStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_SmallIconSize)
            return 32;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Keeps the list open when an entry that does not close sub-menus is clicked.
class KeepOpenFilter : public QObject
{
public:
    KeepOpenFilter(const QList<BarItem *> &entries, QMenu *menu) : QObject(menu), m_entries(entries)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        auto *menu = static_cast<QMenu *>(watched);
        QAction *action = menu->actionAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (!action || !action->isEnabled())
            return false;
        for (BarItem *entry : m_entries) {
            if (entry->name() == action->objectName() && !entry->closesSubMenuOnClick()) {
                action->trigger();
                return true;
            }
        }
        return false;
    }

private:
    QList<BarItem *> m_entries;
};

} // namespace

BarSubItem::BarSubItem(const QString &name, QObject *parent)
    : BarItem(name, ItemKind::SubMenu, parent)
{
}

bool BarSubItem::isLarge() const
{
    return pictures().large.has_value();
}

QMenu *BarSubItem::createMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(name() + QLatin1String("Menu"));
    menu->setProperty("ribbonList", true);
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
        menu->clear();
        bool largeColumn = false;
        for (BarItem *entry : m_entries)
            largeColumn = largeColumn || entry->isLarge();
        if (largeColumn && !menu->property("largeColumn").toBool()) {
            auto *style = new LargePictureMenuStyle;
            style->setParent(menu);
            menu->setStyle(style);
            menu->setProperty("largeColumn", true);
        }
        for (BarItem *entry : m_entries)
            entry->addToMenu(menu, largeColumn);
    });
    menu->installEventFilter(new KeepOpenFilter(m_entries, menu));
    return menu;
}

QWidget *BarSubItem::createWidget(ItemForm form, const BarItemLink &link, QWidget *parent)
{
    auto *button = static_cast<ItemButton *>(BarItem::createWidget(form, link, parent));
    button->setMenu(createMenu(button));
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

void BarSubItem::addToMenu(QMenu *menu, bool)
{
    QMenu *list = createMenu(menu);
    list->setTitle(caption());
    list->setIcon(action()->icon());
    menu->addMenu(list);
}
