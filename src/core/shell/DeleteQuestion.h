#pragma once

// The question a record list asks before it deletes a record that an edit window holds unsaved
// changes to, or a merge replaces it: saving them first would change nothing, so it asks whether
// to go on at all.

#include "framework/MessageService.h"

#include <string>

// What becomes of the record.
enum class RecordGoes {
    Deleted,
    Replaced, // by a record of the same name that a merge brings
};

// stored: the record's name as stored; shown: the name its window shows, named beside it where it
// differs (the record is what goes, whatever its window calls it).
inline std::string DeleteChangedRecordQuestion(const std::string& stored, const std::string& shown,
                                               RecordGoes goes = RecordGoes::Deleted)
{
    std::string question = "\"" + stored + "\" has unsaved changes";
    if (shown != stored)
        question += " in its window (\"" + shown + "\")";
    return question + " and will be " +
           (goes == RecordGoes::Deleted ? "deleted. Delete it?" : "replaced by the one merged in. Replace it?");
}

// Asks it: MsgResultYes or MsgResultNo, and for a merge MsgResultCancel too (No keeps the record
// and its edits and merges the rest, Cancel merges nothing). Enter answers No, so that a key
// pressed in haste deletes neither the record nor its edits.
inline int AskDeleteChangedRecord(const std::string& stored, const std::string& shown, RecordGoes goes,
                                  unsigned helpId)
{
    const unsigned buttons = goes == RecordGoes::Replaced ? MsgYesNoCancel : MsgYesNo;
    return AppMessageBox(DeleteChangedRecordQuestion(stored, shown, goes), buttons | MsgIconQuestion | MsgDefaultButton2,
                         helpId);
}
