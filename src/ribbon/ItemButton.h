#pragma once

#include "ribbon/BarItemLink.h"

#include <QToolButton>

class BarItem;

// The button that shows an item in a group, in one of the item forms. It shows the item's
// action: caption (a large button's caption is broken into two balanced lines), picture,
// tooltip, enabled, checked and visible states.
class ItemButton : public QToolButton
{
    Q_OBJECT

public:
    ItemButton(BarItem *item, ItemForm form, QWidget *parent = nullptr);

    BarItem *item() const { return m_item; }
    ItemForm form() const { return m_form; }

    // The caption broken at the space nearest its middle.
    static QString twoLines(const QString &caption);

protected:
    void actionEvent(QActionEvent *event) override;

private:
    void present();

    BarItem *m_item;
    ItemForm m_form;
};
