#include "support/SafeFile.h"

#include "core/support/DataHomeGuard.h"
#include "core/support/FileSizeLimit.h"
#include "core/support/OrdinaryUser.h"
#include "core/support/WriteInterruption.h"
#include "support/SafeFileKeptCopies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
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

    // A writer that stops because its stream failed (the disk filled while it wrote) tells why.
    std::string reason;
    {
        CFileSizeLimit limit(1000);
        const auto full = WriteFileSafely(target.string(), [](std::ostream& out) {
            return static_cast<bool>(out << std::string(200000, 'x'));
        }, &reason);
        EXPECT_EQ(full, SafeSaveResult::WriteFailed);
    }
    EXPECT_EQ(reason, "The file would be larger than the file system allows.");
    EXPECT_EQ(ReadAll(target), old);
    EXPECT_EQ(FilesInDir(), 1u);

    // A rename that fails for another reason than a refusal is no cue to write in place.
    const CInterruptedRun renamed = RunInterruptingWrites([](const std::string&) { return true; },
                                                          CWritePlan{CWritePlan::Action::Fail, 1, INT_MAX, EIO, SYS_rename},
                                                          [&](std::string& report) {
        return static_cast<int>(WriteFileSafely(target.string(), [](std::ostream& out) {
            return static_cast<bool>(out << "new\n");
        }, &report));
    });
    if (renamed.traced) {
        EXPECT_EQ(renamed.result, static_cast<int>(SafeSaveResult::WriteFailed));
        EXPECT_EQ(renamed.report, "The disk reported an error.");
        EXPECT_EQ(FilesInDir(), 1u);
        EXPECT_EQ(ReadAll(target), old);
    }
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

// A write in place gathers the new bytes before it touches the file: when they cannot all be
// written (a full disk), or no copy of the old ones can be kept, the file stays as it is and no
// copy is left behind.
TEST_F(SafeFileTest, AWriteInPlaceThatCannotBeginLeavesTheFileAndNoCopy)
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
    EXPECT_EQ(reason, "The file would be larger than the file system allows.");
    EXPECT_EQ(ReadAll(target), "old text\n");
    const fs::path keptCopies = m_dir / "data" / "Oxidarium" / "Kept copies";
    EXPECT_TRUE(fs::is_empty(keptCopies));

    // No room for the copy: the file stays as it is.
    fs::remove_all(keptCopies);
    std::ofstream(keptCopies) << "a file where the folder would be";
    EXPECT_EQ(WriteFileSafely(target.string(), writeLong, &reason), SafeSaveResult::OpenFailed);
    EXPECT_EQ(reason, "The file can only be written in place, and no copy of it as it was could be kept first in " +
                          keptCopies.string() + ". It is unchanged.");
    EXPECT_EQ(ReadAll(target), "old text\n");
}

namespace {

// Lines "<word> line 00042\n" up to about bytes bytes: files longer than one write of a copy.
std::string NumberedLines(const std::string& word, std::size_t bytes)
{
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, " line %05d\n", i);
        text += word + line;
    }
    return text;
}

// What an open of path finds on record: the kept copy, after "? " when it only may be the file's
// (a note without a birth time or generation number to tell), or "" when there is none.
std::string Recorded(const fs::path& path)
{
    const CUnfinishedSave found = FindUnfinishedSave(CFileIdentity::Of(path.string()));
    return found.copy.empty() || found.certain ? found.copy : "? " + found.copy;
}

std::vector<std::string> FileNames(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// Regression: a save in place that failed after the old bytes were copied aside left the copy
// even when it put those bytes back ("The file is unchanged"), and every failed or killed try
// added one more, each as large as the file. A copy now goes when its save ends with the file
// whole; it stays only while it is the one record of a save that left the file damaged, each file
// has one at most, and a save that writes the file whole removes it. The writes are made to fail
// (a full disk) and the save is killed where they happen, in a traced child process.
TEST_F(SafeFileTest, AWriteInPlaceKeepsACopyOnlyWhileTheFileMayBeDamaged)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path keptCopies = m_dir / "data" / "Oxidarium" / "Kept copies";
    const fs::path target = m_dir / "glazes.glz";
    const std::string old = NumberedLines("old", 200000);
    std::ofstream(target, std::ios::binary) << old;
    fs::create_hard_link(target, m_dir / "also.glz");
    const std::string newer = NumberedLines("new", 150000);
    const fs::path also = m_dir / "also.glz";
    const auto isTarget = [&](const std::string& path) { return path == target.string() || path == also.string(); };
    const auto saveTo = [&](const fs::path& path) {
        return [&newer, path](std::string& report) {
            const SafeSaveResult result = WriteFileSafely(path.string(), [&](std::ostream& out) {
                return static_cast<bool>(out << newer);
            }, &report);
            return static_cast<int>(result);
        };
    };
    const auto save = saveTo(target);
    using Action = CWritePlan::Action;

    // The second write of the new bytes fails; the old ones go back and the copy goes with them.
    CInterruptedRun run = RunInterruptingWrites(isTarget, {Action::Fail, 2, 1, ENOSPC}, save);
    if (!run.traced)
        GTEST_SKIP() << "this system does not let a test trace its child process (or make its calls fail)";
    EXPECT_TRUE(run.interrupted);
    EXPECT_EQ(run.result, static_cast<int>(SafeSaveResult::WriteFailed));
    EXPECT_EQ(run.report, "The disk is full. The file is unchanged.");
    EXPECT_TRUE(ReadAll(target) == old);
    EXPECT_EQ(FileNames(keptCopies), std::vector<std::string>{});

    // Nothing more can be written: the copy stays, with the record that names the file.
    run = RunInterruptingWrites(isTarget, {Action::Fail, 2, INT_MAX, ENOSPC}, save);
    EXPECT_EQ(run.result, static_cast<int>(SafeSaveResult::WriteFailed));
    const std::string copy = Recorded(target);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(run.report,
              "The file may be incomplete; a copy of it as it was before this save is kept in " + copy + ".");
    EXPECT_TRUE(ReadAll(copy) == old);
    const std::string copyName = fs::path(copy).filename().string();
    EXPECT_TRUE(copyName.starts_with("glazes.glz.")) << copyName;
    EXPECT_EQ(FileNames(keptCopies), (std::vector<std::string>{copyName, copyName + ".unfinished"}));
    EXPECT_EQ(Recorded(also), copy) << "the same file";
    for (const std::string& name : FileNames(keptCopies)) {
        struct stat info {};
        ASSERT_EQ(::stat((keptCopies / name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << name << ": only the user reads the copy";
    }

    // Regression: the note was the file's only while the path it records named it. The file
    // renamed, moved to another folder or deleted, the open by its new or its other name said
    // nothing, and its copy was named by nothing. Every name it has now finds the record.
    const fs::path moved = m_dir / "elsewhere" / "moved.glz";
    fs::create_directories(moved.parent_path());
    for (const fs::path& to : {m_dir / "renamed.glz", fs::path(), moved}) {
        if (to.empty())
            fs::remove(target);
        else
            fs::rename(target, to);
        EXPECT_EQ(Recorded(also), copy) << to;
        EXPECT_EQ(to.empty() ? copy : Recorded(to), copy) << to;
        if (to == moved)
            break;
        if (to.empty())
            fs::create_hard_link(also, target);
        else
            fs::rename(to, target);
    }

    // A save of the damaged file (here by its other name, the first one moved away), killed as it
    // writes or failing, keeps the first copy, the file as it was before the first unfinished
    // save, as the only one; what it copied itself goes with the next save.
    run = RunInterruptingWrites(isTarget, {Action::Kill, 1}, saveTo(also));
    EXPECT_TRUE(run.interrupted);
    run = RunInterruptingWrites(isTarget, {Action::Fail, 1, INT_MAX, ENOSPC}, saveTo(also));
    EXPECT_EQ(run.report, "The file may be incomplete; a copy of it as it was before an earlier save that did not "
                          "finish is kept in " + copy + ".");
    fs::rename(moved, target);
    EXPECT_EQ(Recorded(target), copy);
    EXPECT_TRUE(ReadAll(copy) == old);
    const std::vector<std::string> names = FileNames(keptCopies);
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& name) { return name.ends_with(".unfinished"); }),
              1);

    // A save that writes the file whole ends the record: nothing is kept.
    std::string reason;
    EXPECT_EQ(save(reason), static_cast<int>(SafeSaveResult::Ok)) << reason;
    EXPECT_TRUE(ReadAll(target) == newer);
    EXPECT_EQ(FileNames(keptCopies), std::vector<std::string>{});
    EXPECT_EQ(Recorded(target), "");

    // So does a save that renames a new file over it, once it has no second name.
    run = RunInterruptingWrites(isTarget, {Action::Fail, 1, INT_MAX, ENOSPC}, save);
    const std::string second = Recorded(target);
    ASSERT_FALSE(second.empty());
    // A note without its copy (a save killed between making the two) records nothing.
    fs::remove(second);
    EXPECT_EQ(Recorded(target), "");
    fs::remove(also);
    EXPECT_EQ(save(reason), static_cast<int>(SafeSaveResult::Ok)) << reason;
    EXPECT_EQ(FileNames(keptCopies), std::vector<std::string>{});
}

// Regression: a note of an unfinished save was matched to a file by device and inode alone, and an
// inode number goes to a new file as soon as the old one is deleted: the new file was told that
// its last save did not finish (naming the other file's copy), its save deleted that copy, the
// only whole one, and its own killed save made no record of its own. Then the path the note
// records had to name the file still, and where no birth time was kept that was all: a new file
// at the same path that took the deleted file's inode was trusted as that file. A note is now
// certainly a file's when their device and inode agree and a birth time or a generation number
// that both carry agrees (none differing), whatever the path; where neither is carried by both
// the note may be the file's: named with that doubt, it never stands in for the file's own record
// and no save removes it.
TEST_F(SafeFileTest, ANoteNamesItsFileByItsBirthWhateverItsPath)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path keptCopies = m_dir / "data" / "Oxidarium" / "Kept copies";
    fs::create_directories(keptCopies);
    const fs::path target = m_dir / "b.glz";
    const std::string old = NumberedLines("old", 100000);
    std::ofstream(target, std::ios::binary) << old;
    fs::create_hard_link(target, m_dir / "also.glz");
    std::ofstream(m_dir / "c.glz") << "another file\n";
    const CFileStamp file = CFileStamp::Of(target.string());
    const std::string id = std::to_string(file.device) + " " + std::to_string(file.inode);
    struct statx born {};
    ASSERT_EQ(::statx(AT_FDCWD, target.c_str(), 0, STATX_BTIME, &born), 0);
    const bool hasBirth = (born.stx_mask & STATX_BTIME) != 0;
    const long long bornAt = born.stx_btime.tv_sec * 1000000000LL + born.stx_btime.tv_nsec;
    unsigned generation = 0;
    {
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (::ioctl(fd, FS_IOC_GETVERSION, &generation) != 0)
            generation = 0;
        ::close(fd);
    }
    const std::string birth = " " + std::to_string(bornAt);
    const std::string ofGeneration = " generation=" + std::to_string(generation);
    const std::string otherGeneration = " generation=" + std::to_string(generation + 1);
    const std::string copy = (keptCopies / "a.glz.2024-05-01-143005").string();
    const auto leaveNote = [&](const std::string& line, const fs::path& path) {
        std::ofstream(copy) << "a as it was\n";
        std::ofstream(copy + ".unfinished") << line << "\n" << path.string() << "\n";
    };
    enum Needs { Nothing = 0, Birth = 1, Generation = 2 }; // what the test folder's file system must keep
    enum class Kind { None, Possible, Certain };
    // The note's first line, the path it records, what the row needs, and what it is to b.glz.
    const std::tuple<std::string, fs::path, int, Kind> notes[] = {
        {id, m_dir / "a.glz", Nothing, Kind::Possible}, // an older note, or a file system keeping neither
        {id, m_dir / "c.glz", Nothing, Kind::Possible}, // ... its path taken by another file
        {id, target, Nothing, Kind::Possible}, // ... or by a new file that took its inode number
        {id + birth + ofGeneration, target, Birth | Generation, Kind::Certain},
        {id + birth, m_dir / "a.glz", Birth, Kind::Certain}, // b.glz renamed or deleted since
        {id + ofGeneration, m_dir / "c.glz", Generation, Kind::Certain}, // a file system keeping no birth time
        {id + birth + " later=7", target, Birth, Kind::Certain}, // words of later versions pass
        {std::to_string(file.device) + " " + std::to_string(file.inode + 1) + birth, target, Nothing, Kind::None},
        {std::to_string(file.device + 1) + " " + std::to_string(file.inode) + birth + ofGeneration, target, Nothing,
         Kind::None}, // a file of another disk
        {id + " " + std::to_string(bornAt - 1), target, Birth, Kind::None}, // an earlier b.glz, its inode taken
        {id + " " + std::to_string(bornAt - 1) + ofGeneration, target, Birth | Generation, Kind::None},
        {id + birth + otherGeneration, target, Birth | Generation, Kind::None},
        {id + otherGeneration, target, Generation, Kind::None}, // told apart by its generation alone
    };
    const int kept = (hasBirth ? Birth : 0) | (generation != 0 ? Generation : 0);
    if (kept == Nothing)
        GTEST_SKIP() << "the file system under " << m_dir << " keeps no birth times and no generation numbers";
    for (const auto& [line, path, needs, kind] : notes) {
        if ((needs & kept) != needs)
            continue;
        leaveNote(line, path);
        const std::string expected = kind == Kind::None ? "" : kind == Kind::Possible ? "? " + copy : copy;
        EXPECT_EQ(Recorded(target), expected) << line << " " << path;
        EXPECT_EQ(Recorded(m_dir / "also.glz"), expected) << line << " " << path;
        ASSERT_EQ(WriteFileSafely(target.string(), old), SafeSaveResult::Ok);
        EXPECT_EQ(fs::exists(copy), kind != Kind::Certain) << line << " " << path << ": a save removes its own file's record only";
    }

    // Its own save in place, killed as it writes, is recorded with its own copy, though a note
    // that may be its own is there; a second killed save keeps that first one, and so does a
    // third whose write fails and puts the damaged file back; the open after them names it.
    leaveNote(id, m_dir / "a.glz");
    const auto save = [&](std::string& report) {
        return static_cast<int>(WriteFileSafely(target.string(), [](std::ostream& out) {
            return static_cast<bool>(out << NumberedLines("new", 150000));
        }, &report));
    };
    const auto isTarget = [&](const std::string& path) { return path == target.string(); };
    for (int kill = 0; kill < 2; ++kill) {
        const CInterruptedRun run = RunInterruptingWrites(isTarget, {CWritePlan::Action::Kill, 1}, save);
        if (!run.traced)
            GTEST_SKIP() << "this system does not let a test trace its child process";
        EXPECT_TRUE(run.interrupted);
    }
    const CInterruptedRun failed = RunInterruptingWrites(isTarget, {CWritePlan::Action::Fail, 2, 1, ENOSPC}, save);
    EXPECT_EQ(failed.report, failed.traced ? "The disk is full. The file is unchanged." : "");
    const std::string own = Recorded(target);
    EXPECT_TRUE(own.starts_with((keptCopies / "b.glz.").string())) << own;
    EXPECT_TRUE(ReadAll(own) == old);
    EXPECT_TRUE(ReadAll(target) != old);
    // The save that writes it whole ends its record, and only its own.
    std::string reason;
    EXPECT_EQ(save(reason), static_cast<int>(SafeSaveResult::Ok)) << reason;
    const std::string copyName = fs::path(copy).filename().string();
    EXPECT_EQ(Recorded(target), "? " + copy);
    EXPECT_EQ(FileNames(keptCopies), (std::vector<std::string>{copyName, copyName + ".unfinished"}));

    // On a file system that keeps generation numbers but no birth times (ext4 made with 128-byte
    // inodes; so a traced child sees it), a killed save's note names the file by its generation,
    // and the save that writes the file whole removes it.
    CWritePlan unborn{CWritePlan::Action::Kill, 1};
    unborn.noBirthTimes = true;
    if ((kept & Generation) != 0) {
        const std::string before = ReadAll(target);
        const CInterruptedRun killed = RunInterruptingWrites(isTarget, unborn, save);
        if (!killed.traced)
            GTEST_SKIP() << "this system does not let a test change what its child's calls answer";
        EXPECT_TRUE(killed.interrupted);
        const std::string generationCopy = Recorded(target);
        EXPECT_TRUE(generationCopy.starts_with((keptCopies / "b.glz.").string())) << generationCopy;
        EXPECT_TRUE(ReadAll(generationCopy) == before);
        EXPECT_EQ(ReadAll(generationCopy + ".unfinished"), id + ofGeneration + "\n" + target.string() + "\n");
        EXPECT_EQ(save(reason), static_cast<int>(SafeSaveResult::Ok)) << reason;
        EXPECT_EQ(FileNames(keptCopies), (std::vector<std::string>{copyName, copyName + ".unfinished"}));
    }

    // On a file system that keeps neither birth times nor generation numbers, a note that names
    // b.glz's device and inode may be a deleted file's: the open names it with that doubt, b.glz's
    // own save, killed as it writes, keeps its own record with its old bytes in a kept copy (not
    // only in a temporary file the next save would remove), and a save that writes b.glz whole
    // removes neither.
    leaveNote(id + birth + ofGeneration, target);
    const std::string before = ReadAll(target);
    unborn.noGenerations = true;
    const CInterruptedRun killed = RunInterruptingWrites(isTarget, unborn, save);
    if (!killed.traced)
        GTEST_SKIP() << "this system does not let a test change what its child's calls answer";
    EXPECT_TRUE(killed.interrupted);
    std::vector<std::string> names = FileNames(keptCopies);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], copyName);
    const fs::path ownCopy = keptCopies / names[2];
    EXPECT_TRUE(names[2].starts_with("b.glz.")) << names[2];
    EXPECT_TRUE(ReadAll(ownCopy) == before);
    EXPECT_EQ(ReadAll(ownCopy.string() + ".unfinished"), id + "\n" + target.string() + "\n");
    unborn.from = INT_MAX;
    const CInterruptedRun opened = RunInterruptingWrites(isTarget, unborn, [&](std::string& report) {
        report = Recorded(target) + "|";
        const int result = save(reason);
        report += Recorded(m_dir / "also.glz");
        return result;
    });
    EXPECT_EQ(opened.result, static_cast<int>(SafeSaveResult::Ok));
    EXPECT_EQ(opened.report, "? " + copy + "|? " + copy);
    EXPECT_EQ(FileNames(keptCopies), names);
    // Where birth times are kept, b.glz's save removes the note that is certainly its own.
    EXPECT_EQ(Recorded(target), copy);
    EXPECT_EQ(save(reason), static_cast<int>(SafeSaveResult::Ok)) << reason;
    EXPECT_EQ(Recorded(target), "? " + ownCopy.string());
    EXPECT_EQ(FileNames(keptCopies), (std::vector<std::string>{names[2], names[3]}));
}

// Regression: in a shared folder with the sticky bit (mode 1777) a user may make files but not
// replace another user's, so the rename over such a file was refused (EPERM) and the save failed
// with "Error writing file" and no reason. The refused rename now falls back to writing in
// place, as a folder the user may not write does; a file the user may not write either is
// refused with the reason.
TEST_F(SafeFileTest, AFileOfAnotherUserInAStickyFolderIsWrittenInPlace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "saving as another user's file needs the tests to run as the superuser (they save as nobody)";
    const fs::path shared = m_dir / "shared";
    const fs::path data = m_dir / "data";
    fs::create_directories(shared);
    fs::create_directories(data);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(data.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    const fs::path writable = shared / "glazes.glz";
    const fs::path closed = shared / "materials.mat";
    std::ofstream(writable) << "old glazes\n";
    std::ofstream(closed) << "old materials\n";
    ASSERT_EQ(::chmod(writable.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(closed.c_str(), 0644), 0);
    struct stat before {};
    ASSERT_EQ(::stat(writable.c_str(), &before), 0);

    std::string report;
    const int result = RunAsOrdinaryUser(
        [&](std::string& reasons) {
            ::setenv("XDG_DATA_HOME", data.c_str(), 1);
            int failures = 0;
            for (const fs::path& path : {writable, closed}) {
                std::string reason;
                const auto write = [](std::ostream& out) { return static_cast<bool>(out << "new text\n"); };
                failures += WriteFileSafely(path.string(), write, &reason) == SafeSaveResult::Ok ? 0 : 1;
                reasons += reason + "|";
            }
            return failures;
        },
        report);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(report, "|A new file cannot be given its owner and group, and the file itself may not be written.|");
    EXPECT_EQ(ReadAll(writable), "new text\n");
    EXPECT_EQ(ReadAll(closed), "old materials\n");
    struct stat after {};
    ASSERT_EQ(::stat(writable.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u) << "the file stays its owner's";
    EXPECT_EQ(FileNames(shared), (std::vector<std::string>{"glazes.glz", "materials.mat"})) << "no temporary file left";
    EXPECT_TRUE(fs::is_empty(data / "Oxidarium" / "Kept copies"));
}

namespace {

// Every extended attribute of the file at path, the access list among them ("name=value|...").
std::string Attributes(const fs::path& path)
{
    char names[4096];
    const ssize_t length = ::listxattr(path.c_str(), names, sizeof names);
    std::string all;
    for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t size = ::getxattr(path.c_str(), names + at, value, sizeof value);
        all += std::string(names + at) + "=" + std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
        all += "|";
    }
    return all;
}

} // namespace

// Regression: a save by rename gave the new file the old one's owner and permissions only: a
// database shared with another user through an access list lost it (and a "user." attribute),
// and that user's next save failed with "Error opening file". A new file now takes every extended
// attribute; a file whose attributes or owner a new file cannot be given is written in place.
// The access list is set by setfacl (package acl, installed by scripts/setup.sh).
TEST_F(SafeFileTest, ASaveKeepsTheAccessListAndExtendedAttributes)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path target = m_dir / "shared.glz";
    std::ofstream(target) << "old\n";
    ::chmod(target.c_str(), 0640);
    if (std::system("command -v setfacl >/dev/null") != 0)
        GTEST_SKIP() << "setfacl is missing (package acl; scripts/setup.sh installs it)";
    if (std::system(("setfacl -m u:65534:rw '" + target.string() + "' 2>/dev/null").c_str()) != 0 ||
        ::setxattr(target.c_str(), "user.glaze-notes", "kept", 4, 0) != 0)
        GTEST_SKIP() << "the file system under " << m_dir << " takes no access lists or user attributes";
    const std::string attributes = Attributes(target);
    ASSERT_NE(attributes.find("system.posix_acl_access="), std::string::npos);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);

    struct stat after {};
    std::string reason;
    const SafeSaveResult renamed = WriteFileSafely(target.string(), [](std::ostream& out) {
        return static_cast<bool>(out << "renamed\n");
    }, &reason);
    if (reason == "The disk is full.")
        GTEST_SKIP() << "the disk under " << m_dir << " is full";
    ASSERT_EQ(renamed, SafeSaveResult::Ok) << reason;
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took its place: " << reason;
    EXPECT_EQ(Attributes(target), attributes);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    // In a folder that hands every new file an access list, a file without one gains none.
    const fs::path plain = m_dir / "inherits" / "plain.glz";
    fs::create_directories(plain.parent_path());
    std::ofstream(plain) << "old\n";
    const std::uint64_t plainInode = CFileStamp::Of(plain.string()).inode;
    ASSERT_EQ(std::system(("setfacl -d -m u:65534:rw '" + plain.parent_path().string() + "'").c_str()), 0);
    ASSERT_EQ(WriteFileSafely(plain.string(), std::string("new\n")), SafeSaveResult::Ok);
    EXPECT_EQ(Attributes(plain), "");
    EXPECT_NE(CFileStamp::Of(plain.string()).inode, plainInode) << "a new file took its place";

    // An attribute the new file refuses: the file is written in place and keeps them all.
    const auto isTemporary = [&](const std::string& path) { return path.starts_with(target.string() + ".~"); };
    const auto save = [&](std::string& report) {
        return static_cast<int>(WriteFileSafely(target.string(), [](std::ostream& out) {
            return static_cast<bool>(out << "in place\n");
        }, &report));
    };
    const CWritePlan refused{CWritePlan::Action::Fail, 1, INT_MAX, EPERM, SYS_fsetxattr};
    const CInterruptedRun run = RunInterruptingWrites(isTemporary, refused, save);
    if (run.traced) {
        EXPECT_TRUE(run.interrupted);
        EXPECT_EQ(run.result, static_cast<int>(SafeSaveResult::Ok)) << run.report;
        ASSERT_EQ(::stat(target.c_str(), &before), 0);
        EXPECT_EQ(before.st_ino, after.st_ino);
        EXPECT_EQ(ReadAll(target), "in place\n");
        EXPECT_EQ(Attributes(target), attributes);
    }
    if (::geteuid() != 0)
        return;
    // The user the list names saves it: in the folder, where that user may make no new file, and
    // in a folder open to all, where a new file could not be given the file's owner.
    const fs::path theirData = m_dir / "theirs";
    fs::create_directories(theirData);
    ASSERT_EQ(::chown(theirData.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    for (const fs::path& folder : {m_dir, m_dir / "open"}) {
        if (folder != m_dir) {
            fs::create_directories(folder);
            ::chmod(folder.c_str(), 0777);
            fs::rename(target, folder / "shared.glz");
        }
        const fs::path path = folder / "shared.glz";
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        std::string report;
        const int result = RunAsOrdinaryUser(
            [&](std::string& reason) {
                ::setenv("XDG_DATA_HOME", theirData.c_str(), 1);
                return static_cast<int>(WriteFileSafely(path.string(), [](std::ostream& out) {
                    return static_cast<bool>(out << "theirs\n");
                }, &reason));
            },
            report);
        EXPECT_EQ(result, static_cast<int>(SafeSaveResult::Ok)) << report;
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(ReadAll(path), "theirs\n");
        EXPECT_EQ(Attributes(path), attributes);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_uid, before.st_uid);
    }
}

// Regression: a save in place gathered the new bytes in a growing string, copied them once more
// and read the old file whole into another: three times the file in memory (5.25 GB for a 1 GB
// database against 2.16 GB for an ordinary save), and out of memory it said only "Error writing
// file". It now needs a fixed buffer: a 32 MB file is saved in place in a process allowed 24 MB
// more than it holds (bench/savepeak.sh measures the peak: see README). A writer that runs out of
// memory says so and leaves the file whole. The save holds the file three times on disk (the
// file, the new bytes gathered, the kept copy): where the disk has no room for that, with some
// to spare for tests running beside it, the test says so and skips.
TEST_F(SafeFileTest, ASaveInPlaceNeedsNoMoreMemoryThanAFixedBuffer)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than a memory limit lets through";
#else
    const CDataHomeGuard dataHome(m_dir / "data");
    const fs::path target = m_dir / "glazes.glz";
    constexpr std::size_t kBlock = 1 << 20;
    constexpr int kBlocks = 32;
    struct statvfs disk {};
    const std::uintmax_t room = ::statvfs(m_dir.c_str(), &disk) == 0 ? disk.f_bavail * disk.f_frsize : 0;
    if (room < 8 * kBlock * kBlocks)
        GTEST_SKIP() << "the disk under " << m_dir << " has " << (room >> 20) << " MB free; the test needs "
                     << ((8 * kBlock * kBlocks) >> 20);
    {
        std::ofstream out(target, std::ios::binary);
        const std::string old(kBlock, 'o');
        for (int i = 0; i < kBlocks; ++i)
            out << old;
    }
    fs::create_hard_link(target, m_dir / "also.glz");
    const std::string block(kBlock, 'n');
    std::string report;
    const int result = RunInChildProcess(
        [&](std::string& reasons) {
            const auto write = [&](std::ostream& out) {
                for (int i = 0; i < kBlocks; ++i)
                    out.write(block.data(), static_cast<std::streamsize>(block.size()));
                return static_cast<bool>(out);
            };
            std::string reason;
            const bool saved = WriteFileSafely(target.string(), write, &reason) == SafeSaveResult::Ok;
            const std::string firstReason = reason;
            const auto greedy = [](std::ostream& out) { return static_cast<bool>(out << std::string(256 << 20, 'g')); };
            const bool refused = WriteFileSafely(target.string(), greedy, &reason) == SafeSaveResult::WriteFailed;
            reasons = saved ? reason : "the save failed: " + firstReason;
            return (saved ? 0 : 1) + (refused ? 0 : 2);
        },
        report, [] {
            // What the process maps now, and 24 MB more.
            long pages = 0;
            if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (24 << 20);
            const rlimit memory{limit, limit};
            return pages > 0 && ::setrlimit(RLIMIT_AS, &memory) == 0;
        });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(report, "There was not enough memory to save the file. It is unchanged.");
    EXPECT_EQ(fs::file_size(target), kBlock * kBlocks);
    std::ifstream in(target, std::ios::binary);
    std::string read(kBlock, '\0');
    for (int i = 0; i < kBlocks; ++i) {
        in.read(read.data(), static_cast<std::streamsize>(read.size()));
        ASSERT_TRUE(read == block) << "block " << i << " is not the new bytes";
    }
    EXPECT_TRUE(fs::is_empty(m_dir / "data" / "Oxidarium" / "Kept copies"));
#endif
}
