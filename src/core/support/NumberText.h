#pragma once

// Locale-free number reading and writing.
//
// Every number that the core reads from a file or writes into one goes through these helpers,
// so the user's locale (a decimal comma, digit grouping) never changes a database.
// Reading keeps the classic atoi/atof prefix rules ("12abc" is 12, "abc" and "" are 0) but
// accepts decimal notation only: no hexadecimal, no "inf", no "nan". Values beyond the type's
// range saturate instead of overflowing.

#include <string>
#include <string_view>

// Leading whitespace (space, 9..13), an optional sign, then decimal digits.
int ParseInt(std::string_view text);
long ParseLong(std::string_view text);

// Leading whitespace, an optional sign, digits with an optional '.', an optional exponent.
// Magnitudes beyond the double range give +-DBL_MAX; the result is always finite.
double ParseDouble(std::string_view text);

// As ParseDouble, and tells how many characters formed the number (0 when none did).
double ParseDoublePrefix(std::string_view text, std::size_t& used);

// A number the user typed into a field, read whole: blanks around it are ignored and nothing
// else may stand beside it. A whole number is an optional sign and digits whose value an int
// holds ("12.9" is none); a number is decimal notation as ParseDouble reads it whose magnitude
// the double range holds ("1e999" is none). False, with value untouched, for anything else.
bool ReadWholeNumberText(std::string_view text, int& value);
bool ReadNumberText(std::string_view text, double& value);

// "%.<decimals>f" without the locale; decimals are clamped to 0..30. Not-a-number and
// infinities are written as "nan", "inf" and "-inf". A value that shows as zero has no minus
// sign ("0", "0.00"): "-0" would read back as a different text of the same number.
std::string FormatDoubleFixed(double value, int decimals);

// "%<width>.<decimals>f": FormatDoubleFixed right-aligned in a field of width characters.
std::string FormatDoubleFixedWidth(double value, int width, int decimals);

// Shortest text that reads back as the same double ("%g"-like, never locale dependent).
std::string FormatDoubleShortest(double value);
