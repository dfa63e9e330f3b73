#include "shell/DocumentFile.h"

#include "framework/Document.h"
#include "framework/MessageService.h"
#include "shell/Backup.h"
#include "support/SafeFile.h"

bool WriteDocumentFile(CDocument& document, const std::string& path, unsigned backupHelpId, unsigned errorHelpId,
                       const std::function<bool(std::ostream&)>& write)
{
    if (!document.ConfirmReplaceChangedFile(path, backupHelpId))
        return false;
    if (!ConfirmBackupBeforeSave(path, backupHelpId))
        return false;
    CSafeFileWriter writer(path);
    if (!writer.Open()) {
        AppMessageBox(SaveFailureMessage(path, SafeSaveResult::OpenFailed, writer.FailureReason()),
                      MsgOk | MsgIconExclamation, errorHelpId);
        return false;
    }
    if (!write(writer.Stream()) || writer.Commit() != SafeSaveResult::Ok) {
        writer.Abandon();
        AppMessageBox(SaveFailureMessage(path, SafeSaveResult::WriteFailed, writer.FailureReason()),
                      MsgOk | MsgIconExclamation, errorHelpId);
        return false;
    }
    document.RememberFileState(path, writer.WrittenStamp());
    return true;
}
