#pragma once

// What a database document asks of an edit window that holds one of its records on a working
// copy. The glaze forms and the forms of every record database answer the same questions, so
// the questions that span several forms are asked once, here.

#include "framework/MessageService.h"

#include <span>
#include <string>
#include <utility>

class CView;

class CEditFormLink {
public:
    virtual ~CEditFormLink() = default;
    // Asks whether to save the window's unsaved changes: MsgResultYes, MsgResultNo or
    // MsgResultCancel (No without asking when there are none).
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
// on Cancel.
bool AskToSaveForm(const CEditForm& form, bool close);

// Another window saved the record that form holds unsaved changes of: the form comes forward and
// asks whether to show the record as saved, dropping its own changes. True on Yes; No, the
// default, keeps them (the form's next save then replaces what the other window saved).
bool AskToReloadForm(const CEditForm& form, const std::string& name, unsigned helpId);
