#pragma once

// The materials list window: one row per material of the materials database, in database order,
// in one of five view modes (the normal view, three extended views whose columns the preferences
// name by letter, and the weight percentages of each material's oxides).
//
// Row i always shows material i; every command reads the selected rows (ascending) and acts on
// the same indices of the database. The view carries the commands of the materials menu:
// editing, the in-program materials clipboard, ordering, sorting, searching, merging another
// database, saving a subset, database notes, units, setting one field of many materials, the
// bulk formula utilities, TMT import and export, and printing.
//
// It is a record list (records/RecordListView.h): the shared commands and notices are the base's.

#include "framework/MenuDef.h"
#include "materials/MaterialColumns.h"
#include "shell/AppCommandIds.h"
#include "records/RecordListView.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

class CDocTemplate;
class CMaterial;
class CMaterialArray;
class CMaterialsDoc;
class CTextPrinter;

// Commands of the materials list (menu texts in the comments).
enum MaterialsViewCommand : unsigned {
    CmdMatListSaveSelected = 32863,       // "Save Se&lected As..."
    CmdMatListMergeDatabase = 32034,      // "&Merge Material Database..."
    CmdMatListImportTmt = 32921,          // "&Insight TMT File..." (Import)
    CmdMatListExportTmt = 32922,          // "&Insight TMT File" (Export)
    CmdMatListPrintSelected = 32827,      // "&Print..." (Print Selected Materials)
    CmdMatListPreviewSelected = 32828,    // "Print Pre&view..."
    CmdMatListWriteSelected = 32829,      // "Write to &File..."
    CmdMatListPrintList = 32830,          // "&Print..." (Print Material List)
    CmdMatListPreviewList = 32831,        // "Print Pre&view..."
    CmdMatListWriteList = 32832,          // "Write to &File..."
    CmdMatListFramePreview = 57607,       // the framework's print preview of the view
    CmdMatListEdit = 32048,               // "&Edit\tDblClick"
    CmdMatListEditLimited = 32878,        // "Edit (&limited)"
    CmdMatListCut = 32047,                // "Cu&t\tCtrl+X"
    CmdMatListCopy = 32046,               // "&Copy\tCtrl+C"
    CmdMatListPaste = 32045,              // "&Paste\tCtrl+V"
    CmdMatListDelete = 32793,             // "&Delete\tDel"
    CmdMatListSelectAll = 32846,          // "&Select All"
    CmdMatListInvertSelection = 32882,    // "In&vert Selection"
    CmdMatListInsertNew = 32044,          // "&Insert new  \tIns"
    CmdMatListAppendNew = 32043,          // "&Append new  \tShft+Ins"
    CmdMatListFind = 32797,               // "&Find...\tCtrl+F"
    CmdMatListShiftUp = 32042,            // "Shift &Up\tShft+Up"
    CmdMatListShiftDown = 32041,          // "Shift &Down   \tShft+Dn"
    CmdMatListSelectedToTop = 32902,      // "Selected to &Top"
    CmdMatListAlphabetize = 32037,        // "&Alphabetize"
    CmdMatListResort = 32038,             // "&Re-sort..."
    CmdMatListNormalView = 32036,         // "&Normal View"
    CmdMatListExtendedView1 = 32807,      // "Extended View &1"
    CmdMatListExtendedView2 = 32806,      // "Extended View &2"
    CmdMatListExtendedView3 = 32805,      // "Extended View &3"
    CmdMatListPercentView = 32035,        // "&Weight percentages"
    CmdMatListDatabaseNotes = 32033,      // "Database &Notes..."
    CmdMatListUnits = 32873,              // "&Units..."
    CmdMatListCheckDatabase = 32032,      // "Chec&k Database..."
    CmdMatListToGlazes = 32911,           // "Materials to &Glazes"
    CmdMatListConvertFormulas = 32912,    // "&Convert Formulas..."
    CmdMatListNormalizeFormulas = 33071,  // "&Normalize Formulas"
    CmdMatListAddLoi = 33072,             // "Add &LOI to Formulas"
    CmdMatListSetField = 33059,           // "Set &Field..."
    CmdMatListFindSimilar = 33079,        // "Fin&d Similar Materials"
    CmdMatListHelp = CmdShellHelp,        // "&Help"
    CmdMatListContextHelp = 57670,
};

// The list window's context menu (308).
CMenuDef MaterialsPopupMenu();
// What the list states about itself (its shared commands, words and texts).
extern const CRecordListKind kMaterialsList;

// The materials template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kMaterialsResourceId = 6;
inline constexpr unsigned kMaterialsViewHelpId = 210;
// What a print command prints.
inline constexpr int kMaterialsPrintSummaries = 1;
inline constexpr int kMaterialsPrintTable = 2;

class CMaterialsView : public CRecordListView {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 480;
    static constexpr int kInitialHeight = 350;

    CMaterialsView();
    ~CMaterialsView() override;

    // The tab stops of modes 0 to 3 and of mode 4, measured in the list's font.
    void SetColumnTabStops(std::span<const int> columns, const MaterialColumnPresence& present);
    void SetPercentTabStops(std::span<const int> entries);

    // Fills a text printer for printKind (kMaterialsPrintSummaries or kMaterialsPrintTable).
    void FillPrinter(CTextPrinter& printer, int kind);

    // Selects every material that matches the find settings below (the selection is cleared
    // first) and puts the caret on the first match, or on row 0 without one. Returns the number
    // of matches.
    int SelectMatches();

    // Find settings, kept with the view.
    std::string m_strFindText;
    int m_bFindNames = 1;
    int m_bFindCodes = 1;
    int m_bFindFormulas = 0;
    int m_bFindNotes = 0;
    int m_bFindWholeOnly = 0;

    // What the last print command printed.
    int printKind = kMaterialsPrintSummaries;

protected:
    void MeasureTabStops() override;
    void PrepareRows() override;
    std::string RowText(int n) const override;
    void OnOtherNotice(const CUpdateHint& hint) override;
    void OnRecordsReplaced() override { RefillKeepingSelection(); }
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;
    void SortAfterMerge() override { OnResort(); }
    CMenuDef PopupMenu() const override { return MaterialsPopupMenu(); }

private:
    // What each row shows, settled before a fill.
    CMaterialListLayout m_rowLayout;

    CMaterialsDoc* MaterialsDoc() const;
    CMaterialArray* Database() const;
    bool HasSelection() const { return GetSelCount() > 0; }
    bool RunDatabaseCommand(unsigned id);
    void OnResort();

    // MaterialsViewDatabase.cpp
    void OnFind();
    void OnCheckDatabase();
    void OnSetField();
    void OnUnits();

    // MaterialsViewUtilities.cpp
    void OnMaterialsToGlazes();
    void OnConvertFormulas();
    void ConvertSelected(const std::function<void(CMaterial&)>& operation);
    void OnImportTmt();
    void OnExportTmt();

    // MaterialsViewPrint.cpp
    void PrintMaterials(unsigned id);
};

// The materials window's menu bar (resource 6).
void RegisterMaterialsMenu();
// The status-bar prompt of a materials list command, or null for another command.
const char* MaterialsCommandPrompt(unsigned id);
// Gives the materials template its list window (a CMaterialsView) and registers its menu.
void InstallMaterialsTemplate(CDocTemplate& docTemplate);
