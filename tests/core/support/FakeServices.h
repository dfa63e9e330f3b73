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
        unicode = false;
        ++writes;
        return true;
    }
    bool SetUnicodeText(const std::string& utf8) override
    {
        const bool written = SetText(utf8);
        unicode = written;
        return written;
    }
    bool GetText(std::string& text) override
    {
        text = hasText ? content : std::string();
        return hasText;
    }

    std::string content;
    bool hasText = false;
    bool unicode = false; // the content is UTF-8 (SetUnicodeText), not Windows-1252
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
