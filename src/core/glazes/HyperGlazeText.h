#pragma once

// HyperGlaze, an outside glaze program, exchanges recipes as text.
//
// Its database export holds one glaze per line as 51 TAB-separated fields (the last one runs to
// the end of the line): 0 name, 1 cone range, 2 colour, 3 surface, 4 to 22 (even) up to ten
// component materials, 24 to 30 (even) up to four additions, 32 and 33 the component and
// addition amounts separated by character 29, 37 firing, 38 testing, 39 a note, 42 date, 47 type;
// the others are not read.
//
// Its labelled text ("Glaze name:", "Cone:", ..., "Recipe:", "Comments:") is what the export
// here writes, with lines ended by a lone CR, and what HyperGlaze writes of its own recipes; the
// import recognises it by its first "Glaze name:" line and reads it as Recipary text, whose labels
// it shares.

#include "glazes/GlazeList.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a file without any record of the export is told with (after its path and ": ").
inline constexpr const char* kNoRecordsMessage =
    "No HyperGlaze recipes were found: the file is not a HyperGlaze export. Nothing was imported.";

class CImportedAmounts;

// A record of the export that could not be read: its place in the file (from 1) and first field.
struct CLeftOutRecord {
    int number = 0;
    std::string name;
};

class CHyperGlazeIO {
public:
    // Reads the file at path and appends its glazes to target. An unreadable file shows
    // "<path>: Error opening file", a file without any record (or a binary one from which none
    // came in) "<path>: " kNoRecordsMessage; both leave target as it is. When records could not
    // be read, the message "<path>: <n> records could not be read and were left out:" names
    // them, one line each ("record <number> "<name>"", numbered from 1 in file order), followed
    // by "Nothing was imported." when none came in. Returns target's glaze count.
    static int ImportRecipes(CGlazeList& target, const std::string& path);

    // Reads database-export records from text (fields 0 to 49 end at a TAB, field 50 at
    // lineDelimiter; a field may hold a line break) and appends one glaze per complete record.
    // A line break may fall only in the note (field 39) or a later field. A record with fewer than
    // 51 fields, or with a control character other than TAB, vertical tab, the amount separator
    // and line breaks, adds nothing and is listed in leftOut. The amounts are read as
    // CImportedAmounts says, into amounts when given. Returns target's glaze count.
    static int ImportRecords(CGlazeList& target, std::string_view text, char lineDelimiter,
                             std::vector<CLeftOutRecord>* leftOut = nullptr, CImportedAmounts* amounts = nullptr);

    // True when text is labelled rather than database-export records: a line beginning with
    // "Glaze name:" (ignoring case and leading blanks) comes before any line that reaches a
    // record's note (39 TABs or more).
    static bool IsLabelledText(std::string_view text);

    // Writes the glazes at indices (bad indices skipped) as labelled text, every line ended by a
    // CR. 0, or 1 when the stream failed.
    static int ExportRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices);
};
