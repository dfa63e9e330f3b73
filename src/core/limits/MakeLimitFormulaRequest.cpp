#include "limits/MakeLimitFormulaRequest.h"

#include "limits/LimitFormulaDB.h"
#include "limits/OxideAmounts.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBarWidth = 40;

// The statistics and where their lines go.
struct StatisticsOutput {
    bool toNotes;
    bool toInformation;
    CLimitFormula& formula;
    CStringArrayEx& information;

    void Add(const std::string& line) const
    {
        if (toNotes)
            formula.m_notes.push_back(line);
        if (toInformation)
            information.push_back(line);
    }
};

std::string LimitNumber(double value)
{
    std::string text = FormatFixed(value, g_prefs.declimformulas);
    return StripTrailingZeros(text, g_prefs.tzslimformulas);
}

// What the limit's text of a multiple of 10^-decimals reads back as.
double LimitValue(double multiple, int decimals)
{
    return ParseDouble(LimitNumber(multiple * PowerOfTen(-decimals)));
}

// value rounded down (up) to a multiple of 10^-decimals such that the limit's text, read back,
// is at most (at least) the value itself: every glaze the value came from lies within the range.
// Rounding goes toward minus (plus) infinity, so a negative minimum moves outward too.
double BoundAtDecimals(double value, int decimals, bool up)
{
    const double step = up ? 1.0 : -1.0;
    const auto bounds = [value, up](double limit) { return up ? limit >= value : limit <= value; };
    double multiple = up ? std::ceil(value * PowerOfTen(decimals)) : std::floor(value * PowerOfTen(decimals));
    // The product may have crossed a whole number either way: one step in when that multiple
    // still bounds the value, then out until this one does (a step or two at most).
    if (bounds(LimitValue(multiple - step, decimals)))
        multiple -= step;
    for (int tries = 0; tries < 3 && !bounds(LimitValue(multiple, decimals)); ++tries)
        multiple += step;
    return LimitValue(multiple, decimals);
}

std::string Padded(std::string text, int width)
{
    PadRightString(text, width);
    return text;
}

std::string RightAligned(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// One bin: "  lower  - upper :  ****.... count".
std::string HistogramLine(const std::string& lower, const std::string& upper, int count, int total)
{
    int stars = total > 0 ? static_cast<int>(static_cast<long long>(count) * kBarWidth / total) : 0;
    if (count >= 1 && stars < 1)
        stars = 1;
    return "  " + Padded(lower, 6) + " - " + RightAligned(upper, 6) + ":  " + std::string(static_cast<std::size_t>(stars), '*') +
           std::string(static_cast<std::size_t>(kBarWidth - stars), '.') + " " + Padded(std::to_string(count), 3);
}

void WriteStatistics(const StatisticsOutput& output, const COxideCombination& combination,
                     const CFloatStatistics& s, double minimum, double maximum, double low, double high,
                     int decimals)
{
    const auto number = [decimals](double value) { return FormatDoubleFixed(value, decimals); };
    output.Add("");
    output.Add("Oxide Combo: " + combination.m_name);
    output.Add("  Min: " + number(minimum) + "  Max: " + number(maximum) + "  Median: " + number(s.median));
    output.Add("  Mean: " + number(s.mean) + "  Std.Dev.: " + number(s.standardDeviation) +
               "  Avg.Dev.: " + number(s.meanAbsDeviation));
    output.Add("  Variance: " + number(s.standardDeviation * s.standardDeviation) + "  Skew: " + number(s.skewness) +
               "  Kurtosis: " + number(s.kurtosis));
    output.Add("");
    const int bins = CMakeLimitFormulaRequest::kHistogramBins;
    const double width = (high - low) / bins;
    for (int k = 0; k < bins; ++k) {
        const int count = k < static_cast<int>(s.histogram.size()) ? s.histogram[static_cast<std::size_t>(k)] : 0;
        output.Add(HistogramLine(number(low + k * width), number(low + (k + 1) * width), count, s.count));
    }
    if (s.below > 0 || s.above > 0)
        output.Add("Outside of histogram: " + std::to_string(s.below) + " below min, " + std::to_string(s.above) +
                   " above max");
}

// The limit of combination k; false when its values give no statistics.
bool CompileLimit(const CMakeLimitFormulaRequest& request, int k, const StatisticsOutput& output)
{
    const COxideCombination& combination = request.m_combinations[static_cast<std::size_t>(k)];
    const bool byPercent = request.m_byPercent[static_cast<std::size_t>(k)] != 0;
    double low = combination.m_plotMin;
    double high = combination.m_plotMax;
    if (byPercent) {
        low = 0.0;
        high = 100.0;
    } else if (!(low < high)) {
        low = 0.0;
        high = 1.0;
    }
    CFloatStatistics s;
    if (request.m_accumulators[static_cast<std::size_t>(k)].ComputeStatistics(
            s, low, high, CMakeLimitFormulaRequest::kHistogramBins) != 0)
        return false;
    // Steps of 0.1 by percent and 0.001 otherwise, or coarser when the limits are written with
    // fewer decimals.
    const int decimals = std::clamp(g_prefs.declimformulas, 0, byPercent ? 1 : 3);
    const double minimum = BoundAtDecimals(s.minimum, decimals, false);
    const double maximum = BoundAtDecimals(s.maximum, decimals, true);
    output.formula.m_limits.Add(
        CLimit(combination.m_name, LimitNumber(minimum) + " - " + LimitNumber(maximum), byPercent ? 1 : 0));
    if (output.toNotes || output.toInformation)
        WriteStatistics(output, combination, s, minimum, maximum, low, high, byPercent ? 1 : 3);
    return true;
}

} // namespace

void CMakeLimitFormulaRequest::AddCombination(const COxideCombination& combination, bool byPercent)
{
    m_combinations.push_back(combination);
    m_byPercent.push_back(byPercent ? 1 : 0);
    m_accumulators.emplace_back(kInitialValues);
}

int CMakeLimitFormulaRequest::AddCombinationsByName(const COxideCombinationArray& combinations,
                                                    const CStringArrayEx& names, bool byPercent)
{
    int added = 0;
    for (const std::string& name : names) {
        if (const COxideCombination* combination = combinations.FindByName(name)) {
            AddCombination(*combination, byPercent);
            ++added;
        }
    }
    return added;
}

int CMakeLimitFormulaRequest::AddCombinationsOfFormula(const CLimitFormulaDB& database, std::string_view formulaName)
{
    const CLimitFormula* formula = database.FindFormulaByName(formulaName);
    if (!formula)
        return 0;
    int added = 0;
    for (int i = 0; i < formula->m_limits.GetCount(); ++i) {
        const CLimit& limit = formula->m_limits.GetAt(i);
        if (const COxideCombination* combination = database.m_combinations.FindByName(limit.m_comboName)) {
            AddCombination(*combination, limit.m_byPercent != 0);
            ++added;
        }
    }
    return added;
}

int CMakeLimitFormulaRequest::GetCombinationCount() const
{
    return static_cast<int>(std::min({m_combinations.size(), m_byPercent.size(), m_accumulators.size()}));
}

void CMakeLimitFormulaRequest::AddAnalysis(const COxideAmounts& analysis)
{
    if (!analysis.IsValid()) {
        ++m_glazesSkipped;
        return;
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(GetCombinationCount()); ++k) {
        const double value = m_combinations[k].GetValue(analysis, m_byPercent[k] != 0);
        m_accumulators[k].Add(value);
    }
    ++m_glazesUsed;
}

int CompileLimitFormula(const CMakeLimitFormulaRequest& request, CLimitFormula& formula, CStringArrayEx& information)
{
    if (request.m_glazesUsed <= 0)
        return 1;
    const std::string compiled = "Compiled from " + std::to_string(request.m_glazesUsed) + " glazes";
    CLimitFormula result(request.m_name.empty() ? compiled : request.m_name);
    result.m_notes.push_back(compiled);
    const StatisticsOutput output{request.m_statisticsToNotes != 0, request.m_statisticsToInformation != 0, result,
                                  information};
    if (output.toInformation)
        information.push_back("Statistics: " + result.m_name);
    for (int k = 0; k < request.GetCombinationCount(); ++k)
        CompileLimit(request, k, output);
    formula = std::move(result);
    return 0;
}
