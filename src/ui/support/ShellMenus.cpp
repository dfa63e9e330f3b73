#include "support/ShellMenus.h"

#include "shell/AppCommandIds.h"

#include <utility>

using M = CMenuDef;

CMenuDef ShellFileMenu(std::vector<CMenuDef> own)
{
    std::vector<CMenuDef> items = {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
    };
    if (!own.empty())
        items.push_back(M::Separator());
    for (CMenuDef& item : own)
        items.push_back(std::move(item));
    for (CMenuDef item : {
             M::Separator(),
             M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
             M::Item(CmdShellPreferences, "&Preferences..."),
             M::Separator(),
             M::Item(CmdShellExit, "E&xit"),
         })
        items.push_back(std::move(item));
    return M::Popup("&File", std::move(items));
}

CMenuDef HelpMenu(unsigned helpCommand)
{
    return M::Popup("&Help", {
        M::Item(helpCommand, "&Help", "F1"),
        M::Item(CmdShellHelpContents, "Help &Contents"),
        M::Separator(),
        M::Item(CmdShellAbout, "&About..."),
    });
}
