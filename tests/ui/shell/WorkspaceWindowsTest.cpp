// The program's own windows in the workspace, driven as a user drives them: a list opened while
// another window is maximised, an edit form opened from its list, and what becomes active when
// the form closes.

#include "ShellSandbox.h"
#include "elements/ElementsDoc.h"
#include "framework/View.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

CMDIChildFrame* FrameOf(CDocument* document)
{
    return dynamic_cast<CMDIChildFrame*>(document->GetViews().front()->GetFrame());
}

// Picks an entry of the menu bar as a user does, by the texts on the screen.
bool PickMenuEntry(QMenuBar* bar, const QString& menuTitle, const QString& entryText)
{
    for (QAction* top : bar->actions()) {
        if (top->text() != menuTitle || !top->menu())
            continue;
        emit top->menu()->aboutToShow();
        for (QAction* entry : top->menu()->actions()) {
            if (entry->text() == entryText && entry->isEnabled()) {
                entry->trigger();
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(WorkspaceWindowsTest, ListsTakeTheWorkspacesStateFormsKeepTheirOwnAndCloseBackToTheirList)
{
    CShellSandbox box;
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    frame->resize(1200, 800);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    QMdiArea* area = frame->MdiArea();

    // The periodic table maximised, then File > New Glaze Database: the new list fills the
    // workspace with its title bar merged into the menu bar, as in every MDI program.
    CMDIChildFrame* table = FrameOf(g_pElementsDoc);
    table->ActivateFrame();
    table->showMaximized();
    EXPECT_EQ(frame->DocumentPaneText(), " Elements: 103 (1)");
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&File", "&New Glaze Database"));
    QApplication::processEvents();
    CMDIChildFrame* glazes = frame->ActiveChildFrame();
    ASSERT_NE(glazes, table);
    ASSERT_TRUE(dynamic_cast<CGlazesDoc*>(glazes->Document()));
    EXPECT_TRUE(glazes->isMaximized());
    EXPECT_EQ(glazes->geometry(), area->viewport()->rect());
    EXPECT_FALSE(table->isMaximized());
    EXPECT_EQ(frame->DocumentPaneText(), " Glazes: 1 (0)");

    // The materials list, maximised in turn, opens a material's form on a double click: the
    // form keeps its own size and title bar, and the list stays maximised behind it.
    CMDIChildFrame* materials = FrameOf(g_pMaterialsDoc);
    materials->ActivateFrame();
    QApplication::processEvents();
    EXPECT_TRUE(materials->isMaximized());
    auto* list = dynamic_cast<CMaterialsView*>(materials->View());
    ASSERT_NE(list, nullptr);
    const QPoint row0 = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0);
    EXPECT_EQ(frame->DocumentPaneText(), " Materials: 1 (1)");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row0);
    QApplication::processEvents();
    CMDIChildFrame* form = frame->ActiveChildFrame();
    ASSERT_NE(form, materials);
    EXPECT_EQ(form->Document(), g_pMaterialsDoc);
    EXPECT_FALSE(form->CanGrow());
    EXPECT_FALSE(form->isMaximized());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowTitleHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_LT(form->width(), area->viewport()->width());
    EXPECT_TRUE(materials->isMaximized());
    EXPECT_EQ(frame->DocumentPaneText(), " Materials: 1 (1)");

    // Closing the form gives the workspace back to the list it came from, not to the window
    // last made or the maximised table.
    form->close();
    CShellSandbox::FlushEvents();
    EXPECT_EQ(frame->ActiveChildFrame(), materials);
    EXPECT_TRUE(materials->isMaximized());
    app.ExitInstance();
}
