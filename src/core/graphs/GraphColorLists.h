#pragma once

// The two colour lists that every chart shares, kept in the graph-template database: a colour for
// each material type (the material-type charts) and one for each GraphVariable code (the oxide
// charts). An entry gives a colour index of the chart palette (0 black ... 15 white, up to 127),
// a fill pattern and whether the pattern is drawn together with the colour.

#include <string>
#include <string_view>
#include <vector>

struct CMaterialTypeColor {
    std::string m_name;       // the material type
    int color = 0;
    int pattern = 0;
    int colorWithPattern = 0; // flag

    bool operator==(const CMaterialTypeColor&) const = default;
};

struct COxideColor {
    int code = 0;             // GraphVariable code
    int color = 0;
    int pattern = 0;
    int colorWithPattern = 0; // flag

    bool operator==(const COxideColor&) const = default;
};

// The chart colour and fill pattern of a colour-list entry {color, pattern, colorWithPattern}.
// In a monochrome chart: black with a pattern, white without one; pattern p (1..6, 8..) becomes
// p + 1, patterns 0 and 7 none. In colour: the entry's colour, except white for an entry that
// uses its pattern and has none; the pattern only when the entry uses it.
struct CChartColor {
    int color = 0;
    int pattern = 0;
    bool operator==(const CChartColor&) const = default;
};
CChartColor ApplyColorRule(int color, int pattern, int colorWithPattern, bool mono);

class CMaterialTypeColorList : public std::vector<CMaterialTypeColor> {
public:
    int GetCount() const { return static_cast<int>(size()); }

    // Nine entries without patterns: frit, feldspar, clay, flux, opacifier, alumina, silica,
    // colorant and miscellaneous.
    void SetDefaults();
    // Inserts a copy before n (0..count, else nothing); InsertAfter inserts after n.
    void InsertAt(int n, const CMaterialTypeColor& entry);
    void InsertAfter(int n, const CMaterialTypeColor& entry) { InsertAt(n + 1, entry); }
    // The first entry of the type, ignoring case, or null.
    const CMaterialTypeColor* Find(std::string_view type) const;
};

// Entry i describes code i; a file may hold fewer than 128 entries (or more, or other codes).
class COxideColorList : public std::vector<COxideColor> {
public:
    int GetCount() const { return static_cast<int>(size()); }

    // 128 entries without patterns; the oxides take the colour of their role in the current
    // element table (alkali 11, neutral 10, acid 12, volatile 8, else 0), the totals and
    // remainders the colour of their group, the other variables 7 or 0.
    void SetDefaults();
    void InsertAt(int n, const COxideColor& entry);
    // The entry at position code; null for a code outside 0..127 or beyond the list.
    const COxideColor* GetAt(int code) const;
};
