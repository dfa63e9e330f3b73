#include "core/graphs/GraphBuildTestSupport.h"
#include "core/graphs/RecordingChartEngine.h"
#include "graphs/ChartDefinition.h"
#include "graphs/ChartPalette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using ::testing::ElementsAre;
using ::testing::Each;

class OxidePieTest : public GraphBuildTestBase {
protected:
    OxidePieTest()
    {
        m_graph.bpoxides = "19,20,13,14"; // K2O, CaO, Al2O3, SiO2
        m_graph.oxtype = 0;
    }

    void BuildPie()
    {
        ASSERT_GE(Build(m_graph, nullptr, &m_glaze), 0);
        ASSERT_TRUE(m_graph.m_errorText.empty()) << m_graph.m_errorText;
    }
    const CChartDefinition& Def() { return m_graph.GetChart()->Definition(); }
    std::vector<double> Values()
    {
        std::vector<double> values;
        for (double v : Def().values)
            values.push_back(std::round(v * 1000.0) / 1000.0);
        return values;
    }

    CGlaze m_glaze = WorkedGlaze();
    CTestGraph m_graph;
};

TEST_F(OxidePieTest, TheWorkedGlazeGivesItsSlicesLabelsTitlesAndTexts)
{
    BuildPie();
    // reverse is clear: the slices run against the oxide list.
    EXPECT_EQ(Def().points, 4);
    EXPECT_EQ(Def().sets, 1);
    EXPECT_THAT(Values(), ElementsAre(3.0, 0.4, 0.7, 0.3));
    EXPECT_THAT(Def().pointLabels, ElementsAre("SiO2", "Al2O3", "CaO", "K2O"));
    EXPECT_TRUE(Def().legend.empty());
    EXPECT_THAT(Def().titles, ElementsAre("Worked glaze", "Unity", "", ""));
    EXPECT_EQ(m_graph.GetTitle(), "Worked glaze");
    EXPECT_THAT(m_graph.m_cellTexts, ElementsAre("SiO2  3.000", "Al2O3  0.400", "CaO  0.700", "K2O  0.300"));
    EXPECT_EQ(m_graph.m_textLines, m_graph.m_cellTexts);
    EXPECT_EQ(m_graph.m_columns, 1);
    EXPECT_EQ(m_graph.m_rows, 4);
    EXPECT_EQ(m_graph.GetText(), "Worked glaze\r\n============\r\nSiO2  3.000\r\nAl2O3  0.400\r\nCaO  0.700\r\nK2O  0.300\r\n");
    EXPECT_EQ(Def().fonts[2].sizePercent, m_graph.txpiesiz);

    // The oxide colours (acid SiO2 12, neutral Al2O3 10, fluxes 11) colour the slices; then the
    // outline pass (a flat pie with borders) draws them again hollow and black.
    ASSERT_NE(m_graph.GetChart(), nullptr);
    const auto cells = CellPrimitives(*m_graph.GetChart());
    ASSERT_EQ(cells.size(), 8u);
    EXPECT_EQ(cells[0]->color, GraphPaletteColor(12));
    EXPECT_EQ(cells[1]->color, GraphPaletteColor(10));
    EXPECT_EQ(cells[3]->color, GraphPaletteColor(11));
    EXPECT_THAT(Def().patterns, Each(kChartPatternHollow));
    EXPECT_THAT(Def().colors, Each(0));
    EXPECT_EQ(m_graph.GetChart()->LastKind(), kChartPie);
    ASSERT_NE(m_graph.GetChart(), nullptr);
    EXPECT_THAT(DrawnTexts(*m_graph.GetChart()), ElementsAre("Worked glaze", "Unity", "SiO2", "Al2O3", "CaO", "K2O"));

    // A click in the middle of the CaO slice shows its cell text.
    ASSERT_NE(m_graph.GetChart(), nullptr);
    const CChart& chart = *m_graph.GetChart();
    const double left = chart.ChartGetLayout(6), bottom = chart.ChartGetLayout(7), r = chart.ChartGetLayout(4) / 2.0;
    const double middle = (3.4 + 0.35) / 4.4 * 2.0 * 3.14159265358979;
    const CChartHit hit = chart.HitTest(chart.UnitsToPixelsX(left + r + r / 2.0 * std::cos(middle)),
                                        chart.UnitsToPixelsY(bottom + r + r / 2.0 * std::sin(middle)));
    EXPECT_EQ(hit.kind, CChartPrimitive::kHitCell);
    EXPECT_EQ(m_graph.GetCellText(hit.column, hit.row), "CaO  0.700");
}

TEST_F(OxidePieTest, OrderUnitsAndTheGlazeOfTheDataSources)
{
    m_graph.reverse = 1;
    BuildPie();
    EXPECT_THAT(Def().pointLabels, ElementsAre("K2O", "CaO", "Al2O3", "SiO2"));

    // Pareto sorts largest first, and the pie then turns the order round.
    CTestGraph pareto;
    pareto.bpoxides = m_graph.bpoxides;
    pareto.oxtype = 0;
    pareto.pareto = 1;
    ASSERT_GE(Build(pareto, nullptr, &m_glaze), 0);
    EXPECT_THAT(pareto.GetChart()->Definition().pointLabels, ElementsAre("K2O", "Al2O3", "CaO", "SiO2"));

    CTestGraph molecular;
    molecular.bpoxides = "14";
    molecular.oxtype = 2;
    ASSERT_GE(Build(molecular, nullptr, &m_glaze), 0);
    EXPECT_THAT(molecular.m_cellTexts, ElementsAre("SiO2  68.18%m")); // 3 of 4.4 moles
    EXPECT_EQ(molecular.GetChart()->Definition().titles[1], "% Molecular");

    // With data sources the pie shows the first glaze they give, whatever the host's glaze.
    CGlazesDoc* database = NewDatabase({WorkedGlaze("From the database")});
    CTestGraph sourced;
    sourced.bpoxides = "14";
    CGraphDataSource source("all");
    source.dsglz = kDataSourceAllGlazes;
    sourced.m_dataSources.InsertAt(0, source);
    ASSERT_GE(Build(sourced, database, &m_glaze), 0);
    EXPECT_EQ(sourced.GetTitle(), "From the database");
    CTestGraph none;
    none.m_dataSources.InsertAt(0, source);
    ASSERT_GE(Build(none, nullptr, &m_glaze), 0);
    EXPECT_EQ(none.m_errorText, "No glaze to display");
}

TEST_F(OxidePieTest, NothingToShowLeavesTheChartEmptyWithItsError)
{
    CTestGraph empty;
    empty.bpoxides = "";
    ASSERT_GE(Build(empty, nullptr, &m_glaze), 0);
    EXPECT_EQ(empty.m_errorText, "No oxides selected or chemical analysis unknown");
    EXPECT_EQ(empty.GetChart()->Definition().points, 0);
    EXPECT_EQ(empty.m_rows, 0);
    EXPECT_TRUE(empty.m_cellTexts.empty());

    CGlaze unknown = MakeGlaze("Unknown", {{"Unobtainium", 10.0}});
    CTestGraph graph;
    ASSERT_GE(Build(graph, nullptr, &unknown), 0);
    EXPECT_EQ(graph.m_errorText, "No oxides selected or chemical analysis unknown");
    // Only the error box and its text were drawn.
    EXPECT_EQ(graph.GetChart()->Primitives().size(), 2u);
}

TEST_F(OxidePieTest, ThreeDimensionalPiesTiltByTheElevation)
{
    struct Case {
        int elev3d;
        int kind;
        int elevation;
    };
    const Case cases[] = {{100, kChartPie3D, 50}, {30, kChartPie3D, 30}, {75, kChartPie3D, -15},
                          {180, kChartPie3D, 60}, {90, kChartPie, 0},     {-90, kChartPie, 0}};
    for (const Case& c : cases) {
        CTestGraph graph;
        graph.bpoxides = m_graph.bpoxides;
        graph.piebar3d = 1;
        graph.elev3d = c.elev3d;
        graph.depth3d = 70;
        ASSERT_GE(Build(graph, nullptr, &m_glaze), 0);
        const CChartDefinition& def = graph.GetChart()->Definition();
        EXPECT_EQ(graph.GetChart()->LastKind(), c.kind) << c.elev3d;
        if (c.kind == kChartPie3D) {
            EXPECT_EQ(def.elevation, c.elevation) << c.elev3d;
            EXPECT_EQ(def.depth, 70);
            EXPECT_EQ(def.patterns, std::vector<int>(4, 0)) << "no outline pass on a 3-D pie";
        } else {
            EXPECT_THAT(def.patterns, Each(kChartPatternHollow)) << c.elev3d;
        }
    }
    // Labels off, and no borders: one pass with the colours of the oxides.
    CTestGraph plain;
    plain.bpoxides = m_graph.bpoxides;
    plain.labels = 0;
    plain.borders = 0;
    ASSERT_GE(Build(plain, nullptr, &m_glaze), 0);
    ASSERT_NE(plain.GetChart(), nullptr);
    EXPECT_EQ(CellPrimitives(*plain.GetChart()).size(), 4u);
    ASSERT_NE(plain.GetChart(), nullptr);
    EXPECT_THAT(DrawnTexts(*plain.GetChart()), ElementsAre("Worked glaze", "% Weight"));
}

} // namespace

namespace {

class OxidePieCallsTest : public GraphBuildTestBase {
protected:
    std::vector<std::string> Build3D(int elev3d)
    {
        CGraph graph;
        graph.bpoxides = "19,20,13,14";
        graph.oxtype = 0;
        graph.piebar3d = 1;
        graph.elev3d = elev3d;
        graph.depth3d = 70;
        m_recorder.calls.clear();
        Build(graph, nullptr, &m_glaze);
        std::vector<std::string> calls;
        for (const std::string& call : m_recorder.CallsFrom("ChartSetFont(3")) {
            if (call.rfind("ChartSetView", 0) == 0 || call.rfind("ChartSetDepth", 0) == 0 ||
                call.rfind("ChartSetKind", 0) == 0 || call.rfind("ChartSetPatterns", 0) == 0)
                calls.push_back(call);
        }
        return calls;
    }

    CGlaze m_glaze = WorkedGlaze();
    CRecordingChartEngine m_recorder;
};

TEST_F(OxidePieCallsTest, ElevationTiltsThePieOrLaysItFlatWithItsOutlines)
{
    EXPECT_THAT(Build3D(100), ElementsAre("ChartSetView(0, 0, 50, 0)", "ChartSetDepth(1, 70, 0, 0)",
                                          "ChartSetPatterns(4, [0 0 0 0])", "ChartSetKind(2, 32768, 0)"));
    EXPECT_THAT(Build3D(75), ElementsAre("ChartSetView(0, 0, -15, 0)", "ChartSetDepth(1, 70, 0, 0)",
                                         "ChartSetPatterns(4, [0 0 0 0])", "ChartSetKind(2, 32768, 0)"));
    for (const int flat : {90, -90}) {
        EXPECT_THAT(Build3D(flat), ElementsAre("ChartSetPatterns(4, [0 0 0 0])", "ChartSetKind(1, 32768, 0)",
                                               "ChartSetPatterns(4, [1 1 1 1])", "ChartSetKind(1, 32768, 0)"))
            << flat;
    }
    // The slices run against the oxide list while reverse is clear.
    EXPECT_THAT(m_recorder.Calls("ChartSetPointLabels"),
                ElementsAre("ChartSetPointLabels(4, [\"SiO2\" \"Al2O3\" \"CaO\" \"K2O\"])"));
}

} // namespace
