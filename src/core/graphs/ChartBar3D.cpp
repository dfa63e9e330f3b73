// Bars in a true 3-D box, seen from the chart's rotation and elevation: the categories run
// across, the values up, and the sets of side-by-side bars stand in rows one behind the other
// (stacked and floating bars make one row). Lying bars keep the 3-D look of flat bars.

#include "graphs/ChartDrawing.h"
#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBoxHeight = 0.6; // of the box's width
constexpr double kRowDepth = 0.15; // one row's depth at thickness 100 %, of the box's width

struct CBox {
    CBar bar;
    CChartPoint3D low;
    CChartPoint3D high;
    double depth = 0.0;
};

double Get(const CChartPoint3D& p, int direction) { return direction == 0 ? p.x : direction == 1 ? p.y : p.z; }
void Set(CChartPoint3D& p, int direction, double value) { (direction == 0 ? p.x : direction == 1 ? p.y : p.z) = value; }

// The faces turned to the eye, shaded as if lit from above and the front.
void DrawBox(CChart& chart, const CChartView3D& view, const CBox& box, bool perPoint)
{
    const CColor color = chart.PaletteColor(chart.ColorIndexFor(box.bar.point, box.bar.set, perPoint));
    const int pattern = chart.PatternFor(box.bar.point, box.bar.set, perPoint);
    const CColor edge = pattern == kChartPatternHollow ? color : ShadeColor(color, 0.45);
    static constexpr double kShades[3] = {0.75, 1.3, 1.0}; // sides, top and bottom, front and back
    for (int d = 0; d < 3; ++d) {
        for (int side = 0; side < 2; ++side) {
            CChartPoint3D normal;
            Set(normal, d, side ? 1.0 : -1.0);
            if (!view.Faces(normal))
                continue;
            const int a = d == 0 ? 1 : 0, b = d == 2 ? 1 : 2;
            std::vector<CChartPointD> face;
            constexpr int kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (const auto& corner : kCorners) {
                CChartPoint3D p = side ? box.high : box.low;
                Set(p, a, Get(corner[0] ? box.high : box.low, a));
                Set(p, b, Get(corner[1] ? box.high : box.low, b));
                face.push_back(view.Project(p));
            }
            const double shade = d == 1 && side == 0 ? 0.6 : kShades[d];
            chart.AddPolygon(face, ShadeColor(color, shade), pattern, edge, 1.0, CChartPrimitive::kHitCell, box.bar.set,
                             box.bar.point);
        }
    }
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

void DrawBar3DChart(CChart& chart, int options, const CChartRect& region)
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
    const double xGap = std::clamp(def.xGap, 0, 95) / 200.0, zGap = std::clamp(def.zGap, 0, 95) / 200.0;
    std::vector<CBox> boxes;
    for (const CBar& bar : bars) {
        const int row = rows == 1 ? 0 : bar.set;
        const double y0 = std::clamp(scale.Fraction(std::min(bar.v0, bar.v1)), 0.0, 1.0);
        const double y1 = std::clamp(scale.Fraction(std::max(bar.v0, bar.v1)), 0.0, 1.0);
        CBox box{bar, {(bar.point + xGap) / count, y0, (row + zGap) / rows},
                 {(bar.point + 1.0 - xGap) / count, y1, (row + 1.0 - zGap) / rows}};
        box.depth = view.Depth({(box.low.x + box.high.x) / 2, (y0 + y1) / 2, (box.low.z + box.high.z) / 2});
        boxes.push_back(box);
    }
    // The farthest first, so that nearer bars cover them.
    std::stable_sort(boxes.begin(), boxes.end(), [](const CBox& a, const CBox& b) { return a.depth > b.depth; });
    for (const CBox& box : boxes)
        DrawBox(chart, view, box, style.perPoint);
    DrawChartAxis3D(chart, view, axes[0]);
    DrawChartAxis3D(chart, view, axes[1]);
    StoreLayout3D(chart, view.Bounds(), CChartScale{0.0, static_cast<double>(count), count, 0}, scale);
}
