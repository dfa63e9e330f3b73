#pragma once

// The file handling that safe saves and the kept copies of files written in place share: names
// for temporary files and the removal of those a killed save left, whole-file copies between
// descriptors through one fixed buffer, syncing a folder, an output stream over a descriptor
// that remembers why a write failed, and the words for those reasons.

#include <cstddef>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

// The directory part of path ("" for a bare name, else ending in '/') and its file name.
std::pair<std::string, std::string> SplitDirectory(const std::string& path);

// The start of name, cut (never inside a UTF-8 character) so that it fits the directory's name
// limit with suffixLength bytes after it.
std::string NameStem(const std::string& directory, const std::string& name, std::size_t suffixLength);

// Makes a new file "<name, cut to fit>.~XXXXXX" (six random characters) in directory, readable
// and writable only by the user, and locks it for as long as the descriptor stays open: a file
// so named that nobody holds belongs to a save that was killed. The descriptor, or -1 (errno
// set); path receives the file's path.
int MakeLockedTemporary(const std::string& directory, const std::string& name, std::string& path);

// Removes the temporary files of name in directory (every temporary file there when name is
// empty) that no save holds.
void RemoveAbandonedTemporaries(const std::string& directory, const std::string& name);

// Writes the whole file on from over the start of the file on to, cuts to there and syncs it,
// through one fixed buffer. 0, or the errno of what failed (the file on to may then hold part).
int CopyWholeFile(int from, int to);

// Gives the file open on to every extended attribute the file at from has (its access list
// among them, links followed) and takes away those it has that from has not. False when one
// could not be given or taken; true when the file system keeps no attributes.
bool CopyExtendedAttributes(const std::string& from, int to);

// Makes the names created or removed in directory durable; false when that failed.
bool SyncDirectory(const std::string& directory);

// A sentence for the user on why a file operation failed with errno error ("The disk is full.").
std::string FileErrorReason(int error);

// An output stream buffer that writes to a descriptor it does not own, through a fixed buffer,
// and keeps the errno of the first write that failed (std::ofstream keeps no reason).
class CDescriptorWriteBuffer : public std::streambuf {
public:
    explicit CDescriptorWriteBuffer(int fd);
    // The errno of the first failed write; 0 while every write succeeded.
    int Error() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;

private:
    bool WriteOut(const char* data, std::size_t count);
    bool FlushBuffer();

    int m_fd;
    int m_error = 0;
    std::vector<char> m_buffer;
};
