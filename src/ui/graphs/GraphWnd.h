#pragma once

// The chart window: the child window in which a graph's chart lives. The graph view, the glaze
// edit view's graph pages and the graph-template editor each embed one, build their CGraph into
// it (BuildGraph, or CGraph::Build with this window as the frame) and attach the built graph
// with SetGraph. Everything it does with the chart goes through the chart engine by the chart's
// handle: it paints the chart's picture, hands mouse presses and releases to the engine (which
// notifies the host), prints the picture into a printer page as vector drawing, copies it to the
// clipboard and writes it as an image file.
//
// Drawing a chart of many thousand glazes from its display list takes seconds, and a window is
// painted whenever it is uncovered, moved or resized. So the window keeps the chart's picture as an
// image of its size at the screen's pixel ratio, drawn when a paint first needs it after the chart
// was attached or the size or ratio changed (on several threads when the chart has thousands of
// primitives, PaintChartImage); every other paint shows that image. Printing and the image files
// draw from the display list, at their own sizes.

#include "graphs/Graph.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <string>

class CGlaze;
class CGlazesDoc;
class QPaintDevice;
class QPainter;

// Export formats of CopyOrWriteGraph.
enum GraphImageFormat : int {
    kGraphImageBitmap = kChartExportBitmap,
    kGraphImageJpeg = kChartExportJpeg,
    kGraphImagePng = kChartExportPng,
};

// A widget as a chart host window (a page or form that holds a chart window).
class CWidgetChartWindow : public CChartWindow {
public:
    explicit CWidgetChartWindow(const QWidget* widget) : m_widget(widget) {}
    CCoreRect GetScreenRect() const override;
    const CChartMetrics& GetChartMetrics() const override;

private:
    const QWidget* m_widget;
};

class CGraphWnd : public QWidget, public CChartWindow {
    Q_OBJECT

public:
    explicit CGraphWnd(QWidget* parent = nullptr);

    // Shows the graph (not owned; null for none). Hosts pass null before they delete a graph.
    void SetGraph(CGraph* graph);
    CGraph* GetGraph() const { return m_pGraph; }
    int GetChartHandle() const { return m_chartHandle; }

    // Builds the graph with this window as host and frame; returns CGraph::Build's result.
    int BuildGraph(CGraph& graph, CChartNotifyTarget* notify, CGlazesDoc* glazeDb, CGlaze* glaze);

    // The chart's picture, drawn anew when it is not the attached chart's at the window's size and
    // the painter's pixel ratio; black without a chart.
    void Paint(QPainter& painter);
    // How many times the chart's picture has been drawn from its display list.
    int PicturesDrawn() const { return m_picturesDrawn; }
    // The chart's picture as the engine keeps it, null without one.
    const CChart* Chart() const;
    void HideChart() { hide(); }
    void ShowChart() { show(); }

    // Prints the chart on a printer (or preview) page: inside the print margins of the
    // preferences, as large as its aspect allows, centred, as vector drawing. Nothing on other
    // devices, and nothing on a page without room.
    void DrawToDC(QPainter& painter);
    // Where DrawToDC puts the chart on the device's page; empty without a chart or room.
    QRectF PrintTarget(const QPaintDevice& device) const;
    // Copies the chart to the clipboard (empty file name) or writes it in the format; an empty
    // text, or "Error writing to clipboard" / "Error writing file " and the file name, followed by
    // the safe save's reason on a paragraph of its own when it gives one.
    std::string CopyOrWriteGraph(const std::string& fileName, int format);
    // The last mouse event's code (kChartEventRightPressed, kChartEventReleased ...) and its
    // place on the screen; 0 and the window's corner without a chart.
    int GetLastMouseEvent(QPoint& point) const;

    CCoreRect GetScreenRect() const override;
    const CChartMetrics& GetChartMetrics() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The engine with this window's chart selected; null without a chart.
    CChartEngine* SelectChart() const;
    void SendMouseEvent(int code, const QPointF& position);

    CGraph* m_pGraph = nullptr;
    int m_chartHandle = -1;
    QImage m_picture;          // the attached chart's picture, null when none was drawn since
    int m_picturesDrawn = 0;
};
