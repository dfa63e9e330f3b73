#include "elements/ElementPrinting.h"

#include "core/support/CheckedItems.h"
#include "elements/ElementsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"

#include <gtest/gtest.h>

namespace {

using Lines = CStringArrayEx;

const std::string kColumns = " Z  Sym Weight Name          Oxide   M.W.  Ceramic Role   Expansion";

Lines ListLines(const CElementRecord* table, const std::string& name, const std::string& path,
                const CStringArrayEx& info, bool formFeeds)
{
    Lines lines;
    {
        CLineOStream out(lines, 0);
        WriteElementList(out, table, name, path, info, formFeeds);
    }
    return lines;
}

Lines SummaryLines(const CElementRecord* table, std::initializer_list<int> elements, bool formFeeds)
{
    int flags[kElementCount] = {};
    for (int z : elements)
        flags[z] = 1;
    Lines lines;
    {
        CLineOStream out(lines, 0);
        WriteElementSummaries(out, table, flags, formFeeds);
    }
    return lines;
}

} // namespace

TEST(ElementPrintingTest, ListRows)
{
    const CElementRecord* table = GetDefaultElementRecords();
    EXPECT_EQ(FormatElementListRow(table[14]),
              "14  Si   28.1  Silicon       SiO2    60.1  Acid           0.35 x10e-7/deg C");
    EXPECT_EQ(FormatElementListRow(table[3]),
              "3   Li    6.9  Lithium       Li2O    29.9  Alkali         0.67 x10e-7/deg C (U.E.)");
    EXPECT_EQ(FormatElementListRow(table[25]),
              "25  Mn   54.9  Manganese     MnO     70.9  Alkali (amph.) 0.73 x10e-7/deg C");
    EXPECT_EQ(FormatElementListRow(table[9]),
              "9   F    19.0  Fluorine      F2      38.0  (volatile)     -0.18 x10e-7/deg C (U.E.)");
    EXPECT_EQ(FormatElementListRow(table[103]).substr(0, 21), "103 Lw  260.0  Lawren");

    CElementRecord odd = table[22]; // Ti, acid and amphoteric
    EXPECT_NE(FormatElementListRow(odd).find("Acid (amph.)   1.44"), std::string::npos);
    odd.expansion = 0.0;
    odd.role = 0;
    EXPECT_NE(FormatElementListRow(odd).find("(not expected) (unknown)"), std::string::npos);
    odd.name = "A name longer than the column";
    EXPECT_NE(FormatElementListRow(odd).find("A name longer than the column TiO2"), std::string::npos)
        << "a long text widens its column, never cut";
}

TEST(ElementPrintingTest, RoleWordsTestAlkaliFirst)
{
    EXPECT_STREQ(ElementSummaryRoleWord(0x94), "Alkali (amphoteric)");
    EXPECT_STREQ(ElementSummaryRoleWord(0x8C), "Neutral");
    EXPECT_STREQ(ElementSummaryRoleWord(0x8A), "Acid (amphoteric)");
    EXPECT_STREQ(ElementSummaryRoleWord(0x03), "Volatile");
    EXPECT_STREQ(ElementSummaryRoleWord(0x80), "Not Expected");
    EXPECT_STREQ(ElementListRoleWord(0x00), "(not expected)");
}

TEST(ElementPrintingTest, ListWithoutFormFeeds)
{
    const Lines lines = ListLines(GetDefaultElementRecords(), "Studio", "/data/studio.ele", {"about", "  these"}, false);
    const Lines head = {"Studio\x0f\x01",
                        "------\x19\x0f\x01",
                        "\x01",
                        "File: /data/studio.ele",
                        "",
                        "about",
                        "  these",
                        "",
                        kColumns + "\x01",
                        std::string(kColumns.size(), '-') + "\x19\x01",
                        "1   H     1.0  Hydrogen      H2O     18.0  (volatile)     (unknown)"};
    ASSERT_EQ(lines.size(), head.size() + 102);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);
    EXPECT_EQ(lines[head.size() + 12], FormatElementListRow(GetDefaultElement(14)));
    EXPECT_EQ(lines.back().substr(0, 4), "103 ");
}

TEST(ElementPrintingTest, ListWithFormFeedsAndWithoutAName)
{
    const Lines lines = ListLines(GetDefaultElementRecords(), "", "/data/x.ele", {}, true);
    const Lines head = {"/data/x.ele\x05\x06", "-----------\x02", "\x0c", kColumns + "\x05\x06",
                        std::string(kColumns.size(), '-') + "\x02"};
    ASSERT_EQ(lines.size(), head.size() + 103);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);
}

TEST(ElementPrintingTest, SummaryOfSiliconWithoutFormFeeds)
{
    EXPECT_EQ(SummaryLines(GetDefaultElementRecords(), {14}, false),
              (Lines{"14  Si Silicon\x0f\x01",
                     "--------------\x19\x0f\x01",
                     "\x01",
                     "Atomic weight:   28.1\x01",
                     "Oxide:           SiO2\x01",
                     "Oxide mol. wt. : 60.1\x01",
                     "Ceramic role:    Acid\x01",
                     "Expansion:       0.35 x 10e-7 per degree C\x01",
                     "",
                     ""}));
}

TEST(ElementPrintingTest, SummariesWithFormFeedsNotesAndAnnotations)
{
    CElementTable table;
    table[3].notes = {"one", "two", "three"};
    table[3].annotations = {"annotated"};
    table[4].unusual = 1; // Be: unknown expansion, yet unusual
    const Lines lines = SummaryLines(table.Records(), {4, 3}, true);
    const Lines lithium = {"\x0c\x07",
                           "3  Li Lithium\x05\x06",
                           "-------------\x02",
                           "\x02",
                           "Atomic weight:   6.9\x01",
                           "Oxide:           Li2O\x01",
                           "Oxide mol. wt. : 29.9\x01",
                           "Ceramic role:    Alkali\x01",
                           "Expansion:       0.67 x 10e-7 per degree C (unusual effects)\x01",
                           "",
                           "annotated\x01",
                           "",
                           "Notes:\x01",
                           "one\x01",
                           "two\x01",
                           "three"};
    ASSERT_EQ(lines.size(), lithium.size() + 9) << "lithium first, then beryllium";
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(lithium.size())), lithium);
    EXPECT_EQ(lines[lithium.size() + 1], "4  Be Beryllium\x05\x06");
    EXPECT_EQ(lines.back(), "Expansion:       (unknown) (unusual effects)\x01");
    EXPECT_TRUE(SummaryLines(table.Records(), {}, true).empty());
}

TEST(ElementPrintingTest, ReportsFollowTheWorkingTableAndPrintPreferences)
{
    CAppContext context;
    CElementsDoc doc;
    doc.Elements().SetRole(14, kRoleNeutral);
    g_prefs.prtuseffs = 0;
    Lines list;
    {
        CLineOStream out(list, 0);
        doc.WriteElementList(out);
    }
    EXPECT_EQ(ItemAt(list, 0), "Elements (default)\x0f\x01");
    EXPECT_EQ(ItemAt(list, 3), "File: ");
    EXPECT_NE(list[8 + 13].find("Neutral"), std::string::npos) << list[8 + 13];

    g_prefs.prtuseffs = 1;
    int flags[kElementCount] = {};
    flags[14] = 1;
    Lines summary;
    {
        CLineOStream out(summary, 0);
        WriteElementSummaries(out, flags);
    }
    ASSERT_GE(summary.size(), 8u);
    EXPECT_EQ(summary[1], "14  Si Silicon\x05\x06");
    EXPECT_EQ(summary[7], "Ceramic role:    Neutral\x01");
}
