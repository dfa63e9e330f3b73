#pragma once

// The bounded best-N list of scored glaze pairs of the Find Similar Glazes search.
//
// With a limit N the list stays sorted by score, highest first, holds at most N items, and
// refuses an item whose mirror pair (A and B exchanged) is listed already; an item of the same
// score as the last one does not push it out. Without a limit, items are appended in arrival
// order, at most kUnlimitedCapacity of them, and the search sorts the list afterwards
// (SortByScore). Either way an item scoring below the cut-off is refused.
//
// The list owns its items, never the glazes they point at.

#include <vector>

class CGlaze;

struct CGlazeMatch {
    int indexA = 0; // the caller's index of glaze A
    const CGlaze* glazeA = nullptr;
    double score = 0.0;
    int indexB = 0; // the caller's index of glaze B
    const CGlaze* glazeB = nullptr; // none for per-glaze lists

    bool operator==(const CGlazeMatch&) const = default;
};

class CGlazeMatchList {
public:
    static constexpr int kUnlimitedCapacity = 1000;

    CGlazeMatchList() = default;
    CGlazeMatchList(int limit, double cutoff) : m_limit(limit), m_cutoff(cutoff) {}

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const CGlazeMatch& operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    const std::vector<CGlazeMatch>& Items() const { return m_items; }
    void Clear() { m_items.clear(); }

    // Inserts a copy at index 0..count; out of range does nothing.
    void InsertAt(int index, const CGlazeMatch& item);
    // Removes the item; out of range does nothing.
    void RemoveAt(int index);

    // Lists the item when it qualifies (see above); true when it was listed.
    bool Offer(const CGlazeMatch& item);
    // Removes every item whose mirror pair stands earlier in the list.
    void RemoveMirrorPairs();
    // Heap sort by score, highest first; items of equal score keep no particular order.
    void SortByScore();

    int m_limit = 0;       // N; 0 or less = no limit
    double m_cutoff = 0.0; // lowest score listed, percent

private:
    bool HoldsMirrorOf(const CGlazeMatch& item, int before) const;

    std::vector<CGlazeMatch> m_items;
};
