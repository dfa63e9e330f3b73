#pragma once

// The optimization problem builder: turns one COptimizationParams into a linear program over the
// amounts of the usable materials of the open materials database, solves it with
// CLinearProgram and gives back the optimal recipe.
//
// A run decides which oxides may occur in the glaze (volatile oxides always, others only when a
// constraint names them) and which materials may be used (available or all, not mapped, not
// excluded, and made only of allowed oxides), checks the bounds for consistency, writes each bound
// as one linear row (all homogeneous except the recipe-size row), sets the goal and solves.
//
// Oxide bounds are ratios: in unity units against the alkali moles, in % molecular against the
// non-volatile oxide moles, in % weight (and always for LOI and expansion) against the fired
// weight. So every oxide row is "amount - bound x basis" compared with 0.

#include "elements/ElementRecord.h"
#include "glazes/MaterialConstraint.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CIngredientList;
class CLinearProgram;
class CMaterial;
class CMaterialArray;
class COptimizationParams;
class COxideConstraint;

// The message of a successful run.
inline constexpr const char* kOptimizationComplete = "Optimization complete";

class COptimizer {
public:
    // Builds and solves the problem of params over the materials database of g_pMaterialsDoc
    // (none: an empty database). recipe is emptied, then receives every usable material with an
    // amount above 0, in database order, unrounded. message receives kOptimizationComplete or
    // the error text. With trace the Information window is cleared first and receives the
    // bounds, the usable materials and the solver's trace. 0 on success, 1 on every failure
    // (the recipe is then empty).
    int Run(const COptimizationParams& params, CIngredientList& recipe, std::string& message, bool trace);

    // Where trace lines go; empty: the Information window (cleared at the start of a run).
    std::function<void(const std::string&)> m_traceSink;
    // The database to use instead of the materials document's (tests, benchmarks).
    CMaterialArray* m_materials = nullptr;
    // The seed of the solver's tie-breaking coin (CLinearProgram::m_randomSeed); 0: the clock.
    std::uint32_t m_solverSeed = 0;

private:
    // Per element z: may the oxide occur, and its bounds in the oxide unit.
    struct SOxideBounds {
        bool allowed = false;
        double lower = 0.0;
        double upper = 0.0;
        bool hasUpper = false;
        bool upperFromConstraint = false; // the first constraint's upper bound replaced the default
    };
    // A lower and an upper bound, either of which may be missing.
    struct SRange {
        double lower = 0.0;
        double upper = 0.0;
        bool hasLower = false;
        bool hasUpper = false;
    };

    void Reset(const COptimizationParams& params);
    void TraceLine(const std::string& line) const;
    bool Fail(std::string text);

    // Steps of a run; each returns false after setting the message.
    bool ApplyOxideConstraints();
    bool ApplyOxideConstraint(const COxideConstraint& constraint);
    bool ApplyExpansionConstraint();
    bool CheckOxideBounds();
    void TraceOxideBounds() const;
    bool ChooseMaterials();
    bool ApplyMaterialConstraints();
    bool CountAllowed();
    // In unity units: does some allowed oxide count as a flux (the unit of the formula)?
    bool AllowsFlux() const;
    std::string NoFluxMessage() const;

    // Rows of the program (OptimizerRows.cpp).
    bool AddRows(CLinearProgram& program);
    // The element rows, then the KNaO rows.
    void AddOxideRows(CLinearProgram& program);
    void AddLoiRows(CLinearProgram& program);
    void AddExpansionRows(CLinearProgram& program);
    void AddMaterialRows(CLinearProgram& program);
    void AddTotalRow(CLinearProgram& program);
    bool SetGoal(CLinearProgram& program);
    // Hands one row to the solver, scaled to a largest coefficient of 1; counts a refusal.
    void AddRow(CLinearProgram& program, std::vector<double> coefficients, double rhs, int type);
    // The lower and upper rows of one bounded quantity: coefficientsFor(b) gives the row of
    // bound b, compared with 0, or with b itself when boundIsRhs. The lower row only when
    // lower > 0 (or always, with lowerAlways), as "=" when the upper bound is at or below it;
    // the upper row when there is one and no "=" row was made.
    void AddBoundRows(CLinearProgram& program, const SRange& range, bool lowerAlways,
                      const std::function<std::vector<double>(double)>& coefficientsFor,
                      bool boundIsRhs = false);
    // One coefficient per variable: f(material) for each usable material in column order.
    template <class Coefficient>
    std::vector<double> RowOf(const Coefficient& f) const;
    // The coefficient of variable j in an oxide row with bound b, in the oxide unit. oxide is an
    // element number, or 0 for sodium and potassium together.
    double OxideCoefficient(const CMaterial& material, int oxide, double bound) const;
    // Moles of the oxides that the unit's ratios divide by, per unit of raw material.
    double UnitBasisMoles(const CMaterial& material) const;
    // The material's expansion sum: weight fraction x coefficient over the non-volatile oxides
    // whose coefficient is known.
    static double ExpansionSum(const CMaterial& material);

    const COptimizationParams* m_params = nullptr;
    CMaterialArray* m_database = nullptr;
    const CElementRecord* m_table = nullptr;
    bool m_percent = false;
    bool m_trace = false;
    std::string m_message;

    std::array<SOxideBounds, kElementCount> m_oxides{};
    bool m_hasKNaO = false;
    double m_knaoLower = 0.0;
    double m_knaoUpper = 0.0;
    bool m_hasLoi = false;
    bool m_hasLoiUpper = false;
    double m_loiLower = 0.0;
    double m_loiUpper = 0.0;
    SRange m_expansion;

    // A material constraint that makes rows: its material's database index and the constraint
    // with its default tolerance.
    struct SBoundedMaterial {
        int material = -1;
        CMaterialConstraint constraint;
    };

    std::vector<char> m_usable;                     // per material of the database
    std::vector<SBoundedMaterial> m_boundedMaterials; // constraints not dropped for a bound <= 0
    std::vector<int> m_columns;                     // the database index of each variable
    int m_rowsRefused = 0;                          // rows the solver would not take
};
