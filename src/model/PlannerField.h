#pragma once

#include "Lengths.h"

#include <optional>
#include <string_view>

// The planner's input rules, one for every field it reads: the target's
// fields and the optics cells.

enum class FieldKind
{
    Length, // in the chosen unit; read as millimetres
    Factor, // above 0
    Tilt    // degrees, 0 to MaxTiltDegrees
};

inline constexpr double MaxTiltDegrees = 85;

enum class FieldProblem
{
    Empty,
    NoNumber,
    NotPositive,
    Tilt,
    OutOfRange // a length outside MinPlausibleLength to MaxPlausibleLength
};

// A value, or the reason there is none.
struct FieldReading
{
    std::optional<double> Value; // millimetres for a length
    std::optional<FieldProblem> Problem;
};

// Reads a field's UTF-8 text: "." or "," as the decimal separator, blanks and
// no-break spaces around the number allowed, the value kept in double.
FieldReading ReadPlannerField(std::string_view text, FieldKind kind, LengthUnit unit);

// The number alone, without the field's range rules.
std::optional<double> ParsePlannerNumber(std::string_view text);
