#pragma once

// The graph-template editor's preview: the chart window on the Graph page, the graph drawn in it
// and the information pop-up of its clicks. The editor hands it the form's unsaved template and
// the glaze database and glaze of the Graph page; the preview answers the chart's notices (a
// click on a data cell fills the pop-up, a click on the message box shows its text, a right
// press and release opens the editor's chart menu).

#include "graphs/ChartEngine.h"
#include "graphs/GraphOutput.h"
#include "graphs/InfoPopupDlg.h"

#include <QPointer>

#include <memory>
#include <string>

class CGlaze;
class CGlazesDoc;
class CGraph;
class CGraphTemplate;
class CGraphTypeEditView;
class CGraphWnd;
class CWidgetChartWindow;
class QWidget;

class CGraphPreview : public CChartNotifyTarget {
public:
    CGraphPreview();
    // Closes the pop-up, detaches the chart window and deletes the graph.
    ~CGraphPreview() override;
    CGraphPreview(const CGraphPreview&) = delete;
    CGraphPreview& operator=(const CGraphPreview&) = delete;

    // Puts the chart window into area (the Graph page's preview place); the page is the host.
    void Attach(QWidget* area, CGraphTypeEditView* owner);

    // Replaces the graph by a new one of graphTemplate for the database and glaze (either null).
    void Rebuild(const CGraphTemplate& graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze);
    // A chart is drawn (the last build made one).
    bool HasChart() const;

    CGraphWnd* Window() const { return m_window; }
    CGraph* Graph() const { return m_graph.get(); }
    CInfoPopupDlg* Popup() const { return m_popup; }
    void ClosePopup();

    // The chart's notices (kChartNoticeMessage); every other message is ignored.
    void OnChartMessage(unsigned message, unsigned kind, std::uint64_t data) override;

private:
    void ShowCellText(int column, int row);

    CGraphTypeEditView* m_owner = nullptr;
    CGraphWnd* m_window = nullptr; // owned by its parent widget
    std::unique_ptr<CWidgetChartWindow> m_host;
    std::unique_ptr<CGraph> m_graph;
    QPointer<CInfoPopupDlg> m_popup;
    CChartClickRouter m_clicks;
};
