#include "tools/OptimizePrefsDlg.h"

#include "elements/ElementList.h"
#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/ToolDlg.h"
#include "support/NumberField.h"
#include "support/NumberText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kIdCancel = 2;

constexpr const char* kColumnNames[4] = {"Group 1, Column 1", "Group 1, Column 2", "Group 2, Column 1",
                                         "Group 2, Column 2"};

} // namespace

COptimizePrefsDlg::COptimizePrefsDlg(QWidget* parent) : CStyledDialog(parent, kOptimizePrefsHelpId)
{
    setWindowTitle(QStringLiteral("Optimize Preferences"));
    backgroundColor = GetNamedColor("dlg_pref_tab");
    ResizeDlu(300, 196);
    BuildControls();
    BuildButtons();
}

void COptimizePrefsDlg::BuildControls()
{
    auto* intro = new QLabel(QStringLiteral("Oxide columns of the constraint pages (Choose from: Si Al Na K Ca Mg etc. "
                                            "or Nk for combined Na/K, or LOI for loss on ignition) :"),
                             this);
    intro->setWordWrap(true);
    PlaceDlu(intro, 8, 6, 284, 18);
    for (int column = 0; column < 4; ++column) {
        PlaceDlu(new QLabel(QString::fromLatin1(kColumnNames[column]) + QStringLiteral(" :"), this), 8,
                 30 + 16 * column, 72, 9);
        auto* edit = new QLineEdit(this);
        SetControlId(edit, kOptPrefsColumnFirst + column);
        PlaceDlu(edit, 82, 28 + 16 * column, 210, 12);
        m_columns[static_cast<std::size_t>(column)] = edit;
    }
    PlaceDlu(new QLabel(QStringLiteral("Numeric formats :"), this), 8, 98, 72, 9);
    PlaceDlu(new QLabel(QStringLiteral("Decimals"), this), 82, 98, 36, 9);
    PlaceDlu(new QLabel(QStringLiteral("(minimum)"), this), 122, 98, 40, 9);
    PlaceDlu(new QLabel(QStringLiteral("Remainders"), this), 20, 111, 60, 9);
    PlaceDlu(new QLabel(QStringLiteral("Recipe (input)"), this), 20, 127, 60, 9);
    static const int kIds[4] = {kOptPrefsDecRemainders, kOptPrefsTzsRemainders, kOptPrefsDecRecipeInput,
                                kOptPrefsTzsRecipeInput};
    for (int n = 0; n < 4; ++n) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, kIds[n]);
        PlaceDlu(edit, 86 + 40 * (n % 2), 109 + 16 * (n / 2), 24, 12);
        m_numbers[static_cast<std::size_t>(n)] = edit;
    }
    PlaceDlu(new QLabel(QStringLiteral("Numeric tolerance in calculation :"), this), 8, 149, 120, 9);
    m_tolerance = new QLineEdit(this);
    SetControlId(m_tolerance, kOptPrefsTolerance);
    PlaceDlu(m_tolerance, 130, 147, 24, 12);
    auto* hint = new QLabel(QStringLiteral("(higher numbers are more accurate but less tolerant)"), this);
    hint->setWordWrap(true);
    PlaceDlu(hint, 158, 145, 134, 18);
}

void COptimizePrefsDlg::BuildButtons()
{
    QPushButton* defaults = AddButton(QStringLiteral("Set Defaults"), kOptPrefsDefaults, 232, 108, 60, 14);
    m_saveButton = AddButton(QStringLiteral("Save and Use"), kOptPrefsSaveAndUse, 8, 174, 60, 14);
    m_useButton = AddButton(QStringLiteral("Use"), kOptPrefsUse, 74, 174, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), kIdCancel, 130, 174, 50, 14);
    AddHelpButton(272, 174, 20, 14);
    connect(defaults, &QPushButton::clicked, this, &COptimizePrefsDlg::SetDefaults);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { Finish(kOptPrefsSaveAndUse); });
    connect(m_useButton, &QPushButton::clicked, this, [this] { Finish(kOptPrefsUse); });
    connect(cancel, &QPushButton::clicked, this, &COptimizePrefsDlg::reject);
}

void COptimizePrefsDlg::CopyFrom(const CPreferences& prefs)
{
    columns = {prefs.optimizecol1, prefs.optimizecol2, prefs.optimizecol3, prefs.optimizecol4};
    decremainders = prefs.decremainders;
    tzsremainders = prefs.tzsremainders;
    decrecipeinput = prefs.decrecipeinput;
    tzsrecipeinput = prefs.tzsrecipeinput;
    optimizetol = prefs.optimizetol;
}

void COptimizePrefsDlg::CopyTo(CPreferences& prefs) const
{
    prefs.optimizecol1 = columns[0];
    prefs.optimizecol2 = columns[1];
    prefs.optimizecol3 = columns[2];
    prefs.optimizecol4 = columns[3];
    prefs.decremainders = decremainders;
    prefs.tzsremainders = tzsremainders;
    prefs.decrecipeinput = decrecipeinput;
    prefs.tzsrecipeinput = tzsrecipeinput;
    prefs.optimizetol = optimizetol;
}

void COptimizePrefsDlg::OnInitDialog()
{
    ShowValues();
}

void COptimizePrefsDlg::ShowValues()
{
    for (int column = 0; column < 4; ++column)
        m_columns[static_cast<std::size_t>(column)]->setText(FromCp1252(columns[static_cast<std::size_t>(column)]));
    const int numbers[4] = {decremainders, tzsremainders, decrecipeinput, tzsrecipeinput};
    for (int n = 0; n < 4; ++n)
        m_numbers[static_cast<std::size_t>(n)]->setText(QString::number(numbers[n]));
    m_tolerance->setText(QString::number(optimizetol));
}

void COptimizePrefsDlg::SetDefaults()
{
    InitDialog();
    CopyFrom(CPreferences());
    ShowValues();
}

bool COptimizePrefsDlg::TakeControls()
{
    InitDialog();
    std::array<std::string, 4> texts;
    for (int column = 0; column < 4; ++column) {
        std::string& text = texts[static_cast<std::size_t>(column)];
        text = ToCp1252(m_columns[static_cast<std::size_t>(column)]->text());
        if (ParseElementSymbolListEx(text, true, true) != 0) {
            AppMessageBox(std::string("Error in '") + kColumnNames[column] + "'", MsgOk | MsgIconError, helpId);
            m_columns[static_cast<std::size_t>(column)]->setFocus();
            return false;
        }
    }
    int tolerance = 0;
    if (!ReadWholeNumberText(ToCp1252(m_tolerance->text()), tolerance) || tolerance < 1 || tolerance > 12)
        return RefuseField(m_tolerance, "Error in 'Tolerance'", MsgOk | MsgIconError, helpId);
    std::array<int, 4> numbers{};
    if (!ReadNumberFormatFields(m_numbers, numbers))
        return false;
    columns = texts;
    optimizetol = tolerance;
    decremainders = numbers[0];
    tzsremainders = numbers[1];
    decrecipeinput = numbers[2];
    tzsrecipeinput = numbers[3];
    return true;
}

void COptimizePrefsDlg::Finish(int result)
{
    if (TakeControls())
        done(result);
}

bool RunOptimizePrefsDialog(QWidget* parent)
{
    COptimizePrefsDlg dialog(parent);
    dialog.CopyFrom(g_prefs);
    const int result = dialog.exec();
    if (result != kOptPrefsUse && result != kOptPrefsSaveAndUse)
        return false;
    dialog.CopyTo(g_prefs);
    if (result == kOptPrefsSaveAndUse) {
        dialog.CopyTo(g_savedPrefs);
        g_savedPrefs.Save();
    }
    return true;
}
