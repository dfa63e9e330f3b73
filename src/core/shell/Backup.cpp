#include "shell/Backup.h"

#include "framework/MessageService.h"
#include "shell/Preferences.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/SafeFile.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// True when two directories are one: the same full path, or the same device and inode (which
// also catches a directory reached through a link).
bool IsSameDirectory(const std::string& a, const std::string& b)
{
    if (GetFullPathString(a + "/") == GetFullPathString(b + "/"))
        return true;
    struct stat infoA {}, infoB {};
    return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
           infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

// Moves generation from over generation to, deleting to first; failures are ignored.
void MoveGeneration(const std::string& from, const std::string& to)
{
    std::remove(to.c_str());
    std::rename(from.c_str(), to.c_str());
}

void RotateGenerations(const std::string& backupPath)
{
    auto generation = [&backupPath](int n) { return backupPath + std::to_string(n); };
    std::remove(generation(CBackupSettings::kGenerations - 1).c_str());
    for (int n = CBackupSettings::kGenerations - 2; n >= 0; --n)
        MoveGeneration(generation(n), generation(n + 1));
    MoveGeneration(backupPath, generation(0));
}


} // namespace

std::string CBackupSettings::BackupPath(const std::string& path) const
{
    if (path.empty() || (mode != SameDirectory && mode != CopyToDirectory && mode != CascadeToDirectory))
        return std::string();
    int fileOffset = 0;
    const std::string fullPath = GetFullPathString(path, &fileOffset);
    if (mode == SameDirectory)
        return fullPath + ".bak";
    return MakeFilePath(directory, fullPath.substr(static_cast<std::size_t>(fileOffset)));
}

int CBackupSettings::BackupFile(const std::string& path, std::string& errorText) const
{
    if (mode != SameDirectory && mode != CopyToDirectory && mode != CascadeToDirectory)
        return 0;
    if (path.empty() || !FileExists(path))
        return 0;
    if (mode != SameDirectory && !IsDirectory(directory) &&
        (directory.empty() || ::mkdir(directory.c_str(), 0777) != 0)) {
        errorText = "Backup directory \"" + directory + "\" does not exist and cannot be created";
        return 1;
    }
    int fileOffset = 0;
    const std::string fullPath = GetFullPathString(path, &fileOffset);
    const std::string backupPath = BackupPath(path);
    // A backup directory that is the file's own directory would copy the file onto itself
    // (and the cascade would move the live file away): there is nothing to do.
    if (mode != SameDirectory &&
        IsSameDirectory(directory, fullPath.substr(0, static_cast<std::size_t>(fileOffset))))
        return 0;
    if (mode == CascadeToDirectory)
        RotateGenerations(backupPath);
    if (!CopyFileForBackup(fullPath, backupPath)) {
        errorText = "Backup: error copying " + MessagePath(fullPath) + " to " + MessagePath(backupPath);
        return 1;
    }
    return 0;
}

// A temporary file renamed over the target: the target is replaced rather than written
// through, so a link there never leads the copy back into the source.
bool CopyFileForBackup(const std::string& source, const std::string& target)
{
    CInputFile in;
    if (!in.Open(source) || IsReadOnlyFile(target))
        return false;
    struct stat link {};
    // A link at the target is replaced, never followed; a backup that shares its file with
    // another name (the file being saved, say) would be written in place through it.
    if (::lstat(target.c_str(), &link) == 0 && (S_ISLNK(link.st_mode) || (S_ISREG(link.st_mode) && link.st_nlink > 1)))
        ::unlink(target.c_str());
    const SafeSaveResult result = WriteFileSafely(target, [&in](std::ostream& out) {
        // Block by block: an empty file copies as well (inserting a whole empty buffer would
        // count as a failure).
        char block[65536];
        while (in.read(block, sizeof block) || in.gcount() > 0)
            out.write(block, in.gcount());
        return !in.bad() && static_cast<bool>(out);
    });
    if (result != SafeSaveResult::Ok)
        return false;
    struct stat info {};
    if (::stat(source.c_str(), &info) == 0) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::utimensat(AT_FDCWD, target.c_str(), times, 0);
    }
    return true;
}

bool ConfirmBackupBeforeSave(const std::string& path, unsigned helpId)
{
    const CBackupSettings settings = g_prefs.GetBackupSettings();
    std::string errorText;
    if (settings.BackupFile(path, errorText) == 0)
        return true;
    return AppMessageBox(errorText + " -- Continue with Save?", MsgYesNo | MsgIconQuestion, helpId) !=
           MsgResultNo;
}
