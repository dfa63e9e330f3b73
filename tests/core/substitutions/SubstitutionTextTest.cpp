#include "substitutions/SubstitutionText.h"

#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "shell/OxidariumApp.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

CSubstitution Wollastonite()
{
    CSubstitution s("Wollastonite swap");
    s.m_set1.Add("Whiting", 10);
    s.m_set1.Add("Silica", 6);
    s.m_set2.Add("Wollastonite", 11.6);
    s.m_notes = {"Fires the same."};
    return s;
}

class SubstitutionTextTest : public ::testing::Test {
protected:
    CAppContext m_context;
    const CSubstitutionTextFormat m_format{false, 2, 1};
};

TEST_F(SubstitutionTextTest, TheSummaryShowsBothSetsSideBySide)
{
    std::ostringstream out;
    WriteSubstitutionSummary(out, Wollastonite(), m_format);
    const std::string blankColumn(25, ' ');
    EXPECT_EQ(out.str(), "Wollastonite swap\x0f\x01\n"
                         "-----------------\x19\x0f\x01\n"
                         "\x01\n"
                         "For:                        Substitute:\x01\n"
                         "    10.0  Whiting               11.6  Wollastonite      \x01\n"
                         "     6.0  Silica               " + blankColumn + "\x01\n"
                         "\x01\n"
                         "Fires the same.\x01\n"
                         "\n"
                         "\n");

    // With form feeds each summary starts a numbered page headed by its name.
    std::ostringstream paged;
    CSubstitution bare("Bare");
    WriteSubstitutionSummary(paged, bare, {true, 2, 1});
    EXPECT_EQ(paged.str(), "\x0c\x07\nBare\x05\x06\n----\x02\n\x02\n");

    // The document writes the preferences' format, for a given record or for indices.
    COxidariumApp app;
    CSubstitutionsDoc doc;
    doc.InsertRecord(0, bare);
    doc.InsertRecord(1, Wollastonite());
    g_prefs.prtuseffs = 0;
    g_prefs.decrecipe = 2;
    g_prefs.tzsrecipe = 1;
    std::ostringstream viaDoc;
    const int indices[] = {1, 7};
    doc.WriteSummaries(viaDoc, indices, nullptr);
    EXPECT_EQ(viaDoc.str(), out.str());
    std::ostringstream one;
    doc.WriteSummaries(one, {}, &bare);
    EXPECT_EQ(one.str(), "Bare\x0f\x01\n----\x19\x0f\x01\n\x01\n\n\n");
}

TEST_F(SubstitutionTextTest, TheTableGathersNotesAsNumberedFootnotes)
{
    CSubstitutionList list;
    list.m_dbName = "Swaps";
    list.m_infoLines = {"info"};
    list.InsertAt(0, Wollastonite());
    CSubstitution empty("No lines");
    empty.m_notes = {"skipped"};
    list.InsertAt(1, empty);
    CSubstitution second("Second");
    second.m_set1.Add("Talc", 1);
    second.m_notes = {"first line", "second line"};
    list.InsertAt(2, second);

    std::ostringstream out;
    WriteSubstitutionTable(out, list, "/data/swaps.sub", m_format);
    const std::string blankColumn(25, ' ');
    EXPECT_EQ(out.str(), "Swaps\x0f\x01\n-----\x19\x0f\x01\n\x01\n"
                         "File: /data/swaps.sub\n\ninfo\n\n\n\n"
                         "For:  10.0  Whiting             Sub:  11.6  Wollastonite        (1)\x01\n"
                         "       6.0  Silica                   " + blankColumn + "\x01\n"
                         "\n\n"
                         "For:   1.0  Talc                Sub: " + blankColumn + "  (2)\x01\n"
                         "\n\n"
                         "(1) Fires the same.\x01\n\x02\x04\n"
                         "(2) first line\x01\n    second line\x01\n\x02\x04\n");

    // A database without a name is titled by its path; with form feeds the rows start a page.
    list.m_dbName.clear();
    list.m_infoLines.clear();
    list.RemoveAt(0);
    std::ostringstream paged;
    WriteSubstitutionTable(paged, list, "/p.sub", {true, 2, 1});
    EXPECT_EQ(paged.str(), "/p.sub\x05\x06\n------\x02\n\x0c\n"
                           "For:   1.0  Talc                Sub: " + blankColumn + "  (1)\x01\n"
                           "\n\n"
                           "(1) first line\x01\n    second line\x01\n\x02\x04\n");
}

} // namespace

// Page headers come with the form-feed preference; 0 decimals write whole amounts, and more than
// 30 decimals (a hand-edited preferences file) are written as 30.
TEST_F(SubstitutionTextTest, ThePreferencesGiveTheFormatWithinBounds)
{
    g_prefs.prtuseffs = 1;
    g_prefs.decrecipe = 0;
    g_prefs.tzsrecipe = 0;
    const CSubstitutionTextFormat format = CSubstitutionTextFormat::FromPreferences();
    EXPECT_TRUE(format.formFeeds);
    EXPECT_EQ(format.decimals, 0);

    CSubstitution whole("Whole");
    whole.m_set1.Add("Whiting", 10);
    whole.m_set2.Add("Wollastonite", 12);
    std::ostringstream out;
    WriteSubstitutionSummary(out, whole, {false, 0, 0});
    EXPECT_EQ(out.str(), "Whole\x0f\x01\n"
                         "-----\x19\x0f\x01\n"
                         "\x01\n"
                         "For:                      Substitute:\x01\n"
                         "     10 Whiting                12 Wollastonite      \x01\n"
                         "\n"
                         "\n");

    std::ostringstream wide;
    WriteSubstitutionSummary(wide, whole, {false, 40, 0});
    EXPECT_NE(wide.str().find("For:" + std::string(52, ' ') + "Substitute:\x01\n"), std::string::npos);
    EXPECT_EQ(SubstitutionSetColumn(whole.m_set1, 1, {false, 40, 0}), std::string(53, ' '));
}
