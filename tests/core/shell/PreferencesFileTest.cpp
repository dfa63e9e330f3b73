#include "shell/Preferences.h"

#include "elements/ElementList.h"
#include "FakeMessageService.h"
#include "materials/ChemistryListChecks.h"
#include "TestPaths.h"
#include "core/support/FileSizeLimit.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "support/PathHelpers.h"
#include "support/Profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

using P = CPreferences;

// Every persisted setting, listed here on their own so that a setting the file forgets shows.
const std::vector<std::string P::*> kTexts = {
    &P::matshort, &P::matext1, &P::matext2, &P::matext3, &P::mattab, &P::glzshort, &P::glzext1,
    &P::glzext2, &P::glzext3, &P::glztab, &P::sugord, &P::hazwarn, &P::texted, &P::imgview,
    &P::backdir, &P::datefmt, &P::prttimest, &P::prtpgnum, &P::prtrecsizelist, &P::formedcol1,
    &P::formedcol2, &P::formedcol3, &P::formedcol4, &P::optimizecol1, &P::optimizecol2,
    &P::optimizecol3, &P::optimizecol4};
const std::vector<int P::*> kFlags = {
    &P::sugunav, &P::sugmulti, &P::sugextend, &P::andes, &P::ancostsum, &P::anrec, &P::anvar,
    &P::annotes, &P::anhaznotes, &P::anchem, &P::anchadd, &P::anchunity, &P::anchwtpct,
    &P::anchmolpct, &P::ancheln, &P::anchmatn, &P::anchexpan, &P::anchvisco, &P::anchvolat,
    &P::anchexpert, &P::anchlimform, &P::ancost, &P::anffs, &P::emptydesc, &P::prtuseffs,
    &P::formedbrkcmplx};
const std::vector<int P::*> kNumbers = {
    &P::rmndfmt, &P::sugtoltyp, &P::hazvis, &P::unavvis, &P::backtyp, &P::coltyp, &P::prtlmar,
    &P::prtrmar, &P::prttmar, &P::prtbmar, &P::prtrecsize, &P::optimizetol, &P::decrecipe,
    &P::decrecipepct, &P::decrecipeinput, &P::decanalysis, &P::decanalysispct, &P::decremainders,
    &P::decformulas, &P::declimformulas, &P::tzsrecipe, &P::tzsrecipepct, &P::tzsrecipeinput,
    &P::tzsanalysis, &P::tzsanalysispct, &P::tzsremainders, &P::tzsformulas, &P::tzslimformulas};
const std::vector<CStringArrayEx P::*> kLists = {
    &P::mattyp, &P::glzrng, &P::glztyp, &P::glzftyp, &P::glzcol, &P::glzvtex, &P::glzqual,
    &P::glzxpar, &P::glzxtal, &P::glzbub, &P::glzflaw, &P::glzflow, &P::glzdur, &P::glztest,
    &P::glzfile, &P::txtfile, &P::expert};
const std::vector<CLogFont P::*> kFonts = {&P::edboxfont, &P::textvfont, &P::glzrepfont, &P::prtfont};

void ExpectSamePersisted(const P& actual, const P& expected)
{
    for (auto member : kTexts)
        EXPECT_EQ(actual.*member, expected.*member);
    for (auto member : kFlags)
        EXPECT_EQ(actual.*member, expected.*member);
    for (auto member : kNumbers)
        EXPECT_EQ(actual.*member, expected.*member);
    for (auto member : kLists)
        EXPECT_EQ(actual.*member, expected.*member);
    for (auto member : kFonts)
        EXPECT_EQ(actual.*member, expected.*member);
    EXPECT_EQ(actual.sugtol, expected.sugtol);
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const char* const kHeader = "filetype = Oxidarium Preferences\nversion = 2\n";

class PreferencesFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-prefsfile-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_prefsPath = (m_dir / "prefs.dat").string();
        WriteAll(m_dir / "Oxidarium.ini", "[Preferences]\nPrefFileName=" + m_prefsPath + "\n");
        m_profile = std::make_unique<CProfile>((m_dir / "Oxidarium.ini").string());
        SetProfile(m_profile.get());
        ResetNamedColors();
    }
    void TearDown() override
    {
        SetProfile(nullptr);
        ResetNamedColors();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    // Loads the preferences file into a fresh object.
    int LoadFile(const std::string& bytes, P& prefs)
    {
        WriteAll(m_prefsPath, bytes);
        return prefs.Load(CChemistryListChecks());
    }

    CAppContext m_context;
    COxidariumApp m_app;
    CFakeMessageService m_messages;
    fs::path m_dir;
    std::string m_prefsPath;
    std::unique_ptr<CProfile> m_profile;
};

} // namespace

TEST_F(PreferencesFileTest, WritesTheExactLayout)
{
    P prefs;
    prefs.m_strFilePath = m_prefsPath;
    ASSERT_EQ(prefs.Save(), 0);
    const std::string text = ReadAll(m_prefsPath);
    EXPECT_EQ(text, ReadAll(fs::path(OXI_TEST_DATA_DIR) / "shell" / "prefs-default.dat"));
    EXPECT_TRUE(text.starts_with("filetype = Oxidarium Preferences\nversion =  2\n\nmatshort = CN\n"));
    EXPECT_THAT(text, HasSubstr("\nsugtol   = 0.00000000\n"));
    EXPECT_THAT(text, HasSubstr("\nprtfont   = 90,0,0,0,400,0,0,0,0,0,0,0,49,Courier New,\n"));
    EXPECT_THAT(text, HasSubstr("\nglztyp  = Celadon\nglztyp  = Chrome-tin pink\n"));
    // The 65 glaze types follow each other: one block with no empty line.
    const std::size_t first = text.find("glztyp  = ");
    const std::size_t last = text.rfind("glztyp  = ");
    const std::string block = text.substr(first, text.find('\n', last) - first);
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 64);
    EXPECT_EQ(block.find("\n\n"), std::string::npos);
    EXPECT_THAT(text, HasSubstr("anffs      = n\n\nemptydesc  = n\n\nmattyp  = frit\n"));
    EXPECT_THAT(text, HasSubstr("glztest = Untested\n\ntexted  = \n"));
    EXPECT_TRUE(m_messages.boxes.empty());
}

// Regression: the last setting of a file without a final line break was passed over without a
// word (a version there failed the whole file), and a number that is not one was read silently.
// Both are read, and told in one message; a save writes the file back with the setting kept.
TEST_F(PreferencesFileTest, ALastLineWithoutLineBreakAndANumberThatIsNoneAreReadAndTold)
{
    const std::string written = ReadAll(fs::path(OXI_TEST_DATA_DIR) / "shell" / "prefs-default.dat");
    const std::string font = "glzrepfont = 120,0,0,0,400,0,0,0,0,0,0,0,49,DejaVu Sans,";
    std::string edited = written.substr(0, written.rfind("glzrepfont")) + font; // no line break
    edited.replace(edited.find("sugtol   = 0.00000000"), 21, "sugtol   = 0,5");
    P prefs;
    ASSERT_EQ(LoadFile(edited, prefs), 0) << ::testing::PrintToString(m_messages.Texts());
    EXPECT_EQ(prefs.glzrepfont.height, 120);
    EXPECT_EQ(prefs.glzrepfont.faceName, "DejaVu Sans");
    EXPECT_THAT(m_messages.Texts(),
                ElementsAre(m_prefsPath + ": line 21: \"0,5\" is not a number; read as 0\n\n" + m_prefsPath +
                            ": line 228: \"" + font +
                            "\" ends the file without a line break; it was read as it stands, but the file may "
                            "have been cut short"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);

    ASSERT_EQ(prefs.Save(), 0);
    std::string expected = written;
    const std::size_t last = expected.rfind("glzrepfont");
    expected.replace(last, expected.find('\n', last) - last, font);
    EXPECT_EQ(ReadAll(m_prefsPath), expected);
}

TEST_F(PreferencesFileTest, SaveThenLoadGivesBackEverySetting)
{
    P saved;
    int n = 0;
    for (auto member : kTexts)
        saved.*member = "Na K " + std::to_string(++n); // distinct text for each
    for (auto member : kFlags)
        saved.*member = (++n % 2);
    // Each number differs from its default and from its neighbours, inside its range.
    const std::vector<int> numbers = {3, 1, 1, 0, 2, 0, 101, 102, 103, 104, 2, 11, 4, 5,
                                      6, 7, 8, 9, 10, 12, 3, 4, 0, -1, 6, 7, 8, 9};
    ASSERT_EQ(numbers.size(), kNumbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        saved.*kNumbers[i] = numbers[i];
    for (auto member : kLists)
        saved.*member = CStringArrayEx{"first " + std::to_string(++n), "", "third, with = sign"};
    for (auto member : kFonts) {
        CLogFont font = P::DefaultFont();
        font.height = 100 + ++n;
        font.italic = 1;
        font.faceName = "DejaVu Sans " + std::to_string(n);
        saved.*member = font;
    }
    saved.sugtol = 2.5;
    // Texts that the lists check must take.
    saved.matshort = "NC$*";
    saved.matext1 = "N";
    saved.matext2 = "CN";
    saved.matext3 = "$* W";
    saved.glzshort = "ND";
    saved.glzext1 = "L";
    saved.glzext2 = "Y Z?";
    saved.glzext3 = "NDT:;!@&^%$1234#";
    saved.mattab = "Si Al loi";
    saved.glztab = "Na,K,Nk";
    saved.sugord = "NaK Ca";
    saved.formedcol1 = "Na2O,K2O";
    saved.formedcol2 = "Al2O3 B2O3";
    saved.formedcol3 = "SiO2";
    saved.formedcol4 = "";
    saved.optimizecol1 = "Na,K,,Nk";
    saved.optimizecol2 = "Al,Si";
    saved.optimizecol3 = "";
    saved.optimizecol4 = "LOSS";
    saved.datefmt = "%d.%m.%Y";
    saved.m_strFilePath = m_prefsPath;
    ASSERT_EQ(saved.Save(), 0);

    P loaded;
    ASSERT_EQ(loaded.Load(CChemistryListChecks()), 0) << ::testing::PrintToString(m_messages.Texts());
    ExpectSamePersisted(loaded, saved);
    EXPECT_EQ(loaded.m_nVersion, 2);
    EXPECT_EQ(loaded.m_strFilePath, m_prefsPath);
    EXPECT_EQ(loaded.optimizecol2, "Al,Si");
    EXPECT_EQ(loaded.datefmt, "%d.%m.%Y");
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(PreferencesFileTest, WrongFileTypeFallsBackToDefaults)
{
    P prefs;
    EXPECT_EQ(LoadFile("filetype = Other\nversion = 2\nmatshort = N\nglztyp = Only\ncoltyp = 0\n", prefs), 1);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    const CFakeMessageService::Box& box = m_messages.At(0);
    EXPECT_EQ(box.text, m_prefsPath + ": Incorrect file type: Other\n\nUsing default preferences");
    EXPECT_EQ(box.Buttons(), MsgOk);
    EXPECT_EQ(box.Icon(), MsgIconExclamation);
    EXPECT_EQ(box.helpId, 0x30120u);
    ExpectSamePersisted(prefs, P());
    EXPECT_EQ(prefs.glztyp.size(), 65u) << "the vocabularies are back too";
    EXPECT_EQ(prefs.m_strFilePath, m_prefsPath) << "the path stays";
    EXPECT_EQ(prefs.m_strUnreadFilePath, m_prefsPath);
}

TEST_F(PreferencesFileTest, ReaderRulesForRangesAndFlags)
{
    P outOfRange;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "rmndfmt = 4\n", outOfRange), 1);
    EXPECT_THAT(m_messages.Texts(),
                ElementsAre(m_prefsPath + ": Parameter 'rmndfmt' out of range, line 3\n\nUsing default preferences"));
    EXPECT_EQ(outOfRange.rmndfmt, 0);

    P flags;
    EXPECT_EQ(LoadFile(std::string(kHeader) +
                           "sugunav = Yes\nsugmulti = no\nsugextend = 1\ntzsrecipe = -5\nanchvisco = y\n"
                           "optimizecol2 = Al,Si\ndatefmt = %d.%m.%Y\nunknown = ignored\n",
                       flags),
              0);
    EXPECT_EQ(flags.sugunav, 1);
    EXPECT_EQ(flags.sugmulti, 0);
    EXPECT_EQ(flags.sugextend, 0);
    EXPECT_EQ(flags.anchvisco, 1);
    EXPECT_EQ(flags.tzsrecipe, -5);
    EXPECT_EQ(flags.optimizecol2, "Al,Si");
    EXPECT_EQ(flags.datefmt, "%d.%m.%Y");
    EXPECT_TRUE(flags.glztyp.empty()) << "no glztyp line: the built-in list is not kept";
    EXPECT_TRUE(flags.mattyp.empty());
    EXPECT_EQ(flags.m_nVersion, 2);
    EXPECT_EQ(m_messages.boxes.size(), 1u);
    for (const char* line : {"tzsrecipe = 13\n", "sugtoltyp = 2\n"}) {
        P refused;
        EXPECT_EQ(LoadFile(std::string(kHeader) + line, refused), 1) << line;
    }

    P twice;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "hazwarn = a\nhazwarn = b\n", twice), 1);
    EXPECT_EQ(m_messages.Last().text,
              m_prefsPath + ": Multiple occurrences of parameter 'hazwarn', line 4\n\nUsing default preferences");
    P noVersion;
    EXPECT_EQ(LoadFile("filetype = Oxidarium Preferences\n", noVersion), 1);
    EXPECT_EQ(m_messages.Last().text,
              m_prefsPath + ": Parameter 'version' not found\n\nUsing default preferences");
}

TEST_F(PreferencesFileTest, MissingFileKeepsDefaultsSilently)
{
    P prefs;
    EXPECT_EQ(prefs.Load(CChemistryListChecks()), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_TRUE(prefs.m_strFilePath.empty());
    ExpectSamePersisted(prefs, P());
    EXPECT_EQ(m_profile->GetString("Preferences", "PrefFileName"), m_prefsPath);
    EXPECT_EQ(m_profile->GetString("HTML", "Header"), P().m_strHtmlHeader) << "the HTML texts are written back";
    EXPECT_TRUE(m_profile->HasValue("HTML", "Bottom"));
    EXPECT_EQ(m_profile->GetString("Colors", "mono_white"), "255,255,255");
    // Regression: every value written back used to save the profile on its own (46 saves with
    // a sync each). A load saves it once, and a load that changes nothing not at all.
    EXPECT_EQ(m_profile->SaveCount(), 1);
    EXPECT_EQ(CProfile(m_profile->Path()).GetString("Colors", "mono_white"), "255,255,255");
    P again;
    EXPECT_EQ(again.Load(CChemistryListChecks()), 0);
    EXPECT_EQ(m_profile->SaveCount(), 1);

    // The first save writes "prefs.dat" in the program directory and records it.
    const std::string programFile = MakeFilePath(GetProgramDirectory(), "prefs.dat");
    ASSERT_FALSE(FileExists(programFile)) << "a prefs.dat left beside the test program";
    EXPECT_EQ(prefs.Save(), 0);
    EXPECT_EQ(prefs.m_strFilePath, programFile);
    EXPECT_EQ(m_profile->GetString("Preferences", "PrefFileName"), programFile);
    EXPECT_TRUE(ReadAll(programFile).starts_with("filetype = Oxidarium Preferences\n"));
    fs::remove(programFile);
}

TEST_F(PreferencesFileTest, ValidationOfTheLists)
{
    P prefs;
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 0) << "the defaults are well formed";
    prefs.sugord = "NaK";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 0);
    prefs.sugord = "Na Nk";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 11);
    EXPECT_EQ(P::ValidationMessage(11),
              "Error in 'sugord' (list of elements in Batch Calculation Oxide Suggestion Order)");
    prefs.sugord = "Na";
    prefs.mattab = "Si LOI";
    prefs.glztab = "Si Nk";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 0);
    prefs.glztab = "Si LOI";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 10);
    prefs.matext2 = "CNx";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 3) << "the first bad list wins";

    EXPECT_EQ(IsBadElementList("", false, false), 0);
    EXPECT_EQ(IsBadElementList(" ,, ", false, false), 0);
    EXPECT_EQ(IsBadElementList("vol,Loss", true, false), 0);
    EXPECT_EQ(IsBadElementList("Nk", true, false), 1);
    EXPECT_EQ(IsBadElementList("nk", true, true), 1) << "Nk only in this case";
    EXPECT_EQ(IsBadElementList("Xx", true, true), 1);
    EXPECT_EQ(ParseElementSymbolListEx("Si,Nk", false, true), 0);
    EXPECT_EQ(IsBadMaterialColumnList("NCADFTMWHR$* "), 0);
    EXPECT_EQ(IsBadMaterialColumnList("NL"), 1);
    EXPECT_EQ(IsBadGlazeColumnList("NL#"), 0);
    EXPECT_EQ(IsBadGlazeColumnList("n"), 1);
    EXPECT_EQ(IsBadOxideList("LOI,H2O,CO2"), 0);
    EXPECT_EQ(IsBadOxideList(""), 0);
    EXPECT_EQ(IsBadOxideList("SiO2,Qq2O"), 1);

    prefs = P();
    prefs.formedcol3 = "SiO2,(Al2O3";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 14);
    EXPECT_EQ(P::ValidationMessage(14), "Error in 'formedcol3' (Formula Edit dialog third column)");
    prefs = P();
    prefs.optimizecol3 = "Fe,Nk";
    prefs.optimizecol4 = "Nk";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 0) << "the optimizer's columns take Nk";
    prefs.optimizecol4 = "Si,Qq";
    EXPECT_EQ(prefs.Validate(CChemistryListChecks()), 19);
    EXPECT_EQ(P::ValidationMessage(0), "");
}

TEST_F(PreferencesFileTest, VersionOneColumnsAreRaisedAndBadListsReported)
{
    P old;
    EXPECT_EQ(LoadFile("filetype = Oxidarium Preferences\nversion = 1\nmatshort = cn\nglzext1 = nrf\n", old), 0)
        << ::testing::PrintToString(m_messages.Texts());
    EXPECT_EQ(old.matshort, "CN");
    EXPECT_EQ(old.glzext1, "NRF");
    EXPECT_EQ(old.m_nVersion, 1);

    P current;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "matshort = cn\n", current), 1);
    P nk;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "sugord = Na Nk\n", nk), 1);
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(0).text, m_prefsPath +
                                            ": Error in 'matshort' (list of columns in Material List Normal view)"
                                            "\n\nUsing default preferences");
    EXPECT_EQ(m_messages.At(1).text,
              m_prefsPath + ": Error in 'sugord' (list of elements in Batch Calculation Oxide Suggestion Order)"
                            "\n\nUsing default preferences");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30132u);
    EXPECT_EQ(nk.sugord, P().sugord);
}

TEST_F(PreferencesFileTest, LoadAppliesTheColourScheme)
{
    WriteAll(m_dir / "Oxidarium.ini", "[Preferences]\nPrefFileName=" + m_prefsPath +
                                          "\n[HTML]\nTop=<h1>\n[Colors]\nel_alk=255,0,0\n");
    m_profile->Reload();
    P mono;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "coltyp = 0\n", mono), 0);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(224, 224, 224));
    EXPECT_EQ(mono.m_strHtmlTop, "<h1>");
    P multi;
    EXPECT_EQ(LoadFile(std::string(kHeader) + "coltyp = 1\n", multi), 0);
    EXPECT_EQ(GetNamedColor("el_alk"), CColor(255, 0, 0));
}

TEST_F(PreferencesFileTest, SaveBacksUpWithTheWorkingSettings)
{
    P prefs;
    prefs.m_strFilePath = m_prefsPath;
    WriteAll(m_prefsPath, "old file");
    g_prefs.backtyp = 1;
    EXPECT_EQ(prefs.Save(), 0);
    EXPECT_EQ(ReadAll(m_prefsPath + ".bak"), "old file");

    // A backup directory that cannot be created: the user is asked, and No keeps the file.
    const std::string deep = (m_dir / "missing" / "bk").string();
    g_prefs.backtyp = 3;
    g_prefs.backdir = deep;
    WriteAll(m_prefsPath, "kept");
    m_messages.answers = {MsgResultNo};
    EXPECT_EQ(prefs.Save(), 1);
    EXPECT_EQ(ReadAll(m_prefsPath), "kept");
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text,
              "Backup directory \"" + deep + "\" does not exist and cannot be created -- Continue with Save?");
    EXPECT_EQ(m_messages.At(0).type, unsigned(MsgYesNo | MsgIconQuestion));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    m_messages.answers = {MsgResultYes};
    EXPECT_EQ(prefs.Save(), 0);
    EXPECT_TRUE(ReadAll(m_prefsPath).starts_with("filetype = "));
}

TEST_F(PreferencesFileTest, FailedWriteLeavesTheOldFile)
{
    P prefs;
    prefs.m_strFilePath = m_prefsPath;
    WriteAll(m_prefsPath, "old file");
    {
        CFileSizeLimit limit(100);
        EXPECT_EQ(prefs.Save(), 1);
    }
    EXPECT_EQ(ReadAll(m_prefsPath), "old file");
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text,
              m_prefsPath + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30133u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);

    prefs.m_strFilePath = (m_dir / "no-such-dir" / "prefs.dat").string();
    EXPECT_EQ(prefs.Save(), 1);
    EXPECT_EQ(m_messages.Last().text, prefs.m_strFilePath + ": Error opening file");
    EXPECT_EQ(m_messages.Last().helpId, 0x30134u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2)
        << "no temporary file is left";

    // Regression: a link that leads nowhere was refused without a word of why.
    prefs.m_strFilePath = (m_dir / "dangling.dat").string();
    fs::create_symlink(m_dir / "gone.dat", prefs.m_strFilePath);
    EXPECT_EQ(prefs.Save(), 1);
    EXPECT_EQ(m_messages.Last().text, prefs.m_strFilePath +
                                          ": Error opening file\n\nThe file is a symbolic link to a file that does not exist.");
}

TEST_F(PreferencesFileTest, UnreadFileIsKeptBeforeItIsReplaced)
{
    const std::string broken = "filetype = Oxidarium Preferences\nversion = 7\nhazwarn = mine\n";
    P prefs;
    EXPECT_EQ(LoadFile(broken, prefs), 1);

    // A copy that cannot be made: nothing is written.
    WriteAll(m_prefsPath + ".bad", "older copy");
    fs::permissions(m_prefsPath + ".bad", fs::perms::owner_read);
    EXPECT_EQ(prefs.Save(), 1);
    EXPECT_EQ(ReadAll(m_prefsPath), broken);
    EXPECT_THAT(m_messages.Last().text,
                HasSubstr("Backup: error copying " + m_prefsPath + " to " + m_prefsPath + ".bad"));

    fs::permissions(m_prefsPath + ".bad", fs::perms::owner_all);
    EXPECT_EQ(prefs.Save(), 0);
    EXPECT_EQ(ReadAll(m_prefsPath + ".bad"), broken);
    EXPECT_TRUE(ReadAll(m_prefsPath).starts_with("filetype = Oxidarium Preferences\nversion =  2\n"));
    EXPECT_TRUE(prefs.m_strUnreadFilePath.empty());
    // Later saves replace the file as usual and leave the kept copy alone.
    EXPECT_EQ(prefs.Save(), 0);
    EXPECT_EQ(ReadAll(m_prefsPath + ".bad"), broken);
}

TEST_F(PreferencesFileTest, HandedOverDataDirectoryHoldsTheFile)
{
    const fs::path data = m_dir / "data";
    fs::create_directory(data);
    ASSERT_EQ(g_savedPrefs.Load(CChemistryListChecks()), 0);
    g_savedPrefs.hazwarn = "Data directory";
    g_savedPrefs.SetFileDirectory(data.string());
    EXPECT_EQ(g_savedPrefs.Save(), 0);
    const std::string dataFile = (data / "prefs.dat").string();
    EXPECT_EQ(g_savedPrefs.m_strFilePath, dataFile);
    EXPECT_EQ(m_profile->GetString("Preferences", "PrefFileName"), dataFile);
    EXPECT_FALSE(fs::exists(m_prefsPath));

    P next; // the next start reads the file in the data directory
    EXPECT_EQ(next.Load(CChemistryListChecks()), 0);
    EXPECT_EQ(next.hazwarn, "Data directory");
}
