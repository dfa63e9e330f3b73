// The steps the many-glaze point charts share: their variables, series, point table, texts,
// legend and styles.

#include "graphs/GraphPointTable.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/Graph.h"

#include <unordered_set>

namespace {

constexpr const char* kAxisErrors[3] = {"No X axis oxide/variable selected", "No Y axis oxide/variable selected",
                                        "No Z axis oxide/variable selected"};

bool IsPlotted(const CGlaze* glaze) { return glaze && glaze->GetAnalysis().IsValid(); }

std::string Join(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i ? separator : std::string()) + parts[i];
    return text;
}

} // namespace

std::vector<std::string> CGraphPointTable::Titles() const
{
    std::vector<std::string> titles;
    for (const CPointSeries& s : series)
        titles.push_back(s.title);
    return titles;
}

std::vector<int> CGraphPointTable::Colors() const
{
    std::vector<int> colors;
    for (const CPointSeries& s : series)
        colors.push_back(s.color);
    return colors;
}

std::vector<int> CGraphPointTable::Symbols() const
{
    std::vector<int> symbols;
    for (const CPointSeries& s : series)
        symbols.push_back(s.symbol);
    return symbols;
}

bool CGraph::CheckPointVariables(int dimensions)
{
    const int codes[3] = {xoxide, yoxide, zoxide};
    for (int i = 0; i < dimensions && i < 3; ++i) {
        if (codes[i] < 0 || codes[i] >= kGraphVariableCount) {
            m_errorText = kAxisErrors[i];
            return false;
        }
    }
    return true;
}

void CGraph::CollectPointSeries(CGraphPointTable& table, CGlazesDoc* glazeDb, CGlaze* glaze) const
{
    table = CGraphPointTable();
    // A glaze of two data sets is a point of each, but one glaze of the title's count.
    std::unordered_set<const CGlaze*> counted;
    for (int d = 0; d < m_dataSources.GetCount(); ++d) {
        std::vector<CGlaze*> glazes;
        CollectDataSetGlazes(glazes, d, glazeDb, glaze);
        CPointSeries series;
        for (CGlaze* candidate : glazes) {
            if (IsPlotted(candidate))
                series.glazes.push_back(candidate);
        }
        if (series.glazes.empty())
            continue;
        const CGraphDataSource& source = m_dataSources.GetAt(d);
        series.source = d;
        series.title = GetDataSetTitle(d, glazeDb, glaze);
        series.color = mono ? 0 : source.dscol;
        series.symbol = source.dssym;
        table.points = std::max(table.points, static_cast<int>(series.glazes.size()));
        counted.insert(series.glazes.begin(), series.glazes.end());
        table.series.push_back(std::move(series));
    }
    table.glazeCount = static_cast<int>(counted.size());
}

bool CGraph::FillPointTable(CGraphPointTable& table, int dimensions, CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CollectPointSeries(table, glazeDb, glaze);
    if (table.series.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return false;
    }
    const int codes[3] = {xoxide, yoxide, zoxide};
    const std::size_t n = static_cast<std::size_t>(table.Size());
    for (std::vector<double>& values : table.values)
        values.assign(n, 0.0);
    table.flags.assign(n, kChartPointMissing);
    m_cellTexts.assign(n, "(missing data)");
    m_columns = table.SeriesCount();
    m_rows = table.points;
    for (int s = 0; s < table.SeriesCount(); ++s) {
        const CPointSeries& series = table.series[static_cast<std::size_t>(s)];
        CStringArrayEx entries;
        for (int p = 0; p < static_cast<int>(series.glazes.size()); ++p) {
            const CGlaze& plotted = *series.glazes[static_cast<std::size_t>(p)];
            CGraphValues values{};
            GetVariableValues(plotted, values);
            const std::size_t i = static_cast<std::size_t>(table.Index(p, s));
            std::vector<std::string> texts;
            for (int k = 0; k < dimensions; ++k) {
                const double value = values[static_cast<std::size_t>(codes[k])];
                table.values[static_cast<std::size_t>(k)][i] = value;
                texts.push_back(FormatPointValue(codes[k], value));
            }
            table.flags[i] = 0;
            m_cellTexts[i] = plotted.m_name + "\r\n\r\n" + Join(texts, "\r\n");
            entries.push_back(plotted.m_name + ":   " + Join(texts, ",   "));
        }
        if (series.title.empty())
            continue;
        m_textLines.push_back(std::string());
        m_textLines.push_back(series.title);
        m_textLines.push_back(std::string(series.title.size(), '-'));
        m_textLines.insert(m_textLines.end(), entries.begin(), entries.end());
    }
    return true;
}

void CGraph::SetPointLegend(const CGraphPointTable& table)
{
    if (!noleg)
        Engine().ChartSetLegend(table.SeriesCount(), table.Titles());
    SetFonts();
}

void CGraph::SetPointStyles(const CGraphPointTable& table)
{
    CChartEngine& engine = Engine();
    engine.ChartSetColors(table.SeriesCount(), table.Colors());
    engine.ChartSetSymbols(table.SeriesCount(), table.Symbols());
    if (symsize > 0)
        engine.ChartSetMarkerSize(symsize * 0.25);
}
