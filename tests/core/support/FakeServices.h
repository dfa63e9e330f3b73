#pragma once

// Scripted stand-ins for the desktop services, installed for the lifetime of a test object.

#include "support/Services.h"

#include <string>

class CFakeClipboard : public CClipboardService {
public:
    CFakeClipboard() { SetClipboardService(this); }
    ~CFakeClipboard() override { SetClipboardService(nullptr); }

    bool SetText(const std::string& text) override
    {
        if (failWrites)
            return false;
        content = text;
        hasText = true;
        ++writes;
        return true;
    }
    bool GetText(std::string& text) override
    {
        text = hasText ? content : std::string();
        return hasText;
    }

    std::string content;
    bool hasText = false;
    bool failWrites = false;
    int writes = 0;
};

class CFakeBusy : public CBusyService {
public:
    CFakeBusy() { SetBusyService(this); }
    ~CFakeBusy() override { SetBusyService(nullptr); }
    void BeginBusy() override { ++depth; ++begun; }
    void EndBusy() override { --depth; }

    int depth = 0;
    int begun = 0;
};
