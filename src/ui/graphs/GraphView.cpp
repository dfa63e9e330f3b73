// The graph window: its chart, rebuilt from the view's choices; the change notices and keyboard
// steps that change those choices; and the chart's clicks (information pop-up, message box,
// pop-up menu).

#include "graphs/GraphView.h"

#include "framework/MdiFrame.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/Graph.h"
#include "graphs/GraphWnd.h"
#include "graphs/InfoPopupDlg.h"
#include "shell/OxidariumApp.h"
#include "framework/UpdateHint.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>

#include <memory>

CGraphView::CGraphView() : m_chartWnd(new CGraphWnd(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
    m_chartWnd->setGeometry(rect());
}

CGraphView::~CGraphView()
{
    ClosePopup();
    m_chartWnd->SetGraph(nullptr);
    m_pGraph.reset();
}

CGraphTypesDoc* CGraphView::GraphTypesDoc() const
{
    return dynamic_cast<CGraphTypesDoc*>(GetDocument());
}

void CGraphView::OnInitialUpdate()
{
    m_state.m_pDoc = GraphTypesDoc();
    if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame()))
        frame->resize(kInitialWidth, kInitialHeight);
    SetGraph(nullptr, nullptr, nullptr, nullptr, -1, -1);
}

void CGraphView::SetGraph(const CGraphTemplate* graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze,
                          const CLimitFormula* limitFormula, int units, int typeOverride)
{
    m_state.m_pDoc = GraphTypesDoc();
    m_state.Set(graphTemplate, glazeDb, glaze, limitFormula, units, typeOverride);
    Rebuild(true);
}

void CGraphView::Rebuild(bool closePopup)
{
    if (closePopup || m_closePopupPending)
        ClosePopup();
    m_rebuildSoon.Cancel();
    m_closePopupPending = false;
    ++m_nBuilds;
    m_chartWnd->SetGraph(nullptr);
    m_pGraph = std::make_unique<CGraph>();
    m_state.PrepareGraph(*m_pGraph);
    SetCaption(m_state.Caption());
    if (m_pGraph->Build(m_chartWnd, m_chartWnd, this, m_state.ShownGlazeDb(), m_state.ShownGlaze()) < 0)
        return;
    m_chartWnd->SetGraph(m_pGraph.get());
}

void CGraphView::RebuildSoon(bool closePopup)
{
    m_closePopupPending = m_closePopupPending || closePopup;
    m_rebuildSoon.Request();
}

void CGraphView::SetCaption(const std::string& caption)
{
    SetViewCaption(*this, caption);
}

void CGraphView::Redraw()
{
    if (!m_pGraph || !m_pGraph->KeepsItsReading()) {
        Rebuild(false);
        return;
    }
    m_chartWnd->SetGraph(nullptr);
    if (m_pGraph->Redraw(m_chartWnd, m_chartWnd, this) >= 0)
        m_chartWnd->SetGraph(m_pGraph.get());
}

// Only a real size change with room for a chart draws it again: a minimised window, or one of
// 10 pixels or less either way, keeps its chart as it is.
void CGraphView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame());
    if ((frame && frame->isMinimized()) || width() < 11 || height() < 11)
        return;
    m_chartWnd->setGeometry(0, 0, width(), height());
    Redraw();
}

void CGraphView::keyPressEvent(QKeyEvent* event)
{
    const int message = TranslateGraphKey(event->key(), event->modifiers());
    if (message == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    OnGraphMessage(message);
}

void CGraphView::OnGraphMessage(int message)
{
    bool changed = false;
    switch (message) {
    case kGrvPreviousGlaze: changed = m_state.PreviousGlaze(); break;
    case kGrvNextGlaze: changed = m_state.NextGlaze(); break;
    case kGrvPreviousType: changed = m_state.StepGraphType(-1); break;
    case kGrvNextType: changed = m_state.StepGraphType(1); break;
    case kGrvPreviousLimit: changed = m_state.PreviousLimitFormula(); break;
    case kGrvNextLimit: changed = m_state.NextLimitFormula(); break;
    case kGrvPreviousTemplate: StepTemplate(-1); return;
    case kGrvNextTemplate: StepTemplate(1); return;
    case kGrvPreviousDatabase: changed = m_state.PreviousDatabase(); break;
    case kGrvNextDatabase: changed = m_state.NextDatabase(); break;
    default: return;
    }
    if (changed)
        Rebuild(true);
}

void CGraphView::StepTemplate(int direction)
{
    if (const CGraphTemplate* next = m_state.AdjacentTemplate(direction))
        SetGraph(next, m_state.m_pGlazeDb, m_state.m_pGlaze, m_state.m_pLimitFormula, m_state.m_units, -1);
}

void CGraphView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || !hint)
        return;
    const CGraphViewState::HintAction action = m_state.OnHint(*hint);
    // A notice that changes the chart changes what it was read from: the reading goes at once,
    // so that a size change before the new build draws nothing from it (nor reads a closing
    // database's selection).
    if (action != CGraphViewState::HintAction::None && m_pGraph)
        m_pGraph->DropReading();
    switch (action) {
    case CGraphViewState::HintAction::None: break;
    case CGraphViewState::HintAction::Rebuild: RebuildSoon(true); break;
    case CGraphViewState::HintAction::ResetGraph:
        SetGraph(m_state.m_pTemplate, m_state.m_pGlazeDb, m_state.m_pGlaze, m_state.m_pLimitFormula, m_state.m_units,
                 -1);
        break;
    case CGraphViewState::HintAction::CloseView:
        // The template is gone: nothing of it may be drawn again.
        m_state.m_pTemplate = nullptr;
        if (CFrameHost* frame = GetFrame())
            frame->CloseFrame();
        break;
    }
}

// --- the chart's clicks -----------------------------------------------------------------------

void CGraphView::OnChartMessage(unsigned message, unsigned kind, std::uint64_t data)
{
    const CChartClick click = m_clicks.Route(*m_chartWnd, message, kind, data);
    switch (click.kind) {
    case CChartClick::Kind::Menu: ShowChartMenu(click.screenPoint); break;
    case CChartClick::Kind::Cell: ShowCellText(click.column, click.row); break;
    case CChartClick::Kind::Object: ShowObjectMessage(click.objectId); break;
    case CChartClick::Kind::None: break;
    }
}

void CGraphView::ShowCellText(int column, int row)
{
    if (!m_pGraph)
        return;
    if (!m_pInfoPopup) {
        m_pInfoPopup = new CInfoPopupDlg(this);
        connect(m_pInfoPopup, &CInfoPopupDlg::Closed, this, [this] { m_pInfoPopup = nullptr; });
    }
    m_pInfoPopup->ShowText(m_pGraph->GetCellText(column, row));
    m_pInfoPopup->SetCaption(m_pGraph->GetTitle());
    m_pInfoPopup->SetFullInfo(m_pGraph->GetText());
}

// How the user reads the whole error or notice of a chart whose message box was clicked.
void CGraphView::ShowObjectMessage(int objectId)
{
    if (!m_pGraph)
        return;
    const CGlazesDoc* glazeDb = m_state.ShownGlazeDb();
    const CGlaze* shownGlaze = m_state.ShownGlaze();
    const std::string database = glazeDb ? glazeDb->GetDbName() : std::string();
    const std::string glaze = shownGlaze ? shownGlaze->m_name : std::string();
    if (g_pApp)
        g_pApp->MessageBoxWithHelp(ChartObjectMessage(*m_pGraph, objectId, database, glaze), 0, 0);
}

void CGraphView::ShowChartMenu(const QPoint& screenPoint)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    ++m_nMenusShown;
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(GraphViewPopupMenu(), this));
    menu->exec(screenPoint);
}

void CGraphView::ClosePopup()
{
    if (!m_pInfoPopup)
        return;
    CInfoPopupDlg* popup = m_pInfoPopup;
    m_pInfoPopup = nullptr;
    popup->close();
}
