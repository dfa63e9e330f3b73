#include "framework/MdiFrame.h"

#include "framework/CommandGuard.h"
#include "framework/Cp1252.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QShowEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <utility>

int g_bFrameClosing = 0;

namespace {

CMDIMainFrame* s_mainFrame = nullptr;

// A title bar's height: the step between cascaded windows, and how far apart two windows must
// stand for the one behind to show.
int CascadeStep(const QWidget& widget)
{
    return std::max(1, g_pApp ? g_pApp->m_nCascadeStep : widget.style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

constexpr const char* kCommandProperty = "oxiCommand";

unsigned CommandOf(const QAction* action)
{
    return action->property(kCommandProperty).toUInt();
}

const CMenuDef* FindCommandItem(const std::vector<CMenuDef>& items, unsigned id)
{
    for (const CMenuDef& item : items) {
        if (item.kind == CMenuDef::Kind::Command && item.id == id)
            return &item;
        if (const CMenuDef* inner = FindCommandItem(item.items, id))
            return inner;
    }
    return nullptr;
}

} // namespace

CMDIMainFrame::CMDIMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    s_mainFrame = this;
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    statusBar();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenuBar();
        UpdateStatusPanes();
        emit activeChildChanged();
    });
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] { UpdateStatusPanes(); });
    idle->start(500);
}

CMDIMainFrame::~CMDIMainFrame()
{
    // Document windows go first, while the frame they report to still exists.
    for (CMDIChildFrame* child : ChildFrames())
        delete child;
    if (s_mainFrame == this)
        s_mainFrame = nullptr;
}

CMDIMainFrame* CMDIMainFrame::Instance()
{
    return s_mainFrame;
}

void CMDIMainFrame::SetMainMenuResource(unsigned resourceId)
{
    m_mainMenu = resourceId;
    m_currentMenu = ~0u;
    UpdateMenuBar();
}

CMDIChildFrame* CMDIMainFrame::CreateChildFrame(CDocTemplate& docTemplate, CDocument& document, QWidget* widget,
                                                CView* view, bool visible)
{
    auto* frame = new CMDIChildFrame(docTemplate, document, widget, view);
    frame->m_opener = m_mdiArea->activeSubWindow();
    m_mdiArea->addSubWindow(frame, frame->windowFlags());
    // A document read from a file is named by the file until its window names it otherwise.
    const std::string& title = document.GetTitle();
    const bool fileName = !document.GetPathName().empty() &&
                          std::filesystem::path(document.GetPathName()).filename().string() == title;
    frame->setWindowTitle(WindowCaption(title, fileName));
    if (g_pApp) {
        const COxidariumApp::Point position = g_pApp->NextChildWindowPos();
        frame->move(position.x, position.y);
    }
    // The window shows normal until its view has sized it; it then takes the workspace's state,
    // at the latest when the events that follow its first showing have been handled (showEvent).
    frame->m_placementPending = true;
    if (visible)
        frame->show();
    return frame;
}

CMDIChildFrame* CMDIMainFrame::ActiveChildFrame() const
{
    return qobject_cast<CMDIChildFrame*>(m_mdiArea->activeSubWindow());
}

CView* CMDIMainFrame::ActiveView() const
{
    const CMDIChildFrame* frame = ActiveChildFrame();
    return frame ? frame->View() : nullptr;
}

CDocument* CMDIMainFrame::ActiveDocument() const
{
    const CView* view = ActiveView();
    return view ? view->GetDocument() : nullptr;
}

std::vector<CMDIChildFrame*> CMDIMainFrame::ChildFrames() const
{
    std::vector<CMDIChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (auto* frame = qobject_cast<CMDIChildFrame*>(window))
            frames.push_back(frame);
    }
    return frames;
}

std::vector<CCmdTarget*> CMDIMainFrame::CommandChain() const
{
    std::vector<CCmdTarget*> chain;
    if (CView* view = ActiveView()) {
        chain.push_back(view);
        if (CDocument* document = view->GetDocument())
            chain.push_back(document);
    }
    chain.push_back(const_cast<CMDIMainFrame*>(this));
    if (m_appTarget)
        chain.push_back(m_appTarget);
    return chain;
}

CCmdUI CMDIMainFrame::QueryCommand(unsigned id) const
{
    CCmdUI ui(id);
    for (CCmdTarget* target : CommandChain()) {
        if (target->OnUpdateCommand(ui))
            return ui;
    }
    ui.Enable(false); // nobody handles it
    return ui;
}

bool CMDIMainFrame::RunViewCommand(CView& view, unsigned id)
{
    CMDIMainFrame* mainFrame = Instance();
    if (mainFrame && mainFrame->ActiveView() == &view)
        return mainFrame->ExecuteCommand(id);
    CCmdTarget* targets[] = {&view, view.GetDocument()};
    bool handled = false;
    RunGuarded(CommandAction(mainFrame ? mainFrame->CommandCaption(id) : std::string()), [&] {
        for (CCmdTarget* target : targets) {
            CCmdUI ui(id);
            if (target && target->OnUpdateCommand(ui)) {
                handled = ui.m_bEnabled && target->OnCommand(id);
                return;
            }
        }
    });
    return handled;
}

std::string CMDIMainFrame::CommandCaption(unsigned id) const
{
    const CMenuBarDef* bar = FindMenuBar(m_currentMenu);
    const CMenuDef* item = bar ? FindCommandItem(*bar, id) : nullptr;
    return item ? item->text : std::string();
}

bool CMDIMainFrame::ExecuteCommand(unsigned id)
{
    ClearStatusAnswer();
    bool handled = false;
    RunGuarded(CommandAction(CommandCaption(id)), [&] { handled = RouteCommand(id); });
    return handled;
}

bool CMDIMainFrame::RouteCommand(unsigned id)
{
    // A field that refuses what it holds keeps it, and the command stops there. Not at Exit,
    // which takes the road of the main window's title-bar close: the forms ask their own save
    // questions, and one whose user drops the edits closes without its field refusing.
    if (CView* view = ActiveView(); view && id != CmdShellExit && !view->CommitPendingEdit())
        return false;
    if (!QueryCommand(id).m_bEnabled)
        return false;
    for (CCmdTarget* target : CommandChain()) {
        if (target->OnCommand(id)) {
            // A window the command opened is in its final state when the command returns.
            FinishPlacements();
            return true;
        }
    }
    return false;
}

void CMDIMainFrame::FinishPlacements()
{
    for (CMDIChildFrame* frame : ChildFrames())
        frame->FinishPlacement();
}

void CMDIMainFrame::StandWindowsInSight()
{
    for (CMDIChildFrame* frame : ChildFrames()) {
        if (!frame->m_placementPending && frame->isVisible())
            frame->StandInSight();
    }
}

QRect CMDIMainFrame::ArrangeSpace(int least) const
{
    // The room the viewport has once no window sticks out of it and its scroll bars have gone.
    QRect space(QPoint(0, 0), m_mdiArea->contentsRect().size());
    int iconsTop = space.bottom() + 1;
    for (const QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->isVisible() && window->isMinimized())
            iconsTop = std::min(iconsTop, window->y());
    }
    if (iconsTop >= least)
        space.setBottom(iconsTop - 1);
    return space;
}

namespace {

// The windows Cascade and Tile lay out: neither hidden nor minimised, shown as normal windows.
std::vector<QMdiSubWindow*> NormalWindows(const QList<QMdiSubWindow*>& windows)
{
    std::vector<QMdiSubWindow*> normal;
    for (QMdiSubWindow* window : windows) {
        if (!window->isVisible() || window->isMinimized())
            continue;
        if (window->isMaximized())
            window->showNormal();
        normal.push_back(window);
    }
    return normal;
}

bool KeepsItsSize(const QMdiSubWindow* window)
{
    const auto* frame = qobject_cast<const CMDIChildFrame*>(window);
    return frame && !frame->CanGrow();
}

} // namespace

// As on every desktop: each window gets the workspace less as many title bars as fit in a third
// of its height, the steps start again at the top left after that many windows, and the rows of
// minimised windows along the bottom stay uncovered. A window's layout keeps it from getting
// smaller than its minimum size.
void CMDIMainFrame::CascadeWindows()
{
    const int step = CascadeStep(*this);
    const QRect space = ArrangeSpace(step);
    const int steps = space.height() / (3 * step);
    const QSize most(space.width() - steps * step, space.height() - steps * step);
    int placed = 0;
    for (QMdiSubWindow* window : NormalWindows(m_mdiArea->subWindowList(QMdiArea::StackingOrder))) {
        const QSize size = KeepsItsSize(window) ? window->size() : most;
        const int offset = (placed++ % (steps + 1)) * step;
        window->setGeometry(QRect(QPoint(offset, offset), size));
    }
}

namespace {

// The places of count windows tiled over space: columns of equal width, the windows shared out
// among them top to bottom, the first columns taking one fewer when they do not share evenly, so
// no room stays empty.
std::vector<QRect> TileCells(int count, const QRect& space)
{
    std::vector<QRect> cells;
    if (count == 0)
        return cells;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    const int shortColumns = columns * rows - count;
    for (int column = 0; column < columns; ++column) {
        const int inColumn = column < shortColumns ? rows - 1 : rows;
        const int left = space.left() + space.width() * column / columns;
        const int right = space.left() + space.width() * (column + 1) / columns;
        for (int row = 0; row < inColumn; ++row) {
            const int top = space.top() + space.height() * row / inColumn;
            const int bottom = space.top() + space.height() * (row + 1) / inColumn;
            cells.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
        }
    }
    return cells;
}

QSize LeastSize(const QMdiSubWindow* window)
{
    return window->minimumSize().expandedTo(window->minimumSizeHint());
}

// How many of the windows fit their places at their minimum sizes, and the room they share.
std::pair<int, long long> Fit(const std::vector<QMdiSubWindow*>& windows, const QRect& space)
{
    if (space.isEmpty())
        return {-1, 0};
    const std::vector<QRect> cells = TileCells(static_cast<int>(windows.size()), space);
    int fitting = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const QSize least = LeastSize(windows[i]);
        fitting += least.width() <= cells[i].width() && least.height() <= cells[i].height() ? 1 : 0;
    }
    return {fitting, static_cast<long long>(space.width()) * space.height()};
}

// Puts the window in its place (a form only moves there), then back inside bounds where its size
// takes it past them: it overlaps a neighbour rather than leave the workspace.
void PlaceInside(QMdiSubWindow* window, const QRect& place, const QRect& bounds)
{
    if (!KeepsItsSize(window))
        window->resize(place.size());
    const QSize size = window->size();
    window->move(std::max(bounds.left(), std::min(place.left(), bounds.right() + 1 - size.width())),
                 std::max(bounds.top(), std::min(place.top(), bounds.bottom() + 1 - size.height())));
}

} // namespace

// Forms, which keep their size, stand side by side along the top, the one in front first; the
// other windows share out the room beside or below them, whichever holds more of them at their
// minimum sizes (then whichever is larger), as the cells of TileCells. Every window stays inside
// the workspace above the minimised windows.
void CMDIMainFrame::TileWindows()
{
    const QRect space = ArrangeSpace(style()->pixelMetric(QStyle::PM_TitleBarHeight));
    std::vector<QMdiSubWindow*> windows = NormalWindows(m_mdiArea->subWindowList(QMdiArea::StackingOrder));
    std::reverse(windows.begin(), windows.end());
    std::vector<QMdiSubWindow*> growing;
    int formsRight = space.left();
    int formsBottom = space.top();
    for (QMdiSubWindow* window : windows) {
        if (!KeepsItsSize(window)) {
            growing.push_back(window);
            continue;
        }
        PlaceInside(window, QRect(QPoint(formsRight, space.top()), window->size()), space);
        formsRight = std::min(space.right() + 1, window->geometry().right() + 1);
        formsBottom = std::max(formsBottom, window->geometry().bottom() + 1);
    }
    QRect room = space;
    if (formsRight > space.left()) {
        const QRect beside(QPoint(formsRight, space.top()), space.bottomRight());
        const QRect below(QPoint(space.left(), formsBottom), space.bottomRight());
        room = Fit(growing, beside) >= Fit(growing, below) ? beside : below;
        if (room.isEmpty())
            room = space;
    }
    const std::vector<QRect> cells = TileCells(static_cast<int>(growing.size()), room);
    for (std::size_t i = 0; i < growing.size(); ++i)
        PlaceInside(growing[i], cells[i], space);
}

QAction* CMDIMainFrame::MakeAction(const CMenuDef& item, QObject* parent)
{
    auto* action = new QAction(FromCp1252(item.text), parent);
    action->setProperty(kCommandProperty, item.id);
    if (!item.shortcut.empty()) {
        action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    const unsigned id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    return action;
}

QMenu* CMDIMainFrame::BuildMenu(const CMenuDef& popup, QWidget* parent)
{
    auto* menu = new QMenu(FromCp1252(popup.text), parent);
    for (const CMenuDef& item : popup.items) {
        switch (item.kind) {
        case CMenuDef::Kind::Command:
            menu->addAction(MakeAction(item, menu));
            break;
        case CMenuDef::Kind::Separator:
            menu->addSeparator();
            break;
        case CMenuDef::Kind::Popup:
            menu->addMenu(BuildMenu(item, menu));
            break;
        case CMenuDef::Kind::WindowList: {
            QAction* marker = menu->addSeparator();
            marker->setVisible(false);
            connect(menu, &QMenu::aboutToShow, this, [this, menu, marker] { FillWindowList(menu, marker); });
            break;
        }
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateActionStates(menu); });
    // While the menu is closed its entries stay enabled so that their shortcuts reach the
    // router, which asks for the state again before anything runs.
    connect(menu, &QMenu::aboutToHide, this, [this, menu] { EnableAllActions(menu); });
    return menu;
}

QMenu* CMDIMainFrame::BuildPopupMenu(const CMenuDef& popup, QWidget* parent)
{
    QMenu* menu = BuildMenu(popup, parent);
    UpdateActionStates(menu);
    return menu;
}

void CMDIMainFrame::FillWindowList(QMenu* menu, QAction* marker)
{
    const QList<QAction*> actions = menu->actions();
    const int markerIndex = static_cast<int>(actions.indexOf(marker));
    for (int i = markerIndex + 1; i < actions.size(); ++i) {
        if (actions[i]->property("oxiWindowEntry").toBool())
            delete actions[i];
    }
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    marker->setVisible(!windows.isEmpty());
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()), menu);
        entry->setProperty("oxiWindowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(window == m_mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] {
            ClearStatusAnswer();
            if (window->isMinimized())
                window->showNormal();
            m_mdiArea->setActiveSubWindow(window);
        });
        menu->addAction(entry);
    }
}

void CMDIMainFrame::UpdateActionStates(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->menu() || action->isSeparator())
            continue;
        const unsigned id = CommandOf(action);
        if (id == 0)
            continue;
        const CCmdUI ui = QueryCommand(id);
        action->setEnabled(ui.m_bEnabled);
        if (ui.m_nCheck != 0 || action->isCheckable()) {
            action->setCheckable(true);
            action->setChecked(ui.m_nCheck != 0);
        }
        if (ui.m_text)
            action->setText(FromCp1252(*ui.m_text));
    }
}

void CMDIMainFrame::EnableAllActions(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (!action->menu() && CommandOf(action) != 0)
            action->setEnabled(true);
    }
}

void CMDIMainFrame::UpdateMenuBar()
{
    const CMDIChildFrame* frame = ActiveChildFrame();
    unsigned resource = frame && frame->Template() ? frame->Template()->GetResourceId() : m_mainMenu;
    if (!FindMenuBar(resource))
        resource = m_mainMenu;
    if (resource == m_currentMenu)
        return;
    m_currentMenu = resource;
    QMenuBar* bar = menuBar();
    bar->clear();
    const CMenuBarDef* layout = FindMenuBar(resource);
    if (!layout)
        return;
    auto& menus = m_menus[resource];
    if (menus.empty()) {
        for (const CMenuDef& popup : *layout)
            menus.push_back(BuildMenu(popup, this));
    }
    for (QMenu* menu : menus)
        bar->addMenu(menu);
}

void CMDIMainFrame::ShowStatusMessage(const QString& text, int timeoutMs)
{
    m_statusMessage = timeoutMs == 0 ? text : QString();
    statusBar()->showMessage(text, timeoutMs);
    // Readable whole even where the bar is too narrow for it.
    statusBar()->setToolTip(m_statusMessage);
}

// An answer in the status bar (a help command's) belongs to the command that gave it.
void CMDIMainFrame::ClearStatusAnswer()
{
    if (!m_statusMessage.isEmpty())
        ShowStatusMessage(QString());
}

bool CMDIMainFrame::event(QEvent* event)
{
    if (event->type() != QEvent::StatusTip)
        return QMainWindow::event(event);
    // A menu entry's prompt shows while the pointer or the keys are on it; when it goes the menu
    // asks for an empty bar, and the last answer comes back instead.
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    statusBar()->showMessage(tip.isEmpty() ? m_statusMessage : tip);
    return true;
}

CMDIChildFrame::CMDIChildFrame(CDocTemplate& docTemplate, CDocument& document, QWidget* widget, CView* view)
    : m_pTemplate(&docTemplate), m_pDocument(&document), m_widget(widget), m_view(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(widget);
    if (!CanGrow())
        setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    AddCloseKey();
    // Connected before the workspace connects its own handler, so this runs first.
    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] { OnAboutToActivate(); });
    // A window restored from its icon comes back where it stood, which the workspace may no
    // longer hold.
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if ((before & Qt::WindowMinimized) && !(now & (Qt::WindowMinimized | Qt::WindowMaximized)))
            StandInSight();
    });
    document.AddView(view);
    view->SetFrame(this);
}

QList<QKeySequence> CMDIChildFrame::CloseKeys(const QList<QKeySequence>& desktop)
{
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    return desktop.contains(ctrlF4) ? desktop : QList<QKeySequence>{ctrlF4} + desktop;
}

// Ctrl+F4 closes the active window on every desktop, as in every MDI program, beside the close
// keys of the desktop itself (Ctrl+W on some): the window menu's Close takes it too.
void CMDIChildFrame::AddCloseKey()
{
    const QList<QKeySequence> desktop = QKeySequence::keyBindings(QKeySequence::Close);
    if (desktop.isEmpty() || !systemMenu())
        return;
    for (QAction* action : systemMenu()->actions()) {
        if (action->shortcuts() == desktop)
            action->setShortcuts(CloseKeys(desktop));
    }
}

CMDIChildFrame::~CMDIChildFrame()
{
    // The view leaves its document first; then the document learns that one of its windows
    // is gone (and closes when it was the last).
    QWidget* widget = m_widget;
    m_widget = nullptr;
    m_view = nullptr;
    delete widget;
    // A failure may not leave a destructor (that ends the program on the spot): it is reported
    // and the program goes on.
    if (CDocument* document = Document())
        RunGuarded("close " + document->GetTitle(), [document] { document->OnFrameClosed(); });
}

CDocument* CMDIChildFrame::Document() const
{
    return CDocument::IsLive(m_pDocument) ? m_pDocument : nullptr;
}

bool CMDIChildFrame::CanGrow() const
{
    const auto* scroller = qobject_cast<const QScrollArea*>(m_widget);
    return !(scroller && !scroller->widgetResizable());
}

// The workspace maximises a window it activates while another is maximised. That must wait
// until a new window has its size, and must never happen to a form that keeps its size.
void CMDIChildFrame::OnAboutToActivate()
{
    QMdiArea* area = mdiArea();
    if (!area)
        return;
    area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, m_placementPending || !CanGrow());
}

void CMDIChildFrame::FinishPlacement()
{
    QMdiArea* area = mdiArea();
    if (!m_placementPending || !area || !isVisible())
        return;
    m_placementPending = false;
    if (isMinimized() || isMaximized())
        return;
    bool otherMaximized = false;
    for (QMdiSubWindow* window : area->subWindowList()) {
        if (CanGrow() && window != this && window->isVisible() && window->isMaximized()) {
            otherMaximized = true;
            window->showNormal();
        }
    }
    if (otherMaximized)
        showMaximized();
    else
        StandInSight();
}

namespace {

// Where a window length long stands along one side of the workspace (from low, extent long):
// wanted brought inside, then moved by shift and kept inside (a place beyond the workspace's end
// steps back from the end, not from itself); a window longer than the workspace puts its start
// in sight, shifted forwards only.
int Along(int wanted, int length, int low, int extent, int shift)
{
    if (length > extent)
        return low + std::max(0, shift);
    const int high = low + extent - length;
    return std::clamp(std::clamp(wanted, low, high) + shift, low, high);
}

// Whether another window the user sees stands less than a step from place, so that one of the
// two would hide the other.
bool Crowds(const QMdiSubWindow* window, QPoint place, int step)
{
    for (const QMdiSubWindow* other : window->mdiArea()->subWindowList()) {
        if (other != window && other->isVisible() && !other->isMinimized() && !other->isMaximized() &&
            std::abs(other->x() - place.x()) < step && std::abs(other->y() - place.y()) < step)
            return true;
    }
    return false;
}

} // namespace

QRect FittedInto(const QRect& rect, const QRect& area)
{
    const QSize size = rect.size().boundedTo(area.size());
    return QRect(QPoint(Along(rect.left(), size.width(), area.left(), area.width(), 0),
                        Along(rect.top(), size.height(), area.top(), area.height(), 0)),
                 size);
}

// A window that can grow shrinks to the workspace; then it stands inside it, at its place or the
// nearest one down or up the cascade where no other window stands on it (a second form on a
// record, centred as the first was, would hide that one exactly).
void CMDIChildFrame::StandInSight()
{
    QMdiArea* area = mdiArea();
    if (!area || isMinimized() || isMaximized())
        return;
    const QRect bounds = area->viewport()->rect();
    if (CanGrow())
        resize(size().boundedTo(bounds.size()).expandedTo(minimumSize()));
    const int step = CascadeStep(*this);
    const QPoint wanted = pos();
    QPoint place;
    for (int shift = 0; shift <= kStandApartTries * step; shift += step) {
        for (int sign : {1, -1}) {
            place = QPoint(Along(wanted.x(), width(), bounds.left(), bounds.width(), sign * shift),
                           Along(wanted.y(), height(), bounds.top(), bounds.height(), sign * shift));
            if (!Crowds(this, place, step)) {
                move(place);
                return;
            }
        }
    }
    move(Along(wanted.x(), width(), bounds.left(), bounds.width(), 0),
         Along(wanted.y(), height(), bounds.top(), bounds.height(), 0));
}

bool CMDIChildFrame::CanSucceed(QMdiSubWindow* window, QMdiArea* area) const
{
    return window && window != this && window->isVisible() && !window->isMinimized() &&
           area->subWindowList().contains(window);
}

// With no window to hand over to, none stays active: left to itself the workspace would
// activate a minimised window.
void CMDIChildFrame::ActivateSuccessor(QMdiArea* area)
{
    QMdiSubWindow* next = CanSucceed(m_opener, area) ? m_opener.data() : nullptr;
    const QList<QMdiSubWindow*> history = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend() && !next; ++it) {
        if (CanSucceed(*it, area))
            next = *it;
    }
    area->setActiveSubWindow(next);
}

void CMDIChildFrame::CloseFrame()
{
    m_forceClose = true;
    close();
}

void CMDIChildFrame::MinimizeFrame()
{
    showMinimized();
}

void CMDIChildFrame::ActivateFrame()
{
    if (isMinimized())
        showNormal();
    show();
    FinishPlacement();
    if (mdiArea())
        mdiArea()->setActiveSubWindow(this);
}

QString WindowCaption(const std::string& caption, bool fileName)
{
    return fileName ? FromFileName(caption) : FromCp1252(caption);
}

void SetViewCaption(const CView& view, const std::string& caption, bool fileName)
{
    if (auto* frame = dynamic_cast<QWidget*>(view.GetFrame()))
        frame->setWindowTitle(WindowCaption(caption, fileName));
}

void FitAndCentreFrame(const CView& view)
{
    auto* frame = dynamic_cast<QMdiSubWindow*>(view.GetFrame());
    if (!frame)
        return;
    frame->adjustSize();
    if (QMdiArea* area = frame->mdiArea()) {
        const QPoint centre = area->viewport()->rect().center() - frame->rect().center();
        frame->move(std::max(0, centre.x()), std::max(0, centre.y()));
    }
}

void SetDocumentCaption(CView& view, const std::string& name)
{
    if (CDocument* document = view.GetDocument())
        document->SetTitle(name);
    SetViewCaption(view, name);
}

// A window made while the main window is hidden (at start-up) first shows with the main window:
// only then has the workspace its size, so the placement waits for that showing.
void CMDIChildFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    if (m_placementPending)
        QTimer::singleShot(0, this, [this] { FinishPlacement(); });
}

bool CMDIChildFrame::IsFrameMinimized() const
{
    return isMinimized();
}

void CMDIChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_forceClose) {
        CDocument* document = Document();
        if (document && !document->CanCloseFrame(this)) {
            event->ignore();
            return;
        }
    }
    QMdiArea* area = mdiArea();
    const bool wasActive = area && area->activeSubWindow() == this;
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && wasActive)
        ActivateSuccessor(area);
}
