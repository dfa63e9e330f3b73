#pragma once

// The edit window of a record database (materials, limit formulas, substitutions): a form over
// one record, edited on a working copy. Edits stay in the form until Save Changes, or a Yes to
// the save question, writes the copy back and announces it.
//
// CRecordEditView carries what every such form does: the record it is on (by index and by
// identity, so it follows its record when the list changes), the unsaved-changes state and its
// question "Save changes to "<name>" ?", the navigation (Previous and Next, which become Insert
// New and Append New at the ends of the database; Jump to; Ctrl+S saving and moving on), Save as
// New, Cut, limited access over the records chosen in the list, closing, the button row (Save
// Changes, Undo Changes, Edit Previous, Edit Next, Jump to..., Close, ?), the shared commands of
// the edit menu with their enabling, printing of the summary, and the notices of its kind: a
// changed record reloads (a form with unsaved changes that another form saved over, or that a
// command changed without asking it, such as the update of mapped materials, asks first, and
// when it keeps them, asks again before its own save replaces that change: CSavedElsewhere),
// inserted, deleted and moved records are followed, a database read anew
// or a vanished record closes the window without a question (the document asked before), while
// records rewritten in place (a merge) keep it on its record. After
// every save the window's title (and so its Window menu entry) names the record as saved.
//
// A kind states its texts, command ids and button ids in a CRecordEditKind and gives the hooks
// that touch its own record type and controls.

#include "framework/View.h"
#include "records/RecordDatabaseDoc.h"
#include "support/LogFont.h"
#include "records/RecordMenus.h"

#include <QScrollArea>

#include <string>
#include <vector>

class CTextPrinter;
class QLabel;
class QLineEdit;
class QPushButton;

// The control ids a kind gives the button row.
struct CRecordEditButtons {
    int save;
    int undo;
    int previous;
    int next;
    int jump;
    int close;
};

// Where one button of the row stands, in dialog units.
struct CButtonPlace {
    int x;
    int width;
};

// What one kind of edit form states about itself.
struct CRecordEditKind {
    CRecordEditCommands commands;
    unsigned saveAndNext; // Ctrl+S; 0 for a kind without it
    unsigned help;
    unsigned contextHelp;
    unsigned helpId;             // the form's help topic
    unsigned saveQuestionHelpId; // "Save changes to ..."
    // The Jump to dialog.
    unsigned selectHelpId;
    const char* selectCaption;
    const char* backgroundColor; // a named colour
    const char* writeToFileTitle;
    CRecordEditButtons buttons;
    // Previous, Next, Insert new and Append new work with no record on the form too (at the start
    // and the end of the database).
    bool stepsWithoutRecord = false;
    // Save as New in limited access.
    bool saveAsNewWhenLimited = true;
};

class CRecordEditView : public QScrollArea, public CView, public CRecordEditLink {
    Q_OBJECT

public:
    explicit CRecordEditView(const CRecordEditKind& kind);
    ~CRecordEditView() override;

    const CRecordEditKind& EditKind() const { return m_kind; }

    // --- CView ---
    // Fits the window to the form, centred in the main window, and shows no record.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // --- CRecordEditLink ---
    // DontSave without asking when the form is unchanged, else the save question's answer; a
    // Yes that the form cannot be saved with (CanSaveForm) becomes Cancel, one whose save the
    // user does not let replace what was stored meanwhile KeepStored.
    FormAnswer AskSaveChanges() override;
    // Shows the record as stored.
    void DropChanges() override;
    std::string FormName() const override;
    // The form's record as stored (the form's name while it shows none).
    std::string StoredName() const override;
    int AskDeleteChanges(RecordGoes goes) override;
    // Writes the form into the current record and announces it; the form is then unchanged.
    void SaveToDatabase() override;
    void SetChanged(bool changed) override { SetModified(changed); }
    bool HasChanges() const override { return m_bModified; }
    int EditedRecordIndex() const override { return m_nCurrent; }
    const void* EditedRecord() const override { return m_pCurrent; }
    CSavedElsewhere* Guard() override { return &m_savedElsewhere; }

    // Makes the record at index current and shows it; outside the database no record is current.
    void LoadRecord(int index);
    // Limited access to the records at indices, on the first (out-of-range indices are left out).
    void SetLimitedIndices(const std::vector<int>& indices);
    void SetModified(bool modified);

    bool IsChanged() const { return m_bModified; }
    int CurrentIndex() const { return m_nCurrent; }
    bool IsLimited() const { return m_bLimited; }
    int LimitedPosition() const { return m_nLimitedPosition; }
    int LimitedCount() const { return static_cast<int>(m_limitedIndices.size()); }

    // --- navigation and commands (RecordEditViewCommands.cpp) ---
    void EditPrevious();
    void EditNext();
    // Ctrl+S: saves without asking and moves on, appending a record after the last one.
    void SaveAndNext();
    void InsertNew();
    void AppendNew();
    void JumpTo();
    // The stored version stays where it is, unchanged, with every other window on it; a new
    // record after it takes the form's edits (its name gains " (new)" when unchanged), and the
    // form shows the new record.
    void SaveAsNew();
    // Copy, then closes without a question. Like Copy, nothing when CanSaveForm refuses: the copy
    // would leave out what the form refuses, and closing would lose it.
    void Cut();
    void LeaveLimitedAccess();
    void Close();
    void UndoChanges() { LoadRecord(m_nCurrent); }
    void PrintSummary(unsigned id);
    // The Save Changes button: false when nothing was saved (CanSaveForm refused).
    virtual bool SaveChanges();

    // --- hooks of a kind: the record type and its controls ---
    virtual void Copy() = 0;
    virtual void Paste() = 0;

    QPushButton* Button(int id) const;
    // Save and Undo, and the texts and states of Previous and Next.
    virtual void UpdateButtons();

    // The whole form and the scroll area's frame: the edit window fits the form.
    QSize sizeHint() const override;

protected:
    CRecordDatabaseDoc* RecordDoc() const;
    int RecordCount() const;
    const void* CurrentIdentity() const { return m_pCurrent; }
    void Broadcast(int code, int index, const void* record = nullptr);
    // Commits the field being edited, then asks the save question; false when the field refused
    // what it holds or the user cancelled.
    bool AskAndSave();
    void CloseQuietly();
    // Finds the record (and the limited list) again after the list changed; false when the
    // record is gone.
    bool RelocateRecord();
    void GoToLimited(int position);
    void InsertAndLoad(int position);
    // The frame's caption.
    void SetCaption(const std::string& name);
    // The caption of the form on a record named name; a kind may add to the name.
    virtual std::string CaptionFor(const std::string& name) const { return name; }

    // The form: a new m_form of width x height dialog units filled with the named colour, then
    // dialog-unit placement, labels and buttons (found again by Button).
    void MakeForm(int width, int height, const char* colorName);
    void Place(QWidget* control, int x, int y, int width, int height) const;
    QLabel* AddLabel(const QString& text, int x, int y, int width);
    QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height = 14);
    // The row of Save Changes, Undo Changes, Edit Previous, Edit Next, Jump to..., Close and ?
    // at y, connected to the operations above.
    void AddButtonRow(int y, const CButtonPlace (&places)[7], int height = 14);
    // Remembers the edit-box font of the preferences, so that a change of another preference
    // does not reset the notes boxes.
    bool EditBoxFontChanged() const;
    void RememberEditBoxFont();

    // Shows the record at index (valid) on the form, as the new working copy.
    virtual void ShowRecordAt(int index) = 0;
    // The form when no record is current; the default leaves the fields.
    virtual void ClearForm() {}
    // Reads the form into the working copy and stores it at index (valid), without announcing.
    virtual void WriteRecord(int index) = 0;
    // After a record was loaded, or the list around it changed.
    virtual void AfterRecordMoved() {}
    // Before every save (Save Changes, Ctrl+S, a Yes to the save question, Save as New), Copy,
    // Cut and printing: false, after saying why, when the form holds what it cannot save as it
    // stands; nothing is then saved, copied or printed and the form keeps its edits.
    virtual bool CanSaveForm() { return true; }
    // The name field (its text is the question's name; Save as New and Ctrl+S work on it).
    virtual QLineEdit* NameField() const = 0;
    virtual void FillPrinter(CTextPrinter& printer) = 0;
    // A notice of another kind or code than the record notices; the default ignores it.
    virtual void OnOtherNotice(const CUpdateHint& /*hint*/) {}
    // The kind's own commands; false for a command it does not know.
    virtual bool UpdateKindCommand(CCmdUI& /*ui*/) { return false; }
    virtual bool RunKindCommand(unsigned /*id*/) { return false; }

    QWidget* m_form = nullptr;
    bool m_bLoading = false;
    bool m_bClosing = false;

private:
    // Before a save replaces the stored record: false when another window saved it since the
    // form showed it and the user keeps that save (CSavedElsewhere).
    bool MayReplaceStored();
    bool UpdateSharedCommand(CCmdUI& ui);
    bool RunSharedCommand(unsigned id);
    void InstallSaveAndNextKey();
    bool CanStepWithoutLimit() const { return m_pCurrent || m_kind.stepsWithoutRecord; }

    const CRecordEditKind& m_kind;
    int m_nCurrent = -1;
    const void* m_pCurrent = nullptr;
    bool m_bModified = false;
    bool m_bLimited = false;
    std::vector<const void*> m_limitedRecords;
    std::vector<int> m_limitedIndices;
    int m_nLimitedPosition = 0;
    CLogFont m_editorFont;
    std::vector<QPushButton*> m_buttons;
    CSavedElsewhere m_savedElsewhere;
};
