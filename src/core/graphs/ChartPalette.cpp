#include "graphs/ChartPalette.h"

namespace {

// Saturation and value of colour sets 1 to 7.
constexpr double kSetSaturation[7] = {0.3, 0.55, 0.8, 1.0, 1.0, 1.0, 1.0};
constexpr double kSetValue[7] = {1.0, 1.0, 1.0, 1.0, 0.8, 0.6, 0.4};

constexpr CGraphPaletteEntry kClassic[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0},
};

constexpr std::uint8_t ToByte(double channel)
{
    const double scaled = channel * 255.0 + 0.5;
    return static_cast<std::uint8_t>(scaled < 0.0 ? 0.0 : scaled > 255.0 ? 255.0 : scaled);
}

// Hue in sixteenths of the colour circle, red first.
constexpr CGraphPaletteEntry FromHsv(int hue, double saturation, double value)
{
    const double h = hue * 6.0 / 16.0; // 0 .. 6
    const int sector = static_cast<int>(h);
    const double f = h - sector;
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (sector) {
    case 1: r = q; g = value; b = p; break;
    case 2: r = p; g = value; b = t; break;
    case 3: r = p; g = q; b = value; break;
    case 4: r = t; g = p; b = value; break;
    case 5: r = value; g = p; b = q; break;
    default: break;
    }
    return {ToByte(r), ToByte(g), ToByte(b), 0};
}

constexpr std::array<CGraphPaletteEntry, kGraphPaletteSize> MakePalette()
{
    std::array<CGraphPaletteEntry, kGraphPaletteSize> palette{};
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = kClassic[i];
    for (int set = 1; set < 8; ++set) {
        for (int hue = 0; hue < 16; ++hue)
            palette[static_cast<std::size_t>(set * 16 + hue)] =
                FromHsv(hue, kSetSaturation[set - 1], kSetValue[set - 1]);
    }
    return palette;
}

} // namespace

constinit const std::array<CGraphPaletteEntry, kGraphPaletteSize> g_graphPalette = MakePalette();

CColor GraphPaletteColor(int index)
{
    if (index < 0 || index >= kGraphPaletteSize)
        return CColor();
    const CGraphPaletteEntry& entry = g_graphPalette[static_cast<std::size_t>(index)];
    return CColor(entry.red, entry.green, entry.blue);
}
