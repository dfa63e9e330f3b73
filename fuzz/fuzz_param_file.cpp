// ParseParameterFile over arbitrary bytes, with a key table of every value type and every flag.
// The first byte picks the line limit; the rest is the file.

#include "support/ParamFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace {

class CFuzzContext : public CParamFileContextOf<std::string> {
public:
    std::size_t sum = 0;
};

CFuzzContext& Ctx(CParamFileContext* context)
{
    return *static_cast<CFuzzContext*>(context);
}

int OnRecord(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).m_records.push_back(std::make_unique<std::string>(ParamText(value)));
    return 0;
}

int OnText(CParamFileContext* context, const char*, const void* value)
{
    CFuzzContext& ctx = Ctx(context);
    if (ctx.NoCurrentRecord())
        return -1;
    ctx.CurrentRecord() += ParamText(value);
    return 0;
}

int OnChar(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).sum += static_cast<unsigned char>(ParamChar(value));
    return ParamChar(value) == 'q' ? 7 : 0;
}

int OnInt(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).sum += static_cast<std::size_t>(ParamInt(value));
    return 0;
}

int OnLong(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).sum += static_cast<std::size_t>(ParamLong(value));
    return 0;
}

int OnFloat(CParamFileContext* context, const char*, const void* value)
{
    const float number = ParamFloat(value);
    Ctx(context).sum += number > 0 ? 1 : 0;
    return 0;
}

int OnDouble(CParamFileContext* context, const char*, const void* value)
{
    const double number = ParamDouble(value);
    if (number == 13.0) {
        Ctx(context).m_errorText = "unlucky";
        return 13;
    }
    return 0;
}

int OnEnd(CParamFileContext* context, const char* key, const void* value)
{
    auto* errorText = static_cast<const std::string*>(value);
    if (key != nullptr || errorText != &Ctx(context).m_errorText)
        __builtin_trap();
    return Ctx(context).m_records.size() > 50 ? 9 : 0;
}

ParamDesc s_keys[] = {
    {"filetype", 's', OnText, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"name", 's', OnRecord, 0, 0, 0, 0},
    {"note", 's', OnText, PF_KEEP_BLANKS, 0, 0, 0},
    {"version", 'i', OnInt, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {"cone", 'i', OnInt, PF_MIN_EXCL | PF_MAX_EXCL, -23, 15, 0},
    {"big", 'l', OnLong, PF_MIN_INCL, -1e18, 0, 0},
    {"ratio", 'f', OnFloat, PF_MAX_INCL, 0, 1e39, 0},
    {"amount", 'd', OnDouble, PF_MIN_INCL | PF_MAX_EXCL, 0, 100, 0},
    {"mark", 'c', OnChar, PF_MIN_INCL | PF_MAX_INCL, 'A', 'z', 0},
    {"I", 's', OnText, 0, 0, 0, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int lineLimit = data[0] % 8 == 0 ? data[0] / 8 : 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    CFuzzContext context;
    std::istringstream in(text);
    const int result = ParseParameterFile(context.m_errorText, in, s_keys, &context, lineLimit);
    if (result == 0 && !context.m_errorText.empty())
        __builtin_trap();
    if (result != 0 && context.m_errorText.empty())
        __builtin_trap();

    std::string line = text.substr(0, 256);
    char* key = nullptr;
    char* value = nullptr;
    if (SplitParameterLine(line.data(), &key, &value) == 0 && (std::strchr(key, '=') || !*key))
        __builtin_trap();
    return 0;
}
