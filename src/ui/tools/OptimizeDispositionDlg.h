#pragma once

// The Disposition dialog of the Optimize dialog's Save: what to keep of the optimization (the
// parameter set, the resulting recipe, optionally scaled to a total) and where (the glaze the
// Optimize dialog was opened for, or a new glaze of a given name). The caller sets the start
// values and the two availabilities, runs it and reads the answers after OK.

#include "support/DialogStyle.h"

#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// Control ids of the dialog (template 184).
enum DispositionControl : int {
    kDispCurrentGlaze = 6434,
    kDispNewGlaze = 6435,
    kDispSaveParameters = 6530,
    kDispSaveRecipe = 6531,
    kDispScale = 6532,
    kDispScaleTo = 6533,
    kDispNewName = 6536,
};

// Where the result goes.
enum DispositionTarget : int {
    kDispositionCurrentGlaze = 0,
    kDispositionNewGlaze = 1,
};

inline constexpr unsigned kDispositionHelpId = 0x200B8;

class CDispositionDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CDispositionDlg(QWidget* parent = nullptr);

    // --- start values, and the answers after OK ---
    bool saveParameters = true;
    bool saveRecipe = true;
    bool scale = false;
    std::string scaleTo = "100.0";
    int where = kDispositionNewGlaze;
    std::string newName;
    // --- set by the caller ---
    bool currentAvailable = false; // the Optimize dialog was opened for a glaze
    bool recipeAvailable = false;  // there is a result recipe
    // Set once the user typed in the name field: the default name no longer replaces it.
    bool nameEdited = false;

    // The name the field takes while the user has not typed one.
    std::string DefaultName() const;

    // Handlers of the controls.
    void OnSaveToggled();
    void OnNameFocused();
    void OnNameEdited();

    QCheckBox* ParametersBox() const { return m_parameters; }
    QCheckBox* RecipeBox() const { return m_recipe; }
    QCheckBox* ScaleBox() const { return m_scale; }
    QLineEdit* ScaleToEdit() const { return m_scaleTo; }
    QRadioButton* CurrentRadio() const { return m_current; }
    QRadioButton* NewRadio() const { return m_new; }
    QLineEdit* NameEdit() const { return m_name; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildControls();
    void TakeChecks();
    void UpdateEnabling();
    void ApplyDefaultName();

    QCheckBox* m_parameters = nullptr;
    QCheckBox* m_recipe = nullptr;
    QCheckBox* m_scale = nullptr;
    QLineEdit* m_scaleTo = nullptr;
    QButtonGroup* m_where = nullptr;
    QRadioButton* m_current = nullptr;
    QRadioButton* m_new = nullptr;
    QLineEdit* m_name = nullptr;
};
