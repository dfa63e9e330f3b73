#pragma once

// The bounded list of scored pairs that the similar-glaze and similar-material searches keep,
// one template for both kinds of item.
//
// With a limit N the list stays sorted by score, highest first, holds at most N items, and
// refuses an item whose mirror pair (A and B exchanged) is listed already; an item of the same
// score as the last one does not push it out. Without a limit ("Show all") items are appended
// in arrival order up to kUnlimitedCapacity; once the list is full it is sorted by score and
// every further item takes the place of the lowest one when it scores higher, so the list ends
// with the best kUnlimitedCapacity items and says that it left some out (IsTruncated). Either
// way an item scoring below the cut-off, or not a number, is refused.
//
// An Item has a member `double score` and the members `bool IsPair() const` (it names a second
// record, B) and `bool IsMirrorOf(const Item&) const` (the same two records the other way round).
// The list owns its items, never the records they point at.

#include <algorithm>
#include <string>
#include <vector>

template <class Item>
class CMatchList {
public:
    static constexpr int kUnlimitedCapacity = 1000;

    CMatchList() = default;
    CMatchList(int limit, double cutoff) : m_limit(limit), m_cutoff(cutoff) {}

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const Item& operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    const std::vector<Item>& Items() const { return m_items; }
    void Clear()
    {
        m_items.clear();
        m_truncated = false;
    }

    // Inserts a copy at index 0..count; out of range does nothing.
    void InsertAt(int index, const Item& item)
    {
        if (index < 0 || index > GetCount())
            return;
        m_items.push_back(item);
        std::rotate(m_items.begin() + index, m_items.end() - 1, m_items.end());
    }
    // Removes the item; out of range does nothing.
    void RemoveAt(int index)
    {
        if (index >= 0 && index < GetCount())
            m_items.erase(m_items.begin() + index);
    }

    // Lists the item when it qualifies (see above); true when it was listed.
    bool Offer(const Item& item)
    {
        if (!(item.score >= m_cutoff))
            return false;
        if (m_limit <= 0) {
            if (GetCount() < kUnlimitedCapacity) {
                m_items.push_back(item);
                return true;
            }
            if (!m_truncated) {
                SortByScore();
                m_truncated = true;
            }
            return TakeRanked(item, kUnlimitedCapacity);
        }
        if (item.IsPair() && HoldsMirrorOf(item, GetCount()))
            return false;
        return TakeRanked(item, m_limit);
    }

    // Removes every item whose mirror pair stands earlier in the list.
    void RemoveMirrorPairs()
    {
        for (int i = GetCount() - 1; i >= 1; --i) {
            if (HoldsMirrorOf(m_items[static_cast<std::size_t>(i)], i))
                RemoveAt(i);
        }
    }

    // Sorts by score, highest first; items of equal score keep their order.
    void SortByScore()
    {
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const Item& a, const Item& b) { return a.score > b.score; });
    }

    // True when a list without a limit had to leave items out for want of room.
    bool IsTruncated() const { return m_truncated; }
    // The report line that says so.
    static std::string TruncatedLine()
    {
        return "  Only the best " + std::to_string(kUnlimitedCapacity) + " matches are listed.";
    }

    int m_limit = 0;       // N; 0 or less = no limit
    double m_cutoff = 0.0; // lowest score listed, percent

private:
    // True when one of the first `before` items holds item's two records the other way round.
    bool HoldsMirrorOf(const Item& item, int before) const
    {
        return std::any_of(m_items.begin(), m_items.begin() + before,
                           [&item](const Item& listed) { return listed.IsMirrorOf(item); });
    }

    // Into a list sorted by score that holds at most capacity items: a full list drops its last
    // item for a better one; the item goes after every item of equal score.
    bool TakeRanked(const Item& item, int capacity)
    {
        if (GetCount() >= capacity) {
            if (!(item.score > m_items.back().score))
                return false;
            m_items.pop_back();
        }
        const auto at = std::find_if(m_items.begin(), m_items.end(),
                                     [&item](const Item& listed) { return listed.score < item.score; });
        m_items.insert(at, item);
        return true;
    }

    std::vector<Item> m_items;
    bool m_truncated = false;
};
