#pragma once

// A scripted message service: records every box and help request, and answers boxes from a
// queue (the box's default button when the queue is empty). Installs itself while it lives.

#include "framework/MessageService.h"

#include <gtest/gtest.h>

#include <deque>
#include <source_location>
#include <string>
#include <vector>

class CFakeMessageService : public CMessageService {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type = 0;
        unsigned helpId = 0;
        unsigned Buttons() const { return type & MsgButtonMask; }
        unsigned Icon() const { return type & MsgIconMask; }
    };
    struct Help {
        HelpRequest request;
        unsigned id;
    };

    CFakeMessageService() : m_previous(GetMessageService()) { SetMessageService(this); }
    ~CFakeMessageService() override { SetMessageService(m_previous); }

    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type,
                       unsigned helpId) override
    {
        boxes.push_back({text, caption, type, helpId});
        if (onBox)
            onBox(boxes.back());
        if (answers.empty())
            return DefaultMessageBoxResult(type);
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowHelp(HelpRequest request, unsigned contextId) override { helps.push_back({request, contextId}); }
    int ScreenHeight() override { return screenHeight; }

    // Texts of all recorded boxes, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Box& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    // The last box shown. When none was, the test fails here with a report and an empty box is
    // returned, so the checks that follow fail on their own instead of ending the run.
    const Box& Last(std::source_location where = std::source_location::current()) const
    {
        return At(boxes.empty() ? 0 : boxes.size() - 1, where);
    }
    // Box number index (0 for the first); a missing one fails the test as Last does.
    const Box& At(std::size_t index, std::source_location where = std::source_location::current()) const
    {
        static const Box none;
        if (index < boxes.size())
            return boxes[index];
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << "expected message box number " << index + 1 << ", but the boxes shown were "
            << boxes.size() << (boxes.empty() ? "" : "; the last: \"" + boxes.back().text + "\"");
        return none;
    }

    std::vector<Box> boxes;
    std::vector<Help> helps;
    std::deque<int> answers;
    int screenHeight = 768;
    // Called while a box is up (for tests of what happens during a box).
    void (*onBox)(const Box&) = nullptr;

private:
    CMessageService* m_previous;
};
