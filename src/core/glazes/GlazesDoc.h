#pragma once

// The glaze database document: one .glz file the program has open. Any number may be open at
// once, all through the glaze template (g_pGlazesTemplate); each has one list view and any
// number of glaze edit views and glaze analysis views.
//
// The document owns the glazes (a CGlazeList), reads and writes the file, and funnels every
// change of a glaze through its record operations, which mark it modified but announce nothing:
// the caller sends the notice that fits its change. The document announces its own life events
// with kind 5 (glazes): HintDocumentSaved after Save and Save As, HintGlazesReplaced after
// Revert To Saved, HintDocumentClosing and HintDocumentClosed around a close. Opening is
// announced by whoever opened it (COxidariumApp::OpenAndAnnounce, NewGlazeDatabase).
//
// Unsaved edits are protected: before the database is saved or closed every glaze edit view
// holding changes asks whether to keep them, and Cancel there stops the save or the close. The
// user interface reaches the document's views through two small interfaces it implements:
// CGlazeViews (which views are glaze edit and analysis views) and CGlazeListSelection (the
// selected rows of the list view).

#include "framework/Document.h"
#include "framework/MessageService.h"
#include "glazes/GlazeList.h"
#include "shell/EditFormLink.h"
#include "shell/MergePlan.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

class CDocTemplate;
class CFrameHost;
class CGlazesDoc;
class CGraphTemplate;
class CView;

// Commands of the glaze database document (menu texts in the comments).
enum GlazesDocCommand : unsigned {
    CmdSaveGlazeDb = 33009,   // "&Save Glaze Database"
    CmdSaveGlazeDbAs = 33010, // "Save &As..."
    CmdCloseGlazeDb = 33014,  // "&Close"
    CmdRevertGlazeDb = 32785, // "&Revert To Saved"
};

// The glaze template: its resource id (also its menu's) and its document string.
inline constexpr unsigned kGlazesTemplateId = 3;
inline constexpr const char* kGlazesDocString =
    "\nGlazes\nGlazes\nGlaze Databases (*.glz)\n.glz\nOxidariumGlazes\nOxidarium Glazes";

// Help contexts of the document's messages.
inline constexpr unsigned kGlazeOpenErrorHelpId = 0x30119;
inline constexpr unsigned kGlazeReadErrorHelpId = 0x30120;
inline constexpr unsigned kGlazeBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kGlazeWriteErrorHelpId = 0x30122;
inline constexpr unsigned kGlazeSaveQuestionHelpId = 0x30141;
inline constexpr unsigned kGlazeConvertErrorHelpId = 0x30610;

// What the document asks of one glaze edit view, beyond the questions of every edit form.
class CGlazeEditLink : public CEditFormLink {
public:
    // The index of the glaze the view edits (-1 for none).
    virtual int GetGlazeIndex() const = 0;
    // Writes the working copy back through CGlazesDoc::ReplaceGlaze and announces it.
    virtual void SaveGlaze() = 0;
    void WriteBack() final { SaveGlaze(); }
};

// What the document asks of one glaze analysis view.
class CGlazeAnalysisLink {
public:
    virtual ~CGlazeAnalysisLink() = default;
    virtual int GetGlazeIndex() const = 0;
};

// What a graph window opened from a glaze window draws.
struct CGlazeGraphRequest {
    int glaze = -1;                                // index in the document; -1 for none
    const CGraphTemplate* graphTemplate = nullptr; // null: the first template of the database
    std::string limitFormula;                      // drawn with the glaze; empty for none
    int units = -1;                                // 0 unity, 1 weight %, 2 mol %; -1 the template's
};

// The glaze edit and analysis views of the user interface, as the documents reach them. The
// user interface installs one; without one no view is an edit or analysis view.
class CGlazeViews {
public:
    virtual ~CGlazeViews() = default;
    // The view as a glaze edit view (analysis view), or null when it is another kind of view.
    virtual CGlazeEditLink* AsEditView(CView* view) = 0;
    virtual CGlazeAnalysisLink* AsAnalysisView(CView* view) = 0;

    // Windows the glaze list opens; each false when nothing was opened (the default).
    // A new edit window on the glaze at indices[0]; with limited set (Edit (limited)) it steps
    // through all of indices.
    virtual bool OpenEditView(CGlazesDoc& /*document*/, std::span<const int> /*indices*/, bool /*limited*/)
    {
        return false;
    }
    // A new report window on the glaze at index.
    virtual bool OpenAnalysisView(CGlazesDoc& /*document*/, int /*index*/) { return false; }
    // A new graph window on the glaze at index (-1: none) with the first graph template.
    virtual bool OpenGraphView(CGlazesDoc& /*document*/, int /*index*/) { return false; }
    // A new graph window as a glaze window asks for it; by default the glaze alone.
    virtual bool OpenGlazeGraphView(CGlazesDoc& document, const CGlazeGraphRequest& request)
    {
        return OpenGraphView(document, request.glaze);
    }
};

CGlazeViews* GetGlazeViews();
void SetGlazeViews(CGlazeViews* views);

// The rows of the document's list view, one per glaze in list order.
class CGlazeListSelection {
public:
    virtual ~CGlazeListSelection() = default;
    // The selected rows in ascending order.
    virtual std::vector<int> GetSelectedRows() const = 0;
    virtual void ClearSelection() = 0;
    // Adds the row to the selection.
    virtual void SelectRow(int row) = 0;
    // Adds the rows to the selection; a list selects many rows at once.
    virtual void SelectRows(std::span<const int> rows)
    {
        for (int row : rows)
            SelectRow(row);
    }
};

class CGlazesDoc : public CDocument {
public:
    CGlazesDoc();
    ~CGlazesDoc() override;

    CGlazeList& Glazes() { return m_glazes; }
    const CGlazeList& Glazes() const { return m_glazes; }
    int GetGlazeCount() const { return m_glazes.GetCount(); }
    // Null for an index out of range.
    CGlaze* GetGlaze(int index);
    const CGlaze* GetGlaze(int index) const;

    // The database name ("dbname"; "Glazes" for a new database).
    std::string GetDbName() const { return m_glazes.m_name; }
    std::string GetDatabaseName() const override { return GetDbName(); }
    void SetDbName(const std::string& name) { m_glazes.m_name = name; }
    // The Select One rows: one per glaze in list order, reading its name.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;

    // --- record operations: each marks the document modified and announces nothing ---

    void DeleteGlaze(int index);
    // Takes the glazes at rows (ascending) out of the database and hands them over. The caller
    // keeps them until every window has heard that they are gone: a window of another document
    // (a graph) may redraw from one of them before its own notice comes.
    std::vector<std::unique_ptr<CGlaze>> TakeGlazes(std::span<const int> rows);
    // index 0..count; count appends.
    void InsertGlaze(int index, const CGlaze& glaze);
    void ReplaceGlaze(int index, const CGlaze& glaze);
    void SwapGlazes(int a, int b);
    void MoveGlaze(int from, int to);
    void SortGlazes(int criterion, bool alphabetical, int element);
    // Nothing at all, the flag included, for an index out of range.
    void SetGlazeField(int index, int field, const std::string& text);
    // Frees every glaze without marking the document modified (a new database that a command
    // fills starts this way).
    void RemoveAllGlazes();
    // Makes a material of each glaze at indices (a frit, or a mixture) and appends it to the
    // materials database; a glaze that cannot be converted is reported and skipped. Returns the
    // number of materials made.
    int ConvertGlazeToMaterial(std::span<const int> indices, bool asFrit);

    // --- the list view's selection ---

    // The list view sets itself when it is first shown (null, null when it goes).
    void SetListView(CView* view, CGlazeListSelection* selection);
    CView* GetListView() const;
    // Appends the selected glazes in list order, or every glaze when all is set.
    void GetSelectedGlazes(std::vector<CGlaze*>& glazes, bool all);
    int GetSelectedCount(bool all) const;
    void ClearSelection();
    // Adds the row to the selection when 0 <= index < count.
    void SelectGlaze(int index);
    // The same for many rows at once.
    void SelectGlazes(std::span<const int> indices);

    // --- edit and analysis views ---

    // The edit views on the glazes at indices ask about their unsaved changes, before what when
    // names (AskForms: every answer first, then Yes saves; No keeps or drops the edits as when
    // says), so that no unsaved edit vanishes unasked. False when the user cancelled; the command
    // then leaves the glazes and the forms alone.
    bool AskEditFormsOf(std::span<const int> indices, FormsAsked when);
    // The same for every edit view, whatever its glaze.
    bool AskEveryEditForm(FormsAsked when);
    // The edit views on the glazes at indices, or on any glaze: a command that changes more than
    // this database asks them together with the others it changes.
    std::vector<CEditForm> EditFormsOf(std::span<const int> indices, bool all) const;
    // The edit views on the glazes a merge replaces are asked, glaze by glaze
    // (CMergePlan::AskForms); a No takes its glaze out of the plan. False on Cancel.
    bool AskMergeForms(CMergePlan& plan);
    // Before the glazes at indices are deleted: every edit view on one of them with unsaved
    // changes asks whether to delete it all the same (ConfirmDeleteWithForms).
    // False when the user said No to any; then every view keeps its edits.
    bool ConfirmDeleteWithEditViews(std::span<const int> indices, RecordGoes goes = RecordGoes::Deleted);
    // Whether an edit view holds unsaved changes (Revert To Saved would drop them).
    bool FormsHoldEdits() const override;
    // The edit (analysis) view showing the glaze at index, else null.
    CView* FindEditView(int index) const;
    CView* FindAnalysisView(int index) const;

    // --- document life ---

    // One glaze "new glaze", not modified.
    bool OnNewDocument() override;
    // False, after a message, when the file cannot be opened or read; the document then holds
    // no glazes and keeps the path. Never modified afterwards.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    // Announces the close before and after the framework's close.
    void OnCloseDocument() override;
    // The edit views first (BeforeClose, or BeforeSave for a save alone), then the database's
    // own question.
    bool SaveModified(SaveModifiedFor reason) override;
    bool CanCloseFrame(CFrameHost* frame) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    // Re-reads the file, after one question said that it drops the unsaved changes of the
    // database and of its edit views (ConfirmRevertToSaved; Cancel reverts nothing). A file that cannot be read leaves the
    // glazes and the views' edits as they are (after the message), and so does one that may have
    // been cut short unless the user reverts to it all the same (ConfirmRevertToCutFile); true
    // when the document was reloaded, its edit views' edits dropped for the notice that closes
    // them. The glazes it held
    // are handed to gone when given (so that they outlive the notice of the new ones), else freed.
    bool RevertToSaved(CNamedItemList<CGlaze>* gone = nullptr);

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    // The file's glazes into list and what the file was before the read into stamp; false
    // after a message when it cannot be opened or read. What the read noticed is told after
    // (ReportReadNotes).
    bool ReadFile(const std::string& path, CGlazeList& list, CFileStamp& stamp) const;
    // The edit and analysis views close without a question (every one was asked before).
    void CloseGlazeViews();
    void SaveCommand(bool saveAs);
    CGlazeListSelection* Selection() const;

    CView* m_pListView = nullptr;
    CGlazeListSelection* m_pSelection = nullptr;
    CGlazeList m_glazes;
};

// The glaze template: glaze database documents, opened and started as File New and Open do.
std::unique_ptr<CDocTemplate> CreateGlazesTemplate();
