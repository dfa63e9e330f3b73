#pragma once

// Make Limit Formula: the name of the new formula, what it is based on (the limits of an existing
// limit formula, or chosen oxide combinations evaluated by unity amounts or by weight percent),
// which glazes give their values (the selected or all glazes, of this or of every open glaze
// database) and where the statistics go. The lists come from the open limit-formula database.
//
// The caller sets the members (LoadRemembered takes the remembered ones) and request, runs the
// dialog and on OK finds the request filled (FillRequest): name, flags, the combinations with
// their by-percent flags and one empty accumulator each.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <string>

class CMakeLimitFormulaRequest;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CMakeLimitFormulaDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CMakeLimitFormulaDlg(QWidget* parent = nullptr);

    std::string name;
    std::string formulaName;           // the based-on limit formula
    CStringArrayEx combinationNames;   // the chosen combinations
    int basedOn = 0;                   // 0 limit formula, 1 oxide combinations
    int weightPercent = 0;
    int allGlazes = 0;                 // 0 selected, 1 all glazes
    int allDatabases = 0;              // 0 current, 1 all databases
    int toNotes = 0;
    int toInformation = 0;
    CMakeLimitFormulaRequest* request = nullptr;

    // The members from (to) the working preferences' remembered choices.
    void LoadRemembered();
    void Remember() const;
    // Fills request from the members, looking the combinations up in the open limit-formula
    // database; request must be empty.
    void FillRequest(CMakeLimitFormulaRequest& request) const;

    QLineEdit* NameEdit() const { return m_name; }
    QButtonGroup* BasedOnGroup() const { return m_basedOnGroup; }
    QComboBox* FormulaCombo() const { return m_formulas; }
    QListWidget* CombinationList() const { return m_combinations; }
    QCheckBox* WeightPercentCheck() const { return m_weightPercent; }
    QButtonGroup* ScopeGroup() const { return m_scopeGroup; }
    QButtonGroup* DatabasesGroup() const { return m_databasesGroup; }
    QCheckBox* NotesCheck() const { return m_toNotes; }
    QCheckBox* InformationCheck() const { return m_toInformation; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateBasedOnControls();
    void CreateOptionControls();
    void FillLists();
    void EnableBasedOn();

    QLineEdit* m_name = nullptr;
    QButtonGroup* m_basedOnGroup = nullptr;
    QComboBox* m_formulas = nullptr;
    QListWidget* m_combinations = nullptr;
    QCheckBox* m_weightPercent = nullptr;
    QButtonGroup* m_scopeGroup = nullptr;
    QButtonGroup* m_databasesGroup = nullptr;
    QCheckBox* m_toNotes = nullptr;
    QCheckBox* m_toInformation = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
