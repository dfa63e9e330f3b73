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

// The faces turned to the eye in the colour and pattern, shaded as if lit from above and the front
// (with `slim` only the front or back face, where it shows), added to faces.
void DrawBox(const CChart& chart, const CChartView3D& view, const CBox& box, CColor color, int pattern, bool slim,
             std::vector<CChartPrimitive>& faces)
{
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

// The strip a box's middle upright sweeps where it crosses the height `middle`, in pixels.
CCoverStrip StripOf(const CChartView3D& view, const CBox& box, double middle, double pixels)
{
    const double x = (box.low.x + box.high.x) / 2.0, z = (box.low.z + box.high.z) / 2.0;
    const CChartPointD foot = view.Project({x, box.low.y, z}), head = view.Project({x, box.high.y, z});
    return {view.UprightX(foot, middle) * pixels, std::min(foot.y, head.y) * pixels, std::max(foot.y, head.y) * pixels};
}

// Takes the items count - 1 down to 0 in turn, take(i, made), each with what make(i) made of it:
// made on several threads a few parts at a time, as the items are taken one by one in an order
// far from their bars' (boxes in depth order).
template <class Made, class Make, class Take>
void TakeBackMadeInParts(std::size_t count, const Make& make, const Take& take)
{
    std::vector<Made> made(std::min<std::size_t>(count, kMostChartThreads * kBoxesPerPart));
    for (std::size_t end = count; end > 0;) {
        const std::size_t begin = end > made.size() ? end - made.size() : 0;
        RunInParts((end - begin + kBoxesPerPart - 1) / kBoxesPerPart, [&](std::size_t part) {
            for (std::size_t i = begin + part * kBoxesPerPart; i < std::min(end, begin + (part + 1) * kBoxesPerPart); ++i)
                made[i - begin] = make(i);
        });
        for (std::size_t i = end; i-- > begin;)
            take(i, made[i - begin]);
        end = begin;
    }
}

// What the chart draws of its boxes, in drawing order: each piece the faces of one box, or of a
// run of slim rows drawn as one (CChartColumnRuns).
class CBoxPieces {
public:
    CBoxPieces(const CChart& chart, const CChartView3D& view, const std::vector<CBar>& bars,
               const std::vector<std::uint32_t>& order, const CBoxPlaces& places, bool perPoint)
        : m_chart(chart), m_view(view), m_bars(bars), m_order(order), m_places(places), m_perPoint(perPoint)
    {
    }

    // Every box a piece of its own.
    void EveryBox()
    {
        m_pieces.resize(m_order.size());
        for (std::size_t i = 0; i < m_order.size(); ++i)
            m_pieces[i] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i), kAlone};
    }

    // Slim rows drawing their end faces alone, `pitch` pixels apart in the picture: the rows of a
    // column that show only slivers beyond the nearer rows drawn in runs where the drawing says.
    void ColumnRuns(const CBoxRowDrawing& drawing, double pitch, bool frontShows, double pixels)
    {
        CChartColumnRuns runs(static_cast<std::size_t>(m_places.count), drawing.runDepth);
        for (const CBar& bar : m_bars)
            runs.Note(static_cast<std::size_t>(bar.point), bar.set * pitch);
        m_pieces.reserve(m_order.size()); // a piece at most per box
        // The boxes taken back from the last.
        const auto make = [&](std::size_t i) {
            if (i + kAhead < m_order.size())
                __builtin_prefetch(&m_bars[m_order[i + kAhead]]);
            return RowOf(m_bars[m_order[i]], pitch, frontShows, pixels);
        };
        TakeBackMadeInParts<CRow>(m_order.size(), make, [&](std::size_t i, const CRow& row) {
            const CChartColumnRuns::CTaken taken = runs.Take(row.row);
            if (taken.piece == m_pieces.size()) {
                m_pieces.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i),
                                    taken.run ? static_cast<std::uint32_t>(m_runs.size()) : kAlone});
                if (taken.run)
                    m_runs.emplace_back();
            }
            // The farthest row of a run so far: the run draws its face.
            CPiece& piece = m_pieces[taken.piece];
            piece.box = static_cast<std::uint32_t>(i);
            if (taken.answers)
                piece.answer = static_cast<std::uint32_t>(i);
            if (piece.run != kAlone)
                Join(m_runs[piece.run], row);
        });
        std::reverse(m_pieces.begin(), m_pieces.end());
    }

    // Leaves out the pieces of narrow boxes that later pieces cover (CChartBoxCover). Hollow boxes
    // show what lies behind them, so they cover nothing.
    void LeaveOutCovered(double pixels)
    {
        if (m_pieces.empty())
            return;
        const CBox any = Box(m_pieces.front()); // all boxes are of one width and depth
        const double across = PictureStep(m_view, {any.high.x - any.low.x, 0.0, 0.0}).x +
                              PictureStep(m_view, {0.0, 0.0, any.high.z - any.low.z}).x;
        const CChartRect bounds = m_view.Bounds();
        CChartBoxCover cover(bounds.left * pixels, bounds.right * pixels, across * pixels);
        if (!cover.Tries())
            return;
        // The pieces taken back from the last: each one's strip, and whether it hides what lies
        // behind.
        using CStripOf = std::pair<CCoverStrip, bool>;
        const auto make = [&](std::size_t i) {
            const CBox box = Box(m_pieces[i]);
            return CStripOf{StripOf(m_view, box, bounds.CenterY(), pixels),
                            m_chart.PatternFor(box.bar.point, box.bar.set, m_perPoint) != kChartPatternHollow};
        };
        std::vector<bool> kept(m_pieces.size(), true);
        TakeBackMadeInParts<CStripOf>(m_pieces.size(), make, [&](std::size_t i, const CStripOf& strip) {
            kept[i] = !cover.Covered(strip.first, strip.second);
        });
        std::size_t to = 0;
        for (std::size_t i = 0; i < m_pieces.size(); ++i) {
            if (kept[i])
                m_pieces[to++] = m_pieces[i];
        }
        m_pieces.resize(to);
    }

    std::size_t Count() const { return m_pieces.size(); }

    // The faces of piece i, added to faces: slim rows' end faces alone (see CBoxRowDrawing).
    void Draw(std::size_t i, const CBoxRowDrawing& drawing, std::vector<CChartPrimitive>& faces) const
    {
        const CPiece& piece = m_pieces[i];
        if (i + kAhead < m_pieces.size())
            __builtin_prefetch(&m_bars[m_order[m_pieces[i + kAhead].box]]);
        CBox box = Box(piece);
        const int pattern = m_chart.PatternFor(box.bar.point, box.bar.set, m_perPoint);
        box.bar = m_bars[m_order[piece.answer]];
        const bool slim = !drawing.Whole(box.bar.set);
        if (piece.run == kAlone) {
            DrawBox(m_chart, m_view, box, m_chart.PaletteColor(m_chart.ColorIndexFor(box.bar.point, box.bar.set, m_perPoint)),
                    pattern, slim, faces);
            return;
        }
        const CRun& run = m_runs[piece.run];
        const auto mean = [&run](std::uint64_t sum) { return static_cast<std::uint8_t>((sum + run.rows / 2) / run.rows); };
        // A thin run takes the colour of the row that reaches over it, as one row's outline shows
        // beside the next where every box is drawn; a run of many rows their mean colour.
        const CColor color = drawing.thin ? m_chart.PaletteColor(m_chart.ColorIndexFor(box.bar.point, box.bar.set, m_perPoint))
                                          : CColor(mean(run.red), mean(run.green), mean(run.blue));
        for (std::uint32_t layer = 0; layer < std::min<std::uint32_t>(run.rows, drawing.thin ? 1 : kRunLayers); ++layer)
            DrawBox(m_chart, m_view, box, color, pattern, slim, faces);
    }

private:
    static constexpr std::uint32_t kAlone = static_cast<std::uint32_t>(-1);

    struct CPiece {
        std::uint32_t box = 0;    // its place in the drawing order of boxes (a run's farthest row's)
        std::uint32_t answer = 0; // the box whose cell a click on it answers (see CChartColumnRuns)
        std::uint32_t run = kAlone;
    };
    // The rows of a run: how high and low they reach (in the unit cube) and their colours summed.
    struct CRun {
        double low = HUGE_VAL;
        double high = -HUGE_VAL;
        std::uint64_t red = 0;
        std::uint64_t green = 0;
        std::uint64_t blue = 0;
        std::uint32_t rows = 0;
    };

    // A slim row as the runs take it: its place and end face, how low and high its box reaches
    // (in the unit cube) and its colour.
    struct CRow {
        CChartColumnRuns::CRow row;
        double low = 0.0;
        double high = 0.0;
        CColor color;
    };

    CRow RowOf(const CBar& bar, double pitch, bool frontShows, double pixels) const
    {
        const CBox box = m_places.Of(bar);
        const CEndFace face = EndFaceOf(m_view, box, frontShows);
        const int pattern = m_chart.PatternFor(bar.point, bar.set, m_perPoint);
        return {{static_cast<std::size_t>(bar.point), bar.set * pitch, std::min(face.foot[0].y, face.foot[1].y) * pixels,
                 std::max(face.head[0].y, face.head[1].y) * pixels, pattern, pattern == kChartPatternHollow},
                box.low.y,
                box.high.y,
                m_chart.PaletteColor(m_chart.ColorIndexFor(bar.point, bar.set, m_perPoint))};
    }

    static void Join(CRun& run, const CRow& row)
    {
        run.low = std::min(run.low, row.low);
        run.high = std::max(run.high, row.high);
        run.red += row.color.r;
        run.green += row.color.g;
        run.blue += row.color.b;
        ++run.rows;
    }

    CBox Box(const CPiece& piece) const
    {
        CBox box = m_places.Of(m_bars[m_order[piece.box]]);
        if (piece.run != kAlone) {
            box.low.y = m_runs[piece.run].low;
            box.high.y = m_runs[piece.run].high;
        }
        return box;
    }

    const CChart& m_chart;
    const CChartView3D& m_view;
    const std::vector<CBar>& m_bars;
    const std::vector<std::uint32_t>& m_order;
    const CBoxPlaces& m_places;
    bool m_perPoint;
    std::vector<CPiece> m_pieces;
    std::vector<CRun> m_runs;
};

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
    axis.numbers = true;
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
    // How far apart rows stand in the picture (pixels), and how many faces of a box are turned to
    // the eye: close enough, the rows draw less than every face (BoxRowDrawing), against a budget
    // of the faces the columns' depth in the picture holds.
    const CChartPointD step = PictureStep(view, {0.0, 0.0, 1.0 / rows});
    const double pitch = std::hypot(step.x, step.y) * pixels;
    int facesOfABox = 0;
    for (int d = 0; d < 6; ++d) {
        CChartPoint3D normal;
        Set(normal, d / 2, d % 2 ? 1.0 : -1.0);
        facesOfABox += view.Faces(normal) ? 1 : 0;
    }
    const CBoxRowDrawing drawing =
        everyBox ? CBoxRowDrawing() : BoxRowDrawing(pitch, bars.size(), facesOfABox, pitch * rows * count);
    const bool frontShows = view.Faces({0.0, 0.0, -1.0});
    const bool endAlone = drawing.slim && (frontShows || view.Faces({0.0, 0.0, 1.0}));
    CBoxPieces pieces(chart, view, bars, order, places, style.perPoint);
    // Stacked and floating bars make one row: there boxes stand on one another, not behind.
    if (endAlone && rows > 1 && drawing.runs)
        pieces.ColumnRuns(drawing, pitch, frontShows, pixels);
    else
        pieces.EveryBox();
    if (!everyBox && rows > 1)
        pieces.LeaveOutCovered(pixels);
    // The faces of the pieces made in parts on several threads, added in their order.
    std::vector<std::vector<CChartPrimitive>> faces((pieces.Count() + kBoxesPerPart - 1) / kBoxesPerPart);
    RunInParts(faces.size(), [&](std::size_t part) {
        for (std::size_t i = part * kBoxesPerPart; i < std::min(pieces.Count(), (part + 1) * kBoxesPerPart); ++i)
            pieces.Draw(i, drawing, faces[part]);
    });
    chart.AddPolygons(std::move(faces));
    DrawChartAxis3D(chart, view, axes[0]);
    DrawChartAxis3D(chart, view, axes[1]);
    StoreLayout3D(chart, view.Bounds(), CChartScale{0.0, static_cast<double>(count), count, 0}, scale);
}
