#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

// Widget tests need one application object for the whole run.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Text is measured and drawn with the same fonts whatever the machine has installed.
    qputenv("FONTCONFIG_FILE", OXI_TEST_FONTCONFIG);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
