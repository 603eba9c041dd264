#pragma once

#include "ribbon/BarItem.h"

// A small button (kind button) or a small toggle (kind check button).
class BarButton : public BarItem
{
    Q_OBJECT

public:
    BarButton(const QString &name, bool checkButton, QObject *parent = nullptr)
        : BarItem(name, checkButton ? ItemKind::CheckButton : ItemKind::Button, parent)
    {
    }
};
