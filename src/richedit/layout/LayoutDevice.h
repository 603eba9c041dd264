#pragma once

#include <QtGlobal>

class QPaintDevice;
class QTextBlockFormat;
class QTextOption;

namespace richedit {

// The paint device that fonts are measured on: 1440 dots per inch, so one
// layout unit is one twip and line heights keep their fractions.
QPaintDevice *layoutDevice();
constexpr int LayoutDpi = 1440;

// Sets a text option's tab stops from a paragraph's tab stops and the
// document's default tab distance, both in twips. QTextLayout reads tab
// positions as pixels at 96 dpi and scales them to the device itself.
void applyTabStops(QTextOption *option, const QTextBlockFormat &format, qreal defaultTabStop);

} // namespace richedit
