#include "materials/MaterialArray.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/materials/MaterialTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "materials/FormulaConversion.h"
#include "shell/OxidariumApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class MaterialFileTest : public MaterialTestBase {
protected:
    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static std::string Written(const CMaterialArray& database)
    {
        std::ostringstream out;
        EXPECT_EQ(database.Write(out), 0);
        return out.str();
    }
    static int ReadText(CMaterialArray& database, const std::string& text)
    {
        std::istringstream in(text);
        return database.Read(in);
    }
    static std::string Header() { return "filetype = Oxidarium Materials\nversion =  2\n\n"; }
};

TEST_F(MaterialFileTest, SampleFileReadsAndWritesBackByteForByte)
{
    const std::string bytes = ReadAll(OXI_TEST_DATA_DIR "/materials/sample.mat");
    CMaterialArray database;
    ASSERT_EQ(ReadText(database, bytes), 0) << database.m_errorText;

    EXPECT_EQ(database.m_dbName, "Studio Materials");
    EXPECT_EQ(database.m_infoLines,
              (CStringArrayEx{"Checked against the supplier sheets", "   indented information line"}));
    EXPECT_EQ(database.m_currencySymbol, "EUR");
    EXPECT_EQ(database.m_costUnit, 1);
    EXPECT_EQ(database.m_costPlacesRight, 3);
    EXPECT_EQ(database.m_costPlacesLeft, 4);
    EXPECT_EQ(database.m_densityUnit, 1);
    EXPECT_EQ(database.m_fileVersion, 2);
    ASSERT_EQ(database.GetCount(), 3);

    const CMaterial& custer = RecordAt(database, 0);
    EXPECT_EQ(custer.m_name, "Custer Feldspar");
    EXPECT_EQ(custer.m_date, "03/04/2021");
    EXPECT_EQ(custer.m_displayKey, "CUST\tCuster Feldspar");
    EXPECT_EQ(custer.m_akaNames, (CStringArrayEx{"Potash Spar", "K-Spar"}));
    EXPECT_EQ(custer.m_akaCodes, (CStringArrayEx{"PS", ""}));
    EXPECT_TRUE(custer.m_isWeightPercent);
    EXPECT_DOUBLE_EQ(custer.m_density, 110.5);
    EXPECT_DOUBLE_EQ(custer.m_costPerLb, 1.25);
    EXPECT_EQ(custer.m_available, 1);
    EXPECT_EQ(custer.m_anNotes, CStringArrayEx{"Analysis from the 2021 sheet"});
    EXPECT_EQ(custer.m_hazNotes, CStringArrayEx{"Contains free silica"});
    EXPECT_EQ(custer.m_notes, (CStringArrayEx{"First line", "   indented second line", ""}));

    // An other name without a name but with a code stays in step with its code.
    const CMaterial& flint = RecordAt(database, 1);
    EXPECT_EQ(flint.m_akaNames, (CStringArrayEx{"Flint Silica", ""}));
    EXPECT_EQ(flint.m_akaCodes, (CStringArrayEx{"", "FL2"}));
    EXPECT_EQ(flint.m_mapTo, "Silica");

    EXPECT_EQ(Written(database), bytes);
}

TEST_F(MaterialFileTest, WriteThenReadKeepsEveryField)
{
    CMaterialArray database;
    CMaterial m = Parsed("K2O Al2O3 6SiO2");
    m.m_name = "Potash Feldspar";
    m.m_code = "KSP";
    m.SetField(2, "Orthoclase");
    m.m_akaCodes.push_back("ORT"); // a code without its other name
    m.m_type = "feldspar";
    m.m_mapTo = "Other";
    m.m_density = 1.26;
    m.m_costPerLb = 2.345;
    m.m_available = 1;
    m.m_notes = {"  two leading blanks", "trailing blanks  "};
    m.m_hazNotes = {" h"};
    m.m_anNotes = {"a"};
    database.InsertCopy(0, m);
    database.m_infoLines = {"  info"};
    database.m_currencySymbol = "GBP";

    CMaterialArray copy;
    ASSERT_EQ(ReadText(copy, Written(database)), 0) << copy.m_errorText;
    const CMaterial& back = RecordAt(copy, 0);
    EXPECT_EQ(back.m_name, "Potash Feldspar");
    EXPECT_EQ(back.m_code, "KSP");
    EXPECT_EQ(back.m_akaNames, (CStringArrayEx{"Orthoclase", ""}));
    EXPECT_EQ(back.m_akaCodes, (CStringArrayEx{"", "ORT"}));
    EXPECT_EQ(back.m_type, "feldspar");
    EXPECT_EQ(back.m_mapTo, "Other");
    EXPECT_EQ(back.m_formula, "K2O Al2O3 6SiO2");
    EXPECT_EQ(back.m_date, m.m_date);
    EXPECT_DOUBLE_EQ(back.m_density, 1.3);      // one decimal
    EXPECT_DOUBLE_EQ(back.m_costPerLb, 2.35);   // the cost decimals, rounded half away from zero
    EXPECT_EQ(back.m_available, 1);
    EXPECT_EQ(back.m_notes, (CStringArrayEx{"  two leading blanks", "trailing blanks"}));
    EXPECT_EQ(back.m_hazNotes, CStringArrayEx{" h"});
    EXPECT_EQ(back.m_anNotes, CStringArrayEx{"a"});
    EXPECT_EQ(copy.m_infoLines, CStringArrayEx{"  info"});
    EXPECT_EQ(copy.m_currencySymbol, "GBP");
    EXPECT_EQ(copy.m_dbName, "Materials");

    // A line break inside a value would start a key of its own: values are written on one line.
    RecordAt(database, 0).m_name = "Two\nlines";
    RecordAt(database, 0).m_notes = {"note\r\nformula = CaO"};
    ASSERT_EQ(ReadText(copy, Written(database)), 0);
    EXPECT_EQ(RecordAt(copy, 0).m_name, "Two lines");
    EXPECT_EQ(RecordAt(copy, 0).m_notes, CStringArrayEx{"note  formula = CaO"});
    EXPECT_EQ(RecordAt(copy, 0).m_formula, "K2O Al2O3 6SiO2");
}

TEST_F(MaterialFileTest, HeaderSettingsAndCostPlaces)
{
    CMaterialArray database;
    CMaterial m("Whiting");
    m.m_costPerLb = 0.75;
    database.InsertCopy(0, m);
    database.m_costPlacesRight = 0;
    const std::string text = Written(database);
    EXPECT_TRUE(text.starts_with(Header() + "dbname  = Materials\n\ncursym   = $\n")) << text;
    EXPECT_NE(text.find("costunit = 0\ncostrod  = 0\ncostlod  = 3\ndensunit = 0\nname      = Whiting\n"),
              std::string::npos);
    EXPECT_NE(text.find("\ncostperlb = 1\n"), std::string::npos); // 0.75 rounds to 1, no point
    EXPECT_NE(text.find("\ndensity   = 0.0\navailable = n\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("costperlb = 1\n\n"));

    database.m_costPlacesRight = 2;
    EXPECT_NE(Written(database).find("\ncostperlb = 0.75\n"), std::string::npos);

    // Regression (found by fuzzing): a small negative cost with no decimals was written "-0".
    RecordAt(database, 0).m_costPerLb = -0.3;
    database.m_costPlacesRight = 0;
    EXPECT_NE(Written(database).find("\ncostperlb = 0\n"), std::string::npos);
}

// Regression: rounding a huge value to the decimals scaled it up and down, which changed it, so
// every save of such a file wrote a different number.
TEST_F(MaterialFileTest, HugeNumbersSurviveRepeatedSaves)
{
    CMaterialArray database;
    ASSERT_EQ(ReadText(database, Header() + "name = A\ndensity = 3.3333333333333333e83\ncostperlb = -1e300\n"), 0);
    const std::string first = Written(database);
    CMaterialArray copy;
    ASSERT_EQ(ReadText(copy, first), 0);
    EXPECT_EQ(RecordAt(copy, 0).m_density, RecordAt(database, 0).m_density);
    EXPECT_EQ(RecordAt(copy, 0).m_costPerLb, -1e300);
    EXPECT_EQ(Written(copy), first);
}

TEST_F(MaterialFileTest, ValuesAsTheReaderTakesThem)
{
    CMaterialArray database;
    ASSERT_EQ(ReadText(database, "filetype = OXIDARIUM MATERIALS\nversion = 1\n"
                                 "name = A\navailable = Yes\nformula = SiO2 (((\n"
                                 "name = B\navailable = y\nakacode = orphan\naka = X\nakacode = XC\n"
                                 "name = C\navailable = n\n"
                                 "name = D\navailable = 1\n"
                                 "name = E\navailable =\nnote = \nI = x\n"),
              0)
        << database.m_errorText;
    EXPECT_EQ(database.m_fileVersion, 1);
    ASSERT_EQ(database.GetCount(), 5);
    EXPECT_EQ(RecordAt(database, 0).m_available, 1);
    EXPECT_EQ(RecordAt(database, 0).m_formula, "SiO2 (((");
    EXPECT_EQ(RecordAt(database, 1).m_available, 1);
    EXPECT_EQ(RecordAt(database, 1).m_akaNames, CStringArrayEx{"X"});
    EXPECT_EQ(RecordAt(database, 1).m_akaCodes, CStringArrayEx{"XC"});
    EXPECT_EQ(RecordAt(database, 2).m_available, 0);
    EXPECT_EQ(RecordAt(database, 3).m_available, 0);
    EXPECT_EQ(RecordAt(database, 4).m_available, 0);
    EXPECT_EQ(RecordAt(database, 4).m_notes, CStringArrayEx{""});
    EXPECT_EQ(database.m_infoLines, CStringArrayEx{""});
    EXPECT_EQ(RecordAt(database, 4).m_type, "new");
}

// Regression: a formula with a typo was emptied on reading, and the next save wrote "formula =".
TEST_F(MaterialFileTest, AFormulaThatDoesNotParseIsKeptAsWritten)
{
    CFakeMessageService messages;
    COxidariumApp app;
    CMaterialArray database;
    ASSERT_EQ(ReadText(database, Header() + "name = Custer\nformula = K2O Al2O3 6SiQ2\n"
                                            "name = Silica\nformula = SiO2\n"),
              0);
    CMaterial& custer = RecordAt(database, 0);
    EXPECT_EQ(custer.m_formula, "K2O Al2O3 6SiQ2");
    EXPECT_TRUE(custer.HasUnreadableFormula());
    EXPECT_EQ(custer.m_formulaWeight, 0.0);
    EXPECT_EQ(custer.m_atoms[14], 0.0);
    EXPECT_EQ(database.FindMaterial(std::string_view("K2O Al2O3 6SiQ2")), nullptr) << "no key of a formula not read";

    // Copies, a changed element table and the formula conversions keep the text.
    EXPECT_EQ(CMaterial(custer).m_formula, "K2O Al2O3 6SiQ2");
    database.ReparseFormulas();
    custer.ConvertFormula(kConvertReformatNumbers, 0, 2, 0, 0);
    custer.ConvertFormula(kConvertBreakApart, 0, 2, 0, 0);
    custer.NormalizePercentages(1);
    EXPECT_EQ(custer.m_formula, "K2O Al2O3 6SiQ2");
    EXPECT_NE(Written(database).find("formula   = K2O Al2O3 6SiQ2\n"), std::string::npos);

    // Check Database names the material so that the user can mend it.
    ASSERT_TRUE(database.CheckDatabase().has_value());
    const std::vector<std::string> texts = messages.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Material \"Custer\" has an invalid formula"), texts.end());
}

TEST_F(MaterialFileTest, FailuresLeaveAnEmptyDatabaseWithTheMessage)
{
    CMaterialArray database;
    auto fails = [&](const std::string& text, int code, const std::string& message) {
        // Something read before must not survive the failure.
        ASSERT_EQ(ReadText(database, Header() + "dbname = Kept\nname = Old\n"), 0);
        EXPECT_EQ(ReadText(database, text), code) << text;
        EXPECT_EQ(database.m_errorText, message);
        EXPECT_EQ(database.GetCount(), 0);
        EXPECT_EQ(database.m_dbName, "Materials");
    };
    fails(ReadAll(OXI_SHIPPED_DATA_DIR "/elements.ele"), 1, "Incorrect file type: Oxidarium Elements");
    const std::string longType(300, 'x');
    fails("filetype = " + longType + "\nversion = 2\n", 1, "Incorrect file type: " + longType);
    fails("filetype = Oxidarium Materials\nversion = 2\ncode = X\nname = A\n", -1,
          "Error: parameter 'code', line 3");
    fails("filetype = Oxidarium Materials\n", 5, "Parameter 'version' not found");
    fails("version = 2\n", 5, "Parameter 'filetype' not found");
    fails(Header() + "costunit = 2\n", 3, "Parameter 'costunit' out of range, line 4");
    fails(Header() + "costrod = 11\n", 3, "Parameter 'costrod' out of range, line 4");
    fails(Header() + "cursym = $\ncursym = E\n", 4, "Multiple occurrences of parameter 'cursym', line 5");
}

// The starter database the program ships.
TEST_F(MaterialFileTest, StarterDatabaseReadsAndRewritesUnchanged)
{
    const std::string bytes = ReadAll(OXI_SHIPPED_DATA_DIR "/materials.mat");
    CMaterialArray database;
    ASSERT_EQ(ReadText(database, bytes), 0) << database.m_errorText;
    EXPECT_EQ(Written(database), bytes);
    ASSERT_GE(database.GetCount(), 40);
    for (const auto& material : database.Records()) {
        std::string error;
        int position = 0;
        CMaterial scratch;
        EXPECT_EQ(scratch.SetFormula(material->m_formula, &error, &position), 0) << material->m_name << ": " << error;
        EXPECT_FALSE(material->m_formula.empty()) << material->m_name;
        EXPECT_GT(material->m_formulaWeight, 0.0) << material->m_name;
        EXPECT_FALSE(material->m_type.empty());
        EXPECT_NE(std::find(g_prefs.mattyp.begin(), g_prefs.mattyp.end(), material->m_type), g_prefs.mattyp.end())
            << material->m_type;
    }
    for (const char* name : {"Kaolin", "Silica", "Whiting", "Nepheline Syenite", "Zircon", "Bone Ash"})
        EXPECT_NE(database.FindMaterial(std::string_view(name)), nullptr) << name;

    const CMaterial* feldspar = database.FindMaterial(std::string_view("Potash Feldspar"));
    ASSERT_NE(feldspar, nullptr);
    auto percent = [feldspar](int z) {
        return feldspar->m_oxides[static_cast<std::size_t>(z)] * 100.0 / feldspar->m_oxideSum;
    };
    EXPECT_NEAR(percent(19), 16.92, 0.005); // K2O
    EXPECT_NEAR(percent(13), 18.32, 0.005); // Al2O3
    EXPECT_NEAR(percent(14), 64.76, 0.005); // SiO2

    // No duplicate keys, bad mappings, missing formulas or unexpected elements.
    CFakeMessageService messages;
    COxidariumApp app;
    const auto flags = database.CheckDatabase();
    ASSERT_TRUE(flags.has_value());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"All material names and codes are unique",
                                                          "All material mappings are okay", "All formulas are okay",
                                                          "No unexpected elements found"}));
}

} // namespace

// A large file is read in pieces on several threads (one thread, two, as the machine allows):
// the records, their order and the settings are those of one read, and a late header key or
// fault gives what one read gives, with its line number. The settings are not the defaults, so
// that a piece read that drops one (costs per kg read back per lb) shows.
TEST_F(MaterialFileTest, ALargeFileReadInPiecesGivesWhatOneReadGives)
{
    std::string starter = ReadAll(OXI_SHIPPED_DATA_DIR "/materials.mat");
    for (const auto& [from, to] :
         {std::pair{"costunit = 0\n", "costunit = 1\n"}, std::pair{"densunit = 0\n", "densunit = 1\n"}}) {
        ASSERT_NE(starter.find(from), std::string::npos) << from;
        starter.replace(starter.find(from), std::string(from).size(), to);
    }
    const std::size_t firstRecord = starter.find("\nname") + 1;
    std::string text = starter;
    for (int copy = 0; copy < 9; ++copy)
        text += starter.substr(firstRecord);
    const auto lines = std::count(text.begin(), text.end(), '\n');
    for (const CParamPieceOptions options : {CParamPieceOptions{1, 2000}, CParamPieceOptions{2, 5000},
                                             CParamPieceOptions{0, 3000}}) {
        SCOPED_TRACE(options.threads);
        CMaterialArray database;
        std::istringstream in(text);
        ASSERT_EQ(database.Read(in, options), 0) << database.m_errorText;
        EXPECT_EQ(database.m_costUnit, CMaterialArray::kCostPerKilogram);
        EXPECT_EQ(database.m_densityUnit, CMaterialArray::kDensityPerDeciliter);
        EXPECT_EQ(Written(database), text);

        std::istringstream late(text + "I = |late line\n");
        ASSERT_EQ(database.Read(late, options), 0);
        EXPECT_EQ(LastItem(database.m_infoLines), "late line");
        EXPECT_EQ(database.GetCount() % 10, 0);
        std::istringstream again(text + "version = 2\n");
        EXPECT_EQ(database.Read(again, options), 4);
        EXPECT_EQ(database.m_errorText,
                  "Multiple occurrences of parameter 'version', line " + std::to_string(lines + 1));

        // Regression: the last material's hazard note, without a line break after it, was lost
        // at the next save, and "1,5" was read as 1 without a word. The notes of the pieces are
        // the file's, with its line numbers.
        std::string edited = text.substr(0, text.size() - 2); // no line break after the hazard note
        const std::size_t density = edited.rfind("density   = 0.0");
        edited.replace(density, 15, "density   = 1,5");
        std::istringstream noted(edited);
        ASSERT_EQ(database.Read(noted, options), 0);
        std::string expected = text;
        expected.replace(density, 15, "density   = 1.0");
        EXPECT_EQ(Written(database), expected);
        const CParamReadNotes& notes = database.m_readNotes;
        EXPECT_EQ(notes.notNumbers.count, 1);
        EXPECT_EQ(notes.notNumbers.line, std::count(edited.begin(), edited.begin() + density, '\n') + 1);
        EXPECT_EQ(notes.notNumbers.text, "\"1,5\" is not a number; read as 1");
        EXPECT_EQ(notes.lastLineUnterminated.line, lines - 1);
        EXPECT_EQ(notes.lastLineUnterminated.text, "haznote = |Toxic: avoid ingestion and dust.");
    }
}

// The header keys are exactly those a file may hold before its first material ("name" opens one).
TEST_F(MaterialFileTest, HeaderKeysAreTheKeysNeedingNoMaterial)
{
    for (const char* key : {"name", "date", "code", "aka", "akacode", "type", "mapto", "formula", "density",
                            "available", "costperlb", "annote", "haznote", "note", "I", "dbname", "cursym",
                            "costunit", "costrod", "costlod", "densunit"}) {
        SCOPED_TRACE(key);
        CMaterialArray database;
        const int result = ReadText(database, "dbname = x\n" + std::string(key) + " = 1\n" + Header());
        EXPECT_EQ(IsMaterialFileHeaderKey(key), std::strcmp(key, "name") != 0 && result != -1)
            << database.m_errorText;
    }
    EXPECT_TRUE(IsMaterialFileHeaderKey("filetype"));
    EXPECT_TRUE(IsMaterialFileHeaderKey("version"));
}
