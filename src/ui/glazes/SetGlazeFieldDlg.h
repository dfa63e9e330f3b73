#pragma once

// Set Field: the scope (0 the selected glazes, 1 all glazes of the database), the field (the
// field numbers of CGlaze::SetField) and the value text. Choosing a field empties the value and
// offers the field's vocabulary. The caller sets the three (-1, -1 and empty for nothing
// chosen), runs the dialog and reads them back; -1 means nothing was chosen.

#include "support/DialogStyle.h"

#include <string>

class QButtonGroup;
class QComboBox;
class QPushButton;

// Fills the list of an editable value box with what a glaze field offers: the preferences'
// vocabulary of a descriptive field (5 type ... 17 tested), "No" and "Yes" for 22 by volume,
// the batch sizes for 23, the limit formula names of the open database for 24 and 29; nothing
// for the others. The box's text stays as it was.
void FillGlazeFieldValueList(QComboBox& combo, int field);

class CSetGlazeFieldDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 23;

    explicit CSetGlazeFieldDlg(QWidget* parent = nullptr);

    // The label and field number of entry n of the field list ("Name" 1 ... "Limit Formula" 24).
    static const char* FieldLabel(int n);
    static int FieldNumber(int n);

    int scope = -1;
    int field = -1;
    std::string value;

    QButtonGroup* ScopeGroup() const { return m_scopeGroup; }
    QComboBox* FieldCombo() const { return m_fields; }
    QComboBox* ValueCombo() const { return m_values; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void OnFieldChosen(int position);
    void FillValues(int fieldNumber);

    QButtonGroup* m_scopeGroup = nullptr;
    QComboBox* m_fields = nullptr;
    QComboBox* m_values = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
