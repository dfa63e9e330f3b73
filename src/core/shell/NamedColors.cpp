#include "shell/NamedColors.h"

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/Profile.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr const char* kColorsSection = "Colors";

struct BuiltInColor {
    const char* name;
    CColor base;
    int fixed;
    const char* monoSubstitute;
};

constexpr std::array<BuiltInColor, kNamedColorCount> kBuiltInColors{{
    {"el_alk", {128, 192, 255}, 0, "mono_ltgray"},
    {"el_alkamph", {128, 224, 255}, 0, "mono_ltgray"},
    {"el_neut", {128, 255, 128}, 0, "mono_ltgray"},
    {"el_acidamph", {255, 192, 192}, 0, "mono_ltgray"},
    {"el_acid", {255, 128, 128}, 0, "mono_ltgray"},
    {"el_volatile", {224, 224, 224}, 0, "mono_mdgray"},
    {"el_notexp", {192, 192, 192}, 0, "mono_mdgray"},
    {"elv_bkg", {128, 128, 128}, 0, "mono_dkgray"},
    {"elv_infoarea", {192, 192, 192}, 0, "mono_ltgray"},
    {"elv_infobut", {192, 192, 192}, 0, "mono_ltgray"},
    {"mat_list", {192, 255, 192}, 0, "mono_mdgray"},
    {"mat_but", {192, 255, 192}, 0, "mono_mdgray"},
    {"med_bkg", {192, 255, 192}, 0, "mono_ltgray"},
    {"sub_list", {255, 192, 192}, 0, "mono_mdgray"},
    {"sed_bkg", {255, 192, 224}, 0, "mono_ltgray"},
    {"glz_list", {224, 192, 255}, 0, "mono_mdgray"},
    {"glz_bkg", {224, 192, 255}, 0, "mono_ltgray"},
    {"gan_bkg", {224, 255, 192}, 0, "mono_mdgray"},
    {"gan_but", {224, 255, 192}, 0, "mono_mdgray"},
    {"ganr_bkg", {255, 224, 192}, 0, "mono_mdgray"},
    {"ganr_but", {255, 224, 192}, 0, "mono_mdgray"},
    {"ged_tab", {224, 192, 255}, 0, "mono_ltgray"},
    {"ged_bkg", {128, 128, 255}, 0, "mono_mdgray"},
    {"lim_list", {255, 255, 192}, 0, "mono_mdgray"},
    {"lim_bkg", {255, 255, 192}, 0, "mono_ltgray"},
    {"led_tab", {255, 255, 192}, 0, "mono_ltgray"},
    {"led_bkg", {224, 224, 128}, 0, "mono_mdgray"},
    {"grt_list", {0, 224, 224}, 0, "mono_mdgray"},
    {"grt_bkg", {0, 224, 224}, 0, "mono_ltgray"},
    {"grted_tab", {0, 128, 255}, 0, "mono_ltgray"},
    {"grted_bkg", {0, 128, 224}, 0, "mono_mdgray"},
    {"dlg_misc_bkg", {192, 192, 192}, 0, "mono_mdgray"},
    {"dlg_file_bkg", {192, 192, 224}, 0, "mono_mdgray"},
    {"dlg_elinfo_bkg", {192, 192, 192}, 0, "mono_mdgray"},
    {"dlg_batch_bkg", {0, 0, 0}, 0, "mono_mdgray"},
    {"dlg_pref_tab", {255, 224, 192}, 0, "mono_ltgray"},
    {"dlg_pref_bkg", {255, 128, 64}, 0, "mono_mdgray"},
    {"mono_black", {0, 0, 0}, 1, nullptr},
    {"mono_dkgray", {128, 128, 128}, 1, nullptr},
    {"mono_mdgray", {192, 192, 192}, 1, nullptr},
    {"mono_ltgray", {224, 224, 224}, 1, nullptr},
    {"mono_white", {255, 255, 255}, 1, nullptr},
}};

std::array<CNamedColor, kNamedColorCount> BuiltInTable()
{
    std::array<CNamedColor, kNamedColorCount> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const BuiltInColor& entry = kBuiltInColors[i];
        table[i] = CNamedColor{entry.name, CColor(), entry.base, entry.fixed, entry.monoSubstitute, 0};
    }
    return table;
}

std::uint32_t s_paletteFlag = 0; // true-colour display until told otherwise

const CNamedColor* FindNamedColor(std::string_view name)
{
    for (const CNamedColor& entry : g_namedColors)
        if (EqualsNoCase(entry.name, name))
            return &entry;
    return nullptr;
}

// One "%ld" conversion: blanks, an optional sign and at least one digit. Saturates far beyond
// the channel range so that clamping gives the right end.
bool ScanLong(const std::string& text, std::size_t& pos, long& value)
{
    while (pos < text.size() && IsWhitespaceChar(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    const std::size_t digits = pos;
    long magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), static_cast<long>(INT_MAX));
        ++pos;
    }
    value = negative ? -magnitude : magnitude;
    return pos > digits;
}

// "red,green,blue" as three numbers (anything after the third is ignored); false when the
// text does not start with three numbers separated by commas.
bool ParseColorText(const std::string& text, CColor& color)
{
    long channels[3] = {0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (pos >= text.size() || text[pos++] != ','))
            return false;
        if (!ScanLong(text, pos, channels[i]))
            return false;
    }
    // Each channel on its own: a value past 255 must not spill into the next channel.
    auto clamp = [](long v) { return static_cast<std::uint8_t>(std::clamp(v, 0L, 255L)); };
    color = CColor(clamp(channels[0]), clamp(channels[1]), clamp(channels[2]));
    return true;
}

std::string ColorText(const CColor& color)
{
    return std::to_string(color.r) + "," + std::to_string(color.g) + "," + std::to_string(color.b);
}

constexpr CColor Hex(std::uint32_t rgb)
{
    return CColor(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                  static_cast<std::uint8_t>(rgb & 0xFF));
}

} // namespace

std::array<CNamedColor, kNamedColorCount> g_namedColors = BuiltInTable();

// Written as red-green-blue hexadecimal, light to dark.
const std::array<CColor, kPaletteSize> g_palette{{
    Hex(0xFFFFFF), Hex(0xFFE0E0), Hex(0xE0FFE0), Hex(0xE0E0FF), Hex(0xE0E0E0), Hex(0xFFC0C0),
    Hex(0xC0FFC0), Hex(0xC0C0FF), Hex(0xC0C0C0), Hex(0xC000FF), Hex(0xFFC000), Hex(0xC0FF00),
    Hex(0xFF00C0), Hex(0x00FFC0), Hex(0x808080), Hex(0x000000), Hex(0xFFFFE0), Hex(0xFFE0FF),
    Hex(0xE0FFFF), Hex(0xFFC0FF), Hex(0xFFFFC0), Hex(0xC0FFFF), Hex(0xFFE0C0), Hex(0xFFC0E0),
    Hex(0xE0C0FF), Hex(0xE0FFC0), Hex(0xC0FFE0), Hex(0xC0E0FF), Hex(0xE0C0E0), Hex(0xE0E0C0),
    Hex(0xC0E0E0), Hex(0xFFFF80), Hex(0xFF80FF), Hex(0x80FFFF), Hex(0xE0C0C0), Hex(0xC0C0E0),
    Hex(0xC0E0C0), Hex(0xFFE080), Hex(0xE0FF80), Hex(0xE080FF), Hex(0xFF80E0), Hex(0x80FFE0),
    Hex(0x80E0FF), Hex(0xE0E080), Hex(0xE080E0), Hex(0x80E0E0), Hex(0xFFC080), Hex(0xFF80C0),
    Hex(0x80FFC0), Hex(0xC0FF80), Hex(0xC080FF), Hex(0x80C0FF), Hex(0xFFFF40), Hex(0xFF40FF),
    Hex(0x40FFFF), Hex(0xC080E0), Hex(0xE0C080), Hex(0x80E0C0), Hex(0xC0E080), Hex(0x80C0E0),
    Hex(0xE080C0), Hex(0xFF40E0), Hex(0xE040FF), Hex(0xE0FF40), Hex(0xFFE040), Hex(0x40FFE0),
    Hex(0x40E0FF), Hex(0xC080C0), Hex(0x80C0C0), Hex(0xC0C080), Hex(0xE040E0), Hex(0xE0E040),
    Hex(0x40E0E0), Hex(0xFFC040), Hex(0x80FF80), Hex(0x8080FF), Hex(0xFF8080), Hex(0xC040FF),
    Hex(0x40FFC0), Hex(0xC0FF40), Hex(0xFF40C0), Hex(0x40C0FF), Hex(0xFF00FF), Hex(0xFFFF00),
    Hex(0x00FFFF), Hex(0xE08080), Hex(0x80E080), Hex(0xE040C0), Hex(0xC0E040), Hex(0xC040E0),
    Hex(0x40E0C0), Hex(0xE0C040), Hex(0x40C0E0), Hex(0x8080E0), Hex(0xFF00E0), Hex(0xFFE000),
    Hex(0xE000FF), Hex(0xE0FF00), Hex(0x00FFE0), Hex(0x00E0FF), Hex(0xC08080), Hex(0xE0E000),
    Hex(0x8080C0), Hex(0xE000E0), Hex(0x40C0C0), Hex(0xC040C0), Hex(0xC0C040), Hex(0x80C080),
    Hex(0x00E0E0), Hex(0xFF8040), Hex(0x8040FF), Hex(0x4080FF), Hex(0x80FF40), Hex(0x40FF80),
    Hex(0xFF4080), Hex(0x00C0FF), Hex(0xE08040), Hex(0xC000E0), Hex(0xE0C000), Hex(0x4080E0),
    Hex(0xC0E000), Hex(0xE000C0), Hex(0x80E040), Hex(0xE04080), Hex(0x40E080), Hex(0x00E0C0),
    Hex(0x8040E0), Hex(0x00C0E0), Hex(0x4080C0), Hex(0x8040C0), Hex(0xC0C000), Hex(0xC000C0),
    Hex(0xC04080), Hex(0x40C080), Hex(0xC08040), Hex(0x80C040), Hex(0x00C0C0), Hex(0xFF4040),
    Hex(0x00FF80), Hex(0xFF8000), Hex(0x80FF00), Hex(0xFF0080), Hex(0x4040FF), Hex(0x40FF40),
    Hex(0x8000FF), Hex(0x0080FF), Hex(0x8000E0), Hex(0xE04040), Hex(0x4040E0), Hex(0x00E080),
    Hex(0xE08000), Hex(0x80E000), Hex(0xE00080), Hex(0x40E040), Hex(0x0080E0), Hex(0xC00080),
    Hex(0xC04040), Hex(0xC08000), Hex(0x408080), Hex(0x804080), Hex(0x80C000), Hex(0x4040C0),
    Hex(0x808040), Hex(0x00C080), Hex(0x8000C0), Hex(0x40C040), Hex(0x0080C0), Hex(0xFF0040),
    Hex(0xFF4000), Hex(0x4000FF), Hex(0x00FF40), Hex(0x40FF00), Hex(0x0040FF), Hex(0xE00040),
    Hex(0x00E040), Hex(0x40E000), Hex(0xE04000), Hex(0x4000E0), Hex(0x0040E0), Hex(0x408040),
    Hex(0xC04000), Hex(0x40C000), Hex(0x808000), Hex(0x00C040), Hex(0x404080), Hex(0xC00040),
    Hex(0x800080), Hex(0x008080), Hex(0x4000C0), Hex(0x804040), Hex(0x0040C0), Hex(0x00FF00),
    Hex(0xFF0000), Hex(0x0000FF), Hex(0x00E000), Hex(0xE00000), Hex(0x0000E0), Hex(0x404040),
    Hex(0x800040), Hex(0x008040), Hex(0xC00000), Hex(0x804000), Hex(0x00C000), Hex(0x004080),
    Hex(0x400080), Hex(0x408000), Hex(0x0000C0), Hex(0x008000), Hex(0x004040), Hex(0x400040),
    Hex(0x800000), Hex(0x404000), Hex(0x000080), Hex(0x400000), Hex(0x004000), Hex(0x000040),
}};

CColor GetNamedColor(std::string_view name)
{
    const CNamedColor* entry = FindNamedColor(name);
    return entry ? entry->current : kUnknownNamedColor;
}

std::uint32_t GetNamedColorRef(std::string_view name)
{
    const CNamedColor* entry = FindNamedColor(name);
    return entry ? entry->current.ToColorRef() | entry->currentFlags : kUnknownNamedColor.ToColorRef();
}

void LoadNamedColors()
{
    CProfile* profile = GetProfile();
    if (!profile)
        return;
    for (CNamedColor& entry : g_namedColors) {
        CColor color;
        if (ParseColorText(profile->GetString(kColorsSection, entry.name, std::string()), color))
            entry.base = color;
    }
    for (const CNamedColor& entry : g_namedColors)
        profile->WriteString(kColorsSection, entry.name, ColorText(entry.base));
}

void ResetNamedColors()
{
    g_namedColors = BuiltInTable();
}

void SetNamedColorDisplay(bool hasPalette, int paletteSize)
{
    s_paletteFlag = hasPalette && (paletteSize >= 16 || paletteSize <= 0) ? kPaletteRelativeFlag : 0;
}

std::uint32_t GetNamedColorPaletteFlag()
{
    return s_paletteFlag;
}

void CPreferences::ApplyColorScheme() const
{
    const bool multicolor = coltyp != 0;
    for (CNamedColor& entry : g_namedColors) {
        if (multicolor || entry.fixed) {
            entry.current = entry.base;
            entry.currentFlags = s_paletteFlag;
        }
    }
    if (multicolor)
        return;
    // Fixed greys are in place; every other entry takes its substitute's colour.
    for (CNamedColor& entry : g_namedColors) {
        if (entry.fixed)
            continue;
        const CNamedColor* substitute = entry.monoSubstitute ? FindNamedColor(entry.monoSubstitute) : nullptr;
        entry.current = substitute ? substitute->current : kUnknownNamedColor;
        entry.currentFlags = s_paletteFlag;
    }
}
