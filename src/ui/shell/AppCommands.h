#pragma once

// Command numbers of the application and the main window (menu texts in the comments), and the
// status-bar prompts of the commands every menu bar shares.

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

// The menu bar of the main window while no document window is active.
inline constexpr unsigned kMainMenuResourceId = 2;

// The status-bar prompt of a shell command, or null for another command.
const char* ShellCommandPrompt(unsigned id);

// Registers the main window's menu bar (resource 2).
void RegisterMainMenu();
