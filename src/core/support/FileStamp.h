#pragma once

// What identifies a file's contents as they were at one moment without reading them: the file
// (device and inode), its size and its modification time. A program that writes the file in
// place changes the size or the time; one that saves safely (a new file renamed over the old)
// changes the inode. Two stamps of one path that differ mean the file changed in between.

#include <cstdint>
#include <string>

struct CFileStamp {
    bool exists = false; // false when the file could not be found (then the rest is zero)
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const CFileStamp&) const = default;

    // The file path names now, symbolic links followed.
    static CFileStamp Of(const std::string& path);
    // The file open on descriptor fd.
    static CFileStamp OfDescriptor(int fd);
};
