#pragma once

// The graph-templates list window: one row per template of the graph-template database, in
// database order, with several rows selectable. From it the user opens template editors and
// graphs, cuts, copies and pastes templates through the graph-template clipboard, inserts,
// orders and alphabetises them, merges another .grt file, saves a selection to a new file, edits
// the database notes and the shared colour lists, and prints the template summaries. The window
// is made with the document at start-up and waits minimised; closing it only minimises it.
//
// Changes are announced with kind 6 (graph templates) and this view as sender; the view
// refreshes itself and ignores its own notices.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ListView31.h"

#include <functional>
#include <string>
#include <vector>

class CDocTemplate;
class CGlaze;
class CGlazesDoc;
class CGraphTemplate;
class CGraphTemplateDatabase;
class CGraphTypesDoc;
class CTextPrinter;
class QMouseEvent;

// Commands of the graph-templates list (menu texts in the comments).
enum GraphTypesViewCommand : unsigned {
    CmdGrtListSaveSelected = 33105,    // "Save Se&lected As..."
    CmdGrtListMerge = 33106,           // "&Merge Graph Template Database..."
    CmdGrtListEdit = 33107,            // "&Edit\tDblClick"
    CmdGrtListEditLimited = 33108,     // "Edit (&limited)"
    CmdGrtListCut = 33110,             // "Cu&t\tCtrl+X"
    CmdGrtListCopy = 33111,            // "&Copy\tCtrl+C"
    CmdGrtListPaste = 33112,           // "&Paste\tCtrl+V"
    CmdGrtListDelete = 33113,          // "&Delete\tDel"
    CmdGrtListInsertNew = 33114,       // "&Insert new  \tIns"
    CmdGrtListAppendNew = 33115,       // "&Append new  \tShft+Ins"
    CmdGrtListSelectAll = 33116,       // "&Select All"
    CmdGrtListInvertSelection = 33117, // "In&vert Selection"
    CmdGrtListSelectedToTop = 33118,   // "Selected to &Top"
    CmdGrtListShiftUp = 33119,         // "Shift &Up\tShft+Up"
    CmdGrtListShiftDown = 33120,       // "Shift &Down   \tShft+Dn"
    CmdGrtListAlphabetize = 33121,     // "&Alphabetize"
    CmdGrtListNames = 33122,           // "&Names"
    CmdGrtListNamesAndNotes = 33123,   // "Names and N&otes"
    CmdGrtListDatabaseNotes = 33126,   // "Database &Notes..."
    CmdGrtListColors = 33300,          // "Material and Oxide &Colors..."
    CmdGrtListOpenGraph = 33308,       // "Open &Graph\tCtrl+G"
    CmdGrtListPrint = 33318,           // "&Print..."
    CmdGrtListPrintPreview = 33319,    // "Print Pre&view..."
    CmdGrtListWriteToFile = 33320,     // "Write to &File..."
    CmdGrtListHelp = CmdShellHelp,     // "&Help"
    CmdGrtListContextHelp = 57670,
};

// The list template's resource id (its menu), the window's help topic and its dialogs' topics.
inline constexpr unsigned kGraphTypesResourceId = 15;
inline constexpr unsigned kGraphTypesViewHelpId = 270;
inline constexpr unsigned kGraphNotesDialogHelpId = 322;
inline constexpr unsigned kGraphMergeDialogHelpId = 323;

// Opens a graph view on the document drawing graphTemplate with the glaze database and glaze
// given (null for none), no limit formula, the template's own units and type; false when no
// graph view could be opened. The graph view's window code installs it.
using GraphViewOpener =
    std::function<bool(CGraphTypesDoc& document, const CGraphTemplate* graphTemplate, CGlazesDoc* database, CGlaze* glaze)>;
void SetGraphViewOpener(GraphViewOpener opener);
bool OpenGraphView(CGraphTypesDoc& document, const CGraphTemplate* graphTemplate, CGlazesDoc* database, CGlaze* glaze);

class CGraphTypesView : public CListView31 {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;
    // Notes in mode 1 are joined into at most this many characters.
    static constexpr int kNotesWidth = 1000;

    CGraphTypesView();
    ~CGraphTypesView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Rebuilds every row. top becomes the first visible row; select (0 or more, limited to the
    // last row) is selected and becomes the caret row; the tab stops are measured again when
    // setTabs is set and there are templates.
    bool Fill(int top, int select, bool setTabs);
    // 0 names only, 1 names and notes; keeps the selection, the caret and the top row.
    void SetViewMode(int mode);
    int ViewMode() const { return m_nViewMode; }
    int PrintMode() const { return m_nPrintMode; }
    // The row text of template n.
    std::string RowText(int n) const;

    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);

    // The summaries of the selected templates, for printing and Write to File.
    void FillPrinter(CTextPrinter& printer);

    // --- commands (GraphTypesViewEdit.cpp) ---
    void OnEdit();
    void OnEditLimited();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnDelete();
    void OnInvertSelection();
    void InsertNewAt(int position);
    void OnShiftUp();
    void OnShiftDown();
    void OnSelectedToTop();
    void OnAlphabetize();
    void OnOpenGraph();

    // --- commands (GraphTypesViewDatabase.cpp) ---
    void OnDatabaseNotes();
    void OnColors();
    void OnMerge();
    void OnSaveSelected();
    void OnPrint(unsigned id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CGraphTypesDoc* GraphTypesDoc() const;
    CGraphTemplateDatabase* Database() const;
    int TemplateCount() const;
    void Broadcast(int code, int index);
    void SetCaption();
    void MeasureTabStops();
    void Reselect(const std::vector<int>& rows);
    void ShowContextMenu(const QPoint& position);
    bool UpdateEditCommand(CCmdUI& ui);
    bool UpdateDatabaseCommand(CCmdUI& ui);
    // Reads the file the user picks for a merge; false (after any message) when there is
    // nothing to merge.
    bool ReadMergeFile(CGraphTemplateDatabase& incoming, std::string& path);
    void MergeTemplates(const CGraphTemplateDatabase& incoming, const std::vector<int>& chosen, int method, bool sort);

    int m_nViewMode = 1;
    int m_nPrintMode = 0;
};

// The list window's menu bar (resource 15) and its context menu (306).
void RegisterGraphTypesMenu();
CMenuDef GraphTypesPopupMenu();
// The status-bar prompt of a graph-templates list command, or null for another command.
const char* GraphTypesCommandPrompt(unsigned id);
// Gives the graph-templates template its list window and registers its menu; lets the document
// tell editors and graph views from the list.
void InstallGraphTypesTemplate(CDocTemplate& docTemplate);
