#include "BenchWindows.h"
#include "support/HeapReuse.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <clocale>
#include <vector>

namespace {

std::vector<std::function<void()>>& Teardowns()
{
    static std::vector<std::function<void()>> teardowns;
    return teardowns;
}

} // namespace

void AtBenchmarksEnd(std::function<void()> teardown)
{
    Teardowns().push_back(std::move(teardown));
}

void RunBenchmarksEnd()
{
    // Last made, first gone.
    while (!Teardowns().empty()) {
        const std::function<void()> teardown = std::move(Teardowns().back());
        Teardowns().pop_back();
        teardown();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Widget benchmarks need an application object; they run on the offscreen platform unless
// another one is asked for. The heap is set up as the program's.
int main(int argc, char** argv)
{
    KeepFreedMemoryForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RunBenchmarksEnd();
    return 0;
}
