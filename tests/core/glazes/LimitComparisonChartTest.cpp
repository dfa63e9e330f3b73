#include "glazes/LimitComparisonChart.h"

#include "GlazeAnalysisTestSupport.h"
#include "limits/LimitFormulaDB.h"
#include "support/LineOStream.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Combinations, limits: {combination, range, by percent}.
using LimitRows = std::vector<std::tuple<const char*, const char*, int>>;

class LimitComparisonChartTest : public GlazeChemistryTestBase {
protected:
    LimitComparisonChartTest() : m_scope(m_limits)
    {
        m_limits.AddDefaultCombinations();
        AddMaterial("Flux 0.6", "K2O 0.6Al2O3 3SiO2");
        AddMaterial("Flux 0.3", "K2O 0.3Al2O3 3SiO2");
    }

    void SetFormula(const LimitRows& rows)
    {
        CLimitFormula formula("Test Limits");
        for (const auto& [combination, range, byPercent] : rows)
            formula.m_limits.Add(CLimit(combination, range, byPercent));
        m_limits.InsertFormula(m_limits.GetCount(), formula);
    }

    CStringArrayEx Chart(const std::string& material, int keep = 1, const std::string& formula = "test limits")
    {
        CGlaze glaze = MakeGlaze({{material.c_str(), 100}});
        CStringArrayEx lines;
        {
            CLineOStream out(lines, 0);
            WriteLimitComparisonChart(out, glaze.GetAnalysis(), formula, 12, 2, 50, 10, keep);
        }
        return lines;
    }

    static std::string Blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

    // The bar of a row written with name width 12 and gap 2.
    static std::string BarOf(const std::string& row) { return row.substr(14, 51); }

    CLimitFormulaDB m_limits;
    CCurrentLimitFormulaDBScope m_scope;
};

TEST_F(LimitComparisonChartTest, RangeTicksAndValueMarks)
{
    SetFormula({{"Al2O3", "0.2 - 0.5", 0}});
    CStringArrayEx lines = Chart("Flux 0.6");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], Blanks(13) + "0.0" + Blanks(22) + "0.5" + Blanks(22) + "1.0\x01");
    //                         0    5    10   15   20   25   30   35   40   45   50
    const std::string bar = ":    :    |----;----;----|    o    :    :    :    :";
    EXPECT_EQ(lines[2], Blanks(7) + "Al2O3  " + bar + "  0.60\x01");

    lines = Chart("Flux 0.3", 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].back(), '0'); // no keep marker
    EXPECT_EQ(BarOf(lines[2]), ":    :    |----*----;----|    :    :    :    :    :");
    EXPECT_EQ(lines[2].substr(65), "  0.30");
}

TEST_F(LimitComparisonChartTest, OneBoundOnlyAndExclusiveBounds)
{
    SetFormula({{"Al2O3", "> 0.4", 0}, {"Al2O3", "<= 0.3", 0}, {"Al2O3", "> 0.1 < 0.2", 0}});
    const CStringArrayEx lines = Chart("Flux 0.3");
    ASSERT_EQ(lines.size(), 5u); // one axis for three rows of the same combination
    EXPECT_EQ(BarOf(lines[2]), ":    :    :    o    <----;----;----;----;----;----;");
    EXPECT_EQ(BarOf(lines[3]), ";----;----;----*    :    :    :    :    :    :    :");
    EXPECT_EQ(BarOf(lines[4]), ":    <---->    o    :    :    :    :    :    :    :");
}

TEST_F(LimitComparisonChartTest, AxesAreSharedOnlyByTheSameKindAndRange)
{
    SetFormula({{"Al2O3", "0.2 - 0.5", 0},
                {"K2O", "0.2 - 0.5", 0},
                {"SiO2", "2 - 4", 0},
                {"Al2O3", "10 - 20", 1},
                {"SiO2", "50 - 70", 1},
                {"Nowhere", "1 - 2", 0},
                {"K2O", ">= 1", 0}});
    const CStringArrayEx lines = Chart("Flux 0.6");
    std::vector<std::string> expected = {
        "", "(axis 0..1)", "Al2O3", "K2O",
        "", "(axis 0..10)", "SiO2",
        "", "(axis %)", "Al2O3", "SiO2",
        "", "Nowhere",
        "", "(axis 0..1)", "K2O",
    };
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines[5], Blanks(13) + "0.0" + Blanks(22) + "5.0" + Blanks(21) + "10.0\x01");
    EXPECT_EQ(lines[8], Blanks(13) + "0 %" + Blanks(21) + "50 %" + Blanks(21) + "100 %\x01");
    EXPECT_EQ(lines[12], Blanks(5) + "Nowhere  ???  \x01");
    // The value by percent: potassium oxide in a potash flux of 0.6 alumina.
    EXPECT_EQ(lines[9].substr(65, 2), "  ");
    EXPECT_TRUE(lines[10].ends_with(":  53.7 %\x01")) << lines[10];
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].empty()) {
            EXPECT_EQ(lines[i], "") << i;
        } else if (expected[i][0] != '(') {
            EXPECT_EQ(lines[i].substr(0, 12).find(expected[i]), 12 - expected[i].size()) << i;
        }
    }
    // K2O of 1 on its new axis: the mark is at the bar's end, within the limit.
    EXPECT_EQ(BarOf(lines[15]), ":    :    :    :    :    :    :    :    :    :    *");
}

TEST_F(LimitComparisonChartTest, HugeAndReversedRangesStayInsideTheBar)
{
    m_limits.m_combinations.Add(COxideCombination("Wide", "Al", 0.0, 1e300));
    m_limits.m_combinations.Add(COxideCombination("Reversed", "Al", 1.0, 0.0));
    SetFormula({{"Al2O3", "-1e300 - 1e300", 0}, {"Wide", ">= 1e299", 0}, {"Reversed", "0.2 - 0.5", 0}});
    const CStringArrayEx lines = Chart("Flux 0.6");
    ASSERT_EQ(lines.size(), 9u);
    // Both ends lie far outside the bar: no end marks, the whole bar filled.
    EXPECT_EQ(BarOf(lines[2]), ";----;----;----;----;----;----*----;----;----;----;");
    EXPECT_EQ(BarOf(lines[5]), "o    |----;----;----;----;----;----;----;----;----;");
    // Reversed: the range runs leftwards and draws only its marks; the value is outside the axis.
    EXPECT_EQ(lines[7], Blanks(13) + "1.0" + Blanks(22) + "0.5" + Blanks(22) + "0.0\x01");
    EXPECT_EQ(BarOf(lines[8]), ":    :    :    :    :    |    :    :    |    :    :");
}

TEST_F(LimitComparisonChartTest, NothingWithoutAFormulaOrLimits)
{
    SetFormula({});
    EXPECT_TRUE(Chart("Flux 0.6").empty());
    EXPECT_TRUE(Chart("Flux 0.6", 1, "no such formula").empty());
}

TEST_F(LimitComparisonChartTest, InvalidAnalysisGetsNoMark)
{
    SetFormula({{"Al2O3", "0.2 - 0.5", 0}});
    const CStringArrayEx lines = Chart("Unknown material");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(BarOf(lines[2]), ":    :    |----;----;----|    :    :    :    :    :");
    EXPECT_EQ(lines[2].substr(65), "  0.00\x01");
}

} // namespace
