// Throughput of the key = value reader: a 20 MB file of 200,000 five-key records, read from
// memory. Target: at least 150 MB/s on one core (Release build).

#include "support/ParamFile.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

class CBenchContext : public CParamFileContext {
public:
    long long names = 0;
    long long sum = 0;
    double total = 0;
};

CBenchContext& Ctx(CParamFileContext* context)
{
    return *static_cast<CBenchContext*>(context);
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).names += ParamText(value)[0];
    return 0;
}

int OnInt(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).sum += ParamInt(value);
    return 0;
}

int OnDouble(CParamFileContext* context, const char*, const void* value)
{
    Ctx(context).total += ParamDouble(value);
    return 0;
}

int OnEnd(CParamFileContext*, const char*, const void*)
{
    return 0;
}

ParamDesc s_keys[] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"cone", 'i', OnInt, PF_MIN_INCL | PF_MAX_INCL, -22, 14, 0},
    {"amount", 'd', OnDouble, PF_MIN_INCL, 0, 0, 0},
    {"comment", 's', OnName, 0, 0, 0, 0},
    {"colour", 'i', OnInt, 0, 0, 0, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

// 200,000 records of 5 keys, about 100 bytes a record.
const std::string& BenchFile()
{
    static const std::string text = [] {
        std::string out;
        out.reserve(21 * 1024 * 1024);
        for (int i = 0; i < 200000; ++i) {
            out += "name = Celadon glaze number " + std::to_string(i) + "\n";
            out += "cone = " + std::to_string(i % 15) + "\n";
            out += "amount = " + std::to_string(i % 1000) + ".125\n";
            out += "comment = a short note  \n";
            out += "colour = " + std::to_string(i * 7 % 16777216) + "\n";
        }
        return out;
    }();
    return text;
}

void BM_ParseParameterFile(benchmark::State& state)
{
    const std::string& text = BenchFile();
    for (auto _ : state) {
        std::istringstream in(text);
        CBenchContext context;
        const int result = ParseParameterFile(context.m_errorText, in, s_keys, &context, 0);
        if (result != 0)
            state.SkipWithError(context.m_errorText.c_str());
        benchmark::DoNotOptimize(context.sum);
        benchmark::DoNotOptimize(context.total);
        benchmark::DoNotOptimize(context.names);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}

} // namespace

BENCHMARK(BM_ParseParameterFile)->Unit(benchmark::kMillisecond);
