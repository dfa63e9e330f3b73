#pragma once

// The multi-select open dialog: several existing files at once, e.g. glaze databases to open or
// databases to add to the tree.

#include "support/ClipFileDialogBase.h"

#include <string>

class CStringArrayEx;

class CMultiFileDialog : public CClipFileDialogBase {
    Q_OBJECT

public:
    // flags: FileDialogFlags (the chosen files must always exist).
    CMultiFileDialog(const std::string& defaultExtension = std::string(),
                     const std::string& fileName = std::string(), unsigned flags = 0,
                     const std::string& filter = std::string(), QWidget* parent = nullptr, unsigned helpId = 0,
                     bool clipboardOption = false);

    // Appends every chosen file's full path, each once and in the dialog's order, to paths
    // (existing entries are kept); returns the array's count. Nothing is appended when the
    // dialog was cancelled or ended with the Clipboard button.
    int GetPathNames(CStringArrayEx& paths) const;

protected:
    void EndWithClipboard() override;
};
