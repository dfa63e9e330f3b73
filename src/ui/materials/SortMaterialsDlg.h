#pragma once

// The Sort dialog of the materials list's Re-sort: one of eleven sort orders, and for the last
// one ("Oxide weight % :") the oxide whose share orders the materials.
//
// The caller presets the choice and the oxide's element number, runs the dialog and reads both
// back. The oxide list holds the alkali, neutral and acid oxides of the element table, each group
// by priority and element number and closed by a "---" line; choosing no oxide, or a "---" line,
// gives the element number -1 (the sort then uses silica).

#include "support/DialogStyle.h"

#include <array>

class QComboBox;
class QPushButton;
class QRadioButton;

class CSortMaterialsDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr int kChoiceCount = 11;
    // Item data of the separator lines of the oxide list.
    static constexpr int kSeparatorData = 999;

    explicit CSortMaterialsDlg(QWidget* parent = nullptr);

    int sortChoice = 0;     // 0..10, the radio buttons in order
    int comboPosition = -1; // the oxide list's shown entry
    int oxideElement = -1;  // element number of the oxide sort, -1 for none

    // The label of a choice ("Name", "Code", ...).
    static const char* ChoiceLabel(int choice);

    QRadioButton* ChoiceButton(int choice) const;
    QComboBox* OxideCombo() const { return m_oxides; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void FillOxides();

    std::array<QRadioButton*, kChoiceCount> m_choices{};
    QComboBox* m_oxides = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
