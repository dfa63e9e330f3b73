#include "shell/EditFormLink.h"

#include "framework/View.h"

#include <algorithm>
#include <vector>

namespace {

// The forms answered in the step of AskForms being carried out, and whether each saves: a notice
// of its record's change from another form's save in the same step neither asks nor reloads it.
struct CSettledForm {
    const CEditFormLink* link;
    bool saves;
};
std::vector<CSettledForm>* s_settled = nullptr;

const CSettledForm* Settled(const CEditFormLink* link)
{
    if (!s_settled)
        return nullptr;
    const auto found = std::find_if(s_settled->begin(), s_settled->end(),
                                    [link](const CSettledForm& form) { return form.link == link; });
    return found == s_settled->end() ? nullptr : &*found;
}

// The step's answers stand while its saves run (steps do not nest: a save asks nothing).
class CSettledScope {
public:
    explicit CSettledScope(std::vector<CSettledForm>& forms) : m_outer(std::exchange(s_settled, &forms)) {}
    ~CSettledScope() { s_settled = m_outer; }
    CSettledScope(const CSettledScope&) = delete;
    CSettledScope& operator=(const CSettledScope&) = delete;

private:
    std::vector<CSettledForm>* m_outer;
};

void BringForward(const CEditForm& form)
{
    if (CFrameHost* frame = form.first->GetFrame())
        frame->ActivateFrame();
}

// "A", "A" and "B", "A", "B" and "C".
std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? " and " : ", ";
        list += "\"" + names[i] + "\"";
    }
    return list;
}

} // namespace

bool AskForms(std::span<const CEditForm> forms, FormsAsked when)
{
    std::vector<std::pair<CEditForm, FormAnswer>> answers;
    for (const CEditForm& form : forms) {
        if (!form.second->HasChanges())
            continue;
        BringForward(form);
        FormAnswer answer = form.second->AskSaveChanges();
        if (answer == FormAnswer::KeepStored)
            answer = when == FormsAsked::BeforeClose ? FormAnswer::Cancel : FormAnswer::DontSave;
        if (answer == FormAnswer::Cancel)
            return false;
        answers.emplace_back(form, answer);
    }
    std::vector<CSettledForm> settled;
    for (const auto& [form, answer] : answers) {
        if (answer == FormAnswer::DontSave && when == FormsAsked::BeforeChange)
            form.second->DropChanges();
        else
            settled.push_back({form.second, answer == FormAnswer::Save});
    }
    const CSettledScope scope(settled);
    for (const auto& [form, answer] : answers) {
        if (answer == FormAnswer::Save)
            form.second->WriteBack();
    }
    return true;
}

bool ConfirmDeleteWithForms(std::span<const CEditForm> forms)
{
    for (const CEditForm& form : forms) {
        if (form.second->HasChanges())
            BringForward(form);
        if (form.second->AskDeleteChanges() != MsgResultYes)
            return false;
    }
    for (const auto& [view, link] : forms)
        link->SetChanged(false); // the edits go with the record
    return true;
}

bool ConfirmRevertWithForms(std::span<const CEditForm> forms, unsigned helpId)
{
    std::vector<std::string> names;
    for (const auto& [view, link] : forms) {
        std::string name = link->HasChanges() ? link->FormName() : std::string();
        if (link->HasChanges() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    if (names.empty())
        return true;
    const std::string question = "Revert To Saved drops the unsaved changes in " + NameList(names) + ".";
    return AppMessageBox(question, MsgOkCancel | MsgIconExclamation | MsgDefaultButton2, helpId) == MsgResultOk;
}

// The form comes forward to ask; No, the default (Enter), loses nothing and is remembered.
bool CSavedElsewhere::Ask(const CEditForm& form, const std::string& savedName, const char* question, unsigned icon,
                          unsigned helpId)
{
    BringForward(form);
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
    // A form that keeps its edits over an earlier change is not asked again (one command may
    // change its record twice, say a saved material and then its mapped ones); its own save asks
    // before it replaces whatever was stored meanwhile.
    if (m_bSavedElsewhere)
        return false;
    if (const CSettledForm* settled = Settled(form.second)) {
        // Answered in this step: a form that saves replaces the other save; one that keeps its
        // edits unsaved remembers the change, as after a No here.
        m_bSavedElsewhere = !settled->saves;
        return false;
    }
    return Ask(form, savedName,
               m_bByForm ? " has been saved in another window. Show it as saved there, dropping the unsaved changes "
                           "in this window?"
                         : " has been changed outside this window. Show it as changed, dropping the unsaved changes "
                           "in this window?",
               MsgIconQuestion, helpId);
}

bool CSavedElsewhere::MayReplace(const CEditForm& form, const std::string& savedName, unsigned helpId)
{
    if (const CSettledForm* settled = Settled(form.second); settled && settled->saves)
        m_bSavedElsewhere = false;
    return !m_bSavedElsewhere ||
           Ask(form, savedName,
               m_bByForm ? " was saved in another window since this form showed it. Replace it with this form's "
                           "version?"
                         : " was changed outside this window since this form showed it. Replace it with this "
                           "form's version?",
               MsgIconExclamation, helpId);
}
