#pragma once

// The contents of a glaze database: its glazes in order, its name and information lines, and its
// file (.glz, file type "Oxidarium Glazes").
//
// The file is a text of "key = value" lines: the common database header, then the glazes in list
// order, each opened by its "name" line. It is read through the shared parameter-file reader with
// the key table g_glzKeyTable, the list being the reader's context (the glaze being read is the
// last one of the list), and written by Write in a fixed layout that other programs and older
// files rely on byte for byte. A whole file (ReadFile) is read in pieces on several threads when
// it is large, with the result one read gives.

#include "glazes/Glaze.h"
#include "support/NamedItemList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>
#include <string_view>

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
    // The same for a whole file: reads in from where it stands to its end, with the result,
    // glazes and message Read gives. A large file is read in pieces on several threads
    // (support/ParamFilePieces.h). A stream that cannot tell its size is read by Read.
    int ReadFile(std::istream& in);
    // The same for a file's bytes in memory.
    int ReadText(std::string_view text);
    // Writes the header and every glaze. Returns 0, or 1 when the stream failed.
    int Write(std::ostream& out) const;

    // --- list operations (GlazeListOps.cpp, GlazeSort.cpp); out-of-range indexes do nothing ---

    // Frees the glaze at index and closes the gap.
    void RemoveAt(int index);
    // The glaze at index taken out of the list (null outside it), for the caller to keep.
    std::unique_ptr<CGlaze> TakeAt(int index) { return m_glazes.Take(index); }
    // Inserts a copy of glaze before index (0..count).
    void InsertCopyAt(int index, const CGlaze& glaze);
    // Assigns glaze into the glaze at index.
    void AssignAt(int index, const CGlaze& glaze);
    // Puts the glaze at from before the glaze that stands at to (from toward the front: at to;
    // toward the end: at to - 1); the others keep their order. Nothing when from == to.
    void Move(int from, int to);
    // The first glaze whose name equals name ignoring case, else null.
    CGlaze* FindByName(std::string_view name) { return m_glazes.FindByName(name); }
    const CGlaze* FindByName(std::string_view name) const { return m_glazes.FindByName(name); }
    // Sorts by name, then by the criterion's key (0..kGlazeSortCount - 1; others do nothing), so
    // the key decides and the names break its ties. alphabetical orders description fields and
    // limit formulas by their text instead of by the preferences' vocabulary and the database
    // order; element (outside 0..103: silicon) is the oxide of the oxide criteria.
    void SortBy(int criterion, bool alphabetical, int element);

    // The reader's view of the list: the glaze being read is the last one.
    bool NoCurrentRecord() const override { return m_glazes.empty(); }
    CGlaze& CurrentRecord() { return *m_glazes.back(); }

    CNamedItemList<CGlaze> m_glazes;
    std::string m_name = kDefaultGlazeDbName;
    CStringArrayEx m_infoLines;
    int m_version = 0; // the "version" of the last file read
    // m_errorText (inherited) holds the message of a failed read.
};

// True for an amount above 0 that a glaze database file writes as 0 (below half its last decimal,
// "1e-320"): no recipe keeps it, and the importers take it for no amount.
bool AmountWrittenAsZero(double amount);

// The sort criteria of the Sort dialog: its label and the key letter compared after the name.
struct CGlazeSortCriterion {
    const char* label;
    char key;
};
inline constexpr int kGlazeSortCount = 26;
extern const CGlazeSortCriterion g_glazeSortCriteria[kGlazeSortCount];

// Index texts in natural order: empty last; texts without a digit ignoring case; otherwise the
// parts before the first digit ignoring case, then the digit runs as whole numbers of any
// length, then the rests ignoring case (A9 < A10 < A10b). -1, 0 or 1.
int CompareGlazeIndexes(std::string_view a, std::string_view b);

// The glaze file's key table: 45 keys and the closing entry. Static storage because the reader
// counts each key's occurrences in it.
inline constexpr int kGlazeKeyCount = 45;
extern ParamDesc g_glzKeyTable[kGlazeKeyCount + 1];
// Whether a key of the table belongs to the database header (information lines, name, file type,
// version) rather than to a glaze.
bool IsGlazeListHeaderKey(const char* key);
