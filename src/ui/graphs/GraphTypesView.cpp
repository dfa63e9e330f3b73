#include "graphs/GraphTypesView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTypesDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace {

constexpr int kGraphTemplatesKind = static_cast<int>(DbFileType::GraphTemplates);
// Pixels between the widest name and the notes, and the first tab stop.
constexpr int kNameGap = 20;
constexpr int kFirstTabPixels = 4;

GraphViewOpener s_graphViewOpener;

} // namespace

void SetGraphViewOpener(GraphViewOpener opener)
{
    s_graphViewOpener = std::move(opener);
}

bool OpenGraphView(CGraphTypesDoc& document, const CGraphTemplate* graphTemplate, CGlazesDoc* database, CGlaze* glaze)
{
    return s_graphViewOpener && s_graphViewOpener(document, graphTemplate, database, glaze);
}

CGraphTypesView::CGraphTypesView()
{
    SetExtendedSelection(true);
}

CGraphTypesView::~CGraphTypesView() = default;

CGraphTypesDoc* CGraphTypesView::GraphTypesDoc() const
{
    return dynamic_cast<CGraphTypesDoc*>(GetDocument());
}

CGraphTemplateDatabase* CGraphTypesView::Database() const
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    return doc ? &doc->Database() : nullptr;
}

int CGraphTypesView::TemplateCount() const
{
    const CGraphTemplateDatabase* database = Database();
    return database ? database->GetCount() : 0;
}

void CGraphTypesView::Broadcast(int code, int index)
{
    COxidariumApp::BroadcastUpdate(this, GraphTypesDoc(), kGraphTemplatesKind, code, index, 0);
}

void CGraphTypesView::SetCaption()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    const std::string name = doc->GetDatabaseName();
    doc->SetTitle(name);
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

void CGraphTypesView::OnInitialUpdate()
{
    SetCaption();
    CListView31::OnInitialUpdate();
    // The frame already stands at the next cascade position; it gets the list's size and waits
    // minimised until the user wants it.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame())) {
        frame->resize(kInitialWidth, kInitialHeight);
        frame->MinimizeFrame();
    }
    Fill(0, -1, true);
}

// --- rows -----------------------------------------------------------------------------------------

std::string CGraphTypesView::RowText(int n) const
{
    const CGraphTemplateDatabase* database = Database();
    if (!database || n < 0 || n >= database->GetCount())
        return std::string();
    const CGraphTemplate& graphTemplate = database->GetAt(n);
    if (m_nViewMode != 1)
        return graphTemplate.m_name;
    std::string notes;
    graphTemplate.m_notes.JoinWrapped(notes, kNotesWidth);
    return graphTemplate.m_name + "\t" + notes;
}

void CGraphTypesView::MeasureTabStops()
{
    const CGraphTemplateDatabase* database = Database();
    const QFontMetrics metrics(font());
    int widestName = 0;
    int widestNotes = 0;
    for (int i = 0; database && i < database->GetCount(); ++i) {
        const CGraphTemplate& graphTemplate = database->GetAt(i);
        widestName = std::max(widestName, metrics.horizontalAdvance(FromCp1252(graphTemplate.m_name)));
        if (m_nViewMode == 1) {
            std::string notes;
            graphTemplate.m_notes.JoinWrapped(notes, kNotesWidth);
            widestNotes = std::max(widestNotes, metrics.horizontalAdvance(FromCp1252(notes)));
        }
    }
    SetTabStops(std::vector<int>{PixelsToDialogUnits(kFirstTabPixels), PixelsToDialogUnits(widestName + kNameGap)});
    SetHorizontalExtent(widestName + kNameGap + widestNotes);
}

bool CGraphTypesView::Fill(int top, int select, bool setTabs)
{
    ResetContent();
    if (setTabs && TemplateCount() > 0)
        MeasureTabStops();
    std::vector<std::string> rows;
    for (int i = 0; i < TemplateCount(); ++i)
        rows.push_back(RowText(i));
    AddStrings(std::move(rows));
    if (top >= 0 && top < GetCount())
        SetTopIndex(top);
    if (select >= 0 && GetCount() > 0) {
        select = std::min(select, GetCount() - 1);
        SetSel(select, true);
        SetCaretIndex(select, true);
    }
    return true;
}

void CGraphTypesView::Reselect(const std::vector<int>& rows)
{
    for (int row : rows)
        SetSel(row, true); // rows beyond the new end select nothing
}

void CGraphTypesView::SetViewMode(int mode)
{
    if (mode == m_nViewMode)
        return;
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    m_nViewMode = mode;
    Fill(top, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretIndex(caret, true);
    if (top < GetCount())
        SetTopIndex(top);
}

// --- notices --------------------------------------------------------------------------------------

void CGraphTypesView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    // The database tree sends codes 32 and 33 to this document alone, with its own kind.
    const bool toThisDocument = hint->m_nCode == HintBringFrameForward || hint->m_nCode == HintBringFrameForwardWithNotes;
    if (hint->m_nKind != kGraphTemplatesKind && !toThisDocument)
        return;
    switch (hint->m_nCode) {
    case HintGraphTemplateChanged:
    case HintGraphTemplatesInserted:
    case HintGraphTemplatesDeleted:
        Fill(GetTopIndex(), hint->m_nIndex, true);
        break;
    case HintGraphTemplatesReplaced:
        SetCaption();
        Fill(0, -1, true);
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

bool CGraphTypesView::UpdateEditCommand(CCmdUI& ui)
{
    const std::vector<int> rows = GetSelItems();
    switch (ui.m_nID) {
    case CmdGrtListEdit:
    case CmdGrtListEditLimited:
    case CmdGrtListCut:
    case CmdGrtListCopy:
    case CmdGrtListDelete:
    case CmdGrtListSaveSelected:
    case CmdGrtListSelectedToTop:
    case CmdGrtListOpenGraph:
        ui.Enable(!rows.empty());
        return true;
    case CmdGrtListShiftUp:
        ui.Enable(!rows.empty() && rows.front() != 0);
        return true;
    case CmdGrtListShiftDown:
        ui.Enable(!rows.empty() && rows.back() != GetCount() - 1);
        return true;
    case CmdGrtListPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_graphTemplateClipboard) > 0);
        return true;
    case CmdGrtListSelectAll:
    case CmdGrtListInvertSelection:
    case CmdGrtListAlphabetize:
        ui.Enable(TemplateCount() > 0);
        return true;
    case CmdGrtListInsertNew:
    case CmdGrtListAppendNew:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGraphTypesView::UpdateDatabaseCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdGrtListNames:
        ui.SetCheck(m_nViewMode == 0 ? 1 : 0);
        return true;
    case CmdGrtListNamesAndNotes:
        ui.SetCheck(m_nViewMode == 1 ? 1 : 0);
        return true;
    case CmdGrtListDatabaseNotes:
    case CmdGrtListColors:
    case CmdGrtListMerge:
    case CmdGrtListPrint:
    case CmdGrtListPrintPreview:
    case CmdGrtListWriteToFile:
    case CmdGrtListHelp:
    case CmdGrtListContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGraphTypesView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateEditCommand(ui) || UpdateDatabaseCommand(ui);
}

bool CGraphTypesView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdGrtListEdit: OnEdit(); return true;
    case CmdGrtListEditLimited: OnEditLimited(); return true;
    case CmdGrtListCut: OnCut(); return true;
    case CmdGrtListCopy: OnCopy(); return true;
    case CmdGrtListPaste: OnPaste(); return true;
    case CmdGrtListDelete: OnDelete(); return true;
    case CmdGrtListSelectAll: SetSel(-1, true); return true;
    case CmdGrtListInvertSelection: OnInvertSelection(); return true;
    case CmdGrtListInsertNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? 0 : rows.front());
        return true;
    }
    case CmdGrtListAppendNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? TemplateCount() : rows.back() + 1);
        return true;
    }
    case CmdGrtListShiftUp: OnShiftUp(); return true;
    case CmdGrtListShiftDown: OnShiftDown(); return true;
    case CmdGrtListSelectedToTop: OnSelectedToTop(); return true;
    case CmdGrtListAlphabetize: OnAlphabetize(); return true;
    case CmdGrtListNames: SetViewMode(0); return true;
    case CmdGrtListNamesAndNotes: SetViewMode(1); return true;
    case CmdGrtListOpenGraph: OnOpenGraph(); return true;
    case CmdGrtListDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdGrtListColors: OnColors(); return true;
    case CmdGrtListMerge: OnMerge(); return true;
    case CmdGrtListSaveSelected: OnSaveSelected(); return true;
    case CmdGrtListPrint:
    case CmdGrtListPrintPreview:
    case CmdGrtListWriteToFile: OnPrint(id); return true;
    case CmdGrtListHelp:
    case CmdGrtListContextHelp: ShowDialogHelp(kGraphTypesViewHelpId); return true;
    default: return false;
    }
}

bool CGraphTypesView::RunCommand(unsigned id)
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

void CGraphTypesView::ShowContextMenu(const QPoint& position)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(GraphTypesPopupMenu(), this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CGraphTypesView::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    CListView31::mousePressEvent(event);
}

void CGraphTypesView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CListView31::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (indexAt(event->position().toPoint()).isValid())
        RunCommand(CmdGrtListEdit);
}
