#include "limits/Limit.h"

#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LimitTest : public ::testing::Test {
protected:
    LimitTest()
    {
        g_prefs.declimformulas = 3;
        g_prefs.tzslimformulas = 1;
    }

    // The range text of a combined with b.
    static std::string Combined(const char* a, const char* b, int mode, int* result = nullptr)
    {
        CLimit limit("CaO", a);
        const int r = limit.Combine(CLimit("CaO", b), mode);
        if (result)
            *result = r;
        return limit.GetRange();
    }

    CAppContext m_context;
};

TEST_F(LimitTest, WithinRanges)
{
    struct Case {
        const char* range;
        double value;
        bool within;
    };
    const Case cases[] = {
        {"0.2 - 0.6", 0.2, true},   {"0.2 - 0.6", 0.6, true},     {"0.2 - 0.6", 0.19999, false},
        {"0.2 - 0.6", 0.60001, false},
        {"> 0", 0.0, false},        {"> 0", 0.0001, true},        {">= 1.5", 1.5, true},
        {">= 1.5", 1.4999, false},  {"< 5", 5.0, false},          {"< 5", 4.999, true},
        {"<= 5", 5.0, true},        {"<= 5", 5.001, false},       {">= 1 <= 3", 3.0, true},
        {">= 1 <= 3", 0.9, false},  {"> 1 < 3", 1.0, false},      {"-0.5 - 0.5", -0.5, true},
        {"no bounds", -1e300, true}, {"", 42.0, true},
        {">=1", -5.0, true},        // no blank after the operator: no bound
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLimit("c", c.range).IsWithin(c.value), c.within) << c.range << " / " << c.value;
}

TEST_F(LimitTest, ParseRangeResultAndBounds)
{
    EXPECT_EQ(CLimit("c", "0.2 - 0.6").ParseRange(), 0);
    EXPECT_EQ(CLimit("c", "< 0.05").ParseRange(), 0);
    EXPECT_EQ(CLimit("c", "0.2").ParseRange(), 1);
    EXPECT_EQ(CLimit("c", "").ParseRange(), 1);

    const CLimit both("c", ">= 1 < 3");
    EXPECT_TRUE(both.HasMinimum() && both.IsMinimumInclusive());
    EXPECT_TRUE(both.HasMaximum() && !both.IsMaximumInclusive());
    EXPECT_EQ(both.GetMinimum(), 1.0);
    EXPECT_EQ(both.GetMaximum(), 3.0);

    CLimit changing("c", "> 2");
    changing.SetRange("<= 7");
    EXPECT_FALSE(changing.HasMinimum());
    EXPECT_EQ(changing.GetMaximum(), 7.0);
}

TEST_F(LimitTest, NumbersAreDecimalOnly)
{
    // Hexadecimal, inf and nan are not numbers here: the readable prefix ("0") or nothing (0).
    const CLimit hex("c", "> 0x10");
    EXPECT_EQ(hex.GetMinimum(), 0.0);
    EXPECT_TRUE(hex.IsWithin(1.0));

    const CLimit infinite("c", "< inf");
    EXPECT_EQ(infinite.GetMaximum(), 0.0);
    EXPECT_FALSE(infinite.IsWithin(1.0));

    const CLimit notANumber("c", "nan - 5");
    EXPECT_EQ(notANumber.GetMinimum(), 0.0);
    EXPECT_FALSE(notANumber.IsWithin(-1.0));
    EXPECT_TRUE(notANumber.IsWithin(2.0));

    // A huge exponent saturates to a finite bound.
    const CLimit huge("c", "< 1e999");
    EXPECT_TRUE(huge.IsWithin(1e300));
}

TEST_F(LimitTest, CombiningTwoRanges)
{
    int result = -1;
    EXPECT_EQ(Combined("0.2 - 0.6", "0.3 - 0.8", CLimit::kUnion, &result), "0.2 - 0.8");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Combined("0.2 - 0.6", "0.3 - 0.8", CLimit::kIntersection), "0.3 - 0.6");
    EXPECT_EQ(Combined("0.2 - 0.6", "0.3 - 0.8", 7), "0.3 - 0.6"); // any mode but 1 intersects

    // Nothing left of a union of a lower and an upper bound: the text stays.
    EXPECT_EQ(Combined("> 0.1", "< 0.5", CLimit::kUnion, &result), "> 0.1");
    EXPECT_EQ(result, 1);
    // Their intersection keeps both bounds, now inclusive.
    EXPECT_EQ(Combined("> 0.1", "< 0.5", CLimit::kIntersection, &result), "0.1 - 0.5");
    EXPECT_EQ(result, 0);

    // Lone bounds become inclusive, except a lower bound of 0.
    EXPECT_EQ(Combined("> 0.25", "> 0.125", CLimit::kUnion), ">= 0.125");
    EXPECT_EQ(Combined(">= 0", "> 0.5", CLimit::kUnion), "> 0.0");
    EXPECT_EQ(Combined("< 2", "<= 3", CLimit::kUnion), "<= 3.0");
    EXPECT_EQ(Combined("< 2", "0.5 - 3", CLimit::kIntersection), "0.5 - 2.0");

    // Disjoint ranges intersect into minimum above maximum (the formula marks them).
    EXPECT_EQ(Combined("0.1 - 0.2", "0.5 - 0.6", CLimit::kIntersection), "0.5 - 0.2");

    // The decimals of the preferences: 0.12345 to three decimals, trailing zeros to one.
    EXPECT_EQ(Combined("0.12345 - 1", "0 - 0.5", CLimit::kIntersection), "0.123 - 0.5");
    g_prefs.declimformulas = 1;
    g_prefs.tzslimformulas = -1;
    EXPECT_EQ(Combined("0.12345 - 1", "0 - 0.5", CLimit::kIntersection), "0.1 - 0.5");
    EXPECT_EQ(Combined("2 - 3", "1 - 4", CLimit::kUnion), "1 - 4");
}

TEST_F(LimitTest, AnalysisLooksTheCombinationUpInTheCurrentDatabase)
{
    CGlazeAnalysis analysis;
    analysis.unity[20] = 0.5;
    analysis.weightFraction[20] = 0.08;
    const CLimit byUnity("cao", "0.4 - 0.6");
    const CLimit byPercent("CaO", "> 10", 1);

    EXPECT_FALSE(byUnity.IsAnalysisWithin(analysis)); // no database installed

    CLimitFormulaDB database;
    database.AddDefaultCombinations();
    CCurrentLimitFormulaDBScope scope(database);
    EXPECT_TRUE(byUnity.IsAnalysisWithin(analysis));  // the name is found ignoring case
    EXPECT_FALSE(byPercent.IsAnalysisWithin(analysis)); // 8 % is not above 10
    EXPECT_FALSE(CLimit("Ca Oxide", "< 100").IsAnalysisWithin(analysis)); // no such combination

    database.m_combinations.RemoveAt(database.m_combinations.FindIndexByName("CaO"));
    EXPECT_FALSE(byUnity.IsAnalysisWithin(analysis)); // a deleted combination fails its limits
}

TEST_F(LimitTest, ArrayCopiesAreDeep)
{
    CLimitArray limits;
    limits.InsertAt(1, CLimit("x", "> 1"));
    EXPECT_EQ(limits.GetCount(), 0);
    limits.Add(CLimit("b", "> 1"));
    limits.InsertAt(0, CLimit("a", "< 1"));
    CLimitArray copy(limits);
    RecordAt(copy, 0).SetRange("< 2");
    EXPECT_EQ(RecordAt(limits, 0).GetRange(), "< 1");
    limits.RemoveAt(5);
    limits.RemoveAt(0);
    ASSERT_EQ(limits.GetCount(), 1);
    EXPECT_EQ(RecordAt(limits, 0).m_comboName, "b");
}

} // namespace
