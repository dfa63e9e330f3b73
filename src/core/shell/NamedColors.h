#pragma once

// The program's colours by name: every window, list, page tab and dialog background takes its
// colour from one table of 42 named colours. The user may override each base colour in the
// profile (section "Colors"), and the preference `coltyp` switches the whole program between
// its colours (Multicolor) and shades of grey (Monochrome). The 216-colour palette table feeds
// the program palette on palette displays.

#include <array>
#include <cstdint>
#include <string_view>

// A colour of 8-bit red, green and blue channels.
struct CColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    constexpr CColor() = default;
    constexpr CColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) : r(red), g(green), b(blue) {}

    // The packed form red + green * 256 + blue * 65536, and back (higher bits are dropped).
    constexpr std::uint32_t ToColorRef() const
    {
        return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
               (static_cast<std::uint32_t>(b) << 16);
    }
    static constexpr CColor FromColorRef(std::uint32_t value)
    {
        return CColor(static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                      static_cast<std::uint8_t>((value >> 16) & 0xFF));
    }
    constexpr bool operator==(const CColor&) const = default;
};

inline constexpr CColor kUnknownNamedColor{192, 192, 192}; // light grey for a name not in the table

// The flag a colour carries on a palette display: the colour is taken from the program palette.
inline constexpr std::uint32_t kPaletteRelativeFlag = 0x02000000;

struct CNamedColor {
    const char* name;         // key for callers and in the profile
    CColor current;           // what GetNamedColor returns; black until the scheme is applied
    CColor base;              // the built-in colour, replaced by the profile's
    int fixed;                // 1: a grey that keeps its base colour in both schemes
    const char* monoSubstitute; // the grey entry used in Monochrome; null for fixed entries
    std::uint32_t currentFlags; // kPaletteRelativeFlag or 0, set with the current colour
};

inline constexpr int kNamedColorCount = 42;
extern std::array<CNamedColor, kNamedColorCount> g_namedColors;

// The current colour of the first entry whose name equals name ignoring case; light grey for
// an unknown name.
CColor GetNamedColor(std::string_view name);
// The same as a packed colour value with the entry's palette flag (0xC0C0C0 when unknown).
std::uint32_t GetNamedColorRef(std::string_view name);

// Reads every base colour from the profile's "Colors" section ("red,green,blue"; values
// outside 0..255 are clamped per channel; other texts keep the colour as it is) and writes
// every base colour back, so that the profile lists all 42. Without a profile nothing is read
// or written.
void LoadNamedColors();

// Puts every entry back to its built-in base colour, current colours black (for tests and a
// fresh start).
void ResetNamedColors();

// The display the colours are painted on: palette flag kPaletteRelativeFlag for a display with
// a palette of 16 or more entries or of unknown size (0 or less), else 0. True-colour displays
// (the default) use no flag. Takes effect at the next CPreferences::ApplyColorScheme.
void SetNamedColorDisplay(bool hasPalette, int paletteSize);
std::uint32_t GetNamedColorPaletteFlag();

// The program palette: 216 distinct colours from light to dark; the main frame fills a palette
// from its first entries on palette displays.
inline constexpr int kPaletteSize = 216;
extern const std::array<CColor, kPaletteSize> g_palette;
