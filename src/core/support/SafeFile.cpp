#include "support/SafeFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A symbolic link keeps pointing at the same file: the file it names is replaced.
std::string ResolveTarget(const std::string& path)
{
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec)
            return resolved.string();
    }
    return path;
}

bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

CSafeFileWriter::CSafeFileWriter(std::string path)
    : m_target(ResolveTarget(path))
{
}

CSafeFileWriter::~CSafeFileWriter()
{
    if (!m_committed)
        Abandon();
}

bool CSafeFileWriter::Open()
{
    std::string pattern = m_target + ".~XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    ::close(fd);
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
    if (!written || m_stream.fail() || !SyncFile(m_temporary)) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        Abandon();
        return SafeSaveResult::WriteFailed;
    }
    m_committed = true;
    m_temporary.clear();
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
