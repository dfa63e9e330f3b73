#pragma once

// Opening a file the user named, for reading. A name may lead to something that is no file to
// read: a pipe (FIFO) whose opening waits for a writer for good, a device that never ends
// (/dev/zero), a folder. Every reader of a file a user, a profile or a database tree names
// opens it here: without waiting (O_NONBLOCK), then judging what it holds by the open
// descriptor itself (fstat), so nothing can be put in the file's place between the look and the
// open. Only a regular file is read; anything else fails with "<path>: not a regular file".

#include "support/FileStamp.h"

#include <istream>
#include <memory>
#include <streambuf>
#include <string>

class CInputFile : public std::istream {
public:
    CInputFile();
    ~CInputFile() override;
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    // Opens path for reading (binary: no line-end translation). False when it cannot be opened or
    // is not a regular file; the stream then stays failed.
    bool Open(const std::string& path);
    bool is_open() const { return m_buffer != nullptr; }
    // The file as it was when it was opened (what a later save compares against).
    const CFileStamp& Stamp() const { return m_stamp; }
    // True after Open refused something that is not a regular file.
    bool NotRegular() const { return m_notRegular; }

    // After a failed Open, the words a message puts after the file's path: "not a regular file"
    // for something that is not a regular file, else "Error opening file".
    std::string OpenFailureWords() const;
    // The message for a failed Open: the path, ": " and those words.
    std::string OpenFailure() const;

    // Reads the rest of the file into bytes; false on a read error.
    bool ReadAll(std::string& bytes);

private:
    std::string m_path;
    std::unique_ptr<std::streambuf> m_buffer;
    CFileStamp m_stamp;
    bool m_notRegular = false;
};
