#include "graphs/ChartView3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kGridColor = 7;
constexpr int kEdgeColor = 8;
constexpr double kTickShare = 0.012; // of the area's height
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

void CChartView3D::Fit(const CChartRect& region)
{
    m_scale = 1.0;
    m_offsetX = m_offsetY = 0.0;
    const CChartRect box = Bounds();
    const double width = std::max(box.Width(), 1e-9), height = std::max(box.Height(), 1e-9);
    m_scale = std::max(std::min(region.Width() / width, region.Height() / height), 1e-9);
    m_offsetX = region.CenterX() - box.CenterX() * m_scale;
    m_offsetY = region.CenterY() - box.CenterY() * m_scale;
}

CChartPointD CChartView3D::Project(const CChartPoint3D& p) const
{
    const CChartPointD flat = Flat(p);
    return {flat.x * m_scale + m_offsetX, flat.y * m_scale + m_offsetY};
}

double CChartView3D::Depth(const CChartPoint3D& p) const { return Turn(p).z; }

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

} // namespace

void DrawChartAxis3D(CChart& chart, const CChartView3D& view, const CChartAxis3D& axis)
{
    double a = 0.0, b = 0.0;
    AxisEdge(view, axis, a, b);
    const CColor black = chart.PaletteColor(0);
    const CChartPointD from = view.Project(CubePoint(axis.direction, 0.0, a, b));
    const CChartPointD to = view.Project(CubePoint(axis.direction, 1.0, a, b));
    chart.AddPolyline({from, to}, black, 1.0, 0);
    // Ticks and labels point away from the middle of the picture.
    const CChartRect box = view.Bounds();
    const CChartPointD middle = view.Project(CubePoint(axis.direction, 0.5, a, b));
    double dx = middle.x - box.CenterX(), dy = middle.y - box.CenterY();
    const double length = std::hypot(dx, dy);
    dx = length > 1e-9 ? dx / length : 0.0;
    dy = length > 1e-9 ? dy / length : -1.0;
    const double tick = chart.ChartGetAreaHeight() * kTickShare;
    const CChartFont font = chart.FontOf(2);
    const double th = chart.TextHeightUnits(font);
    const int align = (dx > 0.35 ? 0 : dx < -0.35 ? 0x01 : 0x02) | (dy < -0.35 ? 0x100 : 0);
    const double lift = std::fabs(dy) <= 0.35 ? -th / 2.0 : 0.0;
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        const CChartPointD p = view.Project(CubePoint(axis.direction, axis.ticks[i], a, b));
        chart.AddPolyline({p, {p.x + dx * tick, p.y + dy * tick}}, black, 1.0, 0);
        if (i < axis.labels.size())
            chart.AddText(p.x + dx * tick * 1.5, p.y + dy * tick * 1.5 + lift, align, font, black, 0, axis.labels[i]);
    }
}

double ChartAxisRoom3D(const CChart& chart, const CChartAxis3D axes[3])
{
    const CChartFont font = chart.FontOf(2);
    double room = chart.TextHeightUnits(font);
    for (int d = 0; d < 3; ++d) {
        for (const std::string& label : axes[d].labels)
            room = std::max(room, chart.TextWidthUnits(font, label));
    }
    return room + chart.ChartGetAreaHeight() * kTickShare * 2.0;
}
