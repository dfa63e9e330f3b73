#pragma once

// One limit of a limit formula: bounds on the value of one oxide combination, by unity amount
// or by weight percent.
//
// The range text is the truth ("0.2 - 0.6", "> 0", ">= 1.5", "<= 3", ">= 1 <= 3"); the bounds are
// derived from it on first use and again after every change of the text (SetRange clears the
// parsed state). Grammar, tried in this order:
//   "<min> - <max>"  the separator " - " anywhere in the text: both bounds, both inclusive;
//   otherwise "> <n>" (exclusive) or ">= <n>" (inclusive) for the minimum, and independently
//   "< <n>" (exclusive) or "<= <n>" (inclusive) for the maximum.
// Numbers are read as their decimal prefix (nothing readable gives 0; no hexadecimal, no inf or
// nan), whatever the locale.

#include <memory>
#include <string>
#include <vector>

class COxideAmounts;

class CLimit {
public:
    // Combine modes; any value other than kUnion intersects.
    static constexpr int kUnion = 1;
    static constexpr int kIntersection = 2;

    // Stores the three values and parses the range.
    explicit CLimit(std::string comboName = std::string(), std::string range = std::string(),
                    int byPercent = 0);

    const std::string& GetRange() const { return m_range; }
    // Replaces the range text; the next use parses it again.
    void SetRange(std::string range);

    // Derives the bounds from the range text when they are not yet derived. 0 when the text
    // gives at least one bound, else 1.
    int ParseRange() const;

    // A missing bound never fails; a limit without bounds passes every value.
    bool IsWithin(double value) const;
    // Looks the combination up (ignoring case) in the current limit-formula database and tests
    // its value; false when there is no such combination.
    bool IsAnalysisWithin(const COxideAmounts& analysis) const;

    // Widens (kUnion) or narrows (any other mode) this range with other's and rewrites the range
    // text with the decimals of the preferences "declimformulas" and "tzslimformulas". Returns 1,
    // leaving the text unchanged, when the result would have no bound at all; else 0.
    int Combine(const CLimit& other, int mode);

    bool HasMinimum() const { return Parsed().m_hasMin; }
    bool HasMaximum() const { return Parsed().m_hasMax; }
    double GetMinimum() const { return Parsed().m_min; }
    double GetMaximum() const { return Parsed().m_max; }
    bool IsMinimumInclusive() const { return Parsed().m_minInclusive; }
    bool IsMaximumInclusive() const { return Parsed().m_maxInclusive; }

    std::string m_comboName; // the combination's name (file key "combo")
    int m_byPercent = 0;     // 1: by weight percent (file key "bypct")

private:
    const CLimit& Parsed() const
    {
        ParseRange();
        return *this;
    }

    std::string m_range;     // file key "range"
    mutable bool m_parsed = false;
    mutable double m_min = 0.0;
    mutable double m_max = 0.0;
    mutable bool m_hasMin = false;
    mutable bool m_hasMax = false;
    mutable bool m_minInclusive = false;
    mutable bool m_maxInclusive = false;
};

// The limits of one formula, in the user's order; owns them. Copies are deep. Positions outside
// 0..count - 1 (0..count for an insert) are ignored.
class CLimitArray {
public:
    CLimitArray() = default;
    CLimitArray(const CLimitArray& other);
    CLimitArray& operator=(const CLimitArray& other);
    CLimitArray(CLimitArray&&) noexcept = default;
    CLimitArray& operator=(CLimitArray&&) noexcept = default;
    ~CLimitArray() = default;

    int GetCount() const { return static_cast<int>(m_limits.size()); }
    bool IsValidIndex(int n) const { return n >= 0 && n < GetCount(); }
    // Valid indexes only.
    CLimit& GetAt(int n) { return *m_limits[static_cast<std::size_t>(n)]; }
    const CLimit& GetAt(int n) const { return *m_limits[static_cast<std::size_t>(n)]; }

    void RemoveAt(int n);
    // Inserts a copy before n.
    void InsertAt(int n, const CLimit& limit);
    // Appends a copy.
    void Add(const CLimit& limit);
    void RemoveAll() { m_limits.clear(); }

private:
    std::vector<std::unique_ptr<CLimit>> m_limits;
};
