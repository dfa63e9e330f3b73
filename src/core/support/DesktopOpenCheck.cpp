#include "support/DesktopOpenCheck.h"

#include "support/CompareNoCase.h"
#include "support/InputFile.h"

#include <filesystem>
#include <istream>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

bool IsExecutable(fs::perms permissions)
{
    return (permissions & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec)) != fs::perms::none;
}

// A desktop entry by its name, or by its first group header whatever its name (the desktop may
// recognise it by its content).
bool IsDesktopEntry(const std::string& path)
{
    constexpr std::string_view kExtension = ".desktop";
    if (path.size() >= kExtension.size() && EqualsNoCase(std::string_view(path).substr(path.size() - kExtension.size()), kExtension))
        return true;
    CInputFile in;
    in.Open(path);
    return StartsAsDesktopEntry(in);
}

} // namespace

bool StartsAsDesktopEntry(std::istream& in)
{
    // Only the head is read: the View button asks on the GUI thread, and a file of one 400 MB
    // line must not be read whole (nor kept in memory) to find it has no header.
    std::string head(kDesktopEntryHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const std::string_view text = head;
    std::size_t start = 0;
    for (int lines = 0; lines < 64 && start < text.size(); ++lines) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find_first_not_of(" \t\r\xEF\xBB\xBF");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        return line.substr(first).starts_with("[Desktop Entry]");
    }
    return false;
}

std::string WhyNotOpenOnDesktop(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        return "The file does not exist.";
    if (!fs::is_regular_file(status))
        return "It is not a regular file.";
    if (IsExecutable(status.permissions()))
        return "It is a program (the file is executable); it is not run from here.";
    if (IsDesktopEntry(path))
        return "It is a desktop entry, which starts a program; it is not run from here.";
    return {};
}
