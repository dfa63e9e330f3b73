#pragma once

// The rows of the materials list view: which columns a row has and the exact text of each cell,
// for the five view modes. Modes 0 to 3 show the columns that the preferences matshort,
// matext1, matext2 and matext3 name by letter; mode 4 shows each material's oxides as weight
// percentages, one column per entry of the preference mattab.
//
// A row is its cells, each preceded by a TAB (so every row of modes 0 to 3 begins with a TAB);
// a mode 4 row is the name, TAB '%', then a TAB and a cell per oxide. Numbers are right-aligned
// in their fields and every leading blank of a number is doubled, which keeps the digits of a
// column roughly aligned in a proportional font. The pixel tab stops belong to the view.

#include "elements/ElementList.h"
#include "shell/Preferences.h"
#include "support/StringArrayEx.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMaterial;
class CMaterialArray;

enum MaterialColumn : int {
    MaterialColumnCode = 0,          // C
    MaterialColumnName = 1,          // N
    MaterialColumnFormula = 2,       // F
    MaterialColumnType = 3,          // T
    MaterialColumnAvailable = 4,     // A
    MaterialColumnCost = 5,          // $
    MaterialColumnDensity = 6,       // D
    MaterialColumnMapping = 7,       // M
    MaterialColumnWeight = 8,        // W: formula weight
    MaterialColumnAnalysisNotes = 9, // R
    MaterialColumnHazardNotes = 10,  // H
    MaterialColumnNotes = 11,        // *
};
inline constexpr int kMaterialColumnCount = 12;
// The letter of each column, in column-code order.
inline constexpr std::string_view kMaterialColumnCodeLetters = "CNFTA$DMWRH*";
// Notes columns are joined into at most this many characters.
inline constexpr int kMaterialNotesCellWidth = 1000;
// The view modes.
inline constexpr int kMaterialListModeCount = 5;
inline constexpr int kMaterialPercentMode = 4;

using MaterialColumnPresence = std::array<bool, kMaterialColumnCount>;

// Reads a column string: each of the twelve letters (upper case, exactly) appends its column,
// repeats included, up to 12 columns; other characters are skipped. Without any letter the list
// is the name column alone. Returns the column count.
int ParseMaterialColumns(std::string_view text, std::vector<int>& columns, MaterialColumnPresence& present);

// The column string of view mode 0..3 in the working preferences (mode 0 for others).
const std::string& MaterialColumnString(int mode);

// The cell of one column (modes 0 to 3), with the database's currency and units.
std::string MaterialListCell(const CMaterialArray& database, const CMaterial& material, int column);
// A row of modes 0 to 3: TAB and cell for each column.
std::string MaterialListRow(const CMaterialArray& database, const CMaterial& material, std::span<const int> columns);

// The label of a mode 4 entry (an element number, kElementListLoss, or another negative value
// for sodium and potassium together): the oxide text, "LOI" or "KNaO".
std::string MaterialPercentLabel(int entry);
// The mode 4 cell of one entry: the weight percentage and the label, or empty when the material
// has none (an LOI is shown when it rounds to anything but 0, negative ones too).
std::string MaterialPercentCell(const CMaterial& material, int entry);
// A mode 4 row: the name, TAB '%', then TAB and cell per entry.
std::string MaterialPercentRow(const CMaterial& material, std::span<const int> entries);

// The entries of mattab; empty when it names none.
std::vector<int> MaterialPercentEntries();

// What the rows of a mode show: the columns of modes 0 to 3 or the entries of mode 4. Mode 4
// without entries shows mode 0 instead, and mode is set to 0 (the view keeps that change). A mode
// outside 0..4 is taken as 0.
struct CMaterialListLayout {
    int mode = 0;
    std::vector<int> columns;
    std::vector<int> entries;
};
CMaterialListLayout MaterialListLayout(int& mode);
// The row of one material in a layout.
std::string MaterialLayoutRow(const CMaterialArray& database, const CMaterial& material,
                              const CMaterialListLayout& layout);

// Every row of the mode, in database order, by MaterialListLayout (an empty database leaves a
// mode within 0..4 as it is).
void BuildMaterialListRows(const CMaterialArray& database, int& mode, CStringArrayEx& rows);

// One blank for each leading blank of text: doubles a right-aligned number's padding.
std::string DoubledPadding(std::string_view text);
