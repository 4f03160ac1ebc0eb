#include "Lengths.h"

#include <algorithm>
#include <cmath>

int LengthDecimals(double valueInUnit, LengthUnit unit)
{
    const int fewest = unit == LengthUnit::Inch ? 3 : 1;
    const int most = unit == LengthUnit::Inch ? 4 : 3;
    const double magnitude = std::fabs(valueInUnit);
    if (!(magnitude > 0) || !std::isfinite(magnitude))
        return fewest;
    // Three significant digits: one before the point takes two after it.
    const int wanted = 2 - int(std::floor(std::log10(magnitude)));
    return std::clamp(wanted, fewest, most);
}

namespace {

double Scale(int decimals)
{
    return std::pow(10.0, decimals);
}

} // namespace

// The product with the scale can land a hair below a whole number that the
// value stands for exactly (0.3 x 10); the nearest multiple is taken when it
// does not exceed the value.
double RoundDown(double value, int decimals)
{
    const double scale = Scale(decimals);
    const double scaled = value * scale;
    if (const double nearest = std::round(scaled) / scale; nearest <= value)
        return nearest;
    return std::floor(scaled) / scale;
}

double RoundUp(double value, int decimals)
{
    return -RoundDown(-value, decimals);
}

ShownRange RangeAsShown(double nearMillimetres, double farMillimetres, LengthUnit unit)
{
    const double nearValue = ToUnit(nearMillimetres, unit);
    const double farValue = ToUnit(farMillimetres, unit);
    int decimals = std::max(LengthDecimals(nearValue, unit), LengthDecimals(farValue, unit));
    while (decimals < MaxRangeDecimals &&
           RoundUp(nearValue, decimals) > RoundDown(farValue, decimals))
        ++decimals;
    return {RoundUp(nearValue, decimals), RoundDown(farValue, decimals), decimals};
}
