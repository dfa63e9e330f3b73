#include "support/NumberFormat.h"

#include "core/support/LocaleGuard.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Strip(std::string text, int n)
{
    return StripTrailingZeros(text, n);
}

std::string StripAll(std::string text)
{
    return StripTrailingZerosAll(text);
}

std::string Blank(std::string text, int n)
{
    return BlankTrailingZeros(text, n);
}

std::string BlankAll(std::string text)
{
    return BlankTrailingZerosAll(text);
}

} // namespace

TEST(NumberFormatTest, PowersOfTenComeFromTheTablesAndBeyond)
{
    EXPECT_EQ(PowerOfTen(0), 1.0);
    EXPECT_EQ(PowerOfTen(12), 1e12);
    EXPECT_EQ(PowerOfTen(-12), 1e-12);
    EXPECT_EQ(PowerOfTen(15), 1e15); // 1e12 * 10 * 10 * 10 is exact
    EXPECT_DOUBLE_EQ(PowerOfTen(-13), 1e-13);
    EXPECT_DOUBLE_EQ(PowerOfTen(-20), 1e-20);
}

// Regression: a huge |n| used to loop n - 12 times (billions for INT_MAX): seconds of processor
// time, however busy the machine.
TEST(NumberFormatTest, HugePowersAreClampedNotLooped)
{
    const std::clock_t start = std::clock();
    EXPECT_EQ(PowerOfTen(INT_MAX), std::numeric_limits<double>::infinity());
    EXPECT_EQ(PowerOfTen(INT_MIN), 0.0);
    EXPECT_EQ(PowerOfTen(400), std::numeric_limits<double>::infinity());
    EXPECT_EQ(PowerOfTen(-400), 0.0);
    EXPECT_LT(std::clock() - start, CLOCKS_PER_SEC);
}

TEST(NumberFormatTest, RoundingIsHalfAwayFromZero)
{
    EXPECT_EQ(RoundToPowerOfTen(2.5, 0), 3.0);
    EXPECT_EQ(RoundToPowerOfTen(-1.5, 0), -2.0);
    EXPECT_EQ(RoundToPowerOfTen(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(RoundToPowerOfTen(1.2345, -2), 1.23);
    EXPECT_DOUBLE_EQ(RoundToPowerOfTen(1.235, -2), 1.24);
    EXPECT_EQ(RoundToPowerOfTen(1234.0, 2), 1200.0);
    EXPECT_EQ(RoundToPowerOfTen(0.0, -2), 0.0);
}

TEST(NumberFormatTest, TruncationCutsTowardZero)
{
    EXPECT_EQ(TruncateToPowerOfTen(-1.99, 0), -1.0);
    EXPECT_EQ(TruncateToPowerOfTen(1.99, 0), 1.0);
    EXPECT_DOUBLE_EQ(TruncateToPowerOfTen(1.239, -2), 1.23);
    EXPECT_EQ(RoundWithBias(1.2, 0, 0.9), 2.0);
    EXPECT_EQ(RoundWithBias(-1.2, 0, 0.9), -2.0);
}

TEST(NumberFormatTest, RoundingUpGoesAwayFromZero)
{
    EXPECT_DOUBLE_EQ(RoundUpToPowerOfTen(1.201, -2), 1.21);
    EXPECT_EQ(RoundUpToPowerOfTen(1.2, -1), 1.2); // already a multiple: unchanged
    EXPECT_DOUBLE_EQ(RoundUpToPowerOfTen(-1.201, -2), -1.21);
    EXPECT_EQ(RoundUpToPowerOfTen(0.0, -3), 0.0);
    EXPECT_EQ(RoundUpToPowerOfTen(101.0, 1), 110.0);
}

TEST(NumberFormatTest, RoundingLeavesUnscalableValuesAlone)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundToPowerOfTen(1e300, -30), 1e300);
    EXPECT_EQ(RoundUpToPowerOfTen(1e300, -30), 1e300);
    EXPECT_EQ(RoundToPowerOfTen(inf, -2), inf);
    EXPECT_TRUE(std::isnan(RoundToPowerOfTen(std::nan(""), -2)));
    EXPECT_EQ(RoundToPowerOfTen(5.0, 400), 0.0); // not 0 * inf = NaN
    EXPECT_EQ(RoundToPowerOfTen(5.0, INT_MAX), 0.0);
    EXPECT_EQ(RoundToPowerOfTen(5.0, INT_MIN), 5.0);
}

TEST(NumberFormatTest, FormatFixedRoundsFirstAndPrints)
{
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
    EXPECT_EQ(FormatFixed(1.125, 2), "1.13"); // an exact half: printf alone gives 1.12
    EXPECT_EQ(FormatFixed(1.005, 2), "1.00"); // 1.005 is 1.00499999... as a double
    EXPECT_EQ(FormatFixed(12.3456, 3), "12.346");
    EXPECT_EQ(FormatFixed(0.1, 14), "0.10000000000000");
    EXPECT_EQ(FormatFixed(1.0, 14).size(), 16u); // "1." and 14 decimals
    // Regression: a small negative number was written "-0" (a cost in a .mat file, for one).
    EXPECT_EQ(FormatFixed(-0.4, 0), "0");
    EXPECT_EQ(FormatFixed(-0.004, 2), "0.00");
    EXPECT_EQ(FormatNumberWidth(-0.4, 3, 0), "   0");
    EXPECT_EQ(FormatFixed(-0.6, 0), "-1");
}

// Regression: the decimals were unbounded (a char buffer and a format built at run time).
TEST(NumberFormatTest, FormatFixedClampsTheDecimals)
{
    EXPECT_EQ(FormatFixed(2.5, -3), "3");
    // 30 decimals go beyond a double's precision, so only the length is certain.
    EXPECT_EQ(FormatFixed(1.0, 45).size(), 32u);
    EXPECT_EQ(FormatFixed(1.0, 45).substr(0, 16), "1.00000000000000");
    EXPECT_EQ(FormatFixed(1e300, 30).size(), 301u + 1 + 30);
}

TEST(NumberFormatTest, FormatNumberWidthRightAligns)
{
    EXPECT_EQ(FormatNumberWidth(3.14159, 4, 2), "   3.14"); // width 4 + 2 + 1
    EXPECT_EQ(FormatNumberWidth(-2.5, 2, 0), " -3");
    EXPECT_EQ(FormatNumberWidth(12345.6, 2, 1), "12345.6"); // wider than the field
    EXPECT_EQ(FormatNumberWidth(1.0, 0, 45).size(), 32u);
    EXPECT_EQ(FormatNumberWidth(1.0, -10, 2), "1.00");
    EXPECT_EQ(FormatNumberWidth(1.0, INT_MAX, 2).size(), 400u);
}

TEST(NumberFormatTest, StripTrailingZeros)
{
    EXPECT_EQ(StripAll("1.500"), "1.5");
    EXPECT_EQ(StripAll("2.000"), "2");
    EXPECT_EQ(StripAll("100"), "100");
    EXPECT_EQ(Strip("1.000", 1), "1.0");
    EXPECT_EQ(Strip("2.000", 0), "2.");
    EXPECT_EQ(Strip("2.500", 0), "2.5");
    EXPECT_EQ(Strip("2.500", 5), "2.500");
    EXPECT_EQ(Strip("2.000", -1), "2");
    EXPECT_EQ(Strip("1000", 0), "1000"); // no point: never changed
    EXPECT_EQ(Strip("1000", -1), "1000");

    std::string text = "3.10";
    EXPECT_EQ(&StripTrailingZeros(text, 0), &text); // in place
    EXPECT_EQ(text, "3.1");
}

TEST(NumberFormatTest, BlankTrailingZerosKeepsTheWidth)
{
    EXPECT_EQ(BlankAll("1.500"), "1.5  ");
    EXPECT_EQ(BlankAll("2.000"), "2    ");
    EXPECT_EQ(Blank("1.000", 1), "1.0  ");
    EXPECT_EQ(Blank("2.000", 0), "2.   ");
    EXPECT_EQ(Blank(" 12.340", 2), " 12.34 ");
    EXPECT_EQ(Blank("1000", 0), "1000");
    EXPECT_EQ(BlankAll("1000"), "1000");
    EXPECT_EQ(BlankAll("1.2500").size(), 6u);
}

TEST(NumberFormatTest, IsNumberText)
{
    EXPECT_FALSE(IsNumberText(""));
    EXPECT_TRUE(IsNumberText("12"));
    EXPECT_TRUE(IsNumberText("-12.5"));
    EXPECT_TRUE(IsNumberText(".5"));
    EXPECT_TRUE(IsNumberText("-"));
    EXPECT_TRUE(IsNumberText("."));
    EXPECT_FALSE(IsNumberText("1.2.3"));
    EXPECT_FALSE(IsNumberText("--1"));
    EXPECT_FALSE(IsNumberText("1-"));
    EXPECT_FALSE(IsNumberText("+1"));
    EXPECT_FALSE(IsNumberText("1e3"));
    EXPECT_FALSE(IsNumberText(" 1"));
    EXPECT_FALSE(IsNumberText("1,5"));
}

TEST(NumberFormatTest, FindIntegerRatioFindsTheSmallestFactor)
{
    std::vector<double> values = {0.5, 1.0, 1.5};
    EXPECT_EQ(FindIntegerRatio(3, values, 10, false, false), 2.0);
    EXPECT_EQ(values, (std::vector<double>{0.5, 1.0, 1.5})); // without scale: untouched
    EXPECT_EQ(FindIntegerRatio(3, values, 10, true, false), 2.0);
    EXPECT_EQ(values, (std::vector<double>{1.0, 2.0, 3.0}));

    std::vector<double> thirds = {1.0, 1.3333};
    EXPECT_DOUBLE_EQ(FindIntegerRatio(3, thirds, 10, true, false), 3.0); // 3, 3.9999 -> 4.000
    EXPECT_EQ(thirds, (std::vector<double>{3.0, 4.0}));

    std::vector<double> withZero = {0.0, 2.0, 3.0};
    EXPECT_DOUBLE_EQ(FindIntegerRatio(3, withZero, 0, true, false), 1.0); // 0 means 10
    EXPECT_EQ(withZero, (std::vector<double>{0.0, 2.0, 3.0}));
}

TEST(NumberFormatTest, FindIntegerRatioFallsBackOrGivesUp)
{
    std::vector<double> values = {1.0, 1.37};
    EXPECT_EQ(FindIntegerRatio(3, values, 10, true, false), 0.0);
    EXPECT_EQ(values, (std::vector<double>{1.0, 1.37}));
    EXPECT_EQ(FindIntegerRatio(3, values, 10, true, true), 1.0);
    EXPECT_EQ(values, (std::vector<double>{1.0, 1.37}));
    EXPECT_EQ(FindIntegerRatio(3, values, 100, true, false), 100.0);
    EXPECT_EQ(values, (std::vector<double>{100.0, 137.0}));

    std::vector<double> halves = {2.0, 2.7};
    EXPECT_DOUBLE_EQ(FindIntegerRatio(3, halves, 10, true, true), 0.5);
    EXPECT_DOUBLE_EQ(halves[1], 1.35);
}

TEST(NumberFormatTest, FindIntegerRatioRefusesMissingOrNegativeSmallest)
{
    std::vector<double> none;
    EXPECT_EQ(FindIntegerRatio(3, none, 10, true, true), 0.0);
    std::vector<double> zeros = {0.0, 0.0};
    EXPECT_EQ(FindIntegerRatio(3, zeros, 10, true, true), 0.0);
    std::vector<double> negative = {-1.0, 2.0};
    EXPECT_EQ(FindIntegerRatio(3, negative, 10, true, true), 0.0);
    EXPECT_EQ(negative, (std::vector<double>{-1.0, 2.0}));
    std::vector<double> notANumber = {1.0, std::nan("")};
    EXPECT_EQ(FindIntegerRatio(3, notANumber, 10, true, true), 0.0);
    EXPECT_EQ(notANumber[0], 1.0);

    double raw[] = {0.25, 0.5};
    EXPECT_EQ(FindIntegerRatio(3, std::span<double>(raw, 2), 10, true, false), 4.0);
    EXPECT_EQ(raw[1], 2.0);
}

TEST(NumberFormatTest, SameResultsUnderADecimalCommaLocale)
{
    CDecimalCommaLocale guard;
    OXI_REQUIRE_DECIMAL_COMMA_LOCALE(guard);
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(1.125, 2), "1.13");
    EXPECT_EQ(FormatFixed(0.1, 14), "0.10000000000000");
    EXPECT_EQ(FormatNumberWidth(3.14159, 4, 2), "   3.14");
    EXPECT_EQ(Strip("1.000", 1), "1.0");
    EXPECT_EQ(BlankAll("2.000"), "2    ");
    EXPECT_TRUE(IsNumberText("-12.5"));
    EXPECT_FALSE(IsNumberText("12,5"));

    std::vector<double> values = {0.5, 1.0, 1.5};
    EXPECT_EQ(FindIntegerRatio(3, values, 10, true, false), 2.0);
    EXPECT_EQ(values, (std::vector<double>{1.0, 2.0, 3.0}));
    std::vector<double> none = {1.0, 1.37};
    EXPECT_EQ(FindIntegerRatio(3, none, 10, true, false), 0.0);
    EXPECT_EQ(FindIntegerRatio(3, none, 10, true, true), 1.0);
    EXPECT_EQ(none, (std::vector<double>{1.0, 1.37}));
}
