#include "support/LogFont.h"

#include "core/support/LocaleGuard.h"

#include <gtest/gtest.h>

TEST(LogFontTest, NinePointCourierNewText)
{
    CLogFont font = CLogFont::Default();
    font.height = 90;
    font.faceName = "Courier New";
    const std::string text = "90,0,0,0,400,0,0,0,0,0,0,0,49,Courier New,";
    EXPECT_EQ(LogFontToString(font), text);
    EXPECT_EQ(StringToLogFont(text), font);
}

TEST(LogFontTest, EveryFieldSurvivesTheRoundTrip)
{
    CDecimalCommaLocale guard;
    CLogFont font;
    font.height = -13;
    font.width = 7;
    font.escapement = 900;
    font.orientation = 450;
    font.weight = 700;
    font.italic = 1;
    font.underline = 1;
    font.strikeOut = 1;
    font.charSet = 238;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 34;
    font.faceName = "Times New Roman";
    std::string text;
    LogFontToString(text, font);
    EXPECT_EQ(text, "-13,7,900,450,700,1,1,1,238,3,2,5,34,Times New Roman,");
    EXPECT_EQ(StringToLogFont(text), font);
    font.faceName.clear();
    EXPECT_EQ(StringToLogFont(LogFontToString(font)), font);
}

TEST(LogFontTest, UnreadableTextsGiveTheDefaultFont)
{
    const CLogFont def = CLogFont::Default();
    EXPECT_EQ(def.weight, 400);
    EXPECT_EQ(def.pitchAndFamily, 49);
    EXPECT_EQ(def.height, 0);
    EXPECT_EQ(def.faceName, "");
    EXPECT_EQ(StringToLogFont("90,0,0,0,400,0,0,0,0,0,0,0,49,"), def); // 13 pieces
    EXPECT_EQ(StringToLogFont("90,0,0,0,400,0,0,0,0,0,0,0,49,Arial,x,"), def);
    EXPECT_EQ(StringToLogFont(""), def);

    // Bytes keep their low eight bits; too long a face name is dropped.
    const CLogFont odd = StringToLogFont("1,2,3,4,5,257,0,0,0,0,0,0,0,"
                                         "A face name of thirty-two chars!,");
    EXPECT_EQ(odd.italic, 1);
    EXPECT_EQ(odd.faceName, "");
    EXPECT_EQ(StringToLogFont("1,2,3,4,5,0,0,0,0,0,0,0,0,A face name of thirty-one chars,").faceName,
              "A face name of thirty-one chars");
}
