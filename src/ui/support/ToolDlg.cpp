#include "support/ToolDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "shell/OxidariumApp.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CToolDlg::CToolDlg(QWidget* parent, unsigned help, const char* colorName)
    : CStyledDialog(parent, help)
{
    backgroundColor = GetNamedColor(colorName);
}

std::string CToolDlg::FieldText(const QLineEdit* edit)
{
    std::string text = ToCp1252(edit->text());
    TrimString(text);
    return text;
}

QString CToolDlg::NumberText(double value)
{
    return FromCp1252(FormatDoubleShortest(value));
}

QLabel* CToolDlg::AddLabel(const QString& text, int id, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, this);
    if (id != 0)
        SetControlId(label, id);
    PlaceDlu(label, x, y, width, height);
    return label;
}

QLineEdit* CToolDlg::AddEdit(int id, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    PlaceDlu(edit, x, y, width, height);
    return edit;
}

QCheckBox* CToolDlg::AddCheck(const QString& text, int id, int x, int y, int width, int height)
{
    auto* check = new QCheckBox(text, this);
    SetControlId(check, id);
    PlaceDlu(check, x, y, width, height);
    return check;
}

QRadioButton* CToolDlg::AddRadio(QButtonGroup* group, const QString& text, int id, int value, int x, int y,
                                 int width, int height)
{
    auto* radio = new QRadioButton(text, this);
    SetControlId(radio, id);
    PlaceDlu(radio, x, y, width, height);
    group->addButton(radio, value);
    return radio;
}

QComboBox* CToolDlg::AddCombo(int id, int x, int y, int width, int height)
{
    auto* combo = new QComboBox(this);
    SetControlId(combo, id);
    PlaceDlu(combo, x, y, width, height);
    combo->setMaxVisibleItems(20);
    return combo;
}

QGroupBox* CToolDlg::AddGroup(const QString& text, int x, int y, int width, int height)
{
    auto* group = new QGroupBox(text, this);
    PlaceDlu(group, x, y, width, height);
    group->lower();
    return group;
}

void CToolDlg::AddOkCancelHelp(int x, int y)
{
    m_okButton = AddButton(QStringLiteral("OK"), kToolIdOk, x, y, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kToolIdCancel, x + 56, y, 50, 14);
    AddHelpButton(x + 112, y, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CToolDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CToolDlg::reject);
}

bool CToolDlg::ReadWholeNumber(QLineEdit* edit, int minimum, int maximum, int& value)
{
    return ReadWholeNumberField(edit, minimum, maximum, value);
}

bool CToolDlg::ReadNumber(QLineEdit* edit, double minimum, double maximum, double& value)
{
    return ReadNumberField(edit, minimum, maximum, value);
}

void CToolDlg::CheckRadioValue(QButtonGroup* group, int value)
{
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    // Nothing checked: an exclusive group must let go of its checked button first.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

bool ReadNumberFormatFields(const std::array<QLineEdit*, 4>& fields, std::array<int, 4>& values)
{
    constexpr int kMostDecimals = 12;
    std::array<int, 4> read{};
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const int least = n % 2 == 0 ? 1 : -1; // decimals, then the least kept
        if (!CToolDlg::ReadWholeNumber(fields[n], least, kMostDecimals, read[n]))
            return false;
    }
    values = read;
    return true;
}
