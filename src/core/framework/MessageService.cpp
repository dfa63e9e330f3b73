#include "framework/MessageService.h"

namespace {

constexpr int kSmallScreenHeight = 600;

CMessageService* s_messageService = nullptr;
CMessageBoxHost* s_messageBoxHost = nullptr;

} // namespace

CMessageService* GetMessageService()
{
    return s_messageService;
}

void SetMessageService(CMessageService* service)
{
    s_messageService = service;
}

int DefaultMessageBoxResult(unsigned type)
{
    const unsigned buttons = type & MsgButtonMask;
    const unsigned defaultButton = type & MsgDefaultMask;
    switch (buttons) {
    case MsgOkCancel:
        return defaultButton == MsgDefaultButton2 ? MsgResultCancel : MsgResultOk;
    case MsgYesNo:
        return defaultButton == MsgDefaultButton2 ? MsgResultNo : MsgResultYes;
    case MsgYesNoCancel:
        if (defaultButton == MsgDefaultButton2)
            return MsgResultNo;
        return defaultButton == MsgDefaultButton3 ? MsgResultCancel : MsgResultYes;
    default:
        return MsgResultOk;
    }
}

CMessageBoxHost* GetMessageBoxHost()
{
    return s_messageBoxHost;
}

void SetMessageBoxHost(CMessageBoxHost* host)
{
    s_messageBoxHost = host;
}

int AppMessageBox(const std::string& text, unsigned type, unsigned helpId)
{
    if (s_messageBoxHost)
        return s_messageBoxHost->MessageBoxWithHelp(text, type, helpId);
    return s_messageService ? s_messageService->ShowMessageBox(text, kMessageCaption, type, helpId)
                            : DefaultMessageBoxResult(type);
}

void AppShowHelp(unsigned helpId)
{
    if (s_messageBoxHost)
        s_messageBoxHost->ShowHelp(helpId);
}

bool IsSmallScreen()
{
    return s_messageService && s_messageService->ScreenHeight() < kSmallScreenHeight;
}
