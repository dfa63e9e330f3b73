#pragma once

// The limit-formula edit form: edits one formula of the limit-formula database on a working
// copy: its name, its limits (combination, range from and to, by weight percent) and its notes.
// Save Changes, or Yes to the save question, writes the copy back and announces it (kind 4,
// code 24). The form steps through the database (Previous, Next, Jump to, Insert new, Append new)
// or, in limited access, through the formulas chosen in the list.
//
// The document reaches its forms through CLimitFormulaEditLink; InstallLimitFormulaEditTemplate
// gives the edit template (resource 12) its menu bar and lets the document open forms.

#include "framework/View.h"
#include "limits/LimitFormula.h"
#include "limits/LimitFormulasDoc.h"
#include "support/LogFont.h"

#include <QScrollArea>

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

class CLimitFormulaEditView : public QScrollArea, public CView, public CLimitFormulaEditLink {
    Q_OBJECT

public:
    CLimitFormulaEditView();
    ~CLimitFormulaEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // Runs the leaving handler of the field that has the focus.
    void CommitPendingEdit() override;

    // --- CLimitFormulaEditLink ---
    int AskSaveChanges() override;
    void SaveToDatabase() override { SaveChanges(); }
    void SetChanged(bool changed) override;

    // Loads the formula at index; outside the database the form shows nothing (index -1).
    void SetFormulaIndex(int index);
    // Limited access to the formulas at indices (count of them), on the first.
    void SetLimitedList(const int* indices, int count);
    // Fills formula from the controls: the trimmed name, the notes (empty lines kept) and every
    // limit whose combination name is not empty.
    void CollectFormula(CLimitFormula& formula) const;
    void SaveChanges();
    void UndoChanges() { SetFormulaIndex(m_nFormula); }

    bool IsChanged() const { return m_bModified; }
    int CurrentIndex() const { return m_nFormula; }
    const CLimitFormula* CurrentFormula() const { return m_pFormula; }
    bool IsLimited() const { return m_bLimited; }
    int LimitedPosition() const { return m_nLimitedPosition; }
    const CLimitArray& WorkingLimits() const { return m_limits; }
    int CurrentLimit() const { return m_nLimit; }

    // --- navigation and commands (LimitFormulaEditViewCommands.cpp) ---
    void EditPrevious();
    void EditNext();
    void InsertNew();
    void AppendNew();
    void JumpTo();
    void SaveAsNew();
    void Copy();
    void Cut();
    void Paste();
    void LeaveLimitedAccess();
    void Close();
    void EditNotes();
    void EditCombinations();
    void PrintSummary(unsigned id);
    void FillPrinter(CTextPrinter& printer);

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
    // Leaving the combination box and the From and To fields.
    void CombinationLeft();
    void NumberLeft(QLineEdit* edit);

    QLineEdit* NameEdit() const { return m_name; }
    QListWidget* LimitsList() const { return m_limitsList; }
    QComboBox* CombinationBox() const { return m_combination; }
    QLineEdit* FromEdit() const { return m_from; }
    QLineEdit* ToEdit() const { return m_to; }
    QCheckBox* ByPercentCheck() const { return m_byPercent; }
    CNotesEdit* NotesEdit() const { return m_notes; }
    QPushButton* Button(int id) const;

    // The whole form and the scroll area's frame: the edit window fits the form.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CLimitFormulasDoc* LimitFormulasDoc() const;
    CLimitFormulaDB* Database() const;
    int FormulaCount() const;
    void Broadcast(int code, int index, const void* record = nullptr);

    // LimitFormulaEditView.cpp: the form.
    void BuildForm();
    void BuildLimitControls();
    void BuildButtons();
    void ConnectSignals();
    QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height);
    QLabel* AddLabel(const QString& text, int x, int y, int width);
    void Place(QWidget* control, int x, int y, int width, int height) const;
    void ShowFormula();
    void ClearForm();
    void SetCaption(const std::string& name);
    void SetModified(bool modified);
    void UpdateButtons();
    void ApplyNotesFont();
    void FillCombinationBox();
    void FillLimitsList();
    std::string LimitRow(int index) const;
    void RefreshLimitRow(int index);

    // LimitFormulaEditViewCommands.cpp
    // Asks the save question; false when the user cancelled.
    bool AskAndSave();
    void InsertAndLoad(int position);
    // Finds the formula again after the list changed; false when it is gone.
    bool RelocateFormula();
    void CloseQuietly();

    // The form's state.
    int m_nFormula = -1;
    const CLimitFormula* m_pFormula = nullptr;
    CLimitFormula m_work;
    CLimitArray m_limits;
    int m_nLimit = -1;
    bool m_bModified = false;
    bool m_bLimited = false;
    std::vector<const CLimitFormula*> m_limitedFormulas;
    std::vector<int> m_limitedIndices;
    int m_nLimitedPosition = 0;
    bool m_bLoading = false;
    bool m_bClosing = false;
    CLogFont m_editorFont; // the edit-box font the notes box was given

    QWidget* m_form = nullptr;
    QLineEdit* m_name = nullptr;
    QListWidget* m_limitsList = nullptr;
    CTabStopDelegate* m_limitsDelegate = nullptr;
    QComboBox* m_combination = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_byPercent = nullptr;
    CNotesEdit* m_notes = nullptr;
    std::vector<QPushButton*> m_buttons;
};

// The edit window's menu bar (resource 12).
void RegisterLimitFormulaEditMenu();
// The status-bar prompt of an edit-window command, or null for another command.
const char* LimitFormulaEditCommandPrompt(unsigned id);
// Gives the edit template its window, registers its menu and lets the document open forms
// (made through g_pLimitFormulaEditTemplate).
void InstallLimitFormulaEditTemplate(CDocTemplate& docTemplate);
