#include "tools/LoadOptimizationParams.h"

#include "framework/MessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormula.h"
#include "limits/LimitFormulaDB.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "glazes/OptimizationParams.h"

#include <vector>

namespace {


// A constraint value with the Remainders decimals, trailing zeros stripped to their minimum.
std::string RemainderText(double value)
{
    std::string text = FormatFixed(value, g_prefs.decremainders);
    StripTrailingZeros(text, g_prefs.tzsremainders);
    return text;
}

void AddOxideItems(const COxideItemList& items, int option, COxideConstraintArray& constraints)
{
    for (const COxideItem& item : items) {
        // The "Other" row of the volatiles is weight no oxide accounts for, not an oxide.
        if (item.element < 1 || item.element >= kElementCount ||
            item.element == CGlazeAnalysis::kOtherVolatilesElement)
            continue;
        const double value = option == kLoadGlazeUnity    ? item.unity
                             : option == kLoadGlazeWeight ? item.weightFraction * 100.0
                                                          : item.moleFraction * 100.0;
        constraints.Add(COxideConstraint(item.element, '=', RemainderText(value), std::string()));
    }
}

void LoadAnalysis(const CGlazeAnalysis& analysis, const CLoadOptParamsChoice& choice, COptimizationParams& params)
{
    const int option = choice.glazeOption;
    params.m_oxideConstraints.RemoveAll();
    params.m_oxideUnit = option - 1;
    for (const COxideItemList* list : {&analysis.alkaliOxides, &analysis.neutralOxides, &analysis.acidOxides,
                                       &analysis.otherOxides})
        AddOxideItems(*list, option, params.m_oxideConstraints);
    if (option == kLoadGlazeWeight && choice.includeVolatiles)
        AddOxideItems(analysis.volatileOxides, option, params.m_oxideConstraints);
}

// One '=' constraint per material of the components, as its share of them. Lines of the same
// material are added up: two '=' constraints on one material could never both hold.
void LoadRecipe(const CGlaze& glaze, const CGlazeAnalysis& analysis, COptimizationParams& params)
{
    struct SShare {
        const CMaterial* material;
        std::string name;
        double percent;
    };
    std::vector<SShare> shares;
    const std::size_t count = std::min(analysis.componentItems.size(), glaze.m_components.size());
    for (std::size_t i = 0; i < count; ++i) {
        const CRecipeItem& item = analysis.componentItems[i];
        const std::string name = item.material ? item.material->m_name : glaze.m_components.GetAt(static_cast<int>(i)).m_name;
        SShare* same = nullptr;
        for (SShare& share : shares) {
            if (item.material ? share.material == item.material
                              : !share.material && CompareNoCase(share.name, name) == 0)
                same = &share;
        }
        if (same)
            same->percent += item.fraction * 100.0;
        else
            shares.push_back({item.material, name, item.fraction * 100.0});
    }
    params.m_materialConstraints.RemoveAll();
    for (const SShare& share : shares)
        params.m_materialConstraints.Add(CMaterialConstraint(share.name, '=', RemainderText(share.percent), std::string()));
    params.m_materialUnit = kMaterialUnitPercent;
}

// The oxide constraint a combination stands for: an element 1..103, LOI or KNaO; 0 for none.
int ConstraintOxideOf(const COxideCombination* combination)
{
    if (!combination)
        return 0;
    if (combination->GetKind() == COxideCombination::kSingle) {
        const int item = combination->GetFirstItem();
        if (item >= 1 && item < kElementCount)
            return item;
        return item == COxideCombination::kItemLoi ? kConstraintLOI : 0;
    }
    if (!combination->IsSodiumPlusPotassium())
        return 0;
    // "Na+K+LOI" is no bound on the alkalis alone.
    for (int item = COxideCombination::kItemLoi; item <= COxideCombination::kLastItem; ++item) {
        if (COxideCombination::HasItem(combination->GetSetA(), item))
            return 0;
    }
    return kConstraintKNaO;
}

} // namespace

CLoadOptGlazeOptions GetLoadOptGlazeOptions(const CGlaze* glaze, int option)
{
    CLoadOptGlazeOptions options;
    if (!glaze)
        return options;
    options.option = option;
    options.parametersEnabled = glaze->FindOptimizationParams() != nullptr;
    if (!options.parametersEnabled && options.option == kLoadGlazeParameters)
        options.option = kLoadGlazeUnity;
    if (glaze->GetAnalysis().IsValid()) {
        options.analysisEnabled = options.recipeEnabled = true;
        options.includeVolatilesEnabled = options.option == kLoadGlazeWeight;
    } else {
        options.option = kLoadGlazeParameters;
    }
    return options;
}

void LoadOptimizationParamsFromGlaze(const CGlaze& glaze, const CLoadOptParamsChoice& choice,
                                     COptimizationParams& params)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (choice.glazeOption == kLoadGlazeParameters) {
        if (const COptimizationParams* own = glaze.FindOptimizationParams())
            params = *own;
    } else if (choice.glazeOption >= kLoadGlazeUnity && choice.glazeOption <= kLoadGlazeMolecular &&
               analysis.IsValid()) {
        LoadAnalysis(analysis, choice, params);
    }
    if (choice.recipeAsMaterials && analysis.IsValid())
        LoadRecipe(glaze, analysis, params);
}

int LoadOptimizationParamsFromLimitFormula(const CLimitFormula& formula, COptimizationParams& params)
{
    const CLimitArray& limits = formula.m_limits;
    const bool byPercent = limits.GetCount() > 0 && limits.GetAt(0).m_byPercent != 0;
    params.m_oxideConstraints.RemoveAll();
    params.m_oxideUnit = byPercent ? kOxideUnitWeightPercent : kOxideUnitUnity;
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    int skipped = 0;
    for (int i = 0; i < limits.GetCount(); ++i) {
        const CLimit& limit = limits.GetAt(i);
        const int oxide = (limit.m_byPercent != 0) != byPercent || !database
                              ? 0
                              : ConstraintOxideOf(database->m_combinations.FindByName(limit.m_comboName));
        if (oxide == 0 || (!limit.HasMinimum() && !limit.HasMaximum())) {
            ++skipped;
            continue;
        }
        if (limit.HasMinimum())
            params.m_oxideConstraints.Add(COxideConstraint(oxide, '>', RemainderText(limit.GetMinimum()),
                                                           limit.HasMaximum() ? RemainderText(limit.GetMaximum()) : ""));
        else
            params.m_oxideConstraints.Add(COxideConstraint(oxide, '<', RemainderText(limit.GetMaximum()), ""));
    }
    return skipped;
}

void LoadOptimizationParams(const CLoadOptParamsChoice& choice, const CGlaze* glaze, const CLimitFormula* formula,
                            COptimizationParams& params, unsigned helpId)
{
    if (choice.source != kLoadFromLimitFormula) {
        if (glaze)
            LoadOptimizationParamsFromGlaze(*glaze, choice, params);
        return;
    }
    if (formula && LoadOptimizationParamsFromLimitFormula(*formula, params) > 0)
        AppMessageBox(kSomeLimitsNotImported, MsgOk | MsgIconInformation, helpId);
}
