#include "PlannerField.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Pasted numbers bring no-break spaces (U+00A0, U+202F) and thin spaces
// (U+2009) along, around them and between their groups.
constexpr std::string_view WideBlanks[] = {"\xc2\xa0", "\xe2\x80\xaf", "\xe2\x80\x89"};
constexpr std::string_view DiameterSigns[] = {"\xc3\x98", "\xc3\xb8", "\xe2\x8c\x80"};

std::string_view TrimBlanks(std::string_view text)
{
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (const std::string_view blank : WideBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
        for (; !text.empty() && static_cast<unsigned char>(text.front()) <= 0x20; trimmed = true)
            text.remove_prefix(1);
        for (; !text.empty() && static_cast<unsigned char>(text.back()) <= 0x20; trimmed = true)
            text.remove_suffix(1);
    }
    return text;
}

// The size of the blank that text begins with, 0 for none.
std::size_t BlankSize(std::string_view text)
{
    if (text.starts_with(' '))
        return 1;
    for (const std::string_view blank : WideBlanks) {
        if (text.starts_with(blank))
            return blank.size();
    }
    return 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsMark(char c)
{
    return c == '.' || c == ',';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return (IsLetter(x) ? x | 0x20 : x) == (IsLetter(y) ? y | 0x20 : y);
    });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// A number as written: its digits with their marks and grouping blanks, each
// between digits (a mark may also begin or end it), then the exponent.
struct NumberParts
{
    std::string_view Sign;
    std::string_view Mantissa;
    std::string_view Exponent;
    std::string_view Rest;
};

std::size_t MantissaEnd(std::string_view text, std::size_t i)
{
    while (i < text.size()) {
        const bool afterDigit = i > 0 && IsDigit(text[i - 1]);
        const bool beforeDigit = i + 1 < text.size() && IsDigit(text[i + 1]);
        if (IsDigit(text[i]) || (IsMark(text[i]) && (beforeDigit || afterDigit))) {
            ++i;
            continue;
        }
        const std::size_t blank = BlankSize(text.substr(i));
        if (blank == 0 || !afterDigit || i + blank >= text.size() || !IsDigit(text[i + blank]))
            break;
        i += blank;
    }
    return i;
}

NumberParts SplitNumber(std::string_view text)
{
    NumberParts parts;
    const std::size_t start = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    parts.Sign = text.substr(0, start);
    const std::size_t end = MantissaEnd(text, start);
    parts.Mantissa = text.substr(start, end - start);
    std::size_t i = end;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E') && !parts.Mantissa.empty()) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t digits = j;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > digits) {
            parts.Exponent = text.substr(i, j - i);
            i = j;
        }
    }
    parts.Rest = text.substr(i);
    return parts;
}

// One mark after one to three digits, the first not 0, then three digits:
// "1,000" is 1.0 to some and 1000 to others.
bool IsAmbiguousForm(std::string_view mantissa)
{
    const std::size_t mark = mantissa.find_first_of(".,");
    return mantissa.find_first_not_of("0123456789.,") == std::string_view::npos && mark >= 1 &&
           mark <= 3 && mantissa.front() != '0' && mantissa.size() == mark + 4 &&
           mantissa.find_first_of(".,", mark + 1) == mantissa.npos;
}

// Appends the digits of a whole part to digits; false where its groups, by
// the grouping mark or by blanks, are not one to three digits then threes.
bool Ungroup(std::string_view part, char grouping, std::string &digits)
{
    std::vector<std::size_t> groups{0};
    for (std::size_t i = 0; i < part.size();) {
        if (IsDigit(part[i])) {
            digits += part[i++];
            ++groups.back();
            continue;
        }
        const std::size_t blank = BlankSize(part.substr(i));
        const std::size_t separator = grouping != 0 ? (part[i] == grouping ? 1 : 0) : blank;
        if (separator == 0)
            return false;
        i += separator;
        groups.push_back(0);
    }
    if (groups.size() == 1)
        return true;
    return groups.front() >= 1 && groups.front() <= 3 && digits.front() != '0' &&
           std::all_of(groups.begin() + 1, groups.end(), [](std::size_t n) { return n == 3; });
}

enum class Parse
{
    Ok,
    NoNumber,
    Huge,
    Ambiguous
};

struct Number
{
    Parse Result = Parse::NoNumber;
    double Value = 0;
    FieldReading Ambiguity = {};
};

Number Ambiguity(const NumberParts &parts)
{
    const std::string_view mantissa = parts.Mantissa;
    const std::size_t mark = mantissa.find_first_of(".,");
    const std::string whole(mantissa.substr(0, mark));
    const std::string decimals(mantissa.substr(mark + 1));
    const std::string sign(parts.Sign == "-" ? "-" : "");
    const std::string exponent(parts.Exponent);
    // "1,000" reads as 1.0: at least one decimal stays.
    const std::size_t last = decimals.find_last_not_of('0');
    const std::string shortest =
        last == std::string::npos ? std::string(1, '0') : decimals.substr(0, last + 1);
    FieldReading reading{std::nullopt, FieldProblem::Ambiguous};
    reading.Typed = std::string(parts.Sign) + std::string(mantissa) + exponent;
    reading.AsDecimal = sign + whole + '.' + shortest + exponent;
    reading.AsGrouped = sign + whole + decimals + exponent;
    return {Parse::Ambiguous, 0, reading};
}

char MarkChar(DecimalMark mark)
{
    return mark == DecimalMark::Point ? '.' : mark == DecimalMark::Comma ? ',' : 0;
}

Number ReadNumber(const NumberParts &parts, DecimalMark mark)
{
    const std::string_view mantissa = parts.Mantissa;
    const auto points = std::ranges::count(mantissa, '.');
    const auto commas = std::ranges::count(mantissa, ',');
    const char settled = MarkChar(mark);
    char decimal = 0;
    char grouping = 0;
    if (points > 0 && commas > 0) {
        decimal = mantissa[mantissa.find_last_of(".,")];
        grouping = decimal == '.' ? ',' : '.';
        if ((decimal == '.' ? points : commas) != 1)
            return {};
    } else if (points + commas > 0) {
        const char used = points > 0 ? '.' : ',';
        if (points + commas > 1)
            grouping = used;
        else if (settled != 0)
            (used == settled ? decimal : grouping) = used;
        else if (IsAmbiguousForm(mantissa))
            return Ambiguity(parts);
        else
            decimal = used;
    }
    if (settled != 0 && (grouping == settled || (decimal != 0 && decimal != settled)))
        return {};
    const std::size_t at = decimal != 0 ? mantissa.find(decimal) : mantissa.size();
    const std::string_view decimals = mantissa.substr(std::min(at + 1, mantissa.size()));
    std::string normal(parts.Sign == "-" ? "-" : "");
    std::string digits;
    if (!Ungroup(mantissa.substr(0, at), grouping, digits) ||
        !std::ranges::all_of(decimals, IsDigit) || (digits.empty() && decimals.empty()))
        return {};
    normal += digits.empty() ? "0" : digits;
    if (!decimals.empty())
        normal += '.' + std::string(decimals);
    normal += parts.Exponent;
    Number number{Parse::Ok};
    const auto [end, error] =
        std::from_chars(normal.data(), normal.data() + normal.size(), number.Value);
    if (error == std::errc::result_out_of_range) {
        // Too small a magnitude is as good as 0, too large one is huge.
        const bool negativeExponent = parts.Exponent.size() > 1 && parts.Exponent[1] == '-';
        number.Value = negativeExponent ? 0 : (parts.Sign == "-" ? -HUGE_VAL : HUGE_VAL);
        number.Result = negativeExponent ? Parse::Ok : Parse::Huge;
        return number;
    }
    if (error != std::errc() || end != normal.data() + normal.size())
        return {};
    return number;
}

struct UnitWord
{
    std::string_view Name;
    double Millimetres;
};

constexpr UnitWord LengthUnits[] = {{"mm", 1},
                                    {"cm", 10},
                                    {"m", 1000},
                                    {"in", MillimetresPerInch},
                                    {"inch", MillimetresPerInch},
                                    {"inches", MillimetresPerInch},
                                    {"\"", MillimetresPerInch},
                                    {"\xe2\x80\xb3", MillimetresPerInch},
                                    {"\xc2\xb5m", 0.001},
                                    {"um", 0.001}};

constexpr std::string_view Degree = "\xc2\xb0";

// Units a field may meet that are no length, written without a blank too.
constexpr std::string_view OtherUnits[] = {"%",
                                           "kg",
                                           "g",
                                           "s",
                                           "ms",
                                           "min",
                                           "h",
                                           "k",
                                           "w",
                                           "v",
                                           "hz",
                                           "l",
                                           "\xc2\xb0"
                                           "c"};

enum class UnitKind
{
    None,
    Length,
    Degree,
    Other,
    Garbage,
};

struct TextUnit
{
    UnitKind Kind = UnitKind::None;
    double Millimetres = 1;
};

// What follows the number: a unit, or something that makes the text no number.
TextUnit ReadUnit(std::string_view rest)
{
    const bool spaced = BlankSize(rest) > 0 || rest.starts_with('\t');
    rest = TrimBlanks(rest);
    if (rest.empty())
        return {};
    if (const std::optional<double> millimetres = MillimetresPerUnit(rest))
        return {UnitKind::Length, *millimetres};
    if (rest == Degree)
        return {UnitKind::Degree};
    const bool other = std::ranges::any_of(
        OtherUnits, [rest](std::string_view word) { return EqualsNoCase(rest, word); });
    if (other || (spaced && std::ranges::all_of(rest, IsLetter)))
        return {UnitKind::Other};
    return {UnitKind::Garbage};
}

FieldReading Problem(FieldProblem problem)
{
    return {std::nullopt, problem};
}

FieldReading ReadRatio(std::string_view text, DecimalMark mark)
{
    if (StartsWithNoCase(text, "D:S"))
        text = TrimBlanks(text.substr(3));
    const std::size_t colon = text.find(':');
    const FieldReading ratio =
        ReadPlannerField(text.substr(0, colon), FieldKind::Factor, LengthUnit::Millimetre, mark);
    if (colon == std::string_view::npos || ratio.Problem == FieldProblem::Ambiguous)
        return ratio;
    FieldReading one =
        ReadPlannerField(text.substr(colon + 1), FieldKind::Factor, LengthUnit::Millimetre, mark);
    if (ratio.Problem == FieldProblem::Empty || one.Problem == FieldProblem::Empty)
        return Problem(FieldProblem::NoNumber);
    if (ratio.Problem == FieldProblem::NoNumber || ratio.Problem == FieldProblem::NoLength)
        return ratio;
    if (one.Problem && one.Problem != FieldProblem::NotPositive)
        return one;
    if (!one.Value || *one.Value != 1)
        return Problem(FieldProblem::BadRatio);
    return ratio;
}

} // namespace

std::optional<double> MillimetresPerUnit(std::string_view word)
{
    for (const UnitWord &unit : LengthUnits) {
        if (EqualsNoCase(word, unit.Name))
            return unit.Millimetres;
    }
    return std::nullopt;
}

FieldReading ReadPlannerField(std::string_view text, FieldKind kind, LengthUnit unit,
                              DecimalMark mark)
{
    text = TrimBlanks(text);
    if (text.empty())
        return Problem(FieldProblem::Empty);
    if (kind == FieldKind::Ratio)
        return ReadRatio(text, mark);
    const bool isLength = kind == FieldKind::Length || kind == FieldKind::Position;
    for (const std::string_view sign : DiameterSigns) {
        if (isLength && text.starts_with(sign)) {
            text = TrimBlanks(text.substr(sign.size()));
            break;
        }
    }
    const NumberParts parts = SplitNumber(text);
    const TextUnit textUnit = ReadUnit(parts.Rest);
    const Number number = ReadNumber(parts, mark);
    if (number.Result == Parse::NoNumber || textUnit.Kind == UnitKind::Garbage)
        return Problem(FieldProblem::NoNumber);
    const bool unitFits = textUnit.Kind == UnitKind::None ||
                          (isLength && textUnit.Kind == UnitKind::Length) ||
                          (kind == FieldKind::Tilt && textUnit.Kind == UnitKind::Degree);
    if (!unitFits)
        return Problem(FieldProblem::NoLength);
    if (number.Result == Parse::Ambiguous)
        return number.Ambiguity;
    const double value = number.Value;
    switch (kind) {
    case FieldKind::Tilt:
        if (!(value >= 0 && value <= MaxTiltDegrees))
            return Problem(FieldProblem::Tilt);
        return {value + 0.0, std::nullopt};
    case FieldKind::Position:
        if (value == 0)
            return {0.0, std::nullopt};
        if (value < 0)
            return Problem(FieldProblem::Negative);
        break;
    case FieldKind::Ratio:
    case FieldKind::Factor:
        if (!std::isfinite(value))
            return Problem(FieldProblem::NoNumber);
        if (!(value > 0))
            return Problem(FieldProblem::NotPositive);
        return {value, std::nullopt};
    case FieldKind::Length:
        break;
    }
    if (!(value > 0))
        return Problem(FieldProblem::NotPositive);
    const double millimetres =
        textUnit.Kind == UnitKind::Length ? value * textUnit.Millimetres : FromUnit(value, unit);
    if (!(millimetres >= MinPlausibleLength && millimetres <= MaxPlausibleLength))
        return Problem(FieldProblem::OutOfRange);
    return {millimetres, std::nullopt};
}

std::optional<double> ParsePlannerNumber(std::string_view text)
{
    const NumberParts parts = SplitNumber(TrimBlanks(text));
    const Number number = ReadNumber(parts, DecimalMark::Unsettled);
    if (number.Result != Parse::Ok || !parts.Rest.empty())
        return std::nullopt;
    return number.Value;
}

DecimalMark SettleDecimalMark(const std::vector<std::string> &texts)
{
    DecimalMark settled = DecimalMark::Unsettled;
    for (const std::string &text : texts) {
        for (std::size_t i = 0; i < text.size();) {
            if (!IsDigit(text[i])) {
                ++i;
                continue;
            }
            const std::size_t end = MantissaEnd(text, i);
            std::string_view mantissa = std::string_view(text).substr(i, end - i);
            i = end;
            while (IsMark(mantissa.back()))
                mantissa.remove_suffix(1);
            const std::size_t last = mantissa.find_last_of(".,");
            const bool both =
                mantissa.find('.') != mantissa.npos && mantissa.find(',') != mantissa.npos;
            const bool single = last != mantissa.npos && mantissa.find_first_of(".,") == last;
            if (!both && !(single && !IsAmbiguousForm(mantissa)))
                continue;
            const DecimalMark mark =
                mantissa[last] == '.' ? DecimalMark::Point : DecimalMark::Comma;
            if (settled != DecimalMark::Unsettled && settled != mark)
                return DecimalMark::Unsettled;
            settled = mark;
        }
    }
    return settled;
}

SpotAtReading ReadSpotAt(std::string_view text, LengthUnit unit, DecimalMark mark,
                         FieldKind distanceKind)
{
    std::size_t at = text.find('@');
    std::size_t size = 1;
    for (std::size_t i = 0; at == text.npos && i < text.size(); ++i) {
        for (const std::string_view word : {"at", "bei"}) {
            const std::size_t end = i + word.size();
            if (StartsWithNoCase(text.substr(i), word) && (i == 0 || !IsLetter(text[i - 1])) &&
                (end == text.size() || !IsLetter(text[end]))) {
                at = i;
                size = word.size();
            }
        }
    }
    if (at == text.npos)
        return {ReadPlannerField(text, FieldKind::Length, unit, mark)};
    return {ReadPlannerField(text.substr(0, at), FieldKind::Length, unit, mark), true,
            ReadPlannerField(text.substr(at + size), distanceKind, unit, mark)};
}
