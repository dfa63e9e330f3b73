// The material edit window's menu bar, and the edit windows as the materials document opens
// them.

#include "materials/MaterialEditView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppCommandIds.h"

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
        M::Item(CmdNewMaterialDb, "&New Material Database"),
        M::Item(CmdOpenMaterialDb, "&Open Material Database..."),
        M::Item(CmdSaveMaterialDb, "&Save Material Database"),
        M::Item(CmdSaveMaterialDbAs, "Save &As..."),
        M::Item(CmdRevertMaterialDb, "&Revert To Saved"),
        M::Separator(),
        M::Popup("&Print Material", {
            M::Item(CmdMatEditPrint, "&Print..."),
            M::Item(CmdMatEditPrintPreview, "Print Pre&view..."),
            M::Item(CmdMatEditWriteToFile, "Write to &File..."),
        }),
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
        M::Item(CmdMatEditCut, "Cu&t"),
        M::Item(CmdMatEditCopy, "&Copy"),
        M::Item(CmdMatEditPaste, "&Paste"),
        M::Separator(),
        M::Item(CmdMatEditSaveAsNew, "Save as &New"),
        M::Item(CmdMatEditInsertNew, "&Insert new"),
        M::Item(CmdMatEditAppendNew, "&Append new"),
    });
}

CMenuDef ViewMenu()
{
    using M = CMenuDef;
    return M::Popup("&View", {
        M::Item(CmdMatEditPrevious, "&Previous Material"),
        M::Item(CmdMatEditNext, "&Next Material"),
        M::Item(CmdMatEditJumpTo, "&Jump to..."),
        M::Separator(),
        M::Item(CmdMatEditLimitedAccess, "&Limited Access"),
        M::Separator(),
        M::Item(CmdMatEditCloseView, "&Close View"),
    });
}

CMenuDef FormulaMenu()
{
    using M = CMenuDef;
    return M::Popup("F&ormula", {
        M::Item(CmdMatEditConvertFormula, "&Convert Formula..."),
        M::Item(CmdMatEditNormalize, "&Normalize Formula"),
        M::Item(CmdMatEditAddLoi, "Add &LOI to Formula"),
    });
}

// Edit windows are second windows on the one materials document: they are made here, on the
// document the caller names, never by opening a document through the template.
class CMaterialEditWindows : public CMaterialEditViews {
public:
    bool OpenEditView(CMaterialsDoc& document, int index) override
    {
        CMaterialEditView* view = CreateView(document);
        if (!view)
            return false;
        view->PositionOn(index);
        return true;
    }

    bool OpenLimitedEditView(CMaterialsDoc& document, const std::vector<int>& indices) override
    {
        CMaterialEditView* view = CreateView(document);
        if (!view)
            return false;
        view->SetLimitedList(indices);
        return true;
    }

    CMaterialEditLink* AsEditView(CView* view) override { return dynamic_cast<CMaterialEditView*>(view); }

private:
    static CMaterialEditView* CreateView(CMaterialsDoc& document)
    {
        CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
        if (!mainFrame || !s_editTemplate)
            return nullptr;
        auto* view = new CMaterialEditView();
        CMDIChildFrame* frame = mainFrame->CreateChildFrame(*s_editTemplate, document, view, view, true);
        if (!frame)
            return nullptr;
        view->OnInitialUpdate();
        frame->ActivateFrame();
        return view;
    }
};

CMaterialEditWindows s_editWindows;

} // namespace

void RegisterMaterialEditMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kMaterialEditResourceId, {
        FileMenu(),
        EditMenu(),
        ViewMenu(),
        FormulaMenu(),
        M::WindowPopup(),
        M::Popup("&Help", {
            M::Item(CmdMatEditHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

void InstallMaterialEditTemplate(CDocTemplate& docTemplate)
{
    s_editTemplate = &docTemplate;
    InstallViewFactory<CMaterialEditView>(docTemplate);
    RegisterMaterialEditMenu();
    SetMaterialEditViews(&s_editWindows);
}
