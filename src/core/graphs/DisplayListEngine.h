#pragma once

// The chart engine of the program: each chart is a CChart (graphs/Chart.h), a retained model
// that lays itself out with its host's text measures and keeps what it drew as a display list in
// chart units, so that a screen, a printer page and an image replay the same picture.
//
// Host units are the host window's pixels: a chart placed at (x, y, width, height) in its host
// is that many pixels of the host, and its display list is painted over that many pixels of the
// window that shows it (graphs/GraphWnd). The engine itself has no device: copying a chart to
// the clipboard and writing image files fail here (1) and are completed by the Qt layer's
// engine (ui/graphs/QtChartEngine.h).

#include "graphs/ChartEngine.h"

#include <map>
#include <memory>

class CDisplayListEngine : public CChartEngine {
public:
    CDisplayListEngine();
    ~CDisplayListEngine() override;
    CDisplayListEngine(const CDisplayListEngine&) = delete;
    CDisplayListEngine& operator=(const CDisplayListEngine&) = delete;

    bool IsOpen() const { return m_open; }
    int ChartCount() const { return static_cast<int>(m_charts.size()); }
    CChart* FindChart(int handle);
    const CChart* FindChart(int handle) const override;
    CChart* Selected() const { return m_selected; }

    int ChartLibOpen(const std::string& path, const std::string& mode) override;
    void ChartLibClose() override;
    double ChartGetHostWidth(CChartWindow* host) override;
    double ChartGetHostHeight(CChartWindow* host) override;
    int ChartCreate(CChartWindow* host, double x, double y, double width, double height, double scale, int style,
                    int options, const std::string& name) override;
    void ChartDestroy(int handle) override;
    int ChartSelect(int handle, int unused) override;
    void ChartSetAutoRedraw(int on) override;
    void ChartRedraw(int mode) override;
    void ChartSetupA(int value) override;
    void ChartSetupB(int value) override;
    void ChartSetupC(int value) override;
    void ChartSetPaletteEntry(int index, int red, int green, int blue) override;
    void ChartSetNotifyWindow(CChartNotifyTarget* target, unsigned message, unsigned mask) override;
    void ChartSetEventWindow(CChartNotifyTarget* target, unsigned message, unsigned mask) override;
    int ChartGetWindow(int handle) override;
    double ChartGetWidth(int unused1, int unused2) override;
    double ChartGetHeight(int unused1, int unused2) override;
    double ChartGetAreaWidth() override;
    double ChartGetAreaHeight() override;
    double ChartGetTextHeight() override;

    void ChartDefBegin() override;
    void ChartDefEnd() override;
    void ChartSetData(int points, int sets, std::span<const double> values) override;
    void ChartSetSparseData(int points, int sets, std::span<const CChartValueAt> values) override;
    void ChartSetXData(int count, std::span<const double> values) override;
    void ChartSetZData(int count, std::span<const double> values) override;
    void ChartSetPointFlags(int count, std::span<const int> flags) override;
    void ChartSetColors(int count, std::span<const int> colors) override;
    void ChartSetPatterns(int count, std::span<const int> patterns) override;
    void ChartSetSymbols(int count, std::span<const int> symbols) override;
    void ChartSetPointLabels(int count, std::span<const std::string> labels) override;
    void ChartSetLegend(int count, std::span<const std::string> labels) override;
    void ChartSetTitleA(const std::string& text) override;
    void ChartSetTitleB(const std::string& text) override;
    void ChartSetTitleC(const std::string& text) override;
    void ChartSetTitleD(const std::string& text) override;
    void ChartSetSideTitleStyle(int style, int unused) override;
    void ChartSetAxisX(int flags, int ticks, int unused, double max, double min) override;
    void ChartSetAxisY(int flags, int ticks, int unused, double max, double min) override;
    void ChartSetAxisZ(int flags, int ticks, int unused, double max, double min) override;
    void ChartSetMinorTicks(int axis, int count) override;
    void ChartSetAxisFormat(int axis, const std::string& format) override;
    void ChartSetFont(int group, int family, int style, int sizePercent) override;
    void ChartSetThin(int thin, int unused1, int unused2) override;
    void ChartSetView(int mode, int rotation, int elevation, int eye) override;
    void ChartSetDepth(int mode, int depth, int xGap, int zGap) override;
    void ChartSetTriaxial(int a, int b) override;
    void ChartSetBarGap(int gap) override;
    void ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns) override;
    void ChartSetKind(int kind, int options, int flags) override;
    void ChartPlanKind(int kind, int options, int flags) override;
    CChartAxisRoom ChartMeasureValueAxis(int font, bool upward, double tickReach,
                                         std::span<const std::string> numbers) override;
    double ChartGetLayout(int selector) override;

    void ChartDrawLine(double x1, double y1, double x2, double y2, int width, int style, int color) override;
    void ChartDrawText(double x, double y, int font, int align, int color, const std::string& text) override;
    double ChartMeasureTextHeight(int font, int flags, const std::string& text) override;
    double ChartMeasureTextWidth(int font, int flags, const std::string& text) override;
    void ChartSetTextFont(int family, int style, int sizePercent, int unused) override;
    void ChartSetMarkerSize(double size) override;
    void ChartDrawSymbol(double x, double y, int symbol, int color) override;
    void ChartSetShapeKind(int a, int b) override;
    void ChartSetShapeGeometry(int a, int b, std::span<const double> values) override;
    void ChartSetBoxStyle(int a, int b, int c, int d) override;
    void ChartSetFillColor(int color) override;
    void ChartSetBoxBorder() override;
    int ChartGetObjectId() override;
    void ChartSetMarkerX(int count, std::span<const double> x) override;
    void ChartSetMarkerColors(int count, std::span<const int> colors) override;
    void ChartSetMarkerSymbols(int count, std::span<const int> symbols) override;
    void ChartSetMarkerFlags(int count, std::span<const int> flags) override;
    void ChartDrawMarkers(double left, double bottom, int flags, int unused) override;
    void ChartDrawValueAxis(double x, double y, double length, double tickLength, int ticks, int mode) override;
    void ChartSetAxisPartA(double x, double y, double step, int count, int font, int align,
                           std::span<const std::string> labels) override;
    void ChartSetAxisPartB(double x, double y, double step, int count, int font, int align,
                           std::span<const std::string> labels) override;
    int ChartSetBackgroundImage(double left, double bottom, double width, double height, int fit, int layer,
                                const std::string& file) override;
    void ChartCall261(double x, double y, double width, double height) override;
    int ChartBeginSubArea(int handle, double x, double y, double width, double height, double scale) override;
    void ChartEndSubArea(int handle, int area, int unused) override;

    void ChartMouseEvent(int handle, int eventCode, double pixelX, double pixelY) override;
    int ChartGetLastEvent() override;
    double ChartGetEventX() override;
    double ChartGetEventY() override;
    // No device here: both fail (1).
    int ChartCopyToClipboard(int format, int unused) override;
    int ChartExportFile(int format, int unused, const std::string& file) override;

private:
    bool m_open = false;
    int m_nextHandle = 0;
    std::map<int, std::unique_ptr<CChart>> m_charts;
    CChart* m_selected = nullptr;
};
