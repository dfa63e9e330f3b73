#pragma once

#include "shell/AppCommandIds.h"

// Command numbers of the text windows (menu texts in the comments). The edit commands keep the
// numbers the framework gives its standard edit commands, so every text window, and any other
// view with a text control, answers to the same ones.

enum TextFileCommand : unsigned {
    // Document commands.
    CmdTextSave = 33044,   // "&Save"
    CmdTextSaveAs = 33045, // "Save &As..."
    CmdTextRevert = 33046, // "&Revert To Saved"
    CmdTextClose = 33052,  // "&Close"

    // Printing.
    CmdTextPrint = 33047,        // "&Print..."
    CmdTextPrintPreview = 33048, // "Print Pre&view..."
    CmdTextWriteToFile = 33049,  // "Write to &File..."

    // Whole-text commands.
    CmdRemoveBlankLinesAll = 33062,      // "&All"
    CmdRemoveBlankLinesTrailing = 33077, // "&Trailing"
    CmdTabsToSpaces = 33075,             // "&Tabs to Spaces..."
    CmdAlphabetizeForward = 33064,       // "&Forward"
    CmdAlphabetizeReverse = 33065,       // "&Reverse"
    CmdAlphabetizeForwardCase = 33066,   // "Forward, &Case-Sensitive"
    CmdAlphabetizeReverseCase = 33067,   // "Reverse, Case-&Sensitive"

    CmdInformationWindow = CmdShellInformationWindow, // "In&formation Window"
    CmdTextEmail = 33076,         // "&Email" (never enabled)

    // The framework's edit commands.
    CmdEditClear = 57632,     // "&Delete"
    CmdEditClearAll = 57633,  // "Clear All"
    CmdEditCopy = 57634,      // "&Copy"
    CmdEditCut = 57635,       // "Cu&t"
    CmdEditFind = 57636,      // "&Find..."
    CmdEditPaste = 57637,     // "&Paste"
    CmdEditReplace = 57641,   // "R&eplace..."
    CmdEditSelectAll = 57642, // "Select &All"
    CmdEditUndo = 57643,      // "&Undo"
    CmdEditRepeat = 57644,    // "Find &Next"

    // Help for the active window.
    CmdHelp = CmdShellHelp,
    CmdContextHelp = 57670,
};

// Help topics of the text windows.
inline constexpr unsigned kTextWindowHelpId = 260;
inline constexpr unsigned kInformationWindowHelpId = 261;
