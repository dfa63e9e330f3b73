// Bringing a % formula to 100: scaling the amounts or adding the missing part as LOI, then
// spreading the rounding remainder so that the written amounts add up to exactly 100.

#include "materials/Material.h"

#include "shell/Preferences.h"
#include "support/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Amounts are compared at the precision they are written with (decformulas decimals).
class CPrecision {
public:
    explicit CPrecision(int decimals) : m_decimals(decimals), m_half(0.5 * PowerOfTen(-decimals)) {}

    double Round(double x) const { return RoundToPowerOfTen(x, -m_decimals); }
    bool IsZero(double x) const { return std::fabs(x) < m_half; }
    bool Equal(double a, double b) const { return IsZero(a - b); }
    bool Less(double a, double b) const { return a < b - m_half; }
    // Rounded fractional part of a value.
    double Fraction(double x) const { return Round(x - Floor(x)); }

    // Whole numbers and floors, safe against a product such as 3400 * 0.01 landing a hair off.
    static bool IsWhole(double x) { return std::fabs(x - std::round(x)) < 1e-9; }
    static double Floor(double x) { return std::floor(x + 1e-9); }

private:
    int m_decimals;
    double m_half;
};

void SetAmount(CFormulaComponent& component, double value, const CPrecision& precision)
{
    component.m_amount = precision.Round(value);
    component.m_amountText = FormatFormulaAmount(value);
}

// Index of the component with the largest amount that is not whole (the first of equal ones),
// or -1 when every amount is whole.
int LargestFractionalComponent(const CFormulaComponentList& components)
{
    int best = -1;
    for (std::size_t i = 0; i < components.size(); ++i) {
        double amount = components[i].m_amount;
        if (CPrecision::IsWhole(amount))
            continue;
        if (best < 0 || amount > components[static_cast<std::size_t>(best)].m_amount)
            best = static_cast<int>(i);
    }
    return best;
}

// The written amounts add up to more than 100 by excess.
void CutExcess(CFormulaComponentList& components, double excess, const CPrecision& p)
{
    // A component whose fraction is exactly the excess loses it.
    for (CFormulaComponent& component : components) {
        if (p.Equal(p.Fraction(component.m_amount), excess)) {
            SetAmount(component, CPrecision::Floor(component.m_amount), p);
            return;
        }
    }
    // Smaller fractions are dropped in list order.
    for (CFormulaComponent& component : components) {
        if (p.IsZero(excess) || excess < 0.0)
            return;
        double fraction = p.Fraction(component.m_amount);
        if (p.IsZero(fraction) || !p.Less(fraction, excess))
            continue;
        SetAmount(component, CPrecision::Floor(component.m_amount), p);
        excess = p.Round(excess - fraction);
    }
    if (p.IsZero(excess) || excess < 0.0)
        return;
    // The rest comes off the largest amount that is not whole; an amount never goes below 0,
    // since a negative amount cannot be written in a formula.
    int index = LargestFractionalComponent(components);
    if (index >= 0) {
        CFormulaComponent& component = components[static_cast<std::size_t>(index)];
        SetAmount(component, std::max(0.0, component.m_amount - excess), p);
    }
}

// The written amounts add up to less than 100 by missing.
void AddShortfall(CFormulaComponentList& components, double missing, const CPrecision& p)
{
    // A component that the shortfall makes whole takes all of it.
    for (CFormulaComponent& component : components) {
        double raised = p.Round(component.m_amount + missing);
        if (CPrecision::IsWhole(raised)) {
            SetAmount(component, raised, p);
            return;
        }
    }
    // Components that the shortfall lifts past a whole number are raised to it, in list order.
    for (CFormulaComponent& component : components) {
        if (p.IsZero(missing) || missing < 0.0)
            return;
        double old = component.m_amount;
        double target = CPrecision::Floor(p.Round(old + missing));
        if (!(CPrecision::Floor(old) < target))
            continue;
        SetAmount(component, target, p);
        missing = p.Round(missing - p.Round(target - old));
    }
    if (p.IsZero(missing) || missing < 0.0)
        return;
    int index = LargestFractionalComponent(components);
    if (index >= 0) {
        CFormulaComponent& component = components[static_cast<std::size_t>(index)];
        SetAmount(component, component.m_amount + missing, p);
    }
}

} // namespace

void CMaterial::NormalizePercentages(int mode)
{
    if (!(m_isWeightPercent || m_isMolePercent) || m_hasForcedSum || (mode != 0 && mode != 1))
        return;
    for (CFormulaComponent& component : m_components)
        component.Classify();
    const CPrecision precision(g_prefs.decformulas);

    if (mode == 0) {
        if (!precision.IsZero(precision.Round(m_percentSum - 100.0))) {
            if (!(m_percentSum > 0.0))
                return;
            const double sum = m_percentSum;
            for (CFormulaComponent& component : m_components)
                component.m_amountText = FormatFormulaAmount(component.m_amount * 100.0 / sum);
            RebuildFormula();
        }
    } else {
        const double rounded = precision.Round(m_percentSum);
        if (m_isMolePercent || rounded >= 100.0)
            return;
        int loi = -1;
        for (std::size_t i = 0; i < m_components.size() && loi < 0; ++i) {
            if (m_components[i].m_kind == kComponentLoi)
                loi = static_cast<int>(i);
        }
        if (loi >= 0) {
            CFormulaComponent& component = m_components[static_cast<std::size_t>(loi)];
            component.m_amountText = FormatFormulaAmount(100.0 - rounded + component.m_amount);
        } else {
            m_components.emplace_back(FormatFormulaAmount(100.0 - rounded), "LOI");
        }
        RebuildFormula();
    }

    // The amounts are written with a limited number of decimals, so the scaled sum may miss 100
    // by a rounding remainder.
    const double difference = precision.Round(m_percentSum - 100.0);
    if (precision.IsZero(difference) || m_components.size() < 2)
        return;
    for (CFormulaComponent& component : m_components)
        component.Classify();
    if (difference > 0.0)
        CutExcess(m_components, difference, precision);
    else
        AddShortfall(m_components, -difference, precision);
    RebuildFormula();
}

int CMaterial::CheckFormula(std::string* text, int mode)
{
    if (text->empty())
        return 0;
    CMaterial scratch("new material");
    if (scratch.SetFormula(*text) != 0)
        return 1;
    scratch.NormalizePercentages(mode);
    *text = scratch.m_formula;
    return 0;
}
