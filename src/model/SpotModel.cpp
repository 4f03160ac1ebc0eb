#include "SpotModel.h"

#include <climits>
#include <limits>

// Every intermediate is carried with a 64-bit significand and rounded to float
// once, at the return; rounding an intermediate to float or double would
// change the last bit of some results.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the spot model needs x87 extended precision for long double");

using Extended = long double;

namespace {

// 1/192 rounded to nearest in extended precision lies above the true value, so
// PositionForDistance(a, DistanceForPosition(a, p)) gives p back for every a.
constexpr Extended OneStep = 1.0L / 192.0L;

Extended NearPiece(SpotOptics o, Extended s)
{
    const Extended numerator = s - Extended(o.D);
    const Extended denominator = Extended(o.M90) - Extended(o.D);
    // Adding +0 turns the -0 of 0 / negative into +0: a distance is never -0.
    return (numerator / denominator) * Extended(o.A) + 0.0L;
}

Extended FarPiece(SpotOptics o, Extended s)
{
    const Extended numerator = s + Extended(o.D);
    const Extended denominator = Extended(o.M90) + Extended(o.D);
    return (numerator / denominator) * Extended(o.A);
}

} // namespace

bool AreInputsValid(SpotOptics optics, float value)
{
    return optics.D > 0 && optics.A > 0 && optics.M90 > 0 && value > 0;
}

float SpotAtDistance(SpotOptics optics, float x)
{
    const Extended ratio = Extended(x) / Extended(optics.A);
    if (x > optics.A)
        return float(ratio * (Extended(optics.M90) + Extended(optics.D)) - Extended(optics.D));
    return float(ratio * (Extended(optics.M90) - Extended(optics.D)) + Extended(optics.D));
}

bool IsSpotReachable(SpotOptics optics, float s)
{
    if (optics.M90 > optics.D)
        return s >= optics.D;
    // With M90 == D the beam is never narrower than D, so D is the bound too.
    return s >= optics.M90;
}

float DistanceForSpot(SpotOptics optics, float s, bool beyondFocus)
{
    if (optics.M90 == optics.D) {
        // The near piece would divide by M90 - D == 0. The beam keeps
        // diameter D up to the focus, so s == D is first reached there.
        if (s <= optics.D)
            return optics.A;
        return float(FarPiece(optics, s));
    }

    const float lo = optics.M90 > optics.D ? optics.D : optics.M90;
    const float hi = optics.M90 > optics.D ? optics.M90 : optics.D;
    const bool nearPiece = beyondFocus ? s < optics.M90 : (lo <= s && s <= hi);
    return float(nearPiece ? NearPiece(optics, s) : FarPiece(optics, s));
}

float DistanceForPosition(float a, int p)
{
    return float((Extended(p) * Extended(a)) * OneStep);
}

int PositionForDistance(float a, float x)
{
    const float q = float((Extended(x) * 192.0L) / Extended(a));
    const Extended rounded = Extended(q) + 0.5L;
    // Distances beyond about 11 million focus distances have no position;
    // saturate instead of overflowing the conversion.
    if (!(rounded < Extended(INT_MAX)))
        return INT_MAX;
    if (rounded <= Extended(INT_MIN))
        return INT_MIN;
    return int(rounded);
}
