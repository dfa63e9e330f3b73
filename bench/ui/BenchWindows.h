#pragma once

// Windows a widget benchmark keeps for every run must go before the application object does:
// a benchmark that makes them once registers their teardown here, and main runs it after the
// last benchmark, while the application object still lives.

#include <functional>

void AtBenchmarksEnd(std::function<void()> teardown);
void RunBenchmarksEnd();
