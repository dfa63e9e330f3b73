#pragma once

// The menus of the record-database windows as data, declared once: the items every list and edit
// window of materials, limit formulas, substitutions and graph templates shares, and the
// status-bar prompts of the shared commands, worded with the kind's record words. Each kind puts
// its own items around them.

#include "framework/MenuDef.h"
#include "support/ShellMenus.h"

#include <vector>

struct CRecordFileCommands;
struct CRecordListCommands;
struct CRecordListKind;

// A kind's words in menu texts and prompts.
struct CRecordWords {
    const char* record;  // "limit formula"
    const char* records; // "limit formulas"
    const char* title;   // "Limit Formula": "&New Limit Formula Database"
};

// The ids a kind gives the shared commands of its edit windows.
struct CRecordEditCommands {
    unsigned print;
    unsigned printPreview;
    unsigned writeToFile;
    unsigned cut;
    unsigned copy;
    unsigned paste;
    unsigned saveAsNew;
    unsigned insertNew;
    unsigned appendNew;
    unsigned previous;
    unsigned next;
    unsigned jumpTo;
    unsigned limitedAccess;
    unsigned closeView;
};

// The database's New, Open, Save, Save As and Revert To Saved.
std::vector<CMenuDef> DatabaseFileItems(const CRecordFileCommands& commands, const CRecordWords& words);
// The File menu of a record window: the shell's items around the database's and extra (after a
// separator).
CMenuDef RecordFileMenu(const CRecordFileCommands& commands, const CRecordWords& words, std::vector<CMenuDef> extra);

// The list's Edit items from Edit to Append new; padded gives the menu texts with the wider
// shortcut spacing some kinds use ("&Insert new  \tIns").
std::vector<CMenuDef> RecordListEditItems(const CRecordListCommands& commands, bool padded);
// Shift Up, Shift Down, Selected to Top and Alphabetize.
std::vector<CMenuDef> RecordListSortItems(const CRecordListCommands& commands, bool padded);
// The Edit menu of a list with a Find command and a Re-sort dialog: the Edit items, Find, the sort
// items and Re-sort, with the wider shortcut spacing.
CMenuDef RecordListFindEditMenu(const CRecordListCommands& commands, unsigned find, unsigned resort);
// "&Names" and "Names and N&otes".
std::vector<CMenuDef> RecordListNameViewItems(const CRecordListCommands& commands);
// The right button's menu: Edit, Edit (limited), then extra, then Database Notes.
CMenuDef RecordListPopupMenu(const CRecordListCommands& commands, std::vector<CMenuDef> extra = {});

// The edit window's Edit items (Cut to Append new) and View items (Previous to Close View);
// extraView goes between Limited Access and Close View.
CMenuDef RecordEditEditMenu(const CRecordEditCommands& commands);
CMenuDef RecordEditViewMenu(const CRecordEditCommands& commands, const CRecordWords& words,
                            std::vector<CMenuDef> extraView = {});

// The status-bar prompt of a shared command of the kind, or null for another command.
const char* RecordListCommandPrompt(const CRecordListKind& kind, unsigned id);
const char* RecordFileCommandPrompt(const CRecordFileCommands& commands, const CRecordWords& words, unsigned id);
const char* RecordEditCommandPrompt(const CRecordEditCommands& commands, const CRecordWords& words, unsigned id);
