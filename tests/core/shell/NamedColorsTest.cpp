#include "shell/NamedColors.h"

#include "shell/Preferences.h"
#include "support/Profile.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>

namespace fs = std::filesystem;

// Readable failures: "(r, g, b)".
void PrintTo(const CColor& color, std::ostream* out)
{
    *out << '(' << int(color.r) << ", " << int(color.g) << ", " << int(color.b) << ')';
}

namespace {

class NamedColorsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-colors-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "Oxidarium.ini").string();
        ResetNamedColors();
    }
    void TearDown() override
    {
        SetProfile(nullptr);
        SetNamedColorDisplay(false, 0);
        ResetNamedColors();
        fs::remove_all(m_dir);
    }
    void WriteProfile(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }

    static void Apply(int coltyp)
    {
        CPreferences prefs;
        prefs.coltyp = coltyp;
        prefs.ApplyColorScheme();
    }

    fs::path m_dir;
    std::string m_path;
};

} // namespace

TEST_F(NamedColorsTest, LooksUpNamesIgnoringCase)
{
    EXPECT_EQ(GetNamedColor("dlg_misc_bkg"), CColor()) << "black until the scheme is applied";
    Apply(1);
    EXPECT_EQ(GetNamedColor("DLG_MISC_BKG"), CColor(192, 192, 192));
    EXPECT_EQ(GetNamedColor("Ged_Bkg"), CColor(128, 128, 255));
    EXPECT_EQ(GetNamedColor("dlg_batch_bkg"), CColor(0, 0, 0));
    EXPECT_EQ(GetNamedColor("no_such_colour"), CColor(192, 192, 192));
    EXPECT_EQ(GetNamedColor(""), CColor(192, 192, 192));
    EXPECT_EQ(GetNamedColorRef("el_alk"), 0xFFC080u); // red 128 + green 192 * 256 + blue 255 * 65536
    EXPECT_EQ(GetNamedColorRef("unknown"), 0xC0C0C0u);

    ASSERT_EQ(g_namedColors.size(), 42u);
    EXPECT_STREQ(g_namedColors.front().name, "el_alk");
    EXPECT_STREQ(g_namedColors.back().name, "mono_white");
    int fixed = 0;
    for (const CNamedColor& entry : g_namedColors) {
        fixed += entry.fixed;
        EXPECT_EQ(entry.fixed != 0, entry.monoSubstitute == nullptr) << entry.name;
    }
    EXPECT_EQ(fixed, 5);

    // A profile without colours is given every built-in one.
    CProfile profile(m_path);
    SetProfile(&profile);
    LoadNamedColors();
    std::ifstream written(m_path, std::ios::binary);
    std::ifstream builtIn(fs::path(OXI_TEST_DATA_DIR) / "shell" / "colors-default.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), std::string(std::istreambuf_iterator<char>(builtIn), {}));
}

TEST_F(NamedColorsTest, MonochromeUsesTheGreySubstitutes)
{
    Apply(0);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(224, 224, 224));    // mono_ltgray
    EXPECT_EQ(GetNamedColor("elv_bkg"), CColor(128, 128, 128));   // mono_dkgray
    EXPECT_EQ(GetNamedColor("dlg_batch_bkg"), CColor(192, 192, 192)); // mono_mdgray
    EXPECT_EQ(GetNamedColor("mono_white"), CColor(255, 255, 255));
    EXPECT_EQ(GetNamedColorRef("el_alk"), 0xE0E0E0u) << "a true-colour display carries no flag";

    SetNamedColorDisplay(true, 256);
    Apply(0);
    EXPECT_EQ(GetNamedColorRef("el_alk"), 0x02E0E0E0u);
    SetNamedColorDisplay(true, 0);
    Apply(1);
    EXPECT_EQ(GetNamedColorRef("mono_black"), 0x02000000u);
    SetNamedColorDisplay(true, 8);
    Apply(1);
    EXPECT_EQ(GetNamedColorRef("mono_black"), 0u);
}

TEST_F(NamedColorsTest, ProfileOverridesAndIsRewrittenInFull)
{
    WriteProfile("[Colors]\nel_alk=255,0,0\nmono_ltgray=200,200,200\nel_acid=1,2\nel_neut= 10, 20 ,30\n"
                 "glz_list=300,-4,70000\nged_tab=junk\n");
    CProfile profile(m_path);
    SetProfile(&profile);
    LoadNamedColors();

    Apply(1);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(255, 0, 0));
    EXPECT_EQ(GetNamedColor("el_acid"), CColor(255, 128, 128)) << "two numbers keep the built-in";
    EXPECT_EQ(GetNamedColor("el_neut"), CColor(128, 255, 128)) << "a blank before a comma: not three numbers";
    EXPECT_EQ(GetNamedColor("glz_list"), CColor(255, 0, 255)) << "each channel clamped on its own";
    EXPECT_EQ(GetNamedColor("ged_tab"), CColor(224, 192, 255));
    Apply(0);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(200, 200, 200)) << "the changed substitute";
    EXPECT_EQ(GetNamedColor("el_acidamph"), CColor(200, 200, 200));
    EXPECT_EQ(GetNamedColor("el_volatile"), CColor(192, 192, 192));

    CProfile reread(m_path);
    EXPECT_EQ(reread.GetString("Colors", "el_alk"), "255,0,0");
    EXPECT_EQ(reread.GetString("Colors", "el_acid"), "255,128,128");
    EXPECT_EQ(reread.GetString("Colors", "glz_list"), "255,0,255");
    EXPECT_EQ(reread.GetString("Colors", "mono_white"), "255,255,255");
    int listed = 0;
    for (const CNamedColor& entry : g_namedColors)
        listed += reread.HasValue("Colors", entry.name);
    EXPECT_EQ(listed, 42);
}

TEST_F(NamedColorsTest, ElementColourExamples)
{
    WriteProfile("[Colors]\nel_alk=255,0,0\nel_alkamph=1,2\nel_acid=300,0,0\n");
    CProfile profile(m_path);
    SetProfile(&profile);
    LoadNamedColors();
    Apply(1);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(255, 0, 0));
    EXPECT_EQ(GetNamedColor("el_acid"), CColor(255, 0, 0));
    Apply(0);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(224, 224, 224));
    EXPECT_EQ(profile.GetString("Colors", "el_alk"), "255,0,0");
    EXPECT_EQ(profile.GetString("Colors", "el_alkamph"), "128,224,255");
    EXPECT_EQ(profile.GetString("Colors", "el_acid"), "255,0,0");
}

TEST_F(NamedColorsTest, PaletteHoldsDistinctColoursFromLightToDark)
{
    ASSERT_EQ(g_palette.size(), 216u);
    EXPECT_EQ(g_palette[0], CColor(255, 255, 255));
    EXPECT_EQ(g_palette[9], CColor(192, 0, 255));
    EXPECT_EQ(g_palette[15], CColor(0, 0, 0));
    EXPECT_EQ(g_palette[137], CColor(255, 64, 64));
    EXPECT_EQ(g_palette[215], CColor(0, 0, 64));
    std::set<std::uint32_t> distinct;
    for (const CColor& c : g_palette) {
        distinct.insert(c.ToColorRef());
        for (std::uint8_t channel : {c.r, c.g, c.b})
            EXPECT_TRUE(channel == 0 || channel == 64 || channel == 128 || channel == 192 || channel == 224 ||
                        channel == 255);
    }
    EXPECT_EQ(distinct.size(), 216u);
}
