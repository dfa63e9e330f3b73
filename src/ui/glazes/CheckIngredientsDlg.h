#pragma once

// Check Ingredients, first dialog: which glazes to check, what to look for and what to do with
// the results. The caller sets options, runs the dialog and reads them back after OK.

#include "glazes/CheckIngredients.h"
#include "support/DialogStyle.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;

class CCheckIngredientsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CCheckIngredientsDlg(QWidget* parent = nullptr);

    CCheckIngredientsOptions options;

    QButtonGroup* ScopeGroup() const { return m_scopeGroup; }
    QCheckBox* UnknownCheck() const { return m_unknown; }
    QCheckBox* UnavailableCheck() const { return m_unavailable; }
    QCheckBox* SelectCheck() const { return m_select; }
    QCheckBox* ListCheck() const { return m_list; }
    QCheckBox* PromptCheck() const { return m_prompt; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QCheckBox* AddCheck(const char* label, int id, int x, int y);

    QButtonGroup* m_scopeGroup = nullptr;
    QCheckBox* m_unknown = nullptr;
    QCheckBox* m_unavailable = nullptr;
    QCheckBox* m_select = nullptr;
    QCheckBox* m_list = nullptr;
    QCheckBox* m_prompt = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
