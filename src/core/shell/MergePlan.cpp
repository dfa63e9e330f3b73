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

int CMergePlan::Appended() const
{
    return static_cast<int>(std::count_if(m_steps.begin(), m_steps.end(), [](const CMergeStep& step) { return step.replaces < 0; }));
}

bool CMergePlan::AskForms(const std::function<std::vector<CEditForm>(int record)>& formsOf)
{
    std::vector<int> kept;
    std::vector<CMergeReport::CKept> keptNames;
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
                keptNames.push_back({form.second->StoredName(), form.second->FormName()});
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

CMergeReport CMergePlan::Report(const std::function<std::string(int incoming)>& incomingName) const
{
    CMergeReport report;
    report.kept = m_kept;
    report.appended = Appended();
    report.replaced = static_cast<int>(Replaced().size());
    for (auto step = m_steps.begin(); step != m_steps.end(); ++step) {
        if (step->replaces < 0)
            continue;
        // A record replaced again later is told once, at its last replacement.
        const auto later = std::find_if(step + 1, m_steps.end(),
                                        [step](const CMergeStep& other) { return other.replaces == step->replaces; });
        if (later != m_steps.end())
            continue;
        const auto times = std::count_if(m_steps.begin(), step + 1,
                                         [step](const CMergeStep& other) { return other.replaces == step->replaces; });
        if (times > 1)
            report.repeated.push_back({incomingName(step->incoming), static_cast<int>(times)});
    }
    return report;
}

namespace {

// The sentence that names a record kept for its window's edits, and the window's name where it
// shows another.
std::string KeptText(const CMergeReport::CKept& kept)
{
    std::string text = " \"" + kept.stored + "\" was kept with the unsaved changes in its window";
    if (kept.shown != kept.stored)
        text += " (\"" + kept.shown + "\")";
    return text + ".";
}

} // namespace

std::string MergeOutcomeMessage(const std::string& path, const CMergeReport& report)
{
    const int merged = report.appended + report.replaced;
    if (report.kept.empty() && report.repeated.empty() && merged > 0)
        return std::string();
    std::string message = merged == 0 ? "Nothing was merged from " + MessagePath(path) + "."
                                      : "Merged from " + MessagePath(path) + ": " + std::to_string(report.appended) +
                                            " appended, " + std::to_string(report.replaced) + " replaced.";
    for (const CMergeReport::CRepeated& repeated : report.repeated)
        message += " The file holds \"" + repeated.name + "\" " + std::to_string(repeated.times) +
                   " times; the last of them stands.";
    for (const CMergeReport::CKept& kept : report.kept)
        message += KeptText(kept);
    return message;
}

void ReportMergeOutcome(const std::string& path, const CMergeReport& report, unsigned helpId)
{
    const std::string message = MergeOutcomeMessage(path, report);
    if (!message.empty())
        AppMessageBox(message, MsgOk | MsgIconInformation, helpId);
}
