#pragma once

#include <QMarginsF>
#include <QSize>
#include <QString>

namespace richedit {

enum class WrapType
{
    Square,
    Tight,
    Through,
    TopAndBottom,
    BehindText,
    InFrontOfText
};
enum class WrapSide
{
    Both,
    Left,
    Right,
    Largest
};

enum class HorizontalRelativeTo
{
    Margin,
    Page,
    Column,
    Character
};
enum class VerticalRelativeTo
{
    Margin,
    Page,
    Paragraph,
    Line
};
enum class HorizontalAlignment
{
    None,
    Left,
    Center,
    Right,
    Inside,
    Outside
};
enum class VerticalAlignment
{
    None,
    Top,
    Center,
    Bottom,
    Inside,
    Outside
};

// A picture or text box anchored to a character of the text and placed on
// the page by alignment or offset. Offsets and sizes are twips.
struct FloatingObject
{
    enum class Kind
    {
        Picture,
        TextBox
    };

    int id = 0;
    Kind kind = Kind::Picture;
    WrapType wrap = WrapType::Square;
    WrapSide wrapSide = WrapSide::Both;
    HorizontalRelativeTo horizontalRelativeTo = HorizontalRelativeTo::Column;
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::None;
    int horizontalOffset = 0;
    VerticalRelativeTo verticalRelativeTo = VerticalRelativeTo::Paragraph;
    VerticalAlignment verticalAlignment = VerticalAlignment::None;
    int verticalOffset = 0;
    QSize size{1440, 1440};
    int zOrder = 0;
    // Distance kept between the object and wrapped text (twips).
    int distanceLeft = 115;
    int distanceRight = 115;
    int distanceTop = 0;
    int distanceBottom = 0;
    bool allowOverlap = true;
    bool lockAnchor = false;
    QString imageId;      // Kind::Picture
    int textBoxStory = 0; // Kind::TextBox
    QString name;
    QString description;
};

} // namespace richedit
