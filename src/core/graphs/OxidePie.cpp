// Graph type 0, "One glaze - Oxides (pie)": one slice per listed oxide or oxide group of one
// glaze, in the template's unit. The simplest builder, and the pattern of the others: glaze,
// values, texts, then the chart definition.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"

void CGraph::BuildOxidesPie(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    std::vector<CGraphOxideEntry> entries;
    const CGlaze* shown = OneGlazeOxideEntries(glazeDb, glaze, entries, false, reverse == 0);
    if (!shown)
        return;
    DrawPie(TakeOxideEntries(entries), shown->m_name, GetUnitTitle());
}
