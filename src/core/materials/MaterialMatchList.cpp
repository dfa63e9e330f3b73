#include "materials/MaterialMatchList.h"

#include <algorithm>

void CMaterialMatchList::InsertAt(int index, const CMaterialMatch& item)
{
    if (index >= 0 && index <= GetCount())
        m_items.insert(m_items.begin() + index, item);
}

void CMaterialMatchList::RemoveAt(int index)
{
    if (index >= 0 && index < GetCount())
        m_items.erase(m_items.begin() + index);
}

// True when one of the first `before` items holds item's two materials the other way round.
bool CMaterialMatchList::HoldsMirrorOf(const CMaterialMatch& item, int before) const
{
    for (int i = 0; i < before; ++i) {
        const CMaterialMatch& listed = m_items[static_cast<std::size_t>(i)];
        if (listed.materialA == item.materialB && listed.materialB == item.materialA)
            return true;
    }
    return false;
}

bool CMaterialMatchList::Offer(const CMaterialMatch& item)
{
    if (item.score < m_cutoff)
        return false;
    if (m_limit <= 0) {
        if (GetCount() >= kUnlimitedCapacity)
            return false;
        m_items.push_back(item);
        return true;
    }
    if (item.materialB && HoldsMirrorOf(item, GetCount()))
        return false;
    if (GetCount() >= m_limit) {
        if (!(item.score > m_items[static_cast<std::size_t>(m_limit) - 1].score))
            return false;
        RemoveAt(m_limit - 1);
    }
    // After every item of equal score: the earlier offer keeps its place.
    const auto at = std::find_if(m_items.begin(), m_items.end(),
                                 [&item](const CMaterialMatch& listed) { return listed.score < item.score; });
    m_items.insert(at, item);
    return true;
}

void CMaterialMatchList::RemoveMirrorPairs()
{
    for (int i = GetCount() - 1; i >= 1; --i) {
        if (HoldsMirrorOf(m_items[static_cast<std::size_t>(i)], i))
            RemoveAt(i);
    }
}
