// Graph type 0, "One glaze - Oxides (pie)": one slice per listed oxide or oxide group of one
// glaze, in the template's unit. The simplest builder, and the pattern of the others: glaze,
// values, texts, then the chart definition.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"

#include <cstdlib>

namespace {

// The pie's elevation setting as a view: e = |elev3d|, brought below 90 by steps of 90 (90
// itself stays); e = 90 looks straight down, which is a flat pie. Returns false then.
bool PieViewElevation(int elev3d, int& elevation)
{
    int e = std::abs(elev3d);
    if (e > 90)
        e %= 90;
    if (e == 90)
        return false;
    elevation = 60 - e;
    return true;
}

} // namespace

void CGraph::BuildOxidesPie(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    std::vector<CGraphOxideEntry> entries;
    const CGlaze* shown = OneGlazeOxideEntries(glazeDb, glaze, entries, false, reverse == 0);
    if (!shown)
        return;
    const int n = static_cast<int>(entries.size());
    const CChartSeries series = TakeOxideEntries(entries);
    CChartEngine& chart = Engine();
    chart.ChartDefBegin();
    SetPieTitles(shown->m_name, GetUnitTitle());
    chart.ChartSetData(n, 1, series.values);
    chart.ChartSetPointLabels(n, series.labels);
    SetFonts();
    int elevation = 0;
    const bool threeD = piebar3d && PieViewElevation(elev3d, elevation);
    if (threeD) {
        chart.ChartSetView(0, 0, elevation, 0);
        chart.ChartSetDepth(1, depth3d, 0, 0);
    }
    chart.ChartSetColors(n, series.colors);
    chart.ChartSetPatterns(n, series.patterns);
    const int kind = threeD ? kChartPie3D : kChartPie;
    const int options = labels ? 0x8000 : 0x8001;
    chart.ChartSetKind(kind, options, 0);
    if (!threeD && borders) {
        // The outline pass: every slice again, hollow and black, over the coloured pie.
        const std::vector<int> hollow(static_cast<std::size_t>(n), kChartPatternHollow);
        const std::vector<int> black(static_cast<std::size_t>(n), 0);
        chart.ChartSetPatterns(n, hollow);
        chart.ChartSetColors(n, black);
        chart.ChartSetKind(kind, options, 0);
    }
    chart.ChartDefEnd();
}
