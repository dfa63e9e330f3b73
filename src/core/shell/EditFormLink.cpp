#include "shell/EditFormLink.h"

#include "framework/View.h"

bool ConfirmDeleteWithForms(std::span<const CEditForm> forms)
{
    for (const auto& [view, link] : forms) {
        CFrameHost* frame = view->GetFrame();
        if (frame && link->HasChanges())
            frame->ActivateFrame();
        if (link->AskDeleteChanges() != MsgResultYes)
            return false;
    }
    for (const auto& [view, link] : forms)
        link->SetChanged(false); // the edits go with the record
    return true;
}

bool AskToSaveForm(const CEditForm& form, bool close)
{
    const auto& [view, link] = form;
    CFrameHost* frame = view->GetFrame();
    if (link->HasChanges()) {
        if (frame)
            frame->ActivateFrame();
        const int answer = link->AskSaveChanges();
        if (answer == MsgResultCancel)
            return false;
        if (answer == MsgResultYes)
            link->WriteBack();
    }
    if (close) {
        link->SetChanged(false);
        if (frame)
            frame->CloseFrame();
    }
    return true;
}

bool AskToReloadForm(const CEditForm& form, const std::string& name, unsigned helpId)
{
    if (CFrameHost* frame = form.first->GetFrame())
        frame->ActivateFrame();
    const std::string question = "\"" + name +
                                 "\" has been saved in another window. Show it as saved there, dropping the unsaved "
                                 "changes in this window?";
    return AppMessageBox(question, MsgYesNo | MsgIconQuestion | MsgDefaultButton2, helpId) == MsgResultYes;
}
