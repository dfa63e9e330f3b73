#pragma once

// The monkey's hands: the random steps, the answers to message boxes and file questions, the
// timer that drives whatever dialog a step brings up, the watchdog on steps that hang and the
// check of the files saved.

#include "MonkeyJournal.h"
#include "MonkeyLog.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <ctime>

class CDocument;
class CMainFrame;
class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

// When a step is a hang. The processor time the program's thread spends in the step measures its
// work whatever else the machine runs; the time on the clock, far longer, catches a step that
// waits for good and so spends none. Work the chart builder spreads over threads is the same work
// on one core or eight: the program's thread does its share and waits for the rest.
struct SStepLimits {
    double processorSeconds;
    double clockSeconds;
};

class CMonkeyDriver : public QObject, public CMessageService, public CFileDialogService {
    Q_OBJECT

public:
    CMonkeyDriver(CMonkeyLog& log, CMonkeyJournal& journal, unsigned seed, std::string scratchDir,
                  SStepLimits limits);
    ~CMonkeyDriver() override;

    // Installs the monkey's answers to message boxes and file questions over the program's
    // services for a session, and puts the program's back.
    void Attach();
    void Detach();
    // How long the next session runs: 3 s to a minute.
    double SessionSeconds() { return 3 + Random(58); }

    void OpenGlazeDatabase(const std::string& path);
    // A long day's work before Exit: the glaze databases open beside each other, then blends,
    // graphs, reports and the graph template editor; from then on every twentieth step or so
    // is one of those commands again.
    void OpenWorkingSet(const std::vector<std::string>& databases);
    // Random steps until the time is up (a replay: as many tries as the journal has).
    void Run(double seconds);
    // File > Exit, answering the save questions at random first and No at the end.
    void Exit(CMainFrame& frame);
    void MendRefusedField(CMainFrame& frame, int tries);
    int Steps() const { return m_log.StepCount(); }
    // The kinds of window and dialog the walk has seen so far.
    std::string KindsSeen() const;

    // The services.
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type, unsigned helpId) override;
    void ShowHelp(HelpRequest request, unsigned contextId) override;
    int ScreenHeight() override { return 768; }
    CFileDialogResult AskForFiles(const CFileDialogRequest& request) override;

public slots:
    // Where links and files the program hands to the desktop end: nowhere.
    void OpenUrl(const QUrl& url);

protected:
    // Tool tips show when the mouse has rested long enough: by the clock, not by the walk.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DialogState {
        int ticks = 0;
        int fills = 0;
        bool ending = false;
    };
    struct DocumentState {
        std::string path;
        bool modified = true;
    };

    int Random(int below);
    bool Chance(int percent) { return Random(100) < percent; }
    std::string RandomText();
    std::string RandomName(const std::string& extension);

    void Step();
    void BeginStep(const std::string& text);
    void EndStep();
    void Settle();

    void RunMenuCommand();
    // An enabled menu command whose text (without '&') contains name; false when none is.
    bool RunNamedCommand(const std::string& name);
    std::vector<QAction*> EnabledCommands();
    void OpenPopupMenu();
    void PressKey();
    void FillField();
    void ClickButton();
    void ArrangeWindows();

    QWidget* StepTarget();
    // When a window was first shown (counted), for an order of windows that does not depend on
    // where they stand in memory.
    long long Appeared(const QWidget* window) const;
    std::vector<QAction*> EnabledMenuCommands(QMenu* menu);
    // Fills one field of container with a random value; false when it has none.
    bool FillRandomField(QWidget* container);
    // which: the field's place among those the step could pick, for the log and the journal.
    void FillWidget(QWidget* field, const std::string& which);

    void Tick();
    // Runs action once the tick is over (a click may bring up a dialog of its own, which the
    // next ticks drive); no tick acts on a dialog before its last action has run, so that the
    // clock cannot reorder them.
    void Post(std::function<void()> action);
    // A replay: lets the journal's ticks on a dialog that the previous step left up run first.
    void CatchUpTicks();
    void ClickLater(QAbstractButton* button);
    // A detail of the step (a dialog's field filled, a message box answered): into the log and
    // the journal; a replay stops where the journal has another.
    void Detail(const std::string& text);
    [[noreturn]] void LeftTheJournal(const std::string& what);
    void DriveModal(QWidget* modal);
    void DrivePopup(QMenu* menu);
    void EndDialog(QWidget* dialog, DialogState& state);

    // The field and window that refused Exit, what the field holds and the last message.
    std::string RefusedField(CMainFrame& frame) const;
    void CheckSavedFiles();
    void WatchSteps();

    CMonkeyLog& m_log;
    CMonkeyJournal& m_journal;
    std::mt19937 m_random;
    long long m_draws = 0; // random numbers drawn so far: a replay draws the same before each step
    std::string m_scratchDir;
    SStepLimits m_limits;
    CMessageService* m_previousMessages;
    CFileDialogService* m_previousFileDialogs;
    QTimer m_ticker;
    bool m_inTick = false;
    bool m_settlingTick = false;
    bool m_actionPending = false;
    int m_unmatchedTicks = 0; // a replay: ticks on a dialog the journal does not drive
    long long m_unmatchedAt = -1; // with this many numbers drawn
    bool m_exiting = false;
    bool m_workingSet = false;
    int m_saveCount = 0;
    std::string m_lastMessage; // the text of the last message box, named when Exit is refused
    std::map<QWidget*, DialogState> m_dialogs;
    std::map<const CDocument*, DocumentState> m_documents;
    std::set<std::string> m_kindsSeen;
    std::map<const QObject*, long long> m_appeared;
    long long m_windowsShown = 0;

    clockid_t m_programClock; // the processor time of the program's thread
    std::atomic<long long> m_stepStarted{0}; // steady-clock milliseconds, 0 between steps
    std::atomic<long long> m_stepStartedSpent{0}; // the program's thread's processor time then, in ns
    std::atomic<bool> m_stopWatching{false};
    std::thread m_watchdog;
};
