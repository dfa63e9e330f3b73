#pragma once

// What every window that shows a chart does with it, written once for the graph view, the glaze
// edit form's graph panes and the graph-template editor: copying the chart, writing it to an
// image file, printing it on one page or previewing it, writing a template summary to a file or
// the clipboard, the keyboard steps of chart windows, and the right-button and click notices of
// the chart.

#include <QPoint>
#include <Qt>

#include <cstdint>
#include <functional>
#include <string>

class CGraph;
class CGraphWnd;
class CTextPrinter;
class QPrinter;
class QWidget;

// Help topics of the chart outputs' messages.
inline constexpr unsigned kGraphOutputErrorHelpId = 196900;
inline constexpr unsigned kGraphSummaryFileErrorHelpId = 196899;
inline constexpr unsigned kGraphWriteDialogHelpId = 303;

// "Copy Graph to Clipboard": a failure is shown with a stop icon.
void CopyGraphToClipboard(CGraphWnd& window);
// "Write Graph to File": asks for a file (or the clipboard) under "Graph to File..."; the filter
// chosen decides the format and the extension (".png", ".jpg", else ".dib"), which is appended
// unless the name already ends in it (ignoring case). A failure is shown with a stop icon.
void WriteGraphToFile(CGraphWnd& window);
// The chart on exactly one page of printer; returns the pages printed (0 without a chart).
int PrintGraphTo(CGraphWnd& window, QPrinter& printer);
// Print... with the print dialog (one page), and Print Preview.
void PrintGraph(CGraphWnd& window, QWidget* parent);
void PreviewGraph(CGraphWnd& window, QWidget* parent);
// "Graph Template Summary to File...": the lines fill puts into a text printer, without trailing
// empty lines, to a text file or the clipboard.
void WriteGraphSummaryToFile(const std::function<void(CTextPrinter&)>& fill);

// The message a click on a chart's message box shows: the graph's message text, then its graph
// type, glaze database and glaze ("none" for each that is missing).
std::string ChartObjectMessage(const CGraph& graph, int objectId, const std::string& database,
                               const std::string& glaze);

// The keyboard steps of chart windows: Ctrl, Shift and Ctrl+Shift with the arrow keys give the
// messages 1134 to 1145 (Ctrl+Shift first, then Shift, then Ctrl); anything else gives 0.
int TranslateGraphKey(int key, Qt::KeyboardModifiers modifiers);

// What a notice of a chart (kChartNoticeMessage) asks of its host. A right press arms the host's
// menu and the release after it shows the menu at the pointer; otherwise a click on a data cell
// (column, row) or on a drawn object (objectId) is reported.
struct CChartClick {
    enum class Kind { None, Menu, Cell, Object };
    Kind kind = Kind::None;
    QPoint screenPoint;
    int column = 0;
    int row = 0;
    int objectId = 0;
};

class CChartClickRouter {
public:
    CChartClick Route(CGraphWnd& window, unsigned message, unsigned kind, std::uint64_t data);
    bool IsArmed() const { return m_armed; }

private:
    bool m_armed = false;
};
