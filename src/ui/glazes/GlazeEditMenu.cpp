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
#include "records/RecordMenus.h"
#include "support/ShellMenus.h"

namespace {

CDocTemplate* s_editTemplate = nullptr;

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return ShellFileMenu({
        M::Item(CmdSaveGlazeDb, "&Save Glaze Database"),
        M::Item(CmdSaveGlazeDbAs, "Save &As..."),
        M::Separator(),
        M::Item(CmdGedFilePrint, "&Print..."),
    });
}

// The edit window's commands that every edit window of records has (its only print command is
// File > Print).
constexpr CRecordEditCommands kEditCommands = {
    CmdGedFilePrint, 0, 0, CmdGedCut, CmdGedCopy, CmdGedPaste, CmdGedSaveAsNew, CmdGedInsertNew, CmdGedAppendNew,
    CmdGedPrevious, CmdGedNext, CmdGedJumpTo, CmdGedLimitedAccess, CmdGedCloseView,
};

CMenuDef EditMenu()
{
    CMenuDef edit = RecordEditEditMenu(kEditCommands);
    edit.items.push_back(CMenuDef::Separator());
    edit.items.push_back(CMenuDef::Item(CmdGedEditIngredients, "Edit &Ingredients"));
    return edit;
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
        HelpMenu(CmdGedHelp),
    });
}

void InstallGlazeViews()
{
    SetGlazeViews(&s_glazeWindows);
}

void InstallGlazeViews(CDocTemplate& docTemplate)
{
    InstallGlazeViews();
    docTemplate.AtDestruction([] {
        if (GetGlazeViews() == &s_glazeWindows)
            SetGlazeViews(nullptr);
    });
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
    docTemplate.AtDestruction([docTemplate = &docTemplate] {
        if (s_editTemplate == docTemplate)
            s_editTemplate = nullptr;
    });
    InstallViewFactory<CGlazeEditView>(docTemplate);
    RegisterGlazeEditMenu();
    InstallGlazeViews(docTemplate);
}

CGlazeEditView* CreateGlazeEditWindow(CGlazesDoc& document)
{
    return OpenViewWindow<CGlazeEditView>(s_editTemplate ? s_editTemplate : g_pGlazeEditTemplate, document);
}
