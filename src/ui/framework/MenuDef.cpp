#include "framework/MenuDef.h"

#include <map>

namespace {
std::map<unsigned, CMenuBarDef>& MenuBars()
{
    static std::map<unsigned, CMenuBarDef> menuBars;
    return menuBars;
}
} // namespace

void RegisterMenuBar(unsigned resourceId, CMenuBarDef menuBar)
{
    MenuBars()[resourceId] = std::move(menuBar);
}

const CMenuBarDef* FindMenuBar(unsigned resourceId)
{
    const auto it = MenuBars().find(resourceId);
    return it == MenuBars().end() ? nullptr : &it->second;
}
