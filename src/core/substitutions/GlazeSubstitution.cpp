#include "substitutions/GlazeSubstitution.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "glazes/RecipeByVolume.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"

int ApplySubstitutionToRecipe(const CSubstitution& substitution, int reverse, bool byVolume,
                              CIngredientList& components, CIngredientList& additions,
                              std::vector<std::string>& noDensity)
{
    CIngredientList weighedComponents = components;
    CIngredientList weighedAdditions = additions;
    if (byVolume && !ConvertByDensity({&weighedComponents, &weighedAdditions}, true, noDensity))
        return -1;
    const int changedComponents = substitution.ApplyToRecipe(weighedComponents, reverse);
    const int changedAdditions = substitution.ApplyToRecipe(weighedAdditions, reverse);
    if (!byVolume || changedComponents != 0 || changedAdditions != 0) {
        if (byVolume && !ConvertByDensity({&weighedComponents, &weighedAdditions}, false, noDensity))
            return -1;
        components = std::move(weighedComponents);
        additions = std::move(weighedAdditions);
    } else {
        // Nothing substituted: the volumes stay as typed rather than come back through two
        // conversions.
        components.MergeDuplicates();
        additions.MergeDuplicates();
    }
    return changedComponents != 0 || changedAdditions != 0 ? 1 : 0;
}

int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse)
{
    CGlaze* glaze = document.GetGlaze(index);
    if (!glaze)
        return 0;
    std::vector<std::string> noDensity;
    const int changed = ApplySubstitutionToRecipe(substitution, reverse, glaze->m_byVol != 0, glaze->m_components,
                                                  glaze->m_additions, noDensity);
    if (changed < 0)
        return 0;
    glaze->InvalidateAnalysis();
    document.SetModifiedFlag();
    return changed;
}

int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse)
{
    const CSubstitution* substitution =
        g_pSubstitutionsDoc ? g_pSubstitutionsDoc->Substitutions().GetAt(substitutionIndex) : nullptr;
    return substitution ? ApplySubstitution(document, index, *substitution, reverse) : 0;
}
