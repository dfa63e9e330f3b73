#pragma once

// The recipe of one glaze as the recipe, cost and material-type charts see it: one line per
// recipe line with its percentage of the components (or its cost per kilogram of glaze), the
// same lines gathered by material type, and the colour each line or type is drawn in.
//
// The lists are built from the glaze's analysis, so a caller first checks that its weights are
// known (CGlazeAnalysis::amountsValid); lines keep the names the recipe gives them.

#include "glazes/IngredientList.h"
#include "graphs/GraphColorLists.h"

#include <string>
#include <string_view>

class CGlaze;
class CMaterial;

// What a recipe line carries.
enum class RecipeAmount {
    Percent, // 100 x the line's weight over the component total
    Cost,    // the line's cost per kilogram of glaze
};

// The components in recipe order, then the additions when the preferences count them in the
// chemistry (`anchadd`); nothing merged or dropped.
CIngredientList BuildRecipeList(const CGlaze& glaze, RecipeAmount amount);

// The material of a recipe line as the analysis finds it (name, code or "name (remark)"), or null.
const CMaterial* FindRecipeMaterial(std::string_view name);

// The material type of a recipe line: its material's type, "unknown" for a material that is
// missing or has no type.
std::string RecipeLineType(std::string_view name);

// The recipe list in percent gathered by material type: amounts of one type (ignoring case)
// added, empty types dropped, the types of the preferences' order (`mattyp`) first in that order,
// the others after them in recipe order.
CIngredientList BuildMaterialTypeList(const CGlaze& glaze);

// Moves the first line named after each type of the preferences' order, in that order, before
// the others, which keep their order.
void OrderByPreferredTypes(CIngredientList& types);

// The chart colour of a recipe line: that of its material's type; a line whose material is
// missing is grey (white in a monochrome chart), as is a type without a colour entry.
CChartColor RecipeLineColor(const CMaterialTypeColorList* colors, std::string_view name, bool mono);

// The chart colour of a material type by the colour rule; a type without an entry in colors
// (or no list) is grey, white in a monochrome chart.
CChartColor MaterialTypeColor(const CMaterialTypeColorList* colors, std::string_view type, bool mono);
