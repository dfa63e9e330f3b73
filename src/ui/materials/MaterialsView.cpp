#include "materials/MaterialsView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/NumberFormat.h"
#include "tools/ToolCommands.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace {

constexpr int kMaterialsKind = static_cast<int>(DbFileType::Materials);
// Pixels before the first column and between columns.
constexpr int kFirstStop = 4;
constexpr int kColumnGap = 16;

} // namespace

CMaterialsView::CMaterialsView()
{
    SetExtendedSelection(true);
}

CMaterialsView::~CMaterialsView() = default;

CMaterialsDoc* CMaterialsView::MaterialsDoc() const
{
    return dynamic_cast<CMaterialsDoc*>(GetDocument());
}

CMaterialArray* CMaterialsView::Database() const
{
    CMaterialsDoc* doc = MaterialsDoc();
    return doc ? &doc->Materials() : nullptr;
}

int CMaterialsView::MaterialCount() const
{
    const CMaterialArray* database = Database();
    return database ? database->GetCount() : 0;
}

void CMaterialsView::Broadcast(int code, int index, const void* record)
{
    COxidariumApp::BroadcastUpdate(this, MaterialsDoc(), kMaterialsKind, code, index, HintExtra(record));
}

void CMaterialsView::SetCaption()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const std::string name = doc->GetDatabaseName();
    doc->SetTitle(name);
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

void CMaterialsView::OnInitialUpdate()
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

int CMaterialsView::FillList(int top, int select, bool recompute)
{
    ResetContent();
    const CMaterialArray* database = Database();
    if (database && database->GetCount() > 0) {
        std::vector<int> entries;
        if (m_nViewMode == kMaterialPercentMode) {
            entries = MaterialPercentEntries();
            if (entries.empty()) {
                // Nothing to show as percentages: the normal view takes over for good.
                m_nViewMode = 0;
                return FillList(top, select, true);
            }
            if (recompute)
                SetPercentTabStops(entries);
        } else if (recompute) {
            std::vector<int> columns;
            MaterialColumnPresence present{};
            ParseMaterialColumns(MaterialColumnString(m_nViewMode), columns, present);
            SetColumnTabStops(columns, present);
        }
        CStringArrayEx rows;
        BuildMaterialListRows(*database, m_nViewMode, rows);
        AddStrings(std::vector<std::string>(rows.begin(), rows.end()));
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

void CMaterialsView::SetCaretQuietly(int row)
{
    if (row < 0 || row >= GetCount())
        return;
    const bool autoScrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    setAutoScroll(autoScrolls);
}

void CMaterialsView::SetColumnTabStops(std::span<const int> columns, const MaterialColumnPresence& present)
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    const QFontMetrics metrics(font());
    const auto width = [&metrics](const std::string& text) { return metrics.horizontalAdvance(FromCp1252(text)); };
    std::array<int, kMaterialColumnCount> widths{};
    // Cost, density and formula weight are right-aligned numbers of known width: a sample does.
    static constexpr int kMeasuredColumns[] = {
        MaterialColumnCode, MaterialColumnName, MaterialColumnFormula, MaterialColumnType, MaterialColumnAvailable,
        MaterialColumnMapping, MaterialColumnAnalysisNotes, MaterialColumnHazardNotes, MaterialColumnNotes};
    for (const auto& material : database->Records()) {
        for (int column : kMeasuredColumns) {
            if (present[static_cast<std::size_t>(column)]) {
                int& widest = widths[static_cast<std::size_t>(column)];
                widest = std::max(widest, width(MaterialListCell(*database, *material, column)));
            }
        }
    }
    const int digits = database->m_costPlacesLeft + database->m_costPlacesRight + 1;
    const char* costUnit = database->m_costUnit == CMaterialArray::kCostPerKilogram ? "kg" : "lb";
    const char* densityUnit = database->m_densityUnit == CMaterialArray::kDensityPerDeciliter ? "dl" : "c";
    widths[MaterialColumnCost] =
        width(database->m_currencySymbol + std::string(static_cast<std::size_t>(std::max(digits, 0)), '9') + " / " + costUnit);
    widths[MaterialColumnDensity] = width(FormatNumberWidth(999.9, 3, 1) + " g / " + densityUnit);
    widths[MaterialColumnWeight] = width("MW=" + FormatNumberWidth(9999.9, 4, 1));

    std::vector<int> positions{kFirstStop};
    for (int column : columns)
        positions.push_back(positions.back() + widths[static_cast<std::size_t>(column)] + kColumnGap);
    std::vector<int> stops;
    for (std::size_t i = 0; i < columns.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

void CMaterialsView::SetPercentTabStops(std::span<const int> entries)
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    const QFontMetrics metrics(font());
    const auto width = [&metrics](const std::string& text) { return metrics.horizontalAdvance(FromCp1252(text)); };
    int widestName = 0;
    for (const auto& material : database->Records())
        widestName = std::max(widestName, width(material->m_name));
    std::vector<int> positions{kFirstStop, widestName + 8};
    positions.push_back(positions.back() + width("%") + 4);
    const std::string sample = FormatNumberWidth(100.0, 3, g_prefs.decanalysispct);
    for (int entry : entries)
        positions.push_back(positions.back() + width(sample + " " + MaterialPercentLabel(entry)) + 4);
    std::vector<int> stops;
    for (std::size_t i = 0; i + 1 < positions.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

void CMaterialsView::Reselect(const std::vector<int>& rows)
{
    for (int row : rows)
        SetSel(row, true); // rows beyond the new end select nothing
}

void CMaterialsView::RefillKeepingSelection()
{
    const std::vector<int> selected = GetSelItems();
    const int caret = GetCaretIndex();
    const int top = GetTopIndex();
    FillList(0, -1, true);
    Reselect(selected);
    if (caret >= 0 && caret < GetCount())
        SetCaretIndex(caret, true);
    if (top < GetCount())
        SetTopIndex(top);
}

void CMaterialsView::SetViewMode(int mode)
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

void CMaterialsView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CListView31::OnUpdate(sender, hint);
        return;
    }
    switch (hint->m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
        if (CMaterialArray* database = Database())
            database->ReparseFormulas();
        FillList(GetTopIndex(), -1, true);
        break;
    case HintMaterialChanged:
    case HintMaterialsInserted:
        FillList(GetTopIndex(), hint->m_nIndex, true);
        break;
    case HintMaterialsDeleted:
        FillList(GetTopIndex(), hint->m_nIndex, false);
        break;
    case HintMaterialsReplaced:
        SetCaption();
        RefillKeepingSelection();
        break;
    case HintPreferencesChanged:
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
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CMaterialsView::UpdateEditCommand(CCmdUI& ui)
{
    const int selected = GetSelCount();
    const int count = MaterialCount();
    switch (ui.m_nID) {
    case CmdMatListEdit:
    case CmdMatListEditLimited:
    case CmdMatListCut:
    case CmdMatListCopy:
    case CmdMatListDelete:
    case CmdMatListSelectedToTop:
        ui.Enable(selected > 0);
        return true;
    case CmdMatListPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_materialClipboard) > 0);
        return true;
    case CmdMatListSelectAll:
    case CmdMatListInvertSelection:
    case CmdMatListFind:
    case CmdMatListResort:
    case CmdMatListSetField:
        ui.Enable(count > 0);
        return true;
    case CmdMatListShiftUp: {
        const std::vector<int> rows = GetSelItems();
        ui.Enable(!rows.empty() && rows.front() != 0);
        return true;
    }
    case CmdMatListShiftDown: {
        const std::vector<int> rows = GetSelItems();
        ui.Enable(!rows.empty() && rows.back() != GetCount() - 1);
        return true;
    }
    case CmdMatListInsertNew:
    case CmdMatListAppendNew:
    case CmdMatListAlphabetize:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CMaterialsView::UpdateDatabaseCommand(CCmdUI& ui)
{
    const bool selected = HasSelection();
    switch (ui.m_nID) {
    case CmdMatListSaveSelected:
    case CmdMatListExportTmt:
    case CmdMatListPrintSelected:
    case CmdMatListPreviewSelected:
    case CmdMatListWriteSelected:
    case CmdMatListToGlazes:
    case CmdMatListConvertFormulas:
    case CmdMatListNormalizeFormulas:
    case CmdMatListAddLoi:
        ui.Enable(selected);
        return true;
    case CmdMatListCheckDatabase:
        ui.Enable(MaterialCount() >= 2);
        return true;
    case CmdMatListNormalView:
    case CmdMatListExtendedView1:
    case CmdMatListExtendedView2:
    case CmdMatListExtendedView3:
    case CmdMatListPercentView: {
        static constexpr unsigned kModeCommands[kMaterialListModeCount] = {
            CmdMatListNormalView, CmdMatListExtendedView1, CmdMatListExtendedView2, CmdMatListExtendedView3,
            CmdMatListPercentView};
        ui.SetCheck(kModeCommands[std::clamp(m_nViewMode, 0, kMaterialListModeCount - 1)] == ui.m_nID ? 1 : 0);
        return true;
    }
    case CmdMatListFindSimilar:
    case CmdMatListMergeDatabase:
    case CmdMatListImportTmt:
    case CmdMatListPrintList:
    case CmdMatListPreviewList:
    case CmdMatListWriteList:
    case CmdMatListFramePreview:
    case CmdMatListDatabaseNotes:
    case CmdMatListUnits:
    case CmdMatListHelp:
    case CmdMatListContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CMaterialsView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateEditCommand(ui) || UpdateDatabaseCommand(ui);
}

bool CMaterialsView::RunEditCommand(unsigned id)
{
    switch (id) {
    case CmdMatListEdit: OnEdit(); return true;
    case CmdMatListEditLimited: OnEditLimited(); return true;
    case CmdMatListCut: OnCut(); return true;
    case CmdMatListCopy: OnCopy(); return true;
    case CmdMatListPaste: OnPaste(); return true;
    case CmdMatListDelete: OnDelete(); return true;
    case CmdMatListSelectAll: OnSelectAll(); return true;
    case CmdMatListInvertSelection: OnInvertSelection(); return true;
    case CmdMatListInsertNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? 0 : rows.front());
        return true;
    }
    case CmdMatListAppendNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? MaterialCount() : rows.back() + 1);
        return true;
    }
    case CmdMatListShiftUp: OnShiftUp(); return true;
    case CmdMatListShiftDown: OnShiftDown(); return true;
    case CmdMatListSelectedToTop: OnSelectedToTop(); return true;
    case CmdMatListAlphabetize: OnAlphabetize(); return true;
    case CmdMatListResort: OnResort(); return true;
    case CmdMatListFind: OnFind(); return true;
    default: return false;
    }
}

bool CMaterialsView::RunDatabaseCommand(unsigned id)
{
    switch (id) {
    case CmdMatListNormalView: SetViewMode(0); return true;
    case CmdMatListExtendedView1: SetViewMode(1); return true;
    case CmdMatListExtendedView2: SetViewMode(2); return true;
    case CmdMatListExtendedView3: SetViewMode(3); return true;
    case CmdMatListPercentView: SetViewMode(4); return true;
    case CmdMatListMergeDatabase: OnMergeDatabase(); return true;
    case CmdMatListSaveSelected: OnSaveSelected(); return true;
    case CmdMatListDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdMatListCheckDatabase: OnCheckDatabase(); return true;
    case CmdMatListSetField: OnSetField(); return true;
    case CmdMatListUnits: OnUnits(); return true;
    case CmdMatListToGlazes: OnMaterialsToGlazes(); return true;
    case CmdMatListConvertFormulas: OnConvertFormulas(); return true;
    case CmdMatListNormalizeFormulas:
        ConvertSelected([](CMaterial& material) { material.NormalizePercentages(0); });
        return true;
    case CmdMatListAddLoi:
        ConvertSelected([](CMaterial& material) { material.NormalizePercentages(1); });
        return true;
    case CmdMatListImportTmt: OnImportTmt(); return true;
    case CmdMatListExportTmt: OnExportTmt(); return true;
    case CmdMatListFindSimilar:
        if (CMaterialsDoc* document = MaterialsDoc())
            RunFindSimilarMaterialsCommand(*document, *this, this);
        return true;
    case CmdMatListPrintSelected:
    case CmdMatListPreviewSelected:
    case CmdMatListWriteSelected:
    case CmdMatListPrintList:
    case CmdMatListPreviewList:
    case CmdMatListWriteList:
    case CmdMatListFramePreview: PrintMaterials(id); return true;
    case CmdMatListHelp:
    case CmdMatListContextHelp: ShowDialogHelp(kMaterialsViewHelpId); return true;
    default: return false;
    }
}

bool CMaterialsView::OnCommand(unsigned id)
{
    return RunEditCommand(id) || RunDatabaseCommand(id);
}

bool CMaterialsView::RunCommand(unsigned id)
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

void CMaterialsView::ShowContextMenu(const QPoint& position)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(MaterialsPopupMenu(), this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CMaterialsView::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    CListView31::mousePressEvent(event);
}

void CMaterialsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CListView31::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    RunCommand(CmdMatListEdit);
}

void CMaterialsView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    // The mouse's menu opened when the right button went down; the keyboard's opens here.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const int caret = GetCaretIndex();
        ShowContextMenu(caret >= 0 ? visualRect(model()->index(caret, 0)).center() : QPoint(0, 0));
    }
}
