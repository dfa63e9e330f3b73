#include "support/QtFileDialogService.h"

#include "framework/MdiFrame.h"
#include "support/ClipFileDialog.h"
#include "support/MultiFileDialog.h"
#include "support/StringArrayEx.h"

#include <QApplication>

namespace {

QWidget* DialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return CMDIMainFrame::Instance();
}

CFileDialogResult::Outcome OutcomeOf(const CClipFileDialogBase& dialog, int code)
{
    if (dialog.useClipboard)
        return CFileDialogResult::Outcome::Clipboard;
    return code == QDialog::Accepted ? CFileDialogResult::Outcome::Ok : CFileDialogResult::Outcome::Cancel;
}

} // namespace

CFileDialogResult CQtFileDialogService::AskForFiles(const CFileDialogRequest& request)
{
    CFileDialogResult result;
    if (request.mode == CFileDialogRequest::Mode::OpenMultiple) {
        CMultiFileDialog dialog(request.defaultExtension, request.initialPath, request.flags, request.filter,
                                DialogParent(), request.helpId, request.clipboardOption);
        dialog.SetTitle(request.title);
        const int code = dialog.DoModal();
        result.outcome = OutcomeOf(dialog, code);
        result.filterIndex = dialog.GetFilterIndex();
        CStringArrayEx paths;
        dialog.GetPathNames(paths);
        result.paths.assign(paths.begin(), paths.end());
    } else {
        const bool open = request.mode == CFileDialogRequest::Mode::Open;
        CClipFileDialog dialog(open, request.defaultExtension, request.initialPath, request.flags, request.filter,
                               DialogParent(), request.helpId, request.clipboardOption);
        dialog.SetTitle(request.title);
        const int code = dialog.DoModal();
        result.outcome = OutcomeOf(dialog, code);
        result.filterIndex = dialog.GetFilterIndex();
        const std::string path = dialog.GetPathName();
        if (!path.empty())
            result.paths.push_back(path);
    }
    // An OK without a file (nothing chosen) is no answer.
    if (result.outcome == CFileDialogResult::Outcome::Ok && result.paths.empty())
        result.outcome = CFileDialogResult::Outcome::Cancel;
    return result;
}
