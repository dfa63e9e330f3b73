#include "core/graphs/PointChartTestSupport.h"
#include "core/support/CheckedItems.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

// SiO2 across, Al2O3 up, in unity; data sets of 3, 0 and 2 plotted glazes ("Bad" has a
// material the database does not know).
class ScatterChartsTest : public PointChartTest {
protected:
    ScatterChartsTest()
    {
        CGlaze bad = MakeGlaze("Bad", {{"Unobtainium", 10.0}});
        m_db = NewDatabase({UnityGlaze("G1", 0.3, 3.0), UnityGlaze("G2", 0.4, 4.0), UnityGlaze("G3", 0.5, 5.0),
                            UnityGlaze("G4", 0.2, 2.0), UnityGlaze("G5", 0.25, 2.5), bad});
        m_graph.type = kGraphScatter;
        m_graph.xoxide = kSi;
        m_graph.yoxide = kAl;
        m_graph.zoxide = kCa;
        m_graph.oxtype = 0;
        m_graph.symsize = 8;
        AddSource("Set A", 9, 1, {"G1", "G2", "G3"});
        AddSource("Set B", 5, 3, {"Bad", "Missing"});
        AddSource("Set C", 4, 2, {"G4", "G5"});
    }
};

TEST_F(ScatterChartsTest, DataSetsBecomeSeriesPaddedWithMissingPoints)
{
    EXPECT_THAT(Definition(),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Data for 5 glazes\")", "ChartSetTitleB(\"SiO2\")",
                            "ChartSetTitleC(\"Al2O3\")", "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            // Point p of series s at p x 2 + s; the empty set leaves no series.
                            "ChartSetXData(6, [3 2 4 2.5 5 0])", "ChartSetData(3, 2, [0.3 0.2 0.4 0.25 0.5 0])",
                            "ChartSetPointFlags(6, [0 0 0 0 0 256])", "ChartSetLegend(2, [\"Set A\" \"Set C\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 100)",
                            "ChartSetFont(3, 1, 0, 100)", "ChartSetColors(2, [9 4])", "ChartSetSymbols(2, [1 2])",
                            "ChartSetMarkerSize(2)", "ChartSetAxisX(4608, 10, 0, 100, 0)",
                            "ChartSetAxisY(4352, 10, 0, 100, 0)", "ChartSetKind(9, 16, 32)", "ChartDefEnd()"));
    EXPECT_EQ(m_graph.m_columns, 2);
    EXPECT_EQ(m_graph.m_rows, 3);
    EXPECT_EQ(m_graph.GetCellText(0, 0), "G1\r\n\r\n3.000  SiO2\r\n0.300  Al2O3");
    EXPECT_EQ(m_graph.GetCellText(1, 1), "G5\r\n\r\n2.500  SiO2\r\n0.250  Al2O3");
    EXPECT_EQ(m_graph.GetCellText(1, 2), "(missing data)");
    EXPECT_EQ(std::count(m_graph.m_cellTexts.begin(), m_graph.m_cellTexts.end(), "(missing data)"), 1);
    EXPECT_THAT(m_graph.m_textLines,
                ElementsAre("", "Set A", "-----", "G1:   3.000  SiO2,   0.300  Al2O3", "G2:   4.000  SiO2,   0.400  Al2O3",
                            "G3:   5.000  SiO2,   0.500  Al2O3", "", "Set C", "-----",
                            "G4:   2.000  SiO2,   0.200  Al2O3", "G5:   2.500  SiO2,   0.250  Al2O3"));
    // The "other" remainders of the graph's own copy are taken against the plotted oxides.
    EXPECT_EQ(m_graph.bpoxides, "14,13,");

    // Mono: every series black; symsize 0 keeps the engine's marker size; no legend.
    m_graph.mono = 1;
    m_graph.symsize = 0;
    m_graph.noleg = 1;
    Definition();
    EXPECT_THAT(Calls("ChartSetColors"), ElementsAre("ChartSetColors(2, [0 0])"));
    EXPECT_TRUE(Calls("ChartSetMarkerSize").empty());
    EXPECT_TRUE(Calls("ChartSetLegend").empty());
}

TEST_F(ScatterChartsTest, OneGlazeGridsLabelsAndScales)
{
    m_graph.m_dataSources.RemoveAt(2);
    RecordAt(m_graph.m_dataSources, 0).dsgname = {"G4"};
    // Regression: a glaze of two data sets is a point of each but one glaze of the title; the
    // title counted it twice.
    AddSource("Set A again", 4, 2, {"G4"});
    m_graph.gridx = 1;
    m_graph.labels = 0;
    m_graph.xman = 1;
    m_graph.xtickm = 4;
    m_graph.xmin = 1.0;
    m_graph.xmax = 6.0;
    m_graph.xtick = 5;
    m_graph.oxtype = 1;
    m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 800.0}, {5, 400.0}};
    const std::vector<std::string> calls = Definition();
    EXPECT_THAT(calls, IsSupersetOf({"ChartSetTitleA(\"Data for 1 glaze\")", "ChartSetAxisFormat(0, \"##0\\%\")",
                                     "ChartSetAxisFormat(1, \"##0\\%\")", "ChartSetAxisX(5660, 5, 0, 6, 1)",
                                     "ChartSetMinorTicks(0, 4)", "ChartSetKind(9, 21, 32)"}));
    // One grid only: the plot frame is drawn along the plot area.
    EXPECT_THAT(Calls("ChartDrawLine"), ElementsAre("ChartDrawLine(100, 50, 900, 50, 1, 0, 0)",
                                                    "ChartDrawLine(900, 50, 900, 450, 1, 0, 0)",
                                                    "ChartDrawLine(900, 450, 100, 450, 1, 0, 0)",
                                                    "ChartDrawLine(100, 450, 100, 50, 1, 0, 0)"));
}

TEST_F(ScatterChartsTest, ABackgroundImageLiesUnderThePointsDrawnAgain)
{
    m_graph.ovfile = "glazes.png";
    m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 800.0}, {5, 400.0}};
    m_recorder.outputResult = 1;
    Definition();
    EXPECT_THAT(m_recorder.CallsFrom("ChartSetKind"),
                ElementsAre("ChartSetKind(9, 16, 32)", "ChartGetLayout(6)", "ChartGetLayout(7)", "ChartGetLayout(4)",
                            "ChartGetLayout(5)", "ChartSetBackgroundImage(100, 50, 800, 400, 4, 2, \"glazes.png\")",
                            "ChartSetKind(9, 16, 32)", "ChartGetLayout(6)", "ChartGetLayout(7)", "ChartGetLayout(4)",
                            "ChartGetLayout(5)", "ChartDrawLine(100, 50, 900, 50, 1, 0, 0)",
                            "ChartDrawLine(900, 50, 900, 450, 1, 0, 0)", "ChartDrawLine(900, 450, 100, 450, 1, 0, 0)",
                            "ChartDrawLine(100, 450, 100, 50, 1, 0, 0)", "ChartDefEnd()",
                            // The unreadable image is a notice in the corner; the chart is drawn.
                            "ChartSetShapeKind(5, 2)", "ChartSetShapeGeometry(5, 2, [0 0 35 0 35 35 0 35 0 0])",
                            "ChartSetBoxStyle(0, 0, 0, 0)", "ChartSetFillColor(14)", "ChartSetBoxBorder()",
                            "ChartGetObjectId()"));
    EXPECT_EQ(m_graph.m_noticeText, "Could not read background image file");
    EXPECT_EQ(m_graph.GetMessageText(7), "Could not read background image file");

    m_recorder.outputResult = 0;
    Definition();
    EXPECT_EQ(m_graph.m_noticeText, "");
}

TEST_F(ScatterChartsTest, TheThreeDimensionalScatterStandsTheTemplatesZUp)
{
    m_graph.type = kGraphScatter3D;
    m_graph.zoxide = kCa;
    m_graph.sticks = 1;
    m_graph.m_dataSources.RemoveAt(2);
    m_graph.m_dataSources.RemoveAt(1);
    RecordAt(m_graph.m_dataSources, 0).dsgname = {"G1", "G2"};
    m_graph.rot3d = -120;
    m_graph.elev3d = 35;
    m_graph.zman = 1;
    m_graph.ztick = 4;
    EXPECT_THAT(Definition(),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Data for 2 glazes\")",
                            "ChartSetTitleB(\"SiO2      /      Al2O3\")", "ChartSetTitleC(\"CaO\")",
                            "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            // The template's Z (CaO) is the main data, its Y (Al2O3) the depth.
                            "ChartSetXData(2, [3 4])", "ChartSetData(2, 1, [1 1])", "ChartSetZData(2, [0.3 0.4])",
                            "ChartSetPointFlags(2, [0 0])", "ChartSetLegend(1, [\"Set A\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 100)",
                            "ChartSetFont(3, 1, 0, 100)", "ChartSetView(7, -120, 35, 0)", "ChartSetThin(0, -1, -1)",
                            "ChartSetDepth(7, 100, 50, 50)", "ChartSetColors(1, [9])", "ChartSetSymbols(1, [1])",
                            "ChartSetMarkerSize(2)", "ChartSetAxisX(4608, 10, 0, 100, 0)",
                            "ChartSetAxisY(4352, 10, 0, 100, 0)", "ChartSetAxisZ(4124, 4, 0, 100, 0)",
                            "ChartSetKind(137, 528, 32)", "ChartDefEnd()"));
    EXPECT_EQ(m_graph.GetCellText(0, 1), "G2\r\n\r\n4.000  SiO2\r\n1.000  CaO\r\n0.400  Al2O3");
    EXPECT_EQ(LastItem(m_graph.m_textLines), "G2:   4.000  SiO2,   1.000  CaO,   0.400  Al2O3");
}

TEST_F(ScatterChartsTest, MissingVariablesAndGlazesAreRefused)
{
    m_graph.xoxide = 128;
    m_graph.yoxide = -1;
    EXPECT_EQ(Refusal(), "No X axis oxide/variable selected");
    m_graph.xoxide = -1;
    EXPECT_EQ(Refusal(), "No X axis oxide/variable selected");
    m_graph.xoxide = kSi;
    EXPECT_EQ(Refusal(), "No Y axis oxide/variable selected");
    m_graph.yoxide = kAl;
    m_graph.type = kGraphScatter3D;
    m_graph.zoxide = 200;
    EXPECT_EQ(Refusal(), "No Z axis oxide/variable selected");
    m_graph.zoxide = kCa;
    m_graph.m_dataSources.RemoveAt(2);
    m_graph.m_dataSources.RemoveAt(0);
    EXPECT_EQ(Refusal(), "No glazes to display or no chemical analyses known");
    EXPECT_TRUE(m_graph.m_cellTexts.empty());
    EXPECT_TRUE(m_graph.m_textLines.empty());
}

} // namespace
