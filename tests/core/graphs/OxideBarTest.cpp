#include "core/graphs/GraphBuildTestSupport.h"
#include "core/support/CheckedItems.h"
#include "core/graphs/RecordingChartEngine.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// The worked glaze (0.3 K2O, 0.7 CaO, 0.4 Al2O3, 3.0 SiO2) as bars, against the recording
// engine.
class OxideBarTest : public GraphBuildTestBase {
protected:
    OxideBarTest()
    {
        m_graph.type = kGraphOneBarOxides;
        m_graph.bpoxides = "19,20,13,14";
        m_graph.oxtype = 0;
    }

    // The calls of the chart definition, data values rounded to thousandths.
    std::vector<std::string> Definition()
    {
        m_recorder.calls.clear();
        EXPECT_GE(Build(m_graph, nullptr, &m_glaze), 0);
        EXPECT_EQ(m_graph.m_errorText, "");
        std::vector<std::string> calls;
        for (const std::string& call : m_recorder.CallsFrom("ChartDefBegin"))
            calls.push_back(call.rfind("ChartSetData(", 0) == 0 ? Rounded(call) : call);
        return calls;
    }
    static std::string Rounded(const std::string& call)
    {
        static const std::regex number(R"(\d+\.\d{4,})");
        std::string out;
        auto at = call.cbegin();
        for (std::sregex_iterator i(call.begin(), call.end(), number), end; i != end; ++i) {
            out.append(at, (*i)[0].first);
            out += CRecordingChartEngine::Text(std::round(std::stod(i->str()) * 1000.0) / 1000.0);
            at = (*i)[0].second;
        }
        return out.append(at, call.cend());
    }
    // The axis calls of a build.
    std::vector<std::string> Axes()
    {
        Definition();
        return m_recorder.Calls("ChartSetAxis");
    }
    std::vector<std::string> Kinds()
    {
        Definition();
        return m_recorder.Calls("ChartSetKind");
    }

    CGlaze m_glaze = WorkedGlaze();
    CRecordingChartEngine m_recorder;
    CGraph m_graph;
};

TEST_F(OxideBarTest, TheWorkedGlazeIsDefinedStepByStep)
{
    EXPECT_THAT(Definition(),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Worked glaze\")", "ChartSetTitleC(\"Unity\")",
                            "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            "ChartSetData(4, 1, [0.3 0.7 0.4 3])",
                            "ChartSetPointLabels(4, [\"K2O\" \"CaO\" \"Al2O3\" \"SiO2\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 100)",
                            "ChartSetFont(3, 1, 0, 100)", "ChartSetBarGap(50)", "ChartSetColors(4, [11 11 10 12])",
                            "ChartSetPatterns(4, [0 0 0 0])",
                            // Vertical bars with ticks inside: X at the bottom 0x1200, Y at the left 0x1100.
                            "ChartSetAxisX(4608, 10, 0, 100, 0)", "ChartSetAxisY(4352, 10, 0, 100, 0)",
                            "ChartSetKind(3, 0, 32)",
                            // The outline pass: hollow black bars over the coloured ones.
                            "ChartSetPatterns(4, [1 1 1 1])", "ChartSetColors(4, [0 0 0 0])", "ChartSetKind(3, 0, 32)",
                            "ChartDefEnd()"));
    EXPECT_THAT(m_graph.m_cellTexts, ElementsAre("K2O  0.300", "CaO  0.700", "Al2O3  0.400", "SiO2  3.000"));
    EXPECT_EQ(m_graph.m_textLines, m_graph.m_cellTexts);
    EXPECT_EQ(m_graph.m_columns, 1);
    EXPECT_EQ(m_graph.m_rows, 4);
    EXPECT_EQ(m_graph.GetTitle(), "Worked glaze");

    // reverse runs the bars against the list (the pie of the same template runs the other way).
    m_graph.reverse = 1;
    Definition();
    EXPECT_THAT(m_recorder.Calls("ChartSetPointLabels"),
                ElementsAre("ChartSetPointLabels(4, [\"SiO2\" \"Al2O3\" \"CaO\" \"K2O\"])"));

    // Percent units: the value axis reads percentages and the texts say so.
    m_graph.reverse = 0;
    m_graph.oxtype = 2;
    Definition();
    EXPECT_THAT(m_recorder.Calls("ChartSetAxisFormat"), ElementsAre("ChartSetAxisFormat(1, \"##0\\%\")"));
    EXPECT_THAT(m_recorder.Calls("ChartSetTitleC"), ElementsAre("ChartSetTitleC(\"% Molecular\")"));
    EXPECT_EQ(LastItem(m_graph.m_cellTexts), "SiO2  68.18%m");
}

TEST_F(OxideBarTest, AxisSidesAndTicks)
{
    m_graph.tickin = 1;
    EXPECT_THAT(Axes(), ElementsAre("ChartSetAxisX(512, 10, 0, 100, 0)", "ChartSetAxisY(256, 10, 0, 100, 0)"));
    m_graph.tickin = 2;
    EXPECT_THAT(Axes(), ElementsAre("ChartSetAxisX(8704, 10, 0, 100, 0)", "ChartSetAxisY(8448, 10, 0, 100, 0)"));

    // On the far sides (X on top, Y on the right of upright bars) inside means the other way.
    m_graph.tickin = 0;
    m_graph.xtop = 1;
    m_graph.yrt = 1;
    EXPECT_THAT(Axes(), ElementsAre("ChartSetAxisX(8448, 10, 0, 100, 0)", "ChartSetAxisY(8704, 10, 0, 100, 0)"));
    // Lying bars with the value axis "right" have it on the near side; without yrt on the far.
    m_graph.xtop = 0;
    m_graph.barhor = 1;
    EXPECT_THAT(Axes(), ElementsAre("ChartSetAxisX(4608, 10, 0, 100, 0)", "ChartSetAxisY(4608, 10, 0, 100, 0)"));
    m_graph.yrt = 0;
    EXPECT_THAT(Axes(), ElementsAre("ChartSetAxisX(4608, 10, 0, 100, 0)", "ChartSetAxisY(8448, 10, 0, 100, 0)"));

    // Turned labels and manual scales, with their minor ticks.
    m_graph.barhor = 0;
    m_graph.xvert = 1;
    m_graph.xman = 1;
    m_graph.yman = 1;
    m_graph.xtickm = 3;
    m_graph.ytickm = 4;
    m_graph.ymin = 10.0;
    m_graph.ymax = 40.0;
    m_graph.ytick = 6;
    Definition();
    EXPECT_THAT(m_recorder.CallsFrom("ChartSetAxisX"),
                testing::IsSupersetOf({"ChartSetAxisX(7708, 10, 0, 100, 0)", "ChartSetMinorTicks(0, 3)",
                                       "ChartSetAxisY(5404, 6, 0, 40, 10)", "ChartSetMinorTicks(1, 4)"}));
}

TEST_F(OxideBarTest, GridsFramesWidthsAndTheThreeDimensionalLook)
{
    // barwid 100: no gap between the bars.
    m_graph.barwid = 100;
    Definition();
    EXPECT_THAT(m_recorder.Calls("ChartSetBarGap"), ElementsAre("ChartSetBarGap(0)"));

    // One grid (X: vertical lines, option 4) gets the plot frame along the layout.
    m_recorder.layout = {{6, 100.0}, {7, 50.0}, {4, 800.0}, {5, 400.0}};
    m_graph.gridx = 1;
    EXPECT_THAT(Kinds(), ElementsAre("ChartSetKind(3, 4, 32)", "ChartSetKind(3, 0, 32)"));
    EXPECT_THAT(m_recorder.Calls("ChartDrawLine"),
                ElementsAre("ChartDrawLine(100, 50, 900, 50, 1, 0, 0)", "ChartDrawLine(900, 50, 900, 450, 1, 0, 0)",
                            "ChartDrawLine(900, 450, 100, 450, 1, 0, 0)", "ChartDrawLine(100, 450, 100, 50, 1, 0, 0)"));
    // Both grids: no frame. Lying bars swap which grid is option 4.
    m_graph.gridy = 1;
    EXPECT_THAT(Kinds(), ElementsAre("ChartSetKind(3, 12, 32)", "ChartSetKind(3, 0, 32)"));
    EXPECT_THAT(m_recorder.Calls("ChartDrawLine"), IsEmpty());
    EXPECT_THAT(m_recorder.Calls("ChartGetLayout"), IsEmpty());
    m_graph.gridx = 0;
    m_graph.barhor = 1;
    m_graph.labels = 0;
    EXPECT_THAT(Kinds(), ElementsAre("ChartSetKind(3, 2053, 32)", "ChartSetKind(3, 2049, 32)"));

    // 3-D bars: the view, thin cage and depth instead of the gap, and no outline pass.
    m_graph.piebar3d = 1;
    m_graph.cgthin3d = 1;
    m_graph.persp3d = 0;
    Definition();
    EXPECT_THAT(m_recorder.CallsFrom("ChartSetFont(3"),
                testing::IsSupersetOf({"ChartSetView(6, 20, 10, 0)", "ChartSetThin(1, -1, -1)",
                                       "ChartSetDepth(7, 100, 50, 50)"}));
    EXPECT_THAT(m_recorder.calls, Not(Contains(testing::StartsWith("ChartSetBarGap"))));
    EXPECT_THAT(m_recorder.Calls("ChartSetKind"), ElementsAre("ChartSetKind(132, 2053, 32)"));
    m_graph.cgthin3d = 0; // solid walls
    Definition();
    EXPECT_THAT(m_recorder.calls, Contains("ChartSetThin(0, -1, -1)"));
    m_graph.true3d = 0;
    EXPECT_THAT(Kinds(), ElementsAre("ChartSetKind(4, 2053, 32)"));
    // No borders on flat bars: one pass.
    m_graph.piebar3d = 0;
    m_graph.borders = 0;
    EXPECT_THAT(Kinds(), ElementsAre("ChartSetKind(3, 2053, 32)"));
}

TEST_F(OxideBarTest, NothingToShowAndTooManyEntries)
{
    m_recorder.calls.clear();
    CGraph unglazed;
    unglazed.type = kGraphOneBarOxides;
    Build(unglazed, nullptr, nullptr);
    EXPECT_EQ(unglazed.m_errorText, "No glaze to display");
    EXPECT_THAT(m_recorder.Calls("ChartDefBegin"), IsEmpty());

    CGraph empty;
    empty.type = kGraphOneBarOxides;
    empty.bpoxides = "";
    m_recorder.calls.clear();
    Build(empty, nullptr, &m_glaze);
    EXPECT_EQ(empty.m_errorText, "No oxides selected or chemical analysis unknown");
    EXPECT_THAT(m_recorder.Calls("ChartDefBegin"), IsEmpty());
    EXPECT_EQ(empty.m_rows, 0);

    // allbar off drops what is too small to see; on, every listed oxide stands.
    m_graph.bpoxides = "19,3";
    m_graph.allbar = 0;
    Definition();
    EXPECT_EQ(m_graph.m_rows, 1);
    CGraph all;
    all.type = kGraphOneBarOxides;
    all.bpoxides = "19,3";
    all.oxtype = 0;
    Build(all, nullptr, &m_glaze);
    EXPECT_EQ(all.m_rows, 2);

    // A list of 150 codes (one oxide listed again and again) gives at most 128 bars: the value,
    // label, colour and pattern arrays of a chart have room for no more.
    std::string many;
    for (int i = 0; i < 150; ++i)
        many += "14,";
    CGraph capped;
    capped.type = kGraphOneBarOxides;
    capped.bpoxides = many;
    m_recorder.calls.clear();
    Build(capped, nullptr, &m_glaze);
    EXPECT_EQ(capped.m_rows, 128);
    EXPECT_EQ(capped.m_cellTexts.size(), 128u);
    EXPECT_EQ(ItemAt(m_recorder.Calls("ChartSetData"), 0).rfind("ChartSetData(128, 1, ", 0), 0u);
}

} // namespace
