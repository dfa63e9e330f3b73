#include "support/CompareNoCase.h"

#include "core/support/LocaleGuard.h"

#include <gtest/gtest.h>

#include <string>

TEST(CompareNoCaseTest, FoldsAsciiLettersOnly)
{
    EXPECT_EQ(CompareNoCase("Clay", "cLAY"), 0);
    EXPECT_LT(CompareNoCase("alumina", "Clay"), 0);
    EXPECT_GT(CompareNoCase("Zinc", "alumina"), 0);
    EXPECT_LT(CompareNoCase("Clay", "Clay2"), 0); // a prefix sorts first
    EXPECT_GT(CompareNoCase("Clay2", "clay"), 0);
    EXPECT_EQ(CompareNoCase("", ""), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    // _stricmp folds to lower case: '_' (0x5F) sorts before every letter.
    EXPECT_LT(CompareNoCase("a_b", "aBc"), 0);
    // Bytes above 127 compare unsigned and do not fold ("É" and "é" in UTF-8 differ).
    EXPECT_GT(CompareNoCase("\xC3\x89", "z"), 0);
    EXPECT_NE(CompareNoCase("\xC3\x89", "\xC3\xA9"), 0);
    // Raising to capitals: a to z only, so a material search finds "Zinc" by "zinc".
    EXPECT_EQ(UpperCaseAscii("az`{AZ@[_\xC3\xA9"), "AZ`{AZ@[_\xC3\xA9");
}

TEST(CompareNoCaseTest, EqualsNoCase)
{
    EXPECT_TRUE(EqualsNoCase("SiO2", "sio2"));
    EXPECT_FALSE(EqualsNoCase("SiO2", "SiO"));
    EXPECT_FALSE(EqualsNoCase("SiO2", "SiO2 "));
    EXPECT_TRUE(EqualsNoCase(std::string("a\0b", 3), std::string("A\0B", 3)));
    EXPECT_FALSE(EqualsNoCase(std::string("a\0b", 3), std::string("a\0c", 3)));
}

TEST(CompareNoCaseTest, IgnoresTheLocale)
{
    CDecimalCommaLocale guard;
    OXI_REQUIRE_DECIMAL_COMMA_LOCALE(guard);
    EXPECT_EQ(CompareNoCase("Clay", "cLAY"), 0);
    EXPECT_NE(CompareNoCase("\xC3\x89", "\xC3\xA9"), 0);
    EXPECT_LT(CompareNoCase("a_b", "aBc"), 0);
}
