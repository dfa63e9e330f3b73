#include "framework/MdiFrame.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "shell/OxidariumApp.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

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
        ++count;
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
    int count = 0;
    bool allowed = true;
};

class CNoteView : public QLabel, public CView {
public:
    CNoteView() : QLabel(QStringLiteral("note")) {}
    void CommitPendingEdit() override { ++commits; }
    int commits = 0;
};

class CAppTarget : public CCmdTarget {
public:
    bool OnCommand(unsigned id) override { return id == kMainCmd && ++runs; }
    bool OnUpdateCommand(CCmdUI& ui) override { return ui.m_nID == kMainCmd; }
    int runs = 0;
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

    m_frame.ActiveChildFrame()->CloseFrame();
    FlushEvents();
    EXPECT_TRUE(m_template.GetDocuments().empty()) << "closing the last window closes the document";
    EXPECT_EQ(MenuTitles(m_frame.menuBar()), QStringList{"&File"});
}

TEST_F(MdiFrameTest, ADisabledCommandNeverRunsNotEvenFromItsShortcut)
{
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    auto* view = static_cast<CNoteView*>(m_frame.ActiveView());
    ASSERT_NE(view, nullptr);

    QTest::keyClick(&m_frame, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(document->count, 1);
    EXPECT_EQ(view->commits, 1) << "the field being edited is committed first";

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
}

TEST_F(MdiFrameTest, ClosingAModifiedDocumentsWindowAsksItsDocument)
{
    auto* document = static_cast<CNoteDoc*>(m_template.OpenDocumentFile(""));
    document->SetModifiedFlag();
    // Without a message service the save question answers its default button, Yes; the save
    // then asks for a path (no dialog service: Cancel) and fails, so the window stays.
    m_frame.ActiveChildFrame()->close();
    FlushEvents();
    EXPECT_EQ(m_template.GetDocuments().size(), 1u);
    document->SetModifiedFlag(false);
    m_frame.ActiveChildFrame()->close();
    FlushEvents();
    EXPECT_TRUE(m_template.GetDocuments().empty());
}
