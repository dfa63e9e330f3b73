#pragma once

// The substitution document: the one substitution database of the running program.
//
// It owns the list in .sub files and writes the substitution texts. g_pSubstitutionsDoc points
// at it while it lives; the glaze document, the glaze edit view and the Choose a Substitution
// dialog find the substitutions through it. The file, the edit views, the list operations and
// their notices (kind 3, substitutions) are those of every record database
// (RecordDatabaseDoc.h).
//
// A file that cannot be opened or read leaves, after a message, an empty untitled database, no
// path and the profile value as it was, so the next start tries the file again. The list window is
// never closed while the program runs: closing it minimises it.

#include "records/RecordDatabaseDocOf.h"
#include "substitutions/SubstitutionList.h"

#include <iosfwd>
#include <span>
#include <string>

class CSubstitutionsDoc;

// Commands of the substitution document (menu texts in the comments).
enum SubstitutionsDocCommand : unsigned {
    CmdSaveSubstitutionDb = 32788,   // "&Save Substitution Database"
    CmdRevertSubstitutionDb = 32789, // "&Revert To Saved"
    CmdSaveSubstitutionDbAs = 32874, // "Save &As..."
    CmdNewSubstitutionDb = 32875,    // "&New Substitution Database"
    CmdOpenSubstitutionDb = 32876,   // "&Open Substitution Database..."
};

// The document template's string: only the window title.
inline constexpr const char* kSubstitutionsDocString = "Substitutions\n\n\n\n\n\n";

// Help contexts of the document's messages.
inline constexpr unsigned kSubstitutionOpenErrorHelpId = 0x30150;
inline constexpr unsigned kSubstitutionReadErrorHelpId = 0x30151;
inline constexpr unsigned kSubstitutionBackupQuestionHelpId = 0x30152;
inline constexpr unsigned kSubstitutionWriteErrorHelpId = 0x30153;

using CSubstitutionAccess =
    CNamedListAccess<CSubstitutionList, CSubstitution, &CSubstitutionList::m_records, &CSubstitutionList::m_dbName>;

// What the document asks of one substitution edit view, and the views as the user interface
// provides them (RecordDatabaseDoc.h).
using CSubstitutionEditLink = CRecordEditLink;
using CSubstitutionEditViews = CRecordEditViewsOf<CSubstitutionsDoc>;

inline CSubstitutionEditViews* GetSubstitutionEditViews()
{
    return static_cast<CSubstitutionEditViews*>(GetRecordEditViews(DbFileType::Substitutions));
}
inline void SetSubstitutionEditViews(CSubstitutionEditViews* views)
{
    SetRecordEditViews(DbFileType::Substitutions, views);
}

class CSubstitutionsDoc : public CRecordDatabaseDocOf<CSubstitutionAccess> {
public:
    // An empty database named "Substitutions"; sets g_pSubstitutionsDoc and registers the
    // singleton.
    CSubstitutionsDoc();
    // Clears g_pSubstitutionsDoc and the registration (only where they still point here).
    ~CSubstitutionsDoc() override;

    CSubstitutionList& Substitutions() { return m_records; }
    const CSubstitutionList& Substitutions() const { return m_records; }

    // Stores the database name and marks the document modified.
    void SetDatabaseName(const std::string& name)
    {
        m_records.m_dbName = name;
        SetModifiedFlag();
    }

    // --- texts (SubstitutionText.h), with the current print preferences ---

    // The summary of record, or when it is null of the records at indices, one after the other
    // (indices out of range skipped).
    void WriteSummaries(std::ostream& out, std::span<const int> indices, const CSubstitution* record) const;
    void WriteTable(std::ostream& out) const;

protected:
    void ResetRecords() override { m_records.Reset(); }
    CSubstitutionList& Clipboard() const override { return g_substitutionClipboard; }
};

// The one substitution document, or null when none exists.
extern CSubstitutionsDoc* g_pSubstitutionsDoc;
