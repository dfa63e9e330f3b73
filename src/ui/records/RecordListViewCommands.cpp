// The shared commands of the record lists: edit windows, the in-program clipboard, new records,
// deleting, ordering, the database notes, merging another file of the kind and saving a
// selection as a new file.

#include "records/RecordListView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "records/RecordDatabaseDoc.h"
#include "shell/NamedColors.h"
#include "support/DbNotesDlg.h"
#include "support/DialogStyle.h"
#include "support/MergeDlg.h"
#include "support/MessagePath.h"

#include <QListWidget>

#include <algorithm>

namespace {

// Rows above the first new one that stay in view after a merge.
constexpr int kRowsAboveAppended = 10;
// The help topic of the merge's file question.
constexpr unsigned kMergeFileDialogHelpId = 300;

} // namespace

void CRecordListView::OnEdit()
{
    const std::vector<int> rows = GetSelItems();
    if (CRecordDatabaseDoc* doc = RecordDoc(); doc && !rows.empty())
        doc->OpenEditView(rows.front());
}

void CRecordListView::OnEditLimited()
{
    const std::vector<int> rows = GetSelItems();
    if (CRecordDatabaseDoc* doc = RecordDoc(); doc && !rows.empty())
        doc->OpenLimitedEditView(rows);
}

void CRecordListView::OnCopy()
{
    if (const CRecordDatabaseDoc* doc = RecordDoc())
        doc->CopyRecordsToClipboard(GetSelItems());
}

void CRecordListView::OnCut()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    const int top = GetTopIndex();
    if (doc && doc->CutRecords(rows, this))
        FillList(top, rows.front(), true);
}

void CRecordListView::OnDelete()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    const int top = GetTopIndex();
    if (doc && doc->DeleteRecords(rows, this))
        FillList(top, rows.front(), true);
}

void CRecordListView::OnPaste()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    const int position = rows.empty() ? 0 : rows.front();
    const int pasted = doc->PasteRecords(position, this);
    if (pasted == 0)
        return;
    FillList(GetTopIndex(), -1, true);
    SelItemRange(true, position, position + pasted - 1);
    SetCaretIndex(position, true);
}

void CRecordListView::OnInvertSelection()
{
    for (int row = 0; row < GetCount(); ++row)
        SetSel(row, !GetSel(row));
}

void CRecordListView::InsertNewAt(int position)
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc || position < 0 || position > doc->GetRecordCount())
        return;
    doc->InsertNewRecordAt(position, this);
    FillList(GetTopIndex(), position, true);
}

void CRecordListView::OnShiftUp()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    const int top = GetTopIndex();
    const std::vector<int> moved = doc->ShiftRecordsUp(rows, this);
    FillList(top, -1, false);
    Reselect(moved);
    SetCaretIndex(moved.front(), true);
}

void CRecordListView::OnShiftDown()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= RecordCount() - 1)
        return;
    const int top = GetTopIndex();
    const std::vector<int> moved = doc->ShiftRecordsDown(rows, this);
    FillList(top, -1, false);
    Reselect(moved);
    SetCaretIndex(moved.back(), true);
}

void CRecordListView::OnSelectedToTop()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    doc->MoveRecordsToTop(rows, this);
    FillList(0, -1, false);
    SelItemRange(true, 0, static_cast<int>(rows.size()) - 1);
    SetCaretIndex(0, true);
    SetTopIndex(0);
}

void CRecordListView::OnAlphabetize()
{
    if (CRecordDatabaseDoc* doc = RecordDoc()) {
        doc->AlphabetizeRecords(this);
        FillList(0, -1, false);
    }
}

void CRecordListView::OnDatabaseNotes()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(CMDIMainFrame::Instance(), m_kind.notesCaption, m_kind.notesHelpId);
    dialog.backgroundColor = GetNamedColor(m_kind.notesColor);
    dialog.databaseName = doc->GetDatabaseName();
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->GetInfoLines();
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Compared with case: a new spelling of the same name is a change the tree must show.
    doc->ChangeDatabaseNotes(dialog.databaseName, dialog.notes, this);
    SetCaption();
}

// --- merge ----------------------------------------------------------------------------------------

std::string CRecordListView::AskForMergeFile(const char* title) const
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc)
        return std::string();
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = title;
    request.filter = doc->Kind().fileFilter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    request.helpId = kMergeFileDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return std::string();
    return answer.paths.front();
}

void CRecordListView::OnMerge()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    const std::string path = AskForMergeFile(m_kind.mergeTitle);
    if (!doc || path.empty())
        return;
    const std::unique_ptr<CRecordSource> file = doc->ReadRecordFile(path);
    if (!file)
        return;
    if (file->Count() == 0) {
        AppMessageBox(MessagePath(path) + " contains no " + m_kind.words.records + "!", MsgOk | MsgIconExclamation,
                      m_kind.mergeEmptyHelpId);
        return;
    }
    std::vector<std::string> names;
    std::vector<int> existing;
    for (int i = 0; i < file->Count(); ++i) {
        names.push_back(file->NameAt(i));
        existing.push_back(doc->FindRecordByName(names.back()) >= 0 ? 1 : 0);
    }
    const CMergeChoice choice = AskWhatToMerge(path, m_kind.words.records, names, existing, true);
    if (!choice.accepted)
        return;
    // The edit windows on the records the merge replaces hold edits that would go with them: each
    // is asked first; a No keeps its record, Cancel merges nothing. Windows on other records keep
    // theirs.
    CMergePlan plan = doc->PlanMerge(*file, choice.chosen, choice.method);
    if (plan.Empty())
        return;
    if (!doc->AskMergeForms(plan)) {
        ReportMergeOutcome(path, {}, m_kind.mergeHelpId);
        return;
    }
    const CMergeCounts counts = doc->MergeRecords(*file, plan);
    ReportMergeOutcome(path, plan.Report([&file](int incoming) { return file->NameAt(incoming); }), m_kind.mergeHelpId);
    if (counts.appended + counts.replaced == 0)
        return;
    RefillAfterMerge(counts.appended, counts.oldCount);
    doc->AnnounceMerge(counts, this);
    if (choice.sortAfter)
        SortAfterMerge();
}

CRecordListView::CMergeChoice CRecordListView::AskWhatToMerge(const std::string& path, const char* kindWord,
                                                               const std::vector<std::string>& names,
                                                               const std::vector<int>& existing, bool offerSort)
{
    CMergeDlg dialog(this, m_kind.mergeHelpId);
    dialog.sourceName = path;
    dialog.kindWord = kindWord;
    dialog.showSortOption = offerSort ? 1 : 0;
    dialog.names.assign(names.begin(), names.end());
    dialog.flags = existing;
    if (QListWidget* list = dialog.List()) {
        QPalette colors = list->palette();
        colors.setColor(QPalette::Base, ToQColor(GetNamedColor(m_kind.mergeListColor)));
        list->setPalette(colors);
    }
    CMergeChoice choice;
    if (dialog.exec() != QDialog::Accepted)
        return choice;
    choice.accepted = true;
    for (int i = 0; i < static_cast<int>(names.size()) && i < static_cast<int>(dialog.flags.size()); ++i) {
        if (dialog.flags[static_cast<std::size_t>(i)])
            choice.chosen.push_back(i);
    }
    choice.method = dialog.method;
    choice.sortAfter = dialog.sortAfterMerge != 0;
    return choice;
}

void CRecordListView::RefillAfterMerge(int appended, int oldCount)
{
    if (appended > 0)
        FillList(std::max(oldCount - kRowsAboveAppended, 0), oldCount, true);
    else
        FillList(0, 0, true);
}

void CRecordListView::OnSaveSelected()
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = m_kind.saveSelectedTitle;
    request.defaultExtension = doc->Kind().defaultExtension;
    request.filter = doc->Kind().fileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = doc->Kind().saveDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        doc->SaveRecordsAs(answer.paths.front(), rows);
}
