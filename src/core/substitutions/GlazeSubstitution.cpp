#include "substitutions/GlazeSubstitution.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"

int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse)
{
    CGlaze* glaze = document.GetGlaze(index);
    if (!glaze)
        return 0;
    const int components = substitution.ApplyToRecipe(glaze->m_components, reverse);
    const int additions = substitution.ApplyToRecipe(glaze->m_additions, reverse);
    glaze->InvalidateAnalysis();
    document.SetModifiedFlag();
    return components != 0 || additions != 0 ? 1 : 0;
}

int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse)
{
    const CSubstitution* substitution =
        g_pSubstitutionsDoc ? g_pSubstitutionsDoc->Substitutions().GetAt(substitutionIndex) : nullptr;
    return substitution ? ApplySubstitution(document, index, *substitution, reverse) : 0;
}
