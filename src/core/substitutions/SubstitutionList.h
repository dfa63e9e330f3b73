#pragma once

// The substitution database in memory: the substitutions in the user's order, the database's
// name and information lines, and the reader's last message. The substitution document owns
// one; the in-program substitution clipboard is another.
//
// The list is the reading context of its file (SubstitutionFile.cpp). A .sub file looks like
// this (LF line ends; the reader also takes CR LF and CR):
//
//     filetype = Oxidarium Substitutions
//     version =  2
//     dbname  = Substitutions
//     I = |an information line
//     (empty line)
//     name    = Wollastonite for whiting and silica
//     date    = 05/01/2024
//     set1mat = Whiting
//     set1amt = 100.00000
//     set2mat = Wollastonite
//     set2amt = 116.06000
//     note = |a note line
//     (empty line after every substitution)
//
// The '|' in front of note and information texts keeps their leading blanks through the
// reader's trimming; the reader always drops the first character of such a value again.

#include "substitutions/Substitution.h"
#include "support/NamedItemList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>

// The file type written in, and required of, every substitution database file.
inline constexpr const char* kSubstitutionFileType = "Oxidarium Substitutions";
// The name of a new or emptied database, and of the substitution clipboard.
inline constexpr const char* kDefaultSubstitutionDbName = "Substitutions";

class CSubstitutionList : public CParamFileContext {
public:
    CSubstitutionList() = default;
    CSubstitutionList(const CSubstitutionList&) = delete;
    CSubstitutionList& operator=(const CSubstitutionList&) = delete;
    ~CSubstitutionList() override = default;

    // Drops every record and information line; the name becomes "Substitutions".
    void Reset();

    int GetCount() const { return m_records.GetCount(); }
    // The record at index, or null when the index is out of range.
    CSubstitution* GetAt(int index) { return m_records.At(index); }
    const CSubstitution* GetAt(int index) const { return m_records.At(index); }
    // The position of the record itself (by identity), or -1: lets a view tell whether the record
    // it edits still exists.
    int IndexOf(const CSubstitution* record) const { return m_records.IndexOf(record); }

    // An index out of range does nothing (0..count for an insertion).
    void InsertAt(int index, const CSubstitution& record) { m_records.InsertCopy(index, record); } // before index
    void RemoveAt(int index) { m_records.RemoveAt(index); }
    // Assigned into the existing record.
    void SetAt(int index, const CSubstitution& record) { m_records.AssignAt(index, record); }

    // Reads a .sub file from in: 0 with the records read, else the reader's code with the message
    // in m_errorText and the list left empty with the default name.
    int Read(std::istream& in);
    // Writes the whole database; 0, or non-zero when the stream failed. Opens, backs up and
    // closes nothing.
    int Write(std::ostream& out) const;

    // The reader's view: the record being read is the last one.
    bool NoCurrentRecord() const override { return m_records.empty(); }
    CSubstitution& CurrentRecord() { return *m_records.back(); }

    CNamedItemList<CSubstitution> m_records;
    std::string m_dbName = kDefaultSubstitutionDbName; // header key "dbname"
    CStringArrayEx m_infoLines;                        // header key "I"
    int m_fileVersion = 0;                             // the "version" of the last file read
    // m_errorText (inherited): the reader's last message.
};

// The clipboard protocol of shell/Clipboards.h for substitutions.
// The substitution clipboard, named "Substitutions"; valid while an application context exists.
extern CSubstitutionList& g_substitutionClipboard;

void ClearClipboard(CSubstitutionList& clipboard);
int ClipboardCount(const CSubstitutionList& clipboard);
const CSubstitution& ClipboardRecord(const CSubstitutionList& clipboard, int index);
void AppendToClipboard(CSubstitutionList& clipboard, const CSubstitution& record);
