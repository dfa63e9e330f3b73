#include "graphs/GraphColorLists.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "graphs/GraphVariable.h"
#include "support/CompareNoCase.h"

namespace {

int DefaultOxideColor(std::int32_t role)
{
    if (role & kRoleAlkali) return 11;
    if (role & kRoleNeutral) return 10;
    if (role & kRoleAcid) return 12;
    if (role & kRoleVolatile) return 8;
    return 0;
}

// Colours of the codes above the oxides; codes not listed keep colour 0.
struct SVariableColor {
    int code;
    int color;
};
constexpr SVariableColor kVariableColors[] = {
    {kGraphVarLoi, 8},
    {kGraphVarAlkalis, 11},      {kGraphVarNeutrals, 10},      {kGraphVarAcids, 12},
    {kGraphVarUnexpected, 0},    {kGraphVarVolatiles, 8},
    {kGraphVarOtherAlkalis, 11}, {kGraphVarOtherNeutrals, 10}, {kGraphVarOtherAcids, 12},
    {kGraphVarOtherUnexpected, 0}, {kGraphVarOtherVolatiles, 8},
    {kGraphVarOtherNonvolatiles, 7}, {kGraphVarOtherOxides, 7},
    {kGraphVarSiAlRatio, 7},     {kGraphVarExpansion, 7},      {kGraphVarViscosity, 7},
    {kGraphVarCost, 7},
};

} // namespace

CChartColor ApplyColorRule(int color, int pattern, int colorWithPattern, bool mono)
{
    const int chartPattern = pattern == 0 || pattern == 7 ? 0 : pattern + 1;
    if (mono)
        return {pattern != 0 ? 0 : 15, chartPattern};
    if (!colorWithPattern)
        return {color, 0};
    return {pattern == 0 ? 15 : color, chartPattern};
}

void CMaterialTypeColorList::SetDefaults()
{
    clear();
    const std::pair<const char*, int> defaults[] = {
        {"frit", 3},    {"feldspar", 5}, {"clay", 6},     {"flux", 11},         {"opacifier", 15},
        {"alumina", 10}, {"silica", 12}, {"colorant", 14}, {"miscellaneous", 8},
    };
    for (const auto& [name, color] : defaults)
        push_back({name, color, 0, 0});
}

void CMaterialTypeColorList::InsertAt(int n, const CMaterialTypeColor& entry)
{
    if (n < 0 || n > GetCount())
        return;
    const CMaterialTypeColor copy = entry; // entry may be one of ours
    insert(begin() + n, copy);
}

const CMaterialTypeColor* CMaterialTypeColorList::Find(std::string_view type) const
{
    for (const CMaterialTypeColor& entry : *this) {
        if (EqualsNoCase(entry.m_name, type))
            return &entry;
    }
    return nullptr;
}

void COxideColorList::SetDefaults()
{
    clear();
    const CElementRecord* table = GetElementTable();
    for (int code = 0; code < kGraphVariableCount; ++code) {
        const int color = IsOxideVariable(code) ? DefaultOxideColor(table[code].role) : 0;
        push_back({code, color, 0, 0});
    }
    for (const SVariableColor& entry : kVariableColors)
        (*this)[static_cast<std::size_t>(entry.code)].color = entry.color;
}

void COxideColorList::InsertAt(int n, const COxideColor& entry)
{
    if (n < 0 || n > GetCount())
        return;
    insert(begin() + n, entry);
}

const COxideColor* COxideColorList::GetAt(int code) const
{
    if (!IsGraphVariable(code) || code >= GetCount())
        return nullptr;
    return &(*this)[static_cast<std::size_t>(code)];
}
