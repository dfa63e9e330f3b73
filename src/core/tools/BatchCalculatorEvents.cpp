// The calculator's answers to the dialog's events, and the texts of its lists and boxes.

#include "tools/BatchCalculator.h"

#include "elements/ElementList.h"
#include "framework/MessageService.h"
#include "materials/MaterialArray.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <algorithm>

namespace {

void ShowStop(const std::string& text)
{
    AppMessageBox(text, MsgOk | MsgIconError, kBatchCalcHelpId);
}

// When several materials begin with the text, the first of them in database order is taken.
void CompleteToFirstPrefixMatch(CMaterialArray& materials, std::string& text)
{
    const std::string prefix = GetNamePart(text);
    for (const auto& record : materials.Records()) {
        if (record && (StartsWithNoCase(record->m_name, prefix) || StartsWithNoCase(record->m_code, prefix))) {
            text = record->m_name;
            materials.FindMaterial(text, true);
            return;
        }
    }
}

// Places before the point for a list of amounts: 1, or the digits of the largest amount when
// it is 10 or more.
int IntegerPlaces(double largest)
{
    if (!(largest >= 10.0))
        return 1;
    const std::string text = FormatFixed(largest, g_prefs.decrecipeinput);
    const std::size_t point = text.find('.');
    return static_cast<int>(point == std::string::npos ? text.size() : point);
}

// The amount right-aligned in places integer places, each leading blank doubled.
std::string ListAmount(double amount, int places)
{
    std::string number = FormatNumberWidth(amount, places, g_prefs.decrecipeinput);
    StripTrailingZeros(number, g_prefs.tzsrecipeinput);
    return GetLeadingWhitespace(number) + number;
}

void AppendRecipeRows(const CIngredientList& lines, int places, int dataBase, std::vector<CBatchListRow>& rows)
{
    for (int i = 0; i < lines.GetCount(); ++i) {
        const CIngredient& line = lines.GetAt(i);
        rows.push_back({line.m_name + "\t" + ListAmount(line.m_amount, places), dataBase + i});
    }
}

} // namespace

void CBatchCalculator::RestartFromFormula()
{
    std::string text = m_formulaText;
    TrimString(text);
    if (!text.empty()) {
        ParseFormula();
        ShowRemainders();
    } else {
        BuildFormulaFromRecipe();
    }
    m_recipe.clear();
    m_recipeBoxText.clear();
    SelectMaterial("");
    RecomputeSuggestions();
}

void CBatchCalculator::SetCombineKNa(bool combine)
{
    m_combineKNa = combine;
    RecomputeRemainders();
    LeaveMaterialBox();
    RecomputeSuggestions();
}

void CBatchCalculator::SetRemainderUnit(int unit)
{
    if (unit < kRemainderMolecular || unit > kRemainderWeightPercent)
        return;
    m_remainderUnit = unit;
    ShowRemainders();
}

void CBatchCalculator::SetListMode(int mode)
{
    if (mode != kBatchListOriginalRecipe && mode != kBatchListSuggestions)
        return;
    m_listMode = mode;
    if (mode == kBatchListSuggestions)
        ComputeSuggestions();
}

void CBatchCalculator::LeaveMaterialBox()
{
    std::string text = m_materialText;
    TrimString(text);
    CMaterialArray* materials = Materials();
    if (materials && !text.empty() && !materials->FindMaterial(text, true)) {
        int status = PrefixNone;
        if (!materials->FindByPrefix(text, true, &status) && status == PrefixAmbiguous)
            CompleteToFirstPrefixMatch(*materials, text);
    }
    SelectMaterial(text);
}

void CBatchCalculator::SelectRemainderOxide(int z)
{
    if (!IsValidElementNumber(z))
        return;
    const CMaterial* material = FindMaterial(m_materialText);
    if (material && m_remainders[static_cast<std::size_t>(z)] > 0.0 && material->m_atoms[static_cast<std::size_t>(z)] > 0.0)
        AnalyseAmount(Need(z, *material), material);
    else
        AnalyseAmount(0.0, nullptr);
}

void CBatchCalculator::SelectMaterialAt(int index)
{
    CMaterialArray* materials = Materials();
    const CMaterial* material = materials ? materials->GetAt(index) : nullptr;
    SelectMaterial(material ? material->m_name : std::string());
    RecomputeSuggestions();
}

void CBatchCalculator::SelectListItem(int data)
{
    if (m_listMode == kBatchListSuggestions) {
        SelectSuggestion(data);
        return;
    }
    const bool addition = data >= kBatchAdditionItemBase;
    const CIngredientList& lines = addition ? m_originalAdditions : m_originalComponents;
    const int index = addition ? data - kBatchAdditionItemBase : data;
    if (lines.IsValidIndex(index)) {
        const CIngredient line = lines.GetAt(index);
        SelectMaterial(line.m_name);
        AnalyseAmount(line.m_amount, nullptr);
    } else {
        SelectMaterial("");
    }
    RecomputeSuggestions();
}

void CBatchCalculator::PreferencesChanged()
{
    ParseElementOrder(g_prefs.sugord, m_suggestionOrder);
    RecomputeSuggestions();
    ShowRemainders();
    RebuildRecipeBox();
}

bool CBatchCalculator::CheckFormulaBox()
{
    if (m_formulaText.empty())
        return true;
    std::string text = m_formulaText;
    ReplaceCharInString(text, '\n', ' ');
    ReplaceCharInString(text, '\r', ' ');
    TrimString(text);
    m_formulaText = text;
    CMaterial probe("new material");
    std::string error;
    if (probe.SetFormula(text, &error) != 0) {
        ShowStop("Invalid formula!\n    " + error);
        return false;
    }
    return true;
}

int CBatchCalculator::PrepareFormulaConversion(CMaterial& material) const
{
    std::string error;
    if (material.SetFormula(m_formulaText, &error) != 0) {
        ShowStop("Error in formula:\n  " + error);
        return 1;
    }
    if (material.m_formulaWeight == 0.0 && material.m_percentSum == 0.0) {
        ShowStop("Formula is empty");
        return 1;
    }
    if ((material.m_isWeightPercent || material.m_isMolePercent)
        && RoundToPowerOfTen(material.m_percentSum, 0) != 100.0) {
        ShowStop("Percentages must add to 100% before conversion");
        return 1;
    }
    return 0;
}

std::string CBatchCalculator::BuildMaterialInformation() const
{
    if (m_materialText.empty())
        return {};
    const CMaterial* material = FindMaterial(m_materialText);
    if (!material)
        return m_materialText + " not found in material list";
    const CMaterialArray& materials = *Materials();
    std::string text = m_materialText;
    for (const std::string& alias : material->m_akaNames)
        text.append(" (").append(alias).append(")");
    text += " :\n  ";
    if (!material->m_mapTo.empty())
        text.append("Mapped to: ").append(material->m_mapTo).append("\n  ");
    text.append("Type: ").append(material->m_type).append("\n  ");
    text.append(material->m_available ? "Available" : "Not available").append("\n  ");
    std::string cost = materials.FormatCost(material->m_costPerLb);
    TrimStringLeft(cost);
    text.append(materials.m_currencySymbol).append(cost).append(" per ");
    text.append(materials.m_costUnit == CMaterialArray::kCostPerKilogram ? "kilogram" : "pound").append("\n  ");
    return text + material->m_formula;
}

std::vector<CBatchListRow> CBatchCalculator::BuildListRows() const
{
    std::vector<CBatchListRow> rows;
    if (m_listMode == kBatchListSuggestions) {
        const int places = IntegerPlaces(m_suggestions.GetMaxAmount());
        for (int i = 0; i < m_suggestions.GetCount(); ++i) {
            const CIngredient& suggestion = m_suggestions.GetAt(i);
            std::string name;
            std::string oxide;
            SplitSuggestion(suggestion.m_name, name, oxide);
            std::erase_if(oxide, [](char c) { return c == '(' || c == ')'; });
            rows.push_back({name + "\t" + oxide + "\t" + ListAmount(suggestion.m_amount, places), i});
        }
        return rows;
    }
    const int places =
        IntegerPlaces(std::max(m_originalComponents.GetMaxAmount(), m_originalAdditions.GetMaxAmount()));
    AppendRecipeRows(m_originalComponents, places, 0, rows);
    AppendRecipeRows(m_originalAdditions, places, kBatchAdditionItemBase, rows);
    return rows;
}
