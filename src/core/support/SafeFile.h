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
// The new file takes what the old one carries besides its bytes: owner, group, permissions and
// every extended attribute the user can list (the access list that shares it with other users
// among them). "trusted." attributes are listed to the superuser only: a save by anyone else that
// replaces the file cannot know of them, and the new file goes without (a file written in place
// keeps them). A file without any write permission bit is read-only and is never replaced,
// whoever saves. A save through a symbolic link replaces the file the link names and keeps the
// link; a link that names no file, or leads round in a loop, is an open failure, and so is a name
// that is no regular file (a folder, a pipe, a device).
//
// Three files cannot be saved so: one with a second name (a hard link), which the rename would
// part from its other name; one whose folder lets no new file take its place (a folder the user
// may not write, or a shared folder with the sticky bit where the file is another user's and the
// rename is refused); and one that a new file cannot be made to carry as it is (another user's
// file, whose owner the user cannot give, or an attribute the system refuses to set). Such a file
// is written in place. The new bytes are gathered first, in a file of their own (the temporary
// file, or an unnamed one in "Kept copies"), so a writer that fails leaves the file untouched and
// the save needs no more memory than a fixed buffer; then the file as it was is copied into "Kept
// copies" in the user's data directory and recorded as the copy of an unfinished save
// (support/SafeFileKeptCopies.h), and only then written over. When no copy can be kept the file is
// not written; when the writing fails the old bytes are put back and the copy goes, and only when
// they cannot be put back does the copy stay, named in the message, with its record, so that the
// next open of the file can tell. A save that succeeds removes its copy and any older one that is
// certainly the file's, whatever name it was saved under (not one that may be a deleted file's
// whose inode number it took: support/SafeFileKeptCopies.h tells them apart). The file keeps its
// inode, names, owner, permissions and attributes.
//
// A failure says why where the system tells (a full disk, a refused rename, too little memory).

#include "support/FileStamp.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>

class CDescriptorWriteBuffer;

enum class SafeSaveResult {
    Ok,
    OpenFailed,  // the file cannot be written (no directory, no permission, a broken link)
    WriteFailed, // writing, flushing or renaming failed; the target keeps its bytes
};

class CSafeFileWriter {
public:
    explicit CSafeFileWriter(std::string path);
    ~CSafeFileWriter(); // removes the temporary file unless Commit succeeded
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Creates the temporary file (or prepares the writing in place); false when the file cannot
    // be written, is read-only, a broken link or no regular file.
    bool Open();
    // Why Open or Commit failed when the cause is more than a missing permission or directory:
    // sentences for the user (a broken link, a full disk; where the old bytes of a file written
    // in place are kept), else empty.
    const std::string& FailureReason() const { return m_failureReason; }
    // The stream to write the file's bytes into (binary: no line-end translation).
    std::ostream& Stream() { return m_stream; }
    // Flushes, syncs and closes the temporary file and renames it over the target (in place
    // when the folder refuses the rename); in place, keeps the old bytes aside and writes the
    // new ones over them.
    SafeSaveResult Commit();
    // Drops the temporary file; the target stays as it was. When the stream failed, the reason
    // is kept.
    void Abandon();

    const std::string& TargetPath() const { return m_target; }
    const std::string& TemporaryPath() const { return m_temporary; }
    // The file as Commit left it (what a later save compares against).
    const CFileStamp& WrittenStamp() const { return m_written; }

private:
    bool OpenTemporary();
    bool OpenInPlace();
    bool OpenTarget();
    bool OpenSpool();
    void AttachStream();
    bool FinishNewBytes();
    SafeSaveResult CommitByRename();
    SafeSaveResult CommitInPlace();
    void CloseFiles();

    std::string m_failureReason; // set before m_target: the constructor fills both
    std::string m_target;
    std::string m_temporary;
    CFileStamp m_before; // the target as Open found it
    CFileStamp m_written;
    std::unique_ptr<CDescriptorWriteBuffer> m_buffer;
    std::ostream m_stream{nullptr};
    // The new bytes: the temporary file, locked while the save runs, or in place the unnamed
    // file they are gathered in.
    int m_fd = -1;
    int m_targetFd = -1; // in place: the target itself
    bool m_inPlace = false;
    bool m_committed = false;
};

// True when path is a regular file (not followed through a link) without any write permission
// bit: such a file is not replaced, whoever runs the program.
bool IsReadOnlyFile(const std::string& path);

// Writes bytes to path through a CSafeFileWriter.
SafeSaveResult WriteFileSafely(const std::string& path, const std::string& bytes);

// Calls write with the temporary file's stream; a false result (or a stream error) abandons
// the save and leaves the target untouched. failureReason, when given, receives the writer's
// FailureReason.
SafeSaveResult WriteFileSafely(const std::string& path, const std::function<bool(std::ostream&)>& write,
                               std::string* failureReason = nullptr);

// The message of a failed save: "<path>: Error opening file" (OpenFailed) or "<path>: Error
// writing file", followed by reason on a paragraph of its own when there is one. Exports that
// name every failure a write error pass WriteFailed.
std::string SaveFailureMessage(const std::string& path, SafeSaveResult result, const std::string& reason);
