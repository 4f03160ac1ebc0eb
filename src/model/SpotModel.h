#pragma once

// The arithmetic of a pyrometer's measuring spot: spot diameter against
// distance for a straight-sided double cone, the validity rules and the
// slider scale. All lengths are millimetres in single precision.

// The three basic optical data.
struct SpotOptics
{
    float M90; // spot diameter at the focus distance
    float A;   // focus distance, measured from the lens front
    float D;   // aperture: beam diameter at the lens front
};

// Highest slider position; position 192 is the focus distance.
inline constexpr int SliderPositions = 384;
inline constexpr int FocusPosition = 192;

// True when D, a, M90 and value are all strictly greater than 0.
bool AreInputsValid(SpotOptics optics, float value);

// Spot diameter at distance x. Precondition: AreInputsValid(optics, x).
float SpotAtDistance(SpotOptics optics, float x);

// True when the beam reaches spot diameter s somewhere in front of the lens.
// Precondition: AreInputsValid(optics, s).
bool IsSpotReachable(SpotOptics optics, float s);

// Distance at which the spot diameter is s; where two distances exist,
// beyondFocus picks the one beyond the focus. Preconditions:
// AreInputsValid(optics, s) and IsSpotReachable(optics, s).
float DistanceForSpot(SpotOptics optics, float s, bool beyondFocus);

// Distance of slider position p (0..384) for focus distance a > 0.
float DistanceForPosition(float a, int p);

// Slider position nearest to distance x >= 0 for focus distance a > 0; not
// clamped to the slider's range, but saturated to the int range.
int PositionForDistance(float a, float x);
