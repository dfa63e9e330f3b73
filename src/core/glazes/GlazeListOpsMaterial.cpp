// Turning a glaze into a material of the materials database: a frit (the glaze's unity formula
// as oxides) or a mixture (the moles of every element of the recipe's materials).

#include "glazes/Glaze.h"

#include "elements/ElementTable.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/FormulaConversion.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

namespace {

// A price per kilogram becomes a price per pound with this factor.
constexpr double kKilogramsPerPound = 0.4535970244035199;
constexpr int kLastElement = 103;
constexpr int kRecipeNameWidth = 20;

// The analysis computed with the additions taking part, whatever the preference says.
void ComputeWithAdditions(const CGlaze& glaze, CGlazeAnalysis& analysis)
{
    const int saved = g_prefs.anchadd;
    g_prefs.anchadd = 1;
    glaze.ComputeAnalysis(analysis);
    g_prefs.anchadd = saved;
}

// "<unity> <oxide> " for every oxide of the unity formula but the volatile ones.
std::string FritFormula(const CGlazeAnalysis& analysis)
{
    const CElementRecord* table = GetElementTable();
    std::string formula;
    for (const COxideItemList* list :
         {&analysis.alkaliOxides, &analysis.neutralOxides, &analysis.acidOxides, &analysis.otherOxides}) {
        for (const COxideItem& item : *list) {
            if (item.element < 0 || item.element > kLastElement)
                continue;
            formula += FormatFixed(item.unity, g_prefs.decanalysis) + " " + table[item.element].oxide + " ";
        }
    }
    return formula;
}

void AddItemMoles(const CRecipeItemList& items, OxideVector& moles)
{
    for (const CRecipeItem& item : items)
        if (item.material)
            item.material->AddScaledAnalysis(moles.data(), item.fraction * 100.0);
}

// "<moles><symbol> " for every element 1..103 the recipe's materials bring, additions included.
std::string MixtureFormula(const CGlazeAnalysis& analysis)
{
    OxideVector moles;
    AddItemMoles(analysis.componentItems, moles);
    AddItemMoles(analysis.additionItems, moles);
    const CElementRecord* table = GetElementTable();
    std::string formula;
    for (int z = 1; z <= kLastElement; ++z) {
        const double amount = moles[static_cast<std::size_t>(z)];
        if (amount > 0.0)
            formula += FormatDoubleFixed(amount, 12) + table[z].symbol + " ";
    }
    return formula;
}

void AddHazardLines(const CRecipeItemList& items, CMaterial& material)
{
    for (const CRecipeItem& item : items)
        if (item.material)
            material.m_hazNotes.Append(item.material->m_hazNotes);
}

void AddRecipeLines(const CIngredientList& lines, CStringArrayEx& notes)
{
    for (const auto& line : lines) {
        if (!line)
            continue;
        std::string name = line->m_name;
        if (static_cast<int>(name.size()) < kRecipeNameWidth)
            name.insert(0, static_cast<std::size_t>(kRecipeNameWidth) - name.size(), ' ');
        notes.push_back("  " + name + "  " + FormatFixed(line->m_amount, g_prefs.decrecipe));
    }
}

// The cost per kilogram as a price of the materials database: per pound when it counts in
// pounds, rounded to its price decimals.
double DatabasePrice(double costPerKg)
{
    const CMaterialArray* database = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    const bool perPound = !database || database->m_costUnit == CMaterialArray::kCostPerPound;
    const int decimals = database ? database->m_costPlacesRight : 2;
    return RoundToPowerOfTen(perPound ? costPerKg * kKilogramsPerPound : costPerKg, -decimals);
}

} // namespace

int CGlaze::ConvertToMaterial(CMaterial& material, bool asFrit) const
{
    CGlazeAnalysis analysis;
    if (asFrit)
        ComputeWithAdditions(*this, analysis);
    else
        ComputeAnalysis(analysis);
    if (!analysis.IsValid())
        return 1;
    int result = 0;
    if (asFrit) {
        material.m_name = m_name + " Frit";
        material.m_type = "frit";
        result = material.SetFormula(FritFormula(analysis));
    } else {
        material.m_name = m_name;
        material.m_type = "mixture";
        material.SetFormula(MixtureFormula(analysis));
        ConvertFormulaToUnity(material, kUnityOnAlkalis, kDefaultLoiOxide);
        AddHazardLines(analysis.componentItems, material);
        AddHazardLines(analysis.additionItems, material);
    }
    material.UpdateDisplayKey();
    material.m_costPerLb = DatabasePrice(analysis.costPerKg);
    material.m_notes.push_back("Converted from glaze \"" + m_name + "\"");
    material.m_notes.push_back(m_byVol ? "Recipe (by volume):" : "Recipe:");
    AddRecipeLines(m_components, material.m_notes);
    AddRecipeLines(m_additions, material.m_notes);
    return result;
}
