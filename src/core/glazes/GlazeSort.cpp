// Sorting a glaze list by the criteria of the Sort dialog, and the comparison rules behind them.
//
// Every criterion sorts by name first and then, stably, by its own key: the key decides and the
// names break its ties. Every comparison is a strict weak order (equal values compare 0), which
// the stable sort needs; an exchange sort that swaps neighbours only while the left one compares
// greater gives the same order.

#include "glazes/GlazeList.h"

#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/KeySort.h"

#include <algorithm>
#include <cmath>
#include <optional>

const CGlazeSortCriterion g_glazeSortCriteria[kGlazeSortCount] = {
    {"Name", 'n'},
    {"Index", '#'},
    {"Type", 't'},
    {"Range", 'r'},
    {"Firing type", 'f'},
    {"Surface", 's'},
    {"Transparency", 'p'},
    {"Color", 'c'},
    {"Visual texture", 'v'},
    {"Crystals", 'x'},
    {"Bubbles", 'b'},
    {"Flow", 'o'},
    {"Flaws", 'a'},
    {"Durability", 'u'},
    {"Testing", '?'},
    {"By volume", 'y'},
    {"Date", 'd'},
    {"Al : Si ratio", ':'},
    {"Neutral : Acid ratio", ';'},
    {"Expansion", '@'},
    {"Volatile % (LOI)", 'V'},
    {"Oxide wt % :", 'W'},
    {"Oxide mol % :", 'M'},
    {"Oxide unity amt :", 'U'},
    {"Cost per kg", '$'},
    {"Limit formula", 'l'},
};

namespace {

constexpr int kSilicon = 14;
constexpr int kElementSlots = 104;

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

template <class T>
int CompareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Two runs of decimal digits as whole numbers of any length: leading zeros dropped, then the
// longer run is the larger number, and runs of one length compare digit by digit.
int CompareDigitRuns(std::string_view a, std::string_view b)
{
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return Sign(a.compare(b));
}

// Empty values after every other; the rest in ascending order with 0 meaning "none", last.
int CompareZeroLast(int a, int b)
{
    if (a == b)
        return 0;
    if (a == 0 || b == 0)
        return a == 0 ? 1 : -1;
    return a < b ? -1 : 1;
}

// The description text of a description key letter, or null for other letters.
const std::string CGlaze::* DescriptionMember(char key)
{
    switch (key) {
    case 't': return &CGlaze::m_type;
    case 'f': return &CGlaze::m_firetype;
    case 's': return &CGlaze::m_quality;
    case 'p': return &CGlaze::m_transparency;
    case 'c': return &CGlaze::m_color;
    case 'v': return &CGlaze::m_vistexture;
    case 'x': return &CGlaze::m_xtals;
    case 'b': return &CGlaze::m_bubbles;
    case 'o': return &CGlaze::m_flow;
    case 'a': return &CGlaze::m_flaws;
    case 'u': return &CGlaze::m_durability;
    case '?': return &CGlaze::m_tested;
    default: return nullptr;
    }
}

struct SortContext {
    char key = 'n';
    bool alphabetical = false;
    int element = kSilicon;
    const CLimitFormulaDB* limitFormulas = nullptr;
};

// The analysis value of an analysis key, or none when the analysis is not valid (a value that is
// not a number counts the same, so that the order stays a strict weak order).
std::optional<double> AnalysisValue(const CGlaze& glaze, const SortContext& context)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (!analysis.IsValid())
        return std::nullopt;
    const auto z = static_cast<std::size_t>(context.element);
    double value = 0.0;
    switch (context.key) {
    case ':': value = analysis.siAlRatio; break;
    case ';': value = analysis.acidNeutralRatio; break;
    case '@': value = analysis.expansion; break;
    case 'V': value = analysis.groupWeight[kOxideGroupVolatile]; break;
    case 'W': value = analysis.weightFraction[z]; break;
    case 'M': value = analysis.moleFraction[z]; break;
    case 'U': value = analysis.unity[z]; break;
    case '$': value = analysis.costPerKg; break;
    default: return std::nullopt;
    }
    if (std::isnan(value))
        return std::nullopt;
    return value;
}

bool IsAnalysisKey(char key)
{
    return std::string_view(":;@VWMU$").find(key) != std::string_view::npos;
}

// Valid analyses first, in ascending value; glazes without a valid analysis after them.
int CompareAnalyses(const CGlaze& a, const CGlaze& b, const SortContext& context)
{
    const std::optional<double> valueA = AnalysisValue(a, context);
    const std::optional<double> valueB = AnalysisValue(b, context);
    if (!valueA || !valueB)
        return valueA.has_value() == valueB.has_value() ? 0 : (valueA ? -1 : 1);
    return CompareValues(*valueA, *valueB);
}

int CompareRanges(const CGlaze& a, const CGlaze& b)
{
    if (a.m_lowCone == b.m_lowCone)
        return CompareValues(a.m_highCone, b.m_highCone);
    return CompareZeroLast(a.m_lowCone, b.m_lowCone);
}

int CompareGlazes(const CGlaze& a, const CGlaze& b, const SortContext& context)
{
    if (const std::string CGlaze::*member = DescriptionMember(context.key))
        return g_prefs.CompareDescriptors(a.*member, b.*member, context.key, context.alphabetical);
    switch (context.key) {
    case 'n': return Sign(CompareNoCase(a.m_name, b.m_name));
    case '#': return CompareGlazeIndexes(a.m_index, b.m_index);
    case 'r': return CompareRanges(a, b);
    case 'y': return (a.m_byVol != 0) == (b.m_byVol != 0) ? 0 : (a.m_byVol != 0 ? -1 : 1);
    case 'd': return CompareZeroLast(a.m_dateValue, b.m_dateValue);
    case 'l':
        return CompareLimitFormulaNames(context.limitFormulas, a.m_limform, b.m_limform, context.alphabetical);
    default: return CompareAnalyses(a, b, context);
    }
}

} // namespace

int CompareGlazeIndexes(std::string_view a, std::string_view b)
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
    const auto firstDigit = [](std::string_view text) {
        return static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsDigit) - text.begin());
    };
    const std::size_t digitA = firstDigit(a);
    const std::size_t digitB = firstDigit(b);
    if (digitA == a.size() || digitB == b.size())
        return Sign(CompareNoCase(a, b));
    if (const int prefix = Sign(CompareNoCase(a.substr(0, digitA), b.substr(0, digitB))))
        return prefix;
    const auto runEnd = [](std::string_view text, std::size_t from) {
        return static_cast<std::size_t>(std::find_if_not(text.begin() + from, text.end(), IsDigit) - text.begin());
    };
    const std::size_t endA = runEnd(a, digitA);
    const std::size_t endB = runEnd(b, digitB);
    if (const int number = CompareDigitRuns(a.substr(digitA, endA - digitA), b.substr(digitB, endB - digitB)))
        return number;
    return Sign(CompareNoCase(a.substr(endA), b.substr(endB)));
}

void CGlazeList::SortBy(int criterion, bool alphabetical, int element)
{
    if (criterion < 0 || criterion >= kGlazeSortCount)
        return;
    SortContext context;
    context.alphabetical = alphabetical;
    context.element = element >= 0 && element < kElementSlots ? element : kSilicon;
    context.limitFormulas = GetCurrentLimitFormulaDB();
    // Keys are taken from the glazes first (StableSortByPosition); null entries of a damaged list
    // stay at the end.
    auto& glazes = m_glazes;
    const auto nullLast = [&glazes](std::size_t a, std::size_t b) { return glazes[a] && !glazes[b]; };
    const auto sortByKey = [&](char key) {
        context.key = key;
        if (key == 'n') {
            std::vector<std::string> names;
            names.reserve(glazes.size());
            for (const auto& glaze : glazes)
                names.push_back(glaze ? FoldedForSort(glaze->m_name) : std::string());
            StableSortByPosition(glazes, [&](std::size_t a, std::size_t b) {
                return !glazes[a] || !glazes[b] ? nullLast(a, b) : names[a] < names[b];
            });
        } else if (IsAnalysisKey(key)) {
            // Valid analyses first, in ascending value.
            std::vector<std::optional<double>> values;
            values.reserve(glazes.size());
            for (const auto& glaze : glazes)
                values.push_back(glaze ? AnalysisValue(*glaze, context) : std::nullopt);
            StableSortByPosition(glazes, [&](std::size_t a, std::size_t b) {
                if (!glazes[a] || !glazes[b])
                    return nullLast(a, b);
                if (values[a] && values[b])
                    return *values[a] < *values[b];
                return values[a].has_value() && !values[b].has_value();
            });
        } else {
            StableSortByPosition(glazes, [&](std::size_t a, std::size_t b) {
                return !glazes[a] || !glazes[b] ? nullLast(a, b) : CompareGlazes(*glazes[a], *glazes[b], context) < 0;
            });
        }
    };
    sortByKey('n');
    if (criterion != 0)
        sortByKey(g_glazeSortCriteria[criterion].key);
}
