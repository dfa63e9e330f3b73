#include "support/ParamFilePieces.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <istream>
#include <mutex>
#include <string>
#include <thread>

#include <sched.h>

namespace {

// Files shorter than this are read in one piece: threads would cost more than they save.
constexpr std::size_t kLeastText = 512 * 1024;
// The bytes of a piece: about eight pieces a thread, so that the threads end together.
constexpr std::size_t kLeastPiece = 64 * 1024;
constexpr std::size_t kMostPiece = 1024 * 1024;
constexpr std::size_t kMostThreads = 6;

// Blanks inside a line as the reader skips them (line breaks end a line before).
bool IsLineBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Whether the line starting at at is a key line of key as the reader splits it.
bool IsKeyLine(std::string_view text, std::size_t at, std::string_view key)
{
    while (at < text.size() && IsLineBlank(text[at]))
        ++at;
    if (text.substr(at, key.size()) != key)
        return false;
    at += key.size();
    while (at < text.size() && IsLineBlank(text[at]))
        ++at;
    return at < text.size() && text[at] == '=';
}

// The start of the last record line of text after its first byte, or 0. A line starts after a
// line feed or a lone CR: a record line begins with neither, so a CR before it is no half of a
// CR LF pair.
std::size_t LastRecordStart(std::string_view text, std::string_view key)
{
    for (std::size_t at = text.size(); at > 1; --at) {
        const char before = text[at - 2];
        if ((before == '\n' || before == '\r') && IsKeyLine(text, at - 1, key))
            return at - 1;
    }
    return 0;
}

// Threads for the pieces: the processors the program may run on, less one for the thread reading
// the stream, at least two and at most kMostThreads; none on a single processor.
std::size_t PieceThreads()
{
    int usable = static_cast<int>(std::thread::hardware_concurrency());
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        usable = CPU_COUNT(&set);
    if (usable <= 1)
        return 0;
    return std::clamp<std::size_t>(static_cast<std::size_t>(usable - 1), 2, kMostThreads);
}

// Whether every key that counts over the whole file is a header key.
bool CanReadInPieces(const CParamPieceFormat& format)
{
    if (!format.table || !format.recordKey || !*format.recordKey || !format.isHeaderKey)
        return false;
    for (const ParamDesc* entry = format.table; entry->key; ++entry) {
        if ((entry->flags & (PF_ONCE | PF_REQUIRED)) && !format.isHeaderKey(entry->key))
            return false;
    }
    return true;
}

// A piece's bytes (read in place: the reader changes them); the buffer keeps its room from piece
// to piece.
struct CBlock {
    std::vector<char> bytes;
    std::size_t size = 0;

    // Room for room bytes and the reader's tail after them.
    void Reserve(std::size_t room)
    {
        if (bytes.size() < room + kParamTextTail)
            bytes.resize(room + kParamTextTail + kSlack);
    }

    // Spare room, so that a piece a little longer than the last finds room.
    static constexpr std::size_t kSlack = 4096;
};

struct CJob {
    std::size_t index = 0;
    std::unique_ptr<CBlock> block;
    CParamFileContext* context = nullptr;
};

// The state the stream's thread and the piece threads share.
class CPieceQueue {
public:
    CPieceQueue(const CParamPieceFormat& format, std::size_t blocks) : m_format(format)
    {
        for (std::size_t i = 0; i < blocks; ++i)
            m_free.push_back(std::make_unique<CBlock>());
    }

    // A block to fill, or null once a piece has failed.
    std::unique_ptr<CBlock> TakeFreeBlock()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_free.empty() || m_failed; });
        if (m_failed)
            return nullptr;
        auto block = std::move(m_free.back());
        m_free.pop_back();
        return block;
    }

    void Put(CJob job)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_changed.notify_all();
    }

    // No more pieces come (failed: because the stream could not be read to its end).
    void Close(bool failed)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
            m_failed = m_failed || failed;
        }
        m_changed.notify_all();
    }

    bool Failed()
    {
        const std::lock_guard lock(m_mutex);
        return m_failed;
    }

    // A piece thread: reads pieces until none is left or one has failed.
    void Work()
    {
        for (;;) {
            CJob job;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_jobs.empty() || m_closed || m_failed; });
                if (m_failed || m_jobs.empty())
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            const bool read = ReadPiece(job);
            {
                const std::lock_guard lock(m_mutex);
                m_free.push_back(std::move(job.block));
                m_failed = m_failed || !read;
            }
            m_changed.notify_all();
        }
    }

private:
    // Whether the piece read cleanly and, after the first, held no header key.
    bool ReadPiece(CJob& job) const
    {
        try {
            const ParamDesc* end = m_format.table;
            while (end->key)
                ++end;
            std::vector<ParamDesc> table(m_format.table, end + 1);
            if (job.index > 0) {
                for (ParamDesc& entry : table)
                    entry.flags &= ~PF_REQUIRED;
            }
            if (ParseParameterText(job.context->m_errorText, job.block->bytes.data(), job.block->size, table.data(),
                                   job.context) != 0)
                return false;
            return job.index == 0 || std::none_of(table.begin(), table.end(), [this](const ParamDesc& entry) {
                       return entry.key && entry.count > 0 && m_format.isHeaderKey(entry.key);
                   });
        } catch (...) {
            // Out of memory, say: the file is read again in one piece, which reports it.
            return false;
        }
    }

    const CParamPieceFormat& m_format;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<CJob> m_jobs;
    std::vector<std::unique_ptr<CBlock>> m_free;
    bool m_closed = false;
    bool m_failed = false;
};

// Cuts the stream's bytes into pieces for the queue, each piece but the first opening with a
// record line. False when the stream failed (threw) or a context could not be made.
bool CutPieces(std::streambuf& stream, const CParamPieceFormat& format,
               const std::function<std::unique_ptr<CParamFileContext>()>& makeContext, std::size_t pieceBytes,
               CPieceQueue& queue, std::vector<std::unique_ptr<CParamFileContext>>& contexts)
{
    try {
        const std::string_view key(format.recordKey);
        std::string carry; // the bytes after the last cut, read but in no piece yet
        for (bool more = true; more;) {
            std::unique_ptr<CBlock> block = queue.TakeFreeBlock();
            if (!block)
                return true; // a piece failed: the caller reads the file in one piece
            block->Reserve(carry.size() + pieceBytes);
            std::memcpy(block->bytes.data(), carry.data(), carry.size());
            block->size = carry.size();
            std::size_t cut = 0;
            for (std::size_t want = pieceBytes;;) {
                block->Reserve(block->size + want);
                const std::streamsize got =
                    stream.sgetn(block->bytes.data() + block->size, static_cast<std::streamsize>(want));
                block->size += static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
                if (got < static_cast<std::streamsize>(want)) {
                    more = false; // the end of the data: the rest is the last piece
                    break;
                }
                cut = LastRecordStart(std::string_view(block->bytes.data(), block->size), key);
                if (cut > 0)
                    break;
                want = block->size; // a record longer than a piece: as much again
            }
            if (more) {
                carry.assign(block->bytes.data() + cut, block->size - cut);
                block->size = cut;
            }
            contexts.push_back(makeContext());
            queue.Put(CJob{contexts.size() - 1, std::move(block), contexts.back().get()});
        }
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

CMemoryReadBuf::CMemoryReadBuf(std::string_view bytes)
{
    char* const begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
}

CMemoryReadBuf::pos_type CMemoryReadBuf::seekoff(off_type offset, std::ios_base::seekdir direction,
                                                 std::ios_base::openmode which)
{
    off_type base = 0;
    if (direction == std::ios_base::cur)
        base = gptr() - eback();
    else if (direction == std::ios_base::end)
        base = egptr() - eback();
    return seekpos(pos_type(base + offset), which);
}

CMemoryReadBuf::pos_type CMemoryReadBuf::seekpos(pos_type position, std::ios_base::openmode which)
{
    const off_type at = position;
    if (!(which & std::ios_base::in) || at < 0 || at > egptr() - eback())
        return pos_type(off_type(-1));
    setg(eback(), eback() + at, egptr());
    return position;
}

bool ReadParamFileInPieces(std::istream& in, const CParamPieceFormat& format,
                           const std::function<std::unique_ptr<CParamFileContext>()>& makeContext,
                           std::vector<std::unique_ptr<CParamFileContext>>& contexts,
                           const CParamPieceOptions& options)
{
    contexts.clear();
    if (!CanReadInPieces(format) || !in.good())
        return false;
    std::streambuf* const stream = in.rdbuf();
    std::streampos start(-1);
    std::size_t size = 0;
    try {
        start = stream ? stream->pubseekoff(0, std::ios::cur, std::ios::in) : std::streampos(-1);
        if (start == std::streampos(-1))
            return false;
        const std::streampos end = stream->pubseekoff(0, std::ios::end, std::ios::in);
        if (stream->pubseekpos(start, std::ios::in) != start || end == std::streampos(-1) || end < start)
            return false;
        size = static_cast<std::size_t>(end - start);
    } catch (...) {
        return false;
    }
    const bool forced = options.threads != 0 || options.pieceBytes != 0;
    if (size < kLeastText && !forced)
        return false;
    const std::size_t threads = options.threads ? options.threads : PieceThreads();
    if (threads == 0)
        return false;
    const std::size_t pieceBytes =
        options.pieceBytes ? options.pieceBytes : std::clamp(size / (threads * 8), kLeastPiece, kMostPiece);

    CPieceQueue queue(format, threads + 1);
    std::vector<std::thread> workers;
    try {
        for (std::size_t i = 0; i < threads; ++i)
            workers.emplace_back([&queue] { queue.Work(); });
    } catch (...) {
        // Fewer threads read the pieces; without any the file is read in one piece.
    }
    const bool cut = !workers.empty() && CutPieces(*stream, format, makeContext, pieceBytes, queue, contexts);
    queue.Close(!cut);
    for (std::thread& worker : workers)
        worker.join();
    if (!queue.Failed()) {
        // Each piece counted its lines from 1: the first piece's notes become the whole file's.
        for (std::size_t i = 1; i < contexts.size(); ++i)
            contexts.front()->m_readNotes.Append(contexts[i]->m_readNotes);
        in.setstate(std::ios::eofbit);
        return true;
    }
    contexts.clear();
    try {
        if (stream->pubseekpos(start, std::ios::in) != start)
            in.setstate(std::ios::badbit);
    } catch (...) {
        in.setstate(std::ios::badbit);
    }
    return false;
}
