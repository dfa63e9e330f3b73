#pragma once

// The best-N list of scored material pairs of the similar-materials search
// (support/MatchList.h).

#include "support/MatchList.h"

class CMaterial;

struct CMaterialMatch {
    const CMaterial* materialA = nullptr;
    double score = 0.0;
    const CMaterial* materialB = nullptr; // none for per-material lists

    bool operator==(const CMaterialMatch&) const = default;
    bool IsPair() const { return materialB != nullptr; }
    bool IsMirrorOf(const CMaterialMatch& other) const
    {
        return materialA == other.materialB && materialB == other.materialA;
    }
};

class CMaterialMatchList : public CMatchList<CMaterialMatch> {
public:
    using CMatchList<CMaterialMatch>::CMatchList;
};
