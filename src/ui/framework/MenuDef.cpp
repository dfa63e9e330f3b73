#include "framework/MenuDef.h"

#include "shell/AppCommandIds.h"

#include <map>

namespace {
std::map<unsigned, CMenuBarDef>& MenuBars()
{
    static std::map<unsigned, CMenuBarDef> menuBars;
    return menuBars;
}
} // namespace

CMenuDef CMenuDef::WindowPopup(std::vector<CMenuDef> ownItems)
{
    std::vector<CMenuDef> items{
        Item(CmdWindowCascade, "&Cascade"),
        Item(CmdWindowTile, "&Tile"),
        Item(CmdWindowArrange, "Arrange &Icons"),
    };
    if (!ownItems.empty()) {
        items.push_back(Separator());
        for (CMenuDef& item : ownItems)
            items.push_back(std::move(item));
    }
    items.push_back(WindowList());
    return Popup("&Window", std::move(items));
}

CMenuDef CMenuDef::PrintPopup(std::string text, unsigned print, unsigned preview, unsigned write)
{
    return Popup(std::move(text), {
        Item(print, "&Print..."),
        Item(preview, "Print Pre&view..."),
        Item(write, "Write to &File..."),
    });
}

void RegisterMenuBar(unsigned resourceId, CMenuBarDef menuBar)
{
    MenuBars()[resourceId] = std::move(menuBar);
}

void UnregisterMenuBar(unsigned resourceId)
{
    MenuBars().erase(resourceId);
}

const CMenuBarDef* FindMenuBar(unsigned resourceId)
{
    const auto it = MenuBars().find(resourceId);
    return it == MenuBars().end() ? nullptr : &it->second;
}
