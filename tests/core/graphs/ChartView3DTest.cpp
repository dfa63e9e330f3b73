#include "graphs/ChartView3D.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "graphs/ChartDefinition.h"
#include "graphs/ChartPalette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>
#include <utility>

namespace {

CChartDefinition View(int mode, int rotation, int elevation)
{
    CChartDefinition def;
    def.viewMode = mode;
    def.rotation = rotation;
    def.elevation = elevation;
    return def;
}

double Aspect(const CChartView3D& view)
{
    const CChartRect box = view.Bounds();
    return box.Width() / box.Height();
}

TEST(ChartView3D, TheBoxSeenFromTheFrontTheSideAndAbove)
{
    // A box 1 wide, 0.6 high and 0.3 deep.
    EXPECT_NEAR(Aspect(CChartView3D(View(0, 0, 0), 1.0, 0.6, 0.3)), 1.0 / 0.6, 1e-9);
    EXPECT_NEAR(Aspect(CChartView3D(View(0, 90, 0), 1.0, 0.6, 0.3)), 0.3 / 0.6, 1e-9);
    EXPECT_NEAR(Aspect(CChartView3D(View(0, -180, 90), 1.0, 0.6, 0.3)), 1.0 / 0.3, 1e-9);
    // Turned 20 degrees and seen from 10 above: the right side, the top and the front show.
    const CChartView3D view(View(0, 20, 10), 1.0, 0.6, 0.3);
    EXPECT_TRUE(view.Faces({1, 0, 0}));
    EXPECT_TRUE(view.Faces({0, 1, 0}));
    EXPECT_TRUE(view.Faces({0, 0, -1}));
    EXPECT_FALSE(view.Faces({-1, 0, 0}));
    EXPECT_TRUE(CChartView3D(View(0, 20, -10), 1.0, 0.6, 0.3).Faces({0, -1, 0}));
    // The back is farther than the front; perspective makes the back face smaller.
    EXPECT_GT(view.Depth({0.5, 0.5, 1.0}), view.Depth({0.5, 0.5, 0.0}));
    CChartView3D near(View(1, 0, 0), 1.0, 0.6, 0.3);
    near.Fit({0.0, 0.0, 1000.0, 600.0});
    const double front = near.Project({1, 0, 0}).x - near.Project({0, 0, 0}).x;
    const double back = near.Project({1, 0, 1}).x - near.Project({0, 0, 1}).x;
    EXPECT_GT(front, back);
    // Fitted, the picture fills the region's width or height, centred.
    const CChartRect box = near.Bounds();
    EXPECT_NEAR(box.CenterX(), 500.0, 1e-6);
    EXPECT_NEAR(box.CenterY(), 300.0, 1e-6);
    EXPECT_TRUE(std::abs(box.Width() - 1000.0) < 1e-6 || std::abs(box.Height() - 600.0) < 1e-6);
}

// How wide a marker of a 3-D point chart stands against the picture of its box (its walls).
double MarkerToBox(const CChart& chart)
{
    double left = HUGE_VAL, right = -HUGE_VAL;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Polygon && p.color == CColor(240, 240, 240)) {
            left = std::min(left, p.left);
            right = std::max(right, p.left + p.width);
        }
    }
    const std::vector<const CChartPrimitive*> markers = CellPrimitives(chart);
    return markers.empty() ? 0.0 : markers.front()->width / (right - left);
}

// Every data cell of a 3-D pie, bar or point chart is drawn (and answers a click) at any
// rotation and elevation, with or without perspective, inside the chart. In a narrow chart, the
// markers keep to the box as they stand to it where the chart's height sizes both (at 240 x 760
// they were sized by the height alone, some 20 pixels over a box of 50).
TEST(ChartView3D, PiesBarsAndPointsAtAnyRotationAndElevation)
{
    CFakeChartMetrics metrics;
    struct Kind {
        int kind;
        int sets;
        int options;
        double width = 600.0;
        double height = 300.0;
    };
    for (const Kind& k : {Kind{kChartPie3D, 1, 0x8000}, Kind{kChartBarTrue3D, 2, 0x0C}, Kind{kChartBar3D, 2, 0},
                          Kind{kChartBarTrue3D, 2, 0x2000}, Kind{kChartPoints3D, 2, 0x20C},
                          Kind{kChartPoints3D, 2, 0x20C, 240.0, 760.0}}) {
        for (int rotation : {-180, 0, 180}) {
            for (int elevation : {-90, 0, 90}) {
                for (int mode : {0, 7}) {
                    const auto define = [&](CChart& chart) {
                        chart.ChartDefBegin();
                        chart.ChartSetTitleA("3-D");
                        chart.ChartSetData(3, k.sets, std::vector<double>{1.0, 2.0, 3.0, 0.5, 2.5, 1.5});
                        chart.ChartSetXData(6, std::vector<double>{1.0, 4.0, 2.0, 3.0, 5.0, 0.5});
                        chart.ChartSetZData(6, std::vector<double>{0.2, 0.9, 0.4, 0.1, 0.7, 0.5});
                        chart.ChartSetPointLabels(3, std::vector<std::string>{"A", "B", "C"});
                        chart.ChartSetColors(2, std::vector<int>{12, 9});
                        chart.ChartSetView(mode, rotation, elevation, 0);
                        chart.ChartSetDepth(7, 100, 50, 50);
                        chart.ChartSetKind(k.kind, k.options, 0x20);
                    };
                    CChart chart(metrics, 0.0, 0.0, k.width, k.height, 1000.0);
                    define(chart);
                    std::set<std::pair<int, int>> cells;
                    for (const CChartPrimitive* p : CellPrimitives(chart))
                        cells.insert({p->column, p->row});
                    const std::string where = std::to_string(k.kind) + " at " + std::to_string(rotation) + ", " +
                                              std::to_string(elevation) + " mode " + std::to_string(mode);
                    EXPECT_EQ(cells.size(), 3u * k.sets) << where;
                    // Boxes seen from above show their tops alone, lit; from below their bottoms, shaded.
                    for (const CChartPrimitive* p : CellPrimitives(chart)) {
                        if (k.kind == kChartBarTrue3D && std::abs(elevation) == 90) {
                            EXPECT_EQ(p->color, ShadeColor(GraphPaletteColor(p->column ? 9 : 12), elevation > 0 ? 1.3 : 0.6))
                                << where;
                        }
                    }
                    if (k.kind == kChartPoints3D) {
                        CChart wide(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
                        define(wide);
                        // ... down to three pixels, where a symbol still shows.
                        const double pixels = CellPrimitives(chart).front()->width * chart.PixelsPerUnit();
                        EXPECT_TRUE(MarkerToBox(chart) <= MarkerToBox(wide) * 1.05 || pixels <= 3.0 + 1e-9)
                            << where << ": " << MarkerToBox(chart) << " against " << MarkerToBox(wide);
                        EXPECT_GE(pixels, 3.0 - 1e-9) << where;
                    }
                    for (const CChartPrimitive& p : chart.Primitives()) {
                        EXPECT_GE(p.left, -1e-6) << where;
                        EXPECT_GE(p.bottom, -1e-6) << where;
                        EXPECT_LE(p.left + p.width, chart.ChartGetWidth() + 1e-6) << where;
                        EXPECT_LE(p.bottom + p.height, chart.ChartGetHeight() + 1e-6) << where;
                    }
                }
            }
        }
    }
}

// A 3-D scatter labels each axis from its first tick to its last, but for a label that would
// come within a blank of another axis' where the two meet at a corner of the box (the feet of
// the upright and the depth axis, at the ends of the axis across, stood over its "0" and "4").
TEST(ChartView3D, AThreeDimensionalScatterLabelsEachAxisToItsEnd)
{
    CFakeChartMetrics metrics;
    CChart chart(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartSetData(2, 1, std::vector<double>{1.0, 2.0});
    chart.ChartSetXData(2, std::vector<double>{1.0, 3.0});
    chart.ChartSetZData(2, std::vector<double>{2.0, 1.0});
    chart.ChartSetAxisX(0x200 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetAxisY(0x100 + 0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetAxisZ(0x1C, 4, 0, 4.0, 0.0);
    chart.ChartSetKind(kChartPoints3D, 0, 0x20);
    EXPECT_EQ(DrawnTexts(chart),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "1", "2", "3", "4", "1", "2", "3", "4"}));
    // The level grid lines on the walls come with the up grid (option 8) only.
    const auto lines = [&chart](int options) {
        const std::size_t before = chart.Primitives().size();
        chart.ChartSetKind(kChartPoints3D, options, 0x20);
        return std::count_if(chart.Primitives().begin() + static_cast<std::ptrdiff_t>(before), chart.Primitives().end(),
                             [](const CChartPrimitive& p) { return p.type == CChartPrimitive::Type::Polyline; });
    };
    EXPECT_GT(lines(8), lines(0));
}

// Regression: thousands of glazes put true 3-D boxes rows of a fraction of a pixel deep, which show
// as their outlines alone, and the outlines answered no click: seen side-on, most points of the
// bars a user sees answered nothing. Every point where a drawn bar's fill or outline lies answers a
// cell, whichever boxes were left out as covered.
TEST(ChartView3D, EveryPointOnADrawnTrueThreeDimensionalBarAnswersACell)
{
    CFakeChartMetrics metrics;
    struct CSeen {
        int rotation;
        int items;
        int glazes;
    };
    // Side-on, 30 items of 4,500 glazes make every box a piece of its own, boxes less than two
    // pixels across, more than the cover takes in at one round (8 x 16,384).
    for (const CSeen seen : {CSeen{-90, 3, 3000}, CSeen{20, 3, 3000}, CSeen{-90, 30, 4500}}) {
        const int rotation = seen.rotation;
        std::vector<CChartValueAt> values;
        for (int glaze = 0; glaze < seen.glazes; ++glaze) {
            for (int item = 0; item < seen.items; ++item)
                values.push_back({item, glaze, 2.0 + (item * 5 + glaze / 7 * 3) % 11});
        }
        CChart chart(metrics, 0.0, 0.0, 400.0, 250.0, 1000.0);
        chart.ChartDefBegin();
        chart.ChartSetSparseData(seen.items, seen.glazes, values);
        chart.ChartSetView(7, rotation, 10, 0);
        chart.ChartSetDepth(7, 100, 50, 50);
        chart.ChartSetKind(kChartBarTrue3D, 0, 0x20);
        const std::vector<const CChartPrimitive*> faces = CellPrimitives(chart);
        ASSERT_GT(faces.size(), 1000u);
        // Some 250 faces: each one's corners and the middles of its edges, inside its outline
        // but outside its fill, 0.45 pixels out from the face's centre.
        int points = 0, unanswered = 0;
        for (std::size_t i = 0; i < faces.size(); i += faces.size() / 250) {
            const std::vector<CChartPointD>& corners = faces[i]->points;
            CChartPointD centre;
            for (const CChartPointD& c : corners)
                centre = {centre.x + c.x / corners.size(), centre.y + c.y / corners.size()};
            for (std::size_t k = 0; k < corners.size(); ++k) {
                const CChartPointD& a = corners[k];
                const CChartPointD& b = corners[(k + 1) % corners.size()];
                for (const CChartPointD at : {a, CChartPointD{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0}}) {
                    const double x = chart.UnitsToPixelsX(at.x), y = chart.UnitsToPixelsY(at.y);
                    const double outX = x - chart.UnitsToPixelsX(centre.x), outY = y - chart.UnitsToPixelsY(centre.y);
                    const double out = std::hypot(outX, outY);
                    const double step = out > 0.0 ? 0.45 / out : 0.0;
                    ++points;
                    unanswered += chart.HitTest(x + outX * step, y + outY * step).kind == CChartPrimitive::kHitCell ? 0 : 1;
                }
            }
        }
        EXPECT_EQ(unanswered, 0) << "of " << points << " points at rotation " << rotation << " of " << seen.glazes << " glazes";
    }
}

// Regression: boxes were drawn in the order of the depths of their middles, so a tall box a row
// behind a short one, its middle higher and so nearer the eye seen from above, was drawn after
// it and hid it: the short glaze's bar stood behind the tall one, and a click on it answered the
// tall one. Boxes are drawn in the order of their footprints, whatever their heights: a click in
// the middle of the nearest bar answers its glaze, seen from the front or behind, above or below.
TEST(ChartView3D, ANearBarStandsBeforeTheTallerBarsBehindIt)
{
    CFakeChartMetrics metrics;
    constexpr int kGlazes = 24;
    struct CSeen {
        int rotation;
        int elevation;
        int nearest; // glaze
    };
    for (const CSeen& seen : {CSeen{20, 10, 0}, CSeen{-20, 30, 0}, CSeen{20, -10, 0}, CSeen{160, 10, kGlazes - 1}}) {
        // Every other glaze short, the nearest among them.
        std::vector<CChartValueAt> values;
        for (int glaze = 0; glaze < kGlazes; ++glaze)
            values.push_back({0, glaze, glaze % 2 == seen.nearest % 2 ? 2.0 : 10.0});
        CChart chart(metrics, 0.0, 0.0, 400.0, 250.0, 1000.0);
        chart.ChartDefBegin();
        chart.ChartSetSparseData(1, kGlazes, values);
        chart.ChartSetView(7, seen.rotation, seen.elevation, 0);
        chart.ChartSetDepth(7, 100, 50, 50);
        chart.ChartSetKind(kChartBarTrue3D, 0, 0x20);
        CChartPointD middle;
        int corners = 0;
        for (const CChartPrimitive* face : CellPrimitives(chart)) {
            if (face->column != seen.nearest)
                continue;
            for (const CChartPointD& p : face->points) {
                middle = {middle.x + p.x, middle.y + p.y};
                ++corners;
            }
        }
        ASSERT_GT(corners, 0) << seen.rotation << " " << seen.elevation;
        const CChartHit hit =
            chart.HitTest(chart.UnitsToPixelsX(middle.x / corners), chart.UnitsToPixelsY(middle.y / corners));
        EXPECT_EQ(hit.kind, CChartPrimitive::kHitCell) << seen.rotation << " " << seen.elevation;
        EXPECT_EQ(hit.column, seen.nearest) << seen.rotation << " " << seen.elevation;

        // The same glazes side by side in one row: each short bar's end face shows whole, its side
        // over the taller bar behind it, and answers a click anywhere across it.
        std::vector<double> heights;
        for (const CChartValueAt& v : values)
            heights.push_back(v.value);
        CChart row(metrics, 0.0, 0.0, 400.0, 250.0, 1000.0);
        row.ChartDefBegin();
        row.ChartSetData(kGlazes, 1, heights);
        row.ChartSetColors(1, std::vector<int>{12});
        row.ChartSetView(7, seen.rotation, seen.elevation, 0);
        row.ChartSetDepth(7, 100, 50, 50);
        row.ChartSetKind(kChartBarTrue3D, 0, 0x20);
        int shortBars = 0;
        for (const CChartPrimitive* face : CellPrimitives(row)) {
            if (heights[static_cast<std::size_t>(face->row)] > 2.0 || face->color != GraphPaletteColor(12))
                continue;
            ++shortBars; // its end face: corners from the lower left, round
            const std::vector<CChartPointD>& c = face->points;
            for (const double across : {0.1, 0.5, 0.9}) {
                const double x = (c[0].x + c[3].x) / 2.0 + across * ((c[1].x + c[2].x) - (c[0].x + c[3].x)) / 2.0;
                const double y = (c[0].y + c[3].y) / 2.0 + across * ((c[1].y + c[2].y) - (c[0].y + c[3].y)) / 2.0;
                EXPECT_EQ(row.HitTest(row.UnitsToPixelsX(x), row.UnitsToPixelsY(y)).row, face->row)
                    << seen.rotation << " " << seen.elevation << " across " << across;
            }
        }
        EXPECT_EQ(shortBars, kGlazes / 2) << seen.rotation << " " << seen.elevation;
    }
}

// Stacked boxes share their footprint: the one nearer the eye is drawn after the other, the upper
// seen from above, the lower from below, so that where one's top or bottom meets the other the
// nearer one shows and answers a click.
TEST(ChartView3D, StackedBoxesShowTheOneNearerTheEyeWhereTheyMeet)
{
    CFakeChartMetrics metrics;
    for (const int elevation : {10, -10}) {
        CChart chart(metrics, 0.0, 0.0, 400.0, 250.0, 1000.0);
        chart.ChartDefBegin();
        const std::vector<double> values = {5.0, 5.0};
        chart.ChartSetData(1, 2, values);
        chart.ChartSetView(7, 20, elevation, 0);
        chart.ChartSetDepth(7, 100, 50, 50);
        chart.ChartSetKind(kChartBarTrue3D, 0x2000, 0x20);
        // Where they meet: the lower box's top face seen from above, the upper's bottom face from
        // below (the face of the farther box whose middle lies nearest the other box).
        const int farther = elevation > 0 ? 0 : 1, nearer = 1 - farther;
        CChartPointD meeting{0.0, elevation > 0 ? -HUGE_VAL : HUGE_VAL};
        for (const CChartPrimitive* face : CellPrimitives(chart)) {
            if (face->column != farther)
                continue;
            CChartPointD middle;
            for (const CChartPointD& p : face->points)
                middle = {middle.x + p.x / face->points.size(), middle.y + p.y / face->points.size()};
            if (elevation > 0 ? middle.y > meeting.y : middle.y < meeting.y)
                meeting = middle;
        }
        const CChartHit hit = chart.HitTest(chart.UnitsToPixelsX(meeting.x), chart.UnitsToPixelsY(meeting.y));
        EXPECT_EQ(hit.column, nearer) << elevation;
    }
}

// Category names too wide to stand side by side under true 3-D bars stand upright, whole while
// they take less than 0.4 of the chart's height; a longer one keeps as much as fits there.
TEST(ChartView3D, CategoryNamesTooWideForTheirPlacesStandUpright)
{
    CFakeChartMetrics metrics; // 20 units a character
    std::vector<std::string> names = {"Potash feldspar", "Whiting", "Silica 325 mesh", "Talc", "Dolomite",
                                      "Wollastonite", "Zinc oxide", "Frit 3134", "Bone ash", "Rutile",
                                      "Kaolin from the old quarry behind the works"};
    CChart chart(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartSetData(static_cast<int>(names.size()), 1, std::vector<double>(names.size(), 1.0));
    chart.ChartSetPointLabels(static_cast<int>(names.size()), names);
    chart.ChartSetView(0, 0, 0, 0);
    chart.ChartSetDepth(7, 100, 50, 50);
    chart.ChartSetKind(kChartBarTrue3D, 0, 0x20);
    std::vector<std::string> upright;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text && p.angle == 90)
            upright.push_back(p.text);
    }
    const std::string shortened = "Kaolin from the ...";
    names.back() = shortened;
    EXPECT_EQ(upright, names);

    // Regression: the names of hundreds of materials were all drawn over one another, a black
    // band (stacked beside a turned box too); and thinned by places, the empty places between
    // groups taking turns, limit charts left limits unnamed that had room. Names too many to stand
    // apart are thinned: each drawn clear of the last (their boxes within half a pixel), with less
    // than a line between them (no more left out than need be), every k-th where they stand evenly.
    struct CCrowd {
        int kind;
        int options;
        int rotation;
        int elevation;
        const char* what;
    };
    const double slack = 0.5 / 0.3; // half a pixel in units of a 600 x 300 chart
    for (const CCrowd& crowd : {CCrowd{kChartBar, 0, 20, 10, "bars"}, CCrowd{kChartBar, 0x800, 20, 10, "lying bars"},
                                CCrowd{kChartBarTrue3D, 0, 20, 10, "true 3-D bars"},
                                CCrowd{kChartBarTrue3D, 0, 70, 30, "turned true 3-D bars, names stacked"}}) {
        for (const bool gaps : {false, true}) {
            const std::string what = std::string(crowd.what) + (gaps ? ", empty places between groups" : "");
            std::vector<std::string> many;
            for (int k = 0; k < 300; ++k)
                many.push_back(gaps && (k % 7 == 3 || k % 11 == 5) ? std::string() : "M" + std::to_string(k));
            CChart crowded(metrics, 0.0, 0.0, 600.0, 300.0, 1000.0);
            crowded.ChartDefBegin();
            crowded.ChartSetData(300, 1, std::vector<double>(300, 1.0));
            crowded.ChartSetPointLabels(300, many);
            crowded.ChartSetView(0, crowd.rotation, crowd.elevation, 0);
            crowded.ChartSetKind(crowd.kind, crowd.options, 0x20);
            std::vector<const CChartPrimitive*> drawn;
            for (const CChartPrimitive& p : crowded.Primitives()) {
                if (p.type == CChartPrimitive::Type::Text && p.text.starts_with("M"))
                    drawn.push_back(&p);
            }
            ASSERT_GE(drawn.size(), 5u) << what;
            const int step = std::stoi(drawn[1]->text.substr(1));
            EXPECT_GE(step, 2) << what;
            for (std::size_t i = 1; i < drawn.size(); ++i) {
                const CChartPrimitive& a = *drawn[i - 1];
                const CChartPrimitive& b = *drawn[i];
                // Upright names stand side by side, the others one above another.
                const bool upright = b.angle == 90;
                const double gap = upright ? b.left - (a.left + a.width) : a.bottom - (b.bottom + b.height);
                EXPECT_GE(gap, -slack) << what << " " << b.text;
                EXPECT_LT(gap, upright ? b.width : b.height) << what << " " << b.text;
                if (!gaps) {
                    EXPECT_EQ(b.text, "M" + std::to_string(i * step)) << what;
                }
            }
        }
    }
}

// Seen from the front, the up grid alone is level lines across the back wall; the across grid
// alone is upright lines there and the floor's lines, which show as level ones.
TEST(ChartView3D, TheUpGridIsLevelAndTheAcrossGridUpright)
{
    CFakeChartMetrics metrics;
    CChartView3D view(View(0, 0, 0), 1.0, 1.0, 1.0);
    view.Fit({0.0, 0.0, 1000.0, 1000.0});
    CChartAxis3D axes[3];
    for (int d = 0; d < 3; ++d) {
        axes[d].direction = d;
        axes[d].ticks = {0.0, 0.5, 1.0};
    }
    const auto lines = [&](bool across, bool up) {
        CChart chart(metrics, 0.0, 0.0, 1000.0, 1000.0, 1000.0);
        DrawChartCage(chart, view, axes, false, across, up);
        std::set<std::pair<bool, bool>> shapes; // (level, upright) of each line of some length
        for (const CChartPrimitive& p : chart.Primitives()) {
            if (p.type != CChartPrimitive::Type::Polyline || p.width + p.height < 1.0)
                continue;
            const CChartPointD& a = ItemAt(p.points, 0);
            const CChartPointD& b = ItemAt(p.points, 1);
            shapes.insert({std::abs(a.y - b.y) < 1e-6, std::abs(a.x - b.x) < 1e-6});
        }
        return shapes;
    };
    EXPECT_EQ(lines(false, true), (std::set<std::pair<bool, bool>>{{true, false}}));
    EXPECT_EQ(lines(true, false), (std::set<std::pair<bool, bool>>{{false, true}, {true, false}}));
    // Ticks at the walls' ends draw no grid line over their edges: one line for each of 3 walls and 2 directions.
    CChart chart(metrics, 0.0, 0.0, 1000.0, 1000.0, 1000.0);
    DrawChartCage(chart, view, axes, false, true, true);
    EXPECT_EQ(std::ranges::count_if(chart.Primitives(), [](const CChartPrimitive& p) {
                  return p.type == CChartPrimitive::Type::Polyline;
              }), 6);
    // Without the cage flipping, the walls are the left one, the floor and the back one, seen
    // from any side.
    CChartView3D turned(View(0, 30, 20), 1.0, 1.0, 1.0);
    turned.Fit({0.0, 0.0, 1000.0, 1000.0});
    CChart cage(metrics, 0.0, 0.0, 1000.0, 1000.0, 1000.0);
    DrawChartCage(cage, turned, axes, false, true, true);
    std::vector<std::vector<CChartPointD>> walls;
    for (const CChartPrimitive& p : cage.Primitives()) {
        if (p.type == CChartPrimitive::Type::Polygon)
            walls.push_back(p.points);
    }
    const auto corners = [&turned](int d, double at) {
        std::vector<CChartPointD> points;
        for (const auto& [a, b] : {std::pair{0.0, 0.0}, std::pair{1.0, 0.0}, std::pair{1.0, 1.0}, std::pair{0.0, 1.0}}) {
            CChartPoint3D p{};
            p.x = d == 0 ? at : a;
            p.y = d == 1 ? at : d == 0 ? a : b;
            p.z = d == 2 ? at : b;
            points.push_back(turned.Project(p));
        }
        return points;
    };
    ASSERT_EQ(walls.size(), 3u);
    for (int d = 0; d < 3; ++d) {
        ASSERT_EQ(walls[static_cast<std::size_t>(d)].size(), 4u);
        std::vector<CChartPointD> expected = corners(d, d == 2 ? 1.0 : 0.0);
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(walls[static_cast<std::size_t>(d)][k].x, expected[k].x, 1e-6) << d << " " << k;
            EXPECT_NEAR(walls[static_cast<std::size_t>(d)][k].y, expected[k].y, 1e-6) << d << " " << k;
        }
    }
}

// In perspective the eye stands 1.6 box diagonals from the box's centre at eye 100 and 0.06 more
// for each step less: the front and back of the box shrink in the ratio of their distances.
TEST(ChartView3D, TheEyeSettingSetsTheDistanceOfThePerspective)
{
    const double diagonal = std::sqrt(1.0 + 0.36 + 0.09);
    for (int eye : {0, 40, 100}) {
        CChartDefinition def = View(1, 0, 0);
        def.eye = eye;
        CChartView3D view(def, 1.0, 0.6, 0.3);
        view.Fit({0.0, 0.0, 1000.0, 600.0});
        const double front = view.Project({1, 0, 0}).x - view.Project({0, 0, 0}).x;
        const double back = view.Project({1, 0, 1}).x - view.Project({0, 0, 1}).x;
        const double distance = diagonal * (1.6 + 0.06 * (100 - eye));
        EXPECT_NEAR(front / back, (distance + 0.15) / (distance - 0.15), 1e-9) << eye;
    }
}

} // namespace
