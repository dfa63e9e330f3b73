// Reading a whole glaze file at once, a large one in pieces on several threads.
//
// A glaze file is its header followed by glazes, each opened by its "name" line, and a glaze's
// lines refer to nothing before its "name". So the text can be cut just before "name" lines and
// each piece read by the ordinary reader into a list of its own (with a key table of its own:
// the reader counts in it), the lists then joined in order. The header keys are counted in the
// first piece only; the required keys are checked there, at its end.
//
// The pieces give exactly what one read gives as long as every piece reads cleanly and no header
// key stands in a later piece (its count, order or "only once" would span pieces). Otherwise the
// text is read again in one piece, so that every result, message and line number is the one a
// plain read gives.

#include "glazes/GlazeList.h"

#include <algorithm>
#include <functional>
#include <istream>
#include <memory>
#include <streambuf>
#include <thread>
#include <vector>

#include <sched.h>

namespace {

// Texts shorter than two of these are read in one piece.
constexpr std::size_t kLeastPiece = 256 * 1024;
constexpr std::size_t kMostPieces = 6;
constexpr int kPieceFailed = -1000;

// A read-only stream buffer over bytes in memory (the reader only reads through sgetn).
class CBytesBuf : public std::streambuf {
public:
    explicit CBytesBuf(std::string_view bytes)
    {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

// Blanks inside a line as the reader skips them (line breaks end a line before).
bool IsLineBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Whether the line starting at at is a "name" key line as the reader splits it.
bool IsNameLine(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsLineBlank(text[at]))
        ++at;
    if (text.substr(at, 4) != "name")
        return false;
    at += 4;
    while (at < text.size() && IsLineBlank(text[at]))
        ++at;
    return at < text.size() && text[at] == '=';
}

// The start of the first "name" line after the line that holds from, or the text's end. A CR LF
// pair is one line break, a lone CR or LF another.
std::size_t NextNameLine(std::string_view text, std::size_t from)
{
    std::size_t at = from;
    for (;;) {
        const std::size_t lineBreak = text.find_first_of("\r\n", at);
        if (lineBreak == std::string_view::npos)
            return text.size();
        at = lineBreak + 1;
        if (text[lineBreak] == '\r' && at < text.size() && text[at] == '\n')
            ++at;
        if (IsNameLine(text, at))
            return at;
    }
}

struct CPiece {
    std::string_view text;
    std::vector<ParamDesc> table;
    CGlazeList list;
    int result = 0;
};

void ReadPiece(CPiece& piece, bool first)
{
    try {
        piece.table.assign(g_glzKeyTable, g_glzKeyTable + kGlazeKeyCount + 1);
        if (!first) {
            for (ParamDesc& entry : piece.table)
                entry.flags &= ~PF_REQUIRED;
        }
        CBytesBuf buffer(piece.text);
        std::istream in(&buffer);
        piece.result = ParseParameterFile(piece.list.m_errorText, in, piece.table.data(), &piece.list, 0);
    } catch (...) {
        // Out of memory, say: the text is read again in one piece, which reports it.
        piece.result = kPieceFailed;
    }
}

// Whether a piece after the first holds a key of the header (one that is not a glaze's).
bool HoldsHeaderKey(const CPiece& piece)
{
    for (const ParamDesc& entry : piece.table) {
        if (entry.key && entry.count > 0 && IsGlazeListHeaderKey(entry.key))
            return true;
    }
    return false;
}

// As many pieces as the processors the program may run on, less one for the program's other
// work (start-up opens the other databases meanwhile), at least two and at most kMostPieces.
std::size_t PieceCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    int usable = static_cast<int>(std::thread::hardware_concurrency());
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        usable = CPU_COUNT(&set);
    return std::clamp<std::size_t>(static_cast<std::size_t>(std::max(usable - 1, 0)), 2, kMostPieces);
}

// The cuts between pieces: each piece but the first opens with a "name" line.
std::vector<std::string_view> CutPieces(std::string_view text)
{
    const std::size_t count = std::min<std::size_t>(PieceCount(), text.size() / kLeastPiece);
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 1; i < count && start < text.size(); ++i) {
        const std::size_t cut = NextNameLine(text, std::max(start, text.size() * i / count));
        if (cut > start)
            pieces.push_back(text.substr(start, cut - start));
        start = cut;
    }
    if (start < text.size() || pieces.empty())
        pieces.push_back(text.substr(start));
    return pieces;
}

// Reads the pieces on threads of their own (the first on the calling thread); false when a
// thread could not be started.
bool ReadPieces(std::vector<CPiece>& pieces)
{
    std::vector<std::thread> workers;
    bool started = true;
    for (std::size_t i = 1; i < pieces.size() && started; ++i) {
        try {
            workers.emplace_back(ReadPiece, std::ref(pieces[i]), false);
        } catch (...) {
            started = false;
        }
    }
    if (started)
        ReadPiece(pieces.front(), true);
    for (std::thread& worker : workers)
        worker.join();
    return started;
}

} // namespace

int CGlazeList::ReadText(std::string_view text)
{
    const std::vector<std::string_view> cuts = CutPieces(text);
    if (cuts.size() >= 2) {
        std::vector<CPiece> pieces(cuts.size());
        for (std::size_t i = 0; i < cuts.size(); ++i)
            pieces[i].text = cuts[i];
        const bool clean = ReadPieces(pieces) &&
                           std::all_of(pieces.begin(), pieces.end(), [](const CPiece& p) { return p.result == 0; }) &&
                           std::none_of(pieces.begin() + 1, pieces.end(), HoldsHeaderKey);
        if (clean) {
            CGlazeList& first = pieces.front().list;
            Reset();
            m_glazes = std::move(first.m_glazes);
            for (std::size_t i = 1; i < pieces.size(); ++i) {
                auto& glazes = pieces[i].list.m_glazes;
                m_glazes.insert(m_glazes.end(), std::make_move_iterator(glazes.begin()),
                                std::make_move_iterator(glazes.end()));
            }
            m_name = std::move(first.m_name);
            m_infoLines = std::move(first.m_infoLines);
            m_version = first.m_version;
            m_errorText.clear();
            m_lastLineIncomplete = pieces.back().list.m_lastLineIncomplete; // only the last can end inside a line
            return 0;
        }
    }
    CBytesBuf buffer(text);
    std::istream in(&buffer);
    return Read(in);
}

int CGlazeList::ReadFile(std::istream& in)
{
    // The bytes from where the stream stands to its end, when the stream can say how many.
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    bool whole = false;
    try {
        std::streambuf* buffer = in.good() ? in.rdbuf() : nullptr;
        const auto start = buffer ? buffer->pubseekoff(0, std::ios::cur, std::ios::in) : std::streampos(-1);
        const auto end = buffer && start != std::streampos(-1) ? buffer->pubseekoff(0, std::ios::end, std::ios::in)
                                                               : std::streampos(-1);
        if (end != std::streampos(-1) && buffer->pubseekpos(start, std::ios::in) == start && end >= start) {
            size = static_cast<std::size_t>(end - start);
            bytes = std::make_unique_for_overwrite<char[]>(size + 1);
            const auto got = buffer->sgetn(bytes.get(), static_cast<std::streamsize>(size + 1));
            // Exactly the bytes counted: a file that changed meanwhile is read the plain way.
            whole = got == static_cast<std::streamsize>(size);
            if (!whole)
                buffer->pubseekpos(start, std::ios::in);
        }
    } catch (...) {
        whole = false;
    }
    if (!whole) {
        bytes.reset();
        return Read(in); // the stream reports any failure of its own there
    }
    in.setstate(std::ios::eofbit);
    return ReadText(std::string_view(bytes.get(), size));
}
