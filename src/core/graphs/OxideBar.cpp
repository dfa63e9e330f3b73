// Graph type 1, "One glaze - Oxides (bar)": one bar per listed oxide or oxide group of one
// glaze, in the template's unit. Its bar steps (the body, the two axes, the kind with its outline
// pass) are members of their own: every one-glaze and average bar chart draws its bars with them.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "graphs/GraphAxisFlags.h"

namespace {

// Bar options of ChartSetKind.
constexpr int kBarHorizontal = 0x800;
constexpr int kBarNoLabels = 0x01;
constexpr int kBarGridA = 0x04;
constexpr int kBarGridB = 0x08;
constexpr int kBarKindFlags = 0x20;

} // namespace

void CGraph::BuildOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    std::vector<CGraphOxideEntry> entries;
    const CGlaze* shown = OneGlazeOxideEntries(glazeDb, glaze, entries, allbar != 0, reverse != 0);
    if (!shown)
        return;
    DrawBarChart(TakeOxideEntries(entries), shown->m_name, GetUnitTitle(),
                 oxtype != kGraphUnitUnity ? kChartPercentFormat : "");
}

void CGraph::SetBarBody()
{
    CChartEngine& engine = Engine();
    if (!piebar3d) {
        engine.ChartSetBarGap(100 - barwid);
        return;
    }
    const int viewMode = (cgflip3d ? 6 : 0) + (persp3d ? 1 : 0);
    engine.ChartSetView(viewMode, rot3d, elev3d, eyepos3d);
    engine.ChartSetThin(cgthin3d ? 1 : 0, -1, -1);
    engine.ChartSetDepth(7, depth3d, xgap3d, zgap3d);
}

void CGraph::SetBarAxes()
{
    SetCategoryAxis(xman != 0, xtick, xmax, xmin, xtickm);
    SetValueAxis();
}

void CGraph::SetCategoryAxis(bool manual, int ticks, double max, double min, int minorTicks)
{
    CChartEngine& engine = Engine();
    int xFlags = (xtop ? kAxisSideFirst : kAxisSideSecond) + TickFlags(tickin, xtop != 0);
    if (xvert)
        xFlags += kAxisVerticalLabels;
    if (manual)
        xFlags += kAxisManual;
    engine.ChartSetAxisX(xFlags, ticks, 0, max, min);
    if (manual)
        engine.ChartSetMinorTicks(0, minorTicks);
}

void CGraph::SetValueAxis()
{
    CChartEngine& engine = Engine();
    // Lying bars turn the value axis: its far side is the right one only for upright bars.
    const bool valueFar = (barhor != 0) != (yrt != 0);
    int yFlags = (yrt ? kAxisSideSecond : kAxisSideFirst) + TickFlags(tickin, valueFar);
    if (yman)
        yFlags += kAxisManual;
    engine.ChartSetAxisY(yFlags, ytick, 0, ymax, ymin);
    if (yman)
        engine.ChartSetMinorTicks(1, ytickm);
}

int CGraph::BarKind() const
{
    if (piebar3d && true3d)
        return kChartBarTrue3D;
    return piebar3d ? kChartBar3D : kChartBar;
}

void CGraph::DrawBars(int count, int extraOptions)
{
    CChartEngine& engine = Engine();
    const int kind = BarKind();
    const int base = (barhor ? kBarHorizontal : 0) + (labels ? 0 : kBarNoLabels) + extraOptions;
    const bool gridA = (barhor ? gridy : gridx) != 0;
    const bool gridB = (barhor ? gridx : gridy) != 0;
    engine.ChartSetKind(kind, base + (gridA ? kBarGridA : 0) + (gridB ? kBarGridB : 0), kBarKindFlags);
    if (piebar3d || !borders)
        return;
    // The outline pass: every bar again, hollow and black, over the coloured ones.
    const std::vector<int> hollow(static_cast<std::size_t>(std::max(count, 0)), kChartPatternHollow);
    const std::vector<int> black(hollow.size(), 0);
    engine.ChartSetPatterns(count, hollow);
    engine.ChartSetColors(count, black);
    engine.ChartSetKind(kind, base, kBarKindFlags);
}
