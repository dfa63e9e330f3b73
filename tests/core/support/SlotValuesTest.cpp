#include "support/SlotValues.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// Every slot reads back exactly what the full array held, across the word boundary at 64 and up
// to the last slot; a negative zero keeps its sign, a plain zero is not held.
TEST(SlotValuesTest, ReadsBackEveryValueOfTheFullArray)
{
    std::array<double, CSlotValues::kMaxSlots> full{};
    full[0] = 0.25;
    full[8] = -0.0;
    full[14] = 3.0;
    full[63] = 1e-300;
    full[64] = -7.5;
    full[104] = std::numeric_limits<double>::infinity();
    full[127] = 42.0;
    const CSlotValues values(full);
    EXPECT_EQ(values.Count(), 7);
    for (std::size_t slot = 0; slot < full.size(); ++slot)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(values[slot]), std::bit_cast<std::uint64_t>(full[slot])) << slot;
    EXPECT_TRUE(std::signbit(values[8]));
    EXPECT_EQ(values[128], 0.0);
    EXPECT_EQ(values[100000], 0.0);
    EXPECT_EQ(values.ToArray<CSlotValues::kMaxSlots>(), full);

    std::vector<int> visited;
    values.ForEach([&](int slot, double) { visited.push_back(slot); });
    EXPECT_EQ(visited, (std::vector<int>{0, 8, 14, 63, 64, 104, 127}));
    visited.clear();
    CSlotValues::ForEachSlot(values.Held(), 1, 103, [&](int slot) { visited.push_back(slot); });
    EXPECT_EQ(visited, (std::vector<int>{8, 14, 63, 64}));
}

// Writing single slots keeps the others in order; copies are deep and compare equal.
TEST(SlotValuesTest, SetsSlotsOneByOneAndCopiesDeeply)
{
    CSlotValues values;
    values[20] = 0.5;
    values[11] = 0.2;
    values[104] = 0.1;
    values[20] += 0.25;
    values[30] = 0.0; // a zero in a slot not held adds nothing
    values.Set(200, 1.0);
    EXPECT_EQ(values.Count(), 3);
    EXPECT_EQ(values[11], 0.2);
    EXPECT_EQ(values[20], 0.75);
    EXPECT_EQ(values[104], 0.1);

    CSlotValues copy(values);
    copy[11] = 9.0;
    EXPECT_EQ(values[11], 0.2);
    EXPECT_FALSE(copy == values);
    copy = values;
    EXPECT_TRUE(copy == values);

    double dense[12];
    values.CopyTo(dense, 12);
    EXPECT_EQ(dense[11], 0.2);
    EXPECT_EQ(dense[10], 0.0);
    values.Assign(dense, 12); // slot 20 lies beyond the twelve given
    EXPECT_EQ(values.Count(), 1);
    EXPECT_EQ(values[20], 0.0);
    values.Clear();
    EXPECT_EQ(values.Count(), 0);
    EXPECT_EQ(values[11], 0.0);
}

// Values set in descending slot order each go in front of all the others, whether the room the
// values have takes one more or not; values assigned again, fewer and then more, read back
// exactly.
TEST(SlotValuesTest, KeepsTheOrderWhileTheValuesGrowAndShrink)
{
    CSlotValues values;
    for (int slot = 9; slot >= 1; --slot) {
        values.Set(static_cast<std::size_t>(slot), slot * 1.5);
        for (int held = slot; held <= 9; ++held)
            EXPECT_EQ(values[static_cast<std::size_t>(held)], held * 1.5) << slot << " " << held;
    }
    EXPECT_EQ(values.Count(), 9);

    std::array<double, 12> few{};
    few[2] = 0.5;
    few[7] = -2.0;
    values.Assign(few.data(), 12);
    EXPECT_EQ(values.ToArray<12>(), few);
    std::array<double, 12> more{};
    for (int slot = 0; slot < 12; ++slot)
        more[static_cast<std::size_t>(slot)] = slot % 3 == 0 ? 0.0 : slot + 0.25;
    values.Assign(more.data(), 12);
    EXPECT_EQ(values.Count(), 8);
    EXPECT_EQ(values.ToArray<12>(), more);
    values.Set(0, 7.0);
    values.Set(3, 8.0);
    more[0] = 7.0;
    more[3] = 8.0;
    EXPECT_EQ(values.ToArray<12>(), more);
}

} // namespace
