#include "framework/CommandGuard.h"

#include "framework/MessageService.h"

#include <exception>
#include <new>

namespace {

void Report(const std::string& text) noexcept
{
    try {
        AppMessageBox(text, MsgOk | MsgIconExclamation, 0);
    } catch (...) {
        // With no memory even for the box, the command is still stopped and the program goes on.
    }
}

} // namespace

std::string NotEnoughMemoryText(const std::string& action)
{
    return "Not enough memory to " + action + ". The command was stopped.";
}

bool RunGuarded(const std::string& action, const std::function<void()>& command) noexcept
{
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        // Whatever the failed command held has been released by now: the text fits again.
        Report(NotEnoughMemoryText(action));
    } catch (const std::exception& failure) {
        Report("Could not " + action + ": an internal error stopped it (" + failure.what() + ").");
    } catch (...) {
        Report("Could not " + action + ": an internal error stopped it.");
    }
    return false;
}

std::string CommandAction(const std::string& caption)
{
    std::string name;
    for (std::size_t i = 0; i < caption.size() && caption[i] != '\t'; ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&')
            continue;
        name.push_back(caption[i]);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (name.empty())
        return "finish the last action";
    return "carry out \"" + name + "\"";
}
