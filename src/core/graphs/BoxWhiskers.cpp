// Graph type 17, "Many glazes - Oxide Statistics (box & whiskers)": for each item of the oxide
// list, the values at or below which 5, 10, 25, 50, 75, 90 and 95 percent of the glazes lie,
// as the seven sets of a box-and-whiskers chart.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMinGlazes = 7;
constexpr int kStatistics = 7;
constexpr std::array<double, kStatistics> kFractions = {0.05, 0.10, 0.25, 0.50, 0.75, 0.90, 0.95};
constexpr int kMedian = 3;

// Box options of ChartSetKind.
constexpr int kBoxBase = 0x4000;
constexpr int kBoxOutlines = 0x400;

// The order statistics of one item: the sorted value at floor(N x fraction), no interpolation.
std::array<double, kStatistics> OrderStatistics(std::vector<double> values)
{
    // A value that is not a number sorts last instead of breaking the order.
    std::sort(values.begin(), values.end(),
              [](double a, double b) { return a < b || (std::isnan(b) && !std::isnan(a)); });
    std::array<double, kStatistics> statistics{};
    for (int q = 0; q < kStatistics; ++q) {
        const double at = std::floor(static_cast<double>(values.size()) * kFractions[static_cast<std::size_t>(q)]);
        statistics[static_cast<std::size_t>(q)] = values[static_cast<std::size_t>(at)];
    }
    return statistics;
}

// The texts of one item: its cell (the same in all seven columns) and its block of lines.
void AddStatisticsTexts(CGraph& graph, const std::string& label, const std::array<double, kStatistics>& statistics)
{
    static constexpr const char* kPercents[kStatistics] = {" 5", "10", "25", "50", "75", "90", "95"};
    std::array<std::string, kStatistics> lines;
    for (std::size_t q = 0; q < lines.size(); ++q)
        lines[q] = std::string(kPercents[q]) + "% at or below " + graph.FormatOxideValue(statistics[q]);
    const std::string median = "median " + graph.FormatOxideValue(statistics[kMedian]);
    std::string cell = label + "\r\n\r\n" + median + "\r\n\r\n";
    CStringArrayEx block;
    for (std::size_t q = lines.size(); q-- > 0;) {
        cell += lines[q] + "\r\n";
        block.push_back(q == kMedian ? lines[q] + " (median)" : lines[q]);
    }
    for (int column = 0; column < kStatistics; ++column)
        graph.m_cellTexts.push_back(cell);
    graph.AppendTextBlock(label, block);
}

void DrawBoxWhiskers(CGraph& graph, const CChartSeries& series, const std::string& title)
{
    CChartEngine& chart = *graph.GetEngine();
    const int n = series.Points();
    chart.ChartDefBegin();
    graph.SetBarTitles(title, graph.GetUnitTitle(), false);
    chart.ChartSetData(n, kStatistics, series.values);
    chart.ChartSetPointLabels(n, series.labels);
    graph.SetFonts();
    chart.ChartSetBarGap(100 - graph.barwid);
    chart.ChartSetColors(n, series.colors);
    chart.ChartSetPatterns(n, series.patterns);
    graph.SetBarAxes();
    if (graph.oxtype != kGraphUnitUnity)
        chart.ChartSetAxisFormat(1, kChartPercentFormat);
    const int options = kBoxBase + (graph.borders ? kBoxOutlines : 0) + (graph.gridx ? 4 : 0) + (graph.gridy ? 8 : 0) +
                        (graph.labels ? 0 : 1);
    chart.ChartSetKind(kChartBoxWhiskers, options, 0x20);
    graph.DrawPlotFrame(false);
    chart.ChartDefEnd();
}

} // namespace

void CGraph::BuildBoxWhiskers(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    std::vector<CGlaze*> glazes;
    CollectAllGlazes(glazes, glazeDb, glaze);
    std::erase_if(glazes, [](const CGlaze* g) { return !g->GetAnalysis().IsValid(); });
    const int count = static_cast<int>(glazes.size());
    if (count < kMinGlazes) {
        m_errorText = "Box & Whiskers graph requires at least seven glazes with known chemical analyses";
        return;
    }
    std::vector<CGraphOxideEntry> items, entries;
    if (GetOxideGroupValues(*glazes.front(), items, true, reverse != 0, 0, false, false) == 0) {
        m_errorText = "No oxides selected";
        return;
    }
    // Item by item, the values of every glaze.
    std::vector<std::vector<double>> values(items.size());
    for (const CGlaze* g : glazes) {
        GetOxideGroupValues(*g, entries, true, reverse != 0, 0, false, false);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i].push_back(i < entries.size() ? entries[i].value : 0.0);
    }
    CChartSeries series;
    series.sets = kStatistics;
    m_columns = kStatistics;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::array<double, kStatistics> statistics = OrderStatistics(std::move(values[i]));
        series.values.insert(series.values.end(), statistics.begin(), statistics.end());
        series.labels.push_back(items[i].label);
        series.colors.push_back(items[i].color);
        series.patterns.push_back(items[i].pattern);
        AddStatisticsTexts(*this, items[i].label, statistics);
    }
    m_rows = series.Points();
    DrawBoxWhiskers(*this, series, CountedGlazes("Statistics for ", count));
}
