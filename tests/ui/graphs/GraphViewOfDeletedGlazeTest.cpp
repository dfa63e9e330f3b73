// Graph windows on records that go (a glaze the glaze list deletes, glazes, templates and limit
// formulas that a file replaces), while the workspace hands a closing window's maximised place
// to them or a message box about the file is up: the graph window belongs to the graph
// templates, which hear of a change only after the windows of the other databases, and after
// the windows opened before it.

#include "GraphViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazesView.h"
#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasView.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <fstream>

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

    // The report of the first glaze of glazes, opened after graph and maximised over it; null
    // (after a failure) when it did not open.
    CGlazeAnalysisView* MaximisedReportOver(CGraphView& graph, CGlazesDoc& glazes)
    {
        EXPECT_TRUE(GetGlazeViews()->OpenAnalysisView(glazes, 0));
        auto* report = dynamic_cast<CGlazeAnalysisView*>(glazes.GetViews().back());
        EXPECT_NE(report, nullptr);
        if (!report || !graph.GetFrame() || !report->GetFrame())
            return nullptr;
        graph.GetFrame()->ActivateFrame();
        report->GetFrame()->ActivateFrame();
        Control(dynamic_cast<QMdiSubWindow*>(report->GetFrame())).showMaximized();
        Flush();
        return report;
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
    ASSERT_NE(MaximisedReportOver(*graph, *m_glazeDoc), nullptr);

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


// A file that cannot be read over a new database: the records of the database go, and each
// window hears of it only in its turn.
class GraphWindowOnReplacedRecordsTest : public GraphViewOfDeletedGlazeTest {
protected:
    // A file of another kind that the user picks by mistake, and where the save goes.
    void AnswerOpenOfAnotherKind(const char* saveName)
    {
        const fs::path wrong = m_dir / "kiln log.txt";
        std::ofstream(wrong) << "Bisque 04, glaze 6\n";
        m_messages.answers = {MsgResultYes};
        m_dialogs.AnswerPath(wrong.string());
        m_dialogs.AnswerPath((m_dir / saveName).string());
    }
    std::string OpenFailure() const { return (m_dir / "kiln log.txt").string() + ": Parse error in line 1"; }
    // While the message box about the file is up, the user's desktop makes the main window
    // larger: a real box keeps the program's windows painting and resizing meanwhile.
    void GrowTheMainWindowDuringBoxes()
    {
        m_messages.onBox = [](const CFakeMessageService::Box&) {
            if (s_frame)
                s_frame->resize(s_frame->width() + 40, s_frame->height() + 30);
            QApplication::processEvents();
        };
    }
    static inline CMDIMainFrame* s_frame = nullptr;
};

// Regression (a sanitizer report of the monkey): a new graph template database, a graph window
// on its first template minimised, the template's edit form open, Open Graph Template
// Database..., Yes to the save question and a file of another kind. The templates went at once;
// a maximised graph window on the template closed on the notice, and the workspace handed its
// place to the minimised one, which named its caption after the freed template before its own
// notice came.
TEST_F(GraphWindowOnReplacedRecordsTest, AGraphWindowIsNotRedrawnFromTemplatesAFileReplaced)
{
    ASSERT_TRUE(m_doc->OnCommand(CmdNewGraphTypeDb));
    ASSERT_EQ(Names(), std::vector<std::string>{"new graph template"});
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    CGraphView* shown = Open(0);
    CGraphView* minimised = Open(0);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(minimised, nullptr);
    Control(dynamic_cast<QMdiSubWindow*>(minimised->GetFrame())).showMinimized();
    ASSERT_NE(shown->GetFrame(), nullptr);
    shown->GetFrame()->ActivateFrame();
    Control(dynamic_cast<QMdiSubWindow*>(shown->GetFrame())).showMaximized();
    Flush();
    m_doc->SetModifiedFlag(true);
    AnswerOpenOfAnotherKind("templates.grt");

    ASSERT_TRUE(m_doc->OnCommand(CmdOpenGraphTypeDb));
    Flush();

    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to Graph Templates?", OpenFailure()}));
    EXPECT_TRUE(fs::exists(m_dir / "templates.grt")) << "the new database was saved first";
    EXPECT_EQ(m_doc->Database().GetCount(), 0);
    EXPECT_TRUE(GraphViews().empty()) << "the graph windows of the templates that went closed";
    EXPECT_TRUE(Editors().empty()) << "the edit form closed";
}

// Regression (a sanitizer report of the monkey): the same with a new limit formula database and
// a graph window drawing its first formula. The formulas went at once; while the message box
// about the file was up the graph window was resized and copied the name of the freed formula.
TEST_F(GraphWindowOnReplacedRecordsTest, AGraphWindowIsNotRedrawnFromLimitFormulasAFileReplaced)
{
    CDocTemplate listTemplate{kLimitFormulasResourceId, kLimitFormulasDocString,
                              [] { return std::make_unique<CLimitFormulasDoc>(); }};
    CDocTemplate editTemplate{kLimitFormulaEditResourceId, kLimitFormulasDocString, nullptr};
    g_pLimitFormulasTemplate = &listTemplate;
    g_pLimitFormulaEditTemplate = &editTemplate;
    InstallLimitFormulasTemplate(listTemplate);
    InstallLimitFormulaEditTemplate(editTemplate);
    auto* limits = dynamic_cast<CLimitFormulasDoc*>(listTemplate.OpenDocumentFile(std::string()));
    ASSERT_NE(limits, nullptr);
    ASSERT_EQ(limits->GetRecordCount(), 1);
    ASSERT_EQ(limits->OpenEditView(0), 1) << "the edit form of the new formula";
    CGraphView* graph = Open(5);
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(graph->Graph(), nullptr);
    const std::string withoutFormula = graph->Graph()->limform; // the glaze's own
    graph->SetGraph(graph->State().m_pTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(0), &limits->Database().GetAt(0),
                    -1, -1);
    ASSERT_NE(graph->GetFrame(), nullptr);
    graph->GetFrame()->ActivateFrame();
    Control(dynamic_cast<QMdiSubWindow*>(graph->GetFrame())).showMaximized();
    Flush();
    ASSERT_NE(graph->Graph(), nullptr);
    ASSERT_EQ(graph->Graph()->limform, "new limit formula");
    limits->SetModifiedFlag(true);
    AnswerOpenOfAnotherKind("formulas.lim");
    s_frame = &m_frame;
    GrowTheMainWindowDuringBoxes();

    ASSERT_TRUE(limits->OnCommand(CmdOpenLimitFormulaDb));
    Flush();

    m_messages.onBox = nullptr;
    s_frame = nullptr;
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to Limit Formulas?", OpenFailure()}));
    EXPECT_EQ(limits->GetRecordCount(), 0);
    EXPECT_EQ(limits->GetViews().size(), 1u) << "the edit form closed";
    EXPECT_EQ(graph->State().m_pLimitFormula, nullptr);
    ASSERT_NE(graph->Graph(), nullptr);
    EXPECT_EQ(graph->Graph()->limform, withoutFormula);
    for (CGraphView* view : GraphViews())
        view->GetFrame()->CloseFrame();
    limits->OnCloseDocument();
    Flush();
    SetLimitFormulaEditViews(nullptr);
    g_pLimitFormulasTemplate = nullptr;
    g_pLimitFormulaEditTemplate = nullptr;
    // The fixture's database is the program's one again, as it was before this one opened.
    g_pLimitFormulasDoc = &m_limits;
}

// The glazes of Revert To Saved go only once every window has heard of the new ones: the report
// of the first glaze, maximised, closes on the notice and hands its place to the graph window of
// that glaze behind it.
TEST_F(GraphWindowOnReplacedRecordsTest, AGraphWindowIsNotRedrawnFromGlazesARevertReplaced)
{
    const fs::path copy = m_dir / "glazes.glz";
    fs::copy_file(OXI_SHIPPED_DATA_DIR "/glazes.glz", copy);
    auto* glazes = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, copy.string(),
                                                                   static_cast<int>(DbFileType::Glazes)));
    ASSERT_NE(glazes, nullptr);
    ASSERT_GE(glazes->GetGlazeCount(), 1);
    CGraphView* graph = Open(1);
    ASSERT_NE(graph, nullptr);
    graph->SetGraph(graph->State().m_pTemplate, glazes, glazes->GetGlaze(0), nullptr, -1, -1);
    ASSERT_NE(MaximisedReportOver(*graph, *glazes), nullptr);
    glazes->SetGlazeField(0, kGlazeFieldName, "Changed");

    m_messages.answers = {MsgResultOk};
    ASSERT_TRUE(glazes->OnCommand(CmdRevertGlazeDb));
    Flush();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Revert To Saved drops the unsaved changes to " +
                                                           MessagePath(copy.string()) + "."});

    EXPECT_EQ(Found(glazes->GetGlaze(0)).m_name, "Cone 6 Clear");
    EXPECT_EQ(GlazeName(*graph), "none") << "the graph window lets the glaze of the old list go";
    EXPECT_TRUE(Control(dynamic_cast<QMdiSubWindow*>(graph->GetFrame())).isMaximized()) << "the graph window took over";
}
