#include "support/LineOStream.h"

#include "core/support/FakeServices.h"

#include <gtest/gtest.h>

#include <string>

using Lines = std::vector<std::string>;

static Lines L(const CStringArrayEx& a) { return Lines(a.begin(), a.end()); }

TEST(LineOStreamTest, LinesCloseAtLineBreaks)
{
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0);
        out << "Silica " << 12 << '\n' << '\n' << "\tx\n";
        EXPECT_EQ(L(lines), (Lines{"Silica 12", "", "\tx"}));
    }
    EXPECT_EQ(lines.size(), 3u);
}

// Regression: lines were cut at 4,095 characters, in reports, printing and clipboard copies.
TEST(LineOStreamTest, LongLinesStayWhole)
{
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0, 4096);
        out << std::string(5000, 'z') << '\n' << std::string(70000, 'y') << "\nend\n";
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(5000, 'z'));
    EXPECT_EQ(lines[1].size(), 70000u);
    EXPECT_EQ(lines[2], "end");
}

TEST(LineOStreamTest, ControlFlagDropsTabsAndControls)
{
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 1);
        out << "a\tb\x01" "c\x1f\xe9\n";
    }
    EXPECT_EQ(L(lines), (Lines{"abc\xe9"}));
}

TEST(LineOStreamTest, UnterminatedLastLineArrivesAtDestruction)
{
    // Regression: text after the last line break was lost when the stream went away.
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0);
        out << "first\nlast";
        EXPECT_EQ(L(lines), (Lines{"first"}));
    }
    EXPECT_EQ(L(lines), (Lines{"first", "last"}));
}

TEST(LineOStreamTest, ClipboardStreamPutsItsLines)
{
    CFakeClipboard clipboard;
    {
        CClipboardStream out;
    }
    EXPECT_EQ(clipboard.writes, 1);
    EXPECT_TRUE(clipboard.hasText);
    EXPECT_EQ(clipboard.content, "");

    {
        CClipboardStream out;
        out << "Oxide\tMol\n" << "SiO2\t" << 3 << "\nend";
        EXPECT_EQ(out.Lines().size(), 2u);
    }
    EXPECT_EQ(clipboard.content, "Oxide\tMol\r\nSiO2\t3\r\nend\r\n");
}

TEST(LineOStreamTest, ClipboardStreamWithoutServiceDoesNothing)
{
    CClipboardStream out;
    out << "nowhere\n";
}

TEST(LineOStreamTest, ClipboardInputReadsACopy)
{
    CClipboardInput input;
    EXPECT_EQ(input.Stream(), nullptr);
    input.Open(); // no service: an empty text
    ASSERT_NE(input.Stream(), nullptr);
    std::string line;
    EXPECT_FALSE(std::getline(*input.Stream(), line));

    CFakeClipboard clipboard;
    clipboard.content = std::string("a\r\nb\0hidden", 11);
    clipboard.hasText = true;
    input.Open();
    clipboard.content = "changed";
    ASSERT_TRUE(std::getline(*input.Stream(), line));
    EXPECT_EQ(line, "a\r");
    ASSERT_TRUE(std::getline(*input.m_stream, line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(std::getline(*input.Stream(), line));

    clipboard.hasText = false;
    input.Open();
    EXPECT_EQ(input.Text(), "");
}
