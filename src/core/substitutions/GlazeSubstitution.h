#pragma once

// Substitutions applied to the glazes of a glaze database, and to the recipe of a glaze form.

#include <span>
#include <string>
#include <utility>
#include <vector>

class CGlaze;
class CGlazesDoc;
class CIngredientList;
class CSubstitution;

// Applies the substitution to a recipe's components and then to its additions (forward, or
// reversed when reverse is non-zero). A substitution states its amounts by weight: a recipe
// byVolume is substituted as weights and brought back to volumes (lines of one material merge as
// the substitution merges them). 1 when either list changed, 0, with both lists as they were,
// when the substitution did not apply (a recipe by volume needs no densities for that); -1, with both lists as they were, when byVolume and the
// substitution applies but a line before or after it has no density: each such material is then
// named once in noDensity (read it only after -1).
int ApplySubstitutionToRecipe(const CSubstitution& substitution, int reverse, bool byVolume,
                              CIngredientList& components, CIngredientList& additions,
                              std::vector<std::string>& noDensity);

// Why a recipe by volume was not substituted: "Density of <name> unknown" for each name of
// noDensity, then what the user can do. The glaze form shows it; the glaze list shows it under the
// name of each glaze it could not change.
std::string SubstitutionNoDensityMessage(const std::vector<std::string>& noDensity);

// Applies the substitution to glaze number index's recipe as ApplySubstitutionToRecipe does and
// marks the document modified when it applied. 1 when the substitution applied, 0 when it did not
// or there is no such glaze, -1 when the recipe is by volume and lines have no density: the recipe
// stays as it was, and the materials are named in noDensity when given.
int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse,
                      std::vector<std::string>* noDensity = nullptr);
// The same with substitution number substitutionIndex of the substitutions database; 0,
// changing nothing, when there is no such substitution.
int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse,
                      std::vector<std::string>* noDensity = nullptr);

// What a substitution does to glazes of a database, decided once before anything changes: the
// glazes whose recipes it changes are the ones whose forms are asked, that are changed, counted
// and announced; the others are left alone.
struct CSubstitutionPlan {
    std::vector<int> changes;
    // Glazes by volume it applies to but cannot change for want of densities, with the materials
    // that lack one.
    std::vector<std::pair<int, std::vector<std::string>>> refused;
};
CSubstitutionPlan PlanSubstitution(const CGlazesDoc& document, std::span<const int> rows,
                                   const CSubstitution& substitution, int reverse);
