// Re-flowing notes: 10 MB of ordinary comment lines (what a large Recipary or HyperGlaze import
// or a long note hands to CStringArrayEx::Reflow), as paragraphs of short lines that join and
// wrap again at 70 characters, and as one paragraph of 10 MB. Time and memory must grow
// linearly with the text.

#include "support/StringArrayEx.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kNotesBytes = 10u * 1024u * 1024u;
constexpr int kNoteWidth = 70;

// Lines of 20 to 60 characters of words; every tenth line empty (a paragraph break) unless
// oneParagraph is set.
CStringArrayEx Notes(bool oneParagraph)
{
    static const char* const kWords[] = {"silica", "feldspar", "whiting", "kaolin", "glossy", "cone", "6",
                                         "oxidation", "crazes", "on", "porcelain", "test", "tile"};
    CStringArrayEx lines;
    std::size_t bytes = 0;
    unsigned seed = 15;
    while (bytes < kNotesBytes) {
        std::string line;
        const std::size_t length = 20 + (seed = seed * 1103515245u + 12345u) % 41;
        while (line.size() < length)
            line.append(line.empty() ? "" : " ").append(kWords[(seed = seed * 1103515245u + 12345u) % 13]);
        bytes += line.size() + 1;
        lines.push_back(std::move(line));
        if (!oneParagraph && lines.size() % 10 == 0)
            lines.emplace_back();
    }
    return lines;
}

void ReflowNotes(benchmark::State& state, bool oneParagraph)
{
    const CStringArrayEx notes = Notes(oneParagraph);
    for (auto _ : state) {
        state.PauseTiming();
        CStringArrayEx lines = notes;
        state.ResumeTiming();
        lines.Reflow(kNoteWidth);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(kNotesBytes));
}

void BM_ReflowTenMegabytesOfNotes(benchmark::State& state)
{
    ReflowNotes(state, false);
}

void BM_ReflowOneTenMegabyteParagraph(benchmark::State& state)
{
    ReflowNotes(state, true);
}

} // namespace

BENCHMARK(BM_ReflowTenMegabytesOfNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReflowOneTenMegabyteParagraph)->Unit(benchmark::kMillisecond);
