#include "glazes/ResequenceDlg.h"

#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kResequenceHelpId = 374;
constexpr int kSelectedId = 2550;
constexpr int kAllId = 2551;
constexpr int kStartId = 2552;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CResequenceDlg::CResequenceDlg(QWidget* parent)
    : CStyledDialog(parent, kResequenceHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Resequence"));
    ResizeDlu(200, 94);
    auto* scopeLabel = new QLabel(QStringLiteral("Set index of :"), this);
    PlaceDlu(scopeLabel, 8, 6, 120, 10);
    m_scopeGroup = new QButtonGroup(this);
    auto* selected = new QRadioButton(QStringLiteral("Currently selected glazes"), this);
    auto* all = new QRadioButton(QStringLiteral("All glazes in the current database"), this);
    SetControlId(selected, kSelectedId);
    SetControlId(all, kAllId);
    PlaceDlu(selected, 14, 18, 170, 10);
    PlaceDlu(all, 14, 30, 170, 10);
    m_scopeGroup->addButton(selected, 0);
    m_scopeGroup->addButton(all, 1);
    auto* startLabel = new QLabel(QStringLiteral("Starting value :"), this);
    PlaceDlu(startLabel, 8, 52, 60, 10);
    m_start = new QLineEdit(this);
    SetControlId(m_start, kStartId);
    PlaceDlu(m_start, 70, 50, 80, 12);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 72, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 116, 72, 50, 14);
    AddHelpButton(172, 72, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CResequenceDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CResequenceDlg::reject);
    setFixedSize(size());
}

void CResequenceDlg::OnInitDialog()
{
    if (QAbstractButton* button = m_scopeGroup->button(scope))
        button->setChecked(true);
    m_start->setText(FromCp1252(start));
}

void CResequenceDlg::accept()
{
    InitDialog();
    scope = m_scopeGroup->checkedId();
    start = ToCp1252(m_start->text());
    CStyledDialog::accept();
}
