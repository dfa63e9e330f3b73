#pragma once

// The Batch Calculation Preferences dialog: the suggestion options, the oxide suggestion order,
// the tolerance for undesired oxides, the remainder unit a new calculation starts with and the
// number formats of remainders and recipe amounts. It edits copies of the settings; the caller
// stores them: "Save and Use" (result 2007) in the working and the stored preferences, "Use"
// (2006) in the working ones. Both first check the suggestion order.

#include "support/DialogStyle.h"

#include <array>
#include <string>

class CPreferences;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

// Control ids and results of the dialog.
enum BatchPrefsControl : int {
    kBatchPrefsUse = 2006,
    kBatchPrefsSaveAndUse = 2007,
    kBatchPrefsOrder = 2450,
    kBatchPrefsUnavailable = 2451,
    kBatchPrefsMultiPass = 2452,
    kBatchPrefsExtended = 2453,
    kBatchPrefsTolerance = 2454,
    kBatchPrefsTolMolecular = 2455,
    kBatchPrefsTolWeight = 2456,
    kBatchPrefsDecRecipeInput = 2529,
    kBatchPrefsDecRemainders = 2532,
    kBatchPrefsTzsRecipeInput = 2537,
    kBatchPrefsTzsRemainders = 2540,
    kBatchPrefsUnitFirst = 5340, // 5340..5343
    kBatchPrefsDefaults = 5344,
};

inline constexpr unsigned kBatchPrefsHelpId = 378;

class CBatchPrefsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CBatchPrefsDlg(QWidget* parent = nullptr);

    // The edited copies, in the order the preferences file lists them.
    int sugunav = 0;
    int sugmulti = 0;
    int sugextend = 0;
    std::string sugord;
    int rmndfmt = 0;
    double sugtol = 0.0;
    int sugtoltyp = 0;
    int decrecipeinput = 3;
    int decremainders = 5;
    int tzsrecipeinput = -1;
    int tzsremainders = 5;

    // The eleven values from a preference set, and back into one.
    void CopyFrom(const CPreferences& prefs);
    void CopyTo(CPreferences& prefs) const;

    // Reads the controls and checks them; false after the message when the order or a number
    // format is bad.
    bool TakeControls();
    // Ends with result (2006 or 2007) when the values check out.
    void Finish(int result);
    // The built-in defaults into the controls (nothing is applied yet).
    void SetDefaults();

    QCheckBox* OptionBox(int n) const { return m_options[static_cast<std::size_t>(n)]; }
    QLineEdit* OrderEdit() const { return m_order; }
    QLineEdit* ToleranceEdit() const { return m_tolerance; }
    QButtonGroup* ToleranceUnits() const { return m_tolUnits; }
    QButtonGroup* RemainderUnits() const { return m_remainderUnits; }
    // 0 decremainders, 1 tzsremainders, 2 decrecipeinput, 3 tzsrecipeinput.
    QLineEdit* NumberEdit(int n) const { return m_numbers[static_cast<std::size_t>(n)]; }
    QPushButton* UseButton() const { return m_useButton; }
    QPushButton* SaveAndUseButton() const { return m_saveButton; }

protected:
    void OnInitDialog() override;

private:
    void BuildOptions();
    void BuildUnits();
    void BuildNumbers();
    void BuildButtons();
    // The values into the controls.
    void ShowValues();

    std::array<QCheckBox*, 3> m_options{};
    QLineEdit* m_order = nullptr;
    QLineEdit* m_tolerance = nullptr;
    QButtonGroup* m_tolUnits = nullptr;
    QButtonGroup* m_remainderUnits = nullptr;
    std::array<QLineEdit*, 4> m_numbers{};
    QPushButton* m_useButton = nullptr;
    QPushButton* m_saveButton = nullptr;
};

// Runs the dialog on the working preferences and applies its result (with a save of the
// preferences file for "Save and Use"). True when the preferences were changed.
bool RunBatchPrefsDialog(QWidget* parent);
