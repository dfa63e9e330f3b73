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

bool SameLines(const CIngredientList& a, const CIngredientList& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x->m_name == y->m_name && x->m_amount == y->m_amount;
    });
}

// Applies the substitution to the glaze's recipe: 1, 0 or -1 (with names) as
// ApplySubstitutionToRecipe says, and in changed whether the lists differ afterwards (a
// substitution that does not apply still merges duplicate lines).
int ApplyToRecipe(const CSubstitution& substitution, int reverse, CGlaze& glaze, std::vector<std::string>& names,
                  bool& changed)
{
    const CIngredientList components = glaze.m_components;
    const CIngredientList additions = glaze.m_additions;
    const int result = ApplySubstitutionToRecipe(substitution, reverse, glaze.m_byVol != 0, glaze.m_components,
                                                 glaze.m_additions, names);
    changed = result > 0 || !SameLines(components, glaze.m_components) || !SameLines(additions, glaze.m_additions);
    return result;
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
    if (!changed) {
        // The volumes stay as typed rather than come back through two conversions.
        components.MergeDuplicates();
        additions.MergeDuplicates();
        return 0;
    }
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
    bool changed = false;
    const int result = ApplyToRecipe(substitution, reverse, *glaze, names, changed);
    if (result < 0) {
        if (noDensity)
            *noDensity = std::move(names);
        return -1;
    }
    // A glaze the substitution leaves as it was leaves the database unmodified.
    if (changed) {
        glaze->InvalidateAnalysis();
        document.SetModifiedFlag();
    }
    return result;
}

bool SubstitutionChangesGlaze(const CGlaze& glaze, const CSubstitution& substitution, int reverse)
{
    CGlaze copy = glaze;
    std::vector<std::string> names;
    bool changed = false;
    ApplyToRecipe(substitution, reverse, copy, names, changed);
    return changed;
}

int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse,
                      std::vector<std::string>* noDensity)
{
    const CSubstitution* substitution =
        g_pSubstitutionsDoc ? g_pSubstitutionsDoc->Substitutions().GetAt(substitutionIndex) : nullptr;
    return substitution ? ApplySubstitution(document, index, *substitution, reverse, noDensity) : 0;
}
