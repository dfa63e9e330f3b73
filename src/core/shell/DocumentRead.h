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

// After path was read into context: its notes in one message box, so that the user learns them
// before saving over the file (a save writes every value as it was read). Nothing otherwise.
void ReportReadNotes(const std::string& path, const CParamFileContext& context, unsigned helpId);
