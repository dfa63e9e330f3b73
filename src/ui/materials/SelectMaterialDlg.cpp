#include "materials/SelectMaterialDlg.h"

#include "framework/Cp1252.h"
#include "materials/MaterialsDoc.h"

#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kListId = 2004;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CSelectMaterialDlg::CSelectMaterialDlg(QWidget* parent, unsigned help)
    : CStyledDialog(parent, help)
{
    setWindowTitle(QStringLiteral("Select a Material"));
    ResizeDlu(200, 180);
    m_list = new QListWidget(this);
    SetControlId(m_list, kListId);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delegate = new CTabStopDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    PlaceDlu(m_list, 7, 7, 186, 146);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 159, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 117, 159, 50, 14);
    AddHelpButton(173, 159, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSelectMaterialDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSelectMaterialDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

void CSelectMaterialDlg::OnInitDialog()
{
    if (!filled)
        Fill();
}

void CSelectMaterialDlg::Fill()
{
    m_list->clear();
    m_delegate->SetTabStops(TabStopsFromDlu(m_list->font(), {35, 45, 55, 65}));
    if (g_pMaterialsDoc) {
        for (const auto& material : g_pMaterialsDoc->Materials().Records())
            m_list->addItem(FromCp1252(material->m_displayKey));
    }
    // The selection was exchanged before the rows existed: the list opens with none selected.
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    filled = 1;
}

void CSelectMaterialDlg::accept()
{
    InitDialog();
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    selectedRow = selected.isEmpty() ? -1 : m_list->row(selected.front());
    CStyledDialog::accept();
}
