// A text file read into lines, split at the line end its first 16 KB use: the lines hold no line
// end of that kind and, joined again, give back the file with its CR LF pairs as single breaks.

#include "FuzzFiles.h"
#include "support/PathHelpers.h"
#include "support/StringArrayEx.h"
#include "textfile/TextFileDoc.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The bytes with each CR LF pair as the one delimiter it reads as.
std::string Normalized(const std::string& bytes, char delimiter)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text += delimiter == '\n' ? "\n" : "\r";
            ++i;
        } else {
            text += bytes[i];
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = WriteFuzzFile("text.txt", data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char delimiter = DetectLineDelimiter(path);
    FuzzCheck(delimiter == '\n' || delimiter == '\r');

    CStringArrayEx lines;
    FuzzCheck(ReadTextFileLines(path, lines) == 0);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FuzzCheck(lines[i].find(delimiter) == std::string::npos);
        if (i > 0)
            joined += delimiter;
        joined += lines[i];
    }
    std::string expected = Normalized(bytes, delimiter);
    if (!expected.empty() && expected.back() == delimiter && !lines.empty())
        joined += delimiter;
    else if (expected.size() == 1 && expected.back() == delimiter)
        joined += delimiter;
    FuzzCheck(joined == expected);
    return 0;
}
