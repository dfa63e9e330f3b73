#include "support/SafeFileKeptCopies.h"

#include "support/PathHelpers.h"
#include "support/SafeFileHelpers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kKeptCopiesFolder = "Kept copies";
constexpr const char* kNoteSuffix = ".unfinished";
constexpr std::size_t kNoteSuffixLength = 11;
// A note holds three numbers and a path: anything longer is no note of ours.
constexpr std::size_t kLongestNote = 8192;

bool IsNoteName(const std::string& path)
{
    return path.size() > kNoteSuffixLength &&
           path.compare(path.size() - kNoteSuffixLength, kNoteSuffixLength, kNoteSuffix) == 0;
}

// What a note records: the file's device and inode, its birth time in nanoseconds where the file
// system keeps one (notes of older days hold none), and the path it was saved under.
struct CNote {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool born = false;
    long long bornAt = 0;
    std::string path;
};

// The file path names now, or the one open on fd when path is empty.
CNote IdentityOf(int fd, const std::string& path)
{
    CNote identity;
    struct statx info {};
    if (::statx(path.empty() ? fd : AT_FDCWD, path.c_str(), path.empty() ? AT_EMPTY_PATH : 0,
                STATX_INO | STATX_BTIME, &info) != 0)
        return identity;
    identity.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    identity.inode = info.stx_ino;
    identity.born = (info.stx_mask & STATX_BTIME) != 0;
    identity.bornAt = info.stx_btime.tv_sec * 1000000000LL + info.stx_btime.tv_nsec;
    identity.path = path;
    return identity;
}

// The note of a save of the file (as IdentityOf found it) under path: "<device> <inode>[ <birth
// time>]", then the path, absolute, each ending a line. Older readers take the first two numbers
// and pass over the rest.
std::string NoteText(const CNote& file, const std::string& path)
{
    std::string text = std::to_string(file.device) + " " + std::to_string(file.inode);
    if (file.born)
        text += " " + std::to_string(file.bornAt);
    std::error_code ec;
    const std::string absolute = fs::absolute(path, ec).string();
    return text + "\n" + (ec ? path : absolute) + "\n";
}

bool ReadNote(const std::string& note, CNote& read)
{
    const int fd = ::open(note.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[kLongestNote + 1];
    ssize_t n;
    while ((n = ::read(fd, text, kLongestNote)) < 0 && errno == EINTR) {
    }
    ::close(fd);
    if (n <= 0 || text[n - 1] != '\n')
        return false;
    text[n - 1] = '\0';
    char* const lineEnd = std::strchr(text, '\n');
    if (!lineEnd)
        return false;
    *lineEnd = '\0';
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long bornAt = 0;
    const int numbers = std::sscanf(text, "%llu %llu %lld", &device, &inode, &bornAt);
    if (numbers < 2)
        return false;
    read = CNote{device, inode, numbers == 3, bornAt, lineEnd + 1};
    return true;
}

// True when note records a save of file: it names the file's device and inode, and its path
// names that same file still, born when the note says where both tell. An inode number goes to a
// new file as soon as the old one is deleted: a note of the deleted file is not the new one's.
bool NoteNamesFile(const CNote& note, const CFileStamp& file)
{
    if (note.device != file.device || note.inode != file.inode)
        return false;
    const CNote named = IdentityOf(-1, note.path);
    if (named.device != file.device || named.inode != file.inode)
        return false;
    return !note.born || !named.born || note.bornAt == named.bornAt;
}

// Calls found(copy, note) for each note in the kept-copies folder that records a save of file.
void ForEachRecordOf(const CFileStamp& file, const std::function<void(const std::string&, const std::string&)>& found)
{
    const std::string folder = KeptCopiesFolder();
    if (!file.exists || folder.empty())
        return;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const std::string note = entries->path().string();
        CNote read;
        if (IsNoteName(note) && ReadNote(note, read) && NoteNamesFile(read, file))
            found(note.substr(0, note.size() - kNoteSuffixLength), note);
    }
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Writes text into a new locked temporary file in folder and syncs it; its descriptor, or -1.
int WriteTemporaryNote(const std::string& folder, const std::string& name, const std::string& text, std::string& path)
{
    const int fd = MakeLockedTemporary(folder, name, path);
    if (fd < 0)
        return -1;
    if (::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0)
        return fd;
    ::close(fd);
    ::unlink(path.c_str());
    return -1;
}

// ".2024-05-01-143005": when the copy was made, in local time.
std::string TimeSuffix()
{
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    if (::localtime_r(&now, &local))
        std::strftime(when, sizeof when, ".%Y-%m-%d-%H%M%S", &local);
    return when;
}

} // namespace

std::string KeptCopiesFolder()
{
    const std::string data = GetUserDataDirectory();
    return data.empty() ? std::string() : MakeFilePath(data, kKeptCopiesFolder);
}

std::vector<std::string> UnfinishedSaves(const CFileStamp& file)
{
    std::vector<std::string> copies;
    ForEachRecordOf(file, [&copies](const std::string& copy, const std::string&) { copies.push_back(copy); });
    return copies;
}

std::string FindUnfinishedSave(const CFileStamp& file)
{
    for (const std::string& copy : UnfinishedSaves(file)) {
        if (IsRegularFile(copy))
            return copy;
    }
    return std::string();
}

void ForgetUnfinishedSaves(const std::vector<std::string>& copies)
{
    for (const std::string& copy : copies) {
        ::unlink(copy.c_str());
        ::unlink((copy + kNoteSuffix).c_str());
    }
}

CKeptCopy::CKeptCopy(std::string target)
    : m_target(std::move(target))
{
}

CKeptCopy::~CKeptCopy()
{
    RemoveTemporary();
}

bool CKeptCopy::Make(int targetFd)
{
    m_file = CFileStamp::OfDescriptor(targetFd);
    m_folder = KeptCopiesFolder();
    if (!m_file.exists || m_folder.empty())
        return false;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    // What saves killed while copying left goes first.
    RemoveAbandonedTemporaries(m_folder, std::string());
    const std::string name = SplitDirectory(m_target).second;
    m_fd = MakeLockedTemporary(m_folder, name, m_temporary);
    if (m_fd < 0 || CopyWholeFile(targetFd, m_fd) != 0) {
        RemoveTemporary();
        return false;
    }
    m_recorded = FindUnfinishedSave(m_file);
    m_earlierRecord = !m_recorded.empty();
    if (m_earlierRecord)
        return true;
    if (!Record(name, NoteText(IdentityOf(targetFd, std::string()), m_target))) {
        RemoveTemporary();
        return false;
    }
    m_recorded = m_copy;
    return true;
}

// Gives the copy its kept name with its note (text) beside it, the note first, then makes both
// durable.
bool CKeptCopy::Record(const std::string& name, const std::string& text)
{
    std::string temporaryNote;
    const int noteFd = WriteTemporaryNote(m_folder, name, text, temporaryNote);
    if (noteFd < 0)
        return false;
    const std::string when = TimeSuffix();
    const std::size_t suffixLength = when.size() + 4 + kNoteSuffixLength; // "-999" at most
    const std::string stem = MakeFilePath(m_folder, NameStem(m_folder, name, suffixLength) + when);
    bool named = false;
    for (int n = 1; n < 1000 && !named; ++n) {
        const std::string copy = stem + (n > 1 ? "-" + std::to_string(n) : std::string());
        const std::string note = copy + kNoteSuffix;
        struct stat taken {};
        if (::lstat(copy.c_str(), &taken) == 0)
            continue;
        if (::link(temporaryNote.c_str(), note.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            break;
        }
        if (::link(m_temporary.c_str(), copy.c_str()) != 0) {
            const int error = errno;
            ::unlink(note.c_str());
            if (error == EEXIST)
                continue;
            break;
        }
        m_copy = copy;
        m_note = note;
        named = true;
    }
    ::unlink(temporaryNote.c_str());
    ::close(noteFd);
    if (!named)
        return false;
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
    if (SyncDirectory(m_folder))
        return true;
    FileRestored();
    return false;
}

void CKeptCopy::SaveFinished()
{
    RemoveTemporary();
    ForgetUnfinishedSaves(UnfinishedSaves(m_file));
    m_copy.clear();
}

void CKeptCopy::FileRestored()
{
    RemoveTemporary();
    if (m_copy.empty())
        return;
    ::unlink(m_copy.c_str());
    ::unlink(m_note.c_str());
    m_copy.clear();
}

void CKeptCopy::RemoveTemporary()
{
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
