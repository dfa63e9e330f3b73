#include "support/SelectOneDlg.h"

#include "framework/Cp1252.h"
#include "framework/Document.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"

#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kListId = 2004;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
// The preselected row is shown this many rows below the top of the list.
constexpr int kRowsAbovePreselection = 4;

void AddRow(QListWidget& list, const std::string& text, int index)
{
    auto* item = new QListWidgetItem(FromCp1252(text), &list);
    item->setData(Qt::UserRole, index);
}

bool IsSingleton(const CDocument* document, DbFileType kind)
{
    return document != nullptr && COxidariumApp::GetSingletonDocument(static_cast<int>(kind)) == document;
}

} // namespace

CSelectOneDlg::CSelectOneDlg(QWidget* parent, unsigned help) : CStyledDialog(parent, help)
{
    ResizeDlu(232, 215);
    m_list = new QListWidget(this);
    SetControlId(m_list, kListId);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delegate = new CTabStopDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    PlaceDlu(m_list, 7, 7, 218, 180);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 194, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 146, 194, 50, 14);
    m_helpButton = AddHelpButton(205, 194, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSelectOneDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSelectOneDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CSelectOneDlg::accept);
    setFixedSize(size());
}

const std::vector<int>& CSelectOneDlg::TabStops() const
{
    return m_delegate->TabStops();
}

void CSelectOneDlg::OnInitDialog()
{
    setWindowTitle(FromCp1252(caption));
    if (filled == 0) {
        Fill();
        filled = 1;
    }
}

// Element rows line up number, symbol and name; material rows their display key's columns.
std::vector<int> CSelectOneDlg::TabStopUnits() const
{
    if (IsSingleton(document, DbFileType::Elements))
        return {25, 50, 75, 100};
    if (IsSingleton(document, DbFileType::Materials))
        return {35, 45, 55, 65};
    return {};
}

void CSelectOneDlg::Fill()
{
    m_list->clear();
    m_delegate->SetTabStops(TabStopsFromDlu(m_list->font(), TabStopUnits()));
    if (document) {
        std::vector<CRecordRow> rows;
        document->GetRecordRows(rows);
        for (const CRecordRow& row : rows)
            AddRow(*m_list, row.text, row.index);
    } else {
        for (std::size_t i = 0; i < names.size(); ++i)
            AddRow(*m_list, names[i], static_cast<int>(i));
    }
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(Qt::UserRole).toInt() == preselect) {
            m_list->setCurrentRow(row);
            m_topRow = std::max(0, row - kRowsAbovePreselection);
            break;
        }
    }
}

void CSelectOneDlg::showEvent(QShowEvent* event)
{
    CStyledDialog::showEvent(event);
    ScrollToPreselection();
}

void CSelectOneDlg::ScrollToPreselection()
{
    if (m_topRow >= 0 && m_topRow < m_list->count())
        m_list->scrollToItem(m_list->item(m_topRow), QAbstractItemView::PositionAtTop);
}

void CSelectOneDlg::accept()
{
    InitDialog();
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    selection = chosen.isEmpty() ? -1 : chosen.front()->data(Qt::UserRole).toInt();
    CStyledDialog::accept();
}
