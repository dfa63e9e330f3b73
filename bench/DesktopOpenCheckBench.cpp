// The View button's check of a glaze's image or note file before the desktop opens it, on a
// file of one 400 MB line (a sparse file: nothing is written to disk). It runs on the GUI thread,
// so it must take about as long as on a small file: well under a millisecond, whatever the size.

#include "support/DesktopOpenCheck.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

void BM_DesktopOpenCheckOfOneLongLine(benchmark::State& state)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("oxi-desktop-check-" + std::to_string(::getpid()) + ".png");
    std::ofstream(path, std::ios::binary) << std::string(4096, 'x');
    std::filesystem::resize_file(path, 400u << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(WhyNotOpenOnDesktop(path.string()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_DesktopOpenCheckOfOneLongLine)->Unit(benchmark::kMicrosecond);

} // namespace
