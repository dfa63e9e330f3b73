#include "limits/LimitFormulasView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "limits/Limit.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace {

constexpr int kLimitFormulasKind = static_cast<int>(DbFileType::LimitFormulas);
// Pixels between the widest name and the notes.
constexpr int kNameGap = 20;

} // namespace

CLimitFormulasView::CLimitFormulasView()
{
    SetExtendedSelection(true);
}

CLimitFormulasView::~CLimitFormulasView() = default;

CLimitFormulasDoc* CLimitFormulasView::LimitFormulasDoc() const
{
    return dynamic_cast<CLimitFormulasDoc*>(GetDocument());
}

CLimitFormulaDB* CLimitFormulasView::Database() const
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    return doc ? &doc->Database() : nullptr;
}

int CLimitFormulasView::FormulaCount() const
{
    const CLimitFormulaDB* database = Database();
    return database ? database->GetCount() : 0;
}

void CLimitFormulasView::Broadcast(int code, int index, const void* record)
{
    COxidariumApp::BroadcastUpdate(this, LimitFormulasDoc(), kLimitFormulasKind, code, index, HintExtra(record));
}

void CLimitFormulasView::SetCaption()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    const std::string name = doc->GetDatabaseName();
    doc->SetTitle(name);
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

void CLimitFormulasView::OnInitialUpdate()
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

std::string CLimitFormulasView::RowText(int n) const
{
    const CLimitFormulaDB* database = Database();
    if (!database || n < 0 || n >= database->GetCount())
        return std::string();
    const CLimitFormula& formula = database->GetAt(n);
    if (m_nViewMode != 1)
        return formula.m_name;
    std::string notes;
    formula.m_notes.JoinWrapped(notes, kNotesWidth);
    return formula.m_name + "\t" + notes;
}

void CLimitFormulasView::MeasureTabStop()
{
    const CLimitFormulaDB* database = Database();
    const QFontMetrics metrics(font());
    int widestName = 0;
    int widestNotes = 0;
    for (int i = 0; database && i < database->GetCount(); ++i) {
        const CLimitFormula& formula = database->GetAt(i);
        widestName = std::max(widestName, metrics.horizontalAdvance(FromCp1252(formula.m_name)));
        if (m_nViewMode == 1) {
            std::string notes;
            formula.m_notes.JoinWrapped(notes, kNotesWidth);
            widestNotes = std::max(widestNotes, metrics.horizontalAdvance(FromCp1252(notes)));
        }
    }
    SetTabStops(PixelsToDialogUnits(widestName + kNameGap));
    SetHorizontalExtent(widestName + kNameGap + widestNotes + TextMargin() * 2);
}

void CLimitFormulasView::FillList(int top, int select, bool setTabStops)
{
    ResetContent();
    if (setTabStops)
        MeasureTabStop();
    std::vector<std::string> rows;
    for (int i = 0; i < FormulaCount(); ++i)
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

void CLimitFormulasView::Reselect(const std::vector<int>& rows)
{
    for (int row : rows)
        SetSel(row, true); // rows beyond the new end select nothing
}

void CLimitFormulasView::SetViewMode(int mode)
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

void CLimitFormulasView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    // The database tree sends codes 32 and 33 to this document alone, with its own kind.
    const bool toThisDocument = hint->m_nCode == HintBringFrameForward || hint->m_nCode == HintBringFrameForwardWithNotes;
    if (hint->m_nKind != kLimitFormulasKind && !toThisDocument)
        return;
    switch (hint->m_nCode) {
    case HintLimitFormulaChanged:
    case HintLimitFormulasInserted:
    case HintLimitFormulasDeleted:
        FillList(GetTopIndex(), hint->m_nIndex, true);
        break;
    case HintLimitFormulasReplaced:
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

bool CLimitFormulasView::UpdateEditCommand(CCmdUI& ui)
{
    const std::vector<int> rows = GetSelItems();
    switch (ui.m_nID) {
    case CmdLimListEdit:
    case CmdLimListEditLimited:
    case CmdLimListCut:
    case CmdLimListCopy:
    case CmdLimListDelete:
    case CmdLimListSaveSelected:
    case CmdLimListUnion:
    case CmdLimListIntersection:
    case CmdLimListSelectedToTop:
        ui.Enable(!rows.empty());
        return true;
    case CmdLimListShiftUp:
        ui.Enable(!rows.empty() && rows.front() != 0);
        return true;
    case CmdLimListShiftDown:
        ui.Enable(!rows.empty() && rows.back() != GetCount() - 1);
        return true;
    case CmdLimListPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_limitFormulaClipboard) > 0);
        return true;
    case CmdLimListSelectAll:
    case CmdLimListInvertSelection:
    case CmdLimListAlphabetize:
        ui.Enable(FormulaCount() > 0);
        return true;
    case CmdLimListInsertNew:
    case CmdLimListAppendNew:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CLimitFormulasView::UpdateDatabaseCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdLimListNames:
        ui.SetCheck(m_nViewMode == 0 ? 1 : 0);
        return true;
    case CmdLimListNamesAndNotes:
        ui.SetCheck(m_nViewMode == 1 ? 1 : 0);
        return true;
    case CmdLimListDatabaseNotes:
    case CmdLimListOxideCombinations:
    case CmdLimListMergeFormulas:
    case CmdLimListMergeCombinations:
    case CmdLimListPrint:
    case CmdLimListPrintPreview:
    case CmdLimListWriteToFile:
    case CmdLimListHelp:
    case CmdLimListContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CLimitFormulasView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateEditCommand(ui) || UpdateDatabaseCommand(ui);
}

bool CLimitFormulasView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdLimListEdit: OnEdit(); return true;
    case CmdLimListEditLimited: OnEditLimited(); return true;
    case CmdLimListCut: OnCut(); return true;
    case CmdLimListCopy: OnCopy(); return true;
    case CmdLimListPaste: OnPaste(); return true;
    case CmdLimListDelete: OnDelete(); return true;
    case CmdLimListSelectAll: SetSel(-1, true); return true;
    case CmdLimListInvertSelection: OnInvertSelection(); return true;
    case CmdLimListInsertNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? 0 : rows.front());
        return true;
    }
    case CmdLimListAppendNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? FormulaCount() : rows.back() + 1);
        return true;
    }
    case CmdLimListShiftUp: OnShiftUp(); return true;
    case CmdLimListShiftDown: OnShiftDown(); return true;
    case CmdLimListSelectedToTop: OnSelectedToTop(); return true;
    case CmdLimListAlphabetize: OnAlphabetize(); return true;
    case CmdLimListNames: SetViewMode(0); return true;
    case CmdLimListNamesAndNotes: SetViewMode(1); return true;
    case CmdLimListDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdLimListOxideCombinations: OnOxideCombinations(); return true;
    case CmdLimListUnion: OnCombine(CLimit::kUnion); return true;
    case CmdLimListIntersection: OnCombine(CLimit::kIntersection); return true;
    case CmdLimListMergeFormulas: OnMergeFormulas(); return true;
    case CmdLimListMergeCombinations: OnMergeCombinations(); return true;
    case CmdLimListSaveSelected: OnSaveSelected(); return true;
    case CmdLimListPrint:
    case CmdLimListPrintPreview:
    case CmdLimListWriteToFile: OnPrint(id); return true;
    case CmdLimListHelp:
    case CmdLimListContextHelp: ShowDialogHelp(kLimitFormulasViewHelpId); return true;
    default: return false;
    }
}

bool CLimitFormulasView::RunCommand(unsigned id)
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

void CLimitFormulasView::ShowContextMenu(const QPoint& position)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(LimitFormulasPopupMenu(), this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CLimitFormulasView::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    CListView31::mousePressEvent(event);
}

void CLimitFormulasView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CListView31::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (indexAt(event->position().toPoint()).isValid())
        RunCommand(CmdLimListEdit);
}
