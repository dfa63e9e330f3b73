#pragma once

// The limit-formulas list window: a record list (records/RecordListView.h) of the limit-formula
// database, in view modes names (0) and names and notes (1). Beside the shared commands it
// combines formulas (union, intersection), edits and merges the oxide combinations and prints
// the formula summaries.

#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "records/RecordListView.h"

#include <string>
#include <vector>

class CDocTemplate;
class CLimitFormulasDoc;
class CTextPrinter;

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

// The list window's context menu.
CMenuDef LimitFormulasPopupMenu();

// What the list states about itself (its shared commands, words and texts).
extern const CRecordListKind kLimitFormulasList;

// The list template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kLimitFormulasResourceId = 8;
inline constexpr unsigned kLimitFormulasViewHelpId = 240;
// Help contexts of the list's messages and dialogs.
inline constexpr unsigned kLimitPrintQuestionHelpId = 198416;
inline constexpr unsigned kLimitNothingToPrintHelpId = 198417;
inline constexpr unsigned kLimitNotesDialogHelpId = 322;
inline constexpr unsigned kLimitMergeDialogHelpId = 323;

class CLimitFormulasView : public CRecordListView {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;

    CLimitFormulasView();
    ~CLimitFormulasView() override;

    // The summary lines for printing: the selected formulas, with the database header when
    // withHeader is set.
    void FillPrinter(CTextPrinter& printer, bool withHeader);

    // CLimit::kUnion or CLimit::kIntersection of the selected formulas.
    void OnCombine(int mode);
    void OnOxideCombinations();
    void OnMergeCombinations();
    void OnPrint(unsigned id);

protected:
    const CStringArrayEx* RecordNotes(int n) const override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;
    CMenuDef PopupMenu() const override { return LimitFormulasPopupMenu(); }

private:
    CLimitFormulasDoc* LimitFormulasDoc() const;
};

// The list window's menu bar (resource 8).
void RegisterLimitFormulasMenu();
// The status-bar prompt of a limit-formulas list command, or null for another command.
const char* LimitFormulasCommandPrompt(unsigned id);
// Gives the limit-formulas template its list window and registers its menu.
void InstallLimitFormulasTemplate(CDocTemplate& docTemplate);
