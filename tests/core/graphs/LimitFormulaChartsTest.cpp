#include "core/graphs/PointChartTestSupport.h"
#include "core/support/CheckedItems.h"
#include "graphs/GraphTypeTable.h"
#include "limits/LimitFormulaDB.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

// A formula over combinations of plot maxima 1, 1, 5 and 1 against glazes of 1 CaO, a Al2O3 and
// s SiO2 in unity; the plot area is 600 x 300 at (100, 50), five value intervals of 0 to 1.
class LimitFormulaChartsTest : public PointChartTest {
protected:
    LimitFormulaChartsTest()
    {
        m_limits.m_combinations.Add(COxideCombination("CaO", "Ca", 0.0, 1.0));
        m_limits.m_combinations.Add(COxideCombination("Al2O3", "Al", 0.0, 1.0));
        m_limits.m_combinations.Add(COxideCombination("SiO2", "Si", 0.0, 5.0));
        m_limits.m_combinations.Add(COxideCombination("KNaO", "Na+K", 0.0, 1.0));
        m_limits.m_combinations.Add(COxideCombination("Unplotted", "Mg", 0.0, 0.0));
        CLimitFormula formula("Cone 6");
        formula.m_limits.Add(CLimit("cao", "0.4 - 0.8"));
        formula.m_limits.Add(CLimit("Al2O3", "0.2 - 0.5"));
        formula.m_limits.Add(CLimit("Unlisted", "1 - 2"));
        formula.m_limits.Add(CLimit("SiO2", "2 - 4"));
        formula.m_limits.Add(CLimit("KNaO", "<= 0.3"));
        m_limits.InsertFormula(0, formula);
        CLimitFormula unusable("Unusable");
        unusable.m_limits.Add(CLimit("Unlisted", "1 - 2"));
        unusable.m_limits.Add(CLimit("Unplotted", "0 - 1"));
        m_limits.InsertFormula(1, unusable);
        m_limits.InsertFormula(2, CLimitFormula("Empty"));
        m_db = NewDatabase({UnityGlaze("G1", 0.3, 3.0), UnityGlaze("G2", 0.4, 4.0), UnityGlaze("G3", 0.5, 6.0),
                            MakeGlaze("Bad", {{"Unobtainium", 10.0}})});
        m_graph.limform = "cone 6";
        m_graph.oxtype = 0;
        m_graph.barhor = 0;
        m_graph.borders = 0;
        m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 600.0}, {5, 300.0}, {1, 0.0}, {0, 6.0},
                             {3, 0.0},   {2, 1.0},  {13, 6.0},  {15, 5.0}};
    }

    CLimitFormulaDB m_limits;
    CCurrentLimitFormulaDBScope m_scope{m_limits};
};

TEST_F(LimitFormulaChartsTest, OneGlazeAgainstLimitsOfThreeScales)
{
    m_graph.type = kGraphOneLimitFormula;
    m_glazeOfHost = m_db->GetGlaze(0);
    const std::vector<std::string> calls = Definition();
    EXPECT_THAT(calls,
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"G1\")", "ChartSetTitleB(\"Cone 6\")",
                            "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            // Slots: limit, limit, gap, limit (drawn at a fifth), gap, limit.
                            "ChartSetData(6, 2, [0.4 0.4 0.2 0.3 0 0 0.4 0.4 0 0 0 0.3])",
                            "ChartSetPointLabels(6, [\"CaO\" \"Al2O3\" \"\" \"SiO2\" \"\" \"KNaO\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 100)",
                            "ChartSetFont(3, 1, 0, 100)", "ChartSetBarGap(50)", "ChartSetColors(2, [7 7])",
                            "ChartSetPatterns(2, [0 0])", "ChartSetAxisX(4608, 0, 0, 0, 0)",
                            "ChartSetAxisY(4380, 5, 0, 1, 0)",
                            // Planned with a slot for each gap, the gaps of one slot (100) hold their
                            // axes' numbers as the engine measures them (a line is 20).
                            "ChartPlanKind(3, 128, 32)", "ChartGetLayout(6)", "ChartGetLayout(7)",
                            "ChartGetLayout(4)", "ChartGetLayout(5)", "ChartGetLayout(1)", "ChartGetLayout(0)",
                            "ChartGetLayout(3)", "ChartGetLayout(2)", "ChartGetLayout(8)", "ChartGetLayout(13)",
                            "ChartGetLayout(15)", "ChartSetTextFont(1, 0, 100, 0)", "ChartGetTextHeight()",
                            "ChartMeasureValueAxis(3, 1, 0, [\"0.0\" \"1.0\" \"2.0\" \"3.0\" \"4.0\" \"5.0\"])",
                            "ChartMeasureValueAxis(3, 1, 0, [\"0.0\" \"0.2\" \"0.4\" \"0.6\" \"0.8\" \"1.0\"])",
                            "ChartSetKind(3, 128, 32)", "ChartGetLayout(6)",
                            "ChartGetLayout(7)", "ChartGetLayout(4)", "ChartGetLayout(5)", "ChartGetLayout(1)",
                            "ChartGetLayout(0)", "ChartGetLayout(3)", "ChartGetLayout(2)", "ChartGetLayout(8)",
                            "ChartGetLayout(13)", "ChartGetLayout(15)", "ChartDefEnd()",
                            // A value axis of its own at each gap: 0 up to 5, then 0 up to 1, its ticks
                            // half a line (20) long, its numbers level with them, where the engine
                            // measures them beyond the ticks.
                            "ChartSetTextFont(1, 0, 100, 0)", "ChartGetTextHeight()",
                            "ChartDrawValueAxis(400, 50, 300, 10, 5, 5)",
                            "ChartMeasureValueAxis(3, 1, 0, [\"0.0\" \"1.0\" \"2.0\" \"3.0\" \"4.0\" \"5.0\"])",
                            "ChartSetAxisPartB(397.5, 50, 60, 6, 3, 4, [\"0.0\" \"1.0\" \"2.0\" \"3.0\" \"4.0\" \"5.0\"])",
                            "ChartDrawValueAxis(600, 50, 300, 10, 5, 5)",
                            "ChartMeasureValueAxis(3, 1, 0, [\"0.0\" \"0.2\" \"0.4\" \"0.6\" \"0.8\" \"1.0\"])",
                            "ChartSetAxisPartB(597.5, 50, 60, 6, 3, 4, [\"0.0\" \"0.2\" \"0.4\" \"0.6\" \"0.8\" \"1.0\"])",
                            // The markers over the chart: SiO2 3 at 3/5 of the height.
                            "ChartSetShapeKind(1, 6)", "ChartSetShapeGeometry(1, 6, [300 90 0 180 0 0])",
                            "ChartSetMarkerX(6, [50 150 0 350 0 550])", "ChartSetMarkerColors(6, [12 10 1 10 1 10])",
                            "ChartSetMarkerSymbols(6, [13 13 13 13 13 13])",
                            "ChartSetMarkerFlags(6, [0 0 256 0 256 0])", "ChartSetMarkerSize(25)",
                            "ChartDrawMarkers(100, 50, 64, 14)"));
    EXPECT_EQ(m_graph.m_columns, 6);
    EXPECT_EQ(m_graph.m_rows, 1);
    EXPECT_EQ(m_graph.GetCellText(3, 0),
              "Limit formula: Cone 6\r\n\r\nSiO2 = 2 - 4\r\n\r\n\r\nGlaze: G1\r\n\r\nSiO2 = 3.000");
    EXPECT_EQ(m_graph.GetCellText(2, 0), "(no data)");
    EXPECT_THAT(m_graph.m_textLines,
                ElementsAre("", "Limit formula: Cone 6", "", "cao = 1.000 (limits: 0.4 - 0.8)",
                            "Al2O3 = 0.300 (limits: 0.2 - 0.5)", "SiO2 = 3.000 (limits: 2 - 4)",
                            "KNaO = 0.000 (limits: <= 0.3)"));
    // Regression: a plot too narrow for gaps of one slot had the whole chart built a second time.
    // Planned, it is defined with gaps of two slots (15 each) and drawn once.
    m_recorder.layout[4] = 120.0;
    const std::vector<std::string> narrow = Definition();
    EXPECT_EQ(std::count(narrow.begin(), narrow.end(), "ChartDefBegin()"), 1);
    EXPECT_THAT(narrow, ::testing::Contains("ChartSetData(8, 2, [0.4 0.4 0.2 0.3 0 0 0 0 0.4 0.4 0 0 0 0 0 0.3])"));
}

// Every bar stands in the first limit's scale, whatever the scale of the second.
TEST_F(LimitFormulaChartsTest, BarsTakeTheScaleOfTheFirstLimit)
{
    CLimitFormula formula("Silica first");
    formula.m_limits.Add(CLimit("SiO2", "2 - 4"));
    formula.m_limits.Add(CLimit("cao", "0.4 - 0.8"));
    m_limits.InsertFormula(3, formula);
    m_graph.limform = "silica first";
    m_graph.type = kGraphOneLimitFormula;
    m_glazeOfHost = m_db->GetGlaze(0);
    // SiO2, a gap, then CaO drawn five times as high as on its own scale of 0 to 1.
    EXPECT_THAT(Definition(), ::testing::Contains("ChartSetData(3, 2, [2 2 0 0 2 2])"));
}

TEST_F(LimitFormulaChartsTest, LyingMonoBarsWithGridsAndOutlines)
{
    m_graph.type = kGraphOneLimitFormula;
    m_glazeOfHost = m_db->GetGlaze(2); // SiO2 6: beyond its scale, not drawn
    m_graph.barhor = 1;
    m_graph.mono = 1;
    m_graph.borders = 1;
    m_graph.gridx = 1;
    m_graph.labels = 0;
    m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 600.0}, {5, 300.0}, {1, 0.0}, {0, 1.0},
                         {3, 0.0},   {2, 6.0},  {13, 5.0},  {15, 6.0}};
    const std::vector<std::string> calls = Definition();
    EXPECT_THAT(calls, IsSupersetOf({"ChartSetTitleA(\"G3\")", "ChartSetTitleC(\"Cone 6\")", "ChartSetColors(2, [15 15])",
                                     "ChartSetAxisY(8476, 5, 0, 1, 0)", "ChartSetKind(3, 2697, 32)",
                                     "ChartSetPatterns(2, [1 1])", "ChartSetColors(2, [0 0])",
                                     "ChartSetKind(3, 2689, 32)", "ChartDrawValueAxis(100, 200, 600, 10, 5, 0)"}));
    EXPECT_TRUE(Calls("ChartSetAxisPart").empty());
    // Lying bars: values across, slots down from the top.
    EXPECT_THAT(Calls("ChartSetShapeGeometry"), ElementsAre("ChartSetShapeGeometry(1, 6, [275 225 300 125 300 25])"));
    EXPECT_THAT(Calls("ChartSetMarkerX"), ElementsAre("ChartSetMarkerX(6, [600 300 0 720 0 0])"));
    EXPECT_THAT(Calls("ChartSetMarkerColors"), ElementsAre("ChartSetMarkerColors(6, [0 15 1 0 1 15])"));
    EXPECT_THAT(Calls("ChartSetMarkerFlags"), ElementsAre("ChartSetMarkerFlags(6, [0 0 256 256 256 0])"));
    EXPECT_EQ(m_graph.GetCellText(3, 0), "(no data)");
    EXPECT_EQ(m_graph.m_textLines.size(), 6u);
}

TEST_F(LimitFormulaChartsTest, TheAverageOfTheGlazes)
{
    m_graph.type = kGraphAverageLimitFormula;
    AddSource("All", 3, 4, {"G1", "G2", "Bad", "G3"});
    Definition();
    // SiO2 (3 + 4 + 6) / 3 = 4.333: outside its limits, but on its scale.
    EXPECT_THAT(Calls("ChartSetTitleA"), ElementsAre("ChartSetTitleA(\"Average of 3 glazes\")"));
    EXPECT_THAT(Calls("ChartSetShapeGeometry"), ElementsAre("ChartSetShapeGeometry(1, 6, [300 120 0 260 0 0])"));
    EXPECT_THAT(Calls("ChartSetMarkerColors"), ElementsAre("ChartSetMarkerColors(6, [12 10 1 12 1 10])"));
    EXPECT_EQ(m_graph.GetCellText(3, 0),
              "Limit formula: Cone 6\r\n\r\nSiO2 = 2 - 4\r\n\r\n\r\nGlaze: Average of 3 glazes\r\n\r\nSiO2 = 4.333");
}

TEST_F(LimitFormulaChartsTest, AveragesPerDataSetWithASideLegend)
{
    m_graph.type = kGraphAveragesLimitFormula;
    AddSource("First", 3, 4, {"G1", "G3"});
    AddSource("Nothing", 5, 6, {"Bad"});
    AddSource("", 9, 1, {"G2"});
    Definition();
    const std::vector<std::string> calls = m_recorder.CallsFrom("ChartGetWidth");
    EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 4),
                ElementsAre("ChartGetWidth(0, 0)", "ChartGetHeight(0, 0)",
                            "ChartBeginSubArea(0, 0, 0, 1125, 1000, 1000)", "ChartDefBegin()"));
    EXPECT_THAT(Calls("ChartSetTitleA"), ElementsAre("ChartSetTitleA(\"Oxide Averages\")"));
    // Slot j of series s at j x 2 + s.
    EXPECT_THAT(Calls("ChartSetShapeGeometry"),
                ElementsAre("ChartSetShapeGeometry(6, 2, [300 300 120 120 0 0 270 240 0 0 0 0])"));
    EXPECT_THAT(Calls("ChartSetMarkerX"), ElementsAre("ChartSetMarkerX(12, [50 50 150 150 0 0 350 350 0 0 550 550])"));
    std::vector<std::string> legend;
    for (const std::string& call : m_recorder.CallsFrom("ChartSetMarkerColors")) {
        if (call.rfind("ChartMeasure", 0) != 0)
            legend.push_back(Rounded(call));
    }
    EXPECT_THAT(legend,
                ElementsAre("ChartSetMarkerColors(2, [3 9])", "ChartSetMarkerSymbols(2, [4 1])",
                            "ChartSetMarkerFlags(12, [0 0 0 0 256 256 0 0 256 256 0 0])", "ChartSetMarkerSize(25)",
                            "ChartDrawMarkers(100, 50, 64, 14)", "ChartEndSubArea(0, 1, 0)",
                            "ChartBeginSubArea(0, 1125, 0, 375, 1000, 1000)", "ChartGetAreaWidth()",
                            "ChartGetAreaHeight()", "ChartSetTextFont(1, 0, 100, 0)", "ChartGetAreaHeight()",
                            "ChartSetMarkerSize(25)", "ChartDrawSymbol(25, 679.166667, 4, 3)",
                            "ChartDrawText(62.5, 666.666667, 3, 8, 0, \"First\")",
                            "ChartDrawSymbol(25, 345.833333, 1, 9)", "ChartEndSubArea(0, 1, 0)"));
    EXPECT_EQ(m_graph.m_columns, 2);
    EXPECT_EQ(m_graph.m_rows, 6);
    EXPECT_EQ(m_graph.GetCellText(0, 3),
              "Limit formula: Cone 6\r\n\r\nSiO2 = 2 - 4\r\n\r\n\r\nFirst\r\n(2 glazes)\r\n\r\nSiO2 = 4.500");
    EXPECT_THAT(m_graph.m_textLines,
                ElementsAre("", "Limit formula: Cone 6", "", "First", "-----", "cao = 1.000 (limits: 0.4 - 0.8)",
                            "Al2O3 = 0.400 (limits: 0.2 - 0.5)", "SiO2 = 4.500 (limits: 2 - 4)",
                            "KNaO = 0.000 (limits: <= 0.3)"));
}

TEST_F(LimitFormulaChartsTest, EveryGlazeOfEveryDataSet)
{
    // Data sets of 2, 0 and 1 plotted glazes: 2 series of 2 points.
    m_graph.type = kGraphManyLimitFormula;
    m_graph.noleg = 1;
    AddSource("Two", 3, 4, {"G1", "G3"});
    AddSource("None", 5, 6, {"Bad"});
    AddSource("One", 9, 1, {"G2"});
    Definition();
    EXPECT_THAT(Calls("ChartBeginSubArea"), ElementsAre("ChartBeginSubArea(0, 0, 0, 1500, 1000, 1000)"));
    EXPECT_THAT(Calls("ChartSetTitleA"), ElementsAre("ChartSetTitleA(\"Data for 3 glazes\")"));
    // Value (p x 6 + j) x 2 + s; the second series' second point is missing.
    std::vector<std::string> markers;
    for (const std::string& call : m_recorder.CallsFrom("ChartSetShapeKind"))
        markers.push_back(Rounded(call));
    EXPECT_THAT(markers,
                ElementsAre("ChartSetShapeKind(12, 2)",
                            "ChartSetShapeGeometry(12, 2, [300 300 90 120 0 0 180 240 0 0 0 0 300 0 150 0 0 0 "
                            "360 0 0 0 0 0])",
                            "ChartSetMarkerX(24, [50 50 150 150 0 0 350 350 0 0 550 550 50 0 150 0 0 0 350 0 0 0 550 0])",
                            "ChartSetMarkerFlags(24, [0 0 0 0 256 256 0 0 256 256 0 0 0 256 0 256 256 256 256 256 "
                            "256 256 0 256])",
                            "ChartSetMarkerColors(2, [3 9])", "ChartSetMarkerSymbols(2, [4 1])",
                            "ChartSetMarkerSize(25)", "ChartDrawMarkers(100, 50, 64, 14)", "ChartEndSubArea(0, 1, 0)"));
    EXPECT_EQ(m_graph.m_columns, 2);
    EXPECT_EQ(m_graph.m_rows, 12);
    EXPECT_EQ(m_graph.GetCellText(1, 9), "(missing data)");
    EXPECT_EQ(m_graph.GetCellText(0, 2), "");
    // G3's silica (6) lies beyond its scale: not drawn, but its text stays.
    EXPECT_EQ(m_graph.GetCellText(0, 9),
              "Limit formula: Cone 6\r\n\r\nSiO2 = 2 - 4\r\n\r\n\r\nG3\r\n\r\nSiO2 = 6.000");
    EXPECT_THAT(m_graph.m_textLines,
                IsSupersetOf({"G1", "G3", "G2", "SiO2 = 6.000 (limits: 2 - 4)"}));
    EXPECT_EQ(ItemAt(m_graph.m_textLines, 3), "G1");
    EXPECT_EQ(ItemAt(m_graph.m_textLines, 10), "G3");
    EXPECT_EQ(ItemAt(m_graph.m_textLines, 17), "G2");
}

// Drawn by the program's engine, each marker answers a click with its own cell, inside the main
// area left of the legend.
TEST_F(LimitFormulaChartsTest, ClickedMarkersShowTheirOwnTexts)
{
    SetChartEngine(&m_engine);
    m_graph.type = kGraphManyLimitFormula;
    AddSource("Two", 3, 4, {"G1", "G3"});
    AddSource("One", 9, 1, {"G2"});
    ASSERT_GE(Build(m_graph, m_db, nullptr), 0);
    ASSERT_NE(m_graph.GetChart(), nullptr);
    const CChart& chart = *m_graph.GetChart();
    std::vector<std::string> clicked;
    for (const CChartPrimitive* marker : CellPrimitives(chart)) {
        const double x = marker->left + marker->width / 2.0, y = marker->bottom + marker->height / 2.0;
        EXPECT_LT(x, chart.ChartGetWidth() * 0.75);
        const CChartHit hit = chart.HitTest(chart.UnitsToPixelsX(x), chart.UnitsToPixelsY(y));
        clicked.push_back(m_graph.GetCellText(hit.column, hit.row));
    }
    // Twelve values of G1, G3 and G2 on four limits, less G3's silica beyond its scale.
    EXPECT_EQ(clicked.size(), 11u);
    EXPECT_EQ(std::count(clicked.begin(), clicked.end(),
                         "Limit formula: Cone 6\r\n\r\nSiO2 = 2 - 4\r\n\r\n\r\nG2\r\n\r\nSiO2 = 4.000"),
              1);
    for (const std::string& text : clicked)
        EXPECT_EQ(text.rfind("Limit formula: Cone 6\r\n", 0), 0u) << text;
    // The legend's markers stand in the right quarter.
    EXPECT_THAT(DrawnTexts(chart), ::testing::Contains("Two"));
    SetChartEngine(&m_recorder);
}

TEST_F(LimitFormulaChartsTest, WhatCannotBeDrawnIsSaid)
{
    m_graph.type = kGraphOneLimitFormula;
    EXPECT_EQ(Refusal(), "No glaze to display");
    m_glazeOfHost = m_db->GetGlaze(3);
    EXPECT_EQ(Refusal(), "Chemical analysis unknown");
    m_glazeOfHost = m_db->GetGlaze(0);
    m_graph.limform = "";
    EXPECT_EQ(Refusal(), "No limit formula");
    m_graph.limform = "Cone 10";
    EXPECT_EQ(Refusal(), "Limit formula Cone 10 not found");
    m_graph.limform = "Empty";
    EXPECT_EQ(Refusal(), "Limit formula contains no limits");
    m_graph.limform = "Unusable";
    EXPECT_EQ(Refusal(), "Limit formula contains no usable limits");

    // The charts of data sets close their main area before they give up.
    m_graph.type = kGraphManyLimitFormula;
    EXPECT_EQ(Refusal(), "No glazes to display or no chemical analyses known");
    AddSource("One", 9, 1, {"G2"});
    EXPECT_EQ(Refusal(), "Limit formula contains no usable limits");
    const std::string handle = std::to_string(m_graph.GetChartHandle());
    std::vector<std::string> closed = m_recorder.CallsFrom("ChartBeginSubArea");
    std::erase_if(closed, [](const std::string& call) { return call.rfind("ChartMeasureTextWidth", 0) == 0; });
    EXPECT_THAT(closed, ElementsAre("ChartBeginSubArea(" + handle + ", 0, 0, 1125, 1000, 1000)",
                                    "ChartEndSubArea(" + handle + ", 1, 0)", "ChartMeasureTextHeight(2, 0, \"XYZxyz\")",
                                    "ChartSetShapeKind(5, 2)", "ChartSetShapeGeometry(5, 2, [0 0 30 0 30 30 0 30 0 0])",
                                    "ChartSetBoxStyle(0, 0, 0, 0)", "ChartSetFillColor(12)", "ChartSetBoxBorder()",
                                    "ChartGetObjectId()", "ChartGetAreaWidth()",
                                    "ChartDrawText(40, 5, 2, 0, 4, \"Limit formula contains no usable limits\")"));
}

// Limits that contradict themselves, or combinations without a plot maximum, were left out of
// the chart without a word: the usable limits are drawn and the notice box names the first left
// out. (It was the error box, whose text ran across the drawn chart.)
TEST_F(LimitFormulaChartsTest, LimitsLeftOutAreNamedInTheNotice)
{
    m_graph.type = kGraphOneLimitFormula;
    m_glazeOfHost = m_db->GetGlaze(0);
    CLimitFormula odd("Odd");
    odd.m_limits.Add(CLimit("CaO", "0.8 - 0.2"));
    odd.m_limits.Add(CLimit("SiO2", "0 - 1e999"));
    odd.m_limits.Add(CLimit("Al2O3", "0.2 - 0.5"));
    m_limits.InsertFormula(3, odd);
    m_graph.limform = "Odd";
    m_recorder.calls.clear();
    EXPECT_GE(Build(m_graph, m_db, m_glazeOfHost), 0);
    EXPECT_EQ(m_graph.m_errorText, "");
    EXPECT_EQ(m_graph.m_noticeText, "Limit CaO = 0.8 - 0.2 contradicts itself and is not drawn");
    EXPECT_THAT(Calls("ChartSetData"), ElementsAre("ChartSetData(1, 2, [0.2 0.3])"));
    EXPECT_THAT(m_recorder.CallsFrom("ChartSetShapeKind(5, 2)"),
                ElementsAre("ChartSetShapeKind(5, 2)", "ChartSetShapeGeometry(5, 2, [0 0 35 0 35 35 0 35 0 0])",
                            "ChartSetBoxStyle(0, 0, 0, 0)", "ChartSetFillColor(14)", "ChartSetBoxBorder()",
                            "ChartGetObjectId()"));

    odd.m_limits.RemoveAt(0);
    ASSERT_GT(m_limits.GetCount(), 3);
    m_limits.GetAt(3) = odd;
    m_recorder.calls.clear();
    Build(m_graph, m_db, m_glazeOfHost);
    EXPECT_EQ(m_graph.m_noticeText, "Limit SiO2 = 0 - 1e999 contradicts itself and is not drawn");

    CLimitFormula one("One");
    one.m_limits.Add(CLimit("CaO", "0.4 - 0.8"));
    one.m_limits.Add(CLimit("Al2O3", "0.2 - 0.5"));
    m_limits.InsertFormula(4, one);
    m_graph.limform = "One";
    for (const double plotMax : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        Found(m_limits.m_combinations.FindByName("CaO")).m_plotMax = plotMax;
        m_recorder.calls.clear();
        Build(m_graph, m_db, m_glazeOfHost);
        EXPECT_EQ(m_graph.m_noticeText, "Combination CaO has no plot maximum above 0; its limit is not drawn") << plotMax;
        EXPECT_EQ(m_graph.m_errorText, "") << plotMax;
        EXPECT_THAT(Calls("ChartSetData"), ElementsAre("ChartSetData(1, 2, [0.2 0.3])")) << plotMax;
    }
}


// Lying bars with labels write each gap's values over its axis, from its foot, an eighth of a
// line over its line, its ticks of half a line pointing down, or beyond them where they point up.
TEST_F(LimitFormulaChartsTest, LyingBarsLabelTheirValueAxes)
{
    m_graph.type = kGraphOneLimitFormula;
    m_glazeOfHost = m_db->GetGlaze(0);
    m_graph.barhor = 1;
    m_graph.labels = 1;
    m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 600.0}, {5, 300.0}, {1, 0.0}, {0, 1.0},
                         {3, 0.0},   {2, 6.0},  {13, 5.0},  {15, 6.0}};
    for (const int tickin : {0, 2}) {
        m_graph.tickin = tickin;
        Definition();
        const std::string over = tickin == 0 ? "202.5" : "212.5";
        EXPECT_THAT(Calls("ChartSetAxisPartA"), ::testing::Contains(::testing::HasSubstr("ChartSetAxisPartA(100, " + over + ", 120"))) << tickin;
    }
    Definition();
    EXPECT_THAT(Calls("ChartSetAxisPartA"),
                ElementsAre("ChartSetAxisPartA(100, 212.5, 120, 6, 3, 2, [\"0.0\" \"1.0\" \"2.0\" \"3.0\" \"4.0\" \"5.0\"])",
                            "ChartSetAxisPartA(100, 112.5, 120, 6, 3, 2, [\"0.0\" \"0.2\" \"0.4\" \"0.6\" \"0.8\" \"1.0\"])"));
}

} // namespace
