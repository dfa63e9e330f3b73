#pragma once

// The program's profile: window placement, colours and the paths of the databases to open at
// start-up, kept in an INI file of our own ("Oxidarium.ini").
//
// The file holds "[Section]" lines and plain "key=value" lines. Sections and keys are found
// whatever their case; values come back without the blanks around them, as every other key =
// value file is read (commas and quotes stay: "ElementDBFileName = /data/elements.ele" gives
// "/data/elements.ele"). A write that changes something saves the file at once through the
// safe-save helper, so a failed write leaves the old file intact; inside a CProfileWriteBatch the
// changes are saved once, when the batch ends. A write of the value already held saves nothing.
// Lines the profile does not understand are kept. A save that fails is told once, with its
// reason, through the notice the program installs (SetSaveFailureNotice); the changes stay in
// memory and the next save tries again, and once a save succeeds a later failure is told again.
//
// Several copies of the program share the file: a save applies only the changes this copy made
// since its last save, in order, over the file as it is on disk at that moment (under a lock on
// its directory, so two saves never interleave), and what this copy holds then becomes that
// merged file. A key another copy wrote meanwhile is kept unless this copy changed the same key.

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CProfile {
public:
    // Loads the file at path; a missing or unreadable file gives an empty profile.
    explicit CProfile(std::string path);

    // OXIDARIUM_PROFILE when set, else $XDG_CONFIG_HOME/Oxidarium/Oxidarium.ini
    // (XDG_CONFIG_HOME defaults to ~/.config).
    static std::string DefaultPath();

    const std::string& Path() const { return m_path; }

    bool HasValue(const std::string& section, const std::string& key) const;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = std::string()) const;
    // The value read as a decimal integer (prefix rules); the default when the key is missing.
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;

    // Sets the value (without blanks around it: they would not be read back) and saves the file
    // (unless a batch is open); false when the file could not be written (the value stays set in
    // memory and the next save tries again).
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInt(const std::string& section, const std::string& key, int value);
    // Removes the key (and saves); true when there was nothing to remove.
    bool DeleteKey(const std::string& section, const std::string& key);

    // Re-reads the file, dropping what is in memory (and the changes not yet saved).
    void Reload();
    // Writes this copy's changes over the file as it is now; false on failure (the changes are
    // kept for the next save).
    bool Save();
    // How many times this object has written its file.
    int SaveCount() const { return m_saveCount; }

    // Receives the message of a failed save: the first failure after a good save (or since the
    // start) is told, the ones after it are not. Null tells nothing.
    using SaveFailureNotice = std::function<void(const std::string& message)>;
    void SetSaveFailureNotice(SaveFailureNotice notice) { m_failureNotice = std::move(notice); }

private:
    struct Line {
        std::string text;    // the line as read or built
        std::string key;     // empty for section headers, blank and foreign lines
        std::string section; // the section the line belongs to
    };

    // One write or removal of a key, kept until it is saved.
    struct Change {
        std::string section;
        std::string key;
        std::string value;
        bool remove = false;
    };

    friend class CProfileWriteBatch;

    // The lines of the file at path; none when it is missing or unreadable.
    static std::vector<Line> ReadLines(const std::string& path);
    static const Line* Find(const std::vector<Line>& lines, const std::string& section, const std::string& key);
    // Applies change to lines; true when it changed them.
    static bool Apply(std::vector<Line>& lines, const Change& change);
    // Applies change to what this copy holds and keeps it for the next save when it changed
    // anything; then saves unless a batch is open.
    bool Record(const Change& change);
    // Saves the pending changes unless a batch is open; true when nothing is left unsaved.
    bool SaveChanges();

    std::string m_path;
    std::vector<Line> m_lines;
    std::vector<Change> m_changes; // not yet saved, in the order they were made
    int m_batchDepth = 0;
    int m_saveCount = 0;
    SaveFailureNotice m_failureNotice;
    bool m_failureTold = false;
};

// Groups the writes of one change set (for example everything a preferences load writes back):
// while a batch is open the profile changes in memory only, and the outermost batch saves the
// file once when it ends, if anything changed. A null profile makes it do nothing.
class CProfileWriteBatch {
public:
    explicit CProfileWriteBatch(CProfile* profile);
    ~CProfileWriteBatch();
    CProfileWriteBatch(const CProfileWriteBatch&) = delete;
    CProfileWriteBatch& operator=(const CProfileWriteBatch&) = delete;

private:
    CProfile* m_profile;
};

// The profile the program uses, installed by the application context (null before that).
CProfile* GetProfile();
void SetProfile(CProfile* profile);
