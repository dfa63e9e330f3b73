// Applying a substitution to one recipe list.
//
// A from-line (a line of the set taken out) finds its recipe line by material: both names are
// looked up in the materials database, so a material's name, its code and "name (code)" all
// match one another. A recipe material the database does not know matches only a from-line the
// database does not know either, by the recipe line's name part against the from-line's whole
// name, ignoring case.

#include "substitutions/Substitution.h"

#include "materials/MaterialsDoc.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

// Lines left below this after taking out are dropped.
constexpr double kSmallestAmount = 0.001;

const CMaterial* Lookup(CMaterialArray* materials, const std::string& name)
{
    return materials ? materials->FindMaterial(std::string_view(name)) : nullptr;
}

class CRecipeMatcher {
public:
    CRecipeMatcher(const CIngredientList& recipe, CMaterialArray* materials)
        : m_recipe(recipe), m_materials(materials)
    {
        for (const auto& line : recipe)
            m_recipeMaterials.push_back(Lookup(materials, line->m_name));
    }

    // The first recipe line that matches the from-line's material, or -1.
    int FindRecipeLine(const std::string& fromName) const
    {
        const CMaterial* fromMaterial = Lookup(m_materials, fromName);
        for (int r = 0; r < m_recipe.GetCount(); ++r) {
            const CMaterial* recipeMaterial = m_recipeMaterials[static_cast<std::size_t>(r)];
            if (recipeMaterial ? recipeMaterial == fromMaterial
                               : !fromMaterial && EqualsNoCase(GetNamePart(m_recipe.GetAt(r).m_name), fromName))
                return r;
        }
        return -1;
    }

private:
    const CIngredientList& m_recipe;
    CMaterialArray* m_materials;
    std::vector<const CMaterial*> m_recipeMaterials;
};

// The from-lines that take part: those with an amount above 0, with their recipe lines.
struct CTakenLine {
    double amount;
    int recipeLine; // -1 when the recipe lacks the material
};

// Each recipe line is taken by one set line only: set lines that name one material (its name
// and its code, say) find the same recipe line and count as one line of their summed amount.
std::vector<CTakenLine> MatchFromSet(const CIngredientList& from, const CRecipeMatcher& matcher)
{
    std::vector<CTakenLine> taken;
    for (const auto& line : from) {
        if (!line || !(line->m_amount > 0.0))
            continue;
        const int recipeLine = matcher.FindRecipeLine(line->m_name);
        const auto same = std::find_if(taken.begin(), taken.end(), [recipeLine](const CTakenLine& earlier) {
            return recipeLine >= 0 && earlier.recipeLine == recipeLine;
        });
        if (same != taken.end())
            same->amount += line->m_amount;
        else
            taken.push_back({line->m_amount, recipeLine});
    }
    return taken;
}

} // namespace

int CSubstitution::ApplyToRecipe(CIngredientList& recipe, int reverse) const
{
    return ApplyToRecipe(recipe, reverse, g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr);
}

int CSubstitution::ApplyToRecipe(CIngredientList& recipe, int reverse, CMaterialArray* materials) const
{
    recipe.MergeDuplicates();
    const CIngredientList& from = reverse ? m_set2 : m_set1;
    const CIngredientList& to = reverse ? m_set1 : m_set2;
    if (recipe.empty() || from.empty())
        return 0;

    // The factor is the largest multiple of the from-set that the recipe holds; the first
    // from-material found anchors the put-in lines.
    const std::vector<CTakenLine> taken = MatchFromSet(from, CRecipeMatcher(recipe, materials));
    double factor = 0.0;
    bool factorSet = false;
    int anchor = -1;
    for (const CTakenLine& line : taken) {
        double ratio = 0.0;
        if (line.recipeLine >= 0) {
            if (anchor < 0)
                anchor = line.recipeLine;
            ratio = recipe.GetAt(line.recipeLine).m_amount / line.amount;
        }
        factor = !factorSet || ratio < factor ? ratio : factor;
        factorSet = true;
    }
    // An infinite factor (an infinite recipe amount) would turn the amounts into NaN.
    if (!factorSet || !(factor > 0.0) || !std::isfinite(factor) || anchor < 0)
        return 0;

    // A factor above 0 means every taking part from-line has its recipe line.
    for (const CTakenLine& line : taken)
        recipe.GetAt(line.recipeLine).m_amount -= factor * line.amount;

    CIngredientList rebuilt;
    for (int r = 0; r < recipe.GetCount(); ++r) {
        const CIngredient& line = recipe.GetAt(r);
        if (line.m_amount >= kSmallestAmount)
            rebuilt.InsertAt(rebuilt.GetCount(), line);
        if (r != anchor)
            continue;
        for (const auto& put : to) {
            if (put)
                rebuilt.Add(put->m_name, factor * put->m_amount);
        }
    }
    rebuilt.MergeDuplicates();
    recipe = std::move(rebuilt);
    return 1;
}
