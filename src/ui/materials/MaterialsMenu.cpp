#include "materials/MaterialsView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppCommandIds.h"
#include "records/RecordDatabaseDoc.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewMaterialDb, CmdOpenMaterialDb, CmdSaveMaterialDb,
                                               CmdSaveMaterialDbAs, CmdRevertMaterialDb};

CMenuDef FileMenu()
{
    std::vector<CMenuDef> items = DatabaseFileItems(kFileCommands, kMaterialsList.words);
    // Save Selected As follows Save As, and Merge follows Revert To Saved.
    items.insert(items.begin() + 4, M::Item(CmdMatListSaveSelected, "Save Se&lected As..."));
    items.push_back(M::Item(CmdMatListMergeDatabase, "&Merge Material Database..."));
    for (CMenuDef item : {
             M::Separator(),
             M::Popup("&Import", {M::Item(CmdMatListImportTmt, "&Insight TMT File...")}),
             M::Popup("&Export", {M::Item(CmdMatListExportTmt, "&Insight TMT File")}),
             M::Separator(),
             M::PrintPopup("&Print Selected Materials", CmdMatListPrintSelected, CmdMatListPreviewSelected,
                        CmdMatListWriteSelected),
             M::PrintPopup("Print Material &List", CmdMatListPrintList, CmdMatListPreviewList, CmdMatListWriteList),
         })
        items.push_back(std::move(item));
    return ShellFileMenu(std::move(items));
}

CMenuDef ViewMenu()
{
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
    return M::Popup("&Database", {
        M::Item(CmdMatListDatabaseNotes, "Database &Notes..."),
        M::Item(CmdMatListUnits, "&Units..."),
        M::Item(CmdMatListCheckDatabase, "Chec&k Database..."),
        M::Item(CmdMatListSetField, "Set &Field..."),
    });
}

CMenuDef UtilitiesMenu()
{
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
    RegisterMenuBar(kMaterialsResourceId, {
        FileMenu(),
        RecordListFindEditMenu(kMaterialsList.commands, CmdMatListFind, CmdMatListResort),
        ViewMenu(),
        DatabaseMenu(),
        UtilitiesMenu(),
        M::WindowPopup(),
        HelpMenu(CmdMatListHelp),
    });
}

CMenuDef MaterialsPopupMenu()
{
    return RecordListPopupMenu(kMaterialsList.commands);
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
