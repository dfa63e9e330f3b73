#pragma once

// The graph-templates list window: one row per template of the graph-template database, in
// database order, with several rows selectable. From it the user opens template editors and
// graphs, cuts, copies and pastes templates through the graph-template clipboard, inserts,
// orders and alphabetises them, merges another .grt file, saves a selection to a new file, edits
// the database notes and the shared colour lists, and prints the template summaries. The window
// is made with the document at start-up and waits minimised; closing it only minimises it.
//
// It is a record list (records/RecordListView.h): the shared commands and notices are the base's.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "records/RecordListView.h"

#include <functional>
#include <string>
#include <vector>

class CDocTemplate;
class CGlaze;
class CGlazesDoc;
class CGraphTemplate;
class CGraphTypesDoc;
class CTextPrinter;

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

// The list window's context menu (306).
CMenuDef GraphTypesPopupMenu();
// What the list states about itself (its shared commands, words and texts).
extern const CRecordListKind kGraphTypesList;

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

class CGraphTypesView : public CRecordListView {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;

    // Names and notes at first.
    CGraphTypesView();
    ~CGraphTypesView() override;

    int PrintMode() const { return m_nPrintMode; }

    // The summaries of the selected templates, for printing and Write to File.
    void FillPrinter(CTextPrinter& printer);

    void OnOpenGraph();
    void OnColors();
    void OnPrint(unsigned id);

protected:
    const CStringArrayEx* RecordNotes(int n) const override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;
    CMenuDef PopupMenu() const override { return GraphTypesPopupMenu(); }

private:
    CGraphTypesDoc* GraphTypesDoc() const;

    int m_nPrintMode = 0;
};

// The list window's menu bar (resource 15).
void RegisterGraphTypesMenu();
// The status-bar prompt of a graph-templates list command, or null for another command.
const char* GraphTypesCommandPrompt(unsigned id);
// Gives the graph-templates template its list window and registers its menu; lets the document
// tell editors and graph views from the list.
void InstallGraphTypesTemplate(CDocTemplate& docTemplate);
