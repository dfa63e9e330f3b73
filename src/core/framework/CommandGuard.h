#pragma once

// The boundary every command runs inside. A command that runs out of memory (reading a file too
// large for the memory left, a chart or report of a huge database) or meets any other failure
// that escapes it is stopped there: the user is told, and the program goes on. Whatever the
// command had not finished stays as it was: a document opens whole or not at all, and a save
// writes a temporary file first, so the file on disk is untouched.

#include <functional>
#include <string>

// "Not enough memory to %1." with action, e.g. "carry out \"Open Glaze Database\"".
std::string NotEnoughMemoryText(const std::string& action);

// Runs command; true when it returned normally. A failure it throws is reported through the
// message service (the out-of-memory text above, or the failure's own words) and false comes
// back. Never throws.
bool RunGuarded(const std::string& action, const std::function<void()>& command) noexcept;

// The action of a command as the messages name it: carry out "caption", with the caption's
// mnemonic ampersands, trailing dots and shortcut text dropped; "finish the last action" when
// the caption is empty.
std::string CommandAction(const std::string& caption);
