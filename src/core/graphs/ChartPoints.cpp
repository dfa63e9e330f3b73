// Marker symbols, point charts (flat and with a 3-D look) and area charts.

#include "graphs/ChartDrawing.h"
#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <unordered_set>

namespace {

constexpr int kSymbolKinds = 14;
// The box of a 3-D point chart: its height and, at thickness 100 %, its depth, for a width of 1.
constexpr double kHeightShare = 0.75;
constexpr double kDepthShare3D = 0.75;

std::vector<CChartPointD> RegularShape(double x, double y, double r, int corners, double startAngle)
{
    std::vector<CChartPointD> points;
    for (int i = 0; i < corners; ++i) {
        const double a = startAngle + 2.0 * std::numbers::pi * i / corners;
        points.push_back({x + r * std::cos(a), y + r * std::sin(a)});
    }
    return points;
}

// The x of point p of set s: from the x data (one per point and set, or one per point), else
// the point's number.
double XOf(const CChartDefinition& def, int p, int s)
{
    const std::size_t n = static_cast<std::size_t>(def.points);
    const std::size_t sets = static_cast<std::size_t>(std::max(def.sets, 1));
    const std::size_t i = static_cast<std::size_t>(p) * sets + static_cast<std::size_t>(s);
    if (def.xData.size() >= n * sets && i < def.xData.size())
        return def.xData[i];
    if (def.xData.size() >= n && static_cast<std::size_t>(p) < def.xData.size())
        return def.xData[static_cast<std::size_t>(p)];
    return p;
}

struct CRange {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
};

// Points charts start their axes at 0 when the data lie well above it.
CChartScale PointScale(const CChartAxisSettings& axis, const CRange& range)
{
    if (range.Empty())
        return MakeChartScale(axis, 0.0, 1.0, true);
    const bool nearZero = range.low <= 0.0 || range.low <= range.high * 0.5;
    return MakeChartScale(axis, range.low, range.high, nearZero);
}

CChartAxisPlan NumericPlan(const CChartAxisSettings& axis, const CRange& range, bool farSide)
{
    CChartAxisPlan plan;
    plan.scale = PointScale(axis, range);
    plan.flags = axis.flags;
    plan.format = axis.format;
    plan.farSide = farSide;
    return plan;
}

int SymbolOf(const CChartDefinition& def, int set)
{
    return def.symbols.empty() ? set % kSymbolKinds : def.symbols[static_cast<std::size_t>(set) % def.symbols.size()];
}

bool Within(const CChartScale& scale, double v)
{
    const double slack = (scale.max - scale.min) * 1e-9;
    return v >= scale.min - slack && v <= scale.max + slack;
}

} // namespace

std::vector<std::vector<CChartPointD>> ChartSymbolOutlines(int symbol, double x, double y, double size, bool& filled,
                                                           bool& lines)
{
    const double r = size / 2.0;
    const int kind = ((symbol % kSymbolKinds) + kSymbolKinds) % kSymbolKinds;
    filled = kind < 5 || kind == 13;
    lines = kind >= 10 && kind <= 12;
    const double pi = std::numbers::pi;
    switch (kind) {
    case 0:
    case 5: return {RegularShape(x, y, r * std::numbers::sqrt2, 4, pi / 4.0)};
    case 1:
    case 6: return {RegularShape(x, y, r, 16, 0.0)};
    case 2:
    case 7: return {RegularShape(x, y, r, 3, pi / 2.0)};
    case 3:
    case 8:
    case 13: return {RegularShape(x, y, r, 4, 0.0)};
    case 4:
    case 9: return {RegularShape(x, y, r, 3, -pi / 2.0)};
    case 10: return {{{x - r, y}, {x + r, y}}, {{x, y - r}, {x, y + r}}};
    case 11: return {{{x - r, y - r}, {x + r, y + r}}, {{x - r, y + r}, {x + r, y - r}}};
    default:
        return {{{x - r, y}, {x + r, y}}, {{x, y - r}, {x, y + r}}, {{x - r * 0.7, y - r * 0.7}, {x + r * 0.7, y + r * 0.7}},
                {{x - r * 0.7, y + r * 0.7}, {x + r * 0.7, y - r * 0.7}}};
    }
}

void CChart::AddSymbol(double x, double y, double size, int symbol, CColor color, int column, int row, bool hit,
                       bool drawn)
{
    const double half = ToMainLength(size / 2.0);
    const CChartPointD centre = ToMain(x, y);
    if (!drawn) {
        if (hit && std::isfinite(centre.x) && std::isfinite(centre.y) && std::isfinite(half))
            m_hitOnly.push_back({m_primitives.size(), centre.x - half, centre.y - half, 2.0 * half, column, row});
        return;
    }
    bool filled = false, lines = false;
    const auto outlines = ChartSymbolOutlines(symbol, x, y, size, filled, lines);
    const bool framed = ((symbol % kSymbolKinds) + kSymbolKinds) % kSymbolKinds == 13;
    const std::size_t first = m_primitives.size();
    // The marker's first primitive changes below: none of it is indexed before then.
    m_indexedLimit = first;
    for (const std::vector<CChartPointD>& outline : outlines) {
        if (lines)
            AddPolyline(outline, color, 1.5, 0);
        else
            AddPolygon(outline, color, filled ? kChartPatternSolid : kChartPatternHollow, framed ? PaletteColor(0) : color,
                       filled && !framed ? 0.0 : 1.5);
    }
    m_indexedLimit = static_cast<std::size_t>(-1);
    if (!hit || m_primitives.size() == first)
        return;
    // The whole marker answers a click in its box.
    CChartPrimitive& p = m_primitives[first];
    p.hitKind = CChartPrimitive::kHitCell;
    p.column = column;
    p.row = row;
    p.hitByBounds = true;
    p.left = centre.x - half;
    p.bottom = centre.y - half;
    p.width = p.height = 2.0 * half;
}

std::vector<bool> CChart::CoveredMarkers(std::span<const CChartMarkerPlace> markers) const
{
    // The key of a marker: its quarter pixel, symbol and colour.
    struct CKey {
        std::int64_t x, y;
        int symbol;
        std::uint32_t color;
        bool operator==(const CKey&) const = default;
    };
    struct CKeyHash {
        std::size_t operator()(const CKey& k) const
        {
            std::uint64_t h = static_cast<std::uint64_t>(k.x) * 0x9e3779b97f4a7c15ull;
            h ^= static_cast<std::uint64_t>(k.y) + 0xbf58476d1ce4e5b9ull + (h << 6) + (h >> 2);
            h ^= (static_cast<std::uint64_t>(k.color) << 8 | static_cast<std::uint64_t>(k.symbol)) + (h << 6) + (h >> 2);
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    constexpr double kCellsPerPixel = 4.0;
    const auto cell = [](double pixels) {
        return static_cast<std::int64_t>(std::floor(std::clamp(pixels * kCellsPerPixel, -1e15, 1e15)));
    };
    std::vector<bool> covered(markers.size(), false);
    if (markers.size() <= kMostMarkersDrawnWhole)
        return covered;
    std::unordered_set<CKey, CKeyHash> seen;
    for (std::size_t i = markers.size(); i-- > 0;) {
        const CChartMarkerPlace& m = markers[i];
        const CChartPointD at = ToMain(m.x, m.y);
        if (!std::isfinite(at.x) || !std::isfinite(at.y))
            continue;
        const CKey key{cell(UnitsToPixelsX(at.x)), cell(UnitsToPixelsY(at.y)),
                       ((m.symbol % kSymbolKinds) + kSymbolKinds) % kSymbolKinds, m.color.ToColorRef()};
        covered[i] = !seen.insert(key).second;
    }
    return covered;
}

void DrawAreaChart(CChart& chart, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    CRange xs, ys;
    for (int p = 0; p < def.points; ++p) {
        for (int s = 0; s < def.sets; ++s) {
            xs.Add(XOf(def, p, s));
            ys.Add(def.Value(p, s));
        }
    }
    CChartAxisPlan horizontal = NumericPlan(def.axes[0], xs, (def.axes[0].flags & CChartAxisSettings::kSideFirst) != 0);
    horizontal.scale = xs.Empty() ? horizontal.scale : MakeChartScale(def.axes[0], xs.low, xs.high, false);
    CChartAxisPlan vertical;
    vertical.scale = MakeChartScale(def.axes[1], ys.Empty() ? 0.0 : ys.low, ys.Empty() ? 1.0 : ys.high, true);
    vertical.flags = def.axes[1].flags;
    vertical.format = def.axes[1].format;
    vertical.farSide = (def.axes[1].flags & CChartAxisSettings::kSideSecond) != 0;
    CChartAxes axes(chart, horizontal, vertical, options);
    const CChartRect plot = axes.Layout(region);
    axes.DrawGrid(plot);
    const CChartScale& vs = axes.Vertical().scale;
    const double base = axes.Y(plot, std::clamp(0.0, vs.min, vs.max));
    for (int s = 0; s < def.sets && def.points > 0; ++s) {
        std::vector<CChartPointD> polygon;
        for (int p = 0; p < def.points; ++p) {
            const double x = std::clamp(axes.X(plot, XOf(def, p, s)), plot.left, plot.right);
            const double y = axes.Y(plot, std::clamp(def.Value(p, s), vs.min, vs.max));
            if (p == 0)
                polygon.push_back({x, base});
            polygon.push_back({x, y});
        }
        polygon.push_back({polygon.back().x, base});
        const CColor color = chart.PaletteColor(chart.ColorIndexFor(0, s, false));
        const int pattern = chart.PatternFor(0, s, false);
        chart.AddPolygon(polygon, color, pattern, color, pattern == kChartPatternHollow ? 1.5 : 0.0,
                         CChartPrimitive::kHitCell, s, 0);
    }
    axes.DrawAxes(plot);
    axes.StoreLayout(plot);
}

void DrawPointChart(CChart& chart, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    CRange xs, ys;
    for (int p = 0; p < def.points; ++p) {
        for (int s = 0; s < def.sets; ++s) {
            if (def.Flag(p * def.sets + s) & kChartPointMissing)
                continue;
            xs.Add(XOf(def, p, s));
            ys.Add(def.Value(p, s));
        }
    }
    const int xFlags = def.axes[0].flags;
    const int yFlags = def.axes[1].flags;
    CChartAxisPlan horizontal = NumericPlan(def.axes[0], xs, (xFlags & CChartAxisSettings::kSideFirst) != 0);
    CChartAxisPlan vertical = NumericPlan(def.axes[1], ys, (yFlags & CChartAxisSettings::kSideSecond) != 0);
    // A triaxial chart places its points in the plot area's unit square.
    if (def.triaxial)
        horizontal.scale = vertical.scale = CChartScale{0.0, 1.0, 1, 0};
    CChartAxes axes(chart, horizontal, vertical, options);
    if (def.triaxial)
        axes.Hide();
    const CChartRect plot = axes.Layout(region);
    axes.DrawGrid(plot);
    const double size = chart.DrawState().markerSize;
    // Series by series: a later series stands over the points of an earlier one.
    std::vector<std::pair<int, int>> cells; // set, point
    std::vector<CChartMarkerPlace> places;
    for (int s = 0; s < def.sets; ++s) {
        for (int p = 0; p < def.points; ++p) {
            const double x = XOf(def, p, s), y = def.Value(p, s);
            if ((def.Flag(p * def.sets + s) & kChartPointMissing) || !Within(axes.Horizontal().scale, x) ||
                !Within(axes.Vertical().scale, y))
                continue;
            cells.emplace_back(s, p);
            places.push_back({axes.X(plot, x), axes.Y(plot, y), SymbolOf(def, s),
                              chart.PaletteColor(chart.ColorIndexFor(p, s, false))});
        }
    }
    const std::vector<bool> covered = chart.CoveredMarkers(places);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const CChartMarkerPlace& m = places[i];
        chart.AddSymbol(m.x, m.y, size, m.symbol, m.color, cells[i].first, cells[i].second, true, !covered[i]);
    }
    axes.DrawAxes(plot);
    axes.StoreLayout(plot);
}

namespace {

// The ticks of a scale as fractions of the box, labelled unless labels are off.
CChartAxis3D Axis3D(int direction, const CChartScale& scale, const std::string& format, bool labels)
{
    CChartAxis3D axis;
    axis.direction = direction;
    axis.numbers = true;
    for (int k = 0; k <= scale.majors; ++k) {
        axis.ticks.push_back(static_cast<double>(k) / scale.majors);
        if (labels)
            axis.labels.push_back(FormatChartNumber(scale.min + scale.Step() * k, format, scale.Step()));
    }
    return axis;
}

double ZOf(const CChartDefinition& def, int i)
{
    return static_cast<std::size_t>(i) < def.zData.size() ? def.zData[static_cast<std::size_t>(i)] : 0.0;
}

// The scales of the x, y and z data of the points shown.
void PointScales3D(const CChartDefinition& def, CChartScale scales[3])
{
    CRange xs, ys, zs;
    for (int p = 0; p < def.points; ++p) {
        for (int s = 0; s < def.sets; ++s) {
            if (def.Flag(p * def.sets + s) & kChartPointMissing)
                continue;
            xs.Add(XOf(def, p, s));
            ys.Add(def.Value(p, s));
            zs.Add(ZOf(def, p * def.sets + s));
        }
    }
    scales[0] = PointScale(def.axes[0], xs);
    scales[1] = PointScale(def.axes[1], ys);
    scales[2] = PointScale(def.axes[3], zs);
}

struct CPoint3D {
    int point = 0;
    int set = 0;
    CChartPoint3D at;
    double depth = 0.0;
};

} // namespace

void DrawPoint3DChart(CChart& chart, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    CChartScale scales[3];
    PointScales3D(def, scales);
    const int formats[3] = {0, 1, 3};
    CChartAxis3D axes[3];
    for (int d = 0; d < 3; ++d)
        axes[d] = Axis3D(d, scales[d], def.axes[static_cast<std::size_t>(formats[d])].format, (options & 1) == 0);
    axes[1].farSide = (def.axes[1].flags & CChartAxisSettings::kSideSecond) != 0;
    // The box: as deep as the thickness asks (100 %: three quarters of its width).
    CChartView3D view(def, 1.0, kHeightShare, kDepthShare3D * std::clamp(def.depth, 10, 200) / 100.0);
    // The markers keep to the box as they stand to it where the chart's height sizes both.
    const double share = FitChartView3D(chart, view, axes, region);
    DrawChartCage(chart, view, axes, def.thin != 0, (options & 4) != 0, (options & 8) != 0);
    std::vector<CPoint3D> points;
    points.reserve(static_cast<std::size_t>(std::max(def.sets, 0)) * static_cast<std::size_t>(std::max(def.points, 0)));
    for (int s = 0; s < def.sets; ++s) {
        for (int p = 0; p < def.points; ++p) {
            const int i = p * def.sets + s;
            const CChartPoint3D at{scales[0].Fraction(XOf(def, p, s)), scales[1].Fraction(def.Value(p, s)),
                                   scales[2].Fraction(ZOf(def, i))};
            const bool inside = at.x >= -1e-9 && at.x <= 1.0 + 1e-9 && at.y >= -1e-9 && at.y <= 1.0 + 1e-9 &&
                                at.z >= -1e-9 && at.z <= 1.0 + 1e-9;
            if (inside && !(def.Flag(i) & kChartPointMissing))
                points.push_back({p, s, at, view.Depth(at)});
        }
    }
    // The farthest first, so that nearer points cover them.
    std::stable_sort(points.begin(), points.end(), [](const CPoint3D& a, const CPoint3D& b) { return a.depth > b.depth; });
    // Shrunk with the box, a marker stays large enough to show its symbol and colour: three
    // pixels, or its usual size where that is less.
    const double usual = chart.DrawState().markerSize;
    const double least = 3.0 / (chart.CurrentArea().unitScale * chart.PixelsPerUnit());
    const double size = std::max(usual * share, std::min(usual, least));
    std::vector<CChartMarkerPlace> places;
    places.reserve(points.size());
    for (const CPoint3D& point : points) {
        const CChartPointD at = view.Project(point.at);
        places.push_back({at.x, at.y, SymbolOf(def, point.set),
                          chart.PaletteColor(chart.ColorIndexFor(point.point, point.set, false))});
    }
    // A marker covered by a later one is covered whatever was drawn between them (its stick).
    const std::vector<bool> covered = chart.CoveredMarkers(places);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CPoint3D& point = points[i];
        const CChartMarkerPlace& m = places[i];
        if (options & 0x200)
            chart.AddPolyline({{m.x, m.y}, view.Project({point.at.x, 0.0, point.at.z})}, chart.PaletteColor(8), 1.0, 0);
        chart.AddSymbol(m.x, m.y, size, m.symbol, m.color, point.set, point.point, true, !covered[i]);
    }
    for (const CChartAxis3D& axis : axes)
        DrawChartAxis3D(chart, view, axis);
    StoreLayout3D(chart, view.Bounds(), scales[0], scales[1]);
}

void StoreLayout3D(CChart& chart, const CChartRect& box, const CChartScale& horizontal, const CChartScale& vertical)
{
    auto& v = chart.CurrentLayout().values;
    v[0] = horizontal.max;
    v[1] = horizontal.min;
    v[2] = vertical.max;
    v[3] = vertical.min;
    v[4] = box.Width();
    v[5] = box.Height();
    v[6] = box.left;
    v[7] = box.bottom;
    v[13] = horizontal.majors;
    v[14] = horizontal.minors;
    v[15] = vertical.majors;
    v[16] = vertical.minors;
}
