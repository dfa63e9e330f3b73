#pragma once

// The material texts for printing, print preview, Write to File and the Information window: the
// text of one material, and the database table (a heading and one row per material in one of
// the list view's formats).
//
// Lines end with '\n' and carry the text printer's layout characters at their end: 1 keep the
// marked lines together, 2 not printed, 5 / 6 running header of first / later pages, 7 with 12
// numbering restarts, 12 new page, 15 tall line, 25 a rule as long as the text. With form feeds
// (the print preference prtuseffs) every material begins a page headed by its name; without,
// headings are tall ruled lines.

#include "support/StringArrayEx.h"

#include <iosfwd>
#include <span>
#include <string>

class CMaterial;
class CMaterialArray;

// The text of material, or when it is null of the records of database at indices (those out of
// range skipped), one after the other.
void WriteMaterialText(std::ostream& out, const CMaterialArray& database, std::span<const int> indices,
                       const CMaterial* material, bool formFeeds);

// The database heading (its name, or path when it has none), then the table of format 0..4.
void WriteMaterialsTableText(std::ostream& out, const CMaterialArray& database, const std::string& path,
                             int format, bool formFeeds);

// The table of format 0..3 (the columns of the list view's formats, as a table) or 4 (weight
// percentages per 100 parts of raw material, columns from the preference mattab): a title line
// and one row per material. An empty database, or format 4 without columns, gives no table
// (both out-values empty).
void BuildMaterialsTable(const CMaterialArray& database, CStringArrayEx& lines, std::string& title, int format);
