#include "core/graphs/RecordedGraphTestSupport.h"
#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using ::testing::ElementsAre;

class StatisticsChartsTest : public RecordedGraphTest {
protected:
    // A graph of every glaze of the current database.
    static CGraph& AllGlazes(CGraph& graph, int type, const std::string& oxides = "14")
    {
        return AddSource(Init(graph, type, oxides), "All", 9);
    }
    // Silica glazes fired to these highest temperatures.
    CGlazesDoc* FiredTo(std::initializer_list<int> temperatures)
    {
        std::vector<CGlaze> glazes;
        for (int t : temperatures)
            glazes.push_back(MakeGlaze("Fired to " + std::to_string(t), {{"Silica", 100.0}}));
        CGlazesDoc* database = NewDatabase(glazes);
        int i = 0;
        for (int t : temperatures)
            Found(database->GetGlaze(i++)).m_highTemp = t;
        return database;
    }
};

TEST_F(StatisticsChartsTest, HistogramClassesCountEveryGlazeOnceAndTheMaximumInTheLastClass)
{
    CGlazesDoc* database = FiredTo({1000, 1200, 1300, 1301, 900});
    CGraph graph;
    AllGlazes(graph, kGraphHistogram);
    graph.hoxide = kGraphVarHighestTemp;
    graph.hmin = 1000.0;
    graph.hmax = 1300.0;
    graph.hsteps = 3;
    EXPECT_THAT(Definition(graph, database, nullptr),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Firing temp (C) in 5 Glazes\")",
                            "ChartSetTitleB(\"Firing temp (C)\")", "ChartSetTitleC(\"# of Glazes\")",
                            "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            "ChartSetData(3, 1, [1 0 2])", "ChartSetXData(3, [1050 1150 1250])",
                            "ChartSetLegend(1, [\"All\"])", "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)",
                            "ChartSetFont(2, 1, 0, 100)", "ChartSetFont(3, 1, 0, 100)", "ChartSetColors(1, [9])",
                            "ChartSetPatterns(1, [0])",
                            // a fixed X axis from hmin to hmax with a minor tick at every inner border
                            "ChartSetAxisX(5660, 1, 0, 1300, 1000)", "ChartSetMinorTicks(0, 2)",
                            "ChartSetAxisY(4352, 10, 0, 100, 0)", "ChartSetKind(8, 0, 32)", "ChartSetPatterns(1, [1])",
                            "ChartSetColors(1, [0])", "ChartSetKind(8, 0, 32)", "ChartDefEnd()"));
    EXPECT_THAT(graph.m_textLines,
                ElementsAre("", "Firing temp (C)", "", "All (5 glazes)", "--------------", "1 glazes below minimum",
                            "1000.00 - 1100.00 :  1 glaze", "1100.00 - 1200.00 :  0 glazes",
                            "1200.00 - 1300.00 :  2 glazes", "1 glazes over maximum"));
    EXPECT_EQ(graph.GetCellText(0, 0), "All\r\n(5 glazes)\r\n\r\nFiring temp (C)\r\n\r\n1 glazes below minimum\r\n"
                                       "1000.00 - 1100.00 :  1 glaze\r\n1100.00 - 1200.00 :  0 glazes\r\n"
                                       "1200.00 - 1300.00 :  2 glazes\r\n1 glazes over maximum\r\n");

    // The texts list up to 25 classes.
    graph.hmin = 900.0;
    graph.hmax = 1400.0;
    graph.hsteps = 25;
    Definition(graph, database, nullptr);
    EXPECT_EQ(graph.m_textLines.size(), 5u + 25u);
    EXPECT_EQ(graph.m_textLines.back(), "1380.00 - 1400.00 :  0 glazes");

    // A value far above a very narrow range counts over the maximum; with more than 25 classes
    // the texts list no classes.
    graph.hoxide = kGraphVarHighestTemp;
    graph.hmin = 0.0;
    graph.hmax = 1e-300;
    graph.hsteps = 26;
    Definition(graph, database, nullptr);
    EXPECT_THAT(graph.m_textLines, ElementsAre("", "Firing temp (C)", "", "All (5 glazes)", "--------------",
                                               "5 glazes over maximum"));
}

TEST_F(StatisticsChartsTest, HistogramSettingsOutsideTheirRangesAreRefused)
{
    CGlazesDoc* database = FiredTo({1000});
    const auto refusal = [&](int hoxide, double hmin, double hmax, int hsteps) {
        CGraph graph;
        AllGlazes(graph, kGraphHistogram);
        graph.hoxide = hoxide;
        graph.hmin = hmin;
        graph.hmax = hmax;
        graph.hsteps = hsteps;
        return Refusal(graph, database, nullptr);
    };
    EXPECT_EQ(refusal(-1, 0.0, 1.0, 10), "No histogram oxide/variable selected");
    EXPECT_EQ(refusal(128, 0.0, 1.0, 10), "No histogram oxide/variable selected");
    EXPECT_EQ(refusal(14, 1.0, 1.0, 10), "Histogram maximum must be greater than minimum");
    EXPECT_EQ(refusal(14, 0.0, 1.0, 1), "There must be at least two histogram steps");
    EXPECT_EQ(refusal(14, 0.0, 1.0, 51), "There can be at most fifty histogram steps");
    for (int steps : {2, 50}) {
        CGraph graph;
        AllGlazes(graph, kGraphHistogram).hsteps = steps;
        Definition(graph, database, nullptr);
    }
}

TEST_F(StatisticsChartsTest, BoxesTakeTheOrderStatisticsOfSevenOrMoreGlazes)
{
    // Twenty glazes of increasing silica, in a shuffled order.
    std::vector<CGlaze> glazes;
    for (int i = 0; i < 20; ++i) {
        const int g = (7 * i) % 20;
        glazes.push_back(MakeGlaze("Glaze " + std::to_string(g), {{"Whiting", 50.0}, {"Silica", 10.0 + g}}));
    }
    CGlazesDoc* database = NewDatabase(glazes);
    std::vector<double> silica;
    for (const CGlaze& glaze : glazes)
        silica.push_back(glaze.GetAnalysis().weightFraction[14] * 100.0);
    std::sort(silica.begin(), silica.end());
    CGraph graph;
    Definition(AllGlazes(graph, kGraphBoxAndWhiskers), database, nullptr);
    const std::vector<double> expected = {silica[1], silica[2], silica[5], silica[10], silica[15], silica[18], silica[19]};
    const std::vector<double> statistics = Numbers("ChartSetData");
    ASSERT_EQ(statistics.size(), 7u);
    for (std::size_t q = 0; q < expected.size(); ++q)
        EXPECT_DOUBLE_EQ(statistics[q], expected[q]) << q;
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Statistics for 20 glazes\")");
    EXPECT_EQ(Call("ChartSetKind"), "ChartSetKind(17, 17408, 32)");
    EXPECT_EQ(graph.m_columns, 7);
    EXPECT_EQ(graph.m_rows, 1);
    ASSERT_EQ(graph.m_textLines.size(), 10u);
    EXPECT_EQ(ItemAt(graph.m_textLines, 6), "50% at or below " + graph.FormatOxideValue(silica[10]) + " (median)");
    EXPECT_EQ(ItemAt(graph.m_textLines, 9), " 5% at or below " + graph.FormatOxideValue(silica[1]));
    EXPECT_THAT(graph.GetCellText(6, 0), testing::StartsWith("SiO2\r\n\r\nmedian " + graph.FormatOxideValue(silica[10]) +
                                                             "\r\n\r\n95% at or below "));
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")");
    // Unity numbers have no per cent sign; the boxes take the width, and the level grid, asked for.
    graph.oxtype = kGraphUnitUnity;
    graph.barwid = 60;
    graph.gridy = 1;
    Definition(graph, database, nullptr);
    EXPECT_EQ(Call("ChartSetAxisFormat"), "");
    EXPECT_EQ(Call("ChartSetBarGap"), "ChartSetBarGap(40)");
    EXPECT_EQ(Call("ChartSetKind"), "ChartSetKind(17, 17416, 32)");

    // Six usable glazes are too few, whatever the unusable ones.
    CGlazesDoc* few = NewDatabase({glazes[0], glazes[1], glazes[2], glazes[3], glazes[4], glazes[5],
                                   MakeGlaze("Broken", {{"Unobtainium", 1.0}})});
    CGraph refused;
    EXPECT_EQ(Refusal(AllGlazes(refused, kGraphBoxAndWhiskers), few, nullptr),
              "Box & Whiskers graph requires at least seven glazes with known chemical analyses");
}

} // namespace
