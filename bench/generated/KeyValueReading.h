#pragma once

// The key = value file of the reader's benchmarks (GeneratedKeyValueFile) and the key table that
// reads it: five keys a record, text, whole and decimal numbers, with range checks, whose
// handlers only sum what they get (so that the figures are the reader's own).

#include "support/ParamFile.h"

class CKeyValueBenchContext : public CParamFileContext {
public:
    long long names = 0;
    long long sum = 0;
    double total = 0;
};

namespace keyvaluebench {

inline CKeyValueBenchContext& Ctx(CParamFileContext* context)
{
    return *static_cast<CKeyValueBenchContext*>(context);
}

inline int OnName(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).names += ParamText(value)[0];
    return 0;
}

inline int OnInt(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).sum += ParamInt(value);
    return 0;
}

inline int OnDouble(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).total += ParamDouble(value);
    return 0;
}

inline int OnEnd(CParamFileContext*, const char*, const void*)
{
    return 0;
}

} // namespace keyvaluebench

inline ParamDesc g_keyValueBenchKeys[] = {
    {"name", 's', keyvaluebench::OnName, 0, 0, 0, 0},
    {"cone", 'i', keyvaluebench::OnInt, PF_MIN_INCL | PF_MAX_INCL, -22, 14, 0},
    {"amount", 'd', keyvaluebench::OnDouble, PF_MIN_INCL, 0, 0, 0},
    {"comment", 's', keyvaluebench::OnName, 0, 0, 0, 0},
    {"colour", 'i', keyvaluebench::OnInt, 0, 0, 0, 0},
    {nullptr, 0, keyvaluebench::OnEnd, 0, 0, 0, 0},
};
