// The menu bars of the graph-template windows (list: resource 15, editor: resource 16), their
// pop-up menus and status-bar prompts, the editor windows as the list and the graph views open
// them, and how the document tells editors and graph views apart.

#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "graphs/GraphTypesDoc.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"

namespace {

using M = CMenuDef;

std::vector<CMenuDef> DatabaseFileItems()
{
    return {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdNewGraphTypeDb, "&New Graph Template Database"),
        M::Item(CmdOpenGraphTypeDb, "&Open Graph Template Database..."),
        M::Item(CmdSaveGraphTypeDb, "&Save Graph Template Database"),
        M::Item(CmdSaveGraphTypeDbAs, "Save &As..."),
        M::Item(CmdRevertGraphTypeDb, "&Revert To Saved"),
    };
}

void AppendClosingFileItems(std::vector<CMenuDef>& items)
{
    items.push_back(M::Separator());
    items.push_back(M::Item(CmdShellSaveAllDatabases, "Save All &Databases"));
    items.push_back(M::Item(CmdShellPreferences, "&Preferences..."));
    items.push_back(M::Separator());
    items.push_back(M::Item(CmdShellExit, "E&xit"));
}

CMenuDef PrintPopup(const char* text, unsigned print, unsigned preview, unsigned write)
{
    return M::Popup(text, {
        M::Item(print, "&Print..."),
        M::Item(preview, "Print Pre&view..."),
        M::Item(write, "Write to &File..."),
    });
}

CMenuDef WindowMenu()
{
    return CMenuDef::WindowPopup();
}

CMenuDef HelpMenu()
{
    return M::Popup("&Help", {
        M::Item(CmdShellHelp, "&Help", "F1"),
        M::Item(CmdShellHelpContents, "Help &Contents"),
        M::Separator(),
        M::Item(CmdShellAbout, "&About..."),
    });
}

CMenuDef ListFileMenu()
{
    std::vector<CMenuDef> items = DatabaseFileItems();
    items.push_back(M::Separator());
    items.push_back(M::Item(CmdGrtListSaveSelected, "Save Se&lected As..."));
    items.push_back(M::Item(CmdGrtListMerge, "&Merge Graph Template Database..."));
    AppendClosingFileItems(items);
    return M::Popup("&File", std::move(items));
}

CMenuDef ListEditMenu()
{
    return M::Popup("&Edit", {
        M::Item(CmdGrtListEdit, "&Edit\tDblClick"),
        M::Item(CmdGrtListEditLimited, "Edit (&limited)"),
        M::Separator(),
        M::Item(CmdGrtListCut, "Cu&t\tCtrl+X", "Ctrl+X"),
        M::Item(CmdGrtListCopy, "&Copy\tCtrl+C", "Ctrl+C"),
        M::Item(CmdGrtListPaste, "&Paste\tCtrl+V", "Ctrl+V"),
        M::Item(CmdGrtListDelete, "&Delete\tDel", "Del"),
        M::Separator(),
        M::Item(CmdGrtListSelectAll, "&Select All"),
        M::Item(CmdGrtListInvertSelection, "In&vert Selection"),
        M::Separator(),
        M::Item(CmdGrtListInsertNew, "&Insert new  \tIns", "Ins"),
        M::Item(CmdGrtListAppendNew, "&Append new  \tShft+Ins", "Shift+Ins"),
    });
}

CMenuDef ListSortMenu()
{
    return M::Popup("Sor&t", {
        M::Item(CmdGrtListShiftUp, "Shift &Up\tShft+Up", "Shift+Up"),
        M::Item(CmdGrtListShiftDown, "Shift &Down   \tShft+Dn", "Shift+Down"),
        M::Item(CmdGrtListSelectedToTop, "Selected to &Top"),
        M::Item(CmdGrtListAlphabetize, "&Alphabetize"),
    });
}

// Editor windows are second windows on the one graph-templates document: they are made here, on
// the document the caller names, never by opening a document through the template.
class CGraphTemplateWindows : public CGraphTemplateViews {
public:
    CGraphTypeEditLink* AsEditView(CView* view) override { return dynamic_cast<CGraphTypeEditLink*>(view); }
    // Graph views take part by deriving from CGraphViewLink.
    CGraphViewLink* AsGraphView(CView* view) override { return dynamic_cast<CGraphViewLink*>(view); }
};

CGraphTemplateWindows s_templateWindows;

} // namespace

// --- the list window ------------------------------------------------------------------------------

void RegisterGraphTypesMenu()
{
    RegisterMenuBar(kGraphTypesResourceId, {
        ListFileMenu(),
        ListEditMenu(),
        ListSortMenu(),
        M::Popup("&View", {
            M::Item(CmdGrtListNames, "&Names"),
            M::Item(CmdGrtListNamesAndNotes, "Names and N&otes"),
            M::Separator(),
            M::Item(CmdGrtListOpenGraph, "Open &Graph\tCtrl+G", "Ctrl+G"),
        }),
        M::Popup("&Utilities", {
            M::Item(CmdGrtListDatabaseNotes, "Database &Notes..."),
            M::Item(CmdGrtListColors, "Material and Oxide &Colors..."),
        }),
        M::Popup("&Print", {
            PrintPopup("&Print Graph Template", CmdGrtListPrint, CmdGrtListPrintPreview, CmdGrtListWriteToFile),
        }),
        WindowMenu(),
        HelpMenu(),
    });
}

CMenuDef GraphTypesPopupMenu()
{
    return M::Popup("", {
        M::Item(CmdGrtListEdit, "&Edit"),
        M::Item(CmdGrtListEditLimited, "Edit (&limited)"),
        M::Item(CmdGrtListOpenGraph, "Open &Graph"),
        M::Item(CmdGrtListDatabaseNotes, "Database &Notes..."),
    });
}

const char* GraphTypesCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdGrtListEdit: return "Open a new Edit view to the (first) selected graph template";
    case CmdGrtListEditLimited: return "Open a new Edit view with access only to selected graph templates";
    case CmdGrtListCut: return "Copy selected graph templates to the local clipboard, then delete them";
    case CmdGrtListCopy: return "Copy selected graph templates to the local clipboard";
    case CmdGrtListPaste: return "Copy graph templates from the local clipboard, inserting before the first selected one";
    case CmdGrtListDelete: return "Delete the selected graph templates";
    case CmdGrtListSelectAll: return "Select all graph templates in the list";
    case CmdGrtListInvertSelection: return "Change selection state of all graph templates in the list";
    case CmdGrtListInsertNew: return "Insert a new graph template before the first selected one";
    case CmdGrtListAppendNew: return "Insert a new graph template after the last selected one";
    case CmdGrtListShiftUp: return "Shift selected graph templates up in the list";
    case CmdGrtListShiftDown: return "Shift selected graph templates down in the list";
    case CmdGrtListSelectedToTop: return "Move the selected graph templates to the top of the list";
    case CmdGrtListAlphabetize: return "Alphabetize the graph template list";
    case CmdGrtListNames: return "Show graph template names";
    case CmdGrtListNamesAndNotes: return "Show graph template names and notes";
    case CmdGrtListOpenGraph: return "Open a graph of the (first) selected graph template";
    case CmdGrtListDatabaseNotes: return "View and edit graph template database notes";
    case CmdGrtListColors: return "Edit the graph colors of oxides and material types";
    case CmdGrtListSaveSelected: return "Save selected graph templates to a new database";
    case CmdGrtListMerge: return "Merge graph templates from another graph template database";
    case CmdGrtListPrint: return "Print graph template summaries";
    case CmdGrtListPrintPreview: return "Show graph template summaries in Print Preview mode";
    case CmdGrtListWriteToFile: return "Write graph template summaries to a file";
    case CmdNewGraphTypeDb: return "Start a new graph template database";
    case CmdOpenGraphTypeDb: return "Open a different graph template database";
    case CmdSaveGraphTypeDb: return "Save the graph template database";
    case CmdSaveGraphTypeDbAs: return "Save the graph template database with a new name";
    case CmdRevertGraphTypeDb: return "Revert to last saved version of graph template database";
    default: return nullptr;
    }
}

void InstallGraphTypesTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CGraphTypesView>(docTemplate);
    RegisterGraphTypesMenu();
    if (!GetGraphTemplateViews())
        SetGraphTemplateViews(&s_templateWindows);
}

// --- the editor window ----------------------------------------------------------------------------

CGraphTypeEditView* OpenGraphTypeEditView(CGraphTypesDoc& document)
{
    return OpenViewWindow<CGraphTypeEditView>(g_pGraphTypeEditTemplate, document);
}

void RegisterGraphTypeEditMenu()
{
    std::vector<CMenuDef> fileItems = DatabaseFileItems();
    AppendClosingFileItems(fileItems);
    RegisterMenuBar(kGraphTypeEditResourceId, {
        M::Popup("&File", std::move(fileItems)),
        M::Popup("&Edit", {
            M::Item(CmdGrtEditCut, "Cu&t"),
            M::Item(CmdGrtEditCopy, "&Copy"),
            M::Item(CmdGrtEditPaste, "&Paste"),
            M::Separator(),
            M::Item(CmdGrtEditSaveAsNew, "Save as &New"),
            M::Item(CmdGrtEditInsertNew, "&Insert new"),
            M::Item(CmdGrtEditAppendNew, "&Append new"),
        }),
        M::Popup("&View", {
            M::Item(CmdGrtEditPrevious, "&Previous Graph Template"),
            M::Item(CmdGrtEditNext, "&Next Graph Template"),
            M::Item(CmdGrtEditJumpTo, "&Jump to..."),
            M::Separator(),
            M::Item(CmdGrtEditLimitedAccess, "&Limited Access"),
            M::Separator(),
            M::Item(CmdGrtEditOpenGraph, "Open &Graph"),
            M::Separator(),
            M::Item(CmdGrtEditCloseView, "&Close View"),
        }),
        M::Popup("&Utilities", {
            M::Item(CmdGrtEditColors, "Material and Oxide &Colors..."),
        }),
        M::Popup("&Print", {
            PrintPopup("Print &Graph", CmdGrtEditPrintGraph, CmdGrtEditPreviewGraph, CmdGrtEditWriteGraph),
            PrintPopup("&Print Graph Template", CmdGrtEditPrintSummary, CmdGrtEditPreviewSummary,
                       CmdGrtEditWriteSummary),
        }),
        WindowMenu(),
        HelpMenu(),
    });
}

CMenuDef GraphPreviewPopupMenu()
{
    return M::Popup("", {
        M::Item(CmdGrtEditCopyGraph, "Copy Graph to &Clipboard"),
        M::Item(CmdGrtEditWriteGraphFile, "Write Graph to &File"),
    });
}

const char* GraphTypeEditCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdGrtEditCut: return "Copy graph template to the local clipboard, then close this view (does not delete from database)";
    case CmdGrtEditCopy: return "Copy graph template to the local clipboard";
    case CmdGrtEditPaste: return "Copy first graph template from the local clipboard";
    case CmdGrtEditSaveAsNew: return "Save this graph template as a new graph template in the database";
    case CmdGrtEditInsertNew: return "Insert a new graph template before the current one";
    case CmdGrtEditAppendNew: return "Insert a new graph template after the current one";
    case CmdGrtEditPrevious: return "Edit previous graph template in list";
    case CmdGrtEditNext: return "Edit next graph template in list";
    case CmdGrtEditJumpTo: return "Select a different graph template to edit";
    case CmdGrtEditLimitedAccess: return "Remove access restrictions of this Edit view";
    case CmdGrtEditCloseView: return "Close the Edit view";
    case CmdGrtEditOpenGraph: return "Open a graph of this graph template";
    case CmdGrtEditColors: return "Edit the graph colors of oxides and material types";
    case CmdGrtEditPrintGraph: return "Print the graph";
    case CmdGrtEditPreviewGraph: return "Show the graph in Print Preview mode";
    case CmdGrtEditWriteGraph:
    case CmdGrtEditWriteGraphFile: return "Write the graph to an image file or the clipboard";
    case CmdGrtEditCopyGraph: return "Copy the graph to the clipboard";
    case CmdGrtEditPrintSummary: return "Print graph template summary";
    case CmdGrtEditPreviewSummary: return "Show graph template summary in Print Preview mode";
    case CmdGrtEditWriteSummary: return "Write graph template summary to a file";
    default: return GraphTypesCommandPrompt(id);
    }
}

void InstallGraphTypeEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CGraphTypeEditView>(docTemplate);
    RegisterGraphTypeEditMenu();
    if (!GetGraphTemplateViews())
        SetGraphTemplateViews(&s_templateWindows);
}
