#pragma once

// The chemistry of one glaze, computed from its recipe by CGlaze::ComputeAnalysis and kept with
// the glaze until the recipe changes (CGlaze::GetAnalysis, CGlaze::InvalidateAnalysis).
//
// Every reader tests both validity flags: an analysis that is not valid has no chemistry.

#include <array>

class CGlazeAnalysis {
public:
    // Indexed by element number; slot 0 is sodium and potassium together, slots 104 to 107 carry
    // the loss on ignition and the group totals.
    static constexpr int kSlots = 128;

    bool IsValid() const { return materialsFound != 0 && amountsValid != 0; }

    // The weight of each oxide as a fraction of the fired weight.
    std::array<double, kSlots> weightFraction{};
    int materialsFound = 1; // every recipe line was found in the materials database
    int amountsValid = 1;   // the amounts could be turned into a weight basis
};
