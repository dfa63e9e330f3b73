#pragma once

// The chart layer's device on Qt: text measures with QFontMetricsF and drawing with a QPainter
// on any paint device (a widget, an image, a printer page).

#include "graphs/ChartCanvas.h"

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QImage>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QTransform>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

class CChart;
class QPainter;

// The face of a chart font: its family kind, bold and italic style, and pixel size.
QFont QFontFromChartFont(const CChartFont& font);

class CQtChartMetrics : public CChartMetrics {
public:
    double TextWidth(const CChartFont& font, const std::string& text) const override;
    double TextHeight(const CChartFont& font) const override;
    // True when the file decodes as an image (BackgroundImage).
    bool CanReadImage(const std::string& path) const override;
};

// A chart's background image file decoded, or a null image when it cannot be used (no regular
// file, not an image, damaged, too large). The file is named as a graph template keeps it, in
// Windows-1252 text (FileNameFromCp1252). Each file is decoded once while it stays unchanged;
// any thread may ask.
QImage BackgroundImage(const std::string& file);

// The program's one CQtChartMetrics.
const CChartMetrics& GetQtChartMetrics();

// The pixels of the 32-bit image a painter draws on, and the device pixels it may draw there
// (its clip). A background image is stretched onto them pixel by pixel, each pixel found from its
// own place alone: Qt steps through the image row after row from the clip's edge, so that a
// picture drawn in strips showed the next row of the image along a strip's edge at some pixel
// ratios.
struct CQtChartRaster {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    QRect clip;

    // Whether the canvas stretches a background image onto an image of this format itself (its
    // 32-bit formats, premultiplied or opaque): only such a picture comes out the same drawn in
    // strips (PaintChartImage) as drawn whole.
    static bool Takes(QImage::Format format);
    // The image's pixels when the painter paints on an image it takes (else none), the clip the
    // chart's rectangle in its pixel grid as the painter maps it.
    static CQtChartRaster Of(QPainter& painter, double chartWidth, double chartHeight);
};

// Draws on the painter as it stands when the canvas is made (its transform is the chart's pixel
// grid). Every call sets the pen, brush and font it uses; nothing else of the painter changes.
// Plain fills (see DrawPolygon) go to `plain` when given: a painter of the same device, transform
// and clip without antialiasing, so that the painter's antialiasing is not turned off and on for
// each polygon (which sets its clip anew). Images go to `raster` when given.
class CQtChartCanvas : public CChartCanvas {
public:
    explicit CQtChartCanvas(QPainter& painter, QPainter* plain = nullptr, const CQtChartRaster& raster = {});

    void FillBackground(CColor color) override;
    void DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                     double outlineWidth) override;
    void DrawPolygonTimes(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                          double outlineWidth, int times) override;
    void DrawPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash) override;
    void DrawText(const std::string& text, const CChartFont& font, CColor color, double x, double y, int angle) override;
    void DrawImage(const std::string& path, double left, double top, double width, double height) override;

private:
    // A chart font as Qt draws it, made once per canvas.
    struct CFace {
        CChartFont font;
        QFont face;
        double ascent;
    };
    const CFace& FaceOf(const CChartFont& font);
    const QPolygonF& ToPolygon(const std::vector<CChartPointD>& points);
    // A pen or brush of each colour made once per canvas: each made anew allocates, and the boxes
    // of many thousand glazes share a few hundred colours.
    const QPen& PenOf(CColor color, double width);
    const QBrush& BrushOf(CColor color, Qt::BrushStyle style);
    // Whether the canvas draws an outline of the pen itself (see DrawOutline in the source).
    bool DrawsOutline(const QPen& pen) const;
    // Draws the polygon's outline with the pen (see DrawOutline in the source): `times` times over,
    // where the canvas draws it itself, over the polygon filled once.
    void DrawOutline(const QPolygonF& polygon, const QPen& pen, int times = 1);

    QPainter& m_painter;
    QPainter* m_plain;
    CQtChartRaster m_raster;
    QTransform m_grid; // the painter's transform: the chart's pixel grid
    // The painter's device transform, and how many device pixels a pixel of the grid is where it
    // only scales and moves (on a screen of pixel ratio 2 and a grid as large as the window, 2);
    // else 0.
    QTransform m_device;
    double m_deviceScale = 0.0;
    std::vector<CFace> m_faces;
    QPolygonF m_polygon; // the latest polygon's points, its room kept for the next
    QPolygonF m_devicePolygon; // the same in device pixels (DrawOutline), its room kept
    // The pixels an outline drawn over again blends again (DrawOutline), their room kept.
    std::vector<std::pair<QRgb*, std::uint32_t>> m_again;
    std::unordered_map<std::uint64_t, QPen> m_pens;
    std::unordered_map<std::uint64_t, QBrush> m_brushes;
};

// Draws the chart scaled from its pixel grid onto target (in the painter's coordinates).
void PaintChart(const CChart& chart, QPainter& painter, const QRectF& target);
// Draws the chart scaled from its pixel grid onto target (in the image's coordinates), the same
// pixels as PaintChart on a painter of the image. A chart of many primitives is drawn in strips
// on several threads at once. Returns the number of parts drawn: 1 when drawn whole.
int PaintChartImage(const CChart& chart, QImage& image, const QRectF& target);
// The chart as an image of its own pixel size.
QImage RenderChartImage(const CChart& chart);
