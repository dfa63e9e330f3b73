#include "core/graphs/RecordedGraphTestSupport.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// A silica glaze, a glaze of whiting and silica (35.91 % CaO and 64.09 % SiO2 by weight) and a
// glaze of an unknown material, whose analysis no chart can use.
class AverageChartsTest : public RecordedGraphTest {
protected:
    AverageChartsTest()
    {
        m_database = NewDatabase({MakeGlaze("Silica glass", {{"Silica", 100.0}}),
                                  MakeGlaze("Lime glass", {{"Silica", 50.0}, {"Whiting", 50.0}}),
                                  MakeGlaze("Broken", {{"Unobtainium", 100.0}})});
    }

    CGlazesDoc* m_database = nullptr;
};

TEST_F(AverageChartsTest, TheAverageGlazeCountsOnlyUsableAnalyses)
{
    CGraph pie;
    AddSource(Init(pie, kGraphAveragePieOxides, "20,14"), "All", 1);
    pie.mono = 1;
    EXPECT_THAT(Definition(pie, m_database, nullptr),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Average of 2 glazes\")",
                            "ChartSetTitleB(\"% Weight\")", "ChartSetSideTitleStyle(6, 0)",
                            "ChartSetSideTitleStyle(11, 0)", "ChartSetData(2, 1, [82.045238 17.954762])",
                            "ChartSetPointLabels(2, [\"SiO2\" \"CaO\"])", "ChartSetFont(0, 1, 0, 200)",
                            "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 150)", "ChartSetFont(3, 1, 0, 100)",
                            "ChartSetColors(2, [15 15])", "ChartSetPatterns(2, [0 0])",
                            // the monochrome mark on both passes
                            "ChartSetKind(1, 32800, 0)", "ChartSetPatterns(2, [1 1])", "ChartSetColors(2, [0 0])",
                            "ChartSetKind(1, 32800, 0)", "ChartDefEnd()"));
    EXPECT_THAT(pie.m_cellTexts, ElementsAre("SiO2  82.05%", "CaO  17.95%"));
    EXPECT_EQ(pie.GetTitle(), "Average of 2 glazes");

    // Pareto: the pie ascending, the bar descending; without it the bar keeps the list order.
    pie.pareto = 1;
    Definition(pie, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"CaO\" \"SiO2\"])");
    CGraph bar;
    AddSource(Init(bar, kGraphAverageBarOxides, "20,14"), "All", 1);
    Definition(bar, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"CaO\" \"SiO2\"])");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")");
    bar.pareto = 1;
    Definition(bar, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"SiO2\" \"CaO\"])");

    // One glaze, chosen twice, counts twice; the unusable alone gives nothing to average.
    CGraph twice;
    AddSource(AddSource(Init(twice, kGraphAverageBarOxides, "14"), "A", 1, {"Lime glass"}),
              "B", 2, {"Lime glass"});
    Definition(twice, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Average of 2 glazes\")");
    CGraph broken;
    AddSource(Init(broken, kGraphAveragePieOxides), "Broken", 1, {"Broken"});
    EXPECT_EQ(Refusal(broken, m_database, nullptr), "No glazes to display or no chemical analyses known");
    CGraph nothing;
    AddSource(Init(nothing, kGraphAverageBarOxides, ""), "All", 1);
    EXPECT_EQ(Refusal(nothing, m_database, nullptr), "No oxides selected");
}

TEST_F(AverageChartsTest, EachUsableDataSetIsASeriesOfItsOwn)
{
    CGraph graph;
    Init(graph, kGraphAveragesBarOxides, "14");
    AddSource(AddSource(AddSource(graph, "Silicas", 3, {"Silica glass"}), "Broken", 4, {"Broken"}),
              "Both", 5);
    Definition(graph, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Oxide averages\")");
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(1, 2, [100 82.045238])");
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(2, [\"Silicas\" \"Both\"])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [3 5])");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")"); // per cent by weight
    EXPECT_THAT(graph.m_cellTexts, ElementsAre("Silicas\r\n(1 glazes)\r\n\r\nSiO2  100.00%",
                                               "Both\r\n(2 glazes)\r\n\r\nSiO2  82.05%"));
    EXPECT_THAT(graph.m_textLines, ElementsAre("", "Silicas (1 glazes)", "------------------", "SiO2  100.00%", "",
                                               "Both (2 glazes)", "---------------", "SiO2  82.05%"));
    EXPECT_EQ(graph.m_columns, 2);
    EXPECT_EQ(graph.m_rows, 1);

    // One series carries its style on every bar.
    CGraph single;
    AddSource(Init(single, kGraphAveragesBarOxides, "14,20"), "Silicas", 3, {"Silica glass"});
    single.pareto = 1;
    Definition(single, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [3 3])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"SiO2\" \"CaO\"])");

    CGraph none;
    EXPECT_EQ(Refusal(Init(none, kGraphAveragesBarOxides), m_database, nullptr),
              "No glazes to display or no chemical analyses known");
    CGraph noOxides;
    AddSource(Init(noOxides, kGraphAveragesBarOxides, ""), "Silicas", 3, {"Silica glass"});
    EXPECT_EQ(Refusal(noOxides, m_database, nullptr), "No oxides selected");
}

} // namespace
