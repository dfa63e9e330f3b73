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

namespace {

// A form with unsaved changes comes forward and asks whether to save them; Yes saves. The
// answer, No without asking when there are none.
int AskAndSave(const CEditForm& form)
{
    const auto& [view, link] = form;
    if (!link->HasChanges())
        return MsgResultNo;
    if (CFrameHost* frame = view->GetFrame())
        frame->ActivateFrame();
    const int answer = link->AskSaveChanges();
    if (answer == MsgResultYes)
        link->WriteBack();
    return answer;
}

} // namespace

bool AskToSaveForm(const CEditForm& form, bool close)
{
    const auto& [view, link] = form;
    if (AskAndSave(form) == MsgResultCancel)
        return false;
    if (close) {
        CFrameHost* frame = view->GetFrame();
        link->SetChanged(false);
        if (frame)
            frame->CloseFrame();
    }
    return true;
}

bool AskFormsBeforeChange(std::span<const CEditForm> forms)
{
    for (const CEditForm& form : forms) {
        const bool changed = form.second->HasChanges();
        const int answer = AskAndSave(form);
        if (answer == MsgResultCancel)
            return false;
        if (changed && answer == MsgResultNo)
            form.second->DropChanges();
    }
    return true;
}

// The form comes forward to ask; No, the default (Enter), loses nothing and is remembered.
bool CSavedElsewhere::Ask(const CEditForm& form, const std::string& savedName, const char* question, unsigned icon,
                          unsigned helpId)
{
    if (CFrameHost* frame = form.first->GetFrame())
        frame->ActivateFrame();
    m_bSavedElsewhere = AppMessageBox("\"" + savedName + "\"" + question, MsgYesNo | icon | MsgDefaultButton2,
                                      helpId) != MsgResultYes;
    return !m_bSavedElsewhere;
}

bool CSavedElsewhere::MayReload(const CEditForm& form, const CView* sender, const std::string& savedName,
                                unsigned helpId)
{
    if (!form.second->HasChanges())
        return true;
    m_bByForm = dynamic_cast<const CEditFormLink*>(sender) != nullptr;
    return Ask(form, savedName,
               m_bByForm ? " has been saved in another window. Show it as saved there, dropping the unsaved changes "
                           "in this window?"
                         : " has been changed outside this window. Show it as changed, dropping the unsaved changes "
                           "in this window?",
               MsgIconQuestion, helpId);
}

bool CSavedElsewhere::MayReplace(const CEditForm& form, const std::string& savedName, unsigned helpId)
{
    return !m_bSavedElsewhere ||
           Ask(form, savedName,
               m_bByForm ? " was saved in another window since this form showed it. Replace it with this form's "
                           "version?"
                         : " was changed outside this window since this form showed it. Replace it with this "
                           "form's version?",
               MsgIconExclamation, helpId);
}
