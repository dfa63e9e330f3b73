#include "support/ClipFileDialog.h"

#include "framework/FileDialogService.h"

CClipFileDialog::CClipFileDialog(bool openFileDialog, const std::string& defaultExtension,
                                 const std::string& fileName, unsigned flags, const std::string& filter,
                                 QWidget* parent, unsigned helpIdArg, bool clipboardOption)
    : CClipFileDialogBase(!openFileDialog, defaultExtension, fileName, flags, filter, parent, helpIdArg,
                          clipboardOption && (!openFileDialog || ClipboardHoldsText()))
{
    const bool mustExist = openFileDialog && (flags & FileDlgFileMustExist) != 0;
    setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
}

std::string CClipFileDialog::GetPathName() const
{
    const std::vector<std::string> paths = ChosenPaths();
    return paths.empty() ? std::string() : paths.front();
}

void CClipFileDialog::EndWithClipboard()
{
    // The choice is the clipboard, not a file: the dialog closes as if cancelled.
    done(QDialog::Rejected);
}
