// The program's own windows in the workspace, driven as a user drives them: a list opened while
// another window is maximised, edit forms opened from their list, what becomes active when a
// window closes, Window > Cascade, where windows open at the default size, and which field the
// keys go to after a refusal.

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
#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/OxideCombosDlg.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/FindReplaceDlg.h"
#include "textfile/TextFileView.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"
#include "tree/DbTreeDoc.h"
#include "ui/support/TestFolders.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
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
// workspace of the given size (none: the main window's default size).
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
    if (workspace.isValid())
        frame->resize(workspace + frame->size() - frame->MdiArea()->viewport()->size());
    if (!QTest::qWaitForWindowExposed(frame) ||
        (workspace.isValid() && frame->MdiArea()->viewport()->size() != workspace))
        return nullptr;
    QApplication::setActiveWindow(frame);
    if (!g_pGlazesTemplate)
        return nullptr;
    return g_pGlazesTemplate->OpenDocumentFile(box.dataDir + "/glazes.glz") ? frame : nullptr;
}

// Opens the edit form of a row as a user does, with a double click.
CMDIChildFrame* OpenForm(CMainFrame* frame, QAbstractItemView* list, int row)
{
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    return frame->ActiveChildFrame();
}

// The form on the first record of a database whose list is minimised, opened from the list.
CMDIChildFrame* OpenFormOn(CMainFrame* frame, CDocument* database)
{
    CMDIChildFrame* list = FrameOf(database);
    if (list)
        list->ActivateFrame();
    return list ? OpenForm(frame, dynamic_cast<QAbstractItemView*>(list->View()), 0) : nullptr;
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

// What a one-line or many-line field holds, all of it or what is selected; and text put into it
// as a paste leaves it.
QString FieldText(const QWidget* field, bool selected = false)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field))
        return selected ? line->selectedText() : line->text();
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(field))
        return selected ? box->textCursor().selectedText() : box->toPlainText();
    ADD_FAILURE() << "no text field";
    return QString();
}
void PutText(QWidget* field, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->setText(text);
    else if (auto* box = qobject_cast<QPlainTextEdit*>(field))
        box->setPlainText(text);
}

// A click on a field, in front of the program's windows as a user's click puts its window.
void ClickInto(QWidget* field)
{
    if (!field->window()->isActiveWindow()) {
        field->window()->activateWindow();
        QApplication::processEvents();
    }
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(4, 4));
    CShellSandbox::FlushEvents();
}

// The user's typing goes to whatever has the keyboard.
void TypeIntoKeyboard(const QString& text)
{
    QApplication::processEvents();
    QWidget* keyboard = QApplication::focusWidget();
    ASSERT_NE(keyboard, nullptr) << "no field has the keyboard";
    QTest::keyClicks(keyboard, text);
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
    for (QMdiSubWindow* one : area->subWindowList()) {
        for (QMdiSubWindow* other : area->subWindowList()) {
            if (one != other && !one->isMinimized() && !other->isMinimized()) {
                EXPECT_FALSE(one->geometry().intersects(other->geometry()))
                    << one->windowTitle().toStdString() << " covers " << other->windowTitle().toStdString();
            }
        }
    }
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
    for (QMdiSubWindow* window : area->subWindowList()) {
        if (!window->isMinimized() && window != form) {
            EXPECT_LT(window->geometry().bottom(), *rows.begin()) << window->windowTitle().toStdString();
        }
    }
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", "&Tile"));
    checkInside("Tile beside two rows of icons", icons);
    app.ExitInstance();
}

// Regression (the monkey, a stack overflow): the two sets of a substitution form, each holding a
// line without an amount, took the keyboard back from each other for ever when the user clicked
// from one to the other. In every form and dialog with two fields that refuse what they hold as
// they are left, the first is refused once and keeps the keyboard with its text selected, and the
// other refuses nothing meanwhile; the mend typed over it lets the user on to the other.
TEST(WorkspaceWindowsTest, TwoRefusedFieldsNeverHandTheKeyboardBackAndForth)
{
    CShellSandbox box;
    COxidariumAppUi app;
    CMainFrame* frame = StartWithStarterGlazes(box, app, QSize(1200, 800));
    ASSERT_NE(frame, nullptr);
    auto* glazes = dynamic_cast<CGlazesView*>(frame->ActiveView());
    ASSERT_NE(glazes, nullptr);
    std::unique_ptr<COxideCombosDlg> combos;
    const std::string lineRefused =
        "The amount of \"Cone 6 Clear\" is not a number. Please enter a number between 0 and 999999999.";
    struct Pair {
        const char* window;
        std::function<QWidget*()> open;
        const char* first; // the fields' names, and the refused texts they hold
        const char* second;
        const char* firstText;
        const char* secondText;
        std::string message; // the first field's refusal
        bool showsItsValue;  // the refused field shows its value again instead of the text
        const char* mend;
    };
    const Pair pairs[] = {
        {"substitution form", [&] { return OpenFormOn(frame, g_pSubstitutionsDoc); }, "2573", "2574", "Cone 6 Clear",
         "Cone 6 Clear", lineRefused, false, "Silica 10"},
        {"limit formula form",
         [&]() -> QWidget* {
             QWidget* form = OpenFormOn(frame, g_pLimitFormulasDoc);
             auto* limits = form ? form->findChild<QListWidget*>("2701") : nullptr;
             if (limits && limits->count() > 0)
                 QTest::mouseClick(limits->viewport(), Qt::LeftButton, {},
                                   limits->visualItemRect(limits->item(0)).center());
             return form;
         },
         "2706", "2707", "0.1x", "abc", "Please enter a number.", false, "0.1"},
        {"glaze form",
         [&]() -> QWidget* {
             QWidget* form = OpenForm(frame, glazes, 0);
             if (auto* recipe = form ? form->findChild<QWidget*>("pageButton2") : nullptr)
                 QTest::mouseClick(recipe, Qt::LeftButton);
             return form;
         },
         "batchSize", "components", "12abc", "Cone 6 Clear", "Please enter a number.", true, "500"},
        {"oxide combinations dialog",
         [&]() -> QWidget* {
             combos = std::make_unique<COxideCombosDlg>(frame);
             combos->combinations = g_pLimitFormulasDoc->Database().m_combinations;
             combos->show();
             combos->SelectCombination(3);
             return combos.get();
         },
         "2612", "2613", "abc", "x1e999", "Please enter a number.", false, "0.5"},
    };
    for (const Pair& pair : pairs) {
        QWidget* window = pair.open();
        ASSERT_NE(window, nullptr) << pair.window;
        auto* first = window->findChild<QWidget*>(pair.first);
        auto* second = window->findChild<QWidget*>(pair.second);
        ASSERT_TRUE(first && second) << pair.window;
        const QString value = FieldText(first);
        PutText(second, pair.secondText);
        PutText(first, pair.firstText);
        ClickInto(first);
        box.messages.boxes.clear();
        ClickInto(second);
        EXPECT_EQ(box.messages.Texts(), std::vector<std::string>{pair.message}) << pair.window;
        EXPECT_EQ(QApplication::focusWidget(), first) << pair.window;
        EXPECT_EQ(FieldText(first, true), pair.showsItsValue ? value : QString(pair.firstText)) << pair.window;
        EXPECT_EQ(FieldText(second), QString(pair.secondText)) << pair.window;

        TypeIntoKeyboard(pair.mend);
        box.messages.boxes.clear();
        ClickInto(second);
        EXPECT_TRUE(box.messages.boxes.empty()) << pair.window;
        EXPECT_EQ(QApplication::focusWidget(), second) << pair.window;
        EXPECT_FALSE(FieldText(first).contains(pair.firstText)) << pair.window;
    }
    combos.reset();
    app.ExitInstance();
}

// Regression (the monkey: "File > Exit did not end the program"): with a text window's Find dialog
// the active window, Exit's refusal of a limit form's bound brought the form to the front but left
// the keyboard in the Find dialog, so the mend went into the search text and every Exit was
// refused again. The refused field gets the keyboard, whatever window was active; the Find dialog
// stays open behind it, and the mend typed then lets Exit save and end the program.
TEST(WorkspaceWindowsTest, ARefusalGivesItsFieldTheKeyboardWhateverWindowWasActive)
{
    CShellSandbox box;
    COxidariumAppUi app;
    CMainFrame* frame = StartWithStarterGlazes(box, app, QSize(1200, 800));
    ASSERT_NE(frame, nullptr);
    CMDIChildFrame* form = OpenFormOn(frame, g_pLimitFormulasDoc);
    auto* edit = dynamic_cast<CLimitFormulaEditView*>(form ? form->View() : nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&File", "&New Text Window"));
    auto* text = dynamic_cast<CTextFileView*>(frame->ActiveView());
    ASSERT_NE(text, nullptr);

    // "x" typed after a bound; the text window clicked (which leaves the bound quietly) and its
    // Find dialog opened, the active window now.
    box.messages.boxes.clear();
    edit->LimitsList()->setCurrentRow(0);
    const QString bound = edit->FromEdit()->text();
    ClickInto(edit->FromEdit());
    edit->FromEdit()->end(false);
    QTest::keyClicks(edit->FromEdit(), "x");
    ClickInto(text->viewport());
    ASSERT_EQ(frame->ActiveView(), text);
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Edit", "&Find..."));
    CFindReplaceDlg* find = text->FindDialog();
    ASSERT_NE(find, nullptr);
    find->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), find);
    EXPECT_TRUE(box.messages.boxes.empty()) << "the bound is left for another window quietly";

    box.messages.answers = {MsgResultYes};
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&File", "E&xit"));
    CShellSandbox::FlushEvents();
    ASSERT_TRUE(frame->isVisible()) << "Exit is refused";
    EXPECT_EQ(box.messages.Last().text, "Please enter a number.");
    EXPECT_EQ(QApplication::activeWindow(), frame);
    EXPECT_EQ(QApplication::focusWidget(), edit->FromEdit());
    EXPECT_EQ(edit->FromEdit()->selectedText(), bound + "x");
    EXPECT_TRUE(find->isVisible()) << "the Find dialog stays open";

    const QString searched = find->FindEdit()->text();
    TypeIntoKeyboard("0.125");
    EXPECT_EQ(find->FindEdit()->text(), searched);
    box.messages.boxes.clear();
    box.messages.answers = {MsgResultYes, MsgResultYes, MsgResultNo};
    ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&File", "E&xit"));
    CShellSandbox::FlushEvents();
    EXPECT_FALSE(frame->isVisible()) << "Exit ends the program; asked: "
                                     << ::testing::PrintToString(box.messages.Texts());
    std::ifstream saved(box.dataDir + "/tarnell.lim");
    const std::string written((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(written.find("0.125"), std::string::npos) << "the mended bound is saved";
    app.ExitInstance();
}

// Regression: at the default 500 x 400 main window, the glaze list opened at start, a text window
// opened from the tree and a minimised window restored stood partly outside the workspace, behind
// its scroll bars.
TEST(WorkspaceWindowsTest, AtTheDefaultSizeEveryNewOrRestoredWindowStandsInsideTheWorkspace)
{
    CShellSandbox box;
    CShellSandbox::WriteFile(box.dataDir + "/notes.txt", "A note\n");
    COxidariumAppUi app;
    CMainFrame* frame = StartWithStarterGlazes(box, app, QSize());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->size(), QSize(500, 400));
    QMdiArea* area = frame->MdiArea();
    const auto inside = [area](const QMdiSubWindow* window, const std::string& how) {
        CShellSandbox::FlushEvents();
        ASSERT_NE(window, nullptr) << how;
        EXPECT_TRUE(area->viewport()->rect().contains(window->geometry()))
            << how << ": " << window->windowTitle().toStdString();
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible()) << how;
    };
    inside(frame->ActiveChildFrame(), "the glaze list opened at start");
    auto* glazes = dynamic_cast<CGlazesView*>(frame->ActiveView());
    ASSERT_NE(glazes, nullptr);

    CMDIChildFrame* treeWindow = FrameOf(g_pDbTreeDoc);
    auto* tree = dynamic_cast<QTreeWidget*>(treeWindow ? treeWindow->View() : nullptr);
    ASSERT_NE(tree, nullptr);
    treeWindow->ActivateFrame();
    const QList<QTreeWidgetItem*> notes = tree->findItems("notes", Qt::MatchContains | Qt::MatchRecursive);
    ASSERT_EQ(notes.size(), 1);
    tree->scrollToItem(notes.front());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(notes.front()).center());
    CMDIChildFrame* text = frame->ActiveChildFrame();
    ASSERT_TRUE(text && dynamic_cast<CTextFileView*>(text->View()));
    inside(text, "a text window opened from the tree");
    const QString shot = ScreenshotFolder() + "/workspace-default-size.png";
    EXPECT_TRUE(frame->grab().save(shot)) << shot.toStdString();

    // Each minimised window restored through the Window menu, and minimised again.
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    for (int i = 0; i < windows.size(); ++i) {
        if (!windows[i]->isMinimized())
            continue;
        const QString entry = QStringLiteral("&%1 %2").arg(i + 1).arg(windows[i]->windowTitle());
        ASSERT_TRUE(PickMenuEntry(frame->menuBar(), "&Window", entry)) << entry.toStdString();
        inside(windows[i], "restored");
        windows[i]->showMinimized();
    }

    // Two forms on one glaze, each larger than the workspace: the second stands a title bar
    // apart from the first, not over it.
    CMDIChildFrame* first = OpenForm(frame, glazes, 0);
    CMDIChildFrame* second = OpenForm(frame, glazes, 0);
    ASSERT_TRUE(first && second && first != second);
    EXPECT_EQ(second->pos() - first->pos(), QPoint(app.m_nCascadeStep, app.m_nCascadeStep));
    app.ExitInstance();
}
