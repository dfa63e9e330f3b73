#include "app/AppCommands.h"

#include "framework/MenuDef.h"
#include "support/ShellMenus.h"

const char* ShellCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdShellNewGlazeDatabase:
        return "Create a new glaze database";
    case CmdShellOpenGlazeDatabase:
        return "Open an existing glaze database";
    case CmdShellNewTextWindow:
        return "Open a new text window";
    case CmdShellOpenTextFile:
        return "Open an existing text file";
    case CmdShellSaveAllDatabases:
        return "Save all data in all windows and databases";
    case CmdShellPreferences:
        return "Edit program preferences";
    case CmdShellExit:
        return "Quit Oxidarium";
    case CmdShellHelp:
        return "Open Help to information pertaining to the active window";
    case CmdShellHelpContents:
        return "Open Help to the contents page";
    case CmdShellHelpTutorial:
        return "Open Help to the tutorial";
    case CmdShellAbout:
        return "Show the program's information and version number";
    case CmdShellPrintSetup:
        return "Change the printer and printing options";
    case CmdShellEdit:
        return "Nothing to edit";
    case CmdWindowCascade:
        return "Arrange the windows so that they overlap";
    case CmdWindowTile:
        return "Arrange the windows side by side";
    case CmdWindowArrange:
        return "Line up the minimised windows at the bottom";
    case CmdViewStatusBar:
        return "Show or hide the status bar";
    case CmdFrameHelp:
        return "Display help for current task or command";
    default:
        return nullptr;
    }
}

void RegisterMainMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kMainMenuResourceId, {
        M::Popup("&File", {
            M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
            M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
            M::Separator(),
            M::Item(CmdShellNewTextWindow, "&New Text Window"),
            M::Item(CmdShellOpenTextFile, "&Open Text File..."),
            M::Separator(),
            M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
            M::Separator(),
            M::Item(CmdShellPreferences, "&Preferences..."),
            M::Separator(),
            M::Item(CmdShellExit, "E&xit"),
        }),
        // A top-level item without entries; the main frame shows it disabled.
        M::Popup("Edit", {}),
        M::WindowPopup({M::Item(CmdViewStatusBar, "&Status Bar")}),
        HelpMenu(CmdShellHelp),
    });
}
