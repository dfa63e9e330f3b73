#pragma once

// The one way the program shows a message box or opens help. The Qt layer implements the
// service with a real message box, and tests install a scripted fake. Code asks through
// AppMessageBox, which hands the box to the message-box host (the application object, which
// keeps the help topic of the box that is up) or, without one, straight to the service.

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

// Whoever sees every message box and help request first: the application object while it lives.
class CMessageBoxHost {
public:
    virtual ~CMessageBoxHost() = default;
    virtual int MessageBoxWithHelp(const std::string& text, unsigned type, unsigned helpId) = 0;
    virtual void ShowHelp(unsigned helpId) = 0;
};

CMessageBoxHost* GetMessageBoxHost();
void SetMessageBoxHost(CMessageBoxHost* host);

// A message box with a help context through the host, or straight through the message service
// when there is none (tools and tests without an application object).
int AppMessageBox(const std::string& text, unsigned type, unsigned helpId);

// Help by context number through the host; without one nothing opens.
void AppShowHelp(unsigned helpId);

// True when the screen is less than 600 pixels high; dialogs then use compact layouts.
bool IsSmallScreen();
