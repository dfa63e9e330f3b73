#pragma once

// The question a record list asks before it deletes a record that an edit window holds unsaved
// changes to: saving them first would change nothing, so it asks whether to delete at all.

#include "framework/MessageService.h"

#include <string>

inline std::string DeleteChangedRecordQuestion(const std::string& name)
{
    return "\"" + name + "\" has unsaved changes and will be deleted. Delete it?";
}

// Asks it: MsgResultYes or MsgResultNo. Enter answers No, so that a key pressed in haste deletes
// neither the record nor its edits.
inline int AskDeleteChangedRecord(const std::string& name, unsigned helpId)
{
    return AppMessageBox(DeleteChangedRecordQuestion(name), MsgYesNo | MsgIconQuestion | MsgDefaultButton2, helpId);
}
