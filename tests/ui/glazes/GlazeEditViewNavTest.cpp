#include "GlazeEditViewFixture.h"

#include "core/support/CheckedItems.h"
#include "core/graphs/ChartTestSupport.h"
#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeClipboard.h"
#include "graphs/GraphWnd.h"
#include "graphs/QtChartEngine.h"
#include "support/NotesEdit.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

class GlazeEditViewNavTest : public GlazeEditViewFixture {
protected:
    void Notify(int code, int index, const CGlaze* glaze = nullptr)
    {
        COxidariumApp::BroadcastUpdate(nullptr, m_doc, 5, code, index, HintExtra(glaze));
    }
};

} // namespace

TEST_F(GlazeEditViewNavTest, EditNextOnTheLastGlazeAppendsANewOne)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(8);
    ASSERT_NE(view, nullptr);
    view->EditNext(); // the last glaze but one steps on to the last
    EXPECT_EQ(view->GetGlazeIndex(), 9);
    EXPECT_EQ(GlazeForm::Button(view, kGedNext)->text(), QStringLiteral("Append New"));
    EXPECT_EQ(GlazeForm::Button(view, kGedPrevious)->text(), QStringLiteral("Edit Previous"));
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("changed"));
    TakeNotices();
    m_messages.answers = {MsgResultNo};
    view->EditNext();
    EXPECT_EQ(m_messages.boxes.size(), 1u);
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(Found(m_doc->GetGlaze(10)).m_name, "new glaze");
    EXPECT_EQ(view->GetGlazeIndex(), 10);
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("new glaze"));
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintGlazesInserted, 10}}));

    // Ctrl+S saves and appends again, with the whole new name selected for typing over.
    GlazeForm::NameEdit(view)->setText(QStringLiteral("Test tile 1"));
    ASSERT_NE(view->GetFrame(), nullptr);
    view->GetFrame()->ActivateFrame();
    GlazeForm::NameEdit(view)->setFocus();
    QTest::keyClick(GlazeForm::NameEdit(view), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Found(m_doc->GetGlaze(10)).m_name, "Test tile 1");
    EXPECT_EQ(view->GetGlazeIndex(), 11);
    EXPECT_EQ(GlazeForm::NameEdit(view)->selectedText(), QStringLiteral("new glaze"));
    EXPECT_EQ(m_messages.boxes.size(), 1u);
}

TEST_F(GlazeEditViewNavTest, ControlNWalksTheFieldGroups)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(1);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetFrame(), nullptr);
    view->GetFrame()->ActivateFrame();
    GlazeForm::NameEdit(view)->setFocus();
    QTest::keyClick(GlazeForm::NameEdit(view), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageRecipe);
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->hasFocus());
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->textCursor().atEnd());
    QTest::keyClick(GlazeForm::ComponentsEdit(view), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(GlazeForm::AdditionsEdit(view)->hasFocus());
    QTest::keyClick(GlazeForm::AdditionsEdit(view), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageNotes);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageRecipe);
    EXPECT_TRUE(GlazeForm::AdditionsEdit(view)->hasFocus());
    GlazeForm::NameEdit(view)->setFocus();
    view->ShowPage(kPageDescription);
    QTest::keyClick(GlazeForm::NameEdit(view), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageLimitFormula);
    EXPECT_EQ(GlazeForm::IsModified(view), 0) << "walking changes nothing";
}

TEST_F(GlazeEditViewNavTest, ALimitedFormFollowsDeletionsAndClosesWhenItsGlazeGoes)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenLimited({1, 3, 5});
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(GlazeForm::IsSubsetMode(view));
    EXPECT_EQ(view->GetGlazeIndex(), 1);
    EXPECT_FALSE(GlazeForm::Button(view, kGedPrevious)->isEnabled());
    view->EditNext();
    EXPECT_EQ(view->GetGlazeIndex(), 3);
    EXPECT_EQ(GlazeForm::SubsetPosition(view), 1);

    // Another window deletes glaze 1: the subset shrinks and the form follows its glaze.
    m_doc->DeleteGlaze(1);
    Notify(HintGlazesDeleted, 1);
    EXPECT_EQ(GlazeForm::SubsetCount(view), 2);
    EXPECT_EQ(view->GetGlazeIndex(), 2);
    EXPECT_EQ(GlazeForm::SubsetPosition(view), 0);
    EXPECT_EQ(GlazeForm::Button(view, kGedNext)->text(), QStringLiteral("Edit Next"));

    // Deleting the edited glaze closes the form without a question, edits and all.
    GlazeForm::NotesEdit(view)->setPlainText(QStringLiteral("unsaved"));
    m_doc->DeleteGlaze(2);
    Notify(HintGlazesDeleted, 2);
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazeEditViewNavTest, OtherWritersAndRevertingReachTheForm)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(2);
    ASSERT_NE(view, nullptr);
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("my notes"));

    // Something that is no edit form changes this glaze: the form holding edits asks before the
    // stored version replaces them (regression: it took such a change for one asked before).
    CGlaze changed = Found(m_doc->GetGlaze(2));
    changed.m_source = "from elsewhere";
    m_doc->ReplaceGlaze(2, changed);
    m_messages.answers = {MsgResultYes};
    Notify(HintGlazeChanged, 2, m_doc->GetGlaze(2));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"\"Cone 6 Satin Matte Blue\" has been changed outside this "
                                                           "window. Show it as changed, dropping the unsaved changes "
                                                           "in this window?"});
    m_messages.boxes.clear();
    EXPECT_EQ(GlazeForm::SourceEdit(view)->text(), QStringLiteral("from elsewhere"));
    EXPECT_EQ(GlazeForm::IsModified(view), 0);

    // Insertions before it move its index.
    m_doc->InsertGlaze(0, CGlaze("first"));
    Notify(HintGlazesInserted, 0);
    EXPECT_EQ(view->GetGlazeIndex(), 3);

    // Glazes rewritten in place (a merge) keep the form on its glaze, edits and all; a database
    // read anew closes every form on it without a question (the revert asked before).
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("kept"));
    Notify(HintGlazesReplaced, 0);
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
    EXPECT_EQ(GlazeForm::SourceEdit(view)->text(), QStringLiteral("kept"));
    const CNamedItemList<CGlaze> gone = std::exchange(m_doc->Glazes().m_glazes, {});
    Notify(HintGlazesReplaced, 0);
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazeEditViewNavTest, SaveAsNewCopyCutAndPaste)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(4);
    ASSERT_NE(view, nullptr);
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("variant"));
    view->OnCommand(CmdGedSaveAsNew);
    EXPECT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(Found(m_doc->GetGlaze(4)).m_name, "Cone 10 Tenmoku");
    EXPECT_EQ(Found(m_doc->GetGlaze(4)).m_source, "Starter database") << "the unedited glaze stays";
    EXPECT_EQ(Found(m_doc->GetGlaze(5)).m_name, "Cone 10 Tenmoku (new)");
    EXPECT_EQ(Found(m_doc->GetGlaze(5)).m_source, "variant");
    EXPECT_EQ(view->GetGlazeIndex(), 5);
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("Cone 10 Tenmoku (new)"));

    // Paste waits for something copied. Copy, then Paste into another form; Cut closes without
    // removing anything.
    g_glazeClipboard.Reset();
    CCmdUI empty(CmdGedPaste);
    EXPECT_TRUE(view->OnUpdateCommand(empty));
    EXPECT_FALSE(empty.m_bEnabled);
    view->OnCommand(CmdGedCopy);
    ASSERT_EQ(ClipboardCount(g_glazeClipboard), 1);
    EXPECT_EQ(g_glazeClipboard.m_name, "Glazes");
    CGlazeEditView* other = OpenEdit(0);
    ASSERT_NE(other, nullptr);
    CCmdUI paste(CmdGedPaste);
    EXPECT_TRUE(other->OnUpdateCommand(paste));
    EXPECT_TRUE(paste.m_bEnabled);
    other->ShowPage(kPageAnalysis);
    const QString ownAnalysis = GlazeForm::AnalysisPane(other)->toPlainText();
    other->OnCommand(CmdGedPaste);
    EXPECT_EQ(GlazeForm::NameEdit(other)->text(), QStringLiteral("Cone 10 Tenmoku (new)"));
    EXPECT_NE(GlazeForm::AnalysisPane(other)->toPlainText(), ownAnalysis) << "the pasted recipe's analysis";
    EXPECT_EQ(GlazeForm::IsModified(other), 1);
    EXPECT_EQ(other->GetGlazeIndex(), 0) << "the form still edits its own glaze";
    other->OnCommand(CmdGedCut);
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 1);
    EXPECT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_name, "Cone 6 Clear");
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazeEditViewNavTest, ScreenshotsOfEveryPage)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(1);
    ASSERT_NE(view, nullptr);
    auto* frame = dynamic_cast<QMdiSubWindow*>(view->GetFrame());
    const char* const names[] = {"glaze-edit-description", "glaze-edit-recipe", "glaze-edit-notes",
                                 "glaze-edit-analysis", "glaze-edit-limit-formula"};
    view->SetRecipeRightPane(2);
    for (int page = kPageDescription; page <= kPageLimitFormula; ++page) {
        view->ShowPage(page);
        EXPECT_EQ(GlazeForm::PageButton(view, page)->state, 1);
        EXPECT_TRUE(GlazeForm::Page(view, page)->isVisible());
        QApplication::processEvents();
        Screenshot(frame, names[page - 1]);
    }
    EXPECT_FALSE(GlazeForm::Page(view, kPageDescription)->isVisible());
    EXPECT_EQ(GlazeForm::PageButton(view, kPageDescription)->state, 0);
}

TEST_F(GlazeEditViewNavTest, GraphPanesDrawTheOfferedTemplatesInTurn)
{
    CInstalledChartEngine<CQtChartEngine> engine;
    m_app.m_bGraphsAvailable = 1;
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(GlazeForm::GraphButton(view, kGraphPaneAnalysis)->isHidden());
    GlazeForm::PrintGraphPane(view, false); // no graph page shown: nothing to print, and no dialog
    view->ShowPage(kPageAnalysis);

    // Without templates the pane draws the form's own oxide bar chart, and G keeps it.
    QTest::mouseClick(GlazeForm::GraphButton(view, kGraphPaneAnalysis), Qt::LeftButton);
    EXPECT_TRUE(GlazeForm::IsGraphMode(view, kGraphPaneAnalysis));
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis), nullptr);
    ASSERT_NE(GlazeForm::Graph(view, kGraphPaneAnalysis), nullptr);
    EXPECT_EQ(GlazeForm::Graph(view, kGraphPaneAnalysis)->type, 1);
    EXPECT_TRUE(GlazeForm::AnalysisPane(view)->isHidden());
    EXPECT_FALSE(GlazeForm::ChartWindow(view, kGraphPaneAnalysis)->isHidden());
    QTest::mouseClick(GlazeForm::GraphButton(view, kGraphPaneAnalysis), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::Graph(view, kGraphPaneAnalysis)->type, 1);
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), 2);

    // The templates arrive: the pane takes the first one offered for analysis panes.
    m_graphTypes = std::make_unique<CGraphTypesDoc>();
    m_graphTypes->OnOpenDocument(Shipped("graphtypes.grt"));
    COxidariumApp::BroadcastUpdate(nullptr, m_graphTypes.get(), 6, HintGraphTemplatesReplaced, 0, 0);
    ASSERT_NE(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis), nullptr);
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis)->m_name, "Oxide groups (pie)");
    EXPECT_GE(GlazeForm::Graph(view, kGraphPaneAnalysis)->GetChartHandle(), 0);
    EXPECT_EQ(GlazeForm::Graph(view, kGraphPaneAnalysis)->oxtype, 0);
    QApplication::processEvents();
    Screenshot(dynamic_cast<QWidget*>(view->GetFrame()), "glaze-edit-analysis-graph");
    // A refused recipe line is named above the chart of the others, as long as it stands; the
    // chart moves down out of its way, so its title stays in sight.
    QLabel* leftOut = &Control(view->findChild<QLabel*>(QStringLiteral("leftOut0")));
    QWidget* chart = GlazeForm::ChartWindow(view, kGraphPaneAnalysis);
    const QRect chartPlace = chart->geometry();
    EXPECT_TRUE(leftOut->isHidden());
    const QString recipe = GlazeForm::ComponentsEdit(view)->toPlainText();
    GlazeForm::ComponentsEdit(view)->appendPlainText(QStringLiteral("Talc 1,5"));
    view->RefreshAnalysis();
    EXPECT_FALSE(leftOut->isHidden());
    EXPECT_EQ(leftOut->text(), QStringLiteral("Left out: \"Talc 1,5\""));
    EXPECT_FALSE(chart->geometry().intersects(leftOut->geometry()));
    EXPECT_EQ(chart->geometry().bottom(), chartPlace.bottom());
    QApplication::processEvents();
    Screenshot(dynamic_cast<QWidget*>(view->GetFrame()), "glaze-edit-analysis-graph-left-out");
    GlazeForm::ComponentsEdit(view)->setPlainText(recipe);
    view->RefreshAnalysis();
    EXPECT_TRUE(leftOut->isHidden());
    EXPECT_EQ(chart->geometry(), chartPlace);

    // A clicked slice opens the information pop-up; a page switch closes it.
    view->OnChartMessage(kChartNoticeMessage, kChartNoticeCell, 0);
    ASSERT_NE(view->Popup(), nullptr);
    EXPECT_EQ(view->Popup()->windowTitle(), QStringLiteral("Cone 6 Clear"));
    EXPECT_FALSE(view->Popup()->TextControl()->GetText().empty());
    EXPECT_EQ(view->Popup()->GetFullInfo(), GlazeForm::Graph(view, kGraphPaneAnalysis)->GetText());
    view->ShowPage(kPageNotes);
    FlushDeletes();
    EXPECT_EQ(view->Popup(), nullptr);
    view->ShowPage(kPageAnalysis);

    // Write Graph to File adds the extension of the chosen type.
    const std::string image = m_dir.path().toStdString() + "/chart";
    m_dialogs.AnswerPath(image, 1);
    view->WriteGraphToFile();
    ASSERT_FALSE(m_dialogs.requests.empty());
    EXPECT_EQ(m_dialogs.Last().title, "Graph to File...");
    EXPECT_EQ(m_dialogs.Last().filter,
              "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg|Windows bitmap files (*.bmp)|*.bmp;*.dib||");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(image + ".png")));
    m_dialogs.AnswerPath(image + ".DIB", 3);
    view->WriteGraphToFile();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(image + ".DIB")));
    EXPECT_TRUE(m_messages.boxes.empty());

    // The chart's menu, shown by a right click, copies, writes and prints it; on paper it fills
    // one page, in vectors.
    QStringList items;
    ReadNextPopupMenu(items);
    QWidget* chartWindow = GlazeForm::ChartWindow(view, kGraphPaneAnalysis);
    QTest::mousePress(chartWindow, Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseRelease(chartWindow, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(items, QStringList({"Copy Graph to &Clipboard", "Write Graph to &File", "", "&Print Graph...",
                                  "Print Graph Pre&view..."}));
    const std::unique_ptr<QMenu> menu = view->BuildGraphMenu();
    QGuiApplication::clipboard()->clear();
    ASSERT_FALSE(menu->actions().isEmpty());
    menu->actions().front()->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), GlazeForm::ChartWindow(view, kGraphPaneAnalysis)->size());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.path() + "/pane.pdf");
    EXPECT_EQ(PrintGraphTo(*GlazeForm::ChartWindow(view, kGraphPaneAnalysis), printer), 1);
    QFile pdf(m_dir.path() + "/pane.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));

    QTest::mouseClick(GlazeForm::GraphButton(view, kGraphPaneAnalysis), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis)->m_name, "Unity formula (bar)");
    // Templates reordered elsewhere leave the pane on the one it shows.
    COxidariumApp::BroadcastUpdate(nullptr, m_graphTypes.get(), 6, HintGraphTemplatesReordered, 0, 0);
    ASSERT_NE(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis), nullptr);
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneAnalysis)->m_name, "Unity formula (bar)");
    // A change of the template it shows redraws the pane; a change of another one does not.
    const CGraphTemplate* shown = GlazeForm::GraphTemplate(view, kGraphPaneAnalysis);
    const CGraphTemplate* other = &m_graphTypes->Database().GetAt(0);
    ASSERT_NE(shown, other);
    const int drawn = GlazeForm::GraphBuilds(view, kGraphPaneAnalysis);
    COxidariumApp::BroadcastUpdate(nullptr, other, 6, HintGraphTemplateChanged, 0, reinterpret_cast<std::uintptr_t>(other));
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), drawn);
    COxidariumApp::BroadcastUpdate(nullptr, shown, 6, HintGraphTemplateChanged, 1, reinterpret_cast<std::uintptr_t>(shown));
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), drawn + 1);
    // A notice naming two templates concerns both.
    COxidariumApp::BroadcastUpdate(nullptr, shown, 6, HintGraphTemplateChanged, 1, reinterpret_cast<std::uintptr_t>(other));
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), drawn + 2);
    QApplication::processEvents();
    Screenshot(dynamic_cast<QWidget*>(view->GetFrame()), "glaze-edit-analysis-bars");
    // Over a chart, the pane's "..." opens the graph window on the pane's template.
    CGraphRequestRecorder graphs;
    CGlazeViews* const installed = GetGlazeViews();
    SetGlazeViews(&graphs);
    view->EnlargePane(kGedEnlargeAnalysis);
    SetGlazeViews(installed);
    ASSERT_EQ(graphs.requests.size(), 1u);
    EXPECT_EQ(graphs.requests[0].graphTemplate, GlazeForm::GraphTemplate(view, kGraphPaneAnalysis));

    // A mode change redraws the chart; changes on a hidden page wait until it shows.
    const int builds = GlazeForm::GraphBuilds(view, kGraphPaneAnalysis);
    view->SetAnalysisMode(3);
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), builds + 1);
    EXPECT_EQ(GlazeForm::Graph(view, kGraphPaneAnalysis)->oxtype, 2);
    view->ShowPage(kPageRecipe);
    GlazeForm::ComponentsEdit(view)->setPlainText(QStringLiteral("Silica 50\nKaolin 50"));
    view->RefreshAnalysis();
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), builds + 1);
    view->ShowPage(kPageAnalysis);
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), builds + 2);
    // So does a change to another glaze of the database, which a chart may show as well.
    Notify(HintGlazeChanged, 3, m_doc->GetGlaze(3));
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneAnalysis), builds + 3);
    QTest::mouseClick(GlazeForm::TextButton(view, kGraphPaneAnalysis), Qt::LeftButton);
    EXPECT_FALSE(GlazeForm::IsGraphMode(view, kGraphPaneAnalysis));
    EXPECT_FALSE(GlazeForm::AnalysisPane(view)->isHidden());

    // The limit pane offers the limit-formula chart of the glaze's own formula.
    view->ShowPage(kPageLimitFormula);
    QTest::mouseClick(GlazeForm::GraphButton(view, kGraphPaneLimit), Qt::LeftButton);
    ASSERT_NE(GlazeForm::GraphTemplate(view, kGraphPaneLimit), nullptr);
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneLimit)->m_name, "Limit formula (bar)");
    EXPECT_EQ(GlazeForm::Graph(view, kGraphPaneLimit)->limform, "Cone 6 gloss, boron-free");
    QTest::mouseClick(GlazeForm::GraphButton(view, kGraphPaneLimit), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::GraphTemplate(view, kGraphPaneLimit)->m_name, "Limit formula (bar)") << "the only one offered";
    // A name typed on another page is drawn in the chart's title once its page shows again.
    const int built = GlazeForm::GraphBuilds(view, kGraphPaneLimit);
    view->ShowPage(kPageDescription);
    QTest::keyClicks(GlazeForm::NameEdit(view), " II");
    view->ShowPage(kPageLimitFormula);
    EXPECT_EQ(GlazeForm::GraphBuilds(view, kGraphPaneLimit), built + 1);
}

TEST_F(GlazeEditViewNavTest, PreviousStepsBackThroughASubsetAndAppendNewFollowsTheFirstGlaze)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* limited = OpenLimited({1, 3, 5});
    ASSERT_NE(limited, nullptr);
    limited->EditNext();
    EXPECT_EQ(limited->GetGlazeIndex(), 3);
    limited->EditPrevious();
    EXPECT_EQ(limited->GetGlazeIndex(), 1);
    EXPECT_EQ(GlazeForm::SubsetPosition(limited), 0);
    // At the subset's first glaze Previous does nothing, nor asks about the edits.
    const QString source = GlazeForm::SourceEdit(limited)->text();
    GlazeForm::SourceEdit(limited)->setText(QStringLiteral("edited"));
    m_messages.boxes.clear();
    limited->EditPrevious();
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(limited->GetGlazeIndex(), 1);
    GlazeForm::SourceEdit(limited)->setText(source);

    // Ctrl+S steps on through the subset and stays on its last glaze.
    ASSERT_NE(limited->GetFrame(), nullptr);
    limited->GetFrame()->ActivateFrame();
    GlazeForm::NameEdit(limited)->setFocus();
    for (const int expected : {3, 5, 5}) {
        QTest::keyClick(GlazeForm::NameEdit(limited), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(limited->GetGlazeIndex(), expected);
    }

    // A new glaze goes right after the first one of the database.
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    const int count = m_doc->GetGlazeCount();
    view->OnCommand(CmdGedAppendNew);
    EXPECT_EQ(m_doc->GetGlazeCount(), count + 1);
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_name, "new glaze");
    EXPECT_EQ(view->GetGlazeIndex(), 1);
    EXPECT_TRUE(m_messages.boxes.empty());
    // Save and Next goes on to the next glaze, on its description page.
    view->ShowPage(kPageRecipe);
    view->OnCommand(CmdGedSaveAndNext);
    EXPECT_EQ(view->GetGlazeIndex(), 2);
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageDescription);
}

// The record commands of the form's menu are enabled by the glaze's place in the database, or
// in the limited set, and each shows the glaze it names; a disabled one is not run.
TEST_F(GlazeEditViewNavTest, RecordCommandsFollowThePlaceOfTheGlaze)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    CGlazeEditView* limited = OpenLimited({1, 3, 5});
    ASSERT_NE(view, nullptr);
    ASSERT_NE(limited, nullptr);
    struct Step {
        CGlazeEditView* form;
        unsigned id;
        bool enabled;
        int shown; // the glaze shown afterwards
    };
    CCmdUI access(CmdGedLimitedAccess);
    view->OnUpdateCommand(access);
    EXPECT_EQ(access.m_nCheck, 0) << "the full form is not limited";
    EXPECT_FALSE(access.m_bEnabled);
    limited->OnUpdateCommand(access);
    EXPECT_EQ(access.m_nCheck, 1);
    // Limited Access chosen again leaves the set: Next then walks the whole database.
    const Step steps[] = {
        {view, CmdGedPrevious, false, 0},   {view, CmdGedNext, true, 1},         {view, CmdGedPrevious, true, 0},
        {view, CmdGedInsertNew, true, 0},   {view, CmdGedSaveAsNew, true, 0},    {view, CmdGedOpenReport, true, 0},
        {limited, CmdGedPrevious, false, 1}, {limited, CmdGedNext, true, 3},     {limited, CmdGedNext, true, 5},
        {limited, CmdGedNext, false, 5},    {limited, CmdGedPrevious, true, 3}, {limited, CmdGedPrevious, true, 1},
        {limited, CmdGedNext, true, 3},     {limited, CmdGedInsertNew, false, 3},
        {limited, CmdGedAppendNew, false, 3}, {limited, CmdGedLimitedAccess, true, 3}, {limited, CmdGedNext, true, 4},
    };
    for (const Step& step : steps) {
        CCmdUI ui(step.id);
        ASSERT_TRUE(step.form->OnUpdateCommand(ui)) << step.id;
        EXPECT_EQ(ui.m_bEnabled, step.enabled) << step.id << " on glaze " << step.form->GetGlazeIndex();
        if (ui.m_bEnabled && step.id != CmdGedInsertNew && step.id != CmdGedSaveAsNew && step.id != CmdGedOpenReport)
            step.form->OnCommand(step.id);
        EXPECT_EQ(step.form->GetGlazeIndex(), step.shown) << step.id;
        EXPECT_EQ(ToCp1252(GlazeForm::NameEdit(step.form)->text()), Found(m_doc->GetGlaze(step.shown)).m_name);
    }
    EXPECT_FALSE(GlazeForm::IsSubsetMode(limited));

    // Insert New puts a new glaze in the form's place and shows it; Open Report opens the
    // report on the form's glaze.
    view->OnCommand(CmdGedInsertNew);
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_name, "new glaze");
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("new glaze"));
    view->OnCommand(CmdGedNext);
    view->OnCommand(CmdGedOpenReport);
    ASSERT_EQ(CountViews<CGlazeAnalysisView>(), 1);
    EXPECT_EQ(dynamic_cast<CGlazeAnalysisView*>(LastItem(m_doc->GetViews()))->GetGlazeIndex(), 1);
}

namespace {

// Closes the next modal dialog, from inside its event loop, and notes its class in shown.
void CloseNextModal(const std::shared_ptr<QString>& shown)
{
    WhenDialogShows<QWidget>([shown](QWidget& modal) {
        *shown = QString::fromLatin1(modal.metaObject()->className());
        modal.close();
    });
}

} // namespace

TEST_F(GlazeEditViewNavTest, GraphMenuPrintsAndPreviewsThroughTheirOwnDialogs)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    view->ShowPage(kPageAnalysis);
    const std::unique_ptr<QMenu> menu = view->BuildGraphMenu();
    const auto dialogOf = [&menu](const QString& item) {
        const auto shown = std::make_shared<QString>();
        CloseNextModal(shown);
        for (QAction* action : menu->actions()) {
            if (action->text() == item)
                action->trigger();
        }
        return *shown;
    };
    EXPECT_EQ(dialogOf(QStringLiteral("&Print Graph...")), QStringLiteral("QPrintDialog"));
    EXPECT_EQ(dialogOf(QStringLiteral("Print Graph Pre&view...")), QStringLiteral("CPrintPreviewDlg"));
}
