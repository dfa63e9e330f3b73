#include "graphs/ChartThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

// Every part is done once, whatever the number of cores; a part that fails fails the whole, on
// the caller's thread, after the other threads have stopped.
TEST(ChartThreadsTest, EveryPartIsDoneOnceAndAFailureReachesTheCaller)
{
    std::vector<std::atomic<int>> done(1000);
    RunInParts(done.size(), [&](std::size_t part) { ++done[part]; });
    for (const std::atomic<int>& count : done)
        ASSERT_EQ(count, 1);
    RunInParts(0, [](std::size_t) { FAIL() << "no parts, no calls"; });

    std::atomic<int> started{0};
    EXPECT_THROW(RunInParts(1000,
                            [&](std::size_t part) {
                                ++started;
                                if (part == 3)
                                    throw std::runtime_error("part 3");
                            }),
                 std::runtime_error);
    EXPECT_GE(started, 4);
}

} // namespace
