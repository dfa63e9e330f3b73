#include "graphs/GraphTypeEditViewPreview.h"

#include "graphs/Graph.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphWnd.h"
#include "graphs/InfoPopupDlg.h"
#include "shell/OxidariumApp.h"

#include <QObject>

CGraphPreview::CGraphPreview() = default;

CGraphPreview::~CGraphPreview()
{
    ClosePopup();
    if (m_window)
        m_window->SetGraph(nullptr);
    m_graph.reset();
}

void CGraphPreview::Attach(QWidget* area, CGraphTypeEditView* owner)
{
    m_owner = owner;
    m_window = new CGraphWnd(area);
    // The place is laid out once and never resized: the chart fills it inside its sunken frame.
    m_window->setGeometry(area->rect().adjusted(2, 2, -2, -2));
    m_host = std::make_unique<CWidgetChartWindow>(area->parentWidget() ? area->parentWidget() : area);
}

void CGraphPreview::Rebuild(const CGraphTemplate& graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze)
{
    if (!m_window)
        return;
    m_window->SetGraph(nullptr);
    m_graph = std::make_unique<CGraph>();
    m_graph->SetTemplate(graphTemplate);
    m_graph->Build(m_host.get(), m_window, this, glazeDb, glaze);
    m_window->SetGraph(m_graph.get());
}

bool CGraphPreview::HasChart() const
{
    return m_graph && m_graph->GetChartHandle() >= 0;
}

void CGraphPreview::ClosePopup()
{
    if (m_popup) {
        CInfoPopupDlg* popup = m_popup;
        m_popup = nullptr;
        popup->close();
    }
}

void CGraphPreview::OnChartMessage(unsigned message, unsigned kind, std::uint64_t data)
{
    if (!m_window)
        return;
    const CChartClick click = m_clicks.Route(*m_window, message, kind, data);
    if (click.kind == CChartClick::Kind::Menu) {
        if (m_owner)
            m_owner->ShowPreviewMenu(click.screenPoint);
    } else if (click.kind == CChartClick::Kind::Cell && m_graph) {
        ShowCellText(click.column, click.row);
    } else if (click.kind == CChartClick::Kind::Object && m_graph) {
        // The editor shows the message text alone: the form says what the chart is made of.
        AppMessageBox(m_graph->GetMessageText(click.objectId), 0, 0);
    }
}

void CGraphPreview::ShowCellText(int column, int row)
{
    if (!m_popup) {
        m_popup = new CInfoPopupDlg(m_owner);
        QObject::connect(m_popup, &CInfoPopupDlg::Closed, m_popup, [this] { m_popup = nullptr; });
    }
    m_popup->ShowText(m_graph->GetCellText(column, row));
    m_popup->SetCaption(m_graph->GetTitle());
    m_popup->SetFullInfo(m_graph->GetText());
}
