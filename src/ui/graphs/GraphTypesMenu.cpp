// The menu bars of the graph-template windows (list: resource 15, editor: resource 16), their
// pop-up menus and status-bar prompts, the editor windows as the list and the graph views open
// them, and how the document tells editors and graph views apart.

#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"

#include "framework/DocTemplate.h"
#include "framework/MenuDef.h"
#include "graphs/GraphTypesDoc.h"
#include "shell/AppCommandIds.h"
#include "records/RecordEditWindows.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewGraphTypeDb, CmdOpenGraphTypeDb, CmdSaveGraphTypeDb,
                                               CmdSaveGraphTypeDbAs, CmdRevertGraphTypeDb};
constexpr CRecordEditCommands kEditCommands = {
    CmdGrtEditPrintSummary, CmdGrtEditPreviewSummary, CmdGrtEditWriteSummary, CmdGrtEditCut,
    CmdGrtEditCopy,         CmdGrtEditPaste,          CmdGrtEditSaveAsNew,    CmdGrtEditInsertNew,
    CmdGrtEditAppendNew,    CmdGrtEditPrevious,       CmdGrtEditNext,         CmdGrtEditJumpTo,
    CmdGrtEditLimitedAccess, CmdGrtEditCloseView};

const CRecordWords& Words()
{
    return kGraphTypesList.words;
}

// Editor windows are second windows on the one graph-templates document; graph views take part
// by deriving from CGraphViewLink.
class CGraphTemplateWindows
    : public CRecordEditWindows<CGraphTypeEditView, CGraphTypesDoc, CGraphTemplateViews> {
public:
    CGraphViewLink* AsGraphView(CView* view) override { return dynamic_cast<CGraphViewLink*>(view); }
};

CGraphTemplateWindows s_templateWindows;

// Until the template is destroyed, when no graph view windows took the part already.
void InstallTemplateWindows(CDocTemplate& docTemplate)
{
    if (GetGraphTemplateViews())
        return;
    SetGraphTemplateViews(&s_templateWindows);
    docTemplate.AtDestruction([] {
        if (GetGraphTemplateViews() == &s_templateWindows)
            SetGraphTemplateViews(nullptr);
    });
}

} // namespace

// --- the list window ------------------------------------------------------------------------------

void RegisterGraphTypesMenu()
{
    const CRecordListCommands& c = kGraphTypesList.commands;
    std::vector<CMenuDef> view = RecordListNameViewItems(c);
    view.push_back(M::Separator());
    view.push_back(M::Item(CmdGrtListOpenGraph, "Open &Graph\tCtrl+G", "Ctrl+G"));
    RegisterMenuBar(kGraphTypesResourceId, {
        RecordFileMenu(kFileCommands, Words(), {
            M::Item(CmdGrtListSaveSelected, "Save Se&lected As..."),
            M::Item(CmdGrtListMerge, "&Merge Graph Template Database..."),
        }),
        M::Popup("&Edit", RecordListEditItems(c, true)),
        M::Popup("Sor&t", RecordListSortItems(c, true)),
        M::Popup("&View", std::move(view)),
        M::Popup("&Utilities", {
            M::Item(CmdGrtListDatabaseNotes, "Database &Notes..."),
            M::Item(CmdGrtListColors, "Material and Oxide &Colors..."),
        }),
        M::Popup("&Print", {
            M::PrintPopup("&Print Graph Template", CmdGrtListPrint, CmdGrtListPrintPreview, CmdGrtListWriteToFile),
        }),
        M::WindowPopup(),
        HelpMenu(CmdShellHelp),
    });
}

CMenuDef GraphTypesPopupMenu()
{
    return RecordListPopupMenu(kGraphTypesList.commands, {M::Item(CmdGrtListOpenGraph, "Open &Graph")});
}

const char* GraphTypesCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdGrtListOpenGraph: return "Open a graph of the (first) selected graph template";
    case CmdGrtListColors: return "Edit the graph colors of oxides and material types";
    case CmdGrtListPrint: return "Print graph template summaries";
    case CmdGrtListPrintPreview: return "Show graph template summaries in Print Preview mode";
    case CmdGrtListWriteToFile: return "Write graph template summaries to a file";
    default: break;
    }
    if (const char* prompt = RecordListCommandPrompt(kGraphTypesList, id))
        return prompt;
    return RecordFileCommandPrompt(kFileCommands, Words(), id);
}

void InstallGraphTypesTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CGraphTypesView>(docTemplate);
    RegisterGraphTypesMenu();
    InstallTemplateWindows(docTemplate);
}

// --- the editor window ----------------------------------------------------------------------------

CGraphTypeEditView* OpenGraphTypeEditView(CGraphTypesDoc& document)
{
    return s_templateWindows.Create(document);
}

void RegisterGraphTypeEditMenu()
{
    RegisterMenuBar(kGraphTypeEditResourceId, {
        RecordFileMenu(kFileCommands, Words(), {}),
        RecordEditEditMenu(kEditCommands),
        RecordEditViewMenu(kEditCommands, Words(), {M::Item(CmdGrtEditOpenGraph, "Open &Graph")}),
        M::Popup("&Utilities", {
            M::Item(CmdGrtEditColors, "Material and Oxide &Colors..."),
        }),
        M::Popup("&Print", {
            M::PrintPopup("Print &Graph", CmdGrtEditPrintGraph, CmdGrtEditPreviewGraph, CmdGrtEditWriteGraph),
            M::PrintPopup("&Print Graph Template", CmdGrtEditPrintSummary, CmdGrtEditPreviewSummary,
                       CmdGrtEditWriteSummary),
        }),
        M::WindowPopup(),
        HelpMenu(CmdShellHelp),
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
    case CmdGrtEditOpenGraph: return "Open a graph of this graph template";
    case CmdGrtEditColors: return "Edit the graph colors of oxides and material types";
    case CmdGrtEditPrintGraph: return "Print the graph";
    case CmdGrtEditPreviewGraph: return "Show the graph in Print Preview mode";
    case CmdGrtEditWriteGraph:
    case CmdGrtEditWriteGraphFile: return "Write the graph to an image file or the clipboard";
    case CmdGrtEditCopyGraph: return "Copy the graph to the clipboard";
    default: break;
    }
    if (const char* prompt = RecordEditCommandPrompt(kEditCommands, Words(), id))
        return prompt;
    return GraphTypesCommandPrompt(id);
}

void InstallGraphTypeEditTemplate(CDocTemplate& docTemplate)
{
    s_templateWindows.SetTemplate(&docTemplate);
    docTemplate.AtDestruction([docTemplate = &docTemplate] {
        if (s_templateWindows.Template() == docTemplate)
            s_templateWindows.SetTemplate(nullptr);
    });
    InstallViewFactory<CGraphTypeEditView>(docTemplate);
    RegisterGraphTypeEditMenu();
    InstallTemplateWindows(docTemplate);
}
