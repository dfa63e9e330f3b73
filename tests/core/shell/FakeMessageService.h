#pragma once

// A scripted message service: records every box and help request, and answers boxes from a
// queue (the box's default button when the queue is empty). Installs itself while it lives.

#include "framework/MessageService.h"

#include <deque>
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

    std::vector<Box> boxes;
    std::vector<Help> helps;
    std::deque<int> answers;
    int screenHeight = 768;
    // Called while a box is up (for tests of what happens during a box).
    void (*onBox)(const Box&) = nullptr;

private:
    CMessageService* m_previous;
};
