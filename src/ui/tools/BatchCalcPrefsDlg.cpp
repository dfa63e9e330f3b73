#include "tools/BatchCalcPrefsDlg.h"

#include "elements/ElementList.h"
#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/ToolDlg.h"
#include "support/NumberField.h"
#include "support/NumberText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr int kIdCancel = 2;

} // namespace

CBatchPrefsDlg::CBatchPrefsDlg(QWidget* parent) : CStyledDialog(parent, kBatchPrefsHelpId)
{
    setWindowTitle(QStringLiteral("Batch Calculation Preferences"));
    backgroundColor = GetNamedColor("dlg_pref_tab");
    ResizeDlu(291, 222);
    BuildOptions();
    BuildUnits();
    BuildNumbers();
    BuildButtons();
}

void CBatchPrefsDlg::BuildOptions()
{
    static const char* const kCaptions[3] = {"Suggest unavailable materials if appropriate",
                                             "Multiple Suggestion Passes", "Extended Suggestions"};
    for (int n = 0; n < 3; ++n) {
        auto* box = new QCheckBox(QString::fromLatin1(kCaptions[n]), this);
        SetControlId(box, kBatchPrefsUnavailable + n);
        PlaceDlu(box, 10, 8 + 13 * n, 200, 10);
        m_options[static_cast<std::size_t>(n)] = box;
    }
    PlaceDlu(new QLabel(QStringLiteral("Oxide Suggestion Order :"), this), 10, 50, 120, 9);
    m_order = new QLineEdit(this);
    SetControlId(m_order, kBatchPrefsOrder);
    PlaceDlu(m_order, 10, 60, 271, 12);
    PlaceDlu(new QLabel(QStringLiteral("(Choose from: Si Al Na K Ca Mg etc.)"), this), 10, 74, 200, 9);
    PlaceDlu(new QLabel(QStringLiteral("Suggestion tolerance for undesired oxides :"), this), 10, 92, 150, 9);
    m_tolerance = new QLineEdit(this);
    SetControlId(m_tolerance, kBatchPrefsTolerance);
    PlaceDlu(m_tolerance, 162, 90, 30, 12);
    PlaceDlu(new QLabel(QStringLiteral("%"), this), 195, 92, 8, 9);
    m_tolUnits = new QButtonGroup(this);
    static const char* const kTolCaptions[2] = {"% Molecular", "% Weight"};
    for (int n = 0; n < 2; ++n) {
        auto* radio = new QRadioButton(QString::fromLatin1(kTolCaptions[n]), this);
        SetControlId(radio, kBatchPrefsTolMolecular + n);
        PlaceDlu(radio, 210, 86 + 11 * n, 70, 10);
        m_tolUnits->addButton(radio, n);
    }
}

void CBatchPrefsDlg::BuildUnits()
{
    PlaceDlu(new QLabel(QStringLiteral("Default remainder format :"), this), 10, 116, 120, 9);
    m_remainderUnits = new QButtonGroup(this);
    static const char* const kCaptions[4] = {"Molecular", "Weight", "% Molecular", "% Weight"};
    for (int n = 0; n < 4; ++n) {
        auto* radio = new QRadioButton(QString::fromLatin1(kCaptions[n]), this);
        SetControlId(radio, kBatchPrefsUnitFirst + n);
        PlaceDlu(radio, 20, 127 + 11 * n, 70, 10);
        m_remainderUnits->addButton(radio, n);
    }
}

void CBatchPrefsDlg::BuildNumbers()
{
    PlaceDlu(new QLabel(QStringLiteral("Numeric formats :"), this), 140, 116, 100, 9);
    PlaceDlu(new QLabel(QStringLiteral("Decimals"), this), 200, 127, 36, 9);
    PlaceDlu(new QLabel(QStringLiteral("(minimum)"), this), 240, 127, 40, 9);
    PlaceDlu(new QLabel(QStringLiteral("Remainders"), this), 140, 140, 56, 9);
    PlaceDlu(new QLabel(QStringLiteral("Recipe (input)"), this), 140, 156, 56, 9);
    static const int kIds[4] = {kBatchPrefsDecRemainders, kBatchPrefsTzsRemainders, kBatchPrefsDecRecipeInput,
                                kBatchPrefsTzsRecipeInput};
    for (int n = 0; n < 4; ++n) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, kIds[n]);
        PlaceDlu(edit, 204 + 40 * (n % 2), 138 + 16 * (n / 2), 24, 12);
        m_numbers[static_cast<std::size_t>(n)] = edit;
    }
}

void CBatchPrefsDlg::BuildButtons()
{
    QPushButton* defaults = AddButton(QStringLiteral("Set Defaults"), kBatchPrefsDefaults, 221, 176, 60, 14);
    m_saveButton = AddButton(QStringLiteral("Save and Use"), kBatchPrefsSaveAndUse, 10, 200, 60, 14);
    m_useButton = AddButton(QStringLiteral("Use"), kBatchPrefsUse, 76, 200, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), kIdCancel, 132, 200, 50, 14);
    AddHelpButton(261, 200, 20, 14);
    connect(defaults, &QPushButton::clicked, this, &CBatchPrefsDlg::SetDefaults);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { Finish(kBatchPrefsSaveAndUse); });
    connect(m_useButton, &QPushButton::clicked, this, [this] { Finish(kBatchPrefsUse); });
    connect(cancel, &QPushButton::clicked, this, &CBatchPrefsDlg::reject);
}

void CBatchPrefsDlg::CopyFrom(const CPreferences& prefs)
{
    sugunav = prefs.sugunav;
    sugmulti = prefs.sugmulti;
    sugextend = prefs.sugextend;
    sugord = prefs.sugord;
    rmndfmt = prefs.rmndfmt;
    sugtol = prefs.sugtol;
    sugtoltyp = prefs.sugtoltyp;
    decrecipeinput = prefs.decrecipeinput;
    decremainders = prefs.decremainders;
    tzsrecipeinput = prefs.tzsrecipeinput;
    tzsremainders = prefs.tzsremainders;
}

void CBatchPrefsDlg::CopyTo(CPreferences& prefs) const
{
    prefs.sugunav = sugunav;
    prefs.sugmulti = sugmulti;
    prefs.sugextend = sugextend;
    prefs.sugord = sugord;
    prefs.rmndfmt = rmndfmt;
    prefs.sugtol = sugtol;
    prefs.sugtoltyp = sugtoltyp;
    prefs.decrecipeinput = decrecipeinput;
    prefs.decremainders = decremainders;
    prefs.tzsrecipeinput = tzsrecipeinput;
    prefs.tzsremainders = tzsremainders;
}

void CBatchPrefsDlg::OnInitDialog()
{
    ShowValues();
}

void CBatchPrefsDlg::ShowValues()
{
    m_options[0]->setChecked(sugunav > 0);
    m_options[1]->setChecked(sugmulti > 0);
    m_options[2]->setChecked(sugextend > 0);
    m_order->setText(FromCp1252(sugord));
    m_tolerance->setText(FromCp1252(FormatDoubleShortest(sugtol)));
    if (QAbstractButton* radio = m_tolUnits->button(std::clamp(sugtoltyp, 0, 1)))
        radio->setChecked(true);
    if (QAbstractButton* radio = m_remainderUnits->button(std::clamp(rmndfmt, 0, 3)))
        radio->setChecked(true);
    const int numbers[4] = {decremainders, tzsremainders, decrecipeinput, tzsrecipeinput};
    for (int n = 0; n < 4; ++n)
        m_numbers[static_cast<std::size_t>(n)]->setText(QString::number(numbers[n]));
}

void CBatchPrefsDlg::SetDefaults()
{
    InitDialog();
    CopyFrom(CPreferences());
    ShowValues();
}

bool CBatchPrefsDlg::TakeControls()
{
    InitDialog();
    const std::string order = ToCp1252(m_order->text());
    if (ParseElementSymbolListEx(order, false, false) != 0) {
        AppMessageBox("Error in 'Oxide Suggestion Order'", MsgOk | MsgIconError, kBatchPrefsHelpId);
        m_order->setFocus();
        return false;
    }
    // A tolerance beyond 0 to 100 is taken as the nearest end; a text that is no number is refused.
    double tolerance = 0.0;
    if (!ReadNumberText(ToCp1252(m_tolerance->text()), tolerance))
        return RefuseField(m_tolerance, kEnterNumberMessage);
    // Decimals of 0 would make the calculator's tolerance and amount step 1.
    std::array<int, 4> numbers{};
    if (!ReadNumberFormatFields(m_numbers, numbers))
        return false;
    sugord = order;
    sugunav = m_options[0]->isChecked() ? 1 : 0;
    sugmulti = m_options[1]->isChecked() ? 1 : 0;
    sugextend = m_options[2]->isChecked() ? 1 : 0;
    sugtol = std::clamp(tolerance, 0.0, 100.0);
    sugtoltyp = std::max(0, m_tolUnits->checkedId());
    rmndfmt = std::max(0, m_remainderUnits->checkedId());
    decremainders = numbers[0];
    tzsremainders = numbers[1];
    decrecipeinput = numbers[2];
    tzsrecipeinput = numbers[3];
    return true;
}

void CBatchPrefsDlg::Finish(int result)
{
    if (TakeControls())
        done(result);
}

bool RunBatchPrefsDialog(QWidget* parent)
{
    CBatchPrefsDlg dialog(parent);
    dialog.CopyFrom(g_prefs);
    const int result = dialog.exec();
    if (result != kBatchPrefsUse && result != kBatchPrefsSaveAndUse)
        return false;
    dialog.CopyTo(g_prefs);
    if (result == kBatchPrefsSaveAndUse) {
        dialog.CopyTo(g_savedPrefs);
        g_savedPrefs.Save();
    }
    return true;
}
