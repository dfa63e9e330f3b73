#include "support/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

// The target's file name as the start of its temporary names, cut (never inside a UTF-8
// character) so that the name with the suffix fits the directory's name limit.
std::string TemporaryStem(const std::string& directory, const std::string& name)
{
    long limit = ::pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = kDefaultNameLimit;
    const std::size_t room = static_cast<std::size_t>(limit) > kSuffixLength ? static_cast<std::size_t>(limit) - kSuffixLength : 1;
    if (name.size() <= room)
        return name;
    std::size_t cut = room;
    while (cut > 1 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
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
    const auto [directory, name] = SplitDirectory(m_target);
    const std::string stem = TemporaryStem(directory, name);
    RemoveAbandonedTemporaries(directory, stem);
    std::string pattern = directory + stem + kTemporaryMark + std::string(kRandomCharacters, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    ::flock(fd, LOCK_EX | LOCK_NB);
    m_lockFd = fd;
    m_temporary = pattern;
    m_stream.open(m_temporary, std::ios::binary | std::ios::trunc);
    if (!m_stream) {
        Abandon();
        return false;
    }
    return true;
}

SafeSaveResult CSafeFileWriter::Commit()
{
    if (m_temporary.empty())
        return SafeSaveResult::OpenFailed;
    m_stream.flush();
    const bool written = static_cast<bool>(m_stream);
    m_stream.close();
    if (written && !m_stream.fail())
        KeepOwnerAndMode(m_lockFd, m_target);
    if (!written || m_stream.fail() || ::fsync(m_lockFd) != 0) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_written = CFileStamp::OfDescriptor(m_lockFd);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_committed = true;
    m_temporary.clear();
    CloseLock();
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
    CloseLock();
}

void CSafeFileWriter::CloseLock()
{
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}
SafeSaveResult WriteFileSafely(const std::string& path, const std::string& bytes)
{
    return WriteFileSafely(path, [&bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
}

SafeSaveResult WriteFileSafely(const std::string& path, const std::function<bool(std::ostream&)>& write)
{
    CSafeFileWriter writer(path);
    if (!writer.Open())
        return SafeSaveResult::OpenFailed;
    if (!write(writer.Stream()) || !writer.Stream()) {
        writer.Abandon();
        return SafeSaveResult::WriteFailed;
    }
    return writer.Commit();
}
