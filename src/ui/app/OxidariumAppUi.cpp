#include "app/OxidariumAppUi.h"

#include "elements/ElementsView.h"
#include "framework/MessageService.h"
#include "framework/PrintSetup.h"
#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazeEditView.h"
#include "glazes/GlazesView.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"
#include "graphs/GraphView.h"
#include "graphs/QtChartEngine.h"
#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasView.h"
#include "materials/MaterialEditView.h"
#include "materials/MaterialsView.h"
#include "app/AboutDlg.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "shell/PreferencesDlg.h"
#include "app/SplashWindow.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsView.h"
#include "support/PathHelpers.h"
#include "textfile/TextFileView.h"
#include "tree/DbTreeView.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QTimer>

namespace {

constexpr const char* kSplashFileName = "splash.bmp";
constexpr const char* kNoSplashText = "Oxidarium version 2.1";
constexpr unsigned kHelpFinderId = 2002;

} // namespace

COxidariumAppUi::COxidariumAppUi()
    : m_chartEngine(std::make_unique<CQtChartEngine>()), m_splashCloseTimer(std::make_unique<QTimer>())
{
    SetChartEngine(m_chartEngine.get());
    // New document windows step down by a title bar and a frame.
    if (const QStyle* style = QApplication::style())
        m_nCascadeStep = style->pixelMetric(QStyle::PM_TitleBarHeight) +
                         style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    m_splashCloseTimer->setSingleShot(true);
    QObject::connect(m_splashCloseTimer.get(), &QTimer::timeout, m_splashCloseTimer.get(), [this] { CloseSplash(); });
}

COxidariumAppUi::~COxidariumAppUi()
{
    m_pMainFrame.reset();
    CloseSplash();
    if (GetChartEngine() == m_chartEngine.get())
        SetChartEngine(nullptr);
}

int COxidariumAppUi::ExitInstance()
{
    m_pMainFrame.reset();
    return COxidariumApp::ExitInstance();
}

void COxidariumAppUi::ShowSplash()
{
    if (m_pSplash)
        return;
    m_pSplash = new CSplashWindow;
    m_pSplash->m_bDeleteOnClose = false; // this object owns it
    m_pSplash->m_bCloseOnInput = true;
    const std::string path = MakeFilePath(GetProgramDir(), kSplashFileName);
    if (m_pSplash->LoadPicture(QFile::decodeName(path.c_str()))) {
        m_pSplash->Show(kSplashDisplayTime, nullptr);
        return;
    }
    delete m_pSplash;
    m_pSplash = nullptr;
    MessageBoxWithHelp(kNoSplashText, MsgOk | MsgIconInformation, kHelpFinderId);
}

void COxidariumAppUi::CloseSplash()
{
    m_splashCloseTimer->stop();
    if (!m_pSplash)
        return;
    m_pSplash->SetDisplayTime(0);
    delete m_pSplash;
    m_pSplash = nullptr;
}

void COxidariumAppUi::RegisterDocTemplates()
{
    COxidariumApp::RegisterDocTemplates();
    // Each template gets its window: the view factory and the menu bar of its resource id.
    const std::pair<CDocTemplate*, void (*)(CDocTemplate&)> windows[] = {
        {g_pGlazesTemplate, &InstallGlazesTemplate},
        {g_pDbTreeTemplate, &InstallDbTreeTemplate},
        {g_pElementsTemplate, &InstallElementsTemplate},
        {g_pMaterialsTemplate, &InstallMaterialsTemplate},
        {g_pSubstitutionsTemplate, &InstallSubstitutionsTemplate},
        {g_pLimitFormulasTemplate, &InstallLimitFormulasTemplate},
        {g_pTextFileTemplate, &InstallTextFileTemplate},
        {g_pGraphTypesTemplate, &InstallGraphTypesTemplate},
        {g_pMaterialEditTemplate, &InstallMaterialEditTemplate},
        {g_pSubstitutionEditTemplate, &InstallSubstitutionEditTemplate},
        {g_pLimitFormulaEditTemplate, &InstallLimitFormulaEditTemplate},
        {g_pGlazeEditTemplate, &InstallGlazeEditTemplate},
        {g_pGlazeAnalysisTemplate, &InstallGlazeAnalysisTemplate},
        {g_pGraphTypeEditTemplate, &InstallGraphTypeEditTemplate},
        {g_pGraphViewTemplate, &InstallGraphViewTemplate},
    };
    for (const auto& [docTemplate, install] : windows) {
        if (docTemplate)
            install(*docTemplate);
    }
}

bool COxidariumAppUi::CreateMainFrame()
{
    QApplication::setWindowIcon(ProgramIcon());
    m_pMainFrame = std::make_unique<CMainFrame>();
    m_pMainFrame->SetApplicationTarget(this);
    return true;
}

// The splash stays a moment over the finished window; the wait must not hold up the window.
void COxidariumAppUi::ShowMainWindow()
{
    if (!m_pMainFrame)
        return;
    m_pMainFrame->ShowInStoredState();
    m_pMainFrame->ArrangeIcons();
    m_splashCloseTimer->start(kSplashCloseDelay);
}

void COxidariumAppUi::BringMainWindowForward()
{
    if (!m_pMainFrame)
        return;
    if (m_pMainFrame->isMinimized())
        m_pMainFrame->showNormal();
    else
        m_pMainFrame->show();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
}

void COxidariumAppUi::OnAppAbout()
{
    QWidget* owner = QApplication::activeWindow();
    CAboutDlg dialog(owner ? owner : m_pMainFrame.get());
    dialog.exec();
}

bool COxidariumAppUi::OnCommand(unsigned id)
{
    switch (id) {
    case CmdShellNewGlazeDatabase:
        OnNewGlazeDatabase();
        return true;
    case CmdShellOpenGlazeDatabase:
        OnOpenGlazeDatabase();
        return true;
    case CmdShellNewTextWindow:
        OnNewTextWindow();
        return true;
    case CmdShellOpenTextFile:
        OnOpenTextFile();
        return true;
    case CmdShellSaveAllDatabases:
        SaveAllModified(SaveModifiedFor::SavingOnly);
        return true;
    case CmdShellExit:
        if (m_pMainFrame)
            m_pMainFrame->close();
        return true;
    case CmdShellHelp:
    case CmdShellHelpContents:
    case CmdShellHelpTutorial:
        ShowHelp(kHelpFinderId);
        return true;
    case CmdShellPreferences:
        RunPreferencesDialog(m_pMainFrame.get());
        return true;
    case CmdShellAbout:
        OnAppAbout();
        return true;
    case CmdShellPrintSetup:
        RunPrintSetupDialog(QApplication::activeWindow() ? QApplication::activeWindow() : m_pMainFrame.get());
        return true;
    default:
        return false;
    }
}

bool COxidariumAppUi::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdShellNewGlazeDatabase:
    case CmdShellOpenGlazeDatabase:
        // Enabled once the glaze documents have registered their template.
        ui.Enable(g_pGlazesTemplate != nullptr);
        return true;
    case CmdShellNewTextWindow:
    case CmdShellOpenTextFile:
        ui.Enable(g_pTextFileTemplate != nullptr);
        return true;
    case CmdShellPreferences:
        ui.Enable(true);
        return true;
    case CmdShellSaveAllDatabases:
    case CmdShellExit:
    case CmdShellHelp:
    case CmdShellHelpContents:
    case CmdShellHelpTutorial:
    case CmdShellAbout:
    case CmdShellPrintSetup:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
