#include "records/RecordMenus.h"

#include "shell/AppCommandIds.h"
#include "records/RecordDatabaseDoc.h"
#include "records/RecordListView.h"

#include <map>
#include <string>
#include <utility>

namespace {

using M = CMenuDef;

// "%r" stands for the record word, "%R" for the records word.
std::string Worded(const char* format, const CRecordWords& words)
{
    std::string text = format;
    for (std::size_t at = text.find('%'); at != std::string::npos && at + 1 < text.size(); at = text.find('%', at)) {
        const char* word = text[at + 1] == 'R' ? words.records : words.record;
        text.replace(at, 2, word);
        at += std::string(word).size();
    }
    return text;
}

// A prompt worded for the kind, kept for the run (prompts are handed out as C strings).
const char* Prompt(const char* format, const CRecordWords& words)
{
    static std::map<std::pair<const char*, const char*>, std::string> s_prompts;
    auto [it, inserted] = s_prompts.try_emplace({format, words.record});
    if (inserted)
        it->second = Worded(format, words);
    return it->second.c_str();
}

template <std::size_t N>
const char* FindPrompt(const std::pair<unsigned, const char*> (&table)[N], const CRecordWords& words, unsigned id)
{
    if (id == 0)
        return nullptr;
    for (const auto& [command, format] : table) {
        if (command == id)
            return Prompt(format, words);
    }
    return nullptr;
}

} // namespace

std::vector<CMenuDef> DatabaseFileItems(const CRecordFileCommands& commands, const CRecordWords& words)
{
    const std::string title = words.title;
    return {
        M::Item(commands.newDatabase, "&New " + title + " Database"),
        M::Item(commands.open, "&Open " + title + " Database..."),
        M::Item(commands.save, "&Save " + title + " Database"),
        M::Item(commands.saveAs, "Save &As..."),
        M::Item(commands.revert, "&Revert To Saved"),
    };
}

CMenuDef RecordFileMenu(const CRecordFileCommands& commands, const CRecordWords& words, std::vector<CMenuDef> extra)
{
    std::vector<CMenuDef> items = DatabaseFileItems(commands, words);
    if (!extra.empty())
        items.push_back(M::Separator());
    for (CMenuDef& item : extra)
        items.push_back(std::move(item));
    return ShellFileMenu(std::move(items));
}

std::vector<CMenuDef> RecordListEditItems(const CRecordListCommands& commands, bool padded)
{
    return {
        M::Item(commands.edit, "&Edit\tDblClick"),
        M::Item(commands.editLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(commands.cut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(commands.copy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(commands.paste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(commands.deleteRows, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(commands.selectAll, "&Select All"),
        M::Item(commands.invertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(commands.insertNew, padded ? "&Insert new  \tIns" : "&Insert new\tIns", "Ins"),
        M::Item(commands.appendNew, padded ? "&Append new  \tShft+Ins" : "&Append new\tShft+Ins", "Shift+Ins"),
    };
}

std::vector<CMenuDef> RecordListSortItems(const CRecordListCommands& commands, bool padded)
{
    return {
        M::Item(commands.shiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(commands.shiftDown, padded ? "Shift &Down   \tShft+Dn" : "Shift &Down\tShft+Dn", "Shift+Down"),
        M::Item(commands.selectedToTop, "Selected to &Top"),
        M::Item(commands.alphabetize, "&Alphabetize"),
    };
}

CMenuDef RecordListFindEditMenu(const CRecordListCommands& commands, unsigned find, unsigned resort)
{
    std::vector<CMenuDef> items = RecordListEditItems(commands, true);
    items.push_back(M::Separator());
    items.push_back(M::Item(find, "&Find...\tCtrl+F", "Ctrl+F"));
    items.push_back(M::Separator());
    for (CMenuDef& item : RecordListSortItems(commands, true))
        items.push_back(std::move(item));
    items.push_back(M::Item(resort, "&Re-sort..."));
    return M::Popup("&Edit", std::move(items));
}

std::vector<CMenuDef> RecordListNameViewItems(const CRecordListCommands& commands)
{
    return {
        M::Item(commands.names, "&Names"),
        M::Item(commands.namesAndNotes, "Names and N&otes"),
    };
}

CMenuDef RecordListPopupMenu(const CRecordListCommands& commands, std::vector<CMenuDef> extra)
{
    std::vector<CMenuDef> items = {
        M::Item(commands.edit, "&Edit"),
        M::Item(commands.editLimited, "Edit (&limited)"),
    };
    for (CMenuDef& item : extra)
        items.push_back(std::move(item));
    items.push_back(M::Item(commands.databaseNotes, "Database &Notes..."));
    return M::Popup("", std::move(items));
}

CMenuDef RecordEditEditMenu(const CRecordEditCommands& commands)
{
    return M::Popup("&Edit", {
        M::Item(commands.cut, "Cu&t"),
        M::Item(commands.copy, "&Copy"),
        M::Item(commands.paste, "&Paste"),
        M::Separator(),
        M::Item(commands.saveAsNew, "Save as &New"),
        M::Item(commands.insertNew, "&Insert new"),
        M::Item(commands.appendNew, "&Append new"),
    });
}

CMenuDef RecordEditViewMenu(const CRecordEditCommands& commands, const CRecordWords& words,
                            std::vector<CMenuDef> extraView)
{
    const std::string title = words.title;
    std::vector<CMenuDef> items = {
        M::Item(commands.previous, "&Previous " + title),
        M::Item(commands.next, "&Next " + title),
        M::Item(commands.jumpTo, "&Jump to..."),
        M::Separator(),
        M::Item(commands.limitedAccess, "&Limited Access"),
        M::Separator(),
    };
    for (CMenuDef& item : extraView)
        items.push_back(std::move(item));
    if (!extraView.empty())
        items.push_back(M::Separator());
    items.push_back(M::Item(commands.closeView, "&Close View"));
    return M::Popup("&View", std::move(items));
}

const char* RecordListCommandPrompt(const CRecordListKind& kind, unsigned id)
{
    const CRecordListCommands& c = kind.commands;
    const std::pair<unsigned, const char*> prompts[] = {
        {c.edit, "Open a new Edit view to the (first) selected %r"},
        {c.editLimited, "Open a new Edit view with access only to selected %R"},
        {c.cut, "Copy selected %R to the local clipboard, then delete them"},
        {c.copy, "Copy selected %R to the local clipboard"},
        {c.paste, "Copy %R from the local clipboard, inserting before the first selected one"},
        {c.deleteRows, "Delete the selected %R"},
        {c.selectAll, "Select all %R in the list"},
        {c.invertSelection, "Change selection state of all %R in the list"},
        {c.insertNew, "Insert a new %r before the first selected one"},
        {c.appendNew, "Insert a new %r after the last selected one"},
        {c.shiftUp, "Shift selected %R up in the list"},
        {c.shiftDown, "Shift selected %R down in the list"},
        {c.selectedToTop, "Move the selected %R to the top of the list"},
        {c.alphabetize, "Alphabetize the %r list"},
        {c.names, "Show %r names"},
        {c.namesAndNotes, "Show %r names and notes"},
        {c.databaseNotes, "View and edit %r database notes"},
        {c.merge, "Merge %R from another %r database"},
        {c.saveSelected, "Save selected %R to a new database"},
    };
    return FindPrompt(prompts, kind.words, id);
}

const char* RecordFileCommandPrompt(const CRecordFileCommands& commands, const CRecordWords& words, unsigned id)
{
    const std::pair<unsigned, const char*> prompts[] = {
        {commands.save, "Save the %r database"},
        {commands.saveAs, "Save the %r database with a new name"},
        {commands.revert, "Revert to last saved version of %r database"},
        {commands.newDatabase, "Start a new %r database"},
        {commands.open, "Open a different %r database"},
    };
    return FindPrompt(prompts, words, id);
}

const char* RecordEditCommandPrompt(const CRecordEditCommands& commands, const CRecordWords& words, unsigned id)
{
    const std::pair<unsigned, const char*> prompts[] = {
        {commands.print, "Print %r summary"},
        {commands.printPreview, "Show %r summary in Print Preview mode"},
        {commands.writeToFile, "Write %r summary to a file"},
        {commands.cut, "Copy %r to the local clipboard, then close this view (does not delete from database)"},
        {commands.copy, "Copy %r to the local clipboard"},
        {commands.paste, "Copy first %r from the local clipboard"},
        {commands.saveAsNew, "Save this %r as a new %r in the database"},
        {commands.insertNew, "Insert a new %r before the current one"},
        {commands.appendNew, "Insert a new %r after the current one"},
        {commands.previous, "Edit previous %r in list"},
        {commands.next, "Edit next %r in list"},
        {commands.jumpTo, "Select a different %r to edit"},
        {commands.limitedAccess, "Remove access restrictions of this Edit view"},
        {commands.closeView, "Close the Edit view"},
    };
    return FindPrompt(prompts, words, id);
}
