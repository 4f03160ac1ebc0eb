// Number texts: parsing never fails on arbitrary bytes and agrees with the C
// library on every well-formed decimal; the first four bytes, taken as a
// float, must format to the "0.0" form and read back to within half a tenth.

#include "model/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "fuzz_numbertext: %s: \"%.*s\"\n", what, int(text.size()), text.data());
    std::abort();
}

bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The blanks the parser skips: every control byte and the space.
std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}

// Sign, digits with at most one ".", at least one digit, and an optional
// exponent with at least one digit: written apart from the parser on purpose.
bool IsDecimalSyntax(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        if (i == exponentStart)
            return false;
    }
    return i == s.size();
}

void CheckParse(std::string_view text)
{
    // A failed parse must leave the caller's value alone.
    constexpr float untouched = 1234.5f;
    float value = untouched;
    const bool parsed = TryParseNumber(text, value);
    if (!parsed && !SameBits(value, untouched))
        Fail("a rejected text changed the value", text);
    if (parsed && !std::isfinite(value))
        Fail("a parsed value is not finite", text);

    const float orZero = ParseNumber(text);
    const float orMinusOne = ParseNumberOrMinusOne(text);
    if (!SameBits(orZero, parsed ? value : 0.0f))
        Fail("ParseNumber disagrees with TryParseNumber", text);
    if (!SameBits(orMinusOne, parsed ? value : -1.0f))
        Fail("ParseNumberOrMinusOne disagrees with TryParseNumber", text);

    // glibc's strtof rounds correctly from any number of digits; in the "C"
    // locale the fuzzer runs in, "." is its decimal point.
    const std::string_view body = TrimBlanks(text);
    if (!IsDecimalSyntax(body)) {
        if (parsed)
            Fail("a text that is no decimal number was accepted", text);
        return;
    }
    const std::string copy(body);
    errno = 0;
    const float reference = std::strtof(copy.c_str(), nullptr);
    if (std::isinf(reference)) {
        if (parsed)
            Fail("a value beyond the float range was accepted", text);
    } else if (!parsed) {
        Fail("a decimal number in the float range was rejected", text);
    } else if (!SameBits(value, reference)) {
        Fail("the value is not the correctly rounded float", text);
    }
}

// "-"? then the integer digits without leading zeros, ".", one digit.
bool IsOneDecimalForm(std::string_view s)
{
    if (!s.empty() && s.front() == '-')
        s.remove_prefix(1);
    const std::size_t point = s.find('.');
    if (point == std::string_view::npos || point == 0 || point + 2 != s.size())
        return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i != point && !IsDigit(s[i]))
            return false;
    }
    return point == 1 || s.front() != '0';
}

void CheckFormat(float value)
{
    const std::string text = FormatNumber(value);
    if (!std::isfinite(value))
        return;
    if (!IsOneDecimalForm(text))
        Fail("not in the one-decimal form", text);

    const long double exact = value;
    if (std::fabs(exact) < 1e15L) {
        // Below 1e15 a float's decimal form is exact well past the second
        // decimal, so rounding its exact value half away from zero is the
        // rounding of its 18-digit form; long double holds value * 10 exactly.
        const auto tenths = static_cast<long long>(std::roundl(std::fabs(exact) * 10));
        std::string expected = std::to_string(tenths / 10) + '.' + char('0' + tenths % 10);
        if (tenths != 0 && value < 0)
            expected.insert(expected.begin(), '-');
        if (text != expected)
            Fail(("expected " + expected + ", formatted").c_str(), text);
    }

    float back = 0;
    if (!TryParseNumber(text, back))
        Fail("a formatted value does not parse", text);
    // The text may stand up to a twentieth away, and reading it back rounds to
    // the float grid once more, which is wider than 0.05 for large values.
    const float magnitude = std::fabs(value);
    const float above = std::nextafter(magnitude, std::numeric_limits<float>::infinity());
    const long double ulp = std::isinf(above) ? magnitude - std::nextafter(magnitude, 0.0f)
                                              : static_cast<long double>(above) - magnitude;
    if (std::fabs(static_cast<long double>(back) - exact) > 0.05L + ulp)
        Fail("reads back too far from the formatted float", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    CheckParse(text);
    if (size >= 4) {
        float value = 0;
        std::memcpy(&value, data, sizeof value);
        CheckFormat(value);
    }
    return 0;
}
