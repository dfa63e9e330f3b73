// The rows of the optimizer's linear program: one variable per usable material, in database
// order. Oxide, KNaO, LOI, expansion and % weight material rows are homogeneous ("quantity -
// bound x basis" compared with 0); weight material rows and the recipe-size row carry their
// amounts on the right-hand side.

#include "tools/Optimizer.h"

#include "materials/MaterialArray.h"
#include "tools/LpSolver.h"
#include "glazes/OptimizationParams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;
// Element coefficients below this are unknown.
constexpr double kUnknownCoefficient = -998.0;
// The unity ceiling of an oxide that no bound limits: the default maximum of a '>' constraint.
constexpr double kUnityCeiling = 1000.0;

bool IsVolatile(const CElementRecord& element)
{
    return (element.role & kRoleVolatile) != 0;
}

} // namespace

double COptimizer::UnitBasisMoles(const CMaterial& material) const
{
    const bool unity = m_params->m_oxideUnit == kOxideUnitUnity;
    double moles = 0.0;
    // Only the elements the material holds can add to the sum.
    material.m_atoms.ForEach([&](int z, double atoms) {
        if (z < 1 || z >= kElementCount)
            return;
        const CElementRecord& element = m_table[z];
        const bool counts = unity ? (element.role & kRoleAlkali) != 0 : !IsVolatile(element);
        if (counts && m_oxides[static_cast<std::size_t>(z)].allowed && atoms > 0.0)
            moles += DivideByCationCount(atoms, element.ncat);
    });
    return moles;
}

double COptimizer::OxideCoefficient(const CMaterial& material, int oxide, double bound) const
{
    const auto moles = [&](int z) {
        return DivideByCationCount(material.m_atoms[static_cast<std::size_t>(z)], m_table[z].ncat);
    };
    const auto weight = [&](int z) { return material.m_oxides[static_cast<std::size_t>(z)]; };
    switch (m_params->m_oxideUnit) {
    case kOxideUnitUnity:
        return (oxide == 0 ? moles(kSodium) + moles(kPotassium) : moles(oxide)) - bound * UnitBasisMoles(material);
    case kOxideUnitMolePercent:
        return (oxide == 0 ? moles(kSodium) + moles(kPotassium) : moles(oxide)) -
               bound * 0.01 * UnitBasisMoles(material);
    default:
        return ((oxide == 0 ? weight(kSodium) + weight(kPotassium) : weight(oxide)) - bound * 0.01) *
               material.m_firedYield;
    }
}

double COptimizer::ExpansionSum(const CMaterial& material)
{
    const CElementRecord* table = GetElementTable();
    double sum = 0.0;
    for (int z = 1; z < kElementCount; ++z) {
        // An unknown coefficient (-999) would count as a huge negative expansion.
        if (IsVolatile(table[z]) || table[z].expansion < kUnknownCoefficient)
            continue;
        sum += material.m_oxides[static_cast<std::size_t>(z)] * table[z].expansion;
    }
    return sum;
}

// Rows in moles per gram have coefficients of a few thousandths while the solver's tolerance is
// absolute: each row is scaled to a largest coefficient of 1 (the same row, better conditioned).
void COptimizer::AddRow(CLinearProgram& program, std::vector<double> coefficients, double rhs, int type)
{
    double largest = 0.0;
    for (double value : coefficients)
        largest = std::max(largest, std::fabs(value));
    if (largest > 0.0 && std::isfinite(largest)) {
        for (double& value : coefficients)
            value /= largest;
        rhs /= largest;
    }
    m_rowsRefused += program.AddConstraint(coefficients, rhs, type);
}

void COptimizer::AddBoundRows(CLinearProgram& program, const SRange& range, bool lowerAlways,
                              const std::function<std::vector<double>(double)>& coefficientsFor,
                              bool boundIsRhs)
{
    const bool single = range.hasUpper && range.upper <= range.lower;
    if (range.hasLower && (lowerAlways || range.lower > 0.0)) {
        AddRow(program, coefficientsFor(range.lower), boundIsRhs ? range.lower : 0.0,
               single ? kLPEqual : kLPGreaterOrEqual);
        if (single)
            return;
    }
    if (range.hasUpper)
        AddRow(program, coefficientsFor(range.upper), boundIsRhs ? range.upper : 0.0, kLPLessOrEqual);
}

// The row of one bound: f(material) for every variable.
template <class Coefficient>
std::vector<double> COptimizer::RowOf(const Coefficient& f) const
{
    std::vector<double> row;
    row.reserve(m_columns.size());
    for (int index : m_columns)
        row.push_back(f(*m_database->GetAt(index)));
    return row;
}

void COptimizer::AddOxideRows(CLinearProgram& program)
{
    for (int z = 1; z < kElementCount; ++z) {
        const SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(z)];
        if (!oxide.allowed)
            continue;
        SRange range{oxide.lower, oxide.upper, true, oxide.hasUpper};
        // Unity rows are ratios to the fluxes: a recipe without any flux would meet every one of
        // them (0 >= 0) while made of unbounded oxides alone, 100 silica for "SiO2 > 3". A
        // ceiling on every non-volatile oxide ties it to the fluxes.
        if (m_params->m_oxideUnit == kOxideUnitUnity && !range.hasUpper && !IsVolatile(m_table[z])) {
            range.upper = std::max(kUnityCeiling, 10.0 * range.lower);
            range.hasUpper = true;
        }
        AddBoundRows(program, range, false, [&](double bound) {
            return RowOf([&](const CMaterial& material) { return OxideCoefficient(material, z, bound); });
        });
    }
    if (!m_hasKNaO)
        return;
    AddBoundRows(program, SRange{m_knaoLower, m_knaoUpper, true, true}, false, [&](double bound) {
        return RowOf([&](const CMaterial& material) { return OxideCoefficient(material, 0, bound); });
    });
}

void COptimizer::AddLoiRows(CLinearProgram& program)
{
    if (!m_hasLoi)
        return;
    AddBoundRows(program, SRange{m_loiLower, m_loiUpper, true, m_hasLoiUpper}, false, [&](double bound) {
        return RowOf([&](const CMaterial& material) {
            double volatiles = 0.0;
            for (int z = 1; z < kElementCount; ++z) {
                if (IsVolatile(m_table[z]) && m_oxides[static_cast<std::size_t>(z)].allowed)
                    volatiles += material.m_oxides[static_cast<std::size_t>(z)];
            }
            return (volatiles - bound * 0.01) * material.m_firedYield;
        });
    });
}

void COptimizer::AddExpansionRows(CLinearProgram& program)
{
    if (!m_expansion.hasLower && !m_expansion.hasUpper)
        return;
    AddBoundRows(program, m_expansion, true, [&](double bound) {
        return RowOf([&](const CMaterial& material) {
            return (ExpansionSum(material) - bound * 0.01) * material.m_firedYield;
        });
    });
}

void COptimizer::AddMaterialRows(CLinearProgram& program)
{
    const bool percent = m_params->MaterialUnitIsPercent();
    for (const SBoundedMaterial& bounded : m_boundedMaterials) {
        if (!m_usable[static_cast<std::size_t>(bounded.material)])
            continue;
        const CMaterialConstraint& constraint = bounded.constraint;
        const SRange range{constraint.LowerBound(percent), constraint.UpperBound(percent), true,
                           constraint.HasUpperBound(percent)};
        const CMaterial* own = m_database->GetAt(bounded.material);
        if (percent) {
            // Its share of the raw total: x_own - b% of the sum of all amounts.
            AddBoundRows(program, range, false, [&](double bound) {
                return RowOf([&](const CMaterial& material) {
                    return (&material == own ? 1.0 : 0.0) - bound * 0.01;
                });
            });
            continue;
        }
        // Its own amount against the bound.
        const std::vector<double> row = RowOf([&](const CMaterial& material) { return &material == own ? 1.0 : 0.0; });
        AddBoundRows(program, range, false, [&](double) { return row; }, true);
    }
}

void COptimizer::AddTotalRow(CLinearProgram& program)
{
    const bool fired = m_params->m_firedWeight != 0;
    const std::vector<double> row = RowOf([&](const CMaterial& material) { return fired ? material.m_firedYield : 1.0; });
    AddRow(program, row, m_params->GetRecipeSize(), kLPEqual);
}

bool COptimizer::AddRows(CLinearProgram& program)
{
    m_rowsRefused = 0;
    AddOxideRows(program);
    AddLoiRows(program);
    AddExpansionRows(program);
    AddMaterialRows(program);
    AddTotalRow(program);
    // Only a coefficient beyond the range of doubles makes the solver refuse a row; solving
    // without that row would give a recipe that ignores it.
    if (m_rowsRefused != 0)
        return Fail(std::string("Error ") + std::to_string(kLPStatusUnknown) + ": " + LPStatusMessage(kLPStatusUnknown));
    return true;
}

bool COptimizer::SetGoal(CLinearProgram& program)
{
    const int goal = m_params->m_goal;
    if (goal != kGoalCost && goal != kGoalLOI && goal != kGoalExpansion)
        return Fail("Internal error: unsupported optimization goal type " + std::to_string(goal));
    const double sign = m_params->m_maximize == 1 ? -1.0 : 1.0;
    const std::vector<double> costs = RowOf([&](const CMaterial& material) {
        switch (goal) {
        case kGoalCost: return sign * material.m_costPerLb;
        case kGoalLOI: return sign * material.m_loi;
        default: return sign * material.m_firedYield * ExpansionSum(material);
        }
    });
    if (program.SetCost(costs) != 0)
        return Fail(std::string("Error ") + std::to_string(kLPStatusUnknown) + ": " + LPStatusMessage(kLPStatusUnknown));
    return true;
}
