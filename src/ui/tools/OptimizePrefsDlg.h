#pragma once

// The Optimize Preferences dialog: the four oxide columns of the Optimize dialog's constraint
// pages, the number formats of constraint values and of the generated recipe, and the solver's
// numeric tolerance. It edits copies; the caller stores them: "Save and Use" (result 2007) in
// the working and the stored preferences, "Use" (2006) in the working ones. Both first check
// every column and the tolerance.

#include "support/DialogStyle.h"

#include <array>
#include <string>

class CPreferences;
class QLineEdit;
class QPushButton;

// Control ids and results of the dialog (template 179).
enum OptimizePrefsControl : int {
    kOptPrefsUse = 2006,
    kOptPrefsSaveAndUse = 2007,
    kOptPrefsDecRecipeInput = 2529,
    kOptPrefsDecRemainders = 2532,
    kOptPrefsTzsRecipeInput = 2537,
    kOptPrefsTzsRemainders = 2540,
    kOptPrefsDefaults = 6440,
    kOptPrefsColumnFirst = 6441, // 6441..6444
    kOptPrefsTolerance = 6445,
};

inline constexpr unsigned kOptimizePrefsHelpId = 0x200B3;

class COptimizePrefsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit COptimizePrefsDlg(QWidget* parent = nullptr);

    // The edited copies.
    std::array<std::string, 4> columns;
    int decremainders = 5;
    int tzsremainders = 5;
    int decrecipeinput = 3;
    int tzsrecipeinput = -1;
    int optimizetol = 8;

    void CopyFrom(const CPreferences& prefs);
    void CopyTo(CPreferences& prefs) const;

    // Reads the fields and checks them in order; the first bad one is reported and false
    // returned.
    bool TakeControls();
    // Ends with result (2006 or 2007) when the fields check out.
    void Finish(int result);
    // The defaults of a fresh preference set into the fields.
    void SetDefaults();

    QLineEdit* ColumnEdit(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
    // 0 decremainders, 1 tzsremainders, 2 decrecipeinput, 3 tzsrecipeinput.
    QLineEdit* NumberEdit(int n) const { return m_numbers[static_cast<std::size_t>(n)]; }
    QLineEdit* ToleranceEdit() const { return m_tolerance; }
    QPushButton* UseButton() const { return m_useButton; }
    QPushButton* SaveAndUseButton() const { return m_saveButton; }

protected:
    void OnInitDialog() override;

private:
    void BuildControls();
    void BuildButtons();
    void ShowValues();

    std::array<QLineEdit*, 4> m_columns{};
    std::array<QLineEdit*, 4> m_numbers{};
    QLineEdit* m_tolerance = nullptr;
    QPushButton* m_useButton = nullptr;
    QPushButton* m_saveButton = nullptr;
};

// Runs the dialog on the working preferences and applies its result (with a save of the
// preferences file for "Save and Use"). True when the preferences were changed.
bool RunOptimizePrefsDialog(QWidget* parent);
