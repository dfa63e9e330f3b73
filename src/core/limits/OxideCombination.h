#pragma once

// Oxide combinations: named quantities computed from a glaze's analysis. A combination is one
// item, a sum of items, the difference of two sums or the ratio of two sums, where an item is an
// element's oxide (1..103) or one of the totals LOI (104), alkalis (105), neutrals (106) and acids
// (107). Limits bound a combination's value, graphs plot it, and Make Limit Formula gathers its
// statistics.
//
// The formula text is the truth; the kind, the first item and the two item sets are derived
// from it on first use and again after every change of the text (SetFormula clears the parsed
// state). The derived state is a cache, so reading a const combination may fill it.
//
// The combination list lives in the limit-formula database; limits name their combination by
// text and look it up there, ignoring case.

#include "support/NamedItemList.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class COxideAmounts;

class COxideCombination {
public:
    // Kinds of a parsed formula.
    enum Kind : int { kSingle = 0, kSum = 1, kDifference = 2, kRatio = 3 };

    // Item numbers besides the element numbers 1..103.
    static constexpr int kItemLoi = 104;
    static constexpr int kItemAlkalis = 105;
    static constexpr int kItemNeutrals = 106;
    static constexpr int kItemAcids = 107;
    static constexpr int kLastItem = 107;
    // Value of a ratio whose denominator is 0.
    static constexpr double kRatioOverflow = 999.99;

    // 128 bits: bit i (bit i mod 8 of byte i / 8) stands for item i.
    using ItemSet = std::array<std::uint8_t, 16>;

    // Stores the four values and parses the formula at once.
    explicit COxideCombination(std::string name = std::string(), std::string formula = std::string(),
                               double plotMin = 0.0, double plotMax = 0.0);

    const std::string& GetFormula() const { return m_formula; }
    // Replaces the formula text; the next use parses it again.
    void SetFormula(std::string formula);

    // Fills the kind, the first item and the two sets from the formula text when they are not
    // yet derived from it. Always 0.
    int Parse() const;
    // Empties set, scans text for items and sets their bits; every recognised token also becomes
    // the first item while there is none. Returns the number of tokens recognised (a repeated
    // token counts again).
    int ParseItems(std::string_view text, ItemSet& set) const;

    // The combination on one analysis: by unity amounts, or with byPercent by weight percent
    // (a ratio then divides the bare weight fractions). 0 on an analysis that is not valid.
    double GetValue(const COxideAmounts& analysis, bool byPercent) const;

    // True when the combination is the sum of sodium and potassium and of no other element (the
    // totals 104..107 are not looked at): the optimizer then treats a limit on it as a limit on
    // the combined KNaO entry.
    bool IsSodiumPlusPotassium() const;

    int GetKind() const;
    int GetFirstItem() const;
    const ItemSet& GetSetA() const;
    const ItemSet& GetSetB() const;
    bool IsParsed() const { return m_parsed; }

    static bool HasItem(const ItemSet& set, int item);

    std::string m_name;     // shown and looked up ("KNaO", "Si:Al")
    double m_plotMin = 0.0; // axis range when the combination is plotted
    double m_plotMax = 0.0;

private:
    static void AddItem(ItemSet& set, int item);
    // The sum of the item values of set (items 1..107).
    static double SumItems(const ItemSet& set, const double* values, double scale);

    std::string m_formula;  // "Na+K", "Si/Al"
    mutable bool m_parsed = false;
    mutable int m_kind = kSingle;
    mutable int m_firstItem = -1;
    mutable ItemSet m_setA{};
    mutable ItemSet m_setB{};
};

// The combination list of a limit-formula database: owns its records. Positions outside
// 0..count - 1 (0..count for an insert) are ignored.
class COxideCombinationArray : public CNamedItemList<COxideCombination> {
public:
    COxideCombinationArray() = default;
    // Deep copies.
    COxideCombinationArray(const COxideCombinationArray& other);
    COxideCombinationArray& operator=(const COxideCombinationArray& other);
    COxideCombinationArray(COxideCombinationArray&&) noexcept = default;
    COxideCombinationArray& operator=(COxideCombinationArray&&) noexcept = default;
    ~COxideCombinationArray() = default;

    // Valid indexes only.
    COxideCombination& GetAt(int n) { return *(*this)[static_cast<std::size_t>(n)]; }
    const COxideCombination& GetAt(int n) const { return *(*this)[static_cast<std::size_t>(n)]; }

    void RemoveAt(int n);
    // Stores a new copy of combination before n.
    void InsertAt(int n, const COxideCombination& combination);
    // Appends a new copy.
    void Add(const COxideCombination& combination);
    // Assigns combination into the record at n.
    void SetAt(int n, const COxideCombination& combination);

    // Orders the records at i and j: by name (empty names last, otherwise ignoring case), or by
    // role: single items before sums, sums before differences, differences before ratios; within
    // a kind by the role group, priority and number of the first item's element; combinations
    // led by LOI or a total after those, and combinations without items last. -1, 0 or 1; 0 when
    // an index is out of range.
    int Compare(int i, int j, bool byName) const;
};
