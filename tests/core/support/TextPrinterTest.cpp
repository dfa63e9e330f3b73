#include "support/TextPrinter.h"

#include "core/support/CheckedItems.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// A device without a printer: a page of fixed size, fixed line heights per font slot and ten
// units of width per character. It records what is drawn.
class CFakeDevice : public CTextPrinterCanvas {
public:
    struct Text {
        int slot;
        int x;
        int y;
        Align align;
        std::string text;
    };
    struct Rule {
        int x1;
        int x2;
        int y;
        int width;
    };

    int PageWidth() override { return width; }
    int PageHeight() override { return height; }
    int LineHeight(int slot) override
    {
        if (slot < 0) {
            ADD_FAILURE() << "font slot " << slot;
            return 0;
        }
        return ItemAt(lineHeights, static_cast<std::size_t>(slot));
    }
    int TextWidth(int, const std::string& text) override { return 10 * static_cast<int>(text.size()); }
    void DrawText(int slot, int x, int y, Align align, const std::string& text) override
    {
        texts.push_back({slot, x, y, align, text});
    }
    void DrawRule(int x1, int x2, int y, int penWidth) override { rules.push_back({x1, x2, y, penWidth}); }

    std::vector<std::string> TextsIn(int slot) const
    {
        std::vector<std::string> found;
        for (const Text& t : texts)
            if (t.slot == slot)
                found.push_back(t.text);
        return found;
    }
    void Clear()
    {
        texts.clear();
        rules.clear();
    }

    int width = 8000;
    int height = 1000;
    // first header, later header, body, tall, time stamp
    std::vector<int> lineHeights{100, 100, 100, 200, 100};
    std::vector<Text> texts;
    std::vector<Rule> rules;
};

std::vector<std::pair<int, int>> Ranges(const CTextPrinter& printer)
{
    std::vector<std::pair<int, int>> ranges;
    for (const CTextPrinterPage& page : printer.Pages())
        ranges.emplace_back(page.firstLine, page.endLine);
    return ranges;
}

std::vector<int> Numbers(const CTextPrinter& printer)
{
    std::vector<int> numbers;
    for (const CTextPrinterPage& page : printer.Pages())
        numbers.push_back(page.pageNumber);
    return numbers;
}

void AddLines(CTextPrinter& printer, int count, const std::string& marker = "")
{
    for (int i = 0; i < count; ++i)
        printer.push_back("line " + std::to_string(printer.size()) + marker);
}

// Body line 100 on a body 1000 high: ten lines a page.
void Layout(CTextPrinter& printer, CFakeDevice& device)
{
    printer.PrepareDC(device);
    printer.Paginate();
}

} // namespace

using ::testing::ElementsAre;
using Range = std::pair<int, int>;

TEST(TextPrinterTest, PageBreaksNeverLeaveEmptyPagesOrBlankLinesAtTheTop)
{
    CFakeDevice device;
    {
        CTextPrinter printer;
        Layout(printer, device);
        EXPECT_EQ(printer.GetPageCount(), 0);
    }
    {
        // A report that begins with a page break starts on its first page.
        CTextPrinter printer;
        printer.push_back("\x0c");
        AddLines(printer, 2);
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{1, 3}));
    }
    {
        // Three empty lines after a break do not push the new page's text down.
        CTextPrinter printer;
        AddLines(printer, 4);
        printer.insert(printer.end(), {"\x0c", "", "", "", "after"});
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 4}, Range{8, 9}));
    }
    {
        // Two breaks in a row, or a break after a page holding only an empty and a hidden line,
        // give no blank page.
        CTextPrinter printer;
        AddLines(printer, 1);
        printer.insert(printer.end(), {"\x0c", "\x0c", "b", "\x0c", "", "hidden\x02", "\x0c", "c"});
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 1}, Range{3, 4}, Range{8, 9}));
        EXPECT_THAT(Numbers(printer), ElementsAre(1, 2, 3));
    }
    {
        // A line taller than the whole body goes on the first page rather than after a blank one.
        CTextPrinter printer;
        device.lineHeights[PrinterFontTall] = 1500;
        printer.insert(printer.end(), {"huge\x0f", "next"});
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 1}, Range{1, 2}));
        device.lineHeights[PrinterFontTall] = 200;
    }
}

TEST(TextPrinterTest, LinesFillPagesAndKeptRunsMoveWhole)
{
    CFakeDevice device;
    {
        CTextPrinter printer;
        AddLines(printer, 25);
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 10}, Range{10, 20}, Range{20, 25}));
        EXPECT_THAT(Numbers(printer), ElementsAre(1, 2, 3));
    }
    {
        // Eight lines, then a kept run of four: the run moves whole to page 2.
        CTextPrinter printer;
        AddLines(printer, 8);
        AddLines(printer, 4, "\x01");
        AddLines(printer, 1);
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 8}, Range{8, 13}));
    }
    {
        // A kept run taller than a page is split where it stops fitting.
        CTextPrinter printer;
        AddLines(printer, 3);
        AddLines(printer, 15, "\x01");
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 3}, Range{3, 13}, Range{13, 18}));
    }
    {
        // Hidden lines take no room; a tall line takes two; rule lines take one even when tall.
        CTextPrinter printer;
        AddLines(printer, 9);
        printer.insert(printer.begin() + 4, "not printed\x02");
        printer.push_back("----\x19\x0f");
        printer.push_back("Tall\x0f");
        Layout(printer, device);
        EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 11}, Range{11, 12}));
    }
}

TEST(TextPrinterTest, RestartedNumberingUsesFirstPageLayoutWhileTheFooterCountsPhysicalPages)
{
    CFakeDevice device;
    device.height = 1200;
    device.lineHeights[PrinterFontLaterHeader] = 50;
    CTextPrinter printer;
    printer.m_showFirstHeader = printer.m_showLaterHeader = true;
    printer.m_firstPageNumber = printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_firstHeader = "Glaze Report";
    printer.m_laterHeader = "Glaze Report (continued)";
    printer.m_pageNumberFormat = "- %d -";
    AddLines(printer, 15);
    printer.push_back("\x0c\x07Part two");
    AddLines(printer, 14);
    Layout(printer, device);

    // First pages hold ten lines under a 200 high header, later pages eleven under a 100 one.
    EXPECT_EQ(printer.FirstBodyRect(), (CCoreRect{0, 200, 8000, 1200}));
    EXPECT_EQ(printer.LaterBodyRect(), (CCoreRect{0, 100, 8000, 1200}));
    EXPECT_THAT(Ranges(printer), ElementsAre(Range{0, 10}, Range{10, 15}, Range{15, 25}, Range{25, 30}));
    EXPECT_THAT(Numbers(printer), ElementsAre(1, 2, 1, 2));

    ASSERT_TRUE(printer.PrintPage(device, 3));
    EXPECT_THAT(device.TextsIn(PrinterFontFirstHeader), ElementsAre("Glaze Report", "Page 1"));
    EXPECT_TRUE(device.TextsIn(PrinterFontLaterHeader).empty());
    const CFakeDevice::Text& pageNumber = ItemAt(device.texts, 1);
    EXPECT_EQ(pageNumber.align, CTextPrinterCanvas::Align::Right);
    EXPECT_EQ(pageNumber.x, 8000);
    // The footer: the physical page, centred two body lines under the body.
    const CFakeDevice::Text& footer = ItemAt(device.texts, 2);
    EXPECT_EQ(footer.text, "- 3 -");
    EXPECT_EQ(footer.slot, PrinterFontBody);
    EXPECT_EQ(footer.align, CTextPrinterCanvas::Align::Center);
    EXPECT_EQ(footer.x, 4000);
    EXPECT_EQ(footer.y, 1400);
    ASSERT_FALSE(device.rules.empty());
    EXPECT_EQ(device.rules[0].y, 125) << "the header rule lies 5/4 of a header line below its top";
    // The body starts under the first-page header.
    EXPECT_EQ(ItemAt(device.texts, 3).text, "Part two");
    EXPECT_EQ(ItemAt(device.texts, 3).y, 200);

    device.Clear();
    printer.PrintPage(device, 4);
    EXPECT_THAT(device.TextsIn(PrinterFontLaterHeader), ElementsAre("Glaze Report (continued)", "Page 2"));
    EXPECT_EQ(ItemAt(device.texts, 2).text, "- 4 -");
    EXPECT_TRUE(device.rules.empty()) << "no rule under later headers unless asked";

    // With the first-page header off, first pages have neither header nor footer.
    printer.m_showFirstHeader = false;
    printer.m_timeStamp = "%Y";
    Layout(printer, device);
    device.Clear();
    printer.PrintPage(device, 1);
    EXPECT_TRUE(device.TextsIn(PrinterFontFirstHeader).empty());
    EXPECT_TRUE(device.TextsIn(PrinterFontTimeStamp).empty());
    EXPECT_EQ(ItemAt(device.texts, 0).text, "line 0");
    EXPECT_FALSE(printer.PrintPage(device, 0));
    EXPECT_FALSE(printer.PrintPage(device, printer.GetPageCount() + 1));
}

TEST(TextPrinterTest, EveryPagePrintsItsOwnRunningHeaderInAnyOrder)
{
    CFakeDevice device;
    CTextPrinter printer;
    printer.m_showFirstHeader = printer.m_showLaterHeader = true;
    printer.m_laterHeader = "Report";
    printer.push_back("Elements\x05\x06");
    AddLines(printer, 15);                  // pages 1 and 2
    printer.push_back("\x0c");              // page 3
    printer.push_back("Materials\x06");
    AddLines(printer, 3);
    Layout(printer, device);
    ASSERT_EQ(printer.GetPageCount(), 3);

    printer.PrintPage(device, 3);
    EXPECT_THAT(device.TextsIn(PrinterFontLaterHeader), ElementsAre("Materials"));
    device.Clear();
    printer.PrintPage(device, 2);
    EXPECT_THAT(device.TextsIn(PrinterFontLaterHeader), ElementsAre("Elements"));
    device.Clear();
    printer.PrintPage(device, 1);
    EXPECT_THAT(device.TextsIn(PrinterFontFirstHeader), ElementsAre("Elements"));
    // The header lines themselves are never drawn in the body.
    EXPECT_EQ(device.texts.size(), 1u + 8u);
    EXPECT_EQ(printer.m_laterHeader, "Report") << "printing does not change the printer's texts";

    // A header line hidden inside a kept run still sets its page's header.
    CTextPrinter kept;
    kept.m_showLaterHeader = true;
    AddLines(kept, 12);
    kept.insert(kept.end(), {"a\x01", "Minerals\x06\x02\x01", "b\x01"});
    Layout(kept, device);
    EXPECT_EQ(Ranges(kept), (std::vector<Range>{{0, 10}, {10, 15}}));
    EXPECT_EQ(kept.EffectiveLaterHeader(2), "Minerals");
}

TEST(TextPrinterTest, BodyLinesAreAlignedAndRulesDrawnAtHalfALine)
{
    CFakeDevice device;
    CTextPrinter printer;
    printer.m_leftMargin = 500;
    printer.m_rightMargin = 1500;
    printer.insert(printer.end(), {"\x14" "Centred", "Right\x15", "\x0fTall", "Title\x19", "Tall title\x19\x0f",
                                   "\x1a", "\tTabbed\x01"});
    Layout(printer, device);
    printer.PrintBody(device, 1);
    ASSERT_EQ(device.texts.size(), 4u);
    EXPECT_EQ(ItemAt(device.texts, 0).x, 3500);
    EXPECT_EQ(ItemAt(device.texts, 0).align, CTextPrinterCanvas::Align::Center);
    EXPECT_EQ(ItemAt(device.texts, 1).x, 6500);
    EXPECT_EQ(ItemAt(device.texts, 1).align, CTextPrinterCanvas::Align::Right);
    EXPECT_EQ(ItemAt(device.texts, 2).slot, PrinterFontTall);
    EXPECT_EQ(ItemAt(device.texts, 2).y, 200);
    EXPECT_EQ(ItemAt(device.texts, 3).text, "Tabbed") << "tabs go unless kept";
    EXPECT_EQ(ItemAt(device.texts, 3).y, 700);
    ASSERT_EQ(device.rules.size(), 3u);
    EXPECT_EQ(device.rules[0].x1, 500);
    EXPECT_EQ(device.rules[0].x2, 550);
    EXPECT_EQ(device.rules[0].y, 450);
    EXPECT_EQ(device.rules[0].width, 0);
    EXPECT_EQ(device.rules[1].x2, 600);
    EXPECT_EQ(device.rules[1].width, CTextPrinter::kTallRuleWidth);
    EXPECT_EQ(device.rules[2].x2, 6500);
    EXPECT_EQ(device.rules[2].y, 650);

    printer.m_keepTabs = true;
    device.Clear();
    printer.PrintBody(device, 1);
    EXPECT_EQ(ItemAt(device.texts, 3).text, "\tTabbed");
}

TEST(TextPrinterTest, MarginsLargerThanThePaperLeaveRoomForALine)
{
    CFakeDevice device;
    device.width = 8500;
    device.height = 11000;
    CTextPrinter printer;
    printer.m_leftMargin = printer.m_rightMargin = 9999;
    printer.m_topMargin = printer.m_bottomMargin = 9999;
    printer.m_showLaterHeader = true;
    AddLines(printer, 6);
    Layout(printer, device);
    // Room for the later pages' header and one tall line.
    EXPECT_EQ(printer.FirstBodyRect().Height(), 400);
    EXPECT_EQ(printer.LaterBodyRect().Height(), 200);
    EXPECT_EQ(printer.LaterBodyRect().Width(), 1000);
    EXPECT_EQ(printer.FirstBodyRect().left, 3750);
    EXPECT_EQ(Ranges(printer), (std::vector<Range>{{0, 4}, {4, 6}}));

    // Ordinary margins are kept as they are.
    printer.m_leftMargin = printer.m_rightMargin = printer.m_topMargin = printer.m_bottomMargin = 750;
    Layout(printer, device);
    EXPECT_EQ(printer.FirstBodyRect(), (CCoreRect{750, 750, 7750, 10250}));
}

TEST(TextPrinterTest, WriteTextLaysOutPlainText)
{
    CTextPrinter printer;
    printer.insert(printer.end(), {"\x0c", "0123456789\x14", "abc\x15", "hidden\x02", "printed only\x04",
                                   "Heading\x05\x06", "-----\x19", "trailing   \t", "\x0c\x07", "\tnext"});
    std::ostringstream out;
    EXPECT_TRUE(printer.WriteText(out));
    EXPECT_EQ(out.str(), std::string(31, ' ') + "0123456789\n" + std::string(69, ' ') + "abc\nhidden\nHeading\n"
                             "-----\ntrailing\n\fnext\n");

    printer.m_keepTabs = true;
    printer.m_textWidth = 8;
    printer.assign({"0123456789\x14", "\tx\x15"});
    std::ostringstream narrow;
    printer.WriteText(narrow);
    EXPECT_EQ(narrow.str(), "0123456789\n      \tx\n");
}

TEST(TextPrinterTest, PageNumberPatternsAreLiteralTextWithOneIntegerAtMost)
{
    EXPECT_EQ(FormatPageNumber("%d", 7), "7");
    EXPECT_EQ(FormatPageNumber("Page %i of the report", 12), "Page 12 of the report");
    EXPECT_EQ(FormatPageNumber("%u", 3), "3");
    EXPECT_EQ(FormatPageNumber("%03d|%-3d|%3d|%+d", 7), "007|%-3d|%3d|%+d");
    EXPECT_EQ(FormatPageNumber("[%-3d]", 7), "[7  ]");
    EXPECT_EQ(FormatPageNumber("[% 4d]", 7), "[   7]");
    EXPECT_EQ(FormatPageNumber("[%+d]", 7), "[+7]");
    EXPECT_EQ(FormatPageNumber("100%% %d", 2), "100% 2");
    EXPECT_EQ(FormatPageNumber("%s %n %x %5.2f %ld %d", 4), "%s %n %x %5.2f %ld 4");
    EXPECT_EQ(FormatPageNumber("%d%", 4), "4%");
    EXPECT_EQ(FormatPageNumber("%999999999999d", 4), "%999999999999d");
    EXPECT_EQ(FormatPageNumber("%100d", 4).size(), 100u);
    EXPECT_EQ(FormatPageNumber("", 4), "");
}

TEST(TextPrinterTest, TimeStampIsFormattedWithoutLimitAndPreparingTwiceKeepsThePattern)
{
    CFakeDevice device;
    std::tm when{};
    when.tm_year = 102;
    when.tm_mon = 2;
    when.tm_mday = 15;
    CTextPrinter printer;
    printer.m_timeStamp = "Printed %Y-%m-%d";
    printer.PrepareDC(device, when);
    EXPECT_EQ(printer.TimeStampText(), "Printed 2002-03-15");
    printer.PrepareDC(device, when);
    EXPECT_EQ(printer.TimeStampText(), "Printed 2002-03-15");
    EXPECT_EQ(printer.m_timeStamp, "Printed %Y-%m-%d");

    std::string longPattern;
    for (int i = 0; i < 40; ++i)
        longPattern += "%Y-%m-%d ";
    printer.m_timeStamp = longPattern;
    printer.PrepareDC(device, when);
    EXPECT_EQ(printer.TimeStampText().size(), 40u * 11u);

    // Drawn in its own font at the body's left, two body lines under the body.
    printer.m_timeStamp = "%Y";
    printer.m_showFirstHeader = true;
    printer.push_back("x");
    printer.PrepareDC(device, when);
    printer.Paginate();
    printer.PrintHeaderFooter(device, 1);
    ASSERT_EQ(device.TextsIn(PrinterFontTimeStamp).size(), 1u);
    EXPECT_EQ(LastItem(device.texts).text, "2002");
    EXPECT_EQ(LastItem(device.texts).y, 1200);
}

TEST(TextPrinterTest, PrintFontsDeriveFromThePrinterFont)
{
    CLogFont base = CLogFont::Default();
    base.height = 90;
    base.underline = 1;
    base.faceName = "Courier New";
    CPrintFontSet set = MakePrintFontSet(base);
    EXPECT_EQ(set.normal.underline, 0);
    EXPECT_EQ(set.normal.weight, 400);
    EXPECT_EQ(set.italic.italic, 1);
    EXPECT_EQ(set.bold.weight, 700);
    EXPECT_EQ(set.tall.weight, 700);
    EXPECT_EQ(set.tall.height, 180);
    EXPECT_EQ(set.tall.faceName, "Courier New");
    base.weight = 600;
    EXPECT_EQ(MakePrintFontSet(base).bold.weight, 900);

    CTextPrinter printer;
    EXPECT_EQ(printer.GetFont(PrinterFontBody), nullptr);
    printer.SetFont(PrinterFontBody, set.normal);
    printer.SetFont(7, set.bold);
    ASSERT_NE(printer.GetFont(PrinterFontBody), nullptr);
    EXPECT_EQ(printer.GetFont(PrinterFontBody)->height, 90);
    EXPECT_EQ(printer.GetFont(7), nullptr);
}
