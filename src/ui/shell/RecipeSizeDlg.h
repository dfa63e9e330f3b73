#pragma once

// "Recipe Size Preferences": the batch sizes at which glaze recipes are printed (the working
// batch size, the original recipe size, or a list of custom sizes). Run on its own through
// SetUpRecipeBatchSizes it ends with "Save and Use" (2007), "Use" (2006) or Cancel (2); run
// from the Preferences dialog it shows "OK" in place of "Save and Use" and no "Use".

#include "support/DialogStyle.h"

#include <string>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

inline constexpr unsigned kHelpRecipeSizeDlg = 411;

class CRecipeSizePrefsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CRecipeSizePrefsDlg(QWidget* parent = nullptr);

    // 0 working batch size, 1 original recipe size, 2 custom sizes; -1 none chosen.
    int choice = -1;
    // The custom sizes as typed (separated by commas; "R" and "W" stand for the two others).
    std::string sizes;
    // The form the Preferences dialog runs: "OK", "Cancel" and "?" only.
    bool okForm = false;

    QButtonGroup* Choices() const { return m_choices; }
    QLineEdit* SizesEdit() const { return m_sizes; }
    QPushButton* SaveAndUseButton() const { return m_saveAndUse; }
    QPushButton* UseButton() const { return m_use; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* HelpButton() const { return m_help; }

public slots:
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    // Reads both fields back and ends with result.
    void OnConfirm(int result);

    QButtonGroup* m_choices = nullptr;
    QLineEdit* m_sizes = nullptr;
    QPushButton* m_saveAndUse = nullptr;
    QPushButton* m_use = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};

// What a run of the dialog on the working preferences leaves: after "Use" the trimmed sizes and
// the choice go into g_prefs, after "Save and Use" into g_savedPrefs too, which is then written
// to the preferences file; Cancel changes nothing.
void TakeRecipeSizeResult(const CRecipeSizePrefsDlg& dialog, int result);

// Runs the dialog (modal, without a parent) on the working preferences.
void SetUpRecipeBatchSizes();
