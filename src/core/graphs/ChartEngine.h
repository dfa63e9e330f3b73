#pragma once

// The chart engine: every call through which a graph object (graphs/Graph.h) makes a chart,
// defines it, draws on it, asks about it and puts it out. The builders speak only to this
// interface, so core tests check the exact calls a builder makes against a recording fake, and
// the program runs the display-list engine (graphs/DisplayListEngine.h) with the Qt layer's
// output added (ui/graphs/QtChartEngine.h).
//
// Selection. The engine keeps many charts, each by a handle (0 and up). ChartCreate selects the
// new chart; ChartSelect selects another. Every call without a handle works on the selected
// chart, and does nothing (or answers 0) when none is selected.
//
// Units. A chart's host measures in host units (ChartGetHostWidth / ChartGetHostHeight); a chart
// is placed in its host in those units, y from the host's bottom. Inside, the chart's drawing
// area is `scale` chart units high (the graphs use 1000), origin bottom left, y up, as wide as
// its shape allows; a sub-area has units of its own. Every position, size and text measure the
// builders pass or read is in the current area's chart units; see graphs/Chart.h for the kinds,
// option bits, layout selectors and fonts.
//
// Return conventions: ChartLibOpen, ChartCopyToClipboard and ChartExportFile give 0 on success;
// ChartCreate a handle >= 0 or a negative value; ChartSetBackgroundImage 0 when the image was
// read; ChartGetWindow 0 for "no window of its own".

#include "graphs/ChartCanvas.h"
#include "support/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CChart;

// Chart kinds of ChartSetKind.
enum ChartKind : int {
    kChartPie = 1,
    kChartPie3D = 2,
    kChartBar = 3,
    kChartBar3D = 4,
    kChartArea = 8,
    kChartPoints = 9,
    kChartBoxWhiskers = 0x11,
    kChartBarTrue3D = 0x84,
    kChartPoints3D = 0x89,
};

// Point flag: the point is missing (neither drawn nor hit).
inline constexpr int kChartPointMissing = 0x100;
// The most columns the ends of value axes beyond their lines take (ChartKeepRoomForEnds).
inline constexpr int kMostEndColumns = 4;

// What a value axis a builder draws beside the chart's own (ChartDrawValueAxis, its numbers by
// ChartSetAxisPartA or B) takes across its line, in the current area's units, at the text size
// and pixel ratio of its numbers' font (ChartMeasureValueAxis): the one answer the builder sizes
// the room between its axes by.
struct CChartAxisRoom {
    double away = 0.0;        // from the line to its numbers: what its ticks reach there and a gap
    double gap = 0.0;         // that gap
    double across = 0.0;      // to the far side of its numbers standing across (upright: the widest)
    double turned = 0.0;      // the same, its numbers turned upright, a line wide (upright axes)
    double clear = 0.0;       // how far numbers standing across keep from another axis' ink beside them
    double clearTurned = 0.0; // the same for numbers turned upright: a blank, three pixels at least
    double ends = 0.0;        // how far apart the ends of neighbouring axes stand beyond their lines
};

// A value of point `point` of set `set` (ChartSetSparseData).
struct CChartValueAt {
    int point = 0;
    int set = 0;
    double value = 0.0;
    bool operator==(const CChartValueAt&) const = default;
};

// Notices of a chart to its windows.
inline constexpr unsigned kChartNoticeMessage = 0x52C;
inline constexpr unsigned kChartEventMessage = 0x531;
inline constexpr unsigned kChartNoticeOther = 2;
inline constexpr unsigned kChartNoticeObject = 4;
inline constexpr unsigned kChartNoticeCell = 8;

// Mouse event codes (ChartGetLastEvent).
enum ChartEvent : int {
    kChartEventReleased = 0,
    kChartEventLeftPressed = 1,
    kChartEventRightPressed = 4,
};

// Export formats of ChartExportFile (2 is the vector picture that printing uses).
enum ChartExportFormat : int {
    kChartExportPicture = 2,
    kChartExportBitmap = 4,
    kChartExportJpeg = 6,
    kChartExportPng = 8,
};

// A window that receives a chart's notices (the host views).
class CChartNotifyTarget {
public:
    virtual ~CChartNotifyTarget() = default;
    virtual void OnChartMessage(unsigned message, unsigned kind, std::uint64_t data) = 0;
};

// The data of a notice of a data cell: its column and row whole, 32 bits each (in 16 bits each,
// the 65,537th glaze of a chart answered as the first).
constexpr std::uint64_t ChartCellNoticeData(int column, int row)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) | static_cast<std::uint32_t>(row);
}
constexpr int ChartNoticeColumn(std::uint64_t data) { return static_cast<int>(static_cast<std::uint32_t>(data >> 32)); }
constexpr int ChartNoticeRow(std::uint64_t data) { return static_cast<int>(static_cast<std::uint32_t>(data)); }

// A window that a chart is made in (host) or fills (frame); the Qt layer's chart window and
// pages implement it.
class CChartWindow {
public:
    virtual ~CChartWindow() = default;
    // The window's rectangle on the screen, in pixels.
    virtual CCoreRect GetScreenRect() const = 0;
    // The text measures of the window's screen (approximate ones by default).
    virtual const CChartMetrics& GetChartMetrics() const { return GetApproxChartMetrics(); }
};

class CChartEngine {
public:
    virtual ~CChartEngine() = default;

    // --- the engine and its charts ---

    virtual int ChartLibOpen(const std::string& path, const std::string& mode) = 0;
    virtual void ChartLibClose() = 0;
    virtual double ChartGetHostWidth(CChartWindow* host) = 0;
    virtual double ChartGetHostHeight(CChartWindow* host) = 0;
    virtual int ChartCreate(CChartWindow* host, double x, double y, double width, double height, double scale,
                            int style, int options, const std::string& name) = 0;
    virtual void ChartDestroy(int handle) = 0;
    // 0 when the chart exists (it is then selected), else -1 and nothing is selected.
    virtual int ChartSelect(int handle, int unused) = 0;
    virtual void ChartSetAutoRedraw(int on) = 0;
    virtual void ChartRedraw(int mode) = 0;
    virtual void ChartSetupA(int value) = 0;
    virtual void ChartSetupB(int value) = 0;
    virtual void ChartSetupC(int value) = 0;
    virtual void ChartSetPaletteEntry(int index, int red, int green, int blue) = 0;
    virtual void ChartSetNotifyWindow(CChartNotifyTarget* target, unsigned message, unsigned mask) = 0;
    virtual void ChartSetEventWindow(CChartNotifyTarget* target, unsigned message, unsigned mask) = 0;
    virtual int ChartGetWindow(int handle) = 0;
    // The main area's size, and the current area's, in their chart units.
    virtual double ChartGetWidth(int unused1, int unused2) = 0;
    virtual double ChartGetHeight(int unused1, int unused2) = 0;
    virtual double ChartGetAreaWidth() = 0;
    virtual double ChartGetAreaHeight() = 0;
    // The line height of the text font (ChartSetTextFont).
    virtual double ChartGetTextHeight() = 0;

    // --- defining a chart (between ChartDefBegin and ChartDefEnd) ---

    virtual void ChartDefBegin() = 0;
    virtual void ChartDefEnd() = 0;
    virtual void ChartSetData(int points, int sets, std::span<const double> values) = 0;
    // ChartSetData with every value 0 but the given ones: a chart of many sets over many points,
    // most of them empty (every glaze by every material), costs what it holds. The display-list
    // engine keeps it so; an engine without it is given every value.
    virtual void ChartSetSparseData(int points, int sets, std::span<const CChartValueAt> values)
    {
        std::vector<double> all(static_cast<std::size_t>(std::max(points, 0)) * static_cast<std::size_t>(std::max(sets, 0)));
        for (const CChartValueAt& v : values) {
            if (v.point >= 0 && v.point < points && v.set >= 0 && v.set < sets)
                all[static_cast<std::size_t>(v.point) * static_cast<std::size_t>(sets) + static_cast<std::size_t>(v.set)] = v.value;
        }
        ChartSetData(points, sets, all);
    }
    virtual void ChartSetXData(int count, std::span<const double> values) = 0;
    virtual void ChartSetZData(int count, std::span<const double> values) = 0;
    virtual void ChartSetPointFlags(int count, std::span<const int> flags) = 0;
    virtual void ChartSetColors(int count, std::span<const int> colors) = 0;
    virtual void ChartSetPatterns(int count, std::span<const int> patterns) = 0;
    virtual void ChartSetSymbols(int count, std::span<const int> symbols) = 0;
    virtual void ChartSetPointLabels(int count, std::span<const std::string> labels) = 0;
    virtual void ChartSetLegend(int count, std::span<const std::string> labels) = 0;
    virtual void ChartSetTitleA(const std::string& text) = 0; // top
    virtual void ChartSetTitleB(const std::string& text) = 0; // bottom
    virtual void ChartSetTitleC(const std::string& text) = 0; // left
    virtual void ChartSetTitleD(const std::string& text) = 0; // right
    virtual void ChartSetSideTitleStyle(int style, int unused) = 0;
    virtual void ChartSetAxisX(int flags, int ticks, int unused, double max, double min) = 0;
    virtual void ChartSetAxisY(int flags, int ticks, int unused, double max, double min) = 0;
    virtual void ChartSetAxisZ(int flags, int ticks, int unused, double max, double min) = 0;
    virtual void ChartSetMinorTicks(int axis, int count) = 0;
    virtual void ChartSetAxisFormat(int axis, const std::string& format) = 0;
    virtual void ChartSetFont(int group, int family, int style, int sizePercent) = 0;
    virtual void ChartSetThin(int thin, int unused1, int unused2) = 0;
    virtual void ChartSetView(int mode, int rotation, int elevation, int eye) = 0;
    virtual void ChartSetDepth(int mode, int depth, int xGap, int zGap) = 0;
    virtual void ChartSetTriaxial(int a, int b) = 0;
    virtual void ChartSetBarGap(int gap) = 0;
    virtual void ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns) = 0;
    // Lays out and draws the chart as defined so far.
    virtual void ChartSetKind(int kind, int options, int flags) = 0;
    // Lays the chart out as ChartSetKind would and answers ChartGetLayout so, drawing nothing:
    // a builder plans its definition by the plot it would get.
    virtual void ChartPlanKind(int kind, int options, int flags) = 0;
    // The room a value axis of its own needs (CChartAxisRoom): upward or lying, its ticks
    // reaching `tickReach` toward its numbers, the numbers in font `font`.
    virtual CChartAxisRoom ChartMeasureValueAxis(int font, bool upward, double tickReach,
                                                 std::span<const std::string> numbers) = 0;
    virtual double ChartGetLayout(int selector) = 0;

    // --- drawing on a chart (in the current area's units) ---

    virtual void ChartDrawLine(double x1, double y1, double x2, double y2, int width, int style, int color) = 0;
    virtual void ChartDrawText(double x, double y, int font, int align, int color, const std::string& text) = 0;
    virtual double ChartMeasureTextHeight(int font, int flags, const std::string& text) = 0;
    virtual double ChartMeasureTextWidth(int font, int flags, const std::string& text) = 0;
    virtual void ChartSetTextFont(int family, int style, int sizePercent, int unused) = 0;
    virtual void ChartSetMarkerSize(double size) = 0;
    virtual void ChartDrawSymbol(double x, double y, int symbol, int color) = 0;
    // A shape of a x b values: a polygon of a corners (b = 2) for the box calls, a points of b
    // series for ChartDrawMarkers.
    virtual void ChartSetShapeKind(int a, int b) = 0;
    virtual void ChartSetShapeGeometry(int a, int b, std::span<const double> values) = 0;
    virtual void ChartSetBoxStyle(int a, int b, int c, int d) = 0;
    virtual void ChartSetFillColor(int color) = 0;
    // Draws the shape as a box in the fill colour with a thin border; it becomes an object.
    virtual void ChartSetBoxBorder() = 0;
    // The id of the last object drawn (from 1 on; 0 before any).
    virtual int ChartGetObjectId() = 0;
    virtual void ChartSetMarkerX(int count, std::span<const double> x) = 0;
    virtual void ChartSetMarkerColors(int count, std::span<const int> colors) = 0;
    virtual void ChartSetMarkerSymbols(int count, std::span<const int> symbols) = 0;
    virtual void ChartSetMarkerFlags(int count, std::span<const int> flags) = 0;
    virtual void ChartDrawMarkers(double left, double bottom, int flags, int unused) = 0;
    virtual void ChartDrawValueAxis(double x, double y, double length, double tickLength, int ticks, int mode) = 0;
    virtual void ChartSetAxisPartA(double x, double y, double step, int count, int font, int align,
                                   std::span<const std::string> labels) = 0;
    virtual void ChartSetAxisPartB(double x, double y, double step, int count, int font, int align,
                                   std::span<const std::string> labels) = 0;
    virtual int ChartSetBackgroundImage(double left, double bottom, double width, double height, int fit, int layer,
                                        const std::string& file) = 0;
    virtual void ChartCall261(double x, double y, double width, double height) = 0;
    virtual int ChartBeginSubArea(int handle, double x, double y, double width, double height, double scale) = 0;
    virtual void ChartEndSubArea(int handle, int area, int unused) = 0;

    // --- mouse events and output ---

    // A mouse event the host window saw at a pixel of the chart's grid: it becomes the chart's
    // last event and its notices (the notified windows may destroy the chart).
    virtual void ChartMouseEvent(int handle, int eventCode, double pixelX, double pixelY) = 0;
    virtual int ChartGetLastEvent() = 0;
    virtual double ChartGetEventX() = 0;
    virtual double ChartGetEventY() = 0;
    virtual int ChartCopyToClipboard(int format, int unused) = 0;
    virtual int ChartExportFile(int format, int unused, const std::string& file) = 0;
    // Why the last ChartExportFile failed, in sentences for the user ("It is not a regular
    // file."); empty when it gave no reason.
    virtual std::string ChartExportFailure() const { return std::string(); }

    // The drawn picture of a chart, for the windows that paint and print it; null when the
    // engine keeps none.
    virtual const CChart* FindChart(int handle) const = 0;
};

// The program's engine; null when none is installed (then no chart is ever made).
CChartEngine* GetChartEngine();
void SetChartEngine(CChartEngine* engine);
