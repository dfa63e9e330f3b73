// The one-glaze recipe charts: graph types 4 and 5 (one slice or bar per recipe line at its
// percentage of the recipe), 7 and 8 (per line at its cost per kilogram of glaze) and 9 and 10
// (per material type at the percentage of all its lines). A pie and its bar twin share their
// data, checks, colours and texts; the pies turn the order round when `reverse` is clear, the
// bars when it is set.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphRecipeLists.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

namespace {

enum class RecipeChart { Recipe, Cost, Types };

// The analysis checks of a recipe chart; the first that fails gives the error text.
std::string CheckRecipeAnalysis(const CGlaze& glaze, RecipeChart kind)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (kind == RecipeChart::Cost && !analysis.materialsFound)
        return "Glaze contains unknown ingredients";
    if (!analysis.amountsValid)
        return "Glaze contains ingredients of unknown weight";
    return std::string();
}

// The lines of the chart in their final order.
CIngredientList OrderedLines(const CGraph& graph, const CGlaze& glaze, RecipeChart kind, bool pie)
{
    CIngredientList lines;
    if (kind == RecipeChart::Types) {
        lines = BuildMaterialTypeList(glaze);
    } else {
        lines = BuildRecipeList(glaze, kind == RecipeChart::Cost ? RecipeAmount::Cost : RecipeAmount::Percent);
        lines.SortByPreferredTypeOrder();
    }
    if (graph.pareto)
        lines.SortByAmount(-1);
    if (pie == (graph.reverse == 0))
        lines.Reverse();
    return lines;
}

std::string LineText(const CIngredient& line, RecipeChart kind)
{
    if (kind != RecipeChart::Cost)
        return line.m_name + "  " + FormatFixed(line.m_amount, g_prefs.decrecipepct) + "%";
    std::string cost = g_pMaterialsDoc ? g_pMaterialsDoc->FormatCost(line.m_amount) : FormatFixed(line.m_amount, 2);
    const std::string symbol = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_currencySymbol : "$";
    return line.m_name + "  " + symbol + TrimBufferLeft(cost) + " per kg glaze";
}

// The glaze of a recipe chart and its points, with the texts set; null after an error.
CGlaze* GatherRecipeChart(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, RecipeChart kind, bool pie,
                          CChartSeries& series)
{
    CGlaze* shown = graph.ShownGlaze(glazeDb, glaze);
    if (!shown)
        return nullptr;
    graph.m_errorText = CheckRecipeAnalysis(*shown, kind);
    if (!graph.m_errorText.empty())
        return nullptr;
    const CMaterialTypeColorList* colors = CGraph::GetMaterialTypeColors();
    const bool mono = graph.mono != 0;
    CStringArrayEx texts;
    for (const auto& line : OrderedLines(graph, *shown, kind, pie)) {
        const CChartColor color = kind == RecipeChart::Types ? MaterialTypeColor(colors, line->m_name, mono)
                                                             : RecipeLineColor(colors, line->m_name, mono);
        series.AddPoint(line->m_amount, line->m_name, color);
        texts.push_back(LineText(*line, kind));
    }
    graph.SetColumnTexts(texts);
    return shown;
}

const char* PieTitle(RecipeChart kind)
{
    switch (kind) {
    case RecipeChart::Recipe: return "Recipe";
    case RecipeChart::Cost: return "Relative material costs";
    default: return "Material types";
    }
}

void BuildRecipePieOf(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, RecipeChart kind)
{
    CChartSeries series;
    if (const CGlaze* shown = GatherRecipeChart(graph, glazeDb, glaze, kind, true, series))
        graph.DrawPie(series, shown->m_name, PieTitle(kind));
}

void BuildRecipeBarOf(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze, RecipeChart kind)
{
    CChartSeries series;
    const CGlaze* shown = GatherRecipeChart(graph, glazeDb, glaze, kind, false, series);
    if (!shown)
        return;
    if (kind != RecipeChart::Cost) {
        graph.DrawBarChart(series, shown->m_name, "Percent of recipe", kChartPercentFormat);
        return;
    }
    std::string label, costFormat;
    graph.GetVariableLabel(kGraphVarCost, label, costFormat);
    graph.DrawBarChart(series, shown->m_name, "Cost per kg of glaze", costFormat);
}

} // namespace

void CGraph::BuildRecipePie(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildRecipePieOf(*this, glazeDb, glaze, RecipeChart::Recipe); }
void CGraph::BuildCostPie(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildRecipePieOf(*this, glazeDb, glaze, RecipeChart::Cost); }
void CGraph::BuildMaterialTypesPie(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    BuildRecipePieOf(*this, glazeDb, glaze, RecipeChart::Types);
}

void CGraph::BuildRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildRecipeBarOf(*this, glazeDb, glaze, RecipeChart::Recipe); }
void CGraph::BuildCostBar(CGlazesDoc* glazeDb, CGlaze* glaze) { BuildRecipeBarOf(*this, glazeDb, glaze, RecipeChart::Cost); }
void CGraph::BuildMaterialTypesBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    BuildRecipeBarOf(*this, glazeDb, glaze, RecipeChart::Types);
}
