#pragma once

// The record databases: materials, limit formulas, substitutions and graph templates.
//
// Each is the one document of its kind for the whole run, holds a list of named records and is
// shown by one list window, which minimises instead of closing, and by any number of edit
// windows, each working on a copy of one record. CRecordDatabaseDoc is everything they share:
//
//   file        New, Open, Save, Save As and Revert To Saved as document commands; the open and
//               Save As questions with the kind's titles and filter; reading and writing through
//               the kind's collection; the path remembered in the profile for the next start.
//   edit        the registry through which the user interface opens edit windows and the
//   windows     document reaches them (CRecordEditLink); the save question on closing, before a
//               save of the database, and before every command that replaces, deletes or
//               rewrites records, where Cancel stops the command with nothing changed.
//   list        delete, cut, copy, paste, insert new, shift up and down, selected to top,
//   operations  alphabetize, merge, save selected as and database notes: each changes the
//               records, marks the document modified and announces the change once, with the
//               list window that asked as the sender (it refreshes itself).
//
// A kind states what differs in a CRecordDatabaseKind (texts, filter, profile key, help
// contexts, update codes and command ids) and in a few hooks (emptying, reading, writing, a new
// database). CRecordDatabaseDocOf (RecordDatabaseDocOf.h) adds the typed record operations over
// the kind's collection; the concrete documents (CMaterialsDoc, CLimitFormulasDoc,
// CSubstitutionsDoc, CGraphTypesDoc) derive from it.

#include "framework/Document.h"
#include "framework/MessageService.h"
#include "shell/EditFormLink.h"
#include "shell/MergePlan.h"
#include "support/DbFileType.h"

#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CFrameHost;
class CParamFileContext;
struct CParamReadNotes;
class CRecordDatabaseDoc;
class CStringArrayEx;
class CView;

// The update codes of one kind's records (UpdateHintCode).
struct CRecordHintCodes {
    int changed;   // index: the record; extra: the record
    int inserted;  // index: the first new record
    int deleted;   // index: the first deleted record
    int reordered; // index: the new place of a moved record, else 0
    int replaced;  // every record may have changed: edit windows close
};

// The document's file commands.
struct CRecordFileCommands {
    unsigned newDatabase;
    unsigned open;
    unsigned save;
    unsigned saveAs;
    unsigned revert;
};

// What one kind of record database states about itself.
struct CRecordDatabaseKind {
    DbFileType kind;
    const char* title;            // the window title until the list window shows the name
    const char* profileKey;       // profile "Files" value naming the file the next start opens
    const char* fileFilter;       // the open, save, merge and save-selected dialogs' filter
    const char* defaultExtension; // without the point
    const char* openTitle;        // the Open command's dialog
    const char* saveAsTitle;      // the Save As dialog
    const char* newRecordName;    // Insert new, Append new and a new database's first record
    unsigned openDialogHelpId;
    unsigned saveDialogHelpId;
    unsigned openErrorHelpId;  // "<path>: Error opening file"
    unsigned readErrorHelpId;  // "<path>: <reader message>"
    unsigned backupHelpId;     // "<backup message> -- Continue with Save?"
    unsigned writeErrorHelpId; // "<path>: Error writing file"
    CRecordHintCodes hints;
    CRecordFileCommands commands;
    // A file that cannot be read leaves the document titled "Untitled".
    bool untitledWhenUnread = false;
    // "Unable to merge file <path>".
    unsigned mergeOpenErrorHelpId = 0x30221;
    // Shift Down announces the row each record left instead of the row it moved to.
    bool shiftDownAnnouncesOldRow = false;
};

// What the document asks of one edit window, beyond the questions of every edit form.
class CRecordEditLink : public CEditFormLink {
public:
    // Writes the window's working copy back into the database.
    virtual void SaveToDatabase() = 0;
    void WriteBack() final { SaveToDatabase(); }
    // The index of the record the window edits, -1 for none. A window that cannot tell is asked
    // only by the questions about the whole database.
    virtual int EditedRecordIndex() const { return -1; }
};

// The edit windows of one kind, as the user interface provides them. Without one installed
// there are no edit windows.
class CRecordEditViews {
public:
    virtual ~CRecordEditViews() = default;
    // Opens an edit window on the record at index (out of range: on no record), or restricted
    // to the records at the indices. False when no window could be made.
    virtual bool OpenEditViewOn(CRecordDatabaseDoc& document, int index) = 0;
    virtual bool OpenLimitedEditViewOn(CRecordDatabaseDoc& document, const std::vector<int>& indices) = 0;
    // The view as an edit window, or null when it is another kind of view.
    virtual CRecordEditLink* AsEditView(CView* view) = 0;
    // Views of the kind that close like any window (neither the list nor an edit window).
    virtual bool ClosesFreely(CView* /*view*/) { return false; }
};

// The same for a kind's document class: the user interface opens windows on a Doc.
template <class Doc>
class CRecordEditViewsOf : public CRecordEditViews {
public:
    virtual bool OpenEditView(Doc& /*document*/, int /*index*/) { return false; }
    virtual bool OpenLimitedEditView(Doc& /*document*/, const std::vector<int>& /*indices*/) { return false; }

private:
    bool OpenEditViewOn(CRecordDatabaseDoc& document, int index) final
    {
        return OpenEditView(static_cast<Doc&>(document), index);
    }
    bool OpenLimitedEditViewOn(CRecordDatabaseDoc& document, const std::vector<int>& indices) final
    {
        return OpenLimitedEditView(static_cast<Doc&>(document), indices);
    }
};

// The installed edit windows of a kind, or null.
CRecordEditViews* GetRecordEditViews(DbFileType kind);
void SetRecordEditViews(DbFileType kind, CRecordEditViews* views);

// A file of a record database read for a merge.
class CRecordSource {
public:
    virtual ~CRecordSource() = default;
    virtual int Count() const = 0;
    virtual std::string NameAt(int index) const = 0;
};

// The merge dialog's methods.
inline constexpr int kMergeAppendAll = 0;
inline constexpr int kMergeReplaceExisting = 1;

// What a merge did.
struct CMergeCounts {
    int appended = 0;
    int replaced = 0;
    int oldCount = 0; // records before the merge: the first appended one stands here
    std::vector<const void*> replacedRecords; // the identities of the records replaced
};

class CRecordDatabaseDoc : public CDocument {
public:
    // Sets the kind's title and registers the document as the one of its kind.
    explicit CRecordDatabaseDoc(const CRecordDatabaseKind& kind);
    // Leaves the registration (only where it still names this document).
    ~CRecordDatabaseDoc() override;

    const CRecordDatabaseKind& Kind() const { return m_kind; }
    int KindCode() const { return static_cast<int>(m_kind.kind); }

    // --- the records in general terms; each change marks the document modified ---

    virtual int GetRecordCount() const = 0;
    // The record at index as an identity (null out of range): edit windows find their record
    // again by it after the list changed.
    virtual const void* GetRecordIdentity(int index) const = 0;
    int FindRecordIdentity(const void* record) const;
    virtual std::string GetRecordName(int index) const = 0;
    virtual void RemoveRecord(int index) = 0;
    // The record at index taken out of the list (null out of range), for the caller to keep.
    virtual std::shared_ptr<void> TakeRecord(int index) = 0;
    // Every record taken out of the list at once, for the caller to keep; the settings stay.
    virtual std::shared_ptr<void> TakeAllRecords() = 0;
    // What TakeAllRecords took, back in place of the records the database holds.
    virtual void PutBackAllRecords(const std::shared_ptr<void>& all) = 0;
    virtual void InsertNewRecord(int index) = 0;
    // A copy of the record at index inserted after it (nothing out of range); the record keeps
    // its identity.
    virtual void DuplicateRecord(int index) = 0;
    // Even when an index is out of range and nothing moves, these mark the document modified.
    virtual void SwapRecords(int i, int j) = 0;
    virtual void MoveRecord(int from, int to) = 0;
    virtual void Alphabetize() = 0;
    virtual const CStringArrayEx& GetInfoLines() const = 0;
    // The notes dialog's result: the database name and information lines.
    virtual void SetDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines) = 0;
    // The kind's in-program clipboard (shell/Clipboards.h): whether it holds records, Copy of the
    // rows, and copies of its records inserted at position (their number; 0 when empty or the
    // position is past the end).
    virtual bool CanPasteRecords() const = 0;
    virtual void CopyRecordsToClipboard(std::span<const int> rows) const = 0;
    virtual int InsertClipboardRecords(int position) = 0;
    // Writes copies of the records at rows, with the database's settings, to a new file. Shows
    // "<path>: Error opening file" or "<path>: Error writing file" and returns false on failure.
    virtual bool SaveRecordsAs(const std::string& path, std::span<const int> rows) const = 0;

    // --- merging another file of this kind ---

    // Reads path for a merge: null after "Unable to merge file <path>" or the reader's message.
    virtual std::unique_ptr<CRecordSource> ReadRecordFile(const std::string& path) const = 0;
    // The index of the record named name (ignoring case), else -1.
    virtual int FindRecordByName(std::string_view name) const = 0;
    // What a merge of the chosen records of file does: all appended (kMergeAppendAll), or those
    // whose name is new appended and the others assigned over the record of that name
    // (kMergeReplaceExisting). Names are matched against the database as it stands now.
    CMergePlan PlanMerge(const CRecordSource& file, const std::vector<int>& chosen, int method) const;
    // The edit windows on the records the plan replaces are asked, record by record
    // (CMergePlan::AskForms); a No takes its record out of the plan. False on Cancel.
    bool AskMergeForms(CMergePlan& plan);
    // Carries out the plan with copies of the records of a file this document read. Announces
    // nothing (AnnounceMerge does).
    virtual CMergeCounts MergeRecords(const CRecordSource& file, const CMergePlan& plan) = 0;

    // --- list operations: announced once from sender ---

    // Asks the edit windows of the rows, then removes the rows last first and announces the
    // first. False, with nothing removed, when the user cancelled.
    bool DeleteRecords(std::span<const int> rows, CView* sender);
    // Copy, then DeleteRecords. False when nothing was selected or the user cancelled.
    bool CutRecords(std::span<const int> rows, CView* sender);
    // The clipboard's records inserted at position; their number.
    int PasteRecords(int position, CView* sender);
    void InsertNewRecordAt(int position, CView* sender);
    // Each selected record, first to last, changes places with the one above; the rows move
    // with them. Nothing when the first row is selected.
    std::vector<int> ShiftRecordsUp(std::span<const int> rows, CView* sender);
    // The same downwards, last to first; nothing when the last row is selected.
    std::vector<int> ShiftRecordsDown(std::span<const int> rows, CView* sender);
    // The k-th selected record moves to position k.
    void MoveRecordsToTop(std::span<const int> rows, CView* sender);
    void AlphabetizeRecords(CView* sender);
    // Stores the notes; announces a changed database name.
    void ChangeDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines, CView* sender);
    // Announces the merge: the records replaced (their windows show them as merged, the windows
    // on other records stay), else the appended ones.
    void AnnounceMerge(const CMergeCounts& counts, CView* sender);
    // Sends a notice of this document's kind. A notice that records were deleted or replaced
    // frees the records that went once every window has heard it.
    void Announce(int code, int index, CView* sender = nullptr, const void* record = nullptr);

    // --- edit windows ---

    // Opens an edit window on the record at index; 0 when no window could be made.
    int OpenEditView(int index);
    // Opens an edit window restricted to the records at the indices; nothing when there are none.
    void OpenLimitedEditView(const std::vector<int>& indices);
    // The view as an edit window of this kind, or null.
    CRecordEditLink* EditLinkOf(CView* view) const;
    // The edit windows on the records at indices ask about their unsaved changes, before what
    // when names (AskForms: every answer first, then Yes saves; No keeps or drops the edits as
    // when says). False when the user cancelled: nothing has changed.
    bool AskEditFormsOf(std::span<const int> indices, FormsAsked when);
    // The same for every edit window, whatever its record: before a command that replaces the
    // whole database (its notice closes every edit window) or may rewrite any record, a save of
    // the database, or its windows' close.
    bool AskEveryEditForm(FormsAsked when);
    // The edit windows on the records at indices, or on any record: a command that changes more
    // than this database asks them together with the others it changes.
    std::vector<CEditForm> EditFormsOf(std::span<const int> indices, bool all) const;
    // Before the records at indices are deleted (or replaced by a merge): every edit window on one
    // of them with unsaved changes asks whether to delete it all the same
    // (ConfirmDeleteWithForms). False when the user said No to any; then every window keeps its
    // edits.
    bool ConfirmDeleteWithEditViews(std::span<const int> indices, RecordGoes goes = RecordGoes::Deleted);
    // Whether an edit window holds unsaved changes (Revert To Saved would drop them).
    bool FormsHoldEdits() const override;

    // --- the file ---

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done, also when the file could not be read.
    int OpenDatabase(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenDatabase(path); }

    // An emptied database with one new record.
    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty database after a
    // message, without a path; the profile keeps naming the file, so the next start tries again.
    bool OnOpenDocument(const std::string& path) override;
    // Revert To Saved: the file of the database's path read again, after one question said that
    // it drops the unsaved changes of the database and of its edit windows (ConfirmRevertToSaved;
    // Cancel reverts nothing). The file is read aside: one that cannot be read (gone, of another kind, damaged)
    // leaves the records, the path and the modified flag as they were after its message, and
    // every window keeps its edits; so does one that may have been cut short, unless the user
    // reverts to it all the same (ConfirmRevertToCutFile). False when nothing was reverted.
    bool RevertToSaved();
    bool OnSaveDocument(const std::string& path) override;
    // Windows of other documents hold records of a database (a graph window its limit formula):
    // its close is announced to them.
    void OnCloseDocument() override;
    CFileDialogRequest GetSaveAsRequest() const override;
    // The edit windows first (BeforeClose, or BeforeSave for a save alone), then the document's
    // own question.
    bool SaveModified(SaveModifiedFor reason) override;
    // An edit window asks its question; the list window minimises instead of closing.
    bool CanCloseFrame(CFrameHost* frame) override;
    // Stores the path only: the window's title stays.
    void SetPathName(const std::string& path, bool addToRecentFiles = true) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    // Empties the database before a file is read into it.
    virtual void ResetRecords() = 0;
    // Reads a file into a database of its own, which then goes, leaving this one untouched: 0, or
    // an error with its message in error; notes: what the read noticed. A revert reads its file
    // so first.
    virtual int ReadRecordsAside(std::istream& in, std::string& error, CParamReadNotes& notes) const = 0;
    // Empties the database for New and gives it its first record.
    virtual void StartNewDatabase();
    // Reads the file into the emptied database: 0, or an error with its message in error.
    virtual int ReadRecords(std::istream& in, std::string& error) = 0;
    // What the records were read into (it knows how the read ended).
    virtual const CParamFileContext& RecordsContext() const = 0;
    virtual bool WriteRecords(std::ostream& out) const = 0;
    // After a file was read, successfully or not.
    virtual void OnRecordsRead() {}
    // After records came in from the clipboard, or from a file merged.
    virtual void OnRecordsInserted() {}

private:
    void RemoveRows(std::span<const int> rows, CView* sender);
    // Takes every record out before the database is emptied (Open, New); they go with the notice
    // of the replacement.
    void RetireAllRecords();
    // Reads in, the file of path, into the emptied database: false after a message when it
    // cannot be read. cutShortAsked: the user chose to revert to a file that may have been cut
    // short, which its notes then leave out.
    bool ReadDatabaseFrom(const std::string& path, std::istream& in, bool cutShortAsked = false);
    void RememberFile(const std::string& path) const;
    void OnFileOpen();
    void OnFileSave(bool askForPath);
    CRecordEditViews* EditViews() const { return GetRecordEditViews(m_kind.kind); }

    const CRecordDatabaseKind& m_kind;
    // Records that left the database and the notice of their going has not yet reached every
    // window: a window of another document (a graph window drawing a template or a limit
    // formula) may redraw from one of them before its own notice comes, say when a window that
    // closes on the notice hands the workspace over to it, or while a message box about the
    // file is up.
    std::vector<std::shared_ptr<void>> m_outgoing;
};
