// Charts of averages: graph types 11 and 12 draw one imaginary glaze, the plain mean of every
// glaze the data sources select, as a pie or as bars; type 13 "Averages of many glazes - Oxides
// (bar)" draws the mean of each data source as a series of grouped bars. A glaze whose analysis
// is not usable is neither averaged nor counted; a glaze two data sources select counts twice.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"

namespace {

bool HasUsableAnalysis(const CGlaze& glaze) { return glaze.GetAnalysis().IsValid(); }

// The mean of the oxide entries of the usable glazes (every entry kept, so every glaze gives the
// same items); labels and colours are those of the last glaze counted.
struct CAverageEntries {
    std::vector<CGraphOxideEntry> entries;
    int count = 0;
};

CAverageEntries AverageEntries(const CGraph& graph, const std::vector<CGlaze*>& glazes, bool reverse)
{
    CAverageEntries average;
    std::vector<double> sums;
    for (const CGlaze* glaze : glazes) {
        if (!HasUsableAnalysis(*glaze))
            continue;
        graph.GetOxideGroupValues(*glaze, average.entries, true, reverse, 0, false, false);
        sums.resize(std::max(sums.size(), average.entries.size()), 0.0);
        for (std::size_t i = 0; i < average.entries.size(); ++i)
            sums[i] += average.entries[i].value;
        ++average.count;
    }
    for (std::size_t i = 0; i < average.entries.size(); ++i)
        average.entries[i].value = sums[i] / average.count;
    return average;
}

// The exchange sort of the averages: for each last place from the end, every earlier item
// changes places with it when it belongs after it. Equal averages never change places.
void SortAverages(std::vector<CGraphOxideEntry>& entries, bool ascending)
{
    for (std::size_t last = entries.size(); last-- > 1;) {
        for (std::size_t j = 0; j < last; ++j) {
            const bool after = ascending ? entries[j].value > entries[last].value
                                         : entries[j].value < entries[last].value;
            if (after)
                std::swap(entries[j], entries[last]);
        }
    }
}

// The average of types 11 and 12, sorted when `pareto` is set; false after an error.
bool AverageOfAll(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, bool pie, CAverageEntries& average)
{
    std::vector<CGlaze*> glazes;
    graph.CollectAllGlazes(glazes, glazeDb, glaze);
    // The pie runs its slices against the bars' order.
    const bool reverse = (graph.reverse != 0) != pie;
    average = AverageEntries(graph, glazes, reverse);
    if (average.count == 0) {
        graph.m_errorText = "No glazes to display or no chemical analyses known";
        return false;
    }
    if (average.entries.empty()) {
        graph.m_errorText = "No oxides selected";
        return false;
    }
    if (graph.pareto)
        SortAverages(average.entries, pie == (graph.reverse == 0));
    return true;
}

} // namespace

void CGraph::BuildAverageOxidesPie(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CAverageEntries average;
    if (!AverageOfAll(*this, glazeDb, glaze, true, average))
        return;
    const CChartSeries series = TakeOxideEntries(average.entries);
    DrawPie(series, CountedGlazes("Average of ", average.count), GetUnitTitle(), true);
}

void CGraph::BuildAverageOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CAverageEntries average;
    if (!AverageOfAll(*this, glazeDb, glaze, false, average))
        return;
    const CChartSeries series = TakeOxideEntries(average.entries);
    DrawBarChart(series, CountedGlazes("Average of ", average.count), GetUnitTitle(),
                 oxtype != kGraphUnitUnity ? kChartPercentFormat : "");
}

void CGraph::BuildAveragesOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    const auto sources = FilteredGlazesBySource(glazeDb, glaze, &HasUsableAnalysis);
    const CGlaze* sample = nullptr;
    for (const auto& glazes : sources) {
        if (!glazes.empty())
            sample = glazes.front();
    }
    if (!sample) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    std::vector<CGraphOxideEntry> items;
    if (GetOxideGroupValues(*sample, items, true, reverse != 0, 0, false, false) == 0) {
        m_errorText = "No oxides selected";
        return;
    }
    std::vector<CGraphSet> sets;
    for (std::size_t d = 0; d < sources.size(); ++d) {
        if (sources[d].empty())
            continue;
        const CAverageEntries average = AverageEntries(*this, sources[d], reverse != 0);
        const std::string title = GetDataSetTitle(static_cast<int>(d), glazeDb, glaze);
        const std::string count = std::to_string(average.count) + " glazes";
        CGraphSet set{title, title + "\r\n(" + count + ")", title + " (" + count + ")",
                      DataSetStyle(static_cast<int>(d)), {}, {}};
        for (const CGraphOxideEntry& entry : average.entries) {
            set.values.push_back(entry.value);
            set.lines.push_back(FormatOxideLine(entry.label, entry.value));
        }
        sets.push_back(std::move(set));
    }
    std::vector<std::string> labels;
    for (const CGraphOxideEntry& item : items)
        labels.push_back(item.label);
    const CChartSeries series = SetTableSeries(std::move(sets), labels);
    DrawBarChart(series, "Oxide averages", GetUnitTitle(), oxtype != kGraphUnitUnity ? kChartPercentFormat : "");
}
