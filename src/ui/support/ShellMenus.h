#pragma once

// The menu pieces every window kind shares, declared once: the File menu's shell commands around
// the kind's own items, and the Help menu. A kind's menu states only what is its own.

#include "framework/MenuDef.h"

#include <vector>

// "&File": New and Open Glaze Database, New Text Window, Open Text File, then own (after a
// separator), then Save All Databases, Preferences and Exit (with their separators).
CMenuDef ShellFileMenu(std::vector<CMenuDef> own);
// "&Help" (F1) with helpCommand, "Help &Contents", "&About...".
CMenuDef HelpMenu(unsigned helpCommand);
