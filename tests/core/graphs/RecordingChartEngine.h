#pragma once

// A chart engine that draws nothing and writes down every call, one line each, such as
// "ChartSetKind(3, 12, 32)" or "ChartSetData(2, 1, [3 0.4])": the builder tests compare these
// lines with the calls the graph Parts prescribe. Queries answer the values set in the public
// members below. Installed for its lifetime.

#include "graphs/ChartEngine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <regex>
#include <span>
#include <string>
#include <vector>

class CRecordingChartEngine : public CChartEngine {
public:
    CRecordingChartEngine() : m_previous(GetChartEngine()) { SetChartEngine(this); }
    ~CRecordingChartEngine() override { SetChartEngine(m_previous); }

    // The calls whose names start with prefix (all of them for an empty prefix).
    std::vector<std::string> Calls(const std::string& prefix = "") const
    {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (call.compare(0, prefix.size(), prefix) == 0)
                out.push_back(call);
        }
        return out;
    }
    // The calls from the first one that starts with `from` to the end.
    std::vector<std::string> CallsFrom(const std::string& from) const
    {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (!out.empty() || call.compare(0, from.size(), from) == 0)
                out.push_back(call);
        }
        return out;
    }

    static std::string Text(double v)
    {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        return std::string(buffer, result.ptr);
    }
    // A recorded call with its numbers of seven or more decimals rounded to millionths, so
    // tests compare worked figures without the last bits of the floating point.
    static std::string Rounded(const std::string& call)
    {
        static const std::regex number(R"(-?\d+\.\d{7,}(e-?\d+)?)");
        std::string out;
        auto at = call.cbegin();
        for (std::sregex_iterator i(call.begin(), call.end(), number), end; i != end; ++i) {
            out.append(at, (*i)[0].first);
            const double rounded = std::round(std::stod(i->str()) * 1e6) / 1e6;
            out += Text(rounded == 0.0 ? 0.0 : rounded);
            at = (*i)[0].second;
        }
        return out.append(at, call.cend());
    }
    static std::string Text(int v) { return std::to_string(v); }
    static std::string Text(unsigned v) { return std::to_string(v); }
    static std::string Text(const std::string& v) { return "\"" + v + "\""; }
    static std::string Text(const void* p) { return p ? "window" : "null"; }
    static std::string Text(const CChartValueAt& v) { return Text(v.point) + ":" + Text(v.set) + "=" + Text(v.value); }
    template <typename T>
    static std::string Text(std::span<const T> values)
    {
        std::string text = "[";
        for (std::size_t i = 0; i < values.size(); ++i)
            text += (i ? " " : "") + Text(values[i]);
        return text + "]";
    }

    std::vector<std::string> calls;
    int nextHandle = 0;
    int createResult = 0;       // a negative value makes ChartCreate fail
    double hostWidth = -1.0;    // below 0: the host's pixel width
    double hostHeight = -1.0;
    double textHeight = 20.0;   // every measured line
    double charWidth = 10.0;    // every measured character
    double width = 1500.0;      // main area and current area
    double height = 1000.0;
    std::map<int, double> layout;
    int objectId = 7;
    int lastEvent = 0;
    double eventX = 0.0;
    double eventY = 0.0;
    int outputResult = 0;
    int openResult = 0;

    int ChartLibOpen(const std::string& path, const std::string& mode) override
    {
        return Log(openResult, "ChartLibOpen", path, mode);
    }
    void ChartLibClose() override { Log(0, "ChartLibClose"); }
    double ChartGetHostWidth(CChartWindow* host) override
    {
        Log(0, "ChartGetHostWidth", static_cast<const void*>(host));
        return hostWidth >= 0.0 || !host ? hostWidth : host->GetScreenRect().Width();
    }
    double ChartGetHostHeight(CChartWindow* host) override
    {
        Log(0, "ChartGetHostHeight", static_cast<const void*>(host));
        return hostHeight >= 0.0 || !host ? hostHeight : host->GetScreenRect().Height();
    }
    int ChartCreate(CChartWindow* host, double x, double y, double w, double h, double scale, int style, int options,
                    const std::string& name) override
    {
        Log(0, "ChartCreate", static_cast<const void*>(host), x, y, w, h, scale, style, options, name);
        return createResult < 0 ? createResult : nextHandle++;
    }
    void ChartDestroy(int handle) override { Log(0, "ChartDestroy", handle); }
    int ChartSelect(int handle, int unused) override { return Log(0, "ChartSelect", handle, unused); }
    void ChartSetAutoRedraw(int on) override { Log(0, "ChartSetAutoRedraw", on); }
    void ChartRedraw(int mode) override { Log(0, "ChartRedraw", mode); }
    void ChartSetupA(int v) override { Log(0, "ChartSetupA", v); }
    void ChartSetupB(int v) override { Log(0, "ChartSetupB", v); }
    void ChartSetupC(int v) override { Log(0, "ChartSetupC", v); }
    void ChartSetPaletteEntry(int i, int r, int g, int b) override { Log(0, "ChartSetPaletteEntry", i, r, g, b); }
    void ChartSetNotifyWindow(CChartNotifyTarget* t, unsigned message, unsigned mask) override
    {
        Log(0, "ChartSetNotifyWindow", static_cast<const void*>(t), message, mask);
    }
    void ChartSetEventWindow(CChartNotifyTarget* t, unsigned message, unsigned mask) override
    {
        Log(0, "ChartSetEventWindow", static_cast<const void*>(t), message, mask);
    }
    int ChartGetWindow(int handle) override { return Log(0, "ChartGetWindow", handle); }
    double ChartGetWidth(int a, int b) override { return Log(width, "ChartGetWidth", a, b); }
    double ChartGetHeight(int a, int b) override { return Log(height, "ChartGetHeight", a, b); }
    double ChartGetAreaWidth() override { return Log(width, "ChartGetAreaWidth"); }
    double ChartGetAreaHeight() override { return Log(height, "ChartGetAreaHeight"); }
    double ChartGetTextHeight() override { return Log(textHeight, "ChartGetTextHeight"); }

    void ChartDefBegin() override { Log(0, "ChartDefBegin"); }
    void ChartDefEnd() override { Log(0, "ChartDefEnd"); }
    void ChartSetData(int p, int s, std::span<const double> v) override { Log(0, "ChartSetData", p, s, v); }
    void ChartSetSparseData(int p, int s, std::span<const CChartValueAt> v) override
    {
        Log(0, "ChartSetSparseData", p, s, v);
    }
    void ChartSetXData(int n, std::span<const double> v) override { Log(0, "ChartSetXData", n, v); }
    void ChartSetZData(int n, std::span<const double> v) override { Log(0, "ChartSetZData", n, v); }
    void ChartSetPointFlags(int n, std::span<const int> v) override { Log(0, "ChartSetPointFlags", n, v); }
    void ChartSetColors(int n, std::span<const int> v) override { Log(0, "ChartSetColors", n, v); }
    void ChartSetPatterns(int n, std::span<const int> v) override { Log(0, "ChartSetPatterns", n, v); }
    void ChartSetSymbols(int n, std::span<const int> v) override { Log(0, "ChartSetSymbols", n, v); }
    void ChartSetPointLabels(int n, std::span<const std::string> v) override { Log(0, "ChartSetPointLabels", n, v); }
    void ChartSetLegend(int n, std::span<const std::string> v) override { Log(0, "ChartSetLegend", n, v); }
    void ChartSetTitleA(const std::string& t) override { Log(0, "ChartSetTitleA", t); }
    void ChartSetTitleB(const std::string& t) override { Log(0, "ChartSetTitleB", t); }
    void ChartSetTitleC(const std::string& t) override { Log(0, "ChartSetTitleC", t); }
    void ChartSetTitleD(const std::string& t) override { Log(0, "ChartSetTitleD", t); }
    void ChartSetSideTitleStyle(int s, int u) override { Log(0, "ChartSetSideTitleStyle", s, u); }
    void ChartSetAxisX(int f, int t, int u, double max, double min) override { Log(0, "ChartSetAxisX", f, t, u, max, min); }
    void ChartSetAxisY(int f, int t, int u, double max, double min) override { Log(0, "ChartSetAxisY", f, t, u, max, min); }
    void ChartSetAxisZ(int f, int t, int u, double max, double min) override { Log(0, "ChartSetAxisZ", f, t, u, max, min); }
    void ChartSetMinorTicks(int axis, int n) override { Log(0, "ChartSetMinorTicks", axis, n); }
    void ChartSetAxisFormat(int axis, const std::string& f) override { Log(0, "ChartSetAxisFormat", axis, f); }
    void ChartSetFont(int g, int f, int s, int z) override { Log(0, "ChartSetFont", g, f, s, z); }
    void ChartSetThin(int t, int a, int b) override { Log(0, "ChartSetThin", t, a, b); }
    void ChartSetView(int m, int r, int e, int eye) override { Log(0, "ChartSetView", m, r, e, eye); }
    void ChartSetDepth(int m, int d, int x, int z) override { Log(0, "ChartSetDepth", m, d, x, z); }
    void ChartSetTriaxial(int a, int b) override { Log(0, "ChartSetTriaxial", a, b); }
    void ChartSetBarGap(int gap) override { Log(0, "ChartSetBarGap", gap); }
    void ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns) override
    {
        Log(0, "ChartKeepRoomForEnds", foot, far, columns);
    }
    void ChartSetKind(int kind, int options, int flags) override { Log(0, "ChartSetKind", kind, options, flags); }
    void ChartPlanKind(int kind, int options, int flags) override { Log(0, "ChartPlanKind", kind, options, flags); }
    // Numbers an eighth of a line beyond the ticks.
    CChartAxisRoom ChartMeasureValueAxis(int font, bool upward, double tickReach,
                                         std::span<const std::string> numbers) override
    {
        Log(0, "ChartMeasureValueAxis", font, upward ? 1 : 0, tickReach, numbers);
        std::size_t widest = 0;
        for (const std::string& number : numbers)
            widest = std::max(widest, number.size());
        const double gap = textHeight / 8.0, away = tickReach + gap;
        return {away, gap, away + (upward ? charWidth * static_cast<double>(widest) : textHeight), away + textHeight,
                textHeight, charWidth, textHeight + (upward ? charWidth : 1.0)};
    }
    double ChartGetLayout(int s) override
    {
        const auto found = layout.find(s);
        return Log(found == layout.end() ? 0.0 : found->second, "ChartGetLayout", s);
    }

    void ChartDrawLine(double x1, double y1, double x2, double y2, int w, int s, int c) override
    {
        Log(0, "ChartDrawLine", x1, y1, x2, y2, w, s, c);
    }
    void ChartDrawText(double x, double y, int f, int a, int c, const std::string& t) override
    {
        Log(0, "ChartDrawText", x, y, f, a, c, t);
    }
    double ChartMeasureTextHeight(int f, int flags, const std::string& t) override
    {
        return Log(textHeight, "ChartMeasureTextHeight", f, flags, t);
    }
    double ChartMeasureTextWidth(int f, int flags, const std::string& t) override
    {
        return Log(charWidth * static_cast<double>(t.size()), "ChartMeasureTextWidth", f, flags, t);
    }
    void ChartSetTextFont(int f, int s, int z, int u) override { Log(0, "ChartSetTextFont", f, s, z, u); }
    void ChartSetMarkerSize(double s) override { Log(0, "ChartSetMarkerSize", s); }
    void ChartDrawSymbol(double x, double y, int s, int c) override { Log(0, "ChartDrawSymbol", x, y, s, c); }
    void ChartSetShapeKind(int a, int b) override { Log(0, "ChartSetShapeKind", a, b); }
    void ChartSetShapeGeometry(int a, int b, std::span<const double> v) override { Log(0, "ChartSetShapeGeometry", a, b, v); }
    void ChartSetBoxStyle(int a, int b, int c, int d) override { Log(0, "ChartSetBoxStyle", a, b, c, d); }
    void ChartSetFillColor(int c) override { Log(0, "ChartSetFillColor", c); }
    void ChartSetBoxBorder() override { Log(0, "ChartSetBoxBorder"); }
    int ChartGetObjectId() override { return Log(objectId, "ChartGetObjectId"); }
    void ChartSetMarkerX(int n, std::span<const double> v) override { Log(0, "ChartSetMarkerX", n, v); }
    void ChartSetMarkerColors(int n, std::span<const int> v) override { Log(0, "ChartSetMarkerColors", n, v); }
    void ChartSetMarkerSymbols(int n, std::span<const int> v) override { Log(0, "ChartSetMarkerSymbols", n, v); }
    void ChartSetMarkerFlags(int n, std::span<const int> v) override { Log(0, "ChartSetMarkerFlags", n, v); }
    void ChartDrawMarkers(double l, double b, int f, int u) override { Log(0, "ChartDrawMarkers", l, b, f, u); }
    void ChartDrawValueAxis(double x, double y, double len, double tick, int n, int mode) override
    {
        Log(0, "ChartDrawValueAxis", x, y, len, tick, n, mode);
    }
    void ChartSetAxisPartA(double x, double y, double step, int n, int f, int a, std::span<const std::string> v) override
    {
        Log(0, "ChartSetAxisPartA", x, y, step, n, f, a, v);
    }
    void ChartSetAxisPartB(double x, double y, double step, int n, int f, int a, std::span<const std::string> v) override
    {
        Log(0, "ChartSetAxisPartB", x, y, step, n, f, a, v);
    }
    int ChartSetBackgroundImage(double l, double b, double w, double h, int f, int layer, const std::string& file) override
    {
        return Log(outputResult, "ChartSetBackgroundImage", l, b, w, h, f, layer, file);
    }
    void ChartCall261(double x, double y, double w, double h) override { Log(0, "ChartCall261", x, y, w, h); }
    int ChartBeginSubArea(int handle, double x, double y, double w, double h, double s) override
    {
        return Log(1, "ChartBeginSubArea", handle, x, y, w, h, s);
    }
    void ChartEndSubArea(int handle, int area, int u) override { Log(0, "ChartEndSubArea", handle, area, u); }

    void ChartMouseEvent(int handle, int code, double x, double y) override { Log(0, "ChartMouseEvent", handle, code, x, y); }
    int ChartGetLastEvent() override { return Log(lastEvent, "ChartGetLastEvent"); }
    double ChartGetEventX() override { return Log(eventX, "ChartGetEventX"); }
    double ChartGetEventY() override { return Log(eventY, "ChartGetEventY"); }
    int ChartCopyToClipboard(int f, int u) override { return Log(outputResult, "ChartCopyToClipboard", f, u); }
    int ChartExportFile(int f, int u, const std::string& file) override
    {
        return Log(outputResult, "ChartExportFile", f, u, file);
    }
    const CChart* FindChart(int) const override { return nullptr; }

private:
    template <typename R, typename... Args>
    R Log(R result, const char* name, const Args&... args)
    {
        std::string line = std::string(name) + "(";
        bool first = true;
        ((line += (first ? "" : ", ") + Text(args), first = false), ...);
        calls.push_back(line + ")");
        return result;
    }

    CChartEngine* m_previous;
};
