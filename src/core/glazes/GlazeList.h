#pragma once

// The contents of a glaze database: its glazes in order, its name and information lines, and its
// file (.glz, file type "Oxidarium Glazes").
//
// The file is a text of "key = value" lines: the common database header, then the glazes in list
// order, each opened by its "name" line. It is read through the shared parameter-file reader with
// the key table g_glzKeyTable, the list being the reader's context (the glaze being read is the
// last one of the list), and written by Write in a fixed layout that other programs and older
// files rely on byte for byte.

#include "glazes/Glaze.h"
#include "support/NamedItemList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>

inline constexpr const char* kGlazeFileType = "Oxidarium Glazes";
inline constexpr const char* kDefaultGlazeDbName = "Glazes";

class CGlazeList : public CParamFileContext {
public:
    CGlazeList() = default;
    CGlazeList(const CGlazeList&) = delete;
    CGlazeList& operator=(const CGlazeList&) = delete;

    int GetCount() const { return m_glazes.GetCount(); }
    CGlaze& GetAt(int index) { return *m_glazes[static_cast<std::size_t>(index)]; }
    const CGlaze& GetAt(int index) const { return *m_glazes[static_cast<std::size_t>(index)]; }

    // Frees every glaze, names the list "Glazes" and clears the information lines.
    void Reset();

    // Replaces the contents with the glazes read from in. Returns 0, or the reader's error code
    // with the message in m_errorText and the list reset (a wrong file type gives
    // "Incorrect file type: <type>").
    int Read(std::istream& in);
    // Writes the header and every glaze. Returns 0, or 1 when the stream failed.
    int Write(std::ostream& out) const;

    // The reader's view of the list: the glaze being read is the last one.
    bool NoCurrentRecord() const override { return m_glazes.empty(); }
    CGlaze& CurrentRecord() { return *m_glazes.back(); }

    CNamedItemList<CGlaze> m_glazes;
    std::string m_name = kDefaultGlazeDbName;
    CStringArrayEx m_infoLines;
    int m_version = 0; // the "version" of the last file read
    // m_errorText (inherited) holds the message of a failed read.
};

// The glaze file's key table: 45 keys and the closing entry. Static storage because the reader
// counts each key's occurrences in it.
inline constexpr int kGlazeKeyCount = 45;
extern ParamDesc g_glzKeyTable[kGlazeKeyCount + 1];
