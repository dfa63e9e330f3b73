#pragma once

// The row texts of the glaze list window, one row per glaze, in the seven list formats:
//   0 to 3  the column layouts "glzshort", "glzext1", "glzext2" and "glzext3" of the working
//           preferences: each column is a tab followed by the cell text, so the first cell stands
//           at the first tab stop;
//   4 to 6  the glaze table over the oxides of "glztab": a tab, the name, a tab, a marker ("%w"
//           weight percent, "-" unity amounts, "%m" mole percent) and one tab-led cell per oxide.
// Cells of the analysis read the glaze's cached analysis, which is computed on first demand; a
// glaze whose analysis is not valid shows empty chemistry cells (formats 0 to 3) or only its
// name (formats 4 to 6).
//
// The texts are the core's bytes; the window converts them when it draws.

#include <span>
#include <string>
#include <vector>

class CGlaze;

inline constexpr int kGlazeListFormats = 7;
inline constexpr int kGlazeListColumns = 32;
// The first list format that shows the glaze table.
inline constexpr int kGlazeTableFirstFormat = 4;

// Column indices whose cells are not plain description fields.
enum GlazeListColumn : int {
    kGlzColName = 0,
    kGlzColByVolume = 16,
    kGlzColNotes = 18,
    kGlzColFirstAnalysis = 20,
    kGlzColUnusualExpansion = 25,
    kGlzColCost = 27,
};

// The layout preference of a column format (0 to 3).
const std::string& GlazeListLayout(int format);

// The cell of one column (0 to 31) of a glaze.
std::string GlazeListCell(const CGlaze& glaze, int column);
// The row of a glaze in a column format: a tab and the cell of each column, in order.
std::string GlazeColumnRow(const CGlaze& glaze, std::span<const int> columns);

// The oxide entries of the glaze table (element numbers, -1 the loss, -2 sodium and potassium
// together); false when the preference lists none or holds a word that is no symbol.
bool GlazeTableEntries(std::vector<int>& entries);
// The marker after the name: "%w", "-" or "%m".
const char* GlazeTableMarker(int format);
// The row of a glaze in a table format (4 to 6).
std::string GlazeTableRow(const CGlaze& glaze, int format, std::span<const int> entries);
// The widest cell an entry can show, for measuring the tab stops: 100.0 (99.99 for unity
// amounts) and the oxide's label.
std::string GlazeTableSampleCell(int format, int entry);

// The text that sets the width of a computed column (20 to 24, 26 to 31): a sample value.
std::string GlazeColumnSample(int column);
// True for the columns measured from the glazes' own cells.
bool IsMeasuredGlazeColumn(int column);
