#include "materials/TmtFile.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/framework/RecordingView.h"
#include "core/materials/MaterialTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "elements/ElementsDoc.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(OXI_TEST_DATA_DIR) + "/materials/sample.tmt";
const std::string kSampleWritten = std::string(OXI_TEST_DATA_DIR) + "/materials/sample_written.tmt";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class TmtFileTest : public MaterialTestBase {
protected:
    void SetUp() override
    {
        MaterialTestBase::SetUp();
        for (int z = 0; z < kElementCount; ++z) {
            m_roles[z] = 0;
            m_expansions[z] = -1.0;
        }
    }

    // Reads text as if from the clipboard; 0 or 1 as the reader returns.
    int ReadText(const std::string& text)
    {
        std::istringstream in(text);
        return m_read.ReadTmt(in, '\n', kTmtClipboardSource, m_roles, m_expansions);
    }

    std::string TempPath(const std::string& name) const
    {
        return (fs::temp_directory_path() / ("oxi-tmt-" + std::to_string(::getpid()) + "-" + name)).string();
    }

    CMaterialArray m_read;
    int m_roles[kElementCount];
    double m_expansions[kElementCount];
};

TEST_F(TmtFileTest, ReadsMaterialsRolesAndExpansions)
{
    CFakeMessageService messages;
    ASSERT_EQ(m_read.ReadTmtFile(&kSample, m_roles, m_expansions), 0);
    EXPECT_TRUE(messages.boxes.empty());
    ASSERT_EQ(m_read.GetCount(), 3);

    const CMaterial& feldspar = RecordAt(m_read, 0);
    EXPECT_EQ(feldspar.m_name, "Potash Feldspar");
    EXPECT_EQ(feldspar.m_displayKey, "\tPotash Feldspar");
    EXPECT_EQ(feldspar.m_formula, "1 K2O  1 Al2O3  6 SiO2"); // the weight matches: nothing forced
    EXPECT_EQ(feldspar.m_type, "feldspar");
    EXPECT_DOUBLE_EQ(feldspar.m_costPerLb, 0.88 * 0.4535970244035199); // per kilogram to per pound

    const CMaterial& whiting = RecordAt(m_read, 1);
    EXPECT_EQ(whiting.m_formula, "[MW=100.09] 1 CaO"); // the carbonate is kept as a forced weight
    EXPECT_NEAR(whiting.m_loi, 1.0 - 56.0794 / 100.09, 1e-9);
    EXPECT_EQ(whiting.m_type, "flux");

    const CMaterial& spodumene = RecordAt(m_read, 2);
    EXPECT_EQ(spodumene.m_formula, "1 Li2O  1 Al2O3  4 SiO2"); // "al2o3" written as defined
    EXPECT_EQ(spodumene.m_type, "new");                        // type 9 is not in the table
    EXPECT_EQ(spodumene.m_costPerLb, 0.0);

    // Named oxides start as acids; unity group RO makes an alkali, R2O3 a neutral. FeO is no
    // standard oxide, so iron keeps its values.
    EXPECT_EQ(m_roles[19], kRoleAlkali);
    EXPECT_EQ(m_roles[3], kRoleAlkali);
    EXPECT_EQ(m_roles[13], kRoleNeutral);
    EXPECT_EQ(m_roles[14], kRoleAcid);
    EXPECT_EQ(m_roles[20], kRoleAlkali);
    EXPECT_EQ(m_roles[26], 0);
    EXPECT_EQ(m_roles[0], 0);
    EXPECT_DOUBLE_EQ(m_expansions[3], 6.7);
    EXPECT_DOUBLE_EQ(m_expansions[19], 3.31);
    EXPECT_DOUBLE_EQ(m_expansions[14], 0.35);
    EXPECT_EQ(m_expansions[26], -1.0);
    EXPECT_EQ(m_expansions[0], -1.0);
}

TEST_F(TmtFileTest, EdgeCasesOfTheText)
{
    CFakeMessageService messages;
    const std::string head = "5.0TMT\n<Header>\nUnity1Name=RO\nOxideProperty1=expan\n";
    // Unity "No" changes nothing: the named oxide stays an acid. A file ending inside a material
    // section still adds the material; a missing weight forces nothing, whatever the material
    // before it weighed. An unknown key and an oxide without an amount add nothing.
    ASSERT_EQ(ReadText(head + "<Oxide>\nName=Li2O\nUnity1=No\n<Oxide>\nName=SiO2\n"
                              "<Material>\nName=Wet\nWeight=100\nGlow=7\nLi2O=\nSiO2=1.000\n<Material>\nName=Flint\nSiO2=1.000"),
              0);
    EXPECT_EQ(m_roles[3], kRoleAcid);
    ASSERT_EQ(m_read.GetCount(), 2);
    EXPECT_EQ(RecordAt(m_read, 0).m_formula, "[MW=100] 1 SiO2");
    EXPECT_EQ(RecordAt(m_read, 1).m_formula, "1 SiO2");
    // Amounts lose their trailing zeros; two blanks separate the components.
    m_read.ResetToDefaults();
    ASSERT_EQ(ReadText("\r\n5.0tmt\r\n<Oxide>\r\nName=K2O\r\n<Oxide>\r\nName=Al2O3\r\n<Oxide>\r\nName=SiO2\r\n"
                       "<Material>\r\nName=F\r\nWeight=509.565\r\nK2O=0.500\r\nAl2O3=1.000\r\nSiO2=6.000\r\n<EOF>\r\n"),
              0);
    EXPECT_EQ(RecordAt(m_read, 0).m_formula, "0.5 K2O  1 Al2O3  6 SiO2");

    // Errors name the source and the line; the collection is emptied and reset.
    m_read.m_dbName = "kept?";
    EXPECT_EQ(ReadText(std::string(300, 'x') + "\n5.0TMT\n"), 1);
    EXPECT_EQ(ReadText("5.0TMT\n\n<Material>\nName=A\nno equals sign\n"), 1);
    EXPECT_EQ(ReadText("5.0TMT\n<Oxide>\nName=SiO2\n<Material>\nName=A\nSiO2=abc\n<Material>\n"), 1);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                    "Clipboard: File does not have proper line termination line 1",
                                    "Clipboard: Parse error line 5",
                                    "Clipboard: Bad material formula line 7",
                                }));
    EXPECT_EQ(messages.At(0).Icon(), static_cast<unsigned>(MsgIconExclamation));
    EXPECT_EQ(messages.At(0).helpId, kTmtReadErrorHelpId);
    EXPECT_EQ(m_read.GetCount(), 0);
    EXPECT_EQ(m_read.m_dbName, "Materials");

    // A file that cannot be opened.
    const std::string missing = TempPath("missing.tmt");
    EXPECT_EQ(m_read.ReadTmtFile(&missing, m_roles, m_expansions), 1);
    EXPECT_EQ(messages.Last().text, missing + ": Error opening file");

    // A weight the oxides cannot reach keeps the plain formula; huge table numbers cost nothing.
    messages.boxes.clear();
    ASSERT_EQ(ReadText("5.0TMT\n<Header>\nMaterialType2000000000=big\nOxideProperty-4=expan\n<Oxide>\nName=SiO2\n"
                       "Property-4=9\n<Material>\nName=Light\nWeight=10\nType=2000000000\nSiO2=1\n"),
              0);
    EXPECT_EQ(RecordAt(m_read, 0).m_formula, "1 SiO2");
    EXPECT_EQ(RecordAt(m_read, 0).m_type, "big");
    EXPECT_EQ(m_expansions[14], -1.0);
    EXPECT_TRUE(messages.boxes.empty());
}

// Regression: an imported name kept its parentheses, so a look-up by that name read "Feldspar"
// and the remark "(Custer)" and never found the material.
TEST_F(TmtFileTest, ImportedNamesTakeBracketsForParentheses)
{
    ASSERT_EQ(ReadText("5.0TMT\n<Oxide>\nName=SiO2\n<Material>\nName=Feldspar (Custer)\nSiO2=1\n"), 0);
    ASSERT_EQ(m_read.GetCount(), 1);
    EXPECT_EQ(RecordAt(m_read, 0).m_name, "Feldspar [Custer]");
    EXPECT_EQ(RecordAt(m_read, 0).m_displayKey, "\tFeldspar [Custer]");
    EXPECT_EQ(m_read.FindMaterial(std::string_view("feldspar [custer]")), m_read.GetAt(0));
}

TEST_F(TmtFileTest, ClipboardAndCarriageReturnFiles)
{
    CFakeMessageService messages;
    CFakeClipboard clipboard;
    clipboard.SetText("5.0TMT\r\n<Oxide>\r\nName=SiO2\r\n<Material>\r\nName=Flint\r\nSiO2=1\r\n");
    ASSERT_EQ(m_read.ReadTmtFile(nullptr, m_roles, m_expansions), 0);
    EXPECT_EQ(RecordAt(m_read, 0).m_name, "Flint");

    const std::string path = TempPath("cr.tmt");
    std::ofstream(path, std::ios::binary) << "5.0TMT\r<Oxide>\rName=SiO2\r<Material>\rName=Quartz\rSiO2=2\r";
    ASSERT_EQ(m_read.ReadTmtFile(&path, m_roles, m_expansions), 0);
    ASSERT_EQ(m_read.GetCount(), 2);
    EXPECT_EQ(RecordAt(m_read, 1).m_formula, "2 SiO2");
    fs::remove(path);
}

TEST_F(TmtFileTest, WritesAndReadsBack)
{
    CMaterialsDoc document;
    ASSERT_EQ(document.Materials().ReadTmtFile(&kSample, m_roles, m_expansions), 0);
    RecordAt(document.Materials(), 2).m_type = "spodumene";

    // The sample written out: the header with the added type, every alkali, neutral and acid
    // oxide of the table, and the three materials (the forced weight as written).
    std::ostringstream out;
    const int indices[] = {0, 1, 2, 9};
    WriteTmtFile(out, indices);
    EXPECT_EQ(out.str(), ReadAll(kSampleWritten));

    // Read back and written again: the same text.
    CMaterialsDoc* open = g_pMaterialsDoc;
    CMaterialArray again;
    std::istringstream in(out.str());
    ASSERT_EQ(again.ReadTmt(in, '\n', "again", m_roles, m_expansions), 0);
    ASSERT_EQ(again.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RecordAt(again, i).m_name, RecordAt(open->Materials(), i).m_name);
        EXPECT_NEAR(RecordAt(again, i).m_formulaWeight, RecordAt(open->Materials(), i).m_formulaWeight, 1e-3);
        EXPECT_EQ(RecordAt(again, i).m_type, RecordAt(open->Materials(), i).m_type);
    }
    std::ostringstream second;
    WriteTmtFile(second, again, indices);
    EXPECT_EQ(second.str(), out.str());

    // One mole of silica: its only oxide line; its type "new" joins the type table as entry 10.
    CMaterialArray silica;
    CMaterial flint = Parsed("SiO2");
    flint.m_name = "Flint\nWeight=1";
    silica.InsertCopy(0, flint);
    std::ostringstream one;
    WriteTmtFile(one, silica, std::span<const int>(indices, 1));
    const std::string text = one.str();
    const std::string block = text.substr(text.find("<Material>\n"));
    // A line break in the name stays inside its line instead of forging a key.
    EXPECT_EQ(block, "<Material>\n Name=Flint Weight=1\n Weight=60.084\n Type=10\n Property1=0.00\n SiO2=1.00000\n<EOF>\n");
    // A % formula is written as its unity formula.
    CMaterial percent = Parsed("% 16.9216 K2O  18.3165 Al2O3  64.7619 SiO2");
    silica.ReplaceAt(0, percent);
    std::ostringstream feldspar;
    WriteTmtFile(feldspar, silica, std::span<const int>(indices, 1));
    EXPECT_NE(feldspar.str().find(" Weight=556.663\n Type=10\n Property1=0.00\n Al2O3=1.00000\n SiO2=6.00000\n"
                                  " K2O=1.00000\n<EOF>\n"),
              std::string::npos);
}

TEST_F(TmtFileTest, ImportIntoTheDatabases)
{
    CFakeMessageService messages;
    CElementsDoc elements;
    CMaterialsDoc materials;
    materials.InsertMaterial(0, Parsed("SiO2"));
    materials.SetModifiedFlag(false);
    CRecordingFrame materialsFrame(materials, "materials");
    CRecordingFrame elementsFrame(elements, "elements");
    // Every view hears every notice: (kind, code, index) of those a frame's view received.
    auto notices = [](CRecordingFrame& frame) {
        std::vector<std::vector<int>> taken;
        for (const CReceivedHint& hint : frame.view->received)
            taken.push_back({hint.kind, hint.code, hint.index});
        frame.view->received.clear();
        return taken;
    };
    using Notices = std::vector<std::vector<int>>;

    // Only roles: the materials database stays as it was.
    STmtImportOptions rolesOnly;
    rolesOnly.materials = false;
    rolesOnly.roles = true;
    rolesOnly.notExpectedFirst = true;
    STmtImportResult result = ImportTmtFile(rolesOnly, &kSample);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(materials.Materials().GetCount(), 1);
    EXPECT_FALSE(materials.IsModified());
    EXPECT_EQ(notices(materialsFrame), (Notices{{1, HintElementsReplaced, 0}}));
    EXPECT_EQ(elements.Elements()[3].role, kRoleAlkali);
    EXPECT_EQ(elements.Elements()[26].role, kRoleNotExpected); // not in the file
    EXPECT_EQ(elements.Elements()[6].role, kRoleVolatile);
    EXPECT_EQ(LastItem(elements.m_infoLines), "Imported oxide roles from " + kSample);
    EXPECT_EQ(notices(elementsFrame), (Notices{{1, HintElementsReplaced, 0}}));

    // Materials and expansions, cleared first.
    STmtImportOptions options;
    options.expansions = true;
    options.clearExpansions = true;
    result = ImportTmtFile(options, &kSample);
    EXPECT_EQ(result.oldCount, 1);
    EXPECT_EQ(result.importedCount, 3);
    ASSERT_EQ(materials.Materials().GetCount(), 4);
    EXPECT_EQ(RecordAt(materials.Materials(), 1).m_name, "Potash Feldspar");
    EXPECT_EQ(RecordAt(materials.Materials(), 3).m_name, "Spodumene");
    EXPECT_TRUE(materials.IsModified());
    EXPECT_EQ(LastItem(materials.Materials().m_infoLines), "Imported 3 materials from " + kSample);
    EXPECT_EQ(notices(materialsFrame), (Notices{{2, HintMaterialsInserted, 1}, {1, HintElementsReplaced, 0}}));
    EXPECT_DOUBLE_EQ(elements.Elements()[3].expansion, 6.7);
    EXPECT_EQ(elements.Elements()[26].expansion, 0.0);
    EXPECT_EQ(LastItem(elements.m_infoLines), "Imported oxide expansions from " + kSample);
    std::string name = "Whiting";
    EXPECT_NE(materials.Materials().FindMaterial(name), nullptr);

    // A failed read changes nothing.
    const std::string missing = "/nonexistent/x.tmt";
    result = ImportTmtFile(options, &missing);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(materials.Materials().GetCount(), 4);
    EXPECT_EQ(messages.Last().text, missing + ": Error opening file");
}

} // namespace
