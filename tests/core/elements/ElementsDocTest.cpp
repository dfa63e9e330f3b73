#include "elements/ElementsDoc.h"

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
#include "support/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kMaterialsFile = "filetype = Oxidarium Materials\nversion =  2\n\ndbname  = Mats\n\n";

class ElementsDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-eledoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_profile->WriteString("Files", "ElementDBFileName", "/somewhere/old.ele");
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
    // An element file whose silicon is neutral and carries a note.
    std::string CustomFile(const std::string& name = "custom.ele") const
    {
        return WriteFile(name, "filetype = Oxidarium Elements\nversion =  2\n\ndbname  = Custom\nI = |info\n\n"
                               "z = 14\nrole = 2\nnote = |sand\n\n");
    }
    std::string ProfileElementFile() const { return m_profile->GetString("Files", "ElementDBFileName", "<none>"); }
    static std::string Written(const CElementsDoc& doc)
    {
        std::ostringstream out;
        doc.WriteElements(out);
        return out.str();
    }
    static bool HoldsTheDefaults(const CElementsDoc& doc)
    {
        return doc.Elements() == CElementTable() && doc.GetDatabaseName() == kDefaultElementDbName &&
               doc.m_infoLines.empty();
    }
    static bool Enabled(CElementsDoc& doc, unsigned id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(doc.OnUpdateCommand(ui));
        return ui.m_bEnabled;
    }
    // The codes of the notices the view received, cleared afterwards.
    static std::vector<std::pair<int, int>> TakeNotices(CRecordingFrame& frame)
    {
        std::vector<std::pair<int, int>> codes;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, 1);
            codes.emplace_back(hint.code, hint.index);
        }
        frame.view->received.clear();
        return codes;
    }
    using Notices = std::vector<std::pair<int, int>>;

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
};

} // namespace

TEST_F(ElementsDocTest, TheDocumentOwnsTheWorkingTableWhileItLives)
{
    {
        CElementsDoc doc;
        EXPECT_EQ(g_pElementsDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(1), &doc);
        EXPECT_EQ(GetElementTable(), doc.Elements().Records());
        EXPECT_TRUE(HoldsTheDefaults(doc));
        EXPECT_EQ(doc.GetDatabaseName(), "Elements (default)");
        EXPECT_EQ(doc.m_version, 2);
        EXPECT_FALSE(doc.IsModified());

        doc.Elements().SetRole(14, kRoleNeutral);
        EXPECT_EQ(GetElementTable()[14].role, kRoleNeutral);

        CRecordingFrame frame(doc, "elements");
        EXPECT_FALSE(doc.CanCloseFrame(&frame));
        EXPECT_TRUE(frame.minimized);
        EXPECT_EQ(frame.closed, 0);
    }
    EXPECT_EQ(g_pElementsDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(1), nullptr);
    EXPECT_EQ(GetElementTable(), GetDefaultElementRecords());
    EXPECT_EQ(GetElementTable()[14].role, kRoleAcid);
}

TEST_F(ElementsDocTest, AFileThatCannotBeOpenedOrReadLeavesTheDefaults)
{
    CElementsDoc doc;
    const std::string custom = CustomFile();
    const std::string missing = (m_dir / "missing.ele").string();
    const std::string materials = WriteFile("materials.mat", kMaterialsFile + "z = 14\n");
    struct Case {
        std::string path, message;
        unsigned helpId;
    };
    const Case cases[] = {
        {missing, missing + ": Error opening file\n\nUsing default element data", 0x30119},
        {materials, materials + ": Incorrect file type: Oxidarium Materials\nUsing default element data", 0x30120},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(doc.OnOpenDocument(custom));
        EXPECT_EQ(ProfileElementFile(), custom);
        doc.SetModifiedFlag();
        ASSERT_FALSE(HoldsTheDefaults(doc));
        m_messages.boxes.clear();

        EXPECT_TRUE(doc.OnOpenDocument(c.path));
        ASSERT_EQ(m_messages.boxes.size(), 1u);
        EXPECT_EQ(m_messages.At(0).text, c.message);
        EXPECT_EQ(m_messages.At(0).helpId, c.helpId);
        EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
        EXPECT_TRUE(HoldsTheDefaults(doc));
        EXPECT_EQ(doc.GetPathName(), "");
        // Regression: the profile kept naming the user's file, not an empty path.
        EXPECT_EQ(ProfileElementFile(), custom);
        EXPECT_FALSE(doc.IsModified());
    }

    // A file whose last save in place did not finish is read, and the open says so first.
    const CDataHomeGuard dataHome(m_dir / "data");
    const std::string copy = LeaveUnfinishedSave(custom);
    m_messages.boxes.clear();
    EXPECT_TRUE(doc.OnOpenDocument(custom));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{UnfinishedSaveText(custom, copy)});
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_FALSE(HoldsTheDefaults(doc));

    // A later Save As names the document after its new file as usual.
    const std::string target = (m_dir / "saved.ele").string();
    m_dialogs.AnswerPath(target);
    EXPECT_TRUE(doc.DoSave("", true));
    EXPECT_EQ(doc.GetPathName(), target);
}

TEST_F(ElementsDocTest, StartingFromAnUnreadableFileThroughTheTemplateKeepsNoPath)
{
    CDocTemplate elements(5, kElementsDocString, [] { return std::make_unique<CElementsDoc>(); });
    const std::string materials = WriteFile("materials.mat", kMaterialsFile);
    CDocument* doc = elements.OpenDocumentFile(materials);
    ASSERT_EQ(doc, g_pElementsDoc);
    EXPECT_EQ(doc->GetPathName(), "") << "the template must not name the defaults after the bad file";
    EXPECT_EQ(ProfileElementFile(), "/somewhere/old.ele");
    EXPECT_TRUE(HoldsTheDefaults(*g_pElementsDoc));
    ASSERT_EQ(m_messages.boxes.size(), 1u);

    CDocument* good = elements.OpenDocumentFile(CustomFile());
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->GetPathName(), CustomFile());
}

TEST_F(ElementsDocTest, OpenFileAsksToSaveChangesThenReloadsAndAnnounces)
{
    CElementsDoc doc;
    CRecordingFrame frame(doc, "elements");
    const std::string custom = CustomFile();
    doc.SetModifiedFlag();

    m_messages.answers = {MsgResultCancel};
    EXPECT_EQ(doc.OpenFile(custom), 1);
    EXPECT_TRUE(HoldsTheDefaults(doc));
    EXPECT_TRUE(TakeNotices(frame).empty());
    EXPECT_EQ(m_messages.Last().text, "Save changes to Untitled?");
    EXPECT_EQ(m_messages.Last().helpId, 0x30141u);

    m_messages.answers = {MsgResultNo};
    m_dialogs.AnswerPath(custom);
    EXPECT_TRUE(doc.OnCommand(CmdOpenElementDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).mode, CFileDialogRequest::Mode::Open);
    EXPECT_EQ(m_dialogs.At(0).title, "Open Element Database...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Database Files (*.ele)|*.ele|All Files (*.*)|*.*||");
    EXPECT_EQ(doc.GetDatabaseName(), "Custom");
    EXPECT_EQ(doc.m_infoLines, (CStringArrayEx{"info"}));
    EXPECT_EQ(doc.Elements()[14].role, kRoleNeutral);
    EXPECT_EQ(doc.Elements()[14].notes, (CStringArrayEx{"sand"}));
    EXPECT_EQ(doc.GetPathName(), custom);
    EXPECT_EQ(ProfileElementFile(), custom);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementsReplaced, 0}}));

    EXPECT_EQ(static_cast<CDocument&>(doc).OpenDatabaseFile(CustomFile("other.ele")), 0);
    EXPECT_EQ(doc.GetPathName(), (m_dir / "other.ele").string());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementsReplaced, 0}}));
}

TEST_F(ElementsDocTest, SaveWritesTheFileAndAnnouncesIt)
{
    CElementsDoc doc;
    CRecordingFrame frame(doc, "elements");
    const std::string path = CustomFile();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.SetDatabaseName("Renamed");
    EXPECT_TRUE(doc.IsModified());
    m_profile->WriteString("Files", "ElementDBFileName", "");

    EXPECT_TRUE(doc.OnCommand(CmdSaveElementDb));
    EXPECT_EQ(ReadAll(path), Written(doc));
    EXPECT_NE(ReadAll(path).find("dbname  = Renamed\n"), std::string::npos);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ProfileElementFile(), path);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));
    EXPECT_TRUE(m_dialogs.requests.empty());
    EXPECT_TRUE(m_messages.boxes.empty());
}

// Regression: a save wrote over what another program had saved since the open.
TEST_F(ElementsDocTest, ASaveOverAFileChangedSinceItWasOpenedAsksFirst)
{
    CElementsDoc doc;
    const std::string path = CustomFile();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << "\n";
    const std::string changed = ReadAll(path);
    doc.SetDatabaseName("Renamed");
    EXPECT_TRUE(doc.OnCommand(CmdSaveElementDb));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + " has been changed by another program since it was opened. Replace it with this version?"});
    EXPECT_EQ(ReadAll(path), changed);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ElementsDocTest, SaveAsAsksForAFileAndAnnouncesEvenWhenCancelled)
{
    CElementsDoc doc;
    CRecordingFrame frame(doc, "elements");
    doc.SetModifiedFlag();

    EXPECT_TRUE(doc.OnCommand(CmdSaveElementDbAs)); // the fake dialog answers Cancel
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = m_dialogs.At(0);
    EXPECT_EQ(request.mode, CFileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Element Database Save As...");
    EXPECT_EQ(request.filter, "Database Files (*.ele)|*.ele|All Files (*.*)|*.*||");
    EXPECT_EQ(request.defaultExtension, "ele");
    EXPECT_EQ(request.flags, 0x806u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));

    const std::string target = (m_dir / "new.ele").string();
    m_dialogs.AnswerPath(target);
    EXPECT_TRUE(doc.OnCommand(CmdSaveElementDbAs));
    EXPECT_EQ(doc.GetPathName(), target);
    EXPECT_EQ(doc.GetTitle(), "new.ele");
    EXPECT_EQ(ReadAll(target), Written(doc));
    EXPECT_EQ(ProfileElementFile(), target);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));
}

TEST_F(ElementsDocTest, FailedSavesReportAndKeepTheOldFile)
{
    CElementsDoc doc;
    doc.SetModifiedFlag();

    const std::string nowhere = (m_dir / "no-such-dir" / "x.ele").string();
    EXPECT_FALSE(doc.DoSave(nowhere, true));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, nowhere + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30122u);
    EXPECT_FALSE(fs::exists(nowhere));

    // A disk that fills up part way: the message, and the file that was there keeps its bytes,
    // also when it was chosen in the Save As dialog.
    const std::string existing = WriteFile("existing.ele", "precious\r\nbytes");
    m_dialogs.AnswerPath(existing);
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
    EXPECT_EQ(ProfileElementFile(), "/somewhere/old.ele");
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_TRUE(entry.path().filename() == "existing.ele" || entry.path().filename() == "profile.ini")
            << "left behind: " << entry.path();
}

TEST_F(ElementsDocTest, AFailedBackupAsksWhetherToSaveAnyway)
{
    CElementsDoc doc;
    const std::string path = WriteFile("elements.ele", "old");
    g_prefs.backtyp = CBackupSettings::CopyToDirectory;
    g_prefs.backdir = WriteFile("a-file", "") + "/backups";

    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    EXPECT_EQ(m_messages.At(0).Buttons(), MsgYesNo);
    EXPECT_NE(m_messages.At(0).text.find(" -- Continue with Save?"), std::string::npos);
    EXPECT_EQ(ReadAll(path), "old");

    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadAll(path), Written(doc));
}

TEST_F(ElementsDocTest, RevertToSavedAndNewReloadAndAnnounce)
{
    CElementsDoc doc;
    CRecordingFrame frame(doc, "elements");
    EXPECT_FALSE(Enabled(doc, CmdRevertElementDb));
    const std::string path = CustomFile();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_FALSE(Enabled(doc, CmdRevertElementDb)) << "not modified";

    doc.Elements().SetRole(14, kRoleAcid);
    doc.SetModifiedFlag();
    EXPECT_TRUE(Enabled(doc, CmdRevertElementDb));
    // Revert asks before it drops the changes; Enter (Cancel) keeps them.
    EXPECT_TRUE(doc.OnCommand(CmdRevertElementDb));
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{drops});
    EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(doc.Elements()[14].role, kRoleAcid);
    EXPECT_TRUE(doc.IsModified());
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertElementDb));
    EXPECT_EQ(doc.Elements()[14].role, kRoleNeutral);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementsReplaced, 0}}));

    // Regression: reverting to a file that had gone put the defaults in place of the table. The
    // role set is neither the file's (neutral) nor the default (acid).
    m_messages.boxes.clear();
    doc.Elements().SetRole(14, kRoleAlkali);
    doc.SetModifiedFlag();
    fs::remove(path);
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertElementDb));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{drops, path + ": Error opening file"}));
    EXPECT_EQ(doc.Elements()[14].role, kRoleAlkali);
    EXPECT_EQ(doc.GetDatabaseName(), "Custom");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_TRUE(TakeNotices(frame).empty());
    m_messages.boxes.clear();

    // A file cut short in its last line: Revert asks first, Cancel (Enter) keeps the table.
    // Cut after a line break, the file lacks the blank line that ends its last element: asked
    // the same way.
    for (const char* end : {"note = |sa", "note = |sa\n"}) {
        WriteFile("custom.ele", std::string("filetype = Oxidarium Elements\nversion =  2\n\ndbname  = Cut\n\nz = 14\n"
                                            "role = 2\n") + end);
        m_messages.answers = {MsgResultOk};
        EXPECT_TRUE(doc.OnCommand(CmdRevertElementDb));
        EXPECT_EQ(m_messages.Texts(),
                  (std::vector<std::string>{drops, path + ": \"note = |sa\" ends the file " +
                                                       (end[10] ? "in the middle of a record" : "without a line break") +
                                                       ", so the file may have been cut short (line 8). "
                                                       "Revert to it anyway?"}));
        EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
        EXPECT_EQ(doc.Elements()[14].role, kRoleAlkali);
        EXPECT_EQ(doc.GetDatabaseName(), "Custom");
        EXPECT_TRUE(doc.IsModified());
        m_messages.boxes.clear();
    }
    m_messages.answers = {MsgResultOk, MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertElementDb));
    EXPECT_EQ(m_messages.boxes.size(), 2u) << "nothing more is said of it";
    EXPECT_EQ(doc.GetDatabaseName(), "Cut");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementsReplaced, 0}}));
    m_messages.boxes.clear();

    doc.SetModifiedFlag();
    m_messages.answers = {MsgResultCancel};
    EXPECT_TRUE(doc.OnCommand(CmdNewElementDb));
    EXPECT_EQ(doc.GetDatabaseName(), "Cut") << "cancelled";
    EXPECT_TRUE(TakeNotices(frame).empty());

    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdNewElementDb));
    EXPECT_TRUE(HoldsTheDefaults(doc));
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementsReplaced, 0}}));
    EXPECT_FALSE(doc.OnCommand(12345));
}

TEST_F(ElementsDocTest, RevertingElementsMarksModifiedAndAnnouncesTheElement)
{
    CElementsDoc doc;
    CRecordingFrame frame(doc, "elements");
    CRecordingFrame sender(doc, "sender");
    ASSERT_TRUE(doc.OnOpenDocument(CustomFile()));
    doc.Elements()[20].expansion = 9.0;
    doc.Elements()[20].notes = {"kept"};

    doc.RevertElement(14, ENotesRevert::Keep, sender.view.get());
    EXPECT_EQ(doc.Elements()[14].role, kRoleAcid);
    EXPECT_EQ(doc.Elements()[14].notes, (CStringArrayEx{"sand"}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementChanged, 14}}));
    EXPECT_TRUE(sender.view->received.empty()) << "the sending view is skipped";

    doc.RevertElement(104, ENotesRevert::Delete);
    EXPECT_TRUE(TakeNotices(frame).empty()) << "an element number out of range does nothing";

    doc.SetModifiedFlag(false);
    doc.RevertAllElements(ENotesRevert::Delete);
    EXPECT_EQ(doc.Elements(), CElementTable());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintElementChanged, -1}}));
    EXPECT_EQ(doc.GetDatabaseName(), "Custom") << "only the records revert";
}
