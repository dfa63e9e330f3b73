#include "support/PathHelpers.h"

#include "support/InputFile.h"

#include <cerrno>
#include <cstdlib>
#include <istream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kDelimiterSampleChars = 16384;

} // namespace

char DetectLineDelimiter(const std::string& path)
{
    CInputFile file;
    return file.Open(path) ? DetectLineDelimiter(file) : '\n';
}

char DetectLineDelimiter(std::istream& in)
{
    const std::istream::pos_type start = in.tellg();
    // One character more than the sample: a CR at its end may begin a CR LF pair.
    std::string sample(kDelimiterSampleChars + 1, '\0');
    in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
    sample.resize(static_cast<std::size_t>(in.gcount()));
    in.clear();
    in.seekg(start);
    return LineDelimiterOf(sample);
}

char LineDelimiterOf(std::string_view text)
{
    std::size_t carriageReturns = 0, lineFeeds = 0;
    for (std::size_t at = 0; at < text.size() && at < kDelimiterSampleChars; ++at) {
        if (text[at] == '\n') {
            ++lineFeeds;
        } else if (text[at] == '\r') {
            if (at + 1 < text.size() && text[at + 1] == '\n') { // CR LF reads as one line feed
                ++at;
                ++lineFeeds;
            } else {
                ++carriageReturns;
            }
        }
    }
    if (lineFeeds == 0)
        return carriageReturns > 0 ? '\r' : '\n';
    return static_cast<double>(carriageReturns) / static_cast<double>(lineFeeds) > 1.1 ? '\r' : '\n';
}

std::string GetCurrentDirectoryString()
{
    for (std::size_t size = 256; size <= (1u << 20); size *= 2) {
        std::vector<char> buffer(size);
        if (getcwd(buffer.data(), buffer.size()) != nullptr)
            return std::string(buffer.data());
        if (errno != ERANGE)
            return std::string();
    }
    return std::string();
}

std::string GetProgramDirectory()
{
    std::string exe;
    for (std::size_t size = 256; size <= (1u << 20); size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return std::string();
        if (static_cast<std::size_t>(n) < buffer.size()) {
            exe.assign(buffer.data(), static_cast<std::size_t>(n));
            break;
        }
    }
    const std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

std::string GetUserDataDirectory()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return MakeFilePath(data, "Oxidarium");
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return MakeFilePath(home, ".local/share/Oxidarium");
    return std::string();
}

std::string GetFullPathString(const std::string& path, int* fileOffset)
{
    if (fileOffset != nullptr)
        *fileOffset = 0;
    if (path.empty())
        return std::string();
    std::string whole = path;
    if (path.front() != '/') {
        const std::string current = GetCurrentDirectoryString();
        if (current.empty())
            return std::string();
        whole = current + "/" + path;
    }

    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= whole.size()) {
        std::size_t slash = whole.find('/', start);
        if (slash == std::string::npos)
            slash = whole.size();
        const std::string part = whole.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    // A path ending with "/" names a directory: it keeps the "/" and has no file-name part.
    const bool endsWithDirectory = parts.empty() || whole.back() == '/';
    std::string full;
    for (const std::string& part : parts)
        full += "/" + part;
    if (endsWithDirectory)
        full += "/";
    if (fileOffset != nullptr)
        *fileOffset = endsWithDirectory ? static_cast<int>(full.size())
                                        : static_cast<int>(full.rfind('/') + 1);
    return full;
}

namespace {

// True when path is already its own full path: absolute, without empty, "." or ".." parts.
bool IsFullPath(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    for (std::size_t start = 1; start < path.size();) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        const std::string_view part = path.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = slash + 1;
    }
    return true;
}

} // namespace

bool IsSamePath(std::string_view a, std::string_view b)
{
    if (a.empty() || b.empty())
        return false;
    if (a == b)
        return true;
    // Most comparisons are of two full paths of different files: no need to build anything.
    if (IsFullPath(a) && IsFullPath(b))
        return false;
    const std::string fullA = GetFullPathString(std::string(a));
    return !fullA.empty() && fullA == GetFullPathString(std::string(b));
}

std::string MakeFilePath(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    if (directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}
