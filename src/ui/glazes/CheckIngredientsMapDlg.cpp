#include "glazes/CheckIngredientsMapDlg.h"

#include "framework/Cp1252.h"
#include "glazes/CheckIngredients.h"
#include "materials/MaterialsDoc.h"
#include "support/ChoiceBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kMapHelpId = 376;
constexpr int kNameId = 2610;
constexpr int kFirstChoiceId = 2611;
constexpr int kFirstTargetId = 2616;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kChoiceCount = 5;

constexpr const char* kChoiceLabels[kChoiceCount] = {"No action", "Change to :", "Make new alias of :",
                                                     "Create new material", "Create and map to :"};

// The material box of a choice: 0 beside "Change to :", 1 beside "Make new alias of :", 2 beside
// "Create and map to :"; -1 for the choices without one.
int TargetSlot(int choice)
{
    switch (choice) {
    case kCheckChangeTo: return 0;
    case kCheckMakeAlias: return 1;
    case kCheckCreateAndMap: return 2;
    default: return -1;
    }
}

} // namespace

CCheckIngredientsMapDlg::CCheckIngredientsMapDlg(QWidget* parent)
    : CStyledDialog(parent, kMapHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Check Ingredients"));
    ResizeDlu(250, 124);
    PlaceDlu(new QLabel(QStringLiteral("Unknown ingredient :"), this), 8, 6, 120, 10);
    m_name = new QLabel(this);
    SetControlId(m_name, kNameId);
    PlaceDlu(m_name, 14, 18, 228, 10);
    m_choiceGroup = new QButtonGroup(this);
    for (int choice = 0; choice < kChoiceCount; ++choice) {
        auto* button = new QRadioButton(QString::fromLatin1(kChoiceLabels[choice]), this);
        SetControlId(button, kFirstChoiceId + choice);
        PlaceDlu(button, 14, 34 + choice * 14, 90, 10);
        m_choiceGroup->addButton(button, choice);
        const int slot = TargetSlot(choice);
        if (slot < 0)
            continue;
        auto* combo = new QComboBox(this);
        MakeChoiceBox(combo);
        SetControlId(combo, kFirstTargetId + slot);
        PlaceDlu(combo, 106, 33 + choice * 14, 136, 12);
        m_targets[static_cast<std::size_t>(slot)] = combo;
    }
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 104, 36, 14);
    m_skipButton = AddButton(QStringLiteral("Skip"), kCheckSkipId, 48, 104, 36, 14);
    m_skipAllButton = AddButton(QStringLiteral("Skip All"), kCheckSkipAllId, 88, 104, 36, 14);
    m_createAllButton = AddButton(QStringLiteral("Create All"), kCheckCreateAllId, 128, 104, 40, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 172, 104, 44, 14);
    AddHelpButton(222, 104, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CCheckIngredientsMapDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CCheckIngredientsMapDlg::reject);
    connect(m_skipButton, &QPushButton::clicked, this, [this] { EndWith(kCheckSkipId); });
    connect(m_skipAllButton, &QPushButton::clicked, this, [this] { EndWith(kCheckSkipAllId); });
    connect(m_createAllButton, &QPushButton::clicked, this, [this] { EndWith(kCheckCreateAllId); });
    connect(m_choiceGroup, &QButtonGroup::idClicked, this, &CCheckIngredientsMapDlg::EnableTargets);
    setFixedSize(size());
}

QComboBox* CCheckIngredientsMapDlg::TargetCombo(int forChoice) const
{
    const int slot = TargetSlot(forChoice);
    return slot < 0 ? nullptr : m_targets[static_cast<std::size_t>(slot)];
}

void CCheckIngredientsMapDlg::OnInitDialog()
{
    m_name->setText(FromCp1252(name));
    FillTargets();
    if (QAbstractButton* button = m_choiceGroup->button(choice))
        button->setChecked(true);
    if (QComboBox* combo = TargetCombo(choice))
        combo->setEditText(FromCp1252(target));
    EnableTargets();
}

// Every material's name in each box; the "Change to :" box also offers every other name.
void CCheckIngredientsMapDlg::FillTargets()
{
    if (!g_pMaterialsDoc)
        return;
    for (const auto& material : g_pMaterialsDoc->Materials().Records()) {
        for (QComboBox* combo : m_targets)
            combo->addItem(FromCp1252(material->m_name));
    }
    QComboBox* changeTo = TargetCombo(kCheckChangeTo);
    for (const auto& material : g_pMaterialsDoc->Materials().Records()) {
        for (const std::string& alias : material->m_akaNames) {
            if (!alias.empty())
                changeTo->addItem(FromCp1252(alias));
        }
    }
    for (QComboBox* combo : m_targets)
        combo->setCurrentIndex(-1);
}

void CCheckIngredientsMapDlg::EnableTargets()
{
    const int chosen = m_choiceGroup->checkedId();
    for (int forChoice : {kCheckChangeTo, kCheckMakeAlias, kCheckCreateAndMap})
        TargetCombo(forChoice)->setEnabled(forChoice == chosen);
}

void CCheckIngredientsMapDlg::EndWith(int result)
{
    InitDialog();
    choice = std::max(0, m_choiceGroup->checkedId());
    QComboBox* combo = TargetCombo(choice);
    target = combo ? ToCp1252(combo->currentText()) : std::string();
    done(result);
}

void CCheckIngredientsMapDlg::accept()
{
    EndWith(QDialog::Accepted);
}
