// The steps that the pie and bar builders share once their values are known: which glazes they
// draw, their texts, and the definition of a whole pie or bar chart.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"

#include <cstdlib>
#include <iterator>
#include <memory>

namespace {

// Pie options of ChartSetKind: labels beside the slices, no labels, the monochrome mark.
constexpr int kPieLabels = 0x8000;
constexpr int kPieNoLabels = 0x0001;
constexpr int kPieMono = 0x0020;

// The pie's elevation setting as a view: e = |elev3d|, brought below 90 by steps of 90 (90
// itself stays); e = 90 looks straight down, which is a flat pie. Returns false then.
bool PieViewElevation(int elev3d, int& elevation)
{
    int e = std::abs(elev3d);
    if (e > 90)
        e %= 90;
    if (e == 90)
        return false;
    elevation = 60 - e;
    return true;
}

} // namespace

void CChartSeries::AddPoint(double value, const std::string& label, CChartColor color)
{
    values.push_back(value);
    labels.push_back(label);
    colors.push_back(color.color);
    patterns.push_back(color.pattern);
}

CGlaze* CGraph::ShownGlaze(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CGlaze* shown = m_dataSources.GetCount() > 0 ? FirstGlaze(glazeDb, glaze) : glaze;
    if (!shown)
        m_errorText = "No glaze to display";
    return shown;
}

std::vector<std::vector<CGlaze*>> CGraph::FilteredGlazesBySource(CGlazesDoc* glazeDb, CGlaze* glaze,
                                                                 GlazeFilter filter) const
{
    std::vector<std::vector<CGlaze*>> sources;
    for (int d = 0; d < m_dataSources.GetCount(); ++d) {
        std::vector<CGlaze*> glazes;
        CollectDataSetGlazes(glazes, d, glazeDb, glaze);
        std::erase_if(glazes, [filter](const CGlaze* g) { return !filter(*g); });
        sources.push_back(std::move(glazes));
    }
    return sources;
}

CChartColor CGraph::DataSetStyle(int index) const
{
    if (!m_dataSources.IsValidIndex(index))
        return {};
    const CGraphDataSource& source = m_dataSources.GetAt(index);
    return ApplyColorRule(source.dscol, source.dspat, source.dscp, mono != 0);
}

std::string CGraph::CountedGlazes(const std::string& prefix, int count)
{
    return prefix + std::to_string(count) + (count == 1 ? " glaze" : " glazes");
}

void CGraph::SetColumnTexts(const CStringArrayEx& texts)
{
    m_columns = 1;
    m_rows = static_cast<int>(texts.size());
    m_cellTexts = texts;
    m_textLines = texts;
}

void CGraph::AppendTextBlock(const std::string& header, const CStringArrayEx& lines)
{
    AppendTextBlock(header, CStringArrayEx(lines));
}

void CGraph::AppendTextBlock(const std::string& header, CStringArrayEx&& lines)
{
    AppendTextBlockTo(m_textLines, header, std::move(lines));
}

void CGraph::AppendTextBlockTo(CStringArrayEx& textLines, const std::string& header, CStringArrayEx&& lines)
{
    textLines.push_back(std::string());
    textLines.push_back(header);
    textLines.push_back(std::string(header.size(), '-'));
    textLines.insert(textLines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

CChartSeries CGraph::SetTableSeries(std::vector<CGraphSet>&& sets, const std::vector<std::string>& pointLabels)
{
    CChartSeries series;
    series.sets = static_cast<int>(sets.size());
    series.labels = pointLabels;
    m_columns = series.sets;
    m_rows = series.Points();
    const std::size_t cells = pointLabels.size() * sets.size();
    series.values.reserve(cells);
    for (std::size_t i = 0; i < pointLabels.size(); ++i) {
        for (const CGraphSet& set : sets)
            series.values.push_back(i < set.values.size() ? set.values[i] : 0.0);
    }
    // A cell's text is its set's heading over the set's line of the point. Many glazes by their
    // oxides make a million cells: their texts are made when asked for, from the text lines.
    const bool onDemand = cells > kMostCellTexts;
    for (std::size_t i = 0; i < pointLabels.size() && !onDemand; ++i) {
        for (const CGraphSet& set : sets)
            m_cellTexts.push_back(set.cellHeading + "\r\n\r\n" + (i < set.lines.size() ? set.lines[i] : std::string()));
    }
    struct CSetLines {
        std::string heading;
        std::size_t first; // the set's first line in m_textLines
        std::size_t count;
    };
    auto table = std::make_shared<std::vector<CSetLines>>();
    table->reserve(onDemand ? sets.size() : 0);
    for (CGraphSet& set : sets) {
        series.legend.push_back(set.legend);
        series.colors.push_back(set.style.color);
        series.patterns.push_back(set.style.pattern);
        if (onDemand)
            table->push_back({std::move(set.cellHeading), m_textLines.size() + 3, set.lines.size()});
        AppendTextBlock(set.header, std::move(set.lines));
    }
    if (onDemand) {
        m_cellTextOf = [this, table](int column, int row) {
            const CSetLines& set = (*table)[static_cast<std::size_t>(column)];
            const std::size_t line = static_cast<std::size_t>(row);
            return set.heading + "\r\n\r\n" + (line < set.count ? m_textLines[set.first + line] : std::string());
        };
    }
    // One set draws its colour on every bar: the engine colours a single set point by point.
    if (sets.size() == 1) {
        series.colors.assign(pointLabels.size(), sets.front().style.color);
        series.patterns.assign(pointLabels.size(), sets.front().style.pattern);
    }
    return series;
}

void CGraph::DrawPie(const CChartSeries& series, const std::string& first, const std::string& second, bool markMono)
{
    CChartEngine& chart = Engine();
    const int n = series.Points();
    chart.ChartDefBegin();
    SetPieTitles(first, second);
    chart.ChartSetData(n, 1, series.values);
    chart.ChartSetPointLabels(n, series.labels);
    SetFonts();
    int elevation = 0;
    const bool threeD = piebar3d && PieViewElevation(elev3d, elevation);
    if (threeD) {
        chart.ChartSetView(0, 0, elevation, 0);
        chart.ChartSetDepth(1, depth3d, 0, 0);
    }
    chart.ChartSetColors(n, series.colors);
    chart.ChartSetPatterns(n, series.patterns);
    const int kind = threeD ? kChartPie3D : kChartPie;
    const int options = kPieLabels + (labels ? 0 : kPieNoLabels) + (markMono && mono ? kPieMono : 0);
    chart.ChartSetKind(kind, options, 0);
    if (!threeD && borders) {
        // The outline pass: every slice again, hollow and black, over the coloured pie.
        const std::vector<int> hollow(static_cast<std::size_t>(std::max(n, 0)), kChartPatternHollow);
        const std::vector<int> black(hollow.size(), 0);
        chart.ChartSetPatterns(n, hollow);
        chart.ChartSetColors(n, black);
        chart.ChartSetKind(kind, options, 0);
    }
    chart.ChartDefEnd();
}

void CGraph::DrawBarChart(const CChartSeries& series, const std::string& title, const std::string& valueTitle,
                          const std::string& axisFormat, int extraOptions, bool libraryColors)
{
    CChartEngine& chart = Engine();
    const int k = series.ColorCount();
    chart.ChartDefBegin();
    SetBarTitles(title, valueTitle, barhor != 0);
    if (series.sparseValues.empty())
        chart.ChartSetData(series.Points(), series.sets, series.values);
    else
        chart.ChartSetSparseData(series.Points(), series.sets, series.sparseValues);
    chart.ChartSetPointLabels(series.Points(), series.labels);
    if (!noleg && !series.legend.empty())
        chart.ChartSetLegend(static_cast<int>(series.legend.size()), series.legend);
    SetFonts();
    SetBarBody();
    if (libraryColors) {
        chart.ChartSetPatterns(k, std::vector<int>(static_cast<std::size_t>(k), 0));
    } else {
        chart.ChartSetColors(k, series.colors);
        chart.ChartSetPatterns(k, series.patterns);
    }
    SetBarAxes();
    if (!axisFormat.empty())
        chart.ChartSetAxisFormat(1, axisFormat);
    DrawBars(k, extraOptions);
    DrawPlotFrame(false);
    chart.ChartDefEnd();
}

void CGraph::DrawKeptBarChart(CChartSeries&& series, const std::string& title, const std::string& valueTitle,
                              const std::string& axisFormat, bool libraryColors)
{
    m_drawReading = [series = std::make_shared<const CChartSeries>(std::move(series)), title, valueTitle, axisFormat,
                     libraryColors](CGraph& graph) {
        graph.DrawBarChart(*series, title, valueTitle, axisFormat, 0, libraryColors);
    };
    m_drawReading(*this);
}
