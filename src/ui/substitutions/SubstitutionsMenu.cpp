// The menu bars of the substitution windows (list: resource 7, edit form: resource 11), their
// status-bar prompts, and the edit forms as the substitution document asks them.

#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"
#include "substitutions/SubstitutionsDoc.h"

namespace {

// The File menu of both windows: the shell's and the database's commands around extra items.
CMenuDef FileMenu(std::vector<CMenuDef> extra)
{
    using M = CMenuDef;
    std::vector<CMenuDef> items = {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdNewSubstitutionDb, "&New Substitution Database"),
        M::Item(CmdOpenSubstitutionDb, "&Open Substitution Database..."),
        M::Item(CmdSaveSubstitutionDb, "&Save Substitution Database"),
        M::Item(CmdSaveSubstitutionDbAs, "Save &As..."),
        M::Item(CmdRevertSubstitutionDb, "&Revert To Saved"),
        M::Separator(),
    };
    for (CMenuDef& item : extra)
        items.push_back(std::move(item));
    for (CMenuDef item : {M::Separator(), M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
                          M::Item(CmdShellPreferences, "&Preferences..."), M::Separator(),
                          M::Item(CmdShellExit, "E&xit")})
        items.push_back(std::move(item));
    return M::Popup("&File", std::move(items));
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

CMenuDef ListEditMenu()
{
    using M = CMenuDef;
    return M::Popup("&Edit", {
        M::Item(CmdSubListEdit, "&Edit\tDblClick"),
        M::Item(CmdSubListEditLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(CmdSubListCut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(CmdSubListCopy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(CmdSubListPaste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(CmdSubListDelete, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(CmdSubListSelectAll, "&Select All"),
        M::Item(CmdSubListInvertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(CmdSubListInsertNew, "&Insert new\tIns", "Ins"),
        M::Item(CmdSubListAppendNew, "&Append new\tShft+Ins", "Shift+Ins"),
    });
}

CMenuDef ListSortMenu()
{
    using M = CMenuDef;
    return M::Popup("&Sort", {
        M::Item(CmdSubListShiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(CmdSubListShiftDown, "Shift &Down\tShft+Dn", "Shift+Down"),
        M::Item(CmdSubListSelectedToTop, "Selected to &Top"),
        M::Item(CmdSubListAlphabetize, "&Alphabetize"),
    });
}

// Substitution edit forms reach the document through this link.
class CSubstitutionEditWindows : public CSubstitutionEditViews {
public:
    CSubstitutionEditLink* AsEditView(CView* view) override { return dynamic_cast<CSubstitutionEditView*>(view); }
};

CSubstitutionEditWindows s_editWindows;

} // namespace

void RegisterSubstitutionsMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kSubstitutionsResourceId, {
        FileMenu({
            M::Item(CmdSubListMerge, "&Merge Substitution Database..."),
            M::Item(CmdSubListSaveSelected, "Save Se&lected As..."),
            M::Separator(),
            CMenuDef::PrintPopup("Print Selected &Substitutions", CmdSubListPrintSelected, CmdSubListPreviewSelected,
                       CmdSubListWriteSelected),
            CMenuDef::PrintPopup("Print Substitution &Table", CmdSubListPrintTable, CmdSubListPreviewTable,
                       CmdSubListWriteTable),
        }),
        ListEditMenu(),
        ListSortMenu(),
        M::Popup("&View", {
            M::Item(CmdSubListNames, "&Names"),
            M::Item(CmdSubListNamesAndNotes, "Names and N&otes"),
        }),
        M::Popup("&Utilities", {
            M::Item(CmdSubListDatabaseNotes, "Database &Notes..."),
        }),
        WindowMenu(),
        HelpMenu(CmdSubListHelp),
    });
}

CMenuDef SubstitutionsPopupMenu()
{
    using M = CMenuDef;
    return M::Popup("", {
        M::Item(CmdSubListEdit, "&Edit"),
        M::Item(CmdSubListEditLimited, "Edit (&limited)"),
        M::Item(CmdSubListDatabaseNotes, "Database &Notes..."),
    });
}

const char* SubstitutionsCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdSubListEdit: return "Open a new Edit view to the (first) selected substitution";
    case CmdSubListEditLimited: return "Open a new Edit view with access only to selected substitutions";
    case CmdSubListCut: return "Copy selected substitutions to the local clipboard, then delete them";
    case CmdSubListCopy: return "Copy selected substitutions to the local clipboard";
    case CmdSubListPaste: return "Copy substitutions from the local clipboard, inserting before the first selected one";
    case CmdSubListDelete: return "Delete the selected substitutions";
    case CmdSubListSelectAll: return "Select all substitutions in the list";
    case CmdSubListInvertSelection: return "Change selection state of all substitutions in the list";
    case CmdSubListInsertNew: return "Insert a new substitution before the first selected one";
    case CmdSubListAppendNew: return "Insert a new substitution after the last selected one";
    case CmdSubListShiftUp: return "Shift selected substitutions up in the list";
    case CmdSubListShiftDown: return "Shift selected substitutions down in the list";
    case CmdSubListSelectedToTop: return "Move the selected substitutions to the top of the list";
    case CmdSubListAlphabetize: return "Alphabetize the substitution list";
    case CmdSubListNames: return "Show substitution names";
    case CmdSubListNamesAndNotes: return "Show substitution names and notes";
    case CmdSubListDatabaseNotes: return "View and edit substitution database notes";
    case CmdSubListMerge: return "Merge substitutions from another substitution database";
    case CmdSubListSaveSelected: return "Save selected substitutions to a new database";
    case CmdSubListPrintSelected: return "Print substitution summaries";
    case CmdSubListPreviewSelected: return "Show substitution summaries in Print Preview mode";
    case CmdSubListWriteSelected: return "Write substitution summaries to a file";
    case CmdSubListPrintTable: return "Print the substitution table";
    case CmdSubListPreviewTable: return "Show the substitution table in Print Preview mode";
    case CmdSubListWriteTable: return "Write the substitution table to a file";
    case CmdSaveSubstitutionDb: return "Save the substitution database";
    case CmdSaveSubstitutionDbAs: return "Save the substitution database with a new name";
    case CmdRevertSubstitutionDb: return "Revert to last saved version of substitution database";
    case CmdNewSubstitutionDb: return "Start a new substitution database";
    case CmdOpenSubstitutionDb: return "Open a different substitution database";
    default: return nullptr;
    }
}

void InstallSubstitutionsTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CSubstitutionsView>(docTemplate);
    RegisterSubstitutionsMenu();
}

void RegisterSubstitutionEditMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kSubstitutionEditResourceId, {
        FileMenu({
            CMenuDef::PrintPopup("&Print Substitution", CmdSubEditPrint, CmdSubEditPrintPreview, CmdSubEditWriteToFile),
        }),
        M::Popup("&Edit", {
            M::Item(CmdSubEditCut, "Cu&t"),
            M::Item(CmdSubEditCopy, "&Copy"),
            M::Item(CmdSubEditPaste, "&Paste"),
            M::Separator(),
            M::Item(CmdSubEditSaveAsNew, "Save as &New"),
            M::Item(CmdSubEditInsertNew, "&Insert new"),
            M::Item(CmdSubEditAppendNew, "&Append new"),
        }),
        M::Popup("&View", {
            M::Item(CmdSubEditPrevious, "&Previous Substitution"),
            M::Item(CmdSubEditNext, "&Next Substitution"),
            M::Item(CmdSubEditJumpTo, "&Jump to..."),
            M::Separator(),
            M::Item(CmdSubEditLimitedAccess, "&Limited Access"),
            M::Separator(),
            M::Item(CmdSubEditCloseView, "&Close View"),
        }),
        M::Popup("&Tools", {
            M::Item(CmdSubEditExchange, "&Exchange"),
            M::Item(CmdSubEditNormalize, "&Normalize"),
            M::Item(CmdSubEditCheckMaterials, "&Check Materials"),
            M::Item(CmdSubEditBatchCalc, "&Batch Calculation..."),
        }),
        WindowMenu(),
        HelpMenu(CmdSubEditHelp),
    });
}

const char* SubstitutionEditCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdSubEditPrint: return "Print substitution summary";
    case CmdSubEditPrintPreview: return "Show substitution summary in Print Preview mode";
    case CmdSubEditWriteToFile: return "Write substitution summary to a file";
    case CmdSubEditCut: return "Copy substitution to the local clipboard, then close this view (does not delete from database)";
    case CmdSubEditCopy: return "Copy substitution to the local clipboard";
    case CmdSubEditPaste: return "Copy first substitution from the local clipboard";
    case CmdSubEditSaveAsNew: return "Save this substitution as a new substitution in the database";
    case CmdSubEditInsertNew: return "Insert a new substitution before the current one";
    case CmdSubEditAppendNew: return "Insert a new substitution after the current one";
    case CmdSubEditPrevious: return "Edit previous substitution in list";
    case CmdSubEditNext: return "Edit next substitution in list";
    case CmdSubEditJumpTo: return "Select a different substitution to edit";
    case CmdSubEditLimitedAccess: return "Remove access restrictions of this Edit view";
    case CmdSubEditCloseView: return "Close the Edit view";
    case CmdSubEditExchange: return "Exchange the materials and the substitution";
    case CmdSubEditNormalize: return "Scale both sets so that the first material is 100";
    case CmdSubEditCheckMaterials: return "Check that every material is known, available and correctly mapped";
    case CmdSubEditBatchCalc: return "Calculate a batch for the materials";
    default: return SubstitutionsCommandPrompt(id);
    }
}

void InstallSubstitutionEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CSubstitutionEditView>(docTemplate);
    RegisterSubstitutionEditMenu();
    SetSubstitutionEditViews(&s_editWindows);
}
