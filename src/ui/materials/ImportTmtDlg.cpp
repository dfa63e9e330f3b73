#include "materials/ImportTmtDlg.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr unsigned kImportTmtHelpId = 345;
constexpr int kMaterialsId = 2680;
constexpr int kExpansionsId = 2681;
constexpr int kRolesId = 2682;
constexpr int kClearExpansionsId = 2683;
constexpr int kNotExpectedId = 2684;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CImportTmtDlg::CImportTmtDlg(QWidget* parent)
    : CStyledDialog(parent, kImportTmtHelpId)
{
    setWindowTitle(QStringLiteral("Import from Insight TMT file..."));
    ResizeDlu(210, 110);
    m_materials = AddCheck("Materials", kMaterialsId, 8);
    m_expansions = AddCheck("Oxide Expansions", kExpansionsId, 22);
    m_clearExpansions = AddCheck("Clear all expansions first", kClearExpansionsId, 36);
    m_roles = AddCheck("Oxide Roles", kRolesId, 50);
    m_notExpected = AddCheck("Set all nonvolatiles to Not Expected first", kNotExpectedId, 64);
    m_clearExpansions->move(m_clearExpansions->x() + CDialogUnits(font()).X(12), m_clearExpansions->y());
    m_notExpected->move(m_notExpected->x() + CDialogUnits(font()).X(12), m_notExpected->y());
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 88, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 126, 88, 50, 14);
    AddHelpButton(182, 88, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CImportTmtDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CImportTmtDlg::reject);
    setFixedSize(size());
}

QCheckBox* CImportTmtDlg::AddCheck(const char* label, int id, int y)
{
    auto* check = new QCheckBox(QString::fromLatin1(label), this);
    SetControlId(check, id);
    PlaceDlu(check, 8, y, 180, 10);
    return check;
}

void CImportTmtDlg::OnInitDialog()
{
    m_expansions->setChecked(options.expansions);
    m_materials->setChecked(options.materials);
    m_roles->setChecked(options.roles);
    m_clearExpansions->setChecked(options.clearExpansions);
    m_notExpected->setChecked(options.notExpectedFirst);
}

void CImportTmtDlg::accept()
{
    InitDialog();
    options.expansions = m_expansions->isChecked();
    options.materials = m_materials->isChecked();
    options.roles = m_roles->isChecked();
    options.clearExpansions = m_clearExpansions->isChecked();
    options.notExpectedFirst = m_notExpected->isChecked();
    CStyledDialog::accept();
}
