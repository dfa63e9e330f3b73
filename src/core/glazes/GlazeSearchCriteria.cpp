#include "glazes/GlazeSearchCriteria.h"

#include "limits/LimitFormula.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"

#include <string_view>

namespace {

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Operator 0: the field equals the text; 1: it contains the text. Both ignore case.
bool TextMatches(std::string_view field, const CGlazeSearchCriterion& criterion)
{
    const std::string value = LowerCase(field);
    const std::string wanted = LowerCase(criterion.m_text);
    switch (criterion.m_operator) {
    case kSearchEquals: return value == wanted;
    case kSearchContains: return value.find(wanted) != std::string::npos;
    default: return false;
    }
}

bool AnyLineMatches(const CStringArrayEx& lines, const CGlazeSearchCriterion& criterion)
{
    for (const std::string& line : lines)
        if (TextMatches(line, criterion))
            return true;
    return false;
}

bool AnyIngredientMatches(const CIngredientList& list, const CGlazeSearchCriterion& criterion)
{
    for (const auto& line : list)
        if (line && TextMatches(line->m_name, criterion))
            return true;
    return false;
}

// The text member compared by a text field code, or null for the other codes.
const std::string CGlaze::* SearchTextMember(int field)
{
    switch (field) {
    case kSearchName: return &CGlaze::m_name;
    case kSearchIndex: return &CGlaze::m_index;
    case kSearchSource: return &CGlaze::m_source;
    case kSearchType: return &CGlaze::m_type;
    case kSearchFiretype: return &CGlaze::m_firetype;
    case kSearchColor: return &CGlaze::m_color;
    case kSearchVisTexture: return &CGlaze::m_vistexture;
    case kSearchQuality: return &CGlaze::m_quality;
    case kSearchTransparency: return &CGlaze::m_transparency;
    case kSearchCrystals: return &CGlaze::m_xtals;
    case kSearchBubbles: return &CGlaze::m_bubbles;
    case kSearchFlow: return &CGlaze::m_flow;
    case kSearchDurability: return &CGlaze::m_durability;
    case kSearchFlaws: return &CGlaze::m_flaws;
    case kSearchTested: return &CGlaze::m_tested;
    case kSearchImageFile: return &CGlaze::m_imagefile;
    case kSearchNoteFile: return &CGlaze::m_notefile;
    case kSearchLimitFormulaName: return &CGlaze::m_limform;
    case kSearchRangeText: return &CGlaze::m_range;
    case kSearchDateText: return &CGlaze::m_date;
    default: return nullptr;
    }
}

bool DateMatches(int date, const CGlazeSearchCriterion& criterion)
{
    if (date <= 0 || criterion.m_date1 <= 0)
        return false;
    switch (criterion.m_operator) {
    case kSearchBefore: return date < criterion.m_date1;
    case kSearchOnOrBefore: return date <= criterion.m_date1;
    case kSearchOn: return date == criterion.m_date1;
    case kSearchOnOrAfter: return date >= criterion.m_date1;
    case kSearchAfter: return date > criterion.m_date1;
    case kSearchBetween: return criterion.m_date1 <= date && date <= criterion.m_date2;
    default: return false;
    }
}

bool Within(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Either end of one range lies within the other.
bool RangesOverlap(int low1, int high1, int low2, int high2)
{
    return Within(low1, low2, high2) || Within(high1, low2, high2) || Within(low2, low1, high1) ||
           Within(high2, low1, high1);
}

// The fields that "any field" looks at, in the order they are tried.
constexpr int kAnyFieldCodes[] = {
    kSearchNotesOrSource, kSearchName,       kSearchType,         kSearchFiretype,
    kSearchColor,         kSearchVisTexture, kSearchQuality,      kSearchTransparency,
    kSearchCrystals,      kSearchBubbles,    kSearchFlow,         kSearchDurability,
    kSearchFlaws,         kSearchTested,     kSearchImageFile,    kSearchNoteFile,
    kSearchRangeText,     kSearchDateText,
};

} // namespace

CGlazeSearchCriterion& CGlazeSearchCriteria::Add(int field, int op, std::string text)
{
    auto criterion = std::make_unique<CGlazeSearchCriterion>();
    criterion->m_field = field;
    criterion->m_operator = op;
    criterion->m_text = std::move(text);
    m_criteria.push_back(std::move(criterion));
    return *m_criteria.back();
}

bool CGlaze::MatchesCriterion(const CGlazeSearchCriterion& criterion) const
{
    if (const std::string CGlaze::*member = SearchTextMember(criterion.m_field))
        return TextMatches(this->*member, criterion);
    switch (criterion.m_field) {
    case kSearchDate:
        return DateMatches(m_dateValue, criterion);
    case kSearchConeRange:
        return m_lowCone != 0 && RangesOverlap(m_lowCone, m_highCone, criterion.m_low, criterion.m_high);
    case kSearchVariations:
    case kSearchNotes: {
        const CStringArrayEx& lines = criterion.m_field == kSearchNotes ? m_notes : m_variations;
        if (criterion.m_text.empty() && criterion.m_operator == kSearchEquals && lines.empty())
            return true;
        return AnyLineMatches(lines, criterion);
    }
    case kSearchByVolume:
        return criterion.m_low == m_byVol;
    case kSearchNotesOrSource:
        return AnyLineMatches(m_notes, criterion) || AnyLineMatches(m_variations, criterion) ||
               TextMatches(m_source, criterion);
    case kSearchMaterial:
        return AnyIngredientMatches(m_components, criterion) || AnyIngredientMatches(m_additions, criterion);
    case kSearchOxide: {
        if (criterion.m_element < 0 || criterion.m_element >= CGlazeAnalysis::kSlots)
            return false;
        const CGlazeAnalysis& analysis = GetAnalysis();
        return analysis.IsValid() &&
               analysis.weightFraction[static_cast<std::size_t>(criterion.m_element)] > 0.0;
    }
    case kSearchAnyField: {
        CGlazeSearchCriteria nested;
        nested.m_combineMode = kCombineAny;
        for (const int field : kAnyFieldCodes)
            nested.Add(field, criterion.m_operator, criterion.m_text);
        return MatchesCriteria(nested);
    }
    case kSearchWithinLimits:
        return criterion.m_limitFormula && criterion.m_limitFormula->IsAnalysisWithin(GetAnalysis());
    default:
        return false;
    }
}

bool CGlaze::MatchesCriteria(const CGlazeSearchCriteria& criteria) const
{
    for (const auto& criterion : criteria.m_criteria)
        if (criterion)
            criterion->m_matched = 0;
    for (const auto& criterion : criteria.m_criteria) {
        if (!criterion || criterion->m_matched || !MatchesCriterion(*criterion))
            continue;
        // Criteria on one field are alternatives: one match satisfies them all.
        for (const auto& other : criteria.m_criteria)
            if (other && other->m_field == criterion->m_field)
                other->m_matched = 1;
    }
    int total = 0;
    int matched = 0;
    for (const auto& criterion : criteria.m_criteria) {
        if (!criterion)
            continue;
        ++total;
        matched += criterion->m_matched ? 1 : 0;
    }
    switch (criteria.m_combineMode) {
    case kCombineAll: return matched == total;
    case kCombineNotAll: return matched != total;
    case kCombineAny: return matched > 0;
    case kCombineNone: return matched == 0;
    default: return false;
    }
}
