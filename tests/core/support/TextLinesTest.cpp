#include "support/TextLines.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(TextLinesTest, EachRuleBreaksAtItsOwnLineEnds)
{
    const std::string text = "a\r\nb\nc\rd\r\r\n";
    EXPECT_EQ(SplitLines(text, LineBreaks::Any), (Lines{"a", "b", "c", "d", ""}));
    EXPECT_EQ(SplitLines(text, LineBreaks::Lf), (Lines{"a", "b", "c\rd\r"}));
    EXPECT_EQ(SplitLines(text, LineBreaks::Cr), (Lines{"a", "b\nc", "d", ""}));
    EXPECT_EQ(SplitLines(text, LineBreaks::CrLf), (Lines{"a", "b\nc\rd\r"}));
}

TEST(TextLinesTest, TheTextAfterTheLastBreakIsALineWhenNotEmptyOrWhenKept)
{
    EXPECT_EQ(SplitLines("a\nb", LineBreaks::Lf), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\n", LineBreaks::Lf), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r\n", LineBreaks::CrLf, true), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines("", LineBreaks::Any), Lines{});
    EXPECT_EQ(SplitLines("", LineBreaks::CrLf, true), Lines{""});
    EXPECT_EQ(SplitLines("\n\n", LineBreaks::Any), (Lines{"", ""}));
}
