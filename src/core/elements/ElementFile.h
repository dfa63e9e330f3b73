#pragma once

// The element database file (.ele): the working element table with the database's name and
// information lines, and its reader and writer.
//
// A file stores, for each element 1..103, only what the user may change: roles, oxide counts,
// the reduction oxide, the glaze coefficients, hazards, notes and annotations. Atomic weights,
// names, symbols and priorities always come from the built-in defaults, and the oxide texts and
// weights are rebuilt from the counts as they are read. Element 0 is never written.
//
// Written files look like this (LF line ends; the reader also takes CR LF and CR):
//
//     filetype = Oxidarium Elements
//     version =  2
//
//     dbname  = My elements
//     I = |an information line
//
//     z    = 1
//     role = v
//     ...
//     annote = |an annotation line
//     note = |a note line
//
// The '|' in front of every note, annotation and information text keeps its leading blanks
// through the reader's trimming; the reader drops the first character of such a value again.
//
// CElementsDoc derives from this class, so the reader's key handlers, which receive the reading
// object as their context, fill the document's own table.

#include "elements/ElementTable.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>

// The file type written in, and required of, every element database file.
inline constexpr const char* kElementFileType = "Oxidarium Elements";
// The name of the built-in table, also the name after New and after a failed open.
inline constexpr const char* kDefaultElementDbName = "Elements (default)";

class CElementFile : public CParamFileContext {
public:
    // The defaults, named kDefaultElementDbName, with no information lines.
    CElementFile() : m_dbName(kDefaultElementDbName) {}

    // Reads a file: the records first go back to the defaults (their notes dropped) and the
    // information lines are emptied, then every key of the file is applied. On failure the
    // records go back to the defaults again and the information lines are emptied, so nothing
    // half read stays; the name keeps what the file set. Returns 0, or the reader's result with
    // the message in m_errorText.
    int ReadElements(std::istream& in);

    // Writes the whole file; returns 0, or non-zero when the stream failed.
    int WriteElements(std::ostream& out) const;

    CElementTable m_elements;   // the working table, index = element number
    std::string m_dbName;       // "dbname"
    CStringArrayEx m_infoLines; // the "I" lines, in file order
    // Version of the file being read (1 or 2). Version 1 files wrote 0 for an unknown
    // expansion, viscosity or surface-tension coefficient; version 2 writes -999.
    int m_version = 2;
    // The element the element keys fill; -1 before the first "z" key of a read.
    int m_curZ = -1;
};
