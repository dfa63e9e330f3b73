// Reading and writing a glaze database of 20,000 glazes (every field filled, 8 components and 2
// additions, 2 variations and 3 notes each; about 30 MB), in memory. Target: each under 0.3 s
// (Release build). The whole-file read (as the program opens a file) cuts a large file into
// pieces read on several threads; the plain read is the one-piece stream read. Neither counts
// the freeing of the glazes read.

#include "glazes/GlazeList.h"
#include "shell/AppContext.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr int kGlazes = 20000;

const char* const kMaterials[] = {
    "Custer Feldspar", "Silica (SIL)", "Whiting", "EPK Kaolin", "Talc", "Gerstley Borate",
    "Zinc Oxide", "Frit 3134", "Red Iron Oxide", "Cobalt Carbonate",
};

// prefix followed by n (appending keeps GCC 12's -Wrestrict false alarm on "text" + string away).
std::string Numbered(const char* prefix, int n, const char* suffix = "")
{
    return std::string(prefix).append(std::to_string(n)).append(suffix);
}

std::unique_ptr<CGlaze> MakeGlaze(int n)
{
    auto glaze = std::make_unique<CGlaze>(Numbered("Celadon variation ", n));
    glaze->m_index = Numbered("B", n);
    glaze->SetField(kGlazeFieldDate, "3/15/2002");
    glaze->m_source = Numbered("Studio notebook, page ", n % 300);
    glaze->m_type = "glossy";
    glaze->SetField(kGlazeFieldRange, "cone 5-7");
    glaze->m_firetype = "oxidation";
    glaze->m_color = "pale blue green";
    glaze->m_vistexture = "smooth";
    glaze->m_quality = "glossy";
    glaze->m_transparency = "translucent";
    glaze->m_xtals = "none";
    glaze->m_bubbles = "few";
    glaze->m_flow = "moderate";
    glaze->m_durability = "good";
    glaze->m_flaws = "pinholes when thick";
    glaze->m_tested = "yes";
    glaze->m_limform = "Cone 6 glossy";
    glaze->m_batchSize = 1000;
    for (int i = 0; i < 8; ++i)
        glaze->m_components.Add(kMaterials[i], 5.0 + (n * 7 + i * 13) % 400 / 16.0);
    glaze->m_additions.Add(kMaterials[8], 1.5 + n % 7 / 3.0);
    glaze->m_additions.Add(kMaterials[9], 0.25);
    glaze->m_variations = {"add 2% rutile for a broken colour", "  without the cobalt: a clear"};
    glaze->m_notes = {"Fired in the small kiln, 10 minute hold at peak.",
                      "Runs on vertical surfaces when applied thickly; keep it thin near the foot.",
                      Numbered("Test tile ", n, " in the blue box.")};
    return glaze;
}

CAppContext& Context()
{
    static CAppContext context;
    return context;
}

const CGlazeList& BenchList()
{
    static const std::unique_ptr<CGlazeList> list = [] {
        Context();
        auto made = std::make_unique<CGlazeList>();
        made->m_name = "Benchmark glazes";
        made->m_infoLines = {"generated"};
        for (int n = 0; n < kGlazes; ++n)
            made->m_glazes.push_back(MakeGlaze(n));
        return made;
    }();
    return *list;
}

const std::string& BenchFile()
{
    static const std::string text = [] {
        std::ostringstream out;
        BenchList().Write(out);
        return out.str();
    }();
    return text;
}

// Times one way of reading the benchmark file into a fresh list; freeing the glazes is not
// reading, so it runs with the clock paused.
template <typename Read>
void TimeGlazeFileRead(benchmark::State& state, Read read)
{
    const std::string& text = BenchFile();
    for (auto _ : state) {
        auto list = std::make_unique<CGlazeList>();
        if (read(*list, text) != 0 || list->GetCount() != kGlazes)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(list->m_glazes.data());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_GlazeFileRead(benchmark::State& state)
{
    TimeGlazeFileRead(state, [](CGlazeList& list, const std::string& text) {
        std::istringstream in(text);
        return list.Read(in);
    });
}
BENCHMARK(BM_GlazeFileRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GlazeFileReadWhole(benchmark::State& state)
{
    TimeGlazeFileRead(state, [](CGlazeList& list, const std::string& text) { return list.ReadText(text); });
}
BENCHMARK(BM_GlazeFileReadWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GlazeFileWrite(benchmark::State& state)
{
    const CGlazeList& list = BenchList();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        if (list.Write(out) != 0)
            state.SkipWithError("write failed");
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_GlazeFileWrite)->Unit(benchmark::kMillisecond);

} // namespace
