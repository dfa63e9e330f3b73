#include "support/NumberText.h"

#include "core/support/LocaleGuard.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>

TEST(NumberTextTest, IntegersFollowThePrefixRules)
{
    EXPECT_EQ(ParseInt("12abc"), 12);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("  \t-42 "), -42);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("0x1F"), 0);
    EXPECT_EQ(ParseInt("- 5"), 0);
    EXPECT_EQ(ParseInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseInt("2147483648"), INT_MAX);
    EXPECT_EQ(ParseLong("-9223372036854775808"), LONG_MIN);
    EXPECT_EQ(ParseLong("9223372036854775807"), LONG_MAX);
}

TEST(NumberTextTest, DoublesAreDecimalOnlyAndFinite)
{
    EXPECT_DOUBLE_EQ(ParseDouble("12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(ParseDouble(" -.5"), -0.5);
    EXPECT_DOUBLE_EQ(ParseDouble("5."), 5.0);
    EXPECT_DOUBLE_EQ(ParseDouble("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(ParseDouble("1e"), 1.0);
    EXPECT_DOUBLE_EQ(ParseDouble("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(ParseDouble("2E-2x"), 0.02);
    EXPECT_EQ(ParseDouble("."), 0.0);
    EXPECT_EQ(ParseDouble("inf"), 0.0);
    EXPECT_EQ(ParseDouble("nan"), 0.0);
    EXPECT_EQ(ParseDouble("0x10"), 0.0);
    EXPECT_EQ(ParseDouble("1e999"), DBL_MAX);
    EXPECT_EQ(ParseDouble("-1e999"), -DBL_MAX);
    EXPECT_EQ(ParseDouble("1e-999"), 0.0);
    EXPECT_EQ(ParseDouble(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(ParseDouble("0." + std::string(400, '0') + "1"), 0.0);

    std::size_t used = 0;
    EXPECT_DOUBLE_EQ(ParseDoublePrefix("  3.25 SiO2", used), 3.25);
    EXPECT_EQ(used, 6u);
    ParseDoublePrefix("SiO2", used);
    EXPECT_EQ(used, 0u);
}

// A typed field is read whole: a fraction is no whole number, and a magnitude the type cannot
// hold is refused instead of becoming the largest value.
TEST(NumberTextTest, FieldsAreReadWhole)
{
    int whole = -1;
    EXPECT_TRUE(ReadWholeNumberText(" 3\t", whole));
    EXPECT_EQ(whole, 3);
    EXPECT_TRUE(ReadWholeNumberText("-2147483648", whole));
    EXPECT_EQ(whole, INT_MIN);
    for (const char* refused : {"12.9", "", " ", "+", "3x", "x3", "2147483648", "1 2"}) {
        whole = 7;
        EXPECT_FALSE(ReadWholeNumberText(refused, whole)) << refused;
        EXPECT_EQ(whole, 7) << refused;
    }
    double number = -1.0;
    EXPECT_TRUE(ReadNumberText(" 12.5 ", number));
    EXPECT_EQ(number, 12.5);
    EXPECT_TRUE(ReadNumberText("1e300", number));
    EXPECT_EQ(number, 1e300);
    for (const char* refused : {"abc", "", "1e999", "-1e999", "12,5", "5 g", "inf", "1e"}) {
        number = 7.0;
        EXPECT_FALSE(ReadNumberText(refused, number)) << refused;
        EXPECT_EQ(number, 7.0) << refused;
    }
}

TEST(NumberTextTest, FormattingMatchesTheClassicFormats)
{
    EXPECT_EQ(FormatDoubleFixed(2.345, 2), "2.35");
    EXPECT_EQ(FormatDoubleFixed(-0.5, 0), "0");
    EXPECT_EQ(FormatDoubleFixed(-0.0, 2), "0.00");
    EXPECT_EQ(FormatDoubleFixed(-0.01, 2), "-0.01");
    EXPECT_EQ(FormatDoubleFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatDoubleFixed(1.0, 45).size(), 32u); // decimals clamped to 30
    EXPECT_EQ(FormatDoubleFixed(1.0, -3), "1");
    EXPECT_EQ(FormatDoubleFixedWidth(3.14159, 8, 2), "    3.14");
    EXPECT_EQ(FormatDoubleShortest(0.1), "0.1");
    EXPECT_EQ(FormatDoubleFixed(NAN, 2), "nan");
    // The same results as printf in the C locale, across a range of values and precisions.
    char buffer[512];
    for (double v : {0.0, 1.005, 2.675, 123456.789, -7.25, 1e-7, 98765.4321}) {
        for (int d = 0; d <= 12; ++d) {
            std::snprintf(buffer, sizeof buffer, "%.*f", d, v);
            EXPECT_EQ(FormatDoubleFixed(v, d), buffer) << v << " " << d;
        }
    }
}

TEST(NumberTextTest, ADecimalCommaLocaleChangesNothing)
{
    CDecimalCommaLocale locale;
    OXI_REQUIRE_DECIMAL_COMMA_LOCALE(locale);
    EXPECT_EQ(FormatDoubleFixed(1.5, 2), "1.50");
    EXPECT_EQ(FormatDoubleFixedWidth(1234.5, 8, 1), "  1234.5");
    EXPECT_DOUBLE_EQ(ParseDouble("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(ParseDouble("1,5"), 1.0);
}
