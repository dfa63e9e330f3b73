#include "graphs/Chart.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "graphs/ChartDefinition.h"
#include "graphs/ChartDrawing.h"
#include "graphs/ChartPalette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <span>
#include <vector>

namespace {

using ::testing::ElementsAre;

// 600 x 300 pixels, 1000 units high: 0.3 pixels per unit, so the fake metrics' characters are
// 20 units wide and their lines 33.33 units high; the margin round the chart is 20 units.
class ChartTest : public ::testing::Test {
protected:
    CFakeChartMetrics metrics;
    CChart chart{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
    const double lineHeight = 10.0 / 0.3;

    void DefinePie()
    {
        const double values[] = {3.0, 0.4, 0.7, 0.3};
        const std::string labels[] = {"SiO2", "Al2O3", "CaO", "K2O"};
        chart.ChartDefBegin();
        chart.ChartSetTitleA("Title");
        chart.ChartSetTitleB("Unity");
        chart.ChartSetData(4, 1, values);
        chart.ChartSetPointLabels(4, labels);
        chart.ChartSetColors(4, std::vector<int>{12, 10, 11, 9});
        chart.ChartSetKind(kChartPie, 0x8000, 0);
    }
    void DefineBars(int options, int sets = 1, std::vector<double> values = {10.0, 20.0, 30.0})
    {
        const std::string labels[] = {"A", "B", "C"};
        chart.ChartDefBegin();
        chart.ChartSetData(3, sets, values);
        chart.ChartSetPointLabels(3, labels);
        chart.ChartSetKind(kChartBar, options, 0x20);
    }
    std::vector<double> Layout(std::initializer_list<int> selectors) const
    {
        std::vector<double> values;
        for (int selector : selectors)
            values.push_back(std::round(chart.ChartGetLayout(selector) * 1000.0) / 1000.0);
        return values;
    }
    // The pixel of a point given in chart units.
    CChartHit HitAt(double x, double y) const { return chart.HitTest(chart.UnitsToPixelsX(x), chart.UnitsToPixelsY(y)); }
};

TEST_F(ChartTest, PieLaysOutBetweenItsTitlesAndBesideItsLabels)
{
    EXPECT_DOUBLE_EQ(chart.ChartGetWidth(), 2000.0);
    EXPECT_DOUBLE_EQ(chart.ChartGetHeight(), 1000.0);
    DefinePie();
    // Titles take a line and half a margin each: the region runs from 63.33 to 936.67 high. The
    // labels (at most 5 characters, 100 units, plus 1.5 lines) leave 830 of the half width; the
    // height (less a line and a half per end) gives the radius 386.67, centred at (1000, 500).
    EXPECT_THAT(Layout({4, 5, 6, 7}), ElementsAre(773.333, 773.333, 613.333, 113.333));
    EXPECT_THAT(DrawnTexts(chart), ElementsAre("Title", "Unity", "SiO2", "Al2O3", "CaO", "K2O"));
    // The slices go counter-clockwise from three o'clock: SiO2 takes 3 / 4.4 of the circle.
    const double r = 386.667 / 2.0;
    const double middle0 = 3.0 / 4.4 * std::numbers::pi;
    EXPECT_EQ(HitAt(1000.0 + r * std::cos(middle0), 500.0 + r * std::sin(middle0)), (CChartHit{8, 0, 0, 0}));
    EXPECT_EQ(HitAt(1000.0 + r, 500.0 - 10.0), (CChartHit{8, 0, 0, 3})); // just below three o'clock: K2O
    EXPECT_EQ(HitAt(100.0, 500.0), CChartHit{});
    // The slices' colours come from the palette.
    const auto cells = CellPrimitives(chart);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0]->color, GraphPaletteColor(12));
    EXPECT_EQ(cells[3]->color, GraphPaletteColor(9));

    // An outline pass draws hollow slices over the coloured ones and no text twice.
    const std::size_t texts = DrawnTexts(chart).size();
    chart.ChartSetPatterns(4, std::vector<int>(4, kChartPatternHollow));
    chart.ChartSetColors(4, std::vector<int>(4, 0));
    chart.ChartSetKind(kChartPie, 0x8000, 0);
    EXPECT_EQ(DrawnTexts(chart).size(), texts);
    const auto outlined = CellPrimitives(chart);
    ASSERT_EQ(outlined.size(), 8u);
    EXPECT_EQ(outlined[7]->pattern, kChartPatternHollow);
    EXPECT_EQ(outlined[7]->outline, GraphPaletteColor(0));
    EXPECT_GT(outlined[7]->outlineWidth, 0.0);

    // Without labels the pie fills the height.
    chart.ChartDefBegin();
    chart.ChartSetData(4, 1, std::vector<double>{1, 1, 1, 1});
    chart.ChartSetKind(kChartPie, 0x8001, 0);
    EXPECT_THAT(Layout({4, 6, 7}), ElementsAre(960.0, 520.0, 20.0));
}

TEST_F(ChartTest, AThreeDimensionalPieTiltsAwayAsItsElevationRises)
{
    // The top face is seen 30 degrees plus the elevation off face-on: an ellipse as high as
    // the cosine of that tilt of its width.
    const auto faceShape = [this](int elevation) {
        const std::size_t before = CellPrimitives(chart).size();
        chart.ChartDefBegin();
        chart.ChartSetData(4, 1, std::vector<double>{1, 2, 3, 4});
        chart.ChartSetView(0, 0, elevation, 0);
        chart.ChartSetDepth(1, 100, 0, 0);
        chart.ChartSetKind(kChartPie3D, 0x8001, 0);
        const auto cells = CellPrimitives(chart);
        double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
        for (std::size_t i = before; i < cells.size(); ++i) {
            left = std::min(left, cells[i]->left);
            right = std::max(right, cells[i]->left + cells[i]->width);
            bottom = std::min(bottom, cells[i]->bottom);
            top = std::max(top, cells[i]->bottom + cells[i]->height);
        }
        return (top - bottom) / (right - left);
    };
    const double degree = std::numbers::pi / 180.0;
    EXPECT_NEAR(faceShape(0), std::cos(30.0 * degree), 0.01);
    EXPECT_NEAR(faceShape(40), std::cos(70.0 * degree), 0.01);
    EXPECT_NEAR(faceShape(-20), std::cos(10.0 * degree), 0.01);
    // Tilted most (80 degrees) at a depth of 100 %, the wall is 0.12 of the radius deep: the pie
    // stands 2 cos 80 + 0.12 radii high.
    faceShape(50);
    EXPECT_NEAR(chart.ChartGetLayout(5) / (chart.ChartGetLayout(4) / 2.0), 2.0 * std::cos(80.0 * degree) + 0.12, 1e-9);
}

TEST_F(ChartTest, BarsLeaveRoomForTheirAxisLabels)
{
    DefineBars(0);
    // Value labels "0" to "30" (40 units) with tick and gap (18) on the left; a line and a gap
    // (6) above, room for a number over the axis' top; one line of category labels with tick and
    // gap below.
    EXPECT_THAT(Layout({6, 7, 4, 5}), ElementsAre(78.0, 71.333, 1902.0, 869.333));
    EXPECT_THAT(Layout({0, 1, 2, 3, 13, 15}), ElementsAre(3.0, 0.0, 30.0, 0.0, 3.0, 3.0));
    EXPECT_THAT(DrawnTexts(chart), ElementsAre("A", "B", "C", "0", "10", "20", "30"));
    // The axes and their ticks are solid lines.
    EXPECT_EQ(std::ranges::count_if(chart.Primitives(), [](const CChartPrimitive& p) {
                  return p.type == CChartPrimitive::Type::Polyline && p.dash != 0;
              }), 0);
    // Bar B stands in the middle third, from 0 to 20.
    EXPECT_EQ(HitAt(78.0 + 1902.0 / 2.0, 71.333 + 869.333 / 3.0), (CChartHit{8, 0, 0, 1}));
    EXPECT_EQ(HitAt(78.0 + 1902.0 / 2.0, 71.333 + 869.333 * 0.8), CChartHit{});

    // Lying bars: categories on the left, counted from the top; values along the bottom.
    const std::size_t before = DrawnTexts(chart).size();
    DefineBars(0x800);
    const std::vector<std::string> lying = DrawnTexts(chart);
    EXPECT_THAT(std::vector<std::string>(lying.begin() + static_cast<std::ptrdiff_t>(before), lying.end()),
                ElementsAre("0", "10", "20", "30", "A", "B", "C"));
    EXPECT_THAT(Layout({6, 7, 4, 5}), ElementsAre(58.0, 71.333, 1902.0, 908.667));
    EXPECT_THAT(Layout({0, 1, 2, 3, 13, 15}), ElementsAre(30.0, 0.0, 3.0, 0.0, 3.0, 3.0));
    EXPECT_EQ(HitAt(58.0 + 10.0, 71.333 + 908.667 * 5.0 / 6.0), (CChartHit{8, 0, 0, 0}));

    // Regression: the chart's own value axis drew every number, run together where they were
    // many ("0.00.20.40.60.81.0"). Numbers too many to stand apart are thinned as names are: 30
    // intervals of 29 units upright, a line (33.3) apart, every other; 40 intervals of 47.6
    // units lying, the widest number (40) and a blank (20) apart, every other too.
    // (Each on a picture of its own: what the charts above drew would stand in their way.)
    for (const auto& [options, ticks] : {std::pair{0, 30}, std::pair{0x800, 40}}) {
        CChart fresh{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
        fresh.ChartDefBegin();
        fresh.ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
        fresh.ChartSetAxisY(0x1C, ticks, 0, ticks, 0.0);
        fresh.ChartSetKind(kChartBar, options, 0x20);
        const std::vector<std::string> drawn = DrawnTexts(fresh);
        std::vector<std::string> every(drawn.begin(), drawn.end());
        std::vector<std::string> other;
        for (int k = 0; k <= ticks; k += 2)
            other.push_back(std::to_string(k));
        EXPECT_EQ(every, other) << ticks;
        // Defined again in the same place with other numbers, the axis shows those.
        fresh.ChartDefBegin();
        fresh.ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
        fresh.ChartSetAxisY(0x1C, 5, 0, 25, 0.0);
        fresh.ChartSetKind(kChartBar, options, 0x20);
        EXPECT_THAT(DrawnTexts(fresh), ::testing::Contains("5")) << ticks;
    }

    // No labels: only the ticks take room. (The picture keeps what earlier definitions drew.)
    const std::size_t texts = DrawnTexts(chart).size();
    DefineBars(1);
    EXPECT_THAT(Layout({6, 7}), ElementsAre(32.0, 32.0));
    EXPECT_EQ(DrawnTexts(chart).size(), texts);
}

// On 3-D bars the level grid lines run from the front edge back and along the back wall.
TEST_F(ChartTest, ThreeDimensionalBarsHaveTheirGridOnTheBackWall)
{
    chart.ChartDefBegin();
    chart.ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
    chart.ChartSetDepth(1, 100, 0, 0);
    chart.ChartSetKind(kChartBar3D, 8, 0x20);
    // The walls are lines of 2 and 4 points; the grid lines at 10 and 20 are of 3.
    EXPECT_EQ(std::ranges::count_if(chart.Primitives(), [](const CChartPrimitive& p) {
                  return p.type == CChartPrimitive::Type::Polyline && p.points.size() == 3;
              }), 2);
    // Each runs up the left wall and level along the back wall.
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type != CChartPrimitive::Type::Polyline || p.points.size() != 3)
            continue;
        EXPECT_GT(p.points[1].y, p.points[0].y);
        EXPECT_DOUBLE_EQ(p.points[2].y, p.points[1].y);
    }
}

// True 3-D bars label their value axis to its top, reach their values on it, and draw no grid
// unless asked for one.
TEST(ChartBars3D, TheValueAxisIsLabelledToItsTopWithoutAGridUnasked)
{
    CFakeChartMetrics metrics;
    const auto draw = [&metrics](int options, int mode = 6, int rotation = 20, int elevation = 10) {
        auto chart = std::make_unique<CChart>(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
        chart->ChartDefBegin();
        chart->ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
        chart->ChartSetView(mode, rotation, elevation, 0);
        chart->ChartSetDepth(7, 100, 50, 50);
        chart->ChartSetKind(kChartBar3D | 0x80, options, 0x20);
        return chart;
    };
    EXPECT_THAT(DrawnTexts(*draw(0)), ::testing::IsSupersetOf({"0", "10", "20", "30"}));
    // Regression: a scale's numbers too many to stand apart, each drawn where it stood clear of
    // the last (spaced unevenly by the view's perspective), read "0.0, 1.0, 1.5" on a 3-D scatter.
    // They are drawn every k-th from the foot, k dividing the intervals, to the far end.
    const std::vector<std::string> scale = {"0.0", "0.5", "1.0", "1.5"};
    EXPECT_EQ(ChartNumbersShown(*draw(0), std::vector<double>{0.0, 10.0, 22.0, 36.0}, scale, 15.0),
              (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(ChartNumbersShown(*draw(0), std::vector<double>{0.0, 10.0, 22.0, 36.0}, scale, 9.0),
              (std::vector<bool>{true, true, true, true}));
    const auto gridLines = [](const CChart& chart) {
        return std::ranges::count_if(chart.Primitives(), [](const CChartPrimitive& p) {
            return p.type == CChartPrimitive::Type::Polyline && p.color == GraphPaletteColor(7);
        });
    };
    EXPECT_EQ(gridLines(*draw(1)), 0);
    EXPECT_GT(gridLines(*draw(4)), 0);

    // Seen square from the front, each bar's top stands where its value stands on the axis.
    const std::unique_ptr<CChart> front = draw(0, 0, 0, 0);
    const double low = front->ChartGetLayout(3), high = front->ChartGetLayout(2);
    const double floor = front->ChartGetLayout(7), height = front->ChartGetLayout(5);
    ASSERT_EQ(high, 30.0);
    std::vector<double> tops(3, floor);
    for (const CChartPrimitive* face : CellPrimitives(*front)) {
        double& top = ItemAt(tops, static_cast<std::size_t>(face->row));
        for (const CChartPointD& corner : face->points)
            top = std::max(top, corner.y);
    }
    for (std::size_t bar = 0; bar < tops.size(); ++bar)
        EXPECT_NEAR(tops[bar], floor + height * (10.0 * static_cast<double>(bar + 1) - low) / (high - low), 1e-6) << bar;
    // There only the fronts show, in the bars' own colours.
    for (const CChartPrimitive* face : CellPrimitives(*front))
        EXPECT_EQ(face->color, front->PaletteColor(front->ColorIndexFor(face->row, 0, true))) << face->row;
    // The category axis, drawn after them, runs under the whole box.
    const std::vector<CChartPrimitive>& drawn = front->Primitives();
    const auto lastFace = std::find_if(drawn.rbegin(), drawn.rend(),
                                       [](const CChartPrimitive& p) { return p.hitKind == CChartPrimitive::kHitCell; });
    ASSERT_NE(lastFace, drawn.rbegin());
    const CChartPrimitive& axis = *lastFace.base();
    ASSERT_EQ(axis.points.size(), 2u);
    const double left = front->ChartGetLayout(6), width = front->ChartGetLayout(4);
    EXPECT_NEAR(std::min(axis.points[0].x, axis.points[1].x), left, 1e-6);
    EXPECT_NEAR(std::max(axis.points[0].x, axis.points[1].x), left + width, 1e-6);
}

TEST_F(ChartTest, StackedFloatingAndClusteredBarsScaleToWhatTheyShow)
{
    DefineBars(0x2000, 2, {10, 5, 20, 10, 30, 15});
    EXPECT_DOUBLE_EQ(chart.ChartGetLayout(2), 50.0); // 30 + 15, rounded up to a step of 10
    std::size_t cells = CellPrimitives(chart).size();
    DefineBars(0, 2, {10, 5, 20, 10, 30, 15});
    EXPECT_DOUBLE_EQ(chart.ChartGetLayout(2), 30.0);
    EXPECT_EQ(CellPrimitives(chart).size() - cells, 6u);
    ASSERT_FALSE(CellPrimitives(chart).empty());
    EXPECT_EQ(CellPrimitives(chart).back()->column, 1);
    EXPECT_EQ(CellPrimitives(chart).back()->row, 2);
    // Floating: set 0 is the invisible base; a bar of no length is not drawn. The bars are
    // ranges, not data: they answer no click (the limit charts' markers over them do).
    cells = CellPrimitives(chart).size();
    const std::size_t drawn = chart.Primitives().size();
    DefineBars(0x80, 2, {0.3, 1.7, 0.0, 0.0, 0.5, 0.5});
    EXPECT_DOUBLE_EQ(chart.ChartGetLayout(2), 2.0);
    EXPECT_EQ(CellPrimitives(chart).size(), cells);
    const auto bars = std::count_if(chart.Primitives().begin() + static_cast<std::ptrdiff_t>(drawn),
                                    chart.Primitives().end(), [](const CChartPrimitive& p) {
                                        return p.type == CChartPrimitive::Type::Polygon;
                                    });
    EXPECT_EQ(bars, 2);
    // Each floating bar spans its range: from the base (set 0) to the base plus the length.
    std::vector<const CChartPrimitive*> spans;
    for (auto p = chart.Primitives().begin() + static_cast<std::ptrdiff_t>(drawn); p != chart.Primitives().end(); ++p) {
        if (p->type == CChartPrimitive::Type::Polygon)
            spans.push_back(&*p);
    }
    ASSERT_EQ(spans.size(), 2u);
    const double bottom = chart.ChartGetLayout(7), perUnit = chart.ChartGetLayout(5) / 2.0;
    EXPECT_NEAR(spans[0]->bottom, bottom + 0.3 * perUnit, 1e-6);
    EXPECT_NEAR(spans[0]->height, 1.7 * perUnit, 1e-6);
    EXPECT_NEAR(spans[1]->bottom, bottom + 0.5 * perUnit, 1e-6);
    EXPECT_NEAR(spans[1]->height, 0.5 * perUnit, 1e-6);
    // A fixed axis keeps its ends and divisions.
    chart.ChartDefBegin();
    chart.ChartSetData(3, 1, std::vector<double>{1, 2, 3});
    chart.ChartSetAxisY(0x100 + 0x1C, 4, 0, 8.0, 0.0);
    chart.ChartSetKind(kChartBar, 0, 0x20);
    EXPECT_THAT(Layout({2, 3, 15}), ElementsAre(8.0, 0.0, 4.0));
}

// Regression: the outline pass drew a black edge round bars two pixels wide, which hid them.
TEST_F(ChartTest, TheOutlinePassLeavesThinBarsTheirColour)
{
    const auto outlines = [this](int bars) {
        chart.ChartDefBegin();
        chart.ChartSetData(bars, 1, std::vector<double>(static_cast<std::size_t>(bars), 5.0));
        chart.ChartSetPatterns(1, std::vector<int>{kChartPatternHollow});
        chart.ChartSetColors(1, std::vector<int>{0});
        chart.ChartSetKind(kChartBar, 0, 0x20);
        std::vector<double> widths;
        for (const CChartPrimitive* cell : CellPrimitives(chart))
            widths.push_back(cell->outlineWidth);
        return std::vector<double>(widths.end() - bars, widths.end());
    };
    EXPECT_THAT(outlines(3), ::testing::Each(1.5));   // 150 pixels wide
    EXPECT_THAT(outlines(200), ::testing::Each(0.0)); // 2 pixels wide
}

TEST(ChartScale, NiceStepsFixedEndsAndNumberFormats)
{
    CChartAxisSettings automatic;
    CChartScale scale = MakeChartScale(automatic, 0.0, 37.0, true);
    EXPECT_EQ(scale.min, 0.0);
    EXPECT_EQ(scale.max, 40.0);
    EXPECT_EQ(scale.majors, 4);
    // A fifth of the range exactly 5 is a step of 5, not 10.
    scale = MakeChartScale(automatic, 0.0, 25.0, true);
    EXPECT_EQ(scale.max, 25.0);
    EXPECT_EQ(scale.majors, 5);
    scale = MakeChartScale(automatic, 0.12, 0.61, true);
    EXPECT_DOUBLE_EQ(scale.max, 0.8); // a step of 0.2
    EXPECT_EQ(scale.majors, 4);
    // Nothing but zeros (a glaze without this oxide) stands on an axis from 0 up, not below it.
    scale = MakeChartScale(automatic, 0.0, 0.0, true);
    EXPECT_EQ(scale.min, 0.0);
    EXPECT_EQ(scale.max, 1.0);
    scale = MakeChartScale(automatic, -2.0, -2.0, false);
    EXPECT_EQ(scale.min, -3.0);
    EXPECT_EQ(scale.max, -2.0);
    CChartAxisSettings fixed;
    fixed.set = true;
    fixed.flags = 0x41C;
    fixed.ticks = 1;
    fixed.min = 2.0;
    fixed.max = 12.0;
    fixed.minorTicks = 19;
    scale = MakeChartScale(fixed, 0.0, 100.0, true);
    EXPECT_EQ(scale.min, 2.0);
    EXPECT_EQ(scale.max, 12.0);
    EXPECT_EQ(scale.majors, 1);
    EXPECT_EQ(scale.minors, 19);
    // A fixed maximum below every value (the triaxial frame pass) still gives 0 to the maximum.
    fixed.flags = 0x18;
    fixed.max = 1.0;
    scale = MakeChartScale(fixed, 1.1, 1.1, false);
    EXPECT_EQ(scale.min, 0.0);
    EXPECT_EQ(scale.max, 1.0);
    // A fixed minimum above every value runs up as far again: 0.1 to 0.2.
    fixed.flags = 0x04;
    fixed.min = 0.1;
    scale = MakeChartScale(fixed, 0.05, 0.08, false);
    EXPECT_EQ(scale.min, 0.1);
    EXPECT_DOUBLE_EQ(scale.max, 0.2);

    EXPECT_EQ(FormatChartNumber(12.0, "##0\\%", 10.0), "12%");
    EXPECT_EQ(FormatChartNumber(1.5, "\\$###0.00", 0.5), "$1.50");
    EXPECT_EQ(FormatChartNumber(3.0, "###0.", 1.0), "3");
    EXPECT_EQ(FormatChartNumber(1250.0, "#,##0", 250.0), "1250"); // no thousands separator
    EXPECT_EQ(FormatChartNumber(0.25, "", 0.25), "0.25");
    EXPECT_EQ(FormatChartNumber(2.5, "", 0.5), "2.5");
    EXPECT_EQ(FormatChartNumber(-1e-17, "", 0.5), "0.0");
}

TEST_F(ChartTest, MouseEventsBecomeNoticesOfWhatWasHit)
{
    CRecordingNotifyTarget host;
    chart.ChartSetNotifyWindow(&host, kChartNoticeMessage, 0x0E);
    chart.ChartSetEventWindow(&host, kChartEventMessage, 1);
    DefinePie();
    const double corners[] = {0, 0, 35, 0, 35, 35, 0, 35, 0, 0};
    chart.ChartSetShapeGeometry(5, 2, corners);
    chart.ChartSetFillColor(14);
    chart.ChartDrawBox();
    const int box = chart.ChartGetObjectId();
    EXPECT_EQ(box, 1);
    // The box answers within half its outline's width (1.67 units here) of its edge, and no
    // farther beyond a corner, not even in line with a side.
    EXPECT_EQ(HitAt(35.0, 36.5), (CChartHit{CChartPrimitive::kHitObject, box, 0, 0}));
    EXPECT_EQ(HitAt(35.0, 37.5), CChartHit{});
    EXPECT_EQ(HitAt(37.5, 0.0), CChartHit{});

    chart.OnMouseEvent(kChartEventLeftPressed, chart.UnitsToPixelsX(10.0), chart.UnitsToPixelsY(10.0));
    chart.OnMouseEvent(kChartEventLeftPressed, chart.UnitsToPixelsX(1100.0), chart.UnitsToPixelsY(600.0));
    chart.OnMouseEvent(kChartEventRightPressed, 3.0, 3.0);
    EXPECT_EQ(chart.ChartGetLastEvent(), kChartEventRightPressed);
    EXPECT_DOUBLE_EQ(chart.ChartGetEventX(), 10.0);
    EXPECT_DOUBLE_EQ(chart.ChartGetEventY(), 990.0);
    chart.OnMouseEvent(kChartEventReleased, 3.0, 3.0);
    EXPECT_THAT(host.notices,
                ElementsAre(CChartNotice{kChartEventMessage, 1, (297u << 16) | 3u}, CChartNotice{kChartNoticeMessage, 4, (1u << 16) | 1u},
                            CChartNotice{kChartEventMessage, 1, (120u << 16) | 330u}, CChartNotice{kChartNoticeMessage, 8, 0u},
                            CChartNotice{kChartEventMessage, 4, (3u << 16) | 3u}, CChartNotice{kChartNoticeMessage, 2, 0u},
                            CChartNotice{kChartEventMessage, 0, (3u << 16) | 3u}, CChartNotice{kChartNoticeMessage, 2, 0u}));

    // A notify mask without kind 2 keeps quiet about empty clicks.
    host.notices.clear();
    chart.ChartSetNotifyWindow(&host, kChartNoticeMessage, 0x0C);
    chart.ChartSetEventWindow(nullptr, kChartEventMessage, 0);
    chart.OnMouseEvent(kChartEventReleased, 3.0, 3.0);
    EXPECT_TRUE(host.notices.empty());
}

TEST_F(ChartTest, SubAreasMarkersAndDrawingCallsUseTheCurrentAreasUnits)
{
    const int legend = chart.ChartBeginSubArea(1500.0, 0.0, 500.0, 1000.0, 1000.0);
    EXPECT_DOUBLE_EQ(chart.ChartGetAreaWidth(), 500.0);
    chart.ChartDrawLine(0.0, 0.0, 10.0, 0.0, 1, 0, 4);
    const CChartPrimitive& line = LastItem(chart.Primitives());
    EXPECT_THAT(line.points, ElementsAre(CChartPointD{1500.0, 0.0}, CChartPointD{1510.0, 0.0}));
    EXPECT_EQ(line.color, GraphPaletteColor(4));
    chart.ChartEndSubArea(legend);
    EXPECT_DOUBLE_EQ(chart.ChartGetAreaWidth(), 2000.0);

    // A half-height sub-area has units half as long.
    chart.ChartBeginSubArea(0.0, 500.0, 1000.0, 500.0, 1000.0);
    EXPECT_DOUBLE_EQ(chart.ChartGetAreaWidth(), 2000.0);
    EXPECT_NEAR(chart.ChartMeasureTextHeight(2, 0, "XYZxyz"), 2.0 * lineHeight, 1e-9);
    chart.ChartDrawText(100.0, 100.0, 2, 0x102, 0, "Mid");
    const CChartPrimitive& text = LastItem(chart.Primitives());
    EXPECT_DOUBLE_EQ(text.left, 50.0 - 30.0);
    EXPECT_NEAR(text.bottom, 550.0 - lineHeight, 1e-9);
    chart.ChartEndSubArea(99); // not open: nothing
    EXPECT_DOUBLE_EQ(chart.ChartGetAreaHeight(), 1000.0);
    chart.ChartEndSubArea(2);

    // Markers: 2 points of 3 series; flag 0x100 hides one; series k mod 3 gives colour and symbol.
    const std::size_t before = chart.Primitives().size();
    chart.ChartSetShapeKind(2, 3);
    chart.ChartSetShapeGeometry(2, 3, std::vector<double>{10, 20, 30, 40, 50, 60});
    chart.ChartSetMarkerX(6, std::vector<double>{100, 200, 300, 400, 500, 600});
    chart.ChartSetMarkerColors(3, std::vector<int>{10, 12, 1});
    chart.ChartSetMarkerSymbols(3, std::vector<int>{0, 1, 2});
    chart.ChartSetMarkerFlags(6, std::vector<int>{0, 0, 0x100, 0, 0, 0});
    chart.ChartDrawMarkers(50.0, 100.0, 0x40, 14);
    EXPECT_EQ(chart.Primitives().size() - before, 5u);
    EXPECT_EQ(HitAt(550.0, 150.0), (CChartHit{8, 0, 1, 1}));
    EXPECT_EQ(HitAt(350.0, 130.0), CChartHit{}); // the hidden one
    EXPECT_EQ(LastItem(chart.Primitives()).color, GraphPaletteColor(1));

    // Background images that cannot be read draw nothing.
    EXPECT_EQ(chart.ChartSetBackgroundImage(0, 0, 10, 10, "missing.png"), 1);
    EXPECT_EQ(chart.ChartSetBackgroundImage(0, 0, 10, 10, "readable.png"), 0);
    EXPECT_EQ(LastItem(chart.Primitives()).type, CChartPrimitive::Type::Image);
}

TEST_F(ChartTest, LegendsAndSideTitlesTakeTheirRoom)
{
    const std::string legend[] = {"Glaze one", "Two"};
    chart.ChartDefBegin();
    chart.ChartSetTitleC("Left");
    chart.ChartSetSideTitleStyle(6, 0);
    chart.ChartSetTitleD("Right");
    chart.ChartSetData(2, 2, std::vector<double>{1, 2, 3, 4});
    chart.ChartSetLegend(2, legend);
    chart.ChartSetKind(kChartArea, 1, 0x20);
    // The legend (swatch 0.8 line, gap half a line, 9 characters) stands at the right, beside
    // the horizontal right title; the turned left title takes one line.
    const double legendWidth = lineHeight * 1.3 + 180.0;
    const double right = 1980.0 - (100.0 + 10.0);
    EXPECT_NEAR(chart.ChartGetLayout(10), right - legendWidth, 1e-9);
    EXPECT_NEAR(chart.ChartGetLayout(12), legendWidth, 1e-9);
    EXPECT_NEAR(chart.ChartGetLayout(6), 20.0 + lineHeight + 10.0 + 12.0, 1e-9);
    const auto texts = DrawnTexts(chart);
    EXPECT_THAT(texts, ElementsAre("Left", "Right", "Glaze one", "Two"));
    EXPECT_EQ(ItemAt(chart.Primitives(), 0).angle, 90);
    // The areas rise with their values (1 to 3, and 2 to 4 over it) on an axis that holds them.
    const auto areas = CellPrimitives(chart);
    ASSERT_EQ(areas.size(), 2u);
    ASSERT_EQ(areas[0]->points.size(), 4u);
    ASSERT_EQ(areas[1]->points.size(), 4u);
    EXPECT_LT(areas[0]->points[1].y, areas[0]->points[2].y);
    EXPECT_LT(areas[0]->points[2].y, areas[1]->points[2].y);
    // Each entry's swatch is a square of 0.8 line at the legend's left edge.
    int swatches = 0;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type != CChartPrimitive::Type::Polygon || p.hitKind != CChartPrimitive::kHitNone ||
            std::fabs(p.left - chart.ChartGetLayout(10)) > 1e-9)
            continue;
        ++swatches;
        ASSERT_EQ(p.points.size(), 4u);
        for (std::size_t k = 0; k < 4; ++k) {
            const CChartPointD from = p.points[k], to = p.points[(k + 1) % 4];
            EXPECT_NEAR(std::fabs(to.x - from.x) + std::fabs(to.y - from.y), 0.8 * lineHeight, 1e-9) << k;
            EXPECT_TRUE(to.x == from.x || to.y == from.y) << "sides upright and level: " << k;
        }
    }
    EXPECT_EQ(swatches, 2);

    // A turned right title reads downwards at the chart's right margin: the canvas turns it
    // about its corner there.
    chart.ChartDefBegin();
    chart.ChartSetTitleD("Right");
    chart.ChartSetSideTitleStyle(11, 0);
    chart.ChartSetData(2, 2, std::vector<double>{1, 2, 3, 4});
    const std::size_t before = chart.Primitives().size();
    chart.ChartSetKind(kChartArea, 1, 0x20);
    const CChartPrimitive& turned = ItemAt(chart.Primitives(), before);
    EXPECT_EQ(turned.text, "Right");
    EXPECT_EQ(turned.angle, 270);
    EXPECT_NEAR(turned.left + turned.width, 1980.0, 1e-9);
    EXPECT_THAT(turned.points, ElementsAre(CChartPointD{1980.0, turned.bottom + turned.height}));

    // Regression: a second pass over what was drawn over the titles and legend (the plot of a
    // window too small for its axes, laid over the top title) drew them again, each standing
    // twice to a hit test and a text export. They stand once.
    chart.ChartDefBegin();
    chart.ChartSetTitleA("Top");
    chart.ChartSetData(2, 2, std::vector<double>{1, 2, 3, 4});
    chart.ChartSetLegend(2, legend);
    const std::size_t first = chart.Primitives().size();
    chart.ChartSetKind(kChartArea, 1, 0x20);
    chart.ChartCall261(0.0, 0.0, chart.ChartGetWidth(), chart.ChartGetHeight());
    chart.ChartSetKind(kChartArea, 1, 0x20);
    for (const char* text : {"Top", "Glaze one", "Two"}) {
        EXPECT_EQ(std::count_if(chart.Primitives().begin() + static_cast<std::ptrdiff_t>(first), chart.Primitives().end(),
                                [&](const CChartPrimitive& p) { return p.type == CChartPrimitive::Type::Text && p.text == text; }),
                  1)
            << text;
    }
}

TEST_F(ChartTest, BarsManyToThePixelDrawOnlyThoseNoLaterBarOfTheirColumnCovers)
{
    // 10,000 bars of their own colours in one group across some 400 pixels (25 to the pixel),
    // 1, 2, 3, 1, 2, 3...; one of them far the highest.
    std::vector<double> values(10000);
    for (std::size_t s = 0; s < values.size(); ++s)
        values[s] = 1.0 + static_cast<double>(s % 3);
    values[7777] = 50.0;
    chart.ChartDefBegin();
    chart.ChartSetData(1, 10000, values);
    chart.ChartSetPointLabels(1, std::vector<std::string>{"A"});
    chart.ChartSetKind(kChartBar, 0, 0x20);
    const auto cells = CellPrimitives(chart);
    // A column keeps its last bar and the later of each higher one: at most 3.
    ASSERT_GT(cells.size(), 390u);
    EXPECT_LT(cells.size(), 1250u);
    const auto top = [](const CChartPrimitive* p) { return std::max(ItemAt(p->points, 0).y, ItemAt(p->points, 2).y); };
    const auto column = [](const CChartPrimitive* p) {
        return std::floor(std::min(ItemAt(p->points, 0).x, ItemAt(p->points, 2).x) * 0.3);
    };
    EXPECT_EQ((*std::max_element(cells.begin(), cells.end(), [&](auto* a, auto* b) { return top(a) < top(b); }))->column,
              7777);
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (column(cells[i]) == column(cells[i - 1])) {
            EXPECT_GT(top(cells[i - 1]), top(cells[i])) << "bars " << cells[i - 1]->column << " and " << cells[i]->column;
        }
    }
    // The last bar is drawn.
    EXPECT_EQ(cells.back()->column, 9999);

    // The outline pass of such bars shows nothing: they have no outline.
    chart.ChartSetPatterns(10000, std::vector<int>(10000, kChartPatternHollow));
    chart.ChartSetKind(kChartBar, 0, 0x20);
    EXPECT_EQ(CellPrimitives(chart).size(), cells.size());
}

// Labels too wide for their room break at blanks, or are shortened with "..." (20 units a
// character here).
TEST_F(ChartTest, WideTextsBreakAtBlanksOrAreShortened)
{
    const CChartFont font = chart.FontOf(2);
    EXPECT_EQ(WrapChartText(chart, font, "Nepheline Syenite", 200.0), (std::vector<std::string>{"Nepheline", "Syenite"}));
    EXPECT_EQ(WrapChartText(chart, font, "Red Iron Oxide", 200.0), (std::vector<std::string>{"Red Iron", "Oxide"}));
    EXPECT_EQ(ElideChartText(chart, font, "Nepheline Syenite", 200.0), "Nepheli...");
    EXPECT_EQ(ElideChartText(chart, font, "Nepheline Syenite", 340.0), "Nepheline Syenite");
    EXPECT_EQ(ElideChartText(chart, font, "Nepheline Syenite", 339.0), "Nepheline Sye...");
    EXPECT_EQ(ElideChartText(chart, font, "Nepheline Syenite", 10.0), "N...");

    // Regression: a title word wider than the chart ran off both its edges, and long top and
    // bottom titles piled onto each other in a small chart. A word is shortened to the chart's
    // width (1960 units); each title takes at most a third of its height (320 units, 9 lines of
    // 33.3), the last line ending in "..." where more would follow.
    std::string words;
    for (int k = 0; k < 200; ++k)
        words += "word ";
    chart.ChartDefBegin();
    chart.ChartSetTitleA(std::string(120, 'W') + " " + words);
    chart.ChartSetTitleB(words);
    chart.ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
    chart.ChartSetKind(kChartBar, 0, 0x20);
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < 18; ++i) {
        const CChartPrimitive& p = ItemAt(chart.Primitives(), i);
        titles.push_back(p.text);
        EXPECT_GE(p.left, 20.0) << p.text;
        EXPECT_LE(p.left + p.width, 1980.0) << p.text;
        EXPECT_TRUE(i < 9 ? p.bottom >= 660.0 - 1e-9 : p.bottom + p.height <= 340.0 + 1e-9) << p.text;
    }
    // The bottom title is drawn from the foot up: its last line first.
    const std::string line = "word word word word word word word word word word word word word word word word word word word";
    EXPECT_THAT(titles, ElementsAre(std::string(95, 'W') + "...", line, line, line, line, line, line, line, line + " ...",
                                    line + " ...", line, line, line, line, line, line, line, line));
    EXPECT_EQ(ItemAt(chart.Primitives(), 18).type, CChartPrimitive::Type::Polygon); // then the bars
}

// Regression: a legend taller than the chart ran off its foot, its last entry cut in half.
TEST_F(ChartTest, ALegendTallerThanItsRoomShowsWholeEntriesAndCountsTheRest)
{
    // 100 sets; each entry takes 1.25 lines (41.67 units) of the region's 960: 23 lines, the
    // last of them telling how many are left out.
    std::vector<std::string> legend;
    for (int n = 0; n < 100; ++n)
        legend.push_back("G" + std::to_string(n));
    legend[50] = "A glaze with a very long name";
    chart.ChartDefBegin();
    chart.ChartSetData(1, 100, std::vector<double>(100, 1.0));
    chart.ChartSetPointLabels(1, std::vector<std::string>{"A"});
    chart.ChartSetLegend(100, legend);
    chart.ChartSetKind(kChartBar, 0, 0x20);
    std::vector<const CChartPrimitive*> shown;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text && p.left >= chart.ChartGetLayout(10))
            shown.push_back(&p);
    }
    ASSERT_EQ(shown.size(), 23u);
    EXPECT_EQ(shown[21]->text, "G21");
    EXPECT_EQ(shown[22]->text, "+ 78 more");
    for (const CChartPrimitive* p : shown)
        EXPECT_GE(p->bottom, 20.0) << p->text;
    // The hidden long name does not widen the legend: its widest line is "+ 78 more".
    EXPECT_NEAR(chart.ChartGetLayout(12), lineHeight * 1.3 + 180.0, 1e-9);
}

} // namespace

namespace {

bool AllFinite(const CChart& chart)
{
    for (const CChartPrimitive& p : chart.Primitives()) {
        for (const CChartPointD& point : p.points) {
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
                return false;
        }
    }
    for (int selector = 0; selector < 17; ++selector) {
        if (!std::isfinite(chart.ChartGetLayout(selector)))
            return false;
    }
    return true;
}

bool HasLine(const CChart& chart, CChartPointD a, CChartPointD b)
{
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Polyline && p.points.size() == 2 &&
            ((p.points[0] == a && p.points[1] == b) || (p.points[0] == b && p.points[1] == a)))
            return true;
    }
    return false;
}

TEST(ChartAxisFormat, DigitsPointAndLiteralCharacters)
{
    EXPECT_EQ(FormatChartNumber(12.6, "##0\\%", 10.0), "13%");
    EXPECT_EQ(FormatChartNumber(3.5, "\\$###0.00", 1.0), "$3.50");
    EXPECT_EQ(FormatChartNumber(0.0, "##0\\%", 10.0), "0%");
}

TEST_F(ChartTest, TheLayoutLiesInsideTheChartAndAFrameAlongItIsTheAxes)
{
    DefineBars(0);
    const double left = chart.ChartGetLayout(6), bottom = chart.ChartGetLayout(7);
    const double width = chart.ChartGetLayout(4), height = chart.ChartGetLayout(5);
    EXPECT_GT(left, 0.0);
    EXPECT_GT(bottom, 0.0);
    EXPECT_GT(width, 0.0);
    EXPECT_GT(height, 0.0);
    EXPECT_LT(left + width, chart.ChartGetWidth());
    EXPECT_LT(bottom + height, chart.ChartGetHeight());
    // The category axis along the bottom edge, the value axis along the left one.
    EXPECT_TRUE(HasLine(chart, {left, bottom}, {left + width, bottom}));
    EXPECT_TRUE(HasLine(chart, {left, bottom}, {left, bottom + height}));
}

// The first, a middle and the last point missing in turn.
TEST_F(ChartTest, MissingPointsAreNeitherDrawnNorHit)
{
    for (const int missing : {1, 0, 2}) {
        SCOPED_TRACE(missing);
        std::vector<int> flags(3, 0);
        flags[static_cast<std::size_t>(missing)] = kChartPointMissing;
        CChart points{metrics, 0.0, 0.0, 600.0, 300.0, 1000.0};
        points.ChartDefBegin();
        points.ChartSetXData(3, std::vector<double>{1.0, 2.0, 3.0});
        points.ChartSetData(3, 1, std::vector<double>{1.0, 2.0, 3.0});
        points.ChartSetPointFlags(3, flags);
        points.ChartSetAxisX(0x200 + 0x1C, 4, 0, 4.0, 0.0);
        points.ChartSetAxisY(0x100 + 0x1C, 4, 0, 4.0, 0.0);
        points.ChartSetKind(kChartPoints, 1, 0x20);
        const auto hitAt = [&points](double value) {
            const double x = points.ChartGetLayout(6) + value / 4.0 * points.ChartGetLayout(4);
            const double y = points.ChartGetLayout(7) + value / 4.0 * points.ChartGetLayout(5);
            return points.HitTest(points.UnitsToPixelsX(x), points.UnitsToPixelsY(y));
        };
        const auto cells = CellPrimitives(points);
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0]->row, missing == 0 ? 1 : 0);
        EXPECT_EQ(cells[1]->row, missing == 2 ? 1 : 2);
        const int other = missing == 2 ? 0 : 2;
        EXPECT_EQ(hitAt(missing + 1.0), CChartHit{});
        EXPECT_EQ(hitAt(other + 1.0), (CChartHit{8, 0, 0, other}));
    }
}

TEST_F(ChartTest, ALaterSeriesStandsOverTheEarlierOnesPoints)
{
    // The second set's first point lies under the first set's second point.
    chart.ChartDefBegin();
    chart.ChartSetXData(4, std::vector<double>{1.0, 2.0, 2.0, 3.0});
    chart.ChartSetData(2, 2, std::vector<double>{1.0, 2.0, 2.0, 3.0});
    chart.ChartSetAxisX(0x200 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetAxisY(0x100 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetKind(kChartPoints, 1, 0x20);
    const double x = chart.ChartGetLayout(6) + 0.5 * chart.ChartGetLayout(4);
    const double y = chart.ChartGetLayout(7) + 0.5 * chart.ChartGetLayout(5);
    EXPECT_EQ(HitAt(x, y), (CChartHit{8, 0, 1, 0}));
    // Each series' symbols stand in the series' colour.
    chart.ChartSetColors(2, std::vector<int>{4, 12});
    chart.ChartSetKind(kChartPoints, 1, 0x20);
    const auto cells = CellPrimitives(chart);
    ASSERT_GE(cells.size(), 4u);
    for (std::size_t i = cells.size() - 4; i < cells.size(); ++i)
        EXPECT_EQ(cells[i]->color, GraphPaletteColor(cells[i]->column == 0 ? 4 : 12)) << i;
    // A point beyond the end of a fixed axis is left out.
    chart.ChartSetXData(4, std::vector<double>{1.0, 2.0, 2.0, 5.0});
    const std::size_t before = CellPrimitives(chart).size();
    chart.ChartSetKind(kChartPoints, 1, 0x20);
    EXPECT_EQ(CellPrimitives(chart).size() - before, 3u);
    // The axes' ticks, the minor ones too, are solid lines: none asked, none drawn; two asked, two
    // in each of the four steps of both axes.
    const auto linesDrawn = [this](int minor) {
        chart.ChartSetMinorTicks(0, minor);
        chart.ChartSetMinorTicks(1, minor);
        const std::size_t first = chart.Primitives().size();
        chart.ChartSetKind(kChartPoints, 1, 0x20);
        return std::count_if(chart.Primitives().begin() + static_cast<std::ptrdiff_t>(first), chart.Primitives().end(),
                             [](const CChartPrimitive& p) { return p.type == CChartPrimitive::Type::Polyline; });
    };
    const auto plain = linesDrawn(0);
    EXPECT_EQ(linesDrawn(2) - plain, 2 * 4 * 2);
    EXPECT_EQ(std::ranges::count_if(chart.Primitives(), [](const CChartPrimitive& p) { return p.dash != 0; }), 0);
    // Without colours of their own the series take the automatic ones in turn.
    chart.ChartDefBegin();
    std::vector<int> automatic;
    for (int set = 0; set < 15; ++set)
        automatic.push_back(chart.ColorIndexFor(0, set, false));
    EXPECT_THAT(automatic, ElementsAre(9, 12, 10, 14, 11, 13, 1, 4, 2, 6, 3, 5, 8, 7, 9));
}

// Regression: the left corner label of a zoomed triangle, centred on the corner, lost its
// left half beyond the chart's edge.
TEST_F(ChartTest, DrawnTextsAreMovedInsideTheChart)
{
    chart.ChartDefBegin();
    chart.ChartDrawText(100.0, -20.0, 3, 0x112, 0, "20% KNaO, 10% CaO, 70% MgO"); // 520 units wide
    chart.ChartDrawText(1990.0, 990.0, 3, 0x00, 0, "right");
    chart.ChartDrawText(500.0, 500.0, 3, 0x02, 0, "inside");
    chart.ChartBeginSubArea(1000.0, 0.0, 1000.0, 500.0, 1000.0); // half a unit per sub-area unit
    chart.ChartDrawText(1900.0, 100.0, 3, 0x00, 0, "sub");
    const auto& drawn = chart.Primitives();
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_DOUBLE_EQ(drawn[0].left, 0.0);
    EXPECT_DOUBLE_EQ(drawn[0].bottom, 0.0);
    EXPECT_DOUBLE_EQ(drawn[1].left, 2000.0 - 100.0);
    EXPECT_DOUBLE_EQ(drawn[1].bottom, 1000.0 - lineHeight);
    EXPECT_DOUBLE_EQ(drawn[2].left, 500.0 - 60.0);
    EXPECT_DOUBLE_EQ(drawn[2].bottom, 500.0);
    EXPECT_DOUBLE_EQ(drawn[3].left + drawn[3].width, 2000.0);
}

TEST_F(ChartTest, DegenerateSizesRangesAndValuesDrawNoNaN)
{
    // No data at all, a range of one value, values that are not numbers.
    DefineBars(0, 1, {});
    EXPECT_TRUE(AllFinite(chart));
    chart.ChartDefBegin();
    chart.ChartSetData(2, 1, std::vector<double>{std::nan(""), INFINITY});
    chart.ChartSetAxisY(0x100 + 0x1C, 0, 0, 5.0, 5.0);
    chart.ChartSetKind(kChartBar, 0, 0x20);
    EXPECT_TRUE(AllFinite(chart));
    chart.ChartDefBegin();
    chart.ChartSetXData(2, std::vector<double>{2.0, 2.0});
    chart.ChartSetData(2, 1, std::vector<double>{7.0, 7.0});
    chart.ChartSetKind(kChartPoints, 0, 0x20);
    chart.ChartSetKind(kChartPie, 0, 0);
    chart.ChartSetKind(kChartArea, 0, 0x20);
    EXPECT_TRUE(AllFinite(chart));
    // A sub-area of no height, and a chart of one pixel.
    chart.ChartBeginSubArea(0.0, 0.0, 100.0, 0.0, 1000.0);
    chart.ChartDrawText(1.0, 1.0, 2, 0, 0, "x");
    chart.ChartDrawLine(0.0, 0.0, 1.0, 1.0, 1, 0, 0);
    EXPECT_TRUE(AllFinite(chart));
    CChart tiny{metrics, 0.0, 0.0, 1.0, 1.0, 1000.0};
    tiny.ChartDefBegin();
    tiny.ChartSetTitleA("A title far too wide for one pixel");
    tiny.ChartSetData(3, 1, std::vector<double>{1, 2, 3});
    tiny.ChartSetLegend(1, std::vector<std::string>{"legend"});
    tiny.ChartSetKind(kChartBar, 0, 0x20);
    tiny.ChartSetKind(kChartPie, 0x8000, 0);
    EXPECT_TRUE(AllFinite(tiny));
    // Bars with depth in a chart narrower than its margins have no room for it: a face each,
    // none of their top and side faces turned inside out.
    tiny.ChartSetDepth(1, 100, 0, 0);
    const std::size_t before = tiny.Primitives().size();
    tiny.ChartSetKind(kChartBar3D, 0, 0x20);
    EXPECT_EQ(std::count_if(tiny.Primitives().begin() + static_cast<std::ptrdiff_t>(before), tiny.Primitives().end(),
                            [](const CChartPrimitive& p) { return p.type == CChartPrimitive::Type::Polygon; }),
              3);
    EXPECT_TRUE(AllFinite(tiny));
}

} // namespace

TEST_F(ChartTest, AnUpwardValueAxisHasItsTicksOutsideOrAcross)
{
    const auto ticks = [this](int mode) {
        const std::size_t before = chart.Primitives().size();
        chart.ChartDrawValueAxis(100.0, 100.0, 300.0, 20.0, 3, mode);
        std::vector<std::vector<CChartPointD>> lines;
        for (std::size_t i = before + 1; i < chart.Primitives().size(); ++i)
            lines.push_back(chart.Primitives()[i].points);
        return lines;
    };
    // Outside: each tick runs from a tick length left of the axis to the axis, every 100 units up.
    EXPECT_THAT(ticks(4), ElementsAre(ElementsAre(CChartPointD{80.0, 100.0}, CChartPointD{100.0, 100.0}),
                                      ElementsAre(CChartPointD{80.0, 200.0}, CChartPointD{100.0, 200.0}),
                                      ElementsAre(CChartPointD{80.0, 300.0}, CChartPointD{100.0, 300.0}),
                                      ElementsAre(CChartPointD{80.0, 400.0}, CChartPointD{100.0, 400.0})));
    // Across: half a tick length on either side.
    EXPECT_THAT(LastItem(ticks(6)), ElementsAre(CChartPointD{90.0, 400.0}, CChartPointD{110.0, 400.0}));
    // A level axis (the limit formula charts' across ones), ticks inside: up from the axis.
    EXPECT_THAT(LastItem(ticks(1)), ElementsAre(CChartPointD{400.0, 100.0}, CChartPointD{400.0, 120.0}));
}

// Regression: the numbers of a value axis of its own stood a blank from the ticks of the one
// before, the two read as one row; where they could not, the axis showed no number at all. They
// keep a line's height (33.3 units) clear of what of another axis stands beside them; where they
// cannot stand across they stand turned upright, a line wide (20 units a character here).
TEST_F(ChartTest, ValueAxesSideBySideReadAsTwo)
{
    const std::string first[] = {"", "1.0", "2.0"}, second[] = {"", "5.0", "10.0"};
    // Each number drawn with its box' middle, rounded.
    using Drawn = std::vector<std::pair<std::string, CChartPointD>>;
    const auto axis = [this](double x, std::span<const std::string> numbers) {
        const std::size_t from = chart.Primitives().size();
        chart.ChartDrawValueAxis(x, 100.0, 300.0, 15.0, 2, 5); // ticks to the right, up to x + 15
        chart.ChartSetAxisPartB(x - 15.0, 100.0 + lineHeight / 2.0, 150.0, 3, 2, 0x14, numbers);
        Drawn drawn;
        for (std::size_t i = from; i < chart.Primitives().size(); ++i) {
            const CChartPrimitive& p = chart.Primitives()[i];
            if (p.type == CChartPrimitive::Type::Text)
                drawn.push_back({p.text, {std::round(p.left + p.width / 2.0), std::round((p.bottom + p.height / 2.0) * 10.0) / 10.0}});
        }
        return drawn;
    };
    // Numbers right edges 15 from their axis, at its ticks.
    EXPECT_EQ(axis(400.0, first), (Drawn{{"1.0", {355.0, 250.0}}, {"2.0", {355.0, 400.0}}}));
    // Its numbers would stand 25 from the ticks before (more than a blank, less than a line):
    // they stand turned upright, their right edges where they were, their middles at the ticks.
    EXPECT_EQ(axis(535.0, second), (Drawn{{"5.0", {503.0, 250.0}}, {"10.0", {503.0, 400.0}}}));
    // 65 clear of the ticks before.
    EXPECT_EQ(axis(690.0, first), (Drawn{{"1.0", {645.0, 250.0}}, {"2.0", {645.0, 400.0}}}));
    // Drawn after the axis to its right, an axis keeps clear of that one's numbers too: here its
    // own would touch them, turned too, and its far end stand beside the top one.
    EXPECT_EQ(axis(1200.0, first).size(), 2u);
    EXPECT_EQ(axis(1140.0, second), Drawn{});
}

// Category labels wrapped to many lines may take most of the height; the plot keeps what they leave.
TEST_F(ChartTest, WrappedLabelsLeaveThePlotTheRestOfTheHeight)
{
    std::string label = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    for (int line = 1; line < 24; ++line)
        label += " WWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    const std::string labels[] = {label, label, label};
    chart.ChartDefBegin();
    chart.ChartSetData(3, 1, std::vector<double>{10.0, 20.0, 30.0});
    chart.ChartSetPointLabels(3, labels);
    chart.ChartSetKind(kChartBar, 0, 0x20);
    EXPECT_THAT(Layout({5}), ElementsAre(102.667)); // 24 lines of 33.33 units below it
}

// Labels of thin slices at six o'clock stack up from the foot of the region, none below it.
TEST_F(ChartTest, PieLabelsCrowdedAtTheFootStayInsideTheRegion)
{
    std::vector<double> values{75.0};
    std::vector<std::string> labels{"Big"};
    for (int i = 0; i < 10; ++i) {
        values.push_back(0.5);
        labels.push_back("T" + std::to_string(i));
    }
    values.push_back(20.0);
    labels.push_back("Rest");
    chart.ChartDefBegin();
    chart.ChartSetData(12, 1, values);
    chart.ChartSetPointLabels(12, labels);
    chart.ChartSetKind(kChartPie, 0x8000, 0);
    double lowest = 1e9;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text)
            lowest = std::min(lowest, ItemAt(p.points, 0).y);
    }
    // The lowest label's top is a line above the margin of 20 units: its foot stands on the margin.
    EXPECT_NEAR(lowest, 20.0 + lineHeight, 1e-3);
}
