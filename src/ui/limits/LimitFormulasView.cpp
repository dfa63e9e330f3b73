#include "limits/LimitFormulasView.h"

#include "framework/UpdateHint.h"
#include "limits/Limit.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/OxideCombosDlg.h"

const CRecordListKind kLimitFormulasList = {
    .commands = {CmdLimListEdit, CmdLimListEditLimited, CmdLimListCut, CmdLimListCopy, CmdLimListPaste,
                 CmdLimListDelete, CmdLimListSelectAll, CmdLimListInvertSelection, CmdLimListInsertNew,
                 CmdLimListAppendNew, CmdLimListShiftUp, CmdLimListShiftDown, CmdLimListSelectedToTop,
                 CmdLimListAlphabetize, CmdLimListDatabaseNotes, CmdLimListMergeFormulas, CmdLimListSaveSelected,
                 CmdLimListHelp, CmdLimListContextHelp, CmdLimListNames, CmdLimListNamesAndNotes},
    .words = {"limit formula", "limit formulas", "Limit Formula"},
    .helpId = kLimitFormulasViewHelpId,
    .initialWidth = CLimitFormulasView::kInitialWidth,
    .initialHeight = CLimitFormulasView::kInitialHeight,
    .notesCaption = "Limit Formula Database Notes and Information",
    .notesHelpId = kLimitNotesDialogHelpId,
    .notesColor = "led_tab",
    .mergeTitle = "Merge Limit Formulas...",
    .mergeHelpId = kLimitMergeDialogHelpId,
    .mergeEmptyHelpId = 0x30220,
    .mergeListColor = "lim_list",
    .saveSelectedTitle = "Save Selected Limit Formulas To...",
};

CLimitFormulasView::CLimitFormulasView() : CRecordListView(kLimitFormulasList) {}

CLimitFormulasView::~CLimitFormulasView() = default;

CLimitFormulasDoc* CLimitFormulasView::LimitFormulasDoc() const
{
    return dynamic_cast<CLimitFormulasDoc*>(GetDocument());
}

const CStringArrayEx* CLimitFormulasView::RecordNotes(int n) const
{
    const CLimitFormulasDoc* doc = LimitFormulasDoc();
    const CLimitFormula* formula = doc ? doc->RecordAt(n) : nullptr;
    return formula ? &formula->m_notes : nullptr;
}

bool CLimitFormulasView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdLimListUnion:
    case CmdLimListIntersection:
        ui.Enable(GetSelCount() > 0);
        return true;
    case CmdLimListOxideCombinations:
    case CmdLimListMergeCombinations:
    case CmdLimListPrint:
    case CmdLimListPrintPreview:
    case CmdLimListWriteToFile:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CLimitFormulasView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdLimListOxideCombinations: OnOxideCombinations(); return true;
    case CmdLimListUnion: OnCombine(CLimit::kUnion); return true;
    case CmdLimListIntersection: OnCombine(CLimit::kIntersection); return true;
    case CmdLimListMergeCombinations: OnMergeCombinations(); return true;
    case CmdLimListPrint:
    case CmdLimListPrintPreview:
    case CmdLimListWriteToFile: OnPrint(id); return true;
    default: return false;
    }
}

void CLimitFormulasView::OnCombine(int mode)
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const int position = doc->Database().CombineFormulas(rows, mode);
    if (position < 0)
        return;
    doc->SetModifiedFlag();
    FillList(GetTopIndex(), position, true);
    Broadcast(HintLimitFormulasInserted, position);
}

void CLimitFormulasView::OnOxideCombinations()
{
    if (CLimitFormulasDoc* doc = LimitFormulasDoc())
        EditOxideCombinations(this, *doc, this);
}
