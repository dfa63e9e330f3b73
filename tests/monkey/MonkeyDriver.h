#pragma once

// The monkey's hands: the random steps, the answers to message boxes and file questions, the
// timer that drives whatever dialog a step brings up, the watchdog on the length of a step and
// the check of the files saved.

#include "MonkeyLog.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CDocument;
class CMainFrame;
class QAction;
class QMenu;
class QWidget;

class CMonkeyDriver : public QObject, public CMessageService, public CFileDialogService {
    Q_OBJECT

public:
    CMonkeyDriver(CMonkeyLog& log, unsigned seed, std::string scratchDir, double stepLimitSeconds);
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
    // Random steps until the time is up.
    void Run(double seconds);
    // File > Exit, answering the save questions at random first and No at the end.
    void Exit(CMainFrame& frame);
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
    std::vector<QAction*> EnabledMenuCommands(QMenu* menu);
    // Fills one field of container with a random value; false when it has none.
    bool FillRandomField(QWidget* container);
    void FillWidget(QWidget* field);

    void Tick();
    void DriveModal(QWidget* modal);
    void DrivePopup(QMenu* menu);
    void EndDialog(QWidget* dialog, DialogState& state);

    void CheckSavedFiles();
    void WatchSteps();

    CMonkeyLog& m_log;
    std::mt19937 m_random;
    std::string m_scratchDir;
    double m_stepLimit;
    CMessageService* m_previousMessages;
    CFileDialogService* m_previousFileDialogs;
    QTimer m_ticker;
    bool m_inTick = false;
    bool m_exiting = false;
    bool m_workingSet = false;
    int m_saveCount = 0;
    std::map<QWidget*, DialogState> m_dialogs;
    std::map<const CDocument*, DocumentState> m_documents;
    std::set<std::string> m_kindsSeen;

    std::atomic<long long> m_stepStarted{0}; // steady-clock milliseconds, 0 between steps
    std::atomic<bool> m_stopWatching{false};
    std::thread m_watchdog;
};
