#include "glazes/InsightImport.h"

#include "core/support/CheckedItems.h"
#include "core/glazes/GlazeTextTestSupport.h"
#include "shell/Preferences.h"
#include "support/TextHelpers.h"

#include <vector>

namespace {

using InsightImportTest = GlazeTextTest;

TEST_F(InsightImportTest, GoldenRecipeFileImportsExactly)
{
    CGlazeList list;
    std::vector<std::string> paths = {Fixture("insight_golden.rcp")};
    ASSERT_EQ(CInsightIO::ImportRecipes(list, paths, false), 1);
    EXPECT_TRUE(m_messages.boxes.empty());
    ASSERT_EQ(list.GetCount(), 1);
    const CGlaze& glaze = RecordAt(list, 0);
    EXPECT_EQ(glaze.m_name, "Celadon #2");
    ExpectLines(glaze.m_components, {{"Silica", 30.5}, {"Custer Feldspar", 45}, {"Whiting", 20}, {"EPK", 4.5}});
    EXPECT_EQ(glaze.m_additions.GetCount(), 0);
    // Blank lines inside the notes stay; those at their start and end go.
    EXPECT_EQ(glaze.m_notes, (CStringArrayEx{"Reduction fired.", "", "Thin application."}));
    std::string today;
    EXPECT_EQ(glaze.m_date, GetTodayString(today, g_prefs.datefmt));
    EXPECT_TRUE(glaze.m_range.empty());
}

TEST_F(InsightImportTest, VersionAndLineEndsDecideTheLayout)
{
    // Version 4.0 with bare LF ends carries an extra line after each material; with CR LF it
    // does not. A file ending right after "eof" has no notes. Regression: one CR LF line in the
    // notes of an LF file made every amount of it read from the wrong line.
    const std::string lf =
        WriteFile("lf.rcp", "4.0\nRCP\nx\nLF glaze\nsilica\n-\n30\nWhiting\n-\n70\nEOF\nNOTES\npasted\r\nENDNOTES\n");
    const std::string crlf = WriteFile("crlf.rcp", "4.0\r\nRCP\r\nx\r\nCRLF glaze\r\nWhiting\r\n55\r\neof\r\n");
    const std::string old = WriteFile("old.rcp", "3.5\nRCP\nx\nOld\nWhiting\n1\nEOF\n");
    const std::string cut = WriteFile("cut.rcp", "5.0\nRCP\nx\nCut\nWhiting\n1\nEOF\nNOTES\nhalf");
    const std::string cases = WriteFile("case.rcp", "5\nrcp\nx\nCase\nWhiting\n1\nEof\nstuff\nNOTES\nnote\nEndNotes\n");
    const std::string blank = WriteFile("blank.rcp", "\n5.0\nRCP\nx\nBlank\nWhiting\n1\nEOF\n");
    CGlazeList list;
    // Regression: /dev/zero was read until the memory ran out.
    std::vector<std::string> paths = {lf, old, crlf, cut, cases, (m_dir / "missing.rcp").string(), "/dev/zero",
                                      m_dir.string(), blank};
    EXPECT_EQ(CInsightIO::ImportRecipes(list, paths, false), 5);
    ASSERT_EQ(list.GetCount(), 5);
    ExpectLines(RecordAt(list, 0).m_components, {{"Silica", 30}, {"Whiting", 70}});
    EXPECT_EQ(RecordAt(list, 0).m_notes, CStringArrayEx{"pasted"});
    ExpectLines(RecordAt(list, 1).m_components, {{"Whiting", 55}});
    EXPECT_TRUE(RecordAt(list, 1).m_notes.empty());
    // Regression: notes running to the end without "ENDNOTES" rejected the whole recipe.
    EXPECT_EQ(RecordAt(list, 2).m_name, "Cut");
    EXPECT_EQ(RecordAt(list, 2).m_notes, CStringArrayEx{"half"});
    EXPECT_EQ(RecordAt(list, 3).m_name, "Case");
    EXPECT_EQ(RecordAt(list, 3).m_notes, CStringArrayEx{"note"});
    // A blank line before the version is passed over.
    EXPECT_EQ(RecordAt(list, 4).m_name, "Blank");
    ExpectLines(RecordAt(list, 4).m_components, {{"Whiting", 1}});

    ASSERT_EQ(m_messages.boxes.size(), 4u);
    EXPECT_EQ(m_messages.At(0).text, old + ": Incorrect version number (should be >= 4.0)");
    EXPECT_EQ(m_messages.At(0).type, unsigned(MsgOkCancel | MsgIconExclamation));
    EXPECT_EQ(m_messages.At(0).helpId, kInsightImportErrorHelpId);
    EXPECT_EQ(m_messages.At(1).text, (m_dir / "missing.rcp").string() + ": Error opening file");
    EXPECT_EQ(m_messages.At(2).text, "/dev/zero: not a regular file");
    EXPECT_EQ(m_messages.At(3).text, m_dir.string() + ": not a regular file");
}

// Regression: negative amounts were kept, "1e999" read as 1.8e308 and "1,5" as 1 without the
// note the glaze database's reader gives: the recipe's total showed "inf" or less than nothing.
// Such lines are left out and named; what was read otherwise than written is told once a file.
TEST_F(InsightImportTest, AmountsNoRecipeHoldsAreLeftOutAndNamed)
{
    const std::string path = WriteFile("odd.rcp", "5.0\nRCP\nx\nOdd\nSilica\n1,5\nWhiting\n-5\nKaolin\n1e999\n"
                                                   "Talc\n2,5\nZircon\nnotes\nFeldspar\n40\nEOF\n");
    CGlazeList list;
    std::vector<std::string> paths = {path};
    EXPECT_EQ(CInsightIO::ImportRecipes(list, paths, false), 1);
    ASSERT_EQ(list.GetCount(), 1);
    // An amount reading "notes" is no number, not the start of the notes.
    ExpectLines(RecordAt(list, 0).m_components, {{"Silica", 1}, {"Talc", 2}, {"Zircon", 0}, {"Feldspar", 40}});
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{path + ": line 6: \"1,5\" is not a number; read as 1 (the first of 3 values in "
                                              "the file that could not be read as written)\n\n" +
                                       path + ": 2 ingredient lines were left out, their amounts negative or more "
                                              "than a recipe holds:\nline 8 (Odd): Whiting -5\nline 10 (Odd): Kaolin "
                                              "1e999"});
    EXPECT_EQ(m_messages.At(0).helpId, kInsightImportErrorHelpId);
}

TEST_F(InsightImportTest, SuggestedFileNames)
{
    EXPECT_EQ(CInsightIO::SuggestedFileName("Cone 6 Clear!"), "Cone6Cle.rcp");
    EXPECT_EQ(CInsightIO::SuggestedFileName("#2"), "2.rcp");
    // Regression: a name without letters or digits was offered ".rcp", a hidden file.
    EXPECT_EQ(CInsightIO::SuggestedFileName("*** ---"), "glaze.rcp");
    EXPECT_EQ(CInsightIO::SuggestedFileName(""), "glaze.rcp");
}

TEST_F(InsightImportTest, CancelDiscardsEverythingRead)
{
    const std::string good = WriteFile("good.rcp", "5.0\nRCP\nx\nGood\nWhiting\n1\nEOF\n");
    const std::string bad = WriteFile("bad.rcp", "5.0\nRCP\nx\nBad\n");
    CGlazeList list;
    list.m_name = "Other";
    list.m_infoLines.push_back("info");
    m_messages.answers.push_back(MsgResultCancel);
    std::vector<std::string> paths = {good, bad, good};
    EXPECT_EQ(CInsightIO::ImportRecipes(list, paths, false), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_name, "Glazes");
    EXPECT_TRUE(list.m_infoLines.empty());
}

TEST_F(InsightImportTest, ExportedRecipesReadBackFromTheClipboard)
{
    CGlazeList source;
    CGlaze first = MakeGlaze("First", {{"Silica", 25}, {"Whiting", 75}}, {{"Rutile", 4}});
    first.m_notes = {"one", "", "two"};
    Append(source, first);
    Append(source, MakeGlaze("Second", {{"EPK", 12.345}}));
    std::ostringstream out;
    const int indices[] = {1, 7, 0};
    EXPECT_EQ(CInsightIO::WriteRecipes(out, source, indices), 0);
    EXPECT_EQ(out.str(), "5.0\nRCP\nSTANDARD.MDT\nSecond\nEPK\n12.35\nEOF\n0\nNOTES\nENDNOTES\n"
                         "\n5.0\nRCP\nSTANDARD.MDT\nFirst\nSilica\n25.00\nWhiting\n75.00\nRutile\n4.00\n"
                         "EOF\n0\nNOTES\none\n\ntwo\nENDNOTES\n");

    // The clipboard carries CR LF ends; both recipes come back, the additions as components.
    std::string clip = out.str();
    std::string crlf;
    for (const char c : clip)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    m_clipboard.SetText(crlf);
    CGlazeList list;
    std::vector<std::string> paths;
    ASSERT_EQ(CInsightIO::ImportRecipes(list, paths, true), 2);
    EXPECT_EQ(paths, std::vector<std::string>{"Clipboard"});
    EXPECT_EQ(RecordAt(list, 0).m_name, "Second");
    ExpectLines(RecordAt(list, 0).m_components, {{"EPK", 12.35}});
    ExpectLines(RecordAt(list, 1).m_components, {{"Silica", 25}, {"Whiting", 75}, {"Rutile", 4}});
    EXPECT_EQ(RecordAt(list, 1).m_notes, (CStringArrayEx{"one", "", "two"}));

    m_clipboard.SetText("5.0\r\nRCP\r\nx\r\nHalf\r\nSilica\r\n");
    EXPECT_EQ(CInsightIO::ImportRecipes(list, paths, true), 2);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Clipboard: Premature end of file"});
}

TEST_F(InsightImportTest, EditViewClipboardExchange)
{
    CIngredientList components;
    components.Add("Silica", 30.5);
    components.Add("Whiting", 45);
    CIngredientList additions;
    additions.Add("Rutile", 0.125);
    std::ostringstream parts[3];
    WriteInsightClipboardRecipe(parts[0], "Blue", kInsightComponents, components, additions);
    WriteInsightClipboardRecipe(parts[1], "Blue", kInsightAdditions, components, additions);
    WriteInsightClipboardRecipe(parts[2], "Blue", kInsightEntireRecipe, components, additions);
    EXPECT_EQ(parts[0].str(), "Blue (components only)\nSilica  30.5\nWhiting  45\n");
    EXPECT_EQ(parts[1].str(), "Blue (additions only)\nRutile  0.125\n");
    EXPECT_EQ(parts[2].str(), "Blue\nSilica  30.5\nWhiting  45\nRutile  0.125\n");

    std::string title;
    CStringArrayEx lines;
    EXPECT_EQ(ReadInsightClipboardRecipe(" Blue (additions only) \r\n Rutile  2\r\n\r\n", title, lines),
              kInsightAdditions);
    EXPECT_EQ(title, "Blue (additions only)");
    EXPECT_EQ(lines, CStringArrayEx{"Rutile  2"});
    EXPECT_EQ(ReadInsightClipboardRecipe("Blue\r\nSilica  1\r\n", title, lines), kInsightEntireRecipe);

    // Lines naming a present addition become additions; all others, components.
    CIngredientList received;
    received.Add("silica", 40);
    received.Add("RUTILE", 3);
    CIngredientList present;
    present.Add("Rutile", 1);
    CIngredientList newComponents;
    SplitInsightRecipe(received, present, newComponents, present);
    ExpectLines(newComponents, {{"silica", 40}});
    ExpectLines(present, {{"RUTILE", 3}});
}

} // namespace
