#pragma once

// The limit-formulas document: the one limit-formula database of the running program.
//
// It owns the database (formulas, name, information lines, oxide combinations), opens and saves
// .lim files, offers the record operations of the views as document operations that mark the
// document modified, and compiles new formulas from glazes. While it lives g_pLimitFormulasDoc
// points at it and its database is the current limit-formula database, against which every
// limit is evaluated; both are cleared when it is destroyed.
//
// Notices it sends, all of kind 4 (limit formulas): HintLimitFormulasReplaced after New, Open and
// Revert, HintDocumentSaved after Save and Save As. The views send the codes of their own edits.
//
// A file that cannot be opened or read leaves, after a message, an empty database (without
// combinations), no path and the profile value as it was, so the next start tries the file again.
// The list window is never closed while the program runs: closing it minimises it.

#include "framework/Document.h"
#include "limits/LimitFormulaDB.h"
#include "support/NamedItemList.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class CFrameHost;
class CLimitFormulasDoc;
class CMakeLimitFormulaRequest;
class CView;

// Commands of the limit-formulas document (menu texts in the comments).
enum LimitFormulasDocCommand : unsigned {
    CmdSaveLimitFormulaDb = 32788,   // "&Save Limit Formula Database"
    CmdRevertLimitFormulaDb = 32789, // "&Revert To Saved"
    CmdSaveLimitFormulaDbAs = 32874, // "Save &As..."
    CmdNewLimitFormulaDb = 32875,    // "&New Limit Formula Database"
    CmdOpenLimitFormulaDb = 32876,   // "&Open Limit Formula Database..."
};

// The document template's string: only the window title.
inline constexpr const char* kLimitFormulasDocString = "Limit Formulas\n\n\n\n\n\n";

// Help contexts of the document's messages.
inline constexpr unsigned kLimitFormulaOpenErrorHelpId = 0x30119;
inline constexpr unsigned kLimitFormulaReadErrorHelpId = 0x30120;
inline constexpr unsigned kLimitFormulaBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kLimitFormulaWriteErrorHelpId = 0x30122;
inline constexpr unsigned kMakeLimitFormulaHelpId = 371;

// What the document asks of one limit-formula edit form.
class CLimitFormulaEditLink {
public:
    virtual ~CLimitFormulaEditLink() = default;
    // Asks "Save changes to "<name>" ?" when the form has unsaved changes: MsgResultYes,
    // MsgResultNo or MsgResultCancel (No without asking when there are none).
    virtual int AskSaveChanges() = 0;
    // Writes the form's formula back into the database.
    virtual void SaveToDatabase() = 0;
    // Sets or clears the form's unsaved-changes state.
    virtual void SetChanged(bool changed) = 0;
};

// The limit-formula edit forms of the user interface, as the document reaches them. The user
// interface installs one; without one there are no edit forms.
class CLimitFormulaEditViews {
public:
    virtual ~CLimitFormulaEditViews() = default;
    // Opens an edit form on the formula at index. False when no frame could be made.
    virtual bool OpenEditView(CLimitFormulasDoc& document, int index) = 0;
    // Opens an edit form restricted to the formulas at the indices.
    virtual bool OpenLimitedEditView(CLimitFormulasDoc& document, const std::vector<int>& indices) = 0;
    // The view as an edit form, or null when it is another kind of view.
    virtual CLimitFormulaEditLink* AsEditView(CView* view) = 0;
};

CLimitFormulaEditViews* GetLimitFormulaEditViews();
void SetLimitFormulaEditViews(CLimitFormulaEditViews* views);

class CLimitFormulasDoc : public CDocument, public CDatabaseDoc<CLimitFormula> {
public:
    // An empty database; sets g_pLimitFormulasDoc, registers the singleton and installs the
    // database as the current limit-formula database.
    CLimitFormulasDoc();
    // Clears the three (only where they still point here).
    ~CLimitFormulasDoc() override;

    CLimitFormulaDB& Database() { return m_database; }
    const CLimitFormulaDB& Database() const { return m_database; }

    // --- record operations: each marks the document modified (MoveRecord, SwapRecords and
    // Alphabetize come from CDatabaseDoc) ---

    void RemoveFormula(int n);
    void InsertFormula(int n, const CLimitFormula& formula);
    void SetFormula(int n, const CLimitFormula& formula);

    // Compiles the formula the request describes (CompileLimitFormula), writes its statistics to
    // the Information window when asked, and appends it. Returns its index; -1 after a message
    // when no glaze was used.
    int CompileFromGlazes(const CMakeLimitFormulaRequest& request);

    std::string GetDatabaseName() const override { return m_database.m_name; }
    // The Select One rows: one per formula in database order, reading its name.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done.
    int OpenDatabase(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenDatabase(path); }

    // Edit forms. OpenEditView returns 0 when no frame could be made. AskEditViews asks every
    // edit form about its unsaved changes (Yes saves); with close each is closed afterwards.
    // 0 when the user cancelled, else 1.
    int OpenEditView(int index);
    void OpenLimitedEditView(const std::vector<int>& indices);
    int AskEditViews(bool close);

    // The summary (LimitFormulaSummary.h) of formula, or when it is null of the formulas at
    // indices, with the current print preferences.
    void WriteSummary(std::ostream& out, std::span<const int> indices, bool withHeader,
                      const CLimitFormula* formula) const;

    // --- document life ---

    // An empty database with one "new limit formula" and the fourteen default combinations.
    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty database after a message.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    bool SaveModified() override;
    bool CanCloseFrame(CFrameHost* frame) override;
    // Stores the path only: the title stays as it was.
    void SetPathName(const std::string& path, bool addToRecentFiles = true) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    CNamedItemList<CLimitFormula>& DatabaseRecords() override { return m_database.m_formulas; }
    void MarkDatabaseModified() override { SetModifiedFlag(); }

private:
    void Broadcast(int code, int index);
    void OnFileOpen();
    // The save question of one edit form; false when the user cancelled.
    bool AskEditView(CView* view, CLimitFormulaEditLink& link, bool close);

    CLimitFormulaDB m_database;
};

// The one limit-formulas document, or null when none exists.
extern CLimitFormulasDoc* g_pLimitFormulasDoc;
