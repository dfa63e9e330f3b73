// The menus of the glaze database windows: the menu bar of the glaze template and the list's
// context menu.

#include "glazes/GlazesView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "glazes/GlazesDoc.h"
#include "shell/AppCommandIds.h"
#include "records/RecordListView.h"
#include "records/RecordMenus.h"
#include "support/ShellMenus.h"

namespace {

using M = CMenuDef;

// The glaze list's commands that every list of records has.
constexpr CRecordListCommands kListCommands = {
    CmdGlzEdit, CmdGlzEditLimited, CmdGlzCut, CmdGlzCopy, CmdGlzPaste, CmdGlzDelete, CmdGlzSelectAll,
    CmdGlzInvertSelection, CmdGlzInsertNew, CmdGlzAppendNew, CmdGlzShiftUp, CmdGlzShiftDown, CmdGlzSelectedToTop,
    CmdGlzAlphabetize, CmdGlzDatabaseNotes, CmdGlzMerge, CmdGlzSaveSelected, CmdGlzHelp, CmdGlzContextHelp,
};

CMenuDef FileMenu()
{
    return ShellFileMenu({
        M::Item(CmdSaveGlazeDb, "&Save Glaze Database"),
        M::Item(CmdSaveGlazeDbAs, "Save &As..."),
        M::Item(CmdRevertGlazeDb, "&Revert To Saved"),
        M::Item(CmdCloseGlazeDb, "&Close"),
        M::Separator(),
        M::Item(CmdGlzSaveSelected, "Save Se&lected As..."),
        M::Item(CmdGlzMerge, "&Merge Glaze Database..."),
        M::Popup("&Import", {
            M::Item(CmdGlzImportRecipary, "&Recipary Recipes..."),
            M::Item(CmdGlzImportInsight, "&Insight Recipes..."),
            M::Item(CmdGlzImportHyperGlaze, "&HyperGlaze Recipes..."),
        }),
        M::Popup("&Export", {
            M::Item(CmdGlzExportRecipary, "&Recipary Format..."),
            M::Item(CmdGlzExportInsight, "&Insight Format..."),
            M::Item(CmdGlzExportHyperGlaze, "&HyperGlaze Format..."),
            M::Item(CmdGlzExportHtml, "H&TML Format..."),
        }),
    });
}

CMenuDef EditMenu()
{
    CMenuDef edit = RecordListFindEditMenu(kListCommands, CmdGlzFind, CmdGlzResort);
    // Paste to New Database follows Paste.
    edit.items.insert(edit.items.begin() + 6,
                      M::Item(CmdGlzPasteNewDb, "&Paste to &New Database\tCtrl+Shift+V", "Ctrl+Shift+V"));
    return edit;
}

CMenuDef ViewMenu()
{
    return M::Popup("&View", {
        M::Item(CmdGlzNormalView, "&Normal View"),
        M::Item(CmdGlzExtendedView1, "Extended View &1"),
        M::Item(CmdGlzExtendedView2, "Extended View &2"),
        M::Item(CmdGlzExtendedView3, "Extended View &3"),
        M::Separator(),
        M::Item(CmdGlzWeightPercent, "&Weight Percentages"),
        M::Item(CmdGlzUnityFormula, "&Unity Formula Amounts"),
        M::Item(CmdGlzMolePercent, "&Molecular Percentages"),
        M::Separator(),
        M::Item(CmdGlzOpenReport, "Open &Report\tCtrl+R", "Ctrl+R"),
        M::Item(CmdGlzOpenGraph, "Open &Graph\tCtrl+G", "Ctrl+G"),
    });
}

CMenuDef UtilitiesMenu()
{
    return M::Popup("&Utilities", {
        M::Item(CmdGlzDatabaseNotes, "Database &Notes..."),
        M::Separator(),
        M::Item(CmdGlzToMaterials, "Glazes to &Materials..."),
        M::Item(CmdGlzMakeLimitFormula, "Ma&ke Limit Formula..."),
        M::Item(CmdGlzSetField, "Set &Field..."),
        M::Item(CmdGlzResequence, "&Resequence..."),
        M::Item(CmdGlzMakeSubstitution, "Make &Substitution..."),
        M::Item(CmdGlzCheckIngredients, "Check &Ingredients..."),
        M::Separator(),
        M::Item(CmdGlzCorrectCrazing, "Correct &Crazing/Shivering..."),
        M::Item(CmdGlzChangeMeltingPoint, "Change Melting &Point..."),
        M::Separator(),
        M::Popup("&Blend", {
            M::Item(CmdGlzMixGlazes, "Mi&x Glazes..."),
            M::Item(CmdGlzAverageGlazes, "A&verage Glazes"),
            M::Separator(),
            M::Item(CmdGlzLineBlend, "&Line Blend..."),
            M::Item(CmdGlzTriaxialBlend, "&Triaxial Blend..."),
            M::Item(CmdGlzSquareBlend, "S&quare Blend..."),
            M::Item(CmdGlzVarrowBlend, "V&arrow Recipe Blend..."),
        }),
        M::Item(CmdGlzFindSimilar, "Fin&d Similar Glazes"),
        M::Item(CmdGlzShoppingList, "Shopping List..."),
        M::Item(CmdGlzOptimize, "&Optimize..."),
    });
}

CMenuDef PrintMenu()
{
    CMenuDef recipes =
        M::PrintPopup("Print Selected Glaze Re&cipes", CmdGlzPrintRecipes, CmdGlzPreviewRecipes, CmdGlzWriteRecipes);
    recipes.items.push_back(M::Separator());
    recipes.items.push_back(M::Item(CmdGlzRecipeBatchSizes, "&Set up batch sizes..."));
    return M::Popup("&Print", {
        M::PrintPopup("&Print Selected Glazes", CmdGlzPrintSummaries, CmdGlzPreviewSummaries, CmdGlzWriteSummaries),
        recipes,
        M::PrintPopup("Print Selected Glaze Re&ports", CmdGlzPrintReports, CmdGlzPreviewReports, CmdGlzWriteReports),
        M::PrintPopup("Print Glaze &List", CmdGlzPrintList, CmdGlzPreviewList, CmdGlzWriteList),
        M::Separator(),
        M::Item(CmdShellPrintSetup, "P&rint Setup..."),
    });
}

} // namespace

void RegisterGlazesMenu()
{
    RegisterMenuBar(kGlazesTemplateId, {
        FileMenu(),
        EditMenu(),
        ViewMenu(),
        UtilitiesMenu(),
        PrintMenu(),
        M::WindowPopup(),
        HelpMenu(CmdGlzHelp),
    });
}

CMenuDef GlazesPopupMenu()
{
    return RecordListPopupMenu(kListCommands, {
        M::Item(CmdGlzOpenReport, "Open &Report"),
        M::Item(CmdGlzOpenGraph, "Open &Graph"),
    });
}

void InstallGlazesTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CGlazesView>(docTemplate);
    RegisterGlazesMenu();
}
