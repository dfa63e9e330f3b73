// The ten short texts of the analysis panes: the chemistry as narrow lists and three-column
// tables, and the recipe as parallel columns of amounts, batch amounts, percentages and costs.

#include "glazes/Glaze.h"

#include "elements/ElementTable.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kUnavailable = "Analysis unavailable";
// Blanks before a total: they stand where the name columns stand in the recipe lines.
constexpr std::string_view kTotalIndent = "                    ";

enum PaneKind : int { kUnityPane = 0, kWeightPane = 1, kMolePane = 2 };

// Text padded with blanks on the left to width (never cut): printf's "%<width>s".
std::string RightAligned(std::string_view text, std::size_t width)
{
    std::string result;
    if (text.size() < width)
        result.assign(width - text.size(), ' ');
    result += text;
    return result;
}

// Text padded on the right or cut to exactly width.
std::string FixedWidth(std::string_view text, std::size_t width)
{
    std::string result(text.substr(0, std::min(width, text.size())));
    result.resize(width, ' ');
    return result;
}

std::string UnityNumber(double value)
{
    std::string text = FormatNumberWidth(value, 2, g_prefs.decanalysis);
    return BlankTrailingZeros(text, g_prefs.tzsanalysis);
}

std::string PercentNumber(double fraction)
{
    std::string text = FormatNumberWidth(fraction * 100.0, 2, g_prefs.decanalysispct);
    return BlankTrailingZeros(text, g_prefs.tzsanalysispct);
}

std::string RecipeAmount(double value)
{
    std::string text = FormatNumberWidth(value, 5, g_prefs.decrecipe);
    return BlankTrailingZeros(text, g_prefs.tzsrecipe);
}

std::string RecipePercent(double fraction)
{
    std::string text = FormatNumberWidth(fraction * 100.0, 5, g_prefs.decrecipepct);
    return BlankTrailingZeros(text, g_prefs.tzsrecipepct) + "%";
}

// The currency symbol and the cost in the materials database's cost format.
std::string CostText(double cost)
{
    if (!g_pMaterialsDoc)
        return "$" + FormatDoubleFixedWidth(cost, 6, 2);
    return g_pMaterialsDoc->Materials().m_currencySymbol + g_pMaterialsDoc->FormatCost(cost);
}

std::string OxideName(int element)
{
    if (element == CGlazeAnalysis::kOtherVolatilesElement)
        return "Other";
    return GetElementTable()[element].oxide;
}

// One oxide as a pane of the given kind shows it: "%5s %s", or "%5s %s%%" for percentages.
std::string OxideEntry(const COxideItem& item, int kind)
{
    std::string entry = RightAligned(OxideName(item.element), 5) + " ";
    switch (kind) {
    case kUnityPane: return entry + UnityNumber(item.unity);
    case kWeightPane: return entry + PercentNumber(item.weightFraction) + "%";
    default: return entry + PercentNumber(item.moleFraction) + "%";
    }
}

// Blanks between the columns of a table: fewer as the entries grow wider.
int ColumnSeparatorWidth(int decimals, int widestAtFour)
{
    return std::clamp(4 - (decimals - widestAtFour), 1, 4);
}

std::array<const COxideItemList*, 3> MainGroups(const CGlazeAnalysis& a)
{
    return {&a.alkaliOxides, &a.neutralOxides, &a.acidOxides};
}

// The alkali, neutral and acid oxides one per line, each group closed by an empty line.
void AppendNarrowList(std::string& pane, const CGlazeAnalysis& analysis, int kind)
{
    for (const COxideItemList* group : MainGroups(analysis)) {
        for (const COxideItem& item : *group)
            pane += " " + OxideEntry(item, kind) + kLineEnd;
        if (!group->empty())
            pane += kLineEnd;
    }
}

// The alkali, neutral and acid oxides side by side, then an empty line.
void AppendTable(std::string& pane, const CGlazeAnalysis& analysis, int kind)
{
    const bool unity = kind == kUnityPane;
    const int decimals = unity ? g_prefs.decanalysis : g_prefs.decanalysispct;
    const std::size_t width = static_cast<std::size_t>(std::max(0, decimals + (unity ? 9 : 10)));
    const std::string separator(static_cast<std::size_t>(ColumnSeparatorWidth(decimals, unity ? 2 : 1)), ' ');
    const auto groups = MainGroups(analysis);
    std::size_t rows = 0;
    for (const COxideItemList* group : groups)
        rows = std::max(rows, group->size());
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t column = 0; column < groups.size(); ++column) {
            const COxideItemList& group = *groups[column];
            if (column > 0)
                pane += separator;
            pane += FixedWidth(row < group.size() ? OxideEntry(group[row], kind) : std::string(), width);
        }
        pane += kLineEnd;
    }
    pane += kLineEnd;
}

// The alumina:silica, neutral:acid and alkali:neutral:acid ratios (only with alumina present).
void AppendRatios(std::string& list, std::string& table, const CGlazeAnalysis& a)
{
    if (!(a.siAlRatio > 0.0))
        return;
    const std::string siAl = FormatDoubleFixed(a.siAlRatio, 2);
    list += "Al:Si=1.00:" + siAl + kLineEnd;
    table += "Alumina:Silica ratio is  1.00:" + siAl + kLineEnd;
    if (a.acidNeutralRatio > 0.0 && a.acidNeutralRatio != a.siAlRatio) {
        const std::string acid = FormatDoubleFixed(a.acidNeutralRatio, 2);
        list += "Neut:Acid=1.00:" + acid + kLineEnd;
        table += "Neutral:Acid ratio is    1.00:" + acid + kLineEnd;
    }
    if (a.acidNeutralRatio > 0.0 && a.neutralAlkaliRatio > 0.0) {
        const std::string ratios = FormatDoubleFixed(a.neutralAlkaliRatio, 2) + ":" +
                                   FormatDoubleFixed(a.neutralAlkaliRatio * a.acidNeutralRatio, 2);
        list += "A:N:A=1.00:" + ratios + kLineEnd;
        table += "Alk:Neut:Acid ratio is 1.00:" + ratios + kLineEnd;
    }
    list += kLineEnd;
    table += kLineEnd;
}

void AppendUnexpected(std::string& pane, const CGlazeAnalysis& a, int kind)
{
    if (a.otherOxides.empty())
        return;
    pane += "Unexpected oxides:";
    pane += kLineEnd;
    for (const COxideItem& item : a.otherOxides)
        pane += " " + OxideEntry(item, kind) + kLineEnd;
    pane += kLineEnd;
}

void AppendVolatiles(std::string& pane, const CGlazeAnalysis& a)
{
    if (a.volatileOxides.empty())
        return;
    pane += "Volatiles:";
    pane += kLineEnd;
    for (const COxideItem& item : a.volatileOxides)
        pane += " " + OxideEntry(item, kWeightPane) + kLineEnd;
    pane += kLineEnd;
}

void AppendLossOnIgnition(std::string& list, std::string& table, const CGlazeAnalysis& a)
{
    const double percent = a.loiFraction * 100.0;
    if (RoundToPowerOfTen(percent, -g_prefs.decanalysispct) != 0.0) {
        const std::string text = PercentNumber(a.loiFraction);
        list += "LOI: " + text + "%" + kLineEnd + kLineEnd;
        table += "Loss On Ignition: " + text + "%" + kLineEnd;
    }
    table += kLineEnd;
}

// The long expansion lines of the tables and the compact line of the lists.
void AppendExpansion(std::array<std::string*, 6>& panes, const CGlazeAnalysis& a)
{
    if (a.expansionShare > 0.0) {
        const bool partial = a.expansionShare < 0.995;
        const std::string value = FormatDoubleFixed(a.expansion, 1);
        const std::string share = FormatDoubleFixed(a.expansionShare * 100.0, 0);
        std::string longLines = "Expansion: " + value + " x 10e-7 per degree C" + kLineEnd;
        if (partial)
            longLines += "  (based on " + share + "% of fired weight)" + kLineEnd;
        std::string compact = "Expansion:";
        if (partial)
            compact += value + (a.expansion < 100.0 ? " " : "") + "[" + share + "%]";
        else
            compact += " " + value + " ";
        compact += kLineEnd;
        for (int i = 0; i < 3; ++i) {
            *panes[i] += compact;
            *panes[i + 3] += longLines;
        }
    }
    if (a.hasUnusualExpansion) {
        for (int i = 3; i < 6; ++i)
            *panes[i] += "Oxides causing abnormal expansion:" + std::string(kLineEnd) + "  " +
                         a.unusualExpansionText + kLineEnd;
    }
}

void FormatChemistryPanes(std::array<std::string*, 6>& panes, const CGlazeAnalysis& a)
{
    if (!a.IsValid()) {
        for (std::string* pane : panes)
            *pane = kUnavailable;
        return;
    }
    AppendNarrowList(*panes[0], a, kUnityPane);
    AppendTable(*panes[3], a, kUnityPane);
    AppendRatios(*panes[0], *panes[3], a);
    AppendNarrowList(*panes[1], a, kWeightPane);
    AppendTable(*panes[4], a, kWeightPane);
    AppendNarrowList(*panes[2], a, kMolePane);
    AppendTable(*panes[5], a, kMolePane);
    for (int kind = kUnityPane; kind <= kMolePane; ++kind) {
        AppendUnexpected(*panes[kind], a, kind);
        AppendUnexpected(*panes[kind + 3], a, kind);
    }
    AppendVolatiles(*panes[4], a);
    AppendLossOnIgnition(*panes[1], *panes[4], a);
    AppendExpansion(panes, a);
}

// The mark and the name column of one recipe line.
std::string RecipeLineHead(const CRecipeItem& item, const std::string& name)
{
    std::string head;
    const bool showHazards = g_prefs.hazvis >= 1;
    if (showHazards)
        head += (item.flags & kItemHasHazards) ? "x" : " ";
    head += (item.flags & kItemNotAvailable) ? "-" : (item.flags & kItemNotInDatabase) ? "?" : " ";
    return head + FixedWidth(name, showHazards ? 17 : 18) + " ";
}

// The four recipe columns of one list (components or additions); returns the cost total.
double AppendRecipeLines(std::array<std::string*, 4>& panes, const CIngredientList& lines, const CRecipeItemList& items)
{
    double cost = 0.0;
    for (std::size_t i = 0; i < lines.size() && i < items.size(); ++i) {
        const CRecipeItem& item = items[i];
        const CIngredient* line = lines[i].get();
        const std::string head = RecipeLineHead(item, line ? line->m_name : std::string());
        *panes[0] += head + RecipeAmount(line ? line->m_amount : 0.0) + kLineEnd;
        *panes[1] += head + RecipeAmount(item.amount) + kLineEnd;
        *panes[2] += head + RecipePercent(item.fraction) + kLineEnd;
        *panes[3] += head + CostText(item.cost) + kLineEnd;
        cost += item.cost;
    }
    return cost;
}

std::string Rule(int dashes)
{
    return std::string(kTotalIndent) + std::string(static_cast<std::size_t>(std::max(0, dashes)), '-') + kLineEnd;
}

std::string TotalLine(const std::string& value)
{
    return std::string(kTotalIndent) + value + kLineEnd + kLineEnd;
}

// The rules and totals under the components.
void AppendComponentTotals(std::array<std::string*, 4>& panes, const CGlaze& glaze, const CGlazeAnalysis& a,
                           double cost)
{
    double fractions = 0.0;
    for (const CRecipeItem& item : a.componentItems)
        fractions += item.fraction;
    if (glaze.m_byVol)
        *panes[0] += kLineEnd;
    else
        *panes[0] += Rule(g_prefs.decrecipe + 7) + TotalLine(RecipeAmount(glaze.m_components.GetTotalAmount()));
    *panes[1] += Rule(g_prefs.decrecipe + 7) + TotalLine(RecipeAmount(a.batchSize));
    *panes[2] += Rule(g_prefs.decrecipepct + 7) + TotalLine(RecipePercent(fractions));
    *panes[3] += Rule(8) + TotalLine(CostText(cost));
}

// "Densities unknown:" and the lines whose material is missing or has no density.
std::string DensitiesUnknown(const CGlaze& glaze, const CGlazeAnalysis& a)
{
    std::string text = std::string("Densities unknown:") + kLineEnd + kLineEnd;
    const std::pair<const CIngredientList*, const CRecipeItemList*> lists[] = {
        {&glaze.m_components, &a.componentItems},
        {&glaze.m_additions, &a.additionItems},
    };
    for (const auto& [lines, items] : lists) {
        for (std::size_t i = 0; i < lines->size() && i < items->size(); ++i) {
            const CMaterial* material = (*items)[i].material;
            if ((!material || material->m_density <= 0.0) && (*lines)[i])
                text += "  " + (*lines)[i]->m_name + kLineEnd;
        }
    }
    return text;
}

void FormatRecipePanes(std::array<std::string*, 4>& panes, const CGlaze& glaze, const CGlazeAnalysis& a)
{
    const double componentCost = AppendRecipeLines(panes, glaze.m_components, a.componentItems);
    if (!glaze.m_components.empty())
        AppendComponentTotals(panes, glaze, a, componentCost);
    const double additionCost = AppendRecipeLines(panes, glaze.m_additions, a.additionItems);
    if (!glaze.m_additions.empty()) {
        *panes[3] += Rule(8) + std::string(kTotalIndent) + CostText(additionCost) + kLineEnd;
        *panes[3] += kLineEnd;
    }
    const double total = componentCost + additionCost;
    *panes[3] += CostText(total) + " per kg glaze" + kLineEnd;
    *panes[3] += CostText(total * a.batchSize * 0.001) + " per " + FormatDoubleFixed(a.batchSize, 1) + " g batch" +
                 kLineEnd;

    const bool hasLines = !glaze.m_components.empty() || !glaze.m_additions.empty();
    if (glaze.m_byVol && !a.amountsValid && hasLines) {
        *panes[1] = DensitiesUnknown(glaze, a);
        *panes[2] = *panes[1];
        *panes[3] = *panes[1];
    }
}

} // namespace

void CGlaze::FormatAnalysisPanes(std::string& unityList, std::string& weightList, std::string& moleList,
                                 std::string& unityTable, std::string& weightTable, std::string& moleTable,
                                 std::string& recipeAmounts, std::string& batchAmounts, std::string& percentages,
                                 std::string& costs) const
{
    std::array<std::string*, 6> chemistry = {&unityList, &weightList, &moleList, &unityTable, &weightTable, &moleTable};
    std::array<std::string*, 4> recipe = {&recipeAmounts, &batchAmounts, &percentages, &costs};
    for (std::string* pane : chemistry)
        pane->clear();
    for (std::string* pane : recipe)
        pane->clear();
    const CGlazeAnalysis& analysis = GetAnalysis();
    FormatRecipePanes(recipe, *this, analysis);
    FormatChemistryPanes(chemistry, analysis);
}
