#include "graphs/ChartCanvasQt.h"

#include "framework/Cp1252.h"
#include "graphs/Chart.h"

#include <QCache>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

QColor ToQColor(CColor color) { return QColor(color.r, color.g, color.b); }

QPolygonF ToPolygon(const std::vector<CChartPointD>& points)
{
    QPolygonF polygon;
    for (const CChartPointD& point : points)
        polygon << QPointF(point.x, point.y);
    return polygon;
}

Qt::BrushStyle HatchOf(int pattern)
{
    switch (pattern) {
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::Dense5Pattern;
    }
}

} // namespace

QFont QFontFromChartFont(const CChartFont& font)
{
    QFont result;
    switch (font.family) {
    case 1:
        result.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
        result.setStyleHint(QFont::Serif);
        break;
    case 2:
        result.setFamilies({QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
        result.setStyleHint(QFont::SansSerif);
        break;
    case 3:
        result.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
        result.setStyleHint(QFont::TypeWriter);
        break;
    case 4: result.setStyleHint(QFont::Cursive); break;
    case 5: result.setStyleHint(QFont::Fantasy); break;
    default: break;
    }
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize))));
    result.setBold(font.IsBold());
    result.setItalic(font.IsItalic());
    return result;
}

double CQtChartMetrics::TextWidth(const CChartFont& font, const std::string& text) const
{
    return QFontMetricsF(QFontFromChartFont(font)).horizontalAdvance(FromCp1252(text));
}

double CQtChartMetrics::TextHeight(const CChartFont& font) const
{
    return QFontMetricsF(QFontFromChartFont(font)).height();
}

bool CQtChartMetrics::CanReadImage(const std::string& path) const
{
    return !BackgroundImage(path).isNull();
}

const CChartMetrics& GetQtChartMetrics()
{
    static const CQtChartMetrics metrics;
    return metrics;
}

void CQtChartCanvas::FillBackground(CColor color)
{
    const QRect area = m_painter.clipBoundingRect().toAlignedRect();
    m_painter.fillRect(area.isEmpty() ? m_painter.window() : area, ToQColor(color));
}

void CQtChartCanvas::DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                                 double outlineWidth)
{
    const QPolygonF polygon = ToPolygon(points);
    m_painter.save();
    if (pattern != kChartPatternHollow) {
        if (pattern != kChartPatternSolid) {
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(Qt::white);
            m_painter.drawPolygon(polygon);
        }
        // A solid fill is edged in its own colour so that neighbouring slices meet without seams.
        m_painter.setPen(pattern == kChartPatternSolid && outlineWidth <= 0.0 ? QPen(ToQColor(fill), 1.0) : QPen(Qt::NoPen));
        m_painter.setBrush(QBrush(ToQColor(fill), pattern == kChartPatternSolid ? Qt::SolidPattern : HatchOf(pattern)));
        m_painter.drawPolygon(polygon);
    }
    if (outlineWidth > 0.0) {
        m_painter.setPen(QPen(ToQColor(outline), outlineWidth));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolygon(polygon);
    }
    m_painter.restore();
}

void CQtChartCanvas::DrawPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash)
{
    QPen pen(ToQColor(color), width);
    pen.setStyle(dash == 1 ? Qt::DashLine : dash == 2 ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.save();
    m_painter.setPen(pen);
    m_painter.drawPolyline(ToPolygon(points));
    m_painter.restore();
}

void CQtChartCanvas::DrawText(const std::string& text, const CChartFont& font, CColor color, double x, double y,
                              int angle)
{
    const QFont face = QFontFromChartFont(font);
    m_painter.save();
    m_painter.setFont(face);
    m_painter.setPen(ToQColor(color));
    m_painter.translate(x, y);
    m_painter.rotate(-angle);
    m_painter.drawText(QPointF(0.0, QFontMetricsF(face).ascent()), FromCp1252(text));
    m_painter.restore();
}

namespace {

// Decodes the image file; a null image when it cannot be used. Only a regular file is opened: a
// pipe or device of that name would block the reader or never end. The bitmap export names its
// files .dib, which Qt would read as bitmaps without a file header: they are read as the
// complete bitmaps they are. Qt refuses images over its allocation limit.
QImage DecodeImage(const QString& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(QFile::encodeName(path).toStdString()), error))
        return QImage();
    QImageReader reader(path);
    if (QFileInfo(path).suffix().compare(QLatin1String("dib"), Qt::CaseInsensitive) == 0)
        reader.setFormat("bmp");
    return reader.read();
}

} // namespace

QImage BackgroundImage(const std::string& file)
{
    // Decoded once for every chart and paint that shows it, and again only when the file
    // changes; an image that could not be read is remembered too.
    static QCache<QString, QImage> cache(8);
    const QString path = QFile::decodeName(QByteArray::fromStdString(file));
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath() + QLatin1Char('|') +
                        QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('|') +
                        QString::number(info.size());
    if (const QImage* image = cache.object(key))
        return *image;
    QImage image = DecodeImage(path);
    cache.insert(key, new QImage(image));
    return image;
}

void CQtChartCanvas::DrawImage(const std::string& path, double left, double top, double width, double height)
{
    const QImage image = BackgroundImage(path);
    if (!image.isNull())
        m_painter.drawImage(QRectF(left, top, width, height), image);
}

void PaintChart(const CChart& chart, QPainter& painter, const QRectF& target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / chart.PixelWidth(), target.height() / chart.PixelHeight());
    painter.setClipRect(QRectF(0.0, 0.0, chart.PixelWidth(), chart.PixelHeight()));
    CQtChartCanvas canvas(painter);
    chart.Draw(canvas);
    painter.restore();
}

QImage RenderChartImage(const CChart& chart)
{
    QImage image(static_cast<int>(std::lround(chart.PixelWidth())), static_cast<int>(std::lround(chart.PixelHeight())),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChart(chart, painter, QRectF(0.0, 0.0, image.width(), image.height()));
    return image;
}
