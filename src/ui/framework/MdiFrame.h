#pragma once

// The main window and the document windows.
//
// CMDIMainFrame is a QMainWindow around a QMdiArea. Each document window is a CMDIChildFrame
// holding one view: a widget that is also a core CView. While a document window is active the
// menu bar shows its template's menu (by the template's resource id); with none active it shows
// the main menu.
//
// Window placement: a new document window stands at the application's next cascade position with
// the size its view gives it in OnInitialUpdate; only then, and once it shows with the main window
// (FinishPlacement), does it take the workspace's state: when another window is maximised it opens maximised too, as in every MDI
// program. A form that keeps its size (a view that scrolls a form it never stretches) is never
// maximised: it stays a normal window with its title bar over whatever the workspace shows.
// A window opened normal, or restored from its icon, stands inside the workspace (one that can
// grow shrinks to fit it) and never exactly over another window: it moves along the cascade
// until a title bar of the one behind shows.
// Closing the active window activates the window that opened it (an edit form gives the focus
// back to its list), else the one most recently active, else none; a minimised window is never
// activated so, since the keys would then go to a window the user cannot see.
//
// Commands: every menu entry and pop-up entry carries a command number. When the user picks one,
// or presses its shortcut, the command is routed along the chain active view -> its document ->
// its frame -> the main frame -> the application target; the first target that answers
// OnUpdateCommand decides whether the command is enabled (and its check mark and text), and the
// first whose OnCommand returns true carries it out. A command that is disabled, or that no
// target answers for, never runs, whether from the menu or from a shortcut. Before a command
// runs, the active view commits the field being edited. A command runs inside the command
// boundary (framework/CommandGuard.h): when it runs out of memory it is stopped with "Not enough
// memory to carry out "<caption>"" and the program goes on.

#include "framework/CmdTarget.h"
#include "framework/DocTemplate.h"
#include "framework/MenuDef.h"
#include "framework/View.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRect>

#include <functional>
#include <map>
#include <vector>

class CDocTemplate;
class CDocument;
class CMDIChildFrame;
class QAction;
class QMdiArea;
class QMenu;

// 1 while the main window handles its close request (code that runs inside the close reads it).
extern int g_bFrameClosing;

// rect shrunk to area where it is larger, then moved the least that puts it wholly inside: how a
// window stored or made elsewhere is brought into sight of the screen it opens on.
QRect FittedInto(const QRect& rect, const QRect& area);

class CMDIMainFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT

public:
    explicit CMDIMainFrame(QWidget* parent = nullptr);
    ~CMDIMainFrame() override;

    static CMDIMainFrame* Instance();

    QMdiArea* MdiArea() const { return m_mdiArea; }

    // The menu bar shown while no document window is active.
    void SetMainMenuResource(unsigned resourceId);
    // Where commands go after the main frame: the application's own commands.
    void SetApplicationTarget(CCmdTarget* target) { m_appTarget = target; }

    // Opens a document window holding view (a widget that is also a CView) on document.
    CMDIChildFrame* CreateChildFrame(CDocTemplate& docTemplate, CDocument& document, QWidget* widget,
                                     CView* view, bool visible);

    CMDIChildFrame* ActiveChildFrame() const;
    CView* ActiveView() const;
    CDocument* ActiveDocument() const;
    std::vector<CMDIChildFrame*> ChildFrames() const;

    // Routing: the state of a command along the chain, and carrying it out (false when it is
    // disabled or nobody handles it).
    CCmdUI QueryCommand(unsigned id) const;
    bool ExecuteCommand(unsigned id);
    // The caption of the command in the menu bar shown, empty when it has none.
    std::string CommandCaption(unsigned id) const;
    // Carries out a command a view's own mouse or keys ask for: along the whole chain when the
    // view is the active one, else by the view and then its document.
    static bool RunViewCommand(CView& view, unsigned id);

    // A pop-up menu of routed commands, e.g. for a view's context menu (owned by the caller).
    QMenu* BuildPopupMenu(const CMenuDef& popup, QWidget* parent);

    // Shows a text in the status bar's message pane. A text shown for good (no time-out) comes back
    // whenever a menu entry's prompt goes, so closing a menu never wipes a command's answer, and
    // is the bar's tool tip too; the next command clears it.
    void ShowStatusMessage(const QString& text, int timeoutMs = 0);

    // The menu bar currently shown (the resource id of the active template or the main menu).
    unsigned CurrentMenuResource() const { return m_currentMenu; }

    // Refreshes the menu bar to follow the active document window.
    void UpdateMenuBar();

    // Lets every new document window take the workspace's state now (see FinishPlacement).
    void FinishPlacements();
    // Brings every document window that shows normally back inside the workspace, as a new one
    // stands: for a workspace that shrank before the user saw the windows placed in it.
    void StandWindowsInSight();

    // Window > Cascade: the windows that are neither hidden nor minimised, in their stacking
    // order, each a title bar further down and right than the one behind it, each with most of
    // the workspace (a form that keeps its size only moves) and never less than its minimum size.
    void CascadeWindows();
    // Window > Tile: the same windows side by side and one above another, forms at their own size,
    // filling the workspace above the minimised windows and never leaving it (see TileWindows).
    void TileWindows();

signals:
    void activeChildChanged();

protected:
    bool event(QEvent* event) override;
    // Hook for derived frames: called twice a second and whenever the active window changes.
    virtual void UpdateStatusPanes() {}

private:
    QAction* MakeAction(const CMenuDef& item, QObject* parent);
    QMenu* BuildMenu(const CMenuDef& popup, QWidget* parent);
    void FillWindowList(QMenu* menu, QAction* marker);
    void UpdateActionStates(QMenu* menu);
    void EnableAllActions(QMenu* menu);
    std::vector<CCmdTarget*> CommandChain() const;
    // The command along the chain, outside the command boundary.
    bool RouteCommand(unsigned id);
    // The workspace above the highest minimised window, or all of it when that leaves less than
    // least pixels.
    QRect ArrangeSpace(int least) const;
    // A command or a window picked from the Window menu clears the last command's answer.
    void ClearStatusAnswer();

    QMdiArea* m_mdiArea = nullptr;
    CCmdTarget* m_appTarget = nullptr;
    unsigned m_mainMenu = 0;
    unsigned m_currentMenu = ~0u;
    QString m_statusMessage; // what ShowStatusMessage last showed for good
    // Menus built once per resource id; the menu bar shows one set at a time.
    std::map<unsigned, std::vector<QMenu*>> m_menus;
};

// A document window. It hosts one view and is that view's CFrameHost.
class CMDIChildFrame : public QMdiSubWindow, public CFrameHost {
    Q_OBJECT

public:
    CMDIChildFrame(CDocTemplate& docTemplate, CDocument& document, QWidget* widget, CView* view);
    ~CMDIChildFrame() override;

    CView* View() const { return m_view; }
    QWidget* ViewWidget() const { return m_widget; }
    CDocument* Document() const;
    CDocTemplate* Template() const { return m_pTemplate; }

    // False for a form that keeps its size: it is never maximised and has no maximise button.
    bool CanGrow() const;
    // Called once the view has placed and sized its new window: the window opens maximised when
    // another window of the workspace is, else stands in sight. Later calls do nothing.
    void FinishPlacement();

    // CFrameHost
    void CloseFrame() override;
    void MinimizeFrame() override;
    void ActivateFrame() override;
    bool IsFrameMinimized() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

public:
    // The keys of a window's Close: Ctrl+F4 first, then the desktop's own (Ctrl+W on some).
    static QList<QKeySequence> CloseKeys(const QList<QKeySequence>& desktop);

private:
    friend class CMDIMainFrame;
    void OnAboutToActivate();
    void AddCloseKey();
    // Inside the workspace and clear of the windows there (see MdiFrame.cpp).
    void StandInSight();
    void ActivateSuccessor(QMdiArea* area);
    bool CanSucceed(QMdiSubWindow* window, QMdiArea* area) const;

    // How many cascade steps a window is moved at most to stand clear of the others.
    static constexpr int kStandApartTries = 8;

    CDocTemplate* m_pTemplate;
    CDocument* m_pDocument;
    QWidget* m_widget;
    CView* m_view;
    bool m_forceClose = false;
    bool m_placementPending = false;
    // The window that was active when this one was made: the one that opened it.
    QPointer<QMdiSubWindow> m_opener;
};

// --- window captions ----------------------------------------------------------------------------

// A caption as a window shows it. Database text is Windows-1252; with fileName set the caption is
// a file's name or path, spelt in the file system's bytes (UTF-8 here).
QString WindowCaption(const std::string& caption, bool fileName = false);
// Shows caption on the document window holding view; nothing while the view has none.
void SetViewCaption(const CView& view, const std::string& caption, bool fileName = false);
// A window named by its database: name becomes the title of the view's document and the
// caption of its window.
void SetDocumentCaption(CView& view, const std::string& name);

// A form's window: the frame fits the form and stands centred in the main window's client area.
void FitAndCentreFrame(const CView& view);

// Installs a frame factory on a template: each document it opens gets a window with a new view
// of type ViewT (a QWidget that is also a CView, default-constructible).
template <typename ViewT>
void InstallViewFactory(CDocTemplate& docTemplate)
{
    docTemplate.SetFrameFactory([](CDocTemplate& owner, CDocument& document, bool visible) {
        CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
        if (!mainFrame)
            return false;
        auto* view = new ViewT();
        return mainFrame->CreateChildFrame(owner, document, view, view, visible) != nullptr;
    });
}

// A second window on an open document (an edit form, a report, a graph): a new view of type
// ViewT in a frame of docTemplate, initially updated and activated. Null without a main window.
template <typename ViewT>
ViewT* OpenViewWindow(CDocTemplate* docTemplate, CDocument& document)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame || !docTemplate)
        return nullptr;
    auto* view = new ViewT();
    CMDIChildFrame* frame = mainFrame->CreateChildFrame(*docTemplate, document, view, view, true);
    if (!frame)
        return nullptr;
    view->OnInitialUpdate();
    frame->ActivateFrame();
    return view;
}
