#pragma once

// Recipes of the glaze program Insight: its recipe files (.rcp, one glaze each) and the same
// text on the clipboard are read into glazes; selected glazes are written back in the layout of
// its version 5.0. The glaze edit view also swaps a bare recipe with Insight through the
// clipboard (a title line and "material  amount" lines).
//
// A recipe text, line by line (each trimmed on both sides):
//   any number of lines, each read as a number: the last one is the format version (>= 4.0)
//   "rcp" (any case), one ignored line, the glaze name
//   pairs of a material line and an amount line (version 4.0 with bare LF line ends puts one
//     ignored line between them), up to "eof" (any case)
//   anything up to "notes", the note lines up to "endnotes" (or the end of the text),
//     anything after.
// Several recipes may follow one another in one text (the clipboard export writes them so):
// after "endnotes" a number line followed by "rcp" opens the next recipe.
//
// The helpers at the end are shared by the glaze text importers: reading a source whole and
// splitting it into lines without cutting any line short.

#include "glazes/GlazeList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Help contexts of the importers' messages.
inline constexpr unsigned kInsightImportErrorHelpId = 198000;
inline constexpr unsigned kGlazeImportErrorHelpId = 198017;

// The name a recipe's glaze carries until its name line is read.
inline constexpr const char* kInsightGlazeName = "(Insight glaze)";
// The source name of clipboard text in messages and information lines.
inline constexpr const char* kClipboardSourceName = "Clipboard";

// Which lines of a recipe the clipboard exchange carries.
enum InsightRecipeScope : int {
    kInsightComponents = 1,
    kInsightAdditions = 2,
    kInsightEntireRecipe = 3,
};

class CImportedAmounts;

class CInsightIO {
public:
    // Reads every source into glazes appended to target. With fromClipboard the path list
    // becomes the single entry "Clipboard" and the clipboard's text is read. A source that
    // fails shows its path followed by the error text (OK goes on with the next source; Cancel
    // empties target, names it "Glazes" and returns 0). Returns target's glaze count.
    static int ImportRecipes(CGlazeList& target, std::vector<std::string>& paths, bool fromClipboard);

    // Reads the recipes of one text, split into lines at delimiter, and appends their glazes to
    // target. lfLineEnds tells that the lines end with a bare LF (what makes a version 4.0
    // recipe carry an extra line after each material; clipboard text always counts as such).
    // 0 on success; otherwise 1 with the error text (": Incorrect version number (should be >=
    // 4.0)" or ": Premature end of file"); glazes of recipes completed before the error stay.
    // The amounts are read as CImportedAmounts says, into amounts when given.
    static int ReadRecipeText(std::string_view text, char delimiter, bool lfLineEnds, CGlazeList& target,
                              std::string& error, CImportedAmounts* amounts = nullptr);

    // Writes the glazes at indices (bad indices skipped) as version 5.0 recipes, an empty line
    // before every recipe but the first. 0, or 1 when the stream failed.
    static int WriteRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices);

    // The file name offered for a glaze's recipe: the first 8 letters and digits of its name and
    // ".rcp"; "glaze.rcp" for a name without any (".rcp" alone would be a hidden file).
    static std::string SuggestedFileName(std::string_view glazeName);
};

// --- the edit view's clipboard exchange ---------------------------------------------------

// The title line (the name, plus " (components only)" or " (additions only)") and one line per
// ingredient: the material, two blanks and the amount with the typed-amount decimals and their
// trailing zeros removed. 0, or 1 when the stream failed.
int WriteInsightClipboardRecipe(std::ostream& out, const std::string& name, int scope,
                                const CIngredientList& components, const CIngredientList& additions);

// Splits clipboard text into its title and its recipe lines, each trimmed on both sides.
// Returns which lines the title names: components, additions or (otherwise) the entire recipe.
int ReadInsightClipboardRecipe(std::string_view text, std::string& title, CStringArrayEx& lines);

// An entire recipe received from Insight: a line whose material equals (ignoring case) one of
// the present additions becomes an addition, every other line a component. Both lists are
// replaced.
void SplitInsightRecipe(const CIngredientList& received, const CIngredientList& presentAdditions,
                        CIngredientList& components, CIngredientList& additions);

// --- shared by the glaze text importers ------------------------------------------------------

// What an importer could not take of one source's amounts as written, told once per source. An
// amount that is not wholly a number is read by the prefix rules ("1,5" as 1), and one that the
// glaze file would write as 0 ("1e-320") as 0; the first of them is named with their count, as the
// database readers name theirs. A line whose amount is
// negative, or more than a recipe holds ("1e999", read as the largest number there is), is left
// out and named: kept, it would make the recipe's total "inf" or less than nothing, and the next
// save write 0 or a 309-digit number.
class CImportedAmounts {
public:
    // The amount text of the line numbered line (from 1 in the source), read so.
    double Read(std::string_view text, long long line);
    // True, naming the line ("line 12 (Celadon): Rutile -5"), when amount is negative or more
    // than a recipe holds: the importer then leaves the line out.
    bool LeavesOut(double amount, long long line, const std::string& glaze, const std::string& material,
                   std::string_view text);
    // "<source>: ..." of each thing to tell, empty when there is none.
    std::string Message(const std::string& source) const;
    // Message, in one box when it is not empty.
    void Report(const std::string& source, unsigned helpId) const;

private:
    CParamReadNotes m_notes;
    std::vector<std::string> m_leftOut; // "line <n> (<glaze>): <material> <amount>"
};

// The file's bytes; false when it cannot be read, with error set to what the message puts after
// the path (": Error opening file", ": not a regular file").
bool ReadImportFile(const std::string& path, std::string& text, std::string& error);
// The clipboard's text (empty when it holds none).
std::string ReadImportClipboard();
// The lines between delimiters, as a getline loop reads them: a final piece without a
// delimiter counts when it is not empty. Lines keep every character.
CStringArrayEx SplitImportLines(std::string_view text, char delimiter);
// The material text rewritten to the materials database's own form when found there.
std::string CanonicalMaterialName(std::string name);
