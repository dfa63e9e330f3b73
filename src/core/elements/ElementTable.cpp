#include "elements/ElementTable.h"

#include <algorithm>

namespace {

const CElementTable* g_workingTable = nullptr;

} // namespace

CElementTable::CElementTable()
{
    RevertAllElements(ENotesRevert::Construct);
}

void CElementTable::RevertElement(int z, ENotesRevert mode)
{
    if (!IsValidElementNumber(z))
        return;
    (*this)[z].RevertTo(GetDefaultElement(z), mode);
}

void CElementTable::RevertAllElements(ENotesRevert mode)
{
    for (int z = 0; z < kElementCount; ++z)
        RevertElement(z, mode);
}

void CElementTable::SetRole(int z, std::int32_t flags)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetRole(flags);
}

void CElementTable::SetReductionRole(int z, std::int32_t flags)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetReductionRole(flags);
}

void CElementTable::SetOxide(int z, int ncat, int nan)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetOxide(ncat, nan, (*this)[kOxygenZ]);
}

void CElementTable::SetReductionOxide(int z, int ncatred, int nanred)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetReductionOxide(ncatred, nanred, (*this)[kOxygenZ]);
}

void CElementTable::SetNotes(int z, const CStringArrayEx* lines)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetNotes(lines);
}

void CElementTable::SetAnnotations(int z, const CStringArrayEx* lines)
{
    if (IsValidElementNumber(z))
        (*this)[z].SetAnnotations(lines);
}

const CElementRecord* GetElementTable()
{
    return g_workingTable ? g_workingTable->Records() : GetDefaultElementRecords();
}

const CElementTable* InstallWorkingElementTable(const CElementTable* table)
{
    const CElementTable* previous = g_workingTable;
    g_workingTable = table;
    return previous;
}

void RemoveWorkingElementTable()
{
    g_workingTable = nullptr;
}

const CElementTable* GetWorkingElementTable()
{
    return g_workingTable;
}

ElementDisplayOrder GetElementDisplayOrder(const CElementRecord* table)
{
    ElementDisplayOrder order{};
    bool listed[kElementCount] = {};
    int count = 0;
    for (std::int32_t group : kRoleGroups) {
        for (int priority = 1; priority <= 3; ++priority) {
            for (int z = 0; z < kElementCount; ++z) {
                if (!listed[z] && (table[z].role & group) != 0 && table[z].priority == priority) {
                    listed[z] = true;
                    order[static_cast<std::size_t>(count++)] = z;
                }
            }
        }
    }
    for (int z = 0; z < kElementCount; ++z) {
        if (!listed[z])
            order[static_cast<std::size_t>(count++)] = z;
    }
    return order;
}

ElementDisplayOrder GetElementDisplayOrder()
{
    return GetElementDisplayOrder(GetElementTable());
}

void GetElementDisplayOrder(int* order)
{
    const ElementDisplayOrder computed = GetElementDisplayOrder();
    std::copy(computed.begin(), computed.end(), order);
}
