#include "Planner.h"

#include <algorithm>
#include <cmath>

namespace {

PlannerRow RowFor(const PlannerInput &input, const SpotOptics &optics)
{
    PlannerRow row;
    row.RatioAtFocus = DistanceToSpotAtFocus(optics);
    row.RatioFarField = DistanceToSpotFarField(optics);
    if (input.Distance) {
        row.Spot = SpotOnSurface(optics, *input.Distance, 0);
        row.RatioAtDistance = DistanceToSpotAt(optics, *input.Distance);
        if (input.Tilt)
            row.SpotSurface = SpotOnSurface(optics, *input.Distance, *input.Tilt);
    }
    if (input.Target && input.Margin) {
        if (row.SpotSurface)
            row.Figure = *input.Target / (*input.Margin * *row.SpotSurface);
        if (input.Tilt)
            row.Range = DistancesForTarget(optics, *input.Target, *input.Margin, *input.Tilt);
    }
    return row;
}

// Figures and ranges compared as the table shows them: digits nobody sees
// decide nothing. A width counts steps of the finest digit a range takes, so
// that equal texts give equal widths.
double ShownWidth(const PlannerRow &row, LengthUnit unit)
{
    if (!row.Range || !row.Range->Any)
        return -1;
    const ShownRange shown = RangeAsShown(row.Range->Near, row.Range->Far, unit);
    return std::round((shown.Far - shown.Near) * std::pow(10.0, MaxRangeDecimals));
}

bool Better(const PlannerRow &row, const PlannerRow &best, LengthUnit unit)
{
    const double figure = RoundDown(*row.Figure, 2);
    const double bestFigure = RoundDown(*best.Figure, 2);
    if (figure != bestFigure)
        return figure > bestFigure;
    return ShownWidth(row, unit) > ShownWidth(best, unit);
}

double Gap(const TargetFit &range, double distance)
{
    if (distance < range.Near)
        return range.Near - distance;
    return distance > range.Far ? distance - range.Far : 0;
}

} // namespace

PlannerResults ComputePlanner(const PlannerInput &input)
{
    PlannerResults results;
    results.Rows.reserve(input.Optics.size());
    for (const PlannerOptics &entry : input.Optics)
        results.Rows.push_back(entry.Optics ? RowFor(input, *entry.Optics) : PlannerRow{});
    const auto row = [&](int i) -> const PlannerRow & { return results.Rows[std::size_t(i)]; };
    double nearestGap = 0;
    // Later rows win only when strictly better: a duplicate never takes the
    // mark from its original.
    for (int i = 0; i < int(results.Rows.size()); ++i) {
        if (row(i).Fits() && (results.Best < 0 || Better(row(i), row(results.Best), input.Unit)))
            results.Best = i;
        if (input.Distance && row(i).Range && row(i).Range->Any) {
            const double gap = Gap(*row(i).Range, *input.Distance);
            if (results.Nearest < 0 || gap < nearestGap) {
                results.Nearest = i;
                nearestGap = gap;
            }
        }
    }
    if (input.Target && input.Margin)
        results.LargestFittingSpot = *input.Target / *input.Margin;
    return results;
}
