#pragma once

// The kept copies of files written in place. Before a save writes a file over its own bytes, the
// file as it was is copied into "Kept copies" in the user's data directory
// ("glazes.glz.2024-05-01-143005"), synced, and recorded as the copy of an unfinished save by a
// note beside it ("glazes.glz.2024-05-01-143005.unfinished"), and the folder is synced; only then
// is the file touched. The note names the file whatever its path: its device and inode on the
// first line, with its birth time and its inode's generation number ("generation=<n>") where the
// file system keeps them, and the absolute path it was saved under after that (for the user who
// reads it; a file renamed, moved within its disk or reached by another name is still the file).
//
// An inode number goes to a new file as soon as a file is deleted, and two disks mounted in turn
// at one place may give two files the same device and inode. Where the note and the file both
// carry a birth time or a generation number and those agree, the note is certainly the file's;
// where one differs it is another file's. Where neither is carried by both (a file system that
// keeps neither, a note written before they were kept), the note may be the file's or a deleted
// file's: the file's open names it with that doubt, but it never stands in for the file's own
// record and no save of the file removes it.
//
// The note is the record: a save that ends with the file whole (written, or its old bytes put
// back) removes its copy and note, so a copy with its note is there only while it is the one
// record of a save that died or failed half way, and the next open of that file can say so. A
// save that wrote the file whole also removes every older record that is certainly the file's.
// A file has at most one such record: a save in place of a file that already has one copies the
// file only to be able to put its bytes back (a temporary file, gone when the save ends), and
// the older copy, of the file as it was before the first unfinished save, stays the one kept.
//
// The copy is made under a temporary name ("<name>.~XXXXXX") locked while its save runs, so a
// save killed while copying leaves only a file that the next save in place removes. Notes are
// written before the copy takes its kept name, and a copy goes before its note: a note without
// its copy records nothing.

#include <cstdint>
#include <string>
#include <vector>

// What names a file whatever its path: its device and inode, and what tells it from a file that
// held the same device and inode before it: its birth time and its inode's generation number,
// each where the file system keeps one.
struct CFileIdentity {
    bool exists = false; // false when the file could not be found (then the rest is zero)
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool born = false;
    long long bornAt = 0; // nanoseconds since 1970
    bool generated = false;
    std::uint32_t generation = 0;

    // The file path names now, symbolic links followed.
    static CFileIdentity Of(const std::string& path);
    // The file open on descriptor fd.
    static CFileIdentity OfDescriptor(int fd);
};

// A kept copy on record for an unfinished save of a file; copy is empty when there is none.
// certain is false when the note may as well be a deleted file's that held the same device and
// inode (see above).
struct CUnfinishedSave {
    std::string copy;
    bool certain = false;
};

// The folder the copies are kept in; empty when there is no user data directory.
std::string KeptCopiesFolder();

// The kept copies whose notes are certainly of file (any of its names finds them): those a save
// that writes it whole removes.
std::vector<std::string> UnfinishedSaves(const CFileIdentity& file);

// The kept copy that records an unfinished save of file: the one certainly its own, else one
// that may be (the earliest by name).
CUnfinishedSave FindUnfinishedSave(const CFileIdentity& file);

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
    // unfinished (unless the file certainly has a record already). False when no whole copy
    // could be kept: then nothing is recorded and the file must not be written.
    bool Make(int targetFd);
    // The copy, open for reading, to put the old bytes back.
    int Descriptor() const { return m_fd; }
    // The kept copy the record names: this save's, or that of the earlier unfinished save.
    const std::string& RecordedCopy() const { return m_recorded; }
    // True when the record is an earlier save's, whose copy holds the file as it was before it.
    bool RecordsEarlierSave() const { return m_earlierRecord; }

    // The save wrote the file whole: this save's copy and every record certainly the file's go.
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
    CFileIdentity m_file;
    int m_fd = -1;
    bool m_earlierRecord = false;
};
