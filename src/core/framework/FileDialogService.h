#pragma once

// The file questions of the program: open, save and multi-select open dialogs, with the
// optional Clipboard button that chooses the clipboard instead of a file. The Qt layer shows
// real dialogs; tests script the answers.

#include <string>
#include <vector>

// Flags a caller passes, as the dialogs understand them.
enum FileDialogFlags : unsigned {
    FileDlgReadOnly = 0x1,
    FileDlgOverwritePrompt = 0x2,
    FileDlgHideReadOnly = 0x4,
    FileDlgPathMustExist = 0x800,
    FileDlgFileMustExist = 0x1000,
};

struct CFileDialogRequest {
    enum class Mode { Open, Save, OpenMultiple };
    Mode mode = Mode::Open;
    std::string title;
    std::string defaultExtension; // without the point, empty for none
    std::string initialPath;      // proposed file name or path, may be empty
    // "Description (*.ext)|*.ext|All Files (*.*)|*.*||": description and pattern pairs.
    std::string filter;
    unsigned flags = 0;
    unsigned helpId = 0;
    bool clipboardOption = false; // offer the Clipboard button
};

struct CFileDialogResult {
    enum class Outcome { Ok, Cancel, Clipboard };
    Outcome outcome = Outcome::Cancel;
    std::vector<std::string> paths; // full paths, in the dialog's order
    int filterIndex = 1;            // the chosen filter, counted from 1
};

class CFileDialogService {
public:
    virtual ~CFileDialogService() = default;
    virtual CFileDialogResult AskForFiles(const CFileDialogRequest& request) = 0;
};

CFileDialogService* GetFileDialogService();
void SetFileDialogService(CFileDialogService* service);

// Asks through the installed service; without one the answer is Cancel.
CFileDialogResult AskForFiles(const CFileDialogRequest& request);

// The filter's (description, pattern) pairs: "A (*.a)|*.a|All Files (*.*)|*.*||" gives two.
std::vector<std::pair<std::string, std::string>> SplitFileFilter(const std::string& filter);
