#pragma once

// The record a save in place leaves when it dies while writing: the kept copy of the file as it
// is now and the note beside it naming the file, made by the program's own CKeptCopy and left as
// a killed save leaves them. For the document tests that check what an open says about it
// (the save killed at its write is tested in GlazesDocTest and SafeFileTest).

#include "support/MessagePath.h"
#include "support/SafeFileKeptCopies.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

// The kept copy now on record for path; empty when none could be made (no data directory). With
// olderNote, the note holds the device and inode alone, as an older version wrote it (or as on a
// file system that keeps neither birth times nor generation numbers).
inline std::string LeaveUnfinishedSave(const std::string& path, bool olderNote = false)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string();
    CKeptCopy copy(path);
    const bool made = copy.Make(fd);
    ::close(fd);
    if (!made)
        return std::string();
    if (olderNote) {
        const CFileIdentity file = CFileIdentity::Of(path);
        std::ofstream(copy.RecordedCopy() + ".unfinished")
            << file.device << " " << file.inode << "\n" << std::filesystem::absolute(path).string() << "\n";
    }
    return copy.RecordedCopy();
}

// What every document's open says about that record (certain false: about an older note).
inline std::string UnfinishedSaveText(const std::string& path, const std::string& copy, bool certain = true)
{
    if (!certain)
        return path + ": A save that did not finish may have been a save of this file, so the file may be damaged; "
                      "the record of that save names this file's place on the disk, which a file deleted since may "
                      "have held. A copy of the file that save was writing, as it was before, is kept in " + copy +
               ". Delete that copy once it is not needed, and this is not said again.";
    return path + ": The last save of this file did not finish, so the file may be damaged. A copy of it as it was "
                  "before that save is kept in " + copy + ".";
}
