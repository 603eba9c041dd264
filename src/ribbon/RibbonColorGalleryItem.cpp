#include "ribbon/RibbonColorGalleryItem.h"

#include "ribbon/ColorPalette.h"
#include "ribbon/ItemButton.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QWidgetAction>

RibbonColorGalleryItem::RibbonColorGalleryItem(const QString &name, QObject *parent)
    : BarItem(name, ItemKind::ColourGallery, parent), m_automaticCaption(tr("Automatic"))
{
}

bool RibbonColorGalleryItem::isLarge() const
{
    return pictures().large.has_value();
}

void RibbonColorGalleryItem::choose(const QColor &colour)
{
    m_lastColour = colour;
    synchronize();
    click();
}

void RibbonColorGalleryItem::prepareRun()
{
    if (command())
        command()->setData(m_lastColour);
}

QIcon RibbonColorGalleryItem::presentedIcon() const
{
    const QIcon base = BarItem::presentedIcon();
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap = base.pixmap(size, size);
        QPainter painter(&pixmap);
        const int strip = size / 5;
        const QRect band(0, size - strip, size, strip);
        if (m_lastColour.isValid())
            painter.fillRect(band, m_lastColour);
        else
            painter.drawRect(band.adjusted(0, 0, -1, -1));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QWidget *RibbonColorGalleryItem::createWidget(ItemForm form, const BarItemLink &link,
                                              QWidget *parent)
{
    auto *button = static_cast<ItemButton *>(BarItem::createWidget(form, link, parent));
    auto *menu = new QMenu(button);
    menu->setObjectName(name() + QLatin1String("Palette"));
    auto *palette = new ColorPalette(m_automaticCaption, menu);
    auto *holder = new QWidgetAction(menu);
    holder->setDefaultWidget(palette);
    menu->addAction(holder);
    connect(palette, &ColorPalette::colourChosen, this, [this, menu](const QColor &colour) {
        menu->close();
        choose(colour);
    });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    return button;
}
