#pragma once

#include "ribbon/BarItem.h"

#include <QColor>

// A colour gallery: a split button whose face applies the last chosen colour and whose
// arrow opens a ColorPalette. The colour travels through the bound command's data() (an
// invalid QColor: automatic or no colour); the picture carries a strip of the last colour.
class RibbonColorGalleryItem : public BarItem
{
    Q_OBJECT

public:
    explicit RibbonColorGalleryItem(const QString &name, QObject *parent = nullptr);

    // The caption of the palette's first entry ("Automatic", "No Color").
    const QString &automaticCaption() const { return m_automaticCaption; }
    void setAutomaticCaption(const QString &caption) { m_automaticCaption = caption; }

    const QColor &lastColour() const { return m_lastColour; }
    // Remembers the colour and applies it.
    void choose(const QColor &colour);

    bool isLarge() const override;
    QWidget *createWidget(ItemForm form, const BarItemLink &link, QWidget *parent) override;

protected:
    void prepareRun() override;
    QIcon presentedIcon() const override;

private:
    QString m_automaticCaption;
    QColor m_lastColour = Qt::red;
};
