// The modal watchdog (ModalWatchdog.h), seen from outside: a test program whose tests meet modal
// windows nobody answers fails, naming each window, and ends within the time a test may take.

#include "framework/QtMessageService.h"
#include "ui/support/ModalDialogTest.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

// The planted tests run only in the test program ModalWatchdogTest starts (their environment
// names them); anywhere else they skip.
constexpr const char* kPlanted = "PlantedModalTest.*";
constexpr const char* kPlantedVariable = "OXI_PLANTED_MODALS";
constexpr int kShortLimitSeconds = 1;

bool Planted()
{
    return qEnvironmentVariableIsSet(kPlantedVariable);
}

} // namespace

// A driver that takes longer than the limit inside its dialog is at work, not missing; so is the
// program working under a modal window for longer (a progress dialog over long work, however
// long a busy machine makes it).
TEST(PlantedModalTest, ADriverTakingItsTimeIsLeftToItsDialog)
{
    if (!Planted())
        GTEST_SKIP() << "runs in the test program ModalWatchdogTest starts";
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Driven slowly"));
    WhenDialogShows<QDialog>([](QDialog& shown) {
        QTest::qWait(kShortLimitSeconds * 1500);
        shown.accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    QDialog progress;
    progress.setWindowModality(Qt::ApplicationModal);
    progress.show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kShortLimitSeconds * 1500)
        QCoreApplication::processEvents();
    EXPECT_TRUE(progress.isVisible()) << "closed while the program worked under it";
}

TEST(PlantedModalTest, AnUnexpectedDialogFailsTheTest)
{
    if (!Planted())
        GTEST_SKIP() << "runs in the test program ModalWatchdogTest starts";
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Planted dialog"));
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST(PlantedModalTest, AnUnexpectedMessageBoxFailsTheTest)
{
    if (!Planted())
        GTEST_SKIP() << "runs in the test program ModalWatchdogTest starts";
    CQtMessageService boxes;
    EXPECT_EQ(boxes.ShowMessageBox("Planted message", "Planted caption", MsgYesNo | MsgIconQuestion, 0), MsgResultNo);
}

// Regression: with a fault planted, a test waited on an open dialog for minutes with no time-out.
TEST(ModalWatchdogTest, ATestMeetingAModalWindowNobodyAnswersFailsInTimeAndNamesIt)
{
    if (Planted())
        GTEST_SKIP() << "runs the planted tests itself";
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kPlantedVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("OXI_MODAL_WATCHDOG_SECONDS"), QString::number(kShortLimitSeconds));
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + QLatin1String(kPlanted)});
    ASSERT_TRUE(run.waitForFinished(OXI_UI_TEST_TIMEOUT * 1000)) << "the planted run never ended";
    const qint64 elapsed = clock.elapsed();
    const std::string output = run.readAll().toStdString();
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 1) << output;
    for (const char* named : {"stood for 1 s and was closed: QDialog \"Planted dialog\"",
                              "stood for 1 s and was closed: CHelpMessageBox \"Planted caption\" saying \"Planted "
                              "message\"",
                              "[  FAILED  ] PlantedModalTest.AnUnexpectedDialogFailsTheTest",
                              "[  FAILED  ] PlantedModalTest.AnUnexpectedMessageBoxFailsTheTest",
                              "[  PASSED  ] 1 test", " 2 FAILED TESTS"})
        EXPECT_NE(output.find(named), std::string::npos) << named << " in:\n" << output;
    EXPECT_LT(elapsed, OXI_UI_TEST_TIMEOUT * 1000 / 2) << output;
}
