#include "graphs/GraphRecipeLists.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"

namespace {

constexpr const char* kUnknownType = "unknown";
constexpr int kNoEntryColor = 8;
constexpr int kNoEntryMonoColor = 15;

void AppendItems(CIngredientList& list, const CIngredientList& lines, const CRecipeItemList& items,
                 RecipeAmount amount)
{
    const std::size_t count = std::min(lines.size(), items.size());
    for (std::size_t k = 0; k < count; ++k) {
        const CRecipeItem& item = items[k];
        list.Add(lines[k]->m_name, amount == RecipeAmount::Cost ? item.cost : 100.0 * item.fraction);
    }
}

} // namespace

CIngredientList BuildRecipeList(const CGlaze& glaze, RecipeAmount amount)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    CIngredientList list;
    AppendItems(list, glaze.m_components, analysis.componentItems, amount);
    if (g_prefs.anchadd)
        AppendItems(list, glaze.m_additions, analysis.additionItems, amount);
    return list;
}

const CMaterial* FindRecipeMaterial(std::string_view name)
{
    return g_pMaterialsDoc ? g_pMaterialsDoc->Materials().FindMaterial(name) : nullptr;
}

std::string RecipeLineType(std::string_view name)
{
    const CMaterial* material = FindRecipeMaterial(name);
    return material && !material->m_type.empty() ? material->m_type : std::string(kUnknownType);
}

CIngredientList BuildMaterialTypeList(const CGlaze& glaze)
{
    CIngredientList types;
    for (const auto& line : BuildRecipeList(glaze, RecipeAmount::Percent))
        types.Add(RecipeLineType(line->m_name), line->m_amount);
    types.MergeDuplicates();
    OrderByPreferredTypes(types);
    return types;
}

void OrderByPreferredTypes(CIngredientList& types)
{
    CIngredientList ordered;
    for (const std::string& name : g_prefs.mattyp) {
        const int at = types.FindIndexByName(name);
        if (at < 0)
            continue;
        ordered.push_back(std::move(types[static_cast<std::size_t>(at)]));
        types.erase(types.begin() + at);
    }
    for (auto& line : types)
        ordered.push_back(std::move(line));
    types = std::move(ordered);
}

CChartColor MaterialTypeColor(const CMaterialTypeColorList* colors, std::string_view type, bool mono)
{
    const CMaterialTypeColor* entry = colors ? colors->Find(type) : nullptr;
    if (!entry)
        return {mono ? kNoEntryMonoColor : kNoEntryColor, 0};
    return ApplyColorRule(entry->color, entry->pattern, entry->colorWithPattern, mono);
}

CChartColor RecipeLineColor(const CMaterialTypeColorList* colors, std::string_view name, bool mono)
{
    const CMaterial* material = FindRecipeMaterial(name);
    return MaterialTypeColor(material ? colors : nullptr, material ? material->m_type : std::string_view(), mono);
}
