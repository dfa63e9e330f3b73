#include "support/SafeFileKeptCopies.h"

#include "support/PathHelpers.h"
#include "support/SafeFileHelpers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kKeptCopiesFolder = "Kept copies";
constexpr const char* kNoteSuffix = ".unfinished";
constexpr std::size_t kNoteSuffixLength = 11;
// A note holds a few numbers and a path: anything longer is no note of ours.
constexpr std::size_t kLongestNote = 8192;
constexpr const char* kGenerationKey = "generation=";
constexpr unsigned kIdentityMask = STATX_TYPE | STATX_INO | STATX_BTIME;

bool IsNoteName(const std::string& path)
{
    return path.size() > kNoteSuffixLength &&
           path.compare(path.size() - kNoteSuffixLength, kNoteSuffixLength, kNoteSuffix) == 0;
}

CFileIdentity FromStatx(const struct statx& info)
{
    CFileIdentity identity;
    identity.exists = true;
    identity.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    identity.inode = info.stx_ino;
    identity.born = (info.stx_mask & STATX_BTIME) != 0;
    identity.bornAt = info.stx_btime.tv_sec * 1000000000LL + info.stx_btime.tv_nsec;
    return identity;
}

// Adds the generation number of the inode open on fd, where its file system gives one. Zero is
// taken for none: a file system that keeps none may answer so.
void AddGeneration(int fd, CFileIdentity& identity)
{
    long answer = 0; // the request is declared with a long; file systems fill an int at its start
    if (::ioctl(fd, FS_IOC_GETVERSION, &answer) != 0)
        return;
    std::uint32_t generation = 0;
    std::memcpy(&generation, &answer, sizeof generation);
    identity.generated = generation != 0;
    identity.generation = generation;
}

// "<device> <inode>[ <birth time>][ generation=<n>]": the first line of a note.
std::string IdentityLine(const CFileIdentity& file)
{
    std::string line = std::to_string(file.device) + " " + std::to_string(file.inode);
    if (file.born)
        line += " " + std::to_string(file.bornAt);
    if (file.generated)
        line += std::string(" ") + kGenerationKey + std::to_string(file.generation);
    return line;
}

template <class Number>
bool ParseNumber(std::string_view word, Number& number)
{
    const char* const end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, number);
    return error == std::errc() && stop == end;
}

// Reads an IdentityLine: the device and inode first, a birth time third where there is one, the
// generation by its key; words of later versions are passed over.
bool ParseIdentityLine(std::string_view line, CFileIdentity& file)
{
    file = CFileIdentity();
    int word = 0;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t space = std::min(line.find(' ', at), line.size());
        const std::string_view text = line.substr(at, space - at);
        at = space + 1;
        if (text.empty())
            continue;
        const int place = word++;
        if (place == 0 && !ParseNumber(text, file.device))
            return false;
        if (place == 1 && !ParseNumber(text, file.inode))
            return false;
        if (place == 2 && ParseNumber(text, file.bornAt))
            file.born = true;
        if (text.starts_with(kGenerationKey) && ParseNumber(text.substr(std::strlen(kGenerationKey)), file.generation))
            file.generated = file.generation != 0;
    }
    file.exists = word >= 2;
    return file.exists;
}

// The note of a save of file under path: its IdentityLine, then the path, absolute, each ending
// a line. Older readers take the first two numbers (and a birth time third) and pass over the
// rest.
std::string NoteText(const CFileIdentity& file, const std::string& path)
{
    std::error_code ec;
    const std::string absolute = fs::absolute(path, ec).string();
    return IdentityLine(file) + "\n" + (ec ? path : absolute) + "\n";
}

// The identity of the file a note records (notes of older days hold no birth time and no
// generation); false when note is no note of ours.
bool ReadNote(const std::string& note, CFileIdentity& file)
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
    return ParseIdentityLine(text, file);
}

enum class Match { None, Possible, Certain };

// How a note's file and file meet. An inode number goes to a new file as soon as the old one is
// deleted: only a birth time or a generation number that both carry tells the two apart.
Match NoteMatch(const CFileIdentity& note, const CFileIdentity& file)
{
    if (!file.exists || note.device != file.device || note.inode != file.inode)
        return Match::None;
    const bool bothBorn = note.born && file.born;
    const bool bothGenerated = note.generated && file.generated;
    if ((bothBorn && note.bornAt != file.bornAt) || (bothGenerated && note.generation != file.generation))
        return Match::None;
    return bothBorn || bothGenerated ? Match::Certain : Match::Possible;
}

// Calls found(copy, match) for each note in the kept-copies folder that is or may be of file.
void ForEachRecordOf(const CFileIdentity& file, const std::function<void(const std::string&, Match)>& found)
{
    const std::string folder = KeptCopiesFolder();
    if (!file.exists || folder.empty())
        return;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const std::string note = entries->path().string();
        CFileIdentity noted;
        if (!IsNoteName(note) || !ReadNote(note, noted))
            continue;
        const Match match = NoteMatch(noted, file);
        if (match != Match::None)
            found(note.substr(0, note.size() - kNoteSuffixLength), match);
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

CFileIdentity CFileIdentity::Of(const std::string& path)
{
    struct statx info {};
    if (path.empty() || ::statx(AT_FDCWD, path.c_str(), 0, kIdentityMask, &info) != 0)
        return CFileIdentity();
    CFileIdentity identity = FromStatx(info);
    if (!S_ISREG(info.stx_mode))
        return identity;
    // The generation is asked of an open file; one the user may not read goes without it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return identity;
    const CFileIdentity opened = OfDescriptor(fd);
    ::close(fd);
    return opened.exists ? opened : identity;
}

CFileIdentity CFileIdentity::OfDescriptor(int fd)
{
    struct statx info {};
    if (fd < 0 || ::statx(fd, "", AT_EMPTY_PATH, kIdentityMask, &info) != 0)
        return CFileIdentity();
    CFileIdentity identity = FromStatx(info);
    if (S_ISREG(info.stx_mode))
        AddGeneration(fd, identity);
    return identity;
}

std::vector<std::string> UnfinishedSaves(const CFileIdentity& file)
{
    std::vector<std::string> copies;
    ForEachRecordOf(file, [&copies](const std::string& copy, Match match) {
        if (match == Match::Certain)
            copies.push_back(copy);
    });
    return copies;
}

CUnfinishedSave FindUnfinishedSave(const CFileIdentity& file)
{
    CUnfinishedSave found;
    ForEachRecordOf(file, [&found](const std::string& copy, Match match) {
        const bool certain = match == Match::Certain;
        if (!IsRegularFile(copy))
            return;
        if (found.copy.empty() || (certain && !found.certain) || (certain == found.certain && copy < found.copy))
            found = CUnfinishedSave{copy, certain};
    });
    return found;
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
    m_file = CFileIdentity::OfDescriptor(targetFd);
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
    // A record that may be a deleted file's does not stand in for this file's own.
    const CUnfinishedSave earlier = FindUnfinishedSave(m_file);
    m_earlierRecord = earlier.certain;
    if (m_earlierRecord) {
        m_recorded = earlier.copy;
        return true;
    }
    if (!Record(name, NoteText(m_file, m_target))) {
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
    std::vector<std::string> records = UnfinishedSaves(m_file);
    // Its own, too, where the file system keeps nothing that makes it certainly the file's (a
    // copy already gone is not there to remove a second time).
    if (!m_copy.empty())
        records.push_back(m_copy);
    ForgetUnfinishedSaves(records);
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
