// Bars in a true 3-D box, seen from the chart's rotation and elevation: the categories run
// across, the values up, and the sets of side-by-side bars stand in rows one behind the other
// (stacked and floating bars make one row). Lying bars keep the 3-D look of flat bars.

#include "graphs/ChartBoxCover.h"
#include "graphs/ChartDrawing.h"
#include "graphs/ChartThreads.h"
#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// A box whose depth pictures shorter than this many pixels (rows of a hundred thousand glazes)
// has a side and a top no wider than that: slivers lying wholly inside the one-pixel outline of
// its own front, which is drawn after them. Such a box draws its front (or back) alone, a third
// of the polygons.
constexpr double kSlimRowPixels = kThinBarPixels / 16.0;

constexpr double kBoxHeight = 0.6; // of the box's width
constexpr double kRowDepth = 0.15; // one row's depth at thickness 100 %, of the box's width

struct CBox {
    CBar bar;
    CChartPoint3D low;
    CChartPoint3D high;
};

// Where bars stand as boxes in the view's unit cube: category across, value up, row (set) deep.
struct CBoxPlaces {
    int count = 1;
    int rows = 1;
    double xGap = 0.0;
    double zGap = 0.0;
    CChartScale scale;

    CBox Of(const CBar& bar) const
    {
        const int row = rows == 1 ? 0 : bar.set;
        const double y0 = std::clamp(scale.Fraction(std::min(bar.v0, bar.v1)), 0.0, 1.0);
        const double y1 = std::clamp(scale.Fraction(std::max(bar.v0, bar.v1)), 0.0, 1.0);
        return {bar, {(bar.point + xGap) / count, y0, (row + zGap) / rows},
                {(bar.point + 1.0 - xGap) / count, y1, (row + 1.0 - zGap) / rows}};
    }
};

double Get(const CChartPoint3D& p, int direction) { return direction == 0 ? p.x : direction == 1 ? p.y : p.z; }
void Set(CChartPoint3D& p, int direction, double value) { (direction == 0 ? p.x : direction == 1 ? p.y : p.z) = value; }

// The faces turned to the eye, shaded as if lit from above and the front (with `slim` only the
// front or back face, where it shows), added to faces.
void DrawBox(const CChart& chart, const CChartView3D& view, const CBox& box, bool perPoint, bool slim,
             std::vector<CChartPrimitive>& faces)
{
    const CColor color = chart.PaletteColor(chart.ColorIndexFor(box.bar.point, box.bar.set, perPoint));
    const int pattern = chart.PatternFor(box.bar.point, box.bar.set, perPoint);
    const CColor edge = pattern == kChartPatternHollow ? color : ShadeColor(color, 0.45);
    static constexpr double kShades[3] = {0.75, 1.3, 1.0}; // sides, top and bottom, front and back
    const bool endShows = view.Faces({0.0, 0.0, -1.0}) || view.Faces({0.0, 0.0, 1.0});
    std::vector<CChartPointD> face; // one face's corners at a time, its room kept
    for (int d = slim && endShows ? 2 : 0; d < 3; ++d) {
        for (int side = 0; side < 2; ++side) {
            CChartPoint3D normal;
            Set(normal, d, side ? 1.0 : -1.0);
            if (!view.Faces(normal))
                continue;
            const int a = d == 0 ? 1 : 0, b = d == 2 ? 1 : 2;
            face.clear();
            constexpr int kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (const auto& corner : kCorners) {
                CChartPoint3D p = side ? box.high : box.low;
                Set(p, a, Get(corner[0] ? box.high : box.low, a));
                Set(p, b, Get(corner[1] ? box.high : box.low, b));
                face.push_back(view.Project(p));
            }
            const double shade = d == 1 && side == 0 ? 0.6 : kShades[d];
            faces.push_back(chart.MakePolygon(face, ShadeColor(color, shade), pattern, edge, 1.0,
                                              CChartPrimitive::kHitCell, box.bar.set, box.bar.point));
        }
    }
}

// The longest picture, across and up, of a step from any corner of the box.
CChartPointD PictureStep(const CChartView3D& view, const CChartPoint3D& step)
{
    CChartPointD longest;
    for (int corner = 0; corner < 8; ++corner) {
        const CChartPoint3D from{static_cast<double>(corner & 1), static_cast<double>((corner >> 1) & 1),
                                 static_cast<double>((corner >> 2) & 1)};
        const CChartPointD a = view.Project(from);
        const CChartPointD b = view.Project({from.x + step.x, from.y + step.y, from.z + step.z});
        longest.x = std::max(longest.x, std::fabs(b.x - a.x));
        longest.y = std::max(longest.y, std::fabs(b.y - a.y));
    }
    return longest;
}

// Boxes are taken in depth order, far from the order of their bars: each bar is fetched this
// many boxes ahead, so that a hundred thousand glazes do not wait on memory for every box.
constexpr std::size_t kAhead = 16;
// The boxes whose faces one thread makes at a time.
constexpr std::size_t kBoxesPerPart = 16384;

// Boxes whose picture is narrower than this (many categories) may be covered by the boxes of their
// neighbours together, column by column (CChartBoxCover).
constexpr double kNarrowFacePixels = 2.0;

// The front or back face of a box, the face a slim box draws alone, left corners first.
struct CEndFace {
    CChartPointD foot[2];
    CChartPointD head[2]; // above the foot of the same side
};

CEndFace EndFaceOf(const CChartView3D& view, const CBox& box, bool frontShows)
{
    const double z = frontShows ? box.low.z : box.high.z;
    CEndFace face{{view.Project({box.low.x, box.low.y, z}), view.Project({box.high.x, box.low.y, z})},
                  {view.Project({box.low.x, box.high.y, z}), view.Project({box.high.x, box.high.y, z})}};
    if (face.foot[0].x > face.foot[1].x) { // seen from behind
        std::swap(face.foot[0], face.foot[1]);
        std::swap(face.head[0], face.head[1]);
    }
    return face;
}

// The picture a box draws, in pixels: the bounds of its end face alone, or of every corner; with
// the rectangle inside its end face.
CCoverPicture PictureOf(const CChartView3D& view, const CBox& box, bool endAlone, bool frontShows, double pixels)
{
    const CEndFace face = EndFaceOf(view, box, frontShows);
    CChartRect bounds{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    const auto add = [&bounds](const CEndFace& end) {
        for (const CChartPointD& p : {end.foot[0], end.foot[1], end.head[0], end.head[1]}) {
            bounds = {std::min(bounds.left, p.x), std::min(bounds.bottom, p.y), std::max(bounds.right, p.x),
                      std::max(bounds.top, p.y)};
        }
    };
    add(face);
    if (!endAlone)
        add(EndFaceOf(view, box, !frontShows));
    const CChartRect inner{std::max(face.foot[0].x, face.head[0].x), std::max(face.foot[0].y, face.foot[1].y),
                           std::min(face.foot[1].x, face.head[1].x), std::min(face.head[0].y, face.head[1].y)};
    const auto scaled = [pixels](const CChartRect& r) {
        return CChartRect{r.left * pixels, r.bottom * pixels, r.right * pixels, r.top * pixels};
    };
    return {scaled(bounds), scaled(inner)};
}

// For side-by-side boxes in drawing order, true for each box that later boxes cover whole
// (CChartBoxCover); drawing them all costs seconds with a hundred thousand glazes. Hollow boxes
// show what lies behind them, so they cover nothing. Only narrow boxes are left out.
std::vector<bool> CoveredBoxes(const CChart& chart, const CChartView3D& view, const std::vector<CBar>& bars,
                               const std::vector<std::uint32_t>& order, const CBoxPlaces& places, bool perPoint,
                               bool endAlone)
{
    std::vector<bool> covered(order.size(), false);
    if (order.empty())
        return covered;
    const double pixels = chart.CurrentArea().unitScale * chart.PixelsPerUnit();
    const CBox any = places.Of(bars[order.front()]); // all boxes are of one size
    const double across = PictureStep(view, {any.high.x - any.low.x, 0.0, 0.0}).x +
                          PictureStep(view, {0.0, 0.0, any.high.z - any.low.z}).x;
    if (across * pixels >= kNarrowFacePixels)
        return covered;
    const CChartRect bounds = view.Bounds();
    CChartBoxCover cover(bounds.left * pixels, bounds.right * pixels);
    const bool frontShows = view.Faces({0.0, 0.0, -1.0});
    for (std::size_t i = order.size(); i-- > 0;) {
        if (i >= kAhead)
            __builtin_prefetch(&bars[order[i - kAhead]]);
        const CBox box = places.Of(bars[order[i]]);
        const bool hides = chart.PatternFor(box.bar.point, box.bar.set, perPoint) != kChartPatternHollow;
        covered[i] = cover.Covered(PictureOf(view, box, endAlone, frontShows, pixels), hides);
    }
    return covered;
}

// The indexes of the boxes, the farthest first, so that nearer boxes cover farther ones: by the
// depth of their footprints, then (boxes stacked on one footprint) of their middles where given,
// equal ones in their own order. Boxes stand on a grid of footprints, so the order of the
// footprints is the order of the boxes however tall each is: ordered by their middles, a tall box
// a row behind a short one was drawn over it. Sorted by the depths made whole numbers, a digit at
// a time: a chart of many thousand glazes sorts hundreds of thousands of boxes.
std::vector<std::uint32_t> FarthestFirst(const std::vector<double>& footprints, const std::vector<double>& middles)
{
    struct CKey {
        std::uint32_t bits;
        std::uint32_t index;
    };
    std::vector<CKey> keys(footprints.size()), sorted(footprints.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i].index = static_cast<std::uint32_t>(i);
    constexpr int kDigitBits = 16;
    std::vector<std::size_t> starts(std::size_t{1} << kDigitBits);
    // The lesser key first, then the greater: each pass keeps the order of the keys it finds equal.
    for (const std::vector<double>* depths : {&middles, &footprints}) {
        if (depths->size() != keys.size() || keys.empty())
            continue;
        // Whole numbers that run up as the depth runs down, some billions to the depths' range:
        // rows of a hundred thousand glazes lie thousands apart.
        const auto [least, most] = std::minmax_element(depths->begin(), depths->end());
        const double scale = *most > *least ? 4294967295.0 / (*most - *least) : 0.0;
        for (CKey& key : keys)
            key.bits = static_cast<std::uint32_t>(std::clamp((*most - (*depths)[key.index]) * scale, 0.0, 4294967295.0));
        for (int shift = 0; shift < 32; shift += kDigitBits) {
            const auto digit = [shift](const CKey& key) { return (key.bits >> shift) & ((1u << kDigitBits) - 1); };
            std::fill(starts.begin(), starts.end(), 0);
            for (const CKey& key : keys)
                ++starts[digit(key)];
            if (starts[digit(keys.front())] == keys.size())
                continue; // every key has the same digit here
            std::size_t at = 0;
            for (std::size_t& start : starts)
                at += std::exchange(start, at);
            for (const CKey& key : keys)
                sorted[starts[digit(key)]++] = key;
            keys.swap(sorted);
        }
    }
    std::vector<std::uint32_t> order;
    order.reserve(keys.size());
    for (const CKey& key : keys)
        order.push_back(key.index);
    return order;
}

CChartAxis3D CategoryAxis(const CChartDefinition& def, int count, bool labels)
{
    CChartAxis3D axis;
    axis.direction = 0;
    for (int p = 0; p < count; ++p) {
        axis.ticks.push_back((p + 0.5) / count);
        if (labels)
            axis.labels.push_back(static_cast<std::size_t>(p) < def.pointLabels.size() ? def.pointLabels[static_cast<std::size_t>(p)]
                                                                                       : std::string());
    }
    return axis;
}

CChartAxis3D ValueAxis(const CChartDefinition& def, const CChartScale& scale, bool labels)
{
    CChartAxis3D axis;
    axis.direction = 1;
    axis.farSide = (def.axes[1].flags & CChartAxisSettings::kSideSecond) != 0;
    for (int k = 0; k <= scale.majors; ++k) {
        axis.ticks.push_back(static_cast<double>(k) / scale.majors);
        if (labels)
            axis.labels.push_back(FormatChartNumber(scale.min + scale.Step() * k, def.axes[1].format, scale.Step()));
    }
    return axis;
}

} // namespace

void DrawBar3DChart(CChart& chart, int options, const CChartRect& region, bool everyBox)
{
    const CChartDefinition& def = chart.Definition();
    CBarStyle style;
    style.horizontal = (options & 0x800) != 0;
    if (style.horizontal) {
        DrawBarChart(chart, kChartBar3D, options, region);
        return;
    }
    style.stacked = (options & 0x2000) != 0;
    style.floating = (options & 0x80) != 0 && def.sets > 1;
    style.perPoint = def.sets == 1;
    double low = 0.0, high = 0.0;
    const std::vector<CBar> bars = MakeBars(def, style, low, high);
    const CChartScale scale = MakeChartScale(def.axes[1], low, high, true);
    const int count = std::max(def.points, 1);
    const int rows = style.stacked || style.floating ? 1 : std::max(def.sets, 1);
    const bool labels = (options & 1) == 0;
    CChartAxis3D axes[3] = {CategoryAxis(def, count, labels), ValueAxis(def, scale, labels), CChartAxis3D()};
    axes[2].direction = 2;
    const double depth = std::min(1.0, kRowDepth * rows) * std::clamp(def.depth, 10, 200) / 100.0;
    CChartView3D view(def, 1.0, kBoxHeight, depth);
    FitChartView3D(chart, view, axes, region);
    DrawChartCage(chart, view, axes, def.thin != 0, (options & 4) != 0, (options & 8) != 0);
    CBoxPlaces places{count, rows, std::clamp(def.xGap, 0, 95) / 200.0, std::clamp(def.zGap, 0, 95) / 200.0, scale};
    // Boxes of one row share their footprints with the boxes they stand on.
    std::vector<double> footprints, middles;
    footprints.reserve(bars.size());
    middles.reserve(rows == 1 ? bars.size() : 0);
    for (const CBar& bar : bars) {
        const CBox box = places.Of(bar);
        const double x = (box.low.x + box.high.x) / 2, z = (box.low.z + box.high.z) / 2;
        footprints.push_back(view.Depth({x, 0.0, z}));
        if (rows == 1)
            middles.push_back(view.Depth({x, (box.low.y + box.high.y) / 2, z}));
    }
    const std::vector<std::uint32_t> order = FarthestFirst(footprints, middles);
    const double pixels = chart.CurrentArea().unitScale * chart.PixelsPerUnit();
    const CChartPointD row = PictureStep(view, {0.0, 0.0, (1.0 - 2.0 * places.zGap) / rows});
    const bool slim = !everyBox && std::hypot(row.x, row.y) * pixels < kSlimRowPixels;
    const bool endShows = view.Faces({0.0, 0.0, -1.0}) || view.Faces({0.0, 0.0, 1.0});
    // Stacked and floating bars make one row: there boxes stand on one another, not behind.
    const std::vector<bool> covered = rows > 1 && !everyBox
                                          ? CoveredBoxes(chart, view, bars, order, places, style.perPoint, slim && endShows)
                                          : std::vector<bool>(order.size(), false);
    // The faces of the boxes made in parts on several threads, added in their order.
    std::vector<std::vector<CChartPrimitive>> faces((order.size() + kBoxesPerPart - 1) / kBoxesPerPart);
    RunInParts(faces.size(), [&](std::size_t part) {
        for (std::size_t i = part * kBoxesPerPart; i < std::min(order.size(), (part + 1) * kBoxesPerPart); ++i) {
            if (i + kAhead < order.size())
                __builtin_prefetch(&bars[order[i + kAhead]]);
            if (!covered[i])
                DrawBox(chart, view, places.Of(bars[order[i]]), style.perPoint, slim, faces[part]);
        }
    });
    chart.AddPolygons(std::move(faces));
    DrawChartAxis3D(chart, view, axes[0]);
    DrawChartAxis3D(chart, view, axes[1]);
    StoreLayout3D(chart, view.Bounds(), CChartScale{0.0, static_cast<double>(count), count, 0}, scale);
}
