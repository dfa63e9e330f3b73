#include "substitutions/GlazeSubstitution.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "glazes/RecipeByVolume.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"

#include <algorithm>

namespace {

// Each name once, in the order first named: a line without a density before the substitution
// is often one without it after.
void DropRepeatedNames(std::vector<std::string>& names, std::size_t from)
{
    std::vector<std::string> once;
    for (std::size_t i = from; i < names.size(); ++i) {
        if (std::find(once.begin(), once.end(), names[i]) == once.end())
            once.push_back(names[i]);
    }
    names.resize(from);
    names.insert(names.end(), once.begin(), once.end());
}

// Applies the substitution to the glaze's recipe: 1, 0 or -1 (with names) as
// ApplySubstitutionToRecipe says.
int ApplyToRecipe(const CSubstitution& substitution, int reverse, CGlaze& glaze, std::vector<std::string>& names)
{
    return ApplySubstitutionToRecipe(substitution, reverse, glaze.m_byVol != 0, glaze.m_components, glaze.m_additions,
                                     names);
}

} // namespace

int ApplySubstitutionToRecipe(const CSubstitution& substitution, int reverse, bool byVolume,
                              CIngredientList& components, CIngredientList& additions,
                              std::vector<std::string>& noDensity)
{
    const std::size_t named = noDensity.size();
    CIngredientList weighedComponents = components;
    CIngredientList weighedAdditions = additions;
    // A line without a density keeps its volume: whether the substitution applies does not depend
    // on the unit, so a recipe it leaves alone needs no densities.
    if (byVolume)
        ConvertByDensity({&weighedComponents, &weighedAdditions}, true, noDensity);
    const int changedComponents = substitution.ApplyToRecipe(weighedComponents, reverse);
    const int changedAdditions = substitution.ApplyToRecipe(weighedAdditions, reverse);
    const bool changed = changedComponents != 0 || changedAdditions != 0;
    // A recipe the substitution does not apply to stays as it was, line for line: its volumes as
    // typed, and lines of one material or of 0 unmerged.
    if (!changed)
        return 0;
    // Back to volumes, naming the put-in materials without a density too, so that one message
    // names every density the substitution needs.
    if (byVolume)
        ConvertByDensity({&weighedComponents, &weighedAdditions}, false, noDensity);
    if (noDensity.size() != named) {
        DropRepeatedNames(noDensity, named);
        return -1;
    }
    components = std::move(weighedComponents);
    additions = std::move(weighedAdditions);
    return 1;
}

std::string SubstitutionNoDensityMessage(const std::vector<std::string>& noDensity)
{
    return NoDensityMessage(noDensity, "The recipe is by volume, and the substitution is by weight: every line needs "
                                       "a density.");
}

int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse,
                      std::vector<std::string>* noDensity)
{
    CGlaze* glaze = document.GetGlaze(index);
    if (!glaze)
        return 0;
    std::vector<std::string> names;
    const int result = ApplyToRecipe(substitution, reverse, *glaze, names);
    if (result < 0 && noDensity)
        *noDensity = std::move(names);
    // A glaze the substitution leaves as it was leaves the database unmodified.
    if (result > 0) {
        glaze->InvalidateAnalysis();
        document.SetModifiedFlag();
    }
    return result;
}

CSubstitutionPlan PlanSubstitution(const CGlazesDoc& document, std::span<const int> rows,
                                   const CSubstitution& substitution, int reverse)
{
    CSubstitutionPlan plan;
    for (const int row : rows) {
        const CGlaze* glaze = document.GetGlaze(row);
        if (!glaze)
            continue;
        CGlaze copy = *glaze;
        std::vector<std::string> names;
        const int result = ApplyToRecipe(substitution, reverse, copy, names);
        if (result > 0)
            plan.changes.push_back(row);
        else if (result < 0)
            plan.refused.emplace_back(row, std::move(names));
    }
    return plan;
}

int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse,
                      std::vector<std::string>* noDensity)
{
    const CSubstitution* substitution =
        g_pSubstitutionsDoc ? g_pSubstitutionsDoc->Substitutions().GetAt(substitutionIndex) : nullptr;
    return substitution ? ApplySubstitution(document, index, *substitution, reverse, noDensity) : 0;
}
