#pragma once

// Scripted file dialogs: each question is recorded and answered from a queue (Cancel when the
// queue is empty). Installs itself while it lives.

#include "core/support/CheckedItems.h"
#include "framework/FileDialogService.h"

#include <deque>
#include <source_location>
#include <vector>

class CFakeFileDialogs : public CFileDialogService {
public:
    CFakeFileDialogs() : m_previous(GetFileDialogService()) { SetFileDialogService(this); }
    ~CFakeFileDialogs() override { SetFileDialogService(m_previous); }

    CFileDialogResult AskForFiles(const CFileDialogRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return CFileDialogResult{};
        CFileDialogResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void AnswerPath(const std::string& path, int filterIndex = 1)
    {
        answers.push_back({CFileDialogResult::Outcome::Ok, {path}, filterIndex});
    }
    void AnswerCancel() { answers.push_back(CFileDialogResult{}); }
    void AnswerClipboard() { answers.push_back({CFileDialogResult::Outcome::Clipboard, {}, 1}); }

    // The last question asked, and question number index (0 for the first): one that was not
    // asked fails the test with a report, and an empty request stands in for it.
    const CFileDialogRequest& Last(std::source_location where = std::source_location::current()) const
    {
        return LastItem(requests, where);
    }
    const CFileDialogRequest& At(std::size_t index, std::source_location where = std::source_location::current()) const
    {
        return ItemAt(requests, index, where);
    }

    std::vector<CFileDialogRequest> requests;
    std::deque<CFileDialogResult> answers;

private:
    CFileDialogService* m_previous;
};
