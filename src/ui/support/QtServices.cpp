#include "support/QtServices.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "support/Services.h"

CQtServices::CQtServices()
    : m_previousMessages(GetMessageService()), m_previousClipboard(GetClipboardService()),
      m_previousBusy(GetBusyService()), m_previousFileDialogs(GetFileDialogService())
{
    SetMessageService(&m_messages);
    SetClipboardService(&m_clipboard);
    SetBusyService(&m_busy);
    SetFileDialogService(&m_fileDialogs);
}

CQtServices::~CQtServices()
{
    // Only services that are still ours are taken back; one installed later stays.
    if (GetMessageService() == &m_messages)
        SetMessageService(m_previousMessages);
    if (GetClipboardService() == &m_clipboard)
        SetClipboardService(m_previousClipboard);
    if (GetBusyService() == &m_busy)
        SetBusyService(m_previousBusy);
    if (GetFileDialogService() == &m_fileDialogs)
        SetFileDialogService(m_previousFileDialogs);
}
