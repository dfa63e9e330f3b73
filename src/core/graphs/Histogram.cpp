// Graph type 16, "Histogram of many glazes - Oxide (area)": how one plotted quantity is spread
// over the glazes of each data set. The range hmin..hmax is cut into hsteps equal classes; each
// data set becomes a series of glaze counts per class, drawn as areas over the class centres.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "support/NumberText.h"

#include <cmath>

namespace {

constexpr int kMinSteps = 2;
constexpr int kMaxSteps = 50;
// With more classes than this the texts leave the class lines out.
constexpr int kMaxListedSteps = 25;
constexpr int kBelow = -1;
constexpr int kNoClass = -2;

bool HasUsableAnalysis(const CGlaze& glaze) { return glaze.GetAnalysis().IsValid(); }

// One data set's counts.
struct CHistogramSeries {
    std::string title;
    CChartColor style;
    std::vector<double> counts; // per class
    int below = 0;
    int above = 0;
    int glazes = 0;
};

// The class of a value: 0..steps - 1, kBelow under hmin, steps (or more) over hmax; hmax itself
// is in the last class. Decided in double before any conversion, so a huge value or one far off
// a narrow range never overflows an int, and a value that is not a number has no class.
int HistogramClass(double v, double hmin, double hmax, int steps)
{
    if (v == hmax)
        return steps - 1;
    const double q = std::floor((v - hmin) / ((hmax - hmin) / steps));
    if (q < 0.0)
        return kBelow;
    if (q >= steps)
        return steps;
    if (!(q >= 0.0))
        return kNoClass;
    return static_cast<int>(q);
}

std::string CheckHistogram(const CGraphTemplate& t)
{
    if (!IsGraphVariable(t.hoxide))
        return "No histogram oxide/variable selected";
    if (!(t.hmin < t.hmax))
        return "Histogram maximum must be greater than minimum";
    if (t.hsteps < kMinSteps)
        return "There must be at least two histogram steps";
    if (t.hsteps > kMaxSteps)
        return "There can be at most fifty histogram steps";
    return std::string();
}

// Decimals of the class borders in the texts.
int BorderDecimals(const CGraphTemplate& t)
{
    if (t.hoxide == kGraphVarCost)
        return g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_costPlacesRight : 2;
    if (t.hoxide == kGraphVarLoi || (t.hoxide >= kGraphVarSiAlRatio && t.hoxide <= kGraphVarViscosity))
        return 2;
    return t.oxtype != kGraphUnitUnity ? 2 : 3;
}

// The lines of one series: below, each class (when there are few), over.
CStringArrayEx SeriesLines(const CGraphTemplate& t, const CHistogramSeries& series)
{
    CStringArrayEx lines;
    if (series.below > 0)
        lines.push_back(std::to_string(series.below) + " glazes below minimum");
    if (t.hsteps <= kMaxListedSteps) {
        const std::string symbol =
            t.hoxide == kGraphVarCost && g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_currencySymbol : "";
        const double w = (t.hmax - t.hmin) / t.hsteps;
        const int d = BorderDecimals(t);
        for (int b = 0; b < t.hsteps; ++b) {
            const int count = static_cast<int>(series.counts[static_cast<std::size_t>(b)]);
            lines.push_back(symbol + FormatDoubleFixed(b * w + t.hmin, d) + " - " +
                            FormatDoubleFixed((b + 1) * w + t.hmin, d) + " :  " + std::to_string(count) +
                            (count == 1 ? " glaze" : " glazes"));
        }
    }
    if (series.above > 0)
        lines.push_back(std::to_string(series.above) + " glazes over maximum");
    return lines;
}

// "SiO2 (% Weight)" for an oxide or a group total, else the label alone.
std::string AxisText(const CGraph& graph, const std::string& label)
{
    const int code = graph.hoxide;
    const bool inUnit = IsOxideVariable(code) || (code >= kGraphVarAlkalis && code <= kGraphVarVolatiles);
    return inUnit ? label + " (" + graph.GetUnitTitle() + ")" : label;
}

void DrawHistogram(CGraph& graph, const std::vector<CHistogramSeries>& series, const std::string& label,
                   const std::string& format, int total)
{
    CChartEngine& chart = *graph.GetEngine();
    const int k = static_cast<int>(series.size());
    const int steps = graph.hsteps;
    const double w = (graph.hmax - graph.hmin) / steps;
    std::vector<double> counts, centres;
    for (int b = 0; b < steps; ++b) {
        centres.push_back((b + 0.5) * w + graph.hmin);
        for (const CHistogramSeries& set : series)
            counts.push_back(set.counts[static_cast<std::size_t>(b)]);
    }
    std::vector<std::string> titles;
    std::vector<int> colors, patterns;
    for (const CHistogramSeries& set : series) {
        titles.push_back(set.title);
        colors.push_back(set.style.color);
        patterns.push_back(set.style.pattern);
    }
    chart.ChartDefBegin();
    graph.SetHistogramTitles(label + " in " + std::to_string(total) + " Glazes", AxisText(graph, label), "# of Glazes");
    if (!format.empty())
        chart.ChartSetAxisFormat(0, format);
    chart.ChartSetData(steps, k, counts);
    chart.ChartSetXData(steps, centres);
    if (!graph.noleg)
        chart.ChartSetLegend(k, titles);
    graph.SetFonts();
    chart.ChartSetColors(k, colors);
    chart.ChartSetPatterns(k, patterns);
    // The classes fix the X axis unless the template scales it itself.
    if (graph.xman)
        graph.SetCategoryAxis(true, graph.xtick, graph.xmax, graph.xmin, graph.xtickm);
    else
        graph.SetCategoryAxis(true, 1, graph.hmax, graph.hmin, steps - 1);
    graph.SetValueAxis();
    const int noLabels = graph.labels ? 0 : 1;
    chart.ChartSetKind(kChartArea, noLabels + (graph.gridx ? 4 : 0) + (graph.gridy ? 8 : 0), 0x20);
    if (graph.borders) {
        chart.ChartSetPatterns(k, std::vector<int>(static_cast<std::size_t>(k), kChartPatternHollow));
        chart.ChartSetColors(k, std::vector<int>(static_cast<std::size_t>(k), 0));
        chart.ChartSetKind(kChartArea, noLabels, 0x20);
    }
    graph.DrawPlotFrame(false);
    chart.ChartDefEnd();
}

void SetHistogramTexts(CGraph& graph, const std::vector<CHistogramSeries>& series, const std::string& axisText)
{
    graph.m_columns = static_cast<int>(series.size());
    graph.m_rows = 1;
    graph.m_textLines.push_back(std::string());
    graph.m_textLines.push_back(axisText);
    for (const CHistogramSeries& set : series) {
        const CStringArrayEx lines = SeriesLines(graph, set);
        const std::string count = std::to_string(set.glazes) + " glazes";
        std::string cell = set.title + "\r\n(" + count + ")\r\n\r\n" + axisText + "\r\n\r\n";
        for (const std::string& line : lines)
            cell += line + "\r\n";
        graph.m_cellTexts.push_back(cell);
        graph.AppendTextBlock(set.title + " (" + count + ")", lines);
    }
}

} // namespace

void CGraph::BuildHistogram(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    m_errorText = CheckHistogram(*this);
    if (!m_errorText.empty())
        return;
    // The remainders ("other alkalis" ...) are taken relative to the plotted code alone.
    bpoxides = FormatVariableList(hoxide, -1, -1);
    std::vector<CHistogramSeries> series;
    int total = 0;
    const auto sources = FilteredGlazesBySource(glazeDb, glaze, &HasUsableAnalysis);
    for (std::size_t d = 0; d < sources.size(); ++d) {
        if (sources[d].empty())
            continue;
        CHistogramSeries set{GetDataSetTitle(static_cast<int>(d), glazeDb, glaze), DataSetStyle(static_cast<int>(d)),
                             std::vector<double>(static_cast<std::size_t>(hsteps), 0.0)};
        for (const CGlaze* g : sources[d]) {
            CGraphValues values{};
            GetVariableValues(*g, values);
            const int b = HistogramClass(values[static_cast<std::size_t>(hoxide)], hmin, hmax, hsteps);
            if (b == kBelow)
                ++set.below;
            else if (b >= hsteps)
                ++set.above;
            else if (b != kNoClass)
                set.counts[static_cast<std::size_t>(b)] += 1.0;
            ++set.glazes;
        }
        total += set.glazes;
        series.push_back(std::move(set));
    }
    if (series.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    std::string label, format;
    GetVariableLabel(hoxide, label, format);
    DrawHistogram(*this, series, label, format, total);
    SetHistogramTexts(*this, series, AxisText(*this, label));
}
