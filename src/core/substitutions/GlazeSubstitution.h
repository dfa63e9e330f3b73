#pragma once

// Substitutions applied to the glazes of a glaze database, and to the recipe of a glaze form.

#include <string>
#include <vector>

class CGlazesDoc;
class CIngredientList;
class CSubstitution;

// Applies the substitution to a recipe's components and then to its additions (forward, or
// reversed when reverse is non-zero). A substitution states its amounts by weight: a recipe
// byVolume is substituted as weights and brought back to volumes. 1 when either list changed,
// 0 when the substitution did not apply (duplicate lines are merged all the same); -1, with both
// lists as they were, when byVolume and a line before or after has no density (named in
// noDensity).
int ApplySubstitutionToRecipe(const CSubstitution& substitution, int reverse, bool byVolume,
                              CIngredientList& components, CIngredientList& additions,
                              std::vector<std::string>& noDensity);

// Applies the substitution to glaze number index's recipe as ApplySubstitutionToRecipe does and
// marks the document modified. 1 when the recipe changed, else 0; an index out of range, or a
// recipe by volume with a line without a density, changes nothing and gives 0.
int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse);
// The same with substitution number substitutionIndex of the substitutions database; 0,
// changing nothing, when there is no such substitution.
int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse);
