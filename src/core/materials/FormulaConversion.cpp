// The conversion dispatcher, the shared steps, the oxygen allocation and the unity conversions.

#include "materials/FormulaConversion.h"

#include "elements/ElementTable.h"
#include "framework/DocRegistry.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/FormulaConversionSteps.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kLastElement = kElementCount - 1;
constexpr int kMainRoles = kRoleAlkali | kRoleNeutral | kRoleAcid;
// Oxygen left below this (in either direction) counts as used up.
constexpr double kOxygenTolerance = 5e-10;

// The formula decimals of the preferences, replaced for the length of one conversion.
class CFormulaDecimalsScope {
public:
    CFormulaDecimalsScope(int decimals, int trailingZeros)
        : m_decimals(g_prefs.decformulas), m_trailingZeros(g_prefs.tzsformulas)
    {
        if (decimals >= 0) {
            g_prefs.decformulas = decimals;
            g_prefs.tzsformulas = trailingZeros;
        }
    }
    ~CFormulaDecimalsScope()
    {
        g_prefs.decformulas = m_decimals;
        g_prefs.tzsformulas = m_trailingZeros;
    }
    CFormulaDecimalsScope(const CFormulaDecimalsScope&) = delete;
    CFormulaDecimalsScope& operator=(const CFormulaDecimalsScope&) = delete;

private:
    int m_decimals;
    int m_trailingZeros;
};

void ReportInternalError(const char* text)
{
    AppMessageBox(text, MsgOk | MsgIconError, kFormulaConversionErrorHelpId);
}

// Sums of the oxide moles by role group (alkali, neutral, acid), each element in the first group
// its flags hold.
struct SGroupSums {
    double alkali = 0.0;
    double neutral = 0.0;
    double acid = 0.0;
};

SGroupSums SumGroups(const OxideVector& oxides)
{
    const CElementRecord* table = GetElementTable();
    SGroupSums sums;
    for (int z = 1; z <= kLastElement; ++z) {
        const double amount = oxides[static_cast<std::size_t>(z)];
        if (!(amount > 0.0))
            continue;
        if (table[z].role & kRoleAlkali)
            sums.alkali += amount;
        else if (table[z].role & kRoleNeutral)
            sums.neutral += amount;
        else if (table[z].role & kRoleAcid)
            sums.acid += amount;
    }
    return sums;
}

// The value that becomes one in a unity formula; 0 when the formula holds nothing at all.
double UnityDivisor(int target, const OxideVector& oxides, const OxideVector& atoms)
{
    const SGroupSums sums = SumGroups(oxides);
    if (target == kUnityOnAlkalis && sums.alkali > 0.0)
        return sums.alkali;
    if (target == kUnityOnNeutrals && sums.neutral > 0.0)
        return sums.neutral;
    if (target == kUnityOnAcids && sums.acid > 0.0)
        return sums.acid;
    if (target >= 1 && target <= kLastElement) {
        const auto z = static_cast<std::size_t>(target);
        if (oxides[z] > 0.0)
            return oxides[z];
        if (atoms[z] > 0.0)
            return atoms[z];
    }
    for (double sum : {sums.alkali, sums.neutral, sums.acid}) {
        if (sum > 0.0)
            return sum;
    }
    for (const OxideVector* vector : {&oxides, &atoms}) {
        for (int z = 1; z <= kLastElement; ++z) {
            if ((*vector)[static_cast<std::size_t>(z)] > 0.0)
                return (*vector)[static_cast<std::size_t>(z)];
        }
    }
    return 0.0;
}

// Step 2 of the unity conversion: a % formula becomes the molecular formula of the same
// material. False when the new text did not parse (the original is back then).
bool PercentToMolecularText(CMaterial& material, int loiOxide, const std::string& original)
{
    if (material.m_isWeightPercent) {
        ClassifyComponents(material);
        ReplaceLoiAndTakeMoles(material.m_components, loiOxide, false);
        for (CFormulaComponent& component : material.m_components) {
            if (component.m_weight > 0.0) {
                // Three more decimals than the formulas show: these moles are only a step.
                component.m_amountText = FormatFixed(component.m_amount, g_prefs.decformulas + 3);
                TrimBufferRight(component.m_amountText);
            } else {
                component.m_amountText = "0";
            }
        }
    } else if (!material.m_isMolePercent) {
        return true;
    }
    std::string text;
    material.BuildFormulaText(text, false, false, false, std::string(), false, std::string());
    return SetConvertedFormula(material, text, original) == 0;
}

} // namespace

// --- shared steps -------------------------------------------------------------------------------

bool PercentSumIs100(const CMaterial& material)
{
    return RoundToPowerOfTen(material.m_percentSum, 0) == 100.0;
}

void ClassifyComponents(CMaterial& material)
{
    for (CFormulaComponent& component : material.m_components)
        component.Classify();
}

void ReplaceLoiAndTakeMoles(CFormulaComponentList& components, int loiOxide, bool zeroText)
{
    // An LOI oxide outside the table would leave "LOI" in a molecular formula, which does not
    // parse; oxygen keeps the loss as it was.
    if (loiOxide < 1 || loiOxide > kLastElement)
        loiOxide = kOxygenZ;
    const CElementRecord& oxide = GetElementTable()[loiOxide];
    for (CFormulaComponent& component : components) {
        if (component.m_kind == kComponentLoi) {
            component.m_text = oxide.oxide;
            component.m_weight = oxide.oxideMW;
            component.m_element = loiOxide;
            component.m_kind = kComponentOxide;
        }
        if (component.m_weight > 0.0) {
            component.m_amount /= component.m_weight;
        } else {
            component.m_amount = 0.0;
            if (zeroText)
                component.m_amountText = "0";
        }
    }
}

int SetConvertedFormula(CMaterial& material, const std::string& text, const std::string& original)
{
    if (material.SetFormula(text) == 0)
        return 0;
    material.SetFormula(original);
    return -1;
}

int FinishConversion(CMaterial& material, const SFormulaTextKind& kind, const std::string& original)
{
    material.MergeDuplicateComponents();
    material.OrderComponents();
    if (kind.IsMolecular()) {
        for (CFormulaComponent& component : material.m_components) {
            if (component.m_amountText == "1")
                component.m_amountText.clear();
        }
    }
    std::string text;
    material.BuildFormulaText(text, kind.weightPercent, kind.molePercent, kind.forcedMW, kind.mwText,
                              kind.forcedSum, kind.sumText);
    return SetConvertedFormula(material, text, original);
}

// --- oxygen allocation and unity ------------------------------------------------------------------

void AllocateOxygenToOxides(double* atoms, double* oxides)
{
    const CElementRecord* table = GetElementTable();
    std::fill(oxides, oxides + kElementCount, 0.0);
    double oxygen = atoms[kOxygenZ];
    atoms[kOxygenZ] = 0.0;
    for (bool mainPass : {true, false}) {
        for (int z = 1; z <= kLastElement; ++z) {
            if (z == kOxygenZ || !(atoms[z] > 0.0) || ((table[z].role & kMainRoles) != 0) != mainPass)
                continue;
            const double cations = table[z].ncat;
            const double anions = table[z].nan;
            if (cations <= 0.0)
                continue; // no oxide to form: the element stays bare
            const double need = anions * atoms[z] / cations;
            if (oxygen - need > -kOxygenTolerance) {
                oxides[z] = atoms[z] / cations;
                atoms[z] = 0.0;
                oxygen -= need;
            } else if (oxygen > kOxygenTolerance && anions > 0.0) {
                const double oxidised = cations * oxygen / anions;
                oxides[z] = oxidised / cations;
                atoms[z] -= oxidised;
                oxygen = 0.0;
            }
        }
    }
    if (oxygen > 0.0)
        oxides[kOxygenZ] = DivideByCationCount(oxygen, table[kOxygenZ].ncat);
}

void ConvertFormulaToUnity(CMaterial& material, int target, int loiOxide)
{
    if (material.m_hasForcedMW || material.m_hasForcedSum)
        return;
    if (IsPercentFormula(material) && !PercentSumIs100(material))
        return;
    const std::string original = material.m_formula;
    if (!PercentToMolecularText(material, loiOxide, original))
        return;
    if (material.m_formulaWeight == 0.0)
        return;

    OxideVector atoms;
    material.m_atoms.CopyTo(atoms.data(), kElementCount);
    OxideVector oxides;
    AllocateOxygenToOxides(atoms.data(), oxides.data());
    const double divisor = UnityDivisor(target, oxides, atoms);
    if (!(divisor > 0.0)) {
        ReportInternalError("Internal error (ConvertFormulaToUnity)");
        return;
    }
    if (divisor != 1.0) {
        for (int z = 0; z < kElementCount; ++z) {
            oxides[static_cast<std::size_t>(z)] /= divisor;
            atoms[static_cast<std::size_t>(z)] /= divisor;
        }
    }

    const CElementRecord* table = GetElementTable();
    material.m_components.clear();
    for (int z = 1; z <= kLastElement; ++z) {
        const auto slot = static_cast<std::size_t>(z);
        if (oxides[slot] > 0.0)
            material.m_components.emplace_back(FormatFormulaAmount(oxides[slot]), table[z].oxide);
        if (atoms[slot] > 0.0)
            material.m_components.emplace_back(FormatFormulaAmount(atoms[slot]), table[z].symbol);
    }
    FinishConversion(material, SFormulaTextKind::Molecular(), original);
}

void ConvertFormulaToUnityOnComponent(CMaterial& material, int index, int loiOxide)
{
    if (material.m_hasForcedMW || material.m_hasForcedSum)
        return;
    if (index < 0 || index >= static_cast<int>(material.m_components.size())) {
        ReportInternalError("Internal error (ConvertFormulaToUnityOnComponent)");
        return;
    }
    if (material.m_formulaWeight == 0.0 || (IsPercentFormula(material) && !PercentSumIs100(material)))
        return;

    const std::string original = material.m_formula;
    ClassifyComponents(material);
    if (material.m_isWeightPercent)
        ReplaceLoiAndTakeMoles(material.m_components, loiOxide, true);
    const double amount = material.m_components[static_cast<std::size_t>(index)].m_amount;
    const double divisor = amount > 0.0 ? amount : 1.0;
    for (CFormulaComponent& component : material.m_components)
        component.m_amountText = FormatFormulaAmount(component.m_amount / divisor);
    FinishConversion(material, SFormulaTextKind::Molecular(), original);
}

// --- the dispatcher -------------------------------------------------------------------------------

void CMaterial::ConvertFormula(int mode, int target, int decimals, int trailingZeros, int loiOxide)
{
    // A formula that does not parse has no components to convert: its text stays for the user.
    if (HasUnreadableFormula())
        return;
    const CFormulaDecimalsScope scope(decimals, trailingZeros);
    switch (mode) {
    case kConvertReformatNumbers: {
        const std::string original = m_formula;
        ReformatAmounts(true, 0, 0);
        if (RebuildFormula() != 0)
            SetFormula(original);
        break;
    }
    case kConvertToWeightPercent: ConvertToWeightPercent(); break;
    case kConvertToMolecularPercent: ConvertToMolecularPercent(loiOxide); break;
    case kConvertToMolecular: ConvertToMolecular(loiOxide); break;
    case kConvertToUnity:
        if (target >= kUnityOnComponentBase)
            ConvertFormulaToUnityOnComponent(*this, target - kUnityOnComponentBase, loiOxide);
        else
            ConvertFormulaToUnity(*this, target, loiOxide);
        break;
    case kConvertBreakApart: BreakApartComponents(); break;
    case kConvertOxidizeAndForce:
        if (m_isMolecular)
            OxidizeAndForceMolecularWeight();
        else if (m_isWeightPercent)
            OxidizeAndForcePercentSum();
        break;
    case kConvertRemoveForcedValue:
        if (m_hasForcedMW)
            RemoveForcedMolecularWeight();
        else if (m_hasForcedSum)
            RemoveForcedPercentSum();
        break;
    case kConvertVolatilesToLoi: ConvertVolatilesToLoi(); break;
    default: break;
    }
}

// --- the materials list's bulk commands -----------------------------------------------------------

std::vector<int> RowsConvertedBy(const CMaterialsDoc& document, std::span<const int> rows,
                                 const std::function<void(CMaterial&)>& operation)
{
    std::vector<int> converted;
    for (int row : rows) {
        const CMaterial* material = document.Materials().GetAt(row);
        if (!material || !material->m_mapTo.empty())
            continue;
        CMaterial copy = *material;
        operation(copy);
        if (copy.m_formula != material->m_formula)
            converted.push_back(row);
    }
    return converted;
}

int ConvertSelectedFormulas(CMaterialsDoc& document, std::span<const int> rows,
                            const std::function<void(CMaterial&)>& operation, CView* sender)
{
    CMaterialArray& materials = document.Materials();
    int changed = 0;
    for (int row : rows) {
        CMaterial* material = materials.GetAt(row);
        if (!material || !material->m_mapTo.empty())
            continue; // a mapped material takes its formula from the end of its chain
        const std::string before = material->m_formula;
        operation(*material);
        if (material->m_formula != before)
            ++changed;
    }
    if (changed == 0)
        return 0;
    // A formula is a look-up key of the collection.
    materials.InvalidateIndex();
    document.SetModifiedFlag();
    // The materials mapped to a converted one follow it, and their forms hear of it: the notice
    // of several leaves open the forms on the records it did not change.
    document.UpdateMappedMaterials(false, true);
    if (rows.size() == 1) {
        BroadcastUpdate(sender, &document, static_cast<int>(DbFileType::Materials),
                                       HintMaterialChanged, rows[0], HintExtra(materials.GetAt(rows[0])));
    } else {
        BroadcastUpdate(sender, &document, static_cast<int>(DbFileType::Materials),
                                       HintMaterialsReplaced, 0, 0);
    }
    return changed;
}
