#pragma once

// The best-N list of scored glaze pairs of the Find Similar Glazes search (support/MatchList.h).

#include "support/MatchList.h"

class CGlaze;

struct CGlazeMatch {
    int indexA = 0; // the caller's index of glaze A
    const CGlaze* glazeA = nullptr;
    double score = 0.0;
    int indexB = 0; // the caller's index of glaze B
    const CGlaze* glazeB = nullptr; // none for per-glaze lists

    bool operator==(const CGlazeMatch&) const = default;
    bool IsPair() const { return glazeB != nullptr; }
    bool IsMirrorOf(const CGlazeMatch& other) const { return glazeA == other.glazeB && glazeB == other.glazeA; }
};

class CGlazeMatchList : public CMatchList<CGlazeMatch> {
public:
    using CMatchList<CGlazeMatch>::CMatchList;
};
