#pragma once

// The Formula Conversion dialog: one of the nine conversions of CMaterial::ConvertFormula with
// its parameters (the unity target, decimals and least decimals, the oxide an LOI component
// becomes). The caller sets it up from a material (SetMaterial) or for any material
// (SetAllConversions), runs it and, after OK, passes the choices to CMaterial::ConvertFormula.
// The choices are remembered in the working preferences for the next opening.

#include "support/DialogStyle.h"

#include <array>
#include <string>
#include <vector>

class CMaterial;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Control ids of the dialog (template 169).
enum FormulaConversionControl : int {
    kConvRadioFirst = 5300, // 5300..5308: the conversions in FormulaConversionMode order
    kConvMinDecimalsEdit = 5310,
    kConvUnityCombo = 5311,
    kConvDecimalsEdit = 5312,
    kConvLoiCombo = 5313,
    kConvLoiLabel = 5314,
};

inline constexpr unsigned kFormulaConversionHelpId = 348;

// Unity-list entry that only separates groups.
inline constexpr int kUnitySeparator = -4;

class CFormulaConversionDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr int kConversionCount = 9;
    // The decimals field takes 0 to this, the least decimals field -1 to this, as the
    // preferences' number formats do.
    static constexpr int kMaxConversionDecimals = 12;

    explicit CFormulaConversionDlg(QWidget* parent = nullptr);

    // Enables the conversions that apply to the material and lists its unity targets.
    void SetMaterial(const CMaterial& material);
    // Every conversion enabled; the unity list without a material.
    void SetAllConversions();

    // --- the choices (valid after OK) ---
    int choice = -1;        // FormulaConversionMode, -1 none
    int unityTarget = -1;   // code of the chosen unity entry
    int decimals = -1;
    int minDecimals = -1;
    int loiOxide = 8;

    // --- set up by SetMaterial / SetAllConversions ---
    std::array<bool, kConversionCount> enabled{};
    std::vector<int> unityCodes;          // -1..-3 groups, -4 separator, z, 1000 + component
    std::vector<std::string> unityTexts;
    bool loiApplies = false;
    bool weightPercent = false;
    std::vector<std::string> componentTexts;

    QRadioButton* Radio(int mode) const { return m_radios[static_cast<std::size_t>(mode)]; }
    QComboBox* UnityCombo() const { return m_unityCombo; }
    QComboBox* LoiCombo() const { return m_loiCombo; }
    QLabel* LoiLabel() const { return m_loiLabel; }
    QLineEdit* DecimalsEdit() const { return m_decimalsEdit; }
    QLineEdit* MinDecimalsEdit() const { return m_minDecimalsEdit; }
    QPushButton* OkButton() const { return m_okButton; }

    // The LOI-oxide choices, by element number.
    static const std::vector<int>& LoiOxideChoices();

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildControls();
    void AddUnityEntry(int code);
    void AddUnitySeparator();
    void SetEnableFlags(const CMaterial& material, bool hasVolatile, bool hasComplex);
    void FillUnityList(const CMaterial& material, const std::vector<int>& listedComponents);
    void FillUnityCombo();
    void OnChoice(int mode);
    void UpdateLoiControls();

    std::array<QRadioButton*, kConversionCount> m_radios{};
    QButtonGroup* m_group = nullptr;
    QComboBox* m_unityCombo = nullptr;
    QComboBox* m_loiCombo = nullptr;
    QLabel* m_loiLabel = nullptr;
    QLineEdit* m_decimalsEdit = nullptr;
    QLineEdit* m_minDecimalsEdit = nullptr;
    QPushButton* m_okButton = nullptr;
};
