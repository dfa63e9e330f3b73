// The graph object: making its chart, dispatching to the builder of its graph type, the error
// and notice box, and the texts the hosts show.

#include "graphs/Graph.h"

#include "graphs/ChartPalette.h"
#include "graphs/GraphTypeTable.h"
#include "shell/OxidariumApp.h"

#include <array>

namespace {

// Builders by graph type, in the order of g_graphTypeTable.
constexpr std::array<ChartBuilder, kGraphTypeCount> kBuilders = {
    &CGraph::BuildOxidesPie,
    &CGraph::BuildOxidesBar,
    &CGraph::BuildLimitFormulaBar,
    &CGraph::BuildOxidesAndRecipeBar,
    &CGraph::BuildRecipePie,
    &CGraph::BuildRecipeBar,
    &CGraph::BuildRecipeAndOxidesBar,
    &CGraph::BuildCostPie,
    &CGraph::BuildCostBar,
    &CGraph::BuildMaterialTypesPie,
    &CGraph::BuildMaterialTypesBar,
    &CGraph::BuildAverageOxidesPie,
    &CGraph::BuildAverageOxidesBar,
    &CGraph::BuildAveragesOxidesBar,
    &CGraph::BuildAverageLimitFormulaBar,
    &CGraph::BuildAveragesLimitFormulaBar,
    &CGraph::BuildHistogram,
    &CGraph::BuildBoxWhiskers,
    &CGraph::BuildManyOxidesBar,
    &CGraph::BuildManyLimitFormulaBar,
    &CGraph::BuildManyRecipeBar,
    &CGraph::BuildManyMaterialTypesBar,
    &CGraph::BuildScatter,
    &CGraph::BuildScatter3D,
    &CGraph::BuildTriaxial,
};

// Charts get handles from a program-wide counter, so a host can tell a new chart from the last.
int NextChartHandle()
{
    static int next = 0;
    return next++;
}

bool GraphsAvailable() { return g_pApp && g_pApp->m_bGraphsAvailable; }

} // namespace

double& ChartPlotArea::At(int i)
{
    double* fields[] = {&left, &bottom, &width, &height, &horizontalMin, &horizontalMax,
                        &verticalMin, &verticalMax, &areaWidth, &horizontalTicks, &verticalTicks};
    return *fields[i];
}

CGraph::CGraph() : CGraphTemplate("new graph template") {}

CGraph::~CGraph() = default;

ChartBuilder CGraph::GetBuilder(int graphType)
{
    if (graphType < 0 || graphType >= kGraphTypeCount)
        return nullptr;
    return kBuilders[static_cast<std::size_t>(graphType)];
}

int CGraph::Build(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify, CGlazesDoc* glazeDb,
                  CGlaze* glaze)
{
    m_chart.reset();
    m_chartHandle = -1;
    if (!GraphsAvailable() || !host || !frame)
        return -1;
    const CCoreRect h = host->GetScreenRect();
    const CCoreRect f = frame->GetScreenRect();
    if (h.Width() < 1 || h.Height() < 1 || f.Width() < 1 || f.Height() < 1)
        return -1;
    // The host measures in pixels, so the frame's place in it is its pixel rectangle, with y
    // counted from the host's bottom.
    const double hostWidth = h.Width(), hostHeight = h.Height();
    const double x = static_cast<double>(f.left - h.left) / h.Width() * hostWidth;
    const double y = static_cast<double>(h.bottom - f.bottom) / h.Height() * hostHeight;
    const double width = static_cast<double>(f.Width()) / h.Width() * hostWidth;
    const double height = static_cast<double>(f.Height()) / h.Height() * hostHeight;
    m_chart = std::make_unique<CChart>(frame->GetChartMetrics(), x, y, width, height, kChartScale);
    m_chartHandle = NextChartHandle();
    m_chart->ChartSetNotifyWindow(notify, kChartNoticeMessage, kChartNoticeOther | kChartNoticeObject | kChartNoticeCell);
    m_chart->ChartSetEventWindow(notify, kChartEventMessage, 1);
    for (int i = 32; i < kGraphPaletteSize; ++i) {
        const CGraphPaletteEntry& entry = g_graphPalette[static_cast<std::size_t>(i)];
        m_chart->ChartSetPaletteEntry(i, entry.red, entry.green, entry.blue);
    }
    if (const ChartBuilder builder = GetBuilder(type))
        (this->*builder)(glazeDb, glaze);
    if (!m_errorText.empty() || !m_noticeText.empty())
        DrawMessageBox();
    return m_chartHandle;
}

// A square in the chart's bottom-left corner, coloured for an error or a notice; an error's
// text stands beside it, a notice's text shows when the square is clicked.
void CGraph::DrawMessageBox()
{
    CChart& chart = *m_chart;
    const bool error = !m_errorText.empty();
    const double side = error ? chart.ChartMeasureTextHeight(2, 0, "XYZxyz") + 10.0 : kNoticeBoxSide;
    const double corners[] = {0.0, 0.0, side, 0.0, side, side, 0.0, side, 0.0, 0.0};
    chart.ChartSetShapeKind(5, 2);
    chart.ChartSetShapeGeometry(5, 2, corners);
    chart.ChartSetFillColor(error ? kErrorBoxColor : kNoticeBoxColor);
    chart.ChartDrawBox();
    m_messageObjectId = chart.ChartGetObjectId();
    if (error)
        chart.ChartDrawText(side + 10.0, 5.0, 2, 0, 4, m_errorText);
}

std::string CGraph::GetCellText(int column, int row) const
{
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return std::string();
    const std::size_t index = static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(row) +
                              static_cast<std::size_t>(column);
    return index < m_cellTexts.size() ? m_cellTexts[index] : std::string();
}

std::string CGraph::GetMessageText(int objectId) const
{
    if (objectId != m_messageObjectId)
        return std::string();
    return m_errorText.empty() ? m_noticeText : m_errorText;
}

std::string CGraph::GetText() const
{
    std::string text;
    if (!m_title.empty())
        text = m_title + "\r\n" + std::string(m_title.size(), '=') + "\r\n";
    for (const std::string& line : m_textLines)
        text += line + "\r\n";
    return text;
}

void CGraph::ClearPlotArea(ChartPlotArea& area) { area = ChartPlotArea(); }

void CGraph::ReadPlotArea(ChartPlotArea& area) const
{
    for (int i = 0; i < 11; ++i)
        area.At(i) = m_chart ? m_chart->ChartGetLayout(ChartPlotArea::kSelectors[i]) : 0.0;
}
