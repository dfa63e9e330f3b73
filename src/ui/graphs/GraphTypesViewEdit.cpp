// The record commands of the graph-templates list: editors and graphs, the in-program clipboard,
// new templates, deleting and ordering.

#include "graphs/GraphTypesView.h"

#include "framework/UpdateHint.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesDoc.h"
#include "shell/Clipboards.h"
#include "support/DbFileType.h"

void CGraphTypesView::OnEdit()
{
    const std::vector<int> rows = GetSelItems();
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || rows.empty())
        return;
    if (CGraphTypeEditView* editor = OpenGraphTypeEditView(*doc))
        editor->LoadTemplate(rows.front());
}

void CGraphTypesView::OnEditLimited()
{
    const std::vector<int> rows = GetSelItems();
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || rows.empty())
        return;
    if (CGraphTypeEditView* editor = OpenGraphTypeEditView(*doc))
        editor->StartSubset(rows);
}

void CGraphTypesView::OnOpenGraph()
{
    const std::vector<int> rows = GetSelItems();
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || rows.empty() || rows.front() >= TemplateCount())
        return;
    OpenGraphView(*doc, &doc->Database().GetAt(rows.front()), nullptr, nullptr);
}

void CGraphTypesView::OnCopy()
{
    const CGraphTemplateDatabase* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CopyRowsToClipboard(g_graphTemplateClipboard, rows, [database](int row) -> const CGraphTemplate* {
        return row < database->GetCount() ? &database->GetAt(row) : nullptr;
    });
}

void CGraphTypesView::OnCut()
{
    const CGraphTemplateDatabase* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CutRowsToClipboard(
        g_graphTemplateClipboard, rows,
        [database](int row) -> const CGraphTemplate* {
            return row < database->GetCount() ? &database->GetAt(row) : nullptr;
        },
        [this] { OnDelete(); });
}

void CGraphTypesView::OnPaste()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CPasteTarget target;
    target.sender = this;
    target.document = doc;
    target.kind = DbFileType::GraphTemplates;
    target.position = rows.empty() ? 0 : rows.front();
    target.count = doc->Database().GetCount();
    const int pasted =
        PasteFromClipboard(g_graphTemplateClipboard, target, [doc](int index, const CGraphTemplate& graphTemplate) {
            doc->InsertTemplate(index, graphTemplate);
        });
    if (pasted == 0)
        return;
    Fill(GetTopIndex(), -1, true);
    SelItemRange(true, target.position, target.position + pasted - 1);
    SetCaretIndex(target.position, true);
}

void CGraphTypesView::OnDelete()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        doc->RemoveTemplate(*it);
    Fill(top, rows.front(), true);
    Broadcast(HintGraphTemplatesDeleted, rows.front());
}

void CGraphTypesView::OnInvertSelection()
{
    for (int row = 0; row < GetCount(); ++row)
        SetSel(row, !GetSel(row));
}

void CGraphTypesView::InsertNewAt(int position)
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || position < 0 || position > doc->Database().GetCount())
        return;
    doc->InsertTemplate(position, NewGraphTemplate());
    Fill(GetTopIndex(), position, true);
    Broadcast(HintGraphTemplatesInserted, position);
}

void CGraphTypesView::OnShiftUp()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    const int top = GetTopIndex();
    for (int& row : rows) {
        doc->SwapRecords(row - 1, row);
        --row;
        Broadcast(HintGraphTemplatesReordered, row);
    }
    Fill(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.front(), true);
}

void CGraphTypesView::OnShiftDown()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= TemplateCount() - 1)
        return;
    const int top = GetTopIndex();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        doc->SwapRecords(*it, *it + 1);
        Broadcast(HintGraphTemplatesReordered, *it); // the row the template left
        ++*it;
    }
    Fill(top, -1, false);
    Reselect(rows);
    SetCaretIndex(rows.back(), true);
}

void CGraphTypesView::OnSelectedToTop()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    // Rows ascend: each moved template goes in front of every later selected one, so the later
    // rows keep their indices until their own turn.
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        if (rows[static_cast<std::size_t>(k)] != k)
            doc->MoveRecord(rows[static_cast<std::size_t>(k)], k);
    }
    Fill(0, -1, false);
    SelItemRange(true, 0, static_cast<int>(rows.size()) - 1);
    SetCaretIndex(0, true);
    SetTopIndex(0);
    Broadcast(HintGraphTemplatesReordered, 0);
}

void CGraphTypesView::OnAlphabetize()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    doc->Alphabetize();
    Fill(0, -1, false);
    Broadcast(HintGraphTemplatesReordered, 0);
}
