#include "PlannerField.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Pasted numbers bring no-break spaces (U+00A0, U+202F) along.
std::string_view TrimBlanks(std::string_view text)
{
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (const std::string_view blank : {"\xc2\xa0", "\xe2\x80\xaf"}) {
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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Sign, digits with at most one point and at least one digit, an optional
// exponent: the calculator's number form, so "inf", "nan" and hex are none.
bool IsNumberForm(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            if (point)
                return false;
            point = true;
        } else {
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponent = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponent)
            return false;
    }
    return i == text.size();
}

enum class Parse
{
    Ok,
    NoNumber,
    Huge
};

Parse ParseNumber(std::string_view text, double &value)
{
    std::string normal(TrimBlanks(text));
    for (char &c : normal) {
        if (c == ',')
            c = '.';
    }
    if (!IsNumberForm(normal))
        return Parse::NoNumber;
    // from_chars takes no "+".
    const std::size_t start = normal.front() == '+' ? 1 : 0;
    const auto [end, error] =
        std::from_chars(normal.data() + start, normal.data() + normal.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small a magnitude is as good as 0, too large one is huge.
        const std::size_t e = normal.find_first_of("eE");
        const bool negativeExponent = e != std::string::npos && normal[e + 1] == '-';
        value = negativeExponent ? 0 : (normal.front() == '-' ? -HUGE_VAL : HUGE_VAL);
        return negativeExponent ? Parse::Ok : Parse::Huge;
    }
    return error == std::errc() && end == normal.data() + normal.size() ? Parse::Ok
                                                                        : Parse::NoNumber;
}

} // namespace

FieldReading ReadPlannerField(std::string_view text, FieldKind kind, LengthUnit unit,
                              DecimalMark mark)
{
    (void)mark; // TODO
    if (TrimBlanks(text).empty())
        return {std::nullopt, FieldProblem::Empty};
    double value = 0;
    if (ParseNumber(text, value) == Parse::NoNumber)
        return {std::nullopt, FieldProblem::NoNumber};
    switch (kind) {
    case FieldKind::Tilt:
        if (!(value >= 0 && value <= MaxTiltDegrees))
            return {std::nullopt, FieldProblem::Tilt};
        return {value + 0.0, std::nullopt};
    case FieldKind::Position:
        if (value == 0)
            return {0.0, std::nullopt};
        if (value < 0)
            return {std::nullopt, FieldProblem::Negative};
        break;
    case FieldKind::Ratio:
    case FieldKind::Factor:
        if (!std::isfinite(value))
            return {std::nullopt, FieldProblem::NoNumber};
        if (!(value > 0))
            return {std::nullopt, FieldProblem::NotPositive};
        return {value, std::nullopt};
    case FieldKind::Length:
        break;
    }
    if (!(value > 0))
        return {std::nullopt, FieldProblem::NotPositive};
    const double millimetres = FromUnit(value, unit);
    if (!(millimetres >= MinPlausibleLength && millimetres <= MaxPlausibleLength))
        return {std::nullopt, FieldProblem::OutOfRange};
    return {millimetres, std::nullopt};
}

std::optional<double> ParsePlannerNumber(std::string_view text)
{
    double value = 0;
    if (ParseNumber(text, value) != Parse::Ok)
        return std::nullopt;
    return value;
}

DecimalMark SettleDecimalMark(const std::vector<std::string> &texts)
{
    (void)texts; // TODO
    return DecimalMark::Unsettled;
}

SpotAtReading ReadSpotAt(std::string_view text, LengthUnit unit, DecimalMark mark)
{
    return {ReadPlannerField(text, FieldKind::Length, unit, mark)};
}
