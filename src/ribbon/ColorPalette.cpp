#include "ribbon/ColorPalette.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int columns = 10;

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

QList<QColor> ColorPalette::colours()
{
    static const char *const names[] = {
        "#ffffff", "#000000", "#e7e6e6", "#44546a", "#4472c4", "#ed7d31", "#a5a5a5", "#ffc000",
        "#5b9bd5", "#70ad47", "#f2f2f2", "#7f7f7f", "#d0cece", "#d6dce4", "#d9e2f3", "#fbe5d5",
        "#ededed", "#fff2cc", "#deebf6", "#e2efd9", "#bfbfbf", "#595959", "#aeabab", "#adb9ca",
        "#b4c6e7", "#f7cbac", "#dbdbdb", "#fee599", "#bdd7ee", "#c5e0b3", "#7f7f7f", "#262626",
        "#757070", "#323f4f", "#2f5496", "#c45911", "#7b7b7b", "#bf8f00", "#2e75b5", "#538135",
        "#c00000", "#ff0000", "#ffc000", "#ffff00", "#92d050", "#00b050", "#00b0f0", "#0070c0",
        "#002060", "#7030a0"};
    QList<QColor> result;
    for (const char *name : names)
        result << QColor(QLatin1String(name));
    return result;
}

ColorPalette::ColorPalette(const QString &automaticCaption, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto *automatic = new QPushButton(automaticCaption, this);
    automatic->setObjectName(QStringLiteral("automatic"));
    automatic->setFlat(true);
    connect(automatic, &QPushButton::clicked, this, [this] { emit colourChosen(QColor()); });
    layout->addWidget(automatic);

    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    const QList<QColor> all = colours();
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QColor colour = all.at(i);
        auto *button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setIcon(swatch(colour));
        button->setToolTip(colour.name());
        connect(button, &QToolButton::clicked, this, [this, colour] { emit colourChosen(colour); });
        grid->addWidget(button, int(i / columns), int(i % columns));
    }
    layout->addLayout(grid);

    auto *more = new QPushButton(tr("More Colours..."), this);
    more->setObjectName(QStringLiteral("more"));
    more->setFlat(true);
    connect(more, &QPushButton::clicked, this, [this] {
        const QColor colour = QColorDialog::getColor(Qt::black, window());
        if (colour.isValid())
            emit colourChosen(colour);
    });
    layout->addWidget(more);
}
