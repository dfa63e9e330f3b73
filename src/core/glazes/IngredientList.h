#pragma once

// Recipe lines: a material name with an amount. A glaze keeps its components and its additions
// in two CIngredientLists; substitutions, the batch calculator, blends and the optimizer use the
// same lists.
//
// Ownership: the list owns its lines (unique_ptr); every insertion stores a copy of the line it
// is given, and copying a list copies every line, so two lists never share a line. The list
// attaches no unit to the amounts: grams or parts by weight, or volume units when the owning
// recipe is measured by volume.
//
// Bad indexes do nothing: an index outside 0..count - 1 (0..count for an insertion) is ignored.

#include "support/NamedItemList.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The largest amount a recipe line, the working batch size or any other size of a recipe holds.
// Beyond it a recipe's total would not stay a number, nor an amount a readable one ("1e999"
// would show 309 digits): the forms refuse it where it is typed, and the importers leave out a
// line that holds it.
inline constexpr double kMaxRecipeAmount = 999999999.0;

class CIngredient {
public:
    CIngredient() = default;
    CIngredient(std::string name, double amount) : m_name(std::move(name)), m_amount(amount) {}

    // As the user typed it or a reader stored it: a material's name, its code or "name (code)".
    std::string m_name;
    double m_amount = 0.0;
};

// The material look-up that ordering by type and distributing need. Given a line's material
// text (a name, a code or "name (code)"), it sets type to the material's type and returns true
// when the open materials database holds that material; otherwise it returns false. By default
// the open materials document answers; tests may install another finder (null: none found).
using MaterialTypeFinder = bool (*)(std::string_view material, std::string& type);

// Installs the finder (null for none) and returns the one installed before.
MaterialTypeFinder SetMaterialTypeFinder(MaterialTypeFinder finder);
MaterialTypeFinder GetMaterialTypeFinder();

class CIngredientList : public CNamedItemList<CIngredient> {
public:
    CIngredientList() = default;
    CIngredientList(const CIngredientList& other);
    CIngredientList& operator=(const CIngredientList& other);
    CIngredientList(CIngredientList&&) noexcept = default;
    CIngredientList& operator=(CIngredientList&&) noexcept = default;
    virtual ~CIngredientList() = default;

    // The line at index (valid indexes only).
    CIngredient& GetAt(int index) { return *(*this)[static_cast<std::size_t>(index)]; }
    const CIngredient& GetAt(int index) const { return *(*this)[static_cast<std::size_t>(index)]; }

    // Inserts a copy of line before index (index = count appends).
    void InsertAt(int index, const CIngredient& line);
    // Appends a copy of a new line.
    void Add(std::string name, double amount);
    // Frees the line at index and closes the gap.
    void RemoveAt(int index);
    // Appends copies of all of other's lines, in order.
    void Append(const CIngredientList& other);

    // The sum of all amounts (0.0 for an empty list).
    double GetTotalAmount() const;
    // The largest amount, starting from 0.0: an empty list or only negative amounts give 0.0.
    double GetMaxAmount() const;

    // Lines naming the same material (ignoring case) are added into the first of them; then every
    // line whose amount is exactly 0 is removed, including lines that held 0 before.
    void MergeDuplicates();

    // Sorts (the list keeps no sorted state): ascending by name ignoring case, lines of one name
    // in their order; by amount (an exchange sort, for a recipe's few lines) ascending for
    // direction > 0, descending for direction < 0, unchanged for 0.
    void SortByName();
    void SortByAmount(int direction);
    void Reverse();

    // Materials whose type is in typeOrder come first, type by type in that order; then the other
    // materials of the database; then the lines naming no known material. Recipe order is kept
    // within each group. Types compare ignoring case.
    void SortByTypeOrder(const std::vector<std::string>& typeOrder);
    // SortByTypeOrder with the material-type order of the working preferences.
    void SortByPreferredTypeOrder();

    // Splits this new recipe into components and additions after the pattern of the old recipe
    // that the two lists hold on entry. Lines the old recipe held as additions (by name), or whose
    // material type the old recipe used only among its additions, become additions; everything
    // else becomes a component, grouped after the order of the old components; lines matching
    // nothing follow in recipe order. This list is left empty.
    void DistributeTo(CIngredientList& components, CIngredientList& additions);
};
