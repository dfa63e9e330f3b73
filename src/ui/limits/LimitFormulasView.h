#pragma once

// The limit-formulas list window: one row per formula of the limit-formula database, in
// database order, with several rows selectable. It carries the commands that edit, copy, order,
// merge, combine, print and save the formulas, the database notes and the oxide-combination
// list. The window is made with the document at start-up and waits minimised; closing it only
// minimises it.
//
// Changes are announced with kind 4 (limit formulas) and this view as sender; the view refreshes
// itself and ignores its own notices.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ListView31.h"

#include <string>
#include <vector>

class CDocTemplate;
class CLimitFormulaDB;
class CLimitFormulasDoc;
class CTextPrinter;
class QContextMenuEvent;
class QMouseEvent;

// Commands of the limit-formulas list (menu texts in the comments).
enum LimitFormulasViewCommand : unsigned {
    CmdLimListEdit = 33400,              // "&Edit"
    CmdLimListEditLimited = 33401,       // "Edit (&limited)"
    CmdLimListCut = 33402,               // "Cu&t"
    CmdLimListCopy = 33403,              // "&Copy"
    CmdLimListPaste = 33404,             // "&Paste"
    CmdLimListDelete = 33405,            // "&Delete"
    CmdLimListSelectAll = 33406,         // "&Select All"
    CmdLimListInvertSelection = 33407,   // "In&vert Selection"
    CmdLimListInsertNew = 33408,         // "&Insert new"
    CmdLimListAppendNew = 33409,         // "&Append new"
    CmdLimListShiftUp = 33410,           // "Shift &Up"
    CmdLimListShiftDown = 33411,         // "Shift &Down"
    CmdLimListSelectedToTop = 33412,     // "Selected to &Top"
    CmdLimListAlphabetize = 33413,       // "&Alphabetize"
    CmdLimListDatabaseNotes = 33414,     // "Database &Notes..."
    CmdLimListOxideCombinations = 33415, // "&Oxide Combinations..."
    CmdLimListUnion = 33416,             // "&Union"
    CmdLimListIntersection = 33417,      // "&Intersection"
    CmdLimListMergeFormulas = 33418,     // "&Limit Formulas..." (Merge)
    CmdLimListMergeCombinations = 33419, // "&Oxide Combinations..." (Merge)
    CmdLimListSaveSelected = 33420,      // "Save Se&lected As..."
    CmdLimListPrint = 33421,             // "&Print..."
    CmdLimListPrintPreview = 33422,      // "Print Pre&view..."
    CmdLimListWriteToFile = 33423,       // "Write to &File..."
    CmdLimListNames = 33424,             // "&Names"
    CmdLimListNamesAndNotes = 33425,     // "Names and N&otes"
    CmdLimListHelp = CmdShellHelp,       // "&Help"
    CmdLimListContextHelp = 57670,
};

// The list template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kLimitFormulasResourceId = 8;
inline constexpr unsigned kLimitFormulasViewHelpId = 240;
// Help contexts of the list's messages and dialogs.
inline constexpr unsigned kLimitPrintQuestionHelpId = 198416;
inline constexpr unsigned kLimitNothingToPrintHelpId = 198417;
inline constexpr unsigned kLimitNotesDialogHelpId = 322;
inline constexpr unsigned kLimitMergeDialogHelpId = 323;

class CLimitFormulasView : public CListView31 {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;
    // Notes in mode 1 are joined into at most this many characters.
    static constexpr int kNotesWidth = 1000;

    CLimitFormulasView();
    ~CLimitFormulasView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Rebuilds every row. top becomes the first visible row; select (0 or more, limited to the
    // last row) is selected and becomes the caret row; the tab stop is measured again when
    // setTabStops is set.
    void FillList(int top, int select, bool setTabStops);
    // 0 names only, 1 names and notes; keeps the selection, the caret and the top row.
    void SetViewMode(int mode);
    int ViewMode() const { return m_nViewMode; }
    // The row text of formula n.
    std::string RowText(int n) const;

    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);

    // The summary lines for printing: the selected formulas, with the database header when
    // withHeader is set.
    void FillPrinter(CTextPrinter& printer, bool withHeader);

    // --- commands (LimitFormulasViewEdit.cpp) ---
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
    // CLimit::kUnion or CLimit::kIntersection of the selected formulas.
    void OnCombine(int mode);

    // --- commands (LimitFormulasViewDatabase.cpp) ---
    void OnDatabaseNotes();
    void OnOxideCombinations();
    void OnMergeFormulas();
    void OnMergeCombinations();
    void OnSaveSelected();
    void OnPrint(unsigned id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CLimitFormulasDoc* LimitFormulasDoc() const;
    CLimitFormulaDB* Database() const;
    int FormulaCount() const;
    void Broadcast(int code, int index, const void* record = nullptr);
    void SetCaption();
    void MeasureTabStop();
    void Reselect(const std::vector<int>& rows);
    void ShowContextMenu(const QPoint& position);
    bool UpdateEditCommand(CCmdUI& ui);
    bool UpdateDatabaseCommand(CCmdUI& ui);
    // The merge steps shared by formulas and combinations: reads the file the user picks into
    // incoming; false (after any message) when there is nothing to merge.
    bool ReadMergeFile(const char* title, CLimitFormulaDB& incoming, std::string& path);
    void MergeFormulas(CLimitFormulaDB& incoming, const std::vector<int>& chosen, int method, bool sort);

    int m_nViewMode = 0;
};

// The list window's menu bar (resource 8) and its context menu.
void RegisterLimitFormulasMenu();
CMenuDef LimitFormulasPopupMenu();
// The status-bar prompt of a limit-formulas list command, or null for another command.
const char* LimitFormulasCommandPrompt(unsigned id);
// Gives the limit-formulas template its list window and registers its menu.
void InstallLimitFormulasTemplate(CDocTemplate& docTemplate);
