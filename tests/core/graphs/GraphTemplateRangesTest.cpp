// Templates are data from elsewhere: counts and sizes out of all proportion neither hang nor kill
// a chart's build.

#include "core/graphs/GraphBuildTestSupport.h"
#include "core/support/CheckedItems.h"
#include "graphs/ChartDefinition.h"
#include "graphs/GraphTypeTable.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class GraphTemplateRangesTest : public GraphBuildTestBase {
protected:
    GraphTemplateRangesTest()
    {
        // Box and whiskers take seven glazes or more.
        m_db = NewDatabase({WorkedGlaze("A"), WorkedGlaze("B"), WorkedGlaze("C"), WorkedGlaze("D"), WorkedGlaze("E"),
                            WorkedGlaze("F"), WorkedGlaze("G")});
        m_graph.xoxide = 14;
        m_graph.yoxide = 13;
        m_graph.zoxide = 20;
        m_graph.m_dataSources.InsertAt(0, CGraphDataSource("all"));
        RecordAt(m_graph.m_dataSources, 0).dsglz = kDataSourceAllGlazes;
    }

    const CChart& Built(int type)
    {
        m_graph.type = type;
        EXPECT_GE(Build(m_graph, m_db, m_db->GetGlaze(0)), 0);
        EXPECT_EQ(m_graph.m_errorText, "");
        if (const CChart* chart = m_graph.GetChart())
            return *chart;
        // No chart: the test fails here and reads a blank one.
        ADD_FAILURE() << "no chart";
        static const CFakeChartMetrics metrics;
        static const CChart none(metrics, 0.0, 0.0, 1000.0, 1000.0, 1000.0);
        return none;
    }

    CGlazesDoc* m_db = nullptr;
    CTestGraph m_graph;
};

// xtick = 2147483647 once pushed one tick position per count (gigabytes, then bad_alloc); the
// triaxial chart drew that many grid lines.
TEST_F(GraphTemplateRangesTest, TickCountsAndDivisionsAreBounded)
{
    m_graph.xman = m_graph.yman = 1;
    m_graph.gridx = m_graph.gridy = 1;
    m_graph.xtick = INT_MAX;
    m_graph.xtickm = INT_MAX;
    m_graph.ytick = INT_MAX;
    const CChart& scatter = Built(kGraphScatter);
    EXPECT_EQ(scatter.ChartGetLayout(13), CChartAxisSettings::kMaxMajorTicks);
    EXPECT_EQ(scatter.ChartGetLayout(14), 9) << "at most 10,000 tick marks an axis";
    EXPECT_LT(scatter.Primitives().size(), 20000u);

    const CChart& triaxial = Built(kGraphTriaxial);
    EXPECT_LE(triaxial.Primitives().size(), 3u * CChartAxisSettings::kMaxMajorTicks + 100u);
    EXPECT_EQ(m_graph.xtick, CChartAxisSettings::kMaxMajorTicks) << "the graph's own copy is bounded";
}

// barwid = INT_MIN overflowed 100 - barwid into a bar gap of 0: the widest bars instead of the
// narrowest.
TEST_F(GraphTemplateRangesTest, ABarWidthBelowZeroIsNoWidth)
{
    m_graph.barwid = INT_MIN;
    m_graph.bpoxides = "14,13";
    EXPECT_EQ(Built(kGraphOneBarOxides).Definition().barGap, 95);
    m_graph.barwid = INT_MIN;
    EXPECT_EQ(Built(kGraphBoxAndWhiskers).Definition().barGap, 95);
    // A thickness of 0 is in range: the flattest 3-D pie.
    m_graph.piebar3d = 1;
    m_graph.depth3d = 0;
    EXPECT_EQ(Built(kGraphOnePieOxides).Definition().depth, 0);
}

// A manual axis of -1e308 to 1e308 has no finite step (its labels cast infinity to an int): it
// falls back to 0 to 1.
TEST_F(GraphTemplateRangesTest, AManualAxisWithoutAFiniteSpanRunsFromZeroToOne)
{
    m_graph.yman = 1;
    m_graph.ymin = -1e308;
    m_graph.ymax = 1e308;
    const CChart& chart = Built(kGraphScatter);
    EXPECT_EQ(chart.ChartGetLayout(3), 0.0);
    EXPECT_EQ(chart.ChartGetLayout(2), 1.0);
}

} // namespace
