#include "substitutions/SubstitutionList.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/framework/RecordingView.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/TextHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

namespace {

using ::testing::ElementsAre;

const std::string kHeader = "filetype = Oxidarium Substitutions\nversion =  2\n";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Written(const CSubstitutionList& list)
{
    std::ostringstream out;
    EXPECT_EQ(list.Write(out), 0);
    return out.str();
}

int ReadText(CSubstitutionList& list, const std::string& text)
{
    std::istringstream in(text);
    return list.Read(in);
}

std::vector<std::string> Names(const CSubstitutionList& list)
{
    std::vector<std::string> names;
    for (const auto& record : list.m_records)
        names.push_back(record->m_name);
    return names;
}

class SubstitutionListTest : public ::testing::Test {
protected:
    std::string Today() const
    {
        std::string today;
        return GetTodayString(today, g_prefs.datefmt);
    }

    CAppContext m_context;
};

TEST_F(SubstitutionListTest, TheGoldenFileRoundTripsByteForByte)
{
    const std::string path = OXI_TEST_DATA_DIR "/substitutions/golden.sub";
    CSubstitutionList list;
    std::ifstream in(path, std::ios::binary);
    ASSERT_EQ(list.Read(in), 0) << list.m_errorText;
    EXPECT_EQ(list.m_dbName, "Golden Substitutions");
    EXPECT_EQ(list.m_fileVersion, 2);
    EXPECT_THAT(list.m_infoLines, ElementsAre("First information line", "   indented information", ""));
    ASSERT_THAT(Names(list), ElementsAre("Wollastonite for whiting and silica", "Empty sets", "Only a note"));

    const CSubstitution& first = RecordAt(list, 0);
    EXPECT_EQ(first.m_date, "03/14/2021");
    ASSERT_EQ(first.m_set1.GetCount(), 2);
    EXPECT_EQ(RecordAt(first.m_set1, 1).m_name, "Silica (SIL)");
    EXPECT_EQ(RecordAt(first.m_set1, 1).m_amount, 60.03);
    ASSERT_EQ(first.m_set2.GetCount(), 1);
    EXPECT_EQ(RecordAt(first.m_set2, 0).m_amount, 116.06);
    EXPECT_THAT(first.m_notes, ElementsAre("Calcium silicate brings its own silica.", "", "  keeps leading blanks"));
    EXPECT_EQ(RecordAt(list, 2).m_date, "");
    EXPECT_THAT(RecordAt(list, 2).m_notes, ElementsAre("x"));
    ASSERT_GE(RecordAt(list, 2).m_set2.GetCount(), 1);
    EXPECT_EQ(RecordAt(RecordAt(list, 2).m_set2, 0).m_amount, 0.0);

    EXPECT_EQ(Written(list), ReadAll(path));
}

TEST_F(SubstitutionListTest, ReadingRejectsBadFilesAndLeavesAnEmptyList)
{
    CSubstitutionList list;
    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Glazes\nversion = 2\nname = x\n"), 1);
    EXPECT_EQ(list.m_errorText, "Incorrect file type: Oxidarium Glazes");

    // The message is never cut, however long the file type.
    const std::string longType(300, 'q');
    EXPECT_EQ(ReadText(list, "filetype = " + longType + "\n"), 1);
    EXPECT_EQ(list.m_errorText, "Incorrect file type: " + longType);

    const struct {
        std::string body;
        std::string message;
    } failures[] = {
        {"date = 1/1/2000\n", "Error: parameter 'date', line 3"},
        {"name = a\nset1amt = 2\n", "Error: parameter 'set1amt', line 4"},
        {"name = a\nset1mat = Silica\nset2amt = 2\n", "Error: parameter 'set2amt', line 5"},
        {"name = a\nset1mat = Silica\nset1amt = -1\n", "Parameter 'set1amt' out of range, line 5"},
        {"note = |x\n", "Error: parameter 'note', line 3"},
    };
    for (const auto& failure : failures) {
        list.InsertAt(0, CSubstitution("left over"));
        list.m_dbName = "Old";
        EXPECT_NE(ReadText(list, kHeader + failure.body), 0) << failure.body;
        EXPECT_EQ(list.m_errorText, failure.message);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.m_dbName, "Substitutions");
        EXPECT_TRUE(list.m_infoLines.empty());
    }
    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Substitutions\nversion = 3\n"), 3);
    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Substitutions\n"), 5);
    EXPECT_EQ(list.m_errorText, "Parameter 'version' not found");
    EXPECT_EQ(ReadText(list, kHeader + "filetype = Oxidarium Substitutions\n"), 4);
}

TEST_F(SubstitutionListTest, ReadingAcceptsWhatTheFormatAllows)
{
    CSubstitutionList list;
    ASSERT_EQ(ReadText(list, "FILETYPE = x\nfiletype = oxidarium SUBSTITUTIONS\r\nversion = 1\r\n"
                             "I = |info\r\nname = No date\r\nset1mat = Talc\r\nset1amt = 0\r\nset2mat = Kaolin\r\nunknown = 4\r\n"
                             "note = x\r\nnote = |\r\n"),
              0)
        << list.m_errorText;
    EXPECT_EQ(list.m_fileVersion, 1);
    EXPECT_EQ(list.m_dbName, "Substitutions");
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(RecordAt(list, 0).m_date, Today());
    ASSERT_GE(RecordAt(list, 0).m_set1.GetCount(), 1);
    EXPECT_EQ(RecordAt(RecordAt(list, 0).m_set1, 0).m_amount, 0.0);
    // A material without its amount line has none.
    ASSERT_EQ(RecordAt(list, 0).m_set2.GetCount(), 1);
    EXPECT_EQ(RecordAt(RecordAt(list, 0).m_set2, 0).m_amount, 0.0);
    // The first character of a note is always dropped; both notes write back as "note = |".
    EXPECT_THAT(RecordAt(list, 0).m_notes, ElementsAre("", ""));
    EXPECT_NE(Written(list).find("set1amt = 0.00000\nset2mat = Kaolin\nset2amt = 0.00000\nnote = |\nnote = |\n\n"),
              std::string::npos) << Written(list);

    // An empty database writes its header and one empty line, and reads back by its name.
    CSubstitutionList empty;
    empty.m_dbName = "Nothing yet";
    EXPECT_EQ(Written(empty), kHeader + "dbname  = Nothing yet\n\n");
    ASSERT_EQ(ReadText(list, Written(empty)), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_dbName, "Nothing yet");
}

TEST_F(SubstitutionListTest, WritingKeepsEveryValueOnItsLineAndEveryAmountReadable)
{
    CSubstitutionList list;
    list.m_dbName = "two\r\nlines";
    CSubstitution s("Name with\nbreak");
    s.m_date = "d";
    s.m_set1.Add("Whiting", 10);
    s.m_set1.Add("Bad", -2);
    s.m_set2.Add("Nan", std::numeric_limits<double>::quiet_NaN());
    s.m_set2.Add("Inf", std::numeric_limits<double>::infinity());
    s.m_notes = {"note\rwith CR"};
    list.InsertAt(0, s);
    list.InsertAt(1, CSubstitution("Empty"));
    ASSERT_EQ(list.GetCount(), 2);
    RecordAt(list, 1).m_date = "e";
    const std::string text = Written(list);
    EXPECT_EQ(text, kHeader + "dbname  = two  lines\n\n"
                              "name    = Name with break\ndate    = d\n"
                              "set1mat = Whiting\nset1amt = 10.00000\nset1mat = Bad\nset1amt = 0.00000\n"
                              "set2mat = Nan\nset2amt = 0.00000\nset2mat = Inf\nset2amt = 0.00000\n"
                              "note = |note with CR\n\n"
                              "name    = Empty\ndate    = e\n\n");
    CSubstitutionList again;
    EXPECT_EQ(ReadText(again, text), 0) << again.m_errorText;

    // Amounts carry the most decimals of the two recipe preferences, at least 5.
    CSubstitutionList one;
    one.InsertAt(0, CSubstitution("x"));
    ASSERT_EQ(one.GetCount(), 1);
    RecordAt(one, 0).m_set1.Add("Silica", 1.0 / 3.0);
    const struct {
        int recipe, input;
        const char* line;
    } rows[] = {
        {8, 2, "set1amt = 0.33333333\n"},
        {2, 8, "set1amt = 0.33333333\n"}, // the amounts as typed keep every decimal typed
        {3, 3, "set1amt = 0.33333\n"},
    };
    for (const auto& row : rows) {
        g_prefs.decrecipe = row.recipe;
        g_prefs.decrecipeinput = row.input;
        EXPECT_NE(Written(one).find(row.line), std::string::npos) << row.recipe << " " << row.input;
    }
}

TEST_F(SubstitutionListTest, TheListOwnsCopiesAndIgnoresBadIndices)
{
    CSubstitutionList list;
    CSubstitution a("A");
    a.m_set1.Add("Silica", 1);
    list.InsertAt(0, a);
    list.InsertAt(2, CSubstitution("out of range"));
    list.InsertAt(1, CSubstitution("B"));
    list.InsertAt(0, CSubstitution("C"));
    ASSERT_THAT(Names(list), ElementsAre("C", "A", "B"));
    ASSERT_GE(RecordAt(list, 1).m_set1.GetCount(), 1);
    RecordAt(a.m_set1, 0).m_amount = 5;
    EXPECT_EQ(RecordAt(RecordAt(list, 1).m_set1, 0).m_amount, 1.0);

    CSubstitution* kept = list.GetAt(1);
    ASSERT_NE(kept, nullptr);
    list.SetAt(1, CSubstitution("A2"));
    EXPECT_EQ(list.GetAt(1), kept); // assigned in place
    EXPECT_EQ(kept->m_set1.GetCount(), 0);
    list.SetAt(3, CSubstitution("nowhere"));
    list.RemoveAt(-1);
    list.RemoveAt(0);
    EXPECT_THAT(Names(list), ElementsAre("A2", "B"));
    EXPECT_EQ(list.IndexOf(kept), 0);
    EXPECT_EQ(list.IndexOf(&a), -1);
    EXPECT_EQ(list.GetAt(2), nullptr);
}

TEST_F(SubstitutionListTest, TheClipboardProtocolWorksOnASubstitutionList)
{
    COxidariumApp app;
    CSubstitutionsDoc doc;
    for (const char* name : {"One", "Two", "Three"})
        doc.InsertRecord(doc.Substitutions().GetCount(), CSubstitution(name));
    CSubstitutionList clipboard;
    clipboard.m_dbName = "left over";
    clipboard.m_infoLines = {"x"};
    const auto recordAt = [&doc](int row) { return doc.Substitutions().GetAt(row); };

    const std::vector<int> rows{0, 2};
    EXPECT_TRUE(CopyRowsToClipboard(clipboard, rows, recordAt));
    EXPECT_THAT(Names(clipboard), ElementsAre("One", "Three"));
    EXPECT_EQ(clipboard.m_dbName, "Substitutions");
    EXPECT_TRUE(clipboard.m_infoLines.empty());

    CRecordingFrame frame(doc, "list");
    CPasteTarget target{nullptr, &doc, DbFileType::Substitutions, 1, doc.Substitutions().GetCount()};
    EXPECT_EQ(PasteFromClipboard(clipboard, target,
                                 [&doc](int index, const CSubstitution& s) { doc.InsertRecord(index, s); }),
              2);
    EXPECT_THAT(Names(doc.Substitutions()), ElementsAre("One", "One", "Three", "Two", "Three"));
    ASSERT_EQ(frame.view->received.size(), 1u);
    EXPECT_EQ(frame.view->At(0).kind, 3);
    EXPECT_EQ(frame.view->At(0).code, HintSubstitutionsInserted);
    EXPECT_EQ(frame.view->At(0).index, 1);

    CopyRecordToClipboard(clipboard, CSubstitution("Edited"));
    EXPECT_THAT(Names(clipboard), ElementsAre("Edited"));
}

} // namespace
