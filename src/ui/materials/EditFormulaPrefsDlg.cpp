#include "materials/EditFormulaPrefsDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/Material.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kIdCancel = 2;

} // namespace

bool IsValidFormulaColumn(const std::string& column)
{
    std::string formula = "%w " + column;
    std::replace(formula.begin(), formula.end(), ',', ' ');
    CMaterial scratch("new material");
    return scratch.SetFormula(formula) == 0;
}

CEditFormulaPrefsDlg::CEditFormulaPrefsDlg(QWidget* parent) : CStyledDialog(parent, kEditFormulaPrefsHelpId)
{
    setWindowTitle(QStringLiteral("Edit Formula Preferences"));
    backgroundColor = GetNamedColor("dlg_pref_tab");
    ResizeDlu(300, 118);
    PlaceDlu(new QLabel(QStringLiteral("Edit Formula dialog box:"), this), 8, 6, 200, 10);
    for (int column = 0; column < 4; ++column) {
        PlaceDlu(new QLabel(QStringLiteral("Col %1 :").arg(column + 1), this), 8, 22 + 16 * column, 30, 10);
        auto* edit = new QLineEdit(this);
        SetControlId(edit, kFormulaPrefsColumnFirst + column);
        PlaceDlu(edit, 40, 20 + 16 * column, 250, 12);
        m_columnEdits[static_cast<std::size_t>(column)] = edit;
    }
    m_breakApart = new QCheckBox(QStringLiteral("Automatically break apart complex components on entry"), this);
    SetControlId(m_breakApart, kFormulaPrefsBreakApart);
    PlaceDlu(m_breakApart, 8, 84, 220, 10);
    QPushButton* defaults = AddButton(QStringLiteral("Set Defaults"), kFormulaPrefsDefaults, 236, 82, 54, 14);
    m_saveButton = AddButton(QStringLiteral("Save and Use"), kFormulaPrefsSaveAndUse, 8, 100, 60, 14);
    m_useButton = AddButton(QStringLiteral("Use"), kFormulaPrefsUse, 74, 100, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), kIdCancel, 130, 100, 50, 14);
    AddHelpButton(270, 100, 20, 14);
    connect(defaults, &QPushButton::clicked, this, &CEditFormulaPrefsDlg::SetDefaults);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { Finish(kFormulaPrefsSaveAndUse); });
    connect(m_useButton, &QPushButton::clicked, this, [this] { Finish(kFormulaPrefsUse); });
    connect(cancel, &QPushButton::clicked, this, &CEditFormulaPrefsDlg::reject);
}

void CEditFormulaPrefsDlg::OnInitDialog()
{
    for (int column = 0; column < 4; ++column)
        m_columnEdits[static_cast<std::size_t>(column)]->setText(FromCp1252(columns[static_cast<std::size_t>(column)]));
    m_breakApart->setChecked(breakApart > 0);
}

void CEditFormulaPrefsDlg::SetDefaults()
{
    const CPreferences defaults;
    const std::array<std::string, 4> texts = {defaults.formedcol1, defaults.formedcol2, defaults.formedcol3,
                                              defaults.formedcol4};
    for (int column = 0; column < 4; ++column)
        m_columnEdits[static_cast<std::size_t>(column)]->setText(FromCp1252(texts[static_cast<std::size_t>(column)]));
    m_breakApart->setChecked(defaults.formedbrkcmplx > 0);
}

bool CEditFormulaPrefsDlg::TakeControls()
{
    InitDialog();
    std::array<std::string, 4> texts;
    for (int column = 0; column < 4; ++column) {
        std::string& text = texts[static_cast<std::size_t>(column)];
        text = ToCp1252(m_columnEdits[static_cast<std::size_t>(column)]->text());
        if (!IsValidFormulaColumn(text)) {
            AppMessageBox("Error in 'Formula Edit column " + std::to_string(column + 1) + "'", MsgOk | MsgIconError,
                          kFormulaPrefsColumnErrorHelpId);
            m_columnEdits[static_cast<std::size_t>(column)]->setFocus();
            return false;
        }
    }
    columns = texts;
    breakApart = m_breakApart->isChecked() ? 1 : 0;
    return true;
}

void CEditFormulaPrefsDlg::Finish(int result)
{
    if (TakeControls())
        done(result);
}
