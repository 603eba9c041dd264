#pragma once

#include <QIcon>
#include <QString>

#include <optional>

// One picture slot of an item: an icon-theme name and the size of the image it holds.
struct ItemPicture
{
    QString icon;
    int size = 16;
};

// The picture slots of an item: small (16), large (32) and the one shown only while the
// pointer is over the item.
struct ItemPictures
{
    std::optional<ItemPicture> small;
    std::optional<ItemPicture> large;
    std::optional<ItemPicture> hot;

    bool isEmpty() const { return !small && !large && !hot; }

    // The icon for the item in both sizes. The theme gives the picture; where the theme has
    // no such icon, a drawn tile with the caption's first letter stands in, so a slot never
    // shows empty. A hot-only picture shows faded at rest and in full under the pointer.
    QIcon icon(const QString &caption) const;

    // Makes the Breeze theme the icon theme where the session names none.
    static void ensureIconTheme();
    static QIcon themeIcon(const QString &name, const QString &caption);
    // The drawn stand-in: a rounded tile with the caption's first letter.
    static QIcon fallbackIcon(const QString &caption);
};
