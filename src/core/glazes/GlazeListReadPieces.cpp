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
// plain read gives. A file's pieces give back the pages of its bytes as they read them, so the
// file is then read again from its stream.

#include "glazes/GlazeList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <streambuf>
#include <thread>
#include <vector>

#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Texts shorter than two of these are read in one piece.
constexpr std::size_t kLeastPiece = 256 * 1024;
constexpr std::size_t kMostPieces = 6;
constexpr int kPieceFailed = -1000;

// A read-only stream buffer over bytes in memory (the reader only reads through sgetn). Over a
// file's bytes in an anonymous mapping of their own (CFileBytes), it hands the pages it has read
// back to the system as it goes, so that the glazes read and the bytes still to read together
// take about what the glazes alone take at the end: a glaze takes more room than its lines.
// Released pages read as zeros afterwards.
class CBytesBuf : public std::streambuf {
public:
    CBytesBuf(std::string_view bytes, bool releaseRead)
    {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
        if (releaseRead)
            m_released = PageUp(begin); // a page shared with the piece before is not this one's
    }

protected:
    std::streamsize xsgetn(char* to, std::streamsize count) override
    {
        const std::streamsize got = std::streambuf::xsgetn(to, count);
        if (m_released) {
            // In steps of a megabyte: each release interrupts the processors running the
            // other pieces (their address translations must be dropped too).
            char* const upTo = PageDown(gptr());
            if (upTo - m_released >= kReleaseStep || gptr() == egptr()) {
                ::madvise(m_released, static_cast<std::size_t>(upTo - m_released), MADV_DONTNEED);
                m_released = upTo;
            }
        }
        return got;
    }

private:
    static constexpr std::ptrdiff_t kReleaseStep = 1024 * 1024;

    static std::uintptr_t PageSize()
    {
        static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        return size;
    }
    static char* PageDown(char* at)
    {
        return reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(at) & ~(PageSize() - 1));
    }
    static char* PageUp(char* at) { return PageDown(at + PageSize() - 1); }

    char* m_released = nullptr; // the pages before this one are released
};

// Room for a file's bytes in an anonymous mapping (whose pages CBytesBuf can release).
class CFileBytes {
public:
    explicit CFileBytes(std::size_t size) : m_size(size)
    {
        void* at = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        m_bytes = at == MAP_FAILED ? nullptr : static_cast<char*>(at);
    }
    ~CFileBytes()
    {
        if (m_bytes)
            ::munmap(m_bytes, m_size);
    }
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    char* Bytes() const { return m_bytes; } // null when no room was had

private:
    std::size_t m_size;
    char* m_bytes = nullptr;
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
    bool releaseRead = false;
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
        CBytesBuf buffer(piece.text, piece.releaseRead);
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

bool CGlazeList::ReadInPieces(std::string_view text, bool releaseRead)
{
    const std::vector<std::string_view> cuts = CutPieces(text);
    if (cuts.size() < 2)
        return false;
    std::vector<CPiece> pieces(cuts.size());
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        pieces[i].text = cuts[i];
        pieces[i].releaseRead = releaseRead;
    }
    const bool clean = ReadPieces(pieces) &&
                       std::all_of(pieces.begin(), pieces.end(), [](const CPiece& p) { return p.result == 0; }) &&
                       std::none_of(pieces.begin() + 1, pieces.end(), HoldsHeaderKey);
    if (!clean)
        return false;
    CGlazeList& first = pieces.front().list;
    Reset();
    m_glazes = std::move(first.m_glazes);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        auto& glazes = pieces[i].list.m_glazes;
        m_glazes.insert(m_glazes.end(), std::make_move_iterator(glazes.begin()), std::make_move_iterator(glazes.end()));
    }
    m_name = std::move(first.m_name);
    m_infoLines = std::move(first.m_infoLines);
    m_version = first.m_version;
    m_errorText.clear();
    m_lastLineIncomplete = pieces.back().list.m_lastLineIncomplete; // only the last can end inside a line
    return true;
}

int CGlazeList::ReadText(std::string_view text)
{
    if (ReadInPieces(text, false))
        return 0;
    CBytesBuf buffer(text, false);
    std::istream in(&buffer);
    return Read(in);
}

int CGlazeList::ReadFile(std::istream& in)
{
    // The bytes from where the stream stands to its end, when the stream can say how many.
    std::unique_ptr<CFileBytes> bytes;
    std::size_t size = 0;
    bool whole = false;
    std::streambuf* buffer = nullptr;
    std::streampos start(-1);
    try {
        buffer = in.good() ? in.rdbuf() : nullptr;
        start = buffer ? buffer->pubseekoff(0, std::ios::cur, std::ios::in) : std::streampos(-1);
        const auto end = buffer && start != std::streampos(-1) ? buffer->pubseekoff(0, std::ios::end, std::ios::in)
                                                               : std::streampos(-1);
        if (end != std::streampos(-1) && buffer->pubseekpos(start, std::ios::in) == start && end >= start) {
            size = static_cast<std::size_t>(end - start);
            bytes = std::make_unique<CFileBytes>(size + 1);
            const auto got =
                bytes->Bytes() ? buffer->sgetn(bytes->Bytes(), static_cast<std::streamsize>(size + 1)) : -1;
            // Exactly the bytes counted: a file that changed meanwhile is read the plain way.
            whole = got == static_cast<std::streamsize>(size);
            if (!whole)
                buffer->pubseekpos(start, std::ios::in);
        }
    } catch (...) {
        whole = false;
    }
    if (whole) {
        // The pieces release the bytes they have read: when they do not give the result, the
        // file is read again from the stream.
        if (ReadInPieces(std::string_view(bytes->Bytes(), size), true)) {
            in.setstate(std::ios::eofbit);
            return 0;
        }
        bytes.reset();
        try {
            if (buffer->pubseekpos(start, std::ios::in) != start)
                in.setstate(std::ios::badbit);
        } catch (...) {
            in.setstate(std::ios::badbit);
        }
    }
    bytes.reset();
    return Read(in); // the stream reports any failure of its own there
}
