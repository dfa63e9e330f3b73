// The menu bars of the limit-formula windows (list: resource 8, edit form: resource 12), their
// status-bar prompts, and the edit forms as the limit-formulas document opens them.

#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"

namespace {

std::vector<CMenuDef> DatabaseFileItems()
{
    using M = CMenuDef;
    return {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdNewLimitFormulaDb, "&New Limit Formula Database"),
        M::Item(CmdOpenLimitFormulaDb, "&Open Limit Formula Database..."),
        M::Item(CmdSaveLimitFormulaDb, "&Save Limit Formula Database"),
        M::Item(CmdSaveLimitFormulaDbAs, "Save &As..."),
        M::Item(CmdRevertLimitFormulaDb, "&Revert To Saved"),
    };
}

std::vector<CMenuDef> ClosingFileItems()
{
    using M = CMenuDef;
    return {
        M::Separator(),
        M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
        M::Item(CmdShellPreferences, "&Preferences..."),
        M::Separator(),
        M::Item(CmdShellExit, "E&xit"),
    };
}

CMenuDef WindowMenu()
{
    return CMenuDef::WindowPopup();
}

CMenuDef HelpMenu(unsigned helpCommand)
{
    using M = CMenuDef;
    return M::Popup("&Help", {
        M::Item(helpCommand, "&Help", "F1"),
        M::Item(CmdShellHelpContents, "Help &Contents"),
        M::Separator(),
        M::Item(CmdShellAbout, "&About..."),
    });
}

CMenuDef ListFileMenu()
{
    using M = CMenuDef;
    std::vector<CMenuDef> items = DatabaseFileItems();
    items.push_back(M::Separator());
    items.push_back(M::Popup("&Merge", {
        M::Item(CmdLimListMergeFormulas, "&Limit Formulas..."),
        M::Item(CmdLimListMergeCombinations, "&Oxide Combinations..."),
    }));
    items.push_back(M::Item(CmdLimListSaveSelected, "Save Se&lected As..."));
    items.push_back(M::Separator());
    items.push_back(CMenuDef::PrintPopup("Print &Limit Formulas", CmdLimListPrint, CmdLimListPrintPreview, CmdLimListWriteToFile));
    for (CMenuDef& item : ClosingFileItems())
        items.push_back(std::move(item));
    return M::Popup("&File", std::move(items));
}

CMenuDef ListEditMenu()
{
    using M = CMenuDef;
    return M::Popup("&Edit", {
        M::Item(CmdLimListEdit, "&Edit\tDblClick"),
        M::Item(CmdLimListEditLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(CmdLimListCut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(CmdLimListCopy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(CmdLimListPaste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(CmdLimListDelete, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(CmdLimListSelectAll, "&Select All"),
        M::Item(CmdLimListInvertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(CmdLimListInsertNew, "&Insert new\tIns", "Ins"),
        M::Item(CmdLimListAppendNew, "&Append new\tShft+Ins", "Shift+Ins"),
    });
}

CMenuDef ListSortMenu()
{
    using M = CMenuDef;
    return M::Popup("&Sort", {
        M::Item(CmdLimListShiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(CmdLimListShiftDown, "Shift &Down\tShft+Dn", "Shift+Down"),
        M::Item(CmdLimListSelectedToTop, "Selected to &Top"),
        M::Item(CmdLimListAlphabetize, "&Alphabetize"),
    });
}

CMenuDef ListUtilitiesMenu()
{
    using M = CMenuDef;
    return M::Popup("&Utilities", {
        M::Item(CmdLimListDatabaseNotes, "Database &Notes..."),
        M::Item(CmdLimListOxideCombinations, "&Oxide Combinations..."),
        M::Separator(),
        M::Item(CmdLimListUnion, "&Union"),
        M::Item(CmdLimListIntersection, "&Intersection"),
    });
}

CMenuDef EditFileMenu()
{
    using M = CMenuDef;
    std::vector<CMenuDef> items = DatabaseFileItems();
    items.push_back(M::Separator());
    items.push_back(CMenuDef::PrintPopup("&Print Limit Formula", CmdLimEditPrint, CmdLimEditPrintPreview, CmdLimEditWriteToFile));
    for (CMenuDef& item : ClosingFileItems())
        items.push_back(std::move(item));
    return M::Popup("&File", std::move(items));
}

// Edit forms are second windows on the one limit-formulas document: they are made here, on the
// document the caller names, never by opening a document through the template.
class CLimitFormulaEditWindows : public CLimitFormulaEditViews {
public:
    bool OpenEditView(CLimitFormulasDoc& document, int index) override
    {
        CLimitFormulaEditView* view = CreateView(document);
        if (!view)
            return false;
        view->SetFormulaIndex(index);
        return true;
    }

    bool OpenLimitedEditView(CLimitFormulasDoc& document, const std::vector<int>& indices) override
    {
        CLimitFormulaEditView* view = CreateView(document);
        if (!view)
            return false;
        view->SetLimitedList(indices.data(), static_cast<int>(indices.size()));
        return true;
    }

    CLimitFormulaEditLink* AsEditView(CView* view) override { return dynamic_cast<CLimitFormulaEditView*>(view); }

private:
    static CLimitFormulaEditView* CreateView(CLimitFormulasDoc& document)
    {
        CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
        CDocTemplate* editTemplate = g_pLimitFormulaEditTemplate;
        if (!mainFrame || !editTemplate)
            return nullptr;
        auto* view = new CLimitFormulaEditView();
        CMDIChildFrame* frame = mainFrame->CreateChildFrame(*editTemplate, document, view, view, true);
        if (!frame)
            return nullptr;
        view->OnInitialUpdate();
        frame->ActivateFrame();
        return view;
    }
};

CLimitFormulaEditWindows s_editWindows;

} // namespace

void RegisterLimitFormulasMenu()
{
    RegisterMenuBar(kLimitFormulasResourceId, {
        ListFileMenu(),
        ListEditMenu(),
        ListSortMenu(),
        CMenuDef::Popup("&View", {
            CMenuDef::Item(CmdLimListNames, "&Names"),
            CMenuDef::Item(CmdLimListNamesAndNotes, "Names and N&otes"),
        }),
        ListUtilitiesMenu(),
        WindowMenu(),
        HelpMenu(CmdLimListHelp),
    });
}

CMenuDef LimitFormulasPopupMenu()
{
    using M = CMenuDef;
    return M::Popup("", {
        M::Item(CmdLimListEdit, "&Edit"),
        M::Item(CmdLimListEditLimited, "Edit (&limited)"),
        M::Item(CmdLimListDatabaseNotes, "Database &Notes..."),
    });
}

const char* LimitFormulasCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdLimListEdit: return "Open a new Edit view to the (first) selected limit formula";
    case CmdLimListEditLimited: return "Open a new Edit view with access only to selected limit formulas";
    case CmdLimListCut: return "Copy selected limit formulas to the local clipboard, then delete them";
    case CmdLimListCopy: return "Copy selected limit formulas to the local clipboard";
    case CmdLimListPaste: return "Copy limit formulas from the local clipboard, inserting before the first selected one";
    case CmdLimListDelete: return "Delete the selected limit formulas";
    case CmdLimListSelectAll: return "Select all limit formulas in the list";
    case CmdLimListInvertSelection: return "Change selection state of all limit formulas in the list";
    case CmdLimListInsertNew: return "Insert a new limit formula before the first selected one";
    case CmdLimListAppendNew: return "Insert a new limit formula after the last selected one";
    case CmdLimListShiftUp: return "Shift selected limit formulas up in the list";
    case CmdLimListShiftDown: return "Shift selected limit formulas down in the list";
    case CmdLimListSelectedToTop: return "Move the selected limit formulas to the top of the list";
    case CmdLimListAlphabetize: return "Alphabetize the limit formula list ";
    case CmdLimListDatabaseNotes: return "View and edit limit formula database notes";
    case CmdLimListOxideCombinations: return "View and edit oxide combinations";
    case CmdLimListUnion: return "Create a new limit formula from the union of selected limit formulas";
    case CmdLimListIntersection: return "Create a new limit formula from the intersection of selected limit formulas";
    case CmdLimListMergeFormulas: return "Merge limit formulas from another limit formula database";
    case CmdLimListMergeCombinations: return "Merge oxide combinations from another limit formula database";
    case CmdLimListSaveSelected: return "Save selected limit formulas to a new database";
    case CmdLimListPrint: return "Print limit formula summaries";
    case CmdLimListPrintPreview: return "Show limit formula summaries in Print Preview mode";
    case CmdLimListWriteToFile: return "Write limit formula summaries to a file";
    case CmdLimListNames: return "Show limit formula names";
    case CmdLimListNamesAndNotes: return "Show limit formula names and notes";
    case CmdSaveLimitFormulaDb: return "Save the limit formula database";
    case CmdSaveLimitFormulaDbAs: return "Save the limit formula database with a new name";
    case CmdRevertLimitFormulaDb: return "Revert to last saved version of limit formula database";
    case CmdNewLimitFormulaDb: return "Start a new limit formula database";
    case CmdOpenLimitFormulaDb: return "Open a different limit formula database";
    default: return nullptr;
    }
}

void InstallLimitFormulasTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CLimitFormulasView>(docTemplate);
    RegisterLimitFormulasMenu();
}

void RegisterLimitFormulaEditMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kLimitFormulaEditResourceId, {
        EditFileMenu(),
        M::Popup("&Edit", {
            M::Item(CmdLimEditCut, "Cu&t"),
            M::Item(CmdLimEditCopy, "&Copy"),
            M::Item(CmdLimEditPaste, "&Paste"),
            M::Separator(),
            M::Item(CmdLimEditSaveAsNew, "Save as &New"),
            M::Item(CmdLimEditInsertNew, "&Insert new"),
            M::Item(CmdLimEditAppendNew, "&Append new"),
        }),
        M::Popup("&View", {
            M::Item(CmdLimEditPrevious, "&Previous Limit Formula"),
            M::Item(CmdLimEditNext, "&Next Limit Formula"),
            M::Item(CmdLimEditJumpTo, "&Jump to..."),
            M::Separator(),
            M::Item(CmdLimEditLimitedAccess, "&Limited Access"),
            M::Separator(),
            M::Item(CmdLimEditCloseView, "&Close View"),
        }),
        M::Popup("&Utilities", {
            M::Item(CmdLimEditOxideCombinations, "Oxide &Combinations..."),
        }),
        WindowMenu(),
        HelpMenu(CmdLimEditHelp),
    });
}

const char* LimitFormulaEditCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdLimEditPrint: return "Print limit formula summary";
    case CmdLimEditPrintPreview: return "Show limit formula summary in Print Preview mode";
    case CmdLimEditWriteToFile: return "Write limit formula summary to a file";
    case CmdLimEditCut: return "Copy limit formula to the local clipboard, then close this view (does not delete from database)";
    case CmdLimEditCopy: return "Copy limit formula to the local clipboard";
    case CmdLimEditPaste: return "Copy first limit formula from the local clipboard";
    case CmdLimEditSaveAsNew: return "Save this limit formula as a new limit formula in the database";
    case CmdLimEditInsertNew: return "Insert a new limit formula before the current one";
    case CmdLimEditAppendNew: return "Insert a new limit formula after the current one";
    case CmdLimEditPrevious: return "Edit previous limit formula in list";
    case CmdLimEditNext: return "Edit next limit formula in list";
    case CmdLimEditJumpTo: return "Select a different limit formula to edit";
    case CmdLimEditLimitedAccess: return "Remove access restrictions of this Edit view";
    case CmdLimEditCloseView: return "Close the Edit view";
    case CmdLimEditOxideCombinations: return "View and edit oxide combinations";
    default: return LimitFormulasCommandPrompt(id);
    }
}

void InstallLimitFormulaEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CLimitFormulaEditView>(docTemplate);
    RegisterLimitFormulaEditMenu();
    SetLimitFormulaEditViews(&s_editWindows);
}
