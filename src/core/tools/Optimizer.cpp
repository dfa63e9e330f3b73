#include "tools/Optimizer.h"

#include "elements/ElementTable.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "textfile/Information.h"
#include "tools/LpSolver.h"
#include "glazes/OptimizationParams.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;

bool IsVolatile(const CElementRecord& element)
{
    return (element.role & kRoleVolatile) != 0;
}

// "%5s  min=%f  max=%f"
std::string BoundsLine(const std::string& name, double lower, double upper)
{
    std::string line = name;
    if (line.size() < 5)
        line.insert(0, 5 - line.size(), ' ');
    return line + "  min=" + FormatDoubleFixed(lower, 6) + "  max=" + FormatDoubleFixed(upper, 6);
}

// A copy of an '=' constraint without a tolerance gets the default one when there is a default
// and the target is above 0: percentText % of the target, with the Remainders decimals.
template <class Constraint>
Constraint WithDefaultTolerance(const Constraint& constraint, const std::string& percentText)
{
    Constraint copy = constraint;
    const double target = ReadConstraintValue(copy.m_value1);
    if (copy.m_op == '=' && copy.m_value2.empty() && !percentText.empty() && target > 0.0)
        copy.m_value2 = FormatFixed(ReadConstraintValue(percentText) * target * 0.01, g_prefs.decremainders);
    return copy;
}

} // namespace

void COptimizer::TraceLine(const std::string& line) const
{
    if (!m_trace)
        return;
    if (m_traceSink)
        m_traceSink(line);
    else
        ShowInformation(line);
}

bool COptimizer::Fail(std::string text)
{
    m_message = std::move(text);
    return false;
}

void COptimizer::Reset(const COptimizationParams& params)
{
    m_params = &params;
    m_database = m_materials ? m_materials : (g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr);
    m_table = GetElementTable();
    m_percent = params.OxideUnitIsPercent();
    m_message.clear();
    m_oxides = {};
    for (int z = 1; z < kElementCount; ++z) {
        const CElementRecord& element = m_table[z];
        SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(z)];
        oxide.allowed = IsVolatile(element);
        if (m_percent ? !IsVolatile(element) : (element.role & kRoleAlkali) != 0) {
            oxide.upper = m_percent ? 100.0 : 1.0;
            oxide.hasUpper = true;
        }
    }
    m_hasKNaO = false;
    m_knaoLower = 0.0;
    m_knaoUpper = m_percent ? 100.0 : 1.0;
    m_hasLoi = m_hasLoiUpper = false;
    m_loiLower = m_loiUpper = 0.0;
    m_expansion = SRange();
    m_usable.clear();
    m_boundedMaterials.clear();
    m_columns.clear();
}

int COptimizer::Run(const COptimizationParams& params, CIngredientList& recipe, std::string& message, bool trace)
{
    m_trace = trace;
    if (trace && !m_traceSink)
        ClearInformation();
    recipe.clear();
    Reset(params);

    bool ok = (m_database && m_database->GetCount() > 0) || Fail("Error: no materials in the material database");
    ok = ok && ApplyOxideConstraints() && ApplyExpansionConstraint() && CheckOxideBounds();
    if (ok)
        TraceOxideBounds();
    ok = ok && ChooseMaterials() && ApplyMaterialConstraints();
    if (ok) {
        for (int i = 0; i < m_database->GetCount(); ++i) {
            if (m_usable[static_cast<std::size_t>(i)])
                TraceLine("usable material: " + m_database->GetAt(i)->m_name);
        }
    }
    ok = ok && CountAllowed();

    CLinearProgram program;
    program.m_traceSink = m_traceSink;
    program.m_randomSeed = m_solverSeed;
    ok = ok && AddRows(program) && SetGoal(program);
    std::vector<double> x;
    if (ok) {
        program.m_tolerance = PowerOfTen(-std::abs(g_prefs.optimizetol));
        if (program.Solve(x, trace) != 0)
            ok = Fail("Error " + std::to_string(program.GetStatus()) + ": " + program.GetStatusMessage());
    }
    if (ok) {
        for (std::size_t j = 0; j < m_columns.size(); ++j) {
            if (x[j] > 0.0)
                recipe.Add(m_database->GetAt(m_columns[j])->m_name, x[j]);
        }
        m_message = kOptimizationComplete;
    }
    message = m_message;
    m_params = nullptr;
    return ok ? 0 : 1;
}

// --- oxide bounds ---------------------------------------------------------------------------------

bool COptimizer::ApplyOxideConstraints()
{
    for (const COxideConstraint& constraint : m_params->m_oxideConstraints) {
        if (!ApplyOxideConstraint(WithDefaultTolerance(constraint, m_params->m_oxideTolerance)))
            return false;
    }
    return true;
}

bool COptimizer::ApplyOxideConstraint(const COxideConstraint& constraint)
{
    if (const std::string fault = constraint.Fault(); !fault.empty())
        return Fail("Error: " + fault);
    if (constraint.m_oxide == kConstraintKNaO) {
        m_hasKNaO = true;
        m_knaoLower = std::max(m_knaoLower, constraint.LowerBound(m_percent));
        if (constraint.HasUpperBound(m_percent)) {
            const double bound = constraint.UpperBound(m_percent);
            m_knaoUpper = std::min(m_knaoUpper, bound);
            for (int z : {kSodium, kPotassium}) {
                SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(z)];
                oxide.upper = oxide.hasUpper ? std::min(oxide.upper, bound) : bound;
                oxide.hasUpper = oxide.upperFromConstraint = true;
            }
        }
        for (int z : {kSodium, kPotassium})
            m_oxides[static_cast<std::size_t>(z)].allowed = true;
    } else if (constraint.m_oxide == kConstraintLOI) {
        m_hasLoi = true;
        m_loiLower = std::max(m_loiLower, constraint.LowerBound(true));
        if (constraint.HasUpperBound(true)) {
            const double bound = constraint.UpperBound(true);
            m_loiUpper = m_hasLoiUpper ? std::min(m_loiUpper, bound) : bound;
            m_hasLoiUpper = true;
        }
    } else if (constraint.m_oxide >= 1 && constraint.m_oxide < kElementCount) {
        SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(constraint.m_oxide)];
        oxide.allowed = true;
        oxide.lower = std::max(oxide.lower, constraint.LowerBound(m_percent));
        if (constraint.HasUpperBound(m_percent)) {
            const double bound = constraint.UpperBound(m_percent);
            oxide.upper = oxide.upperFromConstraint ? std::min(oxide.upper, bound) : bound;
            oxide.hasUpper = oxide.upperFromConstraint = true;
        }
    }
    // An expansion record among the oxide constraints has no oxide to bound; the parameter set's
    // own expansion constraint is the one that counts.
    return true;
}

bool COptimizer::ApplyExpansionConstraint()
{
    const COxideConstraint& constraint = m_params->m_expansionConstraint;
    if (constraint.m_value1.empty())
        return true;
    // A record read from a file may be malformed; its bounds would silently mean nothing.
    if (const std::string fault = constraint.Fault(); !fault.empty())
        return Fail("Error: " + fault);
    m_expansion.hasLower = constraint.HasLowerBound(false);
    m_expansion.lower = constraint.LowerBound(false);
    m_expansion.hasUpper = constraint.HasUpperBound(false);
    m_expansion.upper = constraint.UpperBound(false);
    return true;
}

bool COptimizer::CheckOxideBounds()
{
    for (int z = 1; z < kElementCount; ++z) {
        SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(z)];
        if (oxide.allowed && oxide.hasUpper && oxide.upper <= 0.0)
            oxide.allowed = false;
        if (oxide.hasUpper && oxide.upper < oxide.lower)
            return Fail("Error: constraint on " + m_table[z].oxide + " is not self-consistent");
    }
    if (m_hasKNaO && m_knaoUpper <= 0.0) {
        m_oxides[kSodium].allowed = m_oxides[kPotassium].allowed = false;
        m_hasKNaO = false;
    }
    if (m_knaoUpper < m_knaoLower)
        return Fail("Error: constraint on KNaO is not self-consistent");
    if (m_hasLoiUpper) {
        if (m_loiUpper <= 0.0) {
            for (int z = 1; z < kElementCount; ++z) {
                if (IsVolatile(m_table[z]))
                    m_oxides[static_cast<std::size_t>(z)].allowed = false;
            }
            m_hasLoi = false;
        }
        if (m_loiUpper < m_loiLower)
            return Fail("Error: constraint on LOI is not self-consistent");
    }
    return true;
}

void COptimizer::TraceOxideBounds() const
{
    if (!m_trace)
        return;
    if (m_hasKNaO)
        TraceLine(BoundsLine("KNaO", m_knaoLower, m_knaoUpper));
    if (m_hasLoi)
        TraceLine(BoundsLine("LOI", m_loiLower, m_hasLoiUpper ? m_loiUpper : -1.0));
    for (int z = 1; z < kElementCount; ++z) {
        const SOxideBounds& oxide = m_oxides[static_cast<std::size_t>(z)];
        if (oxide.allowed)
            TraceLine(BoundsLine(m_table[z].oxide, oxide.lower, oxide.hasUpper ? oxide.upper : -1.0));
    }
}

// --- materials ------------------------------------------------------------------------------------

bool COptimizer::ChooseMaterials()
{
    const int count = m_database->GetCount();
    m_usable.assign(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        const CMaterial& material = *m_database->GetAt(i);
        m_usable[static_cast<std::size_t>(i)] =
            material.m_mapTo.empty() && (material.m_available != 0 || m_params->m_allMaterials != 0);
    }
    for (const std::string& name : m_params->m_excludedMaterials) {
        const CMaterial* found = m_database->FindMaterial(std::string_view(name));
        if (!found)
            return Fail("Error: unknown material " + name);
        m_usable[static_cast<std::size_t>(m_database->IndexOf(found))] = 0;
    }
    for (int i = 0; i < count; ++i) {
        if (!m_usable[static_cast<std::size_t>(i)])
            continue;
        const CMaterial& material = *m_database->GetAt(i);
        bool any = false;
        bool onlyAllowed = true;
        for (int z = 1; z < kElementCount; ++z) {
            if (!(material.m_oxides[static_cast<std::size_t>(z)] > 0.0))
                continue;
            any = true;
            onlyAllowed = onlyAllowed && m_oxides[static_cast<std::size_t>(z)].allowed;
        }
        m_usable[static_cast<std::size_t>(i)] = any && onlyAllowed;
    }
    return true;
}

bool COptimizer::ApplyMaterialConstraints()
{
    const bool percent = m_params->MaterialUnitIsPercent();
    const CMaterialConstraintArray& constraints = m_params->m_materialConstraints;
    for (const CMaterialConstraint& constraint : constraints) {
        // A malformed record (read from a file) would otherwise bound nothing without a word.
        if (const std::string fault = constraint.Fault(); !fault.empty())
            return Fail("Error: " + fault);
        const bool hasUpper = constraint.HasUpperBound(percent);
        const double upper = constraint.UpperBound(percent);
        const double lower = constraint.LowerBound(percent);
        if (hasUpper && upper < lower)
            return Fail("Error: constraint on " + constraint.m_material + " is not self-consistent");
        const CMaterial* found = m_database->FindMaterial(std::string_view(constraint.m_material));
        if (hasUpper && upper <= 0.0) {
            if (found)
                m_usable[static_cast<std::size_t>(m_database->IndexOf(found))] = 0;
            continue;
        }
        if (!found)
            return Fail("Error: unknown material " + constraint.m_material);
        const int index = m_database->IndexOf(found);
        if (!m_usable[static_cast<std::size_t>(index)] && lower > 0.0)
            return Fail("Error: material " + constraint.m_material + " ruled out by other constraints");
        m_boundedMaterials.push_back({index, WithDefaultTolerance(constraint, m_params->m_materialTolerance)});
    }
    return true;
}

bool COptimizer::AllowsFlux() const
{
    for (int z = 1; z < kElementCount; ++z) {
        if (m_oxides[static_cast<std::size_t>(z)].allowed && (m_table[z].role & kRoleAlkali) != 0)
            return true;
    }
    return false;
}

std::string COptimizer::NoFluxMessage() const
{
    // The unity formula divides every oxide by the flux oxides; without one the solver only finds
    // "no feasible solutions", which says nothing of why.
    std::string bounded;
    for (int z = 1; z < kElementCount; ++z) {
        if (m_oxides[static_cast<std::size_t>(z)].allowed && !IsVolatile(m_table[z]))
            bounded += (bounded.empty() ? "" : ", ") + m_table[z].oxide;
    }
    return "Error: no flux oxide may enter the glaze, so no unity formula can hold " + bounded +
           ": add a constraint on a flux such as CaO or KNaO, or use % units";
}

bool COptimizer::CountAllowed()
{
    int allowed = 0;
    int nonVolatile = 0;
    for (int z = 1; z < kElementCount; ++z) {
        if (!m_oxides[static_cast<std::size_t>(z)].allowed)
            continue;
        ++allowed;
        if (!IsVolatile(m_table[z]))
            ++nonVolatile;
    }
    if (nonVolatile == 0)
        return Fail("Error: constraints do not allow any nonvolatile oxides");
    for (int i = 0; i < m_database->GetCount(); ++i) {
        if (m_usable[static_cast<std::size_t>(i)])
            m_columns.push_back(i);
    }
    if (m_columns.empty())
        return Fail("Error: constraints rule out all materials");
    if (!m_percent && !AllowsFlux())
        return Fail(NoFluxMessage());
    TraceLine(std::to_string(allowed) + " allowed oxides (" + std::to_string(nonVolatile) + " nonvolatile), " +
              std::to_string(m_columns.size()) + " usable materials");
    return true;
}
