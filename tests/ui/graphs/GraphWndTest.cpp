#include "graphs/GraphWnd.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/GraphBuildTestSupport.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/ChartPalette.h"
#include "graphs/QtChartEngine.h"
#include "shell/Preferences.h"
#include "ui/support/TestFolders.h"
#include "core/support/DataHomeGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <sys/stat.h>

namespace {

QColor PaletteQColor(int index)
{
    const CColor color = GraphPaletteColor(index);
    return QColor(color.r, color.g, color.b);
}

// The colour of a window's picture (a grab, at the screen's pixel ratio) at a pixel of the window.
QColor ColourAt(const QImage& image, int x, int y)
{
    return image.pixelColor(QPoint(x, y) * image.devicePixelRatio());
}

class GraphWndTest : public GraphBuildTestBase {
protected:
    GraphWndTest()
    {
        m_wnd.resize(600, 300);
        m_wnd.show();
        // The worked glaze's oxides in unity, titled at the top only.
        m_graph.bpoxides = "19,20,13,14";
        m_graph.oxtype = 0;
        m_graph.ttlbota = 0;
    }

    void BuildPie(CGlaze* glaze)
    {
        ASSERT_GE(m_wnd.BuildGraph(m_graph, &m_host, nullptr, glaze), 0);
        m_wnd.SetGraph(&m_graph);
    }
    // The window pixel of a point in chart units.
    QPoint PixelOf(double x, double y) const
    {
        const CChart* chart = m_graph.GetChart();
        if (!chart) {
            ADD_FAILURE() << "no chart";
            return QPoint();
        }
        return QPoint(static_cast<int>(chart->UnitsToPixelsX(x)), static_cast<int>(chart->UnitsToPixelsY(y)));
    }
    // The middle of a slice given by its share of the circle.
    QPoint SliceMiddle(double from, double to) const
    {
        if (!m_graph.GetChart()) {
            ADD_FAILURE() << "no chart";
            return QPoint();
        }
        const CChart& chart = *m_graph.GetChart();
        const double r = chart.ChartGetLayout(4) / 2.0;
        const double angle = (from + to) * 3.14159265358979;
        return PixelOf(chart.ChartGetLayout(6) + r + r / 2.0 * std::cos(angle),
                       chart.ChartGetLayout(7) + r + r / 2.0 * std::sin(angle));
    }

    CInstalledChartEngine<CQtChartEngine> m_qtEngine;
    CGraphWnd m_wnd;
    CTestGraph m_graph;
    CGlaze m_glaze = WorkedGlaze();
};

TEST_F(GraphWndTest, TheOxidePieIsPaintedExportedAndCopied)
{
    BuildPie(&m_glaze);
        const QImage shot = m_wnd.grab().toImage();
    EXPECT_TRUE(shot.save(ScreenshotFolder() + "/oxide-pie.png"));

    QTemporaryDir dir;
    const std::string png = (dir.path() + "/pie.png").toStdString();
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(png, kGraphImagePng), "");
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(600, 300));
    // The centre lies in the silica slice, in the colour of the acids.
    EXPECT_EQ(image.pixelColor(300, 150), PaletteQColor(12));
    EXPECT_EQ(ColourAt(shot, 300, 150), PaletteQColor(12));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));

    const std::string jpeg = (dir.path() + "/pie.jpg").toStdString();
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(jpeg, kGraphImageJpeg), "");
    EXPECT_GT(QFileInfo(QString::fromStdString(jpeg)).size(), 0);
    const std::string bitmap = (dir.path() + "/pie.dib").toStdString();
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(bitmap, kGraphImageBitmap), "");
    EXPECT_EQ(QImage(QString::fromStdString(bitmap), "BMP").size(), QSize(600, 300));
    const std::string unwritable = (dir.path() + "/no such folder/pie.jpg").toStdString();
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(unwritable, kGraphImageJpeg), "Error writing file " + unwritable);
    // A kind of image the engine does not know is refused, not guessed from the file name.
    const std::string unknown = (dir.path() + "/pie.png").toStdString() + ".png";
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(unknown, 99), "Error writing file " + unknown);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(unknown)));

    // Regression: the image was written past the program's safe save. A pipe of that name was
    // replaced by a picture without a word, a file with a second name got a new inode (the other
    // name kept the old picture), and a folder gave no reason.
    const CDataHomeGuard dataHome(dir.path().toStdString() + "/data");
    const std::string fifo = (dir.path() + "/pipe.png").toStdString();
    const std::string folder = (dir.path() + "/folder.png").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    for (const std::string& refused : {fifo, folder}) {
        EXPECT_EQ(m_wnd.CopyOrWriteGraph(refused, kGraphImagePng),
                  "Error writing file " + refused + "\n\nIt is not a regular file.");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    const std::string other = (dir.path() + "/other name.png").toStdString();
    std::filesystem::create_hard_link(png, other);
    ASSERT_TRUE(QFile::resize(QString::fromStdString(png), 10));
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(png, kGraphImagePng), "");
    EXPECT_EQ(QImage(QString::fromStdString(other)).size(), QSize(600, 300)) << "both names show the new picture";
    EXPECT_EQ(std::filesystem::hard_link_count(png), 2u);

    EXPECT_EQ(m_wnd.CopyOrWriteGraph("", kGraphImagePng), "");
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(600, 300));

    // Without a graph the window is black and there is nothing to copy.
    m_wnd.SetGraph(nullptr);
    EXPECT_EQ(ColourAt(m_wnd.grab().toImage(), 300, 150), QColor(Qt::black));
    EXPECT_EQ(m_wnd.CopyOrWriteGraph("", kGraphImagePng), "Error writing to clipboard");
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(png, kGraphImagePng), "Error writing file " + png);

    // Given a graph again, the window paints it at once.
    struct CPaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QApplication::processEvents();
    m_wnd.installEventFilter(&counter);
    m_wnd.SetGraph(&m_graph);
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

// A chart of many thousand glazes takes seconds to draw from its display list: the window draws
// its picture once, at its size and pixel ratio, and shows it at every paint until the chart, the
// size or the ratio changes.
TEST_F(GraphWndTest, PaintsShowThePictureDrawnWhenTheChartOrTheSizeChanged)
{
    BuildPie(&m_glaze);
    const CChart* chart = m_graph.GetChart();
    ASSERT_NE(chart, nullptr);
    const auto drawn = [](const CChart& chart, QSize size, qreal ratio) {
        QImage image(size * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintChart(chart, painter, QRectF(QPointF(0.0, 0.0), QSizeF(size)));
        return image;
    };
    const auto shown = [this](qreal ratio) {
        QImage image(m_wnd.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        m_wnd.render(&image);
        return image;
    };
    // At the screen's pixel ratio (1, or 2 on a screen at 200 %).
    const qreal screen = m_wnd.devicePixelRatioF();
    const int before = m_wnd.PicturesDrawn();
    EXPECT_EQ(shown(screen), screen == 1.0 ? RenderChartImage(*chart) : drawn(*chart, m_wnd.size(), screen));
    m_wnd.repaint();
    EXPECT_EQ(m_wnd.grab().toImage(), drawn(*chart, m_wnd.size(), screen));
    EXPECT_EQ(m_wnd.PicturesDrawn(), before + 1) << "repaints of the chart show its picture";

    // Twice the pixels: the picture is drawn at that ratio, as sharp as the chart drawn there.
    EXPECT_EQ(shown(2.0 * screen), drawn(*chart, m_wnd.size(), 2.0 * screen));
    EXPECT_EQ(m_wnd.PicturesDrawn(), before + 2);
    // Resized alone (the same chart and ratio), the picture is drawn at the new size, the chart
    // scaled to it; then at another ratio alone, and back at the first.
    m_wnd.resize(450, 280);
    EXPECT_EQ(shown(2.0 * screen), drawn(*chart, QSize(450, 280), 2.0 * screen));
    EXPECT_EQ(shown(1.25), drawn(*chart, QSize(450, 280), 1.25));
    EXPECT_EQ(shown(1.0), drawn(*chart, QSize(450, 280), 1.0));
    EXPECT_EQ(shown(1.0), drawn(*chart, QSize(450, 280), 1.0));
    EXPECT_EQ(m_wnd.PicturesDrawn(), before + 5);
    // A chart attached anew is drawn anew, printed and written from its display list.
    m_wnd.SetGraph(&m_graph);
    EXPECT_EQ(shown(1.0), drawn(*chart, QSize(450, 280), 1.0));
    EXPECT_EQ(m_wnd.PicturesDrawn(), before + 6);
    QTemporaryDir dir;
    const std::string png = (dir.path() + "/pie.png").toStdString();
    EXPECT_EQ(m_wnd.CopyOrWriteGraph(png, kGraphImagePng), "");
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(600, 300));
    EXPECT_EQ(m_wnd.PicturesDrawn(), before + 6);
}

TEST_F(GraphWndTest, ClicksReachTheHostAsNoticesWithTheirPlace)
{
    BuildPie(&m_glaze);
    // The CaO slice runs from 3.4 to 4.1 of 4.4 moles.
    QTest::mouseClick(&m_wnd, Qt::LeftButton, {}, SliceMiddle(3.4 / 4.4, 4.1 / 4.4));
    ASSERT_GE(m_host.notices.size(), 2u);
    const CChartNotice cell = ItemAt(m_host.notices, 1);
    EXPECT_EQ(cell.message, kChartNoticeMessage);
    EXPECT_EQ(cell.kind, kChartNoticeCell);
    EXPECT_EQ(m_graph.GetCellText(ChartNoticeColumn(cell.data), ChartNoticeRow(cell.data)), "CaO  0.700");
    EXPECT_EQ(LastItem(m_host.notices).kind, kChartNoticeOther); // the release

    // A right press is event 4, its release event 0; both at the pointer's screen place.
    const QPoint at(120, 80);
    QTest::mousePress(&m_wnd, Qt::RightButton, {}, at);
    QPoint screen;
    EXPECT_EQ(m_wnd.GetLastMouseEvent(screen), kChartEventRightPressed);
    const QPoint expected = m_wnd.mapToGlobal(at);
    EXPECT_LE(std::abs(screen.x() - expected.x()), 1);
    EXPECT_LE(std::abs(screen.y() - expected.y()), 1);
    QTest::mouseRelease(&m_wnd, Qt::RightButton, {}, at);
    EXPECT_EQ(m_wnd.GetLastMouseEvent(screen), kChartEventReleased);
    // An event at the chart's top-left corner is at the window's top-left corner.
    m_qtEngine.ChartMouseEvent(m_graph.GetChartHandle(), kChartEventRightPressed, 0.0, 0.0);
    m_wnd.GetLastMouseEvent(screen);
    EXPECT_EQ(screen, m_wnd.mapToGlobal(QPoint(0, 0)));
}

TEST_F(GraphWndTest, AnErrorTextIsShownInItsBox)
{
    BuildPie(nullptr);
    ASSERT_EQ(m_graph.m_errorText, "No glaze to display");
    const QImage image = m_wnd.grab().toImage();
        image.save(ScreenshotFolder() + "/graph-error.png");
    EXPECT_EQ(ColourAt(image, 4, 296), PaletteQColor(12));
    // The text stands to the right of the box, in red.
    const CChartPrimitive& text = LastItem(m_graph.GetChart()->Primitives());
    ASSERT_EQ(text.text, "No glaze to display");
    bool red = false;
    const QPoint from = PixelOf(text.left, text.bottom + text.height);
    const QPoint to = PixelOf(text.left + text.width, text.bottom);
    for (int x = from.x(); x < to.x() && !red; ++x) {
        for (int y = from.y(); y < to.y() && !red; ++y)
            red = ColourAt(image, x, y).red() > 150 && ColourAt(image, x, y).green() < 100;
    }
    EXPECT_TRUE(red);
    // A click on the box names the box.
    QTest::mouseClick(&m_wnd, Qt::LeftButton, {}, QPoint(4, 296));
    ASSERT_GE(m_host.notices.size(), 2u);
    EXPECT_EQ(ItemAt(m_host.notices, 1).kind, kChartNoticeObject);
    EXPECT_EQ(m_graph.GetMessageText(static_cast<int>(ItemAt(m_host.notices, 1).data >> 16)), "No glaze to display");
}

TEST_F(GraphWndTest, PrintingFitsTheChartIntoThePageOnly)
{
    BuildPie(&m_glaze);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto printedSize = [&](const QString& name, bool draw) {
        printer.setOutputFileName(dir.path() + "/" + name);
        {
            QPainter painter(&printer);
            if (draw)
                m_wnd.DrawToDC(painter);
        }
        return QFileInfo(dir.path() + "/" + name).size();
    };
    const qint64 blank = printedSize("blank.pdf", false);
    EXPECT_GT(printedSize("chart.pdf", true), blank + 1000) << "the page carries the chart";

    // Inside the margins (thousandths of an inch) as large as the chart's shape allows, centred:
    // the 2 : 1 chart across the whole width of an upright page, a 1 : 3 one over its height.
    g_prefs.prtlmar = 1000;
    g_prefs.prtrmar = 500;
    g_prefs.prttmar = 750;
    g_prefs.prtbmar = 250;
    const double dpiX = printer.logicalDpiX() / 1000.0, dpiY = printer.logicalDpiY() / 1000.0;
    const QRectF page(1000 * dpiX, 750 * dpiY, printer.width() - 1500 * dpiX, printer.height() - 1000 * dpiY);
    ASSERT_LT(page.width() / page.height(), 1.0);
    const QRectF wide = m_wnd.PrintTarget(printer);
    EXPECT_NEAR(wide.left(), page.left(), 1.0);
    EXPECT_NEAR(wide.right(), page.right(), 1.0);
    EXPECT_NEAR(wide.width() / wide.height(), 2.0, 0.01);
    EXPECT_NEAR(wide.center().y(), page.center().y(), 1.0);
    m_wnd.resize(200, 600);
    CTestGraph tall;
    tall.bpoxides = m_graph.bpoxides;
    ASSERT_GE(m_wnd.BuildGraph(tall, &m_host, nullptr, &m_glaze), 0);
    m_wnd.SetGraph(&tall);
    const QRectF high = m_wnd.PrintTarget(printer);
    EXPECT_NEAR(high.top(), page.top(), 1.0);
    EXPECT_NEAR(high.bottom(), page.bottom(), 1.0);
    EXPECT_NEAR(high.width() / high.height(), 1.0 / 3.0, 0.01);
    EXPECT_NEAR(high.center().x(), page.center().x(), 1.0);
    m_wnd.SetGraph(nullptr);
    EXPECT_TRUE(m_wnd.PrintTarget(printer).isEmpty());

    // On a device that is not a printer nothing is drawn.
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        m_wnd.DrawToDC(painter);
    }
    EXPECT_EQ(image.pixelColor(100, 50), QColor(Qt::white));
}

} // namespace
