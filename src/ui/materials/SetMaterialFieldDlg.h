#pragma once

// Set Field: one field of many materials gets one value. The user picks the field from a fixed
// list, types or picks the value (the value list offers the preferred material types for "Type",
// "No" and "Yes" for "Available", and every material's name for "Map to") and chooses between the
// selected materials and all materials of the database.
//
// The caller presets the scope, the field list position and the value text; after OK it reads
// them back with the field number (`CMaterial::SetField`) of the chosen entry.

#include "support/DialogStyle.h"

#include <string>

class QComboBox;
class QPushButton;
class QRadioButton;

// One entry of the field list.
struct SMaterialFieldChoice {
    const char* label;
    int field; // CMaterial::SetField number
};
inline constexpr int kMaterialFieldChoiceCount = 15;
// The CMaterial::SetField numbers of the fields that take a number, and of the formula.
inline constexpr int kMaterialFieldDensity = 7;
inline constexpr int kMaterialFieldCost = 9;
inline constexpr int kMaterialFieldFormula = 10;
extern const SMaterialFieldChoice g_materialFieldChoices[kMaterialFieldChoiceCount];

class CSetMaterialFieldDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CSetMaterialFieldDlg(QWidget* parent = nullptr);

    int scope = -1;         // 0 selected materials, 1 all materials
    int fieldPosition = -1; // in the field list
    std::string valueText;
    int fieldNumber = -1;

    QComboBox* FieldCombo() const { return m_fields; }
    QComboBox* ValueCombo() const { return m_values; }
    QRadioButton* SelectedRadio() const { return m_selected; }
    QRadioButton* AllRadio() const { return m_all; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    // A new field was chosen: the value box is emptied and given that field's choices.
    void OnFieldChanged();
    void FillValues();
    // False after refusing a value text that is no formula, with the engine's message.
    bool CheckFormula();

    QComboBox* m_values = nullptr;
    QComboBox* m_fields = nullptr;
    QRadioButton* m_selected = nullptr;
    QRadioButton* m_all = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
