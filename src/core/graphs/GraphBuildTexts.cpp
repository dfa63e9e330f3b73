// What every chart builder shares: the template's values and labels in the graph's own
// settings, fonts, the plot frame, and word-wrapped legend blocks.

#include "graphs/Graph.h"

#include "glazes/GlazesDoc.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"



void CGraph::GetVariableLabel(int code, std::string& label, std::string& format) const
{
    GetGraphVariableLabel(*this, code, label, format);
}

int CGraph::GetVariableValues(const CGlaze& glaze, CGraphValues& values) const
{
    return GetGraphVariableValues(*this, glaze, values);
}

int CGraph::GetOxideGroupValues(const CGlaze& glaze, std::vector<CGraphOxideEntry>& entries, bool keepSmall,
                                bool reverse, int pareto, bool addRemainder, bool includeOther) const
{
    return ::GetOxideGroupValues(*this, GetOxideColors(), glaze, entries, keepSmall, reverse, pareto, addRemainder,
                                 includeOther);
}

std::string CGraph::GetDataSetTitle(int index, CGlazesDoc* glazeDb, CGlaze* glaze) const
{
    const std::string databaseName = glazeDb ? glazeDb->GetDbName() : std::string();
    return ::GetDataSetTitle(*this, index, glazeDb ? &databaseName : nullptr, glaze ? &glaze->m_name : nullptr);
}

std::string CGraph::GetUnitTitle() const
{
    return oxtype == kGraphUnitUnity ? "Unity" : oxtype == kGraphUnitWeightPercent ? "% Weight" : "% Molecular";
}

std::string CGraph::FormatOxideLine(const std::string& label, double value) const
{
    return label + "  " + FormatOxideValue(value);
}

std::string CGraph::FormatOxideValue(double value) const
{
    const bool unity = oxtype == kGraphUnitUnity;
    std::string text = FormatFixed(value, unity ? g_prefs.decanalysis : g_prefs.decanalysispct);
    if (!unity)
        text += "%";
    if (!unity && oxtype != kGraphUnitWeightPercent)
        text += "m";
    return text;
}

CGlaze* CGraph::OneGlazeOxideEntries(CGlazesDoc* glazeDb, CGlaze* glaze, std::vector<CGraphOxideEntry>& entries,
                                     bool keepSmall, bool reverseOrder)
{
    CGlaze* shown = ShownGlaze(glazeDb, glaze);
    if (!shown)
        return nullptr;
    if (GetOxideGroupValues(*shown, entries, keepSmall, reverseOrder, pareto ? -1 : 0, false, false) == 0) {
        m_errorText = "No oxides selected or chemical analysis unknown";
        return nullptr;
    }
    return shown;
}

CChartSeries CGraph::TakeOxideEntries(const std::vector<CGraphOxideEntry>& entries)
{
    CChartSeries series;
    m_columns = 1;
    m_rows = static_cast<int>(entries.size());
    for (const CGraphOxideEntry& entry : entries) {
        series.values.push_back(entry.value);
        series.labels.push_back(entry.label);
        series.colors.push_back(entry.color);
        series.patterns.push_back(entry.pattern);
        m_cellTexts.push_back(FormatOxideLine(entry.label, entry.value));
        m_textLines.push_back(m_cellTexts.back());
    }
    return series;
}

const COxideColorList* CGraph::GetOxideColors()
{
    return g_pGraphTypesDoc ? &g_pGraphTypesDoc->Database().m_oxideColors : nullptr;
}

const CMaterialTypeColorList* CGraph::GetMaterialTypeColors()
{
    return g_pGraphTypesDoc ? &g_pGraphTypesDoc->Database().m_materialTypeColors : nullptr;
}

void CGraph::SetFonts()
{
    CChartEngine& chart = Engine();
    chart.ChartSetFont(0, txmainfam, txmainsty, txmainsiz);
    chart.ChartSetFont(1, txlrbfam, txlrbsty, txlrbsiz);
    const GraphTypeInfo* info = GetGraphTypeInfo(type);
    if (info && info->pie)
        chart.ChartSetFont(2, txpiefam, txpiesty, txpiesiz);
    else if (type == kGraphTriaxial)
        chart.ChartSetFont(2, txtrifam, txtristy, txtrisiz);
    else
        chart.ChartSetFont(2, txaxfam, txaxsty, txaxsiz);
    chart.ChartSetFont(3, txlegfam, txlegsty, txlegsiz);
}

void CGraph::DrawPlotFrame(bool force)
{
    if (!force && (gridx != 0) == (gridy != 0))
        return;
    CChartEngine& chart = Engine();
    const double left = chart.ChartGetLayout(6);
    const double bottom = chart.ChartGetLayout(7);
    const double right = left + chart.ChartGetLayout(4);
    const double top = bottom + chart.ChartGetLayout(5);
    chart.ChartDrawLine(left, bottom, right, bottom, 1, 0, 0);
    chart.ChartDrawLine(right, bottom, right, top, 1, 0, 0);
    chart.ChartDrawLine(right, top, left, top, 1, 0, 0);
    chart.ChartDrawLine(left, top, left, bottom, 1, 0, 0);
}

void CGraph::WrapText(CStringArrayEx& lines, const std::string& text, double width, int font, int style)
{
    CChartEngine& chart = Engine();
    const auto measure = [&](const std::string& t) { return chart.ChartMeasureTextWidth(font, style, t); };
    std::string rest = text;
    TrimString(rest);
    while (!rest.empty()) {
        // The longest prefix that fits (widths grow with the prefix).
        std::size_t low = 0, high = rest.size();
        while (low < high) {
            const std::size_t middle = (low + high + 1) / 2;
            if (measure(rest.substr(0, middle)) <= width)
                low = middle;
            else
                high = middle - 1;
        }
        if (low == rest.size()) {
            lines.push_back(rest);
            return;
        }
        // Up to the last blank that fits; a first word wider than the width stands alone, shortened.
        std::size_t take = IsWhitespaceChar(rest[low]) ? low : rest.substr(0, low).rfind(' ');
        if (take == std::string::npos) {
            take = std::min(rest.find(' '), rest.size());
            lines.push_back(ElideToWidth(rest.substr(0, take), width, measure));
        } else {
            lines.push_back(rest.substr(0, take));
        }
        rest = rest.substr(take);
        TrimString(rest);
    }
}

void CGraph::DrawTextBox(double left, double bottom, double width, double height, int n, int font, int textOption,
                         const std::vector<int>& colors, const std::vector<int>& symbols, const CStringArrayEx& texts)
{
    CChartEngine& chart = Engine();
    const double u = std::min(chart.ChartGetAreaHeight() * 0.025, width * 0.1);
    double m = u;
    if (symsize > 0) {
        m = symsize * u * 0.01;
        chart.ChartSetMarkerSize(m);
    }
    const double markerX = left + (m + u) / 2.0;
    const double textX = left + 1.5 * u + m;
    const double textWidth = width - (1.5 * u + m);
    const double lineHeight = chart.ChartMeasureTextHeight(font, 8, "XMgy");
    for (int i = 1; i <= n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        const double y = (bottom + height) - i * height / (n + 1);
        chart.ChartDrawSymbol(markerX, y + m / 2.0, k < symbols.size() ? symbols[k] : 0, k < colors.size() ? colors[k] : 0);
        CStringArrayEx lines;
        WrapText(lines, k < texts.size() ? texts[k] : std::string(), textWidth, font, 8);
        for (std::size_t j = 0; j < lines.size(); ++j)
            chart.ChartDrawText(textX, y - static_cast<double>(j) * 1.1 * lineHeight, font, 8, textOption, lines[j]);
    }
}
