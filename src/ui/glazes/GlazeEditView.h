#pragma once

// The glaze edit form: the second window of a glaze database that edits one glaze at a time on a
// working copy, on five pages (Description, Recipe, Notes, Analysis, Limit Formula) chosen by a
// row of page buttons above and a row of Save, Undo, Previous, Next, Jump, Close and help
// buttons below. The controls are the truth while the user edits; the working copy is rebuilt
// from them (ControlsToGlaze) whenever a whole glaze is needed, and Save Changes writes it back
// through the document and announces it (kind 5, code 13).
//
// The form steps through the database, or through a subset chosen in the list (limited access),
// and follows every change notice of the program: it reloads its glaze when another window saves
// it (a form holding unsaved changes asks first, and when it keeps them, asks again before its own
// save replaces the other's: CSavedElsewhere), and closes itself, without a question, when its
// glaze disappears or the database is reverted.
//
// The parts of the class live in several files: GlazeEditView.cpp (life, loading, saving, change
// notices), GlazeEditViewNav.cpp (navigation, new glazes, the glaze clipboard, keys),
// GlazeEditViewCommands.cpp (the menu), RecipeEntry.cpp (recipe lines, completion, Check
// Ingredients), GlazeEditViewTools.cpp (the recipe tools), GlazeEditViewInsight.cpp (the Insight
// clipboard and Recipary prompts), GlazeEditViewPrint.cpp (printing), GlazeEditPageBuild.cpp (the
// pages) and GlazeEditPagePanes.cpp (the analysis, limit and graph panes).

#include "framework/View.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/Graph.h"
#include "graphs/GraphOutput.h"
#include "graphs/GraphTemplate.h"
#include "graphs/InfoPopupDlg.h"
#include "support/AmountLines.h"
#include "support/LogFont.h"
#include "support/NumberField.h"
#include "support/StringArrayEx.h"

#include <QPointer>
#include <QScrollArea>

#include <array>
#include <memory>
#include <string>
#include <vector>

class CDocTemplate;
class CGlazesDoc;
class CGraphWnd;
class CIngredientList;
class CNotesEdit;
class CRecipeAmountAligner;
class CTabEdit;
class CTextPrinter;
class CToggleButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// Commands of the edit window (menu texts in the comments). The commands the report window
// shares carry its numbers.
enum GlazeEditCommand : unsigned {
    CmdGedCut = 33760,                 // "Cu&t"
    CmdGedCopy = 33761,                // "&Copy"
    CmdGedPaste = 33762,               // "&Paste"
    CmdGedSaveAsNew = 33763,           // "Save as &New"
    CmdGedInsertNew = 33764,           // "&Insert new"
    CmdGedAppendNew = 33765,           // "&Append new"
    CmdGedEditIngredients = 33766,     // "Edit &Ingredients"
    CmdGedUpdate = 33767,              // "&Update\tCtrl+U"
    CmdGedOpenReport = 33768,          // "Open &Report"
    CmdGedLimitedAccess = 33769,       // "&Limited Access"
    CmdGedRound001 = 33770,            // "Nearest 0.0&1"
    CmdGedRound01 = 33771,             // "Nearest 0.&1"
    CmdGedRound1 = 33772,              // "Nearest &1."
    CmdGedScaleToIngredient = 33773,   // "&Scale to Ingredient..."
    CmdGedOptimize = 33774,            // "&Optimize..."
    CmdGedSendComponents = 33775,      // "&Components Only"
    CmdGedSendAdditions = 33776,       // "&Additions Only"
    CmdGedSendEntire = 33777,          // "&Entire Recipe"
    CmdGedGetFromInsight = 33778,      // "&Get from Insight"
    CmdGedReciparyPrompts = 33779,     // "&Recipary Prompts"
    CmdGedSaveAndNext = 33780,         // Ctrl+S
    CmdGedNextGroup = 33781,           // Ctrl+N
    CmdGedPreviousGroup = 33782,       // Ctrl+B
    CmdGedPrevious = 32999,            // "&Previous Glaze"
    CmdGedNext = 33000,                // "&Next Glaze"
    CmdGedJumpTo = 33055,              // "&Jump to..."
    CmdGedOpenGraph = 33309,           // "Open &Graph"
    CmdGedCloseView = 32894,           // "&Close View"
    CmdGedFilePrint = 57607,           // File > "&Print..." (the last print kind)
    CmdGedHelp = 32000,
    CmdGedContextHelp = 57670,
};

// Control ids of the form (object names of its buttons). The other controls are named after
// their fields: "name", "date", "index", "choice0".."choice12", "imageFile", "components",
// "additions", "recipeSize", "batchSize", "byVolume", "materialList", "recipeAnalysis",
// "variations", "notes", "noteFile", "source", "analysisPane", "recipePane", "limitList",
// "comparisonLabel", "comparisonText"; the pages "page1".."page5" and their buttons
// "pageButton1".."pageButton5"; per graph pane 0 and 1 "chart0", "textButton0", "graphButton0".
enum GlazeEditControl : int {
    kGedSave = 2700,
    kGedUndo = 2701,
    kGedPrevious = 2702,
    kGedNext = 2703,
    kGedJumpTo = 2704,
    kGedClose = 2705,
    kGedScaleBatch = 2710,
    kGedScale100 = 2711,
    kGedWeightVolume = 2712,
    kGedCheckIngredients = 2713,
    kGedMakeSubstitution = 2714,
    kGedBatchCalculation = 2715,
    kGedImageBrowse = 2720,
    kGedImageView = 2721,
    kGedNoteBrowse = 2722,
    kGedNoteView = 2723,
    kGedEnlargeVariations = 2724,
    kGedEnlargeNotes = 2725,
    kGedEnlargeAnalysis = 2726,
    kGedEnlargeRecipe = 2727,
    kGedEnlargeComparison = 2728,
    kGedSetDefault = 2729,
};

// Pages of the form, and the panes' display modes.
enum GlazeEditPage : int {
    kPageDescription = 1,
    kPageRecipe = 2,
    kPageNotes = 3,
    kPageAnalysis = 4,
    kPageLimitFormula = 5,
};
inline constexpr int kGlazeEditPageCount = 5;
inline constexpr int kGraphPaneAnalysis = 0;
inline constexpr int kGraphPaneLimit = 1;

// The edit template's resource id (its menu), the report template's, and help topics.
inline constexpr unsigned kGlazeEditResourceId = 13;
inline constexpr unsigned kGlazeEditHelpId = 231;
inline constexpr unsigned kGlazeEditSaveQuestionHelpId = 196928;
inline constexpr unsigned kGlazeEditStopHelpId = 196900;
inline constexpr unsigned kGlazeEditSelectHelpId = 324;
inline constexpr unsigned kGlazeEditTextDlgHelpId = 321;
inline constexpr unsigned kGlazeEditBrowseHelpId = 300;
inline constexpr unsigned kGlazeEditPageErrorHelpId = 198032;

class CGlazeEditView : public QScrollArea, public CView, public CGlazeEditLink, public CChartNotifyTarget {
    Q_OBJECT

public:
    CGlazeEditView();
    ~CGlazeEditView() override;

    // The whole form: the window opens at this size.
    QSize sizeHint() const override;

    // --- CView ---
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // Runs the leaving handler of the field that has the focus; false when it refused what the
    // field holds.
    bool CommitPendingEdit() override;

    // --- CGlazeEditLink ---
    int GetGlazeIndex() const override { return m_nSourceIndex; }
    // DontSave when the form is unmodified, else the answer to "Save changes to "name" ?"; a
    // Yes leaves the field being edited, and one that the form cannot be saved with becomes
    // Cancel, one whose save the user does not let replace another window's (MayReplaceStored)
    // KeepStored. It saves nothing itself.
    FormAnswer AskSaveChanges() override;
    // Shows the glaze as stored.
    void DropChanges() override;
    std::string FormName() const override;
    std::string StoredName() const override;
    int AskDeleteChanges(RecordGoes goes) override;
    void SaveGlaze() override;
    void SetChanged(bool changed) override { SetModified(changed ? 1 : 0); }
    bool HasChanges() const override { return m_nModified != 0; }
    const void* EditedRecord() const override { return m_pSourceGlaze; }
    CSavedElsewhere* Guard() override { return &m_savedElsewhere; }

    // --- the operations other windows use ---

    // Loads glaze index of the document into the form; outside the database the form edits
    // nothing and its controls keep what they show.
    void EditGlaze(int index);
    // Limited access to the glazes at indices (count of them), on the first.
    void SetGlazeSelection(const int* indices, int count);
    // Recomputes what the visible page shows.
    void RefreshAnalysis();

    // --- recipe entry (RecipeEntry.cpp) ---

    void CheckIngredients();
    // Double-click in the material list: material row with 100 into the last recipe field.
    void InsertMaterial(int row);
    // Both false when they refused what the field holds; with tell they say why (a field left for
    // another window tells when the user comes back or runs a command).
    bool RecipeFieldLeft(CTabEdit* field, bool tell);
    // "x2.5", "*2", "/4" in Working Batch Size become the components' total scaled.
    bool BatchSizeLeft(bool tell);

    // --- recipe tools (GlazeEditViewTools.cpp) ---

    void ConvertWeightVolume();
    // Scale to W.B.S. (by weight) or Scale Recipe (by volume).
    void ScaleRecipe();
    void ScaleToIngredient();
    void MakeSubstitution();
    void BatchCalculation();

    // --- Insight and Recipary (GlazeEditViewInsight.cpp) ---

    // scope: kInsightComponents, kInsightAdditions or kInsightEntireRecipe.
    void SendToInsight(int scope);
    void GetFromInsight();
    void AddReciparyPrompts();

    // --- printing (GlazeEditViewPrint.cpp) ---

    // The print kind (1 summary, 2 recipe, 3 report) File > Print prints.
    int printKind = 1;

    // --- navigation and records (GlazeEditViewNav.cpp) ---

    void EditPrevious();
    void EditNext();
    void JumpTo();
    void SaveAsNew();
    // The form's glaze onto the glaze clipboard; false, after saying why, when the form holds
    // what it cannot save (CanSaveForm).
    bool Copy();
    void Paste();
    void Close();

    // --- pages and panes (GlazeEditPagePanes.cpp) ---

    void ShowPage(int page);
    void SetAnalysisMode(int mode);
    void SetRecipePaneMode(int mode);
    // 1 Materials, 2 Analysis.
    void SetRecipeRightPane(int pane);
    void SetDefaultLimitFormula();
    void ShowText(int pane);
    // The notices of the visible graph pane's chart (GlazeEditPageGraphs.cpp).
    void OnChartMessage(unsigned message, unsigned kind, std::uint64_t data) override;
    void WriteGraphToFile();
    // The chart's right-button menu (shown at the pointer on a right press and release).
    std::unique_ptr<QMenu> BuildGraphMenu();
    CInfoPopupDlg* Popup() const { return m_popup; }
    void EnlargePane(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tests read the counters and choices that no control shows through this (a test-only
    // header); the controls they find by object name like any widget.
    friend struct CGlazeEditViewTestAccess;

    // The form's own operations, run by its buttons, keys and menu.

    // GlazeEditView.cpp
    void SetModified(int flag);
    // Every field of the controls into target: trimmed texts, cones from the range, the recipe
    // lines; target's analysis is dropped. Returns the first recipe line whose amount is refused
    // (target then holds the lines around it): whoever reads the form learns of it.
    CRefusedLine ControlsToGlaze(CGlaze& target);

    // RecipeEntry.cpp
    static void FormatRecipeLines(CStringArrayEx& lines, const CIngredientList& list);
    // The recipe size label (the components' total, naming a line it leaves out) and the scale
    // buttons.
    void UpdateRecipeSize();
    // View > Update (Ctrl+U): both recipe fields reformatted, the panes recomputed.
    void OnUpdateRecipe();
    void FillMaterialList();
    // Completion after a line break (Enter) and on Tab.
    void CompleteOnEnter(CTabEdit* field);
    void CompleteOnTab(CTabEdit* field);
    // The lines of a recipe field as they stand.
    CStringArrayEx RecipeLines(CTabEdit* field) const;
    void SetRecipeLines(CTabEdit* field, const CStringArrayEx& lines);
    // Both recipe fields read (AmountLines.h): one ingredient per line with a positive amount,
    // names in the database's form; the first refused line, of the components before the
    // additions, comes back.
    CRefusedLine ReadRecipeFields(CIngredientList& components, CIngredientList& additions) const;
    // A recipe line whose amount is refused is never dropped by a save, a print, a check or a
    // tool that rewrites or sends the recipe: they refuse it instead, show the Recipe page and
    // select the line. False.
    bool RefuseRecipeLine(const CRefusedLine& refused);
    // Before the form is saved: its recipe lines and its working batch size.
    bool CanSaveForm();
    // The field being edited left, then CanSaveForm: what Save as New checks.
    bool CommitForSave();
    // CommitForSave, then MayReplaceStored: what Save Changes, Ctrl+S and a Yes to the save
    // question check.
    bool CommitForReplace();
    // The refusal of the Working Batch Size text, the field focused and its text selected.
    void RefuseBatchSize(const std::string& message);
    // Both recipe fields read, for a tool that rewrites, sends or checks them; false, leaving the
    // fields as typed, after refusing a line (RefuseRecipeLine).
    bool ReadRecipe(CIngredientList& components, CIngredientList& additions);

    // GlazeEditViewTools.cpp
    void ScaleTo100();
    // p: -2 nearest 0.01, -1 nearest 0.1, 0 nearest 1.
    void RoundOffAmounts(int p);
    void Optimize();
    void EditIngredients();
    // The common end of a tool: lists into the fields, panes and recipe size refreshed.
    void WriteBack(const CIngredientList& components, const CIngredientList& additions);

    // GlazeEditViewPrint.cpp
    // A print, preview or write command of the Print menu (or File > Print).
    void PrintGlaze(unsigned id);
    // glaze filled from the controls, as printing and the clipboard take it; false, after
    // refusing a recipe line, when the form holds one.
    bool FormGlaze(CGlaze& glaze);

    // GlazeEditViewNav.cpp
    void InsertNew();
    void AppendNew();
    void SaveAndNext();
    // Copy, then closes without a question.
    void Cut();
    void LeaveLimitedAccess();
    void OpenReport();
    // View > Open Graph: the save question, then a graph window on the form's glaze.
    void OpenGraph();
    // Ctrl+N (forward) and Ctrl+B: the next field group.
    void MoveToFieldGroup(bool forward);
    void UpdateButtons();

    // GlazeEditPagePanes.cpp
    // The ten pane texts recomputed when forced or not current, and shown.
    void MakePanesCurrent(bool force);
    void OnLimitFormulaSelected();
    // G and T of a graph pane.
    void ShowGraph(int pane);
    // Rebuilds a graph pane when it is out of date, in graph mode and its page is showing.
    void RebuildGraphPane(int pane);
    // The chart of the visible graph pane to the clipboard, to an image file, or to the printer
    // or its preview.
    void CopyGraph();
    void PrintGraphPane(bool preview);
    void MarkGraphsOutOfDate();
    void EnlargeNotes(bool variations);
    void BrowseFile(bool image);
    void ViewFile(bool image);

    struct GraphPane {
        const CGraphTemplate* graphTemplate = nullptr; // a template of the database, or none
        bool graphMode = false;
        bool outOfDate = true;
        int builds = 0;
        CGraphWnd* chart = nullptr;
        std::unique_ptr<CGraph> graph;
        std::unique_ptr<CChartWindow> host;
        QPushButton* graphButton = nullptr;
        QPushButton* textButton = nullptr;
        QLabel* leftOut = nullptr; // above the chart: the recipe line it leaves out
        QRect area;                // the chart's place on its page, with no line left out
    };

    CGlazesDoc* GlazesDoc() const;
    // The button of a control id (kGedSave ...), a page and its button (page 1..5).
    QPushButton* Button(int id) const;
    QWidget* Page(int page) const { return m_pages[static_cast<std::size_t>(page - 1)]; }
    CToggleButton* PageButton(int page) const { return m_pageButtons[static_cast<std::size_t>(page - 1)]; }
    int SubsetCount() const { return static_cast<int>(m_subsetIndices.size()); }
    GraphPane& Pane(int pane) { return m_graphPanes[static_cast<std::size_t>(pane)]; }
    const GraphPane& Pane(int pane) const { return m_graphPanes[static_cast<std::size_t>(pane)]; }
    void Broadcast(int code, int index, const CGlaze* glaze);
    void SetFrameTitle(const std::string& title);
    // Closes the frame without a question (the form's own edits are dropped).
    void CloseQuietly();
    void DestroyPopup();

    // GlazeEditView.cpp: the controls and the glaze.
    void GlazeToControls(const CGlaze& glaze);
    void FillChoiceLists();
    void ApplyEditFont();
    void ConnectChangeSignals();
    void OnFieldEdited();
    // The leaving handler of field; false when it refused what the field holds (said with tell).
    bool LeaveField(QObject* field, bool tell);
    // False when the glaze has gone, and the window with it.
    bool OnGlazesMoved();
    void OnGraphTemplatesChanged(int code, const void* object);
    // The change notices that concern the form's glaze and database, sent by sender.
    void OnGlazeNotice(CView* sender, const CUpdateHint& hint);
    // Before a save replaces the stored glaze: false when another window saved it since the form
    // showed it and the user keeps that save (CSavedElsewhere).
    bool MayReplaceStored();

    // GlazeEditViewNav.cpp
    // Asks the save question: false on Cancel, after saving on Yes.
    bool AskAndSave();
    void InsertNewAt(int index);
    void StepSubset(int position);
    // Finds the subset's glazes again; false when the source glaze is gone.
    bool RemapSubset();
    int IndexOfGlaze(const CGlaze* glaze) const;
    void FocusField(QWidget* field, bool caretAtEnd);

    // GlazeEditPageBuild.cpp
    void BuildForm();
    void BuildPageButtons();
    void BuildButtonRow();
    void BuildDescriptionPage(QWidget* page);
    void BuildRecipePage(QWidget* page);
    void BuildRecipeButtons(QWidget* page);
    void BuildRecipeRightPane(QWidget* page);
    void BuildNotesPage(QWidget* page);
    void BuildAnalysisPage(QWidget* page);
    void BuildLimitPage(QWidget* page);
    void BuildGraphButtons(QWidget* page, int pane, int x, int y, const QRect& chartArea);
    void ColorPanes();
    void SetTabStops();
    void ConnectButtons();
    QWidget* NewPage(int page);
    QLabel* AddLabel(QWidget* page, const QString& text, int x, int y, int width);
    QLineEdit* AddLineEdit(QWidget* page, int x, int y, int width, const char* name);
    QPushButton* AddButton(QWidget* parent, const QString& text, int id, int x, int y, int width, int height);
    CToggleButton* AddToggle(QWidget* parent, const char* caption, int x, int y, int width);
    QPlainTextEdit* AddPaneText(QWidget* page, const QRect& area, const char* name);
    void Place(QWidget* control, int x, int y, int width, int height) const;
    void InstallFilters();

    // GlazeEditPagePanes.cpp
    void ShowPaneTexts();
    void FillLimitPage(const CGlaze& scratch, const std::string& leftOut);
    // The form's recipe as the panes compute it; returns LeftOutNote of a refused line, else "".
    std::string BuildScratchGlaze(CGlaze& scratch);
    // What the panes say of a recipe line they leave out.
    static std::string LeftOutNote(const CRefusedLine& refused);
    void PressModeButtons();
    void SetPaneText(QPlainTextEdit* pane, const std::string& text);
    // A new graph of the pane's template for the glaze on the form, drawn into its chart window.
    void BuildGraphChart(int pane);
    // The graph pane of the page showing (-1 for none).
    int VisibleGraphPane() const;
    void ShowChartPopup(int column, int row);
    void ShowChartObjectMessage(int objectId);
    void ShowGraphMenu(const QPoint& screenPoint);
    std::string DirectoryForFiles() const;

    // --- the glaze ---
    int m_nSourceIndex = -1;
    CGlaze* m_pSourceGlaze = nullptr;
    CGlaze m_work;
    std::string m_limform;
    bool m_bSubset = false;
    std::vector<CGlaze*> m_subsetGlazes;
    std::vector<int> m_subsetIndices;
    int m_nSubsetPos = -1;
    int m_nModified = 0;
    bool m_bFrozen = false;
    bool m_bLoading = false;
    bool m_bClosing = false;
    bool m_bInFieldHandler = false;
    bool m_bListsFilled = false;
    bool m_bMaterialsFilled = false;
    int m_nCompletion = 1;
    int m_nLastRecipeField = 0;

    // --- pages and panes ---
    int m_nPage = 0;
    int m_nRecipePane = 1;
    int m_nAnalysisMode = 1;
    int m_nRecipeMode = 1;
    std::array<std::string, 10> m_paneTexts;
    bool m_bPanesCurrent = false;
    int m_nPaneComputations = 0;
    std::string m_chosenLimitFormula;
    CLogFont m_editFont;
    std::array<GraphPane, 2> m_graphPanes;
    std::array<CGraphTemplate, 2> m_defaultTemplates;
    QPointer<CInfoPopupDlg> m_popup;
    CChartClickRouter m_chartClicks;
    CFormRefusals m_refusals{this};
    CSavedElsewhere m_savedElsewhere{kGlazeEditSaveQuestionHelpId};
    QPointer<QObject> m_menuBarTookFocusFrom; // the field being edited while the menu bar has the focus

    // --- controls ---
    QWidget* m_form = nullptr;
    std::array<QWidget*, kGlazeEditPageCount> m_pages{};
    std::array<CToggleButton*, kGlazeEditPageCount> m_pageButtons{};
    std::vector<QPushButton*> m_buttons;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_date = nullptr;
    QLineEdit* m_index = nullptr;
    std::array<QComboBox*, 13> m_choices{};
    QLineEdit* m_imageFile = nullptr;
    CTabEdit* m_components = nullptr;
    CTabEdit* m_additions = nullptr;
    std::array<CRecipeAmountAligner*, 2> m_aligners{}; // of the Components and Additions fields
    QLabel* m_recipeSize = nullptr;
    QLineEdit* m_batchSize = nullptr;
    QCheckBox* m_byVolume = nullptr;
    CToggleButton* m_materialsToggle = nullptr;
    CToggleButton* m_analysisToggle = nullptr;
    QListWidget* m_materialList = nullptr;
    QPlainTextEdit* m_recipeAnalysis = nullptr;
    std::array<CToggleButton*, 3> m_recipeModeButtons{};
    CNotesEdit* m_variations = nullptr;
    CNotesEdit* m_notes = nullptr;
    QLineEdit* m_noteFile = nullptr;
    QLineEdit* m_source = nullptr;
    QPlainTextEdit* m_analysisPane = nullptr;
    QPlainTextEdit* m_recipePane = nullptr;
    std::array<CToggleButton*, 3> m_analysisModeButtons{};
    std::array<CToggleButton*, 4> m_recipePaneButtons{};
    QListWidget* m_limitList = nullptr;
    QLabel* m_comparisonLabel = nullptr;
    QPlainTextEdit* m_comparisonText = nullptr;
};

// The edit window's menu bar (resource 13).
void RegisterGlazeEditMenu();
// Gives the edit template its windows and menu, and lets the glaze databases and their lists
// open edit and report windows (the glaze views).
void InstallGlazeEditTemplate(CDocTemplate& docTemplate);
// A new edit window on document (null when no window could be made); the caller loads a glaze.
CGlazeEditView* CreateGlazeEditWindow(CGlazesDoc& document);
