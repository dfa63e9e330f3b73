#include "glazes/GlazeAnalysis.h"

#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

#include <string_view>

namespace {

// Prices kept per pound are turned into prices per kilogram with this factor.
constexpr double kPoundsPerKilogram = 2.2046;

// Element numbers the ratios and the combined sodium-potassium slot read.
constexpr int kSodium = 11;
constexpr int kPotassium = 19;
constexpr int kAluminium = 13;
constexpr int kSilicon = 14;

// Element moles or oxide moles of one glaze, indexed by element number.
using ElementArray = std::array<double, kElementCount>;

// The four slot arrays of an analysis while they are computed; the analysis keeps them in compact
// form once they are complete.
struct SSlotScratch {
    using Slots = std::array<double, CGlazeAnalysis::kSlots>;
    Slots elementMoles{};
    Slots unity{};
    Slots weightFraction{};
    Slots moleFraction{};
};

bool IsVolatile(const CElementRecord& element)
{
    return (element.role & kRoleVolatile) != 0;
}

// The group whose totals an element joins: the first of alkali, neutral, acid, not expected and
// volatile that its role holds; -1 for none.
int TotalsGroupOf(std::int32_t role)
{
    if (role & kRoleAlkali) return kOxideGroupAlkali;
    if (role & kRoleNeutral) return kOxideGroupNeutral;
    if (role & kRoleAcid) return kOxideGroupAcid;
    if (role & kRoleNotExpected) return kOxideGroupUnexpected;
    if (role & kRoleVolatile) return kOxideGroupVolatile;
    return -1;
}

// The oxide list an element present in the unity formula goes to: alkali, neutral, acid,
// volatile or other (0 to 4).
int OxideListOf(std::int32_t role)
{
    if (role & kRoleAlkali) return 0;
    if (role & kRoleNeutral) return 1;
    if (role & kRoleAcid) return 2;
    if (role & kRoleVolatile) return 3;
    return 4;
}

// The position of an element's block in the element display order: role group (alkali,
// neutral, acid, volatile, not expected) times three plus priority; elements that fit no block
// come last. Within a block the display order is ascending z. Sorting the few oxides present
// by (key, z) gives their display order without building the order of all 104 elements.
int DisplayBlockOf(const CElementRecord& element)
{
    constexpr int kLastBlock = 15;
    if (element.priority < 1 || element.priority > 3)
        return kLastBlock;
    for (int group = 0; group < 5; ++group) {
        if (element.role & kRoleGroups[group])
            return group * 3 + element.priority - 1;
    }
    return kLastBlock;
}

CMaterialArray* MaterialDatabase()
{
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

// One recipe list into its items; returns the total of the item amounts.
double FillRecipeItems(const CIngredientList& lines, bool byVolume, CMaterialArray* database,
                       CGlazeAnalysis& analysis, CRecipeItemList& items)
{
    items.clear();
    items.reserve(lines.size());
    double total = 0.0;
    for (const auto& line : lines) {
        CRecipeItem item;
        item.amount = line ? line->m_amount : 0.0;
        const std::string_view name = line ? std::string_view(line->m_name) : std::string_view();
        const CMaterial* material = database ? database->FindMaterial(name) : nullptr;
        if (material) {
            item.material = material;
            if (material->m_available == 0)
                item.flags |= kItemNotAvailable;
            if (byVolume) {
                if (material->m_density <= 0.0) {
                    analysis.amountsValid = 0;
                    item.amount = 0.0;
                } else {
                    item.amount *= material->m_density;
                }
            }
            if (!material->m_anNotes.empty())
                analysis.hasMaterialAnnotations = 1;
            if (!material->m_hazNotes.empty()) {
                analysis.hasHazards = 1;
                item.flags |= kItemHasHazards;
            }
        } else {
            analysis.materialsFound = 0;
            item.flags |= kItemNotInDatabase;
            if (byVolume) {
                analysis.amountsValid = 0;
                item.amount = 0.0;
            }
        }
        items.push_back(item);
        total += item.amount;
    }
    return total;
}

// Fractions of the basis, amounts of the batch and the cost of every item.
void ScaleAndPriceItems(CRecipeItemList& items, double basis, double priceFactor, CGlazeAnalysis& analysis)
{
    for (CRecipeItem& item : items) {
        item.fraction = item.amount / basis;
        item.amount = item.fraction * analysis.batchSize;
        item.cost = item.material ? item.material->m_costPerLb * item.fraction * priceFactor : 0.0;
        analysis.costPerKg += item.cost;
    }
}

void AddElementMoles(const CRecipeItemList& items, double* accumulator)
{
    for (const CRecipeItem& item : items) {
        if (item.material)
            item.material->AddScaledAnalysis(accumulator, item.fraction);
    }
}

// Raw and fired weight, oxide moles per element and their total (oxygen forms no oxide of its
// own: what no cation takes stays in the raw weight). An element whose cation count is below 1
// forms no oxide.
void ComputeWeights(const CElementRecord* table, const ElementArray& moles, ElementArray& oxide,
                    CGlazeAnalysis& analysis)
{
    for (int z = 1; z < kElementCount; ++z) {
        // Most elements are absent: their records are not even read.
        if (moles[z] == 0.0)
            continue;
        const CElementRecord& element = table[z];
        analysis.rawWeight += moles[z] * element.weight;
        if (z == kOxygenZ || element.ncat < 1)
            continue;
        oxide[z] = moles[z] / element.ncat;
        if (!IsVolatile(element)) {
            analysis.firedWeight += oxide[z] * element.oxideMW;
            analysis.oxideMoles += oxide[z];
        }
    }
    if (analysis.rawWeight > 0.0)
        analysis.loiFraction = (analysis.rawWeight - analysis.firedWeight) / analysis.rawWeight;
}

// Weight and mole fractions on the non-volatile denominators, and their group totals. Without a
// fired weight there is nothing to divide by and every fraction stays 0.
void ComputeFractions(const CElementRecord* table, const ElementArray& oxide, CGlazeAnalysis& analysis,
                      SSlotScratch& slots)
{
    if (analysis.firedWeight <= 0.0)
        return;
    const bool hasMoles = analysis.oxideMoles > 0.0;
    for (int z = 1; z < kElementCount; ++z) {
        if (oxide[z] == 0.0)
            continue;
        const CElementRecord& element = table[z];
        const double weight = oxide[z] * element.oxideMW / analysis.firedWeight;
        const double mole = hasMoles ? oxide[z] / analysis.oxideMoles : 0.0;
        slots.weightFraction[z] = weight;
        slots.moleFraction[z] = mole;
        const int group = TotalsGroupOf(element.role);
        if (group >= 0) {
            analysis.groupWeight[group] += weight;
            analysis.groupMole[group] += mole;
        }
    }
}

// The unity formula: oxide moles over the alkali total, else the neutral total, else the acid
// total; with none of them the amounts stay in moles.
void ComputeUnity(const CElementRecord* table, ElementArray& oxide, CGlazeAnalysis& analysis, SSlotScratch& slots)
{
    std::array<double, kOxideGroupCount> sums{};
    for (int z = 1; z < kElementCount; ++z) {
        const int group = oxide[z] > 0.0 ? TotalsGroupOf(table[z].role) : -1;
        if (group >= 0)
            sums[group] += oxide[z];
    }
    double divisor = 0.0;
    for (int group : {kOxideGroupAlkali, kOxideGroupNeutral, kOxideGroupAcid}) {
        if (sums[group] > 0.0) {
            divisor = sums[group];
            break;
        }
    }
    if (divisor > 0.0) {
        for (double& amount : oxide)
            amount /= divisor;
        for (double& sum : sums)
            sum /= divisor;
    }
    analysis.groupUnity = sums;
    for (int z = 1; z < kElementCount; ++z)
        slots.unity[z] = oxide[z];
}

// The group lists of the oxides present, in display order, and the element annotation flag.
void BuildOxideLists(const CElementRecord* table, const SSlotScratch& slots, CGlazeAnalysis& analysis)
{
    std::array<int, kElementCount> present;
    std::array<int, kElementCount> keys;
    int count = 0;
    for (int z = 1; z < kElementCount; ++z) {
        if (!(slots.unity[z] > 0.0))
            continue;
        const int key = DisplayBlockOf(table[z]) * kElementCount + z;
        int i = count++;
        for (; i > 0 && keys[i - 1] > key; --i) {
            keys[i] = keys[i - 1];
            present[i] = present[i - 1];
        }
        keys[i] = key;
        present[i] = z;
    }
    // Each list is sized once: the volatiles may still get the "Other" row.
    std::array<int, 5> sizes{};
    COxideItemList* lists[5] = {&analysis.alkaliOxides, &analysis.neutralOxides, &analysis.acidOxides,
                                &analysis.volatileOxides, &analysis.otherOxides};
    for (int i = 0; i < count; ++i)
        ++sizes[static_cast<std::size_t>(OxideListOf(table[present[i]].role))];
    ++sizes[3];
    for (int list = 0; list < 5; ++list)
        lists[list]->reserve(static_cast<std::size_t>(sizes[static_cast<std::size_t>(list)]));
    for (int i = 0; i < count; ++i) {
        const int z = present[i];
        const CElementRecord& element = table[z];
        lists[OxideListOf(element.role)]->push_back(
            COxideItem{slots.unity[z], slots.weightFraction[z], slots.moleFraction[z], z});
        if (!element.annotations.empty())
            analysis.hasElementAnnotations = 1;
    }
}

// The loss that no volatile oxide accounts for, as the "Other" volatiles row. A residue smaller
// than the shown percentage decimals is 0; without a fired weight there is no row.
void AddOtherVolatiles(CGlazeAnalysis& analysis)
{
    if (analysis.firedWeight <= 0.0)
        return;
    double shown = 0.0;
    for (double weight : analysis.groupWeight)
        shown += weight;
    analysis.otherVolatiles =
        RoundToPowerOfTen(analysis.rawWeight / analysis.firedWeight - shown, -2 - g_prefs.decanalysispct);
    if (analysis.otherVolatiles != 0.0)
        analysis.volatileOxides.push_back(
            COxideItem{0.0, analysis.otherVolatiles, 0.0, CGlazeAnalysis::kOtherVolatilesElement});
}

double RatioOf(double numerator, double denominator)
{
    return numerator > 0.0 && denominator > 0.0 ? numerator / denominator : 0.0;
}

void ComputeRatiosAndTotalSlots(CGlazeAnalysis& analysis, SSlotScratch& scratch)
{
    const auto& groups = analysis.groupUnity;
    analysis.siAlRatio = RatioOf(scratch.unity[kSilicon], scratch.unity[kAluminium]);
    analysis.acidNeutralRatio = RatioOf(groups[kOxideGroupAcid], groups[kOxideGroupNeutral]);
    analysis.neutralAlkaliRatio = RatioOf(groups[kOxideGroupNeutral], groups[kOxideGroupAlkali]);

    for (auto* slots : {&scratch.elementMoles, &scratch.unity, &scratch.weightFraction, &scratch.moleFraction})
        (*slots)[0] = (*slots)[kSodium] + (*slots)[kPotassium];
    const std::pair<SSlotScratch::Slots*, const std::array<double, kOxideGroupCount>*> kinds[] = {
        {&scratch.unity, &analysis.groupUnity},
        {&scratch.weightFraction, &analysis.groupWeight},
        {&scratch.moleFraction, &analysis.groupMole},
    };
    for (const auto& [slots, groups] : kinds) {
        (*slots)[CGlazeAnalysis::kSlotLoi] = analysis.loiFraction;
        (*slots)[CGlazeAnalysis::kSlotAlkali] = (*groups)[kOxideGroupAlkali];
        (*slots)[CGlazeAnalysis::kSlotNeutral] = (*groups)[kOxideGroupNeutral];
        (*slots)[CGlazeAnalysis::kSlotAcid] = (*groups)[kOxideGroupAcid];
    }
}

// The chemistry of a valid recipe from the items' fractions.
void ComputeChemistry(const CElementRecord* table, CGlazeAnalysis& analysis)
{
    ElementArray moles{};
    AddElementMoles(analysis.componentItems, moles.data());
    if (g_prefs.anchadd)
        AddElementMoles(analysis.additionItems, moles.data());
    SSlotScratch slots;
    for (int z = 1; z < kElementCount; ++z)
        slots.elementMoles[z] = moles[z];

    ElementArray oxide{};
    ComputeWeights(table, moles, oxide, analysis);
    ComputeFractions(table, oxide, analysis, slots);
    ComputeUnity(table, oxide, analysis, slots);
    BuildOxideLists(table, slots, analysis);
    AddOtherVolatiles(analysis);
    ComputeRatiosAndTotalSlots(analysis, slots);
    analysis.elementMoles = CGlazeAnalysis::SlotArray(slots.elementMoles);
    analysis.unity = CGlazeAnalysis::SlotArray(slots.unity);
    analysis.weightFraction = CGlazeAnalysis::SlotArray(slots.weightFraction);
    analysis.moleFraction = CGlazeAnalysis::SlotArray(slots.moleFraction);
}

// The weighted factors of the non-volatile oxides, each scaled to the share of the fired weight
// whose factor is known (factors below -998 are unknown). The factors are per percent by weight.
struct SFactorSum {
    double sum = 0.0;
    double share = 0.0;
    double Scaled() const { return share > 0.0 ? sum * (100.0 / share) : sum; }
};

template <std::size_t N>
std::array<SFactorSum, N> SumKnownFactors(const CElementRecord* table, const CGlazeAnalysis& analysis,
                                          const std::array<double CElementRecord::*, N>& factors)
{
    std::array<SFactorSum, N> sums{};
    analysis.weightFraction.ForEach([&](int z, double weight) {
        if (z < 1 || z >= kElementCount || !(weight > 0.0))
            return;
        const CElementRecord& element = table[z];
        if (IsVolatile(element))
            return;
        for (std::size_t i = 0; i < N; ++i) {
            const double factor = element.*factors[i];
            if (factor < -998.0)
                continue;
            sums[i].sum += factor * weight;
            sums[i].share += weight;
        }
    });
    return sums;
}

} // namespace

void CGlaze::ComputeAnalysis(CGlazeAnalysis& analysis) const
{
    const CElementRecord* table = GetElementTable();
    analysis.materialsFound = 1;
    analysis.amountsValid = 1;
    analysis.hasMaterialAnnotations = 0;
    analysis.hasHazards = 0;

    CMaterialArray* database = MaterialDatabase();
    const bool byVolume = m_byVol != 0;
    const double componentTotal = FillRecipeItems(m_components, byVolume, database, analysis, analysis.componentItems);
    const double additionTotal = FillRecipeItems(m_additions, byVolume, database, analysis, analysis.additionItems);

    double basis = 0.0;
    if (componentTotal > 0.0)
        basis = componentTotal;
    else if (additionTotal > 0.0)
        basis = additionTotal;
    else
        analysis.materialsFound = analysis.amountsValid = 0;

    if (analysis.amountsValid) {
        analysis.batchSize = m_batchSize > 0.0 ? m_batchSize : basis;
        const bool perPound = database && database->m_costUnit == CMaterialArray::kCostPerPound;
        const double priceFactor = perPound ? kPoundsPerKilogram : 1.0;
        analysis.costPerKg = 0.0;
        ScaleAndPriceItems(analysis.componentItems, basis, priceFactor, analysis);
        ScaleAndPriceItems(analysis.additionItems, basis, priceFactor, analysis);
    }
    if (!analysis.IsValid())
        return;

    ComputeChemistry(table, analysis);
    EstimateExpansion(analysis);
    EstimateViscosityAndSurfaceTension(analysis);
}

void EstimateExpansion(CGlazeAnalysis& analysis)
{
    const CElementRecord* table = GetElementTable();
    analysis.hasUnusualExpansion = 0;
    analysis.unusualExpansionText.clear();
    const auto [expansion] = SumKnownFactors<1>(table, analysis, {&CElementRecord::expansion});
    analysis.expansion = expansion.Scaled();
    analysis.expansionShare = expansion.share;
    analysis.elementMoles.ForEach([&](int z, double moles) {
        if (z < 1 || z >= kElementCount || !(moles > 0.0))
            return;
        const CElementRecord& element = table[z];
        if (IsVolatile(element) || element.unusual == 0)
            return;
        if (analysis.hasUnusualExpansion)
            analysis.unusualExpansionText += "  ";
        analysis.hasUnusualExpansion = 1;
        analysis.unusualExpansionText += element.oxide;
    });
}

// Neither index depends on the temperature, so the sums are made once for both cones; only the
// surface tension's correction differs between them.
void CGlaze::EstimateViscosityAndSurfaceTension(CGlazeAnalysis& analysis) const
{
    analysis.viscosity = {};
    analysis.viscosityShare = 0.0;
    analysis.surfaceTension = {};
    analysis.surfaceTensionShare = 0.0;
    if (m_lowCone == 0)
        return;
    const auto [viscosity, tension] =
        SumKnownFactors<2>(GetElementTable(), analysis, {&CElementRecord::viscosity, &CElementRecord::stension});
    const int cones[2] = {m_lowCone, m_highCone};
    for (int i = 0; i < 2 && cones[i] != 0; ++i) {
        analysis.viscosity[i] = viscosity.Scaled();
        analysis.viscosityShare = viscosity.share;
        analysis.surfaceTension[i] = tension.Scaled() - (TemperatureFromCone(cones[i]) - 900) * 0.04;
        analysis.surfaceTensionShare = tension.share;
    }
}

int CGlaze::GetMissingMaterials(std::vector<const CIngredient*>& lines) const
{
    const CGlazeAnalysis& analysis = GetAnalysis();
    if (analysis.materialsFound)
        return 0;
    const std::pair<const CRecipeItemList*, const CIngredientList*> lists[] = {
        {&analysis.componentItems, &m_components},
        {&analysis.additionItems, &m_additions},
    };
    for (const auto& [items, recipe] : lists) {
        for (std::size_t i = 0; i < items->size() && i < recipe->size(); ++i) {
            if ((*items)[i].flags & kItemNotInDatabase)
                lines.push_back((*recipe)[i].get());
        }
    }
    return 1;
}

int CGlaze::GetUnavailableMaterials(std::vector<const CMaterial*>& materials) const
{
    const CGlazeAnalysis& analysis = GetAnalysis();
    int appended = 0;
    for (const CRecipeItemList* items : {&analysis.componentItems, &analysis.additionItems}) {
        for (const CRecipeItem& item : *items) {
            if ((item.flags & kItemNotAvailable) && item.material) {
                materials.push_back(item.material);
                appended = 1;
            }
        }
    }
    return appended;
}
