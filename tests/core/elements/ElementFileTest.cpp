#include "elements/ElementFile.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Written(const CElementFile& file)
{
    std::ostringstream out;
    EXPECT_EQ(file.WriteElements(out), 0);
    return out.str();
}

int Read(CElementFile& file, const std::string& text)
{
    std::istringstream in(text);
    return file.ReadElements(in);
}

const std::string kHeader = "filetype = Oxidarium Elements\nversion =  2\n\ndbname  = Test\n\n";

// A header of the given version followed by one element block.
std::string OneElementFile(int version, const std::string& block)
{
    return "filetype = Oxidarium Elements\nversion = " + std::to_string(version) + "\n\nz = 14\n" + block;
}

bool TableEqualsDefaults(const CElementFile& file)
{
    return file.m_elements == CElementTable();
}

// What a file stores of an element: everything but the fields taken from the defaults and
// rebuilt from the counts.
void ExpectSameStoredFields(const CElementRecord& a, const CElementRecord& b)
{
    EXPECT_EQ(a.role, b.role) << a.z;
    EXPECT_EQ(a.ncat, b.ncat) << a.z;
    EXPECT_EQ(a.nan, b.nan) << a.z;
    EXPECT_EQ(a.difoxinred != 0, b.difoxinred != 0) << a.z;
    EXPECT_EQ(a.rolered, b.rolered) << a.z;
    EXPECT_EQ(a.ncatred, b.ncatred) << a.z;
    EXPECT_EQ(a.nanred, b.nanred) << a.z;
    EXPECT_NEAR(a.expansion, b.expansion, 1e-8) << a.z;
    EXPECT_EQ(a.unusual, b.unusual) << a.z;
    EXPECT_NEAR(a.viscosity, b.viscosity, 1e-8) << a.z;
    EXPECT_NEAR(a.stension, b.stension, 1e-8) << a.z;
    EXPECT_EQ(a.hazards, b.hazards) << a.z;
    EXPECT_EQ(a.notes, b.notes) << a.z;
    EXPECT_EQ(a.annotations, b.annotations) << a.z;
}

} // namespace

TEST(ElementFileTest, WritesTheFixedLayout)
{
    CElementFile file;
    file.m_dbName = "Studio";
    file.m_infoLines = {"first", "  indented"};
    const CStringArrayEx notes{"quartz", "  flint"};
    file.m_elements.SetNotes(14, &notes);
    const std::string text = Written(file);
    const std::string head = "filetype = Oxidarium Elements\n"
                             "version =  2\n"
                             "\n"
                             "dbname  = Studio\n"
                             "I = |first\n"
                             "I = |  indented\n"
                             "\n"
                             "z    = 1\n"
                             "role = v\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string silicon = "z    = 14\n"
                                "role = 3\n"
                                "ncat = 1\n"
                                "nan  = 2\n"
                                "difoxinred = n\n"
                                "rolered = 1\n"
                                "ncatred = 1\n"
                                "nanred  = 0\n"
                                "expansion = 0.35000000\n"
                                "unusual = 0\n"
                                "viscosity = 0.00000000\n"
                                "stension = 3.40000000\n"
                                "hazards = 0\n"
                                "note = |quartz\n"
                                "note = |  flint\n"
                                "\n"
                                "z    = 15\n";
    EXPECT_NE(text.find(silicon), std::string::npos);
    EXPECT_EQ(text.find("z    = 0\n"), std::string::npos) << "element 0 is never written";
    ASSERT_NE(text.find("z    = 103\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 13), "hazards = 0\n\n") << "every block ends with an empty line";
}

TEST(ElementFileTest, RoundTripOfEveryElementWithNotesAndAnnotations)
{
    CElementFile original;
    original.m_dbName = "Round trip";
    original.m_infoLines = {"one", "", "  three"};
    for (int z = 1; z < kElementCount; ++z) {
        CElementRecord& e = original.m_elements[z];
        e.role = (z % 3 == 0) ? 0x88 : (z % 3 == 1 ? 0x10 : 0x01);
        original.m_elements.SetOxide(z, 1 + z % 4, z % 5);
        original.m_elements.SetReductionOxide(z, 1 + z % 2, z % 3);
        e.rolered = z % 2 ? 0x04 : 0x02;
        e.difoxinred = z % 2;
        e.expansion = z / 7.0;
        e.viscosity = -z / 3.0;
        e.stension = z == 50 ? -999.0 : z * 0.123456789;
        e.unusual = z % 2;
        e.hazards = z % 8;
        if (z % 10 == 0) {
            e.notes = {"note of " + std::to_string(z), "  second line"};
            e.annotations = {"annotation"};
        }
    }
    const std::string text = Written(original);

    CElementFile copy;
    ASSERT_EQ(Read(copy, text), 0) << copy.m_errorText;
    EXPECT_EQ(copy.m_dbName, "Round trip");
    EXPECT_EQ(copy.m_infoLines, original.m_infoLines);
    for (int z = 1; z < kElementCount; ++z)
        ExpectSameStoredFields(copy.m_elements[z], original.m_elements[z]);
    EXPECT_EQ(copy.m_elements[20].oxide, "Ca"); // counts 1, 0: the oxide text is rebuilt
    EXPECT_EQ(Written(copy), text) << "a second write gives the same bytes";
}

TEST(ElementFileTest, GoldenFileReadsAndWritesBackByteForByte)
{
    const std::string path = std::string(OXI_TEST_DATA_DIR) + "/elements/annotated.ele";
    const std::string bytes = ReadAll(path);
    ASSERT_FALSE(bytes.empty()) << path;
    CElementFile file;
    ASSERT_EQ(Read(file, bytes), 0) << file.m_errorText;
    EXPECT_EQ(file.m_dbName, "Annotated elements");
    ASSERT_EQ(file.m_infoLines.size(), 2u);
    EXPECT_EQ(ItemAt(file.m_infoLines, 1), "  kept leading blanks");
    EXPECT_EQ(file.m_elements[26].notes, (CStringArrayEx{"Iron oxide colours:", "  amber to black"}));
    EXPECT_EQ(file.m_elements[3].annotations, (CStringArrayEx{"Lithium: watch the expansion"}));
    EXPECT_EQ(file.m_elements[25].role, 0x04);
    EXPECT_EQ(Written(file), bytes);
}

TEST(ElementFileTest, RoleLetters)
{
    CElementFile file;
    ASSERT_EQ(Read(file, OneElementFile(2, "role = 3p\nrolered = 1 3\n")), 0) << file.m_errorText;
    EXPECT_EQ(file.m_elements[14].role, 0x88);
    EXPECT_EQ(file.m_elements[14].rolered, 0x18) << "the blank is skipped";

    ASSERT_EQ(Read(file, OneElementFile(2, "role = \nrolered = xv2q\n")), 0) << file.m_errorText;
    EXPECT_EQ(file.m_elements[14].role, 0);
    EXPECT_EQ(file.m_elements[14].rolered, 0x07);
}

TEST(ElementFileTest, VersionOneReadsZeroCoefficientsAsUnknown)
{
    const std::string block = "expansion = 0\nviscosity = 0.0\nstension = 0\n";
    CElementFile file;
    ASSERT_EQ(Read(file, OneElementFile(1, block + "z = 15\nexpansion = 0.5\n")), 0) << file.m_errorText;
    EXPECT_EQ(file.m_version, 1);
    EXPECT_EQ(file.m_elements[14].expansion, -999.0);
    EXPECT_EQ(file.m_elements[14].viscosity, -999.0);
    EXPECT_EQ(file.m_elements[14].stension, -999.0);
    EXPECT_EQ(file.m_elements[15].expansion, 0.5);

    ASSERT_EQ(Read(file, OneElementFile(2, block)), 0) << file.m_errorText;
    EXPECT_EQ(file.m_elements[14].expansion, 0.0);
    EXPECT_EQ(file.m_elements[14].viscosity, 0.0);
    EXPECT_EQ(file.m_elements[14].stension, 0.0);

    // The version of the file read before does not carry over to keys before "version".
    ASSERT_EQ(Read(file, OneElementFile(1, "")), 0);
    ASSERT_EQ(Read(file, "filetype = Oxidarium Elements\nz = 14\nexpansion = 0\nversion = 2\n"), 0);
    EXPECT_EQ(file.m_elements[14].expansion, 0.0);
}

TEST(ElementFileTest, ValueDetails)
{
    CElementFile file;
    ASSERT_EQ(Read(file, OneElementFile(2, "note = |  two blanks  \nnote = \nannote = |\n"
                                           "difoxinred = Yes\nnan = 0\nunusual = 1\nhazards = 6\n")),
              0)
        << file.m_errorText;
    const CElementRecord& si = file.m_elements[14];
    EXPECT_EQ(si.notes, (CStringArrayEx{"  two blanks", ""}));
    EXPECT_EQ(si.annotations, (CStringArrayEx{""}));
    EXPECT_EQ(si.difoxinred, 1);
    EXPECT_EQ(si.nan, 0);
    EXPECT_EQ(si.oxide, "Si") << "nan 0 drops the oxygen part";
    EXPECT_NEAR(si.oxideMW, 28.0855, 1e-9);
    EXPECT_EQ(si.unusual, 1);
    EXPECT_EQ(si.hazards, 6);

    ASSERT_EQ(Read(file, OneElementFile(2, "difoxinred = n\nncat = 2\nhazards = -8\n")), 0);
    EXPECT_EQ(file.m_elements[14].hazards, -8) << "hazard bits are carried as they are, the sign bit too";
    EXPECT_EQ(file.m_elements[14].difoxinred, 0);
    EXPECT_EQ(file.m_elements[14].oxide, "Si2O2");

    ASSERT_EQ(Read(file, "FILETYPE = x\nfiletype = OXIDARIUM ELEMENTS\nversion = 2\n"), 0)
        << "the file type is compared ignoring case; keys are not";
}

TEST(ElementFileTest, RejectedFilesLeaveTheDefaults)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"filetype = Oxidarium Elements\nversion = 2\nrole = 3\nz = 14\n", "Error: parameter 'role', line 3"},
        {OneElementFile(2, "z = 0\n"), "Parameter 'z' out of range, line 5"},
        {OneElementFile(2, "z = 104\n"), "Parameter 'z' out of range, line 5"},
        {OneElementFile(2, "ncat = 0\n"), "Parameter 'ncat' out of range, line 5"},
        {OneElementFile(2, "ncatred = 100\n"), "Parameter 'ncatred' out of range, line 5"},
        {OneElementFile(3, ""), "Parameter 'version' out of range, line 2"},
        {"filetype = Oxidarium Elements\nz = 14\n", "Parameter 'version' not found"},
        {"version = 2\nz = 14\n", "Parameter 'filetype' not found"},
        {"filetype = Oxidarium Materials\nversion = 2\n", "Incorrect file type: Oxidarium Materials"},
    };
    for (const Case& c : cases) {
        CElementFile file;
        ASSERT_EQ(Read(file, kHeader + "I = |info\nz = 20\nrole = 3\nnote = |n\n"), 0);
        EXPECT_NE(Read(file, c.text), 0) << c.text;
        EXPECT_EQ(file.m_errorText, c.error) << c.text;
        EXPECT_TRUE(TableEqualsDefaults(file)) << c.text;
        EXPECT_TRUE(file.m_infoLines.empty()) << c.text;
    }

    // A failed read keeps the name the file set, and the message keeps a long value whole.
    CElementFile file;
    const std::string longType(3000, 'q');
    EXPECT_NE(Read(file, "dbname = Theirs\nfiletype = " + longType + "\nversion = 2\nz = 14\nrole = 2\n"), 0);
    EXPECT_EQ(file.m_errorText, "Incorrect file type: " + longType);
    EXPECT_EQ(file.m_dbName, "Theirs");
    EXPECT_TRUE(TableEqualsDefaults(file));
}

TEST(ElementFileTest, LineBreaksInsideValuesCannotInjectKeys)
{
    CElementFile file;
    file.m_dbName = "name\nz = 5";
    file.m_infoLines = {"info\r\nrole = x"};
    file.m_elements[14].notes = {"text\nz = 1"};
    CElementFile copy;
    ASSERT_EQ(Read(copy, Written(file)), 0) << copy.m_errorText;
    EXPECT_EQ(copy.m_dbName, "name z = 5");
    EXPECT_EQ(copy.m_infoLines, (CStringArrayEx{"info  role = x"}));
    EXPECT_EQ(copy.m_elements[14].notes, (CStringArrayEx{"text z = 1"}));
    EXPECT_EQ(copy.m_elements[1].role, GetDefaultElement(1).role);
}

TEST(ElementFileTest, AFailingStreamIsReported)
{
    CElementFile file;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_NE(file.WriteElements(out), 0);
}

// The shipped element database is the built-in table as the writer writes it. Set
// OXI_REGENERATE_SHIPPED_DATA=1 to rewrite it after a change to the defaults or the format.
TEST(ElementFileTest, ShippedDatabaseIsTheDefaultsAsWritten)
{
    const std::string path = std::string(OXI_SHIPPED_DATA_DIR) + "/elements.ele";
    const std::string expected = Written(CElementFile());
    if (std::getenv("OXI_REGENERATE_SHIPPED_DATA")) {
        std::ofstream(path, std::ios::binary) << expected;
    }
    EXPECT_EQ(ReadAll(path), expected) << path << " differs from the defaults as written";

    CElementFile file;
    ASSERT_EQ(Read(file, ReadAll(path)), 0) << file.m_errorText;
    EXPECT_EQ(file.m_dbName, kDefaultElementDbName);
    for (int z = 1; z < kElementCount; ++z)
        ExpectSameStoredFields(file.m_elements[z], GetDefaultElement(z));
}
