// Graph types 22 "Many glazes - Oxides (scatter)" and 23 "Many glazes - Oxides (3D scatter)":
// each plotted glaze of the data sets is one point of its data set's series, at the values of
// two (three) graph variables. The flat chart may lie over a background image.

#include "graphs/Graph.h"

#include "graphs/GraphAxisFlags.h"
#include "graphs/GraphPointTable.h"

#include <utility>

namespace {

// ChartSetKind options of point charts (graphs/Chart.h).
constexpr int kPointStyle = 0x10;
constexpr int kPointNoLabels = 0x01;
constexpr int kPointGridX = 0x04;
constexpr int kPointGridY = 0x08;
constexpr int kPointSticks = 0x200;
constexpr int kPointKindFlags = 0x20;

int PointStyle(const CGraphTemplate& t)
{
    return kPointStyle + (t.gridx ? kPointGridX : 0) + (t.gridy ? kPointGridY : 0) + (t.labels ? 0 : kPointNoLabels);
}

// The depth axis: ticks by the near side's rule, the template's Z scale when manual.
int ZAxisFlags(const CGraphTemplate& t) { return TickFlags(t.tickin, false) + (t.zman ? kAxisFixedScale : 0); }

// The x values, the main values, the z values (in depth) and the flags of the points.
void SetPointData(CChartEngine& engine, const CGraphPointTable& table, bool depth)
{
    const int n = table.Size();
    engine.ChartSetXData(n, table.values[0]);
    engine.ChartSetData(table.points, table.SeriesCount(), table.values[1]);
    if (depth)
        engine.ChartSetZData(n, table.values[2]);
    engine.ChartSetPointFlags(n, table.flags);
}

} // namespace

void CGraph::BuildScatter(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    if (!CheckPointVariables(2))
        return;
    // The "other" remainders are taken relative to the two plotted variables.
    bpoxides = FormatVariableList(xoxide, yoxide, -1);
    CGraphPointTable table;
    if (!FillPointTable(table, 2, glazeDb, glaze))
        return;
    CChartEngine& engine = Engine();
    engine.ChartDefBegin();
    SetScatterTitles(CountedGlazes("Data for ", table.glazeCount));
    SetPointData(engine, table, false);
    SetPointLegend(table);
    SetPointStyles(table);
    // The scatter's axes follow the rules of the bar axes: sides, ticks, turned labels, scales.
    SetBarAxes();
    const int style = PointStyle(*this);
    engine.ChartSetKind(kChartPoints, style, kPointKindFlags);
    if (ovfile.empty()) {
        DrawPlotFrame(false);
    } else {
        const double left = engine.ChartGetLayout(6);
        const double bottom = engine.ChartGetLayout(7);
        const double width = engine.ChartGetLayout(4);
        const double height = engine.ChartGetLayout(5);
        DrawBackgroundImage(left, bottom, width, height);
        // The points again, over the image.
        engine.ChartSetKind(kChartPoints, style, kPointKindFlags);
        DrawPlotFrame(true);
    }
    engine.ChartDefEnd();
}

void CGraph::BuildScatter3D(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    if (!CheckPointVariables(3))
        return;
    // The template's Z variable stands up (the main data), its Y variable runs into the depth.
    std::swap(yoxide, zoxide);
    bpoxides = FormatVariableList(xoxide, yoxide, zoxide);
    CGraphPointTable table;
    if (!FillPointTable(table, 3, glazeDb, glaze))
        return;
    CChartEngine& engine = Engine();
    engine.ChartDefBegin();
    SetScatterTitles(CountedGlazes("Data for ", table.glazeCount));
    SetPointData(engine, table, true);
    SetPointLegend(table);
    engine.ChartSetView((cgflip3d ? 6 : 0) + (persp3d ? 1 : 0), rot3d, elev3d, eyepos3d);
    engine.ChartSetThin(cgthin3d ? 1 : 0, -1, -1);
    engine.ChartSetDepth(7, depth3d, xgap3d, zgap3d);
    SetPointStyles(table);
    SetBarAxes();
    engine.ChartSetAxisZ(ZAxisFlags(*this), ztick, 0, zmax, zmin);
    engine.ChartSetKind(kChartPoints3D, PointStyle(*this) + (sticks ? kPointSticks : 0), kPointKindFlags);
    engine.ChartDefEnd();
}

void CGraph::DrawBackgroundImage(double left, double bottom, double width, double height)
{
    constexpr int kStretch = 4;
    constexpr int kUnderLayer = 2;
    if (Engine().ChartSetBackgroundImage(left, bottom, width, height, kStretch, kUnderLayer, ovfile) != 0)
        m_noticeText = "Could not read background image file";
}
