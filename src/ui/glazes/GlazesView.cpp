#include "glazes/GlazesView.h"

#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeTextOutput.h"
#include "glazes/GlazesViewRows.h"
#include "glazes/MakeLimitFormula.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/Services.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
// Pixels before the first column and between columns.
constexpr int kFirstStop = 4;
constexpr int kColumnGap = 16;

} // namespace

CGlazesView::CGlazesView()
{
    SetExtendedSelection(true);
}

CGlazesView::~CGlazesView()
{
    if (CGlazesDoc* doc = GlazesDoc(); doc && doc->GetListView() == this)
        doc->SetListView(nullptr, nullptr);
}

CGlazesDoc* CGlazesView::GlazesDoc() const
{
    return dynamic_cast<CGlazesDoc*>(GetDocument());
}

int CGlazesView::GlazeCount() const
{
    const CGlazesDoc* doc = GlazesDoc();
    return doc ? doc->GetGlazeCount() : 0;
}

bool CGlazesView::IsThisDocument(const CUpdateHint& hint) const
{
    return hint.m_pObject != nullptr && hint.m_pObject == GetDocument();
}

void CGlazesView::Broadcast(int code, int index, const void* extra)
{
    COxidariumApp::BroadcastUpdate(this, GlazesDoc(), kGlazesKind, code, index, HintExtra(extra));
}

void CGlazesView::SetCaption()
{
    if (const CGlazesDoc* doc = GlazesDoc())
        SetDocumentCaption(*this, doc->GetDbName());
}

void CGlazesView::OnInitialUpdate()
{
    if (CGlazesDoc* doc = GlazesDoc())
        doc->SetListView(this, this);
    SetCaption();
    CListView31::OnInitialUpdate();
    // The frame already stands at the next cascade position; it only gets the list's size.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->resize(kInitialWidth, kInitialHeight);
    FillList(0, -1, true);
}

void CGlazesView::DropAllAnalyses()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    for (int i = 0; i < doc->GetGlazeCount(); ++i)
        doc->GetGlaze(i)->InvalidateAnalysis();
}

// --- rows -----------------------------------------------------------------------------------------

int CGlazesView::FillList(int top, int select, bool relayout)
{
    CBusyScope busy;
    ResetContent();
    const int count = GlazeCount();
    if (count > 0) {
        // Rows are built as they are first drawn: a table of 100,000 analyses fills at once
        // and analyses only the glazes in view. Their widths are known without them.
        if (m_nListFormat >= kGlazeTableFirstFormat) {
            std::vector<int> entries;
            if (!GlazeTableEntries(entries)) {
                // Nothing to tabulate: the normal view takes over.
                m_nListFormat = 0;
                return FillList(top, select, true);
            }
            if (relayout)
                SetTableTabStops(m_nListFormat, entries);
            AddRows(count, [this, format = m_nListFormat, entries](int row) {
                const CGlaze* glaze = GlazeAt(row);
                return glaze ? GlazeTableRow(*glaze, format, entries) : std::string();
            });
        } else {
            std::vector<int> columns;
            CGlazeColumnFlags present{};
            ParseColumnLayout(GlazeListLayout(m_nListFormat), columns, present);
            if (relayout)
                SetColumnTabStops(columns);
            AddRows(count, [this, columns](int row) {
                const CGlaze* glaze = GlazeAt(row);
                return glaze ? GlazeColumnRow(*glaze, columns) : std::string();
            });
        }
    }
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
    if (select >= 0 && GetCount() > 0) {
        select = std::min(select, GetCount() - 1);
        SetSel(select, true);
        SetCaretQuietly(select);
    }
    return 1;
}

const CGlaze* CGlazesView::GlazeAt(int row) const
{
    const CGlazesDoc* doc = GlazesDoc();
    return doc ? doc->GetGlaze(row) : nullptr;
}

void CGlazesView::SetCaretQuietly(int row)
{
    if (row < 0 || row >= GetCount())
        return;
    const bool autoScrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    setAutoScroll(autoScrolls);
}

void CGlazesView::SetColumnTabStops(std::span<const int> columns)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    std::vector<int> positions{kFirstStop};
    std::vector<std::string> cells;
    for (int column : columns) {
        int widest = 0;
        if (IsMeasuredGlazeColumn(column)) {
            cells.clear();
            for (int i = 0; i < doc->GetGlazeCount(); ++i)
                cells.push_back(GlazeListCell(*doc->GetGlaze(i), column));
            widest = WidestText(cells);
        } else {
            widest = TextWidth(GlazeColumnSample(column));
        }
        positions.push_back(positions.back() + widest + kColumnGap);
    }
    std::vector<int> stops;
    for (std::size_t i = 0; i < columns.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

void CGlazesView::SetTableTabStops(int format, std::span<const int> entries)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(doc->GetGlazeCount()));
    for (int i = 0; i < doc->GetGlazeCount(); ++i)
        names.push_back(doc->GetGlaze(i)->m_name);
    std::vector<int> positions{kFirstStop, WidestText(names) + 8};
    positions.push_back(positions.back() + TextWidth(GlazeTableMarker(format)) + 4);
    for (int entry : entries)
        positions.push_back(positions.back() + 4 + TextWidth(GlazeTableSampleCell(format, entry)));
    std::vector<int> stops;
    for (std::size_t i = 0; i + 1 < positions.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

void CGlazesView::Reselect(const std::vector<int>& rows)
{
    SelectRows(rows); // rows beyond the new end select nothing
}

void CGlazesView::RefillKeepingSelection()
{
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    FillList(0, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretQuietly(caret);
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
}

void CGlazesView::SetListFormat(int format)
{
    if (format == m_nListFormat || format < 0 || format >= kGlazeListFormats)
        return;
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    m_nListFormat = format;
    FillList(top, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretQuietly(caret);
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
}

// --- selection ------------------------------------------------------------------------------------

void CGlazesView::AppendSelectedGlazes(std::vector<CGlaze*>& glazes)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    for (int row : GetSelItems()) {
        if (CGlaze* glaze = doc->GetGlaze(row))
            glazes.push_back(glaze);
    }
}

void CGlazesView::DeselectAll()
{
    SetSel(-1, false);
}

void CGlazesView::SelectGlaze(int n)
{
    if (n >= 0 && n < GlazeCount() && n < GetCount())
        SetSel(n, true);
}

void CGlazesView::AccumulateVariableStats(CMakeLimitFormulaRequest& request)
{
    if (CGlazesDoc* doc = GlazesDoc())
        AccumulateGlazeStats(*doc, request);
}

// --- notices --------------------------------------------------------------------------------------

void CGlazesView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    const int top = GetTopIndex();
    switch (hint->m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReplaced:
        DropAllAnalyses();
        FillList(top, -1, true);
        break;
    case HintMaterialChanged:
        if (!m_bFrozen) {
            DropAllAnalyses();
            FillList(top, -1, true);
        }
        break;
    case HintGlazeChanged:
        if (!m_bFrozen && IsThisDocument(*hint))
            FillList(top, hint->m_nIndex, true);
        break;
    case HintGlazesInserted:
    case HintGlazesDeleted:
        if (IsThisDocument(*hint))
            FillList(top, hint->m_nIndex, false);
        break;
    case HintGlazesReplaced:
        if (IsThisDocument(*hint)) {
            SetCaption();
            FillList(0, -1, true);
        }
        break;
    case HintPreferencesChanged:
        DropAllAnalyses();
        RefillKeepingSelection();
        break;
    case HintBringFrameForward:
    case HintBringFrameForwardWithNotes:
        if (CFrameHost* frame = GetFrame()) {
            frame->MinimizeFrame();
            frame->ActivateFrame();
        }
        if (hint->m_nCode == HintBringFrameForwardWithNotes)
            OnDatabaseNotes();
        break;
    case HintBulkChangeBegins:
        m_bFrozen = true;
        break;
    case HintBulkChangeEndsRefreshAll:
        m_bFrozen = false;
        DropAllAnalyses();
        FillList(top, -1, true);
        break;
    case HintBulkChangeEndsRefreshDocument:
        m_bFrozen = false;
        if (IsThisDocument(*hint))
            FillList(top, hint->m_nIndex, true);
        break;
    default:
        break;
    }
}

// --- mouse ----------------------------------------------------------------------------------------

CMenuDef CGlazesView::PopupMenu() const
{
    return GlazesPopupMenu();
}

bool CGlazesView::OnLeftDoubleClick(const QPoint& /*position*/)
{
    RunCommand(CmdGlzEdit);
    return true;
}
