// The glaze report window's menu bar, its commands and their enabling, its printing, and the
// making of report windows.

#include "glazes/GlazeAnalysisView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "glazes/GlazeTextOutput.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "shell/RecipeSizeDlg.h"
#include "support/DialogStyle.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

namespace {

CDocTemplate* s_analysisTemplate = nullptr;

enum class PrintAction { Print, Preview, Write };

struct SPrintCommand {
    unsigned id;
    int kind;
    PrintAction action;
};

constexpr SPrintCommand kPrintCommands[] = {
    {CmdGanPrintSummary, 1, PrintAction::Print},  {CmdGanPreviewSummary, 1, PrintAction::Preview},
    {CmdGanWriteSummary, 1, PrintAction::Write},  {CmdGanPrintRecipe, 2, PrintAction::Print},
    {CmdGanPreviewRecipe, 2, PrintAction::Preview}, {CmdGanWriteRecipe, 2, PrintAction::Write},
    {CmdGanPrintReport, 3, PrintAction::Print},   {CmdGanPreviewReport, 3, PrintAction::Preview},
    {CmdGanWriteReport, 3, PrintAction::Write},
};

const SPrintCommand* FindPrintCommand(unsigned id)
{
    for (const SPrintCommand& entry : kPrintCommands) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

const char* WriteTitle(int kind)
{
    switch (kind) {
    case 1: return "Glaze Summary to File...";
    case 2: return "Glaze Recipe to File...";
    default: return "Glaze Report to File...";
    }
}

CMenuDef PrintPopup(const char* text, unsigned print, unsigned preview, unsigned write)
{
    using M = CMenuDef;
    return M::Popup(text, {
        M::Item(print, "&Print..."),
        M::Item(preview, "Print Pre&view..."),
        M::Item(write, "Write to &File..."),
    });
}

} // namespace

// --- commands -----------------------------------------------------------------------------------

bool CGlazeAnalysisView::OnCommand(unsigned id)
{
    if (FindPrintCommand(id)) {
        PrintGlaze(id);
        return true;
    }
    switch (id) {
    case CmdGanEdit: OnEditGlaze(); return true;
    case CmdGanJump: OnJump(); return true;
    case CmdGanPrevious: OnPrevious(); return true;
    case CmdGanNext: OnNext(); return true;
    case CmdGanOpenGraph:
        if (CGlazesDoc* doc = GlazesDoc(); doc && m_pGlaze)
            OpenGlazeGraph(*doc, m_nIndex);
        return true;
    case CmdGanCloseView: CloseQuietly(); return true;
    case CmdGanHelp: ShowDialogHelp(kGlazeAnalysisHelpId); return true;
    case CmdGanBatchSizes: SetUpRecipeBatchSizes(); return true;
    default: return false;
    }
}

bool CGlazeAnalysisView::OnUpdateCommand(CCmdUI& ui)
{
    const CGlazesDoc* doc = GlazesDoc();
    const int count = doc ? doc->GetGlazeCount() : 0;
    const bool valid = m_nIndex >= 0 && m_nIndex < count;
    if (FindPrintCommand(ui.m_nID)) {
        ui.Enable(valid);
        return true;
    }
    switch (ui.m_nID) {
    case CmdGanPrevious: ui.Enable(m_nIndex >= 1 && m_nIndex < count); return true;
    case CmdGanNext: ui.Enable(m_nIndex >= 0 && m_nIndex < count - 1); return true;
    case CmdGanEdit: ui.Enable(valid); return true;
    case CmdGanOpenGraph: ui.Enable(valid && CanOpenGlazeGraph()); return true;
    case CmdGanJump:
    case CmdGanCloseView:
    case CmdGanHelp:
    case CmdGanBatchSizes:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

// --- printing -----------------------------------------------------------------------------------

void CGlazeAnalysisView::FillPrinter(CTextPrinter& printer, int kind)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc || !m_pGlaze)
        return;
    const bool headers = kind != 2 && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = headers;
    printer.m_showLaterHeader = headers;
    printer.m_firstPageNumber = headers;
    printer.m_laterPageNumber = headers;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
    printer.SetFont(PrinterFontLaterHeader, fonts.bold);
    const CGlazeText text(*doc);
    CLineOStream out(printer, 0, CLineOStream::kDefaultBufferSize);
    switch (kind) {
    case 1: text.WriteSummaries(out, {}, m_pGlaze); break;
    case 2: text.WriteRecipes(out, {}, m_pGlaze); break;
    default: text.WriteReports(out, {}, m_pGlaze); break;
    }
}

void CGlazeAnalysisView::PrintGlaze(unsigned id)
{
    const SPrintCommand* command = FindPrintCommand(id);
    if (!command || !m_pGlaze)
        return;
    printKind = command->kind;
    const int kind = printKind;
    CPrintJob job([this, kind](CTextPrinter& printer) { FillPrinter(printer, kind); });
    switch (command->action) {
    case PrintAction::Print: job.Print(this); break;
    case PrintAction::Preview: job.PrintPreview(this); break;
    case PrintAction::Write: job.WriteToFile(WriteTitle(kind)); break;
    }
}

// --- the menu and the windows -------------------------------------------------------------------

void RegisterGlazeAnalysisMenu()
{
    using M = CMenuDef;
    CMenuDef recipe = PrintPopup("Print Glaze Re&cipe", CmdGanPrintRecipe, CmdGanPreviewRecipe, CmdGanWriteRecipe);
    recipe.items.push_back(M::Separator());
    recipe.items.push_back(M::Item(CmdGanBatchSizes, "&Set up batch sizes..."));
    RegisterMenuBar(kGlazeAnalysisResourceId, {
        M::Popup("&File", {
            M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
            M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
            M::Item(CmdShellNewTextWindow, "&New Text Window"),
            M::Item(CmdShellOpenTextFile, "&Open Text File..."),
            M::Separator(),
            M::Item(CmdSaveGlazeDb, "&Save Glaze Database"),
            M::Item(CmdSaveGlazeDbAs, "Save &As..."),
            M::Separator(),
            M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
            M::Item(CmdShellPreferences, "&Preferences..."),
            M::Separator(),
            M::Item(CmdShellExit, "E&xit"),
        }),
        M::Popup("&View", {
            M::Item(CmdGanEdit, "&Edit"),
            M::Separator(),
            M::Item(CmdGanPrevious, "&Previous Glaze"),
            M::Item(CmdGanNext, "&Next Glaze"),
            M::Item(CmdGanJump, "&Jump to..."),
            M::Separator(),
            M::Item(CmdGanOpenGraph, "Open &Graph"),
            M::Separator(),
            M::Item(CmdGanCloseView, "&Close View"),
        }),
        M::Popup("&Print", {
            PrintPopup("&Print Glaze", CmdGanPrintSummary, CmdGanPreviewSummary, CmdGanWriteSummary),
            recipe,
            PrintPopup("Print Glaze Re&port", CmdGanPrintReport, CmdGanPreviewReport, CmdGanWriteReport),
        }),
        M::WindowPopup(),
        M::Popup("&Help", {
            M::Item(CmdGanHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

void InstallGlazeAnalysisTemplate(CDocTemplate& docTemplate)
{
    s_analysisTemplate = &docTemplate;
    InstallViewFactory<CGlazeAnalysisView>(docTemplate);
    RegisterGlazeAnalysisMenu();
    InstallGlazeViews();
}

CGlazeAnalysisView* CreateGlazeAnalysisWindow(CGlazesDoc& document)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    CDocTemplate* docTemplate = s_analysisTemplate ? s_analysisTemplate : g_pGlazeAnalysisTemplate;
    if (!mainFrame || !docTemplate)
        return nullptr;
    auto* view = new CGlazeAnalysisView();
    CMDIChildFrame* frame = mainFrame->CreateChildFrame(*docTemplate, document, view, view, true);
    if (!frame)
        return nullptr;
    view->OnInitialUpdate();
    frame->ActivateFrame();
    return view;
}
