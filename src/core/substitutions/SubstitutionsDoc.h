#pragma once

// The substitution document: the one substitution database of the running program.
//
// It owns the list, opens and saves .sub files, offers the record operations of the views as
// document operations that mark the document modified, and writes the substitution texts.
// g_pSubstitutionsDoc points at it while it lives; the glaze document, the glaze edit view and
// the Choose a Substitution dialog find the substitutions through it.
//
// Notices it sends, all of kind 3 (substitutions): HintSubstitutionsReplaced after New, Open and
// Revert, HintDocumentSaved after Save and Save As. The views send the codes of their own edits.
//
// A file that cannot be opened or read leaves, after a message, an empty untitled database, no
// path and the profile value as it was, so the next start tries the file again. The list window is
// never closed while the program runs: closing it minimises it.

#include "framework/Document.h"
#include "substitutions/SubstitutionList.h"
#include "support/NamedItemList.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class CFrameHost;
class CView;

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

// What the document asks of one substitution edit view.
class CSubstitutionEditLink {
public:
    virtual ~CSubstitutionEditLink() = default;
    // Asks whether to save the view's unsaved changes: MsgResultYes, MsgResultNo or
    // MsgResultCancel (No without asking when there are none).
    virtual int AskSaveChanges() = 0;
    // Writes the view's working copy back into the database.
    virtual void SaveToDatabase() = 0;
    // Sets or clears the view's unsaved-changes state.
    virtual void SetChanged(bool changed) = 0;
};

// The substitution edit views of the user interface, as the document reaches them. The user
// interface installs one; without one there are no edit views.
class CSubstitutionEditViews {
public:
    virtual ~CSubstitutionEditViews() = default;
    // The view as a substitution edit view, or null when it is another kind of view.
    virtual CSubstitutionEditLink* AsEditView(CView* view) = 0;
};

CSubstitutionEditViews* GetSubstitutionEditViews();
void SetSubstitutionEditViews(CSubstitutionEditViews* views);

class CSubstitutionsDoc : public CDocument, public CDatabaseDoc<CSubstitution> {
public:
    // An empty database named "Substitutions"; sets g_pSubstitutionsDoc and registers the
    // singleton.
    CSubstitutionsDoc();
    // Clears g_pSubstitutionsDoc and the registration (only where they still point here).
    ~CSubstitutionsDoc() override;

    CSubstitutionList& Substitutions() { return m_substitutions; }
    const CSubstitutionList& Substitutions() const { return m_substitutions; }

    // --- record operations: each marks the document modified (also the shared SwapRecords,
    // MoveRecord and Alphabetize) ---

    void RemoveRecord(int index);
    void InsertRecord(int index, const CSubstitution& record);
    void SetRecord(int index, const CSubstitution& record);
    void SetDatabaseName(const std::string& name);

    std::string GetDatabaseName() const override { return m_substitutions.m_dbName; }
    // The Select One rows: one per substitution in database order, reading its name.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done.
    int OpenDatabase(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenDatabase(path); }

    // Asks every edit view about its unsaved changes (Yes saves). 0 when the user cancelled,
    // else 1.
    int AskEditViews();

    // --- texts (SubstitutionText.h), with the current print preferences ---

    // The summary of record, or when it is null of the records at indices, one after the other
    // (indices out of range skipped).
    void WriteSummaries(std::ostream& out, std::span<const int> indices, const CSubstitution* record) const;
    void WriteTable(std::ostream& out) const;

    // --- document life ---

    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty database after a message.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    bool SaveModified() override;
    bool CanCloseFrame(CFrameHost* frame) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    CNamedItemList<CSubstitution>& DatabaseRecords() override { return m_substitutions.m_records; }
    void MarkDatabaseModified() override { SetModifiedFlag(); }

private:
    void Broadcast(int code);
    void OnFileOpen();
    // The save question of one edit view; false when the user cancelled.
    bool AskEditView(CView* view, CSubstitutionEditLink& link);

    CSubstitutionList m_substitutions;
};

// The one substitution document, or null when none exists.
extern CSubstitutionsDoc* g_pSubstitutionsDoc;
