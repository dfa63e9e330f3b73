#include "glazes/ReciparyText.h"

#include "core/support/CheckedItems.h"
#include "core/glazes/GlazeTextTestSupport.h"
#include "glazes/InsightImport.h"
#include "shell/Preferences.h"

#include <vector>

namespace {

using ReciparyTextTest = GlazeTextTest;

int ImportClipboard(CFakeClipboard& clipboard, CGlazeList& list, const std::string& text)
{
    clipboard.SetText(text);
    return CReciparyIO::ImportRecipes(list, "");
}

TEST_F(ReciparyTextTest, GoldenFileImportsExactly)
{
    CGlazeList list;
    ASSERT_EQ(CReciparyIO::ImportRecipes(list, Fixture("recipary_golden.txt")), 3);
    EXPECT_TRUE(m_messages.boxes.empty());
    ASSERT_EQ(list.GetCount(), 3);

    const CGlaze& celadon = RecordAt(list, 0);
    EXPECT_EQ(celadon.m_name, "Celadon Blue");
    EXPECT_EQ(celadon.m_range, "10");
    EXPECT_EQ(celadon.m_lowCone, 10);
    EXPECT_EQ(celadon.m_date, "3/15/2002");
    EXPECT_EQ(celadon.m_dateValue, 20020315);
    EXPECT_EQ(celadon.m_color, "pale blue");
    EXPECT_EQ(celadon.m_tested, "yes");
    EXPECT_EQ(celadon.m_quality, "glossy");
    EXPECT_EQ(celadon.m_firetype, "reduction");
    EXPECT_EQ(celadon.m_type, "celadon");
    EXPECT_EQ(celadon.m_transparency, "transparent");
    EXPECT_EQ(celadon.m_vistexture, "smooth");
    EXPECT_EQ(celadon.m_xtals, "none");
    EXPECT_EQ(celadon.m_bubbles, "few");
    EXPECT_EQ(celadon.m_flow, "stiff");
    EXPECT_EQ(celadon.m_flaws, "crazes");
    EXPECT_EQ(celadon.m_durability, "good");
    EXPECT_EQ(celadon.m_source, "Workshop notes");
    ExpectLines(celadon.m_components, {{"Custer Feldspar", 450}, {"Silica", 300}, {"Whiting", 200}, {"EPK", 50}});
    ExpectLines(celadon.m_additions, {{"Red Iron Oxide", 10}});
    // The stray description line, then the comments re-flowed; the hazards section is not read.
    EXPECT_EQ(celadon.m_notes, (CStringArrayEx{"Apply thinly.", "", "Best on porcelain, fired in light reduction."}));

    // A block without "Comments:" is kept, and the next block starts its own glaze.
    EXPECT_EQ(RecordAt(list, 1).m_name, "Plain White");
    ExpectLines(RecordAt(list, 1).m_components, {{"Frit 3134", 50}, {"Kaolin", 50}});
    EXPECT_TRUE(RecordAt(list, 1).m_notes.empty());
    const CGlaze& black = RecordAt(list, 2);
    EXPECT_EQ(black.m_range, "04");
    EXPECT_EQ(black.m_quality, "satin");
    ExpectLines(black.m_components, {{"Red Art", 80}, {"Manganese Dioxide", 20}});
    EXPECT_EQ(black.m_notes, CStringArrayEx{"Dark brown-black."});
}

TEST_F(ReciparyTextTest, IngredientLineForms)
{
    CGlazeList list;
    // The first ingredient line decides: amount first for the whole source.
    ASSERT_EQ(ImportClipboard(m_clipboard, list,
                              "Glaze name: A\nRecipe:\n45 Custer  Feldspar\n55\tsilica\nTotal\n"
                              "Glaze name: B\nRecipe:\tPercent\tBatch\n10 Whiting\n"),
              2);
    ExpectLines(RecordAt(list, 0).m_components, {{"Custer  Feldspar", 45}, {"Silica", 55}});
    ExpectLines(RecordAt(list, 1).m_components, {{"Whiting", 10}});

    // Name first, two columns: the batch column is the amount. A line without an amount asks,
    // then takes the whole line as the name.
    list.Reset();
    ASSERT_EQ(ImportClipboard(m_clipboard, list,
                              "Glaze name: C\r\nRecipe:  Percent Batch\r\nFeldspar 45.0 450.0\r\nWollastonite\r\n"
                              "Also add:\r\n 12 3\r\n"),
              1);
    ExpectLines(RecordAt(list, 0).m_components, {{"Feldspar", 450}, {"Wollastonite", 99999.0}});
    ExpectLines(RecordAt(list, 0).m_additions, {{"XXXXXX", 3}});
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(0).text,
              "Missing ingredient amount?\n Glaze: C\n Line reads: Wollastonite\n(setting amount to 99999.0)");
    EXPECT_EQ(m_messages.At(0).type, unsigned(MsgOkCancel | MsgIconExclamation));
    EXPECT_EQ(m_messages.At(0).helpId, kReciparyMissingAmountHelpId);
    EXPECT_EQ(m_messages.At(1).text, "Missing ingredient name?\n Glaze: C\n(setting name to 'XXXXXX')");
    EXPECT_EQ(m_messages.At(1).helpId, kReciparyMissingNameHelpId);

    // An amount no recipe holds, or a negative one, leaves its line out, named; one read otherwise
    // than written is told once. An amount that is there but reads as 0 is asked about, and the
    // line kept at 99999 keeps the material's name alone.
    list.Reset();
    m_messages.boxes.clear();
    ASSERT_EQ(ImportClipboard(m_clipboard, list,
                              "Glaze name: E\nRecipe:\nSilica 1e999\nWhiting 12abc\nKaolin 3\n"
                              "Glaze name: F\nRecipe:\tPercent\tBatch\nSilica\t1\t-5\nTalc\t1\tnan\nZinc Oxide\t1\t0x10\n"),
              2);
    ExpectLines(RecordAt(list, 0).m_components, {{"Whiting", 12}, {"Kaolin", 3}});
    ExpectLines(RecordAt(list, 1).m_components, {{"Talc", 99999.0}, {"Zinc Oxide", 99999.0}});
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{
                  "Missing ingredient amount?\n Glaze: F\n Line reads: Talc\t1\tnan\n(setting amount to 99999.0)",
                  "Missing ingredient amount?\n Glaze: F\n Line reads: Zinc Oxide\t1\t0x10\n(setting amount to 99999.0)",
                  "Clipboard: line 4: \"12abc\" is not a number; read as 12\n\nClipboard: 2 ingredient lines were left "
                  "out, their amounts negative or more than a recipe holds:\nline 3 (E): Silica 1e999\nline 8 (F): "
                  "Silica -5"}));
    m_messages.boxes.clear();

    // Regression: "1e-320" was kept, exported as 0.00 and asked about only when that file was read
    // back, and then "0.000004" was asked about as a missing amount and stored as 99999. Every
    // amount that is not wholly a number is named as "1,5" is; one the glaze file would write as 0
    // reads as 0 and is named.
    struct AmountForm {
        const char* text;
        double kept;
        const char* told;
    };
    const AmountForm forms[] = {
        {"1,5", 1, "Clipboard: line 3: \"1,5\" is not a number; read as 1"},
        {"1.5e", 1.5, "Clipboard: line 3: \"1.5e\" is not a number; read as 1.5"},
        {"2e-", 2, "Clipboard: line 3: \"2e-\" is not a number; read as 2"},
        {"0.000006", 0.000006, nullptr},
        {"0.000004", 0, "Clipboard: line 3: \"0.000004\" is less than a recipe keeps; read as 0"},
        {"1e-320", 0, "Clipboard: line 3: \"1e-320\" is less than a recipe keeps; read as 0"},
        {"0", 0, nullptr},
    };
    for (const AmountForm& form : forms) {
        list.Reset();
        m_messages.boxes.clear();
        ASSERT_EQ(ImportClipboard(m_clipboard, list, "Glaze name: G\nRecipe:\nRutile " + std::string(form.text) + "\n"), 1);
        ExpectLines(RecordAt(list, 0).m_components, {{"Rutile", form.kept}});
        EXPECT_EQ(m_messages.Texts(), form.told ? std::vector<std::string>{form.told} : std::vector<std::string>{})
            << form.text;
    }
    m_messages.boxes.clear();

    // Cancel ends the import and empties the list.
    m_messages.answers.push_back(MsgResultCancel);
    list.m_name = "Kept?";
    EXPECT_EQ(ImportClipboard(m_clipboard, list, "Glaze name: D\nRecipe:\nFeldspar\n"), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_name, "Glazes");
}

TEST_F(ReciparyTextTest, UnterminatedTextIsRefused)
{
    CGlazeList list;
    Append(list, MakeGlaze("earlier", {}));
    const std::string path = WriteFile("long.txt", "Glaze name: x\n" + std::string(600, 'a') + "\n");
    EXPECT_EQ(CReciparyIO::ImportRecipes(list, path), 0);
    EXPECT_EQ(list.GetCount(), 0);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, path + ": File does not have proper line termination line 2");
    EXPECT_EQ(m_messages.At(0).helpId, kGlazeImportErrorHelpId);

    EXPECT_EQ(CReciparyIO::ImportRecipes(list, path + ".none"), 0);
    EXPECT_EQ(m_messages.Last().text, path + ".none: Error opening file");
    const std::string folder = std::filesystem::path(path).parent_path().string();
    EXPECT_EQ(CReciparyIO::ImportRecipes(list, folder), 0);
    EXPECT_EQ(m_messages.Last().text, folder + ": not a regular file");
}

TEST_F(ReciparyTextTest, ExportWritesTheLabelledLayout)
{
    CGlazeList glazes;
    CGlaze glaze = MakeGlaze("Blue Satin", {{"Silica", 30}, {"Whiting", 50}}, {{"Cobalt Carbonate", 1.5}});
    glaze.m_range = "6";
    glaze.m_color = "blue";
    glaze.m_date = "1/2/2003";
    glaze.m_byVol = 1;
    glaze.m_notes = {"Spray it."};
    glaze.m_variations = {"add 2 rutile"};
    Append(glazes, glaze);
    Append(glazes, MakeGlaze("Zero", {{"Silica", 0}}));
    std::ostringstream out;
    const int indices[] = {0, 1};
    EXPECT_EQ(CReciparyIO::ExportRecipes(out, glazes, indices), 0);
    EXPECT_EQ(out.str(), "Glaze name: Blue Satin\nCone: 6\nColor: blue\nDate: 1/2/2003\n\n"
                         "Recipe:\tPercent\tBatch\nSilica\t37.5\t30.00\nWhiting\t62.5\t50.00\n"
                         "Totals:\t100.0 %\t80.00 g\n\n"
                         "Also add:\nCobalt Carbonate\t1.9\t1.50\n\n"
                         "Comments:\nRecipe in parts by volume.\nSpray it.\nVariations --\nadd 2 rutile\n\n"
                         "Glaze name: Zero\nDate: " + RecordAt(glazes, 1).m_date + "\n\n"
                         "Recipe:\tPercent\tBatch\nSilica\t0.0\t0.00\nTotals:\t0.0 %\t0.00 g\n\nComments:\n\n");

    // Every description field written, empty or not; indices of no glaze are skipped.
    g_prefs.emptydesc = 1;
    std::ostringstream all;
    const int one[] = {-1, 1, 2};
    EXPECT_EQ(CReciparyIO::ExportRecipes(all, glazes, one), 0);
    EXPECT_EQ(all.str().substr(0, 60), "Glaze name: Zero\nCone: \nColor: \nTesting: \nSurface texture: \n");
    EXPECT_EQ(all.str().find("Glaze name:", 1), std::string::npos);
}

TEST_F(ReciparyTextTest, ExportThenImportGivesBackTheGlazes)
{
    CGlazeList glazes;
    CGlaze full = MakeGlaze("Full", {{"Silica", 25.25}, {"Custer Feldspar", 74.75}}, {{"Rutile", 4}});
    for (int field = kGlazeFieldSource; field <= kGlazeFieldTested; ++field) {
        if (field != kGlazeFieldDate && field != kGlazeFieldRange)
            full.SetField(field, "value " + std::to_string(field));
    }
    full.SetField(kGlazeFieldRange, "04-02");
    full.SetField(kGlazeFieldDate, "12/31/1999");
    full.m_notes = {"First paragraph.", "", "Second paragraph."};
    Append(glazes, full);
    Append(glazes, MakeGlaze("Plain", {{"Whiting", 100}, {"Rutile", 0}}));
    std::ostringstream out;
    const int indices[] = {0, 1};
    CReciparyIO::ExportRecipes(out, glazes, indices);

    CGlazeList back;
    ASSERT_EQ(CReciparyIO::ImportText(back, out.str(), '\n', "text"), 2);
    for (int i = 0; i < 2; ++i) {
        const CGlaze& a = glazes.GetAt(i);
        const CGlaze& b = RecordAt(back, i);
        for (const auto member : {&CGlaze::m_name, &CGlaze::m_source, &CGlaze::m_date, &CGlaze::m_type,
                                  &CGlaze::m_range, &CGlaze::m_firetype, &CGlaze::m_color, &CGlaze::m_vistexture,
                                  &CGlaze::m_quality, &CGlaze::m_transparency, &CGlaze::m_xtals,
                                  &CGlaze::m_bubbles, &CGlaze::m_flow, &CGlaze::m_durability, &CGlaze::m_flaws,
                                  &CGlaze::m_tested})
            EXPECT_EQ(a.*member, b.*member);
        EXPECT_EQ(a.m_lowCone, b.m_lowCone);
        EXPECT_EQ(a.m_notes, b.m_notes);
    }
    ExpectLines(RecordAt(back, 0).m_components, {{"Silica", 25.25}, {"Custer Feldspar", 74.75}});
    ExpectLines(RecordAt(back, 0).m_additions, {{"Rutile", 4}});
    // Regression: the amount of 0 ("0.0\t0.00") came back as a missing one, asked about and set to 99999.
    ExpectLines(RecordAt(back, 1).m_components, {{"Whiting", 100}, {"Rutile", 0}});
    EXPECT_TRUE(m_messages.boxes.empty());
}

} // namespace
