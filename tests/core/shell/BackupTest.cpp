#include "shell/Backup.h"

#include "FakeMessageService.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/PathHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-backup-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }

    static std::string ReadAll(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteAll(const fs::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::size_t FilesInDir(const fs::path& dir) const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path m_dir;
};

// Restores the current directory when the test ends.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const fs::path& dir) : m_old(fs::current_path()) { fs::current_path(dir); }
    ~CurrentDirectoryGuard() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

} // namespace

TEST_F(BackupTest, NothingToDoLeavesEverythingAlone)
{
    const fs::path file = m_dir / "x.mat";
    std::string error = "untouched";
    CBackupSettings none{0, ""};
    WriteAll(file, "data");
    EXPECT_EQ(none.BackupFile(file.string(), error), 0);
    CBackupSettings sameDir{1, ""};
    EXPECT_EQ(sameDir.BackupFile((m_dir / "new.mat").string(), error), 0);
    EXPECT_EQ(sameDir.BackupFile("", error), 0);
    CBackupSettings cascade{3, (m_dir / "never").string()};
    EXPECT_EQ(cascade.BackupFile((m_dir / "new.mat").string(), error), 0);
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(FilesInDir(m_dir), 1u);
}

TEST_F(BackupTest, SameDirectoryModeAddsBakAndReplacesIt)
{
    const fs::path file = m_dir / "x.mat";
    CBackupSettings settings{1, "ignored"};
    std::string error;
    WriteAll(file, "first");
    EXPECT_EQ(settings.BackupFile(file.string(), error), 0);
    EXPECT_EQ(ReadAll(m_dir / "x.mat.bak"), "first");
    const fs::perms privateFile = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(m_dir / "x.mat.bak", privateFile);
    WriteAll(file, "second");
    EXPECT_EQ(settings.BackupFile(file.string(), error), 0);
    EXPECT_EQ(ReadAll(m_dir / "x.mat.bak"), "second");
    EXPECT_EQ(fs::status(m_dir / "x.mat.bak").permissions(), privateFile) << "the old backup is written over, not made anew";
    EXPECT_EQ(ReadAll(file), "second");
    EXPECT_EQ(FilesInDir(m_dir), 2u);
    WriteAll(file, "");
    EXPECT_EQ(settings.BackupFile(file.string(), error), 0) << "an empty file is backed up too";
    EXPECT_EQ(ReadAll(m_dir / "x.mat.bak"), "");
    EXPECT_TRUE(error.empty());
}

TEST_F(BackupTest, CopyModeCreatesOneDirectoryLevel)
{
    const fs::path file = m_dir / "glazes.glz";
    const fs::path backups = m_dir / "backups";
    WriteAll(file, "glazes");
    CBackupSettings settings{2, backups.string()};
    std::string error;
    EXPECT_EQ(settings.BackupFile(file.string(), error), 0);
    EXPECT_EQ(ReadAll(backups / "glazes.glz"), "glazes");

    // A directory whose parent is missing is not created.
    const std::string deep = (m_dir / "missing" / "backups").string();
    settings.directory = deep;
    EXPECT_EQ(settings.BackupFile(file.string(), error), 1);
    EXPECT_EQ(error, "Backup directory \"" + deep + "\" does not exist and cannot be created");
    EXPECT_FALSE(fs::exists(m_dir / "missing"));

    // No directory at all is the same error, in both directory modes.
    for (int mode : {2, 3}) {
        error.clear();
        EXPECT_EQ((CBackupSettings{mode, ""}.BackupFile(file.string(), error)), 1);
        EXPECT_EQ(error, "Backup directory \"\" does not exist and cannot be created");
    }
}

TEST_F(BackupTest, CascadeKeepsTenGenerations)
{
    const fs::path file = m_dir / "x.mat";
    const fs::path backups = m_dir / "bk";
    CBackupSettings settings{3, backups.string()};
    std::string error;
    // Save n writes "content n" after backing up what is there ("content n-1").
    WriteAll(file, "content 0");
    for (int save = 1; save <= 12; ++save) {
        ASSERT_EQ(settings.BackupFile(file.string(), error), 0) << error;
        WriteAll(file, "content " + std::to_string(save));
    }
    EXPECT_EQ(FilesInDir(backups), 11u);
    EXPECT_EQ(ReadAll(backups / "x.mat"), "content 11");  // backup of the newest save
    EXPECT_EQ(ReadAll(backups / "x.mat0"), "content 10");
    EXPECT_EQ(ReadAll(backups / "x.mat9"), "content 1");  // ten saves before the newest
    EXPECT_FALSE(fs::exists(backups / "x.mat10"));
}

TEST_F(BackupTest, BackupPathThatIsTheFileLeavesTheFileInPlace)
{
    const fs::path file = m_dir / "elements.dat";
    WriteAll(file, "live");
    std::string error;
    for (int mode : {2, 3}) {
        EXPECT_EQ((CBackupSettings{mode, m_dir.string()}.BackupFile(file.string(), error)), 0);
        EXPECT_EQ((CBackupSettings{mode, (m_dir / "." / "").string()}.BackupFile(file.string(), error)), 0);
        // The same through a relative path from the file's directory.
        CurrentDirectoryGuard cwd(m_dir);
        EXPECT_EQ((CBackupSettings{mode, "."}.BackupFile("elements.dat", error)), 0);
    }
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(ReadAll(file), "live");
    EXPECT_EQ(FilesInDir(m_dir), 1u) << "no numbered generations beside the live file";

    // A backup directory that links back to the file's directory is the same case.
    fs::create_directory_symlink(m_dir, m_dir / "loop");
    EXPECT_EQ((CBackupSettings{3, (m_dir / "loop").string()}.BackupFile(file.string(), error)), 0);
    EXPECT_EQ(ReadAll(file), "live");
}

TEST_F(BackupTest, OldBackupLinkedElsewhereIsReplacedNotFollowed)
{
    const fs::path file = m_dir / "x.mat";
    const fs::path other = m_dir / "other.txt";
    const fs::path bk = m_dir / "bk";
    fs::create_directory(bk);
    WriteAll(file, "live");
    WriteAll(other, "other");
    fs::create_symlink(other, bk / "x.mat");      // a link to another file
    fs::create_hard_link(file, bk / "x.mat0");   // a cascade generation sharing the file's inode
    std::string error;
    EXPECT_EQ((CBackupSettings{3, bk.string()}.BackupFile(file.string(), error)), 0);
    EXPECT_FALSE(fs::is_symlink(bk / "x.mat"));
    EXPECT_EQ(ReadAll(bk / "x.mat"), "live");
    EXPECT_EQ(ReadAll(other), "other");

    // A backup that is a link to the live file itself is replaced by a copy; the file stays.
    fs::remove(bk / "x.mat");
    fs::create_symlink(file, bk / "x.mat");
    WriteAll(file, "newer");
    EXPECT_EQ((CBackupSettings{2, bk.string()}.BackupFile(file.string(), error)), 0);
    EXPECT_FALSE(fs::is_symlink(bk / "x.mat"));
    EXPECT_EQ(ReadAll(bk / "x.mat"), "newer");
    EXPECT_EQ(ReadAll(file), "newer");
    EXPECT_TRUE(fs::is_regular_file(file));

    // So is one that shares the live file (a hard link): written through, the save after it
    // would change the backup along with the file.
    fs::remove(bk / "x.mat");
    fs::create_hard_link(file, bk / "x.mat");
    EXPECT_EQ((CBackupSettings{2, bk.string()}.BackupFile(file.string(), error)), 0);
    EXPECT_FALSE(fs::equivalent(file, bk / "x.mat"));
    EXPECT_EQ(ReadAll(bk / "x.mat"), "newer");
    EXPECT_TRUE(error.empty()) << error;
}

TEST_F(BackupTest, ReadOnlyOldBackupReportsBothPaths)
{
    const fs::path file = m_dir / "x.mat";
    const fs::path bak = m_dir / "x.mat.bak";
    WriteAll(file, "new");
    WriteAll(bak, "old");
    fs::permissions(bak, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string error;
    EXPECT_EQ((CBackupSettings{1, ""}.BackupFile(file.string(), error)), 1);
    EXPECT_EQ(error, "Backup: error copying " + file.string() + " to " + bak.string());
    EXPECT_EQ(ReadAll(bak), "old");
}

TEST_F(BackupTest, SaveAsksToContinueWhenTheBackupFails)
{
    CAppContext context;
    COxidariumApp app;
    CFakeMessageService messages;
    const fs::path file = m_dir / "glazes.glz";
    WriteAll(file, "glazes");
    const std::string deep = (m_dir / "missing" / "bk").string();
    g_prefs.backtyp = 2;
    g_prefs.backdir = deep;

    messages.answers = {MsgResultNo, MsgResultYes};
    EXPECT_FALSE(ConfirmBackupBeforeSave(file.string()));
    EXPECT_TRUE(ConfirmBackupBeforeSave(file.string(), 1234));
    ASSERT_EQ(messages.boxes.size(), 2u);
    const std::string expected =
        "Backup directory \"" + deep + "\" does not exist and cannot be created -- Continue with Save?";
    EXPECT_EQ(messages.At(0).text, expected);
    EXPECT_EQ(messages.At(0).Buttons(), MsgYesNo);
    EXPECT_EQ(messages.At(0).Icon(), MsgIconQuestion);
    EXPECT_EQ(messages.At(0).helpId, 196897u);
    EXPECT_EQ(messages.At(1).helpId, 1234u);

    // A backup that works asks nothing.
    g_prefs.backtyp = 1;
    EXPECT_TRUE(ConfirmBackupBeforeSave(file.string()));
    EXPECT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(ReadAll(m_dir / "glazes.glz.bak"), "glazes");
}
