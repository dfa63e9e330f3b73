#include "materials/MaterialsView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppCommandIds.h"

namespace {

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return M::Popup("&File", {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdNewMaterialDb, "&New Material Database"),
        M::Item(CmdOpenMaterialDb, "&Open Material Database..."),
        M::Item(CmdSaveMaterialDb, "&Save Material Database"),
        M::Item(CmdSaveMaterialDbAs, "Save &As..."),
        M::Item(CmdMatListSaveSelected, "Save Se&lected As..."),
        M::Item(CmdRevertMaterialDb, "&Revert To Saved"),
        M::Item(CmdMatListMergeDatabase, "&Merge Material Database..."),
        M::Separator(),
        M::Popup("&Import", {M::Item(CmdMatListImportTmt, "&Insight TMT File...")}),
        M::Popup("&Export", {M::Item(CmdMatListExportTmt, "&Insight TMT File")}),
        M::Separator(),
        CMenuDef::PrintPopup("&Print Selected Materials", CmdMatListPrintSelected, CmdMatListPreviewSelected,
                   CmdMatListWriteSelected),
        CMenuDef::PrintPopup("Print Material &List", CmdMatListPrintList, CmdMatListPreviewList, CmdMatListWriteList),
        M::Separator(),
        M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
        M::Item(CmdShellPreferences, "&Preferences..."),
        M::Separator(),
        M::Item(CmdShellExit, "E&xit"),
    });
}

CMenuDef EditMenu()
{
    using M = CMenuDef;
    return M::Popup("&Edit", {
        M::Item(CmdMatListEdit, "&Edit\tDblClick"),
        M::Item(CmdMatListEditLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(CmdMatListCut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(CmdMatListCopy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(CmdMatListPaste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(CmdMatListDelete, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(CmdMatListSelectAll, "&Select All"),
        M::Item(CmdMatListInvertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(CmdMatListInsertNew, "&Insert new  \tIns", "Ins"),
        M::Item(CmdMatListAppendNew, "&Append new  \tShft+Ins", "Shift+Ins"),
        M::Separator(),
        M::Item(CmdMatListFind, "&Find...\tCtrl+F", "Ctrl+F"),
        M::Separator(),
        M::Item(CmdMatListShiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(CmdMatListShiftDown, "Shift &Down   \tShft+Dn", "Shift+Down"),
        M::Item(CmdMatListSelectedToTop, "Selected to &Top"),
        M::Item(CmdMatListAlphabetize, "&Alphabetize"),
        M::Item(CmdMatListResort, "&Re-sort..."),
    });
}

CMenuDef ViewMenu()
{
    using M = CMenuDef;
    return M::Popup("&View", {
        M::Item(CmdMatListNormalView, "&Normal View"),
        M::Item(CmdMatListExtendedView1, "Extended View &1"),
        M::Item(CmdMatListExtendedView2, "Extended View &2"),
        M::Item(CmdMatListExtendedView3, "Extended View &3"),
        M::Item(CmdMatListPercentView, "&Weight percentages"),
    });
}

CMenuDef DatabaseMenu()
{
    using M = CMenuDef;
    return M::Popup("&Database", {
        M::Item(CmdMatListDatabaseNotes, "Database &Notes..."),
        M::Item(CmdMatListUnits, "&Units..."),
        M::Item(CmdMatListCheckDatabase, "Chec&k Database..."),
        M::Item(CmdMatListSetField, "Set &Field..."),
    });
}

CMenuDef UtilitiesMenu()
{
    using M = CMenuDef;
    return M::Popup("&Utilities", {
        M::Item(CmdMatListToGlazes, "Materials to &Glazes"),
        M::Item(CmdMatListConvertFormulas, "&Convert Formulas..."),
        M::Item(CmdMatListNormalizeFormulas, "&Normalize Formulas"),
        M::Item(CmdMatListAddLoi, "Add &LOI to Formulas"),
        M::Separator(),
        M::Item(CmdMatListFindSimilar, "Fin&d Similar Materials"),
    });
}

} // namespace

void RegisterMaterialsMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kMaterialsResourceId, {
        FileMenu(),
        EditMenu(),
        ViewMenu(),
        DatabaseMenu(),
        UtilitiesMenu(),
        M::WindowPopup(),
        M::Popup("&Help", {
            M::Item(CmdMatListHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

CMenuDef MaterialsPopupMenu()
{
    using M = CMenuDef;
    return M::Popup("", {
        M::Item(CmdMatListEdit, "&Edit"),
        M::Item(CmdMatListEditLimited, "Edit (&limited)"),
        M::Item(CmdMatListDatabaseNotes, "Database &Notes..."),
    });
}

const char* MaterialsCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdMatListPrintSelected: return "Print material summaries";
    case CmdMatListPreviewSelected: return "Show material summaries in Print Preview mode";
    case CmdMatListWriteSelected: return "Write material summaries to a file";
    case CmdMatListPrintList: return "Print material list";
    case CmdMatListPreviewList: return "Show material list in Print Preview mode";
    case CmdMatListWriteList: return "Write material list to a file";
    default: return nullptr;
    }
}

void InstallMaterialsTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CMaterialsView>(docTemplate);
    RegisterMaterialsMenu();
}
