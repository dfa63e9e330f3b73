#pragma once

// The shopping list: how much of each material to buy to mix a set of glazes of the current
// database once each at a chosen size. The Make Shopping List dialog fills a
// CShoppingListRequest; the report goes into the Information window. No database changes.

#include "support/StringArrayEx.h"

#include <string>
#include <vector>

class CGlaze;
class CGlazesDoc;

enum ShoppingGlazes : int {
    kShopSelectedGlazes = 0, // "Currently selected glazes"
    kShopAllGlazes = 1,      // "All glazes in the current database"
};

enum ShoppingSize : int {
    kShopWorkingBatchSize = 0, // the glaze's batch size, else its recipe size
    kShopRecipeSize = 1,       // the components' total as written
    kShopCustomSize = 2,       // the size typed in the dialog, in grams
};

enum ShoppingUnit : int {
    kShopPounds = 0,
    kShopKilograms = 1,
    kShopGrams = 2,
};

inline constexpr unsigned kShoppingListHelpId = 0x30584;

// What the Make Shopping List dialog collects.
struct CShoppingListRequest {
    int glazes = kShopSelectedGlazes;
    int recipeSize = kShopWorkingBatchSize;
    int unit = kShopPounds;
    std::string sizeText = "100"; // the custom size as typed
};

// The custom size a size text gives: the number it begins with ("500g" is 500), as the report
// takes it. 0 or less is not understood, and the report says so and uses 100 g.
double ShoppingSizeOf(const std::string& sizeText);

// The report lines for the glazes in order. A glaze that cannot be converted to weight is
// reported with the stop icon and listed with size 0; its recipe, whose amounts are volumes,
// adds nothing to the totals.
void MakeShoppingList(const std::vector<const CGlaze*>& glazes, const CShoppingListRequest& request,
                      CStringArrayEx& lines);

// The command after its dialog's OK: the selected (or all) glazes of the document, the report
// written into the emptied Information window.
void RunShoppingList(const CShoppingListRequest& request, CGlazesDoc& document);
