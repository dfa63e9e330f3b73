#include "tools/ShoppingList.h"

#include "framework/MessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "tools/BlendSupport.h"
#include "textfile/InformationReport.h"

#include <algorithm>

namespace {

constexpr double kDefaultShoppingSize = 100.0;
// Grams to pounds as the list has always printed it (not 1 / 453.59237).
constexpr double kGramsToPounds = 0.0022046;
constexpr double kGramsToKilograms = 0.001;

std::string AmountText(double amount)
{
    std::string text = FormatFixed(amount, g_prefs.decrecipe);
    return BlankTrailingZeros(text, g_prefs.tzsrecipe);
}

// The copy scaled as the size choice asks; returns its size in grams.
double SizeGlaze(CGlaze& copy, int choice, double customSize)
{
    if (choice == kShopCustomSize) {
        copy.ScaleRecipe(customSize, false);
        return customSize;
    }
    if (choice == kShopWorkingBatchSize && copy.m_batchSize > 0.0) {
        copy.ScaleRecipe(copy.m_batchSize, false);
        return copy.m_batchSize;
    }
    return copy.m_components.GetTotalAmount();
}

// Two columns: names left-aligned, values right-aligned, four blanks between, then the tail.
void AddColumns(const std::vector<std::string>& names, const std::vector<std::string>& values,
                const std::string& tail, CStringArrayEx& lines)
{
    std::size_t nameWidth = 0;
    std::size_t valueWidth = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        nameWidth = std::max(nameWidth, names[i].size());
        valueWidth = std::max(valueWidth, values[i].size());
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        PadRightString(name, static_cast<int>(nameWidth));
        const std::string value = std::string(valueWidth - values[i].size(), ' ') + values[i];
        lines.push_back(name + "    " + value + tail);
    }
}

double ParseCustomSize(const std::string& text, CStringArrayEx& lines)
{
    const double size = ShoppingSizeOf(text);
    if (size > 0.0)
        return size;
    lines.push_back("Size \"" + text + "\" not understood; using 100g");
    return kDefaultShoppingSize;
}

} // namespace

double ShoppingSizeOf(const std::string& sizeText)
{
    return ParseDouble(sizeText);
}

void MakeShoppingList(const std::vector<const CGlaze*>& glazes, const CShoppingListRequest& request,
                      CStringArrayEx& lines)
{
    const double customSize =
        request.recipeSize == kShopCustomSize ? ParseCustomSize(request.sizeText, lines) : kDefaultShoppingSize;
    std::vector<std::string> names;
    std::vector<std::string> sizes;
    CIngredientList materials;
    for (const CGlaze* glaze : glazes) {
        CGlaze copy(*glaze);
        names.push_back(copy.m_name);
        if (copy.ConvertWeightVolume(0) != 0) {
            AppMessageBox(CannotConvertMessage(copy.m_name, true), MsgOk | MsgIconError, kShoppingListHelpId);
            sizes.push_back(AmountText(0.0));
            continue;
        }
        sizes.push_back(AmountText(SizeGlaze(copy, request.recipeSize, customSize)));
        materials.Append(copy.m_components);
        materials.Append(copy.m_additions);
    }
    materials.MergeDuplicates();
    materials.SortByName();

    const double factor = request.unit == kShopPounds      ? kGramsToPounds
                          : request.unit == kShopKilograms ? kGramsToKilograms
                                                           : 1.0;
    const char* suffix = request.unit == kShopPounds ? " lb" : request.unit == kShopKilograms ? " kg" : " g";
    std::vector<std::string> materialNames;
    std::vector<std::string> amounts;
    for (const auto& line : materials) {
        materialNames.push_back(line->m_name);
        amounts.push_back(AmountText(line->m_amount * factor));
    }

    lines.push_back("To make these glazes :");
    AddColumns(names, sizes, " g", lines);
    lines.push_back("");
    lines.push_back("You need these ingredients :");
    AddColumns(materialNames, amounts, std::string(" ") + suffix, lines);
}

void RunShoppingList(const CShoppingListRequest& request, CGlazesDoc& document)
{
    CInformationReport report;
    std::vector<CGlaze*> chosen;
    document.GetSelectedGlazes(chosen, request.glazes == kShopAllGlazes);
    CStringArrayEx lines;
    MakeShoppingList(std::vector<const CGlaze*>(chosen.begin(), chosen.end()), request, lines);
    for (const std::string& line : lines)
        report.Line(line);
}
