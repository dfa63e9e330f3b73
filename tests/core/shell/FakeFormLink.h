#pragma once

// An edit form as the core tests script it: it answers the save question with a message-box
// result (MsgResultYes saves, MsgResultNo, MsgResultCancel) and counts how often it was asked.

#include "shell/EditFormLink.h"

#include <string>

// The form's answer to a message-box result.
inline FormAnswer FormAnswerOf(int result)
{
    return result == MsgResultYes ? FormAnswer::Save : result == MsgResultNo ? FormAnswer::DontSave : FormAnswer::Cancel;
}

template <class Link>
struct CFakeFormLink : Link {
    FormAnswer AskSaveChanges() override
    {
        ++asked;
        return FormAnswerOf(answer);
    }
    void SetChanged(bool value) override { changed = value; }
    bool HasChanges() const override { return changed; }
    void DropChanges() override
    {
        ++dropped;
        changed = false;
    }
    std::string FormName() const override { return "form"; }
    int answer = MsgResultNo;
    int asked = 0;
    int dropped = 0;
    bool changed = true;
};
