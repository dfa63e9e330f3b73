#include "shell/DocumentRead.h"

#include "framework/MessageService.h"
#include "support/MessagePath.h"
#include "support/ParamFile.h"

void ReportIncompleteLastLine(const std::string& path, const CParamFileContext& context, unsigned helpId)
{
    if (!context.m_lastLineIncomplete)
        return;
    AppMessageBox(MessagePath(path) + ": The last line of the file was incomplete (it has no line break) and was ignored. "
                         "The file may have been cut short.",
                  MsgOk | MsgIconExclamation, helpId);
}
