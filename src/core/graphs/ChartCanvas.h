#pragma once

// The two small interfaces through which a chart (graphs/Chart.h) meets a device.
//
// CChartMetrics measures texts while a chart is defined: the chart lays itself out with it, so
// layout, geometry and hit tests run in the core (tests give fake metrics). CChartCanvas draws a
// finished chart: the chart replays its drawn primitives on it. The Qt layer implements both
// with QFontMetricsF and QPainter (ui/graphs/ChartCanvas.h).
//
// Canvas coordinates are pixels of the chart's own grid (its size when it was made), x to the
// right and y downward; a device of another size (a printer page, a larger image) scales the
// grid with its own transform, so texts and lines keep their proportions.

#include "shell/NamedColors.h"

#include <string>
#include <vector>

// A text face: family 0 none (the device's default face), 1 Roman, 2 Swiss, 3 Modern (fixed
// pitch), 4 Script, 5 Decorative; style bits 16 italic and 32 bold; the size in pixels of the
// chart's grid.
struct CChartFont {
    static constexpr int kItalic = 16;
    static constexpr int kBold = 32;

    int family = 0;
    int style = 0;
    double pixelSize = 12.0;

    bool IsItalic() const { return (style & kItalic) != 0; }
    bool IsBold() const { return (style & kBold) != 0; }
    bool operator==(const CChartFont&) const = default;
};

struct CChartPointD {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const CChartPointD&) const = default;
};

// Fill patterns of polygons (the chart's pattern numbers): 0 solid, 1 no fill (the outline
// alone), 2 horizontal, 3 vertical, 4 rising and 5 falling diagonal hatches, 6 a cross, 7 a
// diagonal cross, 8 and above dots. A hatch is drawn in the fill colour on white.
enum ChartPattern : int {
    kChartPatternSolid = 0,
    kChartPatternHollow = 1,
};

class CChartMetrics {
public:
    virtual ~CChartMetrics() = default;
    // The advance width of the text and the height of a line (ascent plus descent), in pixels.
    virtual double TextWidth(const CChartFont& font, const std::string& text) const = 0;
    virtual double TextHeight(const CChartFont& font) const = 0;
    // True when the file is an image the device can read (a chart's background image). Here:
    // when it is a regular file that opens for reading.
    virtual bool CanReadImage(const std::string& path) const;
};

// Metrics of an average proportional face for charts made without a screen: every character
// 0.55 of the size wide, lines 1.2 of the size high.
class CChartApproxMetrics : public CChartMetrics {
public:
    double TextWidth(const CChartFont& font, const std::string& text) const override;
    double TextHeight(const CChartFont& font) const override;
};

// A program-wide CChartApproxMetrics.
const CChartMetrics& GetApproxChartMetrics();

class CChartCanvas {
public:
    virtual ~CChartCanvas() = default;
    // Paints the whole chart with the colour.
    virtual void FillBackground(CColor color) = 0;
    // A closed polygon: filled by the pattern in the colour (pattern 1: not filled), then
    // outlined when outlineWidth is above 0.
    virtual void DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                             double outlineWidth) = 0;
    // The same polygon drawn `times` times over, one after another (a run of slim rows draws its
    // face so, see kRunLayers): the picture of as many DrawPolygon calls, which a device may draw
    // in one go.
    virtual void DrawPolygonTimes(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                                  double outlineWidth, int times)
    {
        for (int k = 0; k < times; ++k)
            DrawPolygon(points, fill, pattern, outline, outlineWidth);
    }
    // An open line; dash 0 solid, 1 dashed, 2 dotted.
    virtual void DrawPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash) = 0;
    // One line of text whose top-left corner, before turning, lies at (x, y); angle 90 turns it
    // counter-clockwise about that corner (reading upward), 270 clockwise (reading downward).
    virtual void DrawText(const std::string& text, const CChartFont& font, CColor color, double x, double y,
                          int angle) = 0;
    // The image file stretched over the rectangle; nothing when it cannot be read.
    virtual void DrawImage(const std::string& path, double left, double top, double width, double height) = 0;
};
