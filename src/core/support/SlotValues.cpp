#include "support/SlotValues.h"

#include <algorithm>
#include <bit>

CSlotValues::CSlotValues(const CSlotValues& other) : m_mask{other.m_mask[0], other.m_mask[1]}
{
    const int count = other.Count();
    if (count > 0) {
        m_values = Allocate(count);
        std::copy_n(other.m_values.get(), count, m_values.get());
    }
}

CSlotValues& CSlotValues::operator=(const CSlotValues& other)
{
    if (this != &other)
        *this = CSlotValues(other);
    return *this;
}

void CSlotValues::Set(std::size_t slot, double value)
{
    if (slot >= kMaxSlots)
        return;
    const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
    const std::size_t index = PackedIndex(slot);
    if (m_mask[slot / 64] & bit) {
        m_values[index] = value;
        return;
    }
    if (!IsHeld(value))
        return;
    const int count = Count();
    if (m_values && count + 1 <= Room(count)) {
        std::copy_backward(m_values.get() + index, m_values.get() + count, m_values.get() + count + 1);
        m_values[index] = value;
    } else {
        auto values = Allocate(count + 1);
        std::copy_n(m_values.get(), index, values.get());
        values[index] = value;
        std::copy(m_values.get() + index, m_values.get() + count, values.get() + index + 1);
        m_values = std::move(values);
    }
    m_mask[slot / 64] |= bit;
}

void CSlotValues::Assign(const double* values, int count)
{
    count = std::clamp(count, 0, kMaxSlots);
    // A record holds a few values among many zeros: a block of eight slots whose bits are all
    // zero is passed over with one test.
    constexpr int kBlock = 8;
    Mask mask = {0, 0};
    for (int first = 0; first < count; first += kBlock) {
        const int end = std::min(first + kBlock, count);
        std::uint64_t any = 0;
        for (int slot = first; slot < end; ++slot)
            any |= std::bit_cast<std::uint64_t>(values[slot]);
        if (any == 0)
            continue;
        for (int slot = first; slot < end; ++slot)
            mask[static_cast<std::size_t>(slot / 64)] |= std::uint64_t{IsHeld(values[slot])} << (slot % 64);
    }
    AssignHeld(values, mask);
}

void CSlotValues::AssignHeld(const double* values, const Mask& mask)
{
    const int held = std::popcount(mask[0]) + std::popcount(mask[1]);
    // The room is kept when the values fit: a record set again with no more values than its room
    // holds allocates nothing.
    if (held == 0)
        m_values.reset();
    else if (!m_values || held > Room(Count()))
        m_values = Allocate(held);
    m_mask[0] = mask[0];
    m_mask[1] = mask[1];
    double* packed = m_values.get();
    for (std::size_t word = 0; word < 2; ++word) {
        for (std::uint64_t bits = mask[word]; bits != 0; bits &= bits - 1)
            *packed++ = values[word * 64 + static_cast<std::size_t>(std::countr_zero(bits))];
    }
}

void CSlotValues::CopyTo(double* values, int count) const
{
    count = std::max(count, 0);
    std::fill(values, values + count, 0.0);
    ForEach([&](int slot, double value) {
        if (slot < count)
            values[slot] = value;
    });
}

bool CSlotValues::operator==(const CSlotValues& other) const
{
    return m_mask[0] == other.m_mask[0] && m_mask[1] == other.m_mask[1] &&
           std::equal(m_values.get(), m_values.get() + Count(), other.m_values.get());
}

void CSlotValues::Clear()
{
    m_mask[0] = m_mask[1] = 0;
    m_values.reset();
}
