#pragma once

// The one way the program shows a message box or opens help. The core calls this interface
// through the application object (COxidariumApp::MessageBoxWithHelp); the Qt layer implements
// it with a real message box, and tests install a scripted fake.

#include <string>

// Message box types: one button set, optionally or-ed with one icon and a default button.
enum MessageBoxType : unsigned {
    MsgOk = 0x0,
    MsgOkCancel = 0x1,
    MsgYesNoCancel = 0x3,
    MsgYesNo = 0x4,
    MsgButtonMask = 0xF,

    MsgIconError = 0x10,
    MsgIconQuestion = 0x20,
    MsgIconExclamation = 0x30,
    MsgIconInformation = 0x40,
    MsgIconMask = 0xF0,

    MsgDefaultButton2 = 0x100,
    MsgDefaultButton3 = 0x200,
    MsgDefaultMask = 0xF00,
};

// The button that closed a message box.
enum MessageBoxResult : int {
    MsgResultOk = 1,
    MsgResultCancel = 2,
    MsgResultYes = 6,
    MsgResultNo = 7,
};

// The caption every message box of the program carries.
inline constexpr const char* kMessageCaption = "Oxidarium";

// How help was asked for: a topic by its context number, the index of topics, or closing help.
enum class HelpRequest { Context, Finder, Quit };

class CMessageService {
public:
    virtual ~CMessageService() = default;
    // Shows a modal message box and returns the button pressed (MessageBoxResult).
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type,
                               unsigned helpId) = 0;
    // Opens help. There is no help content in this system: the Qt layer reports the topic.
    virtual void ShowHelp(HelpRequest request, unsigned contextId) = 0;
    // Height of the screen in pixels.
    virtual int ScreenHeight() = 0;
};

CMessageService* GetMessageService();
void SetMessageService(CMessageService* service);

// The button a box of this type answers when no service is installed: its default button.
int DefaultMessageBoxResult(unsigned type);
