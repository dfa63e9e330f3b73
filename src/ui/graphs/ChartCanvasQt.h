#pragma once

// The chart layer's device on Qt: text measures with QFontMetricsF and drawing with a QPainter
// on any paint device (a widget, an image, a printer page).

#include "graphs/ChartCanvas.h"

#include <QFont>
#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

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
// Windows-1252 text (FileNameFromCp1252). Each file is decoded once while it stays unchanged.
QImage BackgroundImage(const std::string& file);

// The program's one CQtChartMetrics.
const CChartMetrics& GetQtChartMetrics();

// Draws on the painter as it stands when the canvas is made (its transform is the chart's pixel
// grid). Every call sets the pen, brush and font it uses; nothing else of the painter changes.
class CQtChartCanvas : public CChartCanvas {
public:
    explicit CQtChartCanvas(QPainter& painter);

    void FillBackground(CColor color) override;
    void DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                     double outlineWidth) override;
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

    QPainter& m_painter;
    QTransform m_grid; // the painter's transform: the chart's pixel grid
    std::vector<CFace> m_faces;
    QPolygonF m_polygon; // the latest polygon's points, its room kept for the next
};

// Draws the chart scaled from its pixel grid onto target (in the painter's coordinates).
void PaintChart(const CChart& chart, QPainter& painter, const QRectF& target);
// The chart as an image of its own pixel size.
QImage RenderChartImage(const CChart& chart);
