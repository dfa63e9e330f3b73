#pragma once

// Check Ingredients, unknown ingredient: what to do with one material name that the materials
// database does not know. The caller sets name and choice (the preselected action) and runs the
// dialog; it ends with OK (1), Cancel (2) or the control number of "Create All", "Skip" or
// "Skip All" (kCheckCreateAllId, kCheckSkipId, kCheckSkipAllId), and every ending but Cancel
// takes the controls' data first. choice is then the action showing and target the text of the
// material box beside it (empty for "No action" and "Create new material").

#include "support/DialogStyle.h"

#include <array>
#include <string>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;

class CCheckIngredientsMapDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CCheckIngredientsMapDlg(QWidget* parent = nullptr);

    std::string name;
    int choice = 0;
    std::string target;

    QLabel* NameLabel() const { return m_name; }
    QButtonGroup* ChoiceGroup() const { return m_choiceGroup; }
    // The material box of choice 1, 2 or 4; null for the others.
    QComboBox* TargetCombo(int choice) const;
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* SkipButton() const { return m_skipButton; }
    QPushButton* SkipAllButton() const { return m_skipAllButton; }
    QPushButton* CreateAllButton() const { return m_createAllButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void FillTargets();
    void EnableTargets();
    // Takes the controls' data and ends the dialog with result.
    void EndWith(int result);

    QLabel* m_name = nullptr;
    QButtonGroup* m_choiceGroup = nullptr;
    std::array<QComboBox*, 3> m_targets{};
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_skipButton = nullptr;
    QPushButton* m_skipAllButton = nullptr;
    QPushButton* m_createAllButton = nullptr;
};
