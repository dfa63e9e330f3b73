#include "support/SafeFileHelpers.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporaryMark = ".~";
constexpr std::size_t kRandomCharacters = 6; // the "XXXXXX" of mkstemp
constexpr std::size_t kSuffixLength = 2 + kRandomCharacters;
constexpr long kDefaultNameLimit = 255;
// What a whole-file copy and a descriptor stream hold at once, whatever the file's size. The
// copy's buffer is on the stack: putting old bytes back must not depend on memory to be had.
constexpr std::size_t kCopyBufferSize = 1 << 16;
constexpr std::size_t kStreamBufferSize = 1 << 16;

bool IsRandomCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when fileName is a temporary name: stem + ".~" + six random characters (any stem when
// stem is null).
bool IsTemporaryName(const std::string& fileName, const std::string* stem)
{
    if (fileName.size() <= kSuffixLength)
        return false;
    const std::size_t stemLength = fileName.size() - kSuffixLength;
    return (!stem || (stem->size() == stemLength && fileName.compare(0, stemLength, *stem) == 0)) &&
           fileName.compare(stemLength, 2, kTemporaryMark) == 0 &&
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

// Writes all of count bytes at offset; false (errno set) when any of it failed.
bool WriteAllAt(int fd, const char* data, std::size_t count, off_t offset)
{
    for (std::size_t done = 0; done < count;) {
        const ssize_t n = ::pwrite(fd, data + done, count - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Fills text by call (a listxattr or getxattr of any kind: asked with no room it tells the size
// it needs), asking again while what it reads grows in between. False (errno set) on failure.
template <class Call>
bool ReadSized(std::string& text, Call call)
{
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return false;
        text.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t n = size == 0 ? 0 : call(text.data(), text.size());
        if (n >= 0) {
            text.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

// The names in a list of extended attributes ("user.a\0system.b\0"); none when the file system
// keeps no attributes. False when they could not be listed.
template <class List>
bool AttributeNames(std::vector<std::string>& names, List list)
{
    std::string text;
    if (!ReadSized(text, list))
        return errno == ENOTSUP;
    text += '\0'; // every name ends with one: a list cut short still ends
    for (std::size_t at = 0; at + 1 < text.size(); at = text.find('\0', at) + 1)
        names.emplace_back(text.c_str() + at);
    return true;
}

} // namespace

bool CopyExtendedAttributes(const std::string& from, int to)
{
    std::vector<std::string> names;
    std::vector<std::string> held;
    if (!AttributeNames(names, [&](char* list, std::size_t size) { return ::listxattr(from.c_str(), list, size); }) ||
        !AttributeNames(held, [&](char* list, std::size_t size) { return ::flistxattr(to, list, size); }))
        return false;
    for (const std::string& name : names) {
        std::string value;
        std::string now;
        const auto read = [&](char* data, std::size_t size) {
            return ::getxattr(from.c_str(), name.c_str(), data, size);
        };
        if (!ReadSized(value, read))
            return false;
        // One the new file has already (a label the system gives every file) need not be set.
        if (ReadSized(now, [&](char* data, std::size_t size) { return ::fgetxattr(to, name.c_str(), data, size); }) &&
            now == value)
            continue;
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    // An access list the folder hands every new file is not the file's own.
    for (const std::string& name : held) {
        if (std::find(names.begin(), names.end(), name) == names.end() && ::fremovexattr(to, name.c_str()) != 0)
            return false;
    }
    return true;
}

std::pair<std::string, std::string> SplitDirectory(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

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

int MakeLockedTemporary(const std::string& directory, const std::string& name, std::string& path)
{
    std::string pattern = directory;
    if (!pattern.empty() && pattern.back() != '/')
        pattern += '/';
    pattern += NameStem(directory, name, kSuffixLength) + kTemporaryMark + std::string(kRandomCharacters, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    ::flock(fd, LOCK_EX | LOCK_NB);
    path = pattern;
    return fd;
}

void RemoveAbandonedTemporaries(const std::string& directory, const std::string& name)
{
    const std::string stem = name.empty() ? std::string() : NameStem(directory, name, kSuffixLength);
    std::error_code ec;
    fs::directory_iterator entries(directory.empty() ? fs::path(".") : fs::path(directory), ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const std::string fileName = entries->path().filename().string();
        if (IsTemporaryName(fileName, name.empty() ? nullptr : &stem))
            RemoveIfAbandoned(entries->path().string());
    }
}

int CopyWholeFile(int from, int to)
{
    char buffer[kCopyBufferSize];
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        if (!WriteAllAt(to, buffer, static_cast<std::size_t>(n), at))
            return errno;
        at += n;
    }
    if (::ftruncate(to, at) != 0 || ::fsync(to) != 0)
        return errno;
    return 0;
}

bool SyncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string FileErrorReason(int error)
{
    switch (error) {
    case 0: return std::string();
    case ENOSPC: return "The disk is full.";
    case EDQUOT: return "The disk quota is used up.";
    case EFBIG: return "The file would be larger than the file system allows.";
    case EROFS: return "The disk is read-only.";
    case EIO: return "The disk reported an error.";
    case ENOMEM: return "There is not enough memory.";
    case EACCES:
    case EPERM: return "Permission was refused.";
    default: return std::string(std::strerror(error)) + ".";
    }
}

CDescriptorWriteBuffer::CDescriptorWriteBuffer(int fd)
    : m_fd(fd)
    , m_buffer(kStreamBufferSize)
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

bool CDescriptorWriteBuffer::WriteOut(const char* data, std::size_t count)
{
    for (std::size_t done = 0; m_error == 0 && done < count;) {
        const ssize_t n = ::write(m_fd, data + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_error = n < 0 ? errno : EIO;
        else
            done += static_cast<std::size_t>(n);
    }
    return m_error == 0;
}

bool CDescriptorWriteBuffer::FlushBuffer()
{
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return WriteOut(m_buffer.data(), pending);
}

CDescriptorWriteBuffer::int_type CDescriptorWriteBuffer::overflow(int_type c)
{
    if (!FlushBuffer())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize CDescriptorWriteBuffer::xsputn(const char* data, std::streamsize count)
{
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(size));
        return count;
    }
    // Longer than the room left: what is held goes first, then the bytes themselves.
    return FlushBuffer() && WriteOut(data, size) ? count : 0;
}

int CDescriptorWriteBuffer::sync()
{
    return FlushBuffer() ? 0 : -1;
}
