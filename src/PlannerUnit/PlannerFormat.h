#pragma once

#include "Planner.h"

#include <QString>

// How the planner shows its numbers: always "." as the point (the CSV file
// swaps in the regional separator), lengths in the chosen unit.

inline double ToUnit(double millimetres, LengthUnit unit)
{
    return unit == LengthUnit::Inch ? millimetres / MillimetresPerInch : millimetres;
}

inline double FromUnit(double value, LengthUnit unit)
{
    return unit == LengthUnit::Inch ? value * MillimetresPerInch : value;
}

inline QString UnitName(LengthUnit unit)
{
    return unit == LengthUnit::Inch ? QStringLiteral("inch") : QStringLiteral("mm");
}

// A tenth of a millimetre, or a thousandth of an inch.
inline QString FormatLength(double millimetres, LengthUnit unit)
{
    return QString::number(ToUnit(millimetres, unit), 'f', unit == LengthUnit::Inch ? 3 : 1);
}

// A length as the user would type it: no trailing zeros.
inline QString FormatTypedLength(double millimetres, LengthUnit unit)
{
    return QString::number(ToUnit(millimetres, unit), 'g', 6);
}

inline QString FormatRatio(double ratio)
{
    return QString::number(ratio, 'f', 1);
}

inline QString FormatFigure(double figure)
{
    return QString::number(figure, 'f', 2);
}
