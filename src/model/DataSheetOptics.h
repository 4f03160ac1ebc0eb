#pragma once

#include "SpotModel.h"

#include <optional>
#include <vector>

// The three optical data from what a data sheet prints instead: distance-to-
// spot ratios, a spot at the focus, or a spot-size diagram. Lengths are
// millimetres (or any one unit used throughout); a ratio is distance / spot.

// One point of a spot-size diagram.
struct SpotPoint
{
    double Distance;
    double Spot;
};

// The double cone that fits a diagram best. Deviations holds each point's
// relative deviation (fitted spot - spot) / spot in the input's order, and
// MaxDeviation the largest absolute one. Where Ok is false, no cone is
// determined and the other members are 0 and empty.
struct OpticsFit
{
    bool Ok;
    double M90;
    double A;
    double D;
    std::vector<double> Deviations;
    double MaxDeviation;
    // As many points as the fit has free data: the fit passes through every
    // point by construction, so the deviations check nothing.
    bool Determined;
};

// Why a sheet's figures give no optics.
enum class DataSheetProblem
{
    None,
    NotPositive,        // a figure not above 0
    FarRatioNotSmaller, // the far-field ratio must be below the ratio at the focus
    FarNotBeyondFocus,  // the far-field ratio's distance must lie beyond the focus
    NotSingle,          // a datum outside the float range
};

struct SheetOptics
{
    std::optional<SpotOptics> Optics;
    DataSheetProblem Problem = DataSheetProblem::None;
};

// The far-field ratio is read as the asymptote a / (M90 + D), or, where the
// sheet names the distance L (beyond the focus) it prints the ratio at, as
// L / s(L); D follows from the spot at that distance.

// M90 = a / ratio at the focus, D from the far-field ratio.
SheetOptics OpticsFromRatios(double focusDistance, double ratioAtFocus, double ratioFarField,
                             std::optional<double> farFieldDistance = std::nullopt);

// D from the far-field ratio, with M90 the spot at the focus.
SheetOptics OpticsFromFocusSpot(double focusDistance, double spotAtFocus, double ratioFarField,
                                std::optional<double> farFieldDistance = std::nullopt);

// Least squares over the relative deviations, with M90, a and D above 0.
// Not Ok for fewer than 3 points, a distance below 0, a spot not above 0, no
// point on each side of the fitted focus, points that one straight line fits
// as well as any cone, or a datum outside the float range.
OpticsFit FitOpticsToPoints(const std::vector<SpotPoint> &points);

// The same with the focus kept at the distance the sheet prints: M90 and D
// alone are fitted, so three points already check the fit. The points may
// all lie on one side of the focus; refused as the free fit otherwise.
OpticsFit FitOpticsWithFocus(const std::vector<SpotPoint> &points, double focusDistance);
