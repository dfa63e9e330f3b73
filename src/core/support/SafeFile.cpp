#include "support/SafeFile.h"

#include "support/MessagePath.h"
#include "support/PathHelpers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporaryMark = ".~";
constexpr std::size_t kRandomCharacters = 6; // the "XXXXXX" of mkstemp
constexpr std::size_t kSuffixLength = 2 + kRandomCharacters;
constexpr long kDefaultNameLimit = 255;
constexpr const char* kKeptCopiesFolder = "Kept copies";
constexpr const char* kNotRegularReason = "It is not a regular file.";

// A symbolic link keeps pointing at the same file: the file it names is replaced. A link that
// leads to no file, or round in a loop, is not replaced by a plain file: reason tells why.
std::string ResolveTarget(const std::string& path, std::string& reason)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        if (errno == ELOOP)
            reason = "The file is a symbolic link that leads round in a loop.";
        else if (errno == ENOENT || errno == ENOTDIR)
            reason = "The file is a symbolic link to a file that does not exist.";
        else
            reason = "The file is a symbolic link that cannot be followed.";
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Gives the new file the owner, group and permissions of the file it replaces (the owner only
// where the system permits it); a new file gets the usual 0666 & ~umask.
void KeepOwnerAndMode(int fd, const std::string& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        return;
    }
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // The owner and group stay the saving user's: only the permissions are kept.
    }
    // After the owner: changing it may clear the set-id bits.
    ::fchmod(fd, old.st_mode & 07777);
}

// The directory part of path ("" for a bare name) and its file name.
std::pair<std::string, std::string> SplitDirectory(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The start of name, cut (never inside a UTF-8 character) so that it fits the directory's name
// limit with suffixLength bytes after it.
std::string NameStem(const std::string& directory, const std::string& name, std::size_t suffixLength)
{
    long limit = ::pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = kDefaultNameLimit;
    const std::size_t room = static_cast<std::size_t>(limit) > suffixLength ? static_cast<std::size_t>(limit) - suffixLength : 1;
    if (name.size() <= room)
        return name;
    std::size_t cut = room;
    while (cut > 1 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

// The target's file name as the start of its temporary names.
std::string TemporaryStem(const std::string& directory, const std::string& name)
{
    return NameStem(directory, name, kSuffixLength);
}

bool IsRandomCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when fileName is stem + ".~" + six random characters.
bool IsTemporaryName(const std::string& fileName, const std::string& stem)
{
    return fileName.size() == stem.size() + kSuffixLength && fileName.compare(0, stem.size(), stem) == 0 &&
           fileName.compare(stem.size(), 2, kTemporaryMark) == 0 &&
           std::all_of(fileName.end() - static_cast<std::ptrdiff_t>(kRandomCharacters), fileName.end(), IsRandomCharacter);
}

// Removes the file when no save holds it: a lock taken without waiting proves its save died.
void RemoveIfAbandoned(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev && S_ISREG(held.st_mode))
        ::unlink(path.c_str());
    ::close(fd);
}

// Removes what killed saves of the same target left behind.
void RemoveAbandonedTemporaries(const std::string& directory, const std::string& stem)
{
    std::error_code ec;
    fs::directory_iterator entries(directory.empty() ? fs::path(".") : fs::path(directory), ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const std::string fileName = entries->path().filename().string();
        if (IsTemporaryName(fileName, stem))
            RemoveIfAbandoned(entries->path().string());
    }
}

// Writes all of bytes at the start of the file on fd and cuts the file there; false when any of
// it failed (the file may then hold part of them).
bool WriteWholeFile(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// The whole file on fd; false on a read error.
bool ReadWholeFile(int fd, std::string& bytes)
{
    bytes.clear();
    char block[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, block, sizeof block, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(block, static_cast<std::size_t>(n));
        at += n;
    }
}

// The folder the old bytes of files written in place are kept in.
std::string KeptCopiesFolder()
{
    const std::string data = GetUserDataDirectory();
    return data.empty() ? std::string() : MakeFilePath(data, kKeptCopiesFolder);
}

// Writes bytes into a new file in the kept-copies folder, named after the target and the time
// ("glazes.glz.2024-05-01-143005", "-2" and on when that is taken); its path, or empty when it
// could not be written whole.
std::string KeepCopy(const std::string& target, const std::string& bytes)
{
    const std::string folder = KeptCopiesFolder();
    if (folder.empty())
        return std::string();
    std::error_code ec;
    fs::create_directories(folder, ec);
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    if (::localtime_r(&now, &local))
        std::strftime(when, sizeof when, ".%Y-%m-%d-%H%M%S", &local);
    const std::string stem = NameStem(folder, SplitDirectory(target).second, std::string(when).size() + 4);
    for (int n = 1; n < 1000; ++n) {
        const std::string copy = MakeFilePath(folder, stem + when + (n > 1 ? "-" + std::to_string(n) : std::string()));
        // The copy holds the user's data: only the user reads it.
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return std::string();
        const bool written = WriteWholeFile(fd, bytes);
        if (::close(fd) == 0 && written)
            return copy;
        ::unlink(copy.c_str());
        return std::string();
    }
    return std::string();
}

} // namespace

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

CSafeFileWriter::CSafeFileWriter(std::string path)
    : m_target(ResolveTarget(path, m_failureReason))
{
}

CSafeFileWriter::~CSafeFileWriter()
{
    if (!m_committed)
        Abandon();
}

bool CSafeFileWriter::Open()
{
    // A rename needs only the directory's permission: the file's own is judged here, by its
    // mode bits, so that it holds for every user, the superuser too.
    if (!m_failureReason.empty() || IsReadOnlyFile(m_target))
        return false;
    struct stat info {};
    const bool exists = ::stat(m_target.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        m_failureReason = kNotRegularReason;
        return false;
    }
    // A rename would part a file from its other names; without a new file beside it, only the
    // file itself can be written.
    if (exists && info.st_nlink > 1)
        return OpenInPlace();
    return OpenTemporary() || (exists && OpenInPlace());
}

bool CSafeFileWriter::OpenTemporary()
{
    const auto [directory, name] = SplitDirectory(m_target);
    const std::string stem = TemporaryStem(directory, name);
    RemoveAbandonedTemporaries(directory, stem);
    std::string pattern = directory + stem + kTemporaryMark + std::string(kRandomCharacters, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    ::flock(fd, LOCK_EX | LOCK_NB);
    m_fd = fd;
    m_temporary = pattern;
    m_stream.open(m_temporary, std::ios::binary | std::ios::trunc);
    if (!m_stream) {
        Abandon();
        return false;
    }
    return true;
}

bool CSafeFileWriter::OpenInPlace()
{
    const int fd = ::open(m_target.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_inPlace = true;
    return true;
}

SafeSaveResult CSafeFileWriter::CommitInPlace()
{
    std::string old;
    if (!m_newBytes || !ReadWholeFile(m_fd, old)) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    const std::string copy = KeepCopy(m_target, old);
    if (copy.empty()) {
        const std::string folder = KeptCopiesFolder();
        m_failureReason = "The file can only be written in place, and no copy of it as it was could be kept first" +
                          (folder.empty() ? std::string() : " in " + MessagePath(folder)) + ". It is unchanged.";
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    if (WriteWholeFile(m_fd, m_newBytes.str())) {
        m_written = CFileStamp::OfDescriptor(m_fd);
        ::unlink(copy.c_str());
        m_committed = true;
        CloseFile();
        return SafeSaveResult::Ok;
    }
    // The old bytes go back where they can; the copy stays whatever happens.
    m_failureReason = WriteWholeFile(m_fd, old)
                          ? "The file is unchanged; a copy of it as it was is kept in " + MessagePath(copy) + "."
                          : "The file may be incomplete; a copy of it as it was before this save is kept in " +
                                MessagePath(copy) + ".";
    Abandon();
    return SafeSaveResult::WriteFailed;
}

SafeSaveResult CSafeFileWriter::Commit()
{
    if (m_inPlace && m_fd >= 0)
        return CommitInPlace();
    if (m_temporary.empty())
        return SafeSaveResult::OpenFailed;
    m_stream.flush();
    const bool written = static_cast<bool>(m_stream);
    m_stream.close();
    if (written && !m_stream.fail())
        KeepOwnerAndMode(m_fd, m_target);
    if (!written || m_stream.fail() || ::fsync(m_fd) != 0) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_written = CFileStamp::OfDescriptor(m_fd);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_committed = true;
    m_temporary.clear();
    CloseFile();
    return SafeSaveResult::Ok;
}

void CSafeFileWriter::Abandon()
{
    if (m_stream.is_open())
        m_stream.close();
    if (!m_temporary.empty()) {
        std::remove(m_temporary.c_str());
        m_temporary.clear();
    }
    CloseFile();
}

void CSafeFileWriter::CloseFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SafeSaveResult WriteFileSafely(const std::string& path, const std::string& bytes)
{
    return WriteFileSafely(path, [&bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
}

SafeSaveResult WriteFileSafely(const std::string& path, const std::function<bool(std::ostream&)>& write,
                               std::string* failureReason)
{
    CSafeFileWriter writer(path);
    SafeSaveResult result = SafeSaveResult::OpenFailed;
    if (writer.Open()) {
        const bool written = write(writer.Stream()) && writer.Stream();
        if (!written)
            writer.Abandon();
        result = written ? writer.Commit() : SafeSaveResult::WriteFailed;
    }
    if (failureReason)
        *failureReason = writer.FailureReason();
    return result;
}

std::string SaveFailureMessage(const std::string& path, SafeSaveResult result, const std::string& reason)
{
    const char* words = result == SafeSaveResult::OpenFailed ? ": Error opening file" : ": Error writing file";
    return MessagePath(path) + words + (reason.empty() ? std::string() : "\n\n" + reason);
}
