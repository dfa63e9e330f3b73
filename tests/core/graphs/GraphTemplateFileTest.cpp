#include "graphs/GraphTemplateDatabase.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using ::testing::ElementsAre;

const std::string kHeader = "filetype = Oxidarium Graph Templates\nversion =  2\n\n";

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int ReadText(CGraphTemplateDatabase& database, const std::string& text)
{
    std::istringstream in(text);
    return database.Read(in);
}

std::string Written(const CGraphTemplateDatabase& database)
{
    std::ostringstream out;
    EXPECT_EQ(database.Write(out), 0);
    return out.str();
}

TEST(GraphTemplateFileTest, GoldenFileRoundTripsByteForByte)
{
    const std::string golden = ReadFileBytes(OXI_TEST_DATA_DIR "/graphs/golden.grt");
    ASSERT_FALSE(golden.empty());
    CGraphTemplateDatabase database;
    ASSERT_EQ(ReadText(database, golden), 0) << database.m_errorText;
    EXPECT_EQ(Written(database), golden);

    EXPECT_EQ(database.m_name, "Golden templates");
    EXPECT_EQ(database.m_version, 2);
    EXPECT_THAT(database.m_infoLines, ElementsAre("first information line", "  indented information", ""));
    ASSERT_EQ(database.m_oxideColors.GetCount(), 3);
    EXPECT_EQ(ItemAt(database.m_oxideColors, 1), (COxideColor{1, 9, 3, 1}));
    EXPECT_EQ(database.m_oxideColors.GetAt(3), nullptr);
    ASSERT_EQ(database.m_materialTypeColors.GetCount(), 2);
    EXPECT_EQ(database.m_materialTypeColors[1], (CMaterialTypeColor{"Local clay", 6, 5, 1}));

    ASSERT_EQ(database.GetCount(), 2);
    const CGraphTemplate& t = database.GetAt(0);
    EXPECT_EQ(t.m_name, "Everything set");
    EXPECT_THAT(t.m_notes, ElementsAre("plain note", "  two leading blanks", ""));
    EXPECT_EQ(t.type, 23);
    EXPECT_EQ(t.labels, 0);
    EXPECT_EQ(t.elev3d, -5);
    EXPECT_EQ(t.txlegsiz, 95);
    EXPECT_EQ(t.ttllft, "Left = title");
    EXPECT_EQ(t.xmin, -1.5);
    EXPECT_EQ(t.ymin, 0.125);
    EXPECT_EQ(t.zmax, 80.5);
    EXPECT_EQ(t.tickin, 2);
    EXPECT_EQ(t.bpoxides, "14,13,5");
    EXPECT_EQ(t.limform, "Cone 6 gloss");
    EXPECT_EQ(t.ovftype, 2);
    ASSERT_EQ(t.m_dataSources.GetCount(), 2);
    EXPECT_EQ(RecordAt(t.m_dataSources, 0).dspat, 3);
    EXPECT_EQ(RecordAt(t.m_dataSources, 0).dscp, 1);
    EXPECT_EQ(RecordAt(t.m_dataSources, 1).dsdbname, "Cone 6 tests");
    EXPECT_THAT(RecordAt(t.m_dataSources, 1).dsgname, ElementsAre("Celadon", "Tenmoku", "Shino"));
    EXPECT_EQ(database.GetAt(1), CGraphTemplate("Defaults only"));
}

TEST(GraphTemplateFileTest, ShippedTemplatesReadAndWriteBackUnchanged)
{
    const std::string shipped = ReadFileBytes(OXI_SHIPPED_DATA_DIR "/graphtypes.grt");
    ASSERT_FALSE(shipped.empty());
    CGraphTemplateDatabase database;
    ASSERT_EQ(ReadText(database, shipped), 0) << database.m_errorText;
    EXPECT_EQ(Written(database), shipped);
    EXPECT_GE(database.GetCount(), 5);
    EXPECT_EQ(database.m_oxideColors.GetCount(), 128);
    EXPECT_NE(database.FindByName("Silica and alumina (scatter)"), nullptr);
}

TEST(GraphTemplateFileTest, WriterLayoutOfANewTemplate)
{
    CGraphTemplateDatabase database;
    database.m_oxideColors.clear();
    database.m_materialTypeColors.clear();
    database.m_infoLines = {"line\r\nbreak"};
    CGraphTemplate t("Two\nlines");
    t.ttltop.clear();
    database.InsertAt(0, t);
    const std::string text = Written(database);
    EXPECT_EQ(text.rfind("filetype = Oxidarium Graph Templates\nversion =  2\n\n"
                         "dbname  = Graph Templates\nI = |line  break\n\nname   = ",
                         0),
              0u);
    // A line break in a value would begin a key of its own: it is written as a blank.
    EXPECT_NE(text.find("\nname   = Two lines\ntype = 0\nglzedan = n\n"), std::string::npos);
    EXPECT_NE(text.find("\nttltop = \nttllft = \n"), std::string::npos);
    EXPECT_NE(text.find("\nxmin = 0.000000\nxmax = 100.000000\n"), std::string::npos);
    EXPECT_NE(text.find("\nbpoxides = 105,106,107\nallbar = y\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\novftype = 4\nlimform = \n\n"));
}

TEST(GraphTemplateFileTest, ReaderRulesForFlagsOmittedKeysAndVersions)
{
    CGraphTemplateDatabase database;
    ASSERT_EQ(ReadText(database, "filetype = OXIDARIUM graph templates\nversion = 1\n"
                                 "name = Scatter\ntype = 23\ngridx = Yes\nlabels =\nmono = n\n"
                                 "dsname = s\ndscp = Y\ndsgname =   padded   \n"
                                 "oxcz = 500\noxccp = y\n"),
              0)
        << database.m_errorText;
    EXPECT_EQ(database.m_version, 1);
    const CGraphTemplate& t = database.GetAt(0);
    EXPECT_EQ(t.gridx, 1);
    EXPECT_EQ(t.labels, 0);
    // Keys the file leaves out keep the defaults of graph type 0, whatever the type.
    EXPECT_EQ(t.bpoxides, "105,106,107");
    EXPECT_EQ(RecordAt(t.m_dataSources, 0).dscp, 1);
    EXPECT_THAT(RecordAt(t.m_dataSources, 0).dsgname, ElementsAre("padded"));
    EXPECT_EQ(ItemAt(database.m_oxideColors, 0), (COxideColor{500, 0, 0, 1}));
    EXPECT_TRUE(database.m_materialTypeColors.empty());

    // Only the two header keys: an empty database with empty colour lists; the name stays.
    database.m_name = "kept";
    ASSERT_EQ(ReadText(database, kHeader), 0);
    EXPECT_EQ(database.GetCount(), 0);
    EXPECT_TRUE(database.m_oxideColors.empty());
    EXPECT_EQ(database.m_name, "kept");

    EXPECT_NE(ReadText(database, "filetype = Oxidarium Graph Templates\nversion = 3\n"), 0);
    EXPECT_EQ(database.m_errorText, "Parameter 'version' out of range, line 2");
    EXPECT_NE(ReadText(database, "filetype = Oxidarium Graph Templates\n"), 0);
    EXPECT_EQ(database.m_errorText, "Parameter 'version' not found");
}

TEST(GraphTemplateFileTest, FailedReadsLeaveNoTemplatesAndTheDefaultColours)
{
    CGraphTemplateDatabase database;
    // The whole type text is reported, however long.
    const std::string longType(300, 'x');
    EXPECT_NE(ReadText(database, "filetype = " + longType + "\nversion = 2\n"), 0);
    EXPECT_EQ(database.m_errorText, "Incorrect file type: " + longType);

    const std::pair<const char*, const char*> orphans[] = {
        {"note = |x\n", "Error: parameter 'note', line 4"},
        {"dsdb = 1\n", "Error: parameter 'dsdb', line 4"},
        {"name = t\ndsgname = g\n", "Error: parameter 'dsgname', line 5"},
        {"oxccol = 3\n", "Error: parameter 'oxccol', line 4"},
        {"mtccp = y\n", "Error: parameter 'mtccp', line 4"},
        {"type = 1\n", "Error: parameter 'type', line 4"},
    };
    for (const auto& [body, message] : orphans) {
        EXPECT_NE(ReadText(database, kHeader + body), 0) << body;
        EXPECT_EQ(database.m_errorText, message);
        EXPECT_EQ(database.GetCount(), 0);
        EXPECT_TRUE(database.m_infoLines.empty());
        EXPECT_EQ(database.m_oxideColors.GetCount(), 128);
        EXPECT_EQ(database.m_materialTypeColors.GetCount(), 9);
    }
    // Records read before the failure are dropped too.
    EXPECT_NE(ReadText(database, kHeader + "I = |info\nname = first\nmtctype = frit\nversion = 2\n"), 0);
    EXPECT_EQ(database.GetCount(), 0);
    EXPECT_TRUE(database.m_infoLines.empty());
    EXPECT_EQ(database.m_materialTypeColors.GetCount(), 9);
}

} // namespace

namespace {

// Regression: one count outside its range made the whole file unreadable ("Parameter 'xtickm'
// out of range, line 754"), so the shipped templates of an earlier build or edited by hand could
// not be opened. Every template is read, each value kept as stored (a save writes it back
// unchanged; a chart bounds its copy when built), and the first is noted by template and line.
TEST(GraphTemplateFileTest, CountsAndSizesOutsideTheirRangesAreKeptAndNoted)
{
    const std::string shipped = ReadFileBytes(OXI_SHIPPED_DATA_DIR "/graphtypes.grt");
    std::string text = shipped;
    text.replace(text.find("xtickm = 1\n"), 10, "xtickm = 150");
    text.replace(text.rfind("barwid = 50\n"), 11, "barwid = -2147483648");
    CGraphTemplateDatabase database;
    ASSERT_EQ(ReadText(database, text), 0) << database.m_errorText;
    ASSERT_EQ(database.GetCount(), 25);
    ASSERT_NE(database.FindByName("Oxide groups (pie)"), nullptr);
    EXPECT_EQ(database.FindByName("Oxide groups (pie)")->xtickm, 150);
    EXPECT_EQ(RecordAt(database, 24).barwid, INT_MIN);
    const CParamNote& noted = database.m_readNotes.outOfRange;
    EXPECT_EQ(noted.count, 2);
    EXPECT_EQ(noted.line, 754);
    EXPECT_EQ(noted.text, "template \"Oxide groups (pie)\": xtickm = 150 is outside its range, 0 to 100; kept as it "
                          "is, it is used as 100");
    EXPECT_EQ(Written(database), text);

    // Each bound holds, whatever the value's size.
    const std::pair<const char*, std::string> kept[] = {
        {"xtick = 2147483647", "xtick = 2147483647 is outside its range, 0 to 1000; kept as it is, it is used as 1000"},
        {"ztickm = 101", "ztickm = 101 is outside its range, 0 to 100; kept as it is, it is used as 100"},
        {"xtick = -1", "xtick = -1 is outside its range, 0 to 1000; kept as it is, it is used as 0"},
        {"txlegsiz = 1001", "txlegsiz = 1001 is outside its range, 0 to 1000; kept as it is, it is used as 1000"},
        {"xtick = 1000", ""}, {"xtickm = 100", ""}, {"barwid = 0", ""}, {"elev3d = -360", ""}, {"hsteps = 0", ""},
    };
    for (const auto& [line, note] : kept) {
        ASSERT_EQ(ReadText(database, kHeader + "name = t\n" + line + "\n"), 0) << line;
        EXPECT_EQ(database.m_readNotes.outOfRange.text, note.empty() ? "" : "template \"t\": " + note);
        EXPECT_EQ(database.m_readNotes.outOfRange.count, note.empty() ? 0 : 1);
    }
}

} // namespace
