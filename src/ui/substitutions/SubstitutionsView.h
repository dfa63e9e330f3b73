#pragma once

// The substitution list window: a record list (records/RecordListView.h) of the substitution
// database, in view modes names (0) and names and notes (1). Beside the shared commands it prints
// the summaries of the selected substitutions and the substitution table.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "records/RecordListView.h"

#include <string>
#include <vector>

class CDocTemplate;
class CSubstitutionsDoc;
class CTextPrinter;

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

// The list window's context menu.
CMenuDef SubstitutionsPopupMenu();

// What the list states about itself (its shared commands, words and texts).
extern const CRecordListKind kSubstitutionsList;

// The list template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kSubstitutionsResourceId = 7;
inline constexpr unsigned kSubstitutionsViewHelpId = 220;
inline constexpr unsigned kSubstitutionNotesHelpId = 322;
inline constexpr unsigned kSubstitutionMergeHelpId = 323;

class CSubstitutionsView : public CRecordListView {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;

    CSubstitutionsView();
    ~CSubstitutionsView() override;

    // The summaries of the selected rows (table false) or the table of the database.
    void FillPrinter(CTextPrinter& printer, bool table);
    void OnPrint(unsigned id);

protected:
    const CStringArrayEx* RecordNotes(int n) const override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;
    CMenuDef PopupMenu() const override { return SubstitutionsPopupMenu(); }

private:
    CSubstitutionsDoc* SubstitutionsDoc() const;
};

// The list window's menu bar (resource 7).
void RegisterSubstitutionsMenu();
// The status-bar prompt of a substitution list command, or null for another command.
const char* SubstitutionsCommandPrompt(unsigned id);
// Gives the substitutions template its list window and registers its menu.
void InstallSubstitutionsTemplate(CDocTemplate& docTemplate);
