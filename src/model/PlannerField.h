#pragma once

#include "Lengths.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The planner's input rules, one for every place it reads a number: the
// target's fields, the optics cells, the data-sheet dialog, pasted points
// and imported files. Numbers are read as people write them: "." or "," as
// the decimal mark, blanks, no-break or thin spaces between groups, a length
// unit after the number, a ratio as "75:1".

enum class FieldKind
{
    Length,   // in the chosen unit; read as millimetres
    Factor,   // above 0
    Tilt,     // degrees, 0 to MaxTiltDegrees
    Ratio,    // a distance-to-spot ratio, "75", "75:1" or "75 : 1"; above 0
    Position, // a length that may be 0: a point at the lens front
};

inline constexpr double MaxTiltDegrees = 85;

enum class FieldProblem
{
    Empty,
    NoNumber,
    NotPositive,
    Tilt,
    OutOfRange, // a length outside MinPlausibleLength to MaxPlausibleLength
    Ambiguous,  // "1,000": a decimal or a grouping mark; see FieldReading
    NoLength,   // a unit that is no length, or a unit where none belongs
    BadRatio,   // a ratio other than N:1
    Negative,   // a position below 0
};

// How the numbers of a file or a pasted block write their decimals.
enum class DecimalMark
{
    Unsettled, // each text must settle it itself
    Point,
    Comma,
};

// A value, or the reason there is none.
struct FieldReading
{
    std::optional<double> Value; // millimetres for a length
    std::optional<FieldProblem> Problem;
    // Where the problem is Ambiguous: the number as typed and its two
    // readings, each as it would be written without doubt ("1,000", "1.0",
    // "1000"), in the unit of the place.
    std::string Typed = {};
    std::string AsDecimal = {};
    std::string AsGrouped = {};
};

// Reads a field's UTF-8 text. With an Unsettled mark, one separator followed
// by exactly three digits, after one to three digits of which the first is
// not 0 ("1,000", "10.000"), is Ambiguous; a settled mark reads it, and the
// other mark groups. Both marks in one number: the last one is the decimal
// mark. A length may name its unit ("610 mm", "24\"", "0.61 m") and begin
// with a diameter sign; unit is that of a bare number.
FieldReading ReadPlannerField(std::string_view text, FieldKind kind, LengthUnit unit,
                              DecimalMark mark = DecimalMark::Unsettled);

// The mark that the texts settle between them: a text with a mark followed
// by other than three digits, or with both marks. Unsettled where none
// settles it or where they disagree.
DecimalMark SettleDecimalMark(const std::vector<std::string> &texts);

// A spot as a sheet prints it: "8 mm @ 610 mm", "8 @ 610", "Ø8 mm at 610 mm",
// "8 mm bei 610 mm". A text without "@", "at" or "bei" is the spot alone.
// The distance is read as distanceKind: Position where 0 is allowed.
struct SpotAtReading
{
    FieldReading Spot;
    bool HasDistance = false;
    FieldReading Distance = {};
};
SpotAtReading ReadSpotAt(std::string_view text, LengthUnit unit,
                         DecimalMark mark = DecimalMark::Unsettled,
                         FieldKind distanceKind = FieldKind::Length);

// The number alone, without the field's range rules; none where it is
// ambiguous.
std::optional<double> ParsePlannerNumber(std::string_view text);

// Millimetres per length unit, from its name ("mm", "cm", "m", "in", "inch",
// "inches", "\"", "″"; any case); none for any other word.
std::optional<double> MillimetresPerUnit(std::string_view word);
