#pragma once

// The small services through which the core reaches the user's desktop. The core only calls
// these interfaces; the Qt layer installs real ones at start-up and tests install fakes.
// With nothing installed, the calls do nothing (and clipboard reads find no text).

#include <string>

// Text on the system clipboard, as the core's bytes (Windows-1252, lines ended by CR LF).
class CClipboardService {
public:
    virtual ~CClipboardService() = default;
    // Replaces the clipboard's content; false when the clipboard cannot be written.
    virtual bool SetText(const std::string& text) = 0;
    // The same for UTF-8 text (lines ended by CR LF): every character stays as it is, also
    // those that Windows-1252 cannot hold.
    virtual bool SetUnicodeText(const std::string& utf8) = 0;
    // The clipboard's text; false (and an empty text) when it holds none.
    virtual bool GetText(std::string& text) = 0;
};

// The wait cursor shown while the program works without asking the user anything.
class CBusyService {
public:
    virtual ~CBusyService() = default;
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

CClipboardService* GetClipboardService();
void SetClipboardService(CClipboardService* service);

CBusyService* GetBusyService();
void SetBusyService(CBusyService* service);

// Shows the wait cursor for the lifetime of the object.
class CBusyScope {
public:
    CBusyScope();
    ~CBusyScope();
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    CBusyService* m_service;
};
