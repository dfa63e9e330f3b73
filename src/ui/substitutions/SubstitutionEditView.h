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

#include "framework/View.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/LogFont.h"
#include "support/StringArrayEx.h"

#include <QScrollArea>

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

class CSubstitutionEditView : public QScrollArea, public CView, public CSubstitutionEditLink {
    Q_OBJECT

public:
    CSubstitutionEditView();
    ~CSubstitutionEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // Runs the leaving handler of the set box that has the focus.
    void CommitPendingEdit() override;

    // --- CSubstitutionEditLink ---
    int AskSaveChanges() override { return AskToSave(); }
    void SaveToDatabase() override { StoreRecord(); }
    void SetChanged(bool changed) override { SetModified(changed); }

    // Makes the record at index current and shows it; outside the document no record is current.
    void LoadRecord(int index);
    // Shows record in the controls (it becomes the working copy).
    void ShowRecord(const CSubstitution& record);
    // Reads the controls into record: trimmed name, both sets (without warnings), the notes.
    void GatherRecord(CSubstitution& record);
    // Writes the form into the current record and announces it; the form is then unmodified.
    void StoreRecord();
    // MsgResultNo without asking when the form is unmodified, else the save question's answer.
    int AskToSave();
    void SetModified(bool modified);
    // Limited access to the records at indices (count of them), on the first.
    void SetLimitedSelection(const int* indices, int count);

    // Reads set lines ("material TAB amount") into out: lines without a positive amount are
    // dropped, found materials take their canonical name. With warn set, a material that is not
    // in the database, unavailable or badly mapped is reported in an OK / Cancel box; Cancel
    // clears warn for the remaining lines. Returns the number of problems reported.
    static int ParseSetLines(const CStringArrayEx& lines, CIngredientList& out, bool& warn);
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
    void SetBoxLeft(QPlainTextEdit* box);
    // Appends the material of the materials list's row with amount 100 to the last set used.
    void AddMaterial(int row);
    void FillMaterialsList();

    // --- navigation and commands (SubstitutionEditViewCommands.cpp) ---
    void EditPrevious();
    void EditNext();
    void SaveAndNext();
    void InsertNew();
    void AppendNew();
    void JumpTo();
    void SaveAsNew();
    void Copy();
    void Cut();
    void Paste();
    void LeaveLimitedAccess();
    void Close();
    void PrintSummary(unsigned id);
    void FillPrinter(CTextPrinter& printer);

    bool IsChanged() const { return m_bModified; }
    int CurrentIndex() const { return m_nCurrent; }
    const CSubstitution* CurrentRecord() const { return m_pCurrent; }
    bool IsLimited() const { return m_bLimited; }
    int LimitedPosition() const { return m_nLimitedPosition; }
    int LastFocusedSet() const { return m_nLastSet; }

    QLineEdit* NameEdit() const { return m_name; }
    CTabEdit* SetEdit(int set) const { return set == 0 ? m_set1 : m_set2; }
    QListWidget* MaterialsList() const { return m_materials; }
    CNotesEdit* NotesEdit() const { return m_notes; }
    QPushButton* Button(int id) const;

    // The whole form and the scroll area's frame: the edit window fits the form.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSubstitutionsDoc* SubstitutionsDoc() const;
    CSubstitutionList* Database() const;
    int RecordCount() const;
    void Broadcast(int code, int index, const void* record = nullptr);

    // SubstitutionEditView.cpp: the form.
    void BuildForm();
    void BuildButtons();
    void ConnectSignals();
    QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height);
    QLabel* AddLabel(const QString& text, int x, int y, int width);
    void Place(QWidget* control, int x, int y, int width, int height) const;
    CTabEdit* AddSetBox(int id, int x);
    void SetCaption(const std::string& name);
    void UpdateButtons();
    void ApplyNotesFont();
    // The lines of a box (set lines without empty lines), and a box filled with lines.
    static CStringArrayEx BoxLines(QPlainTextEdit* box, bool skipEmpty);
    void SetBoxLines(QPlainTextEdit* box, const CStringArrayEx& lines);
    // A set box's lines parsed (no warnings) and written back formatted.
    void ReformatBox(QPlainTextEdit* box);

    // SubstitutionEditViewCommands.cpp
    bool AskAndStore();
    void InsertAndLoad(int position);
    // Finds the record again after the list changed; false when it is gone.
    bool RelocateRecord();
    void CloseQuietly();
    void GoToLimited(int position);

    CSubstitution m_work;
    int m_nCurrent = -1;
    const CSubstitution* m_pCurrent = nullptr;
    bool m_bModified = false;
    int m_nLastSet = 0;
    bool m_bLimited = false;
    std::vector<const CSubstitution*> m_limitedRecords;
    std::vector<int> m_limitedIndices;
    int m_nLimitedPosition = 0;
    bool m_bMaterialsFilled = false;
    bool m_bCompleting = false;
    bool m_bLoading = false;
    bool m_bClosing = false;
    CLogFont m_editorFont;

    QWidget* m_form = nullptr;
    QLineEdit* m_name = nullptr;
    CTabEdit* m_set1 = nullptr;
    CTabEdit* m_set2 = nullptr;
    QListWidget* m_materials = nullptr;
    CNotesEdit* m_notes = nullptr;
    std::vector<QPushButton*> m_buttons;
};

// The edit window's menu bar (resource 11).
void RegisterSubstitutionEditMenu();
// The status-bar prompt of an edit-window command, or null for another command.
const char* SubstitutionEditCommandPrompt(unsigned id);
// Gives the edit template its window, registers its menu and lets the document ask its forms.
void InstallSubstitutionEditTemplate(CDocTemplate& docTemplate);
