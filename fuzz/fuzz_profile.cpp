// The profile file ("Oxidarium.ini") over arbitrary bytes. Whatever it holds, the profile saves
// it to a file that reads back and saves to the same bytes, and a value written into it (line
// breaks flattened, the blanks around it dropped) reads back the same, in memory and from the
// file.

#include "FuzzFiles.h"
#include "support/Profile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = WriteFuzzFile("profile.ini", data, size);
    CProfile profile(path);
    FuzzCheck(profile.Save());
    const std::string first = ReadFuzzFile(path);
    CProfile reread(path);
    FuzzCheck(reread.Save());
    FuzzCheck(ReadFuzzFile(path) == first);

    // The input's first line is a value; the program's own sections and keys receive it.
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string value = input.substr(0, std::min<std::size_t>(input.size(), 200));
    std::string flat = value;
    std::replace(flat.begin(), flat.end(), '\r', ' ');
    std::replace(flat.begin(), flat.end(), '\n', ' ');
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!flat.empty() && isBlank(flat.back()))
        flat.pop_back();
    flat.erase(flat.begin(), std::find_if_not(flat.begin(), flat.end(), isBlank));
    for (const char* section : {"PositionAndSize", "colors", "Files"}) {
        FuzzCheck(reread.WriteString(section, "LastX", value));
        FuzzCheck(reread.GetString(section, "lastx") == flat);
        FuzzCheck(CProfile(path).GetString(section, "LastX") == flat);
    }
    FuzzCheck(reread.DeleteKey("Files", "LastX"));
    FuzzCheck(!CProfile(path).HasValue("files", "lastx") || !reread.HasValue("Files", "LastX") ||
              reread.GetString("Files", "LastX") == CProfile(path).GetString("Files", "LastX"));
    return 0;
}
