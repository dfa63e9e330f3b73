// The program's own windows in the workspace, driven as a user drives them: a list opened while
// another window is maximised, edit forms opened from their list, what becomes active when a
// window closes, and Window > Cascade.

#include "ShellSandbox.h"
#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "elements/ElementsDoc.h"
#include "framework/DocTemplate.h"
#include "framework/View.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "graphs/GraphView.h"
#include "graphs/GraphWnd.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"
#include "tree/DbTreeDoc.h"
#include "ui/support/TestFolders.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The window of a document's first view; a document without one fails the test and gives none.
CMDIChildFrame* FrameOf(CDocument* document)
{
    if (!document) {
        ADD_FAILURE() << "no document";
        return nullptr;
    }
    CView* view = ItemAt(document->GetViews(), 0);
    return view ? dynamic_cast<CMDIChildFrame*>(view->GetFrame()) : nullptr;
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

// A first day with the program: the shipped databases handed over, Starter Glazes open in a
// workspace of the given size.
CMainFrame* StartWithStarterGlazes(CShellSandbox& box, COxidariumAppUi& app, QSize workspace)
{
    std::filesystem::current_path(box.root);
    for (const char* name : {"elements.ele", "materials.mat", "substitutions.sub", "tarnell.lim", "graphtypes.grt",
                             "glazes.glz"})
        CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/" + name, box.dataDir + "/" + name);
    CShellSandbox::WriteFile(box.programDir + "/datalocation.txt", box.dataDir + "\n");
    app.SetProgramDir(box.programDir);
    if (!app.InitInstance())
        return nullptr;
    CMainFrame* frame = app.MainFrame();
    if (!frame)
        return nullptr;
    frame->show();
    frame->resize(workspace + frame->size() - frame->MdiArea()->viewport()->size());
    if (!QTest::qWaitForWindowExposed(frame) || frame->MdiArea()->viewport()->size() != workspace)
        return nullptr;
    QApplication::setActiveWindow(frame);
    if (!g_pGlazesTemplate)
        return nullptr;
    return g_pGlazesTemplate->OpenDocumentFile(box.dataDir + "/glazes.glz") ? frame : nullptr;
}

// Opens the edit form of a row as a user does, with a double click.
CMDIChildFrame* OpenForm(CMainFrame* frame, CGlazesView* list, int row)
{
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    return frame->ActiveChildFrame();
}

// The form's own Close button, clicked.
void ClickClose(CMDIChildFrame* form)
{
    for (QPushButton* button : form->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Close")) {
            QTest::mouseClick(button, Qt::LeftButton);
            CShellSandbox::FlushEvents();
            return;
        }
    }
    ADD_FAILURE() << "no Close button on " << form->windowTitle().toStdString();
}

// Where a minimised window lies: from the left, and from the bottom of the workspace.
QPoint FromBottom(const QMdiArea* area, const QMdiSubWindow* window)
{
    return {window->x(), area->viewport()->height() - window->y()};
}

bool HasFocus(const CMDIChildFrame* window)
{
    return window && window->isAncestorOf(QApplication::focusWidget());
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
    ASSERT_NE(frame, nullptr);
    frame->resize(1200, 800);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    QMdiArea* area = frame->MdiArea();

    // The periodic table maximised, then File > New Glaze Database: the new list fills the
    // workspace with its title bar merged into the menu bar, as in every MDI program.
    CMDIChildFrame* table = FrameOf(g_pElementsDoc);
    ASSERT_NE(table, nullptr);
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
    ASSERT_NE(materials, nullptr);
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

// Regression: closing the last edit form activated the minimised Elements window instead of the
// list the form came from, so the next Delete or Ctrl+C went to the Elements window.
TEST(WorkspaceWindowsTest, AClosingWindowHandsOverToItsOpenerAndNeverToAMinimisedWindow)
{
    CShellSandbox box;
    COxidariumAppUi app;
    CMainFrame* frame = StartWithStarterGlazes(box, app, QSize(1200, 800));
    ASSERT_NE(frame, nullptr);
    CMDIChildFrame* list = frame->ActiveChildFrame();
    auto* glazes = dynamic_cast<CGlazesView*>(list ? list->View() : nullptr);
    ASSERT_NE(glazes, nullptr);
    CMDIChildFrame* first = OpenForm(frame, glazes, 0);
    CMDIChildFrame* second = OpenForm(frame, glazes, 1);
    ASSERT_NE(first, list);
    ASSERT_NE(second, first);

    // A glance at the tree and at the minimised Elements window (a click on a title bar
    // activates a window as it is), then the second form's Close: the list it came from takes
    // over, keys and menus alike.
    CMDIChildFrame* tree = FrameOf(g_pDbTreeDoc);
    ASSERT_NE(tree, nullptr);
    CMDIChildFrame* elements = FrameOf(g_pElementsDoc);
    ASSERT_NE(elements, nullptr);
    ASSERT_TRUE(elements->isMinimized());
    ASSERT_FALSE(tree->isMinimized());
    QTest::mouseClick(tree, Qt::LeftButton, {}, QPoint(40, 8));
    ASSERT_EQ(frame->ActiveChildFrame(), tree);
    QTest::mouseClick(elements, Qt::LeftButton, {}, QPoint(40, elements->height() / 2));
    ASSERT_EQ(frame->ActiveChildFrame(), elements);
    ClickClose(second);
    EXPECT_EQ(frame->ActiveChildFrame(), list);
    EXPECT_TRUE(HasFocus(list));
    ASSERT_NE(g_pGlazesTemplate, nullptr);
    EXPECT_EQ(frame->CurrentMenuResource(), g_pGlazesTemplate->GetResourceId());

    // With the list minimised in turn, the first form's Close goes to the window most recently
    // active that the user can see: the tree, not the list nor the Elements window.
    list->showMinimized();
    ClickClose(first);
    EXPECT_EQ(frame->ActiveChildFrame(), tree);
    EXPECT_FALSE(tree->isMinimized());
    EXPECT_TRUE(HasFocus(tree));

    // Closing the last window the user can see leaves none active.
    tree->showMinimized();
    list->showNormal();
    list->ActivateFrame();
    list->close();
    CShellSandbox::FlushEvents();
    EXPECT_EQ(frame->ActiveChildFrame(), nullptr);
    EXPECT_EQ(frame->DocumentPaneText(), "No doc");
    app.ExitInstance();
}

// Regression: Window > Cascade gave each window the size it asked for, which shrank the graph
// window (maximised or not) to a title strip and left every window small in the top left corner.
TEST(WorkspaceWindowsTest, CascadeGivesEveryWindowMostOfTheWorkspaceOneTitleBarApart)
{
    CShellSandbox box;
    COxidariumAppUi app;
    const QSize workspace(1600, 1000);
    CMainFrame* frame = StartWithStarterGlazes(box, app, workspace);
    ASSERT_NE(frame, nullptr);
    auto* glazes = dynamic_cast<CGlazesView*>(frame->ActiveView());
    ASSERT_NE(glazes, nullptr);
    CMDIChildFrame* form = OpenForm(frame, glazes, 0);
    ASSERT_NE(form, nullptr);
    const QSize formSize = form->size();
    CMDIChildFrame* list = FrameOf(glazes->GetDocument());
    ASSERT_NE(list, nullptr);
    list->ActivateFrame();
    ASSERT_TRUE(frame->ExecuteCommand(CmdGlzOpenGraph));
    CMDIChildFrame* graph = frame->ActiveChildFrame();
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(dynamic_cast<CGraphView*>(graph->View()));
    graph->showMaximized();

    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Cascade"));
    QApplication::processEvents();
    QList<QMdiSubWindow*> cascaded;
    int iconsTop = workspace.height();
    for (QMdiSubWindow* window : frame->MdiArea()->subWindowList(QMdiArea::StackingOrder)) {
        if (window->isMinimized())
            iconsTop = std::min(iconsTop, window->y());
        else
            cascaded.append(window);
    }
    ASSERT_EQ(cascaded.size(), 4) << "the tree, the list, the form and the graph";
    EXPECT_EQ(cascaded.back(), graph) << "the graph stays in front";
    EXPECT_EQ(frame->ActiveChildFrame(), graph);
    EXPECT_FALSE(graph->isMaximized());
    const int step = app.m_nCascadeStep;
    for (int i = 0; i < cascaded.size(); ++i) {
        const QRect place = cascaded[i]->geometry();
        EXPECT_EQ(place.topLeft(), QPoint(i * step, i * step)) << i;
        EXPECT_LE(place.right(), workspace.width()) << i;
        EXPECT_LT(place.bottom(), iconsTop) << "the minimised windows stay in sight " << i;
        if (cascaded[i] == form) {
            EXPECT_EQ(place.size(), formSize) << "a form keeps its size";
            continue;
        }
        EXPECT_EQ(place.size(), graph->size()) << i;
        EXPECT_GE(place.width(), workspace.width() * 2 / 3) << i;
        EXPECT_GE(place.height(), iconsTop * 2 / 3) << i;
    }
    auto* chart = graph->ViewWidget()->findChild<CGraphWnd*>();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->size(), graph->ViewWidget()->size()) << "the chart is drawn at the new size";
    const QString shot = ScreenshotFolder() + "/workspace-cascade.png";
    EXPECT_TRUE(frame->grab().save(shot)) << shot.toStdString();
    app.ExitInstance();
}

// Regressions: Window > Tile laid the right-hand column past the workspace's right edge (windows
// cut off, scroll bars, the form's buttons out of sight), and Cascade covered the minimised
// windows once they filled more than one row.
TEST(WorkspaceWindowsTest, TileAndCascadeKeepEveryWindowInsideTheWorkspaceAboveEveryRowOfIcons)
{
    CShellSandbox box;
    COxidariumAppUi app;
    CMainFrame* frame = StartWithStarterGlazes(box, app, QSize(1000, 700));
    ASSERT_NE(frame, nullptr);
    QMdiArea* area = frame->MdiArea();
    auto* glazes = dynamic_cast<CGlazesView*>(frame->ActiveView());
    ASSERT_NE(glazes, nullptr);
    CMDIChildFrame* list = FrameOf(glazes->GetDocument());
    ASSERT_NE(list, nullptr);
    CMDIChildFrame* form = OpenForm(frame, glazes, 0);
    ASSERT_NE(form, nullptr);
    const QSize formSize = form->size();
    list->ActivateFrame();
    ASSERT_TRUE(frame->ExecuteCommand(CmdGlzOpenGraph));
    for (CDocument* document : {static_cast<CDocument*>(g_pElementsDoc), static_cast<CDocument*>(g_pDbTreeDoc)}) {
        CMDIChildFrame* window = FrameOf(document);
        ASSERT_NE(window, nullptr);
        window->showNormal();
    }
    QApplication::processEvents();

    // Checks that every window the user sees lies inside the workspace above the minimised
    // windows, and that these kept their places along the bottom.
    const auto checkInside = [&](const char* command, const std::map<QMdiSubWindow*, QPoint>& icons) {
        QApplication::processEvents();
        int iconsTop = area->viewport()->height();
        int shown = 0;
        for (QMdiSubWindow* window : area->subWindowList()) {
            if (!window->isMinimized())
                continue;
            iconsTop = std::min(iconsTop, window->y());
            EXPECT_EQ(FromBottom(area, window), icons.at(window)) << command << ": " << window->windowTitle().toStdString();
        }
        for (QMdiSubWindow* window : area->subWindowList()) {
            if (window->isMinimized())
                continue;
            ++shown;
            EXPECT_TRUE(QRect(0, 0, area->viewport()->width(), iconsTop).contains(window->geometry()))
                << command << ": " << window->windowTitle().toStdString() << " lies at "
                << window->geometry().x() << "," << window->geometry().y() << " "
                << window->width() << "x" << window->height();
        }
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << command;
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << command;
        EXPECT_EQ(form->size(), formSize) << command << ": a form keeps its size";
        return shown;
    };
    const auto iconPlaces = [&] {
        std::map<QMdiSubWindow*, QPoint> icons;
        for (QMdiSubWindow* window : area->subWindowList())
            if (window->isMinimized())
                icons[window] = FromBottom(area, window);
        return icons;
    };

    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Tile"));
    EXPECT_EQ(checkInside("Tile of five", iconPlaces()), 5) << "the form, its list, the tree, the table and the graph";
    // They fit side by side: the form at its size along the top, the others below it.
    for (QMdiSubWindow* one : area->subWindowList())
        for (QMdiSubWindow* other : area->subWindowList())
            if (one != other && !one->isMinimized() && !other->isMinimized())
                EXPECT_FALSE(one->geometry().intersects(other->geometry()))
                    << one->windowTitle().toStdString() << " covers " << other->windowTitle().toStdString();
    const QString shot = ScreenshotFolder() + "/workspace-tile.png";
    EXPECT_TRUE(frame->grab().save(shot)) << shot.toStdString();

    // Seven windows: a second form and a text window more.
    ASSERT_NE(OpenForm(frame, glazes, 1), nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(CmdShellNewTextWindow));
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Tile"));
    EXPECT_EQ(checkInside("Tile of seven", iconPlaces()), 7);

    // A narrower workspace holds the minimised windows, the tree and the table now among them, in
    // two rows: Cascade ends above both.
    frame->resize(QSize(800, 700) + frame->size() - area->viewport()->size());
    FrameOf(g_pElementsDoc)->showMinimized();
    FrameOf(g_pDbTreeDoc)->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(frame->ExecuteCommand(CmdWindowArrange));
    std::map<QMdiSubWindow*, QPoint> icons = iconPlaces();
    std::set<int> rows;
    for (const auto& [window, place] : icons)
        rows.insert(window->y());
    ASSERT_GE(rows.size(), 2u) << "the minimised windows fill more than one row";
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Cascade"));
    QApplication::processEvents();
    for (QMdiSubWindow* window : area->subWindowList())
        if (!window->isMinimized() && window != form)
            EXPECT_LT(window->geometry().bottom(), *rows.begin()) << window->windowTitle().toStdString();
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Tile"));
    checkInside("Tile beside two rows of icons", icons);
    app.ExitInstance();
}
