#include "support/SafeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-safefile-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string ReadAll(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::size_t FilesInDir() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
};

} // namespace

TEST_F(SafeFileTest, WritesNewAndReplacesOldFiles)
{
    const fs::path target = m_dir / "glazes.glz";
    EXPECT_EQ(WriteFileSafely(target.string(), std::string("one\n")), SafeSaveResult::Ok);
    EXPECT_EQ(ReadAll(target), "one\n");
    EXPECT_EQ(WriteFileSafely(target.string(), std::string("two\r\nlines\n")), SafeSaveResult::Ok);
    EXPECT_EQ(ReadAll(target), "two\r\nlines\n");
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SafeFileTest, AFailurePartWayLeavesTheOldFileByteIdentical)
{
    const fs::path target = m_dir / "materials.mat";
    const std::string old = "filetype = Oxidarium Materials\nversion =  2\n\nname = Silica\n";
    ASSERT_EQ(WriteFileSafely(target.string(), old), SafeSaveResult::Ok);

    const auto result = WriteFileSafely(target.string(), [](std::ostream& out) {
        out << "filetype = Oxidarium Materials\nversion =  2\n";
        return false; // the writer gives up half way, as a full disk would make it
    });
    EXPECT_EQ(result, SafeSaveResult::WriteFailed);
    EXPECT_EQ(ReadAll(target), old);
    EXPECT_EQ(FilesInDir(), 1u) << "the temporary file must be removed";

    const auto badStream = WriteFileSafely(target.string(), [](std::ostream& out) {
        out << "partial";
        out.setstate(std::ios::badbit);
        return true;
    });
    EXPECT_EQ(badStream, SafeSaveResult::WriteFailed);
    EXPECT_EQ(ReadAll(target), old);
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SafeFileTest, AMissingDirectoryIsAnOpenFailure)
{
    const fs::path target = m_dir / "missing" / "x.txt";
    EXPECT_EQ(WriteFileSafely(target.string(), std::string("x")), SafeSaveResult::OpenFailed);
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(SafeFileTest, KeepsPermissionsAndFollowsSymbolicLinks)
{
    const fs::path target = m_dir / "prefs.dat";
    ASSERT_EQ(WriteFileSafely(target.string(), std::string("a")), SafeSaveResult::Ok);
    ::chmod(target.c_str(), 0640);
    const fs::path link = m_dir / "link.dat";
    fs::create_symlink(target, link);
    ASSERT_EQ(WriteFileSafely(link.string(), std::string("b")), SafeSaveResult::Ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(target), "b");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Regression: saves killed half way left "<name>.~XXXXXX" files beside the database for ever.
// The next save of the same target removes those no save holds; a save still running keeps its
// lock and its file, and temporary files of other targets are left alone.
TEST_F(SafeFileTest, TheNextSaveRemovesWhatKilledSavesLeft)
{
    const fs::path target = m_dir / "glazes.glz";
    for (const char* name : {"glazes.glz.~a1B2c3", "glazes.glz.~ZZZZZZ", "other.glz.~a1B2c3", "glazes.glz.~short"})
        std::ofstream(m_dir / name) << "partial";
    const fs::path running = m_dir / "glazes.glz.~Run123";
    std::ofstream(running) << "being written";
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    ASSERT_EQ(WriteFileSafely(target.string(), std::string("saved\n")), SafeSaveResult::Ok);
    ::close(held);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"glazes.glz", "glazes.glz.~Run123", "glazes.glz.~short",
                                               "other.glz.~a1B2c3"}));
    EXPECT_EQ(ReadAll(target), "saved\n");
}

// Regression: the temporary name added 8 bytes to the target's, so a file whose name was 248 to
// 255 bytes long could be opened but never saved.
TEST_F(SafeFileTest, NamesUpToTheFileSystemLimitCanBeSaved)
{
    const std::string accented = "\xc3\xa9"; // two bytes in UTF-8: the cut must not split it
    std::string accents;
    for (int i = 0; i < 63; ++i)
        accents += accented;
    for (const std::string& name : {std::string(248, 'g'), std::string(251, 'g') + ".glz", std::string(128, 'x') + accents}) {
        ASSERT_LE(name.size(), 255u);
        const fs::path target = m_dir / name;
        EXPECT_EQ(WriteFileSafely(target.string(), std::string("first\n")), SafeSaveResult::Ok) << name.size();
        EXPECT_EQ(WriteFileSafely(target.string(), std::string("second\n")), SafeSaveResult::Ok) << name.size();
        EXPECT_EQ(ReadAll(target), "second\n");
    }
    EXPECT_EQ(FilesInDir(), 3u);
}

// Regression: a rename needs only the directory's permission, so a save replaced a file whose
// write permission was off (and the new file kept mode 0444). The refusal goes by the mode bits,
// so it holds for the superuser as well.
TEST_F(SafeFileTest, AReadOnlyFileIsNeverReplaced)
{
    const fs::path target = m_dir / "locked.glz";
    std::ofstream(target) << "kept\n";
    ::chmod(target.c_str(), 0444);
    CSafeFileWriter writer(target.string());
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.FailureReason(), "");
    EXPECT_EQ(WriteFileSafely(target.string(), std::string("lost\n")), SafeSaveResult::OpenFailed);
    EXPECT_EQ(ReadAll(target), "kept\n");
    EXPECT_EQ(FilesInDir(), 1u);
}

// Regression: the new file took the saving user's owner and group, and a link that led nowhere
// (or round in a loop) was replaced by a plain file.
TEST_F(SafeFileTest, KeepsTheOwnerAndRefusesBrokenLinks)
{
    const fs::path target = m_dir / "shared.mat";
    std::ofstream(target) << "old\n";
    const bool superuser = ::geteuid() == 0;
    if (superuser) {
        ASSERT_EQ(::chown(target.c_str(), 4321, 8765), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    ASSERT_EQ(WriteFileSafely(target.string(), std::string("new\n")), SafeSaveResult::Ok);
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);

    const fs::path dangling = m_dir / "dangling.glz";
    fs::create_symlink(m_dir / "gone.glz", dangling);
    const fs::path loop = m_dir / "loop.glz";
    fs::create_symlink(loop, loop);
    const std::pair<fs::path, const char*> broken[] = {
        {dangling, "The file is a symbolic link to a file that does not exist."},
        {loop, "The file is a symbolic link that leads round in a loop."}};
    for (const auto& [link, reason] : broken) {
        CSafeFileWriter writer(link.string());
        EXPECT_FALSE(writer.Open()) << link;
        EXPECT_EQ(writer.FailureReason(), reason);
        EXPECT_EQ(WriteFileSafely(link.string(), std::string("x")), SafeSaveResult::OpenFailed);
        EXPECT_TRUE(fs::is_symlink(link));
    }
    EXPECT_FALSE(fs::exists(m_dir / "gone.glz"));
    EXPECT_EQ(FilesInDir(), 3u);
}
