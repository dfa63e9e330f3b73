#include "limits/Limit.h"

#include "limits/LimitFormulaDB.h"
#include "limits/OxideAmounts.h"
#include "limits/OxideCombination.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kRangeSeparator = " - ";

// The number after the first occurrence of op (which ends in its blank); false when op is absent.
bool ReadBoundAfter(std::string_view text, std::string_view op, double& value)
{
    const std::size_t at = text.find(op);
    if (at == std::string_view::npos)
        return false;
    value = ParseDouble(text.substr(at + op.size()));
    return true;
}

// A bound as range texts write it: the preferences' decimals, trailing zeros trimmed.
std::string FormatBound(double value)
{
    std::string text = FormatFixed(value, g_prefs.declimformulas);
    StripTrailingZeros(text, g_prefs.tzslimformulas);
    return text;
}

} // namespace

CLimit::CLimit(std::string comboName, std::string range, int byPercent)
    : m_comboName(std::move(comboName)), m_byPercent(byPercent), m_range(std::move(range))
{
    ParseRange();
}

void CLimit::SetRange(std::string range)
{
    m_range = std::move(range);
    m_parsed = false;
}

int CLimit::ParseRange() const
{
    if (m_parsed)
        return m_hasMin || m_hasMax ? 0 : 1;
    m_min = m_max = 0.0;
    m_hasMin = m_hasMax = m_minInclusive = m_maxInclusive = false;
    const std::string_view text = m_range;
    if (const std::size_t separator = text.find(kRangeSeparator); separator != std::string_view::npos) {
        m_min = ParseDouble(text);
        m_max = ParseDouble(text.substr(separator + kRangeSeparator.size()));
        m_hasMin = m_hasMax = m_minInclusive = m_maxInclusive = true;
    } else {
        // "> " never matches inside ">= ", nor "< " inside "<= ".
        if (ReadBoundAfter(text, ">= ", m_min))
            m_hasMin = m_minInclusive = true;
        else if (ReadBoundAfter(text, "> ", m_min))
            m_hasMin = true;
        if (ReadBoundAfter(text, "<= ", m_max))
            m_hasMax = m_maxInclusive = true;
        else if (ReadBoundAfter(text, "< ", m_max))
            m_hasMax = true;
    }
    m_parsed = true;
    return m_hasMin || m_hasMax ? 0 : 1;
}

bool CLimit::IsWithin(double value) const
{
    ParseRange();
    if (m_hasMin && (value < m_min || (value == m_min && !m_minInclusive)))
        return false;
    if (m_hasMax && (value > m_max || (value == m_max && !m_maxInclusive)))
        return false;
    return true;
}

bool CLimit::IsAnalysisWithin(const COxideAmounts& analysis) const
{
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    if (!database)
        return false;
    // A renamed or deleted combination makes its limits fail rather than vanish.
    const COxideCombination* combination = database->m_combinations.FindByName(m_comboName);
    if (!combination)
        return false;
    return IsWithin(combination->GetValue(analysis, m_byPercent != 0));
}

int CLimit::Combine(const CLimit& other, int mode)
{
    ParseRange();
    other.ParseRange();
    bool hasMin = false;
    bool hasMax = false;
    double min = 0.0;
    double max = 0.0;
    if (mode == kUnion) {
        hasMin = m_hasMin && other.m_hasMin;
        hasMax = m_hasMax && other.m_hasMax;
        min = std::min(m_min, other.m_min);
        max = std::max(m_max, other.m_max);
    } else {
        hasMin = m_hasMin || other.m_hasMin;
        hasMax = m_hasMax || other.m_hasMax;
        min = m_hasMin && other.m_hasMin ? std::max(m_min, other.m_min) : (m_hasMin ? m_min : other.m_min);
        max = m_hasMax && other.m_hasMax ? std::min(m_max, other.m_max) : (m_hasMax ? m_max : other.m_max);
    }
    if (!hasMin && !hasMax)
        return 1;
    const std::string minText = hasMin ? FormatBound(min) : std::string();
    const std::string maxText = hasMax ? FormatBound(max) : std::string();
    std::string range;
    if (hasMin && hasMax)
        range = minText + std::string(kRangeSeparator) + maxText;
    else if (hasMax)
        range = "<= " + maxText;
    else // bounds become inclusive, except that a lone lower bound of 0 keeps 0 itself out
        range = (ParseDouble(minText) == 0.0 ? "> " : ">= ") + minText;
    SetRange(std::move(range));
    ParseRange();
    return 0;
}

// --- CLimitArray ------------------------------------------------------------------------------

CLimitArray::CLimitArray(const CLimitArray& other)
{
    *this = other;
}

CLimitArray& CLimitArray::operator=(const CLimitArray& other)
{
    if (this == &other)
        return *this;
    m_limits.clear();
    m_limits.reserve(other.m_limits.size());
    for (const auto& limit : other.m_limits)
        m_limits.push_back(std::make_unique<CLimit>(*limit));
    return *this;
}

void CLimitArray::RemoveAt(int n)
{
    if (IsValidIndex(n))
        m_limits.erase(m_limits.begin() + n);
}

void CLimitArray::InsertAt(int n, const CLimit& limit)
{
    if (n >= 0 && n <= GetCount())
        m_limits.insert(m_limits.begin() + n, std::make_unique<CLimit>(limit));
}

void CLimitArray::Add(const CLimit& limit)
{
    m_limits.push_back(std::make_unique<CLimit>(limit));
}
