#include "support/DesktopOpenCheck.h"

#include "support/CompareNoCase.h"
#include "support/InputFile.h"

#include <filesystem>
#include <string>
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
    std::string line;
    for (int lines = 0; lines < 64 && std::getline(in, line); ++lines) {
        const std::size_t start = line.find_first_not_of(" \t\r\xEF\xBB\xBF");
        if (start == std::string::npos || line[start] == '#')
            continue;
        return line.compare(start, 15, "[Desktop Entry]") == 0;
    }
    return false;
}

} // namespace

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
