#pragma once

// The bounded best-N list of scored material pairs of the similar-materials search.
//
// With a limit N the list stays sorted by score, highest first, holds at most N items, and
// refuses an item whose mirror pair (A and B exchanged) is listed already. Without a limit,
// items are appended in arrival order, at most kUnlimitedCapacity of them. Either way an item
// scoring below the cut-off is refused.

#include <vector>

class CMaterial;

struct CMaterialMatch {
    const CMaterial* materialA = nullptr;
    double score = 0.0;
    const CMaterial* materialB = nullptr; // none for per-material lists

    bool operator==(const CMaterialMatch&) const = default;
};

class CMaterialMatchList {
public:
    static constexpr int kUnlimitedCapacity = 1000;

    CMaterialMatchList() = default;
    CMaterialMatchList(int limit, double cutoff) : m_limit(limit), m_cutoff(cutoff) {}

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const CMaterialMatch& operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    const std::vector<CMaterialMatch>& Items() const { return m_items; }
    void Clear() { m_items.clear(); }

    // Inserts a copy at index 0..count; out of range does nothing.
    void InsertAt(int index, const CMaterialMatch& item);
    // Removes the item; out of range does nothing.
    void RemoveAt(int index);

    // Lists the item when it qualifies (see above); true when it was listed.
    bool Offer(const CMaterialMatch& item);
    // Removes every item whose mirror pair stands earlier in the list.
    void RemoveMirrorPairs();

    int m_limit = 0;       // N; 0 = no limit
    double m_cutoff = 0.0; // lowest score listed

private:
    bool HoldsMirrorOf(const CMaterialMatch& item, int before) const;

    std::vector<CMaterialMatch> m_items;
};
