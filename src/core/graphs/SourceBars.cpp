// Where a glaze's chemistry comes from, as stacked bars: graph type 3 "One glaze - Oxides and
// Recipe (bar)" (a bar per shown oxide at the glaze's value, a segment per recipe line with its
// share of it) and graph type 6 "One glaze - Recipe and Oxides (bar)" (a bar per recipe line at
// its percentage, a segment per shown oxide with the weight percent the line adds, and what
// remains). Both break each line's material down into a row of contributions by GraphVariable
// code.

#include "graphs/Graph.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphRecipeLists.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

#include <array>

namespace {

constexpr int kStackedBars = 0x2000;
constexpr int kSodium = 11;
constexpr int kPotassium = 19;
constexpr int kVolatileGroup = 4;

using CContributionRow = std::array<double, kGraphVariableCount>;

// How a line's material is broken down.
struct CContributionForm {
    bool molar = false;      // moles of oxide (else weight percent of the recipe)
    bool skipOxygen = false; // oxygen never counts as an oxide of its own
    bool addLoss = false;    // what the material loses on firing goes to the volatiles
};

double& At(CContributionRow& row, int code) { return row[static_cast<std::size_t>(code)]; }
double At(const CContributionRow& row, int code) { return row[static_cast<std::size_t>(code)]; }

// The contributions of `percent` of material m to every oxide, group total and remainder.
CContributionRow ContributionRow(const CMaterial& m, double percent, const CContributionForm& form)
{
    CContributionRow row{};
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z <= kGraphVarLastOxide; ++z) {
        if (form.skipOxygen && z == kOxygenZ)
            continue;
        const std::size_t i = static_cast<std::size_t>(z);
        // An edited element table may hold a cation count of 0: such an element adds nothing.
        const double v = form.molar ? DivideByCationCount(m.m_atoms[i], table[z].ncat) * percent
                                    : m.m_oxides[i] * m.m_firedYield * percent;
        At(row, z) += v;
        if (z == kSodium || z == kPotassium)
            At(row, 0) += v;
        At(row, kGraphVarOtherOxides) += v;
        const int g = GraphOxideGroup(z);
        if (g < 0)
            continue;
        At(row, kGraphVarAlkalis + g) += v;
        At(row, kGraphVarOtherAlkalis + g) += v;
        if (g != kVolatileGroup)
            At(row, kGraphVarOtherNonvolatiles) += v;
    }
    const double loss = 1.0 - m.m_firedYield * m.m_oxideSum;
    if (form.addLoss && loss > 0.0) {
        for (int code : {kGraphVarOtherOxides, kGraphVarVolatiles, kGraphVarOtherVolatiles})
            At(row, code) += loss * percent;
    }
    return row;
}

// Takes what the bars show out of the remainders, code by code in bar order; `shown` receives
// each code's entry as it stood just before.
void TakeOutShown(CContributionRow& row, const std::vector<int>& codes, std::vector<double>* shown)
{
    for (int c : codes) {
        const double value = At(row, c);
        if (shown)
            shown->push_back(value);
        if (IsOxideVariable(c)) {
            const int g = GraphOxideGroup(c);
            if (g < 0)
                continue;
            At(row, kGraphVarOtherAlkalis + g) -= value;
            if (g != kVolatileGroup)
                At(row, kGraphVarOtherNonvolatiles) -= value;
            At(row, kGraphVarOtherOxides) -= value;
        } else if (c >= kGraphVarAlkalis && c <= kGraphVarUnexpected) {
            At(row, kGraphVarOtherNonvolatiles) -= value;
            At(row, kGraphVarOtherOxides) -= value;
        } else if (c >= kGraphVarVolatiles && c <= kGraphVarOtherNonvolatiles) {
            At(row, kGraphVarOtherOxides) -= value;
        }
    }
}

// What both builders gather: the glaze, its recipe lines with their materials, the shown entries.
struct CSourceData {
    CGlaze* glaze = nullptr;
    CIngredientList lines;
    std::vector<const CMaterial*> materials;
    std::vector<CGraphOxideEntry> entries;
    std::vector<int> codes;
};

bool GatherSources(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, bool recipeBars, CSourceData& data)
{
    data.glaze = graph.ShownGlaze(glazeDb, glaze);
    if (!data.glaze)
        return false;
    if (!data.glaze->GetAnalysis().IsValid()) {
        graph.m_errorText = "Chemical analysis unknown";
        return false;
    }
    data.lines = BuildRecipeList(*data.glaze, RecipeAmount::Percent);
    data.lines.SortByPreferredTypeOrder();
    if (recipeBars && graph.pareto)
        data.lines.SortByAmount(-1);
    if (recipeBars && graph.reverse)
        data.lines.Reverse();
    if (data.lines.empty()) {
        graph.m_errorText = g_prefs.anchadd ? "Glaze contains no ingredients" : "Glaze contains no components";
        return false;
    }
    for (const auto& line : data.lines)
        data.materials.push_back(FindRecipeMaterial(line->m_name));
    const bool keep = graph.allbar != 0;
    const int n = recipeBars ? graph.GetOxideGroupValues(*data.glaze, data.entries, keep, false, 0, true, false)
                             : graph.GetOxideGroupValues(*data.glaze, data.entries, keep, graph.reverse != 0,
                                                         graph.pareto ? -1 : 0, false, false);
    if (n == 0) {
        graph.m_errorText = "No oxides selected or chemical analysis unknown";
        return false;
    }
    for (const CGraphOxideEntry& entry : data.entries)
        data.codes.push_back(entry.code);
    return true;
}

CContributionRow LineRow(const CSourceData& data, std::size_t i, const CContributionForm& form)
{
    const CMaterial* material = data.materials[i];
    return material ? ContributionRow(*material, data.lines[i]->m_amount, form) : CContributionRow{};
}

std::string CellText(const std::string& heading, const std::string& segment) { return heading + "\r\n\r\n" + segment; }

} // namespace

void CGraph::BuildOxidesAndRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CSourceData data;
    if (!GatherSources(*this, glazeDb, glaze, false, data))
        return;
    const CContributionForm form{oxtype != kGraphUnitWeightPercent, true, oxtype == kGraphUnitWeightPercent};
    std::vector<CContributionRow> rows;
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        rows.push_back(LineRow(data, i, form));
        TakeOutShown(rows.back(), data.codes, nullptr);
    }
    const int m = static_cast<int>(rows.size());
    CChartSeries series;
    series.sets = m;
    for (const auto& line : data.lines) {
        series.legend.push_back(line->m_name);
        const CChartColor color = RecipeLineColor(GetMaterialTypeColors(), line->m_name, mono != 0);
        series.colors.push_back(color.color);
        series.patterns.push_back(color.pattern);
    }
    m_columns = m;
    for (const CGraphOxideEntry& bar : data.entries) {
        double total = 0.0;
        for (const CContributionRow& row : rows)
            total += At(row, bar.code);
        if (total == 0.0)
            total = 1.0;
        const std::string heading = FormatOxideLine(bar.label, bar.value);
        CStringArrayEx segments;
        for (int i = 0; i < m; ++i) {
            const double segment = At(rows[static_cast<std::size_t>(i)], bar.code) * bar.value / total;
            series.values.push_back(segment);
            segments.push_back("... " + FormatOxideValue(segment) + " from " + data.lines[static_cast<std::size_t>(i)]->m_name);
            m_cellTexts.push_back(CellText(heading, segments.back()));
        }
        series.labels.push_back(bar.label);
        AppendTextBlock(heading, segments);
    }
    m_rows = series.Points();
    DrawBarChart(series, data.glaze->m_name, GetUnitTitle(), oxtype != kGraphUnitUnity ? kChartPercentFormat : "",
                 kStackedBars, autocol && !mono);
}

void CGraph::BuildRecipeAndOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CSourceData data;
    if (!GatherSources(*this, glazeDb, glaze, true, data))
        return;
    const CContributionForm form{false, false, true};
    CChartSeries series;
    series.sets = static_cast<int>(data.entries.size());
    for (const CGraphOxideEntry& entry : data.entries) {
        series.legend.push_back(entry.label);
        series.colors.push_back(entry.color);
        series.patterns.push_back(entry.pattern);
    }
    m_columns = series.sets;
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const CIngredient& line = *data.lines[i];
        CContributionRow row = LineRow(data, i, form);
        std::vector<double> segments;
        TakeOutShown(row, data.codes, &segments);
        const std::string heading = line.m_name + "  " + FormatFixed(line.m_amount, g_prefs.decrecipepct) + "%";
        CStringArrayEx texts;
        for (std::size_t j = 0; j < segments.size(); ++j) {
            texts.push_back("...adds " + FormatFixed(segments[j], g_prefs.decrecipepct) + "% " + data.entries[j].label);
            m_cellTexts.push_back(CellText(heading, texts.back()));
        }
        series.values.insert(series.values.end(), segments.begin(), segments.end());
        series.labels.push_back(line.m_name);
        AppendTextBlock(heading, texts);
    }
    m_rows = series.Points();
    DrawBarChart(series, data.glaze->m_name, "Percent of recipe", kChartPercentFormat, kStackedBars, autocol && !mono);
}
