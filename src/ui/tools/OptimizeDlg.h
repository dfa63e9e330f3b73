#pragma once

// The Optimize dialog: the user states an optimization problem on five pages (oxide
// constraints in two pages of two columns, the allowed materials, material constraints, and the
// goal with its options), runs the optimizer and inspects the optimal recipe, its cost and its
// chemistry on the Results page. Save asks in the Disposition dialog what to keep and where;
// the opening view does the storing from the answers (see COptimizeRequest).
//
// The dialog owns the parameter set it edits. The pages show it (ShowParams) and are gathered
// back into it (GatherParams) before every use: Find Optimal Recipe, Load, Setup and Save.

#include "support/DialogStyle.h"
#include "glazes/OptimizationParams.h"
#include "glazes/IngredientList.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CGlaze;
class CToggleButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Control ids of the dialog and its pages (templates 172 to 178).
enum OptimizeControl : int {
    kOptDebugOutput = 1004,
    kOptExpansionOp1 = 1005,
    kOptExpansionValue1 = 1006,
    kOptExpansionOp2 = 1007,
    kOptExpansionValue2 = 1008,
    kOptClearMaterials = 1056,
    kOptCheckAll = 1057,
    kOptUncheckAll = 1058,
    kOptPageButtonFirst = 2590, // 2590..2595
    kOptSetup = 5322,
    kOptUnitFirst = 5400,       // 5400..5402
    kOptScaleTo100 = 5404,
    kOptSumLine = 5405,
    kOptAllowedList = 6200,
    kOptAvailableMaterials = 6201,
    kOptAllMaterials = 6202,
    kOptMaterialWeight = 6210,
    kOptMaterialPercent = 6211,
    kOptMinimize = 6401,
    kOptMaximize = 6402,
    kOptGoalFirst = 6403,       // 6403..6405
    kOptRecipeSize = 6408,
    kOptRawWeight = 6409,
    kOptFiredWeight = 6410,
    kOptFindRecipe = 6411,
    kOptOxideTolerance = 6412,
    kOptMaterialTolerance = 6413,
    kOptStatusLine = 6425,
    kOptLeftPane = 6426,
    kOptRecipeButton = 6427,
    kOptCostButton = 6428,
    kOptRightPane = 6429,
    kOptUnityButton = 6430,     // 6430..6432
    kOptLoadConstraints = 6450,
    kOptClearConstraints = 6451,
};

// The pages, in button order.
enum OptimizePage : int {
    kOptPageOxides1 = 0,
    kOptPageOxides2 = 1,
    kOptPageMaterials1 = 2,
    kOptPageMaterials2 = 3,
    kOptPageOptimize = 4,
    kOptPageResults = 5,
    kOptPageCount = 6,
};

inline constexpr unsigned kOptimizeHelpId = 0x200AC;
inline constexpr int kOptColumnCount = 4;
inline constexpr int kOptRowsPerColumn = 12;
inline constexpr int kOptMaterialRows = 12;

// One constraint row: operator 1, value 1, the bound operator 2 stands for, value 2, and the
// "%" labels after the values. A material row has its name in front, an oxide row its label and
// oxide code (element number, -1 LOI, -2 KNaO, 0 a free row).
struct COptConstraintRow {
    QLineEdit* name = nullptr;
    QLabel* label = nullptr;
    QLineEdit* op1 = nullptr;
    QLineEdit* value1 = nullptr;
    QLabel* percent1 = nullptr;
    QLabel* op2 = nullptr;
    QLineEdit* value2 = nullptr;
    QLabel* percent2 = nullptr;
    int code = 0;
    std::string labelText;
};

// What the opening view hands in and reads back.
struct COptimizeRequest {
    // --- in ---
    COptimizationParams params;  // the glaze's set, or a fresh one
    std::string titleSuffix;     // the glaze's name ("<untitled>" for none); empty: no suffix
    int glazeIndex = -1;         // the glaze the dialog is opened for; -1 none
    int databaseIndex = -1;      // its database among the open glaze databases; -1 none
    bool byVolume = false;       // that glaze's recipe is by volume
    // --- out, after Save ---
    bool saveParameters = false;
    bool saveRecipe = false;
    int where = 1;               // 0 the current glaze, 1 a new glaze
    std::string newName;         // the new glaze's name as typed
    CIngredientList recipe;      // the result recipe, scaled when asked; by volume when it goes
                                 // into a glaze whose recipe is
};

class COptimizeDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit COptimizeDlg(QWidget* parent = nullptr);
    ~COptimizeDlg() override;

    // --- the problem and its result ---
    COptimizationParams params;
    CIngredientList resultRecipe;
    std::string titleSuffix;
    int currentGlazeIndex = -1;
    int currentDatabaseIndex = -1;
    // The current glaze's recipe is by volume: a recipe saved into it is converted to volumes
    // before it is scaled, so it totals what was asked in volumes.
    bool currentByVolume = false;
    bool trace = false;
    // The solver's tie-breaking seed (COptimizer::m_solverSeed); 0: the clock.
    std::uint32_t solverSeed = 0;
    int leftPaneMode = 1;  // 1 recipe, 2 cost
    int rightPaneMode = 1; // 1 unity formula, 2 weight %, 3 molecular %
    std::string recipeText, costText, unityText, weightText, moleText;

    // --- the Disposition dialog's answers, after Save ---
    bool saveParameters = false;
    bool saveRecipe = false;
    bool scaleRecipe = false;
    std::string scaleTo;
    bool newGlaze = true;
    std::string newGlazeName;

    // --- the indices the Load dialog starts from next time ---
    int loadDatabaseIndex = -1;
    int loadGlazeIndex = -1;
    int loadFormulaIndex = 0;

    // The pages and the parameters.
    void ShowParams();
    void GatherParams();
    // The column layout from the preferences "optimizecol1" to "optimizecol4".
    void BuildColumnLayout();

    // --- commands ---
    void ShowPage(int page);
    void OnUnit(int unit);
    void OnMaterialChoice(int all);
    void OnCheckAll(bool checked);
    void OnClearMaterials();
    void OnClearConstraints();
    // In percent units: the nonvolatile oxide rows scaled together so that their values 1 add
    // up to 100.
    void OnScaleTo100();
    void OnLoadConstraints();
    void OnSetup();
    void OnFindOptimalRecipe();
    void OnLeftPane(int mode);
    void OnRightPane(int mode);
    void OnSave();

    // --- field editing ---
    void OnOp1Left(COptConstraintRow& row);
    void OnValue1Entered(COptConstraintRow& row);
    void OnValue1Left(COptConstraintRow& row);
    void OnValue2Entered(COptConstraintRow& row);
    void OnValue2Left(COptConstraintRow& row);
    void OnMaterialNameLeft(COptConstraintRow& row);
    void OnNumberFieldLeft(QLineEdit* edit);
    // The running sum line of both oxide pages.
    void RefreshSum();
    // Every value field holds a non-negative number its row can take (or nothing); else the first
    // one that does not is refused with its range message, on its page, and false is returned.
    bool CheckValueFields();

    // --- the widgets ---
    COptConstraintRow& OxideRow(int column, int row);
    COptConstraintRow& MaterialRow(int row) { return m_materialRows[static_cast<std::size_t>(row)]; }
    COptConstraintRow& ExpansionRow() { return m_expansionRow; }
    QWidget* Page(int page) const { return m_pages[static_cast<std::size_t>(page)]; }
    int CurrentPage() const { return m_currentPage; }
    CToggleButton* PageButton(int page) const { return m_pageButtons[static_cast<std::size_t>(page)]; }
    QButtonGroup* UnitGroup(int oxidePage) const { return m_unitGroups[static_cast<std::size_t>(oxidePage)]; }
    QLabel* SumLine(int oxidePage) const { return m_sumLines[static_cast<std::size_t>(oxidePage)]; }
    QListWidget* AllowedList() const { return m_allowedList; }
    QButtonGroup* MaterialChoiceGroup() const { return m_materialChoice; }
    QButtonGroup* MaterialUnitGroup() const { return m_materialUnit; }
    QButtonGroup* DirectionGroup() const { return m_direction; }
    QButtonGroup* GoalGroup() const { return m_goal; }
    QButtonGroup* WeightBasisGroup() const { return m_weightBasis; }
    QLineEdit* OxideToleranceEdit() const { return m_oxideTolerance; }
    QLineEdit* MaterialToleranceEdit() const { return m_materialTolerance; }
    QLineEdit* RecipeSizeEdit() const { return m_recipeSize; }
    QCheckBox* DebugBox() const { return m_debug; }
    QLabel* StatusLine() const { return m_status; }
    QPlainTextEdit* LeftPane() const { return m_leftPane; }
    QPlainTextEdit* RightPane() const { return m_rightPane; }
    QButtonGroup* RightPaneGroup() const { return m_rightButtons; }
    QPushButton* Button(int id) const;

    // The entries of the allowed-materials list and whether each is checked.
    std::vector<std::pair<std::string, bool>> AllowedEntries() const;

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    // Building (OptimizeDlgPages.cpp).
    void BuildPageButtons();
    void BuildPages();
    QWidget* BuildOxidePage(int oxidePage);
    void BuildOxideColumn(QWidget* page, int column, int x);
    QWidget* BuildMaterialsPage();
    QWidget* BuildMaterialRowsPage();
    QWidget* BuildOptimizePage();
    void BuildGoalControls(QWidget* page);
    QWidget* BuildResultsPage();
    // Puts the message in the status line, which grows to hold it.
    void ShowStatus(const std::string& message);
    void BuildBottomButtons();
    void MakeRowFields(QWidget* page, COptConstraintRow& row, int x, int y);
    void WatchRow(COptConstraintRow& row, bool material);
    QPushButton* MakeButton(QWidget* parent, const char* text, int id, int x, int y, int width, int height);
    QButtonGroup* MakeRadios(QWidget* page, const std::vector<const char*>& captions, int firstId,
                             const std::vector<std::pair<int, int>>& positions, int width);
    void Place(QWidget* control, int x, int y, int width, int height) const;

    // Rows (OptimizeDlgRows.cpp).
    void ShowOptions();
    void ShowExpansion();
    void FillAllowedList(const CStringArrayEx& excluded);
    void ShowOxideConstraints();
    bool PlaceOxideConstraint(const COxideConstraint& constraint);
    void ShowMaterialConstraints();
    void ShowPercentLabels();
    void ShowRowFields(COptConstraintRow& row, char op, const std::string& value1, const std::string& value2);
    void ClearRowFields(COptConstraintRow& row);
    void GatherOptions();
    COxideConstraintArray GatherOxideConstraints() const;
    void GatherMaterialConstraints();
    // The oxide rows' part of CheckValueFields, which Scale to 100 asks too.
    bool CheckOxideValueFields();
    bool CheckValueField(QLineEdit* edit, double largest, int page);
    std::string SumText() const;

    // Results (OptimizeDlgResults.cpp).
    void BuildResultTexts();
    void BuildCostText(const CGlaze& glaze);
    void ShowPanes();

    std::array<CToggleButton*, kOptPageCount> m_pageButtons{};
    std::array<QWidget*, kOptPageCount> m_pages{};
    int m_currentPage = -1;
    std::array<QButtonGroup*, 2> m_unitGroups{};
    std::array<QLabel*, 2> m_sumLines{};
    std::array<QPushButton*, 2> m_scaleButtons{};
    std::array<COptConstraintRow, kOptColumnCount * kOptRowsPerColumn> m_oxideRows{};
    std::array<COptConstraintRow, kOptMaterialRows> m_materialRows{};
    COptConstraintRow m_expansionRow;
    // The oxide code and label each row takes from the column layout, before constraints that
    // no column lists are placed in its free rows.
    std::array<std::pair<int, std::string>, kOptColumnCount * kOptRowsPerColumn> m_layout{};
    QListWidget* m_allowedList = nullptr;
    QButtonGroup* m_materialChoice = nullptr;
    QButtonGroup* m_materialUnit = nullptr;
    QButtonGroup* m_direction = nullptr;
    QButtonGroup* m_goal = nullptr;
    QButtonGroup* m_weightBasis = nullptr;
    QLineEdit* m_oxideTolerance = nullptr;
    QLineEdit* m_materialTolerance = nullptr;
    QLineEdit* m_recipeSize = nullptr;
    QCheckBox* m_debug = nullptr;
    QLabel* m_status = nullptr;
    QPlainTextEdit* m_leftPane = nullptr;
    QPlainTextEdit* m_rightPane = nullptr;
    QButtonGroup* m_leftButtons = nullptr;
    QButtonGroup* m_rightButtons = nullptr;
    int m_oxideUnit = kOxideUnitUnity;
    int m_allMaterials = 0;
};

// Runs the dialog for a request: the parameters, the title suffix and the glaze and database
// indices go in; on Save the answers of the Disposition dialog, the parameters and the (scaled)
// result recipe come back in the request, and true is returned. Nothing is stored anywhere: the
// caller keeps what the answers ask for.
bool RunOptimize(COptimizeRequest& request, QWidget* parent);

// The glaze a Save for a new glaze asks for: "new glaze" (or the name typed, trimmed) with the
// parameters, the result recipe as its components, or both.
CGlaze MakeOptimizedGlaze(const COptimizeRequest& request);
