// Many glazes side by side, one bar per glaze in each group: graph type 18 "Many glazes -
// Oxides (bar)" groups by oxide item, type 20 "Many glazes - Recipe (bar)" by material, type 21
// "Many glazes - Material Types (bar)" by material type. Every glaze is a series of its own,
// styled by the data source that selected it (a glaze two sources select is two series).

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphRecipeLists.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"

#include <map>
#include <set>
#include <string>

namespace {

struct CLessNoCase {
    bool operator()(const std::string& a, const std::string& b) const { return CompareNoCase(a, b) < 0; }
};

// The most bars (glazes by items) a many-glaze recipe chart draws.
constexpr std::size_t kMaxManyGlazeBars = 2'000'000;

bool HasUsableAnalysis(const CGlaze& glaze) { return glaze.GetAnalysis().IsValid(); }
bool HasKnownWeights(const CGlaze& glaze) { return glaze.GetAnalysis().amountsValid != 0; }

// A glaze as a series: the glaze and the data source that selected it.
struct CSeriesGlaze {
    const CGlaze* glaze;
    int source;
};

std::vector<CSeriesGlaze> SeriesGlazes(const CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, GlazeFilter filter)
{
    std::vector<CSeriesGlaze> series;
    const auto sources = graph.FilteredGlazesBySource(glazeDb, glaze, filter);
    for (std::size_t d = 0; d < sources.size(); ++d) {
        for (const CGlaze* g : sources[d])
            series.push_back({g, static_cast<int>(d)});
    }
    return series;
}

// A glaze's set: its name heads its legend entry, cells and block of lines.
CGraphSet GlazeSet(const CGraph& graph, const CSeriesGlaze& series)
{
    const std::string& name = series.glaze->m_name;
    return CGraphSet{name, name, name, graph.DataSetStyle(series.source), {}, {}};
}

// The bars of every series and their frame: titles, the glazes' styles, the texts.
void DrawManyGlazeBars(CGraph& graph, const std::vector<CGraphSet>& sets, const std::vector<std::string>& items,
                       const std::string& title, const std::string& valueTitle, const std::string& format)
{
    const CChartSeries series = graph.SetTableSeries(sets, items);
    graph.DrawBarChart(series, title, valueTitle, format, 0, graph.autocol && !graph.mono);
}

// --- recipe items (types 20 and 21) ---

// The recipe of a glaze in percent, each line named by its item: the material's own name (so that
// a line written as a code or with a remark joins its material), or its type.
CIngredientList RecipeItems(const CGlaze& glaze, bool byType)
{
    CIngredientList items;
    for (const auto& line : BuildRecipeList(glaze, RecipeAmount::Percent)) {
        const CMaterial* material = FindRecipeMaterial(line->m_name);
        const std::string name = byType ? RecipeLineType(line->m_name) : material ? material->m_name : line->m_name;
        items.Add(name, line->m_amount);
    }
    return items;
}

// Every item any glaze uses, once, in the preferred type order (reversed with `reverse`).
std::vector<std::string> RecipeItemLabels(const CGraph& graph, const std::vector<CSeriesGlaze>& glazes, bool byType)
{
    // Each name once, as its first glaze spells it (a set, so that thousands of glazes stay fast).
    CIngredientList all;
    std::set<std::string, CLessNoCase> seen;
    for (const CSeriesGlaze& series : glazes) {
        for (const auto& item : RecipeItems(*series.glaze, byType)) {
            if (seen.insert(item->m_name).second)
                all.Add(item->m_name, 1.0);
        }
    }
    if (byType)
        OrderByPreferredTypes(all);
    else
        all.SortByPreferredTypeOrder();
    if (graph.reverse)
        all.Reverse();
    std::vector<std::string> labels;
    for (const auto& item : all)
        labels.push_back(item->m_name);
    return labels;
}

void BuildManyRecipeBars(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, bool byType)
{
    const auto glazes = SeriesGlazes(graph, glazeDb, glaze, byType ? &HasKnownWeights : &HasUsableAnalysis);
    if (glazes.empty()) {
        graph.m_errorText = byType ? "No glazes to display or no glazes without unknown ingredient weights"
                                   : "No glazes to display or no glazes without unidentified ingredients";
        return;
    }
    const std::vector<std::string> labels = RecipeItemLabels(graph, glazes, byType);
    if (labels.empty()) {
        graph.m_errorText = "Glazes contain no ingredients";
        return;
    }
    // One bar, one value, one cell text and one text line per glaze and item: a chart of every
    // glaze of a large database by each of its materials would need gigabytes, and no screen
    // shows its bars apart.
    const std::size_t bars = glazes.size() * labels.size();
    if (bars > kMaxManyGlazeBars) {
        graph.m_errorText = "Too many bars to draw (" + std::to_string(glazes.size()) + " glazes by " +
                            std::to_string(labels.size()) + (byType ? " material types" : " materials") +
                            "): choose fewer glazes";
        return;
    }
    std::map<std::string, std::size_t, CLessNoCase> itemIndex;
    for (std::size_t i = 0; i < labels.size(); ++i)
        itemIndex.emplace(labels[i], i);
    std::vector<CGraphSet> sets;
    for (const CSeriesGlaze& series : glazes) {
        CGraphSet set = GlazeSet(graph, series);
        set.values.assign(labels.size(), 0.0);
        CIngredientList items = RecipeItems(*series.glaze, byType);
        items.MergeDuplicates();
        for (const auto& item : items) {
            const auto at = itemIndex.find(item->m_name);
            if (at != itemIndex.end())
                set.values[at->second] = item->m_amount;
        }
        for (std::size_t i = 0; i < labels.size(); ++i)
            set.lines.push_back(labels[i] + "  " + FormatFixed(set.values[i], g_prefs.decrecipepct) + "%");
        sets.push_back(std::move(set));
    }
    const int count = static_cast<int>(glazes.size());
    DrawManyGlazeBars(graph, sets, labels,
                      CGraph::CountedGlazes(byType ? "Material types in " : "Materials in ", count),
                      "Percent of recipe", kChartPercentFormat);
}

} // namespace

void CGraph::BuildManyOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    const auto glazes = SeriesGlazes(*this, glazeDb, glaze, &HasUsableAnalysis);
    if (glazes.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    std::vector<CGraphOxideEntry> items, entries;
    if (GetOxideGroupValues(*glazes.front().glaze, items, true, reverse != 0, 0, false, false) == 0) {
        m_errorText = "No oxides selected";
        return;
    }
    // Item by item whether any glaze has some of it; without allbar only those stay.
    std::vector<CGraphSet> sets;
    std::vector<bool> kept(items.size(), allbar != 0);
    for (const CSeriesGlaze& series : glazes) {
        CGraphSet set = GlazeSet(*this, series);
        GetOxideGroupValues(*series.glaze, entries, true, reverse != 0, 0, false, false);
        for (std::size_t i = 0; i < items.size(); ++i) {
            set.values.push_back(i < entries.size() ? entries[i].value : 0.0);
            kept[i] = kept[i] || set.values.back() > 0.0;
        }
        sets.push_back(std::move(set));
    }
    std::vector<std::string> labels;
    for (CGraphSet& set : sets) {
        std::vector<double> values;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!kept[i])
                continue;
            values.push_back(set.values[i]);
            set.lines.push_back(FormatOxideLine(items[i].label, set.values[i]));
        }
        set.values = std::move(values);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (kept[i])
            labels.push_back(items[i].label);
    }
    if (labels.empty()) {
        m_errorText = "Glazes do not contain the selected oxides";
        return;
    }
    DrawManyGlazeBars(*this, sets, labels, CountedGlazes("Oxides in ", static_cast<int>(glazes.size())),
                      GetUnitTitle(), oxtype != kGraphUnitUnity ? kChartPercentFormat : "");
}

void CGraph::BuildManyRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildManyRecipeBars(*this, glazeDb, glaze, false); }

void CGraph::BuildManyMaterialTypesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    BuildManyRecipeBars(*this, glazeDb, glaze, true);
}
