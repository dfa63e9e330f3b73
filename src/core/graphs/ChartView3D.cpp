#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kGridColor = 7;
constexpr int kEdgeColor = 8;
constexpr double kTickShare = 0.012; // of the area's height
constexpr double kLeastScale = 0.2;  // of the box's own fit, whatever its labels ask
constexpr double kUprightShare = 0.4; // an upright label's length, of the region's height at most
constexpr double kBesideShare = 0.25; // a label beside the box, of the region's width at most
constexpr int kMostLines = 3;          // of a label broken into lines; a longer one stands upright
const CColor kWallColor(240, 240, 240);

double& Coordinate(CChartPoint3D& p, int direction) { return direction == 0 ? p.x : direction == 1 ? p.y : p.z; }

// The point of the cube with coordinate `along` in direction d and a, b in the two others (in
// the order x, y, z).
CChartPoint3D CubePoint(int d, double along, double a, double b)
{
    CChartPoint3D p;
    const int first = d == 0 ? 1 : 0;
    const int second = d == 2 ? 1 : 2;
    Coordinate(p, d) = along;
    Coordinate(p, first) = a;
    Coordinate(p, second) = b;
    return p;
}

} // namespace

CChartView3D::CChartView3D(const CChartDefinition& def, double wx, double wy, double wz)
    : m_wx(std::max(wx, 1e-3)), m_wy(std::max(wy, 1e-3)), m_wz(std::max(wz, 1e-3))
{
    const double rotation = std::fmod(static_cast<double>(def.rotation), 360.0) * kDegree;
    const double elevation = std::clamp(def.elevation, -90, 90) * kDegree;
    m_cosR = std::cos(rotation);
    m_sinR = std::sin(rotation);
    m_cosE = std::cos(elevation);
    m_sinE = std::sin(elevation);
    m_perspective = (def.viewMode & 1) != 0;
    m_flip = (def.viewMode & 6) != 0;
    // The eye stands 1.6 (eye 100, the nearest) to 7.6 (eye 0) box diagonals from the box's
    // centre.
    const double diagonal = std::sqrt(m_wx * m_wx + m_wy * m_wy + m_wz * m_wz);
    m_eye = diagonal * (1.6 + 0.06 * (100 - std::clamp(def.eye, 0, 100)));
}

CChartPoint3D CChartView3D::Turn(const CChartPoint3D& p) const
{
    const double x = (p.x - 0.5) * m_wx, y = (p.y - 0.5) * m_wy, z = (p.z - 0.5) * m_wz;
    const double x1 = x * m_cosR + z * m_sinR;
    const double z1 = -x * m_sinR + z * m_cosR;
    return {x1, y * m_cosE + z1 * m_sinE, z1 * m_cosE - y * m_sinE};
}

CChartPointD CChartView3D::Flat(const CChartPoint3D& p) const
{
    const CChartPoint3D t = Turn(p);
    const double f = m_perspective ? m_eye / (m_eye + t.z) : 1.0;
    return {t.x * f, t.y * f};
}

void CChartView3D::Fit(const CChartRect& region, std::span<const CChartAttached3D> attached)
{
    // The box's corners, things of no size, come first.
    std::vector<CChartAttached3D> things;
    things.reserve(attached.size() + 8);
    for (int corner = 0; corner < 8; ++corner)
        things.push_back({{static_cast<double>(corner & 1), static_cast<double>((corner >> 1) & 1),
                           static_cast<double>((corner >> 2) & 1)}});
    things.insert(things.end(), attached.begin(), attached.end());
    std::vector<CChartPointD> flats;
    flats.reserve(things.size());
    for (const CChartAttached3D& thing : things)
        flats.push_back(Flat(thing.point));
    // The picture of the first `count` things at a scale, about the origin.
    const auto picture = [&](double scale, std::size_t count) {
        CChartRect r{1e300, 1e300, -1e300, -1e300};
        for (std::size_t i = 0; i < count; ++i) {
            r.left = std::min(r.left, flats[i].x * scale + things[i].left);
            r.right = std::max(r.right, flats[i].x * scale + things[i].right);
            r.bottom = std::min(r.bottom, flats[i].y * scale + things[i].bottom);
            r.top = std::max(r.top, flats[i].y * scale + things[i].top);
        }
        return r;
    };
    const auto fits = [&](double scale) {
        const CChartRect r = picture(scale, things.size());
        return r.Width() <= region.Width() + 1e-9 && r.Height() <= region.Height() + 1e-9;
    };
    // The box alone sets the largest scale; what stands round it can only take some of that.
    const CChartRect box = picture(1.0, 8);
    const double width = std::max(box.Width(), 1e-9), height = std::max(box.Height(), 1e-9);
    const double largest = std::max(std::min(region.Width() / width, region.Height() / height), 1e-9);
    double scale = largest;
    if (!fits(scale)) {
        double low = 0.0, high = largest;
        for (int step = 0; step < 40; ++step) {
            const double middle = (low + high) / 2.0;
            (fits(middle) ? low : high) = middle;
        }
        // Where even that leaves the box too small to read, the labels run out of the region.
        scale = std::max(low, largest * kLeastScale);
    }
    m_scale = scale;
    const CChartRect r = picture(scale, things.size());
    m_offsetX = region.CenterX() - r.CenterX();
    m_offsetY = region.CenterY() - r.CenterY();
}

CChartPointD CChartView3D::Project(const CChartPoint3D& p) const
{
    const CChartPointD flat = Flat(p);
    return {flat.x * m_scale + m_offsetX, flat.y * m_scale + m_offsetY};
}

double CChartView3D::Depth(const CChartPoint3D& p) const { return Turn(p).z; }

double CChartView3D::UprightX(const CChartPointD& at, double y) const
{
    // Going up, a point turns by (0, cos E, -sin E) times the box's height: in perspective its
    // picture runs to (0, -eye cot E), the same for every upright.
    if (!m_perspective || std::fabs(m_sinE) < 1e-9)
        return at.x;
    const double meetY = -m_eye * m_cosE / m_sinE * m_scale + m_offsetY;
    return std::fabs(meetY - at.y) < 1e-9 ? at.x : at.x + (m_offsetX - at.x) * (y - at.y) / (meetY - at.y);
}

bool CChartView3D::Faces(const CChartPoint3D& n) const
{
    const double z1 = -n.x * m_sinR + n.z * m_cosR;
    return z1 * m_cosE - n.y * m_sinE < -1e-9;
}

CChartRect CChartView3D::Bounds() const
{
    CChartRect r{1e300, 1e300, -1e300, -1e300};
    for (int corner = 0; corner < 8; ++corner) {
        const CChartPointD p = Project({static_cast<double>(corner & 1), static_cast<double>((corner >> 1) & 1),
                                        static_cast<double>((corner >> 2) & 1)});
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.bottom = std::min(r.bottom, p.y);
        r.top = std::max(r.top, p.y);
    }
    return r;
}

void DrawChartCage(CChart& chart, const CChartView3D& view, const CChartAxis3D axes[3], bool thin, bool gridAcross,
                   bool gridUp)
{
    const CColor edge = chart.PaletteColor(kEdgeColor);
    const CColor grid = chart.PaletteColor(kGridColor);
    for (int d = 0; d < 3; ++d) {
        // The wall across direction d: the one behind the data (with cage flipping), else the
        // left wall, the floor and the back wall.
        CChartPoint3D toward{};
        Coordinate(toward, d) = -1.0;
        const double at = view.Flipping() ? (view.Faces(toward) ? 1.0 : 0.0) : (d == 2 ? 1.0 : 0.0);
        std::vector<CChartPointD> wall;
        constexpr double kCorners[4][2] = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}};
        for (const auto& corner : kCorners)
            wall.push_back(view.Project(CubePoint(d, at, corner[0], corner[1])));
        chart.AddPolygon(wall, kWallColor, thin ? kChartPatternHollow : kChartPatternSolid, edge, 1.0);
        // Grid lines at the ticks of the wall's two directions.
        const int first = d == 0 ? 1 : 0;
        const int second = d == 2 ? 1 : 2;
        for (int k = 0; k < 2; ++k) {
            const int along = k == 0 ? first : second;
            if (!(along == 1 ? gridUp : gridAcross))
                continue;
            for (double t : axes[along].ticks) {
                if (t <= 1e-9 || t >= 1.0 - 1e-9)
                    continue;
                const CChartPoint3D from = k == 0 ? CubePoint(d, at, t, 0.0) : CubePoint(d, at, 0.0, t);
                const CChartPoint3D to = k == 0 ? CubePoint(d, at, t, 1.0) : CubePoint(d, at, 1.0, t);
                chart.AddPolyline({view.Project(from), view.Project(to)}, grid, 1.0, 0);
            }
        }
    }
}

namespace {

// The edge of the box in direction d that carries its axis: the lowest in the picture (the
// vertical axis: the leftmost, or the rightmost on the far side), the nearer one of two.
void AxisEdge(const CChartView3D& view, const CChartAxis3D& axis, double& a, double& b)
{
    double best = 0.0, bestDepth = 0.0;
    bool found = false;
    for (int corner = 0; corner < 4; ++corner) {
        const double ca = corner & 1, cb = (corner >> 1) & 1;
        const CChartPoint3D middle = CubePoint(axis.direction, 0.5, ca, cb);
        const CChartPointD p = view.Project(middle);
        const double key = axis.direction == 1 ? (axis.farSide ? -p.x : p.x) : p.y;
        const double depth = view.Depth(middle);
        if (!found || key < best - 1e-6 || (key < best + 1e-6 && depth < bestDepth)) {
            best = key;
            bestDepth = depth;
            a = ca;
            b = cb;
            found = true;
        }
    }
}

// Where an axis' ticks and labels stand: the box edge that carries them and the direction away
// from the middle of the picture, the same at every scale the view is fitted to.
struct CAxisSide {
    double a = 0.0;
    double b = 0.0;
    double dx = 0.0;
    double dy = -1.0;

    bool Beside() const { return std::fabs(dy) <= 0.35; }
};

CAxisSide SideOf(const CChartView3D& view, const CChartAxis3D& axis)
{
    CAxisSide side;
    AxisEdge(view, axis, side.a, side.b);
    const CChartRect box = view.Bounds();
    const CChartPointD middle = view.Project(CubePoint(axis.direction, 0.5, side.a, side.b));
    const double dx = middle.x - box.CenterX(), dy = middle.y - box.CenterY();
    const double length = std::hypot(dx, dy);
    if (length > 1e-9) {
        side.dx = dx / length;
        side.dy = dy / length;
    }
    return side;
}

double TickLength(const CChart& chart) { return chart.ChartGetAreaHeight() * kTickShare; }

std::vector<std::string> LinesOf(const CChartAxis3D& axis, std::size_t i)
{
    if (axis.lines.size() == axis.labels.size())
        return axis.lines[i];
    return {axis.labels[i]};
}

// The box of label i about its anchor: toward the side's direction, its lines one under another.
CChartRect LabelBlock(const CChart& chart, const CChartFont& font, const CChartAxis3D& axis, std::size_t i,
                      const CAxisSide& side)
{
    const double th = chart.TextHeightUnits(font);
    double width = 0.0, height = 0.0;
    for (const std::string& line : LinesOf(axis, i)) {
        const double w = chart.TextWidthUnits(font, line);
        width = axis.upright ? th : std::max(width, w);
        height = axis.upright ? w : height + th;
    }
    const double left = side.dx > 0.35 ? 0.0 : side.dx < -0.35 ? -width : -width / 2.0;
    const double bottom = side.dy < -0.35 ? -height : side.dy > 0.35 ? 0.0 : -height / 2.0;
    return {left, bottom, left + width, bottom + height};
}

// The labels drawn of those the axis shows across the picture (upright, side by side) or up it
// (one above another), each a line high there.
std::vector<bool> LabelsShown(const CChart& chart, const CChartView3D& view, const CChartAxis3D& axis,
                              const CAxisSide& side, bool up, double th)
{
    const std::size_t count = std::min(axis.labels.size(), axis.ticks.size());
    std::vector<double> places;
    for (std::size_t i = 0; i < count; ++i) {
        const CChartPointD p = view.Project(CubePoint(axis.direction, axis.ticks[i], side.a, side.b));
        places.push_back(up ? p.y : p.x);
    }
    const std::span<const std::string> labels = std::span(axis.labels).first(count);
    return axis.numbers ? ChartNumbersShown(chart, places, labels, th) : ChartNamesShown(chart, places, labels, th);
}

// The labels of the axis set to stand clear of each other at the view's present fit.
void BreakLabels(const CChart& chart, const CChartView3D& view, CChartAxis3D& axis, const CAxisSide& side,
                 const CChartRect& region)
{
    const CChartFont font = chart.FontOf(2);
    const std::size_t count = std::min(axis.labels.size(), axis.ticks.size());
    axis.lines.assign(axis.labels.size(), {});
    axis.upright = false;
    axis.shown.clear();
    // The least room between neighbouring ticks across the picture and up it.
    double across = region.Width(), up = region.Height();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const CChartPointD p = view.Project(CubePoint(axis.direction, axis.ticks[i], side.a, side.b));
        const CChartPointD q = view.Project(CubePoint(axis.direction, axis.ticks[i + 1], side.a, side.b));
        across = std::min(across, std::fabs(q.x - p.x));
        up = std::min(up, std::fabs(q.y - p.y));
    }
    const double th = chart.TextHeightUnits(font);
    if (side.Beside() || across < up) {
        // One above another: each label on one line.
        for (std::size_t i = 0; i < count; ++i)
            axis.lines[i] = {ElideChartText(chart, font, axis.labels[i], region.Width() * kBesideShare)};
        axis.shown = LabelsShown(chart, view, axis, side, true, th);
        return;
    }
    // Side by side, with a blank of half a line between neighbours.
    const double room = across - th / 2.0;
    bool fits = true;
    for (std::size_t i = 0; i < count && fits; ++i) {
        axis.lines[i] = WrapChartText(chart, font, axis.labels[i], room);
        fits = axis.lines[i].size() <= kMostLines;
        for (const std::string& line : axis.lines[i])
            fits = fits && chart.TextWidthUnits(font, line) <= room;
    }
    if (fits)
        return;
    axis.upright = true;
    for (std::size_t i = 0; i < count; ++i)
        axis.lines[i] = {ElideChartText(chart, font, axis.labels[i], region.Height() * kUprightShare)};
    // Turned upright side by side, a line wide each, they stand a blank apart at least (where
    // names are thinned, boxes may reach half a pixel into each other).
    const double halfPixel = 0.5 / (chart.PixelsPerUnit() * chart.CurrentArea().unitScale);
    axis.shown = LabelsShown(chart, view, axis, side, false, th + chart.BlankApart(font) + halfPixel);
}

// The ticks and labels of the axes as things attached to the box.
std::vector<CChartAttached3D> AxisThings(const CChart& chart, const CChartAxis3D axes[3], const CAxisSide sides[3])
{
    const CChartFont font = chart.FontOf(2);
    const double tick = TickLength(chart);
    std::vector<CChartAttached3D> things;
    for (int d = 0; d < 3; ++d) {
        const CChartAxis3D& axis = axes[d];
        const CAxisSide& side = sides[d];
        for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
            const CChartPoint3D at = CubePoint(axis.direction, axis.ticks[i], side.a, side.b);
            const double tx = side.dx * tick, ty = side.dy * tick;
            things.push_back({at, std::min(tx, 0.0), std::min(ty, 0.0), std::max(tx, 0.0), std::max(ty, 0.0)});
            if (!axis.Shows(i))
                continue;
            const CChartRect block = LabelBlock(chart, font, axis, i, side);
            things.push_back({at, block.left + tx * 1.5, block.bottom + ty * 1.5, block.right + tx * 1.5,
                              block.top + ty * 1.5});
        }
    }
    return things;
}

} // namespace

double FitChartView3D(const CChart& chart, CChartView3D& view, CChartAxis3D axes[3], const CChartRect& region)
{
    view.Fit(region);
    CAxisSide sides[3];
    for (int d = 0; d < 3; ++d)
        sides[d] = SideOf(view, axes[d]);
    // Labels broken for the room of one fit change the next; a few rounds settle them.
    for (int round = 0; round < 4; ++round) {
        const CChartRect before = view.Bounds();
        for (int d = 0; d < 3; ++d)
            BreakLabels(chart, view, axes[d], sides[d], region);
        view.Fit(region, AxisThings(chart, axes, sides));
        if (view.Bounds().Width() >= before.Width() * 0.99)
            break;
    }
    // The box with the same labels in a region as high and as wide as need be.
    CChartView3D byHeight = view;
    byHeight.Fit({region.left, region.bottom, region.left + std::max(region.Width(), region.Height()) * 1e3, region.top},
                 AxisThings(chart, axes, sides));
    return byHeight.Scale() > 0.0 ? std::min(view.Scale() / byHeight.Scale(), 1.0) : 1.0;
}

void DrawChartAxis3D(CChart& chart, const CChartView3D& view, const CChartAxis3D& axis)
{
    const CAxisSide side = SideOf(view, axis);
    const CColor black = chart.PaletteColor(0);
    chart.AddPolyline({view.Project(CubePoint(axis.direction, 0.0, side.a, side.b)),
                       view.Project(CubePoint(axis.direction, 1.0, side.a, side.b))},
                      black, 1.0, 0);
    const double tick = TickLength(chart);
    const CChartFont font = chart.FontOf(2);
    const double th = chart.TextHeightUnits(font);
    // The lines of the labels shown, each aligned within its block as the block stands to its
    // anchor.
    struct CLine {
        double x = 0.0, y = 0.0;
        int align = 0;
        std::string text;
    };
    std::vector<std::vector<CLine>> labels;
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        const CChartPointD p = view.Project(CubePoint(axis.direction, axis.ticks[i], side.a, side.b));
        chart.AddPolyline({p, {p.x + side.dx * tick, p.y + side.dy * tick}}, black, 1.0, 0);
        if (!axis.Shows(i))
            continue;
        const CChartRect block = LabelBlock(chart, font, axis, i, side);
        const double x = p.x + side.dx * tick * 1.5, y = p.y + side.dy * tick * 1.5;
        const int align = side.dx > 0.35 ? 0 : side.dx < -0.35 ? 0x01 : 0x02;
        const double lineX = x + (align == 0 ? block.left : align == 0x01 ? block.right : block.CenterX());
        const std::vector<std::string> lines = LinesOf(axis, i);
        labels.emplace_back();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double bottom = axis.upright ? y + block.bottom : y + block.top - th * static_cast<double>(k + 1);
            labels.back().push_back({lineX, bottom, align, lines[k]});
        }
    }
    // A label that would come within a blank of a text drawn before the axis' (another axis'
    // label where the two meet at a corner of the box, a title) is left out.
    const double blank = chart.BlankApart(font);
    const int angle = axis.upright ? 90 : 0;
    std::vector<bool> clear;
    for (const std::vector<CLine>& label : labels) {
        clear.push_back(std::all_of(label.begin(), label.end(), [&](const CLine& line) {
            return chart.TextStandsClear(line.x, line.y, line.align, font, angle, line.text, blank);
        }));
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!clear[i])
            continue;
        for (const CLine& line : labels[i])
            chart.AddText(line.x, line.y, line.align, font, black, angle, line.text);
    }
}
