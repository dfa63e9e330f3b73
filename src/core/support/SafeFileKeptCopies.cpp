#include "support/SafeFileKeptCopies.h"

#include "support/PathHelpers.h"
#include "support/SafeFileHelpers.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kKeptCopiesFolder = "Kept copies";
constexpr const char* kNoteSuffix = ".unfinished";
constexpr std::size_t kNoteSuffixLength = 11;
// A note holds two numbers and a path: anything longer is no note of ours.
constexpr std::size_t kLongestNote = 8192;

bool IsNoteName(const std::string& path)
{
    return path.size() > kNoteSuffixLength &&
           path.compare(path.size() - kNoteSuffixLength, kNoteSuffixLength, kNoteSuffix) == 0;
}

// The file a note names, as written on its first line ("<device> <inode>").
bool ReadNoteIdentity(const std::string& note, std::uint64_t& device, std::uint64_t& inode)
{
    const int fd = ::open(note.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[kLongestNote + 1];
    ssize_t n;
    while ((n = ::read(fd, text, kLongestNote)) < 0 && errno == EINTR) {
    }
    ::close(fd);
    if (n <= 0)
        return false;
    text[n] = '\0';
    unsigned long long d = 0;
    unsigned long long i = 0;
    if (std::sscanf(text, "%llu %llu\n", &d, &i) != 2)
        return false;
    device = d;
    inode = i;
    return true;
}

// Calls found(copy, note) for each note in the kept-copies folder that names file.
void ForEachRecordOf(const CFileStamp& file, const std::function<void(const std::string&, const std::string&)>& found)
{
    const std::string folder = KeptCopiesFolder();
    if (!file.exists || folder.empty())
        return;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const std::string note = entries->path().string();
        if (!IsNoteName(note))
            continue;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        if (ReadNoteIdentity(note, device, inode) && device == file.device && inode == file.inode)
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

std::string FindUnfinishedSave(const CFileStamp& file)
{
    std::string kept;
    ForEachRecordOf(file, [&kept](const std::string& copy, const std::string&) {
        if (kept.empty() && IsRegularFile(copy))
            kept = copy;
    });
    return kept;
}

void ForgetUnfinishedSaves(const CFileStamp& file)
{
    ForEachRecordOf(file, [](const std::string& copy, const std::string& note) {
        ::unlink(copy.c_str());
        ::unlink(note.c_str());
    });
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
    if (!Record(name)) {
        RemoveTemporary();
        return false;
    }
    m_recorded = m_copy;
    return true;
}

// Gives the copy its kept name with its note beside it, the note first, then makes both
// durable.
bool CKeptCopy::Record(const std::string& name)
{
    const std::string text =
        std::to_string(m_file.device) + " " + std::to_string(m_file.inode) + "\n" + m_target + "\n";
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
    ForgetUnfinishedSaves(m_file);
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
