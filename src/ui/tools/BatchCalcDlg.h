#pragma once

// The Formula to Batch Calculation dialog: the screen of the formula-to-batch calculator
// (tools/BatchCalculator.h). Every event copies the formula, material and amount boxes into the
// calculator, runs the calculator's operation for it and shows the calculator's results again
// (the boxes, the two message lines, the remainder lists, the amount choices, the recipe so far
// and the Original recipe / Suggestions list). OK hands the recipe so far back, split into the
// caller's components and additions after the pattern of the old recipe.
//
// On a small screen the compact layout is used and, when the dialog is still taller than the
// screen allows, it is cut to fit and its contents scroll under a vertical scroll bar.

#include "support/DialogStyle.h"
#include "tools/BatchCalculator.h"

#include <array>
#include <string>
#include <vector>

class CIngredientList;
class CMaterialArray;
class CTabStopDelegate;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// Control ids of the dialog.
enum BatchCalcControl : int {
    kBatchAlkaliList = 2021,
    kBatchNeutralList = 2029,
    kBatchOtherList = 2020,
    kBatchAmount = 2022,
    kBatchProvidesLine = 2023,
    kBatchAnalysisLine = 2024,
    kBatchFormula = 2025,
    kBatchCombineKNa = 2026,
    kBatchMaterial = 2027,
    kBatchMaterialsList = 2028,
    kBatchRecipeBox = 2030,
    kBatchRestart = 2031,
    kBatchMakeSuggestion = 2032,
    kBatchUndo = 2033,
    kBatchConvert = 2035,
    kBatchUseMaterial = 2036,
    kBatchEditFormula = 2037,
    kBatchRecipeList = 2040,
    kBatchMaterialInfo = 2345,
    kBatchSetup = 5325,
    kBatchUnitFirst = 5326,  // 5326..5329
    kBatchModeOriginal = 5330,
    kBatchModeSuggestions = 5331,
};

class CBatchCalcDlg : public CStyledDialog {
    Q_OBJECT

public:
    // materials: the database to calculate with; null for the open materials document's.
    explicit CBatchCalcDlg(QWidget* parent = nullptr, CMaterialArray* materials = nullptr);

    // The calculator: the caller fills its original components and additions before the dialog
    // runs and reads them back after OK.
    CBatchCalculator calc;

    // --- the events, each as the dialog's controls raise it ---
    void OnUseMaterial();
    void OnMakeSuggestion();
    void OnUndoLastMaterial();
    void OnRestartFromFormula();
    void OnCombineKNa(bool combine);
    void OnRemainderUnit(int unit);
    // A row picked in one of the remainder lists (BatchRemainderList).
    void OnRemainderPicked(int list, int row);
    void OnMaterialsListPicked();
    void OnMaterialsListDoubleClicked();
    void OnListPicked();
    void OnListDoubleClicked();
    void OnListMode(int mode);
    void OnMaterialLeft();
    void OnAmountLeft();
    void OnAmountChoice(int index);
    void OnFormulaLeft();
    void OnMaterialInfo();
    void OnEditFormula();
    void OnConvertFormula();
    void OnSetup();

    // The widgets, for the callers' and the tests' eyes.
    QPlainTextEdit* FormulaBox() const { return m_formula; }
    QLineEdit* MaterialBox() const { return m_material; }
    QComboBox* AmountBox() const { return m_amount; }
    QLabel* ProvidesLine() const { return m_providesLine; }
    QLabel* AnalysisLine() const { return m_analysisLine; }
    QListWidget* RemainderList(int list) const { return m_remainderLists[static_cast<std::size_t>(list)]; }
    QListWidget* MaterialsList() const { return m_materialsList; }
    QListWidget* RecipeList() const { return m_recipeList; }
    QPlainTextEdit* RecipeBox() const { return m_recipeBox; }
    QCheckBox* CombineBox() const { return m_combine; }
    QButtonGroup* UnitGroup() const { return m_unitGroup; }
    QButtonGroup* ModeGroup() const { return m_modeGroup; }
    QPushButton* Button(int id) const;
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    QWidget* Content() const { return m_content; }
    bool IsCompact() const { return m_compact; }

    // The texts of a list's rows, as shown.
    static std::vector<std::string> RowTexts(const QListWidget* list);

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildFormulaArea();
    void BuildRemainderArea();
    void BuildMaterialArea();
    void BuildRecipeArea();
    void BuildButtons();
    void ConnectControls();
    void WatchFocus();
    QPushButton* MakeButton(const char* text, int id, int x, int y, int width, int height);
    QListWidget* MakeList(int id, const std::vector<int>& tabStopsDlu);
    void Place(QWidget* control, int x, int y, int width, int height) const;
    CMaterialArray* Materials() const;
    void FillMaterialsList();
    void FitToSmallScreen();
    void OnScroll(int position);

    // The boxes into the calculator's texts, and the calculator's results onto the screen.
    void TakeBoxes();
    void ShowCalc();
    void ShowRows(QListWidget* list, const std::vector<CBatchListRow>& rows, std::vector<CBatchListRow>& shown);
    void ShowAmountChoices();
    void ShowRecipeBox();
    void ShowMaterialSelection();
    void ShowListRows();
    // Runs an operation of the calculator between TakeBoxes and ShowCalc.
    template <class Operation>
    void Run(Operation operation);

    CMaterialArray* m_materials = nullptr; // null: the open materials document's
    QWidget* m_content = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QPlainTextEdit* m_formula = nullptr;
    QCheckBox* m_combine = nullptr;
    QButtonGroup* m_unitGroup = nullptr;
    std::array<QListWidget*, kRemainderListCount> m_remainderLists{};
    QListWidget* m_materialsList = nullptr;
    QLineEdit* m_material = nullptr;
    QComboBox* m_amount = nullptr;
    QLabel* m_providesLine = nullptr;
    QLabel* m_analysisLine = nullptr;
    QPlainTextEdit* m_recipeBox = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QListWidget* m_recipeList = nullptr;
    CTabStopDelegate* m_recipeListDelegate = nullptr;
    std::array<std::vector<CBatchListRow>, kRemainderListCount> m_shownRemainders;
    std::vector<CBatchListRow> m_shownListRows;
    std::vector<CBatchListRow> m_shownChoices;
    bool m_compact = false;
    bool m_showing = false; // the screen is being refreshed: selection signals are not events
};

// Runs the dialog on a recipe: components and additions go in as the original recipe and, on
// OK, come back as the calculated recipe split after their pattern. While the named colour
// "dlg_batch_bkg" is black (as it is by default) the dialog takes colorWhenBlack instead (the
// glaze edit view passes "ged_tab", the substitution edit view "sed_bkg"). A recipe byVolume
// goes to the calculator as weights and its result comes back as volumes; a line without a
// density stops the command before the dialog opens, and OK refuses a result line without one.
// False on Cancel, with both lists unchanged.
bool RunBatchCalculation(CIngredientList& components, CIngredientList& additions, QWidget* parent,
                         const char* colorWhenBlack = nullptr, bool byVolume = false);
