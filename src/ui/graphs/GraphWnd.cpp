#include "graphs/GraphWnd.h"

#include "framework/PixelRatio.h"
#include "graphs/Chart.h"
#include "graphs/ChartCanvasQt.h"
#include "shell/Preferences.h"
#include "support/MessagePath.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

CCoreRect ScreenRectOf(const QWidget& widget)
{
    const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), origin.x() + widget.width(), origin.y() + widget.height()};
}

} // namespace

CCoreRect CWidgetChartWindow::GetScreenRect() const { return m_widget ? ScreenRectOf(*m_widget) : CCoreRect(); }

const CChartMetrics& CWidgetChartWindow::GetChartMetrics() const { return GetQtChartMetrics(); }

CGraphWnd::CGraphWnd(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGraphWnd::SetGraph(CGraph* graph)
{
    m_pGraph = graph;
    m_chartHandle = graph ? graph->GetChartHandle() : -1;
    m_picture = QImage();
    update();
}

int CGraphWnd::BuildGraph(CGraph& graph, CChartNotifyTarget* notify, CGlazesDoc* glazeDb, CGlaze* glaze)
{
    return graph.Build(this, this, notify, glazeDb, glaze);
}

CCoreRect CGraphWnd::GetScreenRect() const { return ScreenRectOf(*this); }

const CChartMetrics& CGraphWnd::GetChartMetrics() const { return GetQtChartMetrics(); }

CChartEngine* CGraphWnd::SelectChart() const
{
    CChartEngine* engine = GetChartEngine();
    if (m_chartHandle < 0 || !engine || engine->ChartSelect(m_chartHandle, 0) != 0)
        return nullptr;
    return engine;
}

const CChart* CGraphWnd::Chart() const
{
    CChartEngine* engine = GetChartEngine();
    return m_chartHandle >= 0 && engine ? engine->FindChart(m_chartHandle) : nullptr;
}

void CGraphWnd::Paint(QPainter& painter)
{
    const CChart* chart = SelectChart() ? Chart() : nullptr;
    if (!chart) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const qreal ratio = PixelRatioOf(painter);
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    if (m_picture.size() != pixels || m_picture.devicePixelRatioF() != ratio) {
        m_picture = QImage(pixels, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::white); // under a fraction of a pixel the chart leaves at the edges
        PaintChartImage(*chart, m_picture, QRectF(rect()));
        ++m_picturesDrawn;
    }
    painter.drawImage(QPointF(0.0, 0.0), m_picture);
}

void CGraphWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void CGraphWnd::SendMouseEvent(int code, const QPointF& position)
{
    CChartEngine* engine = GetChartEngine();
    if (m_chartHandle < 0 || !engine || width() < 1 || height() < 1)
        return;
    // The window may have been resized since the chart was made: scale to the chart's grid. The
    // host may replace the graph while it handles the notice; nothing here is used after it.
    const CChart* chart = Chart();
    const double sx = chart ? chart->PixelWidth() / width() : 1.0;
    const double sy = chart ? chart->PixelHeight() / height() : 1.0;
    engine->ChartMouseEvent(m_chartHandle, code, position.x() * sx, position.y() * sy);
}

void CGraphWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SendMouseEvent(kChartEventLeftPressed, event->position());
    else if (event->button() == Qt::RightButton)
        SendMouseEvent(kChartEventRightPressed, event->position());
}

void CGraphWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        SendMouseEvent(kChartEventReleased, event->position());
}

void CGraphWnd::DrawToDC(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Printer)
        return;
    const QRectF target = PrintTarget(*device);
    if (!target.isEmpty())
        PaintChart(*Chart(), painter, target);
}

QRectF CGraphWnd::PrintTarget(const QPaintDevice& device) const
{
    CChartEngine* engine = SelectChart();
    const CChart* chart = engine ? Chart() : nullptr;
    const double chartHeight = engine ? engine->ChartGetHeight(0, 0) : 0.0;
    if (!chart || !(chartHeight > 0.0))
        return QRectF();
    const double aspect = engine->ChartGetWidth(0, 0) / chartHeight;
    const double dpiX = device.logicalDpiX() / 1000.0;
    const double dpiY = device.logicalDpiY() / 1000.0;
    double left = g_prefs.prtlmar * dpiX;
    double top = g_prefs.prttmar * dpiY;
    const double w = device.width() - g_prefs.prtrmar * dpiX - left;
    const double h = device.height() - g_prefs.prtbmar * dpiY - top;
    if (!(w >= 1.0) || !(h >= 1.0) || !(aspect > 0.0))
        return QRectF();
    if (w / h < aspect) {
        top += std::trunc((h - w / aspect) * 0.5);
        return QRectF(left, top, w, std::trunc(w / aspect));
    }
    left += std::trunc((w - h * aspect) * 0.5);
    return QRectF(left, top, std::trunc(h * aspect), h);
}

std::string CGraphWnd::CopyOrWriteGraph(const std::string& fileName, int format)
{
    CChartEngine* engine = SelectChart();
    if (fileName.empty()) {
        if (!engine || engine->ChartCopyToClipboard(5, 0) != 0)
            return "Error writing to clipboard";
        return std::string();
    }
    if (!engine)
        return "Error writing file " + MessagePath(fileName);
    if (engine->ChartExportFile(format, 0, fileName) != 0) {
        const std::string reason = engine->ChartExportFailure();
        return "Error writing file " + MessagePath(fileName) + (reason.empty() ? std::string() : "\n\n" + reason);
    }
    return std::string();
}

int CGraphWnd::GetLastMouseEvent(QPoint& point) const
{
    const CCoreRect r = GetScreenRect();
    point = QPoint(r.left, r.top);
    CChartEngine* engine = SelectChart();
    if (!engine)
        return 0;
    const double areaWidth = engine->ChartGetAreaWidth();
    const double areaHeight = engine->ChartGetAreaHeight();
    const int code = engine->ChartGetLastEvent();
    if (!(areaWidth > 0.0) || !(areaHeight > 0.0))
        return code;
    const double x = engine->ChartGetEventX() / areaWidth * r.Width();
    const double y = (1.0 - engine->ChartGetEventY() / areaHeight) * r.Height();
    point = QPoint(r.left + static_cast<int>(std::trunc(x)), r.top + static_cast<int>(std::trunc(y)));
    return code;
}
