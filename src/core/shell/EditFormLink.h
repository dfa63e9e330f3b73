#pragma once

// What a database document asks of an edit window that holds one of its records on a working
// copy. The glaze forms and the forms of every record database answer the same questions, so
// the questions that span several forms are asked once, here.
//
// The one rule: a form's unsaved edits go only after a question that says so, whatever road
// changes its record, and a command that asks is one step. A document asks the forms on the
// records a command is about to save, change, remove or close (AskForms, ConfirmDeleteWithForms,
// ConfirmRevertToSaved) and gathers every answer before it does anything: Cancel anywhere
// leaves every form and every record as it was, and each form is asked at most once. A form that
// still holds edits when the notice of a change to its record reaches it outside such a step (a
// change that follows from another, such as the materials mapped to a saved one) asks then,
// before it shows the record as changed (CSavedElsewhere). A form follows the record it shows,
// never a place in the list.

#include "framework/MessageService.h"
#include "shell/DeleteQuestion.h"

#include <span>
#include <string>
#include <utility>

class CDocument;
class CEditFormLink;
class CView;

// An edit window as a document sees it: the view (its frame comes forward to ask) and its link.
using CEditForm = std::pair<CView*, CEditFormLink*>;

// A form's answer to "Save changes to "<name>" ?".
enum class FormAnswer {
    DontSave,
    Save,
    // Yes, then No to "... Replace it with this form's version?": another window's version of
    // the form's record stands (saved since the form showed it, or saved first in this step), and
    // the form keeps its edits beside it, unsaved, for a later save that asks again.
    KeepStored,
    // Cancel, or a Yes the form cannot be saved with (it said why).
    Cancel,
};

// What the forms are asked before, which says what a No means. Keeping the other window's
// version (KeepStored) never drops the form's edits: the form stays open holding them, marked
// changed, and its own later save asks again against the version that then stands.
enum class FormsAsked {
    // The database is written (its Save and Save As, Save All Databases): No leaves the edits
    // in the form, unsaved. Keeping the stored version leaves them too, and the save goes on.
    BeforeSave,
    // A command changes the forms' records (Set Field, Convert, Units, ...): No drops the
    // edits, so that the form shows what the command does. Keeping the stored version keeps
    // them, and the command goes on over the version that stands.
    BeforeChange,
    // The forms close with their database (its close, Exit, Open or New over it), or their
    // record leaves it (Cut): No lets the edits go with the form. A form that keeps the stored
    // version stays open with its edits: the other forms' saves are made, and the command stops,
    // saying which form stays open.
    BeforeClose,
    // The form's own close (its title bar, Ctrl+F4, its Close button): keeping the stored
    // version keeps it open with its edits, as Cancel does.
    BeforeOwnClose,
};

// What one form knows of changes to its record made elsewhere: saves from other edit windows and
// the changes that reach it unasked (the materials mapped to a saved material follow it). A form
// without unsaved changes shows such a change quietly; one with changes comes forward and asks
// first, and when the user keeps the changes, the form's own next save asks before it replaces
// what was stored meanwhile, as a save over a file that another program changed does. A form
// answered within a step of AskForms asks neither: it keeps its edits for the save it was told
// to make, or remembers the change as kept. Each edit form holds one.
class CSavedElsewhere {
public:
    // helpId: the help topic of the form's questions.
    explicit CSavedElsewhere(unsigned helpId = 0) : m_helpId(helpId) {}

    // sender (another edit form, or a command) changed the form's record, now named savedName:
    // whether the form shall show it as changed. True for a form without changes; otherwise the
    // question, Yes dropping the changes. No, the default, keeps them and is remembered: a form
    // that keeps its changes is not asked again before its save. This is the one place where a
    // form learns that its record was changed beside its edits: a form answered in a step of
    // AskForms that does not save asks nothing here and remembers the change as kept.
    bool MayReload(const CEditForm& form, const CView* sender, const std::string& savedName);
    // Before the form's save replaces its record, now named savedName: true unless the record was
    // changed elsewhere since the form showed it and the user says No (the default). A Yes is not
    // asked for again. While AskForms asks a step in which another form saves the record first,
    // true without a question: the step asks once which version stands (AskToReplaceInStep).
    bool MayReplace(const CEditForm& form, const std::string& savedName);
    // Within a step of AskForms in which another form saves the same record first, as otherName:
    // the question the form's own save would then ask, before anything is written. Save to
    // replace the other's version, KeepStored to keep it, Cancel.
    FormAnswer AskToReplaceInStep(const CEditForm& form, const std::string& otherName);
    // The help topic of the form's questions.
    unsigned HelpId() const { return m_helpId; }
    // The form shows its record as stored.
    void Forget() { m_bSavedElsewhere = false; }

private:
    bool Ask(const CEditForm& form, const std::string& savedName, const char* question, unsigned icon);

    bool m_bSavedElsewhere = false;
    // The change came from another edit form's save, not from a command.
    bool m_bByForm = true;
    unsigned m_helpId;
};

class CEditFormLink {
public:
    virtual ~CEditFormLink() = default;
    // Asks whether to save the window's unsaved changes (DontSave without asking when there are
    // none). It saves and drops nothing itself.
    virtual FormAnswer AskSaveChanges() = 0;
    // Before the window's record is deleted or replaced: MsgResultYes without unsaved changes,
    // else the answer to DeleteChangedRecordQuestion (MsgResultYes, MsgResultNo, or
    // MsgResultCancel where the question offers it). Windows that do not ask it answer the save
    // question: Cancel stops the command, any other answer lets the record go.
    virtual int AskDeleteChanges(RecordGoes /*goes*/)
    {
        return AskSaveChanges() == FormAnswer::Cancel ? MsgResultCancel : MsgResultYes;
    }
    // Sets or clears the window's unsaved-changes state.
    virtual void SetChanged(bool changed) = 0;
    // Whether the window holds unsaved changes; a window without any is neither brought forward
    // nor asked.
    virtual bool HasChanges() const = 0;
    // Writes the window's working copy back into its database.
    virtual void WriteBack() = 0;
    // Drops the unsaved changes: the window shows its record as stored.
    virtual void DropChanges() = 0;
    // The record's name as the window shows it, edits included (the save question's name).
    virtual std::string FormName() const = 0;
    // The record's name as it is stored: what a question about the stored record (its delete or
    // its replacement by a merge) calls it, naming the window's FormName beside it where the two
    // differ.
    virtual std::string StoredName() const { return FormName(); }
    // The record the window edits, as an identity (null for none): two windows on one record
    // save one version.
    virtual const void* EditedRecord() const { return nullptr; }
    // What the window knows of changes to its record made elsewhere (null: nothing).
    virtual CSavedElsewhere* Guard() { return nullptr; }
};


// Whether any of the forms holds unsaved changes.
bool AnyHoldsChanges(std::span<const CEditForm> forms);

// Each form with unsaved changes comes forward and is asked whether to save them, once. Two
// forms on one record answered Yes save one version: the later one is asked, before anything is
// written, whether its version will replace the earlier one's (No, the default, keeps the earlier
// one's and the later form's edits). Only when no form cancelled does anything happen: the edits
// answered No are dropped (BeforeChange; on the other roads they stay until the form closes or
// saves), then the forms answered Yes save, in turn; none of them asks again in this step about
// another's save of its record. False on Cancel, with every form, its edits and what it knows of
// other saves, and every record as it was; false too before a close that a form kept open
// (BeforeClose), once the others saved and the user was told.
bool AskForms(std::span<const CEditForm> forms, FormsAsked when);

// Before records are deleted, or replaced by a merge: each form on one of them is asked in turn
// whether its record may go with its unsaved changes. The changes are dropped only once every
// form said Yes; the first No ends the asking and leaves every form as it was (false), so no edit
// is lost for a delete that does not happen.
bool ConfirmDeleteWithForms(std::span<const CEditForm> forms, RecordGoes goes = RecordGoes::Deleted);

// Before Revert To Saved reads the document's file again, which closes the forms: when the
// document is modified or any form holds unsaved changes, one question says what the revert
// drops, naming the file when the document is modified and each form with changes ("Revert To
// Saved drops the unsaved changes to <path> and in "A"." / "... to <path>." / "... in "A" and
// "B"." OK / Cancel, Cancel the default). True to go on. The caller drops nothing until the file
// was read: a revert that cannot read its file keeps them.
bool ConfirmRevertToSaved(const CDocument& document, std::span<const CEditForm> forms, unsigned helpId);

