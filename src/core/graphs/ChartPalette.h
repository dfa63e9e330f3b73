#pragma once

// The 128-colour palette of charts: 8 colour sets of 16 colours, a colour index being
// set x 16 + colour. Set 0 holds the sixteen classic colours (0 black, 1 blue, 2 green, 3 cyan,
// 4 red, 5 magenta, 6 brown, 7 light grey, 8 dark grey, 9 light blue, 10 light green, 11 light
// cyan, 12 light red, 13 light magenta, 14 yellow, 15 white); sets 1 to 7 run through sixteen
// hues each, from pale (set 1) through full (set 4) to dark (set 7). Every chart starts with
// this palette; the colour lists, data sources and the style pickers name their colours by index.

#include "shell/NamedColors.h"

#include <array>
#include <cstdint>

inline constexpr int kGraphPaletteSize = 128;

// One entry as four bytes: red, green, blue and a zero.
struct CGraphPaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t zero = 0;
};

extern const std::array<CGraphPaletteEntry, kGraphPaletteSize> g_graphPalette;

// The colour of a palette index; black for an index outside 0..127.
CColor GraphPaletteColor(int index);
