#pragma once

// Safe saves: a file is written into a temporary file beside it, flushed, closed and then
// renamed over the target. Whatever fails on the way, the target keeps its old bytes and
// only the temporary file is removed. Every save of a database, text or settings file goes
// through here (after the backup step of the save).
//
// The temporary file is named after the target: its name, shortened when needed so that the
// whole name fits the file system's limit, then ".~" and six random characters. A save holds
// a lock on its temporary file until it is done. A save killed on the way leaves its file
// behind unlocked: the next save of the same target removes every such file before it writes.
//
// The new file takes the old one's permissions and, where the system permits, its owner and
// group. A file without any write permission bit is read-only and is never replaced, whoever
// saves. A save through a symbolic link replaces the file the link names and keeps the link;
// a link that names no file, or leads round in a loop, is an open failure.

#include "support/FileStamp.h"

#include <fstream>
#include <functional>
#include <iosfwd>
#include <string>

enum class SafeSaveResult {
    Ok,
    OpenFailed,  // the temporary file could not be created (no directory, no permission)
    WriteFailed, // writing, flushing or renaming failed; the target is untouched
};

class CSafeFileWriter {
public:
    explicit CSafeFileWriter(std::string path);
    ~CSafeFileWriter(); // removes the temporary file unless Commit succeeded
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Creates the temporary file; false when it cannot be created or the target is read-only
    // or a broken link.
    bool Open();
    // Why Open failed when the cause is more than a missing permission or directory: a sentence
    // for the user (a broken link), else empty.
    const std::string& FailureReason() const { return m_failureReason; }
    // The stream to write the file's bytes into (binary: no line-end translation).
    std::ostream& Stream() { return m_stream; }
    // Flushes, syncs and closes the temporary file and renames it over the target.
    SafeSaveResult Commit();
    // Drops the temporary file; the target stays as it was.
    void Abandon();

    const std::string& TargetPath() const { return m_target; }
    const std::string& TemporaryPath() const { return m_temporary; }
    // The file as Commit left it (what a later save compares against).
    const CFileStamp& WrittenStamp() const { return m_written; }

private:
    void CloseLock();

    std::string m_failureReason; // set before m_target: the constructor fills both
    std::string m_target;
    std::string m_temporary;
    CFileStamp m_written;
    std::ofstream m_stream;
    int m_lockFd = -1; // the temporary file, locked while the save runs
    bool m_committed = false;
};

// True when path is a regular file (not followed through a link) without any write permission
// bit: such a file is not replaced, whoever runs the program.
bool IsReadOnlyFile(const std::string& path);

// Writes bytes to path through a CSafeFileWriter.
SafeSaveResult WriteFileSafely(const std::string& path, const std::string& bytes);

// Calls write with the temporary file's stream; a false result (or a stream error) abandons
// the save and leaves the target untouched.
SafeSaveResult WriteFileSafely(const std::string& path, const std::function<bool(std::ostream&)>& write);
