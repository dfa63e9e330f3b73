// The glaze report window's menu bar, its commands and their enabling, its printing, and the
// making of report windows.

#include "glazes/GlazeAnalysisView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "glazes/Glaze.h"
#include "glazes/GlazePrinting.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"
#include "shell/RecipeSizeDlg.h"
#include "support/DialogStyle.h"
#include "support/ShellMenus.h"

namespace {

CDocTemplate* s_analysisTemplate = nullptr;

} // namespace

// --- commands -----------------------------------------------------------------------------------

bool CGlazeAnalysisView::OnCommand(unsigned id)
{
    if (GlazePrintKind(id) != 0) {
        PrintGlaze(id);
        return true;
    }
    switch (id) {
    case CmdGanEdit: OnEditGlaze(); return true;
    case CmdGanJump: OnJump(); return true;
    case CmdGanPrevious: OnPrevious(); return true;
    case CmdGanNext: OnNext(); return true;
    case CmdGanOpenGraph: OnOpenGraph(); return true;
    case CmdGanCloseView: CloseQuietly(); return true;
    case CmdGanHelp: ShowDialogHelp(kGlazeAnalysisHelpId); return true;
    case CmdGlazeBatchSizes: SetUpRecipeBatchSizes(); return true;
    default: return false;
    }
}

bool CGlazeAnalysisView::OnUpdateCommand(CCmdUI& ui)
{
    const CGlazesDoc* doc = GlazesDoc();
    const int count = doc ? doc->GetGlazeCount() : 0;
    const bool valid = m_nIndex >= 0 && m_nIndex < count;
    if (GlazePrintKind(ui.m_nID) != 0) {
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
    case CmdGlazeBatchSizes:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

// --- printing -----------------------------------------------------------------------------------

void CGlazeAnalysisView::FillPrinter(CTextPrinter& printer, int kind)
{
    if (const CGlazesDoc* doc = GlazesDoc(); doc && m_pGlaze)
        FillGlazePrinter(printer, *doc, *m_pGlaze, kind);
}

void CGlazeAnalysisView::PrintGlaze(unsigned id)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc || !m_pGlaze)
        return;
    printKind = GlazePrintKind(id);
    const CGlaze* glaze = m_pGlaze;
    RunGlazePrintCommand(id, printKind, *doc, [glaze] { return *glaze; }, this);
}

// --- the menu and the windows -------------------------------------------------------------------

void RegisterGlazeAnalysisMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kGlazeAnalysisResourceId, {
        ShellFileMenu({
            M::Item(CmdSaveGlazeDb, "&Save Glaze Database"),
            M::Item(CmdSaveGlazeDbAs, "Save &As..."),
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
        GlazePrintMenu(),
        M::WindowPopup(),
        HelpMenu(CmdGanHelp),
    });
}

void InstallGlazeAnalysisTemplate(CDocTemplate& docTemplate)
{
    s_analysisTemplate = &docTemplate;
    docTemplate.AtDestruction([docTemplate = &docTemplate] {
        if (s_analysisTemplate == docTemplate)
            s_analysisTemplate = nullptr;
    });
    InstallViewFactory<CGlazeAnalysisView>(docTemplate);
    RegisterGlazeAnalysisMenu();
    InstallGlazeViews(docTemplate);
}

CGlazeAnalysisView* CreateGlazeAnalysisWindow(CGlazesDoc& document)
{
    CDocTemplate* docTemplate = s_analysisTemplate ? s_analysisTemplate : g_pGlazeAnalysisTemplate;
    return OpenViewWindow<CGlazeAnalysisView>(docTemplate, document);
}
