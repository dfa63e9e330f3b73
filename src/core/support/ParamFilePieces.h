#pragma once

// Reading a large "key = value" file of records in pieces on several threads.
//
// A database file is its header followed by records, each opened by a line of the format's record
// key ("name"), and a record's lines refer to nothing before that line. So the text can be cut
// just before record lines and each piece read by the ordinary reader (ParseParameterFile) into a
// context of its own, with a key table of its own (the reader counts in it); the caller then joins
// the contexts in order. The header keys are counted in the first piece only, and the required
// keys are checked there, at its end.
//
// One thread reads the stream a piece at a time while the others read the pieces already cut, so
// that the file's bytes are never all in memory at once: besides the contexts, a read holds a
// piece's bytes for each thread and one more.
//
// The pieces give exactly what one read gives as long as every piece reads cleanly and no header
// key stands in a later piece (its count, order or "only once" would span pieces). Otherwise the
// stream is put back where it stood and the caller reads it in one piece, so that every result,
// message and line number is the one a plain read gives.

#include "support/ParamFile.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <streambuf>
#include <string_view>
#include <vector>

// What a file format tells the piece reader.
struct CParamPieceFormat {
    // The format's key table, ended by its end entry. Every key that may occur only once or must
    // occur must be a header key: otherwise the format is always read in one piece.
    const ParamDesc* table = nullptr;
    // The key that opens every record.
    const char* recordKey = "name";
    // Whether a key belongs to the file as a whole (the header) rather than to a record.
    bool (*isHeaderKey)(const char* key) = nullptr;
};

struct CParamPieceOptions {
    // Threads reading pieces besides the one reading the stream; 0: as the processors the program
    // may run on allow (none on a single processor: the file is then read in one piece).
    std::size_t threads = 0;
    // The bytes read for a piece; 0: chosen by the file's size. With either set, a text of any
    // size is read in pieces (otherwise a small file is read in one piece).
    std::size_t pieceBytes = 0;
};

// Reads in from where it stands to its end in pieces, each into a context that makeContext makes
// (on the calling thread). True with contexts holding the pieces' contexts in file order when they
// give what one read gives, the first holding the read notes of the whole file (m_readNotes, with
// the file's line numbers), and in at its end with eofbit set. Otherwise false with contexts empty
// and in put back where it stood (badbit set when that failed): a stream that cannot tell its size
// or be put back, a small file (unless options say otherwise), a single processor, a piece that
// failed or held a header key.
bool ReadParamFileInPieces(std::istream& in, const CParamPieceFormat& format,
                           const std::function<std::unique_ptr<CParamFileContext>()>& makeContext,
                           std::vector<std::unique_ptr<CParamFileContext>>& contexts,
                           const CParamPieceOptions& options = {});

// The same with contexts of one type.
template <class Context>
bool ReadParamFileInPieces(std::istream& in, const CParamPieceFormat& format,
                           std::vector<std::unique_ptr<Context>>& contexts, const CParamPieceOptions& options = {})
{
    std::vector<std::unique_ptr<CParamFileContext>> read;
    contexts.clear();
    if (!ReadParamFileInPieces(in, format, [] { return std::make_unique<Context>(); }, read, options))
        return false;
    for (auto& context : read)
        contexts.emplace_back(static_cast<Context*>(context.release()));
    return true;
}

// A read-only stream buffer over bytes in memory that stay where they are while it is used; it
// can seek, so a text in memory reads as a file does.
class CMemoryReadBuf : public std::streambuf {
public:
    explicit CMemoryReadBuf(std::string_view bytes);

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};
