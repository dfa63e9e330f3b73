#pragma once

// The main window's menu and the status-bar prompts of the commands every menu bar shares. The
// command numbers themselves live in the core (shell/AppCommandIds.h).

#include "shell/AppCommandIds.h"


// The menu bar of the main window while no document window is active.
inline constexpr unsigned kMainMenuResourceId = 2;

// The status-bar prompt of a shell command, or null for another command.
const char* ShellCommandPrompt(unsigned id);

// Registers the main window's menu bar (resource 2).
void RegisterMainMenu();
