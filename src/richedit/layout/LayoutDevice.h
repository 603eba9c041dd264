#pragma once

class QPaintDevice;

namespace richedit {

// The paint device that fonts are measured on: 1440 dots per inch, so one
// layout unit is one twip and line heights keep their fractions.
QPaintDevice *layoutDevice();
constexpr int LayoutDpi = 1440;

} // namespace richedit
