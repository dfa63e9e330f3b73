// The element file reader over arbitrary bytes: a read either succeeds, and writing the result
// and reading it back gives the same bytes again, or fails and leaves the built-in table.

#include "elements/ElementFile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

std::string Written(const CElementFile& file)
{
    std::ostringstream out;
    if (file.WriteElements(out) != 0)
        __builtin_trap();
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CElementFile file;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (file.ReadElements(in) != 0) {
        if (!(file.m_elements == CElementTable()) || !file.m_infoLines.empty() || file.m_errorText.empty())
            __builtin_trap();
        return 0;
    }
    const std::string first = Written(file);
    CElementFile copy;
    std::istringstream again(first);
    if (copy.ReadElements(again) != 0 || Written(copy) != first)
        __builtin_trap();
    return 0;
}
