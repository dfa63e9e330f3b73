#include "support/ParamFilePieces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Records every handler call as "key=value".
class CCalls : public CParamFileContext {
public:
    std::vector<std::string> calls;
};

int OnText(CParamFileContext* context, const char* key, const void* value)
{
    static_cast<CCalls*>(context)->calls.push_back(std::string(key) + "=" + ParamText(value));
    return 0;
}

int OnInt(CParamFileContext* context, const char* key, const void* value)
{
    static_cast<CCalls*>(context)->calls.push_back(std::string(key) + "=" + std::to_string(ParamInt(value)));
    return 0;
}

int OnEnd(CParamFileContext*, const char*, const void*)
{
    return 0;
}

ParamDesc s_keys[] = {
    {"filetype", 's', OnText, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"title", 's', OnText, PF_ONCE, 0, 0, 0},
    {"name", 's', OnText, 0, 0, 0, 0},
    {"size", 'i', OnInt, PF_MIN_INCL | PF_MAX_INCL, 0, 100, 0},
    {"note", 's', OnText, 0, 0, 0, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

bool IsHeaderKey(const char* key)
{
    return std::strcmp(key, "filetype") == 0 || std::strcmp(key, "title") == 0;
}

const CParamPieceFormat kFormat{s_keys, "name", IsHeaderKey};

// A header and records of several shapes: indented and tabbed "name" lines, blank and skipped
// lines, a record far longer than the others; lineBreak ends every line.
std::string RecordsText(const std::string& lineBreak)
{
    std::string text = "filetype = records" + lineBreak + "title = Test" + lineBreak + lineBreak;
    for (int i = 0; i < 300; ++i) {
        text += (i % 7 == 3 ? " \tname\t= R" : "name = R") + std::to_string(i) + lineBreak;
        // Values that are not numbers only in later pieces: the first is noted by its file line.
        text += "size = " + std::to_string(i % 101) + (i % 90 == 89 ? "abc" : "") + lineBreak;
        text += "note = n" + std::to_string(i) + "  " + lineBreak + (i % 5 == 0 ? "# name = no key" + lineBreak : "");
        for (int n = 0; i == 150 && n < 200; ++n)
            text += "note = long record " + std::to_string(n) + lineBreak;
    }
    return text;
}

std::vector<std::string> PlainCalls(const std::string& text, CParamReadNotes& notes)
{
    std::istringstream in(text);
    CCalls calls;
    std::string error;
    EXPECT_EQ(ParseParameterFile(error, in, s_keys, &calls, 0), 0) << error;
    notes = calls.m_readNotes;
    return calls.calls;
}

void ExpectSameNote(const CParamNote& pieces, const CParamNote& plain)
{
    EXPECT_EQ(pieces.count, plain.count);
    EXPECT_EQ(pieces.line, plain.line);
    EXPECT_EQ(pieces.text, plain.text);
}

} // namespace

// Whatever the line breaks, threads and piece size, the pieces' calls in order are those of one
// read, a record longer than a piece included, and the first piece holds the notes of one read,
// with the file's line numbers (a last line without a line break, the first value that is no
// number).
TEST(ParamFilePiecesTest, PiecesMakeTheCallsOfOneRead)
{
    for (const std::string lineBreak : {"\n", "\r\n", "\r"}) {
        // The records follow each other without blank lines: the file ends in its last record
        // unless a blank line closes it (each piece ends in a record too, and tells nothing).
        for (const std::string& last : {std::string(), std::string("name = cut short"), lineBreak}) {
            const std::string text = RecordsText(lineBreak) + last;
            CParamReadNotes notes;
            const std::vector<std::string> plain = PlainCalls(text, notes);
            EXPECT_EQ(notes.lastLineUnterminated.count, last.starts_with("name") ? 1 : 0);
            EXPECT_EQ(notes.endsInRecord.count, last.empty() ? 1 : 0);
            EXPECT_EQ(notes.notNumbers.count, 3);
            EXPECT_EQ(notes.notNumbers.line, 290);
            EXPECT_EQ(notes.notNumbers.text, "\"89abc\" is not a number; read as 89");
            for (const CParamPieceOptions options :
                 {CParamPieceOptions{1, 64}, CParamPieceOptions{2, 64}, CParamPieceOptions{3, 1000}}) {
                SCOPED_TRACE(std::to_string(lineBreak.size()) + " " + std::to_string(options.threads) + " " +
                             std::to_string(options.pieceBytes) + " " + std::to_string(last.size()));
                std::istringstream in(text);
                std::vector<std::unique_ptr<CCalls>> pieces;
                ASSERT_TRUE(ReadParamFileInPieces(in, kFormat, pieces, options));
                ASSERT_GT(pieces.size(), 10u);
                EXPECT_TRUE(in.eof());
                std::vector<std::string> joined;
                for (const auto& piece : pieces)
                    joined.insert(joined.end(), piece->calls.begin(), piece->calls.end());
                EXPECT_EQ(joined, plain);
                const CParamReadNotes& read = pieces.front()->m_readNotes;
                EXPECT_EQ(read.lines, notes.lines);
                ExpectSameNote(read.lastLineUnterminated, notes.lastLineUnterminated);
                ExpectSameNote(read.endsInRecord, notes.endsInRecord);
                ExpectSameNote(read.notNumbers, notes.notNumbers);
            }
        }
    }
}

// What a piece cannot judge alone (a fault, a header key counted over the whole file, a required
// key missing) leaves the stream where it stood, for one read to report; so do a small file and a
// key counted over the whole file that is no header key.
TEST(ParamFilePiecesTest, WhatPiecesCannotJudgeIsLeftToOneRead)
{
    const std::string prefix = "skipped = before\n";
    for (const std::string& text :
         {RecordsText("\n") + "name = Late\nsize = 101\n", RecordsText("\n") + "title = Again\n",
          RecordsText("\n") + "no equals sign\n", RecordsText("\n").substr(std::strlen("filetype = records\n"))}) {
        std::istringstream in(prefix + text);
        in.seekg(static_cast<std::streamoff>(prefix.size()));
        std::vector<std::unique_ptr<CCalls>> pieces;
        EXPECT_FALSE(ReadParamFileInPieces(in, kFormat, pieces, CParamPieceOptions{2, 200}));
        EXPECT_TRUE(pieces.empty());
        EXPECT_TRUE(in.good());
        EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(prefix.size()));
    }
    std::vector<std::unique_ptr<CCalls>> pieces;
    std::istringstream small(RecordsText("\n"));
    EXPECT_FALSE(ReadParamFileInPieces(small, kFormat, pieces));
    EXPECT_EQ(small.tellg(), 0);
    s_keys[4].flags = PF_ONCE;
    std::istringstream once(RecordsText("\n"));
    EXPECT_FALSE(ReadParamFileInPieces(once, kFormat, pieces, CParamPieceOptions{2, 200}));
    s_keys[4].flags = 0;
}
