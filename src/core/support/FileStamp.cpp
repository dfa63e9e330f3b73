#include "support/FileStamp.h"

#include <sys/stat.h>

namespace {

CFileStamp FromStat(const struct stat& info)
{
    CFileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return stamp;
}

} // namespace

CFileStamp CFileStamp::Of(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return CFileStamp();
    return FromStat(info);
}

CFileStamp CFileStamp::OfDescriptor(int fd)
{
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return CFileStamp();
    return FromStat(info);
}
