#pragma once

#include "ribbon/BarItem.h"

// A large button (kind large button) or a large toggle (kind large check button).
class BarLargeButton : public BarItem
{
    Q_OBJECT

public:
    BarLargeButton(const QString &name, bool checkButton, QObject *parent = nullptr)
        : BarItem(name, checkButton ? ItemKind::LargeCheckButton : ItemKind::LargeButton, parent)
    {
    }
};
