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
};

// M90 = a / ratio at the focus, D = a / far-field ratio - M90. Empty where an
// input is not above 0 or D would not be.
std::optional<SpotOptics> OpticsFromRatios(double focusDistance, double ratioAtFocus,
                                           double ratioFarField);

// D = a / far-field ratio - M90, with M90 the spot at the focus. Empty where
// an input is not above 0 or D would not be.
std::optional<SpotOptics> OpticsFromFocusSpot(double focusDistance, double spotAtFocus,
                                              double ratioFarField);

// Least squares over the relative deviations, with M90, a and D above 0.
// Not Ok for fewer than 3 points, a distance below 0, a spot not above 0, no
// point on each side of the fitted focus, or points that one straight line
// fits as well as any cone.
OpticsFit FitOpticsToPoints(const std::vector<SpotPoint> &points);
