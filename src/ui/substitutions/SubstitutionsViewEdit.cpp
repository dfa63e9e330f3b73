// The record commands of the substitution list: edit views, the in-program clipboard, new
// records, deleting and ordering.

#include "substitutions/SubstitutionsView.h"

#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbFileType.h"

CSubstitutionEditView* CSubstitutionsView::OpenEditView()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    // Edit windows are second windows on the one document, made through the edit template.
    CDocTemplate* editTemplate = g_pSubstitutionEditTemplate;
    if (!doc || !mainFrame || !editTemplate)
        return nullptr;
    auto* view = new CSubstitutionEditView();
    CMDIChildFrame* frame = mainFrame->CreateChildFrame(*editTemplate, *doc, view, view, true);
    if (!frame)
        return nullptr;
    view->OnInitialUpdate();
    frame->ActivateFrame();
    return view;
}

void CSubstitutionsView::OnEdit()
{
    const std::vector<int> rows = GetSelItems();
    if (rows.empty())
        return;
    if (CSubstitutionEditView* view = OpenEditView())
        view->LoadRecord(rows.front());
}

void CSubstitutionsView::OnEditLimited()
{
    const std::vector<int> rows = GetSelItems();
    if (rows.empty())
        return;
    if (CSubstitutionEditView* view = OpenEditView())
        view->SetLimitedSelection(rows.data(), static_cast<int>(rows.size()));
}

void CSubstitutionsView::OnCopy()
{
    const CSubstitutionList* database = Database();
    if (!database)
        return;
    CopyRowsToClipboard(g_substitutionClipboard, GetSelItems(), [database](int row) { return database->GetAt(row); });
}

void CSubstitutionsView::OnCut()
{
    const CSubstitutionList* database = Database();
    if (!database)
        return;
    CutRowsToClipboard(
        g_substitutionClipboard, GetSelItems(), [database](int row) { return database->GetAt(row); },
        [this] { OnDelete(); });
}

void CSubstitutionsView::OnPaste()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CPasteTarget target;
    target.sender = this;
    target.document = doc;
    target.kind = DbFileType::Substitutions;
    target.position = rows.empty() ? 0 : rows.front();
    target.count = RecordCount();
    const int pasted = PasteFromClipboard(g_substitutionClipboard, target, [doc](int index, const CSubstitution& record) {
        doc->InsertRecord(index, record);
    });
    if (pasted == 0)
        return;
    FillList(GetTopIndex(), -1, true);
    SelItemRange(true, target.position, target.position + pasted - 1);
    SetCaretIndex(target.position, true);
}

void CSubstitutionsView::OnDelete()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        doc->RemoveRecord(*it);
    FillList(top, rows.front(), true);
    Broadcast(HintSubstitutionsDeleted, rows.front());
}

void CSubstitutionsView::OnInvertSelection()
{
    for (int row = 0; row < GetCount(); ++row)
        SetSel(row, !GetSel(row));
}

void CSubstitutionsView::InsertNewAt(int position)
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc || position < 0 || position > RecordCount())
        return;
    doc->InsertRecord(position, CSubstitution(kNewSubstitutionName));
    FillList(GetTopIndex(), position, true);
    Broadcast(HintSubstitutionsInserted, position);
}

void CSubstitutionsView::OnShiftUp()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    const int top = GetTopIndex();
    for (int& row : rows) {
        doc->SwapRecords(row - 1, row);
        --row;
        Broadcast(HintSubstitutionsReordered, row);
    }
    FillList(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.front(), true);
}

void CSubstitutionsView::OnShiftDown()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= RecordCount() - 1)
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        doc->SwapRecords(*it, *it + 1);
        ++*it;
        Broadcast(HintSubstitutionsReordered, *it);
    }
    FillList(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.back(), true);
}

void CSubstitutionsView::OnSelectedToTop()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    // Rows ascend: each moved record goes in front of every later selected one, so the later
    // rows keep their indices until their own turn.
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        if (rows[static_cast<std::size_t>(k)] != k)
            doc->MoveRecord(rows[static_cast<std::size_t>(k)], k);
    }
    FillList(0, -1, false);
    SelItemRange(true, 0, static_cast<int>(rows.size()) - 1);
    SetCaretIndex(0, true);
    SetTopIndex(0);
    Broadcast(HintSubstitutionsReordered, 0);
}

void CSubstitutionsView::OnAlphabetize()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    doc->Alphabetize();
    FillList(0, -1, false);
    Broadcast(HintSubstitutionsReordered, 0);
}
