// Throughput of the key = value reader: files of 200,000 and 2,000,000 five-key records (20 MB
// and 200 MB), read from memory, against a plain line count of the same buffer read the same way (what `wc -l` does with
// a file). Target: the reader within 5 times the line count (Release build, one core); the
// counter "x_line_count" is that ratio of the best processor times, both measured in the same run.
// bench/readspeed.sh compares whole processes: the reader on a file against `wc -l`.

#include "GeneratedDatabases.h"
#include "KeyValueReading.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include <time.h>

namespace {

// The processor time this thread has used, in seconds: on a machine shared with other work the
// wall clock would count their time too.
double ThreadSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// records records of 5 keys, about 100 bytes a record; the last file made is kept.
const std::string& BenchFile(int records)
{
    static int made = 0;
    static std::string text;
    if (made != records) {
        text = GeneratedKeyValueFile(records);
        made = records;
    }
    return text;
}

// A stream buffer over bytes that stay where they are (an istringstream would copy them first).
class CMemoryBuffer : public std::streambuf {
public:
    explicit CMemoryBuffer(const std::string& text)
    {
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }
};

// What `wc -l` does: read the stream in large blocks and count the line feeds.
long long CountLines(std::istream& in)
{
    std::vector<char> block(128 * 1024);
    long long lines = 0;
    for (;;) {
        const std::streamsize got = in.rdbuf()->sgetn(block.data(), static_cast<std::streamsize>(block.size()));
        if (got <= 0)
            return lines;
        lines += std::count(block.data(), block.data() + got, '\n');
    }
}

// The best of several runs of a line count, in seconds.
double BestLineCountSeconds(const std::string& text)
{
    double best = 1e9;
    for (int run = 0; run < 20; ++run) {
        CMemoryBuffer buffer(text);
        std::istream in(&buffer);
        const double start = ThreadSeconds();
        long long lines = CountLines(in);
        benchmark::DoNotOptimize(lines);
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

void BM_ParseParameterFile(benchmark::State& state)
{
    const std::string& text = BenchFile(static_cast<int>(state.range(0)));
    double best = 1e9;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        CMemoryBuffer buffer(text);
        std::istream in(&buffer);
        CKeyValueBenchContext context;
        const int result = ParseParameterFile(context.m_errorText, in, g_keyValueBenchKeys, &context, 0);
        best = std::min(best, ThreadSeconds() - start);
        if (result != 0)
            state.SkipWithError(context.m_errorText.c_str());
        benchmark::DoNotOptimize(context.sum);
        benchmark::DoNotOptimize(context.total);
        benchmark::DoNotOptimize(context.names);
    }
    const double lineCount = BestLineCountSeconds(text);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["line_count_ms"] = lineCount * 1e3;
    state.counters["x_line_count"] = best / lineCount;
}

// The same file through a plain line count alone, for reference.
void BM_LineCountSameBuffer(benchmark::State& state)
{
    const std::string& text = BenchFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CMemoryBuffer buffer(text);
        std::istream in(&buffer);
        long long lines = CountLines(in);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_ParseParameterFile)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineCountSameBuffer)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);
