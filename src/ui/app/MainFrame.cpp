#include "app/MainFrame.h"

#include "elements/ElementsDoc.h"
#include "framework/CommandGuard.h"
#include "framework/Cp1252.h"
#include "framework/Document.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "app/AppCommands.h"
#include "shell/OxidariumApp.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbFileType.h"
#include "support/ListView31.h"
#include "support/Profile.h"
#include "textfile/TextFileView.h"
#include "tree/DbTreeDoc.h"
#include "tree/DbTreeView.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

constexpr const char* kPlacementSection = "PositionAndSize";
constexpr int kMinimumSize = 100;
constexpr unsigned kHelpFinderId = 2002;
// The widest text the document pane must hold.
constexpr const char* kDocumentPaneSizer = " Ln 99999 Col 999  (99999/9999999)";

int ProfileInt(const char* key, int defaultValue)
{
    const CProfile* profile = GetProfile();
    return profile ? profile->GetInt(kPlacementSection, key, defaultValue) : defaultValue;
}

// A stored corner left of or above the screen, or beyond seven eighths of it, goes to 0.
int CornerOnScreen(int stored, int screenExtent)
{
    return stored < 0 || stored > (screenExtent / 8) * 7 ? 0 : stored;
}

int SizeOnScreen(int stored, int screenExtent)
{
    return std::max(std::min(stored, screenExtent), kMinimumSize);
}

// Where a window whose corner is at corner may stand: the area the desktop leaves to windows on
// the screen holding that corner, or on the primary screen when no screen does. In the
// coordinates of the present scale, so a window left large by a session at 100 % fits a screen
// at 200 % too.
QRect AvailableArea(QPoint corner)
{
    const QScreen* screen = QGuiApplication::screenAt(corner);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// The stored rectangle brought onto its screen, whole.
QRect PlacedOnScreen(const QRect& stored)
{
    const QRect area = AvailableArea(stored.topLeft());
    const QPoint corner(area.left() + CornerOnScreen(stored.left() - area.left(), area.width()),
                        area.top() + CornerOnScreen(stored.top() - area.top(), area.height()));
    const QSize size(SizeOnScreen(stored.width(), area.width()), SizeOnScreen(stored.height(), area.height()));
    return FittedInto(QRect(corner, size), area);
}

bool IsGlazeDatabasePath(const QString& path)
{
    return path.endsWith(QStringLiteral(".glz"), Qt::CaseInsensitive);
}

std::string Count(int value)
{
    return std::to_string(value);
}

// The document part of the pane for a database: its kind and its number of records; empty for
// a document that is not a database.
std::string DatabasePaneText(CDocument* document)
{
    if (dynamic_cast<CElementsDoc*>(document))
        return " Elements: 103";
    if (auto* materials = dynamic_cast<CMaterialsDoc*>(document))
        return " Materials: " + Count(materials->Materials().GetCount());
    if (auto* substitutions = dynamic_cast<CSubstitutionsDoc*>(document))
        return " Substitutions: " + Count(substitutions->Substitutions().GetCount());
    if (auto* glazes = dynamic_cast<CGlazesDoc*>(document))
        return " Glazes: " + Count(glazes->GetGlazeCount());
    if (auto* limits = dynamic_cast<CLimitFormulasDoc*>(document))
        return " Limit Formulas: " + Count(limits->Database().GetCount());
    if (auto* graphs = dynamic_cast<CGraphTypesDoc*>(document))
        return " Graph Templates: " + Count(graphs->Database().GetCount());
    if (dynamic_cast<CDbTreeDoc*>(document))
        return " Database Tree";
    return std::string();
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : CMDIMainFrame(parent)
{
    setWindowTitle(QStringLiteral("Oxidarium"));
    setAcceptDrops(true);
    CreateStatusPanes();
    ReadPlacement();
    RegisterMainMenu();
    m_decorateConnection = connect(this, &CMDIMainFrame::activeChildChanged, this, [this] { DecorateMenuBar(); });
    SetMainMenuResource(kMainMenuResourceId);
    DecorateMenuBar();
    auto* contextHelp = new QShortcut(QKeySequence(QStringLiteral("Shift+F1")), this);
    connect(contextHelp, &QShortcut::activated, this, [this] { ExecuteCommand(CmdContextHelpMode); });
}

CMainFrame::~CMainFrame()
{
    // The base closes the document windows after this part is gone: activation changes must
    // not reach it then.
    disconnect(m_decorateConnection);
    disconnect(statusBar(), nullptr, this, nullptr);
    // A failure may not leave a destructor (that would end the program on the spot).
    RunGuarded("write the window placement", [this] { WritePlacement(); });
}

void CMainFrame::ReadPlacement()
{
    const QRect stored(ProfileInt("LastX", 10), ProfileInt("LastY", 10), ProfileInt("LastCX", 500),
                       ProfileInt("LastCY", 400));
    m_nStyle = ProfileInt("Style", kStyleNormal);
    m_placement = PlacedOnScreen(stored);
    m_frameToFit = true;
    move(m_placement.topLeft());
    resize(m_placement.size());
}

// The desktop's frame around the window (title bar, borders) is known only once the window
// shows: the first time it is, in the normal state, the frame too is brought onto the screen.
void CMainFrame::FitFrameOnScreen()
{
    if (!m_frameToFit || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    if (frame == inside)
        return;
    m_frameToFit = false;
    const QRect fitted = FittedInto(frame, AvailableArea(frame.topLeft()));
    if (fitted == frame)
        return;
    // The document windows stood inside the workspace as it was before; they do so again once
    // it has its new size.
    m_windowsToFit = fitted.size() != frame.size();
    resize(fitted.size() - (frame.size() - inside.size()));
    move(fitted.topLeft());
}

void CMainFrame::WritePlacement() const
{
    CProfile* profile = GetProfile();
    if (!profile)
        return;
    profile->WriteInt(kPlacementSection, "LastX", m_placement.left());
    profile->WriteInt(kPlacementSection, "LastY", m_placement.top());
    profile->WriteInt(kPlacementSection, "LastCX", m_placement.width());
    profile->WriteInt(kPlacementSection, "LastCY", m_placement.height());
    profile->WriteInt(kPlacementSection, "Style", m_nStyle);
}

void CMainFrame::ShowInStoredState()
{
    if (m_nStyle == kStyleMaximized)
        showMaximized();
    else if (m_nStyle == kStyleMinimized)
        showMinimized();
    else
        show();
}

// Only a normal window changes the rectangle, so the one written at the end is the last
// rectangle the user saw in the normal state.
void CMainFrame::TrackPlacement()
{
    if (!isVisible())
        return;
    FitFrameOnScreen();
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) {
        m_nStyle = kStyleMinimized;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        m_nStyle = kStyleMaximized;
    } else {
        m_nStyle = kStyleNormal;
        m_placement = QRect(pos(), size());
    }
}

void CMainFrame::showEvent(QShowEvent* event)
{
    CMDIMainFrame::showEvent(event);
    FitFrameOnScreen();
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    CMDIMainFrame::moveEvent(event);
    TrackPlacement();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    CMDIMainFrame::resizeEvent(event);
    TrackPlacement();
    if (std::exchange(m_windowsToFit, false))
        StandWindowsInSight();
}

void CMainFrame::changeEvent(QEvent* event)
{
    CMDIMainFrame::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        TrackPlacement();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The placement goes into the profile before anything else the closing does, so that no
    // failure in the save questions or in closing the documents can lose it.
    WritePlacement();
    g_bFrameClosing = 1;
    bool saved = true;
    // A save that fails on the way (out of memory, say) keeps the program open with its
    // documents, as Cancel does.
    if (g_pApp && !RunGuarded("save the changed documents", [&saved] { saved = g_pApp->SaveAllModified(SaveModifiedFor::Closing); }))
        saved = false;
    if (!saved) {
        event->ignore();
    } else {
        if (g_pApp)
            RunGuarded("close the documents", [] { g_pApp->m_docManager.CloseAllDocuments(); });
        CMDIMainFrame::closeEvent(event);
    }
    g_bFrameClosing = 0;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    activateWindow();
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    OpenDroppedFiles(paths);
    event->acceptProposedAction();
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (IsGlazeDatabasePath(path) && g_pApp)
            g_pApp->OpenAndAnnounce(g_pGlazesTemplate, QFile::encodeName(path).toStdString(),
                                    static_cast<int>(DbFileType::Glazes));
    }
}

void CMainFrame::CreateStatusPanes()
{
    QStatusBar* bar = statusBar();
    m_documentPane = new QLabel(bar);
    m_documentPane->setFixedWidth(m_documentPane->fontMetrics().horizontalAdvance(kDocumentPaneSizer));
    connect(bar, &QStatusBar::messageChanged, this, [this] { UpdateStatusPanes(); });
    m_capsPane = new QLabel(QStringLiteral("CAP"), bar);
    m_numPane = new QLabel(QStringLiteral("NUM"), bar);
    // The key states cannot be read portably: the indicators stay in their "off" look.
    m_capsPane->setEnabled(false);
    m_numPane->setEnabled(false);
    bar->addPermanentWidget(m_documentPane);
    bar->addPermanentWidget(m_capsPane);
    bar->addPermanentWidget(m_numPane);
}

void CMainFrame::UpdateStatusPanes()
{
    if (!m_documentPane)
        return;
    const QString text = FromCp1252(DocumentPaneText());
    m_documentPane->setText(text);
    // The pane keeps room for its widest text, so that it does not jump as the caret moves,
    // except while a message shows: the message then takes what the pane does not need.
    const bool message = !statusBar()->currentMessage().isEmpty();
    m_documentPane->setFixedWidth(
        m_documentPane->fontMetrics().horizontalAdvance(message ? text : QString::fromLatin1(kDocumentPaneSizer)));
}

std::string CMainFrame::DocumentPaneText() const
{
    CDocument* document = ActiveDocument();
    if (!document)
        return "No doc";
    CView* view = ActiveView();
    auto* textView = dynamic_cast<CTextFileView*>(view);
    std::string text = DatabasePaneText(document);
    if (text.empty() && textView) {
        int line = 0, column = 0, lineCount = 0, length = 0;
        textView->GetCaretInfo(line, column, lineCount, length);
        text = " Ln " + Count(line) + " Col " + Count(column) + "  (" + Count(lineCount) + "/" + Count(length) + ")";
    } else if (text.empty()) {
        text = " Doc type ?";
    }
    if (auto* list = dynamic_cast<CListView31*>(view))
        text += " (" + Count(list->GetSelCount()) + ")";
    else if (view && !textView && !dynamic_cast<CDbTreeView*>(view))
        text += " (1)";
    return text;
}

void CMainFrame::ArrangeIcons()
{
    QMdiArea* area = MdiArea();
    const QRect space = area->viewport()->rect();
    QPoint corner(0, space.bottom() + 1);
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (corner.x() > 0 && corner.x() + size.width() > space.width())
            corner = QPoint(0, corner.y() - size.height());
        window->move(corner.x(), corner.y() - size.height());
        corner.rx() += size.width();
    }
}

bool CMainFrame::OnCommand(unsigned id)
{
    switch (id) {
    case CmdWindowCascade:
        CascadeWindows();
        return true;
    case CmdWindowTile:
        TileWindows();
        return true;
    case CmdWindowArrange:
        ArrangeIcons();
        return true;
    case CmdViewStatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        return true;
    case CmdHelpFinder:
    case CmdContextHelpMode:
    case CmdFrameHelp:
    case CmdDefaultHelp:
        // There is no help per window: every help request opens the index.
        if (g_pApp)
            g_pApp->ShowHelp(kHelpFinderId);
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdViewStatusBar:
        ui.Enable(true);
        ui.SetCheck(statusBar()->isVisible() ? 1 : 0);
        return true;
    case CmdWindowCascade:
    case CmdWindowTile:
    case CmdWindowArrange:
    case CmdHelpFinder:
    case CmdContextHelpMode:
    case CmdFrameHelp:
    case CmdDefaultHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

namespace {

void SetPrompts(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            SetPrompts(sub);
            continue;
        }
        const unsigned id = action->property("oxiCommand").toUInt();
        const char* prompt = ShellCommandPrompt(id);
        if (!prompt)
            prompt = DbTreeCommandPrompt(id);
        if (prompt)
            action->setStatusTip(FromCp1252(prompt));
    }
}

} // namespace

void CMainFrame::DecorateMenuBar()
{
    const bool mainMenu = CurrentMenuResource() == kMainMenuResourceId;
    for (QAction* action : menuBar()->actions()) {
        QMenu* menu = action->menu();
        if (!menu)
            continue;
        SetPrompts(menu);
        if (mainMenu && menu->actions().isEmpty()) {
            action->setEnabled(false);
            action->setStatusTip(FromCp1252(ShellCommandPrompt(CmdShellEdit)));
        }
    }
}
