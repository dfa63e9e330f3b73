#include "tree/DbTreeDoc.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FileSizeLimit.h"
#include "core/support/DataHomeGuard.h"
#include "core/support/UnfinishedSave.h"
#include "framework/DocTemplate.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/PathHelpers.h"
#include "support/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A database document of any kind: answers with a fixed database name, opens only files that
// exist, and records what it is asked to reload.
class CFakeDbDoc : public CDocument {
public:
    explicit CFakeDbDoc(std::string name = "Fake name") : dbName(std::move(name)) {}
    std::string GetDatabaseName() const override { return dbName; }
    bool OnOpenDocument(const std::string& path) override
    {
        SetModifiedFlag(false);
        return FileExists(path);
    }
    int OpenDatabaseFile(const std::string& path) override
    {
        reloaded.push_back(path);
        return reloadResult;
    }
    std::string dbName;
    std::vector<std::string> reloaded;
    int reloadResult = 0;
};

// A fake singleton document registered under its kind for its lifetime.
class CFakeSingleton : public CFakeDbDoc {
public:
    CFakeSingleton(DbFileType kind, std::string name, std::string path) : CFakeDbDoc(std::move(name)), m_kind(kind)
    {
        SetPathName(path);
        COxidariumApp::SetSingletonDocument(static_cast<int>(m_kind), this);
    }
    ~CFakeSingleton() override { COxidariumApp::SetSingletonDocument(static_cast<int>(m_kind), nullptr); }

private:
    DbFileType m_kind;
};

std::string Header(const char* fileType, const std::string& dbName)
{
    return std::string("filetype = ") + fileType + "\nversion =  2\n\ndbname  = " + dbName + "\n\n";
}

class DbTreeDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-dbtree-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        g_pGlazesTemplate = &m_glazes;
        g_pTextFileTemplate = &m_texts;
    }
    void TearDown() override
    {
        g_pGlazesTemplate = nullptr;
        g_pTextFileTemplate = nullptr;
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
    std::string CatalogueCopy() const
    {
        return WriteFile("catalogue.dbt", ReadAll(std::string(OXI_TEST_DATA_DIR) + "/tree/catalogue.dbt"));
    }
    std::string ProfileTreeFile() const { return m_profile->GetString("Files", "DbTreeFileName", "<none>"); }
    static void Add(CDbTreeDoc& doc, const std::string& path, const std::string& title, DbTreeItemType type)
    {
        CDbTreeItem item;
        item.path = path;
        item.title = title;
        item.SetTypeCode(type);
        doc.InsertItemAt(doc.items.GetCount(), item);
    }
    static bool Enabled(CDbTreeDoc& doc, unsigned id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(doc.OnUpdateCommand(ui));
        return ui.m_bEnabled;
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
    CDocTemplate m_glazes{2, "Glazes\nGlazes\nGlazes\nGlaze Files (*.glz)\n.glz\nGlazes\nGlazes",
                          [] { return std::make_unique<CFakeDbDoc>("Glazes from file"); }};
    CDocTemplate m_texts{9, "Text\nText\nText\nText Files (*.txt)\n.txt\nText\nText",
                         [] { return std::make_unique<CFakeDbDoc>(""); }};
};

} // namespace

TEST_F(DbTreeDocTest, LivesAsTheOneTreeDocumentAndIsOnlyMinimised)
{
    {
        CDbTreeDoc doc;
        EXPECT_EQ(g_pDbTreeDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(static_cast<int>(DbFileType::DbTreeItems)), &doc);
        CRecordingFrame frame(doc, "tree");
        EXPECT_FALSE(doc.CanCloseFrame(&frame));
        EXPECT_TRUE(frame.minimized);

        // Out-of-range edits change nothing but still count as edits.
        doc.RemoveItemAt(3);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.RemoveItem(0), 0);

        Add(doc, "/d/a.glz", "A", DbTreeItemType::Glazes);
        doc.SetModifiedFlag(false);
        m_messages.answers = {MsgResultNo, MsgResultYes};
        EXPECT_EQ(doc.ClearTree(), 1);
        EXPECT_EQ(doc.items.GetCount(), 1);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.ClearTree(), 0);
        EXPECT_EQ(doc.items.GetCount(), 0);
        EXPECT_TRUE(doc.IsModified());
        ASSERT_EQ(m_messages.boxes.size(), 2u);
        EXPECT_EQ(m_messages.At(0).text, "Are you sure you want to clear the database tree?");
        EXPECT_EQ(m_messages.At(0).type, MsgYesNo | MsgIconQuestion);
        EXPECT_EQ(m_messages.At(0).helpId, 0x30900u);
    }
    EXPECT_EQ(g_pDbTreeDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(static_cast<int>(DbFileType::DbTreeItems)), nullptr);
}

// Regression: a save wrote over what another program had saved since the open.
TEST_F(DbTreeDocTest, ASaveOverAFileChangedSinceItWasOpenedAsksFirst)
{
    CDbTreeDoc doc;
    const std::string path = CatalogueCopy();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << "\n";
    const std::string changed = ReadAll(path);
    Add(doc, "/x/new.glz", "New", DbTreeItemType::Glazes);
    EXPECT_TRUE(doc.OnCommand(CmdSaveDbTree));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + " has been changed by another program since it was opened. Replace it with this version?"});
    EXPECT_EQ(ReadAll(path), changed);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DbTreeDocTest, AddDirectoryAddsTreeKindsQuietlyAndSkipsTheRest)
{
    const std::string elements = WriteFile("elements.ele", Header("Oxidarium Elements", "Standard elements"));
    WriteFile("x.mat", "filetype = Oxidarium Preferences\nversion = 2\n");
    const std::string text = WriteFile("a.txt", "just words\n");
    const std::string glazes = WriteFile("cone6.GLZ", Header("Oxidarium Glazes", "Cone 6"));
    WriteFile("broken.sub", "no header here\n");
    WriteFile("notes.dat", Header("Oxidarium Glazes", "Not a pattern"));
    fs::create_directories(m_dir / "folder.lim");

    CDbTreeDoc doc;
    CRecordingFrame frame(doc, "tree");
    EXPECT_EQ(doc.AddDirectory(m_dir.string()), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
    ASSERT_EQ(doc.items.GetCount(), 3);
    EXPECT_EQ(RecordAt(doc.items, 0).path, elements);
    EXPECT_EQ(RecordAt(doc.items, 0).title, "Standard elements");
    EXPECT_EQ(RecordAt(doc.items, 0).type, DbTreeItemType::Elements);
    EXPECT_EQ(RecordAt(doc.items, 1).path, glazes);
    EXPECT_EQ(RecordAt(doc.items, 1).typeText, "glz");
    EXPECT_EQ(RecordAt(doc.items, 2).path, text);
    EXPECT_EQ(RecordAt(doc.items, 2).title, "a.txt");
    EXPECT_EQ(RecordAt(doc.items, 2).type, DbTreeItemType::TextFile);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(frame.view->received.size(), 1u);
    EXPECT_EQ(frame.view->At(0).kind, 7);
    EXPECT_EQ(frame.view->At(0).code, HintDbTreeChanged);

    EXPECT_EQ(doc.AddDirectory(m_dir.string()), 0);
    EXPECT_EQ(doc.items.GetCount(), 3) << "files already in the tree are not added twice";
    EXPECT_EQ(doc.AddDirectory((m_dir / "missing").string()), 1);
    EXPECT_EQ(doc.AddDirectory(elements), 1);
}

TEST_F(DbTreeDocTest, AddDatabasesReportsDuplicatesAndUnreadableFiles)
{
    const std::string glazes = WriteFile("glazes.glz", Header("Oxidarium Glazes", "Cone 10"));
    const std::string prefs = WriteFile("prefs.dat", "filetype = Oxidarium Preferences\nversion = 2\n");
    const std::string text = WriteFile("b.txt", "words\n");
    const std::string missing = (m_dir / "missing.glz").string();
    const std::string known = WriteFile("known.mat", Header("Oxidarium Materials", "Clays"));
    // The same file by another spelling of its path (letter case would name another file).
    std::string knownUpper = known;
    knownUpper.replace(knownUpper.size() - 9, 9, "./known.mat");

    CDbTreeDoc doc;
    Add(doc, known, "Clays", DbTreeItemType::Materials);
    m_dialogs.answers.push_back({CFileDialogResult::Outcome::Ok, {knownUpper, prefs, missing, glazes, text}, 1});
    std::array<bool, kDbTreeItemTypeCount> added{};
    EXPECT_EQ(doc.AddDatabases(added), 0);

    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = m_dialogs.At(0);
    EXPECT_EQ(request.mode, CFileDialogRequest::Mode::OpenMultiple);
    EXPECT_EQ(request.title, "Databases to add to tree...");
    EXPECT_EQ(request.helpId, 301u);
    EXPECT_EQ(request.flags, 4u);
    EXPECT_EQ(request.filter, "All Files (*.*)|*.*|Glaze Files (*.glz)|*.glz|Material Files (*.mat)|*.mat|"
                              "Limit Formula Files (*.lim)|*.lim|Substitution Files (*.sub)|*.sub|"
                              "Element Files (*.ele)|*.ele|Text Files (*.txt)|*.txt|"
                              "Graph Template Files (*.grt)|*.grt||");

    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(0).text, "File \"" + knownUpper + "\" is already in the tree.");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30910u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(m_messages.At(1).text, missing + ": unable to open");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30911u);

    ASSERT_EQ(doc.items.GetCount(), 4);
    EXPECT_EQ(RecordAt(doc.items, 1).path, prefs);
    EXPECT_EQ(RecordAt(doc.items, 1).type, DbTreeItemType::Unknown) << "a chosen file of another kind stays";
    EXPECT_EQ(RecordAt(doc.items, 1).typeText, "unknown");
    EXPECT_EQ(RecordAt(doc.items, 2).title, "Cone 10");
    EXPECT_EQ(RecordAt(doc.items, 3).title, "b.txt");
    const std::array<bool, kDbTreeItemTypeCount> expected{true, false, false, false, false, true, true, false};
    EXPECT_EQ(added, expected);

    m_dialogs.answers.push_back({CFileDialogResult::Outcome::Ok, {glazes}, 1});
    EXPECT_EQ(doc.AddDatabases(added), 1) << "nothing new";
    m_dialogs.AnswerCancel();
    EXPECT_EQ(doc.AddDatabases(added), 1);
    EXPECT_EQ(added, (std::array<bool, kDbTreeItemTypeCount>{}));
}

// The tree file holds one path and one title per line: a line break in either would forge
// entries of its own ("name = /etc/passwd").
TEST_F(DbTreeDocTest, NamesWithLineBreaksAreRefusedAndNeverWrittenAsLinesOfTheirOwn)
{
    const std::string forged = WriteFile("a.glz\nname = passwd.glz", Header("Oxidarium Glazes", "Cone 6"));
    ASSERT_TRUE(fs::exists(forged));
    CDbTreeDoc doc;
    m_dialogs.answers.push_back({CFileDialogResult::Outcome::Ok, {forged}, 1});
    std::array<bool, kDbTreeItemTypeCount> added{};
    EXPECT_EQ(doc.AddDatabases(added), 1);
    EXPECT_EQ(doc.AddDirectory(m_dir.string()), 0);
    const std::string refused = "File \"" + forged + "\" cannot be kept in the database tree: its name holds a line break.";
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30921u);
    EXPECT_EQ(doc.items.GetCount(), 0);
    EXPECT_EQ(added, (std::array<bool, kDbTreeItemTypeCount>{}));

    // An entry that came in another way still stays on its lines.
    Add(doc, "/d/a.glz\nname = /etc/passwd", "Cone\r6", DbTreeItemType::Glazes);
    std::ostringstream out;
    ASSERT_EQ(doc.items.Write(out), 0);
    CDbTreeItemList back;
    std::istringstream in(out.str());
    ASSERT_EQ(back.Read(in), 0);
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(RecordAt(back, 0).path, "/d/a.glz name = /etc/passwd");
    EXPECT_EQ(RecordAt(back, 0).title, "Cone 6");
}

TEST_F(DbTreeDocTest, RemoveInvalidItemsDropsMissingFilesAndRefreshesTitles)
{
    const std::string glazes = WriteFile("glazes.glz", Header("Oxidarium Glazes", "Cone 6"));
    const std::string text = WriteFile("c.txt", "words\n");
    const std::string gone = (m_dir / "gone.glz").string();
    CDbTreeDoc doc;
    Add(doc, gone, "Gone", DbTreeItemType::Glazes);
    Add(doc, glazes, "Old title", DbTreeItemType::Materials);
    Add(doc, (m_dir / "also-gone.mat").string(), "Also gone", DbTreeItemType::Materials);
    Add(doc, text, text, DbTreeItemType::TextFile);
    doc.SetModifiedFlag(false);

    EXPECT_EQ(doc.RemoveInvalidItems(true), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
    ASSERT_EQ(doc.items.GetCount(), 2);
    EXPECT_EQ(RecordAt(doc.items, 0).title, "Cone 6");
    EXPECT_EQ(RecordAt(doc.items, 0).type, DbTreeItemType::Materials) << "the type is left alone";
    EXPECT_EQ(RecordAt(doc.items, 1).title, "c.txt") << "a text entry is titled with its file name";
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.RemoveInvalidItems(true), 1);

    Add(doc, gone, "Gone", DbTreeItemType::Glazes);
    EXPECT_EQ(doc.RemoveInvalidItems(false), 0);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, gone + ": unable to open");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30920u);
    EXPECT_EQ(doc.items.GetCount(), 2);
}

TEST_F(DbTreeDocTest, OpeningReadsTheFileOrLeavesAnEmptyUntitledTree)
{
    const std::string catalogue = CatalogueCopy();
    CDbTreeDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(catalogue));
    EXPECT_EQ(doc.items.GetCount(), 5);
    EXPECT_EQ(doc.GetPathName(), catalogue);
    EXPECT_EQ(ProfileTreeFile(), catalogue);

    const std::string missing = (m_dir / "missing.dbt").string();
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.OnOpenDocument(missing));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30119u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(doc.items.GetCount(), 0);
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ProfileTreeFile(), catalogue) << "the file read last stays remembered";

    const std::string wrong = WriteFile("wrong.dbt", Header("Oxidarium Glazes", "Cone 6") + "name = /d/a.glz\n");
    EXPECT_TRUE(doc.OnOpenDocument(wrong));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, wrong + ": Incorrect file type: Oxidarium Glazes");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30120u);
    EXPECT_EQ(doc.items.GetCount(), 0);
    EXPECT_TRUE(doc.GetPathName().empty());

    // Regression: a last line without a line break was passed over (the last item lost its type
    // at the next save). It is read, and told.
    const std::string whole = ReadAll(catalogue);
    const std::string cut = WriteFile("cut.dbt", whole.substr(0, whole.size() - 1));
    EXPECT_TRUE(doc.OnOpenDocument(cut));
    ASSERT_EQ(doc.items.GetCount(), 5);
    EXPECT_EQ(RecordAt(doc.items, 4).typeText, "xyz");
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(2).text, cut + ": line 18: \"type  = xyz\" ends the file without a line break; it was "
                                           "read as it stands, but the file may have been cut short");
    EXPECT_EQ(m_messages.At(2).helpId, 0x30120u);

    // A file whose last save in place did not finish is read, and the open says so first.
    const CDataHomeGuard dataHome(m_dir / "data");
    const std::string copy = LeaveUnfinishedSave(catalogue);
    EXPECT_TRUE(doc.OnOpenDocument(catalogue));
    EXPECT_EQ(doc.items.GetCount(), 5);
    ASSERT_EQ(m_messages.boxes.size(), 4u);
    EXPECT_EQ(m_messages.At(3).text, UnfinishedSaveText(catalogue, copy));
    EXPECT_EQ(m_messages.At(3).helpId, 0x30120u);
}

TEST_F(DbTreeDocTest, SavingWritesTheFileAndRefusedBackupLeavesEverythingAlone)
{
    const std::string catalogue = CatalogueCopy();
    const std::string original = ReadAll(catalogue);
    CDbTreeDoc doc;
    doc.OnOpenDocument(catalogue);
    doc.RemoveItemAt(4);

    WriteFile("blocker", "a file where the backup directory should be");
    g_prefs.backtyp = 2;
    g_prefs.backdir = (m_dir / "blocker" / "backups").string();
    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdSaveDbTree));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text,
              "Backup directory \"" + g_prefs.backdir + "\" does not exist and cannot be created -- Continue with Save?");
    EXPECT_EQ(m_messages.At(0).type, MsgYesNo | MsgIconQuestion);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    EXPECT_EQ(ReadAll(catalogue), original);
    EXPECT_TRUE(doc.IsModified());

    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(doc.OnCommand(CmdSaveDbTree));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadAll(catalogue), original.substr(0, original.find("name  = /data/old.xyz")));
    EXPECT_EQ(doc.GetPathName(), catalogue);
}

TEST_F(DbTreeDocTest, FailedSaveAsKeepsExistingFilesAndCreatesNothing)
{
    CDbTreeDoc doc;
    Add(doc, "/d/" + std::string(200, 'g') + ".glz", "Long", DbTreeItemType::Glazes);
    const std::string existing = WriteFile("existing.dbt", "precious\r\nbytes");

    m_dialogs.AnswerPath(existing);
    {
        CFileSizeLimit limit(40);
        EXPECT_FALSE(doc.DoSave("", true));
    }
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = m_dialogs.At(0);
    EXPECT_EQ(request.mode, CFileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Database Tree Save As...");
    EXPECT_EQ(request.defaultExtension, "dbt");
    EXPECT_EQ(request.flags, 0x806u);
    EXPECT_EQ(request.filter, "Database Trees (*.dbt)|*.dbt|All Files (*.*)|*.*||");
    EXPECT_EQ(request.helpId, 303u);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text,
              existing + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30122u);
    EXPECT_EQ(ReadAll(existing), "precious\r\nbytes");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_TRUE(doc.IsModified());

    const std::string nowhere = (m_dir / "no-such-dir" / "tree.dbt").string();
    m_dialogs.AnswerPath(nowhere);
    EXPECT_TRUE(doc.OnCommand(CmdSaveDbTreeAs));
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(m_messages.Last().text, nowhere + ": Error opening file");
    EXPECT_FALSE(FileExists(nowhere));

    const std::string target = (m_dir / "saved.dbt").string();
    m_dialogs.AnswerPath(target);
    EXPECT_TRUE(doc.OnCommand(CmdSaveDbTreeAs));
    EXPECT_EQ(doc.GetPathName(), target);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ProfileTreeFile(), target);
    std::ostringstream expected;
    doc.items.Write(expected);
    EXPECT_EQ(ReadAll(target), expected.str());
    EXPECT_EQ(m_dialogs.Last().initialPath, "");
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(m_dir))
        files += entry.path().filename() != "profile.ini" ? 1 : 0;
    EXPECT_EQ(files, 2u) << "no temporary file is left behind";
}

TEST_F(DbTreeDocTest, CommandsRevertNewAndOpen)
{
    CDbTreeDoc doc;
    CRecordingFrame frame(doc, "tree");
    EXPECT_FALSE(Enabled(doc, CmdRevertDbTree));
    doc.SetModifiedFlag();
    EXPECT_FALSE(Enabled(doc, CmdRevertDbTree)) << "no path to revert to";
    EXPECT_TRUE(doc.OnCommand(CmdRevertDbTree));
    EXPECT_TRUE(frame.view->received.empty());
    for (unsigned id : {CmdSaveDbTree, CmdSaveDbTreeAs, CmdNewDbTree, CmdOpenDbTree})
        EXPECT_TRUE(Enabled(doc, id));
    CCmdUI other(33020);
    EXPECT_FALSE(doc.OnUpdateCommand(other));
    EXPECT_FALSE(doc.OnCommand(33020));

    const std::string catalogue = CatalogueCopy();
    m_dialogs.AnswerPath(catalogue);
    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdOpenDbTree));
    EXPECT_EQ(m_messages.boxes.size(), 1u) << "the modified tree was offered for saving";
    EXPECT_EQ(m_dialogs.At(0).title, "Open Database Tree...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Tree Files (*.dbt)|*.dbt|All Files (*.*)|*.*||");
    EXPECT_EQ(m_dialogs.At(0).helpId, 300u);
    EXPECT_EQ(m_dialogs.At(0).flags, 4u);
    EXPECT_EQ(doc.items.GetCount(), 5);
    EXPECT_FALSE(Enabled(doc, CmdRevertDbTree));

    doc.RemoveItemAt(0);
    EXPECT_TRUE(Enabled(doc, CmdRevertDbTree));
    // Revert asks before it drops the changes; Enter (Cancel) keeps them.
    EXPECT_TRUE(doc.OnCommand(CmdRevertDbTree));
    const std::string drops = "Revert To Saved drops the unsaved changes to " + catalogue + ".";
    EXPECT_EQ(m_messages.Last().text, drops);
    EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(doc.items.GetCount(), 4);
    EXPECT_TRUE(doc.IsModified());
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertDbTree));
    EXPECT_EQ(doc.items.GetCount(), 5);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(m_messages.boxes.size(), 3u) << "reverting asks one question";
    ASSERT_EQ(frame.view->received.size(), 2u);
    EXPECT_EQ(frame.view->At(1).code, HintDbTreeChanged);

    // Regression: reverting to a file that had gone emptied the tree, its only copy.
    fs::remove(catalogue);
    doc.RemoveItemAt(0);
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertDbTree));
    EXPECT_EQ(m_messages.Last().text, catalogue + ": Error opening file");
    EXPECT_EQ(doc.items.GetCount(), 4);
    EXPECT_EQ(doc.GetPathName(), catalogue);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(frame.view->received.size(), 2u) << "nothing changed";
    EXPECT_EQ(ProfileTreeFile(), catalogue);

    // A file cut short in its last line, or after the line break of an item's name or title
    // (an item ends with its type): Revert asks first, and Cancel (Enter) keeps the tree.
    const std::string whole = ReadAll(std::string(OXI_TEST_DATA_DIR) + "/tree/catalogue.dbt");
    ASSERT_TRUE(whole.ends_with("\n") && whole.find("\ntitle") != std::string::npos);
    for (const std::size_t size : {whole.size() - 3, whole.rfind("\ntitle") + 1, whole.rfind("\ntype") + 1}) {
        const std::string cut = whole.substr(0, size);
        WriteFile("catalogue.dbt", cut);
        m_messages.boxes.clear();
        m_messages.answers = {MsgResultOk};
        EXPECT_TRUE(doc.OnCommand(CmdRevertDbTree));
        const bool midLine = !cut.ends_with('\n');
        const std::string last = cut.substr(cut.rfind('\n', cut.size() - 2) + 1);
        EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                          drops, catalogue + ": \"" + (midLine ? last : last.substr(0, last.size() - 1)) +
                                          "\" ends the file " +
                                          (midLine ? "without a line break" : "in the middle of a record") +
                                          ", so the file may have been cut short (line " +
                                          std::to_string(std::count(cut.begin(), cut.end(), '\n') + midLine) +
                                          "). Revert to it anyway?"}));
        EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
        EXPECT_EQ(doc.items.GetCount(), 4);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(frame.view->received.size(), 2u) << "nothing changed";
    }

    Add(doc, "/d/a.glz", "A", DbTreeItemType::Glazes);
    m_messages.answers = {MsgResultCancel, MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdNewDbTree));
    EXPECT_EQ(doc.items.GetCount(), 5) << "cancelled";
    EXPECT_TRUE(doc.OnCommand(CmdNewDbTree));
    EXPECT_EQ(doc.items.GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame.view->Last().code, HintDbTreeChanged);
}

TEST_F(DbTreeDocTest, OpenItemOpensEachKindThroughItsDocument)
{
    const std::string glazes = WriteFile("glazes.glz", Header("Oxidarium Glazes", "Cone 6"));
    CFakeSingleton materials(DbFileType::Materials, "Clays", "");
    CFakeSingleton graphs(DbFileType::GraphTemplates, "Graphs", "");
    CDbTreeDoc doc;
    Add(doc, glazes, "Cone 6", DbTreeItemType::Glazes);
    Add(doc, (m_dir / "gone.glz").string(), "Gone", DbTreeItemType::Glazes);
    Add(doc, "/d/m.mat", "M", DbTreeItemType::Materials);
    Add(doc, "/d/g.grt", "G", DbTreeItemType::GraphTemplates);
    Add(doc, "/d/x.xyz", "X", DbTreeItemType::Unknown);
    Add(doc, "/d/e.ele", "E", DbTreeItemType::Elements);

    CRecordingFrame frame(doc, "tree");
    EXPECT_EQ(doc.OpenItem(0), 0);
    ASSERT_EQ(m_glazes.GetDocuments().size(), 1u);
    EXPECT_EQ(m_glazes.GetDocuments()[0]->GetPathName(), glazes);
    // Regression: a glaze database opened from the tree was not announced.
    ASSERT_FALSE(frame.view->received.empty());
    EXPECT_EQ(frame.view->Last().kind, static_cast<int>(DbFileType::Glazes));
    EXPECT_EQ(frame.view->Last().code, HintDocumentOpened);
    EXPECT_EQ(doc.OpenItem(1), 1) << "the glaze file cannot be opened";
    EXPECT_EQ(m_glazes.GetDocuments().size(), 1u);

    EXPECT_EQ(doc.OpenItem(2), 0);
    EXPECT_EQ(materials.reloaded, std::vector<std::string>{"/d/m.mat"});
    graphs.reloadResult = 1;
    EXPECT_EQ(doc.OpenItem(3), 1) << "the user cancelled";
    EXPECT_EQ(graphs.reloaded, std::vector<std::string>{"/d/g.grt"});
    EXPECT_EQ(doc.OpenItem(4), 1);
    EXPECT_EQ(doc.OpenItem(5), 1) << "no elements document";
    EXPECT_EQ(doc.OpenItem(6), 1);
    EXPECT_EQ(doc.OpenItem(-1), 1);

    g_pGlazesTemplate = nullptr;
    EXPECT_EQ(doc.OpenItem(0), 1);
}

TEST_F(DbTreeDocTest, AddOpenDatabasesAndUpdateItemTitle)
{
    const std::string glazes = WriteFile("glazes.glz", Header("Oxidarium Glazes", "Cone 6"));
    const std::string text = WriteFile("d.txt", "words\n");
    const std::string lookalike = WriteFile("look.glz", "plain text in a .glz file\n");
    CFakeSingleton graphs(DbFileType::GraphTemplates, "New graphs", "/d/graphs.grt");
    CFakeSingleton materials(DbFileType::Materials, "Clays", "/d/clays.mat");
    CFakeSingleton limits(DbFileType::LimitFormulas, "Limits", "");
    CDbTreeDoc doc;
    Add(doc, "/d/./graphs.grt", "Old graphs", DbTreeItemType::GraphTemplates);
    Add(doc, lookalike, "Look", DbTreeItemType::Glazes);
    CDocument* glazeDoc = m_glazes.OpenDocumentFile(glazes);
    CDocument* textDoc = m_texts.OpenDocumentFile(text);
    ASSERT_TRUE(glazeDoc && textDoc);

    EXPECT_EQ(doc.AddOpenDatabases(), 0);
    ASSERT_EQ(doc.items.GetCount(), 5);
    EXPECT_EQ(RecordAt(doc.items, 0).title, "New graphs") << "refreshed from the graph-template document";
    EXPECT_EQ(RecordAt(doc.items, 2).path, "/d/clays.mat");
    EXPECT_EQ(RecordAt(doc.items, 2).title, "Clays");
    EXPECT_TRUE(RecordAt(doc.items, 2).isOpen);
    EXPECT_EQ(RecordAt(doc.items, 3).title, "Glazes from file");
    EXPECT_EQ(RecordAt(doc.items, 3).type, DbTreeItemType::Glazes);
    EXPECT_EQ(RecordAt(doc.items, 4).title, text) << "an open text window is titled with its path";
    EXPECT_EQ(RecordAt(doc.items, 4).typeText, "txt");
    EXPECT_EQ(doc.AddOpenDatabases(), 1);

    // Only a glaze document gives a glaze entry its name.
    CDocument* notGlazes = m_texts.OpenDocumentFile(lookalike);
    ASSERT_NE(notGlazes, nullptr);
    EXPECT_EQ(doc.UpdateItemTitle(notGlazes), 0);
    EXPECT_EQ(RecordAt(doc.items, 1).title, "Look");
    static_cast<CFakeDbDoc*>(glazeDoc)->dbName = "Renamed";
    EXPECT_EQ(doc.UpdateItemTitle(glazeDoc), 1);
    EXPECT_EQ(RecordAt(doc.items, 3).title, "Renamed");
    EXPECT_EQ(doc.UpdateItemTitle(glazeDoc), 0);
    EXPECT_EQ(doc.UpdateItemTitle(nullptr), 0);
}
