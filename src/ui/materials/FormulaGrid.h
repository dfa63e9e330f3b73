#pragma once

// The contents of the Edit Formula dialog as plain data: a formula laid out as oxide amounts in
// four columns of twelve rows (the columns the preferences "formedcol1".."formedcol4" name), six
// extra cells for components outside the columns, a free text for whatever is left, the formula
// kind and the forced value. The dialog shows this model; the model turns a formula into cells
// and cells back into formula text.

#include <array>
#include <string>

// The formula kinds of the dialog's radio buttons.
enum FormulaGridKind : int {
    kGridMolecular = 0,
    kGridWeightPercent = 1,
    kGridMolePercent = 2,
};

class CFormulaGrid {
public:
    static constexpr int kColumns = 4;
    static constexpr int kRows = 12;
    static constexpr int kExtraCells = 6;

    struct Cell {
        std::string label;  // the component text of the row ("SiO2"); empty: no row
        std::string amount; // the amount as typed
    };

    // Each column text is split at "," into at most twelve trimmed row labels.
    void SetColumns(const std::array<std::string, kColumns>& columns);
    // The four column preferences of g_prefs.
    void SetColumnsFromPreferences();

    // Empties every amount, the extra cells, the other-components and force texts.
    void Clear();
    // Lays formula out: each component goes to the first column row whose label is the component
    // text, else to the next free extra cell, else to the other-components text. A formula that
    // does not parse is kept as it stands: its components go to the other-components text.
    void SetFormula(const std::string& formula);
    // The formula text the cells make (prefix by kind and force value, then the components).
    std::string BuildFormula() const;

    // 0-based index of the last row that has a label in any column, -1 when none.
    int LastLabelledRow() const;
    // Number of extra cells in use.
    int ExtraCount() const { return m_extraCount; }

    Cell& At(int column, int row) { return m_cells[Index(column, row)]; }
    const Cell& At(int column, int row) const { return m_cells[Index(column, row)]; }
    Cell& Extra(int index) { return m_extra[static_cast<std::size_t>(index)]; }
    const Cell& Extra(int index) const { return m_extra[static_cast<std::size_t>(index)]; }
    // Marks extra cells 0..count-1 as shown (the dialog's own editing never adds any).
    void SetExtraCount(int count) { m_extraCount = count; }

    int kind = kGridMolecular;
    std::string other; // "Other components :"
    std::string force; // the forced molecular weight or % sum

private:
    static std::size_t Index(int column, int row)
    {
        return static_cast<std::size_t>(column * kRows + row);
    }
    // The first column row labelled exactly text whose amount is still empty; null when none.
    Cell* FindFreeCell(const std::string& text);
    void PlaceComponent(const std::string& amountText, const std::string& text);
    void SetUnparsedFormula(const std::string& formula);

    std::array<Cell, kColumns * kRows> m_cells;
    std::array<Cell, kExtraCells> m_extra;
    int m_extraCount = 0;
};

// True for an amount or forced-value text that is a number greater than 0.
bool IsPositiveNumberText(const std::string& text);
