#include "elements/SelectElementsDlg.h"

#include "elements/ElementTable.h"
#include "framework/Cp1252.h"

#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kListId = 2004;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr const char* kCaption = "Select Elements to Print";

} // namespace

const char* SelectElementsGroupWord(std::int32_t role)
{
    if (role & kRoleAcid)
        return "Acid";
    if (role & kRoleNeutral)
        return "Neutral";
    if (role & kRoleAlkali)
        return "Alkali";
    if (role & kRoleVolatile)
        return "(volatile)";
    return "(not expected)";
}

std::string SelectElementsRow(const CElementRecord& element)
{
    std::string number = std::to_string(element.z);
    if (number.size() < 3)
        number.insert(0, 3 - number.size(), ' ');
    return number + "\t" + element.name + "\t" + SelectElementsGroupWord(element.role);
}

CSelectElementsDlg::CSelectElementsDlg(QWidget* parent) : CStyledDialog(parent, kHelpId)
{
    backgroundColor = GetNamedColor("elv_bkg");
    setWindowTitle(QString::fromLatin1(kCaption));
    ResizeDlu(186, 232);
    m_list = new QListWidget(this);
    SetControlId(m_list, kListId);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_delegate = new CTabStopDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    PlaceDlu(m_list, 7, 7, 172, 196);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 211, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 100, 211, 50, 14);
    AddHelpButton(159, 211, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSelectElementsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSelectElementsDlg::reject);
}

const std::vector<int>& CSelectElementsDlg::TabStops() const
{
    return m_delegate->TabStops();
}

void CSelectElementsDlg::OnInitDialog()
{
    Fill();
}

void CSelectElementsDlg::Fill()
{
    m_list->clear();
    m_delegate->SetTabStops(TabStopsFromDlu(m_list->font(), {20, 70, 80, 90}));
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z < kElementCount; ++z)
        m_list->addItem(FromCp1252(SelectElementsRow(table[z])));
    m_list->clearSelection();
    // Selected from the top down, so the caret ends on the lowest flagged element.
    for (int z = kElementCount - 1; z >= 1; --z) {
        if (!flags[static_cast<std::size_t>(z)])
            continue;
        QListWidgetItem* item = m_list->item(z - 1);
        item->setSelected(true);
        m_list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
}

void CSelectElementsDlg::accept()
{
    InitDialog();
    flags.fill(0);
    count = 0;
    for (int row = 0; row < m_list->count() && row + 1 < kElementCount; ++row) {
        if (m_list->item(row)->isSelected()) {
            flags[static_cast<std::size_t>(row + 1)] = 1;
            ++count;
        }
    }
    CStyledDialog::accept();
}
