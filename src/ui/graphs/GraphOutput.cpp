#include "graphs/GraphOutput.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/PrintSetup.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphWnd.h"
#include "shell/OxidariumApp.h"
#include "support/CompareNoCase.h"
#include "support/SafeFile.h"
#include "support/Services.h"
#include "support/TextPrinter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <sstream>

namespace {

constexpr const char* kGraphFileFilter =
    "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg|Windows bitmap files (*.bmp)|*.bmp;*.dib||";
constexpr const char* kTextFileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";

void ShowOutputError(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconError, helpId);
}

bool EndsWithNoCase(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && EqualsNoCase(text.substr(text.size() - ending.size()), ending);
}

CFileDialogRequest SaveRequest(const char* title, const char* filter)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = title;
    request.filter = filter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kGraphWriteDialogHelpId;
    request.clipboardOption = true;
    return request;
}

// The lines with "\r\n" line ends, as the clipboard carries text.
std::string ClipboardText(const CTextPrinter& printer)
{
    std::ostringstream out;
    printer.WriteText(out);
    std::string text;
    for (const char c : out.str())
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

} // namespace

void CopyGraphToClipboard(CGraphWnd& window)
{
    const std::string error = window.CopyOrWriteGraph(std::string(), kGraphImageBitmap);
    if (!error.empty())
        ShowOutputError(error, kGraphOutputErrorHelpId);
}

void WriteGraphToFile(CGraphWnd& window)
{
    const CFileDialogResult answer = AskForFiles(SaveRequest("Graph to File...", kGraphFileFilter));
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;
    int format = kGraphImageBitmap;
    std::string extension = ".dib";
    if (answer.filterIndex == 1) {
        format = kGraphImagePng;
        extension = ".png";
    } else if (answer.filterIndex == 2) {
        format = kGraphImageJpeg;
        extension = ".jpg";
    }
    std::string name;
    if (!toClipboard) {
        name = answer.paths.front();
        if (!EndsWithNoCase(name, extension))
            name += extension;
    }
    std::string error;
    {
        CBusyScope busy;
        error = window.CopyOrWriteGraph(name, format);
    }
    if (!error.empty())
        ShowOutputError(error, kGraphOutputErrorHelpId);
}

int PrintGraphTo(CGraphWnd& window, QPrinter& printer)
{
    if (!window.Chart())
        return 0;
    printer.setFromTo(1, 1);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    window.DrawToDC(painter);
    return 1; // the painter ends the job as it goes out of scope
}

void PrintGraph(CGraphWnd& window, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RememberPrintSetup(printer);
    PrintGraphTo(window, printer);
}

namespace {

// The chart as a preview's one page, placed on the page as it prints.
class CGraphPreviewContent : public CPreviewContent {
public:
    explicit CGraphPreviewContent(CGraphWnd& window) : m_window(window) {}

    int LayOut(QPaintDevice& device) override
    {
        m_target = m_window.Chart() ? m_window.PrintTarget(device) : QRectF();
        return m_window.Chart() ? 1 : 0;
    }

    void DrawPage(QPainter& painter, int) override
    {
        if (m_window.Chart() && !m_target.isEmpty())
            PaintChart(*m_window.Chart(), painter, m_target);
    }

private:
    CGraphWnd& m_window;
    QRectF m_target;
};

} // namespace

void PreviewGraph(CGraphWnd& window, QWidget* parent)
{
    CGraphPreviewContent content(window);
    if (RunPrintPreview(content, parent))
        PrintGraph(window, parent);
}

void WriteGraphSummaryToFile(const std::function<void(CTextPrinter&)>& fill)
{
    CFileDialogRequest request = SaveRequest("Graph Template Summary to File...", kTextFileFilter);
    request.defaultExtension = "txt";
    const CFileDialogResult answer = AskForFiles(request);
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;
    std::string reason;
    const bool written = [&] {
        CBusyScope busy;
        CTextPrinter printer;
        fill(printer);
        printer.RemoveTrailingEmpty();
        if (toClipboard) {
            CClipboardService* clipboard = GetClipboardService();
            return clipboard && clipboard->SetText(ClipboardText(printer));
        }
        const auto write = [&printer](std::ostream& out) { return printer.WriteText(out); };
        return WriteFileSafely(answer.paths.front(), write, &reason) == SafeSaveResult::Ok;
    }();
    if (!written && toClipboard)
        ShowOutputError("Error writing to Clipboard", kGraphOutputErrorHelpId);
    else if (!written)
        ShowOutputError(SaveFailureMessage(answer.paths.front(), SafeSaveResult::WriteFailed, reason),
                        kGraphSummaryFileErrorHelpId);
}

std::string ChartObjectMessage(const CGraph& graph, int objectId, const std::string& database,
                               const std::string& glaze)
{
    const GraphTypeInfo* type = GetGraphTypeInfo(graph.type);
    return graph.GetMessageText(objectId) + "\r\nGraph type : " + (type ? type->longName : "none") +
           "\r\nGlaze database : " + (database.empty() ? std::string("none") : database) +
           "\r\nGlaze : " + (glaze.empty() ? std::string("none") : glaze);
}

int TranslateGraphKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if ((modifiers & Qt::AltModifier) || (!ctrl && !shift))
        return 0;
    int arrow = 0;
    switch (key) {
    case Qt::Key_Left: arrow = 0; break;
    case Qt::Key_Right: arrow = 1; break;
    case Qt::Key_Up: arrow = 2; break;
    case Qt::Key_Down: arrow = 3; break;
    default: return 0;
    }
    if (ctrl && shift)
        return 1142 + arrow;
    return (shift ? 1138 : 1134) + arrow;
}

CChartClick CChartClickRouter::Route(CGraphWnd& window, unsigned message, unsigned kind, std::uint64_t data)
{
    CChartClick click;
    if (message != kChartNoticeMessage)
        return click;
    const int event = window.GetLastMouseEvent(click.screenPoint);
    if (event == kChartEventRightPressed) {
        m_armed = true;
        return click;
    }
    if (event == kChartEventReleased && m_armed) {
        m_armed = false;
        click.kind = CChartClick::Kind::Menu;
        return click;
    }
    m_armed = false;
    if (kind == kChartNoticeCell) {
        click.kind = CChartClick::Kind::Cell;
        click.column = ChartNoticeColumn(data);
        click.row = ChartNoticeRow(data);
    } else if (kind == kChartNoticeObject && (data & 0xFFFF) == 1) {
        click.kind = CChartClick::Kind::Object;
        click.objectId = static_cast<int>(data >> 16);
    }
    return click;
}
