#pragma once

// The material edit view: a form over the materials document that edits one material at a time
// on a working copy (name, code, other names with their codes, type, availability, density, cost,
// formula, mapping and the three note boxes). Edits stay in the view until Save Changes, or a Yes
// to the save question, writes the copy back into the database and announces it.
//
// The view steps through the database (Previous, Next, Jump to, Insert new, Append new) or, in
// limited access, through a fixed list of materials chosen in the list view. It checks and
// rewrites the formula when its box is left, shows the formula weight or percentage sum beside
// it, converts and normalises the formula, and checks the material against the database
// (MaterialEditViewFormula.cpp). A mapped material takes density, cost, availability and formula
// from the material its mapping leads to, so those fields are locked while a mapping is set.
//
// The document reaches its edit views through CMaterialEditLink; InstallMaterialEditTemplate
// gives the edit template (resource 10) its menu bar and lets the document open edit views.

#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "records/RecordEditView.h"
#include "support/NumberField.h"

#include <array>
#include <string>
#include <vector>

class CDocTemplate;
class CMaterialsDoc;
class CNotesEdit;
class CTextPrinter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Commands of the edit window (menu texts in the comments).
enum MaterialEditCommand : unsigned {
    CmdMatEditCut = 32983,            // "Cu&t"
    CmdMatEditCopy = 32984,           // "&Copy"
    CmdMatEditPaste = 32985,          // "&Paste"
    CmdMatEditInsertNew = 32986,      // "&Insert new"
    CmdMatEditAppendNew = 32987,      // "&Append new"
    CmdMatEditPrevious = 32988,       // "&Previous Material"
    CmdMatEditNext = 32989,           // "&Next Material"
    CmdMatEditLimitedAccess = 32990,  // "&Limited Access"
    CmdMatEditCloseView = 32889,      // "&Close View"
    CmdMatEditSaveAndNext = 32891,    // Ctrl+S
    CmdMatEditSaveAsNew = 33323,      // "Save as &New"
    CmdMatEditJumpTo = 33057,         // "&Jump to..."
    CmdMatEditConvertFormula = 32913, // "&Convert Formula..."
    CmdMatEditNormalize = 33069,      // "&Normalize Formula"
    CmdMatEditAddLoi = 33070,         // "Add &LOI to Formula"
    CmdMatEditPrint = 32833,          // "&Print..."
    CmdMatEditPrintPreview = 32834,   // "Print Pre&view..."
    CmdMatEditWriteToFile = 32835,    // "Write to &File..."
    CmdMatEditHelp = 32000,
    CmdMatEditContextHelp = 57670,
};

// Control ids of the form (template 113).
enum MaterialEditControl : int {
    kMatEditReportNotes = 2360,
    kMatEditReportButton = 2361,
    kMatEditAvailable = 2362,
    kMatEditClose = 2363,
    kMatEditCode = 2364,
    kMatEditAliasCode1 = 2365,
    kMatEditAliasCode2 = 2366,
    kMatEditFormulaButton = 2368,
    kMatEditSave = 2369,
    kMatEditCost = 2370,
    kMatEditCostUnit = 2371,
    kMatEditCurrency = 2372,
    kMatEditDensity = 2373,
    kMatEditDensityUnit = 2374,
    kMatEditFormula = 2375,
    kMatEditHazardNotes = 2376,
    kMatEditHazardButton = 2377,
    kMatEditInvalidMapping = 2378,
    kMatEditMapTo = 2379,
    kMatEditBrowse = 2380,
    kMatEditCheck = 2381,
    kMatEditName = 2382,
    kMatEditAlias1 = 2383,
    kMatEditAlias2 = 2384,
    kMatEditNext = 2386,
    kMatEditNotes = 2387,
    kMatEditNotesButton = 2388,
    kMatEditPrevious = 2389,
    kMatEditUndo = 2390,
    kMatEditType = 2391,
    kMatEditWeight = 2392,
    kMatEditWeightLabel = 2393,
    kMatEditAliasUp = 2394,
    kMatEditAliasDown = 2395,
    kMatEditJumpTo = 2396,
};

// The edit template's resource id (its menu) and the help topics of the view.
inline constexpr unsigned kMaterialEditResourceId = 10;
inline constexpr unsigned kMaterialEditHelpId = 211;
inline constexpr unsigned kMatEditSelectHelpId = 343;
// Help contexts of the view's message boxes.
inline constexpr unsigned kMatEditSaveQuestionHelpId = 0x30140;
inline constexpr unsigned kMatEditFormulaErrorHelpId = 0x30240;
inline constexpr unsigned kMatEditFormulaEmptyHelpId = 0x30241;
inline constexpr unsigned kMatEditNot100HelpId = 0x30242;
inline constexpr unsigned kMatEditForcedSumHelpId = 0x30243;

// "Invalid formula!" and the engine's error: the message of a formula refused where it is typed.
std::string InvalidFormulaMessage(const std::string& error);

// What the form states about itself (its commands, buttons and texts).
extern const CRecordEditKind kMaterialEdit;

class CMaterialEditView : public CRecordEditView {
    Q_OBJECT

public:
    CMaterialEditView();
    ~CMaterialEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    // Whatever the notice, the form first follows the database's units (FollowUnits), then
    // reacts to it as every record form does.
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    // Runs the leaving handler of the field that has the focus.
    bool CommitPendingEdit() override;

    // --- CMaterialEditLink ---
    void SaveToDatabase() override;

    // Edits the record at index (reloading it); outside the database the view edits no record
    // and the fields keep what they hold.
    void PositionOn(int index) { LoadRecord(index); }

    const CMaterial* CurrentRecord() const { return static_cast<const CMaterial*>(CurrentIdentity()); }
    const CMaterial& WorkingCopy() const { return m_work; }

    // --- operations of the buttons and commands ---
    // Save Changes: false when the formula in the form does not parse (after the message).
    bool SaveChanges() override;
    void Next() { EditNext(); }
    void Previous() { EditPrevious(); }
    void Copy() override;
    void Paste() override;
    void Browse();
    void EditNotes(int buttonId);
    void AliasUp();
    void AliasDown();

    // --- leaving a field ---
    void NameOrCodeLeft(QLineEdit* edit);
    void AliasLeft(QLineEdit* edit);
    void MappingEntered();
    // True when the mapping does not resolve. The fields of a mapped material show those of the
    // end of its chain; byUser: the user's own edit (a mapping typed, chosen or pasted) made them
    // differ, which marks the form changed.
    bool UpdateMappingState(bool byUser = true);

    // --- formula tools and Check Material (MaterialEditViewFormula.cpp) ---
    void FormulaEntered();
    // The weight or percentage sum of text (the formula field's when null) beside the field.
    void UpdateWeightDisplay(const std::string* text = nullptr);
    void ConvertFormula();
    void NormalizeFormula();
    void AddLoi();
    void EditFormula();
    void CheckMaterial();
    bool CanConvert();
    bool CanNormalize();
    bool CanAddLoi();

    // --- form contents ---
    void Load(const CMaterial& material);
    void Store(CMaterial& material);
    // The density and cost of material shown in their fields, each text standing for its value.
    void ShowNumbers(const CMaterial& material);
    static std::string DensityText(double density);
    std::string CostText(double cost) const;
    double KeptCost(double cost) const;
    std::string FormulaText() const;
    void SetFormulaText(const std::string& text);

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* CodeEdit() const { return m_code; }
    QLineEdit* AliasEdit(int row) const { return m_aliasEdits[static_cast<std::size_t>(row)]; }
    QLineEdit* AliasCodeEdit(int row) const { return m_aliasCodeEdits[static_cast<std::size_t>(row)]; }
    QPushButton* AliasUpButton() const { return m_aliasUp; }
    QPushButton* AliasDownButton() const { return m_aliasDown; }
    QComboBox* TypeBox() const { return m_type; }
    QCheckBox* AvailableBox() const { return m_available; }
    QLineEdit* DensityEdit() const { return m_density; }
    QLineEdit* CostEdit() const { return m_cost; }
    QPlainTextEdit* FormulaEdit() const { return m_formula; }
    QPushButton* FormulaButton() const { return m_formulaButton; }
    QLabel* WeightLabel() const { return m_weightLabel; }
    QLabel* WeightText() const { return m_weight; }
    QLineEdit* MapToEdit() const { return m_mapTo; }
    QLabel* InvalidMappingLabel() const { return m_invalidMapping; }
    CNotesEdit* NotesBox(int buttonId) const;
    QWidget* Form() const { return m_form; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- CRecordEditView ---
    void ShowRecordAt(int index) override;
    void WriteRecord(int index) override;
    // Another material changed or moved: a mapped form shows what its chain now ends in. The
    // stored record follows through the document, whose notice reloads a form without edits, so
    // the form is not marked changed for it.
    void AfterRecordMoved() override { UpdateMappingState(false); }
    // The formula, then density and cost, which are numbers ("2,6" is refused, not saved as 2).
    bool CanSaveForm() override;
    QLineEdit* NameField() const override { return m_name; }
    void FillPrinter(CTextPrinter& printer) override;
    void OnOtherNotice(const CUpdateHint& hint) override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;

private:
    CMaterialsDoc* MaterialsDoc() const;
    // Runs the leaving handler of field (one of the checked fields of the form).
    void LeaveField(QObject* field);
    void BuildForm();
    void BuildNameRows();
    void BuildValueRows();
    void BuildNotesRows();
    void BuildButtonRow();
    QLineEdit* AddLineEdit(int id, int x, int y, int width);
    QLabel* AddLabel(const QString& text, int x, int y, int width, int id = 0);
    void ConnectChangeSignals();
    void ApplyNotesFont();
    void FillTypeBox();
    // The database's currency symbol and units beside the fields; the numbers in the fields are
    // taken to be in the database's units as they stand now.
    void ShowUnits();
    // When the database's units changed since the fields' numbers were shown or typed (Units),
    // the numbers are multiplied by every factor the records were multiplied by since and shown
    // in the database's cost places; then the units are shown. A form that keeps its edits
    // through Units so never saves a number in a unit other than the one it shows.
    void FollowUnits();

    void ShowAliasRows();
    void StoreAliasRows();
    void ReadAliasRowsIntoLists();
    bool BracketFix(QLineEdit* edit);

    void SetFieldsFromMapped(const CMaterial& mapped, bool byUser);

    // --- formula helpers (MaterialEditViewFormula.cpp) ---
    // Shows value (a weight, or a percentage sum when percent) beside the formula; negative
    // values show nothing.
    void ShowWeight(double value, bool percent);
    // The common checks of the formula commands; false (after a message, or silently for a
    // mapped material) when the command cannot run.
    bool FormulaCommandChecks(CMaterial& scratch);
    bool ParseFieldFormula(CMaterial& scratch) const;
    void NormalizeWithMode(int mode);
    // Before a save: false after the formula's error message when the formula does not parse.
    bool CheckFormulaBeforeSave();
    void ReportFormulaError(const std::string& text, const std::string& error, int position);

    CMaterial m_work;
    // The density and cost fields' texts as last loaded or saved, and the values they stand for.
    CShownNumber m_shownDensity;
    CShownNumber m_shownCost;
    // The units the two fields' numbers are in: the database's cost places and how many of its
    // scalings of costs and of densities (CMaterialArray::CostScalings) they include.
    struct CNumbersIn {
        int costPlaces = -1;
        std::size_t costScalings = 0;
        std::size_t densityScalings = 0;
    };
    CNumbersIn m_numbersIn;
    std::vector<std::string> m_aliases;
    std::vector<std::string> m_aliasCodes;
    int m_firstAlias = 0;
    int m_aliasCount = 0;
    bool m_inFieldHandler = false;
    // The formula text whose parse error was shown last, so one error is not reported twice.
    std::string m_reportedFormula;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_code = nullptr;
    std::array<QLineEdit*, 2> m_aliasEdits{};
    std::array<QLineEdit*, 2> m_aliasCodeEdits{};
    QPushButton* m_aliasUp = nullptr;
    QPushButton* m_aliasDown = nullptr;
    QComboBox* m_type = nullptr;
    QCheckBox* m_available = nullptr;
    QLineEdit* m_density = nullptr;
    QLabel* m_densityUnit = nullptr;
    QLabel* m_currency = nullptr;
    QLineEdit* m_cost = nullptr;
    QLabel* m_costUnit = nullptr;
    QPlainTextEdit* m_formula = nullptr;
    QPushButton* m_formulaButton = nullptr;
    QLabel* m_weightLabel = nullptr;
    QLabel* m_weight = nullptr;
    QLineEdit* m_mapTo = nullptr;
    QLabel* m_invalidMapping = nullptr;
    CNotesEdit* m_reportNotes = nullptr;
    CNotesEdit* m_hazardNotes = nullptr;
    CNotesEdit* m_notes = nullptr;
};

// The edit window's menu bar (resource 10).
void RegisterMaterialEditMenu();
// Gives the edit template its windows and menu, and lets the materials document open edit views
// through it.
void InstallMaterialEditTemplate(CDocTemplate& docTemplate);
