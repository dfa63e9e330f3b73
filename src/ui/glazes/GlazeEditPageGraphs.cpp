// The two graph panes of the glaze edit form (over the Analysis pane and over the limit-formula
// comparison): choosing their templates with G and T, rebuilding their charts when the glaze or
// the templates change, and the charts' notices: the information pop-up, the message of a
// clicked chart object, and the right-button menu that copies the chart or writes it to a file.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphWnd.h"
#include "shell/OxidariumApp.h"
#include "support/CompareNoCase.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr unsigned kWriteGraphHelpId = 303;
constexpr const char* kGraphFileFilter =
    "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg|Windows bitmap files (*.bmp)|*.bmp;*.dib||";

bool EndsWithNoCase(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && CompareNoCase(text.substr(text.size() - ending.size()), ending) == 0;
}

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
    ControlsToGlaze(m_work);
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

void CGlazeEditView::OnChartMessage(unsigned message, unsigned kind, std::uint32_t data)
{
    const int pane = VisibleGraphPane();
    if (message != kChartNoticeMessage || pane < 0 || !Pane(pane).graph)
        return;
    QPoint point;
    const int event = Pane(pane).chart->GetLastMouseEvent(point);
    if (event == kChartEventRightPressed) {
        m_bGraphMenuArmed = true;
        return;
    }
    if (event == kChartEventReleased && m_bGraphMenuArmed) {
        m_bGraphMenuArmed = false;
        ShowGraphMenu();
        return;
    }
    const int high = static_cast<int>(data >> 16);
    const int low = static_cast<int>(data & 0xFFFF);
    if (kind == kChartNoticeCell)
        ShowChartPopup(high, low);
    else if (kind == kChartNoticeObject && low == 1)
        ShowChartObjectMessage(high);
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
    const CGraph& graph = *Pane(VisibleGraphPane()).graph;
    const GraphTypeInfo* type = GetGraphTypeInfo(graph.type);
    const CGlazesDoc* doc = GlazesDoc();
    const std::string text = graph.GetMessageText(objectId) + "\r\nGraph type : " + (type ? type->longName : "none") +
                             "\r\nGlaze database : " + (doc ? doc->GetTitle() : std::string("none")) +
                             "\r\nGlaze : " + ToCp1252(m_name->text());
    AppMessageBox(text, MsgOk, 0);
}

void CGlazeEditView::ShowGraphMenu()
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Copy Graph to &Clipboard"), this, [this] { CopyGraph(); });
    menu.addAction(QStringLiteral("Write Graph to &File"), this, [this] { WriteGraphToFile(); });
    menu.exec(QCursor::pos());
}

void CGlazeEditView::CopyGraph()
{
    const int pane = VisibleGraphPane();
    if (pane < 0)
        return;
    const std::string error = Pane(pane).chart->CopyOrWriteGraph(std::string(), kGraphImageBitmap);
    if (!error.empty())
        AppMessageBox(error, MsgOk | MsgIconError, kGlazeEditStopHelpId);
}

void CGlazeEditView::WriteGraphToFile()
{
    const int pane = VisibleGraphPane();
    if (pane < 0)
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Graph to File...";
    request.filter = kGraphFileFilter;
    request.flags = FileDlgOverwritePrompt;
    request.helpId = kWriteGraphHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    std::string path;
    int format = kGraphImagePng;
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty()) {
        path = answer.paths.front();
        const char* const extensions[3] = {".png", ".jpg", ".dib"};
        const int formats[3] = {kGraphImagePng, kGraphImageJpeg, kGraphImageBitmap};
        const int filter = std::clamp(answer.filterIndex, 1, 3) - 1;
        format = formats[filter];
        if (!EndsWithNoCase(path, extensions[filter]))
            path += extensions[filter];
    } else if (answer.outcome != CFileDialogResult::Outcome::Clipboard) {
        return;
    }
    const std::string error = Pane(pane).chart->CopyOrWriteGraph(path, format);
    if (!error.empty())
        AppMessageBox(error, MsgOk | MsgIconError, kGlazeEditStopHelpId);
}
