#pragma once

// Rounding to powers of ten and the fixed-point number texts that every amount, percentage,
// oxide value, cost and graph limit goes through.
//
// Rounding is half away from zero (2.5 -> 3, -2.5 -> -3), unlike printf's round-half-even on
// the binary value, so FormatFixed rounds first and then prints. Texts never depend on the
// user's locale: they are written by FormatDoubleFixed (support/NumberText.h).

#include <span>
#include <string>
#include <string_view>

// 10^n. From the tables for -12..12; beyond, 10^12 times 10 (or 10^-12 times 0.1) repeatedly,
// so PowerOfTen(15) is 1e12 * 10 * 10 * 10. n is clamped to -400..400 first: the result is
// already 0 or infinity there, and a huge n no longer loops billions of times.
double PowerOfTen(int n);

// x rounded half away from zero to a multiple of 10^p (p = -2 gives two decimals).
double RoundToPowerOfTen(double x, int p);

// floor(|x| * 10^-p + bias) * 10^p with the sign of x. A value too large to scale (and NaN or an
// infinity) comes back unchanged; a result of zero keeps the sign of x (-0.4 gives -0).
double RoundWithBias(double x, int p, double bias);

// RoundWithBias with bias 0: cut toward zero (-1.99 to 0 decimals is -1).
double TruncateToPowerOfTen(double x, int p);

// x rounded away from zero to a multiple of 10^p; a value already on a multiple stays as it is.
double RoundUpToPowerOfTen(double x, int p);

// x rounded with RoundToPowerOfTen to d decimals and printed as "%.<d>f". d is clamped to 0..30.
std::string FormatFixed(double x, int d);

// As FormatFixed, right-aligned in a field of w + d + 1 characters (w digits before the point).
// The field width is clamped to 0..400; a negative field means no padding.
std::string FormatNumberWidth(double x, int w, int d);

// The trailing-zero rules. Each works in place and returns its argument; a text without a '.'
// is never changed.
//   StripTrailingZerosAll: 1.500 -> 1.5, 2.000 -> 2.
//   StripTrailingZeros(n): keeps n decimals at least; the point always stays (n = 0: 2.000 ->
//     "2."); n < 0 is StripTrailingZerosAll.
//   The Blank forms replace each removed character by a blank, so the width stays and numbers
//   stay aligned in columns.
std::string& StripTrailingZerosAll(std::string& text);
std::string& StripTrailingZeros(std::string& text, int n);
std::string& BlankTrailingZerosAll(std::string& text);
std::string& BlankTrailingZeros(std::string& text, int n);

// An optional leading '-', then only decimal digits with at most one '.'. The empty text is
// false; "-" and "." alone are true.
bool IsNumberText(std::string_view text);

// Looks for the smallest factor f = k / m (m the smallest non-zero value, k = 1..largestFactor)
// that turns every positive value, rounded to `decimals` decimals, into a whole number.
//   Found: with scale, every value becomes RoundToPowerOfTen(f * value, 0); returns f.
//   Not found, with fallback: every value is divided by m; returns 1 / m.
//   Otherwise, and when m is missing or not positive, returns 0 and leaves the values alone.
// largestFactor < 1 means 10. A NaN or infinite value returns 0 and changes nothing (the
// original would have produced NaN factors); a scaled value that overflows fails the test.
double FindIntegerRatio(int decimals, std::span<double> values, int largestFactor, bool scale,
                        bool fallback);
