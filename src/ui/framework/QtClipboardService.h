#pragma once

// The system clipboard for the core. The core's clipboard text is Windows-1252 bytes with
// lines ended by CR LF; the Qt clipboard holds Unicode text with LF line breaks.

#include "support/Services.h"

#include <QString>

#include <string>

class CQtClipboardService : public CClipboardService {
public:
    bool SetText(const std::string& text) override;
    bool SetUnicodeText(const std::string& utf8) override;
    bool GetText(std::string& text) override;

    // The two conversions, also for widgets that exchange core text with the clipboard.
    static QString ToClipboardText(const std::string& coreText);
    static std::string FromClipboardText(const QString& clipboardText);
};
