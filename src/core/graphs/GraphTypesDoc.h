#pragma once

// The graph-templates document: the one graph-template database of the running program.
//
// It owns the database, opens and saves .grt files, keeps the path in the profile
// ("Files"/"GraphTypeDBFileName") and offers the editing operations of its views as document
// operations that mark it modified. Three kinds of view share it: the list view, the template
// editors and the graph views. g_pGraphTypesDoc points at it while it lives.
//
// Notices it sends, all of kind 6 (graph templates): HintGraphTemplatesReplaced after New, Open
// and Revert To Saved, HintDocumentSaved after Save and Save As. The views send the codes of
// their own edits.
//
// A file that cannot be opened or read leaves, after a message, a database without templates (a
// failed read also resets the information lines and the colours), no path and an empty profile
// value as it was, so the next start tries the user's file again. The list window is never closed while the
// program runs: closing it minimises it.

#include "framework/Document.h"
#include "graphs/GraphTemplateDatabase.h"
#include "support/NamedItemList.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class CFrameHost;
class CView;

// Commands of the graph-templates document (menu texts in the comments).
enum GraphTypesDocCommand : unsigned {
    CmdNewGraphTypeDb = 33100,    // "&New Graph Template Database"
    CmdOpenGraphTypeDb = 33101,   // "&Open Graph Template Database..."
    CmdSaveGraphTypeDb = 33102,   // "&Save Graph Template Database"
    CmdSaveGraphTypeDbAs = 33103, // "Save &As..."
    CmdRevertGraphTypeDb = 33104, // "&Revert To Saved"
};

// The document template's string: only the window title.
inline constexpr const char* kGraphTypesDocString = "Graph Templates\n\n\n\n\n\n";
// The open and save dialogs' filter.
inline constexpr const char* kGraphTemplateFileFilter = "Graph Template Files (*.grt)|*.grt|All Files (*.*)|*.*||";

// Help contexts of the document's messages.
inline constexpr unsigned kGraphTypesOpenErrorHelpId = 0x30119;
inline constexpr unsigned kGraphTypesReadErrorHelpId = 0x30120;
inline constexpr unsigned kGraphTypesBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kGraphTypesWriteErrorHelpId = 0x30122;

// What the document asks of one template editor.
class CGraphTypeEditLink {
public:
    virtual ~CGraphTypeEditLink() = default;
    // The index of the template the editor works on.
    virtual int GetTemplateIndex() const = 0;
    // Asks whether to save the editor's unsaved changes: MsgResultYes, MsgResultNo or
    // MsgResultCancel (No without asking when there are none).
    virtual int AskSave() = 0;
    // Writes the editor's working copy into the database.
    virtual void Save() = 0;
    virtual void SetModified(bool modified) = 0;
};

// What the document asks of one graph view.
class CGraphViewLink {
public:
    virtual ~CGraphViewLink() = default;
    // The database template the view draws, or null.
    virtual const CGraphTemplate* GetShownTemplate() const = 0;
};

// The editors and graph views of the user interface, as the document tells them apart from the
// list view. The user interface installs one; without one every view is the list view.
class CGraphTemplateViews {
public:
    virtual ~CGraphTemplateViews() = default;
    // The view as a template editor (a graph view), or null when it is another kind of view.
    virtual CGraphTypeEditLink* AsEditView(CView* view) = 0;
    virtual CGraphViewLink* AsGraphView(CView* view) = 0;
};

CGraphTemplateViews* GetGraphTemplateViews();
void SetGraphTemplateViews(CGraphTemplateViews* views);

class CGraphTypesDoc : public CDocument, public CDatabaseDoc<CGraphTemplate> {
public:
    // No templates, the name "Graph Templates", the default colours; sets g_pGraphTypesDoc and
    // registers the singleton.
    CGraphTypesDoc();
    // Clears g_pGraphTypesDoc and the registration (only where they still point here).
    ~CGraphTypesDoc() override;

    CGraphTemplateDatabase& Database() { return m_database; }
    const CGraphTemplateDatabase& Database() const { return m_database; }

    // --- record operations: each marks the document modified ---

    void RemoveTemplate(int i);
    // Inserts a copy before i.
    void InsertTemplate(int i, const CGraphTemplate& graphTemplate);
    void SetTemplate(int i, const CGraphTemplate& graphTemplate);
    // The notes dialog's result: the database name and information lines.
    void SetDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines);
    // The colours dialog's result: both colour lists.
    void SetColorLists(const CMaterialTypeColorList& materialTypes, const COxideColorList& oxides);

    std::string GetDatabaseName() const override { return m_database.m_name; }
    // The Select One rows: one per template in list order, reading its name.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;

    // --- views ---

    // The first editor of this document on template n, else null.
    CView* FindEditView(int n) const;
    // The first graph view of this document that draws the template, else null.
    CView* FindGraphView(const CGraphTemplate* graphTemplate) const;
    // For an editor: brings its frame forward and asks about its changes (Yes saves them into the
    // database); with close, the editor is then closed without asking again. False on Cancel;
    // true for any other view.
    bool SaveEditView(CView* view, bool close);
    // SaveEditView for every view in order, stopping at the first Cancel.
    bool SaveAllEditViews(bool close);

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done, also when the file could not be read.
    int OpenDatabase(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenDatabase(path); }

    // The summary lines (GraphTemplateSummary.h) of graphTemplate, or when it is null of the
    // templates at positions (those out of range skipped), with the current print preferences.
    void WriteGraphTemplateSummary(std::ostream& out, std::span<const int> positions,
                                   const CGraphTemplate* graphTemplate) const;

    // --- document life ---

    // Keeps the database name, information lines and colours; leaves one template, "new graph
    // template", with one data source, "[current glaze]".
    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty database after a message.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    bool SaveModified() override;
    bool CanCloseFrame(CFrameHost* frame) override;
    // Stores the path only: the title stays "Graph Templates".
    void SetPathName(const std::string& path, bool addToRecentFiles = true) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    CNamedItemList<CGraphTemplate>& DatabaseRecords() override { return m_database.m_templates; }
    void MarkDatabaseModified() override { SetModifiedFlag(); }

private:
    void Broadcast(int code);
    void OnFileOpen();

    CGraphTemplateDatabase m_database;
};

// The one graph-templates document, or null when none exists.
extern CGraphTypesDoc* g_pGraphTypesDoc;
