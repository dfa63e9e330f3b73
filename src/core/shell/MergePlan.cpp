#include "shell/MergePlan.h"

#include "framework/View.h"
#include "support/MessagePath.h"

#include <algorithm>
#include <utility>

CMergePlan::CMergePlan(std::span<const int> chosen, bool replaceExisting, const std::function<int(int)>& existingOf)
{
    for (const int incoming : chosen)
        m_steps.push_back({incoming, replaceExisting ? existingOf(incoming) : -1});
}

std::vector<int> CMergePlan::Replaced() const
{
    std::vector<int> replaced;
    for (const CMergeStep& step : m_steps) {
        if (step.replaces >= 0)
            replaced.push_back(step.replaces);
    }
    std::sort(replaced.begin(), replaced.end());
    replaced.erase(std::unique(replaced.begin(), replaced.end()), replaced.end());
    return replaced;
}

bool CMergePlan::AskForms(const std::function<std::vector<CEditForm>(int record)>& formsOf)
{
    std::vector<int> kept;
    std::vector<std::string> keptNames;
    std::vector<CEditForm> replacedForms;
    for (const int record : Replaced()) {
        const std::vector<CEditForm> forms = formsOf(record);
        bool keep = false;
        for (const CEditForm& form : forms) {
            if (!form.second->HasChanges())
                continue;
            if (CFrameHost* frame = form.first->GetFrame())
                frame->ActivateFrame();
            const int answer = form.second->AskDeleteChanges(RecordGoes::Replaced);
            if (answer == MsgResultCancel)
                return false;
            if (answer != MsgResultYes) {
                keep = true;
                keptNames.push_back(form.second->FormName());
                break;
            }
        }
        if (keep)
            kept.push_back(record);
        else
            replacedForms.insert(replacedForms.end(), forms.begin(), forms.end());
    }
    std::erase_if(m_steps, [&kept](const CMergeStep& step) {
        return std::find(kept.begin(), kept.end(), step.replaces) != kept.end();
    });
    m_kept = std::move(keptNames);
    for (const auto& [view, link] : replacedForms)
        link->SetChanged(false); // the edits go with the record
    return true;
}

std::string MergeOutcomeMessage(const std::string& path, int appended, int replaced,
                                const std::vector<std::string>& kept)
{
    if (kept.empty() && appended + replaced > 0)
        return std::string();
    std::string message =
        appended + replaced == 0
            ? "Nothing was merged from " + MessagePath(path) + "."
            : "Merged from " + MessagePath(path) + ": " + std::to_string(appended) + " appended, " +
                  std::to_string(replaced) + " replaced.";
    for (const std::string& name : kept)
        message += " \"" + name + "\" was kept with the unsaved changes in its window.";
    return message;
}

void ReportMergeOutcome(const std::string& path, int appended, int replaced, const std::vector<std::string>& kept,
                        unsigned helpId)
{
    const std::string message = MergeOutcomeMessage(path, appended, replaced, kept);
    if (!message.empty())
        AppMessageBox(message, MsgOk | MsgIconInformation, helpId);
}
