#include "TargetCheck.h"

#include <cmath>
#include <numbers>

namespace {

struct Beam
{
    double M90;
    double A;
    double D;
};

Beam BeamOf(const SpotOptics &optics)
{
    return {double(optics.M90), double(optics.A), double(optics.D)};
}

// The focus itself belongs to the near piece, as in the calculator.
double Spot(const Beam &beam, double x)
{
    if (x <= beam.A)
        return beam.D + (x / beam.A) * (beam.M90 - beam.D);
    return (x / beam.A) * (beam.M90 + beam.D) - beam.D;
}

double Cosine(double degrees)
{
    return std::cos(degrees * (std::numbers::pi / 180.0));
}

// The ratio is formed before multiplying by a, so a spot equal to M90 gives
// exactly a: the ratio is then exactly 1.
double NearEnd(const Beam &beam, double s)
{
    return (s - beam.D) / (beam.M90 - beam.D) * beam.A + 0.0;
}

double FarEnd(const Beam &beam, double s)
{
    return (s + beam.D) / (beam.M90 + beam.D) * beam.A;
}

} // namespace

double SpotOnSurface(const SpotOptics &optics, double x, double tiltDegrees)
{
    return Spot(BeamOf(optics), x) / Cosine(tiltDegrees);
}

TargetFit DistancesForTarget(const SpotOptics &optics, double target, double margin,
                             double tiltDegrees)
{
    const Beam beam = BeamOf(optics);
    // The largest spot, measured across the line of sight, that still fits.
    const double s = target * Cosine(tiltDegrees) / margin;
    constexpr TargetFit none{false, 0, 0};

    // Compared as floats without tolerance: "M90 = D" is the data as entered.
    if (optics.M90 < optics.D) {
        if (s < beam.M90)
            return none;
        if (s < beam.D)
            return {true, NearEnd(beam, s), FarEnd(beam, s)};
        return {true, 0, FarEnd(beam, s)};
    }
    if (optics.M90 > optics.D) {
        if (s < beam.D)
            return none;
        if (s <= beam.M90)
            return {true, 0, NearEnd(beam, s)};
        return {true, 0, FarEnd(beam, s)};
    }
    if (s < beam.D)
        return none;
    return {true, 0, FarEnd(beam, s)};
}

double DistanceToSpotAt(const SpotOptics &optics, double x)
{
    return x / Spot(BeamOf(optics), x);
}

double DistanceToSpotAtFocus(const SpotOptics &optics)
{
    return double(optics.A) / double(optics.M90);
}

double DistanceToSpotFarField(const SpotOptics &optics)
{
    return double(optics.A) / (double(optics.M90) + double(optics.D));
}
