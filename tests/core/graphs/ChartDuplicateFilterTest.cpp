#include "graphs/ChartDuplicateFilter.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "graphs/ChartDrawing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// 600 x 300 pixels, 1000 units high (2000 wide): the fake metrics' characters are 20 units wide
// and their lines 33.33 units high.
class ChartDuplicateFilterTest : public ::testing::Test {
protected:
    CFakeChartMetrics metrics;
    CChart chart{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};

    static void DrawBox(CChart& target, double left, double bottom, double right, double top)
    {
        target.ChartSetShapeGeometry(4, 2, std::vector<double>{left, bottom, right, bottom, right, top, left, top});
        target.ChartSetFillColor(9);
        target.ChartDrawBox();
    }
    std::size_t Count() const { return chart.Primitives().size(); }
};

TEST_F(ChartDuplicateFilterTest, ATextOrLineDrawnAgainIsKeptOnlyWhenSomethingOpaqueCoversItMeanwhile)
{
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2"); // box 125..205 x 500..533
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 1, 0, 0);
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 1, 0, 0);
    EXPECT_EQ(Count(), 2u);
    // Another colour, another place or another text is another drawing.
    chart.ChartDrawText(125.0, 500.0, 2, 0, 1, "SiO2");
    chart.ChartDrawText(126.0, 500.0, 2, 0, 0, "SiO2");
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 2, 0, 0);
    EXPECT_EQ(Count(), 5u);

    // A box that only touches the text's left edge covers it: the text is drawn again over it,
    // and once more is once too many. The line far from the box stays single.
    DrawBox(chart, 0.0, 400.0, 125.0, 600.0);
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 1, 0, 0);
    EXPECT_EQ(Count(), 7u);
    EXPECT_EQ(LastItem(chart.Primitives()).text, "SiO2");
    // A box ending just short of the text does not.
    DrawBox(chart, 0.0, 400.0, 124.9, 600.0);
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    EXPECT_EQ(Count(), 8u);

    // Hollow shapes hide nothing; a fill of the whole chart hides everything.
    chart.ChartDrawSymbol(150.0, 510.0, 5, 0);
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 1, 0, 0);
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    EXPECT_EQ(Count(), 9u);
    chart.ChartCall261(0.0, 0.0, 2000.0, 1000.0);
    chart.ChartDrawLine(1000.0, 100.0, 1800.0, 100.0, 1, 0, 0);
    chart.ChartDrawText(125.0, 500.0, 2, 0, 0, "SiO2");
    EXPECT_EQ(Count(), 12u);
}

TEST_F(ChartDuplicateFilterTest, MarkersDrawnAgainKeepTheLineThatAnswersClicks)
{
    // Two plus markers (two lines each, the first answering a click on the marker), drawn twice as
    // a second definition pass does: the clickable line is not the plain one checked against it,
    // so it is drawn again; the second line of each is kept once.
    chart.ChartSetShapeGeometry(2, 1, std::vector<double>{100.0, 300.0});
    chart.ChartSetMarkerX(2, std::vector<double>{200.0, 900.0});
    chart.ChartSetMarkerSymbols(1, std::vector<int>{10});
    chart.ChartDrawMarkers(0.0, 0.0);
    chart.ChartDrawMarkers(0.0, 0.0);
    ASSERT_EQ(Count(), 6u);
    const auto& list = chart.Primitives();
    EXPECT_EQ(ItemAt(list, 4).hitKind, CChartPrimitive::kHitCell);
    EXPECT_EQ(ItemAt(list, 4).row, 0);
    EXPECT_EQ(ItemAt(list, 5).hitKind, CChartPrimitive::kHitCell);
    EXPECT_EQ(ItemAt(list, 5).row, 1);
}

// The rule as it reads: look back from the latest primitive; something opaque over the new one
// ends the search, the same drawing drops it.
bool DroppedByTheRule(const std::vector<CChartPrimitive>& list, const CChartPrimitive& p)
{
    if (!IsRepeatableChartPrimitive(p))
        return false;
    for (std::size_t i = list.size(); i-- > 0;) {
        if (IsOpaqueChartPrimitive(list[i]) && ChartBoxesOverlap(list[i], p))
            return false;
        if (SameChartDrawing(list[i], p))
            return true;
    }
    return false;
}

TEST_F(ChartDuplicateFilterTest, KeepsWhatTheRuleKeepsInAnyPicture)
{
    // Thousands of texts, lines, boxes and fills from a small set of places, so that repeats,
    // covers and near misses are frequent; each drawn on an empty chart first to see what it
    // adds, then on the chart under test.
    std::mt19937 random(29);
    std::uniform_int_distribution<int> what(0, 9), place(0, 40), colour(0, 2);
    std::vector<CChartPrimitive> expected;
    for (int step = 0; step < 4000; ++step) {
        CChart single(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
        const double x = place(random) * 50.0 - 10.0, y = place(random) * 25.0 - 5.0;
        const int kind = what(random), c = colour(random);
        const auto draw = [&](CChart& target) {
            if (kind < 4)
                target.ChartDrawText(x, y, 2, kind % 2 ? 0x02 : 0, c, kind < 2 ? "A" : "Al2O3");
            else if (kind < 8)
                target.ChartDrawLine(x, y, kind < 6 ? x + 100.0 : x, kind < 6 ? y : y + 300.0, 1, 0, c);
            else if (kind == 8 && c == 2)
                target.ChartDrawSymbol(x, y, 5, 0); // a hollow square
            else if (kind == 8)
                DrawBox(target, x, y, x + 40.0 * (c + 1), y + 20.0 * (c + 1));
            else if (c == 0)
                target.ChartCall261(x, y, 2000.0, 600.0);
        };
        draw(single);
        for (const CChartPrimitive& p : single.Primitives())
            if (!DroppedByTheRule(expected, p))
                expected.push_back(p);
        draw(chart);
    }
    const auto& drawn = chart.Primitives();
    ASSERT_EQ(drawn.size(), expected.size());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        EXPECT_TRUE(SameChartDrawing(drawn[i], expected[i]) && drawn[i].left == expected[i].left) << i;
}

} // namespace
