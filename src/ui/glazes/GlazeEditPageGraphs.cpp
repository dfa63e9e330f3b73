// The two graph panes of the glaze edit form (over the Analysis pane and over the limit-formula
// comparison): choosing their templates with G and T, rebuilding their charts when the glaze or
// the templates change, and the charts' notices: the information pop-up, the message of a
// clicked chart object, and the right-button menu that copies, writes or prints the chart.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphOutput.h"
#include "graphs/GraphWnd.h"
#include "shell/OxidariumApp.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const CGraphTemplateDatabase* GraphTemplates()
{
    return g_pGraphTypesDoc ? &g_pGraphTypesDoc->Database() : nullptr;
}

} // namespace

void CGlazeEditView::MarkGraphsOutOfDate()
{
    for (GraphPane& pane : m_graphPanes)
        pane.outOfDate = true;
}

int CGlazeEditView::VisibleGraphPane() const
{
    if (m_nPage == kPageAnalysis)
        return kGraphPaneAnalysis;
    return m_nPage == kPageLimitFormula ? kGraphPaneLimit : -1;
}

// G: the pane's template shows as a chart; each further G steps to the next template offered for
// the pane's page.
void CGlazeEditView::ShowGraph(int pane)
{
    GraphPane& graph = Pane(pane);
    if (graph.graphMode || !graph.graphTemplate) {
        if (const CGraphTemplateDatabase* templates = GraphTemplates())
            graph.graphTemplate = pane == kGraphPaneAnalysis ? templates->NextAnalysisTemplate(graph.graphTemplate)
                                                             : templates->NextLimitTemplate(graph.graphTemplate);
        graph.outOfDate = true;
    }
    (pane == kGraphPaneAnalysis ? m_analysisPane : m_comparisonText)->hide();
    graph.graphMode = true;
    RebuildGraphPane(pane);
    graph.chart->ShowChart();
}

void CGlazeEditView::ShowText(int pane)
{
    GraphPane& graph = Pane(pane);
    graph.chart->HideChart();
    graph.leftOut->hide();
    (pane == kGraphPaneAnalysis ? m_analysisPane : m_comparisonText)->show();
    graph.graphMode = false;
}

void CGlazeEditView::RebuildGraphPane(int pane)
{
    GraphPane& graph = Pane(pane);
    const int page = pane == kGraphPaneAnalysis ? kPageAnalysis : kPageLimitFormula;
    if (!graph.outOfDate || !graph.graphMode || m_nPage != page)
        return;
    DestroyPopup();
    const CRefusedLine refused = ControlsToGlaze(m_work);
    // The chart shows the lines the form can read; a refused one is named above it, and the
    // chart gives up the banner's room so that its title stays in sight.
    graph.leftOut->setText(refused ? FromCp1252(LeftOutNote(refused)) : QString());
    graph.leftOut->setVisible(static_cast<bool>(refused));
    QRect place = graph.area;
    if (refused)
        place.setTop(graph.leftOut->geometry().bottom() + 1);
    graph.chart->setGeometry(place);
    BuildGraphChart(pane);
    graph.outOfDate = false;
    ++graph.builds;
}

void CGlazeEditView::BuildGraphChart(int pane)
{
    GraphPane& graph = Pane(pane);
    graph.chart->SetGraph(nullptr);
    graph.graph = std::make_unique<CGraph>();
    graph.graph->SetTemplate(graph.graphTemplate ? *graph.graphTemplate
                                                 : m_defaultTemplates[static_cast<std::size_t>(pane)]);
    graph.graph->m_chartHandle = -1;
    graph.graph->oxtype = m_nAnalysisMode - 1;
    graph.graph->limform = m_chosenLimitFormula.empty() ? m_limform : m_chosenLimitFormula;
    graph.graph->Build(graph.host.get(), graph.chart, this, GlazesDoc(), &m_work);
    graph.chart->SetGraph(graph.graph.get());
}

void CGlazeEditView::OnGraphTemplatesChanged(int code, const void* object)
{
    const CGraphTemplateDatabase* templates = GraphTemplates();
    for (int pane = 0; pane < 2; ++pane) {
        GraphPane& graph = Pane(pane);
        bool rebuild = code == HintGraphColorsChanged;
        if (code == HintGraphTemplateChanged) {
            rebuild = graph.graphTemplate && graph.graphTemplate == object;
        } else if (code == HintGraphTemplatesReplaced ||
                   (graph.graphTemplate && (!templates || templates->IndexOf(graph.graphTemplate) < 0))) {
            // A pane whose template is gone takes the first one offered for its page.
            graph.graphTemplate = !templates                   ? nullptr
                                  : pane == kGraphPaneAnalysis ? templates->NextAnalysisTemplate(nullptr)
                                                               : templates->NextLimitTemplate(nullptr);
            rebuild = true;
        }
        if (rebuild) {
            graph.outOfDate = true;
            RebuildGraphPane(pane);
        }
    }
}

// --- the charts' notices ------------------------------------------------------------------------

void CGlazeEditView::OnChartMessage(unsigned message, unsigned kind, std::uint64_t data)
{
    const int pane = VisibleGraphPane();
    if (pane < 0 || !Pane(pane).graph)
        return;
    const CChartClick click = m_chartClicks.Route(*Pane(pane).chart, message, kind, data);
    switch (click.kind) {
    case CChartClick::Kind::Menu: ShowGraphMenu(click.screenPoint); break;
    case CChartClick::Kind::Cell: ShowChartPopup(click.column, click.row); break;
    case CChartClick::Kind::Object: ShowChartObjectMessage(click.objectId); break;
    case CChartClick::Kind::None: break;
    }
}

void CGlazeEditView::ShowChartPopup(int column, int row)
{
    const CGraph& graph = *Pane(VisibleGraphPane()).graph;
    if (!m_popup) {
        m_popup = new CInfoPopupDlg(this);
        connect(m_popup, &CInfoPopupDlg::Closed, this, [this] { m_popup = nullptr; });
    }
    m_popup->ShowText(graph.GetCellText(column, row));
    const std::string title = graph.GetTitle();
    m_popup->SetCaption(title.empty() ? ToCp1252(m_name->text()) : title);
    m_popup->SetFullInfo(graph.GetText());
}

void CGlazeEditView::ShowChartObjectMessage(int objectId)
{
    const CGlazesDoc* doc = GlazesDoc();
    AppMessageBox(ChartObjectMessage(*Pane(VisibleGraphPane()).graph, objectId, doc ? doc->GetTitle() : std::string(),
                                     ToCp1252(m_name->text())),
                  MsgOk, 0);
}

// The chart's right-button menu: copy or write the chart, and print it on a page of its own.
std::unique_ptr<QMenu> CGlazeEditView::BuildGraphMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("Copy Graph to &Clipboard"), this, [this] { CopyGraph(); });
    menu->addAction(QStringLiteral("Write Graph to &File"), this, [this] { WriteGraphToFile(); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Print Graph..."), this, [this] { PrintGraphPane(false); });
    menu->addAction(QStringLiteral("Print Graph Pre&view..."), this, [this] { PrintGraphPane(true); });
    return menu;
}

void CGlazeEditView::ShowGraphMenu(const QPoint& screenPoint)
{
    BuildGraphMenu()->exec(screenPoint);
}

void CGlazeEditView::CopyGraph()
{
    if (const int pane = VisibleGraphPane(); pane >= 0)
        CopyGraphToClipboard(*Pane(pane).chart);
}

void CGlazeEditView::WriteGraphToFile()
{
    if (const int pane = VisibleGraphPane(); pane >= 0)
        ::WriteGraphToFile(*Pane(pane).chart);
}

void CGlazeEditView::PrintGraphPane(bool preview)
{
    const int pane = VisibleGraphPane();
    if (pane < 0)
        return;
    if (preview)
        PreviewGraph(*Pane(pane).chart, this);
    else
        PrintGraph(*Pane(pane).chart, this);
}
