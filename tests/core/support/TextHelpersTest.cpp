#include "support/TextHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <string>

TEST(TextHelpersTest, WhitespaceIsBlankAndNineToThirteenOnly)
{
    EXPECT_TRUE(IsWhitespaceChar(' '));
    for (char c = 9; c <= 13; ++c)
        EXPECT_TRUE(IsWhitespaceChar(c));
    EXPECT_FALSE(IsWhitespaceChar('\0'));
    EXPECT_FALSE(IsWhitespaceChar(static_cast<char>(0xA0))); // no-break space of Windows-1252
    EXPECT_STREQ(SkipWhitespace(" \t\r\nx y"), "x y");
    EXPECT_STREQ(SkipWhitespace("   "), "");

    std::string s = " \t a b \r\n";
    EXPECT_EQ(TrimStringRight(s), " \t a b");
    EXPECT_EQ(TrimStringLeft(s), "a b");
    s = "\v\f";
    EXPECT_EQ(TrimBuffer(s), "");
    EXPECT_EQ(GetLeadingWhitespace("\t\t x "), "   ");
    EXPECT_EQ(GetTrailingWhitespace("\t\t x \r"), "  ");
    EXPECT_EQ(GetLeadingWhitespace("x"), "");
}

TEST(TextHelpersTest, ControlCharactersAreOneToThirtyOne)
{
    std::string s = "a\tb\x01" "c\x1f\x7f\xe9";
    int flags[32];
    GetControlCharFlags(s, flags);
    EXPECT_EQ(flags[9], 1);
    EXPECT_EQ(flags[1], 1);
    EXPECT_EQ(flags[31], 1);
    EXPECT_EQ(flags[0], 0);
    EXPECT_EQ(flags[3], 0);

    std::string kept = s;
    EXPECT_EQ(StripControlChars(kept, true), "a\tbc\x7f\xe9");
    std::string dropped = s;
    EXPECT_EQ(StripControlCharsString(dropped, false), "abc\x7f\xe9");

    std::string both = "x\x03\ty";
    StripControlCharsGetFlags(both, flags, false);
    EXPECT_EQ(both, "xy");
    EXPECT_EQ(flags[3], 1);
    EXPECT_EQ(flags[9], 1); // tabs are recorded even when they are removed
}

TEST(TextHelpersTest, CharactersQuotesAndPadding)
{
    EXPECT_TRUE(ContainsOnlyChars("", "abc"));
    EXPECT_TRUE(ContainsOnlyChars("0.5", "0123456789."));
    EXPECT_FALSE(ContainsOnlyChars("0,5", "0123456789."));

    std::string s = "a-b-c";
    EXPECT_EQ(ReplaceChar(s, '-', '+'), 2);
    EXPECT_EQ(s, "a+b+c");

    std::string q = "\"Feldspar\"";
    EXPECT_EQ(StripQuotes(q), "Feldspar");
    q = "\"open";
    EXPECT_EQ(StripQuotesString(q), "open");
    q = "\""; // a lone quote: removed once, nothing else touched
    EXPECT_EQ(StripQuotes(q), "");
    q = "\"\"";
    EXPECT_EQ(StripQuotes(q), "");

    std::string p = "abcdef";
    EXPECT_EQ(PadOrTruncate(p, 3, '.'), "abc");
    EXPECT_EQ(PadOrTruncate(p, 5, '.'), "abc..");
    EXPECT_EQ(PadRightString(p, 7), "abc..  ");
    EXPECT_EQ(PadRightString(p, 2), "abc..  ");
}

TEST(TextHelpersTest, ExpandTabsFillsToTheNextStop)
{
    std::string s = "a\tb";
    EXPECT_EQ(ExpandTabsString(s, 4), "a   b");
    s = "\tb";
    EXPECT_EQ(ExpandTabsString(s, 4), "    b");
    s = "abcd\te";
    EXPECT_EQ(ExpandTabsString(s, 4), "abcd    e");
    // Tab sizes outside 1..100 are clamped instead of dividing by zero.
    s = "a\tb";
    EXPECT_EQ(ExpandTabsString(s, 0), "a b");
    s = "\t";
    EXPECT_EQ(ExpandTabsString(s, 1000).size(), 100u);
}

TEST(TextHelpersTest, WrapTextLineCutsAtWhitespaceOrHard)
{
    std::string line = "abcdefghijkl", rest;
    WrapTextLine(line, rest, 5);
    EXPECT_EQ(line, "abcde");
    EXPECT_EQ(rest, "fghijkl");

    line = "the quick brown fox";
    WrapTextLine(line, rest, 10);
    EXPECT_EQ(line, "the quick");
    EXPECT_EQ(rest, "brown fox");

    line = "short   ";
    WrapTextLine(line, rest, 10);
    EXPECT_EQ(line, "short");
    EXPECT_EQ(rest, "");

    // Leading whitespace as wide as the width is dropped.
    line = "      word";
    WrapTextLine(line, rest, 5);
    EXPECT_EQ(line, "word");
    EXPECT_EQ(rest, "");

    // A blank just past the width: the cut falls on the blank at width - 1 with the rest's
    // leading whitespace removed.
    line = "abcd   efg";
    WrapTextLine(line, rest, 5);
    EXPECT_EQ(line, "abcd");
    EXPECT_EQ(rest, "efg");

    // Regression: a width below 1 looped forever; it now wraps nothing.
    line = "no wrapping here ";
    WrapTextLine(line, rest, 0);
    EXPECT_EQ(line, "no wrapping here ");
    EXPECT_EQ(rest, "");
    WrapTextLine(line, rest, -3);
    EXPECT_EQ(rest, "");
}

TEST(TextHelpersTest, NameAndCode)
{
    std::string text = "Custer Feldspar (F-12)", code;
    SplitNameAndCode(text, code);
    EXPECT_EQ(text, "Custer Feldspar");
    EXPECT_EQ(code, "(F-12)");
    text = "Whiting  ";
    SplitNameAndCode(text, code);
    EXPECT_EQ(text, "Whiting");
    EXPECT_EQ(code, "");
    EXPECT_EQ(GetNamePart("Silica (325 mesh)"), "Silica");
}

TEST(TextHelpersTest, LastWordIsTakenOff)
{
    std::string line = "Custer Feldspar  12.5";
    std::string word;
    EXPECT_TRUE(TakeLastWord(line, word));
    EXPECT_EQ(word, "12.5");
    EXPECT_EQ(line, "Custer Feldspar");
    line = "12.5";
    EXPECT_FALSE(TakeLastWord(line, word));
    EXPECT_EQ(line, "12.5");
    line = "Kaolin ";
    EXPECT_TRUE(TakeLastWord(line, word));
    EXPECT_EQ(word, "");
    EXPECT_EQ(line, "Kaolin");
}

TEST(TextHelpersTest, DateSortKeys)
{
    EXPECT_EQ(DateSortKey("3/15/02"), 20020315);
    EXPECT_EQ(DateSortKey("15 Mar 2002"), 20020315);
    EXPECT_EQ(DateSortKey("Mar 2002"), 20020300);
    EXPECT_EQ(DateSortKey("7/99"), 19990700);
    EXPECT_EQ(DateSortKey("today"), 0);
    EXPECT_EQ(DateSortKey("december"), 1200);
    EXPECT_EQ(DateSortKey("2002"), 20020000);
    EXPECT_EQ(DateSortKey("49"), 20490000);
    EXPECT_EQ(DateSortKey("50"), 19500000);
    EXPECT_EQ(DateSortKey("fired 3/15/2002"), 20020315); // three numbers: the word is ignored
    EXPECT_EQ(DateSortKey(""), 0);
    // Digit runs saturate and the key stays in range.
    EXPECT_EQ(DateSortKey("99999999999999999999"), INT_MAX);
}

TEST(TextHelpersTest, DatesFormatWithoutALengthLimit)
{
    struct tm t {};
    t.tm_year = 102;
    t.tm_mon = 2;
    t.tm_mday = 15;
    EXPECT_EQ(FormatDateString("%Y-%m-%d", t), "2002-03-15");
    const std::string longFormat(200, 'x');
    EXPECT_EQ(FormatDateString(longFormat + "%Y", t), longFormat + "2002");

    std::string today;
    GetTodayString(today, "%Y%m%d");
    EXPECT_EQ(today.size(), 8u);
    EXPECT_GT(DateSortKey(today.substr(4, 2) + "/" + today.substr(6, 2) + "/" + today.substr(0, 4)), 20200000);
}

TEST(TextHelpersTest, RectCenterUsesIntegerDivision)
{
    EXPECT_EQ(GetRectCenter(CCoreRect{0, 0, 5, 9}), (CCorePoint{2, 4}));
    EXPECT_EQ(GetRectCenter(CCoreRect{-3, 10, 0, 20}), (CCorePoint{-1, 15}));
    EXPECT_EQ(GetRectCenter(CCoreRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}), (CCorePoint{INT_MAX, INT_MAX}));
}
