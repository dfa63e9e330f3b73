#include "framework/PrintPreviewDlg.h"

#include "framework/PrintSetup.h"
#include "shell/AppContext.h"
#include "support/PrintJob.h"
#include "ui/support/ModalDialogTest.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// A printout of many pages whose pages differ: each line is numbered and of its own length.
// No time stamp, so that two layouts made a second apart draw the same footer.
void FillManyPages(CTextPrinter& printer)
{
    printer.m_timeStamp.clear();
    printer.m_showLaterHeader = true;
    printer.m_laterPageNumber = true;
    printer.m_laterHeader = "Glazes";
    for (int i = 0; i < 3000; ++i)
        printer.push_back("G" + std::to_string(i) + " " + std::string(static_cast<std::size_t>(i * 17 % 23), 'x'));
}

QString Shown(CPrintPreviewDlg& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("status"))->text();
}

void Click(CPrintPreviewDlg& preview, const char* button)
{
    preview.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

void Wheel(CPrintPreviewDlg& preview, int angle)
{
    auto* area = preview.findChild<QScrollArea*>(QStringLiteral("pages"));
    ASSERT_NE(area, nullptr);
    QWidget* pages = area->widget();
    ASSERT_NE(pages, nullptr);
    QWheelEvent event(QPointF(10, 10), pages->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages, &event);
}

void PressKey(CPrintPreviewDlg& preview, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(preview.focusWidget() ? preview.focusWidget() : &preview, &press);
}

// The mean difference of grey between two images of one size (0 alike, 255 black on white).
double MeanGreyDifference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage right = b.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x)
            sum += std::abs(qGray(left.pixel(x, y)) - qGray(right.pixel(x, y)));
    return sum / (left.width() * left.height());
}

QImage WhiteImage(const QSize& size, int dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    image.fill(Qt::white);
    return image;
}

} // namespace

// Regression: the preview laid out and drew every page before it showed the first, a second
// and more for thousands of glazes.
TEST(PrintPreviewDlgTest, AManyPagePrintoutDrawsOnlyThePagesShownAndStepsThroughThem)
{
    CAppContext context;
    CPrintJob job(FillManyPages);
    bool printAsked = false;
    WhenDialogShows<CPrintPreviewDlg>([&printAsked](CPrintPreviewDlg& preview) {
        const int count = preview.PageCount();
        ASSERT_GT(count, 40);
        preview.grab();
        EXPECT_EQ(preview.PagesDrawn(), 1);
        EXPECT_TRUE(preview.isSizeGripEnabled());
        // Fitted to the window, the sheet stands a gap below the desk's top and a gap and its
        // shadow above its bottom.
        const QImage desk = preview.findChild<QScrollArea*>(QStringLiteral("pages"))->widget()->grab().toImage();
        int top = 0, bottom = desk.height() - 1;
        while (top < bottom && qGray(desk.pixel(desk.width() / 2, top)) != 255)
            ++top;
        while (bottom > top && qGray(desk.pixel(desk.width() / 2, bottom)) != 255)
            --bottom;
        EXPECT_EQ(top, 16);
        EXPECT_EQ(desk.height() - 1 - bottom, 16 + 4);
        EXPECT_EQ(Shown(preview), QStringLiteral("Page 1 of %1").arg(count));
        EXPECT_FALSE(preview.findChild<QPushButton*>(QStringLiteral("prev"))->isEnabled());

        Click(preview, "next");
        EXPECT_EQ(Shown(preview), QStringLiteral("Page 2 of %1").arg(count));
        PressKey(preview, Qt::Key_PageDown);
        EXPECT_EQ(Shown(preview), QStringLiteral("Page 3 of %1").arg(count));
        Wheel(preview, -120);
        EXPECT_EQ(Shown(preview), QStringLiteral("Page 4 of %1").arg(count));
        Wheel(preview, 120);
        PressKey(preview, Qt::Key_PageUp);
        Click(preview, "prev");
        EXPECT_EQ(Shown(preview), QStringLiteral("Page 1 of %1").arg(count));
        EXPECT_EQ(preview.PagesDrawn(), 1) << "pages stepped over unseen are not drawn";

        QApplication::processEvents();
        Click(preview, "next");
        Click(preview, "twoPage");
        EXPECT_EQ(Shown(preview), QStringLiteral("Pages 2-3 of %1").arg(count));
        EXPECT_EQ(preview.findChild<QPushButton*>(QStringLiteral("twoPage"))->text(), QStringLiteral("&One Page"));
        QApplication::processEvents();
        EXPECT_EQ(preview.PagesDrawn(), 3) << "the pages turned to are drawn at once";
        SaveScreenshot(preview, "print-preview-two-pages");
        EXPECT_LE(preview.PagesDrawn(), 3);
        for (int k = 0; k < count; ++k)
            Click(preview, "next");
        EXPECT_EQ(Shown(preview), QStringLiteral("Pages %1-%2 of %2").arg(count - 1).arg(count));
        EXPECT_FALSE(preview.findChild<QPushButton*>(QStringLiteral("next"))->isEnabled());
        Click(preview, "zoomIn");
        EXPECT_EQ(Shown(preview), QStringLiteral("Page %1 of %2").arg(count - 1).arg(count)) << "zoomed in: one page";
        EXPECT_FALSE(preview.findChild<QPushButton*>(QStringLiteral("twoPage"))->isEnabled());
        QApplication::processEvents();
        SaveScreenshot(preview, "print-preview-zoomed");
        Click(preview, "zoomIn");
        Click(preview, "zoomOut");
        EXPECT_TRUE(preview.findChild<QPushButton*>(QStringLiteral("zoomOut"))->isEnabled()) << "one step out";
        Click(preview, "zoomOut");
        EXPECT_EQ(Shown(preview), QStringLiteral("Pages %1-%2 of %2").arg(count - 1).arg(count));
        preview.grab();
        EXPECT_EQ(preview.PagesDrawn(), 6) << "the sheets are drawn anew at each size";
        // At twice the pixels the desk shows the same sheets, sharper.
        QWidget* pages = preview.findChild<QScrollArea*>(QStringLiteral("pages"))->widget();
        QImage sharp(pages->size() * 2, QImage::Format_RGB32);
        sharp.setDevicePixelRatio(2);
        pages->render(&sharp);
        const QImage plain = pages->grab().toImage();
        EXPECT_LT(MeanGreyDifference(sharp.scaled(pages->size()), plain), 8.0);
        // Regression guard: its first sheet is the page drawn at twice the pixels, not the
        // sheet of the first picture scaled up. The sheet's paper is white along its top and
        // left edges, within the margins.
        const auto white = [&plain](int x, int y) { return plain.pixel(x, y) == qRgb(255, 255, 255); };
        QRect sheet(0, plain.height() / 2, 1, 1);
        while (sheet.left() < plain.width() / 2 && !white(sheet.left(), sheet.top()))
            sheet.moveLeft(sheet.left() + 1);
        while (sheet.top() > 0 && white(sheet.left(), sheet.top() - 1))
            sheet.moveTop(sheet.top() - 1);
        while (sheet.right() + 1 < plain.width() && white(sheet.right() + 1, sheet.top()))
            sheet.setRight(sheet.right() + 1);
        while (sheet.bottom() + 1 < plain.height() && white(sheet.left(), sheet.bottom() + 1))
            sheet.setBottom(sheet.bottom() + 1);
        ASSERT_GT(sheet.width(), 100);
        QImage page(sheet.size() * 2, QImage::Format_RGB32);
        page.setDevicePixelRatio(2);
        QPainter painter(&page);
        preview.DrawPaper(painter, QRectF(QPointF(0, 0), QSizeF(sheet.size())), count - 1);
        painter.end();
        EXPECT_EQ(MeanGreyDifference(sharp.copy(QRect(sheet.topLeft() * 2, page.size())), page), 0.0);

        // Print... closes the preview and prints as the Print command does: the Print dialog.
        WhenDialogShows<QPrintDialog>([&printAsked](QPrintDialog& print) {
            printAsked = true;
            print.reject();
        });
        Click(preview, "print");
    });
    job.PrintPreview();
    EXPECT_TRUE(printAsked);
}

// The preview takes at least 640 x 560 and the main window's size, stands over the main window's
// centre as dialogs do, and stands whole on the screen. Regression: beside a main window larger
// than the screen, or on a small screen, its bottom and its buttons stood off the screen.
TEST(PrintPreviewDlgTest, ThePreviewStandsWholeOnTheScreenAndAnEmptyPrintoutShowsNoPage)
{
    CAppContext context;
    CPrintJob job([](CTextPrinter&) {});
    QWidget mainWindow;
    const QRect screen = mainWindow.screen()->availableGeometry();
    const QRect places[] = {QRect(120, 150, 500, 400), QRect(0, 0, 700, 500),
                            QRect(QPoint(0, 0), screen.size() + QSize(200, 300))};
    for (const QRect& place : places) {
        mainWindow.setGeometry(place);
        mainWindow.show();
        const QSize frame = mainWindow.frameGeometry().size() - mainWindow.size();
        const QSize wanted = place.size().expandedTo(QSize(640, 560)).boundedTo(screen.size() - frame);
        const bool roomAround = place.width() < 640;
        WhenDialogShows<CPrintPreviewDlg>([&](CPrintPreviewDlg& preview) {
            EXPECT_EQ(Shown(preview), QStringLiteral("No pages to preview"));
            EXPECT_FALSE(preview.findChild<QPushButton*>(QStringLiteral("zoomIn"))->isEnabled());
            EXPECT_EQ(preview.size(), wanted);
            if (roomAround) {
                EXPECT_EQ(preview.geometry().center(), place.center());
            }
            EXPECT_TRUE(screen.contains(preview.frameGeometry())) << place.width() << "x" << place.height();
            for (const QPushButton* button : preview.findChildren<QPushButton*>())
                EXPECT_TRUE(screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
                    << button->text().toStdString();
            preview.reject();
        });
        job.PrintPreview(&mainWindow);
    }
    mainWindow.hide();
}

// The preview draws a page from the printer's layout, scaled to the screen: what it shows is
// what the printer prints on that page, at the printer's paper size and margins.
TEST(PrintPreviewDlgTest, AShownPageHoldsWhatThePrinterPrintsOnIt)
{
    CAppContext context;
    QPrinter small(QPrinter::HighResolution);
    small.setPageLayout(QPageLayout(QPageSize(QSizeF(3, 4), QPageSize::Inch, QStringLiteral("Card")),
                                    QPageLayout::Portrait, QMarginsF(0.25, 0.5, 0.25, 0.25), QPageLayout::Inch));
    RememberPrintSetup(small);
    CPrintJob job(FillManyPages);
    QImage shown;
    QRect printable;
    WhenDialogShows<CPrintPreviewDlg>([&](CPrintPreviewDlg& preview) {
        // The sheet at 300 dots per inch: a quarter of the printer's 1200.
        ASSERT_EQ(preview.printer()->resolution(), 1200);
        printable = preview.printer()->pageRect(QPrinter::DevicePixel).toRect();
        shown = WhiteImage(QSize(900, 1200), 300);
        QPainter painter(&shown);
        preview.DrawPaper(painter, QRectF(0, 0, 900, 1200), 2);
        painter.end();
        preview.reject();
    });
    job.PrintPreview();
    RememberPrintSetup(QPrinter());
    ASSERT_EQ(printable, QRect(300, 600, 3000, 3900));

    // The printer's page 2, drawn at the printer's resolution on its printable area.
    QImage printed = WhiteImage(printable.size(), 1200);
    ASSERT_TRUE(job.RenderPage(printed, 2));
    // Compared at 75 dots per inch, where the glyphs' anti-aliasing no longer counts but every
    // line's place and length does.
    const QSize compared(188, 244);
    const QImage shownPage = shown.copy(75, 150, 750, 975).scaled(compared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double same = MeanGreyDifference(shownPage, printed.scaled(compared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QImage next = WhiteImage(printable.size(), 1200);
    ASSERT_TRUE(job.RenderPage(next, 3));
    const double differ = MeanGreyDifference(shownPage, next.scaled(compared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    EXPECT_LT(same, differ / 4);
    // The paper outside the printable area stays blank.
    EXPECT_EQ(MeanGreyDifference(shown.copy(0, 0, 900, 150), WhiteImage(QSize(900, 150), 300)), 0.0);
}
