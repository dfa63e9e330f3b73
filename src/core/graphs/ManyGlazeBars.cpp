// Many glazes side by side, one bar per glaze in each group: graph type 18 "Many glazes -
// Oxides (bar)" groups by oxide item, type 20 "Many glazes - Recipe (bar)" by material, type 21
// "Many glazes - Material Types (bar)" by material type. Every glaze is a series of its own,
// styled by the data source that selected it (a glaze two sources select is two series).

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/ChartThreads.h"
#include "graphs/GraphRecipeLists.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct CLessNoCase {
    bool operator()(const std::string& a, const std::string& b) const { return CompareNoCase(a, b) < 0; }
};

// Item names without regard to case, each with its index. A glaze database spells a material's
// name the same way in most of its recipes: a name met before in the same spelling is found by
// its hash, without the comparisons of the case-blind tree.
class CItemIndex {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The index of name, kNone when it is not there.
    std::size_t Find(const std::string& name)
    {
        if (const auto exact = m_exact.find(name); exact != m_exact.end())
            return exact->second;
        const auto at = m_byName.find(name);
        if (at == m_byName.end())
            return kNone;
        m_exact.emplace(name, at->second);
        return at->second;
    }
    // Adds name with the index unless it is there in any spelling; true when added.
    bool Add(const std::string& name, std::size_t index)
    {
        if (Find(name) != kNone)
            return false;
        m_byName.emplace(name, index);
        m_exact.emplace(name, index);
        return true;
    }

private:
    std::map<std::string, std::size_t, CLessNoCase> m_byName;
    std::unordered_map<std::string, std::size_t> m_exact;
};

// The most bars (glazes by items) a many-glaze recipe chart holds every one of, with its cell
// text and text line; beyond, only the items each glaze uses are bars (DrawSparseRecipeBars), at
// most kMaxRecipeLineBars of them.
constexpr std::size_t kMaxManyGlazeBars = 250'000;
constexpr std::size_t kMaxRecipeLineBars = 10'000'000;
// The glazes of a part of a many-glaze chart built on a thread of its own (RunInParts).
constexpr std::size_t kGlazesPerPart = 2048;

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
void DrawManyGlazeBars(CGraph& graph, std::vector<CGraphSet>&& sets, const std::vector<std::string>& items,
                       const std::string& title, const std::string& valueTitle, const std::string& format)
{
    graph.DrawKeptBarChart(graph.SetTableSeries(std::move(sets), items), title, valueTitle, format,
                           graph.autocol && !graph.mono);
}

// --- recipe items (types 20 and 21) ---

// A recipe line as a bar: its item (an index into the item names) and its percent.
struct CRecipeLine {
    std::size_t item;
    double amount;
};

// The recipes of the glazes in percent, each line named by its item: the material's own name (so
// that a line written as a code or with a remark joins its material), or its type. A database
// names its thousand materials in a few thousand ways over hundreds of thousands of lines: each
// way is looked up once.
class CRecipeItems {
public:
    explicit CRecipeItems(bool byType) : m_byType(byType) {}

    // The glaze's lines in recipe order, the components then the additions when the preferences
    // count them in the chemistry (BuildRecipeList), named by index into Names().
    void Read(const CGlaze& glaze, std::vector<CRecipeLine>& lines)
    {
        lines.clear();
        const CGlazeAnalysis& analysis = glaze.GetAnalysis();
        Append(glaze.m_components, analysis.componentItems, lines);
        if (g_prefs.anchadd)
            Append(glaze.m_additions, analysis.additionItems, lines);
    }
    const std::vector<std::string>& Names() const { return m_names; }

    // Takes in the names another reader gave its lines (read apart, from other glazes), and
    // renames those lines by this reader's indexes.
    void Join(const CRecipeItems& other, std::vector<std::vector<CRecipeLine>>& recipes, std::size_t first,
              std::size_t end)
    {
        std::vector<std::size_t> renamed(other.m_names.size());
        for (const auto& [line, at] : other.m_byLine) {
            const auto [here, added] = m_byLine.try_emplace(line, m_names.size());
            if (added)
                m_names.push_back(other.m_names[at]);
            renamed[at] = here->second;
        }
        for (std::size_t g = first; g < end; ++g) {
            for (CRecipeLine& line : recipes[g])
                line.item = renamed[line.item];
        }
    }

private:
    void Append(const CIngredientList& recipe, const CRecipeItemList& items, std::vector<CRecipeLine>& lines)
    {
        const std::size_t count = std::min(recipe.size(), items.size());
        for (std::size_t k = 0; k < count; ++k)
            lines.push_back({NameOf(recipe[k]->m_name), 100.0 * items[k].fraction});
    }
    std::size_t NameOf(const std::string& line)
    {
        const auto [at, added] = m_byLine.try_emplace(line, m_names.size());
        if (added) {
            const CMaterial* material = m_byType ? nullptr : FindRecipeMaterial(line);
            m_names.push_back(m_byType ? RecipeLineType(line) : material ? material->m_name : line);
        }
        return at->second;
    }

    bool m_byType;
    std::unordered_map<std::string_view, std::size_t> m_byLine; // the glazes' own texts
    std::vector<std::string> m_names;
};

// Every item any glaze uses, once, in the preferred type order (reversed with `reverse`), and
// the index among them of each name of `names` (one spelling of an item ignoring case).
std::vector<std::string> RecipeItemLabels(const CGraph& graph, const std::vector<std::vector<CRecipeLine>>& recipes,
                                          const std::vector<std::string>& names, bool byType,
                                          std::vector<std::size_t>& itemOfName)
{
    // Each name once, as its first glaze spells it (a set, so that thousands of glazes stay fast).
    CIngredientList all;
    CItemIndex seen;
    std::vector<bool> met(names.size(), false);
    for (const std::vector<CRecipeLine>& recipe : recipes) {
        for (const CRecipeLine& line : recipe) {
            if (!met[line.item] && seen.Add(names[line.item], 0))
                all.Add(names[line.item], 1.0);
            met[line.item] = true;
        }
    }
    if (byType)
        OrderByPreferredTypes(all);
    else
        all.SortByPreferredTypeOrder();
    if (graph.reverse)
        all.Reverse();
    std::vector<std::string> labels;
    CItemIndex index;
    for (const auto& item : all) {
        index.Add(item->m_name, labels.size());
        labels.push_back(item->m_name);
    }
    itemOfName.assign(names.size(), CItemIndex::kNone);
    for (std::size_t n = 0; n < names.size(); ++n)
        itemOfName[n] = met[n] ? index.Find(names[n]) : CItemIndex::kNone;
    return labels;
}

// The recipe's lines by item: the lines of one item (ignoring case) added into its first line,
// then lines of exactly 0 dropped (CIngredientList::MergeDuplicates), as (item, percent).
std::vector<std::pair<std::size_t, double>> MergedItems(const std::vector<CRecipeLine>& recipe,
                                                        const std::vector<std::size_t>& itemOfName)
{
    std::vector<std::pair<std::size_t, double>> items;
    items.reserve(recipe.size());
    for (const CRecipeLine& line : recipe) {
        const std::size_t item = itemOfName[line.item];
        const auto first = std::find_if(items.begin(), items.end(), [item](const auto& i) { return i.first == item; });
        if (first == items.end())
            items.emplace_back(item, line.amount);
        else
            first->second += line.amount;
    }
    // -0.0 == 0.0, so a line holding minus zero goes as well.
    std::erase_if(items, [](const auto& i) { return i.second == 0.0; });
    return items;
}

std::string RecipeItemLine(const std::string& label, double value, int decimals)
{
    const std::string number = FormatFixed(value, decimals);
    std::string line;
    line.reserve(label.size() + number.size() + 3);
    line.append(label).append("  ").append(number).append("%");
    return line;
}

std::string TooManyBars(std::size_t glazes, std::size_t items, bool byType)
{
    return "Too many bars to draw (" + std::to_string(glazes) + " glazes by " + std::to_string(items) +
           (byType ? " material types" : " materials") + "): choose fewer glazes";
}

// A chart of more glazes by items than the table of every bar holds (every glaze of a large
// database by every material it uses): a glaze uses a handful of the items, and only those are
// its bars and its text lines, so that the chart costs what the recipes hold. Side by side, the
// bars of 0 it leaves out would draw nothing; a cell's text is made when it is asked for, the
// same as the full table's.
void DrawSparseRecipeBars(CGraph& graph, const std::vector<CSeriesGlaze>& glazes,
                          const std::vector<std::vector<CRecipeLine>>& recipes, const std::vector<std::string>& labels,
                          const std::vector<std::size_t>& itemOfName, bool byType)
{
    // Each glaze's cell heading and its items (index, percent) by index.
    struct CGlazeItems {
        std::string heading;
        std::vector<std::pair<std::size_t, double>> items;
    };
    // The glazes in parts of their own, each part's bars, text lines and legend built apart.
    struct CPart {
        std::vector<CGlazeItems> table;
        std::vector<CChartValueAt> values;
        CStringArrayEx lines;
        std::vector<std::string> legend;
        std::vector<int> colors, patterns;
    };
    const int decimals = g_prefs.decrecipepct;
    std::vector<CPart> parts((glazes.size() + kGlazesPerPart - 1) / kGlazesPerPart);
    std::atomic<std::size_t> bars{0}; // of all parts: too many stops every part
    RunInParts(parts.size(), [&](std::size_t p) {
        CPart& part = parts[p];
        const std::size_t first = p * kGlazesPerPart, end = std::min(glazes.size(), first + kGlazesPerPart);
        for (std::size_t s = first; s < end && bars <= kMaxRecipeLineBars; ++s) {
            // A glaze's set (GlazeSet): its name heads its legend entry, cells and block of lines.
            const std::string& name = glazes[s].glaze->m_name;
            CGlazeItems own{name, MergedItems(recipes[s], itemOfName)};
            std::sort(own.items.begin(), own.items.end());
            CStringArrayEx block;
            block.reserve(own.items.size());
            for (const auto& [i, value] : own.items) {
                part.values.push_back({static_cast<int>(i), static_cast<int>(s), value});
                block.push_back(RecipeItemLine(labels[i], value, decimals));
            }
            bars += own.items.size();
            CGraph::AppendTextBlockTo(part.lines, name, std::move(block));
            const CChartColor style = graph.DataSetStyle(glazes[s].source);
            part.legend.push_back(name);
            part.colors.push_back(style.color);
            part.patterns.push_back(style.pattern);
            part.table.push_back(std::move(own));
        }
    });
    if (bars > kMaxRecipeLineBars) {
        graph.m_errorText = TooManyBars(glazes.size(), labels.size(), byType);
        return;
    }
    auto table = std::make_shared<std::vector<CGlazeItems>>();
    table->reserve(glazes.size());
    CChartSeries series;
    series.sets = static_cast<int>(glazes.size());
    series.labels = labels;
    series.sparseValues.reserve(bars);
    series.legend.reserve(glazes.size());
    series.colors.reserve(glazes.size());
    series.patterns.reserve(glazes.size());
    std::size_t lines = graph.m_textLines.size();
    for (const CPart& part : parts)
        lines += part.lines.size();
    graph.m_textLines.reserve(lines);
    for (CPart& part : parts) {
        const auto take = [](auto& into, auto& from) {
            into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
        };
        take(*table, part.table);
        take(series.sparseValues, part.values);
        take(graph.m_textLines, part.lines);
        take(series.legend, part.legend);
        take(series.colors, part.colors);
        take(series.patterns, part.patterns);
    }
    if (glazes.size() == 1) {
        series.colors.assign(labels.size(), series.colors.front());
        series.patterns.assign(labels.size(), series.patterns.front());
    }
    graph.m_columns = series.sets;
    graph.m_rows = series.Points();
    graph.m_cellTextOf = [table, labels, decimals](int column, int row) {
        const auto& items = (*table)[static_cast<std::size_t>(column)].items;
        const std::size_t item = static_cast<std::size_t>(row);
        const auto at = std::lower_bound(items.begin(), items.end(), std::pair<std::size_t, double>{item, -HUGE_VAL});
        const double value = at != items.end() && at->first == item ? at->second : 0.0;
        return (*table)[static_cast<std::size_t>(column)].heading + "\r\n\r\n" +
               RecipeItemLine(labels[item], value, decimals);
    };
    const std::string title = CGraph::CountedGlazes(byType ? "Material types in " : "Materials in ", series.sets);
    graph.DrawKeptBarChart(std::move(series), title, "Percent of recipe", kChartPercentFormat,
                           graph.autocol && !graph.mono);
}

void BuildManyRecipeBars(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, bool byType)
{
    const auto glazes = SeriesGlazes(graph, glazeDb, glaze, byType ? &HasKnownWeights : &HasUsableAnalysis);
    if (glazes.empty()) {
        graph.m_errorText = byType ? "No glazes to display or no glazes without unknown ingredient weights"
                                   : "No glazes to display or no glazes without unidentified ingredients";
        return;
    }
    // Read in parts, each naming its lines apart: the materials database answers many readers at
    // once once its index is made, which the first look-up does.
    FindRecipeMaterial(std::string_view());
    std::vector<std::vector<CRecipeLine>> recipes(glazes.size());
    std::vector<CRecipeItems> readers((glazes.size() + kGlazesPerPart - 1) / kGlazesPerPart, CRecipeItems(byType));
    RunInParts(readers.size(), [&](std::size_t p) {
        for (std::size_t g = p * kGlazesPerPart; g < std::min(glazes.size(), (p + 1) * kGlazesPerPart); ++g)
            readers[p].Read(*glazes[g].glaze, recipes[g]);
    });
    CRecipeItems names(byType);
    for (std::size_t p = 0; p < readers.size(); ++p)
        names.Join(readers[p], recipes, p * kGlazesPerPart, std::min(glazes.size(), (p + 1) * kGlazesPerPart));
    std::vector<std::size_t> itemOfName;
    const std::vector<std::string> labels = RecipeItemLabels(graph, recipes, names.Names(), byType, itemOfName);
    if (labels.empty()) {
        graph.m_errorText = "Glazes contain no ingredients";
        return;
    }
    // One bar, one value, one cell text and one text line per glaze and item: a chart of every
    // glaze of a large database by each of its materials would need gigabytes.
    if (glazes.size() * labels.size() > kMaxManyGlazeBars) {
        DrawSparseRecipeBars(graph, glazes, recipes, labels, itemOfName, byType);
        return;
    }
    std::vector<CGraphSet> sets;
    for (std::size_t g = 0; g < glazes.size(); ++g) {
        CGraphSet set = GlazeSet(graph, glazes[g]);
        set.values.assign(labels.size(), 0.0);
        for (const auto& [at, amount] : MergedItems(recipes[g], itemOfName))
            set.values[at] = amount;
        for (std::size_t i = 0; i < labels.size(); ++i)
            set.lines.push_back(RecipeItemLine(labels[i], set.values[i], g_prefs.decrecipepct));
        sets.push_back(std::move(set));
    }
    const int count = static_cast<int>(glazes.size());
    DrawManyGlazeBars(graph, std::move(sets), labels,
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
    std::vector<CGraphOxideEntry> items;
    if (GetOxideGroupValues(*glazes.front().glaze, items, true, reverse != 0, 0, false, false) == 0) {
        m_errorText = "No oxides selected";
        return;
    }
    // Item by item whether any glaze has some of it; without allbar only those stay. The glazes
    // in parts of their own, each part with the items its glazes have.
    const std::size_t partCount = (glazes.size() + kGlazesPerPart - 1) / kGlazesPerPart;
    std::vector<CGraphSet> sets(glazes.size());
    std::vector<std::vector<char>> partKept(partCount, std::vector<char>(items.size(), 0));
    const auto partOf = [&](std::size_t p) {
        return std::pair{p * kGlazesPerPart, std::min(glazes.size(), (p + 1) * kGlazesPerPart)};
    };
    RunInParts(partCount, [&](std::size_t p) {
        std::vector<CGraphOxideEntry> own;
        for (std::size_t g = partOf(p).first; g < partOf(p).second; ++g) {
            CGraphSet& set = sets[g];
            set = GlazeSet(*this, glazes[g]);
            GetOxideGroupValues(*glazes[g].glaze, own, true, reverse != 0, 0, false, false);
            for (std::size_t i = 0; i < items.size(); ++i) {
                set.values.push_back(i < own.size() ? own[i].value : 0.0);
                partKept[p][i] = partKept[p][i] || set.values.back() > 0.0;
            }
        }
    });
    std::vector<bool> kept(items.size(), allbar != 0);
    for (const std::vector<char>& part : partKept) {
        for (std::size_t i = 0; i < items.size(); ++i)
            kept[i] = kept[i] || part[i];
    }
    RunInParts(partCount, [&](std::size_t p) {
        for (std::size_t g = partOf(p).first; g < partOf(p).second; ++g) {
            CGraphSet& set = sets[g];
            std::vector<double> values;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (!kept[i])
                    continue;
                values.push_back(set.values[i]);
                set.lines.push_back(FormatOxideLine(items[i].label, set.values[i]));
            }
            set.values = std::move(values);
        }
    });
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (kept[i])
            labels.push_back(items[i].label);
    }
    if (labels.empty()) {
        m_errorText = "Glazes do not contain the selected oxides";
        return;
    }
    DrawManyGlazeBars(*this, std::move(sets), labels, CountedGlazes("Oxides in ", static_cast<int>(glazes.size())),
                      GetUnitTitle(), oxtype != kGraphUnitUnity ? kChartPercentFormat : "");
}

void CGraph::BuildManyRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildManyRecipeBars(*this, glazeDb, glaze, false); }

void CGraph::BuildManyMaterialTypesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    BuildManyRecipeBars(*this, glazeDb, glaze, true);
}
