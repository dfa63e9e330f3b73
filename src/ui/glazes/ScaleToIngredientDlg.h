#pragma once

// Scale to Ingredient: which recipe line to scale the recipe by and the amount it should have,
// or only the working batch size. The caller gives the ingredient texts and their amount texts
// (parallel lists); choosing a line copies its amount into the amount edit until the user types
// there. After OK: row (-1 for none), amount and workingBatchOnly.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CScaleToIngredientDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CScaleToIngredientDlg(QWidget* parent = nullptr);

    CStringArrayEx ingredients;
    CStringArrayEx amounts;
    int row = -1;
    std::string amount;
    int workingBatchOnly = 1;

    QComboBox* IngredientCombo() const { return m_ingredients; }
    QLineEdit* AmountEdit() const { return m_amount; }
    QCheckBox* WorkingBatchCheck() const { return m_workingBatch; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void OnIngredientChosen(int position);

    QComboBox* m_ingredients = nullptr;
    QLineEdit* m_amount = nullptr;
    QCheckBox* m_workingBatch = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    bool m_amountTyped = false;
};
