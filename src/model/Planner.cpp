#include "Planner.h"

#include <algorithm>

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

double RangeWidth(const PlannerRow &row)
{
    return row.Range && row.Range->Any ? row.Range->Far - row.Range->Near : -1;
}

bool Better(const PlannerRow &row, const PlannerRow &best)
{
    if (*row.Figure != *best.Figure)
        return *row.Figure > *best.Figure;
    return RangeWidth(row) > RangeWidth(best);
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
        if (row(i).Fits() && (results.Best < 0 || Better(row(i), row(results.Best))))
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
