#pragma once

// Menus described as data. Every window kind (each document template's resource id, the main
// window, the pop-up menus of views) describes its menu once; the framework builds Qt menus from
// the description and routes their commands.

#include <string>
#include <vector>

struct CMenuDef {
    enum class Kind { Command, Separator, Popup, WindowList };

    Kind kind = Kind::Command;
    unsigned id = 0;          // the command of a Command item
    std::string text;         // Windows-1252, with '&' before the mnemonic
    std::string shortcut;     // a portable key text: "Ctrl+S", "F1", "Shift+F1", "Del"
    std::vector<CMenuDef> items; // the entries of a Popup

    static CMenuDef Item(unsigned id, std::string text, std::string shortcut = std::string())
    {
        return {Kind::Command, id, std::move(text), std::move(shortcut), {}};
    }
    static CMenuDef Separator() { return {Kind::Separator, 0, {}, {}, {}}; }
    static CMenuDef Popup(std::string text, std::vector<CMenuDef> items)
    {
        return {Kind::Popup, 0, std::move(text), {}, std::move(items)};
    }
    // The list of open windows, filled in when the menu opens.
    static CMenuDef WindowList() { return {Kind::WindowList, 0, {}, {}, {}}; }
    // The "&Window" pop-up of every window kind: the workspace's Cascade, Tile and Arrange
    // Icons, then the kind's own entries (after a separator), then the list of open windows.
    static CMenuDef WindowPopup(std::vector<CMenuDef> ownItems = {});
    // A pop-up of the three ways out of a print command: "&Print...", "Print Pre&view..." and
    // "Write to &File...".
    static CMenuDef PrintPopup(std::string text, unsigned print, unsigned preview, unsigned write);
};

using CMenuBarDef = std::vector<CMenuDef>;

// The menu bar of a window kind, by resource id. Registration replaces an earlier one.
void RegisterMenuBar(unsigned resourceId, CMenuBarDef menuBar);
// Forgets the menu bar of a window kind (a test's own kinds, when the test ends).
void UnregisterMenuBar(unsigned resourceId);
const CMenuBarDef* FindMenuBar(unsigned resourceId);
