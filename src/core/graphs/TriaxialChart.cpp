// Graph type 24, "Many glazes - Oxides (triaxial)": each plotted glaze stands in an equilateral
// triangle by the shares of three graph variables in their sum. The engine draws an empty 0 to 1
// point chart to fix the plot area; the triangle is inscribed in it, its outline, grid and corner
// labels are drawn here, and the points are plotted in the plot area's 0 to 1 space. A manual X
// (and Y) scale zooms into a smaller triangle.

#include "graphs/Graph.h"

#include "graphs/GraphPointTable.h"
#include "support/NumberFormat.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kSin60 = 0.866025403;
constexpr double kOneOverSin60 = 1.1547005394251697;
constexpr double kOutsidePoint = 1.1; // beyond the 0 to 1 axes of the frame pass
constexpr int kDefaultDivisions = 10;
constexpr double kCornerNameDrop = 20.0; // the bottom corners' names hang this far below the base
constexpr double kTopNameShift = 40.0;   // the top corner's name stands this far right of it

// The triangle in the plot area (left L, bottom T, width Wd, height Ht): its bounding box X0, Y0,
// W, H lies dx, dy inside. Corners: z bottom left, x bottom right, y at the top.
struct CTriangle {
    double L = 0.0, T = 0.0, Wd = 0.0, Ht = 0.0;
    double dx = 0.0, dy = 0.0;
    double X0 = 0.0, Y0 = 0.0, W = 0.0, H = 0.0;
};

// The triangle inscribed in the plot area less `below` at its bottom and `above` at its top (of
// no size in an area of none).
CTriangle InscribeTriangle(double L, double T, double Wd, double Ht, double below, double above)
{
    CTriangle t{L, T, Wd, Ht};
    const double room = std::max(Ht - below - above, 0.0);
    t.W = std::min(std::max(Wd, 0.0), room * kOneOverSin60);
    t.H = t.W * kSin60;
    t.dx = (Wd - t.W) * 0.5;
    t.dy = (room - t.H) * 0.5 + below;
    t.X0 = L + t.dx;
    t.Y0 = T + t.dy;
    return t;
}

// The shown ranges of the three shares (x, y, z).
struct CShareRanges {
    double min[3] = {0.0, 0.0, 0.0};
    double max[3] = {1.0, 1.0, 1.0};
};

// A manual X scale zooms into the triangle of side xmax - xmin whose y share starts at ymin
// (with a manual Y scale; else 0); percentages with a percent unit.
CShareRanges ZoomRanges(const CGraphTemplate& t)
{
    CShareRanges r;
    if (!t.xman)
        return r;
    const double unit = t.oxtype != kGraphUnitUnity ? 0.01 : 1.0;
    const double xmin = t.xmin * unit, xmax = t.xmax * unit, ymin = t.yman ? t.ymin * unit : 0.0;
    const double mins[3] = {xmin, ymin, 1.0 - ymin - xmax};
    const double maxs[3] = {xmax, ymin + xmax - xmin, 1.0 - ymin - xmin};
    for (int i = 0; i < 3; ++i) {
        r.min[i] = RoundToPowerOfTen(mins[i], -2);
        r.max[i] = RoundToPowerOfTen(maxs[i], -2);
    }
    return r;
}

// The raw values become shares of their sum; a glaze whose sum is not positive is kept, but
// not drawn.
void ToShares(CGraphPointTable& table)
{
    for (std::size_t i = 0; i < table.flags.size(); ++i) {
        if (table.flags[i] != 0)
            continue;
        double sum = table.values[2][i] + table.values[1][i] + table.values[0][i];
        if (sum <= 0.0) {
            sum = 1.0;
            table.flags[i] = kChartPointMissing;
        }
        for (std::vector<double>& values : table.values)
            values[i] /= sum;
    }
}

void DrawTriangle(CChartEngine& engine, const CTriangle& t, int divisions)
{
    const auto line = [&engine](double x1, double y1, double x2, double y2) {
        engine.ChartDrawLine(x1, y1, x2, y2, 1, 0, 0);
    };
    line(t.X0, t.Y0, t.X0 + t.W / 2.0, t.Y0 + t.H);
    line(t.X0 + t.W / 2.0, t.Y0 + t.H, t.X0 + t.W, t.Y0);
    line(t.X0 + t.W, t.Y0, t.X0, t.Y0);
    // Three families of lines parallel to the sides (the first of each retraces the outline).
    for (int i = 0; i < divisions; ++i) {
        const double f = static_cast<double>(i) / divisions, g = 1.0 - f;
        line(t.X0 + f * t.W, t.Y0, t.X0 + (f + g / 2.0) * t.W, t.Y0 + g * t.H);
    }
    for (int i = 0; i < divisions; ++i) {
        const double f = static_cast<double>(i) / divisions, g = 1.0 - f;
        line(t.X0 + f / 2.0 * t.W, t.Y0 + f * t.H, t.X0 + (f / 2.0 + g) * t.W, t.Y0 + f * t.H);
    }
    for (int i = 0; i < divisions; ++i) {
        const double f = static_cast<double>(i) / divisions, g = 1.0 - f;
        line(t.X0 + g / 2.0 * t.W, t.Y0 + g * t.H, t.X0 + g * t.W, t.Y0);
    }
}

// Texts joined with ", ", each only when its condition holds.
std::string JoinTexts(std::initializer_list<std::pair<bool, const std::string*>> parts)
{
    std::string text;
    for (const auto& [shown, part] : parts) {
        if (shown)
            text += (text.empty() ? "" : ", ") + *part;
    }
    return text;
}

// An empty 0 to 1 point chart (every point beyond the axes) that fixes the plot area.
void DrawFramePass(CChartEngine& engine, const CGraphPointTable& table)
{
    const int n = table.Size();
    const std::vector<double> outside(static_cast<std::size_t>(n), kOutsidePoint);
    engine.ChartSetAutoRedraw(0);
    engine.ChartSetAxisX(0x18, 1, 0, 1.0, 0.0);
    engine.ChartSetAxisY(0x18, 1, 0, 1.0, 0.0);
    engine.ChartSetTriaxial(7, 15);
    engine.ChartSetXData(n, outside);
    engine.ChartSetData(table.points, table.SeriesCount(), outside);
    engine.ChartSetPointFlags(n, table.flags);
    engine.ChartSetKind(kChartPoints, 1, 0x20);
    engine.ChartSetAutoRedraw(1);
}

// The names of the corners: the ranges they bound, "20% SiO2, 10% Al2O3, 70% CaO" (percent
// units) or "1.00 SiO2" (molecular parts); the bottom left (z), bottom right (x) and top (y).
struct CCornerNames {
    std::string left, right, top;
};

CCornerNames CornerNames(const CGraphTemplate& graph, const CShareRanges& r)
{
    const int codes[3] = {graph.xoxide, graph.yoxide, graph.zoxide};
    const bool percent = graph.oxtype != kGraphUnitUnity;
    std::string min[3], max[3];
    for (int k = 0; k < 3; ++k) {
        std::string label, format;
        GetGraphVariableLabel(graph, codes[k], label, format);
        const auto text = [&](double v) {
            return (percent ? FormatFixed(v * 100.0, 0) + "%" : FormatFixed(v, 2)) + " " + label;
        };
        min[k] = text(r.min[k]);
        max[k] = text(r.max[k]);
    }
    const bool x = r.min[0] > 0.0, y = r.min[1] > 0.0, z = r.min[2] > 0.0;
    return {JoinTexts({{x, &min[0]}, {y, &min[1]}, {true, &max[2]}}), JoinTexts({{true, &max[0]}, {y, &min[1]}, {z, &min[2]}}),
            JoinTexts({{x, &min[0]}, {true, &max[1]}, {z, &min[2]}})};
}

// The triangle in the plot area with room for its corners' names inside the area, where each
// stands clear of the others and of what stands round the area (the side titles, the legend):
// the bottom names centred under their corners a blank apart, the top one beside the top corner.
// Names no triangle the area holds leaves room for are left out (emptied).
CTriangle PlaceTriangle(CChartEngine& engine, double left, double bottom, double width, double height,
                        CCornerNames& names, double below, double above)
{
    const auto measure = [&engine](const std::string& text) { return engine.ChartMeasureTextWidth(3, 0, text); };
    const double leftHalf = measure(names.left) / 2.0, rightHalf = measure(names.right) / 2.0;
    const double apart = leftHalf + rightHalf + measure(" ");
    CTriangle t = InscribeTriangle(left, bottom, width, height, below, above);
    if (t.X0 - leftHalf < left || t.X0 + t.W + rightHalf > left + width || t.W < apart) {
        t = InscribeTriangle(left + leftHalf, bottom, width - leftHalf - rightHalf, height, below, above);
        t.dx += leftHalf;
        t.L = left;
        t.Wd = width;
    }
    if (t.W < apart) {
        names.left.clear();
        names.right.clear();
        t = InscribeTriangle(left, bottom, width, height, 0.0, above);
    }
    if (t.X0 + t.W / 2.0 + kTopNameShift + measure(names.top) > left + width)
        names.top.clear();
    return t;
}

void DrawCorners(CChartEngine& engine, const CTriangle& t, const CCornerNames& names)
{
    if (!names.left.empty()) {
        engine.ChartDrawText(t.X0, t.Y0 - kCornerNameDrop, 3, 0x112, 0, names.left);
        engine.ChartDrawText(t.X0 + t.W, t.Y0 - kCornerNameDrop, 3, 0x112, 0, names.right);
    }
    if (!names.top.empty())
        engine.ChartDrawText(t.X0 + t.W / 2.0 + kTopNameShift, t.Y0 + t.H, 3, 0x110, 0, names.top);
}

// The points' places in the plot area's 0 to 1 space; a point outside the ranges (bounds
// included) is not drawn and keeps its shares.
void PlacePoints(CGraphPointTable& table, const CTriangle& t, const CShareRanges& r, std::vector<double>& xs,
                 std::vector<double>& ys)
{
    xs = table.values[0];
    ys = table.values[1];
    for (std::size_t i = 0; i < table.flags.size(); ++i) {
        bool inside = table.flags[i] == 0;
        for (std::size_t k = 0; k < 3 && inside; ++k)
            inside = table.values[k][i] >= r.min[k] && table.values[k][i] <= r.max[k];
        if (!inside) {
            table.flags[i] = kChartPointMissing;
            continue;
        }
        const double fx = (table.values[0][i] - r.min[0]) / (r.max[0] - r.min[0]);
        const double fy = (table.values[1][i] - r.min[1]) / (r.max[1] - r.min[1]);
        xs[i] = t.Wd > 0.0 ? (fx + fy * 0.5) * t.W / t.Wd + t.dx / t.Wd : 0.0;
        ys[i] = t.Ht > 0.0 ? fy * kSin60 * (t.H / t.Ht) * kOneOverSin60 + t.dy / t.Ht : 0.0;
    }
}

} // namespace

void CGraph::BuildTriaxial(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    if (!CheckPointVariables(3))
        return;
    const CShareRanges ranges = ZoomRanges(*this);
    // A zoom of no size would divide by zero: the scale is refused before anything is drawn.
    if (!(ranges.max[0] > ranges.min[0])) {
        m_errorText = "Triaxial zoom: the X axis maximum must be greater than its minimum";
        return;
    }
    bpoxides = FormatVariableList(xoxide, yoxide, zoxide);
    CGraphPointTable table;
    if (!FillPointTable(table, 3, glazeDb, glaze))
        return;
    ToShares(table);
    CChartEngine& engine = Engine();
    engine.ChartDefBegin();
    const char* unit = oxtype == kGraphUnitUnity ? "Molecular parts" : oxtype == kGraphUnitWeightPercent ? "% Weight"
                                                                                                        : "% Molecular";
    SetTriaxialTitles(CountedGlazes("Data for ", table.glazeCount), unit);
    SetPointLegend(table);
    SetPointStyles(table);
    DrawFramePass(engine, table);
    const double left = engine.ChartGetLayout(6);
    const double bottom = engine.ChartGetLayout(7);
    const double width = engine.ChartGetLayout(4);
    const double height = engine.ChartGetLayout(5);
    // The corner names stand below the base and over the top corner, inside the plot region:
    // clear of a bottom or top title.
    double below = 0.0, above = 0.0;
    CCornerNames names;
    if (labels) {
        engine.ChartSetTextFont(txtrifam, txtristy, txtrisiz, 0);
        above = engine.ChartGetTextHeight();
        below = kCornerNameDrop + above;
        names = CornerNames(*this, ranges);
    }
    const CTriangle t = PlaceTriangle(engine, left, bottom, width, height, names, below, above);
    if (!ovfile.empty())
        DrawBackgroundImage(t.X0, t.Y0, t.W, t.H);
    DrawTriangle(engine, t, gridx ? (xman ? xtick : yman ? ytick : kDefaultDivisions) : 0);
    if (labels)
        DrawCorners(engine, t, names);
    std::vector<double> xs, ys;
    PlacePoints(table, t, ranges, xs, ys);
    const int n = table.Size();
    engine.ChartSetXData(n, xs);
    engine.ChartSetData(table.points, table.SeriesCount(), ys);
    engine.ChartSetPointFlags(n, table.flags);
    engine.ChartSetKind(kChartPoints, 0x11, 0x20);
    // The base again, over the points.
    engine.ChartDrawLine(t.X0 + t.W, t.Y0, t.X0, t.Y0, 1, 0, 0);
    engine.ChartDefEnd();
}
