#pragma once

#include <QFlags>

#include <optional>

class BarItem;

// The display forms a group may choose for a linked item as it narrows, widest first.
enum class ViewLevel
{
    LargeIconWithText = 0x1,
    LargeControlOnly = 0x2,
    SmallIconWithText = 0x4,
    SmallIcon = 0x8,
    ControlOnly = 0x10,
};
Q_DECLARE_FLAGS(ViewLevels, ViewLevel)
Q_DECLARE_OPERATORS_FOR_FLAGS(ViewLevels)

// How an item is drawn in a group: a large button with its caption below the picture, a
// small one with its caption beside it, or the small picture (an edit box: the box) alone.
enum class ItemForm
{
    Large,
    SmallWithText,
    SmallIcon,
};

// One place of an item in a group, with the layout settings of that place.
struct BarItemLink
{
    static constexpr ViewLevels allViewLevels =
        ViewLevel::LargeIconWithText | ViewLevel::LargeControlOnly | ViewLevel::SmallIconWithText |
        ViewLevel::SmallIcon | ViewLevel::ControlOnly;

    BarItem *item = nullptr;
    bool continuesRow = false;
    bool buttonGroupStart = false;
    bool separatorBefore = false;
    // The edit box's width in pixels at 96 dpi; none: the item's own width.
    std::optional<int> width;
    // None: every level is allowed.
    std::optional<ViewLevels> viewLevels;

    ViewLevels allowedViewLevels() const { return viewLevels.value_or(allViewLevels); }
};
