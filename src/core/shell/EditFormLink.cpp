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
