// COxideConstraintArray::SumGroupBounds: the running sums of the Optimize dialog.

#include "glazes/OxideConstraint.h"

#include "elements/ElementTable.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

#include <algorithm>

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;

struct SBounds {
    double lower = 0.0;
    double upper = 0.0;
    bool hasLower = true;
    bool hasUpper = true;
};

SBounds BoundsOf(const COxideConstraint& record, bool percent)
{
    return {record.LowerBound(percent), record.UpperBound(percent), record.HasLowerBound(percent),
            record.HasUpperBound(percent)};
}

// Adds one member into a running sum: the bounds add up, and the sum has a bound only when every
// member has one.
void AddBounds(SBounds& sum, const SBounds& member)
{
    sum.lower = AddConstraintBounds(sum.lower, member.lower);
    sum.upper = AddConstraintBounds(sum.upper, member.upper);
    sum.hasLower = sum.hasLower && member.hasLower;
    sum.hasUpper = sum.hasUpper && member.hasUpper;
}

bool IsGroupMember(int oxide, int group)
{
    if (oxide != kConstraintKNaO && (oxide < 1 || oxide >= kElementCount))
        return false; // LOI, expansion
    // KNaO is element 0 of the table, the combined sodium and potassium entry.
    const std::int32_t role = GetElementTable()[oxide == kConstraintKNaO ? 0 : oxide].role;
    switch (group) {
    case kGroupAllOxides: return true;
    case kGroupNonVolatile:
        return (role & (kRoleAlkali | kRoleNeutral | kRoleAcid | kRoleNotExpected)) != 0;
    case kGroupVolatile: return (role & kRoleVolatile) != 0;
    case kGroupAlkali: return (role & kRoleAlkali) != 0;
    default: return false;
    }
}

// Positions of the last KNaO, sodium and potassium records (-1 when absent).
struct SAlkaliRecords {
    int knao = -1;
    int sodium = -1;
    int potassium = -1;
};

// Sodium and potassium together, then met with the KNaO bounds: the larger lower and the smaller
// upper bound. 1 when the pair's bounds cannot meet KNaO's, allowing for rounding to the
// "decremainders" decimals.
int MergeAlkaliPair(const COxideConstraintArray& list, const SAlkaliRecords& at, bool percent,
                    SBounds& merged)
{
    SBounds pair;
    if (at.sodium >= 0 && at.potassium >= 0) {
        pair = BoundsOf(list[static_cast<std::size_t>(at.sodium)], percent);
        AddBounds(pair, BoundsOf(list[static_cast<std::size_t>(at.potassium)], percent));
    } else {
        pair = BoundsOf(list[static_cast<std::size_t>(std::max(at.sodium, at.potassium))], percent);
    }
    const SBounds knao = BoundsOf(list[static_cast<std::size_t>(at.knao)], percent);
    const double tol = PowerOfTen(-g_prefs.decremainders);
    if ((pair.hasLower && knao.hasUpper && pair.lower - tol > knao.upper) ||
        (pair.hasUpper && knao.hasLower && tol + pair.upper < knao.lower))
        return 1;

    merged.hasLower = pair.hasLower || knao.hasLower;
    merged.lower = pair.hasLower && knao.hasLower ? std::max(pair.lower, knao.lower)
                   : pair.hasLower              ? pair.lower
                                                : knao.lower;
    merged.hasUpper = pair.hasUpper || knao.hasUpper;
    merged.upper = pair.hasUpper && knao.hasUpper ? std::min(pair.upper, knao.upper)
                   : pair.hasUpper              ? pair.upper
                                                : knao.upper;
    return 0;
}

bool IsAlkaliPairMember(int oxide)
{
    return oxide == kConstraintKNaO || oxide == kSodium || oxide == kPotassium;
}

// The exact form: every member is an '=' constraint; targets and tolerances add up. Summed in
// list order from 0, so 0.3 and 0.7 give exactly 1.
void SumExact(const COxideConstraintArray& list, int group, CGroupBoundsSum& sum)
{
    for (const COxideConstraint& record : list) {
        if (!IsGroupMember(record.m_oxide, group))
            continue;
        sum.lower = AddConstraintBounds(sum.lower, ReadConstraintValue(record.m_value1));
        sum.upper = AddConstraintBounds(sum.upper, ReadConstraintValue(record.m_value2));
    }
    sum.hasLower = sum.hasUpper = sum.exact = true;
}

} // namespace

int COxideConstraintArray::SumGroupBounds(int group, int unit, CGroupBoundsSum& sum,
                                          std::string& message) const
{
    sum = CGroupBoundsSum();
    message.clear();
    const bool percent = unit == 1 || unit == 2;

    SAlkaliRecords at;
    for (int i = 0; i < GetCount(); ++i) {
        const COxideConstraint& record = (*this)[static_cast<std::size_t>(i)];
        if (record.IsInvalid()) {
            message = "Error in constraint on oxide " + record.GetDisplayName();
            return 1;
        }
        if (record.m_oxide == kConstraintKNaO)
            at.knao = i;
        else if (record.m_oxide == kSodium)
            at.sodium = i;
        else if (record.m_oxide == kPotassium)
            at.potassium = i;
    }

    SBounds running;
    bool merged = false;
    if (at.knao >= 0 && (at.sodium >= 0 || at.potassium >= 0)) {
        if (MergeAlkaliPair(*this, at, percent, running) != 0) {
            message = "Conflict with KNaO constraint";
            return 1;
        }
        merged = group != kGroupVolatile; // the volatile group never holds the alkali pair
    }

    if (!merged) {
        int members = 0;
        bool allTargets = true;
        for (const COxideConstraint& record : *this) {
            if (IsGroupMember(record.m_oxide, group)) {
                ++members;
                allTargets = allTargets && record.m_op == '=';
            }
        }
        if (members == 0 || allTargets) {
            SumExact(*this, group, sum); // no members: 0 and 0, exact
            return 0;
        }
        running = SBounds();
    }

    for (const COxideConstraint& record : *this) {
        if (!IsGroupMember(record.m_oxide, group) || (merged && IsAlkaliPairMember(record.m_oxide)))
            continue;
        AddBounds(running, BoundsOf(record, percent));
    }
    sum.lower = running.lower;
    sum.upper = running.upper;
    sum.hasLower = running.hasLower;
    sum.hasUpper = running.hasUpper;
    sum.exact = false;
    return 0;
}
