#pragma once

// The graph window: one chart on its own, a view on the graph-templates document. Other windows
// open it (OpenGraphWindow) and point it at what to draw with SetGraph: a graph template (copied;
// the view only ever changes its own copy), a glaze database and glaze, a limit formula, the
// oxide units and a graph type. It rebuilds its chart on every change of those and on the change
// notices of everything the chart depends on, steps through glazes, databases, limit formulas,
// templates and graph types with Ctrl, Shift and Ctrl+Shift and the arrow keys, shows the text
// of a clicked bar or slice in the information pop-up, and prints, previews, copies and writes
// the chart and the template's summary.
//
// What the view draws and how notices and steps change it live in the core
// (graphs/GraphViewState.h); this class owns the chart window, the graph and the pop-up.

#include "framework/CoalescedCall.h"
#include "framework/MenuDef.h"
#include "framework/View.h"
#include "graphs/ChartEngine.h"
#include "graphs/GraphOutput.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphViewState.h"
#include "graphs/InfoPopupDlg.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class CDocTemplate;
class CGraph;
class CGraphWnd;
class CTextPrinter;

// Commands of the graph window (menu texts in the comments).
enum GraphViewCommand : unsigned {
    CmdGrvPrintGraph = 33305,           // "Print &Graph" > "&Print..."
    CmdGrvPreviewGraph = 33306,         // "Print Pre&view..."
    CmdGrvWriteGraph = 33307,           // "Write to &File..."
    CmdGrvEditTemplate = 33310,         // "&Edit Graph Template"
    CmdGrvCloseView = 33311,            // "&Close View"
    CmdGrvCloneView = 33312,            // "Cl&one View"
    CmdGrvSettings = 33314,             // "Graph &Settings..."
    CmdGrvLandscape = 33326,            // "Aspect Ratio" > "&Landscape"
    CmdGrvPortrait = 33327,             // "&Portrait"
    CmdGrvPrintSummary = 33328,         // "&Print Graph Template" > "&Print..."
    CmdGrvPreviewSummary = 33329,       // "Print Pre&view..."
    CmdGrvWriteSummary = 33330,         // "Write to &File..."
    CmdGrvCopyGraph = 33335,            // "Copy Graph to &Clipboard"
    CmdGrvWriteGraphFile = 33336,       // "Write Graph to &File"
    CmdGrvHelp = 32000,                 // "&Help"
};

inline constexpr unsigned kGraphViewResourceId = 17;
inline constexpr unsigned kGraphViewHelpId = 272;

// The keyboard messages of TranslateGraphKey that the view handles.
enum GraphViewMessage : int {
    kGrvPreviousGlaze = 1134,
    kGrvNextGlaze = 1135,
    kGrvPreviousType = 1136,
    kGrvNextType = 1137,
    kGrvPreviousLimit = 1138,
    kGrvNextLimit = 1139,
    kGrvPreviousTemplate = 1140,
    kGrvNextTemplate = 1141,
    kGrvPreviousDatabase = 1142,
    kGrvNextDatabase = 1143,
};

class CGraphView : public QWidget, public CView, public CGraphViewLink, public CChartNotifyTarget {
    Q_OBJECT

public:
    // The size of a new graph window.
    static constexpr int kInitialWidth = 620;
    static constexpr int kInitialHeight = 300;

    CGraphView();
    ~CGraphView() override;

    // Points the view at what to draw and rebuilds; -1 for units or typeOverride keeps the
    // template's own.
    void SetGraph(const CGraphTemplate* graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze, const CLimitFormula* limitFormula,
                  int units, int typeOverride);
    // Replaces the graph by a new one built from the current choices.
    void Rebuild(bool closePopup);
    // Rebuild once the notices being sent are all in: they come in bursts (Shift Up of a
    // thousand glazes sends a thousand), and a chart over a whole database costs a build each.
    void RebuildSoon(bool closePopup);
    bool RebuildPending() const { return m_rebuildSoon.Pending(); }
    // A size change: the chart drawn again at the new size from the graph's reading while it
    // holds (no notice has dropped it, and the data sources give the glazes it read: the glaze
    // list's selection among them), else built anew.
    void Redraw();

    const CGraphViewState& State() const { return m_state; }
    CGraph* Graph() const { return m_pGraph.get(); }
    CGraphWnd* ChartWindow() const { return m_chartWnd; }
    CInfoPopupDlg* Popup() const { return m_pInfoPopup; }
    void SetForceMono(bool mono) { m_state.m_bForceMono = mono ? 1 : 0; }
    // How often the chart's pop-up menu has been shown, and the chart built (for tests).
    int MenusShown() const { return m_nMenusShown; }
    int BuildCount() const { return m_nBuilds; }

    // A keyboard message of TranslateGraphKey (1134..1145).
    void OnGraphMessage(int message);

    // --- CView ---
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // --- CGraphViewLink ---
    const CGraphTemplate* GetShownTemplate() const override { return m_state.m_pTemplate; }

    // --- CChartNotifyTarget ---
    void OnChartMessage(unsigned message, unsigned kind, std::uint64_t data) override;

    // The lines of the chosen template's summary (Print Graph Template).
    void FillSummaryPrinter(CTextPrinter& printer);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CGraphTypesDoc* GraphTypesDoc() const;
    void ShowCellText(int column, int row);
    void ShowObjectMessage(int objectId);
    void ShowChartMenu(const QPoint& screenPoint);
    void ClosePopup();
    void SetCaption(const std::string& caption);
    void StepTemplate(int direction);
    void OnSettings();
    void OnEditTemplate();
    void OnCloneView();
    void SetAspect(bool landscape);
    void OnOutput(unsigned id);

    CGraphViewState m_state;
    std::unique_ptr<CGraph> m_pGraph;
    CGraphWnd* m_chartWnd; // a child of this widget
    QPointer<CInfoPopupDlg> m_pInfoPopup;
    CChartClickRouter m_clicks;
    int m_printMode = 1;
    int m_nMenusShown = 0;
    int m_nBuilds = 0;
    CCoalescedCall m_rebuildSoon{this, [this] { Rebuild(false); }};
    bool m_closePopupPending = false;
};

// The graph window's menu bar (resource 17) and the chart's pop-up menu (303).
void RegisterGraphViewMenu();
CMenuDef GraphViewPopupMenu();
// Gives the graph-view template its windows and menu, and lets the graph-template windows open
// graph windows. Graph windows exist only while graphs are available.
void InstallGraphViewTemplate(CDocTemplate& docTemplate);
// A new graph window on the graph-templates document, placed and initially updated (drawing the
// default chart until SetGraph); null while graphs are not available.
CGraphView* OpenGraphWindow(CGraphTypesDoc& document);
// Open Graph of the glaze windows: a new graph window on graphTemplate (null: the first graph
// template, none in an empty database), the database, the glaze (null for none), the limit
// formula (null for none) and the units (-1 the template's own); false when no window could be
// made.
bool OpenGraphOfGlaze(CGlazesDoc& database, CGlaze* glaze, const CLimitFormula* limitFormula,
                      const CGraphTemplate* graphTemplate = nullptr, int units = -1);
