#pragma once

// Identifies a database file on disk without loading it: reads only the header keys
// (filetype, version, dbname, I) and reports the kind, version, name and information lines,
// or why the file cannot be read. The database tree uses it to catalogue files and to show a
// file's notes without opening it.
//
// Every database file begins with the header its writer puts first:
//     filetype = Oxidarium Glazes
//     version =  2
//
//     dbname  = My glazes
//     I = |an information line
//     (empty line)

#include "support/DbFileType.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>
#include <string_view>

// In quick mode the probe stops after the first key line at or beyond this line.
constexpr int kDbHeaderQuickLineLimit = 100;

class CDbFileInfo : public CParamFileContext {
public:
    // An empty probe, for ReadHeader on a stream.
    CDbFileInfo() = default;

    // Identifies the file at path. A path ending in ".txt" (any case) is a text file and its
    // content is not read; any other file has its header read (the whole file, or in quick
    // mode up to the first key line at or beyond line 100) with the wait cursor shown.
    CDbFileInfo(std::string path, bool quick);

    // Reads the header keys from in into this object (earlier values are dropped). Returns the
    // reader's result; its message is in m_errorText.
    int ReadHeader(std::istream& in, bool quick);

    // Stores text as the file type and sets the kind (Unknown when text names none).
    void MapFileTypeName(std::string_view text);

    std::string m_path;         // as given
    std::string m_dbname;       // the "dbname" value; for a text file its file name
    CStringArrayEx m_infoLines; // the "I" lines in file order
    std::string m_filetype;     // the "filetype" value as written
    DbFileType m_type = DbFileType::Unknown;
    int m_version = 0;
    int m_result = 0;           // 0 identified, 1 cannot be opened, else the reader's result
    std::string m_errorMessage; // for a non-zero result: the path, ": " and the reason
    // m_errorText (inherited) is the reader's error buffer.
};

// The header key table's end hook: accepts every header.
int DbHeaderDefaultHandler(CParamFileContext* context, const char* key, const void* value);

// The information line that an "I" value stands for: the value without its leading '|' (the
// writer puts one first so that leading blanks survive). A value without the '|' (a hand-edited
// file) is kept whole.
std::string InfoLineFromValue(std::string_view value);
