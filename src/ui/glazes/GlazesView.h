#pragma once

// The glaze database window: one row per glaze of a CGlazesDoc, row n always showing glaze n, in
// one of seven list formats (glazes/GlazesViewRows.h). The rows follow the document through the
// update broadcast; bulk changes freeze the list between their opening and closing notices so
// that it is rebuilt once.
//
// The view carries the glaze database menu: editing and the in-program glaze clipboard, order
// and sorting, search, notes, merging, saving a subset, imports and exports, the utilities and
// printing. Every command acts on the selected rows (ascending) and changes the database only
// through the document's record operations; changes are announced with kind 5 (glazes) and this
// view as sender, and the view refreshes itself and ignores its own notices.

#include "framework/MenuDef.h"
#include "glazes/GlazesDoc.h"
#include "shell/AppCommandIds.h"
#include "support/ListView31.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CDocTemplate;
class CGlaze;
class CGlazeList;
class CMakeLimitFormulaRequest;
class CTextPrinter;

// Commands of the glaze list (menu texts in the comments).
enum GlazesViewCommand : unsigned {
    CmdGlzEdit = 32014,               // "&Edit\tDblClick"
    CmdGlzEditLimited = 32879,        // "Edit (&limited)"
    CmdGlzCut = 32015,                // "Cu&t\tCtrl+X"
    CmdGlzCopy = 32016,               // "&Copy\tCtrl+C"
    CmdGlzPaste = 32017,              // "&Paste\tCtrl+V"
    CmdGlzPasteNewDb = 33315,         // "&Paste to &New Database\tCtrl+Shift+V"
    CmdGlzDelete = 32792,             // "&Delete\tDel"
    CmdGlzSelectAll = 32845,          // "&Select All"
    CmdGlzInvertSelection = 32883,    // "In&vert Selection"
    CmdGlzInsertNew = 32018,          // "&Insert new  \tIns"
    CmdGlzAppendNew = 32019,          // "&Append new  \tShft+Ins"
    CmdGlzFind = 32886,               // "&Find...\tCtrl+F"
    CmdGlzShiftUp = 32020,            // "Shift &Up\tShft+Up"
    CmdGlzShiftDown = 32021,          // "Shift &Down   \tShft+Dn"
    CmdGlzSelectedToTop = 32903,      // "Selected to &Top"
    CmdGlzAlphabetize = 32022,        // "&Alphabetize"
    CmdGlzResort = 32810,             // "&Re-sort..."
    CmdGlzNormalView = 32802,         // "&Normal View"
    CmdGlzExtendedView1 = 32803,      // "Extended View &1"
    CmdGlzExtendedView2 = 32809,      // "Extended View &2"
    CmdGlzExtendedView3 = 32808,      // "Extended View &3"
    CmdGlzWeightPercent = 32804,      // "&Weight Percentages"
    CmdGlzUnityFormula = 32910,       // "&Unity Formula Amounts"
    CmdGlzMolePercent = 33038,        // "&Molecular Percentages"
    CmdGlzOpenReport = 32023,         // "Open &Report\tCtrl+R"
    CmdGlzOpenGraph = 32900,          // "Open &Graph\tCtrl+G"
    CmdGlzDatabaseNotes = 32026,      // "Database &Notes..."
    CmdGlzToMaterials = 32030,        // "Glazes to &Materials..."
    CmdGlzMakeLimitFormula = 33007,   // "Ma&ke Limit Formula..."
    CmdGlzSetField = 32885,           // "Set &Field..."
    CmdGlzResequence = 33008,         // "&Resequence..."
    CmdGlzMakeSubstitution = 32895,   // "Make &Substitution..."
    CmdGlzCorrectCrazing = 32896,     // "Correct &Crazing/Shivering..."
    CmdGlzChangeMeltingPoint = 32897, // "Change Melting &Point..."
    CmdGlzMixGlazes = 32927,          // "Mi&x Glazes..."
    CmdGlzAverageGlazes = 33334,      // "A&verage Glazes"
    CmdGlzLineBlend = 32898,          // "&Line Blend..."
    CmdGlzTriaxialBlend = 32899,      // "&Triaxial Blend..."
    CmdGlzSquareBlend = 33301,        // "S&quare Blend..."
    CmdGlzVarrowBlend = 33316,        // "V&arrow Recipe Blend..."
    CmdGlzFindSimilar = 33037,        // "Fin&d Similar Glazes"
    CmdGlzShoppingList = 33342,       // "Shopping List..."
    CmdGlzCheckIngredients = 33068,   // "Check &Ingredients..."
    CmdGlzOptimize = 33053,           // "&Optimize..."
    CmdGlzSaveSelected = 32861,       // "Save Se&lected As..."
    CmdGlzMerge = 32027,              // "&Merge Glaze Database..."
    CmdGlzImportRecipary = 32905,     // "&Recipary Recipes..." (Import)
    CmdGlzImportInsight = 32904,      // "&Insight Recipes..."
    CmdGlzImportHyperGlaze = 32907,   // "&HyperGlaze Recipes..."
    CmdGlzExportRecipary = 32909,     // "&Recipary Format..." (Export)
    CmdGlzExportInsight = 32920,      // "&Insight Format..."
    CmdGlzExportHyperGlaze = 32916,   // "&HyperGlaze Format..."
    CmdGlzExportHtml = 32918,         // "H&TML Format..."
    CmdGlzPrintSummaries = 32839,     // "&Print..." (Print Selected Glazes)
    CmdGlzPreviewSummaries = 32840,   // "Print Pre&view..."
    CmdGlzWriteSummaries = 32841,     // "Write to &File..."
    CmdGlzPrintRecipes = 32848,       // the same under Print Selected Glaze Recipes
    CmdGlzPreviewRecipes = 32849,
    CmdGlzWriteRecipes = 32850,
    CmdGlzRecipeBatchSizes = 33339,   // "&Set up batch sizes..."
    CmdGlzPrintReports = 32851,       // the same under Print Selected Glaze Reports
    CmdGlzPreviewReports = 32852,
    CmdGlzWriteReports = 32853,
    CmdGlzPrintList = 32842,          // the same under Print Glaze List
    CmdGlzPreviewList = 32843,
    CmdGlzWriteList = 32844,
    CmdGlzHelp = CmdShellHelp,        // "&Help"
    CmdGlzContextHelp = 57670,
};

// The window's help topic and the print kinds of the Print menu.
inline constexpr unsigned kGlazesViewHelpId = 230;
inline constexpr int kGlazePrintSummaries = 1;
inline constexpr int kGlazePrintRecipes = 2;
inline constexpr int kGlazePrintReports = 3;
inline constexpr int kGlazePrintList = 4;

class CGlazesView : public CListView31, public CGlazeListSelection {
    Q_OBJECT

public:
    // The size the list window gets when it first appears.
    static constexpr int kInitialWidth = 250;
    static constexpr int kInitialHeight = 350;

    CGlazesView();
    ~CGlazesView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Rebuilds every row; top becomes the first visible row; select (0 or more, limited to the
    // last row) is selected and becomes the caret row; the tab stops are measured again only
    // when relayout is set. Returns 1.
    int FillList(int top, int select, bool relayout);
    // Changes the list format (0..6) keeping the selection, the caret row and the top row.
    void SetListFormat(int format);
    int GetListFormat() const { return m_nListFormat; }
    bool IsFrozen() const { return m_bFrozen; }

    // The selection as the document and the other views use it.
    void AppendSelectedGlazes(std::vector<CGlaze*>& glazes);
    int GetSelectedCount() const { return GetSelCount(); }
    void DeselectAll();
    // Adds row n to the selection when it is a row.
    void SelectGlaze(int n);
    std::vector<int> GetSelectedRows() const override { return GetSelItems(); }
    void ClearSelection() override { DeselectAll(); }
    void SelectRow(int row) override { SelectGlaze(row); }
    void SelectRows(std::span<const int> rows) override { CListView31::SelectRows(rows); }

    // Adds the values of this view's glazes (the selected ones, or all with the request's
    // all-glazes flag) to a Make Limit Formula request.
    void AccumulateVariableStats(CMakeLimitFormulaRequest& request);

    // Fills a text printer with the lines of a print kind (kGlazePrintSummaries ...).
    void FillPrinter(CTextPrinter& printer, int kind);
    // What the last print command printed.
    int printKind = kGlazePrintSummaries;

protected:
    CMenuDef PopupMenu() const override;
    // Runs Edit, as the menu's Edit command.
    bool OnLeftDoubleClick(const QPoint& position) override;

private:
    CGlazesDoc* GlazesDoc() const;
    int GlazeCount() const;
    // The glaze a row shows, or null.
    const CGlaze* GlazeAt(int row) const;
    bool HasSelection() const { return GetSelCount() > 0; }
    bool IsThisDocument(const CUpdateHint& hint) const;
    void Broadcast(int code, int index, const void* extra = nullptr);
    void SetCaption();
    void DropAllAnalyses();
    // Refills (from the top) and selects the same rows again, keeping the caret and the top row.
    void RefillKeepingSelection();
    void Reselect(const std::vector<int>& rows);
    void SetCaretQuietly(int row);
    void SetColumnTabStops(std::span<const int> columns);
    void SetTableTabStops(int format, std::span<const int> entries);
    bool UpdateEditCommand(CCmdUI& ui);
    bool UpdateDatabaseCommand(CCmdUI& ui);
    bool UpdateToolCommand(CCmdUI& ui);
    bool RunEditCommand(unsigned id);
    bool RunDatabaseCommand(unsigned id);
    // The recipe tools: blends, mixtures, the shopping list, the similarity search, Optimize.
    bool RunToolCommand(unsigned id);

    // GlazesViewEdit.cpp
    void OnEdit(bool limited);
    void OnOpenReport();
    void OnOpenGraph();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnPasteToNewDatabase();
    void OnDelete();
    void OnSelectAll();
    void OnInvertSelection();
    void InsertNewAt(int index);
    void OnShiftUp();
    void OnShiftDown();
    void OnSelectedToTop();
    void OnAlphabetize();
    void OnResort();

    // GlazesViewBulk.cpp
    void OnDatabaseNotes();
    void OnSetField();
    void OnResequence();
    void OnGlazesToMaterials();
    void OnMakeSubstitution();
    void OnMakeLimitFormula();
    void OnCheckIngredients();
    void BeginBulkChange();
    // Closes a bulk change and refills, selecting the noted rows again.
    void EndBulkChange(const std::vector<int>& selected);

    // GlazesViewFile.cpp
    void OnFind();
    void OnMerge();
    // Merges the picked glazes; true when at least one was appended or replaced.
    bool MergeGlazes(const CGlazeList& incoming, const std::vector<int>& picked, int method,
                     const std::vector<int>& existing, const std::string& path);
    void OnSaveSelected();
    void OnImport(unsigned id);
    // Appends imported glazes at the end and announces them; info is the information line.
    void AppendImported(const CGlazeList& imported, const std::string& info);
    void OnExport(unsigned id);
    void OnExportInsight();

    // GlazeListPrint.cpp
    void PrintGlazes(unsigned id);

    int m_nListFormat = 0;
    bool m_bFrozen = false;
};

// Writes text to the clipboard with CR LF line ends; false when the clipboard refused it.
bool PutTextOnClipboard(const std::string& text);
// The file name an Insight export offers for a glaze: the first 8 letters and digits of its
// name, then ".rcp".
std::string InsightFileNameFor(const std::string& glazeName);

// The glaze window's menu bar (resource 3) and its context menu (305).
void RegisterGlazesMenu();
CMenuDef GlazesPopupMenu();
// Gives the glaze template its list window (a CGlazesView) and registers its menu.
void InstallGlazesTemplate(CDocTemplate& docTemplate);
