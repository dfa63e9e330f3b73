#include "support/MultiFileDialog.h"

#include "framework/FileDialogService.h"
#include "support/StringArrayEx.h"

CMultiFileDialog::CMultiFileDialog(const std::string& defaultExtension, const std::string& fileName,
                                   unsigned flags, const std::string& filter, QWidget* parent,
                                   unsigned helpIdArg, bool clipboardOption)
    : CClipFileDialogBase(false, defaultExtension, fileName, flags | FileDlgFileMustExist, filter, parent,
                          helpIdArg, clipboardOption && ClipboardHoldsText())
{
    setFileMode(QFileDialog::ExistingFiles);
}

int CMultiFileDialog::GetPathNames(CStringArrayEx& paths) const
{
    for (std::string& path : ChosenPaths())
        paths.push_back(std::move(path));
    return static_cast<int>(paths.size());
}

void CMultiFileDialog::EndWithClipboard()
{
    // Ends with OK, as the dialog always has; the paths stay empty, so a caller that looks at
    // the result before useClipboard still opens nothing.
    done(QDialog::Accepted);
}
