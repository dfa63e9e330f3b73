#pragma once

// Backups made before a file is overwritten: the database files, the preferences file and text
// files. The working preferences hold the method and the directory every save uses.

#include <string>

// Help context of the "Continue with Save?" question asked when a backup fails.
inline constexpr unsigned kBackupFailedHelpId = 196897;

class CBackupSettings {
public:
    // Backup methods (preferences key "backtyp").
    enum Mode : int {
        None = 0,
        SameDirectory = 1, // "file.BAK": the full path with ".bak" appended
        CopyToDirectory = 2,
        CascadeToDirectory = 3, // the newest backup plus ten numbered older ones
    };
    static constexpr int kGenerations = 10;

    int mode = None;
    std::string directory; // used by the directory modes (preferences key "backdir")

    // Copies the file at path aside before it is overwritten. Returns 0 when the backup was made
    // or nothing had to be done (mode 0, empty path, no file yet, or a backup path that is the
    // file itself), 1 on failure with the reason in errorText (left alone otherwise).
    int BackupFile(const std::string& path, std::string& errorText) const;

    // The path the backup of the file at path goes to (empty for mode 0 or an empty path).
    std::string BackupPath(const std::string& path) const;
};

// Copies the file source to target, replacing target (a link at target is replaced, never
// followed). A target without any write permission is read-only and is not replaced. A failed
// copy leaves target as it was. The copy keeps the source's modification time. False on failure.
bool CopyFileForBackup(const std::string& source, const std::string& target);

// The save step every document save runs before writing: backs up the file at path with the
// working preferences' settings and, when that fails, asks whether to save anyway (Yes/No,
// question icon, help context helpId). Returns false when the user answers No: the caller
// abandons the save.
bool ConfirmBackupBeforeSave(const std::string& path, unsigned helpId = kBackupFailedHelpId);
