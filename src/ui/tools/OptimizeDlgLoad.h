#pragma once

// The Load Optimization Parameters dialog of the Optimize dialog's "Load constraints...": the
// source (the current glaze, a glaze chosen from an open glaze database, or a limit formula) and
// what to load from a glaze (its parameter set, or its analysis as unity, % weight or %
// molecular constraints, optionally with the volatiles and with its recipe as material
// constraints). The Optimize dialog performs the load from the choices after OK.

#include "support/DialogStyle.h"
#include "tools/LoadOptimizationParams.h"

#include <array>

class CGlaze;
class CGlazesDoc;
class CLimitFormula;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

// Control ids of the dialog (template 182).
enum LoadOptParamsControl : int {
    kLoadOptCurrentGlaze = 6501,
    kLoadOptSelectedGlaze = 6502,
    kLoadOptDatabase = 6503,
    kLoadOptGlaze = 6504,
    kLoadOptOptionFirst = 6505, // 6505..6508
    kLoadOptVolatiles = 6509,
    kLoadOptLimitFormula = 6510,
    kLoadOptFormula = 6511,
    kLoadOptRecipe = 6512,
};

inline constexpr unsigned kLoadOptParamsHelpId = 0x200B6;

class CLoadOptParamsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CLoadOptParamsDlg(QWidget* parent = nullptr);

    // The glaze the Optimize dialog was opened for (-1: none), by database and glaze index.
    int currentDatabase = -1;
    int currentGlaze = -1;
    // The chosen database, glaze and formula: set before the dialog runs, read after OK.
    int database = -1;
    int glaze = -1;
    int formula = 0;
    // The choices, valid after OK.
    CLoadOptParamsChoice choice;

    // The glaze the present source names, or null.
    const CGlaze* SourceGlaze() const;
    // The chosen limit formula, or null.
    const CLimitFormula* ChosenFormula() const;

    // Handlers of the controls.
    void OnSource(int source);
    void OnDatabase(int index);
    void OnGlaze(int index);
    void OnFormula(int index);
    void OnOption(int option);

    QButtonGroup* SourceGroup() const { return m_sources; }
    QButtonGroup* OptionGroup() const { return m_options; }
    QComboBox* DatabaseCombo() const { return m_databaseCombo; }
    QComboBox* GlazeCombo() const { return m_glazeCombo; }
    QComboBox* FormulaCombo() const { return m_formulaCombo; }
    QCheckBox* VolatilesBox() const { return m_volatiles; }
    QCheckBox* RecipeBox() const { return m_recipe; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildControls();
    void FillDatabases();
    void FillGlazes();
    void FillFormulas();
    void UpdateEnabling();
    static CGlazesDoc* GlazeDoc(int index);

    QButtonGroup* m_sources = nullptr;
    QButtonGroup* m_options = nullptr;
    QComboBox* m_databaseCombo = nullptr;
    QComboBox* m_glazeCombo = nullptr;
    QComboBox* m_formulaCombo = nullptr;
    QCheckBox* m_volatiles = nullptr;
    QCheckBox* m_recipe = nullptr;
    bool m_filling = false;
};
