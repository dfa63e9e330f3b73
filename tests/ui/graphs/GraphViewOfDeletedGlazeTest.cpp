// A graph window on a glaze that the glaze list deletes, while the workspace shows its windows
// maximised: the graph window belongs to the graph templates, which hear of the deletion only
// after the glaze database's own windows.

#include "GraphViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazesView.h"

#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace {

using namespace graphtest;

class GraphViewOfDeletedGlazeTest : public GraphViewFixture {
protected:
    GraphViewOfDeletedGlazeTest()
    {
        g_pGlazeAnalysisTemplate = &m_analysisTemplate;
        InstallGlazeAnalysisTemplate(m_analysisTemplate);
    }
    ~GraphViewOfDeletedGlazeTest() override
    {
        for (CView* view : m_glazeDoc->GetViews()) {
            if (dynamic_cast<CGlazeAnalysisView*>(view))
                view->GetFrame()->CloseFrame();
        }
        Flush();
        SetGlazeViews(nullptr);
        g_pGlazeAnalysisTemplate = nullptr;
    }

    CDocTemplate m_analysisTemplate{kGlazeAnalysisResourceId, kGlazesDocString, nullptr};
};

} // namespace

// Regression: the report of the deleted glaze, maximised, closed on the notice; the workspace
// then maximised the graph window behind it, which redrew its chart from the glaze already
// destroyed (a crash).
TEST_F(GraphViewOfDeletedGlazeTest, DeletingTheGlazeWhileItsMaximisedReportClosesLeavesTheGraphSound)
{
    CGraphView* graph = Open(1);
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(GlazeName(*graph), "Cone 6 Clear");
    ASSERT_TRUE(GetGlazeViews()->OpenAnalysisView(*m_glazeDoc, 0));
    auto* report = dynamic_cast<CGlazeAnalysisView*>(m_glazeDoc->GetViews().back());
    ASSERT_NE(report, nullptr);
    ASSERT_NE(graph->GetFrame(), nullptr);
    graph->GetFrame()->ActivateFrame();
    ASSERT_NE(report->GetFrame(), nullptr);
    report->GetFrame()->ActivateFrame();
    Control(dynamic_cast<QMdiSubWindow*>(report->GetFrame())).showMaximized();
    Flush();

    auto* list = dynamic_cast<CGlazesView*>(m_glazeDoc->GetListView());
    ASSERT_NE(list, nullptr);
    list->DeselectAll();
    list->SelectGlaze(0);
    ASSERT_TRUE(list->RunCommand(CmdGlzDelete));
    Flush();

    EXPECT_EQ(m_glazeDoc->GetGlazeCount(), 9);
    EXPECT_EQ(Found(m_glazeDoc->GetGlaze(0)).m_name, "Cone 6 Zircon White");
    EXPECT_TRUE(Control(dynamic_cast<QMdiSubWindow*>(graph->GetFrame())).isMaximized()) << "the graph window took over";
    EXPECT_EQ(GlazeName(*graph), "none") << "the graph window lets the deleted glaze go";
}

// At Exit the limit formulas close before the graph windows. A graph window comparing its glaze
// with one of them kept the destroyed formula, and redrew from it when a closing window handed it
// the maximised workspace: the copy of the freed name threw "basic_string::_M_create" and ended
// the program before the profile was written.
TEST_F(GraphViewOfDeletedGlazeTest, AGraphWindowLetsGoOfItsLimitFormulaWhenTheirDatabaseCloses)
{
    // A database the program owns, destroyed when it closes.
    CDocTemplate limitsTemplate{0, kLimitFormulasDocString, [] { return std::make_unique<CLimitFormulasDoc>(); }};
    auto* limits = dynamic_cast<CLimitFormulasDoc*>(
        limitsTemplate.OpenDocumentFile(OXI_SHIPPED_DATA_DIR "/tarnell.lim", false));
    ASSERT_NE(limits, nullptr);
    CGraphView* graph = Open(1);
    ASSERT_NE(graph, nullptr);
    graph->SetGraph(graph->State().m_pTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(0), &limits->Database().GetAt(0),
                    -1, -1);
    ASSERT_EQ(graph->Graph()->limform, "Cone 10 gloss");
    CGraphView* other = Open(1);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(graph->GetFrame(), nullptr);
    graph->GetFrame()->ActivateFrame();
    ASSERT_NE(other->GetFrame(), nullptr);
    other->GetFrame()->ActivateFrame();
    Control(dynamic_cast<QMdiSubWindow*>(other->GetFrame())).showMaximized();
    Flush();

    limits->OnCloseDocument();
    EXPECT_EQ(graph->State().m_pLimitFormula, nullptr);
    ASSERT_NE(other->GetFrame(), nullptr);
    other->GetFrame()->CloseFrame();
    Flush();
    EXPECT_TRUE(Control(dynamic_cast<QMdiSubWindow*>(graph->GetFrame())).isMaximized()) << "the graph window took over";
    EXPECT_EQ(graph->Graph()->limform, "");
    // The fixture's database is the program's one again, as it was before this one opened.
    g_pLimitFormulasDoc = &m_limits;
}
