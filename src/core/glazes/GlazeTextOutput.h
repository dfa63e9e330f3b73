#pragma once

// The glazes of a glaze database as lines of text: short summaries, recipes at chosen batch
// sizes, full reports, and the whole database as a table of chosen columns. Printing, print
// preview and Write to File of the glaze list, the edit view and the analysis view all take
// these lines, which is why they carry the text printer's marker characters
// (glazes/GlazeReportFormat.h). The working preferences choose formats and layouts.
//
// Every per-glaze output takes either one glaze (written alone) or the indices of the glazes of
// the document to write, in the order given; indices outside the list are skipped.

#include "support/StringArrayEx.h"

#include <array>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class CGlaze;
class CGlazesDoc;

// The columns of the list tables (formats 0 to 3).
inline constexpr int kGlazeTextColumnCount = 32;
using CGlazeColumnFlags = std::array<bool, kGlazeTextColumnCount>;
using CGlazeColumnWidths = std::array<int, kGlazeTextColumnCount>;

// The list formats of WriteList: 0 to 3 the column layouts "glzshort", "glzext1", "glzext2" and
// "glzext3"; 4 the oxide weight percentages, 5 the unity amounts, 6 the mole percentages over
// the oxides of "glztab".
inline constexpr int kGlazeListFormatCount = 7;

// The batch sizes a recipe is written for, from a text such as "W, R 50": W (the glaze's own
// batch size), R (the recipe as entered), and numbers as the recipe amounts show them. Commas
// and blanks separate; negative numbers are skipped. sizes is emptied first.
void ParseRecipeSizeList(const std::string& text, CStringArrayEx& sizes);

// The column numbers of a layout string (at most 32, codes in string order, other characters
// skipped; none gives the Name column alone) and which columns are present. Returns the count.
int ParseColumnLayout(const std::string& layout, std::vector<int>& columns, CGlazeColumnFlags& present);

class CGlazeText {
public:
    explicit CGlazeText(const CGlazesDoc& document) : m_doc(document) {}

    void WriteSummaries(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const;
    void WriteRecipes(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const;
    void WriteReports(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const;
    // The whole database in a list format (0 to kGlazeListFormatCount - 1).
    void WriteList(std::ostream& out, int format) const;

    // The width of every present column over all glazes of the document.
    void ComputeColumnWidths(CGlazeColumnWidths& widths, const CGlazeColumnFlags& present) const;
    // The header line and one row per glaze, in list order. An empty database gives an empty
    // header and no rows.
    void BuildListTable(CStringArrayEx& rows, std::string& header, int format) const;

private:
    std::vector<const CGlaze*> Selected(std::span<const int> indices, const CGlaze* glaze) const;
    void WriteSummary(std::ostream& out, const CGlaze& glaze) const;
    void WriteRecipe(std::ostream& out, const CGlaze& glaze) const;
    void BuildColumnTable(CStringArrayEx& rows, std::string& header, const std::string& layout) const;
    void BuildOxideTable(CStringArrayEx& rows, std::string& header, int format) const;

    const CGlazesDoc& m_doc;
};
