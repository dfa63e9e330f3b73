#include "app/StartupTimer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

// The --startup-time switch: the timer reports once, after the window's first paint, with the
// seconds since the process started, and ends the event loop; a hidden window is reported at
// once.
TEST(StartupTimerTest, ReportsTheFirstPaintOnceAndEndsTheEventLoop)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    std::vector<double> reports;
    const double before = CStartupTimer::SecondsSinceLaunch();
    CStartupTimer timer(&window, [&reports](double seconds) { reports.push_back(seconds); });
    QTimer guard; // should the paint never come
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(1); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_GE(reports[0], before);
    EXPECT_GT(before, 0.0);

    QWidget hidden;
    std::vector<double> hiddenReports;
    CStartupTimer atOnce(&hidden, [&hiddenReports](double seconds) { hiddenReports.push_back(seconds); });
    EXPECT_EQ(hiddenReports.size(), 1u);
    EXPECT_EQ(QApplication::exec(), 0);
}
