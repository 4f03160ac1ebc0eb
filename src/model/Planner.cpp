#include "Planner.h"

#include "NumberText.h"

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

} // namespace

PlannerResults ComputePlanner(const PlannerInput &input)
{
    PlannerResults results;
    results.Rows.reserve(input.Optics.size());
    for (const PlannerOptics &entry : input.Optics)
        results.Rows.push_back(entry.Optics ? RowFor(input, *entry.Optics) : PlannerRow{});
    for (int i = 0; i < int(results.Rows.size()); ++i) {
        const std::optional<double> &figure = results.Rows[std::size_t(i)].Figure;
        // Ties go to the earlier row.
        if (figure &&
            (results.Best < 0 || *figure > *results.Rows[std::size_t(results.Best)].Figure))
            results.Best = i;
    }
    if (input.Target && input.Margin)
        results.LargestFittingSpot = *input.Target / *input.Margin;
    return results;
}

std::optional<double> ParsePlannerNumber(const std::string &text)
{
    std::string normal = text;
    std::replace(normal.begin(), normal.end(), ',', '.');
    float value = 0;
    if (!TryParseNumber(normal, value))
        return std::nullopt;
    return double(value);
}
