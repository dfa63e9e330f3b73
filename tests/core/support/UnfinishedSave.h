#pragma once

// The record a save in place leaves when it dies while writing: the kept copy of the file as it
// is now and the note beside it naming the file, made by the program's own CKeptCopy and left as
// a killed save leaves them. For the document tests that check what an open says about it
// (the save killed at its write is tested in GlazesDocTest and SafeFileTest).

#include "support/MessagePath.h"
#include "support/SafeFileKeptCopies.h"

#include <string>

#include <fcntl.h>
#include <unistd.h>

// The kept copy now on record for path; empty when none could be made (no data directory).
inline std::string LeaveUnfinishedSave(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string();
    CKeptCopy copy(path);
    const bool made = copy.Make(fd);
    ::close(fd);
    return made ? copy.RecordedCopy() : std::string();
}

// What every document's open says about that record.
inline std::string UnfinishedSaveText(const std::string& path, const std::string& copy)
{
    return path + ": The last save of this file did not finish, so the file may be damaged. A copy of it as it was "
                  "before that save is kept in " + copy + ".";
}
