#pragma once

// The complete description of one optimization problem: the constraints, their units, the
// excluded materials, the goal, the recipe size and the default tolerances. A glaze may carry one
// (its .glz lines "optox", "optmat", ...), the Optimize dialog edits one, and the problem builder
// turns one into a linear program. A plain value: copies are deep.

#include "support/StringArrayEx.h"
#include "glazes/MaterialConstraint.h"
#include "glazes/OxideConstraint.h"

#include <string>

// Oxide units (m_oxideUnit).
inline constexpr int kOxideUnitUnity = 0;
inline constexpr int kOxideUnitWeightPercent = 1;
inline constexpr int kOxideUnitMolePercent = 2;
// Material units (m_materialUnit).
inline constexpr int kMaterialUnitWeight = 0;
inline constexpr int kMaterialUnitPercent = 1;
// Goals (m_goal); a file may hold 0..9, others are refused when the optimizer runs.
inline constexpr int kGoalCost = 0;
inline constexpr int kGoalLOI = 1;
inline constexpr int kGoalExpansion = 2;

class COptimizationParams {
public:
    // The defaults listed with the members.
    COptimizationParams();

    // The percent flag of the oxide bound queries: % weight or % molecular.
    bool OxideUnitIsPercent() const
    {
        return m_oxideUnit == kOxideUnitWeightPercent || m_oxideUnit == kOxideUnitMolePercent;
    }
    // The percent flag of the material bound queries: % weight of the recipe.
    bool MaterialUnitIsPercent() const { return m_materialUnit == kMaterialUnitPercent; }

    // The total the recipe must add up to: the number read from m_recipeSize, 100 when that is
    // not above 0 (an empty or non-numeric text reads as 0).
    double GetRecipeSize() const;

    bool operator==(const COptimizationParams&) const = default;

    COxideConstraintArray m_oxideConstraints;       // "optox"; empty
    CMaterialConstraintArray m_materialConstraints; // "optmat"; empty
    CStringArrayEx m_excludedMaterials;             // "optmex"; names the optimizer must not use
    int m_oxideUnit = kOxideUnitUnity;              // "optoct": 0 unity, 1 % weight, 2 % molecular
    int m_materialUnit = kMaterialUnitPercent;      // "optmct": 0 weight, 1 % weight of the recipe
    int m_allMaterials = 0;                         // "optaaa": 0 available materials only, 1 all
    int m_maximize = 0;                             // "optgmm": 0 minimize the goal, 1 maximize
    int m_goal = kGoalCost;                         // "optgt": 0 cost, 1 LOI, 2 expansion
    COxideConstraint m_expansionConstraint;         // "optexp": oxide -3, no op, no values
    int m_firedWeight = 1;                          // "optrfr": 0 raw weight, 1 fired weight
    std::string m_recipeSize = "100.0";             // "optsiz"
    std::string m_oxideTolerance = "0.1";           // "optodt": % of the target of an '=' oxide bound
    std::string m_materialTolerance;                // "optmdt": the same for materials; empty
};
