#pragma once

#include <string>
#include <string_view>

// Number texts of the window, the table and the CSV file. Independent of the
// process's locale: "." is always the decimal point.

// Reads a decimal number: optional sign, digits with at most one ".", at
// least one digit, an optional exponent "E"/"e" with optional sign and at
// least one digit; blanks around it are ignored. The value is rounded to
// float once. Returns false, leaving value alone, for anything else, and for
// values beyond the float range ("inf", "nan", hex forms are no numbers).
bool TryParseNumber(std::string_view text, float &value);

// The window's rule: a text that is no number counts as 0.
float ParseNumber(std::string_view text);

// The table's rule: a text that is no number counts as -1.
float ParseNumberOrMinusOne(std::string_view text);

// The "0.0" format: at least one integer digit, exactly one decimal, "." as
// the point, no grouping; rounded half away from zero on the value's
// 18-significant-digit decimal form, so 2.25f gives "2.3".
std::string FormatNumber(float value);
