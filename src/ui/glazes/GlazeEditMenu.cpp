// The glaze edit window's menu bar, the making of edit windows, and the glaze views through which
// the glaze databases and their lists reach the edit and report windows.

#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazeEditView.h"
#include "graphs/GraphView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "glazes/GlazePrinting.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"

namespace {

CDocTemplate* s_editTemplate = nullptr;

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return M::Popup("&File", {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdSaveGlazeDb, "&Save Glaze Database"),
        M::Item(CmdSaveGlazeDbAs, "Save &As..."),
        M::Separator(),
        M::Item(CmdGedFilePrint, "&Print..."),
        M::Separator(),
        M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
        M::Item(CmdShellPreferences, "&Preferences..."),
        M::Separator(),
        M::Item(CmdShellExit, "E&xit"),
    });
}

CMenuDef EditMenu()
{
    using M = CMenuDef;
    return M::Popup("&Edit", {
        M::Item(CmdGedCut, "Cu&t"),
        M::Item(CmdGedCopy, "&Copy"),
        M::Item(CmdGedPaste, "&Paste"),
        M::Separator(),
        M::Item(CmdGedSaveAsNew, "Save as &New"),
        M::Item(CmdGedInsertNew, "&Insert new"),
        M::Item(CmdGedAppendNew, "&Append new"),
        M::Separator(),
        M::Item(CmdGedEditIngredients, "Edit &Ingredients"),
    });
}

CMenuDef ViewMenu()
{
    using M = CMenuDef;
    return M::Popup("&View", {
        M::Item(CmdGedPrevious, "&Previous Glaze"),
        M::Item(CmdGedNext, "&Next Glaze"),
        M::Item(CmdGedJumpTo, "&Jump to..."),
        M::Separator(),
        M::Item(CmdGedUpdate, "&Update\tCtrl+U", "Ctrl+U"),
        M::Item(CmdGedOpenReport, "Open &Report"),
        M::Item(CmdGedOpenGraph, "Open &Graph"),
        M::Separator(),
        M::Item(CmdGedLimitedAccess, "&Limited Access"),
        M::Separator(),
        M::Item(CmdGedCloseView, "&Close View"),
    });
}

CMenuDef UtilitiesMenu()
{
    using M = CMenuDef;
    return M::Popup("&Utilities", {
        M::Popup("&Round Off Amounts", {
            M::Item(CmdGedRound001, "Nearest 0.0&1"),
            M::Item(CmdGedRound01, "Nearest 0.&1"),
            M::Item(CmdGedRound1, "Nearest &1."),
        }),
        M::Item(CmdGedScaleToIngredient, "&Scale to Ingredient..."),
        M::Item(CmdGedOptimize, "&Optimize..."),
        M::Separator(),
        M::Popup("Send to &Insight", {
            M::Item(CmdGedSendComponents, "&Components Only"),
            M::Item(CmdGedSendAdditions, "&Additions Only"),
            M::Item(CmdGedSendEntire, "&Entire Recipe"),
        }),
        M::Item(CmdGedGetFromInsight, "&Get from Insight"),
        M::Separator(),
        M::Item(CmdGedReciparyPrompts, "&Recipary Prompts"),
    });
}

// Edit and report windows are second windows on a glaze database: they are made here, on the
// document the caller names, never by opening a document through a template.
class CGlazeWindows : public CGlazeViews {
public:
    CGlazeEditLink* AsEditView(CView* view) override { return dynamic_cast<CGlazeEditView*>(view); }
    CGlazeAnalysisLink* AsAnalysisView(CView* view) override { return dynamic_cast<CGlazeAnalysisView*>(view); }

    bool OpenEditView(CGlazesDoc& document, std::span<const int> indices, bool limited) override
    {
        if (indices.empty())
            return false;
        CGlazeEditView* view = CreateGlazeEditWindow(document);
        if (!view)
            return false;
        if (limited)
            view->SetGlazeSelection(indices.data(), static_cast<int>(indices.size()));
        else
            view->EditGlaze(indices.front());
        return true;
    }

    bool OpenAnalysisView(CGlazesDoc& document, int index) override
    {
        CGlazeAnalysisView* view = CreateGlazeAnalysisWindow(document);
        if (!view)
            return false;
        view->FillReport(index);
        return true;
    }

    bool OpenGraphView(CGlazesDoc& document, int index) override
    {
        return OpenGraphOfGlaze(document, document.GetGlaze(index), nullptr);
    }

    // The limit formula is named; one the database of limit formulas does not hold draws none.
    bool OpenGlazeGraphView(CGlazesDoc& document, const CGlazeGraphRequest& request) override
    {
        const CLimitFormula* formula = g_pLimitFormulasDoc && !request.limitFormula.empty()
                                           ? g_pLimitFormulasDoc->Database().FindFormulaByName(request.limitFormula)
                                           : nullptr;
        return OpenGraphOfGlaze(document, document.GetGlaze(request.glaze), formula, request.graphTemplate,
                                request.units);
    }
};

CGlazeWindows s_glazeWindows;

} // namespace

void RegisterGlazeEditMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kGlazeEditResourceId, {
        FileMenu(),
        EditMenu(),
        ViewMenu(),
        UtilitiesMenu(),
        GlazePrintMenu(),
        M::WindowPopup(),
        M::Popup("&Help", {
            M::Item(CmdGedHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

void InstallGlazeViews()
{
    SetGlazeViews(&s_glazeWindows);
}

bool CanOpenGlazeGraph()
{
    return g_pApp && g_pApp->m_bGraphsAvailable && g_pGraphTypesDoc && g_pGraphTypesDoc->Database().GetCount() > 0;
}

void OpenGlazeGraph(CGlazesDoc& document, const CGlazeGraphRequest& request)
{
    if (CGlazeViews* views = GetGlazeViews(); views && CanOpenGlazeGraph())
        views->OpenGlazeGraphView(document, request);
}

void InstallGlazeEditTemplate(CDocTemplate& docTemplate)
{
    s_editTemplate = &docTemplate;
    InstallViewFactory<CGlazeEditView>(docTemplate);
    RegisterGlazeEditMenu();
    InstallGlazeViews();
}

CGlazeEditView* CreateGlazeEditWindow(CGlazesDoc& document)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    CDocTemplate* docTemplate = s_editTemplate ? s_editTemplate : g_pGlazeEditTemplate;
    if (!mainFrame || !docTemplate)
        return nullptr;
    auto* view = new CGlazeEditView();
    CMDIChildFrame* frame = mainFrame->CreateChildFrame(*docTemplate, document, view, view, true);
    if (!frame)
        return nullptr;
    view->OnInitialUpdate();
    frame->ActivateFrame();
    return view;
}
