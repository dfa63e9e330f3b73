#include "materials/MaterialsDoc.h"

#include "core/shell/FakeFormLink.h"
#include "core/support/CheckedItems.h"
#include "core/support/RevertQuestions.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/DataHomeGuard.h"
#include "core/support/FileSizeLimit.h"
#include "core/support/UnfinishedSave.h"
#include "elements/ElementsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/Profile.h"
#include "support/TextHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using ::testing::ElementsAre;

const std::string kHeader = "filetype = Oxidarium Materials\nversion =  2\n\n";

// Edit views as the user interface provides them: every view registered here is an edit view
// that answers the save question from its script.
class CFakeEditViews : public CMaterialEditViews {
public:
    struct Link : CFakeFormLink<CMaterialEditLink> {
        void SaveToDatabase() override { ++saved; }
        int saved = 0;
    };

    CFakeEditViews() { SetMaterialEditViews(this); }
    ~CFakeEditViews() override { SetMaterialEditViews(nullptr); }

    bool OpenEditView(CMaterialsDoc&, int index) override
    {
        opened.push_back({index});
        return openSucceeds;
    }
    bool OpenLimitedEditView(CMaterialsDoc&, const std::vector<int>& indices) override
    {
        opened.push_back(indices);
        return true;
    }
    CMaterialEditLink* AsEditView(CView* view) override
    {
        const auto it = links.find(view);
        return it == links.end() ? nullptr : &it->second;
    }

    std::map<CView*, Link> links;
    std::vector<std::vector<int>> opened;
    bool openSucceeds = true;
};

class MaterialsDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-matdoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_profile->WriteString("Files", "MaterialDBFileName", "/somewhere/old.mat");
    }
    void TearDown() override
    {
        SetProfile(nullptr);
        fs::remove_all(m_dir);
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static std::string Written(const CMaterialsDoc& doc)
    {
        std::ostringstream out;
        doc.Materials().Write(out);
        return out.str();
    }
    std::string ProfileMaterialFile() const { return m_profile->GetString("Files", "MaterialDBFileName", "<none>"); }
    // (code, index) of every notice the frame's view received, cleared afterwards.
    static std::vector<std::pair<int, int>> TakeNotices(CRecordingFrame& frame)
    {
        std::vector<std::pair<int, int>> codes;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, 2);
            codes.emplace_back(hint.code, hint.index);
        }
        frame.view->received.clear();
        return codes;
    }
    using Notices = std::vector<std::pair<int, int>>;

    // A has a mapping to B whose values changed; C and D map nowhere and in a loop.
    std::string MappedFile() const
    {
        return WriteFile("mapped.mat", kHeader +
                                           "name = A\nmapto = b\nformula = SiO2\ndensity = 1\n\n"
                                           "name = B\nformula = CaCO3\ndensity = 90\ncostperlb = 0.5\navailable = y\n\n"
                                           "name = E\nmapto = B\nformula = CaCO3\ndensity = 90\ncostperlb = 0.5\n"
                                           "available = y\n\n");
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
};

TEST_F(MaterialsDocTest, TheDocumentIsTheOneMaterialsDatabaseWhileItLives)
{
    {
        CMaterialsDoc doc;
        EXPECT_EQ(g_pMaterialsDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(2), &doc);
        EXPECT_EQ(doc.GetDatabaseName(), "Materials");
        EXPECT_EQ(doc.Materials().GetCount(), 0);

        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_EQ(doc.Materials().GetCount(), 1);
        EXPECT_EQ(RecordAt(doc.Materials(), 0).m_name, "new material");
        EXPECT_FALSE(doc.IsModified());

        // Closing the list window only minimises it.
        CRecordingFrame frame(doc, "list");
        EXPECT_FALSE(doc.CanCloseFrame(&frame));
        EXPECT_TRUE(frame.minimized);
        EXPECT_EQ(frame.closed, 0);
        CRecordingFrame other(doc, "elsewhere");
        other.view.reset();
        EXPECT_TRUE(doc.CanCloseFrame(&other));
    }
    EXPECT_EQ(g_pMaterialsDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(2), nullptr);
}

TEST_F(MaterialsDocTest, RecordOperationsMarkModified)
{
    CMaterialsDoc doc;
    doc.InsertMaterial(0, CMaterial("Silica"));
    doc.InsertMaterial(1, CMaterial("Whiting"));
    const std::vector<std::function<void()>> operations = {
        [&] { doc.SetMaterialField(1, 3, "WH"); }, [&] { doc.SwapMaterials(0, 1); },
        [&] { doc.SortMaterials(0, 0); },         [&] { doc.MoveMaterial(1, 0); },
        [&] { doc.ReplaceMaterial(0, CMaterial("Flint")); }, [&] { doc.DeleteMaterial(1); },
    };
    for (const auto& operation : operations) {
        doc.SetModifiedFlag(false);
        operation();
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_EQ(doc.Materials().GetCount(), 1);
    EXPECT_EQ(RecordAt(doc.Materials(), 0).m_name, "Flint");

    // The document's look-up is the canonical one.
    doc.InsertMaterial(1, CMaterial("Whiting"));
    doc.SetMaterialField(1, 3, "WH");
    std::string text = "wh (2 %)";
    EXPECT_EQ(doc.FindMaterial(text), doc.Materials().GetAt(1));
    EXPECT_EQ(text, "Whiting (2 %)");
    EXPECT_EQ(doc.BuildCostFormat(), "%6.2f");
    EXPECT_EQ(doc.FormatCost(12.345), " 12.35");
}

// Analyses follow the element table without any window open: they used to be read again only
// by the materials list window, so with it closed every glaze calculation kept the old weights.
TEST_F(MaterialsDocTest, AnalysesFollowTheElementTableWithNoWindowOpen)
{
    CElementsDoc elements;
    CMaterialsDoc doc;
    doc.InsertMaterial(0, CMaterial("Silica"));
    doc.SetMaterialField(0, 10, "SiO2");
    ASSERT_EQ(doc.Materials().GetCount(), 1);
    const CMaterial& silica = *doc.Materials().GetAt(0);
    const double oxygen = elements.Elements()[8].weight;
    ASSERT_NEAR(silica.m_formulaWeight, 28.0855 + 2 * oxygen, 0.01);
    ASSERT_TRUE(doc.GetViews().empty());
    doc.SetModifiedFlag(false);

    // The elements window changes a weight and announces it.
    elements.Elements()[14].weight = 30.0;
    COxidariumApp::BroadcastUpdate(nullptr, &elements, 1, HintElementChanged, 14, 0);
    EXPECT_NEAR(silica.m_formulaWeight, 30.0 + 2 * oxygen, 1e-9);
    EXPECT_NEAR(silica.m_atoms[14], 1.0 / (30.0 + 2 * oxygen), 1e-12);
    EXPECT_FALSE(doc.IsModified()) << "the records are the same; only their analyses follow";

    // The document's own revert announces it the same way.
    elements.RevertElement(14, ENotesRevert::Keep);
    EXPECT_NEAR(silica.m_formulaWeight, 28.0855 + 2 * oxygen, 0.01);
}

TEST_F(MaterialsDocTest, FilesThatCannotBeReadLeaveAnEmptyDatabase)
{
    CMaterialsDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(MappedFile()));
    m_messages.boxes.clear();

    const std::string elements = OXI_SHIPPED_DATA_DIR "/elements.ele";
    EXPECT_TRUE(doc.OnOpenDocument(elements));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, elements + ": Incorrect file type: Oxidarium Elements");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(doc.Materials().GetCount(), 0);
    EXPECT_EQ(doc.GetDatabaseName(), "Materials");
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(ProfileMaterialFile(), MappedFile()) << "the file read last stays remembered";
    EXPECT_FALSE(doc.IsModified());

    const std::string missing = (m_dir / "missing.mat").string();
    EXPECT_TRUE(doc.OnOpenDocument(missing));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30119u);
    // Regression: /dev/zero was read until the memory ran out.
    for (const std::string& path : {m_dir.string(), std::string("/dev/zero")}) {
        EXPECT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(m_messages.Last().text, path + ": not a regular file");
        EXPECT_EQ(doc.GetPathName(), "");
    }

    // A file whose last save in place did not finish is read, and the open says so first.
    const CDataHomeGuard dataHome(m_dir / "data");
    const std::string unfinished = WriteFile("unfinished.mat", kHeader + "name = B\nformula = CaCO3\n");
    const std::string copy = LeaveUnfinishedSave(unfinished);
    m_messages.boxes.clear();
    EXPECT_TRUE(doc.OnOpenDocument(unfinished));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{UnfinishedSaveText(unfinished, copy)});
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_EQ(doc.Materials().GetCount(), 1);
}

TEST_F(MaterialsDocTest, TheStarterDatabaseOpensQuietly)
{
    CMaterialsDoc doc;
    const std::string path = OXI_SHIPPED_DATA_DIR "/materials.mat";
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetDatabaseName(), "Starter Materials");
    std::string text = "whiting (2 %)";
    EXPECT_NE(doc.FindMaterial(text), nullptr);
    EXPECT_EQ(text, "Whiting (2 %)");
}

TEST_F(MaterialsDocTest, OpeningRefreshesMappedMaterials)
{
    CMaterialsDoc doc;
    doc.SetTitle("Materials");
    const std::string path = MappedFile();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_THAT(m_messages.Texts(), ElementsAre("1 material mapping updated"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30200u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconInformation);
    ASSERT_GE(doc.Materials().GetCount(), 3);
    const CMaterial& a = *doc.Materials().GetAt(0);
    EXPECT_EQ(a.m_formula, "CaCO3");
    EXPECT_EQ(a.m_density, 90.0);
    EXPECT_EQ(a.m_costPerLb, 0.5);
    EXPECT_EQ(a.m_available, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "Materials"); // the path does not rename the window
    EXPECT_EQ(ProfileMaterialFile(), path);
    // The refreshed formula is a key now, the old one is not.
    std::string text = "caco3";
    EXPECT_EQ(doc.FindMaterial(text), doc.Materials().GetAt(0));
    text = "sio2";
    EXPECT_EQ(doc.FindMaterial(text), nullptr);

    // Refreshing again changes nothing; bad mappings are counted.
    m_messages.boxes.clear();
    RecordAt(doc.Materials(), 0).m_mapTo.clear();
    RecordAt(doc.Materials(), 1).m_mapTo = "Nowhere";
    RecordAt(doc.Materials(), 2).m_mapTo = "E";
    CRecordingFrame frame(doc, "list");
    doc.UpdateMappedMaterials(true, true);
    EXPECT_THAT(m_messages.Texts(), ElementsAre("2 bad material mappings found, please run material database check"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30201u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_TRUE(TakeNotices(frame).empty());

    // A changed target is announced record by record.
    RecordAt(doc.Materials(), 0).m_mapTo = "b";
    RecordAt(doc.Materials(), 1).m_mapTo = "";
    RecordAt(doc.Materials(), 2).m_mapTo = "B";
    RecordAt(doc.Materials(), 1).m_density = 70;
    m_messages.boxes.clear();
    doc.UpdateMappedMaterials(false, true);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintMaterialChanged, 0}, {HintMaterialChanged, 2}}));
    EXPECT_EQ(RecordAt(doc.Materials(), 2).m_density, 70.0);

    CMaterial working("Working copy");
    EXPECT_EQ(doc.ApplyMapping(working), MappingOk);
    working.m_mapTo = "b";
    EXPECT_EQ(doc.ApplyMapping(working), MappingOk);
    EXPECT_EQ(working.m_formula, "CaCO3");
    EXPECT_EQ(working.m_density, 70.0);
    working.m_mapTo = "none";
    EXPECT_EQ(doc.ApplyMapping(working), MappingMissing);
}

TEST_F(MaterialsDocTest, SaveGoesThroughTheBackupAndTheSafeWriter)
{
    CMaterialsDoc doc;
    doc.OnNewDocument();
    CRecordingFrame frame(doc, "list");
    const std::string path = WriteFile("db.mat", "old");
    ASSERT_TRUE(doc.OnOpenDocument(path)); // "old" is no database: empty, no path
    m_messages.boxes.clear();
    doc.InsertMaterial(0, CMaterial("Silica"));

    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdSaveMaterialDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Material Database Save As...");
    EXPECT_EQ(m_dialogs.At(0).defaultExtension, "mat");
    EXPECT_EQ(m_dialogs.At(0).filter, "Database Files (*.mat)|*.mat|All Files (*.*)|*.*||");
    EXPECT_EQ(ReadAll(path), Written(doc));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ProfileMaterialFile(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));

    // A failed backup asks; No keeps the file.
    g_prefs.backtyp = CBackupSettings::CopyToDirectory;
    g_prefs.backdir = WriteFile("a-file", "") + "/backups";
    doc.InsertMaterial(1, CMaterial("Whiting"));
    const std::string saved = ReadAll(path);
    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    EXPECT_NE(m_messages.At(0).text.find(" -- Continue with Save?"), std::string::npos);
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MaterialsDocTest, FailedSavesReportAndKeepTheOldFile)
{
    CMaterialsDoc doc;
    doc.OnNewDocument();
    doc.SetModifiedFlag();

    const std::string nowhere = (m_dir / "no-such-dir" / "x.mat").string();
    EXPECT_FALSE(doc.DoSave(nowhere, true));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, nowhere + ": Error opening file");
    EXPECT_FALSE(fs::exists(nowhere));

    const std::string existing = WriteFile("existing.mat", "precious\r\nbytes");
    m_dialogs.AnswerPath(existing);
    for (int i = 0; i < 200; ++i)
        doc.InsertMaterial(0, CMaterial("filler material " + std::to_string(i)));
    {
        CFileSizeLimit limit(2000);
        EXPECT_FALSE(doc.DoSave("", true));
    }
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text,
              existing + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30122u);
    EXPECT_EQ(ReadAll(existing), "precious\r\nbytes");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(ProfileMaterialFile(), "/somewhere/old.mat");
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_TRUE(entry.path().filename() == "existing.mat" || entry.path().filename() == "profile.ini")
            << "left behind: " << entry.path();
}

TEST_F(MaterialsDocTest, NewOpenAndRevertAskFirstAndAnnounce)
{
    CMaterialsDoc doc;
    CRecordingFrame frame(doc, "list");
    const std::string path = MappedFile();
    m_messages.answers = {MsgResultOk};
    ASSERT_EQ(doc.OpenFile(path), 0);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintMaterialsReplaced, 0}}));
    EXPECT_TRUE(doc.IsModified()); // the mapping update

    CCmdUI revert(CmdRevertMaterialDb);
    EXPECT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_TRUE(revert.m_bEnabled);

    // Cancel in the save question changes nothing.
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    EXPECT_EQ(doc.OpenFile(path), 1);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to " + path + "?");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30141u);
    EXPECT_TRUE(TakeNotices(frame).empty());

    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdNewMaterialDb));
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintMaterialsReplaced, 0}}));
    EXPECT_EQ(doc.Materials().GetCount(), 1);
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_FALSE(revert.m_bEnabled);

    m_dialogs.AnswerPath(path);
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdOpenMaterialDb));
    EXPECT_EQ(m_dialogs.Last().title, "Open Material Database...");
    EXPECT_EQ(doc.Materials().GetCount(), 3);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintMaterialsReplaced, 0}}));

    doc.DeleteMaterial(0);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertMaterialDb));
    EXPECT_EQ(doc.Materials().GetCount(), 3);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintMaterialsReplaced, 0}}));
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.At(0).text, drops);

    // Cut after the line break of a material's line, the file lacks the blank line that ends the
    // material: Revert asks as of a file cut short, and Enter (Cancel) keeps all. A file without
    // materials ends with its last header line, and reverts without that question.
    const std::string whole = ReadAll(path);
    const std::string cut = whole.substr(0, whole.find("density = 90\n") + 13);
    const std::string empty = kHeader + "dbname  = M\n\ncursym   = $\ncostunit = 0\ncostrod  = 2\ncostlod  = 3\n"
                                        "densunit = 0\n";
    for (const std::string& text : {cut, empty}) {
        WriteFile("mapped.mat", text);
        doc.DeleteMaterial(0);
        m_messages.boxes.clear();
        m_messages.answers = {MsgResultOk};
        EXPECT_TRUE(doc.OnCommand(CmdRevertMaterialDb));
        ASSERT_FALSE(m_messages.boxes.empty());
        EXPECT_EQ(m_messages.At(0).text, drops);
        if (text == cut) {
            EXPECT_EQ(m_messages.Texts(),
                      (std::vector<std::string>{drops, revert_questions::CutShortQuestion(path, cut)}));
            EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
            EXPECT_EQ(doc.Materials().GetCount(), 2);
            EXPECT_TRUE(doc.IsModified());
            EXPECT_TRUE(TakeNotices(frame).empty());
        } else {
            EXPECT_EQ(doc.Materials().GetCount(), 0);
            EXPECT_FALSE(doc.IsModified());
        }
    }
    EXPECT_FALSE(doc.OnCommand(12345));
}

TEST_F(MaterialsDocTest, EditViewsAreAskedBeforeTheDatabaseIsSaved)
{
    CFakeEditViews views;
    CMaterialsDoc doc;
    doc.OnNewDocument();
    CRecordingFrame list(doc, "list");
    CRecordingFrame edit(doc, "edit");
    CFakeEditViews::Link& link = views.links[edit.view.get()];

    // Cancel in the edit view's question stops everything.
    link.answer = MsgResultCancel;
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(link.asked, 1);
    EXPECT_EQ(edit.activated, 1);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_FALSE(doc.CanCloseFrame(&edit));

    // Yes saves the view's record; the edit frame may then close, the list frame only minimises.
    link.answer = MsgResultYes;
    EXPECT_TRUE(doc.CanCloseFrame(&edit));
    EXPECT_EQ(link.saved, 1);
    EXPECT_FALSE(doc.CanCloseFrame(&list));
    EXPECT_TRUE(list.minimized);

    link.answer = MsgResultNo;
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeChange));
    EXPECT_FALSE(link.changed);
    EXPECT_EQ(link.dropped, 1);
    EXPECT_EQ(link.saved, 1);

    EXPECT_EQ(doc.OpenEditView(4), 1);
    views.openSucceeds = false;
    EXPECT_EQ(doc.OpenEditView(0), 0);
    doc.InsertMaterial(1, CMaterial("Silica"));
    doc.OpenLimitedEditView({"nothing"});
    doc.OpenLimitedEditView({"silica", "nothing", "new material"});
    EXPECT_THAT(views.opened, ElementsAre(std::vector<int>{4}, std::vector<int>{0}, std::vector<int>{1, 0}));
}

TEST_F(MaterialsDocTest, MaterialText)
{
    g_prefs.prtuseffs = 0;
    CMaterialsDoc doc;
    CMaterial m;
    ASSERT_EQ(m.SetFormula("SiO2"), 0);
    std::ostringstream out;
    doc.WriteMaterialText(out, {}, &m);
    EXPECT_EQ(out.str(), "new material\x0f\x01\n"
                         "------------\x19\x0f\x01\n"
                         "\x01\n"
                         "Type:          new\x01\n"
                         "Formula:       SiO2\x01\n"
                         "Molecular Wt.: 60.1\x01\n"
                         "\n"
                         "Density:       unknown\x01\n"
                         "Cost:          unknown\x01\n"
                         "Available:     no\x01\n"
                         "\n"   // after the Available line
                         "\n"   // and two empty lines after every material
                         "\n");

    // Everything a material can show, with running headers.
    g_prefs.prtuseffs = 1;
    m.m_name = "Frit";
    m.m_akaNames = {"", "F1", "Frit One"};
    m.m_mapTo = "Other Frit";
    m.m_density = 12.34;
    m.m_costPerLb = 0.05; // five cents is a price, not an unknown one
    m.m_available = 1;
    m.m_anNotes = {"analysed"};
    m.m_notes = {"a", "b", "c"};
    std::string longFormula = "%";
    for (int i = 0; i < 16; ++i)
        longFormula += " 1 SiO2  1 Al2O3";
    ASSERT_EQ(m.SetFormula(longFormula), 0);
    doc.Materials().m_densityUnit = 1;
    doc.Materials().m_costUnit = 1;
    doc.InsertMaterial(0, m);
    out.str("");
    const int indices[] = {5, 0};
    doc.WriteMaterialText(out, indices, nullptr);
    std::string first = longFormula;
    std::string second;
    std::string third;
    WrapTextLine(first, second, 60);
    WrapTextLine(second, third, 60);
    EXPECT_EQ(out.str(), "\x0c\x07\n"
                         "Frit\x05\x06\n"
                         "----\x02\n"
                         "\x02\n"
                         "Also called:   F1\x01\n"
                         "               Frit One\x01\n"
                         "\n"
                         "Mapped to:     Other Frit\x01\n"
                         "\n"
                         "Type:          new\x01\n"
                         "Formula:       " + first + "\x01\n"
                         "               " + second + "\x01\n"
                         "               " + third + "\x01\n"
                         "Molecular Wt.: " + FormatFixed(m.m_formulaWeight, 1) + "\x01\n"
                         "\n"
                         "Density:       12.3 g per deciliter\x01\n"
                         "Cost:          $  0.05 per kilogram\x01\n"
                         "Available:     yes\x01\n"
                         "\n"
                         "\n"
                         "analysed\x01\n"
                         "\n"
                         "Notes:\x01\n"
                         "  a\x01\n"
                         "  b\x01\n"
                         "  c\n");
}

TEST_F(MaterialsDocTest, DatabaseTableTexts)
{
    g_prefs.prtuseffs = 0;
    CMaterialsDoc doc;
    std::ostringstream out;
    doc.WriteMaterialsTableText(out, 0);
    EXPECT_EQ(out.str(), "Materials\x0f\x01\n---------\x19\x0f\x01\n\x01\nFile: \n\n\n"); // no table

    CMaterial whiting("Whiting");
    ASSERT_EQ(whiting.SetFormula("CaCO3"), 0);
    whiting.m_code = "WH";
    whiting.m_costPerLb = 0.25;
    whiting.m_available = 1;
    whiting.m_notes = {"fine", "white"};
    doc.InsertMaterial(0, whiting);
    CMaterial talc("Talc");
    ASSERT_EQ(talc.SetFormula("3MgO 4SiO2 H2O"), 0);
    talc.m_density = 12.5;
    doc.InsertMaterial(1, talc);
    doc.Materials().m_infoLines = {"info"};
    g_prefs.matext2 = "CNA$DW*";
    CStringArrayEx lines;
    std::string title;
    doc.BuildMaterialsTable(lines, title, 2);
    EXPECT_EQ(title, "Code  Name     Available     Cost      Density   M.W.    Notes");
    EXPECT_THAT(lines, ElementsAre("WH    Whiting     Yes     $  0.25/lb              100.1  fine white",
                                   "      Talc                             12.5 g/c   379.3  "));

    g_prefs.mattab = "Mg Si Ca Nk LOI";
    g_prefs.decanalysispct = 2;
    g_prefs.tzsanalysispct = 1;
    doc.BuildMaterialsTable(lines, title, 4);
    // Per 100 parts of the raw material: Whiting loses its carbon dioxide, Talc its water.
    EXPECT_EQ(title, "Material      MgO    SiO2     CaO    KNaO    LOI  ");
    EXPECT_THAT(lines, ElementsAre("Whiting  %                   56.03           43.97",
                                   "Talc     %   31.88   63.37                    4.75"));

    g_prefs.prtuseffs = 1;
    doc.Materials().m_dbName = "";
    doc.SetPathName("/data/db.mat");
    out.str("");
    doc.WriteMaterialsTableText(out, 4);
    EXPECT_EQ(out.str(), "/data/db.mat\x05\x06\n------------\x02\ninfo\n\x0c\n" + title + "\x05\x06\n" +
                             std::string(title.size(), '-') + "\x02\n" + ItemAt(lines, 0) + "\n" + ItemAt(lines, 1) + "\n");
    g_prefs.mattab = "";
    doc.BuildMaterialsTable(lines, title, 4);
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(title.empty());
}

} // namespace
