#include "glazes/SortGlazesDlg.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "glazes/GlazeList.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kSortHelpId = 361;
constexpr int kFirstCriterionId = 2500;
constexpr int kOxideComboId = 2530;
constexpr int kDescriptionListsId = 2531;
constexpr int kAlphabeticalId = 2532;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kRowsPerColumn = 13;

// The criteria that sort by one oxide, whose radio buttons the oxide list stands beside.
constexpr int kFirstOxideCriterion = 21;

constexpr int kRoleGroupOrder[] = {kRoleAlkali, kRoleNeutral, kRoleAcid};

} // namespace

int FillGlazeOxideList(QComboBox& combo, bool withNone, int element)
{
    combo.clear();
    int position = -1;
    if (withNone)
        combo.addItem(QStringLiteral("<none>"), kNoOxideData);
    const CElementRecord* table = GetElementTable();
    for (int role : kRoleGroupOrder) {
        for (int priority = 1; priority <= 3; ++priority) {
            for (int z = 0; z < kElementCount; ++z) {
                if ((table[z].role & role) == 0 || table[z].priority != priority)
                    continue;
                if (z == element)
                    position = combo.count();
                combo.addItem(FromCp1252(table[z].oxide), z);
            }
        }
        combo.addItem(QStringLiteral("---"), kNoOxideData);
    }
    return position;
}

CSortGlazesDlg::CSortGlazesDlg(QWidget* parent)
    : CStyledDialog(parent, kSortHelpId)
{
    backgroundColor = GetNamedColor("glz_list");
    setWindowTitle(QStringLiteral("Sort glazes by..."));
    ResizeDlu(250, 250);
    auto* fieldLabel = new QLabel(QStringLiteral("Sort field :"), this);
    PlaceDlu(fieldLabel, 8, 6, 80, 10);
    m_criterionGroup = new QButtonGroup(this);
    for (int n = 0; n < kGlazeSortCount; ++n) {
        auto* button = new QRadioButton(FromCp1252(g_glazeSortCriteria[n].label), this);
        SetControlId(button, kFirstCriterionId + n);
        const int column = n / kRowsPerColumn;
        PlaceDlu(button, 12 + column * 118, 18 + (n % kRowsPerColumn) * 12, 80, 10);
        m_criterionGroup->addButton(button, n);
        m_criteria.push_back(button);
    }
    m_oxides = new QComboBox(this);
    SetControlId(m_oxides, kOxideComboId);
    auto* oxideLabel = new QLabel(QStringLiteral("Oxide :"), this);
    PlaceDlu(oxideLabel, 198, 18 + (kFirstOxideCriterion - kRowsPerColumn) * 12 - 12, 40, 10);
    PlaceDlu(m_oxides, 198, 18 + (kFirstOxideCriterion - kRowsPerColumn) * 12, 44, 12);
    m_oxides->setMaxVisibleItems(20);

    auto* methodLabel = new QLabel(QStringLiteral("Sort Method :"), this);
    PlaceDlu(methodLabel, 8, 180, 80, 10);
    m_methodGroup = new QButtonGroup(this);
    auto* lists = new QRadioButton(QStringLiteral("Sort according to  description lists"), this);
    auto* alphabetical = new QRadioButton(QStringLiteral("Sort alphabetically"), this);
    SetControlId(lists, kDescriptionListsId);
    SetControlId(alphabetical, kAlphabeticalId);
    PlaceDlu(lists, 12, 192, 160, 10);
    PlaceDlu(alphabetical, 12, 204, 160, 10);
    m_methodGroup->addButton(lists, 0);
    m_methodGroup->addButton(alphabetical, 1);

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 228, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 166, 228, 50, 14);
    AddHelpButton(222, 228, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSortGlazesDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSortGlazesDlg::reject);
    setFixedSize(size());
}

QRadioButton* CSortGlazesDlg::CriterionButton(int n) const
{
    return n >= 0 && n < static_cast<int>(m_criteria.size()) ? m_criteria[static_cast<std::size_t>(n)] : nullptr;
}

void CSortGlazesDlg::OnInitDialog()
{
    if (QRadioButton* button = CriterionButton(criterion))
        button->setChecked(true);
    if (QAbstractButton* button = m_methodGroup->button(alphabetical))
        button->setChecked(true);
    m_oxides->setCurrentIndex(FillGlazeOxideList(*m_oxides, false, element));
}

void CSortGlazesDlg::accept()
{
    InitDialog();
    criterion = m_criterionGroup->checkedId();
    alphabetical = m_methodGroup->checkedId();
    element = -1;
    if (m_oxides->currentIndex() >= 0) {
        const int data = m_oxides->currentData().toInt();
        element = data == kNoOxideData ? -1 : data;
    }
    CStyledDialog::accept();
}
