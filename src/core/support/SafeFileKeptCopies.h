#pragma once

// The kept copies of files written in place. Before a save writes a file over its own bytes, the
// file as it was is copied into "Kept copies" in the user's data directory
// ("glazes.glz.2024-05-01-143005"), synced, and recorded as the copy of an unfinished save by a
// note beside it ("glazes.glz.2024-05-01-143005.unfinished": the file's device and inode on the
// first line, with its birth time where the file system keeps one, its absolute path after that),
// and the folder is synced; only then is the file touched. A note is the file's only while that
// path names the same device and inode (born at that time): inode numbers are given to new files
// as soon as a file is deleted, and a note of a deleted file is neither told of nor removed by
// the file that took its number.
//
// The note is the record: a save that ends with the file whole (written, or its old bytes put
// back) removes its copy and note, so a copy with its note is there only while it is the one
// record of a save that died or failed half way, and the next open of that file can say so. A
// save that wrote the file whole also removes every older record of it. A file has at most one
// record: a save in place of a file that already has one copies the file only to be able to put
// its bytes back (a temporary file, gone when the save ends), and the older copy, of the file
// as it was before the first unfinished save, stays the one kept.
//
// The copy is made under a temporary name ("<name>.~XXXXXX") locked while its save runs, so a
// save killed while copying leaves only a file that the next save in place removes. Notes are
// written before the copy takes its kept name, and a copy goes before its note: a note without
// its copy records nothing.

#include "support/FileStamp.h"

#include <string>
#include <vector>

// The folder the copies are kept in; empty when there is no user data directory.
std::string KeptCopiesFolder();

// The kept copies on record for unfinished saves of file: those whose note names its device and
// inode under a path that still names it (any of the file's names finds them). A note of a file
// that was deleted, or whose path names another file now, is no other file's, though the new one
// took its inode number.
std::vector<std::string> UnfinishedSaves(const CFileStamp& file);

// The kept copy that records an unfinished save of file; empty when there is none.
std::string FindUnfinishedSave(const CFileStamp& file);

// Removes the copies, each with its note: the file they record has been saved whole.
void ForgetUnfinishedSaves(const std::vector<std::string>& copies);

// The copy that one save in place keeps of the file as it was.
class CKeptCopy {
public:
    explicit CKeptCopy(std::string target);
    ~CKeptCopy(); // a copy still under its temporary name goes
    CKeptCopy(const CKeptCopy&) = delete;
    CKeptCopy& operator=(const CKeptCopy&) = delete;

    // Copies the file open on targetFd into the folder, syncs it and records this save as
    // unfinished (unless the file has a record already). False when no whole copy could be
    // kept: then nothing is recorded and the file must not be written.
    bool Make(int targetFd);
    // The copy, open for reading, to put the old bytes back.
    int Descriptor() const { return m_fd; }
    // The kept copy the record names: this save's, or that of the earlier unfinished save.
    const std::string& RecordedCopy() const { return m_recorded; }
    // True when the record is an earlier save's, whose copy holds the file as it was before it.
    bool RecordsEarlierSave() const { return m_earlierRecord; }

    // The save wrote the file whole: every copy and record of the file go.
    void SaveFinished();
    // The file holds its old bytes again: this save's copy and record go; an earlier one stays.
    void FileRestored();
    // Otherwise (the file may be damaged) the record stays when the object goes.

private:
    bool Record(const std::string& name, const std::string& text);
    void RemoveTemporary();

    std::string m_target;
    std::string m_folder;
    std::string m_temporary; // the copy while it has no kept name
    std::string m_copy;      // this save's copy under its kept name
    std::string m_note;
    std::string m_recorded;
    CFileStamp m_file;
    int m_fd = -1;
    bool m_earlierRecord = false;
};
