// Bars defined by their values that are not 0 (ChartSetSparseData) draw what the full table
// draws, less the bars of 0.

#include "graphs/Chart.h"

#include "core/graphs/ChartTestSupport.h"
#include "graphs/ChartDefinition.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CDrawnBar {
    std::vector<CChartPointD> points;
    CColor color;
    int column = 0;
    int row = 0;
    bool operator==(const CDrawnBar&) const = default;
};

class ChartSparseBarsTest : public ::testing::Test {
protected:
    CFakeChartMetrics metrics;
    CChart dense{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
    CChart sparse{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};

    static void Define(CChart& chart)
    {
        const std::string labels[] = {"Silica", "Whiting", "Kaolin"};
        chart.ChartSetPointLabels(3, labels);
        chart.ChartSetColors(4, std::vector<int>{9, 10, 11, 12});
        chart.ChartSetKind(kChartBar, 0, 0x20);
    }
    // The bars that stand out of the axis, and everything else as texts and lines.
    static std::vector<CDrawnBar> Bars(const CChart& chart)
    {
        std::vector<CDrawnBar> bars;
        for (const CChartPrimitive& p : chart.Primitives()) {
            if (p.hitKind == CChartPrimitive::kHitCell && p.height > 0.0)
                bars.push_back({p.points, p.color, p.column, p.row});
        }
        return bars;
    }
};

TEST_F(ChartSparseBarsTest, OnlyTheValuesGivenAreBarsInTheFullTablesPlaces)
{
    // Three materials by four glazes, point-major.
    dense.ChartDefBegin();
    dense.ChartSetData(3, 4, std::vector<double>{60, 0, 0, 20, 0, 30, 0, 0, 40, 70, 0, 0});
    Define(dense);
    // The same values in any order; 0, one outside the table and one given twice (the last counts)
    // add nothing.
    sparse.ChartDefBegin();
    const std::vector<CChartValueAt> values{{2, 1, 5}, {0, 0, 60}, {2, 0, 40}, {1, 1, 30}, {0, 3, 20},
                                            {1, 2, 0},  {3, 0, 99}, {2, 1, 70}};
    sparse.ChartSetSparseData(3, 4, values);
    Define(sparse);
    EXPECT_EQ(sparse.Definition().sparseValues.size(), 5u);
    EXPECT_DOUBLE_EQ(sparse.Definition().Value(2, 1), 70.0);
    EXPECT_DOUBLE_EQ(sparse.Definition().Value(1, 2), 0.0);
    // So in a table of more places than values (sorted another way).
    CChart wide{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
    wide.ChartDefBegin();
    wide.ChartSetSparseData(10, 2, std::vector<CChartValueAt>{{7, 1, 5}, {2, 0, 8}, {7, 1, 9}});
    EXPECT_EQ(wide.Definition().sparseValues.size(), 2u);
    EXPECT_DOUBLE_EQ(wide.Definition().Value(7, 1), 9.0);

    const std::vector<CDrawnBar> bars = Bars(sparse);
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars, Bars(dense));
    // The same axes and labels: the texts and lines of both pictures are the same.
    EXPECT_EQ(DrawnTexts(sparse), DrawnTexts(dense));
    const CDrawnBar& tall = bars[4]; // Kaolin of glaze 1
    EXPECT_EQ(tall.column, 1);
    EXPECT_EQ(tall.row, 2);
    ASSERT_GE(tall.points.size(), 3u);
    const double x = (tall.points[0].x + tall.points[1].x) / 2.0, y = (tall.points[0].y + tall.points[2].y) / 2.0;
    const auto hit = [x, y](const CChart& chart) {
        return chart.HitTest(chart.UnitsToPixelsX(x), chart.UnitsToPixelsY(y));
    };
    EXPECT_EQ(hit(sparse), (CChartHit{8, 0, 1, 2}));
    EXPECT_EQ(hit(sparse), hit(dense));
}

} // namespace
