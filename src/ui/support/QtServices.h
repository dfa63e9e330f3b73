#pragma once

// The Qt implementations of the core's desktop services, installed together. The application
// owns one object for its lifetime: the constructor installs every service, the destructor
// puts back whatever was installed before.

#include "framework/QtBusyService.h"
#include "framework/QtClipboardService.h"
#include "support/QtFileDialogService.h"
#include "framework/QtMessageService.h"

class CBusyService;
class CClipboardService;
class CFileDialogService;
class CMessageService;

class CQtServices {
public:
    CQtServices();
    ~CQtServices();
    CQtServices(const CQtServices&) = delete;
    CQtServices& operator=(const CQtServices&) = delete;

    CQtMessageService& Messages() { return m_messages; }
    CQtClipboardService& Clipboard() { return m_clipboard; }
    CQtBusyService& Busy() { return m_busy; }
    CQtFileDialogService& FileDialogs() { return m_fileDialogs; }

private:
    CQtMessageService m_messages;
    CQtClipboardService m_clipboard;
    CQtBusyService m_busy;
    CQtFileDialogService m_fileDialogs;

    CMessageService* m_previousMessages;
    CClipboardService* m_previousClipboard;
    CBusyService* m_previousBusy;
    CFileDialogService* m_previousFileDialogs;
};
