#include "shell/DocumentRead.h"

#include "framework/MessageService.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/ParamFile.h"
#include "support/SafeFileKeptCopies.h"

namespace {

// "line <n>: <text>", and how many there were in all when more than one.
std::string NoteParagraph(const CParamNote& note, const std::string& text, const char* allOfThem)
{
    std::string paragraph = "line " + std::to_string(note.line) + ": " + text;
    if (note.count > 1)
        paragraph += " (the first of " + std::to_string(note.count) + " " + allOfThem + ")";
    return paragraph;
}

} // namespace

std::string MergeOpenFailure(const CInputFile& in, const std::string& path)
{
    return in.NotRegular() ? in.OpenFailure() : "Unable to merge file " + MessagePath(path);
}

std::string ReadNotesMessage(const std::string& path, const CParamReadNotes& notes)
{
    std::string message;
    auto add = [&](const std::string& paragraph) {
        message += (message.empty() ? "" : "\n\n") + MessagePath(path) + ": " + paragraph;
    };
    if (notes.notNumbers.count > 0)
        add(NoteParagraph(notes.notNumbers, notes.notNumbers.text,
                          "values in the file that could not be read as written"));
    if (notes.outOfRange.count > 0)
        add(NoteParagraph(notes.outOfRange, notes.outOfRange.text, "values in the file outside their range"));
    if (notes.lastLineUnterminated.count > 0)
        add(NoteParagraph(notes.lastLineUnterminated,
                          "\"" + notes.lastLineUnterminated.text +
                              "\" ends the file without a line break; it was read as it stands, but the file may "
                              "have been cut short",
                          ""));
    return message;
}

std::string UnfinishedSaveMessage(const std::string& path)
{
    const CUnfinishedSave found = FindUnfinishedSave(CFileIdentity::Of(path));
    if (found.copy.empty())
        return std::string();
    if (found.certain)
        return MessagePath(path) + ": The last save of this file did not finish, so the file may be damaged. A copy "
                                   "of it as it was before that save is kept in " + MessagePath(found.copy) + ".";
    return MessagePath(path) + ": A save that did not finish may have been a save of this file, so the file may be "
                               "damaged; the record of that save names this file's place on the disk, which a file "
                               "deleted since may have held. A copy of the file that save was writing, as it was "
                               "before, is kept in " + MessagePath(found.copy) +
           ". Delete that copy once it is not needed, and this is not said again.";
}

void ReportUnfinishedSave(const std::string& path, unsigned helpId)
{
    const std::string message = UnfinishedSaveMessage(path);
    if (!message.empty())
        AppMessageBox(message, MsgOk | MsgIconExclamation, helpId);
}

void ReportReadNotes(const std::string& path, const CParamFileContext& context, unsigned helpId)
{
    ReportReadNotes(path, context.m_readNotes, helpId, false);
}

void ReportReadNotes(const std::string& path, const CParamReadNotes& notes, unsigned helpId, bool cutShortAsked)
{
    CParamReadNotes told = notes;
    if (cutShortAsked)
        told.lastLineUnterminated = CParamNote();
    const std::string message = ReadNotesMessage(path, told);
    if (!message.empty())
        AppMessageBox(message, MsgOk | MsgIconExclamation, helpId);
}

bool ConfirmRevertToCutFile(const std::string& path, const CParamReadNotes& notes, unsigned helpId)
{
    const bool midLine = notes.lastLineUnterminated.count > 0;
    const CParamNote& cut = midLine ? notes.lastLineUnterminated : notes.endsInRecord;
    if (cut.count == 0)
        return true;
    const std::string question = MessagePath(path) + ": \"" + cut.text + "\" ends the file " +
                                 (midLine ? "without a line break" : "in the middle of a record") +
                                 ", so the file may have been cut short (line " + std::to_string(cut.line) +
                                 "). Revert to it anyway?";
    return AppMessageBox(question, MsgOkCancel | MsgIconExclamation | MsgDefaultButton2, helpId) == MsgResultOk;
}
