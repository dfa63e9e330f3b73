#include "glazes/GlazesToMaterialsDlg.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kGlazesToMaterialsHelpId = 364;
constexpr int kMixturesId = 2560;
constexpr int kFritsId = 2561;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CGlazesToMaterialsDlg::CGlazesToMaterialsDlg(QWidget* parent)
    : CStyledDialog(parent, kGlazesToMaterialsHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Glazes to Materials"));
    ResizeDlu(180, 70);
    auto* label = new QLabel(QStringLiteral("Convert :"), this);
    PlaceDlu(label, 8, 6, 60, 10);
    m_choiceGroup = new QButtonGroup(this);
    auto* mixtures = new QRadioButton(QStringLiteral("As mixtures"), this);
    auto* frits = new QRadioButton(QStringLiteral("As frits (volatiles removed)"), this);
    SetControlId(mixtures, kMixturesId);
    SetControlId(frits, kFritsId);
    PlaceDlu(mixtures, 14, 18, 150, 10);
    PlaceDlu(frits, 14, 30, 150, 10);
    m_choiceGroup->addButton(mixtures, 0);
    m_choiceGroup->addButton(frits, 1);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 48, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 96, 48, 50, 14);
    AddHelpButton(152, 48, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CGlazesToMaterialsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CGlazesToMaterialsDlg::reject);
    setFixedSize(size());
}

void CGlazesToMaterialsDlg::OnInitDialog()
{
    if (QAbstractButton* button = m_choiceGroup->button(choice))
        button->setChecked(true);
}

void CGlazesToMaterialsDlg::accept()
{
    InitDialog();
    choice = m_choiceGroup->checkedId();
    CStyledDialog::accept();
}
