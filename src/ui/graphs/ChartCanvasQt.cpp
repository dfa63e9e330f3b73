#include "graphs/ChartCanvasQt.h"

#include "framework/Cp1252.h"
#include "support/InputFile.h"
#include "graphs/Chart.h"
#include "graphs/ChartThreads.h"

#include <QBuffer>
#include <QCache>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QCoreApplication>
#include <QEvent>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace {

QColor ToQColor(CColor color) { return QColor(color.r, color.g, color.b); }

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

namespace {

// The measures of chart texts, kept for the thread's charts: making a font and shaping a text
// cost far more than a look-up, and charts measure the same few labels again and again. A new
// application font (the face of family 0) forgets them; so does a full cache.
class CTextMeasures {
public:
    double Width(const CChartFont& font, const std::string& text)
    {
        return Measure(font, text, [&](const QFontMetricsF& metrics) { return metrics.horizontalAdvance(FromCp1252(text)); });
    }
    double Height(const CChartFont& font)
    {
        // A key no text has: a text's key carries its bytes after a separator.
        return Measure(font, std::string_view(), [](const QFontMetricsF& metrics) { return metrics.height(); }, true);
    }

private:
    // Room for the legend of a chart of many thousand glazes, whose every name is measured more
    // than once while it is laid out (some 20 MB at most).
    static constexpr std::size_t kMostMeasures = 200000;

    template <class Measurer>
    double Measure(const CChartFont& font, std::string_view text, Measurer measure, bool height = false)
    {
        Forget();
        m_key.assign(reinterpret_cast<const char*>(&font.family), sizeof font.family);
        m_key.append(reinterpret_cast<const char*>(&font.style), sizeof font.style);
        m_key.append(reinterpret_cast<const char*>(&font.pixelSize), sizeof font.pixelSize);
        m_key.push_back(height ? 'h' : 'w');
        m_key.append(text);
        if (const auto known = m_measures.find(m_key); known != m_measures.end())
            return known->second;
        const double value = measure(QFontMetricsF(QFontFromChartFont(font)));
        m_measures.emplace(m_key, value);
        return value;
    }
    void Forget()
    {
        const unsigned generation = s_fontGeneration.load(std::memory_order_relaxed);
        if (generation != m_generation || m_measures.size() >= kMostMeasures) {
            m_measures.clear();
            m_generation = generation;
        }
    }

    std::unordered_map<std::string, double> m_measures;
    std::string m_key;
    unsigned m_generation = 0;

public:
    // Counts the application's font changes.
    static std::atomic<unsigned> s_fontGeneration;
};

std::atomic<unsigned> CTextMeasures::s_fontGeneration{0};

// Counts the application's font changes; lives as long as the application object.
class CApplicationFontWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationFontChange)
            CTextMeasures::s_fontGeneration.fetch_add(1, std::memory_order_relaxed);
        return QObject::eventFilter(watched, event);
    }
};

CTextMeasures& ThreadTextMeasures()
{
    static const bool watching = [] {
        if (QCoreApplication* application = QCoreApplication::instance())
            application->installEventFilter(new CApplicationFontWatch(application));
        return true;
    }();
    (void)watching;
    thread_local CTextMeasures measures;
    return measures;
}

} // namespace

double CQtChartMetrics::TextWidth(const CChartFont& font, const std::string& text) const
{
    return ThreadTextMeasures().Width(font, text);
}

double CQtChartMetrics::TextHeight(const CChartFont& font) const { return ThreadTextMeasures().Height(font); }

bool CQtChartMetrics::CanReadImage(const std::string& path) const
{
    return !BackgroundImage(path).isNull();
}

const CChartMetrics& GetQtChartMetrics()
{
    static const CQtChartMetrics metrics;
    return metrics;
}

CQtChartCanvas::CQtChartCanvas(QPainter& painter, QPainter* plain, const CQtChartRaster& raster)
    : m_painter(painter), m_plain(plain), m_raster(raster), m_grid(painter.worldTransform()),
      m_device(painter.deviceTransform())
{
    if (m_device.type() <= QTransform::TxScale)
        m_deviceScale = std::min(std::fabs(m_device.m11()), std::fabs(m_device.m22()));
}

namespace {

// The device pixels whose middles lie in the rectangle.
QRect PixelsOf(const QRectF& device)
{
    const auto first = [](double edge) { return static_cast<int>(std::ceil(edge - 0.5)); };
    return QRect(QPoint(first(device.left()), first(device.top())),
                 QPoint(first(device.right()) - 1, first(device.bottom()) - 1));
}

} // namespace

bool CQtChartRaster::Takes(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

CQtChartRaster CQtChartRaster::Of(QPainter& painter, double chartWidth, double chartHeight)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return {};
    QImage& image = *static_cast<QImage*>(device);
    if (!Takes(image.format()))
        return {};
    const QRectF chart = painter.deviceTransform().mapRect(QRectF(0.0, 0.0, chartWidth, chartHeight));
    return {image.bits(), image.bytesPerLine(), PixelsOf(chart) & image.rect()};
}

const CQtChartCanvas::CFace& CQtChartCanvas::FaceOf(const CChartFont& font)
{
    for (const CFace& known : m_faces) {
        if (known.font == font)
            return known;
    }
    const QFont face = QFontFromChartFont(font);
    m_faces.push_back({font, face, QFontMetricsF(face).ascent()});
    return m_faces.back();
}

const QPen& CQtChartCanvas::PenOf(CColor color, double width)
{
    static const QPen none(Qt::NoPen);
    if (!(width > 0.0))
        return none;
    const float narrow = static_cast<float>(width);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &narrow, sizeof bits);
    const std::uint64_t key = (std::uint64_t{bits} << 32) | (std::uint32_t{color.r} << 16) | (color.g << 8) | color.b;
    const auto [at, made] = m_pens.try_emplace(key);
    if (made)
        at->second = QPen(ToQColor(color), width);
    return at->second;
}

const QBrush& CQtChartCanvas::BrushOf(CColor color, Qt::BrushStyle style)
{
    const std::uint64_t key = (std::uint64_t(style) << 32) | (std::uint32_t{color.r} << 16) | (color.g << 8) | color.b;
    const auto [at, made] = m_brushes.try_emplace(key);
    if (made)
        at->second = QBrush(ToQColor(color), style);
    return at->second;
}

const QPolygonF& CQtChartCanvas::ToPolygon(const std::vector<CChartPointD>& points)
{
    m_polygon.resize(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        m_polygon[static_cast<qsizetype>(i)] = QPointF(points[i].x, points[i].y);
    return m_polygon;
}

void CQtChartCanvas::FillBackground(CColor color)
{
    const QRect area = m_painter.clipBoundingRect().toAlignedRect();
    m_painter.fillRect(area.isEmpty() ? m_painter.window() : area, ToQColor(color));
}

void CQtChartCanvas::DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                                 double outlineWidth)
{
    DrawPolygonTimes(points, fill, pattern, outline, outlineWidth, 1);
}

void CQtChartCanvas::DrawPolygonTimes(const std::vector<CChartPointD>& points, CColor fill, int pattern,
                                      CColor outline, double outlineWidth, int times)
{
    const QPolygonF& polygon = ToPolygon(points);
    const QPen& outlinePen = PenOf(outline, outlineWidth);
    if (pattern == kChartPatternHollow) {
        for (int k = 0; k < times && outlineWidth > 0.0; ++k)
            DrawOutline(polygon, outlinePen);
        return;
    }
    // A solid fill without an outline is edged in its own colour, so that neighbouring slices meet
    // without seams.
    const bool edged = pattern == kChartPatternSolid && outlineWidth <= 0.0;
    const QPen& edge = edged ? PenOf(fill, 1.0) : outlinePen;
    const QBrush& brush = BrushOf(fill, pattern == kChartPatternSolid ? Qt::SolidPattern : HatchOf(pattern));
    // Antialiased fills of the boxes of many thousand glazes cost seconds, plain ones a fraction:
    // the fill is drawn plain and its edge, antialiased, over the steps of its border. A hatch
    // without an outline keeps an antialiased border of its own.
    const bool smooth = m_painter.testRenderHint(QPainter::Antialiasing);
    const bool smoothFill = smooth && edge.style() == Qt::NoPen;
    QPainter& filler = m_plain && !smoothFill ? *m_plain : m_painter;
    // A solid fill drawn plain sets its pixels alike each time: drawn over again with an outline
    // the canvas draws itself, it is filled once and outlined `times` times over (DrawOutline).
    const bool once = times > 1 && pattern == kChartPatternSolid && !smoothFill && DrawsOutline(edge);
    for (int k = 0; k < (once ? 1 : times); ++k) {
        if (&filler == &m_painter)
            m_painter.setRenderHint(QPainter::Antialiasing, smoothFill);
        filler.setPen(Qt::NoPen);
        if (pattern != kChartPatternSolid) {
            filler.setBrush(Qt::white);
            filler.drawPolygon(polygon);
        }
        filler.setBrush(brush);
        filler.drawPolygon(polygon);
        if (&filler == &m_painter)
            m_painter.setRenderHint(QPainter::Antialiasing, smooth);
        if (edge.style() != Qt::NoPen)
            DrawOutline(polygon, edge, once ? times : 1);
    }
}

namespace {

// The opaque colour over the pixel by the coverage (0 to 256).
void Blend(QRgb& pixel, QRgb color, std::uint32_t coverage)
{
    if (coverage >= 256) {
        pixel = color;
        return;
    }
    const std::uint32_t under = pixel, rest = 256 - coverage;
    const std::uint32_t redBlue = (((color & 0xff00ffu) * coverage + (under & 0xff00ffu) * rest) >> 8) & 0xff00ffu;
    const std::uint32_t alphaGreen = (((color >> 8) & 0xff00ffu) * coverage + ((under >> 8) & 0xff00ffu) * rest) & 0xff00ff00u;
    pixel = redBlue | alphaGreen;
}

// An outline drawn so many times over its polygon, filled plain in between each time (in device
// pixels, filled odd-even as Qt fills it). Each time the fill sets its pixels again and the
// outline comes out over them as the first time; so the polygon is filled once, and the pixels
// outside it that its edges only partly cover are noted, in the order drawn, to be blended again
// in that order the other times.
class COutlineTimes {
public:
    using CAgain = std::pair<QRgb*, std::uint32_t>; // a pixel and its coverage

    COutlineTimes() = default;
    COutlineTimes(int times, const QPolygonF& polygon, std::vector<CAgain>& again)
        : m_times(times), m_polygon(&polygon), m_again(&again)
    {
        again.clear();
        if (times < 2)
            return;
        // A convex polygon (a box's face) fills the pixels whose middles lie within all its
        // edges: each edge's side of them told by a sum of products, without a division.
        double area = 0.0;
        int turns = 0;
        const qsizetype n = polygon.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF& a = polygon[i];
            const QPointF& b = polygon[(i + 1) % n];
            const QPointF& c = polygon[(i + 2) % n];
            area += a.x() * b.y() - b.x() * a.y();
            const double turn = (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x());
            turns |= turn > 0.0 ? 1 : turn < 0.0 ? 2 : 0;
        }
        if (turns == 3 || n > kMostSides)
            return; // not convex: each pixel tried against every edge
        const double side = area >= 0.0 ? 1.0 : -1.0;
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF& a = polygon[i];
            const QPointF& b = polygon[(i + 1) % n];
            m_edges[m_sides++] = {side * (a.y() - b.y()), side * (b.x() - a.x()),
                                  side * (a.x() * b.y() - b.x() * a.y())};
        }
        m_convex = true;
    }

    // Notes the pixel (x, y) at `at` blended by the coverage, when it is to be blended again.
    void Note(QRgb* at, std::uint32_t coverage, int x, int y) const
    {
        if (m_times > 1 && coverage > 0 && coverage < 256 && !Filled(x, y))
            m_again->push_back({at, coverage});
    }
    // Blends the pixels noted the other times over.
    void Again(QRgb color) const
    {
        for (int k = 1; k < m_times; ++k) {
            for (const auto& [pixel, coverage] : *m_again)
                Blend(*pixel, color, coverage);
        }
    }

private:
    // Whether the fill sets the pixel: its middle inside the polygon.
    bool Filled(int x, int y) const
    {
        const double px = x + 0.5, py = y + 0.5;
        if (m_convex) {
            for (int i = 0; i < m_sides; ++i) {
                if (!(m_edges[i].a * px + m_edges[i].b * py + m_edges[i].c > 0.0))
                    return false;
            }
            return m_sides > 0;
        }
        bool inside = false;
        const QPolygonF& p = *m_polygon;
        for (qsizetype i = 0, j = p.size() - 1; i < p.size(); j = i++) {
            if ((p[i].y() > py) != (p[j].y() > py) &&
                px < (p[j].x() - p[i].x()) * (py - p[i].y()) / (p[j].y() - p[i].y()) + p[i].x())
                inside = !inside;
        }
        return inside;
    }

    static constexpr int kMostSides = 8;
    struct CEdge {
        double a = 0.0, b = 0.0, c = 0.0; // a x + b y + c above 0 on the inner side
    };
    int m_times = 1;
    const QPolygonF* m_polygon = nullptr;
    std::vector<CAgain>* m_again = nullptr;
    bool m_convex = false;
    int m_sides = 0;
    CEdge m_edges[kMostSides];
};

// How much of the pixel span [first, first + 1] lies between low and high.
double Overlap(int first, double low, double high)
{
    return std::max(0.0, std::min(high, first + 1.0) - std::max(low, static_cast<double>(first)));
}

// A line from a to b (device pixels) `width` pixels wide with square ends, antialiased as Qt
// draws its thin lines, within the raster's clip: stepping a pixel at a time along the way it
// runs farther, each pixel across covered as much as the line's band crosses it there. Each
// pixel is found from its own place alone, so that a picture drawn in strips comes out the same
// as drawn whole (Qt's wide lines start from where they enter the clip).
void DrawWideLine(const CQtChartRaster& raster, QPointF a, QPointF b, double width, QRgb color,
                  const COutlineTimes& times = {})
{
    const bool lying = std::fabs(b.x() - a.x()) >= std::fabs(b.y() - a.y());
    // Along (u) and across (v) the way the line runs farther.
    const auto along = [lying](const QPointF& p) { return lying ? p.x() : p.y(); };
    const auto across = [lying](const QPointF& p) { return lying ? p.y() : p.x(); };
    if (along(a) > along(b))
        std::swap(a, b);
    const double du = along(b) - along(a), dv = across(b) - across(a);
    const double length = std::hypot(du, dv);
    const double cosine = length > 0.0 ? du / length : 1.0, slope = du > 0.0 ? dv / du : 0.0;
    const double half = width / 2.0, reach = half / cosine;
    const double start = along(a) - half * cosine, end = along(b) + half * cosine;
    // The steps and pixels across within the clip, found before they are made whole numbers (a
    // point far off, or not a number, is no step at all).
    const QRect& clip = raster.clip;
    const double fromStep = std::max(std::floor(start), static_cast<double>(lying ? clip.left() : clip.top()));
    const double toStep = std::min(std::ceil(end) - 1.0, static_cast<double>(lying ? clip.right() : clip.bottom()));
    if (!(fromStep <= toStep))
        return;
    const int firstStep = static_cast<int>(fromStep), lastStep = static_cast<int>(toStep);
    const double nearest = lying ? clip.top() : clip.left(), farthest = lying ? clip.bottom() : clip.right();
    // From one pixel to the next along and across.
    const qsizetype line = raster.bytesPerLine / static_cast<qsizetype>(sizeof(QRgb));
    const qsizetype step = lying ? 1 : line, next = lying ? line : 1;
    auto* const pixels = reinterpret_cast<QRgb*>(raster.bits);
    for (int u = firstStep; u <= lastStep; ++u) {
        const double share = Overlap(u, start, end);
        const double middle = across(a) + slope * (u + 0.5 - along(a));
        const double low = middle - reach, high = middle + reach;
        const double from = std::max(std::floor(low), nearest), to = std::min(std::ceil(high) - 1.0, farthest);
        if (!(from <= to))
            continue;
        const int first = static_cast<int>(from), last = static_cast<int>(to);
        QRgb* pixel = pixels + u * step + first * next;
        for (int v = first; v <= last; ++v, pixel += next) {
            const double cover = v == first || v == last ? Overlap(v, low, high) : 1.0;
            const auto coverage = static_cast<std::uint32_t>(cover * share * 256.0 + 0.5);
            Blend(*pixel, color, coverage);
            times.Note(pixel, coverage, lying ? u : v, lying ? v : u);
        }
    }
}

} // namespace

// An outline no wider than a device pixel is drawn as one closed line, by Qt's own thin-line
// drawing. A wider one (an outline of a pixel on a screen of pixel ratio 2 is two device pixels
// wide) Qt strokes as a shape of its own, joins and all, antialiased: some ten times the cost,
// seconds for the boxes of many thousand glazes. On an image the canvas draws it itself, as its
// edges, each a band of the pen's width with square ends antialiased as the thin lines are: the
// same outline as at ratio 1, as wide in the chart's pixels, only sharper, at some three times
// the cost of the thin lines (twice as long, and three pixels across where they cover two);
// where two edges meet, the square ends fill the corner. (A printer keeps the joined outline: it
// draws shapes, not pixels.)
bool CQtChartCanvas::DrawsOutline(const QPen& pen) const
{
    return m_raster.bits && pen.style() != Qt::NoPen && pen.widthF() * m_deviceScale > 1.0;
}

void CQtChartCanvas::DrawOutline(const QPolygonF& polygon, const QPen& pen, int times)
{
    if (DrawsOutline(pen) && polygon.size() >= 2) {
        const double width = pen.widthF() * m_deviceScale;
        const QRgb color = pen.color().rgba();
        m_devicePolygon.resize(polygon.size());
        for (qsizetype i = 0; i < polygon.size(); ++i)
            m_devicePolygon[i] = m_device.map(polygon[i]);
        const COutlineTimes over(times, m_devicePolygon, m_again);
        for (qsizetype i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
            DrawWideLine(m_raster, m_devicePolygon[j], m_devicePolygon[i], width, color, over);
        over.Again(color);
        return;
    }
    for (int k = 0; k < times; ++k) {
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolygon(polygon);
    }
}

void CQtChartCanvas::DrawPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash)
{
    QPen pen(ToQColor(color), width);
    pen.setStyle(dash == 1 ? Qt::DashLine : dash == 2 ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_painter.drawPolyline(ToPolygon(points));
}

void CQtChartCanvas::DrawText(const std::string& text, const CChartFont& font, CColor color, double x, double y,
                              int angle)
{
    const CFace& face = FaceOf(font);
    m_painter.setFont(face.face);
    m_painter.setPen(ToQColor(color));
    m_painter.setWorldTransform(QTransform(m_grid).translate(x, y).rotate(-angle));
    m_painter.drawText(QPointF(0.0, face.ascent), FromCp1252(text));
    m_painter.setWorldTransform(m_grid);
}

namespace {

// Decodes the image file; a null image when it cannot be used. The file is opened as every file
// a user names is (a pipe or device of that name is refused, never waited for) and decoded from
// the bytes read through that one descriptor. The bitmap export names its files .dib, which Qt
// would read as bitmaps without a file header: they are read as the complete bitmaps they are.
// A file larger than any image Qt would decode is not read; Qt refuses images over its
// allocation limit.
QImage DecodeImage(const QString& path)
{
    constexpr std::int64_t kLargestImageFile = std::int64_t(256) << 20;
    CInputFile in;
    std::string bytes;
    if (!in.Open(QFile::encodeName(path).toStdString()) || in.Stamp().size > kLargestImageFile ||
        !in.ReadAll(bytes))
        return QImage();
    QByteArray data = QByteArray::fromStdString(bytes);
    const auto decode = [&data](const QByteArray& format) {
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return QImageReader(&buffer, format).read();
    };
    QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix == "dib")
        return decode("bmp");
    // The contents tell most formats; the suffix those that carry no mark of their own.
    QImage image = decode(QByteArray());
    if (image.isNull() && !suffix.isEmpty())
        image = decode(suffix);
    return image;
}

} // namespace

QImage BackgroundImage(const std::string& file)
{
    // Decoded once for every chart and paint that shows it, and again only when the file
    // changes; an image that could not be read is remembered too. The bands of a picture are
    // drawn on several threads at once.
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    static QCache<QString, QImage> cache(8);
    const QString path = FromFileName(FileNameFromCp1252(file));
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath() + QLatin1Char('|') +
                        QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('|') +
                        QString::number(info.size());
    if (const QImage* image = cache.object(key))
        return *image;
    // In the pixels the chart stretches onto an image.
    QImage image = DecodeImage(path);
    if (!image.isNull())
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    cache.insert(key, new QImage(image));
    return image;
}

namespace {

// A premultiplied pixel over another.
QRgb Over(QRgb top, QRgb under)
{
    const int alpha = qAlpha(top);
    if (alpha == 255)
        return top;
    const auto mix = [alpha](int a, int b) { return a + (b * (255 - alpha) + 127) / 255; };
    return qRgba(mix(qRed(top), qRed(under)), mix(qGreen(top), qGreen(under)), mix(qBlue(top), qBlue(under)),
                 mix(alpha, qAlpha(under)));
}

// The nearest pixels of the image (premultiplied 32-bit) stretched over the device rectangle,
// over what the raster holds, within its clip.
void StretchOnto(const CQtChartRaster& raster, const QImage& image, const QRectF& device)
{
    const QRect area = PixelsOf(device) & raster.clip;
    if (area.isEmpty())
        return;
    const auto source = [](int pixel, double start, double length, int count) {
        return std::clamp(static_cast<int>(std::floor((pixel + 0.5 - start) * count / length)), 0, count - 1);
    };
    std::vector<int> columns(static_cast<std::size_t>(area.width()));
    for (int x = area.left(); x <= area.right(); ++x)
        columns[static_cast<std::size_t>(x - area.left())] = source(x, device.left(), device.width(), image.width());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(source(y, device.top(), device.height(), image.height())));
        auto* to = reinterpret_cast<QRgb*>(raster.bits + y * raster.bytesPerLine) + area.left();
        for (std::size_t k = 0; k < columns.size(); ++k)
            to[k] = Over(from[columns[k]], to[k]);
    }
}

} // namespace

void CQtChartCanvas::DrawImage(const std::string& path, double left, double top, double width, double height)
{
    const QImage image = BackgroundImage(path);
    if (image.isNull())
        return;
    const QRectF target(left, top, width, height);
    const QTransform device = m_painter.deviceTransform();
    if (m_raster.bits && device.type() <= QTransform::TxScale && device.m11() > 0.0 && device.m22() > 0.0)
        StretchOnto(m_raster, image, device.mapRect(target));
    else
        m_painter.drawImage(target, image);
}

namespace {

// Sets the painter to draw the chart's pixel grid onto target, clipped to the chart (and to
// what the painter was clipped to with IntersectClip).
void ScaleToChart(const CChart& chart, QPainter& painter, const QRectF& target, Qt::ClipOperation clip = Qt::ReplaceClip)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / chart.PixelWidth(), target.height() / chart.PixelHeight());
    painter.setClipRect(QRectF(0.0, 0.0, chart.PixelWidth(), chart.PixelHeight()), clip);
}

// A chart of fewer primitives draws in a few milliseconds: on one thread.
constexpr std::size_t kFewestPrimitivesInStrips = 2000;
// A picture of more is drawn in this many strips, whatever the number of threads, so that it
// comes out the same on any machine. A primitive across two strips is drawn in both, each time
// clipped to the strip, at the cost of its set-up.
constexpr int kStrips = 8;

// The strips of a picture: upright (columns side by side) or lying (rows one above the other),
// each from its first column or row to the next one's, the last up to the picture's width or
// height.
struct CStrips {
    bool upright = true;
    std::vector<int> starts;
};

// Strips across the way the primitives are shorter (the upright bars of many glazes are cut
// across by few upright strips), of about equal work: as many pixels of primitives in each.
CStrips StripsOf(const CChart& chart, const QSize& pixels, double scaleX, double scaleY, const QPointF& origin)
{
    struct CSpan {
        double low, high, across;
    };
    std::vector<CSpan> columns, rows;
    columns.reserve(chart.Primitives().size());
    rows.reserve(chart.Primitives().size());
    double columnRun = 0.0, rowRun = 0.0;
    for (const CChartPrimitive& p : chart.Primitives()) {
        const double left = chart.UnitsToPixelsX(p.left) * scaleX + origin.x();
        const double right = chart.UnitsToPixelsX(p.left + p.width) * scaleX + origin.x();
        const double top = chart.UnitsToPixelsY(p.bottom + p.height) * scaleY + origin.y();
        const double bottom = chart.UnitsToPixelsY(p.bottom) * scaleY + origin.y();
        columns.push_back({left, right, bottom - top});
        rows.push_back({top, bottom, right - left});
        columnRun += right - left;
        rowRun += bottom - top;
    }
    CStrips strips;
    strips.upright = columnRun <= rowRun;
    const std::vector<CSpan>& spans = strips.upright ? columns : rows;
    const int extent = strips.upright ? pixels.width() : pixels.height();
    // The work of each line of pixels along the strips: the pixels of every primitive there.
    std::vector<double> density(static_cast<std::size_t>(extent) + 1, 0.0);
    for (const CSpan& span : spans) {
        const int low = std::clamp(static_cast<int>(std::floor(span.low)), 0, extent);
        const int high = std::clamp(static_cast<int>(std::floor(span.high)) + 1, low, extent);
        const double each = (span.across + 1.0) / std::max(span.high - span.low + 1.0, 1.0);
        density[static_cast<std::size_t>(low)] += each;
        density[static_cast<std::size_t>(high)] -= each;
    }
    std::vector<double> work(static_cast<std::size_t>(extent) + 1, 0.0); // before each line
    double line = 0.0;
    for (int at = 0; at < extent; ++at) {
        line += density[static_cast<std::size_t>(at)];
        work[static_cast<std::size_t>(at) + 1] = work[static_cast<std::size_t>(at)] + line + 1.0;
    }
    strips.starts.push_back(0);
    for (int strip = 1; strip < kStrips; ++strip) {
        const double share = work.back() * strip / kStrips;
        const int at = static_cast<int>(std::lower_bound(work.begin(), work.end(), share) - work.begin());
        if (at > strips.starts.back() && at < extent)
            strips.starts.push_back(at);
    }
    strips.starts.push_back(extent);
    return strips;
}

} // namespace

void PaintChart(const CChart& chart, QPainter& painter, const QRectF& target)
{
    painter.save();
    ScaleToChart(chart, painter, target);
    CQtChartCanvas canvas(painter, nullptr, CQtChartRaster::Of(painter, chart.PixelWidth(), chart.PixelHeight()));
    chart.Draw(canvas);
    painter.restore();
}

int PaintChartImage(const CChart& chart, QImage& image, const QRectF& target)
{
    if (chart.Primitives().size() < kFewestPrimitivesInStrips || std::thread::hardware_concurrency() < 2 || target.isEmpty() ||
        image.width() < kStrips || image.height() < kStrips || !CQtChartRaster::Takes(image.format())) {
        QPainter painter(&image);
        PaintChart(chart, painter, target);
        return 1;
    }
    // Each strip is drawn by painters of its own, on images of their own over the picture's
    // pixels, clipped to the strip. (An image of the strip's pixels alone would not do: a thin
    // line is drawn there from where it enters the image, a hair away from where the whole
    // picture has it, and its pixels come out a shade apart.)
    uchar* const bits = image.bits();
    const qreal ratio = image.devicePixelRatioF();
    // The chart's grid in the image's pixels.
    const double scaleX = target.width() * ratio / chart.PixelWidth();
    const double scaleY = target.height() * ratio / chart.PixelHeight();
    const QPointF origin = target.topLeft() * ratio;
    const CStrips strips = StripsOf(chart, image.size(), scaleX, scaleY, origin);
    // Two of the image's pixels in the grid: an edge antialiased there.
    const double margin = 2.0 / std::min(scaleX, scaleY);
    RunInParts(strips.starts.size() - 1, [&](std::size_t strip) {
        const int first = strips.starts[strip], count = strips.starts[strip + 1] - first;
        const QRect area = strips.upright ? QRect(first, 0, count, image.height()) : QRect(0, first, image.width(), count);
        // Two painters, for the antialiased and the plain drawing (CQtChartCanvas), each of an
        // image of its own: an image has one painter at a time.
        QImage images[2] = {QImage(bits, image.width(), image.height(), image.bytesPerLine(), image.format()),
                            QImage(bits, image.width(), image.height(), image.bytesPerLine(), image.format())};
        QPainter painters[2];
        for (int k = 0; k < 2; ++k) {
            images[k].setDevicePixelRatio(ratio);
            painters[k].begin(&images[k]);
            painters[k].setClipRect(QRectF(QPointF(area.topLeft()) / ratio, QSizeF(area.size()) / ratio));
            ScaleToChart(chart, painters[k], target, Qt::IntersectClip);
        }
        painters[1].setRenderHint(QPainter::Antialiasing, false);
        CQtChartRaster raster = CQtChartRaster::Of(painters[0], chart.PixelWidth(), chart.PixelHeight());
        raster.clip &= area;
        CQtChartCanvas canvas(painters[0], &painters[1], raster);
        const CChartPixelArea drawn{(area.left() - origin.x()) / scaleX, (area.top() - origin.y()) / scaleY,
                                    (area.right() + 1.0 - origin.x()) / scaleX,
                                    (area.bottom() + 1.0 - origin.y()) / scaleY};
        chart.Draw(canvas, drawn, margin);
    });
    return static_cast<int>(strips.starts.size()) - 1;
}

QImage RenderChartImage(const CChart& chart)
{
    QImage image(static_cast<int>(std::lround(chart.PixelWidth())), static_cast<int>(std::lround(chart.PixelHeight())),
                 QImage::Format_RGB32);
    // The chart's background covers an image of whole pixels; a fraction left over is white.
    if (image.width() != chart.PixelWidth() || image.height() != chart.PixelHeight())
        image.fill(Qt::white);
    PaintChartImage(chart, image, QRectF(0.0, 0.0, image.width(), image.height()));
    return image;
}
