#pragma once

// One top-level component of a material's formula, as written ("2 SiO2", "CaCO3", "LOI"), and
// the list of them that parsing a formula produces. The formula conversions classify the
// components, change their amounts and write the formula text back from them.

#include <string>
#include <string_view>
#include <vector>

// What a component is, once classified.
enum ComponentKind : int {
    kComponentUnclassified = 0, // as the parser leaves it
    kComponentOxide = 1,        // the standard oxide of an element (the table's oxide text)
    kComponentElement = 2,      // another compound of one element other than oxygen, or oxygen alone
    kComponentCompound = 3,     // a compound of several elements
    kComponentLoi = 4,          // loss on ignition ("LOI", "L.O.I.")
};

class CFormulaComponent {
public:
    CFormulaComponent() = default;
    CFormulaComponent(std::string_view amountText, std::string_view text)
        : m_amountText(amountText), m_text(text)
    {
    }

    // Fills the numbers from the two texts and the element table: the amount (1.0 for an empty
    // amount text), the kind, the element (kinds 1 and 2, else -1) and the weight of one unit
    // (the oxide molecular weight for kind 1, the sum of the atoms' weights otherwise, 0 for LOI).
    void Classify();

    std::string m_amountText; // the amount as written; empty when the component has none
    std::string m_text;       // the component as written: symbols, counts, parentheses, or "LOI"
    double m_amount = 0.0;    // value of the amount text, 1.0 when it is empty
    int m_kind = kComponentUnclassified;
    int m_element = 0;        // element number for kinds 1 and 2, -1 otherwise
    double m_weight = 0.0;    // weight of one unit of the component
};

// The value that an amount text stands for in a formula: 1.0 when the text is empty, else the
// number the formula reader takes from it.
double FormulaAmountValue(std::string_view amountText);

// The components of one formula, in text order. Holds the records by value: they are small, and
// parsing a formula again reuses the storage.
class CFormulaComponentList : public std::vector<CFormulaComponent> {
public:
    using std::vector<CFormulaComponent>::vector;

    // Inserts a copy at index 0..count; any other index does nothing.
    void InsertAt(int index, const CFormulaComponent& component);
    // Removes the item at index; an index outside 0..count-1 does nothing.
    void RemoveAt(int index);
    // Index of the first item whose component text equals text exactly, else -1.
    int FindByText(std::string_view text) const;
    // Removes every item.
    void FreeComponentList() { clear(); }
};
