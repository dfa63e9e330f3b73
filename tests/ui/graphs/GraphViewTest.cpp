#include "GraphViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "framework/PrintPreviewDlg.h"
#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazesView.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphView.h"
#include "graphs/GraphWnd.h"
#include "graphs/InfoPopupDlg.h"
#include "limits/LimitFormulasDoc.h"
#include "ui/support/ModalDialogTest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace graphtest;

class GraphViewTest : public GraphViewFixture {};

TEST_F(GraphViewTest, OpenGraphDrawsTheGlazeAndLooksRight)
{
    ASSERT_TRUE(OpenGraphOfGlaze(*m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr));
    Flush();
    std::vector<CGraphView*> views = GraphViews();
    ASSERT_EQ(views.size(), 1u);
    CGraphView& pie = *views.front();
    // The first template, its own units and type: the oxide-group pie.
    EXPECT_EQ(pie.State().m_template.m_name, "Oxide groups (pie)");
    ASSERT_NE(pie.Graph(), nullptr);
    EXPECT_EQ(pie.Graph()->m_errorText, "");
    EXPECT_EQ(pie.Graph()->GetTitle(), "Cone 6 Clear");
    EXPECT_EQ(Control(dynamic_cast<QWidget*>(pie.GetFrame())).windowTitle(), "Oxide groups (pie)");
    EXPECT_EQ(Control(dynamic_cast<QWidget*>(pie.GetFrame())).size().width(), CGraphView::kInitialWidth);
    ExpectReadableChart(*pie.ChartWindow(), pie.ChartWindow()->Chart(), "graph-view-oxide-pie");

    CGraphView* bars = Open(1);
    ASSERT_NE(bars, nullptr);
    Control(dynamic_cast<QWidget*>(bars->GetFrame())).resize(760, 420);
    Flush();
    EXPECT_EQ(bars->Graph()->m_errorText, "");
    EXPECT_EQ(bars->Graph()->m_rows, static_cast<int>(bars->Graph()->m_cellTexts.size()));
    EXPECT_GT(bars->Graph()->m_rows, 5);
    ExpectReadableChart(*bars->ChartWindow(), bars->ChartWindow()->Chart(), "graph-view-oxide-bar");

    // Without a chart engine no graph window opens.
    m_app.m_bGraphsAvailable = 0;
    EXPECT_FALSE(OpenGraphOfGlaze(*m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr));
    m_app.m_bGraphsAvailable = 1;
    Flush();
    EXPECT_EQ(GraphViews().size(), 2u);
}

// Open Graph in the templates list opens a graph window of the chosen template.
TEST_F(GraphViewTest, TheTemplatesListOpensTheChosenTemplatesGraph)
{
    Select({1});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListOpenGraph));
    Flush();
    ASSERT_EQ(GraphViews().size(), 1u);
    EXPECT_EQ(GraphViews().front()->State().m_template.m_name, RecordAt(m_doc->Database(), 1).m_name);
}

// The glaze form and the report window name the template, the limit formula and the units.
TEST_F(GraphViewTest, GlazeWindowsAskForWhatTheyShow)
{
    InstallGlazeViews();
    CGlazeGraphRequest request;
    request.glaze = 2;
    request.graphTemplate = &m_doc->Database().GetAt(1);
    request.limitFormula = RecordAt(m_limits.Database(), 1).m_name;
    request.units = 2;
    OpenGlazeGraph(*m_glazeDoc, request);
    Flush();
    ASSERT_EQ(GraphViews().size(), 1u);
    const CGraphView& view = *GraphViews().front();
    EXPECT_EQ(view.State().m_pGlaze, m_glazeDoc->GetGlaze(2));
    EXPECT_EQ(view.State().m_pTemplate, &m_doc->Database().GetAt(1));
    EXPECT_EQ(view.State().m_pLimitFormula, &m_limits.Database().GetAt(1));
    EXPECT_EQ(view.Graph()->oxtype, 2);
    SetGlazeViews(nullptr);
}

TEST_F(GraphViewTest, KeysStepThroughGlazesDatabasesTypesLimitsAndTemplates)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    // Ctrl+Left from the first glaze of the first database reaches no glaze; Ctrl+Right comes back.
    Key(*view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlazeDb, nullptr);
    EXPECT_EQ(view->Graph()->m_errorText, "No glaze to display");
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlazeDb, m_glazeDoc);
    EXPECT_EQ(GlazeName(*view), "Cone 6 Clear");
    // Inside a database, on to the next glaze: the chart is titled with it.
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlaze, m_glazeDoc->GetGlaze(1));
    EXPECT_EQ(view->Graph()->GetTitle(), Found(m_glazeDoc->GetGlaze(1)).m_name);
    EXPECT_NE(Found(m_glazeDoc->GetGlaze(1)).m_name, "Cone 6 Clear");
    // From the last glaze of a database on to the first of the next.
    view->SetGraph(view->State().m_pTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(9), nullptr, -1, -1);
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlazeDb, m_second);
    EXPECT_EQ(view->State().m_pGlaze, m_second->GetGlaze(0));
    Key(*view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlaze, m_glazeDoc->GetGlaze(9));
    // Ctrl+Shift steps whole databases.
    Key(*view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pGlaze, m_second->GetGlaze(0));
    Key(*view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pGlazeDb, m_second);

    // Ctrl+Up at type 0 does nothing; Ctrl+Down steps the working copy only.
    const CGraph* before = view->Graph();
    view->SetGraph(&m_doc->Database().GetAt(0), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    before = view->Graph();
    Key(*view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(view->Graph(), before) << "no rebuild";
    Key(*view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_template.type, 1);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).type, 0);

    // Shift+Left without a limit formula does nothing; Shift+Right takes the first.
    Key(*view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pLimitFormula, nullptr);
    Key(*view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pLimitFormula, &m_limits.Database().GetAt(0));
    EXPECT_EQ(view->Graph()->limform, RecordAt(m_limits.Database(), 0).m_name);
    // On to the last formula, where it stops.
    const int lastFormula = m_limits.Database().GetCount() - 1;
    for (int step = 0; step < lastFormula + 1; ++step)
        Key(*view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pLimitFormula, &m_limits.Database().GetAt(lastFormula));
    EXPECT_EQ(view->Graph()->limform, RecordAt(m_limits.Database(), lastFormula).m_name);
    Key(*view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pLimitFormula, &m_limits.Database().GetAt(lastFormula - 1));

    // Shift+Down: the next template, its own type again.
    Key(*view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_pTemplate, &m_doc->Database().GetAt(1));
    EXPECT_EQ(view->State().m_template.type, 1);
    Key(*view, Qt::Key_Up, Qt::ShiftModifier);
    Key(*view, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view->State().m_templateIndex, 0);

    // Back from a later database: a database of one glaze is stepped into, an empty one over.
    auto* empty = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
    ASSERT_NE(empty, nullptr);
    auto* one = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
    ASSERT_NE(one, nullptr);
    one->InsertGlaze(0, Found(m_glazeDoc->GetGlaze(2)));
    auto* last = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
    ASSERT_NE(last, nullptr);
    last->InsertGlaze(0, Found(m_glazeDoc->GetGlaze(3)));
    view->SetGraph(view->State().m_pTemplate, last, last->GetGlaze(0), nullptr, -1, -1);
    Key(*view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlaze, one->GetGlaze(0));
    ASSERT_EQ(empty->GetGlazeCount(), 0);
    Key(*view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlaze, m_second->GetGlaze(1));
    // And on again: from the last glaze of a database over the empty one to the next glaze.
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->State().m_pGlazeDb, one);
    EXPECT_EQ(view->State().m_pGlaze, one->GetGlaze(0));
}

TEST_F(GraphViewTest, NoticesRebuildResetOrCloseTheWindow)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    const int kind = static_cast<int>(DbFileType::GraphTemplates);
    // Hint 18 for another template does nothing; for its own it drops a stepped type.
    view->OnGraphMessage(kGrvNextType);
    ASSERT_EQ(view->State().m_template.type, 2);
    const CGraph* graph = view->Graph();
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, HintGraphTemplateChanged, 0, HintExtra(&m_doc->Database().GetAt(0)));
    EXPECT_EQ(view->Graph(), graph);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, HintGraphTemplateChanged, 1, HintExtra(&m_doc->Database().GetAt(1)));
    EXPECT_EQ(view->State().m_template.type, 1);
    // Its own notices are not for it.
    graph = view->Graph();
    COxidariumApp::BroadcastUpdate(view, m_glazeDoc, static_cast<int>(DbFileType::Glazes), HintGlazeChanged, 0, 0);
    EXPECT_EQ(view->Graph(), graph);
    // Another kind of database closing leaves the chart as it is.
    graph = view->Graph();
    COxidariumApp::BroadcastUpdate(nullptr, &m_limits, static_cast<int>(DbFileType::LimitFormulas), HintDocumentClosed, 0, 0);
    Flush();
    EXPECT_EQ(view->Graph(), graph);
    // New colours (Material and Oxide Colors) and preferences draw the chart again.
    for (const int code : {HintGraphColorsChanged, HintPreferencesChanged}) {
        const int built = view->BuildCount();
        COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, code, 0, 0);
        Flush();
        EXPECT_EQ(view->BuildCount(), built + 1) << code;
    }

    // Deleting a glaze it does not show keeps its glaze; deleting its glaze leaves none.
    view->SetGraph(view->State().m_pTemplate, m_second, m_second->GetGlaze(1), nullptr, -1, -1);
    m_second->DeleteGlaze(1);
    COxidariumApp::BroadcastUpdate(nullptr, m_second, static_cast<int>(DbFileType::Glazes), HintGlazesDeleted, 1, 0);
    EXPECT_EQ(view->State().m_pGlaze, nullptr);
    EXPECT_EQ(view->State().m_pGlazeDb, m_second);
    // Deleting the limit formula it compares with leaves it with none.
    view->SetGraph(view->State().m_pTemplate, m_second, m_second->GetGlaze(0), &m_limits.Database().GetAt(1), -1, -1);
    ASSERT_EQ(view->State().m_pLimitFormula, &m_limits.Database().GetAt(1));
    m_limits.RemoveFormula(1);
    COxidariumApp::BroadcastUpdate(nullptr, &m_limits, static_cast<int>(DbFileType::LimitFormulas),
                                   HintLimitFormulasDeleted, 1, 0);
    EXPECT_EQ(view->State().m_pLimitFormula, nullptr);
    view->SetGraph(view->State().m_pTemplate, m_second, m_second->GetGlaze(0), nullptr, -1, -1);
    // Its glaze database lets go of the window when it starts closing, before it is destroyed
    // (its windows close meanwhile and may hand the workspace to this one); another does not.
    const int glazes = static_cast<int>(DbFileType::Glazes);
    COxidariumApp::BroadcastUpdate(nullptr, static_cast<CDocument*>(m_glazeDoc), glazes, HintDocumentClosing, 0, 0);
    EXPECT_EQ(view->State().m_pGlazeDb, m_second);
    COxidariumApp::BroadcastUpdate(nullptr, static_cast<CDocument*>(m_second), glazes, HintDocumentClosing, 0, 0);
    EXPECT_EQ(view->State().m_pGlazeDb, nullptr);
    EXPECT_EQ(view->State().m_pGlaze, nullptr);
    view->SetGraph(view->State().m_pTemplate, m_second, m_second->GetGlaze(0), nullptr, -1, -1);
    m_second->OnCloseDocument();
    m_second = nullptr;
    Flush();
    EXPECT_EQ(view->State().m_pGlazeDb, nullptr);
    EXPECT_EQ(view->State().m_pGlaze, nullptr);
    EXPECT_EQ(view->Graph()->m_errorText, "No glaze to display");

    // A window without a template stays open while templates come and go.
    CGraphView* plain = Open(-1);
    ASSERT_NE(plain, nullptr);
    m_doc->InsertTemplate(2, CGraphTemplate("inserted"));
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, HintGraphTemplatesInserted, 2, 0);
    Flush();
    ASSERT_EQ(GraphViews().size(), 2u);
    ASSERT_NE(plain->GetFrame(), nullptr);
    plain->GetFrame()->CloseFrame();
    Flush();

    // Reordering templates only finds its index again; deleting its template closes it.
    m_doc->Database().m_templates.SwapItems(0, 1);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, HintGraphTemplatesReordered, 0, 0);
    EXPECT_EQ(view->State().m_templateIndex, 0);
    ASSERT_EQ(GraphViews().size(), 1u);
    m_doc->RemoveTemplate(0);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kind, HintGraphTemplatesDeleted, 0, 0);
    Flush();
    EXPECT_TRUE(GraphViews().empty());
    // The templates stay open when their last window closes.
    EXPECT_EQ(g_pGraphTypesDoc, m_doc);
    EXPECT_NE(OpenGraphWindow(*m_doc), nullptr);
    // With no template left a glaze's graph opens on none.
    while (m_doc->Database().GetCount() > 0)
        m_doc->RemoveTemplate(0);
    const std::size_t before = GraphViews().size();
    ASSERT_TRUE(OpenGraphOfGlaze(*m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr));
    Flush();
    ASSERT_EQ(GraphViews().size(), before + 1);
    for (const CGraphView* shown : GraphViews())
        EXPECT_EQ(shown->State().m_pTemplate, nullptr);
}

// Regression (the monkey: a step of minutes): Shift Up of many glazes sends a notice for each
// row, and every graph window built its chart anew for each, over the whole database for the
// charts of many glazes. Each builds it once, when the notices are all in.
// Regression: after Save as New in one template editor, the graph window on the template drew the
// new copy under the old title, and the next save in another editor on the template replaced the
// copy without a question. The stored template keeps its place and identity; only the editor that
// saved moves to the copy.
TEST_F(GraphViewTest, SaveAsNewLeavesTheGraphWindowAndOtherEditorsOnTheStoredTemplate)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    const CGraphTemplate stored = RecordAt(m_doc->Database(), 1);
    CGraphTypeEditView* saver = OpenEditorOn(1);
    CGraphTypeEditView* other = OpenEditorOn(1);
    ASSERT_TRUE(saver && other && saver != other);
    const auto type = [](QLineEdit* edit, const char* text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    };
    type(other->Ctl<QLineEdit>(kGeName), "Mine");
    type(saver->Ctl<QLineEdit>(kGeTitleBottom), "the copy's title");
    EXPECT_TRUE(saver->OnCommand(CmdGrtEditSaveAsNew));
    Flush();
    EXPECT_TRUE(m_messages.boxes.empty()) << "no form is asked about a template it never showed";
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).m_name, stored.m_name);
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).ttlbot, stored.ttlbot);
    EXPECT_EQ(RecordAt(m_doc->Database(), 2).m_name, stored.m_name + " (new)");
    EXPECT_EQ(saver->CurrentIndex(), 2);
    EXPECT_EQ(other->CurrentIndex(), 1);
    EXPECT_EQ(view->State().m_template.m_name, stored.m_name);
    EXPECT_EQ(view->State().m_template.ttlbot, stored.ttlbot);

    // The other editor's save goes over the stored template, asking nothing; the copy stays.
    EXPECT_TRUE(other->SaveChanges());
    Flush();
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).m_name, "Mine");
    EXPECT_EQ(RecordAt(m_doc->Database(), 2).ttlbot, "the copy's title");
    EXPECT_EQ(view->State().m_template.m_name, "Mine") << "the graph window follows its template";
    // Open Graph on a template whose graph window stands open brings that window forward.
    EXPECT_TRUE(other->OnCommand(CmdGrtEditOpenGraph));
    Flush();
    EXPECT_EQ(GraphViews(), std::vector<CGraphView*>{view});
    // Cancel to the save question that Open Graph asks opens nothing.
    ASSERT_NE(view->GetFrame(), nullptr);
    view->GetFrame()->CloseFrame();
    Flush();
    type(other->Ctl<QLineEdit>(kGeName), "Mine again");
    m_messages.answers = {MsgResultCancel};
    EXPECT_TRUE(other->OnCommand(CmdGrtEditOpenGraph));
    Flush();
    EXPECT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_TRUE(GraphViews().empty());
}

TEST_F(GraphViewTest, ABurstOfNoticesBuildsEachChartOnce)
{
    CGraphView* one = Open(1);
    CGraphView* average = Open(17);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(average, nullptr);
    auto* list = dynamic_cast<CGlazesView*>(m_glazeDoc->GetListView());
    ASSERT_NE(list, nullptr);
    const std::string first = Found(m_glazeDoc->GetGlaze(0)).m_name;
    const int builtOne = one->BuildCount();
    const int builtAverage = average->BuildCount();
    list->DeselectAll();
    for (int row = 1; row < m_glazeDoc->GetGlazeCount(); ++row)
        list->SetSel(row, true);

    ASSERT_TRUE(list->RunCommand(CmdGlzShiftUp));
    EXPECT_EQ(one->BuildCount(), builtOne) << "nothing is built while the notices come in";
    Flush();

    EXPECT_EQ(Found(m_glazeDoc->GetGlaze(m_glazeDoc->GetGlazeCount() - 1)).m_name, first);
    EXPECT_EQ(one->BuildCount(), builtOne + 1);
    EXPECT_EQ(average->BuildCount(), builtAverage + 1);
    EXPECT_EQ(GlazeName(*one), "Cone 6 Clear") << "the window keeps its glaze where it moved";
}

TEST_F(GraphViewTest, ResizesClicksAndThePopUpMenu)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    auto* frame = dynamic_cast<QWidget*>(view->GetFrame());
    ASSERT_NE(frame, nullptr);
    frame->resize(500, 300);
    Flush();
    const CGraph* graph = view->Graph();
    const QSize chartSize = view->ChartWindow()->size();
    // 10 pixels high: neither moved nor rebuilt.
    view->resize(400, 10);
    EXPECT_EQ(view->Graph(), graph);
    EXPECT_EQ(view->ChartWindow()->size(), chartSize);
    view->resize(400, 200);
    EXPECT_NE(view->Graph(), graph);
    EXPECT_EQ(view->ChartWindow()->size(), QSize(400, 200));

    // A click on a bar shows its text in the pop-up, titled with the glaze.
    const auto clickBar = [view] {
        const CChart* chart = view->ChartWindow()->Chart();
        if (!chart)
            return;
        for (const CChartPrimitive& p : chart->Primitives()) {
            if (p.hitKind == CChartPrimitive::kHitCell && p.row == 2) {
                const QPoint bar(static_cast<int>(chart->UnitsToPixelsX(p.left + p.width / 2)),
                                 static_cast<int>(chart->UnitsToPixelsY(p.bottom + p.height / 2)));
                QTest::mouseClick(view->ChartWindow(), Qt::LeftButton, {}, bar);
                return;
            }
        }
    };
    clickBar();
    ASSERT_NE(view->Popup(), nullptr);
    EXPECT_EQ(view->Popup()->TextControl()->GetText(), view->Graph()->GetCellText(0, 2));
    EXPECT_EQ(view->Popup()->windowTitle(), "Cone 6 Clear");
    // Stepping to another glaze closes the pop-up of the old one; so do another template and a
    // change of the glaze shown.
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(GlazeName(*view), Found(m_glazeDoc->GetGlaze(1)).m_name);
    EXPECT_EQ(view->Popup(), nullptr);
    clickBar();
    ASSERT_NE(view->Popup(), nullptr);
    Key(*view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view->Popup(), nullptr);
    Key(*view, Qt::Key_Up, Qt::ShiftModifier);
    clickBar();
    ASSERT_NE(view->Popup(), nullptr);
    COxidariumApp::BroadcastUpdate(nullptr, m_glazeDoc, static_cast<int>(DbFileType::Glazes), HintGlazeChanged, 1,
                                   HintExtra(m_glazeDoc->GetGlaze(1)));
    Flush();
    EXPECT_EQ(view->Popup(), nullptr);

    // Regression: a click travelled to the window in 16 bits of glaze, so that a glaze past the
    // 65,536th answered as the one 65,536 before it. The true 3-D oxide bars of 65,600 glazes, the
    // last few taller at the back: a click on one of those answers its own name.
    {
        CGlazeList& many = m_second->Glazes();
        const CGlaze low = Found(m_glazeDoc->GetGlaze(0)), tall = Found(m_glazeDoc->GetGlaze(1));
        while (many.GetCount() > 0)
            many.RemoveAt(0);
        constexpr int kMany = 65600;
        for (int i = 0; i < kMany; ++i) {
            CGlaze glaze = i < kMany - 40 ? low : tall;
            glaze.m_name = "Gen " + std::to_string(i + 1);
            many.InsertCopyAt(i, glaze);
        }
        CGraphTemplate turned = m_doc->Database().GetAt(18);
        ASSERT_EQ(turned.m_name, "Selected glazes: oxides (bar)");
        turned.piebar3d = 1;
        turned.m_dataSources.GetAt(0).dsglz = kDataSourceAllGlazes;
        frame->resize(700, 440);
        Flush();
        view->SetGraph(&turned, m_second, m_second->GetGlaze(0), nullptr, -1, -1);
        Flush();
        const CChart* chart = view->ChartWindow()->Chart();
        ASSERT_NE(chart, nullptr);
        QPoint at(-1, -1);
        CChartHit hit;
        for (const CChartPrimitive& p : chart->Primitives()) {
            if (p.hitKind != CChartPrimitive::kHitCell || p.column < 65536 || p.points.empty())
                continue;
            // The back rows show above the nearer ones only near their tops: the face is tried
            // from its middle out towards each of its corners.
            double x = 0.0, y = 0.0;
            for (const CChartPointD& point : p.points) {
                x += chart->UnitsToPixelsX(point.x) / static_cast<double>(p.points.size());
                y += chart->UnitsToPixelsY(point.y) / static_cast<double>(p.points.size());
            }
            for (const CChartPointD& corner : p.points) {
                for (const double toward : {0.95, 0.8, 0.5, 0.0}) {
                    at = QPoint(static_cast<int>(x + toward * (chart->UnitsToPixelsX(corner.x) - x)),
                                static_cast<int>(y + toward * (chart->UnitsToPixelsY(corner.y) - y)));
                    hit = chart->HitTest(at.x() + 0.5, at.y() + 0.5);
                    if (hit.kind == CChartPrimitive::kHitCell && hit.column >= 65536)
                        break;
                }
                if (hit.kind == CChartPrimitive::kHitCell && hit.column >= 65536)
                    break;
            }
            if (hit.kind == CChartPrimitive::kHitCell && hit.column >= 65536)
                break;
        }
        ASSERT_GE(hit.column, 65536) << "no bar of a glaze past the 65,536th shows";
        QTest::mouseClick(view->ChartWindow(), Qt::LeftButton, {}, at);
        ASSERT_NE(view->Popup(), nullptr);
        EXPECT_EQ(view->Popup()->TextControl()->GetText(), view->Graph()->GetCellText(hit.column, hit.row));
        EXPECT_NE(view->Popup()->TextControl()->GetText().find("Gen " + std::to_string(hit.column + 1)), std::string::npos)
            << view->Popup()->TextControl()->GetText();
        // A size change draws the chart again from the glazes as the build read them (reading
        // them again took a quarter of a resize of 100,000): the same graph, the chart at the new
        // size. A notice of a changed glaze reads them again at the next.
        const CGraph* read = view->Graph();
        const int builds = view->BuildCount();
        frame->resize(640, 400);
        Flush();
        EXPECT_EQ(view->Graph(), read);
        EXPECT_EQ(view->BuildCount(), builds);
        ASSERT_NE(view->ChartWindow()->Chart(), nullptr);
        EXPECT_DOUBLE_EQ(view->ChartWindow()->Chart()->PixelWidth(), view->ChartWindow()->width());
        EXPECT_EQ(view->Graph()->GetCellText(hit.column, hit.row), view->Popup()->TextControl()->GetText());
        COxidariumApp::BroadcastUpdate(nullptr, m_second, static_cast<int>(DbFileType::Glazes), HintGlazeChanged,
                                       65599, HintExtra(m_second->GetGlaze(65599)));
        frame->resize(700, 440);
        EXPECT_EQ(view->BuildCount(), builds + 1);
        Flush();
        EXPECT_EQ(view->BuildCount(), builds + 1);

        // A scatter's glazes are its rows: a click on a point of a glaze past the 65,536th names
        // that glaze, not the one 65,536 before it.
        CGraphTemplate scatter = m_doc->Database().GetAt(6);
        ASSERT_EQ(scatter.type, kGraphScatter);
        view->SetGraph(&scatter, m_second, m_second->GetGlaze(0), nullptr, -1, -1);
        Flush();
        chart = view->ChartWindow()->Chart();
        ASSERT_NE(chart, nullptr);
        hit = {};
        for (const CChartPrimitive& p : chart->Primitives()) {
            at = QPoint(static_cast<int>(chart->UnitsToPixelsX(p.left + p.width / 2)),
                        static_cast<int>(chart->UnitsToPixelsY(p.bottom + p.height / 2)));
            if (p.hitKind == CChartPrimitive::kHitCell && p.row >= 65536)
                hit = chart->HitTest(at.x() + 0.5, at.y() + 0.5);
            if (hit.row >= 65536)
                break;
        }
        ASSERT_GE(hit.row, 65536) << "no point of a glaze past the 65,536th shows";
        QTest::mouseClick(view->ChartWindow(), Qt::LeftButton, {}, at);
        ASSERT_NE(view->Popup(), nullptr);
        EXPECT_NE(view->Popup()->TextControl()->GetText().find("Gen " + std::to_string(hit.row + 1) + "\r"),
                  std::string::npos) << view->Popup()->TextControl()->GetText();
        view->SetGraph(&m_doc->Database().GetAt(1), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    }

    // Regression: a size change drew a chart of the glaze list's selection again from what its
    // build had read, the glazes selected then ("Oxides in 3 glazes" with five others selected).
    // The bars of the selected glazes' oxides, recipes and material types follow the list's
    // selection at the next size change, and draw from their reading while it stays.
    auto* list = dynamic_cast<CGlazesView*>(m_glazeDoc->GetListView());
    ASSERT_NE(list, nullptr);
    const auto select = [list](int first, int last) {
        for (const int row : {first, last})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, row == first ? Qt::NoModifier : Qt::ShiftModifier,
                              list->visualRect(list->model()->index(row, 0)).center());
    };
    for (const auto& [t, shows] : {std::pair{18, "Oxides in "}, {19, "Materials in "}, {20, "Material types in "}}) {
        select(1, 3);
        view->SetGraph(&m_doc->Database().GetAt(t), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
        frame->resize(700, 440);
        Flush();
        EXPECT_EQ(view->Graph()->GetTitle(), shows + std::string("3 glazes"));
        const int builds = view->BuildCount();
        frame->resize(640, 400);
        Flush();
        EXPECT_EQ(view->BuildCount(), builds) << shows;
        select(4, 8);
        frame->resize(700, 440);
        Flush();
        EXPECT_EQ(view->Graph()->GetTitle(), shows + std::string("5 glazes"));
    }
    EXPECT_TRUE(list->RunCommand(CmdGlzSelectAll));
    frame->resize(640, 400);
    Flush();
    EXPECT_EQ(view->Graph()->GetTitle(), "Material types in 10 glazes");
    view->SetGraph(&m_doc->Database().GetAt(1), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);

    // A right press and release shows the menu once; a release alone does not.
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mousePress(view->ChartWindow(), Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseRelease(view->ChartWindow(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(view->MenusShown(), 1);
    QTest::mouseRelease(view->ChartWindow(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(view->MenusShown(), 1);
}

TEST_F(GraphViewTest, CloneAspectRatiosTemplateEditorCopyAndTheErrorOfAChart)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    view->OnGraphMessage(kGrvNextType);
    view->SetForceMono(true);

    // A clone draws the same chart, with the stepped type and monochrome.
    EXPECT_TRUE(view->OnCommand(CmdGrvCloneView));
    Flush();
    ASSERT_EQ(GraphViews().size(), 2u);
    const CGraphView& clone = *GraphViews().back();
    EXPECT_EQ(clone.State().m_pTemplate, view->State().m_pTemplate);
    EXPECT_EQ(clone.State().m_pGlaze, view->State().m_pGlaze);
    EXPECT_EQ(clone.Graph()->type, 2);
    EXPECT_NE(clone.Graph()->mono, 0);

    // Landscape keeps the width and makes the height 17/22 of it; portrait keeps the height.
    auto* frame = dynamic_cast<QWidget*>(view->GetFrame());
    ASSERT_NE(frame, nullptr);
    frame->resize(660, 400);
    Flush();
    EXPECT_TRUE(view->OnCommand(CmdGrvLandscape));
    EXPECT_EQ(frame->width(), 660);
    EXPECT_EQ(view->height(), view->width() * 17 / 22);
    const int height = frame->height();
    EXPECT_TRUE(view->OnCommand(CmdGrvPortrait));
    EXPECT_EQ(frame->height(), height);
    EXPECT_EQ(view->width(), view->height() * 17 / 22);
    // A minimised window is shown again in its new shape, not left an icon of another size.
    frame->showMinimized();
    Flush();
    EXPECT_TRUE(view->OnCommand(CmdGrvLandscape));
    Flush();
    EXPECT_FALSE(frame->isMinimized());
    EXPECT_EQ(view->height(), view->width() * 17 / 22);

    // Edit Graph Template opens the template's editor once; a second time it comes forward.
    EXPECT_TRUE(view->OnCommand(CmdGrvEditTemplate));
    Flush();
    CView* editor = m_doc->FindEditView(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(view->OnCommand(CmdGrvEditTemplate));
    Flush();
    EXPECT_EQ(m_doc->FindEditView(1), editor);
    ASSERT_NE(editor->GetFrame(), nullptr);
    editor->GetFrame()->CloseFrame();
    Flush();
    // The first template has an editor like any other.
    view->SetGraph(&m_doc->Database().GetAt(0), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    EXPECT_TRUE(view->OnCommand(CmdGrvEditTemplate));
    Flush();
    CView* first = m_doc->FindEditView(0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->GetFrame(), nullptr);
    first->GetFrame()->CloseFrame();
    view->SetGraph(&m_doc->Database().GetAt(1), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    Flush();

    // Copy Graph, offered while a chart is shown, puts the chart on the clipboard as an image.
    CCmdUI copy(CmdGrvCopyGraph);
    EXPECT_TRUE(view->OnUpdateCommand(copy));
    EXPECT_TRUE(copy.m_bEnabled);
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(view->OnCommand(CmdGrvCopyGraph));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), view->ChartWindow()->size());

    // A click on the error box tells the error, the graph type, the database and the glaze.
    view->SetGraph(view->State().m_pTemplate, nullptr, nullptr, nullptr, -1, -1);
    ASSERT_EQ(view->Graph()->m_errorText, "No glaze to display");
    QTest::mouseClick(view->ChartWindow(), Qt::LeftButton, {}, QPoint(3, view->ChartWindow()->height() - 3));
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.Last().text, "No glaze to display\r\nGraph type : One glaze - Oxides (bar)"
                                            "\r\nGlaze database : none\r\nGlaze : none");
}

TEST_F(GraphViewTest, TheChartPrintsOnOnePageAsVectorDrawingAndIsWritten)
{
    CGraphView* view = Open(1);
    ASSERT_NE(view, nullptr);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path() + "/chart.pdf");
    EXPECT_EQ(PrintGraphTo(*view->ChartWindow(), printer), 1);
    const std::string pdf = ReadAll((dir.path() + "/chart.pdf").toStdString());
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_EQ(pages, 1u);
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos) << "drawn as vectors, not as a picture";
    EXPECT_NE(pdf.find("/Font"), std::string::npos) << "its texts are text";

    // The preview holds the same single page, the chart where the printer puts it.
    int previewPages = 0;
    QRect target;
    QImage sheet;
    WhenDialogShows<CPrintPreviewDlg>([&](CPrintPreviewDlg& preview) {
        previewPages = preview.PageCount();
        const QRectF paper = preview.printer()->paperRect(QPrinter::DevicePixel);
        const QRectF page = preview.printer()->pageRect(QPrinter::DevicePixel);
        const double scale = 600.0 / paper.width();
        const QRectF printed = view->ChartWindow()->PrintTarget(*preview.printer()).translated(page.topLeft());
        target = QRectF(printed.topLeft() * scale, printed.size() * scale).toRect();
        sheet = QImage((paper.size() * scale).toSize(), QImage::Format_RGB32);
        QPainter painter(&sheet);
        preview.DrawPaper(painter, QRectF(QPointF(), sheet.size()), 1);
        painter.end();
        preview.reject();
    });
    EXPECT_TRUE(view->OnCommand(CmdGrvPreviewGraph));
    EXPECT_EQ(previewPages, 1);
    QRect ink;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (sheet.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    EXPECT_TRUE(target.adjusted(-2, -2, 2, 2).contains(ink)) << "ink outside the printed chart's place";
    EXPECT_GT(ink.width(), target.width() * 3 / 4);
    EXPECT_GT(ink.height(), target.height() / 2);

    // Write Graph to File from the pop-up menu: the PNG filter appends ".png".
    m_dialogs.AnswerPath((dir.path() + "/chart").toStdString());
    EXPECT_TRUE(view->OnCommand(CmdGrvWriteGraphFile));
    EXPECT_FALSE(QImage(dir.path() + "/chart.png").isNull());
    m_dialogs.AnswerPath((dir.path() + "/chart.PNG").toStdString());
    EXPECT_TRUE(view->OnCommand(CmdGrvWriteGraph));
    EXPECT_TRUE(QFile::exists(dir.path() + "/chart.PNG"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/chart.PNG.png"));

    // The template's summary, written as the print command prints it.
    m_dialogs.AnswerPath((dir.path() + "/summary.txt").toStdString());
    EXPECT_TRUE(view->OnCommand(CmdGrvWriteSummary));
    EXPECT_NE(ReadAll((dir.path() + "/summary.txt").toStdString()).find("Unity formula (bar)"), std::string::npos);
}

} // namespace
