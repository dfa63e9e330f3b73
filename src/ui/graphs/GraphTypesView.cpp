#include "graphs/GraphTypesView.h"

#include "framework/UpdateHint.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTypesDoc.h"

const CRecordListKind kGraphTypesList = {
    .commands = {CmdGrtListEdit, CmdGrtListEditLimited, CmdGrtListCut, CmdGrtListCopy, CmdGrtListPaste,
                 CmdGrtListDelete, CmdGrtListSelectAll, CmdGrtListInvertSelection, CmdGrtListInsertNew,
                 CmdGrtListAppendNew, CmdGrtListShiftUp, CmdGrtListShiftDown, CmdGrtListSelectedToTop,
                 CmdGrtListAlphabetize, CmdGrtListDatabaseNotes, CmdGrtListMerge, CmdGrtListSaveSelected,
                 CmdGrtListHelp, CmdGrtListContextHelp, CmdGrtListNames, CmdGrtListNamesAndNotes},
    .words = {"graph template", "graph templates", "Graph Template"},
    .helpId = kGraphTypesViewHelpId,
    .initialWidth = CGraphTypesView::kInitialWidth,
    .initialHeight = CGraphTypesView::kInitialHeight,
    .notesCaption = "Graph Template Database Notes and Information",
    .notesHelpId = kGraphNotesDialogHelpId,
    .notesColor = "sed_bkg",
    .mergeTitle = "Merge Graph Template Database...",
    .mergeHelpId = kGraphMergeDialogHelpId,
    .mergeEmptyHelpId = 0x31110,
    .mergeListColor = "grt_list",
    .saveSelectedTitle = "Save Selected Graph Templates To...",
    .firstTabStop = 2,
};

namespace {

GraphViewOpener s_graphViewOpener;

} // namespace

void SetGraphViewOpener(GraphViewOpener opener)
{
    s_graphViewOpener = std::move(opener);
}

bool OpenGraphView(CGraphTypesDoc& document, const CGraphTemplate* graphTemplate, CGlazesDoc* database, CGlaze* glaze)
{
    return s_graphViewOpener && s_graphViewOpener(document, graphTemplate, database, glaze);
}

CGraphTypesView::CGraphTypesView() : CRecordListView(kGraphTypesList)
{
    m_nViewMode = 1;
}

CGraphTypesView::~CGraphTypesView() = default;

CGraphTypesDoc* CGraphTypesView::GraphTypesDoc() const
{
    return dynamic_cast<CGraphTypesDoc*>(GetDocument());
}

const CStringArrayEx* CGraphTypesView::RecordNotes(int n) const
{
    const CGraphTypesDoc* doc = GraphTypesDoc();
    const CGraphTemplate* graphTemplate = doc ? doc->RecordAt(n) : nullptr;
    return graphTemplate ? &graphTemplate->m_notes : nullptr;
}

bool CGraphTypesView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdGrtListOpenGraph:
        ui.Enable(GetSelCount() > 0);
        return true;
    case CmdGrtListColors:
    case CmdGrtListPrint:
    case CmdGrtListPrintPreview:
    case CmdGrtListWriteToFile:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGraphTypesView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdGrtListOpenGraph: OnOpenGraph(); return true;
    case CmdGrtListColors: OnColors(); return true;
    case CmdGrtListPrint:
    case CmdGrtListPrintPreview:
    case CmdGrtListWriteToFile: OnPrint(id); return true;
    default: return false;
    }
}

void CGraphTypesView::OnOpenGraph()
{
    const std::vector<int> rows = GetSelItems();
    CGraphTypesDoc* doc = GraphTypesDoc();
    const CGraphTemplate* graphTemplate = doc && !rows.empty() ? doc->RecordAt(rows.front()) : nullptr;
    if (graphTemplate)
        OpenGraphView(*doc, graphTemplate, nullptr, nullptr);
}

void CGraphTypesView::OnColors()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (doc && EditGraphColorLists(this, *doc))
        Broadcast(HintGraphColorsChanged, 0);
}
