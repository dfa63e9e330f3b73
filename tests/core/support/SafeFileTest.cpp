#include "support/SafeFile.h"

#include "core/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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

    // Regression: a pipe (or, for the superuser, /dev/null) named as the file was replaced by a
    // plain file.
    const fs::path fifo = m_dir / "fifo.glz";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string reason;
    EXPECT_EQ(WriteFileSafely(fifo.string(), [](std::ostream& out) { return static_cast<bool>(out << "x"); }, &reason),
              SafeSaveResult::OpenFailed);
    EXPECT_EQ(reason, "It is not a regular file.");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

namespace {

// Points the user's data directory at the test's folder for one scope.
class CDataHomeGuard {
public:
    explicit CDataHomeGuard(const fs::path& folder)
    {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_old = old;
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~CDataHomeGuard()
    {
        if (m_old)
            ::setenv("XDG_DATA_HOME", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    CDataHomeGuard(const CDataHomeGuard&) = delete;
    CDataHomeGuard& operator=(const CDataHomeGuard&) = delete;

private:
    std::optional<std::string> m_old;
};

} // namespace

// Regression: a save renamed a new file over a file with a second name (a hard link), and the
// other name kept the old text. Such a file is written in place: every name sees the new bytes,
// and the file keeps its permissions.
TEST_F(SafeFileTest, AFileWithASecondNameIsWrittenInPlace)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path target = m_dir / "glazes.glz";
    const fs::path other = m_dir / "also.glz";
    std::ofstream(target) << "old text\n";
    ::chmod(target.c_str(), 0640);
    fs::create_hard_link(target, other);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);

    CSafeFileWriter writer(target.string());
    ASSERT_TRUE(writer.Open());
    writer.Stream() << "new text, longer than the old\n";
    EXPECT_EQ(ReadAll(other), "old text\n") << "nothing is written before the commit";
    ASSERT_EQ(writer.Commit(), SafeSaveResult::Ok);
    EXPECT_EQ(ReadAll(other), "new text, longer than the old\n");
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(writer.WrittenStamp(), CFileStamp::Of(target.string()));
    EXPECT_TRUE(fs::is_empty(m_dir / "data" / "Oxidarium" / "Kept copies")) << "a save that succeeds keeps no copy";

    // Shorter text leaves nothing of the longer behind; a writer that gives up touches nothing.
    EXPECT_EQ(WriteFileSafely(other.string(), std::string("short\n")), SafeSaveResult::Ok);
    EXPECT_EQ(ReadAll(target), "short\n");
    const auto givesUp = [](std::ostream& out) {
        out << "half";
        return false;
    };
    EXPECT_EQ(WriteFileSafely(target.string(), givesUp), SafeSaveResult::WriteFailed);
    EXPECT_EQ(ReadAll(target), "short\n");
    EXPECT_EQ(FilesInDir(), 3u);
}

// A write in place that fails half way (a full disk) puts the old bytes back, keeps a copy of
// them in the user's data directory and names it; without room for that copy nothing is written.
TEST_F(SafeFileTest, AFailedWriteInPlaceKeepsTheOldBytesAndNamesTheirCopy)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path target = m_dir / "glazes.glz";
    std::ofstream(target) << "old text\n";
    fs::create_hard_link(target, m_dir / "also.glz");
    const auto writeLong = [](std::ostream& out) { return static_cast<bool>(out << std::string(500, 'x')); };
    std::string reason;
    {
        CFileSizeLimit limit(100);
        EXPECT_EQ(WriteFileSafely(target.string(), writeLong, &reason), SafeSaveResult::WriteFailed);
    }
    EXPECT_EQ(ReadAll(target), "old text\n");
    const fs::path keptCopies = m_dir / "data" / "Oxidarium" / "Kept copies";
    const std::vector<fs::path> copies(fs::directory_iterator(keptCopies), fs::directory_iterator{});
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadAll(copies[0]), "old text\n");
    EXPECT_TRUE(copies[0].filename().string().starts_with("glazes.glz.")) << copies[0];
    EXPECT_EQ(reason, "The file is unchanged; a copy of it as it was is kept in " + copies[0].string() + ".");
    struct stat copy {};
    ASSERT_EQ(::stat(copies[0].c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, 0600u) << "only the user reads the copy";

    // No room for the copy: the file stays as it is.
    fs::remove_all(keptCopies);
    std::ofstream(keptCopies) << "a file where the folder would be";
    EXPECT_EQ(WriteFileSafely(target.string(), writeLong, &reason), SafeSaveResult::WriteFailed);
    EXPECT_EQ(reason, "The file can only be written in place, and no copy of it as it was could be kept first in " +
                          keptCopies.string() + ". It is unchanged.");
    EXPECT_EQ(ReadAll(target), "old text\n");
}
