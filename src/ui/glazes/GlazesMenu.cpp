// The menus of the glaze database windows: the menu bar of the glaze template and the list's
// context menu.

#include "glazes/GlazesView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "glazes/GlazesDoc.h"
#include "shell/AppCommandIds.h"

namespace {

using M = CMenuDef;

CMenuDef FileMenu()
{
    return M::Popup("&File", {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
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
        M::Separator(),
        M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
        M::Item(CmdShellPreferences, "&Preferences..."),
        M::Separator(),
        M::Item(CmdShellExit, "E&xit"),
    });
}

CMenuDef EditMenu()
{
    return M::Popup("&Edit", {
        M::Item(CmdGlzEdit, "&Edit\tDblClick"),
        M::Item(CmdGlzEditLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(CmdGlzCut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(CmdGlzCopy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(CmdGlzPaste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(CmdGlzPasteNewDb, "&Paste to &New Database\tCtrl+Shift+V", "Ctrl+Shift+V"),
        M::Item(CmdGlzDelete, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(CmdGlzSelectAll, "&Select All"),
        M::Item(CmdGlzInvertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(CmdGlzInsertNew, "&Insert new  \tIns", "Ins"),
        M::Item(CmdGlzAppendNew, "&Append new  \tShft+Ins", "Shift+Ins"),
        M::Separator(),
        M::Item(CmdGlzFind, "&Find...\tCtrl+F", "Ctrl+F"),
        M::Separator(),
        M::Item(CmdGlzShiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(CmdGlzShiftDown, "Shift &Down   \tShft+Dn", "Shift+Down"),
        M::Item(CmdGlzSelectedToTop, "Selected to &Top"),
        M::Item(CmdGlzAlphabetize, "&Alphabetize"),
        M::Item(CmdGlzResort, "&Re-sort..."),
    });
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
        M::Popup("&Help", {
            M::Item(CmdGlzHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

CMenuDef GlazesPopupMenu()
{
    return M::Popup("", {
        M::Item(CmdGlzEdit, "&Edit"),
        M::Item(CmdGlzEditLimited, "Edit (&limited)"),
        M::Item(CmdGlzOpenReport, "Open &Report"),
        M::Item(CmdGlzOpenGraph, "Open &Graph"),
        M::Item(CmdGlzDatabaseNotes, "Database &Notes..."),
    });
}

void InstallGlazesTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CGlazesView>(docTemplate);
    RegisterGlazesMenu();
}
