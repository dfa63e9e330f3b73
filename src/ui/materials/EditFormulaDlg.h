#pragma once

// The Edit Formula dialog: a material formula as a grid of oxide amounts in the four columns the
// preferences name, with the formula kind, a forced molecular weight or % sum, six extra cells for
// components outside the columns and a free text for the rest. A status line under the grid
// shows the formula's weight or percentage sum (or what is wrong with it), and the buttons
// convert, normalise, add LOI, clear and set up the columns. OK gives the formula back with its
// components in display order. A field that is no number ("1,5") holds the status on its refusal
// and the three tools disabled until it is mended; OK and Setup refuse it as typed.

#include "materials/FormulaGrid.h"
#include "support/DialogStyle.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Control ids of the dialog (template 152).
enum EditFormulaControl : int {
    kEditFormulaMolecular = 5001,
    kEditFormulaWeightPercent = 5002,
    kEditFormulaMolePercent = 5003,
    kEditFormulaConvert = 5004,
    kEditFormulaClear = 5005,
    kEditFormulaStatus = 5006,
    kEditFormulaForceLabel = 5008,
    kEditFormulaForceEdit = 5010,
    kEditFormulaLabelFirst = 5021,   // + 20 * column + row
    kEditFormulaAmountFirst = 5101,  // + 20 * column + row
    kEditFormulaPercentFirst = 5181, // + 20 * column + row
    kEditFormulaExtraLabel = 5261,   // + cell
    kEditFormulaExtraEdit = 5271,
    kEditFormulaExtraPercent = 5281,
    kEditFormulaOtherEdit = 5292,
    kEditFormulaOtherPercent = 5293,
    kEditFormulaNormalize = 5294,
    kEditFormulaAddLoi = 5295,
    kEditFormulaSetup = 5322,
};

inline constexpr unsigned kEditFormulaHelpId = 344;
inline constexpr unsigned kEditFormulaErrorHelpId = 0x30280;
inline constexpr unsigned kEditFormulaEmptyHelpId = 0x30281;

class CEditFormulaDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CEditFormulaDlg(QWidget* parent = nullptr, const std::string& formulaText = std::string());

    // The formula: given before the dialog runs, the result after OK.
    std::string formula;

    // The formula the controls make now.
    std::string GridText();
    // Lays a formula out in the controls.
    void FillGrid(const std::string& text);

    // The handlers of the dialog's fields and buttons.
    void OnAmountLeft(QLineEdit* edit);
    void OnOtherLeft();
    void OnForceLeft();
    void OnKind(int kind);
    void OnClear();
    void OnNormalize();
    void OnAddLoi();
    void OnConvert();
    void OnSetup();
    // Re-reads the formula and shows its weight, sum or error.
    void RefreshStatus();

    QLineEdit* AmountEdit(int column, int row) const { return m_cells[Index(column, row)].edit; }
    QLabel* RowLabel(int column, int row) const { return m_cells[Index(column, row)].label; }
    QLabel* PercentLabel(int column, int row) const { return m_cells[Index(column, row)].percent; }
    QLineEdit* ExtraEdit(int cell) const { return m_extras[static_cast<std::size_t>(cell)].edit; }
    QLabel* ExtraLabel(int cell) const { return m_extras[static_cast<std::size_t>(cell)].label; }
    QLineEdit* OtherEdit() const { return m_otherEdit; }
    QLineEdit* ForceEdit() const { return m_forceEdit; }
    QLabel* ForceLabel() const { return m_forceLabel; }
    QLabel* StatusLabel() const { return m_status; }
    QRadioButton* KindRadio(int kind) const { return m_kindRadios[static_cast<std::size_t>(kind)]; }
    QPushButton* ConvertButton() const { return m_convertButton; }
    QPushButton* NormalizeButton() const { return m_normalizeButton; }
    QPushButton* AddLoiButton() const { return m_addLoiButton; }
    QPushButton* SetupButton() const { return m_setupButton; }
    QPushButton* OkButton() const { return m_okButton; }
    const CFormulaGrid& Grid() const { return m_grid; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    struct CellControls {
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QLabel* percent = nullptr;
    };
    static std::size_t Index(int column, int row)
    {
        return static_cast<std::size_t>(column * CFormulaGrid::kRows + row);
    }

    void BuildControls();
    CellControls MakeCell(int labelId, int editId, int percentId);
    void BuildButtons();
    // Labels and shows the rows the columns name.
    void InitGridControls();
    void ShowGrid();
    void ReadGrid();
    void Relayout();
    void PlaceButtons(int top);
    void UpdatePercentSigns();
    void SetErrorStatus(const QString& text);
    // The status line's message for a forced value that is no number above 0, by formula kind.
    std::string ForceRefusal() const;
    struct CRefusedField {
        QLineEdit* edit = nullptr; // none when every field is a number or empty
        std::string message;
    };
    CRefusedField FirstRefusedField() const;
    // False after refusing the first amount or forced value the status line refuses.
    bool CheckNumberFields();
    void EnableTools(bool convert, bool normalize, bool addLoi);

    CFormulaGrid m_grid;
    std::array<CellControls, CFormulaGrid::kColumns * CFormulaGrid::kRows> m_cells;
    std::array<CellControls, CFormulaGrid::kExtraCells> m_extras;
    std::array<QRadioButton*, 3> m_kindRadios{};
    QLabel* m_forceLabel = nullptr;
    QLineEdit* m_forceEdit = nullptr;
    QLabel* m_otherLabel = nullptr;
    QLineEdit* m_otherEdit = nullptr;
    QLabel* m_otherPercent = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_convertButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    QPushButton* m_normalizeButton = nullptr;
    QPushButton* m_addLoiButton = nullptr;
    QPushButton* m_setupButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    bool m_gridInitialized = false;
};
