// Bars (side by side, stacked or floating, upright or lying, flat or with a 3-D look) and box
// and whiskers charts.

#include "graphs/ChartDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kDepthShare = 0.06; // of the smaller side of the region, at depth 100 %
constexpr int kBoxSets = 7;

// The four corners of a bar in chart units, the value range clipped to the axis.
std::vector<CChartPointD> BarCorners(const CChartAxes& axes, const CChartRect& plot, const CBar& bar, bool horizontal)
{
    const CChartScale& scale = horizontal ? axes.Horizontal().scale : axes.Vertical().scale;
    const double v0 = std::clamp(std::min(bar.v0, bar.v1), scale.min, scale.max);
    const double v1 = std::clamp(std::max(bar.v0, bar.v1), scale.min, scale.max);
    if (horizontal) {
        const double x0 = axes.X(plot, v0), x1 = axes.X(plot, v1);
        const double y0 = axes.Y(plot, bar.c1), y1 = axes.Y(plot, bar.c0);
        return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    }
    const double x0 = axes.X(plot, bar.c0), x1 = axes.X(plot, bar.c1);
    const double y0 = axes.Y(plot, v0), y1 = axes.Y(plot, v1);
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// An outline would cover a bar only a few pixels across (many glazes side by side, each with
// many materials) or high (a small value) and leave it black, unlike its legend: a bar less
// than four outline widths across or high is drawn without one.
double OutlineWidth(const CChart& chart, const std::vector<CChartPointD>& c, double usual)
{
    const double side = std::min(std::fabs(c[1].x - c[0].x), std::fabs(c[2].y - c[1].y));
    return side * chart.CurrentArea().unitScale * chart.PixelsPerUnit() >= 4.0 * usual ? usual : 0.0;
}

void DrawBar(CChart& chart, const std::vector<CChartPointD>& c, const CBar& bar, const CBarStyle& style, double dx,
             double dy)
{
    // Floating bars are ranges, not data: the markers drawn over them answer clicks.
    const int hit = style.floating ? CChartPrimitive::kHitNone : CChartPrimitive::kHitCell;
    const CColor color = chart.PaletteColor(chart.ColorIndexFor(bar.point, bar.set, style.perPoint));
    const int pattern = chart.PatternFor(bar.point, bar.set, style.perPoint);
    const bool hollow = pattern == kChartPatternHollow;
    if (dx > 0.0 || dy > 0.0) {
        // Top and right faces behind the front face, in lighter and darker shades.
        const CColor edge = ShadeColor(color, 0.45);
        const double width = OutlineWidth(chart, c, 1.0);
        chart.AddPolygon({c[3], c[2], {c[2].x + dx, c[2].y + dy}, {c[3].x + dx, c[3].y + dy}}, ShadeColor(color, 1.3),
                         pattern, edge, width);
        chart.AddPolygon({c[1], {c[1].x + dx, c[1].y + dy}, {c[2].x + dx, c[2].y + dy}, c[2]}, ShadeColor(color, 0.7),
                         pattern, edge, width);
        chart.AddPolygon(c, color, pattern, edge, width, hit, bar.set, bar.point);
        return;
    }
    chart.AddPolygon(c, color, pattern, color, hollow ? OutlineWidth(chart, c, 1.5) : 0.0, hit,
                     bar.set, bar.point);
}

CChartAxisPlan CategoryPlan(const CChartDefinition& def, bool farSide)
{
    CChartAxisPlan plan;
    plan.category = true;
    plan.count = def.points;
    plan.labels = def.pointLabels;
    plan.flags = def.axes[0].flags;
    plan.farSide = farSide;
    return plan;
}

CChartAxisPlan ValuePlan(const CChartDefinition& def, double low, double high, bool farSide)
{
    CChartAxisPlan plan;
    plan.scale = MakeChartScale(def.axes[1], low, high, true);
    plan.flags = def.axes[1].flags;
    plan.format = def.axes[1].format;
    plan.farSide = farSide;
    return plan;
}

// The sides of the category axis (X settings) and the value axis (Y settings).
void AxisSides(const CChartDefinition& def, bool horizontal, bool& categoryFar, bool& valueFar)
{
    const int x = def.axes[0].flags;
    const int y = def.axes[1].flags;
    categoryFar = (x & CChartAxisSettings::kSideFirst) != 0;
    valueFar = horizontal ? (y & CChartAxisSettings::kSideFirst) != 0 : (y & CChartAxisSettings::kSideSecond) != 0;
}

// Bars side by side a few thousand to the pixel (a group of many thousand glazes) each paint
// their pixel column: there a bar that a later bar of the column covers from end to end leaves no
// trace, and is not drawn (a column of thousands of bars keeps the few that stand out above or
// below all later ones). A hollow bar so thin has no outline (see OutlineWidth) and shows
// nothing. Bars wider than kThinBarPixels are always drawn.
std::vector<bool> CoveredThinBars(const CChart& chart, const CChartAxes& axes, const CChartRect& plot,
                                  const CBarStyle& style, const std::vector<CBar>& bars)
{
    const double pixels = chart.CurrentArea().unitScale * chart.PixelsPerUnit();
    const auto pixel = [&](double category) {
        return (style.horizontal ? axes.Y(plot, category) : axes.X(plot, category)) * pixels;
    };
    std::vector<bool> covered(bars.size(), false);
    CLaterSpans later;
    for (std::size_t i = bars.size(); i-- > 0;) {
        const CBar& bar = bars[i];
        if (std::fabs(pixel(bar.c1) - pixel(bar.c0)) >= kThinBarPixels)
            continue;
        if (chart.PatternFor(bar.point, bar.set, style.perPoint) == kChartPatternHollow) {
            covered[i] = true;
            continue;
        }
        const CCoverGroup column{bar.point, ChartCell(pixel(bar.c0)), 0};
        covered[i] = later.Covered(column, std::min(bar.v0, bar.v1), std::max(bar.v0, bar.v1), true);
    }
    return covered;
}

} // namespace

std::int64_t ChartCell(double value)
{
    return static_cast<std::int64_t>(std::floor(std::clamp(value, -1e15, 1e15)));
}

std::size_t CLaterSpans::CGroupHash::operator()(const CCoverGroup& g) const
{
    std::uint64_t h = static_cast<std::uint64_t>(g.a) * 0x9e3779b97f4a7c15ull;
    h ^= static_cast<std::uint64_t>(g.b) + 0xbf58476d1ce4e5b9ull + (h << 6) + (h >> 2);
    h ^= static_cast<std::uint64_t>(g.c) + 0x94d049bb133111ebull + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h ^ (h >> 29));
}

void CLaterCover::Add(double low, double high)
{
    if (high < low)
        return;
    if (m_high >= m_low && low <= m_high && high >= m_low) {
        m_low = std::min(m_low, low);
        m_high = std::max(m_high, high);
    } else if (high - low > m_high - m_low) {
        m_low = low;
        m_high = high;
    }
}

bool CLaterSpans::Covered(const CCoverGroup& group, double low, double high, bool hides)
{
    if (!m_last || !(group == m_lastGroup)) {
        const auto at = hides ? m_groups.try_emplace(group).first : m_groups.find(group);
        m_last = at == m_groups.end() ? nullptr : &at->second;
        m_lastGroup = group;
    }
    if (!m_last)
        return false;
    if (m_last->Covers(low, high))
        return true;
    if (hides)
        m_last->Add(low, high);
    return false;
}

// The bars of the definition, and the range of values they span.
std::vector<CBar> MakeBars(const CChartDefinition& def, const CBarStyle& style, double& low, double& high)
{
    std::vector<CBar> bars;
    bars.reserve(def.sparse ? def.sparseValues.size()
                            : static_cast<std::size_t>(def.points) * static_cast<std::size_t>(def.sets));
    const double groupWidth = 1.0 - def.barGap / 100.0;
    low = 0.0;
    high = 0.0;
    if (def.sparse && !style.stacked && !style.floating) {
        // Side by side the bars of 0 draw nothing: only the values given are bars.
        const double width = def.sets > 0 ? groupWidth / def.sets : groupWidth;
        for (const CChartValueAt& v : def.sparseValues) {
            const double start = v.point + (1.0 - groupWidth) / 2.0;
            bars.push_back({v.point, v.set, start + v.set * width, start + (v.set + 1) * width, 0.0, v.value});
            low = std::min(low, v.value);
            high = std::max(high, v.value);
        }
        return bars;
    }
    for (int p = 0; p < def.points; ++p) {
        const double start = p + (1.0 - groupWidth) / 2.0;
        if (!style.stacked && !style.floating) {
            const double width = def.sets > 0 ? groupWidth / def.sets : groupWidth;
            for (int s = 0; s < def.sets; ++s) {
                const double v = def.Value(p, s);
                bars.push_back({p, s, start + s * width, start + (s + 1) * width, 0.0, v});
                low = std::min(low, v);
                high = std::max(high, v);
            }
            continue;
        }
        // Stacked: positive values pile up from 0, negative ones down; floating bars pile up
        // from the first set's value, which is not drawn.
        double up = style.floating ? def.Value(p, 0) : 0.0;
        double down = up;
        low = std::min(low, up);
        high = std::max(high, up);
        for (int s = style.floating ? 1 : 0; s < def.sets; ++s) {
            const double v = def.Value(p, s);
            double& end = v >= 0.0 ? up : down;
            // A floating bar of no length is an empty slot: nothing is drawn there.
            if (!style.floating || v != 0.0)
                bars.push_back({p, s, start, start + groupWidth, end, end + v});
            end += v;
            low = std::min(low, end);
            high = std::max(high, end);
        }
    }
    return bars;
}

void DrawBarChart(CChart& chart, int kind, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    CBarStyle style;
    style.horizontal = (options & 0x800) != 0;
    style.stacked = (options & 0x2000) != 0;
    style.floating = (options & 0x80) != 0 && def.sets > 1;
    style.perPoint = def.sets == 1;
    double low = 0.0, high = 0.0;
    const std::vector<CBar> bars = MakeBars(def, style, low, high);
    bool categoryFar = false, valueFar = false;
    AxisSides(def, style.horizontal, categoryFar, valueFar);
    CChartAxisPlan category = CategoryPlan(def, categoryFar);
    CChartAxisPlan value = ValuePlan(def, low, high, valueFar);
    CChartAxes axes = style.horizontal ? CChartAxes(chart, value, category, options) : CChartAxes(chart, category, value, options);
    double dx = 0.0, dy = 0.0;
    if (kind != kChartBar) {
        const double depth = std::min(region.Width(), region.Height()) * kDepthShare * std::max(def.depth, 0) / 100.0;
        const double angle = std::clamp(def.rotation + def.elevation, 10, 80) * std::numbers::pi / 180.0;
        dx = depth * std::cos(angle);
        dy = depth * std::sin(angle);
        axes.SetDepth(dx, dy);
    }
    const CChartRect plot = axes.Layout(region);
    axes.DrawGrid(plot);
    // Side by side every bar spans from 0: the later bars of a column cover one span.
    const bool sideBySide = kind == kChartBar && !style.stacked && !style.floating;
    const std::vector<bool> covered =
        sideBySide ? CoveredThinBars(chart, axes, plot, style, bars) : std::vector<bool>(bars.size(), false);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (!covered[i])
            DrawBar(chart, BarCorners(axes, plot, bars[i], style.horizontal), bars[i], style, dx, dy);
    }
    axes.DrawAxes(plot);
    axes.StoreLayout(plot);
}

void DrawBoxChart(CChart& chart, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    double low = 0.0, high = 0.0;
    bool first = true;
    for (int p = 0; p < def.points; ++p) {
        for (int s = 0; s < std::min(def.sets, kBoxSets); ++s) {
            const double v = def.Value(p, s);
            low = first ? v : std::min(low, v);
            high = first ? v : std::max(high, v);
            first = false;
        }
    }
    bool categoryFar = false, valueFar = false;
    AxisSides(def, false, categoryFar, valueFar);
    CChartAxes axes(chart, CategoryPlan(def, categoryFar), ValuePlan(def, low, high, valueFar), options);
    const CChartRect plot = axes.Layout(region);
    axes.DrawGrid(plot);
    const CColor black = chart.PaletteColor(0);
    const double half = (1.0 - def.barGap / 100.0) / 2.0;
    const bool outlined = (options & 0x400) != 0;
    for (int p = 0; p < def.points && def.sets >= kBoxSets; ++p) {
        std::array<double, kBoxSets> q{};
        for (int s = 0; s < kBoxSets; ++s)
            q[static_cast<std::size_t>(s)] = axes.Y(plot, def.Value(p, s));
        const double x0 = axes.X(plot, p + 0.5 - half), x1 = axes.X(plot, p + 0.5 + half);
        const double xm = axes.X(plot, p + 0.5);
        const double cap = (x1 - x0) / 4.0;
        for (const auto& [a, b] : {std::pair{1, 2}, std::pair{4, 5}})
            chart.AddPolyline({{xm, q[static_cast<std::size_t>(a)]}, {xm, q[static_cast<std::size_t>(b)]}}, black, 1.0, 0);
        for (int s : {1, 5})
            chart.AddPolyline({{xm - cap, q[static_cast<std::size_t>(s)]}, {xm + cap, q[static_cast<std::size_t>(s)]}}, black, 1.0, 0);
        const CColor color = chart.PaletteColor(chart.ColorIndexFor(p, 0, true));
        const int pattern = chart.PatternFor(p, 0, true);
        chart.AddPolygon({{x0, q[2]}, {x1, q[2]}, {x1, q[4]}, {x0, q[4]}}, color, pattern, black,
                         outlined || pattern == kChartPatternHollow ? 1.0 : 0.0, CChartPrimitive::kHitCell, 0, p);
        chart.AddPolyline({{x0, q[3]}, {x1, q[3]}}, black, 2.0, 0);
        for (int s : {0, 6})
            chart.AddSymbol(xm, q[static_cast<std::size_t>(s)], cap, 6, black, 0, p, true);
    }
    axes.DrawAxes(plot);
    axes.StoreLayout(plot);
}
