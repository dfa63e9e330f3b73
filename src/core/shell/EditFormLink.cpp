#include "shell/EditFormLink.h"

#include "framework/Document.h"
#include "framework/View.h"
#include "support/MessagePath.h"

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

// What a step of AskForms knows stands while the step runs (steps do not nest: a save asks
// nothing), each in a global of its own.
template <class T>
class CStepScope {
public:
    CStepScope(std::vector<T>*& global, std::vector<T>& value) : m_global(global), m_outer(std::exchange(global, &value))
    {
    }
    ~CStepScope() { m_global = m_outer; }
    CStepScope(const CStepScope&) = delete;
    CStepScope& operator=(const CStepScope&) = delete;

private:
    std::vector<T>*& m_global;
    std::vector<T>* m_outer;
};

// The forms told to save so far while AskForms asks its forms. A form whose record one of them
// saves first is asked, once every form has answered, whether its version replaces that one
// (AskOneVersionPerRecord): its own question about a save made before the step would be a second
// question about the same choice, and is not asked.
std::vector<CEditForm>* s_saving = nullptr;

bool SavedFirstInStep(const CEditForm& form)
{
    const void* record = form.second->EditedRecord();
    return s_saving && record &&
           std::any_of(s_saving->begin(), s_saving->end(), [&form, record](const CEditForm& other) {
               return other.second != form.second && other.second->EditedRecord() == record;
           });
}

void BringForward(const CEditForm& form)
{
    if (CFrameHost* frame = form.first->GetFrame())
        frame->ActivateFrame();
}

// Before a save replaces a record stored meanwhile (after the record's name).
constexpr const char* kSavedInAnotherWindow =
    " was saved in another window since this form showed it. Replace it with this form's version?";
constexpr const char* kChangedOutside =
    " was changed outside this window since this form showed it. Replace it with this form's version?";
// Within a step, before anything is written (after the name of the version saved first).
constexpr const char* kSavedFirstInStep = " will be saved from another window first. Replace it with this form's version?";

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

// Keeping the stored version before the form's own close keeps it open, as Cancel does.
FormAnswer Settle(FormAnswer answer, FormsAsked when)
{
    return answer == FormAnswer::KeepStored && when == FormsAsked::BeforeOwnClose ? FormAnswer::Cancel : answer;
}

// What every form knew of other saves before a step asked it (a Yes to "... Replace it with
// this form's version?" forgets that its record was saved elsewhere): put back unless the step
// goes on.
class CGuardsKept {
public:
    explicit CGuardsKept(std::span<const CEditForm> forms)
    {
        for (const auto& [view, link] : forms) {
            if (CSavedElsewhere* guard = link->Guard())
                m_guards.emplace_back(guard, *guard);
        }
    }
    ~CGuardsKept()
    {
        for (auto& [guard, before] : m_guards)
            *guard = before;
    }
    CGuardsKept(const CGuardsKept&) = delete;
    CGuardsKept& operator=(const CGuardsKept&) = delete;
    void Keep() { m_guards.clear(); }

private:
    std::vector<std::pair<CSavedElsewhere*, CSavedElsewhere>> m_guards;
};

using CAnswers = std::vector<std::pair<CEditForm, FormAnswer>>;

// Forms on one record that were all told to save: each after the first would replace the
// version saved before it, so it is asked now, as its own save would ask then. False on Cancel.
bool AskOneVersionPerRecord(CAnswers& answers, FormsAsked when)
{
    std::vector<std::pair<const void*, const CEditFormLink*>> saving; // a record, the form whose version it gets
    for (auto& [form, answer] : answers) {
        const void* record = form.second->EditedRecord();
        if (answer != FormAnswer::Save || !record)
            continue;
        const auto earlier = std::find_if(saving.begin(), saving.end(),
                                          [record](const auto& entry) { return entry.first == record; });
        if (earlier == saving.end()) {
            saving.emplace_back(record, form.second);
            continue;
        }
        CSavedElsewhere* guard = form.second->Guard();
        answer = Settle(guard ? guard->AskToReplaceInStep(form, earlier->second->FormName()) : FormAnswer::Save, when);
        if (answer == FormAnswer::Cancel)
            return false;
        if (answer == FormAnswer::Save)
            earlier->second = form.second;
    }
    return true;
}

} // namespace

bool AnyHoldsChanges(std::span<const CEditForm> forms)
{
    return std::any_of(forms.begin(), forms.end(), [](const CEditForm& form) { return form.second->HasChanges(); });
}

bool AskForms(std::span<const CEditForm> forms, FormsAsked when)
{
    CGuardsKept guards(forms);
    CAnswers answers;
    {
        std::vector<CEditForm> saving;
        const CStepScope<CEditForm> scope(s_saving, saving);
        for (const CEditForm& form : forms) {
            if (!form.second->HasChanges())
                continue;
            BringForward(form);
            const FormAnswer answer = Settle(form.second->AskSaveChanges(), when);
            if (answer == FormAnswer::Cancel)
                return false;
            answers.emplace_back(form, answer);
            if (answer == FormAnswer::Save)
                saving.push_back(form);
        }
    }
    if (!AskOneVersionPerRecord(answers, when))
        return false;
    guards.Keep();
    // A form that keeps its edits beside another's save of its record learns of that save as
    // the save's notice reaches it (CSavedElsewhere::MayReload), and only so.
    std::vector<CSettledForm> settled;
    std::vector<std::string> keptOpen; // the forms that keep their edits over a close
    const CSavedElsewhere* keptGuard = nullptr; // the first one's, for the help topic
    for (const auto& [form, answer] : answers) {
        if (answer == FormAnswer::DontSave && when == FormsAsked::BeforeChange) {
            form.second->DropChanges();
            continue;
        }
        settled.push_back({form.second, answer == FormAnswer::Save});
        if (answer != FormAnswer::KeepStored)
            continue;
        keptOpen.push_back(form.second->FormName());
        if (!keptGuard)
            keptGuard = form.second->Guard();
    }
    {
        const CStepScope<CSettledForm> scope(s_settled, settled);
        for (const auto& [form, answer] : answers) {
            if (answer == FormAnswer::Save)
                form.second->WriteBack();
        }
    }
    if (!keptOpen.empty() && when == FormsAsked::BeforeClose) {
        AppMessageBox(NameList(keptOpen) + (keptOpen.size() == 1 ? " stays open with its" : " stay open with their") +
                          " unsaved changes, so the command goes no further.",
                      MsgOk | MsgIconInformation, keptGuard ? keptGuard->HelpId() : 0);
        return false;
    }
    return true;
}

bool ConfirmDeleteWithForms(std::span<const CEditForm> forms, RecordGoes goes)
{
    for (const CEditForm& form : forms) {
        if (form.second->HasChanges())
            BringForward(form);
        if (form.second->AskDeleteChanges(goes) != MsgResultYes)
            return false;
    }
    for (const auto& [view, link] : forms)
        link->SetChanged(false); // the edits go with the record
    return true;
}

bool ConfirmRevertToSaved(const CDocument& document, std::span<const CEditForm> forms, unsigned helpId)
{
    std::vector<std::string> names;
    for (const auto& [view, link] : forms) {
        std::string name = link->HasChanges() ? link->FormName() : std::string();
        if (link->HasChanges() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    const bool modified = document.IsModified();
    if (!modified && names.empty())
        return true;
    std::string question = "Revert To Saved drops the unsaved changes";
    if (modified)
        question += " to " + MessagePath(document.GetPathName());
    if (!names.empty())
        question += std::string(modified ? " and" : "") + " in " + NameList(names);
    question += ".";
    return AppMessageBox(question, MsgOkCancel | MsgIconExclamation | MsgDefaultButton2, helpId) == MsgResultOk;
}

// The form comes forward to ask; No, the default (Enter), loses nothing and is remembered.
bool CSavedElsewhere::Ask(const CEditForm& form, const std::string& savedName, const char* question, unsigned icon)
{
    BringForward(form);
    m_bSavedElsewhere = AppMessageBox("\"" + savedName + "\"" + question, MsgYesNo | icon | MsgDefaultButton2,
                                      m_helpId) != MsgResultYes;
    return !m_bSavedElsewhere;
}

bool CSavedElsewhere::MayReload(const CEditForm& form, const CView* sender, const std::string& savedName)
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
               MsgIconQuestion);
}

bool CSavedElsewhere::MayReplace(const CEditForm& form, const std::string& savedName)
{
    if (const CSettledForm* settled = Settled(form.second); settled && settled->saves)
        m_bSavedElsewhere = false;
    return !m_bSavedElsewhere || SavedFirstInStep(form) ||
           Ask(form, savedName, m_bByForm ? kSavedInAnotherWindow : kChangedOutside, MsgIconExclamation);
}

FormAnswer CSavedElsewhere::AskToReplaceInStep(const CEditForm& form, const std::string& otherName)
{
    BringForward(form);
    const int answer = AppMessageBox("\"" + otherName + "\"" + kSavedFirstInStep,
                                     MsgYesNoCancel | MsgIconExclamation | MsgDefaultButton2, m_helpId);
    return answer == MsgResultYes ? FormAnswer::Save : answer == MsgResultNo ? FormAnswer::KeepStored : FormAnswer::Cancel;
}
