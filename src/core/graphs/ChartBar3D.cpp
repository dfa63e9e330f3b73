// Bars in a true 3-D box, seen from the chart's rotation and elevation: the categories run
// across, the values up, and the sets of side-by-side bars stand in rows one behind the other
// (stacked and floating bars make one row). Lying bars keep the 3-D look of flat bars.

#include "graphs/ChartDrawing.h"
#include "graphs/ChartThreads.h"
#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

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

// A box whose depth pictures shorter than this many pixels (rows of a hundred thousand glazes)
// has a side and a top no wider than that: slivers lying wholly inside the one-pixel outline of
// its own front, which is drawn after them. Such a box draws its front (or back) alone, a third
// of the polygons.
constexpr double kSlimRowPixels = kThinBarPixels / 16.0;

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

// How many later boxes of its place must cover a box before it is left out. Rows thinner than a
// pixel stack hundreds of boxes one behind another within a pixel, and their antialiased edges
// show through one another: a pixel there is made by the last few boxes drawn on it.
constexpr int kBoxLayers = 3;

// For side-by-side boxes in drawing order, true for each box that later boxes cover as far as
// the eye can tell; drawing them all costs seconds with a hundred thousand glazes.
//
// Deep rows: boxes of one category whose front corners fall in the same quarter pixel make one
// place. A box that kBoxLayers later boxes of its place each cover from its foot to its top is
// left out: its edges lie within a quarter pixel of theirs, inside their one-pixel outlines but
// for a band a quarter pixel wide at most, where the boxes of the place behind, drawn earlier,
// show the same edges.
//
// Narrow boxes (many categories, less than a quarter pixel across): a box is left out when the
// ink of later boxes (each box's picture and the half of its outline round it) covers its own
// ink at the middle of every quarter-pixel column it reaches. The column is taken where the box's
// upright line crosses the middle of the picture, so that uprights leaning in perspective keep
// to their columns.
//
// Slim rows (each box drawing its front or back alone): a face's ink is known column by column,
// so the same columns take faces of any width: a face is left out when kBoxLayers later faces
// cover its ink (where the column's middle meets the face, and half the outline round it) but
// for a band a quarter pixel wide, as in deep rows, at every quarter-pixel column it reaches; a
// face covers the columns it spans there. A hundred thousand glazes by a thousand materials
// put a few thousand faces behind every column, of which a few show.
//
// Wider faces are left to the places of deep rows, where they stand many to a quarter pixel.
//
// Hollow boxes show what lies behind them, so they cover nothing.
constexpr double kNarrowFacePixels = 2.0;

// The picture of a box's front or back, the face a slim box draws alone.
struct CEndFace {
    CChartPointD foot[2]; // the left one first
    CChartPointD head[2]; // above the foot of the same side

    // The lowest and highest points (as x and y) of the face where it meets the upright line at x.
    CChartPointD SpanAt(double x) const
    {
        const CChartPointD corners[4] = {foot[0], foot[1], head[1], head[0]};
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (int k = 0; k < 4; ++k) {
            const CChartPointD& a = corners[k];
            const CChartPointD& b = corners[(k + 1) % 4];
            if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x))
                continue;
            const double y = a.x == b.x ? a.y : a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
            low = std::min({low, y, a.x == b.x ? b.y : y});
            high = std::max({high, y, a.x == b.x ? b.y : y});
        }
        return {low, high};
    }
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

std::vector<bool> CoveredBoxes(const CChart& chart, const CChartView3D& view, const std::vector<CBar>& bars,
                               const std::vector<std::uint32_t>& order, const CBoxPlaces& places, bool perPoint,
                               bool slim)
{
    std::vector<bool> covered(order.size(), false);
    if (order.empty())
        return covered;
    const double pixels = chart.CurrentArea().unitScale * chart.PixelsPerUnit();
    const CBox any = places.Of(bars[order.front()]); // all boxes are of one size
    const double across = PictureStep(view, {any.high.x - any.low.x, 0.0, 0.0}).x +
                          PictureStep(view, {0.0, 0.0, any.high.z - any.low.z}).x;
    const bool thin = across * pixels < kThinBarPixels;
    const bool faces = !thin && slim && across * pixels < kNarrowFacePixels;
    const double middle = view.Bounds().CenterY();
    const bool frontShows = view.Faces({0.0, 0.0, -1.0});
    CLaterSpans later(kBoxLayers);
    // The quarter-pixel columns across the picture of the chart's box, with a margin for outlines
    // and for uprights that lean in perspective.
    constexpr double kMargin = 8.0; // pixels
    const CChartRect bounds = view.Bounds();
    const std::int64_t columnCount = ChartCell((bounds.Width() * pixels + 2.0 * kMargin) / kThinBarPixels) + 1;
    std::vector<CLaterCover> columns(thin || faces ? static_cast<std::size_t>(columnCount) : 0);
    const auto column = [&](double x) {
        const double at = ((x - bounds.left) * pixels + kMargin) / kThinBarPixels + 0.5;
        return static_cast<std::size_t>(std::clamp<std::int64_t>(ChartCell(at), 0, columnCount));
    };
    const auto middleOf = [&](std::size_t c) {
        return bounds.left + ((static_cast<double>(c) + 0.5) * kThinBarPixels - kMargin) / pixels;
    };
    for (std::size_t i = order.size(); i-- > 0;) {
        if (i >= kAhead)
            __builtin_prefetch(&bars[order[i - kAhead]]);
        const CBox box = places.Of(bars[order[i]]);
        const bool hides = chart.PatternFor(box.bar.point, box.bar.set, perPoint) != kChartPatternHollow;
        const double x = (box.low.x + box.high.x) / 2.0, z = (box.low.z + box.high.z) / 2.0;
        if (faces) {
            const CEndFace face = EndFaceOf(view, box, frontShows);
            const auto [leftmost, rightmost] = std::minmax({face.foot[0].x, face.foot[1].x, face.head[0].x, face.head[1].x});
            const double inkReach = (0.5 - kThinBarPixels) / pixels;
            const std::size_t first = column(leftmost - inkReach), last = column(rightmost + inkReach);
            bool under = first < last;
            for (std::size_t c = first; c < last && under; ++c) {
                const CChartPointD span = face.SpanAt(std::clamp(middleOf(c), leftmost, rightmost));
                under = span.x <= span.y && columns[c].Covers(span.x * pixels - 0.5 + kThinBarPixels,
                                                              span.y * pixels + 0.5 - kThinBarPixels, kBoxLayers);
            }
            covered[i] = under;
            if (under || !hides)
                continue;
            for (std::size_t c = column(leftmost), end = column(rightmost); c < end; ++c) {
                const CChartPointD span = face.SpanAt(std::clamp(middleOf(c), leftmost, rightmost));
                columns[c].Add(span.x * pixels - 0.5, span.y * pixels + 0.5);
            }
            continue;
        }
        if (thin) {
            // The box's ink, its picture and the half of its outline round it, in pixels up,
            // sampled at the middles of the quarter-pixel columns it reaches.
            const CChartPointD foot = view.Project({x, box.low.y, z}), head = view.Project({x, box.high.y, z});
            const double at = view.UprightX(foot, middle), reach = across / 2.0 + 0.5 / pixels;
            const double low = std::min(foot.y, head.y) * pixels - 0.5;
            const double high = std::max(foot.y, head.y) * pixels + 0.5;
            const std::size_t first = column(at - reach), last = column(at + reach);
            bool under = first < last;
            for (std::size_t c = first; c < last && under; ++c)
                under = columns[c].Covers(low, high, 1);
            covered[i] = under;
            for (std::size_t c = first; c < last && !under && hides; ++c)
                columns[c].Add(low, high);
            continue;
        }
        const CChartPointD corner = view.Project({box.low.x, 0.0, box.low.z});
        const CCoverGroup place{box.bar.point, ChartCell(corner.x * pixels / kThinBarPixels),
                                ChartCell(corner.y * pixels / kThinBarPixels)};
        covered[i] = later.Covered(place, box.low.y, box.high.y, hides);
    }
    return covered;
}

// The indexes of the depths, the largest (the farthest box) first, equal ones in their own order,
// so that nearer boxes cover farther ones. Sorted by the bits of the depths, a digit at a time:
// a chart of many thousand glazes sorts hundreds of thousands of boxes.
std::vector<std::uint32_t> FarthestFirst(const std::vector<double>& depths)
{
    struct CKey {
        std::uint64_t bits;
        std::uint32_t index;
    };
    std::vector<CKey> keys(depths.size()), sorted(depths.size());
    for (std::size_t i = 0; i < depths.size(); ++i) {
        // Bits that run up as the depth runs down: a negated positive number's bits all flipped,
        // a negated negative one's sign bit set. Both zeros are one.
        const double down = depths[i] == 0.0 ? 0.0 : -depths[i];
        std::uint64_t bits = 0;
        std::memcpy(&bits, &down, sizeof bits);
        keys[i] = {bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63), static_cast<std::uint32_t>(i)};
    }
    constexpr int kDigitBits = 16;
    std::vector<std::size_t> starts(std::size_t{1} << kDigitBits);
    for (int shift = 0; shift < 64; shift += kDigitBits) {
        const auto digit = [shift](const CKey& key) {
            return (key.bits >> shift) & ((std::uint64_t{1} << kDigitBits) - 1);
        };
        std::fill(starts.begin(), starts.end(), 0);
        for (const CKey& key : keys)
            ++starts[digit(key)];
        if (!keys.empty() && starts[digit(keys.front())] == keys.size())
            continue; // every key has the same digit here
        std::size_t at = 0;
        for (std::size_t& start : starts)
            at += std::exchange(start, at);
        for (const CKey& key : keys)
            sorted[starts[digit(key)]++] = key;
        keys.swap(sorted);
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
    std::vector<double> depths;
    depths.reserve(bars.size());
    for (const CBar& bar : bars) {
        const CBox box = places.Of(bar);
        depths.push_back(
            view.Depth({(box.low.x + box.high.x) / 2, (box.low.y + box.high.y) / 2, (box.low.z + box.high.z) / 2}));
    }
    const std::vector<std::uint32_t> order = FarthestFirst(depths);
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
    for (std::vector<CChartPrimitive>& part : faces)
        chart.AddPolygons(std::move(part));
    DrawChartAxis3D(chart, view, axes[0]);
    DrawChartAxis3D(chart, view, axes[1]);
    StoreLayout3D(chart, view.Bounds(), CChartScale{0.0, static_cast<double>(count), count, 0}, scale);
}
