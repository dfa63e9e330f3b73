#include "tools/GlazeMatchList.h"

#include <algorithm>

void CGlazeMatchList::InsertAt(int index, const CGlazeMatch& item)
{
    if (index >= 0 && index <= GetCount())
        m_items.insert(m_items.begin() + index, item);
}

void CGlazeMatchList::RemoveAt(int index)
{
    if (index >= 0 && index < GetCount())
        m_items.erase(m_items.begin() + index);
}

// True when one of the first `before` items holds item's two glazes the other way round.
bool CGlazeMatchList::HoldsMirrorOf(const CGlazeMatch& item, int before) const
{
    for (int i = 0; i < before; ++i) {
        const CGlazeMatch& listed = m_items[static_cast<std::size_t>(i)];
        if (listed.glazeA == item.glazeB && listed.glazeB == item.glazeA)
            return true;
    }
    return false;
}

bool CGlazeMatchList::Offer(const CGlazeMatch& item)
{
    // A NaN score never qualifies.
    if (!(item.score >= m_cutoff))
        return false;
    if (m_limit <= 0) {
        if (GetCount() >= kUnlimitedCapacity)
            return false;
        m_items.push_back(item);
        return true;
    }
    if (item.glazeB && HoldsMirrorOf(item, GetCount()))
        return false;
    if (GetCount() >= m_limit) {
        if (!(item.score > m_items.back().score))
            return false;
        m_items.pop_back();
    }
    // After every item of equal score: the earlier offer keeps its place.
    const auto at = std::find_if(m_items.begin(), m_items.end(),
                                 [&item](const CGlazeMatch& listed) { return listed.score < item.score; });
    m_items.insert(at, item);
    return true;
}

void CGlazeMatchList::RemoveMirrorPairs()
{
    for (int i = GetCount() - 1; i >= 1; --i) {
        if (HoldsMirrorOf(m_items[static_cast<std::size_t>(i)], i))
            RemoveAt(i);
    }
}

void CGlazeMatchList::SortByScore()
{
    // A heap ordered so that sort_heap leaves the highest score first.
    const auto higher = [](const CGlazeMatch& a, const CGlazeMatch& b) { return a.score > b.score; };
    std::make_heap(m_items.begin(), m_items.end(), higher);
    std::sort_heap(m_items.begin(), m_items.end(), higher);
}
