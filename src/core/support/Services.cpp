#include "support/Services.h"

namespace {
CClipboardService* s_clipboard = nullptr;
CBusyService* s_busy = nullptr;
} // namespace

CClipboardService* GetClipboardService()
{
    return s_clipboard;
}

void SetClipboardService(CClipboardService* service)
{
    s_clipboard = service;
}

CBusyService* GetBusyService()
{
    return s_busy;
}

void SetBusyService(CBusyService* service)
{
    s_busy = service;
}

CBusyScope::CBusyScope()
    : m_service(s_busy)
{
    if (m_service)
        m_service->BeginBusy();
}

CBusyScope::~CBusyScope()
{
    if (m_service)
        m_service->EndBusy();
}
