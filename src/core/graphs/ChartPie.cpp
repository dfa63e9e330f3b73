// Pies, flat and with a 3-D look: slices counter-clockwise from the right (three o'clock), in
// data order, one per point of the first set; labels beside the slices with leader lines.

#include "graphs/ChartDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kArcStep = std::numbers::pi / 90.0; // 2 degrees
constexpr double kThicknessShare = 0.12;             // of the radius, at depth 100 %, tilted most
constexpr double kMostTilt = 80.0;                   // degrees

struct CPieGeometry {
    double cx = 0.0;
    double cy = 0.0; // centre of the top face
    double rx = 0.0;
    double ry = 0.0;
    double thickness = 0.0;

    CChartPointD At(double angle, double drop = 0.0) const
    {
        return {cx + rx * std::cos(angle), cy + ry * std::sin(angle) - drop};
    }
};

struct CSlice {
    int point = 0;
    double from = 0.0;
    double to = 0.0;
};

struct CPieLabel {
    int point = 0;
    CChartPointD edge;  // where the leader line starts
    double y = 0.0;     // the label's centre line
    bool right = true;
    std::string text;
    double sweep = 0.0; // of its slice
};

std::vector<CChartPointD> Arc(const CPieGeometry& g, double from, double to, double drop)
{
    std::vector<CChartPointD> points;
    const int steps = std::max(1, static_cast<int>(std::ceil((to - from) / kArcStep)));
    for (int i = 0; i <= steps; ++i)
        points.push_back(g.At(from + (to - from) * i / steps, drop));
    return points;
}

// The wall under the front half of the rim (angles pi to 2 pi and their turns, facing the eye).
void DrawSideWall(CChart& chart, const CPieGeometry& g, const CSlice& slice, CColor color)
{
    for (int turn = -1; turn <= 2; ++turn) {
        const double from = std::max(slice.from, (2 * turn + 1) * std::numbers::pi);
        const double to = std::min(slice.to, (2 * turn + 2) * std::numbers::pi);
        if (to <= from)
            continue;
        std::vector<CChartPointD> wall = Arc(g, from, to, 0.0);
        std::vector<CChartPointD> lower = Arc(g, from, to, g.thickness);
        wall.insert(wall.end(), lower.rbegin(), lower.rend());
        chart.AddPolygon(wall, ShadeColor(color, 0.7), kChartPatternSolid, ShadeColor(color, 0.45), 1.0);
    }
}

// Spreads one side's labels so that none overlaps the next, top to bottom, within the region: of
// more than its height holds, those of the smallest slices are left out.
void SpreadLabels(std::vector<CPieLabel*>& side, double lineHeight, const CChartRect& region)
{
    const double held = std::floor(std::max(region.Height(), 0.0) / lineHeight + 1e-9);
    if (static_cast<double>(side.size()) > held) {
        std::stable_sort(side.begin(), side.end(), [](const CPieLabel* a, const CPieLabel* b) { return a->sweep > b->sweep; });
        side.resize(static_cast<std::size_t>(held));
    }
    std::sort(side.begin(), side.end(), [](const CPieLabel* a, const CPieLabel* b) { return a->y > b->y; });
    for (std::size_t i = 0; i < side.size(); ++i) {
        const double highest = i == 0 ? region.top - lineHeight / 2.0 : side[i - 1]->y - lineHeight;
        side[i]->y = std::min(side[i]->y, highest);
    }
    const double lowest = region.bottom + lineHeight / 2.0;
    for (std::size_t i = side.size(); i-- > 0;) {
        const double floor = i + 1 == side.size() ? lowest : side[i + 1]->y + lineHeight;
        side[i]->y = std::max(side[i]->y, floor);
    }
}

void DrawLabels(CChart& chart, std::vector<CPieLabel>& labels, const CPieGeometry& g, const CChartRect& region,
                double gap)
{
    const CChartFont font = chart.FontOf(2);
    const double th = chart.TextHeightUnits(font);
    std::vector<CPieLabel*> left, right;
    for (CPieLabel& label : labels)
        (label.right ? right : left).push_back(&label);
    SpreadLabels(left, th, region);
    SpreadLabels(right, th, region);
    const CColor black = chart.PaletteColor(0);
    std::vector<const CPieLabel*> shown(left.begin(), left.end());
    shown.insert(shown.end(), right.begin(), right.end());
    std::sort(shown.begin(), shown.end(), [](const CPieLabel* a, const CPieLabel* b) { return a->point < b->point; });
    for (const CPieLabel* each : shown) {
        const CPieLabel& label = *each;
        const double x = g.cx + (label.right ? 1.0 : -1.0) * (g.rx + gap);
        chart.AddPolyline({label.edge, {x, label.y}}, black, 1.0, 0);
        const double textX = label.right ? x + gap / 3.0 : x - gap / 3.0;
        // A label wider than the room beside the pie in a narrow window is shortened to it.
        const double room = label.right ? region.right - textX : textX - region.left;
        chart.AddText(textX, label.y - th / 2.0, label.right ? 0 : 0x01, font, black, 0,
                      ElideChartText(chart, font, label.text, room));
    }
}

} // namespace

void DrawPieChart(CChart& chart, bool threeD, int options, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    const bool labelsOn = (options & 1) == 0;
    const CChartFont font = chart.FontOf(2);
    const double th = chart.TextHeightUnits(font);
    const double gap = th;
    std::vector<double> values;
    double total = 0.0;
    double widest = 0.0;
    for (int i = 0; i < def.points; ++i) {
        values.push_back(std::max(def.Value(i, 0), 0.0));
        total += values.back();
        if (labelsOn && values.back() > 0.0 && static_cast<std::size_t>(i) < def.pointLabels.size())
            widest = std::max(widest, chart.TextWidthUnits(font, def.pointLabels[static_cast<std::size_t>(i)]));
    }
    const double sideRoom = labelsOn ? widest + gap * 1.5 : 0.0;
    const double endRoom = labelsOn ? th + gap / 2.0 : 0.0;
    CPieGeometry g;
    // A 3-D pie's face turns away from the eye by 30 + elevation degrees (0 face on, at most 80):
    // its circle shows as an ellipse of that tilt, its wall as deep as the tilt lets it show.
    const double tilt = threeD ? std::clamp(30.0 + def.elevation, 0.0, kMostTilt) * std::numbers::pi / 180.0 : 0.0;
    const double ratio = std::cos(tilt);
    const double thicknessShare = kThicknessShare * std::clamp(def.depth, 0, 200) / 100.0 * std::sin(tilt) / std::sin(kMostTilt * std::numbers::pi / 180.0);
    // The radius fits the width beside the labels and the height (ellipse plus wall).
    const double byWidth = region.Width() / 2.0 - sideRoom;
    const double byHeight = (region.Height() - 2.0 * endRoom) / (2.0 * ratio + thicknessShare);
    g.rx = std::max(std::min(byWidth, byHeight), std::min(region.Width(), region.Height()) * 0.1);
    g.ry = g.rx * ratio;
    g.thickness = g.rx * thicknessShare;
    g.cx = region.CenterX();
    g.cy = region.CenterY() + g.thickness / 2.0;
    auto& layout = chart.CurrentLayout().values;
    layout[4] = 2.0 * g.rx;
    layout[5] = 2.0 * g.ry + g.thickness;
    layout[6] = g.cx - g.rx;
    layout[7] = g.cy - g.ry - g.thickness;
    if (total <= 0.0)
        return;
    std::vector<CSlice> slices;
    // The first slice starts at three o'clock turned by the view's rotation.
    double angle = threeD ? std::fmod(static_cast<double>(def.rotation), 360.0) * std::numbers::pi / 180.0 : 0.0;
    for (int i = 0; i < def.points; ++i) {
        const double sweep = 2.0 * std::numbers::pi * values[static_cast<std::size_t>(i)] / total;
        if (sweep > 0.0)
            slices.push_back({i, angle, angle + sweep});
        angle += sweep;
    }
    const CColor black = chart.PaletteColor(0);
    for (const CSlice& slice : slices) {
        if (threeD)
            DrawSideWall(chart, g, slice, chart.PaletteColor(chart.ColorIndexFor(slice.point, 0, true)));
    }
    std::vector<CPieLabel> labels;
    for (const CSlice& slice : slices) {
        const CColor color = chart.PaletteColor(chart.ColorIndexFor(slice.point, 0, true));
        const int pattern = chart.PatternFor(slice.point, 0, true);
        const bool hollow = pattern == kChartPatternHollow;
        std::vector<CChartPointD> polygon{{g.cx, g.cy}};
        const std::vector<CChartPointD> arc = Arc(g, slice.from, slice.to, 0.0);
        polygon.insert(polygon.end(), arc.begin(), arc.end());
        const CColor outline = hollow ? color : threeD ? ShadeColor(color, 0.45) : black;
        const double outlineWidth = hollow ? 1.5 : threeD ? 1.0 : 0.0;
        chart.AddPolygon(polygon, color, pattern, outline, outlineWidth, CChartPrimitive::kHitCell, 0, slice.point);
        const std::size_t point = static_cast<std::size_t>(slice.point);
        if (!labelsOn || point >= def.pointLabels.size() || def.pointLabels[point].empty())
            continue;
        const double middle = (slice.from + slice.to) / 2.0;
        const double drop = std::sin(middle) < 0.0 ? g.thickness : 0.0;
        CPieLabel label;
        label.point = slice.point;
        label.edge = g.At(middle, drop);
        label.y = g.cy + (g.ry + gap / 2.0) * std::sin(middle) - drop;
        label.right = std::cos(middle) >= 0.0;
        label.text = def.pointLabels[point];
        label.sweep = slice.to - slice.from;
        labels.push_back(label);
    }
    DrawLabels(chart, labels, g, region, gap);
}
