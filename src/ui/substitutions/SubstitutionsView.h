#pragma once

// The substitution list window: one row per substitution of the substitution database, in
// database order, with several rows selectable. It carries the database's commands: edit views,
// the in-program clipboard, new records, deleting, ordering, alphabetising, merging another .sub
// file, saving a selection as a new file, the database notes and the printed outputs. The window
// is made with the document at start-up and waits minimised; closing it only minimises it.
//
// Changes are announced with kind 3 (substitutions) and this view as sender; the view refreshes
// itself and ignores its own notices.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ListView31.h"

#include <string>
#include <vector>

class CDocTemplate;
class CSubstitutionEditView;
class CSubstitutionList;
class CSubstitutionsDoc;
class CTextPrinter;
class QMouseEvent;

// Commands of the substitution list (menu texts in the comments).
enum SubstitutionsViewCommand : unsigned {
    CmdSubListEdit = 33500,              // "&Edit"
    CmdSubListEditLimited = 33501,       // "Edit (&limited)"
    CmdSubListCut = 33502,               // "Cu&t"
    CmdSubListCopy = 33503,              // "&Copy"
    CmdSubListPaste = 33504,             // "&Paste"
    CmdSubListDelete = 33505,            // "&Delete"
    CmdSubListSelectAll = 33506,         // "&Select All"
    CmdSubListInvertSelection = 33507,   // "In&vert Selection"
    CmdSubListInsertNew = 33508,         // "&Insert new"
    CmdSubListAppendNew = 33509,         // "&Append new"
    CmdSubListShiftUp = 33510,           // "Shift &Up"
    CmdSubListShiftDown = 33511,         // "Shift &Down"
    CmdSubListSelectedToTop = 33512,     // "Selected to &Top"
    CmdSubListAlphabetize = 33513,       // "&Alphabetize"
    CmdSubListNames = 33514,             // "&Names"
    CmdSubListNamesAndNotes = 33515,     // "Names and N&otes"
    CmdSubListDatabaseNotes = 33516,     // "Database &Notes..."
    CmdSubListMerge = 33517,             // "&Merge Substitution Database..."
    CmdSubListSaveSelected = 33518,      // "Save Se&lected As..."
    CmdSubListPrintSelected = 33519,     // "&Print..." (Print Selected Substitutions)
    CmdSubListPreviewSelected = 33520,   // "Print Pre&view..."
    CmdSubListWriteSelected = 33521,     // "Write to &File..."
    CmdSubListPrintTable = 33522,        // "&Print..." (Print Substitution Table)
    CmdSubListPreviewTable = 33523,      // "Print Pre&view..."
    CmdSubListWriteTable = 33524,        // "Write to &File..."
    CmdSubListHelp = CmdShellHelp,       // "&Help"
    CmdSubListContextHelp = 57670,
};

// The list template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kSubstitutionsResourceId = 7;
inline constexpr unsigned kSubstitutionsViewHelpId = 220;
inline constexpr unsigned kSubstitutionNotesHelpId = 322;
inline constexpr unsigned kSubstitutionMergeHelpId = 323;

class CSubstitutionsView : public CListView31 {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;
    // Notes in mode 1 are joined into at most this many characters.
    static constexpr int kNotesWidth = 1000;

    CSubstitutionsView();
    ~CSubstitutionsView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Rebuilds every row. top becomes the first visible row; select (0 or more; past the end the
    // last row) is selected and becomes the caret row; the tab stops are measured again when
    // setTabStops is set.
    void FillList(int top, int select, bool setTabStops);
    // 0 names only, 1 names and notes; keeps the selection, the caret and the top row.
    void SetViewMode(int mode);
    int ViewMode() const { return m_nViewMode; }
    std::string RowText(int n) const;

    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);

    // The summaries of the selected rows (table false) or the table of the database.
    void FillPrinter(CTextPrinter& printer, bool table);

    // --- commands (SubstitutionsViewEdit.cpp) ---
    // A new edit view on the document (null when no window could be made).
    CSubstitutionEditView* OpenEditView();
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

    // --- commands (SubstitutionsViewDatabase.cpp) ---
    void OnDatabaseNotes();
    void OnMerge();
    void OnSaveSelected();
    void OnPrint(unsigned id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CSubstitutionsDoc* SubstitutionsDoc() const;
    CSubstitutionList* Database() const;
    int RecordCount() const;
    void Broadcast(int code, int index);
    void SetCaption();
    void MeasureTabStops();
    void Reselect(const std::vector<int>& rows);
    void ShowContextMenu(const QPoint& position);
    bool UpdateEditCommand(CCmdUI& ui);
    bool UpdateDatabaseCommand(CCmdUI& ui);
    void MergeRecords(CSubstitutionList& incoming, const std::vector<int>& chosen, int method, bool sort);

    int m_nViewMode = 0;
};

// The list window's menu bar (resource 7) and its context menu.
void RegisterSubstitutionsMenu();
CMenuDef SubstitutionsPopupMenu();
// The status-bar prompt of a substitution list command, or null for another command.
const char* SubstitutionsCommandPrompt(unsigned id);
// Gives the substitutions template its list window and registers its menu.
void InstallSubstitutionsTemplate(CDocTemplate& docTemplate);
