// Graph types 2, 14, 15 and 19 compare glazes with a limit formula: the formula's limits are
// floating bars (graphs/LimitFormulaAxes.cpp) and the glaze values are markers drawn over the
// finished chart. Type 2 marks one glaze, 14 the average of every plotted glaze, 15 the average
// of each data set and 19 every plotted glaze; the last two name their data sets in a legend of
// their own beside the chart.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphPointTable.h"
#include "limits/LimitFormulaDB.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

namespace {

constexpr int kInsideColor = 10;
constexpr int kOutsideColor = 12;
constexpr int kMonoInsideColor = 15;
constexpr int kMonoOutsideColor = 0;
constexpr int kGapColor = 1;
constexpr int kLimitSymbol = 13;
constexpr double kMainAreaShare = 0.75;

// The formula the template names, or null after the error text.
const CLimitFormula* ChartLimitFormula(const CGraphTemplate& graph, std::string& error)
{
    if (graph.limform.empty()) {
        error = "No limit formula";
        return nullptr;
    }
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    const CLimitFormula* formula = database ? database->FindFormulaByName(graph.limform) : nullptr;
    if (!formula)
        error = "Limit formula " + graph.limform + " not found";
    else if (formula->m_limits.GetCount() == 0)
        error = "Limit formula contains no limits";
    return error.empty() ? formula : nullptr;
}

// The markers of a chart: values at the builder's layout, each of a slot.
struct CLimitMarkers {
    std::vector<double> values;
    std::vector<int> slots; // -1 for a missing point
    std::vector<double> x;
    std::vector<int> flags;
    std::vector<int> colors;
    std::vector<int> symbols;

    void Add(const std::vector<CLimitSlot>& all, int j, double value)
    {
        const bool gap = j < 0 || all[static_cast<std::size_t>(j)].limit < 0;
        const CLimitSlot* slot = gap ? nullptr : &all[static_cast<std::size_t>(j)];
        values.push_back(gap ? 0.0 : value);
        slots.push_back(j);
        x.push_back(gap ? 0.0 : j + 0.5);
        flags.push_back(!slot || value < slot->min || value > slot->max ? kChartPointMissing : 0);
    }
    bool Drawn(std::size_t k) const { return flags[k] == 0; }
};

// The texts of one limit and a value of it.
struct CLimitTexts {
    const CLimitFormula& formula;
    const CLimit& limit;

    std::string Percent() const { return limit.m_byPercent ? "%" : ""; }
    std::string Value(double v) const
    {
        return FormatFixed(v, limit.m_byPercent ? g_prefs.decanalysispct : g_prefs.decanalysis);
    }
    // "SiO2 = 2.500 (limits: 2 - 3)"
    std::string Entry(double v) const
    {
        return limit.m_comboName + " = " + Value(v) + Percent() + " (limits: " + limit.GetRange() + Percent() + ")";
    }
    // The cell text: the formula's limit, a heading of the glaze or set, the value.
    std::string Cell(const std::string& heading, double v) const
    {
        return "Limit formula: " + formula.m_name + "\r\n\r\n" + limit.m_comboName + " = " + limit.GetRange() +
               Percent() + "\r\n\r\n\r\n" + heading + "\r\n\r\n" + limit.m_comboName + " = " + Value(v) + Percent();
    }
};

double MeanValue(const std::vector<CGlaze*>& glazes, const COxideCombination& combination, bool byPercent)
{
    double sum = 0.0;
    for (const CGlaze* glaze : glazes)
        sum += combination.GetValue(glaze->GetAnalysis(), byPercent);
    return glazes.empty() ? 0.0 : sum / static_cast<double>(glazes.size());
}

const COxideCombination& Combination(const CLimit& limit)
{
    return *GetCurrentLimitFormulaDB()->m_combinations.FindByName(limit.m_comboName);
}

// The markers' places relative to the plot area's bottom-left corner: every value on the first
// slot's scale.
void PlaceMarkers(const CGraphTemplate& graph, const std::vector<CLimitSlot>& slots, const ChartPlotArea& a,
                  CLimitMarkers& m, std::vector<double>& xs, std::vector<double>& ys)
{
    const auto ratio = [](double p, double q) { return q != 0.0 ? p / q : 0.0; };
    for (std::size_t k = 0; k < m.values.size(); ++k) {
        const int j = m.slots[k];
        const double v = j >= 0 ? m.values[k] * ratio(slots[0].max, slots[static_cast<std::size_t>(j)].max) : 0.0;
        const double x = m.x[k];
        if (!graph.barhor) {
            xs.push_back((x - a.horizontalMin) * ratio(a.width, a.horizontalMax - a.horizontalMin));
            ys.push_back((v - a.verticalMin) * ratio(a.height, a.verticalMax - a.verticalMin));
        } else {
            xs.push_back((v - a.horizontalMin) * ratio(a.width, a.horizontalMax - a.horizontalMin));
            ys.push_back((1.0 - ratio(x - a.verticalMin, a.verticalMax - a.verticalMin)) * a.height);
        }
    }
}

} // namespace

namespace {

void DrawMarkers(CChartEngine& engine, const CGraph& graph, const std::vector<CLimitSlot>& slots,
                 const ChartPlotArea& area, CLimitMarkers& m, int a, int b, bool flagsFirst)
{
    std::vector<double> xs, ys;
    PlaceMarkers(graph, slots, area, m, xs, ys);
    const int count = a * b;
    const int styles = static_cast<int>(m.colors.size());
    engine.ChartSetShapeKind(a, b);
    engine.ChartSetShapeGeometry(a, b, ys);
    engine.ChartSetMarkerX(count, xs);
    if (flagsFirst)
        engine.ChartSetMarkerFlags(count, m.flags);
    engine.ChartSetMarkerColors(styles, m.colors);
    engine.ChartSetMarkerSymbols(styles, m.symbols);
    if (!flagsFirst)
        engine.ChartSetMarkerFlags(count, m.flags);
    if (graph.symsize > 0)
        engine.ChartSetMarkerSize(graph.symsize * 0.25);
    engine.ChartDrawMarkers(area.left, area.bottom, 0x40, 14);
}

// The chart's main area, left of the side legend (the whole chart without a legend).
struct CMainArea {
    int id = 0;
    double width = 0.0;
    double height = 0.0;
};

CMainArea OpenMainArea(const CGraph& graph, CChartEngine& engine)
{
    CMainArea main;
    main.width = engine.ChartGetWidth(0, 0);
    main.height = engine.ChartGetHeight(0, 0);
    const double share = graph.noleg ? 1.0 : kMainAreaShare;
    main.id = engine.ChartBeginSubArea(graph.GetChartHandle(), 0.0, 0.0, main.width * share, main.height,
                                       CGraph::kChartScale);
    return main;
}

// Closes the main area and draws the series' markers and titles in a legend area beside it.
void DrawSideLegend(CGraph& graph, CChartEngine& engine, const CMainArea& main, const CGraphPointTable& table,
                    bool blank)
{
    const int handle = graph.GetChartHandle();
    engine.ChartEndSubArea(handle, main.id, 0);
    if (graph.noleg)
        return;
    const int legend = engine.ChartBeginSubArea(handle, main.width * kMainAreaShare, 0.0,
                                                main.width * (1.0 - kMainAreaShare), main.height, CGraph::kChartScale);
    const double aw = engine.ChartGetAreaWidth();
    const double ah = engine.ChartGetAreaHeight();
    if (blank)
        engine.ChartCall261(0.0, 0.0, aw, ah);
    engine.ChartSetTextFont(graph.txlegfam, graph.txlegsty, graph.txlegsiz, 0);
    const std::vector<std::string> titles = table.Titles();
    graph.DrawTextBox(0.0, 0.0, aw * 0.95, ah, table.SeriesCount(), 3, 0, table.Colors(), table.Symbols(),
                      CStringArrayEx(titles.begin(), titles.end()));
    engine.ChartEndSubArea(handle, legend, 0);
}

void AppendBlock(CStringArrayEx& lines, const std::string& header, const CStringArrayEx& entries)
{
    lines.push_back(std::string());
    lines.push_back(header);
    lines.push_back(std::string(header.size(), '-'));
    lines.insert(lines.end(), entries.begin(), entries.end());
}

// Types 2 and 14: one marker per slot, the mean of the glazes, coloured by whether the limit
// holds.
void DrawMeanLimitChart(CGraph& graph, CChartEngine& engine, const CLimitFormula& formula,
                        const std::vector<CGlaze*>& glazes, const std::string& title)
{
    std::vector<CLimitSlot> slots;
    ChartPlotArea area;
    CGraph::ClearPlotArea(area);
    const int n = graph.SetupLimitFormulaAxes(title, formula, slots, area);
    if (n == 0)
        return;
    graph.m_columns = n;
    graph.m_rows = 1;
    graph.m_textLines = {std::string(), "Limit formula: " + formula.m_name, std::string()};
    CLimitMarkers m;
    for (int j = 0; j < n; ++j) {
        const CLimitSlot& slot = slots[static_cast<std::size_t>(j)];
        m.symbols.push_back(kLimitSymbol);
        if (slot.limit < 0) {
            m.Add(slots, j, 0.0);
            m.colors.push_back(kGapColor);
            graph.m_cellTexts.push_back("(no data)");
            continue;
        }
        const CLimit& limit = formula.m_limits.GetAt(slot.limit);
        const CLimitTexts texts{formula, limit};
        const double value = MeanValue(glazes, Combination(limit), slot.byPercent);
        m.Add(slots, j, value);
        const bool inside = limit.IsWithin(value);
        m.colors.push_back(graph.mono ? (inside ? kMonoInsideColor : kMonoOutsideColor)
                                      : (inside ? kInsideColor : kOutsideColor));
        const bool drawn = m.Drawn(static_cast<std::size_t>(j));
        graph.m_cellTexts.push_back(drawn ? texts.Cell("Glaze: " + title, value) : "(no data)");
        if (drawn)
            graph.m_textLines.push_back(texts.Entry(value));
    }
    DrawMarkers(engine, graph, slots, area, m, 1, n, false);
}

} // namespace

void CGraph::BuildLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CGlaze* shown = m_dataSources.GetCount() > 0 ? FirstGlaze(glazeDb, glaze) : glaze;
    if (!shown) {
        m_errorText = "No glaze to display";
        return;
    }
    if (!shown->GetAnalysis().IsValid()) {
        m_errorText = "Chemical analysis unknown";
        return;
    }
    if (const CLimitFormula* formula = ChartLimitFormula(*this, m_errorText))
        DrawMeanLimitChart(*this, Engine(), *formula, {shown}, shown->m_name);
}

void CGraph::BuildAverageLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CGraphPointTable table;
    CollectPointSeries(table, glazeDb, glaze);
    std::vector<CGlaze*> glazes;
    for (const CPointSeries& series : table.series)
        glazes.insert(glazes.end(), series.glazes.begin(), series.glazes.end());
    if (glazes.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    const std::string title = CountedGlazes("Average of ", static_cast<int>(glazes.size()));
    if (const CLimitFormula* formula = ChartLimitFormula(*this, m_errorText))
        DrawMeanLimitChart(*this, Engine(), *formula, glazes, title);
}

void CGraph::BuildAveragesLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CGraphPointTable table;
    CollectPointSeries(table, glazeDb, glaze);
    if (table.series.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    const CLimitFormula* formula = ChartLimitFormula(*this, m_errorText);
    if (!formula)
        return;
    CChartEngine& engine = Engine();
    const CMainArea main = OpenMainArea(*this, engine);
    std::vector<CLimitSlot> slots;
    ChartPlotArea area;
    ClearPlotArea(area);
    const int n = SetupLimitFormulaAxes("Oxide Averages", *formula, slots, area);
    if (n == 0) {
        engine.ChartEndSubArea(m_chartHandle, main.id, 0);
        return;
    }
    const int sets = table.SeriesCount();
    m_columns = sets;
    m_rows = n;
    m_textLines = {std::string(), "Limit formula: " + formula->m_name};
    std::vector<CStringArrayEx> entries(static_cast<std::size_t>(sets));
    CLimitMarkers m;
    for (int j = 0; j < n; ++j) {
        const CLimitSlot& slot = slots[static_cast<std::size_t>(j)];
        for (int s = 0; s < sets; ++s) {
            const CPointSeries& series = table.series[static_cast<std::size_t>(s)];
            if (slot.limit < 0) {
                m.Add(slots, j, 0.0);
                m_cellTexts.push_back("(no data)");
                continue;
            }
            const CLimit& limit = formula->m_limits.GetAt(slot.limit);
            const CLimitTexts texts{*formula, limit};
            const double value = MeanValue(series.glazes, Combination(limit), slot.byPercent);
            m.Add(slots, j, value);
            const bool drawn = m.Drawn(m.flags.size() - 1);
            const std::string heading = series.title + "\r\n(" + std::to_string(series.glazes.size()) + " glazes)";
            m_cellTexts.push_back(drawn ? texts.Cell(heading, value) : "(no data)");
            if (drawn)
                entries[static_cast<std::size_t>(s)].push_back(texts.Entry(value));
        }
    }
    for (int s = 0; s < sets; ++s) {
        if (!table.series[static_cast<std::size_t>(s)].title.empty())
            AppendBlock(m_textLines, table.series[static_cast<std::size_t>(s)].title, entries[static_cast<std::size_t>(s)]);
    }
    m.colors = table.Colors();
    m.symbols = table.Symbols();
    DrawMarkers(engine, *this, slots, area, m, n, sets, false);
    DrawSideLegend(*this, engine, main, table, false);
}

void CGraph::BuildManyLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CGraphPointTable table;
    CollectPointSeries(table, glazeDb, glaze);
    if (table.series.empty()) {
        m_errorText = "No glazes to display or no chemical analyses known";
        return;
    }
    const CLimitFormula* formula = ChartLimitFormula(*this, m_errorText);
    if (!formula)
        return;
    CChartEngine& engine = Engine();
    const CMainArea main = OpenMainArea(*this, engine);
    std::vector<CLimitSlot> slots;
    ChartPlotArea area;
    ClearPlotArea(area);
    const int n = SetupLimitFormulaAxes(CountedGlazes("Data for ", table.glazeCount), *formula, slots, area);
    if (n == 0) {
        engine.ChartEndSubArea(m_chartHandle, main.id, 0);
        return;
    }
    const int sets = table.SeriesCount();
    m_columns = sets;
    m_rows = n * table.points;
    m_textLines = {std::string(), "Limit formula: " + formula->m_name};
    // The glazes' text blocks, series by series (block s x P + p).
    std::vector<CStringArrayEx> blocks(static_cast<std::size_t>(sets * table.points));
    CLimitMarkers m;
    for (int p = 0; p < table.points; ++p) {
        for (int j = 0; j < n; ++j) {
            for (int s = 0; s < sets; ++s) {
                const CPointSeries& series = table.series[static_cast<std::size_t>(s)];
                const CLimitSlot& slot = slots[static_cast<std::size_t>(j)];
                if (p >= static_cast<int>(series.glazes.size()) || slot.limit < 0) {
                    const bool missing = p >= static_cast<int>(series.glazes.size());
                    m.Add(slots, missing ? -1 : j, 0.0);
                    m_cellTexts.push_back(missing ? "(missing data)" : std::string());
                    continue;
                }
                const CGlaze& plotted = *series.glazes[static_cast<std::size_t>(p)];
                const CLimit& limit = formula->m_limits.GetAt(slot.limit);
                const CLimitTexts texts{*formula, limit};
                const double value = Combination(limit).GetValue(plotted.GetAnalysis(), slot.byPercent);
                m.Add(slots, j, value);
                m_cellTexts.push_back(texts.Cell(plotted.m_name, value));
                blocks[static_cast<std::size_t>(s * table.points + p)].push_back(texts.Entry(value));
            }
        }
    }
    for (int s = 0; s < sets; ++s) {
        const CPointSeries& series = table.series[static_cast<std::size_t>(s)];
        for (std::size_t p = 0; p < series.glazes.size(); ++p) {
            if (!series.glazes[p]->m_name.empty())
                AppendBlock(m_textLines, series.glazes[p]->m_name, blocks[static_cast<std::size_t>(s * table.points) + p]);
        }
    }
    m.colors = table.Colors();
    m.symbols = table.Symbols();
    DrawMarkers(engine, *this, slots, area, m, n * table.points, sets, true);
    DrawSideLegend(*this, engine, main, table, true);
}
