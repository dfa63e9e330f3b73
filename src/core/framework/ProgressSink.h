#pragma once

// What a long search asks of the progress window it runs under. The window is a line of text
// and a Cancel button; the search runs on the user-interface thread and calls KeepGoing before
// every step, which lets waiting events run (repaints, the Cancel click) and answers whether the
// user wants it to go on.
//
// While KeepGoing lets events run, the user must not be able to close or edit the databases the
// search holds: an implementation keeps other windows from taking input (an application-modal
// progress window does). The search still checks that its databases are there after each call.

#include <string>

class CProgressSink {
public:
    virtual ~CProgressSink() = default;

    // The window appears with its caption and first text line.
    virtual void Open(const std::string& caption, const std::string& text) = 0;
    // Replaces the text line.
    virtual void SetText(const std::string& text) = 0;
    // Lets waiting events run; false once the user cancelled (and from then on).
    virtual bool KeepGoing() = 0;
    // The window goes; the search calls this once, whether it finished or was cancelled.
    virtual void Close() = 0;
};
