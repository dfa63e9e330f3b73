#pragma once

// The single-file open or save dialog of every file question of the program. Write-to-file
// questions offer the Clipboard button, which sends the output to the clipboard instead; an open
// dialog offers it only while the clipboard holds text to read.

#include "support/ClipFileDialogBase.h"

#include <string>

class CClipFileDialog : public CClipFileDialogBase {
    Q_OBJECT

public:
    // flags: FileDialogFlags. filter: "Description (*.ext)|*.ext|All Files (*.*)|*.*||".
    CClipFileDialog(bool openFileDialog, const std::string& defaultExtension = std::string(),
                    const std::string& fileName = std::string(), unsigned flags = 0,
                    const std::string& filter = std::string(), QWidget* parent = nullptr, unsigned helpId = 0,
                    bool clipboardOption = false);

    // The chosen file's full path; empty unless the dialog ended with OK and not the clipboard.
    std::string GetPathName() const;

protected:
    void EndWithClipboard() override;
};
