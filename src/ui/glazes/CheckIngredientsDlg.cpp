#include "glazes/CheckIngredientsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kCheckHelpId = 375;
constexpr int kSelectedId = 2580;
constexpr int kAllId = 2581;
constexpr int kUnknownId = 2582;
constexpr int kUnavailableId = 2583;
constexpr int kSelectId = 2584;
constexpr int kListId = 2585;
constexpr int kPromptId = 2586;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CCheckIngredientsDlg::CCheckIngredientsDlg(QWidget* parent)
    : CStyledDialog(parent, kCheckHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Check Ingredients"));
    ResizeDlu(200, 156);
    PlaceDlu(new QLabel(QStringLiteral("Check :"), this), 8, 6, 80, 10);
    m_scopeGroup = new QButtonGroup(this);
    auto* selected = new QRadioButton(QStringLiteral("Currently selected glazes"), this);
    auto* all = new QRadioButton(QStringLiteral("All glazes in the current database"), this);
    SetControlId(selected, kSelectedId);
    SetControlId(all, kAllId);
    PlaceDlu(selected, 14, 18, 170, 10);
    PlaceDlu(all, 14, 30, 170, 10);
    m_scopeGroup->addButton(selected, 0);
    m_scopeGroup->addButton(all, 1);
    PlaceDlu(new QLabel(QStringLiteral("Look for :"), this), 8, 46, 80, 10);
    m_unknown = AddCheck("Unknown materials", kUnknownId, 14, 58);
    m_unavailable = AddCheck("Unavailable materials", kUnavailableId, 14, 70);
    PlaceDlu(new QLabel(QStringLiteral("Results :"), this), 8, 86, 80, 10);
    m_select = AddCheck("Select glazes", kSelectId, 14, 98);
    m_list = AddCheck("List in Information window", kListId, 14, 110);
    m_prompt = AddCheck("Prompt for disposition", kPromptId, 14, 122);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 136, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 116, 136, 50, 14);
    AddHelpButton(172, 136, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CCheckIngredientsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CCheckIngredientsDlg::reject);
    setFixedSize(size());
}

QCheckBox* CCheckIngredientsDlg::AddCheck(const char* label, int id, int x, int y)
{
    auto* check = new QCheckBox(QString::fromLatin1(label), this);
    SetControlId(check, id);
    PlaceDlu(check, x, y, 170, 10);
    return check;
}

void CCheckIngredientsDlg::OnInitDialog()
{
    if (QAbstractButton* button = m_scopeGroup->button(options.allGlazes))
        button->setChecked(true);
    m_unknown->setChecked(options.unknown != 0);
    m_unavailable->setChecked(options.unavailable != 0);
    m_select->setChecked(options.selectGlazes != 0);
    m_list->setChecked(options.listInformation != 0);
    m_prompt->setChecked(options.prompt != 0);
}

void CCheckIngredientsDlg::accept()
{
    InitDialog();
    options.allGlazes = m_scopeGroup->checkedId() == 0 ? 0 : 1;
    options.unknown = m_unknown->isChecked() ? 1 : 0;
    options.unavailable = m_unavailable->isChecked() ? 1 : 0;
    options.selectGlazes = m_select->isChecked() ? 1 : 0;
    options.listInformation = m_list->isChecked() ? 1 : 0;
    options.prompt = m_prompt->isChecked() ? 1 : 0;
    CStyledDialog::accept();
}
