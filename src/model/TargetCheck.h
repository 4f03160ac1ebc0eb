#pragma once

#include "SpotModel.h"

// Whether a target of a given diameter fits inside the measuring spot, and
// where. Everything is computed in double precision from the float data, so
// the range ends do not inherit the single-precision rounding of the
// calculator's results.

// The closed range of distances [Near, Far] where the target fits; both 0
// when Any is false.
struct TargetFit
{
    bool Any;
    double Near;
    double Far;
};

// The long axis of the spot's ellipse on a plane tilted by tiltDegrees
// against the line of sight: s(x) / cos(tilt). A first-order figure: it
// ignores that the cone widens across the tilted plane. At x = 0 it is
// D / cos(tilt).
double SpotOnSurface(const SpotOptics &optics, double x, double tiltDegrees);

// The distances x >= 0 where margin x SpotOnSurface <= target.
// Preconditions: all lengths > 0, margin > 0, 0 <= tilt < 90.
TargetFit DistancesForTarget(const SpotOptics &optics, double target, double margin,
                             double tiltDegrees);

// Distance-to-spot ratios: x / s(x), at the focus a / M90, and in the far
// field a / (M90 + D).
double DistanceToSpotAt(const SpotOptics &optics, double x);
double DistanceToSpotAtFocus(const SpotOptics &optics);
double DistanceToSpotFarField(const SpotOptics &optics);
