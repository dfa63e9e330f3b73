// The monkey: the real program, started offscreen on a private copy of the shipped databases plus
// a generated glaze database of a few thousand glazes, used at random from a seed for a given
// time, then ended through File > Exit.
//
//   oxidarium_monkey --seed N --seconds S [--step-limit SECONDS] [--hang-limit SECONDS] [--working-set]
//                    [--journal FILE]
//   oxidarium_monkey --replay FILE [--step-limit SECONDS] [--hang-limit SECONDS]
//
// The walk depends on the clock as well as the seed (how many steps fit into a session, when the
// dialog timer fires), so the same seed need not repeat it. Every run writes its walk to a
// journal as it goes (MonkeyJournal.h: the steps, the details of each and the commit the monkey
// was built from): FILE with --journal, else journal.txt in the run's folder, which stays when
// the run fails and is named in its report. --replay FILE takes exactly that walk again, with
// the seed and switches the journal names, and stops, naming the step and what differs, where
// the program does something the journal does not show. What the walk sees is the same in every
// run: the same fonts (the widget tests'), a folder path of the same length and glyph widths,
// and dialogs driven only once the events that brought them up have all been delivered.
//
// Each step opens windows, runs an enabled menu or pop-up command, presses keys, types random but
// typed values into fields (numbers in and out of range, empty, very long, non-Latin text),
// clicks buttons or closes, moves and activates windows. Message boxes and file questions are
// answered at random through the program's services (saving to and opening from a scratch
// folder); the real dialogs a command brings up are driven by a timer that fills and accepts,
// rejects or closes them, so nothing ever waits for a person.
//
// With --working-set every session first opens a long day's work (three glaze databases, blends,
// graphs, reports, the graph template editor) and keeps coming back to those commands before
// File > Exit.
//
// After every step: no crash, no sanitizer report, no failure stopped at a command boundary, no
// step that hangs, and every file a save wrote opens again with the record count of its
// document; at the end, File > Exit ends the program (else the report names the field and window
// that refused, what the field holds and what the program said last). A step hangs when the
// program's thread spends more than 5 s of processor time in it (--step-limit), or when it has
// not ended after 5 minutes on the clock (--hang-limit): how long a step takes on the clock says
// as much about the machine's load as about the program, and speed is for the benchmarks. A
// failure prints the seed, the journal and the last 50 steps and exits non-zero; a crash prints
// them from its signal handler (on a stack of its own), a step that hangs also the stack of the
// program's thread, and under AddressSanitizer the sanitizer's own report comes first.

#include "GeneratedGlazes.h"
#include "TestPaths.h"
#include "MonkeyDriver.h"
#include "MonkeyJournal.h"
#include "MonkeyLog.h"
#include "MonkeyProgram.h"

#include "framework/DocTemplate.h"
#include "framework/GuardedApplication.h"
#include "support/QtServices.h"
#include "shell/AppContext.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"
#include "support/Profile.h"

#include <QApplication>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A step may spend 5 s of processor time; a Debug build under the sanitizers runs the same step
// up to twelve times slower (a print preview of the generated database: 1.3 s against 25 s), so
// there the limit scales with it. A step that has not ended after minutes on the clock waits for
// something that never comes.
#if defined(__SANITIZE_ADDRESS__)
constexpr SStepLimits kStepLimits = {5 * 12, 10 * 60};
#else
constexpr SStepLimits kStepLimits = {5, 5 * 60};
#endif

struct Options {
    unsigned seed = 1;
    double seconds = 30;
    SStepLimits stepLimits = kStepLimits;
    bool workingSet = false;
    std::string journal;
    std::string replay;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--working-set") == 0) {
            options.workingSet = true;
            continue;
        }
        if (i + 1 >= argc)
            break;
        if (std::strcmp(argv[i], "--seed") == 0)
            options.seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            options.seconds = std::strtod(argv[i + 1], nullptr);
        else if (std::strcmp(argv[i], "--step-limit") == 0)
            options.stepLimits.processorSeconds = std::strtod(argv[i + 1], nullptr);
        else if (std::strcmp(argv[i], "--hang-limit") == 0)
            options.stepLimits.clockSeconds = std::strtod(argv[i + 1], nullptr);
        else if (std::strcmp(argv[i], "--journal") == 0)
            options.journal = argv[i + 1];
        else if (std::strcmp(argv[i], "--replay") == 0)
            options.replay = argv[i + 1];
        else
            continue;
        ++i;
    }
    return options;
}

// The sandbox's path shows in window titles, lists and the files the walk writes, and how wide
// they are decides whether scroll bars show, which are fields a step may pick: every run has a
// path of the same length and the same glyph widths, a number in a folder of its own.
std::string MakeSandboxRoot()
{
    for (int tries = 0, number = static_cast<int>(::getpid()) % 1000000; tries < 1000000;
         ++tries, number = (number + 1) % 1000000) {
        char path[64];
        std::snprintf(path, sizeof path, "/tmp/oxidarium-monkey-%06d", number);
        if (::mkdir(path, 0700) == 0)
            return path;
        if (errno != EEXIST)
            break;
    }
    std::fprintf(stderr, "monkey: cannot make a folder in /tmp\n");
    std::exit(2);
}

// The program's folders: its own directory (with the hand-over of the data directory), the data
// directory with the databases, a scratch folder for saves, and the profile. A run that fails
// leaves them (with the journal) for a look.
struct Sandbox {
    std::string root = MakeSandboxRoot();
    std::string programDir = root + "/program";
    std::string dataDir = root + "/data";
    std::string scratchDir = root + "/scratch";

    Sandbox()
    {
        namespace fs = std::filesystem;
        for (const std::string& folder : {programDir, dataDir, scratchDir})
            fs::create_directories(folder);
        for (const fs::directory_entry& entry : fs::directory_iterator(OXI_SHIPPED_DATA_DIR))
            fs::copy_file(entry.path(), dataDir + "/" + entry.path().filename().string());
        WriteMonkeyGlazes(OXI_SHIPPED_DATA_DIR "/glazes.glz", scratchDir + "/many.glz", 3000);
        WriteMonkeyGlazes(OXI_SHIPPED_DATA_DIR "/glazes.glz", scratchDir + "/few.glz", 40);
        fs::copy_file(OXI_SHIPPED_DATA_DIR "/glazes.glz", scratchDir + "/shipped.glz");
        std::FILE* handOver = std::fopen((programDir + "/datalocation.txt").c_str(), "w");
        if (handOver) {
            std::fprintf(handOver, "%s\n", dataDir.c_str());
            std::fclose(handOver);
        }
    }
    ~Sandbox() { std::filesystem::remove_all(root); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
};

// The offscreen platform's notes on what it cannot do are no findings.
void FilterQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (text.startsWith(QStringLiteral("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char** argv)
{
    Options options = ParseOptions(argc, argv);
    CMonkeyJournal journal;
    if (!options.replay.empty()) {
        std::string error;
        if (!journal.Load(options.replay, error)) {
            std::fprintf(stderr, "monkey: %s\n", error.c_str());
            return 2;
        }
        options.seed = journal.Seed();
        options.workingSet = journal.WorkingSet();
    }
    const Sandbox box;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Text is measured with the same fonts whatever the machine has installed, as in the widget
    // tests: how wide a window's text is decides which scroll bars a step may pick.
    qputenv("FONTCONFIG_FILE", OXI_TEST_FONTCONFIG);
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(box.root + "/cache"));
    qInstallMessageHandler(FilterQtMessages);
    CGuardedApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // Type-ahead in lists joins the keys that come within the interval: how many do depends on
    // the speed of the run. Each key the monkey presses is a search of its own.
    QApplication::setKeyboardInputInterval(0);
    const std::string currentDirectory = std::filesystem::current_path().string();

    CMonkeyLog log(options.seed);
    log.InstallCrashReports();
    journal.SetSandbox(box.root);
    if (options.replay.empty()) {
        if (options.journal.empty())
            options.journal = box.root + "/journal.txt";
        if (!journal.Record(options.journal, options.seed, options.workingSet, OXI_MONKEY_PROGRAM)) {
            std::fprintf(stderr, "monkey: cannot write the journal %s\n", options.journal.c_str());
            return 2;
        }
        log.SetJournalPath(std::filesystem::absolute(options.journal).string());
        std::printf("monkey: seed %u for %.0f s in %s\n", options.seed, options.seconds, box.root.c_str());
    } else {
        log.SetJournalPath(std::filesystem::absolute(options.replay).string());
        std::printf("monkey: replaying %s (seed %u%s) in %s\n", options.replay.c_str(), options.seed,
                    options.workingSet ? ", working set" : "", box.root.c_str());
        // Another program may take another walk from the same steps: where it parts from the
        // journal is then the program's doing, not the monkey's.
        if (journal.Program() != OXI_MONKEY_PROGRAM)
            std::printf("monkey: the journal was recorded by the program at %s, this is %s\n",
                        journal.Program().empty() ? "a commit it does not name" : journal.Program().c_str(),
                        OXI_MONKEY_PROGRAM);
    }
    std::fflush(stdout);

    // Sessions of a few seconds to a minute, each started as a potter starts the program and
    // ended through File > Exit, until the time is up: every exit writes the window placement.
    CProfile profile(box.root + "/Oxidarium.ini");
    SetProfile(&profile);
    CMonkeyDriver driver(log, journal, options.seed, box.scratchDir, options.stepLimits);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    int sessions = 0;
    do {
        if (!journal.BeginSession())
            break;
        profile.DeleteKey("PositionAndSize", "LastX");
        {
            CAppContext context;
            CQtServices services;
            COxidariumAppUi oxidarium;
            driver.Attach();
            log.Step("start the program (session " + std::to_string(++sessions) + ")");
            oxidarium.SetProgramDir(box.programDir);
            if (!oxidarium.InitInstance())
                log.Fail("the program did not start");
            oxidarium.CloseSplash();
            driver.OpenGlazeDatabase(box.scratchDir + "/many.glz");
            if (options.workingSet)
                driver.OpenWorkingSet({box.scratchDir + "/few.glz", box.scratchDir + "/shipped.glz"});
            driver.Run(std::min(driver.SessionSeconds(), options.seconds - elapsed()));
            driver.Exit(*oxidarium.MainFrame());
            oxidarium.ExitInstance();
            driver.Detach();
        }
        std::filesystem::current_path(currentDirectory);
        if (!CProfile(profile.Path()).HasValue("PositionAndSize", "LastX"))
            log.Fail("the window placement was not written to the profile at exit");
    } while (journal.Replaying() || elapsed() < options.seconds);
    SetProfile(nullptr);
    if (journal.Replaying()) {
        std::printf("monkey: replayed %d steps of %s in %d sessions without a failure\n", journal.StepsReplayed(),
                    options.replay.c_str(), sessions);
        return 0;
    }
    std::printf("monkey: seed %u passed, %d steps in %d sessions; the longest spent %.2f s of processor time "
                "(%.2f s on the clock): %s\n",
                options.seed, log.StepCount(), sessions, log.LongestStep(), log.LongestStepOnTheClock(),
                log.LongestStepText().c_str());
    std::printf("monkey: windows and dialogs seen: %s\n", driver.KindsSeen().c_str());
    const int result = log.StepCount() > sessions ? 0 : 1;
    return result;
}
