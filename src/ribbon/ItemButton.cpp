#include "ribbon/ItemButton.h"

#include "ribbon/BarItem.h"

#include <QAction>
#include <QActionEvent>

ItemButton::ItemButton(BarItem *item, ItemForm form, QWidget *parent)
    : QToolButton(parent), m_item(item), m_form(form)
{
    setObjectName(item->name());
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setProperty("ribbonForm", form == ItemForm::Large ? "large" : "small");
    switch (form) {
    case ItemForm::Large:
        setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setIconSize(QSize(32, 32));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        break;
    case ItemForm::SmallWithText:
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setIconSize(QSize(16, 16));
        break;
    case ItemForm::SmallIcon:
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setIconSize(QSize(16, 16));
        break;
    }
    setDefaultAction(item->action());
    present();
}

QString ItemButton::twoLines(const QString &caption)
{
    const qsizetype middle = caption.size() / 2;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char(' ') &&
            (best < 0 || qAbs(i - middle) < qAbs(best - middle)))
            best = i;
    }
    if (best < 0)
        return caption;
    QString result = caption;
    result[best] = QLatin1Char('\n');
    return result;
}

void ItemButton::actionEvent(QActionEvent *event)
{
    QToolButton::actionEvent(event);
    if (event->type() == QEvent::ActionChanged && event->action() == defaultAction())
        present();
}

void ItemButton::present()
{
    QAction *action = defaultAction();
    if (m_form == ItemForm::Large)
        setText(twoLines(action->text()));
    if (action->icon().isNull())
        setIcon(ItemPictures::fallbackIcon(action->text()));
}
