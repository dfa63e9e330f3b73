#include "graphs/Graph.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "core/graphs/RecordingChartEngine.h"
#include "graphs/ChartDefinition.h"
#include "graphs/ChartPalette.h"
#include "graphs/GraphTypeTable.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// A graph whose message box can be drawn after any build.
class CBoxGraph : public CGraph {
public:
    using CGraph::DrawMessageBox;
};

class GraphTest : public ::testing::Test {
protected:
    GraphTest() { app.m_bGraphsAvailable = 1; }

    // Builds with the 600 x 300 window as host and frame.
    int Build(CGraph& graph, int graphType)
    {
        graph.type = graphType;
        return graph.Build(&window, &window, &host, nullptr, nullptr);
    }

    CAppContext context;
    COxidariumApp app;
    CInstalledChartEngine<> engine;
    CFakeChartWindow window{{100, 50, 700, 350}};
    CRecordingNotifyTarget host;
};

TEST_F(GraphTest, BuildMakesTheChartInTheFramesPlaceOrNothing)
{
    CGraph graph;
    EXPECT_EQ(graph.m_name, "new graph template");
    EXPECT_EQ(graph.GetChartHandle(), -1);
    EXPECT_EQ(graph.m_messageObjectId, -1);

    // The frame lies 20 pixels in from the host's left and 30 up from its bottom.
    CFakeChartWindow frame{{120, 100, 520, 320}};
    graph.type = 25;
    const int handle = graph.Build(&window, &frame, &host, nullptr, nullptr);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(graph.GetChartHandle(), handle);
    ASSERT_NE(graph.GetChart(), nullptr);
    const CChart& chart = *graph.GetChart();
    EXPECT_DOUBLE_EQ(chart.HostX(), 20.0);
    EXPECT_DOUBLE_EQ(chart.HostY(), 30.0);
    EXPECT_DOUBLE_EQ(chart.PixelWidth(), 400.0);
    EXPECT_DOUBLE_EQ(chart.PixelHeight(), 220.0);
    // Type 25 runs no builder and draws no box; the palette above 31 is the graph palette.
    EXPECT_TRUE(chart.Primitives().empty());
    EXPECT_EQ(chart.PaletteColor(100), GraphPaletteColor(100));
    EXPECT_EQ(CGraph::GetBuilder(25), nullptr);
    EXPECT_EQ(CGraph::GetBuilder(-1), nullptr);
    EXPECT_EQ(CGraph::GetBuilder(0), &CGraph::BuildOxidesPie);
    EXPECT_EQ(CGraph::GetBuilder(24), &CGraph::BuildTriaxial);

    CGraph other;
    const int otherHandle = Build(other, -1);
    EXPECT_GT(otherHandle, handle);
    // Built again, a graph lets go of its old chart.
    EXPECT_GT(Build(other, -1), otherHandle);
    EXPECT_EQ(engine.ChartSelect(otherHandle, 0), -1);

    // No chart: graphs unavailable, a window missing or without a pixel of height.
    CGraph refused;
    app.m_bGraphsAvailable = 0;
    EXPECT_EQ(Build(refused, 0), -1);
    app.m_bGraphsAvailable = 1;
    EXPECT_EQ(refused.Build(&window, nullptr, &host, nullptr, nullptr), -1);
    CFakeChartWindow flat{{0, 0, 600, 0}};
    EXPECT_EQ(refused.Build(&window, &flat, &host, nullptr, nullptr), -1);
    EXPECT_EQ(refused.GetChart(), nullptr);
    EXPECT_TRUE(refused.m_errorText.empty());
}

TEST_F(GraphTest, AnErrorIsShownInItsBoxAndANoticeWhenItsBoxIsClicked)
{
    CGraph graph;
    ASSERT_GE(Build(graph, 0), 0); // the oxide pie without a glaze
    EXPECT_EQ(graph.m_errorText, "No glaze to display");
    ASSERT_NE(graph.GetChart(), nullptr);
    const CChart& chart = *graph.GetChart();
    ASSERT_EQ(chart.Primitives().size(), 2u);
    // The box: a square as high as a line of font 2 plus 10 units, in colour 12.
    const CChartPrimitive& box = ItemAt(chart.Primitives(), 0);
    const double side = 10.0 * 1000.0 / 300.0 + 10.0;
    EXPECT_DOUBLE_EQ(box.width, side);
    EXPECT_DOUBLE_EQ(box.height, side);
    EXPECT_EQ(box.left, 0.0);
    EXPECT_EQ(box.color, GraphPaletteColor(12));
    EXPECT_EQ(box.objectId, graph.m_messageObjectId);
    // The text beside it, in colour 4.
    const CChartPrimitive& text = ItemAt(chart.Primitives(), 1);
    EXPECT_EQ(text.text, "No glaze to display");
    EXPECT_DOUBLE_EQ(text.left, side + 10.0);
    EXPECT_DOUBLE_EQ(text.bottom, 5.0);
    EXPECT_EQ(text.color, GraphPaletteColor(4));
    EXPECT_EQ(graph.GetMessageText(graph.m_messageObjectId), "No glaze to display");
    EXPECT_EQ(graph.GetMessageText(graph.m_messageObjectId + 1), "");

    // A click on the box tells the host which object it was.
    engine.ChartMouseEvent(graph.GetChartHandle(), kChartEventLeftPressed, 2.0, 298.0);
    EXPECT_EQ(LastItem(host.notices), (CChartNotice{kChartNoticeMessage, kChartNoticeObject,
                                                 (static_cast<std::uint32_t>(graph.m_messageObjectId) << 16) | 1u}));

    // A notice alone: a 35-unit square in colour 14 and no text.
    CBoxGraph noticed;
    ASSERT_GE(Build(noticed, 25), 0);
    noticed.m_noticeText = "Could not read background image file";
    noticed.DrawMessageBox();
    ASSERT_EQ(noticed.GetChart()->Primitives().size(), 1u);
    EXPECT_EQ(ItemAt(noticed.GetChart()->Primitives(), 0).width, 35.0);
    EXPECT_EQ(ItemAt(noticed.GetChart()->Primitives(), 0).color, GraphPaletteColor(14));
    EXPECT_EQ(noticed.GetMessageText(noticed.m_messageObjectId), "Could not read background image file");
}

TEST_F(GraphTest, CellTextsAndTheGraphText)
{
    CGraph graph;
    graph.m_columns = 2;
    graph.m_rows = 2;
    graph.m_cellTexts = {"a", "b", "c"};
    EXPECT_EQ(graph.GetCellText(1, 0), "b");
    EXPECT_EQ(graph.GetCellText(0, 1), "c");
    EXPECT_EQ(graph.GetCellText(1, 1), ""); // beyond the texts
    EXPECT_EQ(graph.GetCellText(0, 2), "");
    EXPECT_EQ(graph.GetCellText(2, 0), "");
    EXPECT_EQ(graph.GetCellText(-1, 0), "");

    graph.m_textLines = {"SiO2  3.000", "Al2O3  0.400"};
    EXPECT_EQ(graph.GetText(), "SiO2  3.000\r\nAl2O3  0.400\r\n");
    graph.m_title = "Glaze";
    EXPECT_EQ(graph.GetText(), "Glaze\r\n=====\r\nSiO2  3.000\r\nAl2O3  0.400\r\n");
    EXPECT_EQ(graph.GetTitle(), "Glaze");
}

// A graph whose chart is defined in the test.
class CDefinedGraph : public CGraph {
public:
    using CGraph::Engine;
};

TEST_F(GraphTest, FontsPlotFrameWrappedTextAndTextBoxes)
{
    CDefinedGraph graph;
    ASSERT_GE(Build(graph, 25), 0);
    CChartEngine& defining = graph.Engine();
    ASSERT_NE(graph.GetChart(), nullptr);
    const CChart& chart = *graph.GetChart();
    graph.type = kGraphOnePieRecipe;
    graph.txpiesiz = 180;
    graph.SetFonts();
    EXPECT_EQ(chart.Definition().fonts[2], (CChartFontSetting{1, 0, 180}));
    EXPECT_EQ(chart.Definition().fonts[0], (CChartFontSetting{1, 0, 200}));
    graph.type = kGraphTriaxial;
    graph.SetFonts();
    EXPECT_EQ(chart.Definition().fonts[2].sizePercent, 120);
    graph.type = kGraphHistogram;
    graph.SetFonts();
    EXPECT_EQ(chart.Definition().fonts[2].sizePercent, 100);

    // Characters are 20 units wide: 100 units hold five.
    CStringArrayEx lines;
    graph.WrapText(lines, "  Total silica content  ", 200.0, 3, 8);
    EXPECT_THAT(lines, ElementsAre("Total", "silica", "content"));
    lines.clear();
    graph.WrapText(lines, "Al2O3 SiO2 ratio", 200.0, 3, 8); // the first line just fits
    EXPECT_THAT(lines, ElementsAre("Al2O3 SiO2", "ratio"));
    lines.clear();
    // Regression: a word wider than the width was broken where it filled the line (a legend read
    // "Starte r Glazes"). It stands on a line of its own, shortened with "...".
    graph.WrapText(lines, "Al2O3:SiO2 ratio", 100.0, 3, 8);
    EXPECT_THAT(lines, ElementsAre("Al...", "ratio"));
    lines.clear();
    graph.WrapText(lines, "ab cd", 10.0, 3, 8); // not one character fits: each word's first
    EXPECT_THAT(lines, ElementsAre("a...", "c..."));
    lines.clear();
    graph.WrapText(lines, "   ", 100.0, 3, 8);
    EXPECT_TRUE(lines.empty());

    // Frame: only with exactly one grid, or forced.
    defining.ChartDefBegin();
    defining.ChartSetData(2, 1, std::vector<double>{1, 2});
    defining.ChartSetKind(kChartBar, 0, 0x20);
    std::size_t before = chart.Primitives().size();
    graph.gridx = graph.gridy = 1;
    graph.DrawPlotFrame(false);
    EXPECT_EQ(chart.Primitives().size(), before);
    graph.gridy = 0;
    graph.DrawPlotFrame(false);
    ASSERT_GT(chart.Primitives().size(), before); // (an edge on an axis line is drawn once)
    const double left = chart.ChartGetLayout(6), bottom = chart.ChartGetLayout(7);
    EXPECT_THAT(LastItem(chart.Primitives()).points,
                ElementsAre(CChartPointD{left, bottom + chart.ChartGetLayout(5)}, CChartPointD{left, bottom}));
    ChartPlotArea area;
    graph.ReadPlotArea(area);
    EXPECT_EQ(area.left, chart.ChartGetLayout(6));
    EXPECT_EQ(area.horizontalMax, 2.0);
    EXPECT_EQ(area.verticalTicks, chart.ChartGetLayout(15));
    CGraph::ClearPlotArea(area);
    EXPECT_EQ(area.left, 0.0);

    // A text box of two entries over 300 units: entries at 200 and 100; markers of 25 units.
    before = chart.Primitives().size();
    graph.symsize = 100;
    graph.DrawTextBox(0.0, 0.0, 400.0, 300.0, 2, 3, 0, {10, 12}, {0, 1}, CStringArrayEx{"Inside", "Outside the limits"});
    EXPECT_EQ(chart.DrawState().markerSize, 25.0);
    std::vector<std::string> texts;
    std::vector<double> bottoms;
    for (std::size_t i = before; i < chart.Primitives().size(); ++i) {
        if (chart.Primitives()[i].type == CChartPrimitive::Type::Text) {
            texts.push_back(chart.Primitives()[i].text);
            bottoms.push_back(std::round(chart.Primitives()[i].bottom * 100.0) / 100.0);
        }
    }
    // Text width 400 - (37.5 + 25) holds 16 characters.
    EXPECT_THAT(texts, ElementsAre("Inside", "Outside the", "limits"));
    EXPECT_THAT(bottoms, ElementsAre(200.0, 100.0, std::round((100.0 - 1.1 * 1000.0 / 30.0) * 100.0) / 100.0));
}

} // namespace

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

// The calls a build makes, against the recording engine.
class GraphBuildCallsTest : public ::testing::Test {
protected:
    GraphBuildCallsTest() { app.m_bGraphsAvailable = 1; }

    // The set-up every chart gets: the chart in the frame's place (host units are the host's
    // pixels here), its notices, and palette entries 32 to 127 of the graph palette.
    static std::vector<std::string> SetUpCalls(const std::string& create)
    {
        std::vector<std::string> calls = {"ChartGetHostWidth(window)",
                                          "ChartGetHostHeight(window)",
                                          create,
                                          "ChartSetAutoRedraw(1)",
                                          "ChartSetNotifyWindow(window, 1324, 14)",
                                          "ChartSetEventWindow(window, 1329, 1)",
                                          "ChartRedraw(1)",
                                          "ChartSetupA(1)"};
        for (int i = 32; i < 128; ++i) {
            const CGraphPaletteEntry& e = g_graphPalette[static_cast<std::size_t>(i)];
            calls.push_back("ChartSetPaletteEntry(" + std::to_string(i) + ", " + std::to_string(e.red) + ", " +
                            std::to_string(e.green) + ", " + std::to_string(e.blue) + ")");
        }
        calls.insert(calls.end(), {"ChartSetupA(11)", "ChartSetupB(15)", "ChartSetupC(1)"});
        return calls;
    }

    CAppContext context;
    COxidariumApp app;
    CRecordingChartEngine engine;
    CFakeChartWindow host{{100, 50, 700, 350}};
    CFakeChartWindow frame{{120, 100, 520, 320}};
    CRecordingNotifyTarget notify;
};

TEST_F(GraphBuildCallsTest, EveryChartIsMadeAndPreparedTheSameWayBeforeItsBuilder)
{
    // Type 25 and -1: the chart is made and prepared, no builder runs, no box is drawn.
    for (const int type : {25, -1}) {
        engine.calls.clear();
        CGraph graph;
        graph.type = type;
        const int handle = graph.Build(&host, &frame, &notify, nullptr, nullptr);
        EXPECT_GE(handle, 0);
        // The frame lies 20 pixels in from the host's left and 30 up from its bottom.
        EXPECT_EQ(engine.calls, SetUpCalls("ChartCreate(window, 20, 30, 400, 220, 1000, 0, 259, \"\")")) << type;
        EXPECT_EQ(graph.m_messageObjectId, -1);
    }
    // Host units need not be pixels: the place scales with them.
    engine.calls.clear();
    engine.hostWidth = 1200.0;
    engine.hostHeight = 600.0;
    CGraph scaled;
    scaled.type = 25;
    scaled.Build(&host, &frame, &notify, nullptr, nullptr);
    EXPECT_EQ(ItemAt(engine.calls, 2), "ChartCreate(window, 40, 60, 800, 440, 1000, 0, 259, \"\")");

    // Building again closes the old chart first; deleting the graph closes its chart.
    engine.calls.clear();
    const int first = scaled.GetChartHandle();
    scaled.Build(&host, &frame, &notify, nullptr, nullptr);
    EXPECT_EQ(ItemAt(engine.calls, 0), "ChartDestroy(" + std::to_string(first) + ")");
    {
        CGraph doomed;
        doomed.type = 25;
        doomed.Build(&host, &frame, &notify, nullptr, nullptr);
        engine.calls.clear();
    }
    EXPECT_THAT(engine.calls, ElementsAre("ChartDestroy(" + std::to_string(engine.nextHandle - 1) + ")"));
}

TEST_F(GraphBuildCallsTest, NoChartWithoutGraphsRoomOrAnEngineThatMakesIt)
{
    CGraph graph;
    app.m_bGraphsAvailable = 0;
    EXPECT_EQ(graph.Build(&host, &frame, &notify, nullptr, nullptr), -1);
    EXPECT_TRUE(engine.calls.empty());
    app.m_bGraphsAvailable = 1;

    // A frame of no height is measured, then refused.
    CFakeChartWindow flat{{120, 100, 520, 100}};
    EXPECT_EQ(graph.Build(&host, &flat, &notify, nullptr, nullptr), -1);
    EXPECT_THAT(engine.calls, ElementsAre("ChartGetHostWidth(window)", "ChartGetHostHeight(window)"));

    // The engine's refusal comes back as it is, and nothing else is asked of it.
    engine.calls.clear();
    engine.createResult = -3;
    EXPECT_EQ(graph.Build(&host, &frame, &notify, nullptr, nullptr), -3);
    EXPECT_EQ(engine.calls.size(), 3u);
    EXPECT_EQ(graph.GetChartHandle(), -3);
    engine.calls.clear();
}

TEST_F(GraphBuildCallsTest, TheErrorBoxAndTheNoticeBox)
{
    // No glaze for the oxide pie: a box of colour 12 as high as "XYZxyz" (20 here) plus 10, and
    // the text beside it, broken into lines as wide as the chart holds (the width asked, then the
    // text measured).
    const auto drawn = [this] {
        std::vector<std::string> calls;
        for (const std::string& call : engine.CallsFrom("ChartMeasureTextHeight")) {
            if (call.rfind("ChartMeasureTextWidth", 0) != 0)
                calls.push_back(call);
        }
        return calls;
    };
    CGraph graph;
    graph.type = 0;
    graph.Build(&host, &frame, &notify, nullptr, nullptr);
    EXPECT_EQ(graph.m_errorText, "No glaze to display");
    EXPECT_THAT(drawn(), ElementsAre("ChartMeasureTextHeight(2, 0, \"XYZxyz\")", "ChartSetShapeKind(5, 2)",
                                     "ChartSetShapeGeometry(5, 2, [0 0 30 0 30 30 0 30 0 0])",
                                     "ChartSetBoxStyle(0, 0, 0, 0)", "ChartSetFillColor(12)", "ChartSetBoxBorder()",
                                     "ChartGetObjectId()", "ChartGetAreaWidth()",
                                     "ChartDrawText(40, 5, 2, 0, 4, \"No glaze to display\")"));
    // Regression: the text ran out of a narrow chart. Between the box and the chart's edge, 10
    // units from each, 150 units hold 15 characters: two lines, the last beside the box.
    engine.width = 200.0;
    engine.calls.clear();
    CGraph narrow;
    narrow.type = 0;
    narrow.Build(&host, &frame, &notify, nullptr, nullptr);
    EXPECT_THAT(engine.CallsFrom("ChartGetObjectId"),
                Contains("ChartDrawText(40, 25, 2, 0, 4, \"No glaze to\")"));
    EXPECT_EQ(LastItem(engine.calls), "ChartDrawText(40, 5, 2, 0, 4, \"display\")");
    engine.width = 1500.0;
    EXPECT_EQ(graph.m_messageObjectId, 7);
    EXPECT_EQ(graph.GetMessageText(7), "No glaze to display");

    // A notice alone: a 35 square of colour 14, its text not drawn.
    class CNoticeGraph : public CGraph {
    public:
        using CGraph::DrawMessageBox;
    } noticed;
    noticed.type = 25;
    noticed.Build(&host, &frame, &notify, nullptr, nullptr);
    engine.calls.clear();
    noticed.m_noticeText = "Could not read background image file";
    noticed.DrawMessageBox();
    EXPECT_THAT(engine.calls, ElementsAre("ChartSetShapeKind(5, 2)", "ChartSetShapeGeometry(5, 2, [0 0 35 0 35 35 0 35 0 0])",
                                          "ChartSetBoxStyle(0, 0, 0, 0)", "ChartSetFillColor(14)", "ChartSetBoxBorder()",
                                          "ChartGetObjectId()"));
    EXPECT_EQ(noticed.GetMessageText(7), "Could not read background image file");
}

} // namespace
