#include "NumberText.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <system_error>

// Only std::from_chars and std::to_chars touch binary values here: both are
// defined to ignore the locale, unlike strtod, printf and streams.

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal magnitude as significant digits d0 d1 d2 ... (no leading or
// trailing zeros) and the power of ten of d0.
struct Decimal
{
    std::string digits;
    long long lead = 0;
};

// Exact comparison of two decimals with the same significant-digit layout:
// a missing digit counts as 0, so a proper prefix is the smaller one.
int Compare(const Decimal &x, const Decimal &y)
{
    if (x.lead != y.lead)
        return x.lead < y.lead ? -1 : 1;
    const int c = x.digits.compare(y.digits);
    return (c > 0) - (c < 0);
}

// The exact decimal expansion of a positive double. A multiple of 2^-150 in
// float's subnormal range has at most about 110 significant digits.
Decimal ExactDecimal(double magnitude)
{
    std::array<char, 200> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, 160);
    const std::string_view text(buffer.data(), result.ptr - buffer.data());
    const std::size_t e = text.find('e');

    Decimal out;
    out.digits.push_back(text[0]);
    out.digits.append(text.substr(2, e - 2));
    out.digits.erase(out.digits.find_last_not_of('0') + 1);
    bool negative = false;
    for (std::size_t i = e + 1; i < text.size(); ++i) {
        if (text[i] == '-')
            negative = true;
        else if (IsDigit(text[i]))
            out.lead = out.lead * 10 + (text[i] - '0');
    }
    if (negative)
        out.lead = -out.lead;
    return out;
}

// Rounds a magnitude up to FLT_MIN to float's subnormal grid (multiples of
// 2^-149), ties to even. The double nearest to the text decides except when it
// sits exactly on a midpoint of that grid: the text itself may then lie on
// either side, and only its exact digits tell. This keeps subnormals correctly
// rounded whatever from_chars<float> reports for them (implementations differ
// on underflow; some call every inexact subnormal out of range).
float RoundToSubnormal(double magnitude, const Decimal &exact)
{
    const double units = std::ldexp(magnitude, 149);
    double whole = std::floor(units);
    const double fraction = units - whole;
    if (fraction > 0.5) {
        whole += 1;
    } else if (fraction == 0.5) {
        const int side = Compare(exact, ExactDecimal(magnitude));
        if (side > 0 || (side == 0 && std::fmod(whole, 2.0) != 0))
            whole += 1;
    }
    return std::ldexp(static_cast<float>(whole), -149);
}

// Texts with absurd exponents must not overflow the arithmetic; any exponent
// this large already decides overflow or underflow.
constexpr long long ExponentCap = 1'000'000'000'000;

} // namespace

bool TryParseNumber(std::string_view text, float &value)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    const std::string_view s = text.substr(first, last - first);

    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // from_chars takes no "+", so it is handed the text after the sign.
    const std::size_t bodyStart = i;

    const std::size_t intStart = i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    const std::string_view intDigits = s.substr(intStart, i - intStart);
    std::string_view fracDigits;
    if (i < s.size() && s[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        fracDigits = s.substr(fracStart, i - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty())
        return false;

    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        while (i < s.size() && IsDigit(s[i])) {
            exponent = std::min(exponent * 10 + (s[i] - '0'), ExponentCap);
            ++i;
        }
        if (i == expStart)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        return false;

    Decimal exact;
    exact.digits.append(intDigits).append(fracDigits);
    const std::size_t firstNonZero = exact.digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        value = negative ? -0.0f : 0.0f;
        return true;
    }
    exact.digits.erase(exact.digits.find_last_not_of('0') + 1);
    exact.digits.erase(0, firstNonZero);
    exact.lead = static_cast<long long>(intDigits.size()) - 1 -
                 static_cast<long long>(firstNonZero) + exponent;

    // From 1e39 up the text is beyond the float range; below 1e-46 it is less
    // than half the smallest subnormal (about 7.0e-46) and rounds to zero.
    // Between the two, double holds the value without overflow or underflow.
    if (exact.lead >= 39)
        return false;
    float magnitude = 0.0f;
    if (exact.lead > -47) {
        const char *const begin = s.data() + bodyStart;
        const char *const end = s.data() + s.size();
        double approximate = 0.0;
        const auto asDouble = std::from_chars(begin, end, approximate, std::chars_format::general);
        if (asDouble.ec != std::errc() || asDouble.ptr != end)
            return false;
        // FLT_MIN itself goes this way too: a text just below it whose double
        // rounds up to it must not meet from_chars' underflow report.
        if (approximate <= FLT_MIN) {
            magnitude = RoundToSubnormal(approximate, exact);
        } else {
            // Rounded once, straight from the digits: going through double
            // would round twice and change the last bit of some values.
            const auto asFloat = std::from_chars(begin, end, magnitude, std::chars_format::general);
            if (asFloat.ec != std::errc() || asFloat.ptr != end)
                return false; // rounds beyond FLT_MAX
        }
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

float ParseNumber(std::string_view text)
{
    float value = 0.0f;
    return TryParseNumber(text, value) ? value : 0.0f;
}

float ParseNumberOrMinusOne(std::string_view text)
{
    float value = 0.0f;
    return TryParseNumber(text, value) ? value : -1.0f;
}

std::string FormatNumber(float value)
{
    // The window never shows these; they only keep the function total.
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    // d.ddddddddddddddddde±xx: 18 significant digits of the float's exact
    // value, correctly rounded; the rounding to one decimal works on these.
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                      std::fabs(static_cast<double>(value)), std::chars_format::scientific, 17);
    const std::string_view text(buffer.data(), result.ptr - buffer.data());
    const std::size_t e = text.find('e');
    std::string digits(1, text[0]);
    digits.append(text.substr(2, e - 2));
    int exponent = 0;
    for (std::size_t i = e + 2; i < text.size(); ++i)
        exponent = exponent * 10 + (text[i] - '0');
    if (text[e + 1] == '-')
        exponent = -exponent;

    // digits[k] weighs 10^(exponent - k); the first decimal is k = exponent + 1.
    const int kept = exponent + 2;
    const int available = static_cast<int>(digits.size());
    std::string tenths; // |value| * 10 as an integer
    bool roundUp = false;
    if (kept <= 0) {
        tenths = "0";
        roundUp = kept == 0 && digits[0] >= '5';
    } else {
        tenths = digits.substr(0, std::min(kept, available));
        tenths.append(std::max(kept - available, 0), '0');
        roundUp = kept < available && digits[kept] >= '5';
    }
    if (roundUp) {
        std::size_t k = tenths.size();
        while (k > 0 && tenths[k - 1] == '9')
            tenths[--k] = '0';
        if (k == 0)
            tenths.insert(tenths.begin(), '1');
        else
            ++tenths[k - 1];
    }

    const std::size_t significant = tenths.find_first_not_of('0');
    std::string out;
    if (significant != std::string::npos && std::signbit(value))
        out.push_back('-'); // a value that rounds to zero shows no sign
    std::string integer = tenths.substr(0, tenths.size() - 1);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    out += integer.empty() ? "0" : integer;
    out.push_back('.');
    out.push_back(tenths.back());
    return out;
}
