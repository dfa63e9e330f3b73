// The graph object: making its chart, dispatching to the builder of its graph type, the error
// and notice box, and the texts the hosts show.

#include "graphs/Graph.h"

#include "graphs/ChartPalette.h"
#include "graphs/GraphTemplateRanges.h"
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

bool GraphsAvailable() { return g_pApp && g_pApp->m_bGraphsAvailable && GetChartEngine(); }

// The chart's style and options as every graph makes it.
constexpr int kChartStyle = 0;
constexpr int kChartOptions = 0x103;
constexpr unsigned kNoticeKinds = kChartNoticeOther | kChartNoticeObject | kChartNoticeCell;

} // namespace

double& ChartPlotArea::At(int i)
{
    double* fields[] = {&left, &bottom, &width, &height, &horizontalMin, &horizontalMax,
                        &verticalMin, &verticalMax, &areaWidth, &horizontalTicks, &verticalTicks};
    return *fields[i];
}

CGraph::CGraph() : CGraphTemplate("new graph template") {}

CGraph::~CGraph()
{
    // The engine may have been replaced (tests) or removed meanwhile: only its own charts go.
    if (m_chartHandle >= 0 && m_engine && m_engine == GetChartEngine())
        m_engine->ChartDestroy(m_chartHandle);
}

const CChart* CGraph::GetChart() const
{
    if (m_chartHandle < 0 || !m_engine || m_engine != GetChartEngine())
        return nullptr;
    return m_engine->FindChart(m_chartHandle);
}

ChartBuilder CGraph::GetBuilder(int graphType)
{
    if (graphType < 0 || graphType >= kGraphTypeCount)
        return nullptr;
    return kBuilders[static_cast<std::size_t>(graphType)];
}

int CGraph::Build(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify, CGlazesDoc* glazeDb,
                  CGlaze* glaze)
{
    ForgetBuild();
    if (!StartChart(host, frame, notify))
        return m_chartHandle;
    // Settings typed into the editor and not yet checked reach the preview as they are.
    BoundGraphTemplate(*this);
    if (const ChartBuilder builder = GetBuilder(type))
        (this->*builder)(glazeDb, glaze);
    if (m_drawReading)
        NoteReadGlazes(glazeDb, glaze);
    if (!m_errorText.empty() || !m_noticeText.empty())
        DrawMessageBox();
    return m_chartHandle;
}

int CGraph::Redraw(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify)
{
    if (!m_drawReading)
        return -1;
    if (!StartChart(host, frame, notify))
        return m_chartHandle;
    m_drawReading(*this);
    if (!m_errorText.empty() || !m_noticeText.empty())
        DrawMessageBox();
    return m_chartHandle;
}

bool CGraph::StartChart(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify)
{
    if (m_chartHandle >= 0 && m_engine && m_engine == GetChartEngine())
        m_engine->ChartDestroy(m_chartHandle);
    m_chartHandle = -1;
    m_engine = GetChartEngine();
    if (!GraphsAvailable() || !host || !frame || !CreateChart(host, frame, notify))
        return false;
    for (int i = 32; i < kGraphPaletteSize; ++i) {
        const CGraphPaletteEntry& entry = g_graphPalette[static_cast<std::size_t>(i)];
        m_engine->ChartSetPaletteEntry(i, entry.red, entry.green, entry.blue);
    }
    m_engine->ChartSetupA(11);
    m_engine->ChartSetupB(15);
    m_engine->ChartSetupC(1);
    return true;
}

// A graph is meant to be built once; built again, it starts from nothing rather than adding to
// the texts of the last build.
void CGraph::ForgetBuild()
{
    m_errorText.clear();
    m_noticeText.clear();
    m_messageObjectId = -1;
    m_cellTexts.clear();
    m_cellTextOf = nullptr;
    DropReading();
    m_textLines.clear();
    m_columns = 0;
    m_rows = 0;
    m_title.clear();
}

bool CGraph::CreateChart(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify)
{
    CChartEngine& engine = *m_engine;
    const double hostWidth = engine.ChartGetHostWidth(host);
    const double hostHeight = engine.ChartGetHostHeight(host);
    const CCoreRect h = host->GetScreenRect();
    const CCoreRect f = frame->GetScreenRect();
    if (h.Width() < 1 || h.Height() < 1 || f.Width() < 1 || f.Height() < 1)
        return false;
    // The frame's place in the host, in host units, y counted from the host's bottom.
    const double x = (f.left - h.left) * hostWidth / h.Width();
    const double y = (h.bottom - f.bottom) * hostHeight / h.Height();
    const double width = f.Width() * hostWidth / h.Width();
    const double height = f.Height() * hostHeight / h.Height();
    m_chartHandle = engine.ChartCreate(host, x, y, width, height, kChartScale, kChartStyle, kChartOptions, "");
    if (m_chartHandle < 0)
        return false;
    engine.ChartSetAutoRedraw(1);
    engine.ChartSetNotifyWindow(notify, kChartNoticeMessage, kNoticeKinds);
    engine.ChartSetEventWindow(notify, kChartEventMessage, 1);
    engine.ChartRedraw(1);
    engine.ChartSetupA(1);
    return true;
}

// A square in the chart's bottom-left corner, coloured for an error or a notice; an error's
// text stands beside it, broken into lines that the chart's width holds (the last beside the
// square), a notice's text shows when the square is clicked.
void CGraph::DrawMessageBox()
{
    CChartEngine& engine = Engine();
    const bool error = !m_errorText.empty();
    const double line = error ? engine.ChartMeasureTextHeight(2, 0, "XYZxyz") : 0.0;
    const double side = error ? line + 10.0 : kNoticeBoxSide;
    const double corners[] = {0.0, 0.0, side, 0.0, side, side, 0.0, side, 0.0, 0.0};
    engine.ChartSetShapeKind(5, 2);
    engine.ChartSetShapeGeometry(5, 2, corners);
    engine.ChartSetBoxStyle(0, 0, 0, 0);
    engine.ChartSetFillColor(error ? kErrorBoxColor : kNoticeBoxColor);
    engine.ChartSetBoxBorder();
    m_messageObjectId = engine.ChartGetObjectId();
    if (!error)
        return;
    CStringArrayEx lines;
    WrapText(lines, m_errorText, engine.ChartGetAreaWidth() - side - 20.0, 2, 0);
    for (std::size_t k = 0; k < lines.size(); ++k)
        engine.ChartDrawText(side + 10.0, 5.0 + line * static_cast<double>(lines.size() - 1 - k), 2, 0, 4, lines[k]);
}

std::string CGraph::GetCellText(int column, int row) const
{
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return std::string();
    if (m_cellTextOf)
        return m_cellTextOf(column, row);
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
        area.At(i) = m_engine ? m_engine->ChartGetLayout(ChartPlotArea::kSelectors[i]) : 0.0;
}
