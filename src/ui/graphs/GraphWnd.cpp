#include "graphs/GraphWnd.h"

#include "graphs/ChartCanvasQt.h"
#include "shell/Preferences.h"

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

const char* FormatName(int format)
{
    switch (format) {
    case kGraphImagePng: return "PNG";
    case kGraphImageJpeg: return "JPG";
    case kGraphImageBitmap: return "BMP";
    default: return nullptr;
    }
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
    update();
}

int CGraphWnd::BuildGraph(CGraph& graph, CChartNotifyTarget* notify, CGlazesDoc* glazeDb, CGlaze* glaze)
{
    return graph.Build(this, this, notify, glazeDb, glaze);
}

CCoreRect CGraphWnd::GetScreenRect() const { return ScreenRectOf(*this); }

const CChartMetrics& CGraphWnd::GetChartMetrics() const { return GetQtChartMetrics(); }

void CGraphWnd::Paint(QPainter& painter)
{
    if (const CChart* chart = m_chartHandle >= 0 ? Chart() : nullptr)
        PaintChart(*chart, painter, QRectF(rect()));
    else
        painter.fillRect(rect(), Qt::black);
}

void CGraphWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void CGraphWnd::SendMouseEvent(int code, const QPointF& position)
{
    CChart* chart = m_pGraph && m_chartHandle >= 0 ? m_pGraph->GetChart() : nullptr;
    if (!chart || width() < 1 || height() < 1)
        return;
    // The window may have been resized since the chart was made: scale to the chart's grid. The
    // host may replace the graph while it handles the notice; nothing here is used after it.
    chart->OnMouseEvent(code, position.x() * chart->PixelWidth() / width(), position.y() * chart->PixelHeight() / height());
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
    const CChart* chart = m_chartHandle >= 0 ? Chart() : nullptr;
    QPaintDevice* device = painter.device();
    if (!chart || !device || device->devType() != QInternal::Printer)
        return;
    const double aspect = chart->PixelWidth() / chart->PixelHeight();
    const double dpiX = device->logicalDpiX() / 1000.0;
    const double dpiY = device->logicalDpiY() / 1000.0;
    double left = g_prefs.prtlmar * dpiX;
    double top = g_prefs.prttmar * dpiY;
    const double w = std::fabs(device->width() - g_prefs.prtrmar * dpiX - left);
    const double h = std::fabs(device->height() - g_prefs.prtbmar * dpiY - top);
    if (w <= 0.0 || h <= 0.0)
        return;
    QRectF target;
    if (w / h < aspect) {
        top += std::trunc((h - w / aspect) * 0.5);
        target = QRectF(left, top, w, std::trunc(w / aspect));
    } else {
        left += std::trunc((w - h * aspect) * 0.5);
        target = QRectF(left, top, std::trunc(h * aspect), h);
    }
    PaintChart(*chart, painter, target);
}

std::string CGraphWnd::CopyOrWriteGraph(const std::string& fileName, int format)
{
    const CChart* chart = m_chartHandle >= 0 ? Chart() : nullptr;
    if (fileName.empty()) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!chart || !clipboard)
            return "Error writing to clipboard";
        clipboard->setImage(RenderChartImage(*chart));
        return std::string();
    }
    const char* formatName = FormatName(format);
    if (!chart || !formatName ||
        !RenderChartImage(*chart).save(QFile::decodeName(QByteArray::fromStdString(fileName)), formatName))
        return "Error writing file " + fileName;
    return std::string();
}

int CGraphWnd::GetLastMouseEvent(QPoint& point) const
{
    const CCoreRect r = GetScreenRect();
    point = QPoint(r.left, r.top);
    const CChart* chart = m_chartHandle >= 0 ? Chart() : nullptr;
    if (!chart)
        return 0;
    const double x = chart->ChartGetEventX() / chart->ChartGetWidth() * r.Width();
    const double y = (1.0 - chart->ChartGetEventY() / chart->ChartGetHeight()) * r.Height();
    point = QPoint(r.left + static_cast<int>(std::trunc(x)), r.top + static_cast<int>(std::trunc(y)));
    return chart->ChartGetLastEvent();
}
