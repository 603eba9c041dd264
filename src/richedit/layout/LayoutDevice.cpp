#include "LayoutDevice.h"

#include <QImage>
#include <QTextFormat>
#include <QTextOption>

namespace richedit {

QPaintDevice *layoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(LayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

void applyTabStops(QTextOption *option, const QTextBlockFormat &format, qreal defaultTabStop)
{
    constexpr qreal TwipsPerPixel = LayoutDpi / 96.0;
    option->setTabStopDistance(defaultTabStop / TwipsPerPixel);
    QList<QTextOption::Tab> tabs;
    for (QTextOption::Tab t : format.tabPositions()) {
        t.position /= TwipsPerPixel;
        tabs.append(t);
    }
    option->setTabs(tabs);
}

} // namespace richedit
