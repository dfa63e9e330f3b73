#pragma once

// What a limit is tested against: the amount of each oxide in a unity formula and as a fraction
// of the fired weight, and whether there are amounts at all. A glaze's analysis is one
// (glazes/GlazeAnalysis.h); the limits and their combinations read nothing else of it.

#include "support/SlotValues.h"

class COxideAmounts {
public:
    // Indexed by element number; slot 0 is sodium and potassium together, slots 104 to 107 carry
    // the loss on ignition and the alkali, neutral and acid totals. A glaze holds a few of the
    // elements, so the arrays keep only the slots that are not zero (a slot not held reads 0).
    static constexpr int kSlots = 128;
    static constexpr int kSlotLoi = 104;
    static constexpr int kSlotAlkali = 105;
    static constexpr int kSlotNeutral = 106;
    static constexpr int kSlotAcid = 107;

    using SlotArray = CSlotValues;

    bool IsValid() const { return materialsFound != 0 && amountsValid != 0; }

    SlotArray unity;            // unity-formula amount of each oxide
    SlotArray weightFraction;   // weight of each oxide as a fraction of the fired weight

    int materialsFound = 1; // every recipe line was found in the materials database
    int amountsValid = 1;   // the amounts could be turned into a weight basis
};
