#include "substitutions/SubstitutionsView.h"

#include "substitutions/SubstitutionsDoc.h"

const CRecordListKind kSubstitutionsList = {
    .commands = {CmdSubListEdit, CmdSubListEditLimited, CmdSubListCut, CmdSubListCopy, CmdSubListPaste,
                 CmdSubListDelete, CmdSubListSelectAll, CmdSubListInvertSelection, CmdSubListInsertNew,
                 CmdSubListAppendNew, CmdSubListShiftUp, CmdSubListShiftDown, CmdSubListSelectedToTop,
                 CmdSubListAlphabetize, CmdSubListDatabaseNotes, CmdSubListMerge, CmdSubListSaveSelected,
                 CmdSubListHelp, CmdSubListContextHelp, CmdSubListNames, CmdSubListNamesAndNotes},
    .words = {"substitution", "substitutions", "Substitution"},
    .helpId = kSubstitutionsViewHelpId,
    .initialWidth = CSubstitutionsView::kInitialWidth,
    .initialHeight = CSubstitutionsView::kInitialHeight,
    .notesCaption = "Substitution Database Notes and Information",
    .notesHelpId = kSubstitutionNotesHelpId,
    .notesColor = "sed_bkg",
    .mergeTitle = "Merge Substitution Database...",
    .mergeHelpId = kSubstitutionMergeHelpId,
    .mergeEmptyHelpId = 0x30220,
    .mergeListColor = "sub_list",
    .saveSelectedTitle = "Save Selected Substitutions To...",
    .firstTabStop = 4,
    .shiftUpWithFirstRow = true,
};

CSubstitutionsView::CSubstitutionsView() : CRecordListView(kSubstitutionsList) {}

CSubstitutionsView::~CSubstitutionsView() = default;

CSubstitutionsDoc* CSubstitutionsView::SubstitutionsDoc() const
{
    return dynamic_cast<CSubstitutionsDoc*>(GetDocument());
}

const CStringArrayEx* CSubstitutionsView::RecordNotes(int n) const
{
    const CSubstitutionsDoc* doc = SubstitutionsDoc();
    const CSubstitution* record = doc ? doc->RecordAt(n) : nullptr;
    return record ? &record->m_notes : nullptr;
}

bool CSubstitutionsView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdSubListPrintSelected:
    case CmdSubListPreviewSelected:
    case CmdSubListWriteSelected:
        ui.Enable(GetSelCount() > 0);
        return true;
    case CmdSubListPrintTable:
    case CmdSubListPreviewTable:
    case CmdSubListWriteTable:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CSubstitutionsView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdSubListPrintSelected:
    case CmdSubListPreviewSelected:
    case CmdSubListWriteSelected:
    case CmdSubListPrintTable:
    case CmdSubListPreviewTable:
    case CmdSubListWriteTable: OnPrint(id); return true;
    default: return false;
    }
}
