#include "substitutions/SubstitutionsView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace {

constexpr int kSubstitutionsKind = static_cast<int>(DbFileType::Substitutions);
// Pixels between the widest name and the notes; the first stop in dialog units.
constexpr int kNameGap = 20;
constexpr int kFirstStop = 4;

} // namespace

CSubstitutionsView::CSubstitutionsView()
{
    SetExtendedSelection(true);
}

CSubstitutionsView::~CSubstitutionsView() = default;

CSubstitutionsDoc* CSubstitutionsView::SubstitutionsDoc() const
{
    return dynamic_cast<CSubstitutionsDoc*>(GetDocument());
}

CSubstitutionList* CSubstitutionsView::Database() const
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    return doc ? &doc->Substitutions() : nullptr;
}

int CSubstitutionsView::RecordCount() const
{
    const CSubstitutionList* database = Database();
    return database ? database->GetCount() : 0;
}

void CSubstitutionsView::Broadcast(int code, int index)
{
    COxidariumApp::BroadcastUpdate(this, SubstitutionsDoc(), kSubstitutionsKind, code, index, 0);
}

void CSubstitutionsView::SetCaption()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    const std::string name = doc->GetDatabaseName();
    doc->SetTitle(name);
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

void CSubstitutionsView::OnInitialUpdate()
{
    SetCaption();
    CListView31::OnInitialUpdate();
    // The frame already stands at the next cascade position; it gets the list's size and waits
    // minimised until the user wants it.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame())) {
        frame->resize(kInitialWidth, kInitialHeight);
        frame->MinimizeFrame();
    }
    FillList(0, -1, true);
}

// --- rows -----------------------------------------------------------------------------------------

std::string CSubstitutionsView::RowText(int n) const
{
    const CSubstitutionList* database = Database();
    const CSubstitution* record = database ? database->GetAt(n) : nullptr;
    if (!record)
        return std::string();
    if (m_nViewMode != 1)
        return record->m_name;
    std::string notes;
    record->m_notes.JoinWrapped(notes, kNotesWidth);
    return record->m_name + "\t" + notes;
}

// Two stops: a small indent, then the notes after the widest name.
void CSubstitutionsView::MeasureTabStops()
{
    const CSubstitutionList* database = Database();
    const QFontMetrics metrics(font());
    int widestName = 0;
    int widestNotes = 0;
    for (int i = 0; database && i < database->GetCount(); ++i) {
        const CSubstitution& record = *database->GetAt(i);
        widestName = std::max(widestName, metrics.horizontalAdvance(FromCp1252(record.m_name)));
        if (m_nViewMode == 1) {
            std::string notes;
            record.m_notes.JoinWrapped(notes, kNotesWidth);
            widestNotes = std::max(widestNotes, metrics.horizontalAdvance(FromCp1252(notes)));
        }
    }
    const int notesStart = widestName + kNameGap;
    SetTabStops(std::vector<int>{kFirstStop, PixelsToDialogUnits(notesStart)});
    SetHorizontalExtent(notesStart + widestNotes + TextMargin() * 2);
}

void CSubstitutionsView::FillList(int top, int select, bool setTabStops)
{
    ResetContent();
    if (setTabStops)
        MeasureTabStops();
    std::vector<std::string> rows;
    for (int i = 0; i < RecordCount(); ++i)
        rows.push_back(RowText(i));
    AddStrings(std::move(rows));
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
    if (select >= 0 && GetCount() > 0) {
        select = std::min(select, GetCount() - 1);
        SetSel(select, true);
        SetCaretIndex(select, true);
    }
}

void CSubstitutionsView::Reselect(const std::vector<int>& rows)
{
    for (int row : rows)
        SetSel(row, true); // rows beyond the new end select nothing
}

void CSubstitutionsView::SetViewMode(int mode)
{
    if (mode == m_nViewMode)
        return;
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    m_nViewMode = mode;
    FillList(top, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretIndex(caret, true);
    if (top < GetCount())
        SetTopIndex(top);
}

// --- notices --------------------------------------------------------------------------------------

void CSubstitutionsView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    // The database tree sends codes 32 and 33 to this document alone, with its own kind.
    const bool toThisDocument = hint->m_nCode == HintBringFrameForward || hint->m_nCode == HintBringFrameForwardWithNotes;
    if (hint->m_nKind != kSubstitutionsKind && !toThisDocument)
        return;
    switch (hint->m_nCode) {
    case HintSubstitutionChanged:
    case HintSubstitutionsInserted:
    case HintSubstitutionsDeleted:
        FillList(GetTopIndex(), hint->m_nIndex, true);
        break;
    case HintSubstitutionsReplaced:
        SetCaption();
        FillList(0, -1, true);
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
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CSubstitutionsView::UpdateEditCommand(CCmdUI& ui)
{
    const std::vector<int> rows = GetSelItems();
    switch (ui.m_nID) {
    case CmdSubListEdit:
    case CmdSubListEditLimited:
    case CmdSubListCut:
    case CmdSubListCopy:
    case CmdSubListDelete:
    case CmdSubListSaveSelected:
    case CmdSubListSelectedToTop:
    case CmdSubListPrintSelected:
    case CmdSubListPreviewSelected:
    case CmdSubListWriteSelected:
    case CmdSubListShiftUp: // with the first row among them it changes nothing
        ui.Enable(!rows.empty());
        return true;
    case CmdSubListShiftDown:
        ui.Enable(!rows.empty() && rows.back() != GetCount() - 1);
        return true;
    case CmdSubListPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_substitutionClipboard) > 0);
        return true;
    case CmdSubListSelectAll:
    case CmdSubListInvertSelection:
    case CmdSubListAlphabetize:
        ui.Enable(RecordCount() > 0);
        return true;
    case CmdSubListInsertNew:
    case CmdSubListAppendNew:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CSubstitutionsView::UpdateDatabaseCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdSubListNames:
        ui.SetCheck(m_nViewMode == 0 ? 1 : 0);
        return true;
    case CmdSubListNamesAndNotes:
        ui.SetCheck(m_nViewMode == 1 ? 1 : 0);
        return true;
    case CmdSubListDatabaseNotes:
    case CmdSubListMerge:
    case CmdSubListPrintTable:
    case CmdSubListPreviewTable:
    case CmdSubListWriteTable:
    case CmdSubListHelp:
    case CmdSubListContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CSubstitutionsView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateEditCommand(ui) || UpdateDatabaseCommand(ui);
}

bool CSubstitutionsView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdSubListEdit: OnEdit(); return true;
    case CmdSubListEditLimited: OnEditLimited(); return true;
    case CmdSubListCut: OnCut(); return true;
    case CmdSubListCopy: OnCopy(); return true;
    case CmdSubListPaste: OnPaste(); return true;
    case CmdSubListDelete: OnDelete(); return true;
    case CmdSubListSelectAll: SetSel(-1, true); return true;
    case CmdSubListInvertSelection: OnInvertSelection(); return true;
    case CmdSubListInsertNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? 0 : rows.front());
        return true;
    }
    case CmdSubListAppendNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? RecordCount() : rows.back() + 1);
        return true;
    }
    case CmdSubListShiftUp: OnShiftUp(); return true;
    case CmdSubListShiftDown: OnShiftDown(); return true;
    case CmdSubListSelectedToTop: OnSelectedToTop(); return true;
    case CmdSubListAlphabetize: OnAlphabetize(); return true;
    case CmdSubListNames: SetViewMode(0); return true;
    case CmdSubListNamesAndNotes: SetViewMode(1); return true;
    case CmdSubListDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdSubListMerge: OnMerge(); return true;
    case CmdSubListSaveSelected: OnSaveSelected(); return true;
    case CmdSubListPrintSelected:
    case CmdSubListPreviewSelected:
    case CmdSubListWriteSelected:
    case CmdSubListPrintTable:
    case CmdSubListPreviewTable:
    case CmdSubListWriteTable: OnPrint(id); return true;
    case CmdSubListHelp:
    case CmdSubListContextHelp: ShowDialogHelp(kSubstitutionsViewHelpId); return true;
    default: return false;
    }
}

bool CSubstitutionsView::RunCommand(unsigned id)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (mainFrame && mainFrame->ActiveView() == this)
        return mainFrame->ExecuteCommand(id);
    CCmdTarget* targets[] = {this, GetDocument()};
    for (CCmdTarget* target : targets) {
        CCmdUI ui(id);
        if (target && target->OnUpdateCommand(ui))
            return ui.m_bEnabled && target->OnCommand(id);
    }
    return false;
}

// --- mouse ----------------------------------------------------------------------------------------

void CSubstitutionsView::ShowContextMenu(const QPoint& position)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(SubstitutionsPopupMenu(), this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CSubstitutionsView::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    CListView31::mousePressEvent(event);
}

void CSubstitutionsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CListView31::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (indexAt(event->position().toPoint()).isValid())
        RunCommand(CmdSubListEdit);
}
