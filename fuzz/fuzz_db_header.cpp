// The database header probe over arbitrary bytes read from a string stream, quick and whole.

#include "support/DbFileInfo.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool quick : {true, false}) {
        CDbFileInfo info;
        std::istringstream in(text);
        const int result = info.ReadHeader(in, quick);
        if (result == 0 && (info.m_version < 1 || info.m_version > 2))
            __builtin_trap();
        if (result == 0 && !info.m_errorText.empty())
            __builtin_trap();
        const int code = static_cast<int>(info.m_type);
        if (code < 0 || code > 9)
            __builtin_trap();
    }
    return 0;
}
