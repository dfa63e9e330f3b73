#pragma once

// The chemistry of one glaze, computed from its recipe by CGlaze::ComputeAnalysis and kept with
// the glaze until the recipe changes (CGlaze::GetAnalysis, CGlaze::InvalidateAnalysis).
//
// Every reader tests both validity flags: an analysis that is not valid has no chemistry (no
// oxide is present, no limit is met, graphs refuse the glaze).
//
// The record is filled once and never copied with its glaze. The recipe items point at the
// material records of the materials database without owning them; the views drop every
// analysis when the materials or the elements change, so a kept analysis never outlives the
// records it names.

#include "limits/OxideAmounts.h"

#include <array>
#include <string>
#include <vector>

class CMaterial;

// Flags of a recipe item.
enum RecipeItemFlag : int {
    kItemNotAvailable = 0x01, // the material is marked not available
    kItemNotInDatabase = 0x02, // the name is not in the materials database
    kItemHasHazards = 0x10,   // the material has hazard lines
};

// One recipe line in the analysis.
class CRecipeItem {
public:
    double amount = 0.0;   // by weight, scaled to the batch size
    double fraction = 0.0; // the line's weight divided by the basis (the component total)
    double cost = 0.0;     // the line's share of the cost per kilogram
    int flags = 0;         // RecipeItemFlag bits
    const CMaterial* material = nullptr; // the record found (not owned), or null
};

// One oxide of a group list. Element 8 (oxygen) marks the "Other" row of the volatiles: the
// weight lost on firing that no volatile oxide accounts for.
class COxideItem {
public:
    double unity = 0.0;
    double weightFraction = 0.0;
    double moleFraction = 0.0;
    int element = 0;
};

// Items are kept by value: a list owns them and adding copies the given item.
using CRecipeItemList = std::vector<CRecipeItem>;
using COxideItemList = std::vector<COxideItem>;

// Indexes of the five oxide groups in groupWeight, groupMole and groupUnity.
enum OxideGroup : int {
    kOxideGroupAlkali = 0,
    kOxideGroupNeutral = 1,
    kOxideGroupAcid = 2,
    kOxideGroupUnexpected = 3,
    kOxideGroupVolatile = 4,
    kOxideGroupCount = 5,
};

// The unity amounts, the weight fractions and the validity flags are the oxide amounts that the
// limits test (limits/OxideAmounts.h); the slots are laid out there.
class CGlazeAnalysis : public COxideAmounts {
public:
    // The element number that marks the "Other" volatiles row.
    static constexpr int kOtherVolatilesElement = 8;

    SlotArray elementMoles;     // moles of each element per unit weight of the basis
    double rawWeight = 0.0;     // unfired weight per unit weight of the basis, oxygen included
    double firedWeight = 0.0;   // weight of the non-volatile oxides
    double oxideMoles = 0.0;    // moles of the non-volatile oxides
    SlotArray moleFraction;     // moles of each oxide as a fraction of oxideMoles
    double otherVolatiles = 0.0; // unexplained loss as a fraction of the fired weight

    CRecipeItemList componentItems;
    CRecipeItemList additionItems;

    // Oxides present in the unity formula, in element display order.
    COxideItemList alkaliOxides;
    COxideItemList neutralOxides;
    COxideItemList acidOxides;
    COxideItemList volatileOxides;
    COxideItemList otherOxides; // elements with none of the four roles

    double siAlRatio = 0.0;          // unity SiO2 / Al2O3
    double acidNeutralRatio = 0.0;   // acid total / neutral total (unity)
    double neutralAlkaliRatio = 0.0; // neutral total / alkali total (unity)

    double expansion = 0.0;      // 10^-7 per degree Celsius
    double expansionShare = 0.0; // fraction of the fired weight with a known coefficient
    int hasUnusualExpansion = 0;
    std::string unusualExpansionText; // oxide formulas, two blanks apart

    std::array<double, 2> viscosity{};      // at the low and the high cone
    double viscosityShare = 0.0;
    std::array<double, 2> surfaceTension{}; // at the low and the high cone
    double surfaceTensionShare = 0.0;

    std::array<double, kOxideGroupCount> groupWeight{};
    std::array<double, kOxideGroupCount> groupMole{};
    std::array<double, kOxideGroupCount> groupUnity{};

    double loiFraction = 0.0; // (raw - fired) / raw

    int hasMaterialAnnotations = 0; // some found material has annotation lines
    int hasElementAnnotations = 0;  // some oxide present has annotation lines
    int hasHazards = 0;             // some found material has hazard lines

    double costPerKg = 0.0; // cost of one kilogram of the dry recipe
    double batchSize = 0.0; // the size the item amounts are scaled to
};

// The expansion estimate from the weight fractions; called at the end of the analysis.
void EstimateExpansion(CGlazeAnalysis& analysis);
