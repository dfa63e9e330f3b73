#include "glazes/GlazeList.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/TextHelpers.h"
#include "glazes/OptimizationParams.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace {

const std::string kHeader = "filetype = Oxidarium Glazes\nversion =  2\n\n";

std::string SamplePath()
{
    return std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz";
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int ReadText(CGlazeList& list, const std::string& text)
{
    std::istringstream in(text);
    return list.Read(in);
}

std::string WriteText(const CGlazeList& list)
{
    std::ostringstream out;
    EXPECT_EQ(list.Write(out), 0);
    return out.str();
}

void ExpectSameLines(const CIngredientList& a, const CIngredientList& b)
{
    ASSERT_EQ(a.GetCount(), b.GetCount());
    for (int i = 0; i < a.GetCount(); ++i) {
        EXPECT_EQ(RecordAt(a, i).m_name, RecordAt(b, i).m_name);
        EXPECT_EQ(RecordAt(a, i).m_amount, RecordAt(b, i).m_amount);
    }
}

void ExpectSameGlaze(const CGlaze& a, const CGlaze& b)
{
    SCOPED_TRACE(a.m_name);
    for (const auto member : {&CGlaze::m_name, &CGlaze::m_index, &CGlaze::m_source, &CGlaze::m_date,
                              &CGlaze::m_type, &CGlaze::m_range, &CGlaze::m_firetype, &CGlaze::m_color,
                              &CGlaze::m_vistexture, &CGlaze::m_quality, &CGlaze::m_transparency,
                              &CGlaze::m_xtals, &CGlaze::m_bubbles, &CGlaze::m_flow, &CGlaze::m_durability,
                              &CGlaze::m_flaws, &CGlaze::m_tested, &CGlaze::m_imagefile,
                              &CGlaze::m_notefile, &CGlaze::m_limform})
        EXPECT_EQ(a.*member, b.*member);
    EXPECT_EQ(a.m_byVol, b.m_byVol);
    EXPECT_EQ(a.m_batchSize, b.m_batchSize);
    ExpectSameLines(a.m_components, b.m_components);
    ExpectSameLines(a.m_additions, b.m_additions);
    EXPECT_EQ(a.m_variations, b.m_variations);
    EXPECT_EQ(a.m_notes, b.m_notes);
    EXPECT_EQ(a.m_lowCone, b.m_lowCone);
    EXPECT_EQ(a.m_highTemp, b.m_highTemp);
    EXPECT_EQ(a.m_dateValue, b.m_dateValue);
    ASSERT_EQ(a.FindOptimizationParams() != nullptr, b.FindOptimizationParams() != nullptr);
    if (a.FindOptimizationParams()) {
        EXPECT_TRUE(*a.FindOptimizationParams() == *b.FindOptimizationParams());
    }
}

void ExpectSameLists(const CGlazeList& a, const CGlazeList& b)
{
    EXPECT_EQ(a.m_name, b.m_name);
    EXPECT_EQ(a.m_infoLines, b.m_infoLines);
    ASSERT_EQ(a.GetCount(), b.GetCount());
    for (int i = 0; i < a.GetCount(); ++i)
        ExpectSameGlaze(a.GetAt(i), b.GetAt(i));
}

// A glaze's lines in the file, up to its empty line, with the fields all empty but the name.
std::string PlainGlazeLines(const std::string& name, const std::string& date)
{
    return "name   = " + name + "\nindex  = \ndate   = " + date +
           "\nsource = \ntype   = \nrange  = \nfiretype     = \ncolor        = \n"
           "vistexture   = \nquality      = \ntransparency = \nxtals        = \nbubbles      = \n"
           "flow         = \ndurability   = \nflaws     = \ntested    = \nimagefile = \n"
           "notefile  =  \nlimform   =  \nby_vol    = n\nbatchsize = 0\n";
}

class GlazeListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_prefs.decrecipe = 2;
        g_prefs.decrecipeinput = 3;
    }

    CAppContext m_context;
};

// The glazes of tests/data/glazes/sample.glz, built in memory.
void BuildSample(CGlazeList& list)
{
    list.m_name = "Test glazes";
    list.m_infoLines = {"First information line", "  indented line"};

    auto celadon = std::make_unique<CGlaze>("Celadon 6");
    CGlaze& g = *celadon;
    g.m_index = "A10";
    g.SetField(kGlazeFieldDate, "03/15/2002");
    g.m_source = "Teacher's notes";
    g.m_type = "glossy";
    g.SetField(kGlazeFieldRange, "04-6");
    g.m_firetype = "reduction";
    g.m_color = "pale green";
    g.m_vistexture = "smooth";
    g.m_quality = "glossy";
    g.m_transparency = "transparent";
    g.m_xtals = "none";
    g.m_bubbles = "few";
    g.m_flow = "moderate";
    g.m_durability = "good";
    g.m_flaws = "crazing";
    g.m_tested = "yes";
    g.m_imagefile = "celadon.jpg";
    g.m_notefile = "celadon.txt";
    g.m_limform = "Cone 6 glossy";
    g.m_batchSize = 100;
    g.m_components.Add("Potash Feldspar", 33.333333333);
    g.m_components.Add("Silica (SIL)", 25.5);
    g.m_components.Add("Whiting", 20);
    g.m_additions.Add("Red Iron Oxide", 1.25);
    g.m_variations = {"add 2% rutile", ""};
    g.m_notes = {"  keeps two leading blanks", "fires well"};

    COptimizationParams& params = g.GetOptimizationParams();
    params.m_oxideConstraints.Add(COxideConstraint(11, '=', "2.5", ""));
    COxideConstraint unreadable;
    EXPECT_TRUE(unreadable.Parse("oops"));
    params.m_oxideConstraints.Add(unreadable);
    params.m_materialConstraints.Add(CMaterialConstraint("Silica, fine", '>', "5", ""));
    CMaterialConstraint unsplit;
    EXPECT_TRUE(unsplit.Parse("broken"));
    params.m_materialConstraints.Add(unsplit);
    params.m_excludedMaterials.push_back("Lithium Carbonate");
    params.m_oxideUnit = kOxideUnitWeightPercent;
    params.m_materialUnit = kMaterialUnitWeight;
    params.m_allMaterials = 1;
    params.m_oxideTolerance = "0.2";
    params.m_materialTolerance = "";
    params.m_maximize = 1;
    params.m_goal = kGoalExpansion;
    params.m_firedWeight = 0;
    params.m_recipeSize = "250";
    params.m_expansionConstraint = COxideConstraint(-3, '<', "70", "");
    list.m_glazes.push_back(std::move(celadon));

    auto clear = std::make_unique<CGlaze>("Clear");
    clear->SetField(kGlazeFieldDate, "");
    clear->m_byVol = 1;
    clear->m_components.Add("Frit 3134", 80);
    clear->m_components.Add("EPK", 20);
    list.m_glazes.push_back(std::move(clear));
}

TEST_F(GlazeListTest, WriterLayoutIsByteExact)
{
    CGlazeList list;
    BuildSample(list);
    const std::string written = WriteText(list);
    EXPECT_EQ(written, FileText(SamplePath()));
    // Spot checks of what the layout promises.
    EXPECT_EQ(written.rfind(kHeader + "dbname  = Test glazes\nI = |First", 0), 0u);
    EXPECT_NE(written.find("\namount    = 33.33333\n"), std::string::npos);
    EXPECT_NE(written.find("\nbatchsize = 100\n"), std::string::npos);
    EXPECT_NE(written.find("\nnotefile  =  celadon.txt\nlimform   =  Cone 6 glossy\n"), std::string::npos);
    EXPECT_NE(written.find("\nnote = |fires well\n\noptox  = 11,=,2.5,,\noptox  = oops\n"), std::string::npos);
    EXPECT_NE(written.find("\nvar  = |\n"), std::string::npos);
}

TEST_F(GlazeListTest, GoldenFileReadsAndWritesBackUnchanged)
{
    const std::string file = FileText(SamplePath());
    CGlazeList list;
    ASSERT_EQ(ReadText(list, file), 0) << list.m_errorText;
    EXPECT_EQ(list.m_errorText, "");
    EXPECT_EQ(list.m_version, 2);

    CGlazeList built;
    BuildSample(built);
    RecordAt(RecordAt(built, 0).m_components, 0).m_amount = 33.33333; // as the file rounds it
    ExpectSameLists(list, built);
    // The invalid constraint text is kept as it was read.
    const COptimizationParams* params = RecordAt(list, 0).FindOptimizationParams();
    ASSERT_NE(params, nullptr);
    ASSERT_EQ(params->m_oxideConstraints.size(), 2u);
    EXPECT_TRUE(params->m_oxideConstraints[1].IsInvalid());
    EXPECT_EQ(params->m_oxideConstraints[1].Format(), "oops");
    ASSERT_EQ(params->m_materialConstraints.size(), 2u);
    EXPECT_TRUE(params->m_materialConstraints[1].IsInvalid());
    EXPECT_EQ(RecordAt(list, 1).FindOptimizationParams(), nullptr);

    const std::string written = WriteText(list);
    EXPECT_EQ(written, file);
    CGlazeList again;
    ASSERT_EQ(ReadText(again, written), 0) << again.m_errorText;
    ExpectSameLists(again, list);
}

TEST_F(GlazeListTest, ReaderValueRules)
{
    CGlazeList list;
    const std::string text = kHeader +
        "name = A\nvar = |  two\nvar = x\nvar = \nnote = |\nby_vol = Y\n"
        "component = Silica\namount = 5\namount = 7.5\n"
        "name = B\nby_vol = yes\naddition = Rutile\naddamount = 2\n"
        "name = C\nby_vol = 1\nunknown = skipped\nbatchsize = 1e999\n"
        "component = Inf\namount = inf\ncomponent = NaN\namount = nan\n";
    ASSERT_EQ(ReadText(list, text), 0) << list.m_errorText;
    ASSERT_EQ(list.GetCount(), 3);
    const CGlaze& a = list.GetAt(0);
    EXPECT_EQ(a.m_variations, (CStringArrayEx{"  two", "", ""}));
    EXPECT_EQ(a.m_notes, (CStringArrayEx{""}));
    EXPECT_EQ(a.m_byVol, 1);
    ASSERT_EQ(a.m_components.GetCount(), 1);
    EXPECT_EQ(RecordAt(a.m_components, 0).m_amount, 7.5); // the second amount line wins
    EXPECT_EQ(RecordAt(list, 1).m_byVol, 1);
    EXPECT_EQ(RecordAt(RecordAt(list, 1).m_additions, 0).m_amount, 2.0);
    EXPECT_EQ(RecordAt(list, 2).m_byVol, 0);
    EXPECT_EQ(RecordAt(list, 2).m_batchSize, std::numeric_limits<double>::max());
    // Texts that are no decimal number read as 0, never as an infinity or not-a-number.
    EXPECT_EQ(RecordAt(RecordAt(list, 2).m_components, 0).m_amount, 0.0);
    EXPECT_EQ(RecordAt(RecordAt(list, 2).m_components, 1).m_amount, 0.0);
    EXPECT_EQ(list.m_name, "Glazes");

    // A file with the header only: no glazes, the file's name and information lines.
    ASSERT_EQ(ReadText(list, kHeader + "dbname = Mine\nI = |one\nI = |\n"), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_name, "Mine");
    EXPECT_EQ(list.m_infoLines, (CStringArrayEx{"one", ""}));
}

TEST_F(GlazeListTest, GlazeWithoutADateLineCarriesTheDayOfReading)
{
    g_prefs.datefmt = "%d.%m.%Y";
    std::string today;
    GetTodayString(today, g_prefs.datefmt);
    CGlazeList list;
    ASSERT_EQ(ReadText(list, kHeader + "name = Undated\nname = Dated\ndate = 1/2/1999\n"), 0);
    EXPECT_EQ(RecordAt(list, 0).m_date, today);
    EXPECT_EQ(RecordAt(list, 1).m_date, "1/2/1999");
    EXPECT_EQ(RecordAt(list, 1).m_dateValue, 19990102);
}

TEST_F(GlazeListTest, ReaderErrorsLeaveAnEmptyList)
{
    struct Case {
        std::string text;
        int result;
        std::string message;
    };
    const Case cases[] = {
        {"filetype = Oxidarium Materials\nversion = 2\nname = A\n", 1,
         "Incorrect file type: Oxidarium Materials"},
        {kHeader + "name = A\namount = 5\n", -1, "Error: parameter 'amount', line 5"},
        {kHeader + "name = A\ncomponent = X\naddamount = 5\n", -1, "Error: parameter 'addamount', line 6"},
        {kHeader + "index = 7\nname = A\n", -1, "Error: parameter 'index', line 4"},
        {kHeader + "optgt = 1\n", -1, "Error: parameter 'optgt', line 4"},
        {kHeader + "name = A\nbatchsize = -1\n", 3, "Parameter 'batchsize' out of range, line 5"},
        {kHeader + "name = A\ncomponent = X\namount = -0.5\n", 3, "Parameter 'amount' out of range, line 6"},
        {kHeader + "name = A\noptgt = 10\n", 3, "Parameter 'optgt' out of range, line 5"},
        {kHeader + "name = A\noptaaa = 2\n", 3, "Parameter 'optaaa' out of range, line 5"},
        {"filetype = Oxidarium Glazes\nname = A\n", 5, "Parameter 'version' not found"},
        {"filetype = Oxidarium Glazes\nversion = 3\nname = A\n", 3, "Parameter 'version' out of range, line 2"},
        {kHeader + "version = 2\n", 4, "Multiple occurrences of parameter 'version', line 4"},
        {kHeader + "name = A\nno equals sign\n", 1, "Parse error in line 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CGlazeList list;
        list.m_name = "Before";
        list.m_infoLines.push_back("old");
        list.m_glazes.push_back(std::make_unique<CGlaze>("old"));
        EXPECT_EQ(ReadText(list, c.text + "I = |x\n"), c.result);
        EXPECT_EQ(list.m_errorText, c.message);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.m_name, "Glazes");
        EXPECT_TRUE(list.m_infoLines.empty());
    }
}

TEST_F(GlazeListTest, ValuesNeverBreakTheFile)
{
    CGlazeList list;
    auto glaze = std::make_unique<CGlaze>("Two\r\nlines");
    glaze->m_date = "1/1/2001";
    // A note of any length is written and read back whole.
    const std::string longNote(5000, 'n');
    glaze->m_notes = {longNote + "end", "a\nb"};
    glaze->m_variations = {std::string("nul\0byte", 8)};
    // Amounts that mean nothing are written as 0.
    glaze->m_batchSize = -5;
    glaze->m_components.Add("Negative", -2.5);
    glaze->m_components.Add("NaN", std::numeric_limits<double>::quiet_NaN());
    glaze->m_components.Add("Infinite", std::numeric_limits<double>::infinity());
    glaze->m_components.Add("Tiny", 1e-9);
    glaze->m_additions.Add("Huge", 1e300);
    glaze->m_additions.Add("Large", 123456789012.345678);
    list.m_glazes.push_back(std::move(glaze));

    const std::string written = WriteText(list);
    EXPECT_NE(written.find("name   = Two  lines\n"), std::string::npos);
    EXPECT_NE(written.find("note = |a b\n"), std::string::npos);
    EXPECT_NE(written.find("var  = |nul byte\n"), std::string::npos);
    EXPECT_NE(written.find("batchsize = 0\n"), std::string::npos);
    EXPECT_NE(written.find("component = Negative\namount    = 0\ncomponent = NaN\namount    = 0\n"
                           "component = Infinite\namount    = 0\ncomponent = Tiny\namount    = 0\n"),
              std::string::npos);
    EXPECT_NE(written.find("addition  = Large\naddamount = 123456789012.3457\n"), std::string::npos);

    CGlazeList read;
    ASSERT_EQ(ReadText(read, written), 0) << read.m_errorText;
    ASSERT_EQ(read.GetCount(), 1);
    const CGlaze& glaze2 = read.GetAt(0);
    EXPECT_EQ(glaze2.m_name, "Two  lines");
    ASSERT_EQ(glaze2.m_notes.size(), 2u);
    EXPECT_EQ(glaze2.m_notes[0], longNote + "end");
    EXPECT_EQ(RecordAt(glaze2.m_additions, 0).m_amount, 1e300);
    // What was read is written with the same text again.
    EXPECT_EQ(WriteText(read), written);
}

TEST_F(GlazeListTest, DecimalsFollowTheRecipePreferences)
{
    CGlazeList list;
    auto glaze = std::make_unique<CGlaze>("G");
    glaze->m_components.Add("A", 33.333333333);
    list.m_glazes.push_back(std::move(glaze));
    g_prefs.decrecipeinput = 7;
    EXPECT_NE(WriteText(list).find("amount    = 33.3333333\n"), std::string::npos);
    g_prefs.decrecipe = 8;
    EXPECT_NE(WriteText(list).find("amount    = 33.33333333\n"), std::string::npos);
}

TEST_F(GlazeListTest, EmptyListAndFailedStream)
{
    CGlazeList list;
    EXPECT_EQ(WriteText(list), kHeader + "dbname  = Glazes\n\n");

    list.m_glazes.push_back(std::make_unique<CGlaze>("Plain"));
    RecordAt(list, 0).m_date = "x";
    EXPECT_EQ(WriteText(list), kHeader + "dbname  = Glazes\n\n" + PlainGlazeLines("Plain", "x") + "\n");

    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_EQ(list.Write(failed), 1);
}

} // namespace

namespace {

// A large file: the sample's header, then its glazes again and again (one of them opened by an
// indented "name" line) until the text is long enough to be read in pieces; lineBreak replaces
// every line feed.
std::string LargeFileText(const std::string& lineBreak, const std::string& late = std::string())
{
    const std::string sample = FileText(SamplePath());
    const std::size_t firstGlaze = sample.find("\nname") + 1;
    std::string text = sample.substr(0, firstGlaze);
    const std::string glazes = sample.substr(firstGlaze) + " \tname\t= Indented\ncomponent = EPK\namount = 1\n";
    while (text.size() < 1500000)
        text += glazes;
    text += late;
    std::string replaced;
    for (const char c : text)
        replaced += c == '\n' ? lineBreak : std::string(1, c);
    return replaced;
}

void ExpectSameRead(const std::string& text)
{
    CGlazeList once;
    const int result = ReadText(once, text);
    CGlazeList inPieces;
    EXPECT_EQ(inPieces.ReadText(text), result);
    EXPECT_EQ(inPieces.m_errorText, once.m_errorText);
    EXPECT_EQ(inPieces.m_version, once.m_version);
    ASSERT_EQ(inPieces.GetCount(), once.GetCount());
    ExpectSameLists(inPieces, once);
    EXPECT_EQ(WriteText(inPieces), WriteText(once));
}

} // namespace

// A large file is read in pieces on several threads: the glazes, header and version are those
// of one read, whatever the line ends, and so is a file read whole from its stream.
TEST_F(GlazeListTest, ALargeFileReadInPiecesGivesWhatOneReadGives)
{
    for (const std::string lineBreak : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(static_cast<int>(lineBreak.size()));
        const std::string text = LargeFileText(lineBreak);
        ExpectSameRead(text);

        std::istringstream stream(text);
        CGlazeList whole;
        ASSERT_EQ(whole.ReadFile(stream), 0) << whole.m_errorText;
        ASSERT_GT(whole.GetCount(), 2000);
        EXPECT_EQ(whole.GetAt(whole.GetCount() - 1).m_name, "Indented");
        EXPECT_EQ(whole.m_name, "Test glazes");
        EXPECT_TRUE(stream.eof());
    }
    // A value that is no number late in the file and a last line without a line break are noted
    // with the file's line numbers; nothing else of the program's own file is.
    const std::string noted = LargeFileText("\n", "name = Last\ncomponent = X\namount = 1,5\nnote = |cut short");
    CGlazeList inPieces;
    ASSERT_EQ(inPieces.ReadText(noted), 0) << inPieces.m_errorText;
    const long long lines = std::count(noted.begin(), noted.end(), '\n') + 1;
    EXPECT_EQ(inPieces.m_readNotes.notNumbers.count, 1);
    EXPECT_EQ(inPieces.m_readNotes.notNumbers.line, lines - 1);
    EXPECT_EQ(inPieces.m_readNotes.lastLineUnterminated.line, lines);
    EXPECT_EQ(inPieces.GetAt(inPieces.GetCount() - 1).m_notes, CStringArrayEx{"cut short"});
}

// What the last piece holds that a piece cannot judge alone (a fault, a header key that counts
// over the whole file) gives the result, message and line number of one read.
TEST_F(GlazeListTest, LateFaultsAndHeaderKeysReadAsOneReadReadsThem)
{
    for (const std::string late : {"no equals sign\n", "version = 2\n", "component = X\namount = -1\n",
                                   "dbname = Renamed late\nI = |late line\n", "filetype = Oxidarium Glazes\n"}) {
        SCOPED_TRACE(late);
        ExpectSameRead(LargeFileText("\n", "name = Last\n" + late));
    }
    // A file's pieces give back its bytes as they read them: the file is read again from its
    // stream.
    const std::string late = LargeFileText("\n", "name = Last\ncomponent = X\namount = -1\n");
    CGlazeList once;
    std::istringstream onceStream(late);
    const int onceResult = once.Read(onceStream);
    ASSERT_NE(onceResult, 0);
    std::istringstream stream(late);
    CGlazeList whole;
    EXPECT_EQ(whole.ReadFile(stream), onceResult);
    EXPECT_EQ(whole.m_errorText, once.m_errorText);
    CGlazeList list;
    EXPECT_EQ(list.ReadText(LargeFileText("\n", "name = Last\nno equals sign\n")), 1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_errorText.rfind("Parse error in line ", 0), 0u);
}

// The header keys are exactly those a file may hold before its first glaze ("name" opens one).
TEST_F(GlazeListTest, HeaderKeysAreTheKeysNeedingNoGlaze)
{
    for (const ParamDesc* entry = g_glzKeyTable + 1; entry->key; ++entry) {
        SCOPED_TRACE(entry->key);
        CGlazeList list;
        const int result = ReadText(list, "dbname = x\n" + std::string(entry->key) + " = 1\n" + kHeader);
        EXPECT_EQ(IsGlazeListHeaderKey(entry->key), result != -1) << list.m_errorText;
    }
}
