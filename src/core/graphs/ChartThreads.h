#pragma once

// Work shared among threads. A chart of a hundred thousand glazes builds its tables, and draws its
// picture, in parts that need nothing of one another; the machine's cores take them in turn.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

// The most threads RunInParts uses, this one included.
inline constexpr unsigned kMostChartThreads = 8;

// Calls job(part) for every part from 0 to parts - 1, on as many threads as the machine has cores
// (at most kMostChartThreads, this one among them), and returns when all are done. A job touches
// nothing another part's job changes. The first exception a job throws is thrown here once every
// thread has stopped; parts not begun by then are left out.
template <class Job>
void RunInParts(std::size_t parts, Job job)
{
    const std::size_t cores = std::max(std::thread::hardware_concurrency(), 1u);
    const std::size_t threads = std::min({cores, static_cast<std::size_t>(kMostChartThreads), parts});
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureGuard;
    const auto work = [&] {
        for (std::size_t part = next++; part < parts; part = next++) {
            try {
                job(part);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureGuard);
                if (!failure)
                    failure = std::current_exception();
                next = parts;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones there do the work
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
