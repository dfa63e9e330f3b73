#include "tools/BatchCalculator.h"

#include "elements/ElementList.h"
#include "framework/MessageService.h"
#include "glazes/RecipeByVolume.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialFormula.h"
#include "materials/MaterialsDoc.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;

void ShowStop(const std::string& text)
{
    AppMessageBox(text, MsgOk | MsgIconError, kBatchCalcHelpId);
}

double Tolerance()
{
    return PowerOfTen(-g_prefs.decremainders);
}

double AmountStep()
{
    return PowerOfTen(-g_prefs.decrecipeinput);
}

// A right-aligned number with each leading blank doubled, which keeps the digits in line in a
// proportional font.
std::string PaddedNumber(const std::string& number)
{
    return GetLeadingWhitespace(number) + number;
}

} // namespace

CBatchCalculator::CBatchCalculator(CMaterialArray* materials) : m_materials(materials)
{
    m_suggestionOrder.fill(-1);
    m_remainderUnit = g_prefs.rmndfmt >= kRemainderMolecular && g_prefs.rmndfmt <= kRemainderWeightPercent
                          ? g_prefs.rmndfmt
                          : kRemainderMolecular;
}

CMaterialArray* CBatchCalculator::Materials() const
{
    if (m_materials)
        return m_materials;
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

CMaterial* CBatchCalculator::FindMaterial(const std::string& name) const
{
    CMaterialArray* materials = Materials();
    return materials ? materials->FindMaterial(std::string_view(name)) : nullptr;
}

bool CBatchCalculator::IsCounted(int z) const
{
    if (!IsValidElementNumber(z) || (GetElementTable()[z].role & kRoleVolatile))
        return false;
    if (z == 0)
        return m_combineKNa;
    if (z == kSodium || z == kPotassium)
        return !m_combineKNa;
    return true;
}

double CBatchCalculator::OxideMolesPerUnit(const CMaterial& material, int z)
{
    return DivideByCationCount(material.m_atoms[static_cast<std::size_t>(z)], GetElementTable()[z].ncat);
}

double CBatchCalculator::Need(int z, const CMaterial& material) const
{
    const double perUnit = OxideMolesPerUnit(material, z);
    if (!(perUnit > 0.0))
        return 0.0;
    const double need = m_remainders[static_cast<std::size_t>(z)] / perUnit;
    return std::isfinite(need) ? need : 0.0;
}

// Up to the next step, unless the step below already leaves less than t of the oxide and both
// lie in the same tenfold step: then the amount is rounded down, so that an exact amount spoilt
// by the last bit of floating-point noise is not pushed a whole step up.
double CBatchCalculator::RoundedAmount(double x, int z, const CMaterial& material) const
{
    const int p = -g_prefs.decrecipeinput;
    const double up = RoundUpToPowerOfTen(x, p);
    const double down = TruncateToPowerOfTen(x, p);
    if (TruncateToPowerOfTen(up, p + 1) == TruncateToPowerOfTen(down, p + 1)
        && m_remainders[static_cast<std::size_t>(z)] - down * OxideMolesPerUnit(material, z) < Tolerance())
        return down;
    return up;
}

double CBatchCalculator::LimitingAmount(const CMaterial& material, int* limiter) const
{
    const ElementDisplayOrder order = GetElementDisplayOrder();
    double smallest = 0.0;
    *limiter = -1;
    for (int z : order) {
        if (!IsCounted(z) || !(material.m_atoms[static_cast<std::size_t>(z)] > 0.0))
            continue;
        const double amount = RoundedAmount(Need(z, material), z, material);
        if (*limiter < 0 || amount < smallest) {
            smallest = amount;
            *limiter = z;
        }
    }
    return smallest;
}

// --- start and finish ---------------------------------------------------------------------------

void CBatchCalculator::Start()
{
    ParseElementOrder(g_prefs.sugord, m_suggestionOrder);
    BuildFormulaFromRecipe();
    m_recipe.clear();
    m_recipeBoxText.clear();
    SelectMaterial("");
    RecomputeSuggestions();
}

bool CBatchCalculator::FinishOk()
{
    CIngredientList result(m_recipe);
    std::vector<std::string> noDensity;
    if (m_resultByVolume && !ConvertByDensity({&result}, false, noDensity)) {
        ShowStop(NoDensityMessage(noDensity, "The recipe is by volume: every line needs a density. Undo the line, "
                                             "or give its material a density in the materials database."));
        return false;
    }
    result.DistributeTo(m_originalComponents, m_originalAdditions);
    return true;
}

// --- the formula and the remainders ---------------------------------------------------------------

void CBatchCalculator::BuildFormulaFromRecipe()
{
    m_remainders.Clear();
    m_totalMoles = m_totalWeight = 0.0;
    for (const CIngredientList* lines : {&m_originalComponents, &m_originalAdditions}) {
        for (const auto& line : *lines) {
            const CMaterial* material = FindMaterial(line->m_name);
            if (material)
                material->AddScaledAnalysis(m_remainders.data(), line->m_amount);
            else
                ShowStop(line->m_name + " not in Material List, recommend you Cancel");
        }
    }
    const CElementRecord* table = GetElementTable();
    for (int z = 0; z < kElementCount; ++z)
        m_remainders[static_cast<std::size_t>(z)] = DivideByCationCount(m_remainders[static_cast<std::size_t>(z)], table[z].ncat);
    m_recipeFormula = m_remainders;

    std::string text;
    for (int z : GetElementDisplayOrder()) {
        const double moles = m_recipeFormula[static_cast<std::size_t>(z)];
        if (z == 0 || (table[z].role & kRoleVolatile) || !(moles > 0.0))
            continue;
        const std::string number = FormatFixed(moles, g_prefs.decremainders);
        if (ParseDouble(number) > 0.0)
            text.append(number).append(" ").append(table[z].oxide).append("  ");
    }
    TrimStringRight(text);
    m_formulaText = m_keptFormulaText = text;
    ParseFormula();
    ShowRemainders();
}

void CBatchCalculator::ParseFormula()
{
    std::string text = m_formulaText;
    TrimString(text);
    if (!EqualsNoCase(text, m_keptFormulaText)) {
        OxideVector atoms;
        std::string error;
        int position = 0;
        if (ParseFormulaAnalysis(text, atoms.data(), m_remainders.data(), &error, &position) != 0) {
            m_remainders.Clear();
            ShowStop("Invalid formula!\n    " + error);
            return;
        }
    } else {
        m_remainders = m_recipeFormula;
    }
    m_totalMoles = m_totalWeight = 0.0;
    const double t = Tolerance();
    const CElementRecord* table = GetElementTable();
    for (int z = 0; z < kElementCount; ++z) {
        double& remainder = m_remainders[static_cast<std::size_t>(z)];
        if (remainder < t)
            remainder = 0.0;
        if (IsCounted(z)) {
            m_totalMoles += remainder;
            m_totalWeight += remainder * table[z].oxideMW;
        }
    }
}

void CBatchCalculator::SubtractMaterial(const std::string& name, double amount)
{
    const CMaterial* material = FindMaterial(name);
    if (!material)
        return;
    const double t = Tolerance();
    const CElementRecord* table = GetElementTable();
    for (int z = 0; z < kElementCount; ++z) {
        if (table[z].role & kRoleVolatile)
            continue;
        double& remainder = m_remainders[static_cast<std::size_t>(z)];
        remainder -= amount * OxideMolesPerUnit(*material, z);
        // An excess stays negative so that it shows.
        if (remainder > 0.0 && remainder < t)
            remainder = 0.0;
    }
}

void CBatchCalculator::RecomputeRemainders()
{
    ParseFormula();
    for (const auto& line : m_recipe)
        SubtractMaterial(line->m_name, line->m_amount);
    ShowRemainders();
}

double CBatchCalculator::RemainderInUnit(int z) const
{
    const double remainder = m_remainders[static_cast<std::size_t>(z)];
    const double mw = GetElementTable()[z].oxideMW;
    switch (m_remainderUnit) {
    case kRemainderWeight: return remainder * mw;
    case kRemainderMolePercent: return m_totalMoles > 0.0 ? remainder * 100.0 / m_totalMoles : 0.0;
    case kRemainderWeightPercent: return m_totalWeight > 0.0 ? remainder * mw * 100.0 / m_totalWeight : 0.0;
    default: return remainder;
    }
}

void CBatchCalculator::ShowRemainders()
{
    for (auto& rows : m_remainderRows)
        rows.clear();
    const CElementRecord* table = GetElementTable();
    for (int z : GetElementDisplayOrder()) {
        if (!IsCounted(z))
            continue;
        std::string number = FormatNumberWidth(RemainderInUnit(z), 2, g_prefs.decremainders);
        StripTrailingZeros(number, g_prefs.tzsremainders);
        if (ParseDouble(number) == 0.0)
            continue;
        const int list = (table[z].role & kRoleAlkali)    ? kRemainderListAlkali
                         : (table[z].role & kRoleNeutral) ? kRemainderListNeutral
                                                          : kRemainderListOther;
        m_remainderRows[static_cast<std::size_t>(list)].push_back({table[z].oxide + "\t" + PaddedNumber(number), z});
    }
}

// --- the material being looked at -----------------------------------------------------------------

void CBatchCalculator::SelectMaterial(const std::string& name)
{
    m_materialText.clear();
    m_providesLine.clear();
    m_amountChoices.clear();
    m_amountChoiceRows.clear();
    const CMaterial* material = name.empty() ? nullptr : FindMaterial(name);
    if (!material) {
        AnalyseAmount(0.0, nullptr);
        m_selectedMaterial = -1;
        return;
    }
    m_materialText = name;
    m_providesLine = "...provides :";
    const CElementRecord* table = GetElementTable();
    double smallest = 0.0;
    bool any = false;
    for (int z : GetElementDisplayOrder()) {
        if (!IsCounted(z) || !(material->m_atoms[static_cast<std::size_t>(z)] > 0.0))
            continue;
        const double amount = RoundedAmount(Need(z, *material), z, *material);
        m_providesLine.append("  ").append(table[z].oxide);
        m_amountChoices.push_back({table[z].oxide, amount});
        if (!any || amount < smallest)
            smallest = amount;
        any = true;
    }
    if (!any)
        m_providesLine.append("  nothing useful");
    AnalyseAmount(smallest, material);
    m_selectedMaterial = Materials()->IndexOf(material);
    FillAmountChoices();
}

void CBatchCalculator::AnalyseAmount(double amount, const CMaterial* material)
{
    m_amountText.clear();
    m_analysisLine.clear();
    if (!(amount > 0.0)) {
        m_amountText = "0.0";
        return;
    }
    std::string text = FormatFixed(amount, g_prefs.decrecipeinput);
    StripTrailingZeros(text, g_prefs.tzsrecipeinput);
    m_amountText = text;
    const double shown = ParseDouble(text);
    if (!material)
        material = FindMaterial(m_materialText);
    if (!material)
        return;

    const CElementRecord* table = GetElementTable();
    const double t = Tolerance();
    const double lessShown = shown - AmountStep();
    std::string satisfied;
    std::string excess;
    for (int z : GetElementDisplayOrder()) {
        if (!IsCounted(z) || !(material->m_atoms[static_cast<std::size_t>(z)] > 0.0))
            continue;
        const double perUnit = OxideMolesPerUnit(*material, z);
        const double remainder = m_remainders[static_cast<std::size_t>(z)];
        const double provided = shown * perUnit;
        const double providedLess = lessShown * perUnit;
        // Excess only when even one step less is too much; the allowance absorbs the rounding
        // noise of amounts that meet the remainder exactly.
        const double noise = 1e-12 * std::max(std::fabs(remainder), std::fabs(providedLess));
        if (remainder - providedLess < -noise)
            excess.append("  ").append(table[z].oxide);
        else if (RoundToPowerOfTen(remainder, -g_prefs.decremainders) > 0.0 && remainder - provided < t)
            satisfied.append("  ").append(table[z].oxide);
    }
    if (satisfied.empty() && excess.empty())
        return;
    m_analysisLine = "  " + text + " g";
    if (!satisfied.empty())
        m_analysisLine.append("  satisfies :").append(satisfied);
    if (!excess.empty())
        m_analysisLine.append("  provides excess :").append(excess);
}

void CBatchCalculator::FillAmountChoices()
{
    m_amountChoiceRows.clear();
    const int places = m_totalWeight > 1000.0 ? 4 : 3;
    for (std::size_t i = 0; i < m_amountChoices.size(); ++i) {
        const std::string number = FormatNumberWidth(m_amountChoices[i].amount, places, g_prefs.decrecipeinput);
        m_amountChoiceRows.push_back({PaddedNumber(number) + " (" + m_amountChoices[i].oxide + ")", static_cast<int>(i)});
    }
}
