#pragma once

// Find Glazes: the criteria of the glaze list's Find command. The caller sets the control values
// (LoadRemembered takes the remembered ones), points request at a find request with an empty
// criteria set and runs the dialog; OK ("Search") reads the controls back and fills the request
// (BuildCriteria). Nothing is validated here.
//
// The criteria compare texts in lower case, so every text a criterion carries is lower case.

#include "support/DialogStyle.h"

#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
struct MatchCriteria;

class CFindGlazesDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr int kRows = 3;
    // Item data that stands for no oxide (the "<none>" and "---" lines of the oxide list).
    static constexpr int kNoOxide = 999;
    static constexpr int kFieldCount = 26;

    explicit CFindGlazesDlg(QWidget* parent = nullptr);

    // The label and field code of entry n of a row's field list ("<none>" 0 ... "Associated L.F." 24).
    static const char* FieldLabel(int n);
    static int FieldCode(int n);

    // The control values.
    std::string rangeText;
    std::string firingText;
    int firingExact = 0;
    std::string colorText;
    int colorExact = 0;
    std::array<int, kRows> rowField{};         // field codes; 0 for "<none>"
    std::array<std::string, kRows> rowValue;
    std::array<int, kRows> rowExact{};
    std::string anyField1;
    std::string anyField2;
    std::string material;
    int oxide = kNoOxide;                       // element number, kNoOxide for none
    std::string limitFormula;
    int allGlazes = 1;                          // "Search :" 0 selected, 1 all glazes
    int allDatabases = 0;                       // "in :" 0 current, 1 all databases
    int combineMode = 0;                        // "Match glazes :" 0..3
    int action = 0;                             // "Results :" 0..3
    // Filled on OK; may be null.
    MatchCriteria* request = nullptr;

    // The control values from (to) the working preferences' remembered Find settings.
    void LoadRemembered();
    void Remember() const;

    // Appends the criteria of the control values to request's set and sets its flags, action and
    // combine mode.
    void BuildCriteria(MatchCriteria& request) const;

    // "Clear": every text, Exact box and field choice and the oxide back to nothing; the radio
    // groups keep their choices.
    void Clear();
    // Leaving the material edit: a text that does not start with a double quote becomes the
    // canonical name of the material it names, or else of the first material it begins.
    void NormalizeMaterial();
    // "Select": the material picker; its choice goes into the material edit.
    void SelectMaterial();

    QComboBox* RangeCombo() const { return m_range; }
    QComboBox* FiringCombo() const { return m_firing; }
    QCheckBox* FiringExactCheck() const { return m_firingExact; }
    QComboBox* ColorCombo() const { return m_color; }
    QCheckBox* ColorExactCheck() const { return m_colorExact; }
    QComboBox* FieldCombo(int row) const { return m_fields[static_cast<std::size_t>(row)]; }
    QComboBox* ValueCombo(int row) const { return m_values[static_cast<std::size_t>(row)]; }
    QCheckBox* ExactCheck(int row) const { return m_exacts[static_cast<std::size_t>(row)]; }
    QLineEdit* AnyField1Edit() const { return m_any1; }
    QLineEdit* AnyField2Edit() const { return m_any2; }
    QLineEdit* MaterialEdit() const { return m_material; }
    QComboBox* OxideCombo() const { return m_oxides; }
    QComboBox* LimitFormulaCombo() const { return m_limitFormulas; }
    QButtonGroup* SearchGroup() const { return m_searchGroup; }
    QButtonGroup* DatabasesGroup() const { return m_databasesGroup; }
    QButtonGroup* CombineGroup() const { return m_combineGroup; }
    QButtonGroup* ActionGroup() const { return m_actionGroup; }
    QPushButton* ClearButton() const { return m_clearButton; }
    QPushButton* SelectButton() const { return m_selectButton; }
    QPushButton* SearchButton() const { return m_searchButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateCriteriaControls();
    void CreateOptionControls();
    QButtonGroup* AddRadioGroup(const char* title, std::initializer_list<const char*> labels, int firstId,
                                int x, int y);
    void FillLists();
    void FillValueList(int row);
    void LoadControls();
    void ReadControls();

    QComboBox* m_range = nullptr;
    QComboBox* m_firing = nullptr;
    QCheckBox* m_firingExact = nullptr;
    QComboBox* m_color = nullptr;
    QCheckBox* m_colorExact = nullptr;
    std::array<QComboBox*, kRows> m_fields{};
    std::array<QComboBox*, kRows> m_values{};
    std::array<QCheckBox*, kRows> m_exacts{};
    QLineEdit* m_any1 = nullptr;
    QLineEdit* m_any2 = nullptr;
    QLineEdit* m_material = nullptr;
    QComboBox* m_oxides = nullptr;
    QComboBox* m_limitFormulas = nullptr;
    QButtonGroup* m_searchGroup = nullptr;
    QButtonGroup* m_databasesGroup = nullptr;
    QButtonGroup* m_combineGroup = nullptr;
    QButtonGroup* m_actionGroup = nullptr;
    QPushButton* m_clearButton = nullptr;
    QPushButton* m_selectButton = nullptr;
    QPushButton* m_searchButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
