#pragma once

// Command numbers of the application and the main window, shared by every menu bar that repeats
// them (menu texts in the comments). The application handles them; document menus only list them.

enum ShellCommand : unsigned {
    // The application's own commands (every document menu repeats them).
    CmdShellNewGlazeDatabase = 33011,  // "&New Glaze Database"
    CmdShellOpenGlazeDatabase = 33013, // "&Open Glaze Database..."
    CmdShellNewTextWindow = 33039,     // "&New Text Window"
    CmdShellOpenTextFile = 33040,      // "&Open Text File..."
    CmdShellSaveAllDatabases = 32795,  // "Save All &Databases"
    CmdShellPreferences = 32063,       // "&Preferences..."
    CmdShellExit = 57665,              // "E&xit"
    CmdShellHelp = 32000,              // "&Help" (F1)
    CmdShellHelpContents = 32065,      // "Help &Contents"
    CmdShellHelpTutorial = 32064,      // no menu entry
    CmdShellAbout = 57664,             // "&About..."
    CmdShellInformationWindow = 33317, // "In&formation Window"
    CmdShellPrintSetup = 57606,        // no menu entry here

    // The main menu's Edit item: no command answers it, so it stays disabled.
    CmdShellEdit = 32067,

    // The main window's commands.
    CmdWindowArrange = 57649,   // "Arrange &Icons"
    CmdWindowCascade = 57650,   // "&Cascade"
    CmdWindowTile = 57651,      // "&Tile"
    CmdViewStatusBar = 59393,   // "&Status Bar"
    CmdHelpFinder = 57667,
    CmdContextHelpMode = 57669, // Shift+F1
    CmdFrameHelp = 57670,
    CmdDefaultHelp = 57671,
};
