// The record conversions between formula kinds: % weight, % molecular and molecular forms,
// complex components broken apart, oxidising with a forced value, removing a forced value and
// collecting volatiles as LOI.

#include "materials/Material.h"

#include "elements/ElementTable.h"
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionSteps.h"
#include "materials/MaterialFormula.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kLastElement = kElementCount - 1;
// A two-element compound is written with counts up to this; larger ones are no simple compound.
constexpr double kLargestCompoundCount = 1000000.0;

bool IsVolatile(int z)
{
    return (GetElementTable()[z].role & kRoleVolatile) != 0;
}

// The formula of the record as it stands: its kind and forced values.
SFormulaTextKind OwnKind(const CMaterial& material)
{
    return {material.m_isWeightPercent, material.m_isMolePercent, material.m_hasForcedMW,
            material.m_forcedMWText,    material.m_hasForcedSum,  material.m_forcedSumText};
}

// The written amounts differ from 100 at the formula decimals.
bool MissesOneHundred(const CMaterial& material)
{
    return RoundToPowerOfTen(material.m_percentSum - 100.0, -g_prefs.decformulas) != 0.0;
}

CFormulaComponentList ClassifiedCopy(const CMaterial& material)
{
    CFormulaComponentList components = material.m_components;
    for (CFormulaComponent& component : components)
        component.Classify();
    return components;
}

CFormulaComponent MakeComponent(const std::string& text, int kind, int element, double weight, double amount)
{
    CFormulaComponent component(std::string_view(), text);
    component.m_kind = kind;
    component.m_element = element;
    component.m_weight = weight;
    component.m_amount = amount;
    return component;
}

// The simple oxides and bare elements of one complex component, appended to added. False when
// its text does not stand alone as a formula.
bool BreakComponent(const CFormulaComponent& component, bool weightPercent, CFormulaComponentList& added)
{
    OxideVector atoms;
    OxideVector oxides;
    const char* cursor = component.m_text.c_str();
    if (ParseFormulaComponent(&cursor, atoms.data(), false, nullptr, nullptr, nullptr) != 0)
        return false;
    const double weight = component.m_weight;
    if (weightPercent && !(weight > 0.0))
        return false;
    AllocateOxygenToOxides(atoms.data(), oxides.data());
    const double a = component.m_amount;
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z <= kLastElement; ++z) {
        const double oxide = oxides[static_cast<std::size_t>(z)];
        const double bare = atoms[static_cast<std::size_t>(z)];
        if (oxide > 0.0) {
            const double amount = weightPercent ? table[z].oxideMW * a * oxide / weight : a * oxide;
            added.push_back(MakeComponent(table[z].oxide, kComponentOxide, z, table[z].oxideMW, amount));
        }
        if (bare > 0.0) {
            const double amount = weightPercent ? table[z].weight * a * bare / weight : a * bare;
            added.push_back(MakeComponent(table[z].symbol, kComponentElement, z, table[z].weight, amount));
        }
    }
    return true;
}

// Two elements in a whole-number ratio, written as one compound ("SiO2"), a volatile first
// element going second. False when the ratio is not whole within 1..10.
bool TwoElementCompound(const OxideVector& atoms, std::string& text)
{
    int elements[2] = {0, 0};
    int found = 0;
    for (int z = 1; z <= kLastElement && found < 2; ++z) {
        if (atoms[static_cast<std::size_t>(z)] > 0.0)
            elements[found++] = z;
    }
    if (found != 2)
        return false;
    double counts[2] = {atoms[static_cast<std::size_t>(elements[0])], atoms[static_cast<std::size_t>(elements[1])]};
    if (FindIntegerRatio(g_prefs.decformulas, counts, 10, true, false) == 0.0)
        return false;
    for (double count : counts) {
        if (!(count >= 1.0 && count <= kLargestCompoundCount))
            return false;
    }
    if (IsVolatile(elements[0])) {
        std::swap(elements[0], elements[1]);
        std::swap(counts[0], counts[1]);
    }
    const CElementRecord* table = GetElementTable();
    text.clear();
    for (int i = 0; i < 2; ++i) {
        text += table[elements[i]].symbol;
        const long long count = static_cast<long long>(counts[i]);
        if (count > 1)
            text += std::to_string(count);
    }
    return true;
}

// The shared scheme of removing a forced molecular weight (moles, a molecular formula) or a
// forced % sum (weights, a % weight formula): the forced oxygen is given to the elements.
void RemoveForcedValue(CMaterial& material, bool percentSum)
{
    const std::string original = material.m_formula;
    const CElementRecord* table = GetElementTable();
    OxideVector atoms;
    int present = 0;
    for (int z = 0; z < kElementCount; ++z) {
        atoms[static_cast<std::size_t>(z)] = material.m_formulaWeight * material.m_atoms[static_cast<std::size_t>(z)];
        if (atoms[static_cast<std::size_t>(z)] > 0.0)
            ++present;
    }
    atoms[0] = 0.0; // slot 0 (K + Na) counts above, so potassium or sodium never make a compound
    std::string compound;
    if (present == 2 && TwoElementCompound(atoms, compound)) {
        SetConvertedFormula(material, percentSum ? "% " + material.m_forcedSumText + " " + compound : compound,
                            original);
        return;
    }
    OxideVector oxides;
    AllocateOxygenToOxides(atoms.data(), oxides.data());
    material.m_components.clear();
    for (int z = 1; z <= kLastElement; ++z) {
        const double oxide = oxides[static_cast<std::size_t>(z)];
        const double bare = atoms[static_cast<std::size_t>(z)];
        if (oxide > 0.0)
            material.m_components.emplace_back(FormatFormulaAmount(percentSum ? table[z].oxideMW * oxide : oxide),
                                               table[z].oxide);
        if (bare > 0.0)
            material.m_components.emplace_back(FormatFormulaAmount(percentSum ? table[z].weight * bare : bare),
                                               table[z].symbol);
    }
    FinishConversion(material, percentSum ? SFormulaTextKind::WeightPercent() : SFormulaTextKind::Molecular(),
                     original);
}

} // namespace

void CMaterial::ConvertToWeightPercent()
{
    if (m_isWeightPercent || m_formulaWeight == 0.0 || m_naturalWeight == 0.0)
        return;
    if (m_isMolePercent && !PercentSumIs100(*this))
        return;
    const std::string original = m_formula;
    // A forced weight is oxygen that the components do not show: the percentages shrink by it
    // and a forced sum of 100 brings it back.
    const double factor = m_hasForcedMW && m_naturalWeight > 0.0 ? m_formulaWeight / m_naturalWeight : 1.0;
    CFormulaComponentList components = ClassifiedCopy(*this);
    double sum = 0.0;
    for (CFormulaComponent& component : components) {
        component.m_amount *= component.m_weight;
        sum += component.m_amount;
    }
    if (!(sum > 0.0))
        return;
    const double k = 100.0 / (sum * factor);
    for (CFormulaComponent& component : components)
        component.m_amountText = FormatFormulaAmount(k * component.m_amount);
    m_components = std::move(components);
    const SFormulaTextKind kind =
        m_hasForcedMW ? SFormulaTextKind::WeightPercentForced("100.0") : SFormulaTextKind::WeightPercent();
    if (FinishConversion(*this, kind, original) != 0)
        return;
    if (MissesOneHundred(*this) && m_components.size() >= 2 && !m_hasForcedSum)
        NormalizePercentages(0);
}

void CMaterial::ConvertToMolecularPercent(int loiOxide)
{
    if (m_isMolePercent || m_hasForcedMW || m_hasForcedSum)
        return;
    if (m_isWeightPercent && !PercentSumIs100(*this))
        return;
    const std::string original = m_formula;
    CFormulaComponentList components = ClassifiedCopy(*this);
    if (m_isWeightPercent)
        ReplaceLoiAndTakeMoles(components, loiOxide, true);
    double sum = 0.0;
    for (const CFormulaComponent& component : components)
        sum += component.m_amount;
    if (components.empty() || !(sum > 0.0))
        return;
    for (CFormulaComponent& component : components)
        component.m_amountText = FormatFormulaAmount(component.m_amount * 100.0 / sum);
    m_components = std::move(components);
    if (FinishConversion(*this, SFormulaTextKind::MolePercent(), original) != 0)
        return;
    if (MissesOneHundred(*this) && m_components.size() >= 2)
        NormalizePercentages(0);
}

void CMaterial::ConvertToMolecular(int loiOxide)
{
    if (m_hasForcedMW)
        return;
    if (m_formulaWeight == 0.0) {
        SetFormula(std::string());
        return;
    }
    if (IsPercentFormula(*this) && !PercentSumIs100(*this))
        return;
    const std::string original = m_formula;
    // A forced % sum becomes a forced molecular weight in the same proportion.
    double factor = 1.0;
    if (m_isWeightPercent && m_hasForcedSum && m_parsedPercentSum > 0.0)
        factor = m_percentSum / m_parsedPercentSum;
    CFormulaComponentList components = ClassifiedCopy(*this);
    if (m_isWeightPercent)
        ReplaceLoiAndTakeMoles(components, loiOxide, false);
    std::vector<double> amounts;
    for (const CFormulaComponent& component : components)
        amounts.push_back(component.m_amount);
    FindIntegerRatio(g_prefs.decformulas, amounts, 10, true, true);
    for (std::size_t i = 0; i < components.size(); ++i)
        components[i].m_amountText = FormatFormulaAmount(amounts[i]);
    m_components = std::move(components);
    if (FinishConversion(*this, SFormulaTextKind::Molecular(), original) != 0 || factor == 1.0)
        return;
    std::string text;
    BuildFormulaText(text, false, false, true, FormatFormulaAmount(factor * m_formulaWeight), false, std::string());
    SetConvertedFormula(*this, text, original);
}

void CMaterial::BreakApartComponents()
{
    const std::string original = m_formula;
    CFormulaComponentList components = ClassifiedCopy(*this);
    CFormulaComponentList added;
    bool broken = false;
    for (CFormulaComponent& component : components) {
        if (component.m_kind != kComponentCompound || !BreakComponent(component, m_isWeightPercent, added))
            continue;
        component.m_amount = 0.0;
        component.m_amountText = "0";
        broken = true;
    }
    if (!broken)
        return;
    if (m_isMolePercent) {
        // The new components are moles of another unit: the percentages are taken again.
        double total = 0.0;
        for (const CFormulaComponentList* list : {&components, &added}) {
            for (const CFormulaComponent& component : *list)
                total += component.m_amount;
        }
        const double factor = total > 0.0 ? m_percentSum / total : 1.0;
        for (CFormulaComponentList* list : {&components, &added}) {
            for (CFormulaComponent& component : *list)
                component.m_amount *= factor;
        }
        for (CFormulaComponent& component : components)
            component.m_amountText = FormatFormulaAmount(component.m_amount);
    }
    for (CFormulaComponent& component : added) {
        component.m_amountText = FormatFormulaAmount(component.m_amount);
        components.push_back(std::move(component));
    }
    const SFormulaTextKind kind = OwnKind(*this);
    m_components = std::move(components);
    FinishConversion(*this, kind, original);
}

void CMaterial::OxidizeAndForceMolecularWeight()
{
    if (!m_isMolecular || m_hasForcedMW)
        return;
    const std::string mwText = FormatFormulaAmount(m_formulaWeight);
    if (!(ParseDouble(mwText) > 0.0))
        return;
    const std::string original = m_formula;
    const CElementRecord* table = GetElementTable();
    CFormulaComponentList components;
    for (int z = 1; z <= kLastElement; ++z) {
        if (table[z].role & kRoleVolatile)
            continue; // carried by the forced weight, with the oxygen balance
        const double moles = table[z].OxideMolesFromAtoms(m_atoms[static_cast<std::size_t>(z)] * m_formulaWeight);
        if (moles > 0.0)
            components.emplace_back(FormatFormulaAmount(moles), table[z].oxide);
    }
    m_components = std::move(components);
    FinishConversion(*this, SFormulaTextKind::MolecularForced(mwText), original);
}

void CMaterial::OxidizeAndForcePercentSum()
{
    if (!m_isWeightPercent || m_hasForcedSum)
        return;
    const std::string sumText = FormatFormulaAmount(m_percentSum);
    if (!(ParseDouble(sumText) > 0.0))
        return;
    const std::string original = m_formula;
    const CElementRecord* table = GetElementTable();
    CFormulaComponentList components;
    for (int z = 1; z <= kLastElement; ++z) {
        if (table[z].role & kRoleVolatile)
            continue;
        // Weight of the oxide per gram of material.
        const double weight =
            DivideByCationCount(m_atoms[static_cast<std::size_t>(z)] * table[z].oxideMW, table[z].ncat);
        if (weight > 0.0)
            components.emplace_back(FormatFormulaAmount(weight * 100.0), table[z].oxide);
    }
    m_components = std::move(components);
    FinishConversion(*this, SFormulaTextKind::WeightPercentForced(sumText), original);
}

void CMaterial::RemoveForcedMolecularWeight()
{
    if (m_hasForcedMW)
        RemoveForcedValue(*this, false);
}

void CMaterial::RemoveForcedPercentSum()
{
    if (m_hasForcedSum)
        RemoveForcedValue(*this, true);
}

void CMaterial::ConvertVolatilesToLoi()
{
    if (!m_isWeightPercent)
        return;
    const std::string original = m_formula;
    ClassifyComponents(*this);
    double loss = 0.0;
    for (CFormulaComponent& component : m_components) {
        const bool volatileElement = (component.m_kind == kComponentOxide || component.m_kind == kComponentElement) &&
                                     IsValidElementNumber(component.m_element) && IsVolatile(component.m_element);
        if (component.m_kind != kComponentLoi && !volatileElement)
            continue;
        loss += component.m_amount;
        component.m_amountText = "0";
    }
    if (loss > 0.0)
        m_components.emplace_back(FormatFormulaAmount(loss), "LOI");
    FinishConversion(*this, OwnKind(*this), original);
}
