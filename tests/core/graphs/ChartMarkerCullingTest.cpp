// Markers drawn many to a pixel: a marker that a later one of its batch covers (same symbol and
// colour, centre in the same quarter pixel) is not drawn, and a click still reports what it
// reported when every marker was drawn.

#include "graphs/Chart.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "graphs/ChartPalette.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// 600 x 300 pixels, 1000 units high: 0.3 pixels per unit. Markers are 20 units across and a
// click reaches 3 pixels (10 units) beyond a marker's box.
class ChartMarkerCullingTest : public ::testing::Test {
protected:
    CFakeChartMetrics metrics;
    CChart chart{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};

    CChartHit HitAt(double x, double y) const { return chart.HitTest(chart.UnitsToPixelsX(x), chart.UnitsToPixelsY(y)); }
    std::vector<std::pair<int, int>> DrawnCells() const
    {
        std::vector<std::pair<int, int>> cells;
        for (const CChartPrimitive& p : chart.Primitives())
            cells.emplace_back(p.column, p.row);
        return cells;
    }
};

// Batches of more than kMostMarkersDrawnWhole markers: the first kFiller points of each series
// lie in one place far from the rest.
constexpr int kFiller = 5000;
static_assert(2 * kFiller + 4 > static_cast<int>(CChart::kMostMarkersDrawnWhole));

TEST_F(ChartMarkerCullingTest, ACoveredMarkerIsNotDrawnButAnswersClicksInItsPlace)
{
    // Two series (colours 12 and 10, filled diamonds), marker k = point x 2 + series. After the
    // filler (of which each series draws only its last), points P and P + 1:
    //   k0 (P, series 0) at y 195; k1 (P, series 1) at y 201, in the quarter pixel of
    //   k3 (P + 1, series 1) at y 201.5; k2 (P + 1, series 0) far away.
    // k1 is covered by k3; k0 has another colour and another place.
    std::vector<double> ys(2 * kFiller, 800.0), xs(2 * kFiller, 1500.0);
    ys.insert(ys.end(), {195.0, 201.0, 500.0, 201.5});
    xs.insert(xs.end(), {100.0, 100.0, 500.0, 100.0});
    chart.ChartSetShapeGeometry(kFiller + 2, 2, ys);
    chart.ChartSetMarkerX(static_cast<int>(xs.size()), xs);
    chart.ChartSetMarkerColors(2, std::vector<int>{12, 10});
    chart.ChartSetMarkerSymbols(2, std::vector<int>{13, 13});
    chart.ChartDrawMarkers(0.0, 0.0);
    const int p = kFiller;
    EXPECT_EQ(DrawnCells(), (std::vector<std::pair<int, int>>{{0, p - 1}, {1, p - 1}, {0, p}, {0, p + 1}, {1, p + 1}}));
    EXPECT_EQ(LastItem(chart.Primitives()).color, GraphPaletteColor(10));

    // k1's box with the click's reach runs from 181 up, k3's from 181.5: at 181.2 only k1 and
    // the earlier k0 (from 175) answer, and k1 lies over k0.
    EXPECT_EQ(HitAt(100.0, 181.2), (CChartHit{8, 0, 1, p}));
    EXPECT_EQ(HitAt(100.0, 201.5), (CChartHit{8, 0, 1, p + 1}));
    EXPECT_EQ(HitAt(100.0, 176.0), (CChartHit{8, 0, 0, p}));
    EXPECT_EQ(HitAt(100.0, 150.0), CChartHit{});
    // Of the filler the last drawn answers.
    EXPECT_EQ(HitAt(1500.0, 800.0), (CChartHit{8, 0, 1, p - 1}));
}

TEST_F(ChartMarkerCullingTest, MarkersApartOrOfOtherStylesAreAllDrawnAndSmallBatchesWhole)
{
    // More than a quarter pixel apart (a unit is 0.3 pixels), or in the same place with another
    // symbol: all drawn.
    std::vector<double> ys(2 * kFiller, 800.0), xs(2 * kFiller, 1500.0);
    ys.insert(ys.end(), {200.0, 200.0, 201.0, 205.0, 202.0, 300.0});
    xs.insert(xs.end(), 6, 100.0);
    chart.ChartSetShapeGeometry(kFiller + 3, 2, ys);
    chart.ChartSetMarkerX(static_cast<int>(xs.size()), xs);
    chart.ChartSetMarkerColors(2, std::vector<int>{10, 10});
    chart.ChartSetMarkerSymbols(2, std::vector<int>{0, 3});
    chart.ChartDrawMarkers(0.0, 0.0);
    const int p = kFiller;
    EXPECT_EQ(DrawnCells(), (std::vector<std::pair<int, int>>{{0, p - 1}, {1, p - 1}, {0, p}, {1, p}, {0, p + 1},
                                                               {1, p + 1}, {0, p + 2}, {1, p + 2}}));

    // A batch of no more than kMostMarkersDrawnWhole draws every marker, one over another.
    CChart small{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
    const int n = static_cast<int>(CChart::kMostMarkersDrawnWhole);
    small.ChartSetShapeGeometry(n, 1, std::vector<double>(static_cast<std::size_t>(n), 500.0));
    small.ChartSetMarkerX(n, std::vector<double>(static_cast<std::size_t>(n), 500.0));
    small.ChartDrawMarkers(0.0, 0.0);
    EXPECT_EQ(small.Primitives().size(), CChart::kMostMarkersDrawnWhole);
}

TEST_F(ChartMarkerCullingTest, PointChartsDrawOnlyTheTopmostOfCoincidentPoints)
{
    // Point 0 and the last point of one set coincide, the others lie together elsewhere: the
    // last point is drawn over point 0, which is not drawn; a click there reports the last
    // point, as it did with all drawn.
    const int n = static_cast<int>(CChart::kMostMarkersDrawnWhole) + 2;
    std::vector<double> values(static_cast<std::size_t>(n), 1.0);
    values.front() = values.back() = 2.0;
    chart.ChartDefBegin();
    chart.ChartSetXData(n, values);
    chart.ChartSetData(n, 1, values);
    chart.ChartSetAxisX(0x200 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetAxisY(0x100 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetKind(kChartPoints, 1, 0x20);
    const auto cells = CellPrimitives(chart);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0]->row, n - 2);
    EXPECT_EQ(cells[1]->row, n - 1);
    const double x = chart.ChartGetLayout(6) + 0.5 * chart.ChartGetLayout(4);
    const double y = chart.ChartGetLayout(7) + 0.5 * chart.ChartGetLayout(5);
    EXPECT_EQ(HitAt(x, y), (CChartHit{8, 0, 0, n - 1}));
}

} // namespace
