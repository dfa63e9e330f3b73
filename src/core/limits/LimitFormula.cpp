#include "limits/LimitFormula.h"

#include "limits/OxideAmounts.h"
#include "shell/Preferences.h"
#include "support/TextHelpers.h"

#include <utility>

namespace {

// The limit text that marks an intersection without any common value.
constexpr const char* kEmptyIntersectionRange = "666 - 666";

bool Corresponds(const CLimit& a, const CLimit& b)
{
    return a.m_comboName == b.m_comboName && a.m_byPercent == b.m_byPercent;
}

// The first limit of limits that corresponds to limit, else -1.
int FindCorresponding(const CLimitArray& limits, const CLimit& limit)
{
    for (int i = 0; i < limits.GetCount(); ++i)
        if (Corresponds(limits.GetAt(i), limit))
            return i;
    return -1;
}

} // namespace

CLimitFormula::CLimitFormula(std::string name)
    : m_name(std::move(name))
{
    GetTodayString(m_date, g_prefs.datefmt);
}

bool CLimitFormula::IsAnalysisWithin(const COxideAmounts& analysis) const
{
    if (!analysis.IsValid())
        return false;
    for (int i = 0; i < m_limits.GetCount(); ++i)
        if (!m_limits.GetAt(i).IsAnalysisWithin(analysis))
            return false;
    return true;
}

void CLimitFormula::Combine(const CLimitFormula& other, int mode)
{
    if (&other == this) {
        // Combining a formula with itself changes nothing but must not read what it rewrites.
        const CLimitFormula copy(other);
        Combine(copy, mode);
        return;
    }
    if (mode == CLimit::kUnion)
        Unite(other);
    else
        Intersect(other);
}

void CLimitFormula::Intersect(const CLimitFormula& other)
{
    for (int i = 0; i < other.m_limits.GetCount(); ++i) {
        const CLimit& limit = other.m_limits.GetAt(i);
        const int mine = FindCorresponding(m_limits, limit);
        if (mine >= 0)
            m_limits.GetAt(mine).Combine(limit, CLimit::kIntersection);
        else
            m_limits.Add(limit);
    }
    for (int i = 0; i < m_limits.GetCount(); ++i) {
        CLimit& limit = m_limits.GetAt(i);
        if (limit.HasMinimum() && limit.HasMaximum() && limit.GetMinimum() > limit.GetMaximum()) {
            limit.SetRange(kEmptyIntersectionRange);
            limit.ParseRange();
        }
    }
}

void CLimitFormula::Unite(const CLimitFormula& other)
{
    for (int i = m_limits.GetCount() - 1; i >= 0; --i) {
        const int theirs = FindCorresponding(other.m_limits, m_limits.GetAt(i));
        if (theirs < 0 || m_limits.GetAt(i).Combine(other.m_limits.GetAt(theirs), CLimit::kUnion) != 0)
            m_limits.RemoveAt(i);
    }
}
