#include "records/RecordListView.h"

#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "records/RecordDatabaseDoc.h"
#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <algorithm>

namespace {

// Pixels between the widest name and the notes.
constexpr int kNameGap = 20;

} // namespace

CRecordListView::CRecordListView(const CRecordListKind& kind) : m_kind(kind)
{
    SetExtendedSelection(true);
}

CRecordDatabaseDoc* CRecordListView::RecordDoc() const
{
    return dynamic_cast<CRecordDatabaseDoc*>(GetDocument());
}

int CRecordListView::RecordCount() const
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    return doc ? doc->GetRecordCount() : 0;
}

void CRecordListView::Broadcast(int code, int index, const void* record)
{
    if (CRecordDatabaseDoc* doc = RecordDoc())
        doc->Announce(code, index, this, record);
}

void CRecordListView::SetCaption()
{
    if (const CRecordDatabaseDoc* doc = RecordDoc())
        SetDocumentCaption(*this, doc->GetDatabaseName());
}

void CRecordListView::OnInitialUpdate()
{
    SetCaption();
    CListView31::OnInitialUpdate();
    // The frame already stands at the next cascade position; it gets the list's size and waits
    // minimised until the user wants it.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame())) {
        frame->resize(m_kind.initialWidth, m_kind.initialHeight);
        frame->MinimizeFrame();
    }
    FillList(0, -1, true);
}

// --- rows -----------------------------------------------------------------------------------------

std::string CRecordListView::RowText(int n) const
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc || n < 0 || n >= doc->GetRecordCount())
        return std::string();
    const std::string name = doc->GetRecordName(n);
    const CStringArrayEx* notes = RecordNotes(n);
    if (m_nViewMode != 1 || !notes)
        return name;
    std::string joined;
    notes->JoinWrapped(joined, kNotesWidth);
    return name + "\t" + joined;
}

void CRecordListView::MeasureTabStops()
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    std::vector<std::string> names;
    std::vector<std::string> notes;
    for (int i = 0; doc && i < doc->GetRecordCount(); ++i) {
        names.push_back(doc->GetRecordName(i));
        const CStringArrayEx* lines = RecordNotes(i);
        if (m_nViewMode == 1 && lines)
            lines->JoinWrapped(notes.emplace_back(), kNotesWidth);
    }
    const int notesStart = WidestText(names) + kNameGap;
    std::vector<int> stops;
    if (m_kind.firstTabStop > 0)
        stops.push_back(m_kind.firstTabStop);
    stops.push_back(PixelsToDialogUnits(notesStart));
    SetTabStops(stops);
    SetHorizontalExtent(notesStart + WidestText(notes) + TextMargin() * 2);
}

void CRecordListView::FillList(int top, int select, bool setTabStops)
{
    ResetContent();
    if (setTabStops)
        MeasureTabStops();
    PrepareRows();
    AddRows(RecordCount(), [this](int row) { return RowText(row); });
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
    if (select >= 0 && GetCount() > 0) {
        select = std::min(select, GetCount() - 1);
        SetSel(select, true);
        SetCaretQuietly(select);
    }
}

void CRecordListView::SetCaretQuietly(int row)
{
    if (row < 0 || row >= GetCount())
        return;
    const bool autoScrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    setAutoScroll(autoScrolls);
}

void CRecordListView::Reselect(const std::vector<int>& rows)
{
    SelectRows(rows); // rows beyond the new end select nothing
}

void CRecordListView::RefillKeepingSelection()
{
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    FillList(top, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretIndex(caret, true);
    if (top < GetCount())
        SetTopIndex(top);
}

void CRecordListView::SetViewMode(int mode)
{
    if (mode == m_nViewMode)
        return;
    m_nViewMode = mode;
    RefillKeepingSelection();
}

// --- notices --------------------------------------------------------------------------------------

void CRecordListView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    const CRecordDatabaseDoc* doc = RecordDoc();
    if (!hint || !doc) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    const CRecordHintCodes& codes = doc->Kind().hints;
    const int code = hint->m_nCode;
    // The database tree sends codes 32 and 33 to this document alone, with its own kind.
    if (code == HintBringFrameForward || code == HintBringFrameForwardWithNotes) {
        if (CFrameHost* frame = GetFrame()) {
            frame->MinimizeFrame();
            frame->ActivateFrame();
        }
        if (code == HintBringFrameForwardWithNotes)
            OnDatabaseNotes();
    } else if (hint->m_nKind != doc->KindCode()) {
        OnOtherNotice(*hint);
    } else if (code == codes.changed || code == codes.inserted || code == codes.deleted) {
        FillList(GetTopIndex(), hint->m_nIndex, true);
    } else if (code == codes.replaced) {
        SetCaption();
        OnRecordsReplaced();
    } else {
        OnOtherNotice(*hint);
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CRecordListView::UpdateSharedCommand(CCmdUI& ui)
{
    const CRecordListCommands& c = m_kind.commands;
    const unsigned id = ui.m_nID;
    const std::vector<int> rows = GetSelItems();
    const bool selected = !rows.empty();
    if (id == c.edit || id == c.editLimited || id == c.cut || id == c.copy || id == c.deleteRows ||
        id == c.saveSelected || id == c.selectedToTop)
        ui.Enable(selected);
    else if (id == c.shiftUp)
        ui.Enable(selected && (m_kind.shiftUpWithFirstRow || rows.front() != 0));
    else if (id == c.shiftDown)
        ui.Enable(selected && rows.back() != GetCount() - 1);
    else if (id == c.paste)
        ui.Enable(RecordDoc() && RecordDoc()->CanPasteRecords());
    else if (id == c.selectAll || id == c.invertSelection)
        ui.Enable(RecordCount() > 0);
    else if (id == c.alphabetize)
        ui.Enable(m_kind.alphabetizeWhenEmpty || RecordCount() > 0);
    else if (id != 0 && (id == c.names || id == c.namesAndNotes))
        ui.SetCheck(m_nViewMode == (id == c.names ? 0 : 1) ? 1 : 0);
    else if (id == c.insertNew || id == c.appendNew || id == c.databaseNotes || id == c.merge || id == c.help ||
             id == c.contextHelp)
        ui.Enable(true);
    else
        return false;
    return true;
}

bool CRecordListView::RunSharedCommand(unsigned id)
{
    const CRecordListCommands& c = m_kind.commands;
    const std::vector<int> rows = GetSelItems();
    if (id == c.edit) OnEdit();
    else if (id == c.editLimited) OnEditLimited();
    else if (id == c.cut) OnCut();
    else if (id == c.copy) OnCopy();
    else if (id == c.paste) OnPaste();
    else if (id == c.deleteRows) OnDelete();
    else if (id == c.selectAll) SetSel(-1, true);
    else if (id == c.invertSelection) OnInvertSelection();
    else if (id == c.insertNew) InsertNewAt(rows.empty() ? 0 : rows.front());
    else if (id == c.appendNew) InsertNewAt(rows.empty() ? RecordCount() : rows.back() + 1);
    else if (id == c.shiftUp) OnShiftUp();
    else if (id == c.shiftDown) OnShiftDown();
    else if (id == c.selectedToTop) OnSelectedToTop();
    else if (id == c.alphabetize) OnAlphabetize();
    else if (id == c.databaseNotes) OnDatabaseNotes();
    else if (id == c.merge) OnMerge();
    else if (id == c.saveSelected) OnSaveSelected();
    else if (id != 0 && id == c.names) SetViewMode(0);
    else if (id != 0 && id == c.namesAndNotes) SetViewMode(1);
    else if (id == c.help || id == c.contextHelp) ShowDialogHelp(m_kind.helpId);
    else return false;
    return true;
}

bool CRecordListView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateKindCommand(ui) || UpdateSharedCommand(ui);
}

bool CRecordListView::OnCommand(unsigned id)
{
    return RunKindCommand(id) || RunSharedCommand(id);
}

// --- mouse ----------------------------------------------------------------------------------------

bool CRecordListView::OnLeftDoubleClick(const QPoint& position)
{
    if (indexAt(position).isValid())
        RunCommand(m_kind.commands.edit);
    return true;
}
