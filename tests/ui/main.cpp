#include "ui/support/ModalWatchdog.h"
#include "ui/support/ProcessStateCheck.h"
#include "ui/support/TestFolders.h"

#include "framework/GuardedApplication.h"

#include <gtest/gtest.h>

#include <clocale>

// Widget tests need one application object for the whole run.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Text is measured and drawn with the same fonts whatever the machine has installed.
    qputenv("FONTCONFIG_FILE", OXI_TEST_FONTCONFIG);
    // Everything the tests write goes into a folder of this process's own.
    StartTestFolder();
    int result = 1;
    {
        // The program's own application object, with its command boundary and paste guard.
        CGuardedApplication app(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        ::testing::InitGoogleTest(&argc, argv);
        InstallProcessStateCheck();
        // A modal window no test answers fails its test instead of keeping the run waiting.
        StartModalWatchdog();
        result = RUN_ALL_TESTS();
        if (result == 0 && ProcessStateChanged())
            result = 1;
    }
    EndTestFolder();
    return result;
}
