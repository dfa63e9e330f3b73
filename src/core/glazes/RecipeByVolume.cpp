#include "glazes/RecipeByVolume.h"

#include "framework/MessageService.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialsDoc.h"

namespace {

// The density of a recipe line's material, or 0 when it is unknown or has none.
double LineDensity(const CIngredient& line)
{
    if (!g_pMaterialsDoc)
        return 0.0;
    const CMaterial* material = g_pMaterialsDoc->Materials().FindMaterial(std::string_view(line.m_name));
    return material && material->m_density > 0.0 ? material->m_density : 0.0;
}

} // namespace

bool ConvertByDensity(std::initializer_list<CIngredientList*> lists, bool toWeight,
                      std::vector<std::string>& noDensity)
{
    const std::size_t before = noDensity.size();
    for (CIngredientList* list : lists) {
        for (auto& line : *list) {
            const double density = LineDensity(*line);
            if (density <= 0.0)
                noDensity.push_back(line->m_name);
            else
                line->m_amount = toWeight ? line->m_amount * density : line->m_amount / density;
        }
    }
    return noDensity.size() == before;
}

bool ConvertByDensityAsking(std::initializer_list<CIngredientList*> lists, bool toWeight)
{
    std::vector<std::string> noDensity;
    if (ConvertByDensity(lists, toWeight, noDensity))
        return true;
    for (const std::string& name : noDensity) {
        if (AppMessageBox("Density of " + name + " unknown", MsgOkCancel | MsgIconExclamation,
                          kDensityUnknownHelpId) == MsgResultCancel)
            break;
    }
    return false;
}

std::string NoDensityMessage(const std::vector<std::string>& names, const std::string& advice)
{
    std::string text;
    for (const std::string& name : names)
        text += "Density of " + name + " unknown\n";
    return text + "\n" + advice;
}
