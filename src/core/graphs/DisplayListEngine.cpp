#include "graphs/DisplayListEngine.h"

#include "graphs/Chart.h"

#include <cmath>

namespace {

CChartEngine* s_engine = nullptr;

double HostPixels(CChartWindow* host, bool width)
{
    if (!host)
        return 0.0;
    const CCoreRect r = host->GetScreenRect();
    return std::max(width ? r.Width() : r.Height(), 0);
}

bool IsFinite(double a, double b, double c, double d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

} // namespace

CChartEngine* GetChartEngine() { return s_engine; }
void SetChartEngine(CChartEngine* engine) { s_engine = engine; }

CDisplayListEngine::CDisplayListEngine() = default;
CDisplayListEngine::~CDisplayListEngine() = default;

CChart* CDisplayListEngine::FindChart(int handle)
{
    const auto found = m_charts.find(handle);
    return found == m_charts.end() ? nullptr : found->second.get();
}

const CChart* CDisplayListEngine::FindChart(int handle) const
{
    const auto found = m_charts.find(handle);
    return found == m_charts.end() ? nullptr : found->second.get();
}

// --- the engine and its charts ---

int CDisplayListEngine::ChartLibOpen(const std::string&, const std::string&)
{
    m_open = true;
    return 0;
}

void CDisplayListEngine::ChartLibClose()
{
    m_selected = nullptr;
    m_charts.clear();
    m_open = false;
}

double CDisplayListEngine::ChartGetHostWidth(CChartWindow* host) { return HostPixels(host, true); }
double CDisplayListEngine::ChartGetHostHeight(CChartWindow* host) { return HostPixels(host, false); }

int CDisplayListEngine::ChartCreate(CChartWindow* host, double x, double y, double width, double height, double scale,
                                    int, int, const std::string&)
{
    // A chart needs a pixel each way; anything less (or a size that is not a number) makes none.
    if (!host || !IsFinite(x, y, width, height) || !std::isfinite(scale) || width < 1.0 || height < 1.0)
        return -1;
    const int handle = m_nextHandle++;
    auto chart = std::make_unique<CChart>(host->GetChartMetrics(), x, y, width, height, scale);
    m_selected = chart.get();
    m_charts[handle] = std::move(chart);
    return handle;
}

void CDisplayListEngine::ChartDestroy(int handle)
{
    const auto found = m_charts.find(handle);
    if (found == m_charts.end())
        return;
    if (m_selected == found->second.get())
        m_selected = nullptr;
    m_charts.erase(found);
}

int CDisplayListEngine::ChartSelect(int handle, int)
{
    m_selected = FindChart(handle);
    return m_selected ? 0 : -1;
}

// The model draws as it is defined and the host window paints it: nothing to switch on.
void CDisplayListEngine::ChartSetAutoRedraw(int on)
{
    if (m_selected)
        m_selected->ChartSetAutoRedraw(on);
}
void CDisplayListEngine::ChartRedraw(int) {}
void CDisplayListEngine::ChartSetupA(int) {}
void CDisplayListEngine::ChartSetupB(int) {}
void CDisplayListEngine::ChartSetupC(int) {}

void CDisplayListEngine::ChartSetPaletteEntry(int index, int red, int green, int blue)
{
    if (m_selected)
        m_selected->ChartSetPaletteEntry(index, red, green, blue);
}

void CDisplayListEngine::ChartSetNotifyWindow(CChartNotifyTarget* target, unsigned message, unsigned mask)
{
    if (m_selected)
        m_selected->ChartSetNotifyWindow(target, message, mask);
}

void CDisplayListEngine::ChartSetEventWindow(CChartNotifyTarget* target, unsigned message, unsigned mask)
{
    if (m_selected)
        m_selected->ChartSetEventWindow(target, message, mask);
}

// Charts have no windows of their own: their host windows paint them.
int CDisplayListEngine::ChartGetWindow(int) { return 0; }

double CDisplayListEngine::ChartGetWidth(int, int) { return m_selected ? m_selected->ChartGetWidth() : 0.0; }
double CDisplayListEngine::ChartGetHeight(int, int) { return m_selected ? m_selected->ChartGetHeight() : 0.0; }
double CDisplayListEngine::ChartGetAreaWidth() { return m_selected ? m_selected->ChartGetAreaWidth() : 0.0; }
double CDisplayListEngine::ChartGetAreaHeight() { return m_selected ? m_selected->ChartGetAreaHeight() : 0.0; }
double CDisplayListEngine::ChartGetTextHeight() { return m_selected ? m_selected->ChartGetTextHeight() : 0.0; }

// --- defining a chart ---

void CDisplayListEngine::ChartDefBegin()
{
    if (m_selected)
        m_selected->ChartDefBegin();
}

void CDisplayListEngine::ChartDefEnd()
{
    if (m_selected)
        m_selected->ChartDefEnd();
}

void CDisplayListEngine::ChartSetData(int points, int sets, std::span<const double> values)
{
    if (m_selected)
        m_selected->ChartSetData(points, sets, values);
}

void CDisplayListEngine::ChartSetSparseData(int points, int sets, std::span<const CChartValueAt> values)
{
    if (m_selected)
        m_selected->ChartSetSparseData(points, sets, values);
}

void CDisplayListEngine::ChartSetXData(int count, std::span<const double> values)
{
    if (m_selected)
        m_selected->ChartSetXData(count, values);
}

void CDisplayListEngine::ChartSetZData(int count, std::span<const double> values)
{
    if (m_selected)
        m_selected->ChartSetZData(count, values);
}

void CDisplayListEngine::ChartSetPointFlags(int count, std::span<const int> flags)
{
    if (m_selected)
        m_selected->ChartSetPointFlags(count, flags);
}

void CDisplayListEngine::ChartSetColors(int count, std::span<const int> colors)
{
    if (m_selected)
        m_selected->ChartSetColors(count, colors);
}

void CDisplayListEngine::ChartSetPatterns(int count, std::span<const int> patterns)
{
    if (m_selected)
        m_selected->ChartSetPatterns(count, patterns);
}

void CDisplayListEngine::ChartSetSymbols(int count, std::span<const int> symbols)
{
    if (m_selected)
        m_selected->ChartSetSymbols(count, symbols);
}

void CDisplayListEngine::ChartSetPointLabels(int count, std::span<const std::string> labels)
{
    if (m_selected)
        m_selected->ChartSetPointLabels(count, labels);
}

void CDisplayListEngine::ChartSetLegend(int count, std::span<const std::string> labels)
{
    if (m_selected)
        m_selected->ChartSetLegend(count, labels);
}

void CDisplayListEngine::ChartSetTitleA(const std::string& text)
{
    if (m_selected)
        m_selected->ChartSetTitleA(text);
}

void CDisplayListEngine::ChartSetTitleB(const std::string& text)
{
    if (m_selected)
        m_selected->ChartSetTitleB(text);
}

void CDisplayListEngine::ChartSetTitleC(const std::string& text)
{
    if (m_selected)
        m_selected->ChartSetTitleC(text);
}

void CDisplayListEngine::ChartSetTitleD(const std::string& text)
{
    if (m_selected)
        m_selected->ChartSetTitleD(text);
}

void CDisplayListEngine::ChartSetSideTitleStyle(int style, int unused)
{
    if (m_selected)
        m_selected->ChartSetSideTitleStyle(style, unused);
}

void CDisplayListEngine::ChartSetAxisX(int flags, int ticks, int unused, double max, double min)
{
    if (m_selected)
        m_selected->ChartSetAxisX(flags, ticks, unused, max, min);
}

void CDisplayListEngine::ChartSetAxisY(int flags, int ticks, int unused, double max, double min)
{
    if (m_selected)
        m_selected->ChartSetAxisY(flags, ticks, unused, max, min);
}

void CDisplayListEngine::ChartSetAxisZ(int flags, int ticks, int unused, double max, double min)
{
    if (m_selected)
        m_selected->ChartSetAxisZ(flags, ticks, unused, max, min);
}

void CDisplayListEngine::ChartSetMinorTicks(int axis, int count)
{
    if (m_selected)
        m_selected->ChartSetMinorTicks(axis, count);
}

void CDisplayListEngine::ChartSetAxisFormat(int axis, const std::string& format)
{
    if (m_selected)
        m_selected->ChartSetAxisFormat(axis, format);
}

void CDisplayListEngine::ChartSetFont(int group, int family, int style, int sizePercent)
{
    if (m_selected)
        m_selected->ChartSetFont(group, family, style, sizePercent);
}

void CDisplayListEngine::ChartSetThin(int thin, int unused1, int unused2)
{
    if (m_selected)
        m_selected->ChartSetThin(thin, unused1, unused2);
}

void CDisplayListEngine::ChartSetView(int mode, int rotation, int elevation, int eye)
{
    if (m_selected)
        m_selected->ChartSetView(mode, rotation, elevation, eye);
}

void CDisplayListEngine::ChartSetDepth(int mode, int depth, int xGap, int zGap)
{
    if (m_selected)
        m_selected->ChartSetDepth(mode, depth, xGap, zGap);
}

void CDisplayListEngine::ChartSetTriaxial(int a, int b)
{
    if (m_selected)
        m_selected->ChartSetTriaxial(a, b);
}

void CDisplayListEngine::ChartSetBarGap(int gap)
{
    if (m_selected)
        m_selected->ChartSetBarGap(gap);
}

void CDisplayListEngine::ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns)
{
    if (m_selected)
        m_selected->ChartKeepRoomForEnds(foot, far, columns);
}

void CDisplayListEngine::ChartSetKind(int kind, int options, int flags)
{
    if (m_selected)
        m_selected->ChartSetKind(kind, options, flags);
}

void CDisplayListEngine::ChartPlanKind(int kind, int options, int flags)
{
    if (m_selected)
        m_selected->ChartPlanKind(kind, options, flags);
}

CChartAxisRoom CDisplayListEngine::ChartMeasureValueAxis(int font, bool upward, double tickReach,
                                                         std::span<const std::string> numbers)
{
    return m_selected ? m_selected->ValueAxisRoom(m_selected->FontOf(font), upward, tickReach, numbers)
                      : CChartAxisRoom();
}

double CDisplayListEngine::ChartGetLayout(int selector)
{
    return m_selected ? m_selected->ChartGetLayout(selector) : 0.0;
}

// --- drawing on a chart ---

void CDisplayListEngine::ChartDrawLine(double x1, double y1, double x2, double y2, int width, int style, int color)
{
    if (m_selected)
        m_selected->ChartDrawLine(x1, y1, x2, y2, width, style, color);
}

void CDisplayListEngine::ChartDrawText(double x, double y, int font, int align, int color, const std::string& text)
{
    if (m_selected)
        m_selected->ChartDrawText(x, y, font, align, color, text);
}

double CDisplayListEngine::ChartMeasureTextHeight(int font, int flags, const std::string& text)
{
    return m_selected ? m_selected->ChartMeasureTextHeight(font, flags, text) : 0.0;
}

double CDisplayListEngine::ChartMeasureTextWidth(int font, int flags, const std::string& text)
{
    return m_selected ? m_selected->ChartMeasureTextWidth(font, flags, text) : 0.0;
}

void CDisplayListEngine::ChartSetTextFont(int family, int style, int sizePercent, int unused)
{
    if (m_selected)
        m_selected->ChartSetTextFont(family, style, sizePercent, unused);
}

void CDisplayListEngine::ChartSetMarkerSize(double size)
{
    if (m_selected)
        m_selected->ChartSetMarkerSize(size);
}

void CDisplayListEngine::ChartDrawSymbol(double x, double y, int symbol, int color)
{
    if (m_selected)
        m_selected->ChartDrawSymbol(x, y, symbol, color);
}

void CDisplayListEngine::ChartSetShapeKind(int a, int b)
{
    if (m_selected)
        m_selected->ChartSetShapeKind(a, b);
}

void CDisplayListEngine::ChartSetShapeGeometry(int a, int b, std::span<const double> values)
{
    if (m_selected)
        m_selected->ChartSetShapeGeometry(a, b, values);
}

// Boxes are always drawn solid with a thin black border.
void CDisplayListEngine::ChartSetBoxStyle(int, int, int, int) {}

void CDisplayListEngine::ChartSetFillColor(int color)
{
    if (m_selected)
        m_selected->ChartSetFillColor(color);
}

void CDisplayListEngine::ChartSetBoxBorder()
{
    if (m_selected)
        m_selected->ChartDrawBox();
}

int CDisplayListEngine::ChartGetObjectId() { return m_selected ? m_selected->ChartGetObjectId() : 0; }

void CDisplayListEngine::ChartSetMarkerX(int count, std::span<const double> x)
{
    if (m_selected)
        m_selected->ChartSetMarkerX(count, x);
}

void CDisplayListEngine::ChartSetMarkerColors(int count, std::span<const int> colors)
{
    if (m_selected)
        m_selected->ChartSetMarkerColors(count, colors);
}

void CDisplayListEngine::ChartSetMarkerSymbols(int count, std::span<const int> symbols)
{
    if (m_selected)
        m_selected->ChartSetMarkerSymbols(count, symbols);
}

void CDisplayListEngine::ChartSetMarkerFlags(int count, std::span<const int> flags)
{
    if (m_selected)
        m_selected->ChartSetMarkerFlags(count, flags);
}

void CDisplayListEngine::ChartDrawMarkers(double left, double bottom, int flags, int unused)
{
    if (m_selected)
        m_selected->ChartDrawMarkers(left, bottom, flags, unused);
}

void CDisplayListEngine::ChartDrawValueAxis(double x, double y, double length, double tickLength, int ticks, int mode)
{
    if (m_selected)
        m_selected->ChartDrawValueAxis(x, y, length, tickLength, ticks, mode);
}

void CDisplayListEngine::ChartSetAxisPartA(double x, double y, double step, int count, int font, int,
                                           std::span<const std::string> labels)
{
    if (m_selected)
        m_selected->ChartSetAxisPartA(x, y, step, count, font, labels);
}

void CDisplayListEngine::ChartSetAxisPartB(double x, double y, double step, int count, int font, int align,
                                           std::span<const std::string> labels)
{
    if (m_selected)
        m_selected->ChartSetAxisPartB(x, y, step, count, font, align, labels);
}

int CDisplayListEngine::ChartSetBackgroundImage(double left, double bottom, double width, double height, int, int,
                                                const std::string& file)
{
    return m_selected ? m_selected->ChartSetBackgroundImage(left, bottom, width, height, file) : 1;
}

void CDisplayListEngine::ChartCall261(double x, double y, double width, double height)
{
    if (m_selected)
        m_selected->ChartCall261(x, y, width, height);
}

int CDisplayListEngine::ChartBeginSubArea(int handle, double x, double y, double width, double height, double scale)
{
    CChart* chart = FindChart(handle);
    return chart ? chart->ChartBeginSubArea(x, y, width, height, scale) : 0;
}

void CDisplayListEngine::ChartEndSubArea(int handle, int area, int)
{
    if (CChart* chart = FindChart(handle))
        chart->ChartEndSubArea(area);
}

// --- mouse events and output ---

void CDisplayListEngine::ChartMouseEvent(int handle, int eventCode, double pixelX, double pixelY)
{
    CChart* chart = FindChart(handle);
    if (!chart || !std::isfinite(pixelX) || !std::isfinite(pixelY))
        return;
    m_selected = chart;
    chart->OnMouseEvent(eventCode, pixelX, pixelY); // may destroy the chart: nothing follows
}

int CDisplayListEngine::ChartGetLastEvent() { return m_selected ? m_selected->ChartGetLastEvent() : 0; }
double CDisplayListEngine::ChartGetEventX() { return m_selected ? m_selected->ChartGetEventX() : 0.0; }
double CDisplayListEngine::ChartGetEventY() { return m_selected ? m_selected->ChartGetEventY() : 0.0; }

int CDisplayListEngine::ChartCopyToClipboard(int, int) { return 1; }
int CDisplayListEngine::ChartExportFile(int, int, const std::string&) { return 1; }
