#pragma once

#include "Lengths.h"
#include "PlannerField.h"
#include "SpotModel.h"
#include "TargetCheck.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The target planner's arithmetic: what the user entered in, one result row
// per optics out. Lengths are millimetres; the unit only matters where a
// number is typed or shown.

inline constexpr int MaxPlannerOptics = 8;

struct PlannerOptics
{
    std::string Name; // UTF-8
    // Empty while one of the three data is no valid length.
    std::optional<SpotOptics> Optics;
    std::uint32_t Colour = 0; // 0xRRGGBB
};

// A field left empty here holds no valid value; the results that need it
// stay empty.
struct PlannerInput
{
    std::vector<PlannerOptics> Optics;
    std::optional<double> Target;   // diameter
    std::optional<double> Distance; // working distance
    std::optional<double> Margin;
    std::optional<double> Tilt; // degrees
    LengthUnit Unit = LengthUnit::Millimetre;
};

struct PlannerRow
{
    std::optional<double> Spot;        // at the working distance, across the line of sight
    std::optional<double> SpotSurface; // its long axis on the tilted surface
    std::optional<double> RatioAtDistance;
    std::optional<double> RatioAtFocus;
    std::optional<double> RatioFarField;
    // target / (margin x spot on the surface); the target fits from 1 up.
    std::optional<double> Figure;
    std::optional<TargetFit> Range;

    bool Fits() const { return Figure && *Figure >= 1; }
};

struct PlannerResults
{
    std::vector<PlannerRow> Rows; // one per optics, in the input's order
    // Among the rows that fit at the working distance, the one with the
    // largest figure as shown (2 decimals, rounded down), on equal shown
    // figures the wider fitting range as shown in the input's unit, then the
    // earlier row; -1 when none fits.
    int Best = -1;
    // The row whose fitting range lies nearest to the working distance; -1
    // without a working distance or a fitting range.
    int Nearest = -1;
    std::optional<double> LargestFittingSpot; // target / margin, on the surface
};

PlannerResults ComputePlanner(const PlannerInput &input);
