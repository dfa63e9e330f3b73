#include "graphs/ChartCanvasQt.h"

#include "graphs/Chart.h"
#include "graphs/ChartPalette.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

// A template's background image is any file name from anywhere. A FIFO of that name blocked the
// header check for ever; a truncated PNG and a .dib bitmap (the program's own bitmap export,
// which Qt reads as a bitmap without a file header) passed the header check and drew nothing.
TEST(ChartCanvasQtTest, ABackgroundImageIsWhatDecodesFromARegularFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(250, 220, 160));
    for (int x = 0; x < 40; ++x)
        picture.setPixelColor(x, x % 30, QColor(x * 6, 0, 255 - x * 6));
    const std::string dib = base + "/export.dib", png = base + "/cut.png", pipe = base + "/pipe.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(dib), "BMP"));
    ASSERT_TRUE(picture.save(QString::fromStdString(png), "PNG"));
    const std::string misnamed = base + "/photo.jpg"; // a PNG under another format's suffix
    ASSERT_TRUE(picture.save(QString::fromStdString(misnamed), "PNG"));
    QFile cut(QString::fromStdString(png));
    ASSERT_TRUE(cut.resize(cut.size() * 2 / 3));
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A photograph's bitmap runs to megabytes.
    const std::string photo = base + "/photo.bmp";
    ASSERT_TRUE(picture.scaled(800, 600).save(QString::fromStdString(photo), "BMP"));
    ASSERT_GT(QFileInfo(QString::fromStdString(photo)).size(), 1 << 20);

    const CChartMetrics& metrics = GetQtChartMetrics();
    EXPECT_TRUE(metrics.CanReadImage(photo));
    EXPECT_TRUE(metrics.CanReadImage(dib));
    EXPECT_TRUE(metrics.CanReadImage(misnamed));
    EXPECT_FALSE(metrics.CanReadImage(png));
    EXPECT_FALSE(metrics.CanReadImage(pipe));
    EXPECT_FALSE(metrics.CanReadImage(base));

    QImage target(40, 30, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    CQtChartCanvas canvas(painter);
    canvas.DrawImage(dib, 0.0, 0.0, 40.0, 30.0);
    painter.end();
    EXPECT_EQ(target.pixelColor(20, 10), QColor(250, 220, 160));
}

// Charts keep the measures of their texts; a chart of the default face measured after the
// application's font changed gets the new face's measures, not the old ones.
TEST(ChartCanvasQtTest, TextMeasuresFollowTheApplicationFont)
{
    const QFont original = QApplication::font();
    const CChartFont font; // family 0: the application's face
    const CChartMetrics& metrics = GetQtChartMetrics();
    const auto fresh = [&] { return QFontMetricsF(QFontFromChartFont(font)).horizontalAdvance(QStringLiteral("iiiiW")); };

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    const double proportional = metrics.TextWidth(font, "iiiiW");
    EXPECT_DOUBLE_EQ(proportional, fresh());
    EXPECT_DOUBLE_EQ(metrics.TextWidth(font, "iiiiW"), proportional);

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    const double fixed = metrics.TextWidth(font, "iiiiW");
    EXPECT_DOUBLE_EQ(fixed, fresh());
    EXPECT_NE(fixed, proportional);
    // Bold is measured as bold, though its text was measured upright just before.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    CChartFont bold = font;
    bold.style = CChartFont::kBold;
    ASSERT_DOUBLE_EQ(metrics.TextWidth(font, "iiiiW"), proportional);
    EXPECT_DOUBLE_EQ(metrics.TextWidth(bold, "iiiiW"),
                     QFontMetricsF(QFontFromChartFont(bold)).horizontalAdvance(QStringLiteral("iiiiW")));
    EXPECT_GT(metrics.TextWidth(bold, "iiiiW"), proportional);
    // An empty text has no width, and measuring it leaves the line height as it is.
    EXPECT_EQ(metrics.TextWidth(font, ""), 0.0);
    EXPECT_DOUBLE_EQ(metrics.TextHeight(font), QFontMetricsF(QFontFromChartFont(font)).height());
    QApplication::setFont(original);
}

// A chart painted into a part of a page (a print within its margins) stands in that part.
TEST(ChartCanvasQtTest, AChartIsPaintedWhereItsTargetIs)
{
    CChart chart(GetQtChartMetrics(), 0.0, 0.0, 100.0, 80.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartSetData(1, 1, std::vector<double>{1.0});
    chart.ChartSetColors(1, std::vector<int>{12});
    chart.ChartSetKind(kChartPie, 0x8001, 0);
    QImage page(300, 200, QImage::Format_RGB32);
    page.fill(Qt::blue);
    QPainter painter(&page);
    PaintChart(chart, painter, QRectF(100.0, 50.0, 100.0, 80.0));
    painter.end();
    const QColor slice = QColor(255, 0, 0);
    ASSERT_EQ(QColor(GraphPaletteColor(12).r, GraphPaletteColor(12).g, GraphPaletteColor(12).b), slice);
    EXPECT_EQ(page.pixelColor(150, 90), slice);
    EXPECT_EQ(page.pixelColor(50, 40), QColor(Qt::blue));
    EXPECT_EQ(page.pixelColor(99, 49), QColor(Qt::blue));

    // A title too long for the chart is cut at its edge: nothing is drawn beside the target.
    chart.ChartDefBegin();
    chart.ChartSetData(1, 1, std::vector<double>{1.0});
    chart.ChartSetTitleA(std::string(60, 'W'));
    chart.ChartSetKind(kChartPie, 0x8001, 0);
    page.fill(Qt::blue);
    painter.begin(&page);
    PaintChart(chart, painter, QRectF(100.0, 50.0, 100.0, 80.0));
    painter.end();
    int outside = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            outside += !QRect(100, 50, 100, 80).contains(x, y) && page.pixelColor(x, y) != QColor(Qt::blue) ? 1 : 0;
    }
    EXPECT_EQ(outside, 0);
}

// Slices of a solid fill are edged in their own colour: three slices of one colour show no seams
// (unedged, their antialiased edges let a quarter of the white through where they meet).
TEST(ChartCanvasQtTest, NeighbouringSlicesMeetWithoutSeams)
{
    CChart chart(GetQtChartMetrics(), 0.0, 0.0, 100.0, 80.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartSetData(3, 1, std::vector<double>{1.0, 1.0, 1.0});
    chart.ChartSetColors(3, std::vector<int>{12, 12, 12});
    chart.ChartSetKind(kChartPie, 0x8001, 0);
    const QImage image = RenderChartImage(chart);
    int faintest = 255;
    for (int y = 25; y < 55; ++y) {
        for (int x = 35; x < 65; ++x) {
            const QColor c = image.pixelColor(x, y);
            faintest = std::min(faintest, c.red() - std::max(c.green(), c.blue()));
        }
    }
    EXPECT_GE(faintest, 240);
    // The rim of the pie is smoothed: some of its pixels mix the slice's red with the white.
    int mixed = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            mixed += c.red() > 200 && c.green() > 40 && c.green() < 215 && c.green() == c.blue() ? 1 : 0;
        }
    }
    EXPECT_GT(mixed, 0);
}

// A hatched slice shows only its hatching: no edge in the fill colour runs round it.
TEST(ChartCanvasQtTest, AHatchedSliceHasNoEdgeOfItsFillColour)
{
    CChart chart(GetQtChartMetrics(), 0.0, 0.0, 100.0, 80.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartSetData(1, 1, std::vector<double>{1.0});
    chart.ChartSetColors(1, std::vector<int>{12});
    chart.ChartSetPatterns(1, std::vector<int>{3}); // vertical lines
    chart.ChartSetKind(kChartPie, 0x8001, 0);
    const QImage image = RenderChartImage(chart);
    int longestRun = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            run = c.red() - std::max(c.green(), c.blue()) > 100 ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
    }
    EXPECT_LE(longestRun, 2);

    // Between its lines a hatch is white, whatever was drawn under it.
    QImage under(40, 40, QImage::Format_RGB32);
    under.fill(QColor(0, 0, 200));
    QPainter painter(&under);
    CQtChartCanvas canvas(painter);
    canvas.DrawPolygon({{4.0, 4.0}, {36.0, 4.0}, {36.0, 36.0}, {4.0, 36.0}}, CColor(200, 0, 0), 3, CColor(), 0.0);
    painter.end();
    int white = 0, red = 0;
    for (int x = 10; x < 30; ++x) {
        const QColor c = under.pixelColor(x, 20);
        white += c == QColor(Qt::white) ? 1 : 0;
        red += c == QColor(200, 0, 0) ? 1 : 0;
    }
    EXPECT_GT(red, 0);
    EXPECT_EQ(white + red, 20);
}

// A line ends at its end points, however thick, and a dotted one keeps its gaps: nothing is
// capped beyond them. An outline's edges end square beyond the corners, which they fill.
TEST(ChartCanvasQtTest, LinesEndAtTheirEndPoints)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtChartCanvas canvas(painter);
    canvas.DrawPolyline({{10.0, 5.0}, {30.0, 5.0}}, CColor(0, 0, 0), 4.0, 0);
    canvas.DrawPolyline({{10.0, 15.5}, {30.0, 15.5}}, CColor(0, 0, 0), 1.0, 2);
    painter.end();
    std::string thick, dotted;
    for (int x = 0; x < image.width(); ++x) {
        thick += image.pixelColor(x, 5) == QColor(Qt::white) ? '.' : '#';
        dotted += image.pixelColor(x, 15) == QColor(Qt::white) ? '.' : '#';
    }
    EXPECT_EQ(thick, "..........####################..........");
    EXPECT_EQ(dotted, "..........#..#..#..#..#..#..#...........");

    // A line drawn on a chart comes out so: the chart 40 x 20 pixels, 50 units to the pixel.
    CChart chart(GetQtChartMetrics(), 0.0, 0.0, 40.0, 20.0, 1000.0);
    chart.ChartDefBegin();
    chart.ChartDrawLine(500.0, 275.0, 1500.0, 275.0, 4, 0, 0);
    const QImage drawn = RenderChartImage(chart);
    std::string onChart;
    for (int x = 0; x < drawn.width(); ++x)
        onChart += drawn.pixelColor(x, 14) == QColor(Qt::black) ? '#' : '.';
    EXPECT_EQ(onChart, "..........####################..........");

    // A red box outlined in black at pixel ratio 2, drawn as the graph window draws its picture on
    // a screen at 200 %: its outline a pixel of the chart wide, as at ratio 1, the canvas's own
    // edges, each a band two device pixels wide whose square ends fill the corners, antialiased
    // where the band halves a pixel. (Stroked by Qt as a shape, at ten times the cost, its corners
    // were bevelled.) The box spans device pixels 10 to 30.5 across and 4 to 16 down; beside it a
    // red triangle from (40, 28) to (60, 28) and (60, 8).
    CChart boxed(GetQtChartMetrics(), 0.0, 0.0, 40.0, 20.0, 1000.0);
    boxed.ChartDefBegin();
    boxed.ChartSetShapeGeometry(4, 2, std::vector<double>{250.0, 900.0, 762.5, 900.0, 762.5, 600.0, 250.0, 600.0});
    boxed.ChartSetFillColor(12);
    boxed.ChartDrawBox();
    boxed.ChartSetShapeGeometry(3, 2, std::vector<double>{1000.0, 300.0, 1500.0, 300.0, 1500.0, 800.0});
    boxed.ChartDrawBox();
    QImage fine(80, 40, QImage::Format_RGB32);
    fine.setDevicePixelRatio(2.0);
    fine.fill(Qt::white);
    PaintChartImage(boxed, fine, QRectF(0.0, 0.0, 40.0, 20.0));
    const auto row = [&fine](int y) {
        std::string pixels;
        for (int x = 0; x < 40; ++x) {
            const QColor c = fine.pixelColor(x, y);
            pixels += c == QColor(Qt::white) ? '.' : c == QColor(Qt::black) ? '#' : c == QColor(Qt::red) ? 'o' : '-';
        }
        return pixels;
    };
    const std::string across = ".........######################-........";
    const std::string inside = ".........##oooooooooooooooooo-#-........";
    EXPECT_EQ(row(2), std::string(40, '.'));
    for (const int y : {3, 4, 15, 16})
        EXPECT_EQ(row(y), across) << "row " << y;
    for (const int y : {5, 10, 14})
        EXPECT_EQ(row(y), inside) << "row " << y;
    EXPECT_EQ(row(17), std::string(40, '.'));
    // Across the triangle's slanted edge each column holds a band as wide across as an upright
    // one, 2 / cos 45 device pixels of ink (the black over white or red: the red channel tells),
    // centred on the edge.
    for (int x = 44; x <= 56; ++x) {
        double ink = 0.0, middle = 0.0;
        for (int y = 0; y < 26; ++y) { // above the bottom edge's band
            const double share = 1.0 - fine.pixelColor(x, y).red() / 255.0;
            ink += share;
            middle += share * (y + 0.5);
        }
        EXPECT_NEAR(ink, 2.0 * std::sqrt(2.0), 0.03) << "column " << x;
        EXPECT_NEAR(middle / ink, 68.0 - (x + 0.5), 0.05) << "column " << x;
    }

    // The box drawn twice more, one right after the other (as a run of slim rows draws its face),
    // goes to the canvas at once: the picture of the two drawn one after another, pixel for pixel,
    // the outline's antialiased pixels outside the fill darker than the first box left them,
    // those inside as it left them. Then once more in another colour: another box.
    boxed.ChartSetShapeGeometry(4, 2, std::vector<double>{250.0, 900.0, 762.5, 900.0, 762.5, 600.0, 250.0, 600.0});
    boxed.ChartDrawBox();
    boxed.ChartDrawBox();
    QImage twice(80, 40, QImage::Format_RGB32);
    twice.setDevicePixelRatio(2.0);
    twice.fill(Qt::white);
    PaintChartImage(boxed, twice, QRectF(0.0, 0.0, 40.0, 20.0));
    EXPECT_NE(twice.pixel(31, 10), fine.pixel(31, 10)); // outside: darker
    EXPECT_EQ(twice.pixel(29, 10), fine.pixel(29, 10)); // inside: as once
    boxed.ChartSetFillColor(9);
    boxed.ChartDrawBox();
    class CEachTime : public CChartCanvas {
    public:
        explicit CEachTime(CChartCanvas& canvas) : m_canvas(canvas) {}
        void FillBackground(CColor color) override { m_canvas.FillBackground(color); }
        void DrawPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                         double width) override
        {
            m_canvas.DrawPolygon(points, fill, pattern, outline, width);
        }
        void DrawPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash) override
        {
            m_canvas.DrawPolyline(points, color, width, dash);
        }
        void DrawText(const std::string& text, const CChartFont& font, CColor color, double x, double y, int angle) override
        {
            m_canvas.DrawText(text, font, color, x, y, angle);
        }
        void DrawImage(const std::string& path, double left, double top, double width, double height) override
        {
            m_canvas.DrawImage(path, left, top, width, height);
        }

    private:
        CChartCanvas& m_canvas;
    };
    QImage atOnce(80, 40, QImage::Format_RGB32), eachTime(80, 40, QImage::Format_RGB32);
    for (QImage* image : {&atOnce, &eachTime}) {
        image->setDevicePixelRatio(2.0);
        image->fill(Qt::white);
    }
    QPainter once(&atOnce);
    PaintChart(boxed, once, QRectF(0.0, 0.0, 40.0, 20.0));
    once.end();
    QPainter each(&eachTime);
    each.setRenderHint(QPainter::Antialiasing);
    {
        CQtChartCanvas canvas(each, nullptr, CQtChartRaster::Of(each, 40.0, 20.0));
        CEachTime byOne(canvas);
        boxed.Draw(byOne);
    }
    each.end();
    EXPECT_TRUE(atOnce == eachTime);
    const CColor other = boxed.PaletteColor(9);
    EXPECT_EQ(atOnce.pixelColor(20, 10), QColor(other.r, other.g, other.b));
}

// A chart of thousands of primitives is drawn in strips on several threads: the picture is the
// one drawn whole, pixel for pixel, at any pixel ratio. Lines that cross a strip's edges (slanted
// ones, dashed and thick ones, markers, texts) run from their ends as in the whole picture; the
// slim bars beside an edge keep their antialiased pixels on the other side of it.
TEST(ChartCanvasQtTest, AChartOfThousandsOfPrimitivesDrawnOnSeveralThreadsIsTheChartDrawnWhole)
{
    // A background image of odd size under the chart, stretched over a part of it: each strip
    // draws its share, and not one row of the image may come out shifted along a strip's edge.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.path().toStdString() + "/under.png";
    QImage under(97, 61, QImage::Format_RGB32);
    for (int y = 0; y < under.height(); ++y) {
        for (int x = 0; x < under.width(); ++x)
            under.setPixelColor(x, y, QColor(x * 29 % 256, y * 53 % 256, (x + y) * 17 % 256));
    }
    ASSERT_TRUE(under.save(QString::fromStdString(file), "PNG"));
    CChart chart(GetQtChartMetrics(), 0.0, 0.0, 640.0, 400.0, 1000.0);
    chart.ChartDefBegin();
    // Left, bottom, width and height in units of 0.4 pixels, the chart 1000 units high.
    ASSERT_EQ(chart.ChartSetBackgroundImage(97.3, 41.9, 1203.7, 913.1, file), 0);
    constexpr int kPoints = 30, kSets = 12;
    std::vector<double> values;
    for (int i = 0; i < kPoints * kSets; ++i)
        values.push_back(1.0 + (i * 37 % 101));
    chart.ChartSetData(kPoints, kSets, values);
    chart.ChartSetTitleA("Strips of one picture");
    chart.ChartSetKind(kChartBar, 0x0008, 0);
    const double width = chart.ChartGetAreaWidth();
    for (int k = 0; k < 1800; ++k) {
        const double x = (k * 7919 % 1597) * width / 1597.0, y = k * 389 % 1000;
        chart.ChartDrawLine(x, y, x + 9.0 + k % 11, y + 5.0 - k % 13, k % 4, k % 3, k % 14);
    }
    for (int k = 0; k < 24; ++k) {
        chart.ChartDrawLine(0.0, 100.0 + 35.0 * k, width, 130.0 + 33.0 * k, k % 4, k % 3, k % 14);
        chart.ChartDrawLine(60.0 * k + 7.0, 0.0, 60.0 * k + 31.0, 1000.0, k % 2, 0, 9);
        chart.ChartDrawText(60.0 * k, 40.0 * k, 2, 0, 1, "Strip " + std::to_string(k));
        chart.ChartDrawSymbol(70.0 * k + 11.0, 37.0 * k + 50.0, k % 14, k % 16);
    }
    chart.ChartDefEnd();
    ASSERT_GE(chart.Primitives().size(), 2000u);

    for (const qreal ratio : {1.0, 2.0, 1.25, 1.5}) {
        const QSize pixels(static_cast<int>(std::ceil(640 * ratio)), static_cast<int>(std::ceil(400 * ratio)));
        QImage whole(pixels, QImage::Format_RGB32), strips(pixels, QImage::Format_RGB32);
        for (QImage* image : {&whole, &strips}) {
            image->setDevicePixelRatio(ratio);
            image->fill(Qt::white);
        }
        QPainter painter(&whole);
        PaintChart(chart, painter, QRectF(0.0, 0.0, 640.0, 400.0));
        painter.end();
        const int parts = PaintChartImage(chart, strips, QRectF(0.0, 0.0, 640.0, 400.0));
        // (A machine of one core draws it whole.)
        EXPECT_EQ(parts > 1, std::thread::hardware_concurrency() >= 2) << "pixel ratio " << ratio;
        int differing = 0;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x)
                differing += whole.pixel(x, y) != strips.pixel(x, y) ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << "pixel ratio " << ratio;
        // Each row and each column of the image shows at its place in the picture (the bars and
        // lines over it hide the rest). Regression: rows were chosen by the picture's width instead
        // of its height, and a sixth of the pixels of the picture showed the wrong ones.
        const QRectF placed(QPointF(97.3, 1000.0 - 41.9 - 913.1) * 0.4 * ratio, QSizeF(1203.7, 913.1) * 0.4 * ratio);
        std::vector<bool> rows(static_cast<std::size_t>(under.height()));
        std::vector<bool> columns(static_cast<std::size_t>(under.width()));
        for (int r = 0; r < under.height(); ++r) {
            for (int c = 0; c < under.width(); ++c) {
                for (const double within : {0.25, 0.5, 0.75}) {
                    const QPointF at(placed.left() + (c + within) * placed.width() / under.width(),
                                     placed.top() + (r + within) * placed.height() / under.height());
                    if (strips.pixel(at.toPoint()) == under.pixel(c, r))
                        rows[static_cast<std::size_t>(r)] = columns[static_cast<std::size_t>(c)] = true;
                }
            }
        }
        EXPECT_EQ(std::count(rows.begin(), rows.end(), true), under.height()) << "pixel ratio " << ratio;
        EXPECT_EQ(std::count(columns.begin(), columns.end(), true), under.width()) << "pixel ratio " << ratio;
        // The image's second pixel of its second row, some 7 x 6 pixels of the chart's grid.
        EXPECT_EQ(strips.pixelColor((QPointF(46.0, 27.0) * ratio).toPoint()), under.pixelColor(1, 1)) << ratio;
    }
}

} // namespace
