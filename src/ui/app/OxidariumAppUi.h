#pragma once

// The application object of the running program: the core application completed with what
// needs windows (the splash, the main window, the document windows of the templates, the About
// box) and the application's menu commands.
//
// main owns one beside the QApplication, calls InitInstance, runs the event loop while it
// returned true, and ends with ExitInstance.

#include "framework/CmdTarget.h"
#include "shell/OxidariumApp.h"

#include <memory>

class CMainFrame;
class CQtChartEngine;
class CSplashWindow;
class QTimer;

class COxidariumAppUi : public COxidariumApp, public CCmdTarget {
public:
    // How long the splash stays at most, and how long it stays after the main window shows.
    static constexpr int kSplashDisplayTime = 5000;
    static constexpr int kSplashCloseDelay = 1000;

    COxidariumAppUi();
    ~COxidariumAppUi() override;

    // Destroys the main window (which writes its placement), then closes the splash.
    int ExitInstance() override;
    // Shows "splash.bmp" from the program directory, or a message naming the program when the
    // picture cannot be read.
    void ShowSplash() override;
    void CloseSplash() override;

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // The timer that closes the splash a second after the main window appeared.
    QTimer* SplashCloseTimer() const { return m_splashCloseTimer.get(); }

    // Runs the About box (modal).
    void OnAppAbout();

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The splash window while it exists.
    CSplashWindow* m_pSplash = nullptr;

protected:
    void RegisterDocTemplates() override;
    bool CreateMainFrame() override;
    void ShowMainWindow() override;
    void BringMainWindowForward() override;

private:
    // The chart engine, installed from construction to destruction; start-up opens it.
    std::unique_ptr<CQtChartEngine> m_chartEngine;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<QTimer> m_splashCloseTimer;
};
