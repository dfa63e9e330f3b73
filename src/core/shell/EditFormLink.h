#pragma once

// What a database document asks of an edit window that holds one of its records on a working
// copy. The glaze forms and the forms of every record database answer the same questions, so
// the questions that span several forms are asked once, here.
//
// The one rule: a form's unsaved edits go only after a question that says so, whatever road
// changes its record. A document asks the forms on the records a command is about to change or
// remove before it changes them (AskFormsBeforeChange, ConfirmDeleteWithForms; Cancel stops the
// command), and a form that still holds edits when the notice of a change to its record reaches
// it (a change that follows from another, such as the materials mapped to a saved one) asks
// then, before it shows the record as changed (CSavedElsewhere). A form follows the record it
// shows, never a place in the list.

#include "framework/MessageService.h"

#include <span>
#include <string>
#include <utility>

class CView;

class CEditFormLink {
public:
    virtual ~CEditFormLink() = default;
    // Asks whether to save the window's unsaved changes: MsgResultYes, MsgResultNo or
    // MsgResultCancel (No without asking when there are none). A Yes whose save the user does not
    // let replace another window's save (CSavedElsewhere) is a No: the stored version stays, and
    // the document's command goes on without the form's edits.
    virtual int AskSaveChanges() = 0;
    // Before the window's record is deleted: MsgResultYes without unsaved changes, else the
    // answer to DeleteChangedRecordQuestion (MsgResultYes or MsgResultNo). Windows that do not
    // ask it answer the save question (Cancel keeps the record).
    virtual int AskDeleteChanges() { return AskSaveChanges() == MsgResultCancel ? MsgResultNo : MsgResultYes; }
    // Sets or clears the window's unsaved-changes state.
    virtual void SetChanged(bool changed) = 0;
    // Whether the window holds unsaved changes; a window without any is neither brought forward
    // nor asked.
    virtual bool HasChanges() const = 0;
    // Writes the window's working copy back into its database.
    virtual void WriteBack() = 0;
    // Drops the unsaved changes: the window shows its record as stored.
    virtual void DropChanges() { SetChanged(false); }
};

// An edit window as a document sees it: the view (its frame comes forward to ask) and its link.
using CEditForm = std::pair<CView*, CEditFormLink*>;

// Before records are deleted: each form on one of them is asked in turn whether its record may
// go with its unsaved changes. The changes are dropped only once every form said Yes; the first
// No ends the asking and leaves every form as it was (false), so no edit is lost for a delete
// that does not happen.
bool ConfirmDeleteWithForms(std::span<const CEditForm> forms);

// Asks one form whether to save its unsaved changes (its frame comes forward) and saves on Yes;
// a form without any is not asked. With close, the form then closes without asking again. False
// on Cancel. A No leaves the changes on a form that stays open (a save of the database).
bool AskToSaveForm(const CEditForm& form, bool close);

// Before a command changes or removes the records of the forms: each form with unsaved changes
// comes forward and asks whether to save them; Yes saves, No drops them at once, so that the
// form shows what the command does to its record. False on Cancel, which ends the asking: the
// command then changes nothing.
bool AskFormsBeforeChange(std::span<const CEditForm> forms);

// What one form knows of changes to its record made elsewhere: saves from other edit windows and
// the changes that reach it unasked (the materials mapped to a saved material follow it). A form
// without unsaved changes shows such a change quietly; one with changes comes forward and asks
// first, and when the user keeps the changes, the form's own next save asks before it replaces
// what was stored meanwhile, as a save over a file that another program changed does. Each edit
// form holds one.
class CSavedElsewhere {
public:
    // sender (another edit form, or a command) changed the form's record, now named savedName:
    // whether the form shall show it as changed. True for a form without changes (a command asks
    // the forms before, and a No there has dropped them); otherwise the question, Yes dropping
    // the changes. No, the default, keeps them and is remembered.
    bool MayReload(const CEditForm& form, const CView* sender, const std::string& savedName, unsigned helpId);
    // Before the form's save replaces its record, now named savedName: true unless the record was
    // changed elsewhere since the form showed it and the user says No (the default). A Yes is not
    // asked for again.
    bool MayReplace(const CEditForm& form, const std::string& savedName, unsigned helpId);
    // The form shows its record as stored, or keeps the other window's save beside its own.
    void Forget() { m_bSavedElsewhere = false; }

private:
    bool Ask(const CEditForm& form, const std::string& savedName, const char* question, unsigned icon, unsigned helpId);

    bool m_bSavedElsewhere = false;
    // The change came from another edit form's save, not from a command.
    bool m_bByForm = true;
};
