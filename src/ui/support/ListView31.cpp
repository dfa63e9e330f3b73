#include "support/ListView31.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "support/ListView31Model.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <memory>

CListView31::CListView31(QWidget* parent)
    : QListView(parent), m_model(new CListView31Model(this)), m_tabStops{kDefaultTabStop}
{
    setModel(m_model);
    setItemDelegate(new CListView31Delegate(this));
    // Every row is as high as every other: the list lays out tens of thousands of rows without
    // asking each one for its size.
    setUniformItemSizes(true);
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RecalcPixelStops();
}

CListView31::~CListView31() = default;

// ---- rows -------------------------------------------------------------------------------------

int CListView31::GetCount() const
{
    return m_model->Count();
}

int CListView31::AddString(const std::string& row)
{
    return m_model->Insert(GetCount(), row);
}

void CListView31::AddStrings(std::vector<std::string> rows)
{
    m_model->Append(std::move(rows));
}

void CListView31::AddRows(int count, std::function<std::string(int row)> build)
{
    m_model->AppendUnbuilt(count, std::move(build));
}

int CListView31::InsertString(int index, const std::string& row)
{
    if (index == -1)
        index = GetCount();
    if (index < 0 || index > GetCount())
        return -1;
    return m_model->Insert(index, row);
}

int CListView31::DeleteString(int index)
{
    if (!IsRow(index))
        return -1;
    m_model->Remove(index);
    return GetCount();
}

bool CListView31::MoveString(int from, int to)
{
    if (!IsRow(from) || !IsRow(to))
        return false;
    m_model->Move(from, to);
    return true;
}

std::string CListView31::GetText(int index) const
{
    return IsRow(index) ? m_model->Row(index) : std::string();
}

void CListView31::ResetContent()
{
    m_model->Clear();
    m_widestRow = 0;
    RelayoutWidth();
}

// ---- selection --------------------------------------------------------------------------------

void CListView31::SetExtendedSelection(bool extended)
{
    setSelectionMode(extended ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool CListView31::HasExtendedSelection() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

// The selection is read from its ranges, merged into sorted runs of rows: asking the selection
// model for its rows tests every row against every range, quadratic when thousands of separate
// rows are selected.
std::vector<std::pair<int, int>> CListView31::SelectedRuns() const
{
    std::vector<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        runs.emplace_back(range.top(), range.bottom());
    std::sort(runs.begin(), runs.end());
    std::size_t kept = 0;
    for (const auto& run : runs) {
        if (kept > 0 && run.first <= runs[kept - 1].second + 1)
            runs[kept - 1].second = std::max(runs[kept - 1].second, run.second);
        else
            runs[kept++] = run;
    }
    runs.resize(kept);
    return runs;
}

int CListView31::GetSelCount() const
{
    int count = 0;
    for (const auto& [first, last] : SelectedRuns())
        count += last - first + 1;
    return count;
}

std::vector<int> CListView31::GetSelItems() const
{
    std::vector<int> rows;
    for (const auto& [first, last] : SelectedRuns()) {
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
    }
    return rows;
}

bool CListView31::GetSel(int index) const
{
    return IsRow(index) && selectionModel()->isSelected(m_model->index(index));
}

bool CListView31::SetSel(int index, bool select)
{
    if (index == -1) {
        if (select && HasExtendedSelection())
            selectAll();
        else if (!select)
            clearSelection();
        return true;
    }
    if (!IsRow(index))
        return false;
    QItemSelectionModel::SelectionFlags flags = select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    if (select && !HasExtendedSelection())
        flags = QItemSelectionModel::ClearAndSelect;
    selectionModel()->select(m_model->index(index), flags | QItemSelectionModel::Rows);
    return true;
}

void CListView31::SelItemRange(bool select, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, GetCount() - 1);
    if (first > last)
        return;
    const QItemSelection range(m_model->index(first), m_model->index(last));
    selectionModel()->select(range, (select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                        QItemSelectionModel::Rows);
}

void CListView31::SelectRows(std::span<const int> rows)
{
    if (!HasExtendedSelection()) {
        for (int row : rows)
            SetSel(row, true);
        return;
    }
    std::vector<int> sorted;
    sorted.reserve(rows.size());
    for (int row : rows) {
        if (IsRow(row))
            sorted.push_back(row);
    }
    std::sort(sorted.begin(), sorted.end());
    QItemSelection selection;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t last = i;
        while (last + 1 < sorted.size() && sorted[last + 1] <= sorted[last] + 1)
            ++last;
        selection.select(m_model->index(sorted[i]), m_model->index(sorted[last]));
        i = last + 1;
    }
    // The list has one column, so its ranges are rows already; the Rows flag would make the
    // selection model expand and merge them range by range, quadratic in their number.
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

int CListView31::GetCurSel() const
{
    if (HasExtendedSelection())
        return GetCaretIndex();
    const std::vector<int> rows = GetSelItems();
    return rows.empty() ? -1 : rows.front();
}

bool CListView31::SetCurSel(int index)
{
    if (index == -1) {
        clearSelection();
        return true;
    }
    if (!IsRow(index))
        return false;
    const QModelIndex row = m_model->index(index);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(row);
    return true;
}

int CListView31::GetCaretIndex() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool CListView31::SetCaretIndex(int index, bool partialOk)
{
    if (!IsRow(index))
        return false;
    const QModelIndex row = m_model->index(index);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    const QRect rect = visualRect(row);
    const QRect area = viewport()->rect();
    const bool inView = partialOk ? rect.intersects(area) : area.contains(rect);
    if (!inView)
        scrollTo(row);
    return true;
}

int CListView31::GetTopIndex() const
{
    const QModelIndex top = indexAt(QPoint(TextMargin(), 0));
    return top.isValid() ? top.row() : 0;
}

bool CListView31::SetTopIndex(int index)
{
    if (!IsRow(index))
        return false;
    scrollTo(m_model->index(index), QAbstractItemView::PositionAtTop);
    return true;
}

// ---- tab stops and width ----------------------------------------------------------------------

void CListView31::SetTabStops(int dialogUnits)
{
    SetTabStops(std::vector<int>{dialogUnits});
}

void CListView31::SetTabStops(const std::vector<int>& dialogUnits)
{
    m_tabStops = dialogUnits;
    RecalcPixelStops();
    viewport()->update();
}

int CListView31::DialogBaseUnitX() const
{
    const QFontMetrics metrics(font());
    const int average = metrics.averageCharWidth();
    return average > 0 ? average : std::max(metrics.horizontalAdvance(QLatin1Char('x')), 1);
}

int CListView31::DialogUnitsToPixels(int dialogUnits) const
{
    // Rounded to the nearest pixel, halves away from zero.
    const long long scaled = static_cast<long long>(dialogUnits) * DialogBaseUnitX();
    return static_cast<int>(scaled >= 0 ? (scaled + 2) / 4 : (scaled - 2) / 4);
}

int CListView31::PixelsToDialogUnits(int pixels) const
{
    return pixels * 4 / DialogBaseUnitX();
}

void CListView31::RecalcPixelStops()
{
    // One stop repeats; with several, the default spacing continues after the last one.
    const int defaultRepeat = DialogUnitsToPixels(kDefaultTabStop);
    if (m_tabStops.size() == 1) {
        const int repeat = DialogUnitsToPixels(m_tabStops.front());
        m_pixelStops = CTabStops({}, repeat > 0 ? repeat : defaultRepeat);
        return;
    }
    std::vector<int> stops;
    for (const int stop : m_tabStops)
        stops.push_back(DialogUnitsToPixels(stop));
    m_pixelStops = CTabStops(std::move(stops), defaultRepeat);
}

int CListView31::TextWidth(const std::string& text) const
{
    m_textWidths.SetFont(font());
    return m_textWidths.Width(text);
}

int CListView31::WidestText(std::span<const std::string> texts) const
{
    m_textWidths.SetFont(font());
    return m_textWidths.Widest(texts);
}

std::vector<int> CListView31::FieldPositions(int index) const
{
    if (!IsRow(index))
        return {};
    return LayoutTabbedText(FromCp1252(m_model->Row(index)), QFontMetrics(font()), m_pixelStops).fieldStarts;
}

void CListView31::SetHorizontalExtent(int pixels)
{
    m_horizontalExtent = std::max(pixels, 0);
    RelayoutWidth();
}

int CListView31::RowHeight() const
{
    return QFontMetrics(font()).height();
}

int CListView31::ContentWidth() const
{
    return std::max(m_horizontalExtent, m_widestRow);
}

void CListView31::NoteRowWidth(int pixels)
{
    // Rows are measured as they are drawn (measuring every row of a long list would make each
    // fill slow); a wider row widens the scrolling range after the paint.
    if (pixels <= m_widestRow)
        return;
    m_widestRow = pixels;
    if (pixels > m_horizontalExtent && !m_relayoutPending) {
        m_relayoutPending = true;
        QTimer::singleShot(0, this, [this] {
            m_relayoutPending = false;
            RelayoutWidth();
        });
    }
}

void CListView31::RelayoutWidth()
{
    // The uniform row size is asked again only on a new layout.
    scheduleDelayedItemsLayout();
}

void CListView31::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Dialog units follow the font; widths measured in the old font no longer hold.
        RecalcPixelStops();
        m_widestRow = 0;
        RelayoutWidth();
    }
}

// ---- printing ---------------------------------------------------------------------------------

bool CListView31::OnPreparePrinting()
{
    return true;
}

void CListView31::OnBeginPrinting(CTextPrinter& /*printer*/)
{
}

void CListView31::OnPrepareDC(CTextPrinter& /*printer*/, int /*page*/)
{
}

void CListView31::OnPrint(CTextPrinter& /*printer*/, int /*page*/)
{
}

void CListView31::OnEndPrinting(CTextPrinter& /*printer*/)
{
}

void CListView31::OnDraw(QPainter& /*painter*/)
{
}

// ---- mouse and commands -----------------------------------------------------------------------

bool CListView31::RunCommand(unsigned id)
{
    return CMDIMainFrame::RunViewCommand(*this, id);
}

CMenuDef CListView31::PopupMenu() const
{
    return CMenuDef{};
}

void CListView31::ShowContextMenu(const QPoint& position)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(PopupMenu(), this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CListView31::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton && !PopupMenu().items.empty()) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
}

void CListView31::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnLeftDoubleClick(event->position().toPoint())) {
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void CListView31::contextMenuEvent(QContextMenuEvent* event)
{
    if (PopupMenu().items.empty()) {
        QListView::contextMenuEvent(event);
        return;
    }
    event->accept();
    // The mouse's menu opened when the right button went down; the keyboard's opens here.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const int caret = GetCaretIndex();
        ShowContextMenu(caret >= 0 ? visualRect(model()->index(caret, 0)).center() : QPoint(0, 0));
    }
}
