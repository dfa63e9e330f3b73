#include "support/SafeFile.h"

#include "support/MessagePath.h"
#include "support/SafeFileHelpers.h"
#include "support/SafeFileKeptCopies.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotRegularReason = "It is not a regular file.";
constexpr const char* kNoMemoryReason = "There was not enough memory to save the file. It is unchanged.";
constexpr const char* kRenameRefusedReason =
    "Its folder does not let it be replaced, and the file itself may not be written.";

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

// Gives the new file what the file it replaces carries besides its bytes: its owner and group,
// its extended attributes (the access list among them) and its permissions. Null when all of it
// is kept, else what could not be (a user's new file cannot be given another user as owner). A
// new file gets the usual 0666 & ~umask.
const char* KeepWhatTheFileCarries(int fd, const std::string& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        return nullptr;
    }
    // The owner first: changing it clears the set-id bits and the file's capabilities.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        return "owner and group";
    if (!CopyExtendedAttributes(target, fd))
        return "access list and extended attributes";
    struct stat now {};
    if (::fchmod(fd, old.st_mode & 07777) != 0 || ::fstat(fd, &now) != 0 || now.st_mode != old.st_mode)
        return "permissions";
    return nullptr;
}

// The sentence saying that no copy of a file to be written in place could be kept.
std::string NoCopyReason()
{
    const std::string folder = KeptCopiesFolder();
    return "The file can only be written in place, and no copy of it as it was could be kept first" +
           (folder.empty() ? std::string() : " in " + MessagePath(folder)) + ". It is unchanged.";
}

// A refused rename that writing in place can get round: the folder (sticky, or closed to the
// user) will not let the file be replaced, though the file itself may be writable.
bool IsRenameRefused(int error)
{
    return error == EPERM || error == EACCES;
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
    m_before = CFileStamp::Of(m_target);
    // A rename would part a file from its other names; without a new file beside it, only the
    // file itself can be written.
    if (exists && info.st_nlink > 1)
        return OpenInPlace();
    return OpenTemporary() || (exists && OpenInPlace());
}

bool CSafeFileWriter::OpenTemporary()
{
    const auto [directory, name] = SplitDirectory(m_target);
    RemoveAbandonedTemporaries(directory, name);
    m_fd = MakeLockedTemporary(directory, name, m_temporary);
    if (m_fd < 0)
        return false;
    AttachStream();
    return true;
}

bool CSafeFileWriter::OpenInPlace()
{
    if (!OpenTarget())
        return false;
    if (!OpenSpool()) {
        m_failureReason = NoCopyReason();
        CloseFiles();
        return false;
    }
    m_inPlace = true;
    AttachStream();
    return true;
}

// Opens the target itself for writing in place; false when it may not be written or is no
// regular file.
bool CSafeFileWriter::OpenTarget()
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
    m_targetFd = fd;
    return true;
}

// An unnamed file in the kept-copies folder that gathers the new bytes of a save in place: it
// holds them on disk instead of in memory, and vanishes with the save, however that ends.
bool CSafeFileWriter::OpenSpool()
{
    const std::string folder = KeptCopiesFolder();
    if (folder.empty())
        return false;
    std::error_code ec;
    fs::create_directories(folder, ec);
    m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return m_fd >= 0;
    // A file system without unnamed files: a temporary one, its name removed at once.
    std::string path;
    m_fd = MakeLockedTemporary(folder, SplitDirectory(m_target).second, path);
    if (m_fd >= 0)
        ::unlink(path.c_str());
    return m_fd >= 0;
}

void CSafeFileWriter::AttachStream()
{
    m_buffer = std::make_unique<CDescriptorWriteBuffer>(m_fd);
    m_stream.rdbuf(m_buffer.get()); // clears the failed state
}

// Writes out what the stream holds; false, with the reason, when any of the new bytes could not
// be written.
bool CSafeFileWriter::FinishNewBytes()
{
    m_stream.flush();
    if (m_stream && m_buffer && m_buffer->Error() == 0)
        return true;
    if (m_buffer)
        m_failureReason = FileErrorReason(m_buffer->Error());
    return false;
}

SafeSaveResult CSafeFileWriter::Commit()
{
    try {
        if (m_fd < 0)
            return SafeSaveResult::OpenFailed;
        if (!FinishNewBytes()) {
            Abandon();
            return SafeSaveResult::WriteFailed;
        }
        return m_inPlace ? CommitInPlace() : CommitByRename();
    } catch (const std::bad_alloc&) {
        // Nothing above allocates while the target is being written.
        m_failureReason = kNoMemoryReason;
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
}

SafeSaveResult CSafeFileWriter::CommitByRename()
{
    // A new file that would part the file from its owner or its access list cannot take its
    // place: only the file itself keeps them.
    if (const char* lost = KeepWhatTheFileCarries(m_fd, m_target)) {
        if (OpenTarget())
            return CommitInPlace();
        m_failureReason =
            std::string("A new file cannot be given its ") + lost + ", and the file itself may not be written.";
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    if (::fsync(m_fd) != 0) {
        m_failureReason = FileErrorReason(errno);
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_written = CFileStamp::OfDescriptor(m_fd);
    // Once renamed over, the file's path names the new one: its records are those found now.
    std::vector<std::string> records;
    try {
        records = UnfinishedSaves(CFileIdentity::Of(m_target));
    } catch (const std::bad_alloc&) {
        // A record not found stays in the folder, no file's any more.
    }
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        if (IsRenameRefused(error) && m_before.exists && OpenTarget())
            return CommitInPlace();
        m_failureReason = IsRenameRefused(error) ? kRenameRefusedReason : FileErrorReason(error);
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_committed = true;
    m_temporary.clear();
    CloseFiles();
    try {
        ForgetUnfinishedSaves(records);
    } catch (const std::bad_alloc&) {
        // The file is saved; its old record stays in the folder, no file's any more.
    }
    return SafeSaveResult::Ok;
}

// Writes the new bytes (on m_fd) over the target's own (on m_targetFd), once a copy of the old
// ones is kept and recorded.
SafeSaveResult CSafeFileWriter::CommitInPlace()
{
    CKeptCopy copy(m_target);
    if (!copy.Make(m_targetFd)) {
        m_failureReason = NoCopyReason();
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    const int error = CopyWholeFile(m_fd, m_targetFd);
    if (error == 0) {
        m_written = CFileStamp::OfDescriptor(m_targetFd);
        m_committed = true;
        Abandon(); // the temporary file, when the new bytes came from one
        try {
            copy.SaveFinished();
        } catch (const std::bad_alloc&) {
            // The file is saved; its record stays until the next save.
        }
        return SafeSaveResult::Ok;
    }
    if (CopyWholeFile(copy.Descriptor(), m_targetFd) == 0) {
        copy.FileRestored();
        m_failureReason = FileErrorReason(error) + " The file is unchanged.";
    } else {
        m_failureReason = "The file may be incomplete; a copy of it as it was before " +
                          std::string(copy.RecordsEarlierSave() ? "an earlier save that did not finish" : "this save") +
                          " is kept in " + MessagePath(copy.RecordedCopy()) + ".";
    }
    Abandon();
    return SafeSaveResult::WriteFailed;
}

void CSafeFileWriter::Abandon()
{
    // A writer that stopped because its stream failed learns why here.
    if (m_failureReason.empty() && m_buffer)
        m_failureReason = FileErrorReason(m_buffer->Error());
    m_stream.rdbuf(nullptr);
    m_buffer.reset();
    if (!m_temporary.empty()) {
        std::remove(m_temporary.c_str());
        m_temporary.clear();
    }
    CloseFiles();
}

void CSafeFileWriter::CloseFiles()
{
    for (int* fd : {&m_fd, &m_targetFd}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
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
    std::string noMemory;
    if (writer.Open()) {
        // A stream that failed on its own is left to Commit, which tells why.
        bool written = false;
        try {
            written = write(writer.Stream());
        } catch (const std::bad_alloc&) {
            noMemory = kNoMemoryReason;
        }
        if (!written)
            writer.Abandon();
        result = written ? writer.Commit() : SafeSaveResult::WriteFailed;
    }
    if (failureReason)
        *failureReason = noMemory.empty() ? writer.FailureReason() : noMemory;
    return result;
}

std::string SaveFailureMessage(const std::string& path, SafeSaveResult result, const std::string& reason)
{
    const char* words = result == SafeSaveResult::OpenFailed ? ": Error opening file" : ": Error writing file";
    return MessagePath(path) + words + (reason.empty() ? std::string() : "\n\n" + reason);
}
