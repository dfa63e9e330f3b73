#pragma once

// The substitution texts for printing, print preview, Write to File and the clipboard: the
// summary of one substitution (its name as a title, its two sets side by side, its notes) and the
// table of a whole database (each substitution's sets side by side, notes gathered as numbered
// footnotes at the end).
//
// Lines end with '\n' and carry the text printer's layout characters at their end: 1 keep the
// marked lines together, 2 not printed, 4 not written to text files, 5 / 6 running header of
// first / later pages, 7 with 12 numbering restarts, 12 new page, 15 tall line, 25 a rule as long
// as the text. With form feeds (the print preference prtuseffs) every summary, and the table,
// begins a page headed by its title; without, titles are tall ruled lines.

#include <iosfwd>
#include <string>

class CIngredientList;
class CSubstitution;
class CSubstitutionList;

struct CSubstitutionTextFormat {
    bool formFeeds = false;
    int decimals = 2;     // of amounts (decrecipe)
    int keepDecimals = 2; // least decimals kept when trailing zeros are blanked (tzsrecipe)

    // The working preferences' settings.
    static CSubstitutionTextFormat FromPreferences();
};

// The column of a set's line row: the amount right-aligned with 3 integer places, trailing zeros
// blanked, a blank and the material name padded to 18 characters; blanks of the same width when
// the set has no such line.
std::string SubstitutionSetColumn(const CIngredientList& set, int row, const CSubstitutionTextFormat& format);

void WriteSubstitutionSummary(std::ostream& out, const CSubstitution& substitution,
                              const CSubstitutionTextFormat& format);

// The table of every substitution that has a line in either set; path stands in for a database
// without a name.
void WriteSubstitutionTable(std::ostream& out, const CSubstitutionList& list, const std::string& path,
                            const CSubstitutionTextFormat& format);
