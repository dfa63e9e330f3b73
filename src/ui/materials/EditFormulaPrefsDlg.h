#pragma once

// The Edit Formula Preferences dialog: the four column lists of the Edit Formula dialog and the
// break-apart option. It edits copies of the settings; the caller stores them: "Save and Use"
// (result 2007) in the working and the stored preferences, "Use" (2006) in the working ones.
// Both first check that every column names components a formula can hold.

#include "support/DialogStyle.h"

#include <array>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Control ids and results of the dialog (template 170).
enum EditFormulaPrefsControl : int {
    kFormulaPrefsUse = 2006,
    kFormulaPrefsSaveAndUse = 2007,
    kFormulaPrefsDefaults = 2544,
    kFormulaPrefsColumnFirst = 2545, // 2545..2548
    kFormulaPrefsBreakApart = 2549,
};

inline constexpr unsigned kEditFormulaPrefsHelpId = 347;
inline constexpr unsigned kFormulaPrefsColumnErrorHelpId = 0x30282;

class CEditFormulaPrefsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CEditFormulaPrefsDlg(QWidget* parent = nullptr);

    std::array<std::string, 4> columns;
    int breakApart = 0;

    // Reads the controls and checks the columns in order; the first bad one is reported and
    // false returned.
    bool TakeControls();
    // Ends with result (2006 or 2007) when the columns check out.
    void Finish(int result);
    // The columns and the flag of the default preferences, into the controls.
    void SetDefaults();

    QLineEdit* ColumnEdit(int column) const { return m_columnEdits[static_cast<std::size_t>(column)]; }
    QCheckBox* BreakApartBox() const { return m_breakApart; }
    QPushButton* UseButton() const { return m_useButton; }
    QPushButton* SaveAndUseButton() const { return m_saveButton; }

protected:
    void OnInitDialog() override;

private:
    std::array<QLineEdit*, 4> m_columnEdits{};
    QCheckBox* m_breakApart = nullptr;
    QPushButton* m_useButton = nullptr;
    QPushButton* m_saveButton = nullptr;
};

// True when a column list ("SiO2,Al2O3") names components a formula can hold.
bool IsValidFormulaColumn(const std::string& column);
