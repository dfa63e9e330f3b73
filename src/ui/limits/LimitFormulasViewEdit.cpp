// The record commands of the limit-formulas list: edit forms, the in-program clipboard, new
// formulas, deleting, ordering and combining.

#include "limits/LimitFormulasView.h"

#include "framework/UpdateHint.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/Clipboards.h"
#include "support/DbFileType.h"

#include <algorithm>

void CLimitFormulasView::OnEdit()
{
    const std::vector<int> rows = GetSelItems();
    if (CLimitFormulasDoc* doc = LimitFormulasDoc(); doc && !rows.empty())
        doc->OpenEditView(rows.front());
}

void CLimitFormulasView::OnEditLimited()
{
    const std::vector<int> rows = GetSelItems();
    if (CLimitFormulasDoc* doc = LimitFormulasDoc(); doc && !rows.empty())
        doc->OpenLimitedEditView(rows);
}

void CLimitFormulasView::OnCopy()
{
    const CLimitFormulaDB* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CopyRowsToClipboard(g_limitFormulaClipboard, rows, [database](int row) -> const CLimitFormula* {
        return row < database->GetCount() ? &database->GetAt(row) : nullptr;
    });
}

void CLimitFormulasView::OnCut()
{
    const CLimitFormulaDB* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CutRowsToClipboard(
        g_limitFormulaClipboard, rows,
        [database](int row) -> const CLimitFormula* {
            return row < database->GetCount() ? &database->GetAt(row) : nullptr;
        },
        [this] { OnDelete(); });
}

void CLimitFormulasView::OnPaste()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CPasteTarget target;
    target.sender = this;
    target.document = doc;
    target.kind = DbFileType::LimitFormulas;
    target.position = rows.empty() ? 0 : rows.front();
    target.count = doc->Database().GetCount();
    const int pasted = PasteFromClipboard(g_limitFormulaClipboard, target, [doc](int index, const CLimitFormula& formula) {
        doc->InsertFormula(index, formula);
    });
    if (pasted == 0)
        return;
    FillList(GetTopIndex(), -1, true);
    SelItemRange(true, target.position, target.position + pasted - 1);
    SetCaretIndex(target.position, true);
}

void CLimitFormulasView::OnDelete()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        doc->RemoveFormula(*it);
    FillList(top, rows.front(), true);
    Broadcast(HintLimitFormulasDeleted, rows.front());
}

void CLimitFormulasView::OnInvertSelection()
{
    for (int row = 0; row < GetCount(); ++row)
        SetSel(row, !GetSel(row));
}

void CLimitFormulasView::InsertNewAt(int position)
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc || position < 0 || position > doc->Database().GetCount())
        return;
    doc->InsertFormula(position, CLimitFormula("new limit formula"));
    FillList(GetTopIndex(), position, true);
    Broadcast(HintLimitFormulasInserted, position);
}

void CLimitFormulasView::OnShiftUp()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    const int top = GetTopIndex();
    for (int& row : rows) {
        doc->SwapRecords(row - 1, row);
        --row;
        Broadcast(HintLimitFormulasReordered, row);
    }
    FillList(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.front(), true);
}

void CLimitFormulasView::OnShiftDown()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= FormulaCount() - 1)
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        doc->SwapRecords(*it, *it + 1);
        ++*it;
        Broadcast(HintLimitFormulasReordered, *it);
    }
    FillList(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.back(), true);
}

void CLimitFormulasView::OnSelectedToTop()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    // Rows ascend: each moved formula goes in front of every later selected one, so the later
    // rows keep their indices until their own turn.
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        if (rows[static_cast<std::size_t>(k)] != k)
            doc->MoveRecord(rows[static_cast<std::size_t>(k)], k);
    }
    FillList(0, -1, false);
    SelItemRange(true, 0, static_cast<int>(rows.size()) - 1);
    SetCaretIndex(0, true);
    SetTopIndex(0);
    Broadcast(HintLimitFormulasReordered, 0);
}

void CLimitFormulasView::OnAlphabetize()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    doc->Alphabetize();
    FillList(0, -1, false);
    Broadcast(HintLimitFormulasReordered, 0);
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
