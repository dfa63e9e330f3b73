#pragma once

// The limit-formula edit form: edits one formula of the limit-formula database on a working
// copy: its name, its limits (combination, range from and to, by weight percent) and its notes.
// Save Changes, or Yes to the save question, writes the copy back and announces it (kind 4,
// code 24). The form steps through the database (Previous, Next, Jump to, Insert new, Append new)
// or, in limited access, through the formulas chosen in the list.
//
// The document reaches its forms through CLimitFormulaEditLink; InstallLimitFormulaEditTemplate
// gives the edit template (resource 12) its menu bar and lets the document open forms.

#include "limits/LimitFormula.h"
#include "limits/LimitFormulasDoc.h"
#include "records/RecordEditView.h"
#include "support/NumberField.h"

#include <string>
#include <vector>

class CDocTemplate;
class CLimitFormulaDB;
class CNotesEdit;
class CTabStopDelegate;
class CTextPrinter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Commands of the edit window (menu texts in the comments).
enum LimitFormulaEditCommand : unsigned {
    CmdLimEditPrint = 33450,             // "&Print..."
    CmdLimEditPrintPreview = 33451,      // "Print Pre&view..."
    CmdLimEditWriteToFile = 33452,       // "Write to &File..."
    CmdLimEditCut = 33453,               // "Cu&t"
    CmdLimEditCopy = 33454,              // "&Copy"
    CmdLimEditPaste = 33455,             // "&Paste"
    CmdLimEditSaveAsNew = 33456,         // "Save as &New"
    CmdLimEditInsertNew = 33457,         // "&Insert new"
    CmdLimEditAppendNew = 33458,         // "&Append new"
    CmdLimEditPrevious = 33459,          // "&Previous Limit Formula"
    CmdLimEditNext = 33460,              // "&Next Limit Formula"
    CmdLimEditJumpTo = 33461,            // "&Jump to..."
    CmdLimEditLimitedAccess = 33462,     // "&Limited Access"
    CmdLimEditCloseView = 33463,         // "&Close View"
    CmdLimEditOxideCombinations = 33464, // "Oxide &Combinations..."
    CmdLimEditHelp = 32000,
    CmdLimEditContextHelp = 57670,
};

// Control ids of the form (template 156).
enum LimitFormulaEditControl : int {
    kLimEditName = 2700,
    kLimEditLimits = 2701,
    kLimEditUp = 2702,
    kLimEditDown = 2703,
    kLimEditSort = 2704,
    kLimEditCombination = 2705,
    kLimEditFrom = 2706,
    kLimEditTo = 2707,
    kLimEditByPercent = 2708,
    kLimEditAppendLimit = 2709,
    kLimEditDeleteLimit = 2710,
    kLimEditNotes = 2711,
    kLimEditNotesButton = 2712,
    kLimEditSave = 2713,
    kLimEditUndo = 2714,
    kLimEditPrevious = 2715,
    kLimEditNext = 2716,
    kLimEditJump = 2717,
    kLimEditClose = 2718,
};

// The edit template's resource id (its menu) and the help topics of the form.
inline constexpr unsigned kLimitFormulaEditResourceId = 12;
inline constexpr unsigned kLimitFormulaEditHelpId = 241;
inline constexpr unsigned kLimitSaveQuestionHelpId = 196928;
inline constexpr unsigned kSelectLimitFormulaHelpId = 324;
inline constexpr unsigned kLimitNotesHelpId = 321;

// What the form states about itself (its commands, buttons and texts).
extern const CRecordEditKind kLimitFormulaEdit;

class CLimitFormulaEditView : public CRecordEditView {
    Q_OBJECT

public:
    CLimitFormulaEditView();
    ~CLimitFormulaEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    // Runs the leaving handler of the field that has the focus; false when it refused a bound.
    bool CommitPendingEdit() override;

    // Loads the formula at index; outside the database the form shows nothing (index -1).
    void SetFormulaIndex(int index) { LoadRecord(index); }
    // Fills formula from the controls: the trimmed name, the notes (empty lines kept) and every
    // limit whose combination name is not empty.
    void CollectFormula(CLimitFormula& formula) const;

    const CLimitFormula* CurrentFormula() const { return static_cast<const CLimitFormula*>(CurrentIdentity()); }
    const CLimitArray& WorkingLimits() const { return m_limits; }
    int CurrentLimit() const { return m_nLimit; }

    // --- commands (LimitFormulaEditViewCommands.cpp) ---
    void Copy() override;
    void Paste() override;
    void EditNotes();
    void EditCombinations();
    void FillPrinter(CTextPrinter& printer) override;

    // --- limits (LimitFormulaEditViewLimits.cpp) ---
    void SelectLimit(int index);
    // Gives the selected limit the fields' combination, range and percent flag.
    void ApplyFieldsToLimit();
    void AppendNewLimit();
    void DeleteLimit();
    void MoveLimitUp();
    void MoveLimitDown();
    // Orders the limits by their combination's position in the combination list.
    void SortLimits();
    // The range text of the From and To fields.
    static std::string RangeText(const std::string& from, const std::string& to);
    // Leaving the combination box and the From and To fields. A bound that is no number ("1,5")
    // is refused (said with tell): the field keeps it, the limit its range; false then.
    void CombinationLeft();
    bool NumberLeft(QLineEdit* edit, bool tell);

    QLineEdit* NameEdit() const { return m_name; }
    QListWidget* LimitsList() const { return m_limitsList; }
    QComboBox* CombinationBox() const { return m_combination; }
    QLineEdit* FromEdit() const { return m_from; }
    QLineEdit* ToEdit() const { return m_to; }
    QCheckBox* ByPercentCheck() const { return m_byPercent; }
    CNotesEdit* NotesEdit() const { return m_notes; }

    void UpdateButtons() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- CRecordEditView ---
    void ShowRecordAt(int index) override;
    void ClearForm() override;
    void WriteRecord(int index) override;
    // The From and To fields hold numbers or nothing (BoundsTaken).
    bool CanSaveForm() override;
    QLineEdit* NameField() const override { return m_name; }
    void OnOtherNotice(const CUpdateHint& hint) override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;

private:
    CLimitFormulasDoc* LimitFormulasDoc() const;
    CLimitFormulaDB* Database() const;
    // False, after refusing the first bound field that holds neither a number nor nothing: what
    // would fill the fields anew, or save them, waits until it is mended.
    bool BoundsTaken();

    // LimitFormulaEditView.cpp: the form.
    void BuildForm();
    void BuildLimitControls();
    void ConnectSignals();
    void ShowFormula();
    void ApplyNotesFont();
    void FillCombinationBox();
    void FillLimitsList();
    std::string LimitRow(int index) const;
    void RefreshLimitRow(int index);

    // The form's state.
    CLimitFormula m_work;
    CLimitArray m_limits;
    int m_nLimit = -1;
    // The limit's range as it was before its bounds were typed into: the fields apply every
    // keystroke, so "2" stands in the limit on the way to a refused "2,5".
    std::string m_committedRange;
    CFormRefusals m_refusals{this};

    QLineEdit* m_name = nullptr;
    QListWidget* m_limitsList = nullptr;
    CTabStopDelegate* m_limitsDelegate = nullptr;
    QComboBox* m_combination = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_byPercent = nullptr;
    CNotesEdit* m_notes = nullptr;
};

// The edit window's menu bar (resource 12).
void RegisterLimitFormulaEditMenu();
// The status-bar prompt of an edit-window command, or null for another command.
const char* LimitFormulaEditCommandPrompt(unsigned id);
// Gives the edit template its window, registers its menu and lets the document open forms
// (made through g_pLimitFormulaEditTemplate).
void InstallLimitFormulaEditTemplate(CDocTemplate& docTemplate);
