#include "glazes/HyperGlazeText.h"

#include "core/support/CheckedItems.h"
#include "core/glazes/GlazeTextTestSupport.h"
#include "glazes/InsightImport.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <cmath>
#include <filesystem>
#include <random>
#include <vector>

namespace {

using HyperGlazeTextTest = GlazeTextTest;

TEST_F(HyperGlazeTextTest, GoldenRecordsImportExactly)
{
    CGlazeList list;
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(list, Fixture("hyperglaze_records.txt")), 2);
    ASSERT_EQ(list.GetCount(), 2); // the short last line adds nothing, and the user is told
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Fixture("hyperglaze_records.txt") +
                                                           ": 1 record could not be read and was left out:\n"
                                                           "record 3 \"Broken\""});
    m_messages.boxes.clear();

    const CGlaze& tenmoku = RecordAt(list, 0);
    EXPECT_EQ(tenmoku.m_name, "Tenmoku");
    EXPECT_EQ(tenmoku.m_range, "10");
    EXPECT_EQ(tenmoku.m_highCone, 10);
    EXPECT_EQ(tenmoku.m_color, "black");
    EXPECT_EQ(tenmoku.m_quality, "glossy");
    EXPECT_EQ(tenmoku.m_firetype, "reduction");
    EXPECT_EQ(tenmoku.m_tested, "tested");
    EXPECT_EQ(tenmoku.m_date, "7/4/1999");
    EXPECT_EQ(tenmoku.m_dateValue, 19990704);
    EXPECT_EQ(tenmoku.m_type, "iron");
    EXPECT_EQ(tenmoku.m_notes, CStringArrayEx{"Breaks rust on edges."});
    // Names in fields 4, 8 and 10 (6 empty); the fourth amount has no component.
    ExpectLines(tenmoku.m_components, {{"Custer Feldspar", 45.5}, {"Silica", 30}, {"Whiting", 24.5}});
    ExpectLines(tenmoku.m_additions, {{"Red Iron Oxide", 10}});

    const CGlaze& clear = RecordAt(list, 1);
    EXPECT_EQ(clear.m_name, "Clear Base");
    EXPECT_EQ(clear.m_date, "");
    ExpectLines(clear.m_components, {{"Frit 3134", 60}, {"EPK", 40}, {"Flint", 0}});

    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, (m_dir / "none.txt").string()), 2);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{(m_dir / "none.txt").string() + ": Error opening file"});
    // A folder is no file to read, and the message says so as every other open does.
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, m_dir.string()), 2);
    EXPECT_EQ(m_messages.Last().text, m_dir.string() + ": not a regular file");
}

// Regression: random bytes were read as five junk glazes; a file without a single record of
// the export is refused with a message and adds nothing.
TEST_F(HyperGlazeTextTest, AFileWithoutRecordsIsRefused)
{
    std::mt19937 random(15);
    std::string bytes(65536, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xff);
    const std::string junk = WriteFile("junk.bin", bytes);
    CGlazeList list;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, junk), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{junk + ": " + kNoRecordsMessage});
    EXPECT_EQ(m_messages.At(0).helpId, kGlazeImportErrorHelpId);

    // Good records among lines that are no records still come in; the others are named.
    m_messages.boxes.clear();
    const std::string record = "Good\t6" + std::string(49, '\t') + "end\n";
    const std::string mixed = WriteFile("mixed.txt", record + "x\ty\x01" + std::string(50, '\t') + "\n" + record);
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(list, mixed), 2);
    EXPECT_EQ(RecordAt(list, 1).m_name, "Good");
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{mixed + ": 1 record could not be read and was left out:\nrecord 2 \"x\""});
}

// One record of the export: name, cone 6, Silica 25 (and Kaolin 75 when kaolin), the note, and
// only the first tabs TABs when it is to be cut short.
std::string Record(const std::string& name, const std::string& note, int tabs = 50, bool kaolin = false)
{
    std::string fields[51];
    fields[0] = name;
    fields[1] = "6";
    fields[4] = "Silica";
    fields[6] = kaolin ? "Kaolin" : "";
    fields[32] = kaolin ? "25\x1d" "75" : "25";
    fields[39] = note;
    std::string line = fields[0];
    for (int i = 1; i <= tabs; ++i)
        line += "\t" + fields[i];
    return line + "\n";
}

// Regression: of five records, one with a CR in its note and one a field short, only two or
// three came in, the record after the short one went with it, and nobody was told. Regression: a
// note line beginning "Glaze name:" made the whole file read as labelled text (eight records came
// in as the one glaze "Six (older)"); and a record cut short after a TAB took the next record's
// first line as its own fields and came in as "Seven" with the components Silica, Kaolin and "6"
// (the next record's cone).
TEST_F(HyperGlazeTextTest, EveryReadableRecordComesInAndTheOthersAreNamed)
{
    const std::string path =
        WriteFile("eight.txt", Record("One", "plain") + Record("Two", "first\rsecond line") +
                                   Record("Three", "short", 49) + Record("Four", "") +
                                   Record("Five", "last\n\nafter a blank line") +
                                   Record("Six", "See card.\nGlaze name: Six (older)") + Record("Seven", "", 11, true) +
                                   Record("Eight", "a card\nin two lines"));
    CGlazeList list;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, path), 6);
    ASSERT_EQ(list.GetCount(), 6);
    EXPECT_EQ(RecordAt(list, 0).m_name, "One");
    EXPECT_EQ(RecordAt(list, 1).m_name, "Two");
    EXPECT_EQ(RecordAt(list, 1).m_notes, CStringArrayEx{"first second line"}); // one paragraph, re-flowed
    ExpectLines(RecordAt(list, 1).m_components, {{"Silica", 25}});
    EXPECT_EQ(RecordAt(list, 2).m_name, "Four");
    EXPECT_EQ(RecordAt(list, 3).m_name, "Five");
    EXPECT_EQ(RecordAt(list, 3).m_notes, (CStringArrayEx{"last", "", "after a blank line"}));
    EXPECT_EQ(RecordAt(list, 4).m_name, "Six");
    EXPECT_EQ(RecordAt(list, 4).m_notes, CStringArrayEx{"See card. Glaze name: Six (older)"});
    EXPECT_EQ(RecordAt(list, 5).m_name, "Eight");
    EXPECT_EQ(RecordAt(list, 5).m_range, "6");
    EXPECT_EQ(RecordAt(list, 5).m_notes, CStringArrayEx{"a card in two lines"});
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + ": 2 records could not be read and were left out:\n"
                                                                  "record 3 \"Three\"\nrecord 7 \"Seven\""});
    EXPECT_EQ(m_messages.At(0).helpId, kGlazeImportErrorHelpId);
}

// Regression: negative amounts were kept and "1e999" read as 1.8e308, so that the recipe's total
// showed "inf" or -50.00 and the next save wrote 0 or a 309-digit number, without a word; "1,5"
// came in as 1 unsaid, and "1e-320" as an amount the next save wrote as 0. Such lines are left
// out and named, and what was read otherwise than written is told once, in the one message of the
// file.
TEST_F(HyperGlazeTextTest, AmountsNoRecipeHoldsAreLeftOutAndNamed)
{
    std::string fine = Record("Fine", "", 50, true);
    fine.replace(fine.find("25\x1d" "75"), 5, "1e-320\x1d" "1,5");
    std::string odd = Record("Odd", "", 50, true);
    odd.replace(odd.find("25\x1d" "75"), 5, "-5\x1d" "1e999");
    const std::string path = WriteFile("amounts.txt", fine + "\n" + odd + Record("Later", "1,0"));
    CGlazeList list;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, path), 3);
    ASSERT_EQ(list.GetCount(), 3);
    // An amount the glaze file would write as 0 is read as the 0 it would come back as.
    ExpectLines(RecordAt(list, 0).m_components, {{"Silica", 0}, {"Kaolin", 1}});
    EXPECT_EQ(RecordAt(list, 1).m_components.GetCount(), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{
                                      path + ": line 1: \"1e-320\" is less than a recipe keeps; read as 0 (the first "
                                             "of 2 values in the file that could not be read as written)\n\n" + path +
                                      ": 2 ingredient lines were left out, their amounts negative or more than a recipe "
                                      "holds:\nline 3 (Odd): Silica -5\nline 3 (Odd): Kaolin 1e999"});
    EXPECT_EQ(m_messages.At(0).helpId, kGlazeImportErrorHelpId);
}

// A file whose every record had to be left out names them too, and says nothing came in.
TEST_F(HyperGlazeTextTest, AFileWhoseEveryRecordIsLeftOutNamesThem)
{
    const std::string fields(50, '\t');
    const std::string path = WriteFile("bad.txt", "Celadon\x01" + fields + "\nShino\t\x02" + fields.substr(1) + "\n");
    CGlazeList list;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, path), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + ": 2 records could not be read and were left out:\n"
                                                                  "record 1 \"Celadon \"\nrecord 2 \"Shino\"\n"
                                                                  "Nothing was imported."});
    EXPECT_EQ(m_messages.At(0).helpId, kGlazeImportErrorHelpId);

    // Past ten the records are only counted.
    std::string many;
    std::string named;
    for (int i = 1; i <= 11; ++i) {
        many += Record("R" + std::to_string(i), "short", 49);
        named += i <= 10 ? "\nrecord " + std::to_string(i) + " \"R" + std::to_string(i) + "\"" : "";
    }
    const std::string manyPath = WriteFile("many.txt", many);
    m_messages.boxes.clear();
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, manyPath), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{manyPath + ": 11 records could not be read and were left out:" +
                                                           named + "\nand 1 more\nNothing was imported."});
}

TEST_F(HyperGlazeTextTest, ExportWritesLabelledLinesEndedByCr)
{
    CGlazeList glazes;
    CGlaze glaze = MakeGlaze("Shino", {{"Nepheline Syenite", 40.126}, {"EPK", 60}}, {{"Soda Ash", 2}});
    glaze.m_range = "10";
    glaze.m_firetype = "reduction";
    glaze.m_flaws = "crawls";
    glaze.m_vistexture = "satin";
    glaze.m_byVol = 1;
    glaze.m_notes = {"Thick."};
    glaze.m_variations = {"less soda"};
    Append(glazes, glaze);
    Append(glazes, MakeGlaze("Bare", {{"Rutile", 0}}));
    std::ostringstream out;
    const int indices[] = {0, 1};
    EXPECT_EQ(CHyperGlazeIO::ExportRecipes(out, glazes, indices), 0);
    EXPECT_EQ(out.str(), "Glaze name: Shino\rCone: 10\rColor: \rTesting: \rSurface: \rFiring: reduction\r"
                         "Visual texture: satin\rFlaws: crawls\rRecipe:\rNepheline Syenite\t40.13\rEPK\t60.00\r"
                         "Also add:\rSoda Ash\t2.00\r"
                         "Comments:\rRecipe given by volume.\rThick.\rVariations --\rless soda\r"
                         "Glaze name: Bare\rCone: \rColor: \rTesting: \rSurface: \rFiring: \rRecipe:\rRutile\t0.00\r"
                         "Comments:\r");

    // Written text reads back through the same import.
    const std::string path = WriteFile("export.txt", out.str());
    CGlazeList back;
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(back, path), 2);
    const CGlaze& shino = RecordAt(back, 0);
    EXPECT_EQ(shino.m_range, "10");
    EXPECT_EQ(shino.m_flaws, "crawls");
    ExpectLines(shino.m_components, {{"Nepheline Syenite", 40.13}, {"EPK", 60}});
    ExpectLines(shino.m_additions, {{"Soda Ash", 2}});
    // The comment lines run on into one paragraph when re-flowed.
    EXPECT_EQ(shino.m_notes, CStringArrayEx{"Recipe given by volume. Thick. Variations -- less soda"});
    EXPECT_EQ(RecordAt(back, 1).m_name, "Bare");
    // Regression: an amount of 0 came back as a missing one, asked about and set to 99999.
    ExpectLines(RecordAt(back, 1).m_components, {{"Rutile", 0}});
    EXPECT_TRUE(m_messages.boxes.empty());
    // So does it behind a line of other text.
    CGlazeList behind;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(behind, WriteFile("behind.txt", "Shared by a friend\r" + out.str())), 2);

    // A text edited elsewhere mixes its line ends: CR, LF and CR LF each end one line, and every
    // recipe comes in whole.
    std::string mixed = out.str();
    mixed.replace(mixed.find('\r'), 1, "\n");                  // the first line ends with LF
    mixed.replace(mixed.find("Flaws: crawls\r"), 14, "Flaws: crawls\r\n");
    mixed.replace(mixed.rfind("Recipe:\r"), 8, "Recipe:\n");
    CGlazeList mixedBack;
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(mixedBack, WriteFile("mixed.txt", mixed)), 2);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(RecordAt(mixedBack, 0).m_name, "Shino");
    EXPECT_EQ(RecordAt(mixedBack, 0).m_range, "10");
    EXPECT_EQ(RecordAt(mixedBack, 0).m_flaws, "crawls");
    ExpectLines(RecordAt(mixedBack, 0).m_components, {{"Nepheline Syenite", 40.13}, {"EPK", 60}});
    ExpectLines(RecordAt(mixedBack, 0).m_additions, {{"Soda Ash", 2}});
    EXPECT_EQ(RecordAt(mixedBack, 0).m_notes, shino.m_notes);
    EXPECT_EQ(RecordAt(mixedBack, 1).m_name, "Bare");
    ExpectLines(RecordAt(mixedBack, 1).m_components, {{"Rutile", 0}});
}

// --- the outside sample: 60 recipes of a HyperGlaze user's labelled text -----------------------

struct SampleRecipe {
    std::string name;
    std::string cone;
    int components = 0;
    int additions = 0;
    double batchTotal = 0.0; // from the "Totals:" line
};

// Reads the sample's blocks independently of the importer, from its raw lines.
std::vector<SampleRecipe> ScanSample(const std::string& text)
{
    std::vector<SampleRecipe> recipes;
    int section = 0; // 1 recipe lines, 2 additions
    for (std::string line : SplitImportLines(text, '\n')) {
        TrimStringRight(line);
        if (line.rfind("Glaze name:", 0) == 0) {
            recipes.push_back({TrimString(line.erase(0, 11)), "", 0, 0, 0.0});
            section = 0;
        } else if (recipes.empty()) {
        } else if (line.rfind("Cone:", 0) == 0) {
            recipes.back().cone = TrimString(line.erase(0, 5));
        } else if (line.rfind("Recipe:", 0) == 0) {
            section = 1;
        } else if (line.rfind("Totals:", 0) == 0) {
            recipes.back().batchTotal = ParseDouble(line.substr(line.rfind('\t') + 1));
            section = 0;
        } else if (line.rfind("Also add:", 0) == 0) {
            section = 2;
        } else if (line.empty() || line.rfind("Comments:", 0) == 0) {
            section = section == 2 ? 0 : section;
        } else if (section == 1) {
            ++recipes.back().components;
        } else if (section == 2) {
            ++recipes.back().additions;
        }
    }
    return recipes;
}

void ExpectSameGlaze(const CGlaze& a, const CGlaze& b)
{
    SCOPED_TRACE(a.m_name);
    for (const auto member : {&CGlaze::m_name, &CGlaze::m_range, &CGlaze::m_color, &CGlaze::m_tested,
                              &CGlaze::m_quality, &CGlaze::m_firetype, &CGlaze::m_type})
        EXPECT_EQ(a.*member, b.*member);
    for (const auto list : {&CGlaze::m_components, &CGlaze::m_additions}) {
        ASSERT_EQ((a.*list).GetCount(), (b.*list).GetCount());
        for (int i = 0; i < (a.*list).GetCount(); ++i) {
            EXPECT_EQ((a.*list).GetAt(i).m_name, (b.*list).GetAt(i).m_name);
            EXPECT_NEAR((a.*list).GetAt(i).m_amount, (b.*list).GetAt(i).m_amount, 0.005);
        }
    }
    EXPECT_EQ(a.m_notes, b.m_notes);
}

TEST_F(HyperGlazeTextTest, OutsideSampleImportsAndRoundTrips)
{
    const std::string path = std::string(OXI_ORACLE_DIR) + "/glazy/hyperglaze-labelled-text-katz-sample.txt";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "outside sample not present: " << path;
    const std::vector<SampleRecipe> expected = ScanSample(ReadFile(path));
    ASSERT_EQ(expected.size(), 60u);

    CGlazeList list;
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(list, path), 60);
    ASSERT_EQ(list.GetCount(), 60);
    // Three of the sample's lines lack a column; the import asks about each (and goes on).
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(0).text, "Missing ingredient amount?\n Glaze: Midrange Majolica 2\n"
                                        " Line reads: Add CMC gum to harden surface\n(setting amount to 99999.0)");
    EXPECT_EQ(m_messages.At(2).text, "Missing ingredient name?\n Glaze: Weiser Apache Sig\n(setting name to 'XXXXXX')");
    m_messages.boxes.clear();
    for (int i = 0; i < 60; ++i) {
        const SampleRecipe& want = expected[static_cast<std::size_t>(i)];
        const CGlaze& glaze = RecordAt(list, i);
        SCOPED_TRACE(want.name);
        EXPECT_EQ(glaze.m_name, want.name);
        EXPECT_EQ(glaze.m_range, want.cone);
        EXPECT_EQ(glaze.m_components.GetCount(), want.components);
        EXPECT_EQ(glaze.m_additions.GetCount(), want.additions);
        // The batch column adds up to the stated total (rounded as the sample rounds it); one
        // recipe states no batch at all.
        if (want.components > 0 && want.batchTotal > 0.0) {
            EXPECT_NEAR(glaze.m_components.GetTotalAmount(), want.batchTotal, 0.006 * want.batchTotal + 0.02);
        }
    }

    std::vector<int> all(60);
    for (int i = 0; i < 60; ++i)
        all[static_cast<std::size_t>(i)] = i;
    std::ostringstream out;
    EXPECT_EQ(CHyperGlazeIO::ExportRecipes(out, list, all), 0);
    CGlazeList back;
    ASSERT_EQ(CHyperGlazeIO::ImportRecipes(back, WriteFile("again.txt", out.str())), 60);
    EXPECT_TRUE(m_messages.boxes.empty());
    for (int i = 0; i < 60 && i < back.GetCount(); ++i)
        ExpectSameGlaze(RecordAt(list, i), RecordAt(back, i));
}

} // namespace
