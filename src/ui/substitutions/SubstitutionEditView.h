#pragma once

// The substitution edit form: edits one substitution on a working copy: its name, its two sets
// as lines of text (a material, a tab, an amount) and its notes. Save Changes, or Yes to the
// save question, writes the copy back and announces it (kind 3, code 8). The form steps through
// the database (Previous, Next, Jump to, Insert new, Append new) or, in limited access, through
// the records chosen in the list. It also exchanges and normalizes the sets, checks their
// materials, completes material names with Tab and Enter, and adds a material picked from the
// materials list to the set last worked in.
//
// The document reaches its forms through CSubstitutionEditLink; InstallSubstitutionEditTemplate
// gives the edit template (resource 11) its menu bar.

#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionsDoc.h"
#include "glazes/IngredientList.h"
#include "records/RecordEditView.h"
#include "support/AmountLines.h"
#include "support/NumberField.h"
#include "support/StringArrayEx.h"

#include <array>
#include <string>
#include <vector>

class CDocTemplate;
class CIngredientList;
class CNotesEdit;
class CSubstitutionList;
class CTabEdit;
class CTabStopDelegate;
class CTextPrinter;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Commands of the edit window (menu texts in the comments).
enum SubstitutionEditCommand : unsigned {
    CmdSubEditPrint = 33550,          // "&Print..."
    CmdSubEditPrintPreview = 33551,   // "Print Pre&view..."
    CmdSubEditWriteToFile = 33552,    // "Write to &File..."
    CmdSubEditCut = 33553,            // "Cu&t"
    CmdSubEditCopy = 33554,           // "&Copy"
    CmdSubEditPaste = 33555,          // "&Paste"
    CmdSubEditSaveAsNew = 33556,      // "Save as &New"
    CmdSubEditInsertNew = 33557,      // "&Insert new"
    CmdSubEditAppendNew = 33558,      // "&Append new"
    CmdSubEditPrevious = 33559,       // "&Previous Substitution"
    CmdSubEditNext = 33560,           // "&Next Substitution"
    CmdSubEditJumpTo = 33561,         // "&Jump to..."
    CmdSubEditLimitedAccess = 33562,  // "&Limited Access"
    CmdSubEditCloseView = 33563,      // "&Close View"
    CmdSubEditSaveAndNext = 33564,    // Ctrl+S
    CmdSubEditExchange = 33565,       // "&Exchange"
    CmdSubEditNormalize = 33566,      // "&Normalize"
    CmdSubEditCheckMaterials = 33567, // "&Check Materials"
    CmdSubEditBatchCalc = 33568,      // "&Batch Calculation..."
    CmdSubEditHelp = 32000,
    CmdSubEditContextHelp = 57670,
};

// Control ids of the form.
enum SubstitutionEditControl : int {
    kSubEditBatchCalc = 2560,
    kSubEditClose = 2561,
    kSubEditSave = 2562,
    kSubEditExchange = 2563,
    kSubEditCheck = 2564,
    kSubEditMaterials = 2565,
    kSubEditName = 2566,
    kSubEditNext = 2567,
    kSubEditNormalize = 2568,
    kSubEditNotes = 2569,
    kSubEditPrevious = 2571,
    kSubEditUndo = 2572,
    kSubEditSet1 = 2573,
    kSubEditSet2 = 2574,
    kSubEditJump = 4401,
};

// The edit template's resource id (its menu) and the help topics of the form.
inline constexpr unsigned kSubstitutionEditResourceId = 11;
inline constexpr unsigned kSubstitutionEditHelpId = 221;
inline constexpr unsigned kSubstitutionSaveQuestionHelpId = 0x30154;
inline constexpr unsigned kSubstitutionCheckHelpId = 0x30155;
inline constexpr unsigned kSelectSubstitutionHelpId = 325;

// What the form states about itself (its commands, buttons and texts).
extern const CRecordEditKind kSubstitutionEdit;

class CSubstitutionEditView : public CRecordEditView {
    Q_OBJECT

public:
    CSubstitutionEditView();
    ~CSubstitutionEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    // Runs the leaving handler of the set box that has the focus; false when it refused a line.
    bool CommitPendingEdit() override;

    // Shows record in the controls (it becomes the working copy).
    void ShowRecord(const CSubstitution& record);
    // Reads the controls into record: trimmed name, both sets, the notes. Returns the first set
    // line whose amount is refused (record then holds the lines around it).
    CRefusedLine GatherRecord(CSubstitution& record);
    // Writes the form into the current record and announces it; the form is then unmodified.
    void StoreRecord() { SaveToDatabase(); }
    // Save Changes: stores the record and shows it as stored.
    bool SaveChanges() override;

    // One line per ingredient, the amount with the typed-amount decimals ("decrecipeinput").
    static void FormatSetLines(CStringArrayEx& lines, const CIngredientList& list);

    // --- tools and completion (SubstitutionEditViewTools.cpp) ---
    void Exchange();
    void Normalize();
    void CheckMaterials();
    // Set 1 through the formula-to-batch calculator; on OK its batch replaces set 2.
    void BatchCalculation();
    // Tab in a set box: completes the material name before the caret.
    void CompleteName(QPlainTextEdit* box);
    // A change in a set box: an ended line is canonicalised and reformatted (or emptied).
    void CompleteEndedLine(QPlainTextEdit* box);
    // False when the box holds a refused line (said with tell): it then keeps its lines as typed.
    bool SetBoxLeft(QPlainTextEdit* box, bool tell);
    // Appends the material of the materials list's row with amount 100 to the last set used.
    void AddMaterial(int row);
    void FillMaterialsList();

    // --- commands (SubstitutionEditViewCommands.cpp) ---
    void Copy() override;
    void Paste() override;
    void FillPrinter(CTextPrinter& printer) override;

    const CSubstitution* CurrentRecord() const { return static_cast<const CSubstitution*>(CurrentIdentity()); }
    int LastFocusedSet() const { return m_nLastSet; }

    QLineEdit* NameEdit() const { return m_name; }
    CTabEdit* SetEdit(int set) const { return set == 0 ? m_set1 : m_set2; }
    QListWidget* MaterialsList() const { return m_materials; }
    CNotesEdit* NotesEdit() const { return m_notes; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- CRecordEditView ---
    // The set lines: one whose amount is refused (AmountLines.h) is selected after its message.
    bool CanSaveForm() override;
    void ShowRecordAt(int index) override;
    void WriteRecord(int index) override;
    QLineEdit* NameField() const override { return m_name; }
    void OnOtherNotice(const CUpdateHint& hint) override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;

private:
    CSubstitutionsDoc* SubstitutionsDoc() const;
    // Both set boxes read (AmountLines.h): one ingredient per line with a positive amount, names
    // in the database's form. The first refused line, of set 1 before set 2, comes back.
    CRefusedLine ReadSets(std::array<CIngredientList, 2>& sets) const;
    // ReadSets for a save, a print or a tool that rewrites, sends or checks the sets: false,
    // after refusing the line (RefuseAmountLine), when one is refused.
    bool TakeSets(std::array<CIngredientList, 2>& sets);

    // SubstitutionEditView.cpp: the form.
    void BuildForm();
    void ConnectSignals();
    CTabEdit* AddSetBox(int id, int x);
    void ApplyNotesFont();
    // The lines of a box (set lines without empty lines), and a box filled with lines.
    static CStringArrayEx BoxLines(QPlainTextEdit* box, bool skipEmpty);
    void SetBoxLines(QPlainTextEdit* box, const CStringArrayEx& lines);
    // A set box's lines written back formatted; false, keeping them as typed, when one is refused
    // (said with tell).
    bool ReformatBox(QPlainTextEdit* box, bool tell);

    CSubstitution m_work;
    int m_nLastSet = 0;
    bool m_bMaterialsFilled = false;
    bool m_bCompleting = false;
    CFormRefusals m_refusals{this};

    QLineEdit* m_name = nullptr;
    CTabEdit* m_set1 = nullptr;
    CTabEdit* m_set2 = nullptr;
    QListWidget* m_materials = nullptr;
    CNotesEdit* m_notes = nullptr;
};

// The edit window's menu bar (resource 11).
void RegisterSubstitutionEditMenu();
// The status-bar prompt of an edit-window command, or null for another command.
const char* SubstitutionEditCommandPrompt(unsigned id);
// Gives the edit template its window, registers its menu and lets the document ask its forms.
void InstallSubstitutionEditTemplate(CDocTemplate& docTemplate);
