#include "materials/MaterialsView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppCommandIds.h"
#include "shell/RecordDatabaseDoc.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewMaterialDb, CmdOpenMaterialDb, CmdSaveMaterialDb,
                                               CmdSaveMaterialDbAs, CmdRevertMaterialDb};

CMenuDef FileMenu()
{
    std::vector<CMenuDef> items = ShellFileItems();
    std::vector<CMenuDef> database = DatabaseFileItems(kFileCommands, kMaterialsList.words);
    // Save Selected As follows Save As, and Merge follows Revert To Saved.
    database.insert(database.begin() + 4, M::Item(CmdMatListSaveSelected, "Save Se&lected As..."));
    database.push_back(M::Item(CmdMatListMergeDatabase, "&Merge Material Database..."));
    for (CMenuDef& item : database)
        items.push_back(std::move(item));
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
    for (CMenuDef& item : ClosingFileItems())
        items.push_back(std::move(item));
    return M::Popup("&File", std::move(items));
}

CMenuDef EditMenu()
{
    const CRecordListCommands& c = kMaterialsList.commands;
    std::vector<CMenuDef> items = RecordListEditItems(c, true);
    items.push_back(M::Separator());
    items.push_back(M::Item(CmdMatListFind, "&Find...\tCtrl+F", "Ctrl+F"));
    items.push_back(M::Separator());
    for (CMenuDef& item : RecordListSortItems(c, true))
        items.push_back(std::move(item));
    items.push_back(M::Item(CmdMatListResort, "&Re-sort..."));
    return M::Popup("&Edit", std::move(items));
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
        EditMenu(),
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
