#include "shell/MessageService.h"

namespace {
CMessageService* s_messageService = nullptr;
}

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
