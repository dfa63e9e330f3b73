#include "support/StringArrayEx.h"

#include "support/EditLines.h"
#include "core/support/CheckedItems.h"
#include "support/TextHelpers.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

using Lines = std::vector<std::string>;

static Lines L(const CStringArrayEx& a) { return Lines(a.begin(), a.end()); }

namespace {

// A multi-line edit control: the text with "\r\n" between lines and a selection.
class CFakeEdit : public CEditLinesTarget {
public:
    int GetLineCount() override
    {
        ++countAsked;
        int n = 1;
        for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2))
            ++n;
        return n;
    }
    std::string GetLineText(int index) override
    {
        std::size_t start = 0;
        for (int i = 0; i < index; ++i)
            start = text.find("\r\n", start) + 2;
        const std::size_t end = text.find("\r\n", start);
        return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    void SetText(const std::string& t) override
    {
        text = t;
        selStart = selEnd = 0;
    }
    void GetSelection(int& start, int& end) override
    {
        start = selStart;
        end = selEnd;
    }
    void ReplaceSelection(const std::string& t) override
    {
        text.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart), t);
        selStart = selEnd = selStart + static_cast<int>(t.size());
        ++replaces;
    }
    void SetSelection(int start, int end) override
    {
        selStart = start;
        selEnd = end;
    }
    void ScrollCaretIntoView() override { ++scrolls; }

    std::string text;
    int selStart = 0, selEnd = 0;
    int replaces = 0, scrolls = 0, countAsked = 0;
};

} // namespace

TEST(StringArrayExTest, EmptyEndsPaddingAndAppend)
{
    CStringArrayEx a{"", "", "x", "", "y", "", ""};
    a.RemoveLeadingEmpty();
    a.RemoveTrailingEmpty();
    EXPECT_EQ(L(a), (Lines{"x", "", "y"}));
    a.AddEmpty(-1);
    a.AddEmpty(2);
    EXPECT_EQ(a.size(), 5u);
    EXPECT_EQ(a.PadToSize(4), 0);
    EXPECT_EQ(a.PadToSize(7), 2);
    a.Append(a);
    ASSERT_EQ(a.size(), 14u);
    EXPECT_EQ(a[7], "x");
    CStringArrayEx none{"", ""};
    none.RemoveLeadingEmpty();
    EXPECT_TRUE(none.empty());
}

TEST(StringArrayExTest, SortReverseAndDuplicates)
{
    CStringArrayEx a{"b", "Clay", "a", "clay", "B"};
    a.Sort(true, true);
    EXPECT_EQ(L(a), (Lines{"B", "Clay", "a", "b", "clay"}));
    a.Sort(false, true);
    EXPECT_EQ(L(a), (Lines{"clay", "b", "a", "Clay", "B"}));
    a.Reverse();
    EXPECT_EQ(L(a), (Lines{"B", "Clay", "a", "b", "clay"}));

    CStringArrayEx c{"Talc", "clay", "Bone ash", "_x"};
    c.Sort(true, true); // by bytes: capitals, '_', then small letters
    EXPECT_EQ(L(c), (Lines{"Bone ash", "Talc", "_x", "clay"}));
    c.Sort(true, false); // ignoring case: letters compare as small letters, after '_'
    EXPECT_EQ(L(c), (Lines{"_x", "Bone ash", "clay", "Talc"}));

    CStringArrayEx d{"Ash", "Clay", "clay", "CLAY", "Silica", "Clay"};
    CStringArrayEx exact = d;
    EXPECT_EQ(exact.RemoveDuplicates(true), 0);
    EXPECT_EQ(d.RemoveDuplicates(false), 2); // only neighbours: the last Clay stays
    EXPECT_EQ(L(d), (Lines{"Ash", "Clay", "Silica", "Clay"}));
}

TEST(StringArrayExTest, AddTextLinesSplitsAtEverySeparator)
{
    CStringArrayEx a;
    EXPECT_EQ(a.AddTextLines("a\r\nb\r\n", "\r\n"), 2);
    EXPECT_EQ(L(a), (Lines{"a", "b"}));
    a.clear();
    EXPECT_EQ(a.AddTextLines("a,,b", ","), 3);
    EXPECT_EQ(L(a), (Lines{"a", "", "b"}));
    a.clear();
    EXPECT_EQ(a.AddTextLines(",a", ","), 2);
    EXPECT_EQ(L(a), (Lines{"", "a"}));
    EXPECT_EQ(a.AddTextLines("", ","), 0);
    EXPECT_EQ(a.AddTextLines("whole", ""), 1); // an empty separator splits nothing
    EXPECT_EQ(LastItem(a), "whole");
}

TEST(StringArrayExTest, JoinEndsEveryStringAndKeepsItsLimit)
{
    CStringArrayEx a{"a", "b"};
    std::string out;
    EXPECT_EQ(a.Join(out, "\r\n"), 6);
    EXPECT_EQ(out, "a\r\nb\r\n");

    // 32766 characters plus the terminator fit; one more does not.
    CStringArrayEx big{std::string(32764, 'x')};
    EXPECT_EQ(big.Join(out, "\r\n"), 32766);
    EXPECT_EQ(out.size(), 32766u);
    big[0].push_back('x');
    out = "stale";
    EXPECT_EQ(big.Join(out, "\r\n"), -1);
    EXPECT_EQ(out, "");

    EXPECT_EQ(CStringArrayEx{}.Join(out, ","), 0);
}

TEST(StringArrayExTest, JoinWrappedStopsAtTheWidth)
{
    CStringArrayEx a{"abc", "", "defgh"};
    std::string out;
    EXPECT_EQ(a.JoinWrapped(out, 6), 6);
    EXPECT_EQ(out, "abc de");
    EXPECT_EQ(a.JoinWrapped(out, 1000), 9);
    EXPECT_EQ(out, "abc defgh");
    CStringArrayEx tabbed{"a", "\tb"}; // a string starting with whitespace gets no blank
    tabbed.JoinWrapped(out, 100);
    EXPECT_EQ(out, "a\tb");
    CStringArrayEx exact{"abcd", "ef"}; // never longer than the width
    EXPECT_EQ(exact.JoinWrapped(out, 4), 4);
    EXPECT_EQ(out, "abcd");
    EXPECT_EQ(exact.JoinWrapped(out, 5), 5);
    EXPECT_EQ(out, "abcd ");
    EXPECT_EQ(exact.JoinWrapped(out, 0), 0);
    EXPECT_EQ(exact.TotalLength(), 6);
    EXPECT_EQ(exact.MaxLength(), 4);
    EXPECT_EQ(CStringArrayEx{}.MaxLength(), 0);
}

TEST(StringArrayExTest, ReflowJoinsContinuationsAndRewraps)
{
    CStringArrayEx a{"one two", "three four five", "", " indented line", "next"};
    a.Reflow(10);
    // "one two three four five" is cut at the last blank before the width each time.
    EXPECT_EQ(L(a), (Lines{"one two", "three", "four five", "", " indented", "line next"}));

    CStringArrayEx b{"x y", "z"};
    b.Reflow(0); // regression: looped forever; now joins without wrapping
    EXPECT_EQ(L(b), (Lines{"x y z"}));
}

// The re-flow as it was first written (joining and cutting in place), kept as the reference of
// what the lines must read.
void ReferenceReflow(CStringArrayEx& a, int width)
{
    for (std::size_t i = a.size(); i-- > 1;) {
        if (a[i].empty() || a[i].front() == ' ' || a[i - 1].empty())
            continue;
        a[i - 1] += ' ' + a[i];
        a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
    }
    std::string rest;
    for (std::size_t i = 0; i < a.size(); ++i) {
        WrapTextLine(a[i], rest, width);
        if (!rest.empty())
            a.insert(a.begin() + static_cast<std::ptrdiff_t>(i + 1), rest);
    }
}

TEST(StringArrayExTest, ReflowGivesTheLinesOfTheReference)
{
    std::mt19937 random(6);
    const std::string pieces[] = {"a", "bb", "silica", "feldspar-and-kaolin", " ", "  ", "\t", "", "x y z"};
    for (int round = 0; round < 300; ++round) {
        CStringArrayEx lines;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            std::string line;
            for (int k = static_cast<int>(random() % 9); k > 0; --k)
                line += pieces[random() % std::size(pieces)];
            lines.push_back(line);
        }
        const int width = static_cast<int>(random() % 14);
        CStringArrayEx expected = lines;
        ReferenceReflow(expected, width);
        lines.Reflow(width);
        ASSERT_EQ(L(lines), L(expected)) << "round " << round << ", width " << width;
    }
}

// Regression: every cut kept the room of the whole rest, so memory grew with the square of the
// text (a 1 MB Recipary file needed 6.9 GB).
TEST(StringArrayExTest, ReflowNeedsMemoryInProportionToTheText)
{
    std::string paragraph;
    while (paragraph.size() < 100000)
        paragraph += "glossy clear on porcelain ";
    CStringArrayEx lines{paragraph};
    lines.Reflow(70);
    std::size_t room = 0;
    std::size_t text = 0;
    for (const std::string& line : lines) {
        room += line.capacity();
        text += line.size();
    }
    EXPECT_GT(lines.size(), 1400u);
    EXPECT_LT(room, 4 * text);
}

TEST(StringArrayExTest, ReadEditLinesTrimsAndDrops)
{
    CFakeEdit edit;
    edit.text = "x\r\n\r\ny\r\n\r\n";
    CStringArrayEx a{"old"};
    EXPECT_EQ(a.ReadEditLines(edit, true, false, false, true, false), 0);
    EXPECT_EQ(L(a), (Lines{"x", "", "y"}));
    EXPECT_GE(edit.countAsked, 6); // the count is asked anew for every line

    edit.text = "  a  \r\n\r\n b";
    a.ReadCEditLines(edit, false, true, false, false, true);
    EXPECT_EQ(L(a), (Lines{"x", "", "y", "  a", " b"}));
    a.ReadEditLines(edit, true, true, true, false, false);
    EXPECT_EQ(L(a), (Lines{"a", "", "b"}));

    edit.text = std::string(9000, 'q');
    a.ReadEditLines(edit, true, false, false, false, false);
    EXPECT_EQ(a[0].size(), 8191u);
}

TEST(StringArrayExTest, WriteEditLinesCleansAndInsertsAtTheSelection)
{
    CFakeEdit edit;
    edit.text = "AB";
    edit.selStart = edit.selEnd = 1;
    CStringArrayEx a{"one\ttab", "page\x03mark", "", "two\x01", "", "\x02"};
    EXPECT_EQ(a.WriteEditLines(edit, false, true, false), 0);
    EXPECT_EQ(L(a), (Lines{"onetab", "", "two"}));
    EXPECT_EQ(edit.text, "Aonetab\r\n\r\ntwo\r\nB");
    EXPECT_EQ(edit.selStart, 1);
    EXPECT_EQ(edit.selEnd, 1);
    EXPECT_EQ(edit.scrolls, 1);

    CStringArrayEx b{"k\tk"};
    EXPECT_EQ(b.WriteCEditLines(edit, true, true, true), 0);
    EXPECT_EQ(edit.text, "k\tk\r\n");
    EXPECT_EQ(edit.scrolls, 1);
}

TEST(StringArrayExTest, WriteEditLinesStopsBeforeTheLimit)
{
    // 70 lines of 998 + 2 characters: the 66th would pass 65535.
    CStringArrayEx a(70, std::string(998, 'w'));
    CFakeEdit edit;
    EXPECT_EQ(a.WriteEditLines(edit, true, false, false), 1);
    EXPECT_EQ(edit.text.size(), 65000u);
    EXPECT_GT(edit.replaces, 1); // inserted in pieces

    CFakeEdit unlimited;
    EXPECT_EQ(a.WriteCEditLines(unlimited, true, false, false), 0);
    EXPECT_EQ(unlimited.text.size(), 70000u);
}
