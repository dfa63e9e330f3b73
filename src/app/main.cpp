#include "framework/GuardedApplication.h"
#include "support/QtServices.h"
#include "shell/AppContext.h"
#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"
#include "app/StartupTimer.h"
#include "support/HeapReuse.h"
#include "support/Profile.h"

#include <QApplication>
#include <QCommandLineParser>

#include <clocale>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    KeepFreedMemoryForReuse();
    CGuardedApplication app(argc, argv);
    // Qt sets the numeric locale from the environment; every number the program reads or
    // writes uses the "." decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Oxidarium"));
    QApplication::setApplicationVersion(QStringLiteral("2.12"));

    QCommandLineParser parser;
    const CCommandLineInfo commandLine = ParseCommandLine(parser, QApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    // Everything below lives for the run and goes in the reverse order: the windows and
    // documents first, the profile last.
    CProfile profile(CProfile::DefaultPath());
    SetProfile(&profile);
    int exitCode = 1;
    {
        CAppContext context;
        CQtServices services;
        COxidariumAppUi oxidarium;
        oxidarium.m_cmdInfo = commandLine;
        oxidarium.m_nExitCode = 1;
        std::unique_ptr<CStartupTimer> startupTimer;
        if (oxidarium.InitInstance()) {
            if (parser.isSet(QStringLiteral("startup-time")))
                startupTimer = std::make_unique<CStartupTimer>(oxidarium.MainFrame(), [](double seconds) {
                    std::printf("Main window shown %.3f s after launch\n", seconds);
                    std::fflush(stdout);
                });
            oxidarium.m_nExitCode = QApplication::exec();
        }
        exitCode = oxidarium.ExitInstance();
    }
    SetProfile(nullptr);
    return exitCode;
}
