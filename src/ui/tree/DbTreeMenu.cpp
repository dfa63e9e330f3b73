#include "tree/DbTreeView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ShellMenus.h"
#include "tree/DbTreeDoc.h"

namespace {

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return ShellFileMenu({
        M::Item(CmdNewDbTree, "&New Database Tree"),
        M::Item(CmdOpenDbTree, "&Open Database Tree..."),
        M::Item(CmdSaveDbTree, "&Save Database Tree"),
        M::Item(CmdSaveDbTreeAs, "Save &As..."),
        M::Item(CmdRevertDbTree, "&Revert To Saved"),
    });
}

CMenuDef TreeMenu()
{
    using M = CMenuDef;
    return M::Popup("&Tree", {
        M::Item(CmdTreeOpenDatabase, "&Open Database\tDblClk"),
        M::Item(CmdTreeDatabaseNotes, "Display Database &Notes"),
        M::Separator(),
        M::Item(CmdTreeAddDatabases, "&Add Databases to Tree...\tIns", "Ins"),
        M::Item(CmdTreeRemoveDatabase, "&Remove Database from Tree\tDel", "Del"),
        M::Item(CmdTreeClear, "&Clear Tree"),
        M::Item(CmdTreeUpdate, "&Update Tree"),
        M::Item(CmdTreeSort, "&Sort"),
        M::Separator(),
        M::Item(CmdTreeShowTitles, "Database &Titles"),
        M::Item(CmdTreeShowFileNames, "Database &Filenames"),
        M::Item(CmdTreeShowPathNames, "Database &Pathnames"),
        M::Separator(),
        M::Item(CmdTreeExpandAll, "&Expand All"),
        M::Item(CmdTreeCollapseAll, "&Collapse All"),
    });
}

} // namespace

void RegisterDbTreeMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kDbTreeResourceId, {
        FileMenu(),
        TreeMenu(),
        M::WindowPopup(),
        HelpMenu(CmdTreeHelp),
    });
}

CMenuDef DbTreeBranchPopupMenu()
{
    using M = CMenuDef;
    return M::Popup("", {
        M::Item(CmdTreeExpandAll, "&Expand All"),
        M::Item(CmdTreeCollapseAll, "&Collapse All"),
        M::Separator(),
        M::Item(CmdTreeShowTitles, "View &Titles"),
        M::Item(CmdTreeShowFileNames, "View &Filenames"),
        M::Separator(),
        M::Item(CmdTreeUpdate, "&Update Tree"),
        M::Item(CmdTreeAddDatabases, "&Add Databases to Tree...\tIns"),
    });
}

CMenuDef DbTreeEntryPopupMenu()
{
    using M = CMenuDef;
    return M::Popup("", {
        M::Item(CmdTreeOpenDatabase, "&Open Database\tDblClk"),
        M::Item(CmdTreeDatabaseNotes, "Display &Notes"),
        M::Item(CmdTreeRemoveDatabase, "&Remove from Tree \tDel"),
        M::Separator(),
        M::Item(CmdTreeShowTitles, "View &Titles"),
        M::Item(CmdTreeShowFileNames, "View &Filenames"),
        M::Separator(),
        M::Item(CmdTreeUpdate, "&Update Tree"),
        M::Item(CmdTreeAddDatabases, "&Add Databases to Tree...\tIns"),
    });
}

const char* DbTreeCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdTreeAddDatabases: return "Open a dialog to add Oxidarium databases to the tree view";
    case CmdTreeRemoveDatabase: return "Remove the selected database from the tree view";
    case CmdTreeClear: return "Remove all databases from the tree view";
    case CmdTreeOpenDatabase: return "Open the selected database";
    case CmdTreeShowTitles: return "Show database titles in the tree view";
    case CmdTreeShowFileNames: return "Show database filenames in the tree view";
    case CmdTreeSort: return "Sort the databases in the tree alphabetically";
    case CmdTreeDatabaseNotes: return "Display database notes for the selected database";
    case CmdTreeAddOpenDatabases: return "Add databases loaded in Oxidarium to the tree view";
    case CmdTreeRemoveInvalid: return "Check all databases in the tree and remove those that are not valid";
    case CmdTreeUpdate: return "Add loaded databases to tree, synchronize titles, and remove obsolete items";
    case CmdTreeExpandAll: return "Expand all branches of the tree";
    case CmdTreeCollapseAll: return "Collapse all branches of the tree";
    case CmdTreeShowPathNames: return "Show database pathnames in the tree view";
    default: return nullptr;
    }
}

void InstallDbTreeTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CDbTreeView>(docTemplate);
    RegisterDbTreeMenu();
}
