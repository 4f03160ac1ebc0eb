#pragma once

// Lengths as the planner shows them: millimetres inside, the unit applied
// only where a number is typed or shown.

enum class LengthUnit
{
    Millimetre,
    Inch
};

inline constexpr double MillimetresPerInch = 25.4;

// The lengths the planner accepts, in millimetres: from a micrometre to a
// kilometre covers every pyrometer, and keeps the table and the axes readable.
inline constexpr double MinPlausibleLength = 0.001;
inline constexpr double MaxPlausibleLength = 1000000;

inline double ToUnit(double millimetres, LengthUnit unit)
{
    return unit == LengthUnit::Inch ? millimetres / MillimetresPerInch : millimetres;
}

inline double FromUnit(double value, LengthUnit unit)
{
    return unit == LengthUnit::Inch ? value * MillimetresPerInch : value;
}

// How many decimals a length in the unit is shown with: a tenth of a
// millimetre or a thousandth of an inch, more for small values so that at
// least three significant digits show, up to 3 decimals in mm and 4 in inch.
int LengthDecimals(double valueInUnit, LengthUnit unit);

// The value rounded to the given decimals toward minus or plus infinity: a
// shown range end must lie inside the range, and a shown figure must not
// claim more than it has.
double RoundDown(double value, int decimals);
double RoundUp(double value, int decimals);

// A fitting range's ends as the planner shows them, in the unit: rounded
// inward, so that a shown end typed as the working distance fits. A range
// narrower than the last shown digit takes more digits, up to
// MaxRangeDecimals.
inline constexpr int MaxRangeDecimals = 6;

struct ShownRange
{
    double Near;
    double Far;
    int Decimals;
};

ShownRange RangeAsShown(double nearMillimetres, double farMillimetres, LengthUnit unit);
