#pragma once

// What every document tells the user after reading its file, the same way for every kind.

#include <string>

class CInputFile;
class CParamFileContext;
struct CParamReadNotes;

// A file to merge that in could not open: "<path>: not a regular file" for what is no file to
// read, else "Unable to merge file <path>".
std::string MergeOpenFailure(const CInputFile& in, const std::string& path);

// What a read of path noticed and read on past (a last line without a line break, numbers that
// are not numbers, settings out of range), one paragraph each, each naming the file and the first
// line: "<path>: line 25: "1,5" is not a number; read as 1". Empty when there is nothing to tell.
std::string ReadNotesMessage(const std::string& path, const CParamReadNotes& notes);

// When a save in place of the file at path died or failed half way (its kept copy is on record):
// "<path>: The last save of this file did not finish, so the file may be damaged. A copy of it
// as it was before that save is kept in <copy>."; when the record may as well be of a deleted
// file that held the same place on the disk (a file system that keeps no birth times, a record
// of an older version), a message that says so and how to end it; else empty.
std::string UnfinishedSaveMessage(const std::string& path);

// Before a document reads path: that message in a message box, when there is one, so the user
// learns it whether or not the file reads well (a file cut short or mixed with its old tail may
// read without an error).
void ReportUnfinishedSave(const std::string& path, unsigned helpId);

// After path was read into context: its notes in one message box, so that the user learns them
// before saving over the file (a save writes every value as it was read). Nothing otherwise.
void ReportReadNotes(const std::string& path, const CParamFileContext& context, unsigned helpId);
// The same for the notes of a read; cutShortAsked leaves out a last line without a line break,
// which the user was asked about already (ConfirmRevertToCutFile).
void ReportReadNotes(const std::string& path, const CParamReadNotes& notes, unsigned helpId, bool cutShortAsked);

// Before Revert To Saved replaces what is in memory with a file whose read noted that it may have
// been cut short (another program or a full disk stopped writing it): "<path>: "<line>" ends the
// file without a line break, so the file may have been cut short (line N). Revert to it anyway?"
// when its last line has no line break, "... ends the file in the middle of a record, so ..." when
// the blank line that ends every record is missing (CParamReadNotes::endsInRecord). OK / Cancel,
// Cancel the default. True to go on, without a question when the read noted nothing of the kind.
// Open and Merge tell only of the line break: a file ending in a record holds what it holds.
bool ConfirmRevertToCutFile(const std::string& path, const CParamReadNotes& notes, unsigned helpId);
