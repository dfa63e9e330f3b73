#include "materials/SortMaterialsDlg.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kSortHelpId = 341;
constexpr int kFirstChoiceId = 2355;
constexpr int kOxideComboId = 2361;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

constexpr const char* kChoiceLabels[CSortMaterialsDlg::kChoiceCount] = {
    "Name", "Code", "Availability, name", "Availability, type, name", "Type, name", "Type, availability, name",
    "Density", "Cost", "Mapping", "Volatile % (LOI)", "Oxide weight % :"};

// The oxide list's role groups, in order.
constexpr int kRoleGroupOrder[] = {kRoleAlkali, kRoleNeutral, kRoleAcid};

} // namespace

const char* CSortMaterialsDlg::ChoiceLabel(int choice)
{
    return choice >= 0 && choice < kChoiceCount ? kChoiceLabels[choice] : "";
}

CSortMaterialsDlg::CSortMaterialsDlg(QWidget* parent)
    : CStyledDialog(parent, kSortHelpId)
{
    backgroundColor = GetNamedColor("mat_list");
    setWindowTitle(QStringLiteral("Sort materials by..."));
    ResizeDlu(186, 178);
    auto* group = new QButtonGroup(this);
    for (int choice = 0; choice < kChoiceCount; ++choice) {
        auto* button = new QRadioButton(FromCp1252(kChoiceLabels[choice]), this);
        // Control ids follow the group's first one, stepping over the oxide list's id.
        SetControlId(button, choice == 0 ? kFirstChoiceId : kFirstChoiceId + 10 + choice);
        PlaceDlu(button, 10, 8 + choice * 13, 100, 10);
        group->addButton(button, choice);
        m_choices[static_cast<std::size_t>(choice)] = button;
    }
    m_oxides = new QComboBox(this);
    SetControlId(m_oxides, kOxideComboId);
    PlaceDlu(m_oxides, 100, 136, 70, 14);
    m_oxides->setMaxVisibleItems(20);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 10, 157, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 100, 157, 50, 14);
    AddHelpButton(156, 157, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSortMaterialsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSortMaterialsDlg::reject);
    setFixedSize(size());
}

QRadioButton* CSortMaterialsDlg::ChoiceButton(int choice) const
{
    return choice >= 0 && choice < kChoiceCount ? m_choices[static_cast<std::size_t>(choice)] : nullptr;
}

void CSortMaterialsDlg::OnInitDialog()
{
    if (QRadioButton* button = ChoiceButton(sortChoice))
        button->setChecked(true);
    FillOxides();
}

void CSortMaterialsDlg::FillOxides()
{
    m_oxides->clear();
    comboPosition = -1;
    const CElementRecord* table = GetElementTable();
    for (int role : kRoleGroupOrder) {
        for (int priority = 1; priority <= 3; ++priority) {
            for (int z = 0; z < kElementCount; ++z) {
                if ((table[z].role & role) == 0 || table[z].priority != priority)
                    continue;
                if (z == oxideElement)
                    comboPosition = m_oxides->count();
                m_oxides->addItem(FromCp1252(table[z].oxide), z);
            }
        }
        m_oxides->addItem(QStringLiteral("---"), kSeparatorData);
    }
    m_oxides->setCurrentIndex(comboPosition);
}

void CSortMaterialsDlg::accept()
{
    InitDialog();
    for (int choice = 0; choice < kChoiceCount; ++choice) {
        if (m_choices[static_cast<std::size_t>(choice)]->isChecked())
            sortChoice = choice;
    }
    comboPosition = m_oxides->currentIndex();
    oxideElement = -1;
    if (comboPosition >= 0) {
        const int data = m_oxides->itemData(comboPosition).toInt();
        oxideElement = data == kSeparatorData ? -1 : data;
    }
    CStyledDialog::accept();
}
