#include "ribbon/ItemPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStandardPaths>

namespace {

constexpr int sizes[] = {16, 32};

QPixmap faded(const QPixmap &source)
{
    QPixmap result(source.size());
    result.setDevicePixelRatio(source.devicePixelRatio());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, source);
    return result;
}

} // namespace

void ItemPictures::ensureIconTheme()
{
    // Headless sessions and some desktops name no theme and search no system folder; Breeze
    // is installed with the editor.
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        return;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString &folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory)) {
        if (!paths.contains(folder))
            paths << folder;
    }
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QStringLiteral("breeze"));
}

QIcon ItemPictures::themeIcon(const QString &name, const QString &caption)
{
    ensureIconTheme();
    const QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? fallbackIcon(caption) : icon;
}

QIcon ItemPictures::fallbackIcon(const QString &caption)
{
    QString letter;
    for (const QChar c : caption) {
        if (c.isLetterOrNumber()) {
            letter = c.toUpper();
            break;
        }
    }
    QIcon icon;
    for (const int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x2b, 0x57, 0x9a));
        painter.setBrush(QColor(0xdc, 0xe6, 0xf4));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        QFont font = QGuiApplication::font();
        font.setBold(true);
        font.setPixelSize(size * 5 / 8);
        painter.setFont(font);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, letter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ItemPictures::icon(const QString &caption) const
{
    if (hot && !small && !large) {
        const QIcon full = themeIcon(hot->icon, caption);
        QIcon icon;
        for (const int size : sizes) {
            const QPixmap pixmap = full.pixmap(size, size);
            icon.addPixmap(faded(pixmap), QIcon::Normal);
            icon.addPixmap(pixmap, QIcon::Active);
        }
        return icon;
    }
    if (small && large) {
        // Each slot keeps its own picture at its own size.
        QIcon icon;
        icon.addPixmap(themeIcon(small->icon, caption).pixmap(16, 16));
        icon.addPixmap(themeIcon(large->icon, caption).pixmap(32, 32));
        return icon;
    }
    if (small)
        return themeIcon(small->icon, caption);
    if (large)
        return themeIcon(large->icon, caption);
    return fallbackIcon(caption);
}
