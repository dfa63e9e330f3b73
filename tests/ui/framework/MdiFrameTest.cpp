#include "framework/MdiFrame.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "core/shell/FakeMessageService.h"
#include "shell/OxidariumApp.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

namespace {

constexpr unsigned kMainMenu = 2;
constexpr unsigned kNoteMenu = 40;
constexpr unsigned kCountCmd = 100; // enabled while the document allows it
constexpr unsigned kMainCmd = 101;  // handled by the main frame's application target

class CNoteDoc : public CDocument {
public:
    bool OnCommand(unsigned id) override
    {
        if (id != kCountCmd)
            return false;
        if (runOutOfMemory)
            throw std::bad_alloc();
        ++count;
        return true;
    }
    // A file too large for the memory left.
    bool OnOpenDocument(const std::string& path) override
    {
        if (path == "huge.note")
            throw std::bad_alloc();
        return true;
    }
    bool OnUpdateCommand(CCmdUI& ui) override
    {
        if (ui.m_nID != kCountCmd)
            return false;
        ui.Enable(allowed);
        ui.SetCheck(count > 0 ? 1 : 0);
        return true;
    }
    // A failure while closing, as a string of an impossible length gives.
    void DeleteContents() override
    {
        if (failClose)
            throw std::length_error("basic_string::_M_create");
    }
    int count = 0;
    bool allowed = true;
    bool runOutOfMemory = false;
    bool failClose = false;
};

class CNoteView : public QLabel, public CView {
public:
    CNoteView() : QLabel(QStringLiteral("note")) {}
    bool CommitPendingEdit() override { return ++commits, !refuses; }
    int commits = 0;
    bool refuses = false; // as a field that refuses what it holds
};

// Sizes its new window in OnInitialUpdate, as the database lists do.
class CListLikeView : public QLabel, public CView {
public:
    CListLikeView() : QLabel(QStringLiteral("list")) {}
    void OnInitialUpdate() override
    {
        if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame()))
            frame->resize(300, 200);
    }
};

// A form that keeps its size, fitted to its frame as the edit forms are.
class CFormLikeView : public QScrollArea, public CView {
public:
    CFormLikeView()
    {
        setWidgetResizable(false);
        auto* form = new QWidget;
        form->resize(250, 150);
        setWidget(form);
    }
    QSize sizeHint() const override { return widget()->size() + QSize(2 * frameWidth(), 2 * frameWidth()); }
    void OnInitialUpdate() override
    {
        if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame()))
            frame->adjustSize();
    }
};

class CAppTarget : public CCmdTarget {
public:
    bool OnCommand(unsigned id) override
    {
        if (id != kMainCmd)
            return false;
        ++runs;
        if (open)
            open();
        return true;
    }
    bool OnUpdateCommand(CCmdUI& ui) override { return ui.m_nID == kMainCmd; }
    int runs = 0;
    std::function<void()> open;
};

// Windows close with deleteLater; outside an event loop the deletion has to be flushed.
void FlushEvents()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList MenuTitles(QMenuBar* bar)
{
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

class MdiFrameTest : public ::testing::Test {
protected:
    MdiFrameTest()
    {
        RegisterMenuBar(kMainMenu, {CMenuDef::Popup("&File", {CMenuDef::Item(kMainCmd, "&Main", "Ctrl+M")})});
        RegisterMenuBar(kNoteMenu, {CMenuDef::Popup("&Note", {CMenuDef::Item(kCountCmd, "&Count", "Ctrl+K")}),
                                    CMenuDef::Popup("&Window", {CMenuDef::WindowList()})});
        InstallViewFactory<CNoteView>(m_template);
        m_frame.SetMainMenuResource(kMainMenu);
        m_frame.SetApplicationTarget(&m_appTarget);
        m_frame.resize(600, 400);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
    }
    ~MdiFrameTest() override
    {
        UnregisterMenuBar(kMainMenu);
        UnregisterMenuBar(kNoteMenu);
    }

    // Opens a second window on the document, as a list opens an edit form.
    template <typename ViewT>
    CMDIChildFrame* OpenSecondWindow(CDocument& document)
    {
        auto* view = new ViewT();
        CMDIChildFrame* frame = m_frame.CreateChildFrame(m_template, document, view, view, true);
        if (!frame) {
            ADD_FAILURE() << "no window";
            return nullptr;
        }
        view->OnInitialUpdate();
        frame->ActivateFrame();
        return frame;
    }

    COxidariumApp m_app;
    CMDIMainFrame m_frame;
    CAppTarget m_appTarget;
    CDocTemplate m_template{kNoteMenu, "\nNote\nNote\n\n\n\n", [] { return std::make_unique<CNoteDoc>(); }};
};

} // namespace

TEST_F(MdiFrameTest, TheMenuBarFollowsTheActiveDocumentWindow)
{
    EXPECT_EQ(MenuTitles(m_frame.menuBar()), QStringList{"&File"});
    CDocument* document = m_template.OpenDocumentFile("");
    ASSERT_NE(document, nullptr);
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveDocument(), document);
    EXPECT_EQ(MenuTitles(m_frame.menuBar()), (QStringList{"&Note", "&Window"}));
    // The Window menu lists each window once, however often it opens.
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    QMenu* windows = m_frame.menuBar()->actions().back()->menu();
    emit windows->aboutToShow();
    emit windows->aboutToShow();
    QStringList entries;
    for (const QAction* entry : windows->actions())
        if (!entry->isSeparator())
            entries << entry->text();
    EXPECT_EQ(entries, QStringList{"&1 " + m_frame.ActiveChildFrame()->windowTitle()});

    m_frame.ActiveChildFrame()->CloseFrame();
    FlushEvents();
    EXPECT_TRUE(m_template.GetDocuments().empty()) << "closing the last window closes the document";
    EXPECT_EQ(MenuTitles(m_frame.menuBar()), QStringList{"&File"});
}

TEST_F(MdiFrameTest, ADisabledCommandNeverRunsNotEvenFromItsShortcut)
{
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    ASSERT_NE(document, nullptr);
    auto* view = static_cast<CNoteView*>(m_frame.ActiveView());
    ASSERT_NE(view, nullptr);

    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(document->count, 1);
    EXPECT_EQ(view->commits, 1) << "the field being edited is committed first";
    // A field that refuses what it holds stops the command, wherever it would have run.
    view->refuses = true;
    EXPECT_FALSE(m_frame.ExecuteCommand(kCountCmd));
    EXPECT_FALSE(m_frame.ExecuteCommand(kMainCmd));
    EXPECT_EQ(document->count, 1);
    EXPECT_EQ(m_appTarget.runs, 0);
    view->refuses = false;

    document->allowed = false;
    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(m_frame.ExecuteCommand(kCountCmd));
    EXPECT_EQ(document->count, 1);

    const CCmdUI state = m_frame.QueryCommand(kCountCmd);
    EXPECT_FALSE(state.m_bEnabled);
    EXPECT_EQ(state.m_nCheck, 1);
    EXPECT_FALSE(m_frame.QueryCommand(999).m_bEnabled) << "a command nobody handles is disabled";
    // The application target is the end of the chain.
    EXPECT_TRUE(m_frame.ExecuteCommand(kMainCmd));
    EXPECT_EQ(m_appTarget.runs, 1);

    // The open menu shows the state; closed, its entries take their shortcuts again.
    QMenu* note = m_frame.menuBar()->actions().front()->menu();
    emit note->aboutToShow();
    EXPECT_FALSE(note->actions().front()->isEnabled());
    EXPECT_TRUE(note->actions().front()->isChecked());
    emit note->aboutToHide();
    document->allowed = true;
    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(document->count, 2);
}

// A command that runs out of memory (a 981 MB glaze file under a 1 GB limit) ended the program
// with std::terminate and no word. It is stopped at the command boundary with a message, a file
// it was opening leaves no half-read document behind, and the program goes on.
TEST_F(MdiFrameTest, ACommandThatRunsOutOfMemoryIsStoppedWithAMessage)
{
    CFakeMessageService messages;
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    ASSERT_NE(document, nullptr);
    document->runOutOfMemory = true;
    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(messages.Texts(),
              std::vector<std::string>{"Not enough memory to carry out \"Count\". The command was stopped."});

    document->runOutOfMemory = false;
    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(document->count, 1) << "the program goes on";

    m_appTarget.open = [this] { m_template.OpenDocumentFile("huge.note"); };
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    m_frame.ActiveChildFrame()->CloseFrame();
    FlushEvents();
    EXPECT_FALSE(m_frame.ExecuteCommand(kMainCmd));
    EXPECT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.Last().text, "Not enough memory to carry out \"Main\". The command was stopped.");
    EXPECT_TRUE(m_template.GetDocuments().empty()) << "no half-read document stays open";
    EXPECT_EQ(m_frame.ActiveChildFrame(), nullptr);
}

// The window is destroyed later, by the event loop; a failure there may not leave the window's
// destructor (that would end the program on the spot, at Exit too): it is reported.
TEST_F(MdiFrameTest, ADocumentThatFailsToCloseWithItsLastWindowIsReported)
{
    CFakeMessageService messages;
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    ASSERT_NE(document, nullptr);
    document->SetTitle("Notes");
    document->failClose = true;
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    m_frame.ActiveChildFrame()->CloseFrame();
    FlushEvents();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                    "Could not close Notes: an internal error stopped it (basic_string::_M_create)."});
    EXPECT_EQ(m_frame.ActiveChildFrame(), nullptr);
}

TEST_F(MdiFrameTest, ClosingAModifiedDocumentsWindowAsksItsDocument)
{
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag();
    // Without a message service the save question answers its default button, Yes; the save
    // then asks for a path (no dialog service: Cancel) and fails, so the window stays.
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    m_frame.ActiveChildFrame()->close();
    FlushEvents();
    EXPECT_EQ(m_template.GetDocuments().size(), 1u);
    document->SetModifiedFlag(false);
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    m_frame.ActiveChildFrame()->close();
    FlushEvents();
    EXPECT_TRUE(m_template.GetDocuments().empty());

    // Ctrl+F4 closes a window whatever the desktop's own keys (this platform's hold it already).
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    EXPECT_EQ(CMDIChildFrame::CloseKeys({ctrlW}), (QList<QKeySequence>{ctrlF4, ctrlW}));
    EXPECT_EQ(CMDIChildFrame::CloseKeys({ctrlW, ctrlF4}), (QList<QKeySequence>{ctrlW, ctrlF4}));
}

// Regression: a list opened while another window was maximised showed as a frameless box of its
// first size, pinned at the top left, under a title claiming it maximised.
TEST_F(MdiFrameTest, ANewWindowOpensMaximisedOnlyWhenAnotherIsMaximised)
{
    InstallViewFactory<CListLikeView>(m_template);
    m_template.OpenDocumentFile("");
    CMDIChildFrame* first = m_frame.ActiveChildFrame();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isMaximized());
    EXPECT_EQ(first->geometry(), QRect(0, 0, 300, 200)) << "the cascade position and the view's size";
    m_template.OpenDocumentFile("");
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveChildFrame()->geometry(), QRect(23, 23, 300, 200));

    first->showMaximized();
    m_frame.MdiArea()->setActiveSubWindow(first);
    // Opened by a command, it is in its final state when the command returns.
    m_appTarget.open = [this] { m_template.OpenDocumentFile(""); };
    ASSERT_TRUE(m_frame.ExecuteCommand(kMainCmd));
    CMDIChildFrame* third = m_frame.ActiveChildFrame();
    ASSERT_NE(third, first);
    EXPECT_TRUE(third->isMaximized());
    QApplication::processEvents();
    EXPECT_EQ(third->geometry(), m_frame.MdiArea()->viewport()->rect());
    EXPECT_FALSE(first->isMaximized()) << "one maximised window at a time";
    third->showNormal();
    EXPECT_EQ(third->size(), QSize(300, 200)) << "restoring gives the size its view chose";
}

// A new window whose place is taken stands a step down the cascade. Regression: at the
// workspace's bottom right, where the cascade's places lie beyond the workspace and a window
// cannot step down, new windows opened exactly over the one there; they stand a step up.
TEST_F(MdiFrameTest, ANewWindowNeverStandsExactlyOverAnotherNotEvenInTheBottomRightCorner)
{
    InstallViewFactory<CListLikeView>(m_template);
    const QSize workspace(500, 300);
    m_frame.resize(workspace + m_frame.size() - m_frame.MdiArea()->viewport()->size());
    ASSERT_EQ(m_frame.MdiArea()->viewport()->size(), workspace);
    std::vector<CMDIChildFrame*> windows;
    const QPoint beyond(18 * 23, 6 * 23); // the cascade's farthest place
    for (const QPoint wanted : {QPoint(0, 0), QPoint(0, 0), beyond, beyond, beyond}) {
        m_app.m_nNextChildX = wanted.x();
        m_app.m_nNextChildY = wanted.y();
        m_template.OpenDocumentFile("");
        QApplication::processEvents();
        windows.push_back(m_frame.ActiveChildFrame());
        ASSERT_NE(windows.back(), nullptr);
        EXPECT_TRUE(QRect(QPoint(0, 0), workspace).contains(windows.back()->geometry())) << windows.size();
    }
    const QPoint step(23, 23);
    EXPECT_EQ(windows[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(windows[1]->pos(), step) << "a step down";
    EXPECT_GT(windows[2]->x(), workspace.width() - 300 - 23) << "at the right";
    EXPECT_GT(windows[2]->y(), workspace.height() - 200 - 23) << "at the bottom";
    EXPECT_EQ(windows[3]->pos(), windows[2]->pos() - step) << "a step up";
    EXPECT_EQ(windows[4]->pos(), windows[2]->pos() - 2 * step) << "two steps up";
}

// Regression: edit forms opened "maximised" as floating forms without a title bar.
TEST_F(MdiFrameTest, AFormThatKeepsItsSizeOpensAsANormalWindowWithItsTitleBar)
{
    InstallViewFactory<CListLikeView>(m_template);
    CDocument* document = m_template.OpenDocumentFile("");
    ASSERT_NE(document, nullptr);
    CMDIChildFrame* list = m_frame.ActiveChildFrame();
    ASSERT_NE(list, nullptr);
    list->showMaximized();
    CMDIChildFrame* form = OpenSecondWindow<CFormLikeView>(*document);
    ASSERT_NE(form, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(m_frame.ActiveChildFrame(), form);
    EXPECT_FALSE(form->CanGrow());
    EXPECT_TRUE(list->CanGrow());
    EXPECT_FALSE(form->isMaximized());
    EXPECT_TRUE(list->isMaximized()) << "the list stays maximised behind the form";
    EXPECT_TRUE(form->windowFlags() & Qt::WindowTitleHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->widget()->size(), form->widget()->sizeHint());

    // Activating it again later leaves it as it is.
    m_frame.MdiArea()->setActiveSubWindow(list);
    m_frame.MdiArea()->setActiveSubWindow(form);
    EXPECT_FALSE(form->isMaximized());
}

// Regression: closing an edit form activated the maximised periodic table instead of its list.
TEST_F(MdiFrameTest, ClosingAWindowActivatesTheOneThatOpenedIt)
{
    InstallViewFactory<CListLikeView>(m_template);
    m_template.OpenDocumentFile("");
    CMDIChildFrame* table = m_frame.ActiveChildFrame();
    ASSERT_NE(table, nullptr);
    table->showMaximized();
    CDocument* document = m_template.OpenDocumentFile("");
    ASSERT_NE(document, nullptr);
    CMDIChildFrame* list = m_frame.ActiveChildFrame();
    ASSERT_NE(list, table);
    list->showNormal();
    table->showMaximized();
    m_frame.MdiArea()->setActiveSubWindow(list);
    table->raise();
    CMDIChildFrame* form = OpenSecondWindow<CFormLikeView>(*document);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(m_frame.ActiveChildFrame(), form);
    form->CloseFrame();
    FlushEvents();
    EXPECT_EQ(m_frame.ActiveChildFrame(), list);

    // With the window that opened it gone, the one most recently active takes over.
    m_frame.MdiArea()->setActiveSubWindow(table);
    CMDIChildFrame* other = OpenSecondWindow<CFormLikeView>(*document);
    ASSERT_NE(other, nullptr);
    m_frame.MdiArea()->setActiveSubWindow(list);
    m_frame.MdiArea()->setActiveSubWindow(other);
    table->CloseFrame();
    FlushEvents();
    other->CloseFrame();
    FlushEvents();
    EXPECT_EQ(m_frame.ActiveChildFrame(), list);

    // A window closed behind the active one leaves that one active.
    CMDIChildFrame* third = OpenSecondWindow<CFormLikeView>(*document);
    CMDIChildFrame* fourth = OpenSecondWindow<CFormLikeView>(*document);
    ASSERT_TRUE(third && fourth);
    third->CloseFrame();
    FlushEvents();
    EXPECT_EQ(m_frame.ActiveChildFrame(), fourth);
}

// Window > Cascade: most of the workspace each, a title bar apart, starting again at the top left
// before the windows get less than two thirds of its height; the minimised windows along the
// bottom stay in sight, and a window whose minimum is larger than the workspace keeps its
// minimum (the workspace scrolls to it).
TEST_F(MdiFrameTest, CascadeStartsAgainAtTheTopAndKeepsEveryWindowsMinimum)
{
    InstallViewFactory<CListLikeView>(m_template);
    const QSize workspace(600, 345); // room for five steps of 23 pixels below the first window
    m_frame.resize(workspace + m_frame.size() - m_frame.MdiArea()->viewport()->size());
    ASSERT_EQ(m_frame.MdiArea()->viewport()->size(), workspace);
    std::vector<CMDIChildFrame*> windows;
    for (int i = 0; i < 7; ++i) {
        m_template.OpenDocumentFile("");
        windows.push_back(m_frame.ActiveChildFrame());
        ASSERT_NE(windows.back(), nullptr) << i;
    }
    m_frame.CascadeWindows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const int offset = static_cast<int>(i % 6) * 23;
        EXPECT_EQ(windows[i]->geometry(), QRect(offset, offset, 600 - 5 * 23, 345 - 5 * 23)) << i;
    }
    EXPECT_EQ(windows[5]->geometry().bottomRight(), QPoint(599, 344)) << "the sixth step ends in the corner";

    CMDIChildFrame* icon = windows.back();
    icon->showMinimized();
    m_frame.CascadeWindows();
    int lowest = 0;
    for (std::size_t i = 0; i + 1 < windows.size(); ++i)
        lowest = std::max(lowest, windows[i]->geometry().bottom());
    EXPECT_EQ(lowest + 1, icon->y());

    // Tile: the window in front at the top left, every one above the icon, also one pushed up
    // because its minimum is taller than its place.
    for (std::size_t i = 0; i + 1 < windows.size(); ++i)
        windows[i]->setMinimumHeight(200);
    m_frame.TileWindows();
    EXPECT_EQ(windows[5]->pos(), QPoint(0, 0)) << "the last opened of those shown";
    for (std::size_t i = 0; i + 1 < windows.size(); ++i)
        EXPECT_TRUE(QRect(0, 0, 600, icon->y()).contains(windows[i]->geometry())) << i;

    CMDIChildFrame* wide = OpenSecondWindow<CNoteView>(*windows.front()->Document());
    ASSERT_NE(wide, nullptr);
    wide->widget()->setMinimumSize(900, 600);
    QApplication::processEvents();
    m_frame.CascadeWindows();
    EXPECT_GE(wide->widget()->width(), 900);
    EXPECT_GE(wide->widget()->height(), 600);
}
