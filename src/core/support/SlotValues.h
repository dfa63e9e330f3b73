#pragma once

// Numbers at slots 0..127 of which only a few are not zero: a material's or a glaze's values per
// element, where a recipe names a handful of the 104 elements. A record keeps its few values
// instead of a whole array: a bit mask of the slots held and their values packed in slot order,
// so reading a slot costs a mask test and a population count, and a slot never set reads 0.
//
// Only zeros are left out (a negative zero is held, so every value reads back exactly as it was
// given). Values are usually made once, from a full array; Set and the writable element add one
// slot at a time.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

class CSlotValues {
public:
    static constexpr int kMaxSlots = 128;

    // A writable slot: assigning stores the value, reading reads it.
    class Ref {
    public:
        Ref(CSlotValues& values, std::size_t slot) : m_values(values), m_slot(slot) {}
        Ref& operator=(double value)
        {
            m_values.Set(m_slot, value);
            return *this;
        }
        Ref& operator=(const Ref& other) { return *this = static_cast<double>(other); }
        Ref& operator+=(double value) { return *this = static_cast<double>(*this) + value; }
        operator double() const { return m_values.Get(m_slot); }

    private:
        CSlotValues& m_values;
        std::size_t m_slot;
    };

    CSlotValues() = default;
    // The values of slots 0..count - 1 (count at most kMaxSlots).
    CSlotValues(const double* values, int count) { Assign(values, count); }
    template <std::size_t N>
    explicit CSlotValues(const std::array<double, N>& values) { Assign(values.data(), static_cast<int>(N)); }
    CSlotValues(const CSlotValues& other);
    CSlotValues& operator=(const CSlotValues& other);
    CSlotValues(CSlotValues&&) noexcept = default;
    CSlotValues& operator=(CSlotValues&&) noexcept = default;
    ~CSlotValues() = default;

    // The value of slot, 0 for a slot not held or outside 0..127.
    double Get(std::size_t slot) const
    {
        if (slot >= kMaxSlots)
            return 0.0;
        const std::uint64_t word = m_mask[slot / 64];
        const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
        if (!(word & bit))
            return 0.0;
        return m_values[PackedIndex(slot)];
    }
    double operator[](std::size_t slot) const { return Get(slot); }
    Ref operator[](std::size_t slot) { return Ref(*this, slot); }

    // Stores value at slot (outside 0..127: nothing).
    void Set(std::size_t slot, double value);
    // Replaces every value by those of slots 0..count - 1 (count at most kMaxSlots).
    void Assign(const double* values, int count);
    // Replaces every value by those of the slots of held, each of which the caller knows to be
    // held (IsHeld); every other slot then reads 0.
    void AssignHeld(const double* values, const std::array<std::uint64_t, 2>& held);
    // Whether a value is kept: every value but +0.0 (a negative zero reads back as it was given).
    static bool IsHeld(double value) { return std::bit_cast<std::uint64_t>(value) != 0; }
    // Writes slots 0..count - 1 into values, zeros included.
    void CopyTo(double* values, int count) const;
    template <std::size_t N>
    std::array<double, N> ToArray() const
    {
        std::array<double, N> values{};
        CopyTo(values.data(), static_cast<int>(N));
        return values;
    }
    // Drops every value.
    void Clear();

    // The same slots held with equal values.
    bool operator==(const CSlotValues& other) const;

    // The number of slots held.
    int Count() const { return std::popcount(m_mask[0]) + std::popcount(m_mask[1]); }

    // The slots held, one bit per slot: slot s is bit s % 64 of word s / 64. Masks of several
    // arrays joined with | give the slots where any of them may not be zero.
    using Mask = std::array<std::uint64_t, 2>;
    Mask Held() const { return {m_mask[0], m_mask[1]}; }
    // Calls visit(slot) for every slot of mask from first to last (both included), ascending.
    template <typename Visit>
    static void ForEachSlot(const Mask& mask, int first, int last, Visit&& visit)
    {
        for (int word = 0; word < 2; ++word) {
            for (std::uint64_t bits = mask[static_cast<std::size_t>(word)]; bits != 0; bits &= bits - 1) {
                const int slot = word * 64 + std::countr_zero(bits);
                if (slot > last)
                    return;
                if (slot >= first)
                    visit(slot);
            }
        }
    }
    // Calls visit(slot, value) for every slot held, in ascending order.
    template <typename Visit>
    void ForEach(Visit&& visit) const
    {
        int index = 0;
        for (int word = 0; word < 2; ++word) {
            for (std::uint64_t bits = m_mask[word]; bits != 0; bits &= bits - 1)
                visit(word * 64 + std::countr_zero(bits), m_values[static_cast<std::size_t>(index++)]);
        }
    }

private:
    // The values of count slots are kept in room for Room(count) values: glibc's smallest block
    // takes three doubles, and each larger one two more, so the room costs no byte more than
    // the values themselves, and a record set again with a few more values often still fits.
    static int Room(int count) { return count <= 0 ? 0 : count <= 3 ? 3 : count | 1; }
    static std::unique_ptr<double[]> Allocate(int count)
    {
        return std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(Room(count)));
    }

    // The position of a held slot among the packed values.
    std::size_t PackedIndex(std::size_t slot) const
    {
        const std::uint64_t below = (std::uint64_t{1} << (slot % 64)) - 1;
        const int before = slot < 64 ? 0 : std::popcount(m_mask[0]);
        return static_cast<std::size_t>(before + std::popcount(m_mask[slot / 64] & below));
    }

    std::uint64_t m_mask[2] = {0, 0};
    std::unique_ptr<double[]> m_values;
};
