#include "core/graphs/PointChartTestSupport.h"
#include "core/support/CheckedItems.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

// SiO2 (x, bottom right), Al2O3 (y, top) and CaO (z, bottom left) of two glazes in weight
// percent: "Inside" has the shares 0.4, 0.25 and 0.35, "Silica" 0.70, 0.08 and 0.22.
class TriaxialChartTest : public PointChartTest {
protected:
    TriaxialChartTest()
    {
        m_db = NewDatabase({UnityGlaze("Inside", 0.39285, 1.0667), UnityGlaze("Silica", 0.2, 3.0)});
        m_graph.type = kGraphTriaxial;
        m_graph.xoxide = kSi;
        m_graph.yoxide = kAl;
        m_graph.zoxide = kCa;
        m_graph.oxtype = 1;
        m_graph.gridx = 0;
        AddSource("Tests", 4, 2, {"Inside", "Silica"});
        m_recorder.layout = {{6, 0.0}, {7, 0.0}, {4, 1000.0}, {5, 500.0}};
    }
};

TEST_F(TriaxialChartTest, TheTriangleIsInscribedInThePlotArea)
{
    // 1000 x 500: the corner names (a line of 20) take 20 + 20 below the base and 20 over the top
    // corner, so the triangle's base is 440 / sin 60 = 508.06823726 wide, 245.96588137 in.
    EXPECT_THAT(Definition(),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Data for 2 glazes\")", "ChartSetTitleB(\"  \")",
                            "ChartSetTitleC(\"% Weight\")", "ChartSetSideTitleStyle(6, 0)",
                            "ChartSetSideTitleStyle(11, 0)", "ChartSetLegend(1, [\"Tests\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 120)",
                            "ChartSetFont(3, 1, 0, 100)", "ChartSetColors(1, [4])", "ChartSetSymbols(1, [2])",
                            "ChartSetMarkerSize(25)",
                            // The frame pass: every point beyond the 0 to 1 axes.
                            "ChartSetAutoRedraw(0)", "ChartSetAxisX(24, 1, 0, 1, 0)", "ChartSetAxisY(24, 1, 0, 1, 0)",
                            "ChartSetTriaxial(7, 15)", "ChartSetXData(2, [1.1 1.1])", "ChartSetData(2, 1, [1.1 1.1])",
                            "ChartSetPointFlags(2, [0 0])", "ChartSetKind(9, 1, 32)", "ChartSetAutoRedraw(1)",
                            "ChartGetLayout(6)", "ChartGetLayout(7)", "ChartGetLayout(4)", "ChartGetLayout(5)",
                            "ChartSetTextFont(1, 0, 120, 0)", "ChartGetTextHeight()",
                            "ChartMeasureTextWidth(3, 0, \"100% CaO\")", "ChartMeasureTextWidth(3, 0, \"100% SiO2\")",
                            "ChartMeasureTextWidth(3, 0, \" \")", "ChartMeasureTextWidth(3, 0, \"100% Al2O3\")",
                            "ChartDrawLine(245.965881, 40, 500, 480, 1, 0, 0)",
                            "ChartDrawLine(500, 480, 754.034119, 40, 1, 0, 0)",
                            "ChartDrawLine(754.034119, 40, 245.965881, 40, 1, 0, 0)",
                            "ChartDrawText(245.965881, 20, 3, 274, 0, \"100% CaO\")",
                            "ChartDrawText(754.034119, 20, 3, 274, 0, \"100% SiO2\")",
                            "ChartDrawText(540, 480, 3, 272, 0, \"100% Al2O3\")",
                            "ChartSetXData(2, [0.512704 0.622872])", "ChartSetData(2, 1, [0.299993 0.1499])",
                            "ChartSetPointFlags(2, [0 0])", "ChartSetKind(9, 17, 32)",
                            "ChartDrawLine(754.034119, 40, 245.965881, 40, 1, 0, 0)", "ChartDefEnd()"));
    EXPECT_EQ(m_graph.GetCellText(0, 0), "Inside\r\n\r\n40.00%  SiO2\r\n25.00%  Al2O3\r\n35.00%  CaO");

    // 500 x 1000: the triangle is as wide as the plot less half of each bottom corner's name (40 and
    // 45), which stand inside it, 40 + (940 - 359.39) / 2 up. Regression: names centred under the
    // corners of a triangle as wide as the plot ran over the side title and the legend.
    m_recorder.layout = {{6, 0.0}, {7, 0.0}, {4, 500.0}, {5, 1000.0}};
    Definition();
    EXPECT_EQ(ItemAt(Calls("ChartDrawLine"), 0), "ChartDrawLine(40, 330.299729, 247.5, 689.700271, 1, 0, 0)");
}

TEST_F(TriaxialChartTest, AManualScaleZoomsIntoASmallerTriangle)
{
    m_graph.xman = 1;
    m_graph.xmin = 20.0;
    m_graph.xmax = 60.0;
    m_graph.yman = 1;
    m_graph.ymin = 10.0;
    m_graph.ymax = 99.0; // never used
    Definition();
    // Fx 0.2 to 0.6, Fy 0.1 to 0.5, Fz 0.3 to 0.7.
    EXPECT_THAT(Calls("ChartDrawText"),
                ElementsAre("ChartDrawText(245.965881, 20, 3, 274, 0, \"20% SiO2, 10% Al2O3, 70% CaO\")",
                            "ChartDrawText(754.034119, 20, 3, 274, 0, \"60% SiO2, 10% Al2O3, 30% CaO\")",
                            "ChartDrawText(540, 480, 3, 272, 0, \"20% SiO2, 50% Al2O3, 30% CaO\")"));
    // Inside: (0.4 - 0.2) / 0.4 + (0.25 - 0.1) / 0.4 / 2 of the base, beyond the offset; the silica
    // glaze (Fx 0.70) is not drawn but keeps its shares.
    EXPECT_EQ(LastItem(Calls("ChartSetXData")), "ChartSetXData(2, [0.595267 0.702126])");
    EXPECT_EQ(LastItem(Calls("ChartSetPointFlags")), "ChartSetPointFlags(2, [0 256])");
    EXPECT_EQ(LastItem(m_graph.m_textLines), "Silica:   70.21%  SiO2,   7.94%  Al2O3,   21.84%  CaO");

    // Molecular parts: the ranges stay fractions, printed with two decimals.
    m_graph.oxtype = 0;
    m_graph.xmin = 0.0;
    m_graph.xmax = 1.0;
    m_graph.yman = 0;
    Definition();
    EXPECT_THAT(Calls("ChartDrawText"), ElementsAre("ChartDrawText(245.965881, 20, 3, 274, 0, \"1.00 CaO\")",
                                                    "ChartDrawText(754.034119, 20, 3, 274, 0, \"1.00 SiO2\")",
                                                    "ChartDrawText(540, 480, 3, 272, 0, \"1.00 Al2O3\")"));

    // A zoom of no size is refused instead of dividing by zero.
    m_graph.xmin = 0.5;
    m_graph.xmax = 0.5;
    EXPECT_EQ(Refusal(), "Triaxial zoom: the X axis maximum must be greater than its minimum");
    m_graph.xmax = 0.504; // 0.5 once rounded to hundredths
    EXPECT_EQ(Refusal(), "Triaxial zoom: the X axis maximum must be greater than its minimum");
    // Whatever the Y axis's range.
    m_graph.yman = 1;
    m_graph.ymin = 0.6;
    m_graph.xmin = 0.3;
    m_graph.xmax = 0.3;
    EXPECT_EQ(Refusal(), "Triaxial zoom: the X axis maximum must be greater than its minimum");
}

TEST_F(TriaxialChartTest, GridImageAndGlazesWithoutTheVariables)
{
    m_graph.gridx = 1;
    m_graph.xman = 1;
    m_graph.xmin = 0.0;
    m_graph.xmax = 100.0;
    m_graph.xtick = 4;
    m_graph.labels = 0;
    m_graph.ovfile = "diagram.png";
    Definition();
    EXPECT_THAT(Calls("ChartSetBackgroundImage"),
                ElementsAre("ChartSetBackgroundImage(211.324865, 0, 577.35027, 500, 4, 2, \"diagram.png\")"));
    // Outline, four lines of each family (the first on the outline), the base again.
    const std::vector<std::string> lines = Calls("ChartDrawLine");
    ASSERT_EQ(lines.size(), 3u + 12u + 1u);
    EXPECT_EQ(lines[4], "ChartDrawLine(355.662433, 0, 572.168784, 375, 1, 0, 0)");
    EXPECT_EQ(lines[8], "ChartDrawLine(283.493649, 125, 716.506351, 125, 1, 0, 0)"); // level, side to side
    EXPECT_EQ(lines[12], "ChartDrawLine(427.831216, 375, 644.337567, 0, 1, 0, 0)"); // from the left side to the base
    EXPECT_TRUE(Calls("ChartDrawText").empty());

    // TiO2, ZnO and MgO: none in these glazes; the glazes are listed but not drawn.
    m_graph.xoxide = 22;
    m_graph.yoxide = 30;
    m_graph.zoxide = 12;
    Definition();
    EXPECT_EQ(LastItem(Calls("ChartSetPointFlags")), "ChartSetPointFlags(2, [256 256])");
    EXPECT_EQ(m_graph.m_textLines.size(), 5u);
}

} // namespace
