#include "support/InputFile.h"

#include "support/MessagePath.h"

#include <ext/stdio_filebuf.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using FileBuffer = __gnu_cxx::stdio_filebuf<char>;

} // namespace

CInputFile::CInputFile()
    : std::istream(nullptr)
{
}

CInputFile::~CInputFile() = default;

bool CInputFile::Open(const std::string& path)
{
    rdbuf(nullptr);
    m_buffer.reset();
    m_path = path;
    m_stamp = CFileStamp();
    m_notRegular = false;
    setstate(std::ios::failbit);
    if (path.empty())
        return false;
    // O_NONBLOCK: a pipe opens at once instead of waiting for a writer; O_NOCTTY: a terminal
    // named here never becomes the program's.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) {
        // Some names cannot be opened at all (a socket): the message still says what they are.
        m_notRegular = ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
        return false;
    }
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        m_notRegular = known;
        ::close(fd);
        return false;
    }
    // A regular file never waits; reading goes on with the usual blocking reads.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto buffer = std::make_unique<FileBuffer>(fd, std::ios::in | std::ios::binary);
    if (!buffer->is_open()) {
        ::close(fd);
        return false;
    }
    m_stamp = CFileStamp::OfDescriptor(fd);
    m_buffer = std::move(buffer);
    rdbuf(m_buffer.get()); // clears the failed state
    return true;
}

std::string CInputFile::OpenFailureWords() const
{
    return m_notRegular ? "not a regular file" : "Error opening file";
}

std::string CInputFile::OpenFailure() const
{
    return MessagePath(m_path) + ": " + OpenFailureWords();
}

bool CInputFile::ReadAll(std::string& bytes)
{
    bytes.clear();
    if (!is_open())
        return false;
    if (m_stamp.size > 0)
        bytes.reserve(static_cast<std::size_t>(m_stamp.size));
    char block[65536];
    while (read(block, sizeof block) || gcount() > 0)
        bytes.append(block, static_cast<std::size_t>(gcount()));
    return !bad();
}
