#include "app/SplashWindow.h"

#include "app/DibBitmap.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A white picture with a red disc in the middle, written as a bitmap file.
QString WriteDiscPicture(const QTemporaryDir& dir, QImage::Format format = QImage::Format_RGB888)
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 30, 20));
    painter.drawEllipse(QPoint(30, 20), 15, 15);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("disc.bmp"));
    EXPECT_TRUE(image.convertToFormat(format).save(path, "BMP"));
    return path;
}

} // namespace

TEST(SplashWindowTest, PicturesAnswerPixelColoursThroughTheirColourTable)
{
    QTemporaryDir dir;
    CDibBitmap picture;
    EXPECT_FALSE(picture.LoadFromFile(dir.filePath(QStringLiteral("missing.bmp")), true));
    QFile broken(dir.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM\x10\x00 not a picture at all");
    broken.close();
    EXPECT_FALSE(picture.LoadFromFile(broken.fileName(), true));
    EXPECT_FALSE(picture.IsLoaded());

    ASSERT_TRUE(picture.LoadFromFile(WriteDiscPicture(dir, QImage::Format_Indexed8), true));
    EXPECT_FALSE(picture.ColorTable().isEmpty());
    EXPECT_EQ(picture.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.GetPixel(30, 20), 200u | (30u << 8) | (20u << 16));
    EXPECT_EQ(picture.GetPixel(60, 0), CDibBitmap::kNoColor);
    ASSERT_TRUE(picture.LoadFromFile(WriteDiscPicture(dir), false));
    EXPECT_EQ(picture.GetPixel(0, 0), CDibBitmap::kNoColor) << "pixels not kept";
}

TEST(SplashWindowTest, TheWindowTakesTheShapeOfThePicture)
{
    QTemporaryDir dir;
    const QString path = WriteDiscPicture(dir);
    CSplashWindow splash;
    ASSERT_TRUE(splash.LoadPicture(path, CSplashWindow::kSampleTransparentColor));
    const QRegion& outline = splash.Outline();
    EXPECT_TRUE(outline.contains(QPoint(30, 20)));
    EXPECT_TRUE(outline.contains(QPoint(20, 20)));
    EXPECT_FALSE(outline.contains(QPoint(1, 1)));
    EXPECT_FALSE(outline.contains(QPoint(58, 38)));
    EXPECT_FALSE(outline.contains(QPoint(19, 9))) << "the disc's corner box is cut away";
    EXPECT_LE(outline.boundingRect().width(), 32);

    ASSERT_TRUE(splash.LoadPicture(path, CSplashWindow::kNoTransparentColor));
    EXPECT_TRUE(splash.Outline().isEmpty()) << "the full rectangle";

    // A picture all of the transparent colour has no outline.
    QImage blank(10, 10, QImage::Format_RGB888);
    blank.fill(Qt::white);
    const QString blankPath = dir.filePath(QStringLiteral("blank.bmp"));
    ASSERT_TRUE(blank.save(blankPath, "BMP"));
    EXPECT_FALSE(splash.LoadPicture(blankPath, 0xFFFFFF));
}

TEST(SplashWindowTest, ClicksAndKeysCloseTheSplashButMouseMovesDoNot)
{
    QTemporaryDir dir;
    CSplashWindow splash;
    ASSERT_TRUE(splash.LoadPicture(WriteDiscPicture(dir)));
    ASSERT_TRUE(splash.Show(0));
    EXPECT_EQ(splash.DisplayTime(), 750);
    EXPECT_TRUE(splash.IsTimerRunning());
    EXPECT_EQ(splash.size(), QSize(60, 40));
    QTest::mouseMove(&splash, QPoint(5, 5));
    EXPECT_TRUE(splash.isVisible());
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.IsTimerRunning());

    ASSERT_TRUE(splash.Show(CSplashWindow::kNoTimer));
    EXPECT_FALSE(splash.IsTimerRunning());
    QWidget other;
    QTest::keyClick(&other, Qt::Key_Space);
    EXPECT_FALSE(splash.isVisible()) << "any key anywhere in the program";

    ASSERT_TRUE(splash.Show(30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.isVisible(); }, 2000));

    CSplashWindow empty;
    EXPECT_FALSE(empty.Show(100)) << "no picture";
}
