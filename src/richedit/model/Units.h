#pragma once

#include <QtGlobal>

namespace richedit {

// Lengths inside the model are twips (1/1440 inch): exact for Word's units.
// The measurement unit only matters where lengths cross the document interface.
enum class MeasurementUnit
{
    Document,
    Inch,
    Millimeter,
    Centimeter,
    Point
};

constexpr double TwipsPerInch = 1440.0;

// Twips in one unit of the given measurement unit. "Document" units are
// 1/300 inch, the resolution word processors traditionally use for layout.
constexpr double twipsPerUnit(MeasurementUnit unit)
{
    switch (unit) {
    case MeasurementUnit::Document:
        return TwipsPerInch / 300.0;
    case MeasurementUnit::Inch:
        return TwipsPerInch;
    case MeasurementUnit::Millimeter:
        return TwipsPerInch / 25.4;
    case MeasurementUnit::Centimeter:
        return TwipsPerInch / 2.54;
    case MeasurementUnit::Point:
        return 20.0;
    }
    return 1.0;
}

inline int toTwips(double value, MeasurementUnit unit)
{
    return qRound(value * twipsPerUnit(unit));
}

inline double fromTwips(int twips, MeasurementUnit unit)
{
    return twips / twipsPerUnit(unit);
}

} // namespace richedit
