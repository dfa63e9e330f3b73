#include "framework/MenuSpec.h"

#include <map>

namespace {
std::map<unsigned, CMenuBarSpec>& MenuBars()
{
    static std::map<unsigned, CMenuBarSpec> menuBars;
    return menuBars;
}
} // namespace

void RegisterMenuBar(unsigned resourceId, CMenuBarSpec menuBar)
{
    MenuBars()[resourceId] = std::move(menuBar);
}

const CMenuBarSpec* FindMenuBar(unsigned resourceId)
{
    const auto it = MenuBars().find(resourceId);
    return it == MenuBars().end() ? nullptr : &it->second;
}
