#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// The drop-down palette of a colour gallery: an automatic (or no-colour) entry, a grid of
// theme and standard colours, and "More Colours..." for any other colour. An invalid QColor
// stands for the automatic entry.
class ColorPalette : public QWidget
{
    Q_OBJECT

public:
    ColorPalette(const QString &automaticCaption, QWidget *parent = nullptr);

    static QList<QColor> colours();

signals:
    void colourChosen(const QColor &colour);
};
