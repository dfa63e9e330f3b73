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

#include <memory>
#include <optional>
#include <utility>

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
    void Reserve(std::size_t n)
    {
        values.reserve(n);
        slots.reserve(n);
        x.reserve(n);
        flags.reserve(n);
    }
};

// The texts of one limit and a value of it; the parts that do not depend on the value are
// made once, so a chart of many glazes joins only the glaze's heading and value to them.
class CLimitTexts {
public:
    CLimitTexts(const CLimitFormula& formula, const CLimit& limit)
        : m_decimals(limit.m_byPercent ? g_prefs.decanalysispct : g_prefs.decanalysis),
          m_percent(limit.m_byPercent ? "%" : ""), m_name(limit.m_comboName + " = "),
          m_limits(" (limits: " + limit.GetRange() + m_percent + ")"),
          m_head("Limit formula: " + formula.m_name + "\r\n\r\n" + m_name + limit.GetRange() + m_percent +
                 "\r\n\r\n\r\n"),
          m_middle("\r\n\r\n" + m_name)
    {
    }
    std::string Value(double v) const { return FormatFixed(v, m_decimals); }
    // "SiO2 = 2.500 (limits: 2 - 3)"
    std::string Entry(double v) const
    {
        const std::string value = Value(v);
        std::string entry;
        entry.reserve(m_name.size() + value.size() + m_percent.size() + m_limits.size());
        entry.append(m_name).append(value).append(m_percent).append(m_limits);
        return entry;
    }
    // The cell text: the formula's limit, a heading of the glaze or set, the value.
    std::string Cell(const std::string& heading, double v) const
    {
        const std::string value = Value(v);
        std::string cell;
        cell.reserve(m_head.size() + heading.size() + m_middle.size() + value.size() + m_percent.size());
        cell.append(m_head).append(heading).append(m_middle).append(value).append(m_percent);
        return cell;
    }

private:
    int m_decimals;
    std::string m_percent, m_name, m_limits, m_head, m_middle;
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
    xs.reserve(m.values.size());
    ys.reserve(m.values.size());
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

namespace {

// A chart of data sets (types 15 and 19): its series, formula, main area and slots.
struct CSetsLimitChart {
    CGraphPointTable table;
    const CLimitFormula* formula = nullptr;
    CMainArea main;
    std::vector<CLimitSlot> slots;
    ChartPlotArea area;
    int slotCount = 0;
    CLimitMarkers markers;
    // Each slot's texts and combination, made at its first value.
    std::vector<std::optional<CLimitTexts>> texts;
    std::vector<const COxideCombination*> combinations;

    void PrepareSlot(int j)
    {
        const std::size_t k = static_cast<std::size_t>(j);
        if (texts.size() < slots.size()) {
            texts.resize(slots.size());
            combinations.resize(slots.size(), nullptr);
        }
        if (!texts[k]) {
            const CLimit& limit = formula->m_limits.GetAt(slots[k].limit);
            texts[k].emplace(*formula, limit);
            combinations[k] = &Combination(limit);
        }
    }
};

// Gathers the series and the formula, opens the main area and draws the bars; false after the
// error text (the main area closed again).
bool BeginSetsLimitChart(CGraph& graph, CChartEngine& engine, CGlazesDoc* glazeDb, CGlaze* glaze, bool averages,
                         CSetsLimitChart& c)
{
    graph.CollectPointSeries(c.table, glazeDb, glaze);
    if (c.table.series.empty()) {
        graph.m_errorText = "No glazes to display or no chemical analyses known";
        return false;
    }
    c.formula = ChartLimitFormula(graph, graph.m_errorText);
    if (!c.formula)
        return false;
    c.main = OpenMainArea(graph, engine);
    CGraph::ClearPlotArea(c.area);
    const std::string title = averages ? "Oxide Averages" : CGraph::CountedGlazes("Data for ", c.table.glazeCount);
    c.slotCount = graph.SetupLimitFormulaAxes(title, *c.formula, c.slots, c.area);
    if (c.slotCount == 0) {
        engine.ChartEndSubArea(graph.GetChartHandle(), c.main.id, 0);
        return false;
    }
    graph.m_columns = c.table.SeriesCount();
    graph.m_textLines = {std::string(), "Limit formula: " + c.formula->m_name};
    return true;
}

// The markers over the chart in the series' styles, then the legend beside it (on a blank
// area for the chart of every glaze).
void EndSetsLimitChart(CGraph& graph, CChartEngine& engine, CSetsLimitChart& c, int points, bool everyGlaze)
{
    c.markers.colors = c.table.Colors();
    c.markers.symbols = c.table.Symbols();
    DrawMarkers(engine, graph, c.slots, c.area, c.markers, points, c.table.SeriesCount(), everyGlaze);
    DrawSideLegend(graph, engine, c.main, c.table, everyGlaze);
}

// Slot j of one series: the mean of its glazes; its cell, and its entry line when drawn.
void AddSeriesMean(CGraph& graph, CSetsLimitChart& c, int j, const CPointSeries& series, CStringArrayEx& entries)
{
    const CLimitSlot& slot = c.slots[static_cast<std::size_t>(j)];
    if (slot.limit < 0) {
        c.markers.Add(c.slots, j, 0.0);
        graph.m_cellTexts.push_back("(no data)");
        return;
    }
    const CLimit& limit = c.formula->m_limits.GetAt(slot.limit);
    const CLimitTexts texts{*c.formula, limit};
    const double value = MeanValue(series.glazes, Combination(limit), slot.byPercent);
    c.markers.Add(c.slots, j, value);
    if (!c.markers.Drawn(c.markers.flags.size() - 1)) {
        graph.m_cellTexts.push_back("(no data)");
        return;
    }
    const std::string heading = series.title + "\r\n(" + std::to_string(series.glazes.size()) + " glazes)";
    graph.m_cellTexts.push_back(texts.Cell(heading, value));
    entries.push_back(texts.Entry(value));
}

// Slot j of point p of one series: the glaze's value (a missing point or a gap has none), and
// its entry line in the glaze's block.
void AddGlazeValue(CSetsLimitChart& c, int p, int j, const CPointSeries& series, CStringArrayEx& block)
{
    const CLimitSlot& slot = c.slots[static_cast<std::size_t>(j)];
    const bool missing = p >= static_cast<int>(series.glazes.size());
    if (missing || slot.limit < 0) {
        c.markers.Add(c.slots, missing ? -1 : j, 0.0);
        return;
    }
    const CGlaze& plotted = *series.glazes[static_cast<std::size_t>(p)];
    c.PrepareSlot(j);
    const double value = c.combinations[static_cast<std::size_t>(j)]->GetValue(plotted.GetAnalysis(), slot.byPercent);
    c.markers.Add(c.slots, j, value);
    block.push_back(c.texts[static_cast<std::size_t>(j)]->Entry(value));
}

// The cells of the chart of every glaze, their texts made when asked (a chart of many thousand
// glazes has millions): cell (s, p x slots + j) is marker k = (p x slots + j) x series + s, its
// text "(missing data)" past the series' glazes, empty in a gap, else the glaze's value.
class CGlazeLimitCells {
public:
    explicit CGlazeLimitCells(CSetsLimitChart& c)
        : m_series(c.table.SeriesCount()), m_slotCount(c.slotCount), m_values(std::move(c.markers.values)),
          m_slots(std::move(c.markers.slots)), m_texts(std::move(c.texts))
    {
        for (const CLimitSlot& slot : c.slots)
            m_gaps.push_back(slot.limit < 0);
        for (const CPointSeries& series : c.table.series) {
            m_names.emplace_back();
            for (const CGlaze* glaze : series.glazes)
                m_names.back().push_back(glaze->m_name);
        }
    }
    std::string Text(int column, int row) const
    {
        const std::size_t k = static_cast<std::size_t>(row) * static_cast<std::size_t>(m_series) + static_cast<std::size_t>(column);
        if (k >= m_slots.size() || m_slots[k] < 0)
            return "(missing data)";
        const std::size_t j = static_cast<std::size_t>(m_slots[k]);
        if (m_gaps[j])
            return std::string();
        const std::size_t p = static_cast<std::size_t>(row / m_slotCount);
        return m_texts[j]->Cell(m_names[static_cast<std::size_t>(column)][p], m_values[k]);
    }

private:
    int m_series;
    int m_slotCount;
    std::vector<double> m_values;
    std::vector<int> m_slots;
    std::vector<std::optional<CLimitTexts>> m_texts;
    std::vector<bool> m_gaps;
    std::vector<std::vector<std::string>> m_names;
};

} // namespace

void CGraph::BuildAveragesLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CChartEngine& engine = Engine();
    CSetsLimitChart c;
    if (!BeginSetsLimitChart(*this, engine, glazeDb, glaze, true, c))
        return;
    const int sets = c.table.SeriesCount();
    m_rows = c.slotCount;
    std::vector<CStringArrayEx> entries(static_cast<std::size_t>(sets));
    for (int j = 0; j < c.slotCount; ++j) {
        for (int s = 0; s < sets; ++s)
            AddSeriesMean(*this, c, j, c.table.series[static_cast<std::size_t>(s)], entries[static_cast<std::size_t>(s)]);
    }
    for (int s = 0; s < sets; ++s) {
        const std::string& title = c.table.series[static_cast<std::size_t>(s)].title;
        if (!title.empty())
            AppendTextBlock(title, std::move(entries[static_cast<std::size_t>(s)]));
    }
    EndSetsLimitChart(*this, engine, c, c.slotCount, false);
}

void CGraph::BuildManyLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    CChartEngine& engine = Engine();
    CSetsLimitChart c;
    if (!BeginSetsLimitChart(*this, engine, glazeDb, glaze, false, c))
        return;
    const int sets = c.table.SeriesCount(), points = c.table.points;
    m_rows = c.slotCount * points;
    const std::size_t cells = static_cast<std::size_t>(sets) * static_cast<std::size_t>(m_rows);
    c.markers.Reserve(cells);
    // The glazes' text blocks, series by series (block s x P + p).
    std::vector<CStringArrayEx> blocks(static_cast<std::size_t>(sets * points));
    for (CStringArrayEx& block : blocks)
        block.reserve(static_cast<std::size_t>(c.slotCount));
    for (int p = 0; p < points; ++p) {
        for (int j = 0; j < c.slotCount; ++j) {
            for (int s = 0; s < sets; ++s)
                AddGlazeValue(c, p, j, c.table.series[static_cast<std::size_t>(s)],
                              blocks[static_cast<std::size_t>(s * points + p)]);
        }
    }
    m_textLines.reserve(m_textLines.size() + cells + 3 * static_cast<std::size_t>(sets * points));
    for (int s = 0; s < sets; ++s) {
        const CPointSeries& series = c.table.series[static_cast<std::size_t>(s)];
        for (std::size_t p = 0; p < series.glazes.size(); ++p) {
            if (!series.glazes[p]->m_name.empty())
                AppendTextBlock(series.glazes[p]->m_name, std::move(blocks[static_cast<std::size_t>(s * points) + p]));
        }
    }
    EndSetsLimitChart(*this, engine, c, c.slotCount * points, true);
    if (c.slotCount > 0) {
        const auto table = std::make_shared<const CGlazeLimitCells>(c);
        m_cellTextOf = [table](int column, int row) { return table->Text(column, row); };
    }
}
