#include "support/ParamFile.h"

#include "support/NumberText.h"
#include "support/ParamFileNotes.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cstring>
#include <istream>
#include <string_view>

namespace {

inline bool IsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') <= 9;
}

inline bool IsLetter(char c)
{
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

bool IsKnownType(int type)
{
    switch (type) {
    case 's': case 'i': case 'l': case 'f': case 'd': case 'c':
        return true;
    default:
        return false;
    }
}

void AppendNumber(std::string& out, long long number)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// "<head><key><middle><line>" without allocating once the buffer has grown.
void SetKeyLineMessage(std::string& out, std::string_view head, const char* key, std::string_view middle,
                       long long line)
{
    out.assign(head);
    out.append(key);
    out.append(middle);
    AppendNumber(out, line);
}

void SetKeyMessage(std::string& out, std::string_view head, const char* key, std::string_view tail)
{
    out.assign(head);
    out.append(key);
    out.append(tail);
}

void SetLineMessage(std::string& out, std::string_view head, long long line)
{
    out.assign(head);
    AppendNumber(out, line);
}

// The first byte at or after p whose code is 0 to 13 (a line break, a NUL byte, a tab ...),
// eight bytes at a time. The buffer guarantees such a byte (the sentinel) and eight readable
// bytes beyond it.
inline char* SkipPlainBytes(char* p)
{
    if constexpr (std::endian::native != std::endian::little) {
        while (static_cast<unsigned char>(*p) > 13)
            ++p;
        return p;
    }
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    for (;;) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        // The lowest flagged byte (the first in memory) is the first byte below 14; flags above
        // it may come from borrows.
        const std::uint64_t below = (word - 14 * kOnes) & ~word & kHighBits;
        if (below != 0)
            return p + (std::countr_zero(below) >> 3);
        p += sizeof word;
    }
}

// Hands out the lines of a stream. The stream's buffer is read in large blocks; each line is
// made NUL-terminated in place (its line break is overwritten), so handlers get plain C text.
class CLineSource {
public:
    enum class Status { Line, End, Error };

    explicit CLineSource(std::istream& in)
        : m_in(&in), m_buffer(in.rdbuf()), m_data(kInitialCapacity + kTail), m_text(m_data.data())
    {
        m_text[0] = '\n'; // the scan sentinel
    }
    // The lines of a text in memory, read in place; kTail writable bytes follow it.
    CLineSource(char* text, std::size_t size) : m_text(text), m_end(size), m_eof(true)
    {
        m_text[m_end] = '\n';
    }
    ~CLineSource() { Finish(); }
    CLineSource(const CLineSource&) = delete;
    CLineSource& operator=(const CLineSource&) = delete;

    // The next line: text..textEnd, with *textEnd == 0. The text ends at the first NUL byte.
    // Text after the last line break is the last line.
    Status Next(char*& text, char*& textEnd);

    // Whether the last line has been handed out, had no line break and held more than blanks;
    // its text as it was handed out (Excerpt).
    bool LastLineUnterminated() const { return m_incomplete; }
    const std::string& LastLineText() const { return m_lastLine; }

    // Whether the buffer holds nothing after the line handed out last but the LF of its CR LF: a
    // line that is not the file's last leaves more there, or comes from the next read of the
    // stream, which may move the bytes of the line before.
    bool Drained() const
    {
        const std::size_t rest = m_end - m_begin;
        return rest == 0 || (rest == 1 && m_skipLf && m_text[m_begin] == '\n');
    }

    // Leaves the stream just after the last line handed out (where it can seek) and marks the end
    // of the data as end of file; once.
    void Finish();

private:
    // The buffer starts small (most files are a few kilobytes) and doubles while reads keep
    // filling it, up to kLargeCapacity; beyond that only a longer line makes it grow.
    static constexpr std::size_t kInitialCapacity = 4 * 1024;
    // After the data: the sentinel and the bytes a word-wide scan may read beyond it.
    static constexpr std::size_t kTail = kParamTextTail;
    static constexpr std::size_t kLargeCapacity = 128 * 1024;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    bool Fill();
    void DropLineFeedAfterCr();
    Status TakeLine(std::size_t stop, char*& text, char*& textEnd);

    std::istream* m_in = nullptr;     // null for a text in memory
    std::streambuf* m_buffer = nullptr;
    std::vector<char> m_data;         // a stream's bytes
    char* m_text = nullptr;           // bytes m_begin..m_end are unread; m_text[m_end] is a sentinel
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::size_t m_scan = 0;   // m_begin..m_scan holds no line break
    std::size_t m_nul = kNone; // the first NUL byte of the current line
    bool m_eof = false;
    bool m_lastReadFull = false;
    bool m_skipLf = false;    // the last line ended with CR: a following LF belongs to it
    bool m_incomplete = false;
    std::string m_lastLine;
    bool m_finished = false;
};

CLineSource::Status CLineSource::Next(char*& text, char*& textEnd)
{
    for (;;) {
        if (m_skipLf) {
            if (m_begin == m_end && !m_eof) {
                if (!Fill())
                    return Status::Error;
                continue;
            }
            if (m_begin < m_end && m_text[m_begin] == '\n')
                m_scan = ++m_begin;
            m_skipLf = false;
        }
        char* const data = m_text;
        char* p = data + m_scan;
        for (;;) {
            p = SkipPlainBytes(p);
            const std::size_t at = static_cast<std::size_t>(p - data);
            if (at >= m_end)
                break;
            if (*p == '\n' || *p == '\r')
                return TakeLine(at, text, textEnd);
            if (*p == '\0' && m_nul == kNone)
                m_nul = at;
            ++p;
        }
        m_scan = m_end;
        if (m_eof) {
            if (m_begin == m_end)
                return Status::End;
            // A last line without a line break is a line like any other: editors write such
            // files, and dropping it lost the line at the next save. A file cut short (a copy
            // interrupted, a full disk) ends so too, so the caller is told.
            const char* const rest = data + m_begin;
            m_incomplete = std::any_of(rest, rest + (m_end - m_begin), [](char c) { return c != ' ' && c != '\t'; });
            const Status status = TakeLine(m_end, text, textEnd); // the sentinel's byte ends the line
            if (m_incomplete)
                m_lastLine = Excerpt(std::string_view(text, static_cast<std::size_t>(textEnd - text)));
            return status;
        }
        if (!Fill())
            return Status::Error;
    }
}

CLineSource::Status CLineSource::TakeLine(std::size_t stop, char*& text, char*& textEnd)
{
    char* const data = m_text;
    if (stop < m_end && data[stop] == '\r')
        m_skipLf = true;
    data[stop] = '\0';
    text = data + m_begin;
    textEnd = data + (m_nul != kNone ? m_nul : stop);
    m_begin = m_scan = (stop < m_end ? stop + 1 : m_end);
    m_nul = kNone;
    return Status::Line;
}

bool CLineSource::Fill()
{
    const std::size_t kept = m_end - m_begin;
    if (!m_in)
        return true; // a text in memory is read from the start (m_eof)
    if (m_begin > 0) {
        std::memmove(m_data.data(), m_data.data() + m_begin, kept);
        m_scan -= m_begin;
        if (m_nul != kNone)
            m_nul -= m_begin;
        m_begin = 0;
        m_end = kept;
    }
    const std::size_t capacity = m_data.size() - kTail;
    if (capacity - kept < capacity / 2 || (m_lastReadFull && capacity < kLargeCapacity))
        m_data.resize(2 * capacity + kTail);
    m_text = m_data.data();
    const std::size_t room = m_data.size() - kTail - m_end;
    std::streamsize got = 0;
    try {
        if (m_buffer)
            got = m_buffer->sgetn(m_data.data() + m_end, static_cast<std::streamsize>(room));
    } catch (...) {
        try {
            m_in->setstate(std::ios::badbit);
        } catch (...) {
        }
        return false;
    }
    if (got <= 0)
        m_eof = true;
    else
        m_end += static_cast<std::size_t>(got);
    m_lastReadFull = got > 0 && static_cast<std::size_t>(got) == room;
    m_text[m_end] = '\n';
    return true;
}

void CLineSource::DropLineFeedAfterCr()
{
    if (m_skipLf && m_begin < m_end && m_text[m_begin] == '\n')
        ++m_begin;
    m_skipLf = false;
}

void CLineSource::Finish()
{
    if (!m_in || m_finished)
        return;
    m_finished = true;
    DropLineFeedAfterCr();
    const std::size_t unread = m_end - m_begin;
    try {
        if (unread > 0 && m_buffer)
            m_buffer->pubseekoff(-static_cast<std::streamoff>(unread), std::ios::cur, std::ios::in);
        else if (m_eof)
            m_in->setstate(std::ios::eofbit);
    } catch (...) {
    }
}

// Step 1 of a read: every entry up to the end entry must have a known type and a handler.
int CheckTable(std::string& errorText, ParamDesc* table, ParamDesc*& endEntry)
{
    ParamDesc* entry = table;
    for (; entry->key; ++entry)
        entry->count = 0;
    endEntry = entry;
    for (entry = table; entry->key; ++entry) {
        if (!IsKnownType(entry->type)) {
            errorText.assign("Bad ptype '");
            errorText.push_back(static_cast<char>(entry->type));
            errorText.append("' for parameter '").append(entry->key).append("'");
            return PF_BAD_TABLE;
        }
        if (!entry->handler) {
            SetKeyMessage(errorText, "No callback for parameter '", entry->key, "'");
            return PF_BAD_TABLE;
        }
    }
    return PF_OK;
}

// The key table as an open-addressing hash index, built at the start of every read: a table has
// tens of keys, a file up to millions of lines. Lookups give the first entry of a key, as a walk
// through the table would.
//
// A key is compared by its first eight bytes as one word, then by the rest. Find reads those
// eight bytes from the line even when the key is shorter: the line buffer always has them.
class CKeyIndex {
public:
    explicit CKeyIndex(ParamDesc* table)
    {
        std::size_t count = 0;
        while (table[count].key)
            ++count;
        std::size_t size = 16;
        while (size < 4 * count)
            size *= 2;
        m_mask = size - 1;
        m_slots.assign(size, Slot{});
        for (ParamDesc* entry = table; entry->key; ++entry) {
            const std::size_t length = std::strlen(entry->key);
            if (length == 0)
                continue; // a line's key is never empty
            char head[kHead] = {};
            std::memcpy(head, entry->key, std::min(length, kHead));
            const std::uint64_t word = Head(head, length);
            std::size_t at = Hash(word, length) & m_mask;
            while (m_slots[at].entry && !Same(m_slots[at], entry->key, word, length))
                at = (at + 1) & m_mask;
            if (!m_slots[at].entry)
                m_slots[at] = Slot{entry, word, length};
        }
    }

    ParamDesc* Find(const char* key, std::size_t length) const
    {
        const std::uint64_t word = Head(key, length);
        for (std::size_t at = Hash(word, length) & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (!slot.entry || Same(slot, key, word, length))
                return slot.entry;
        }
    }

private:
    static constexpr std::size_t kHead = sizeof(std::uint64_t);

    struct Slot {
        ParamDesc* entry = nullptr;
        std::uint64_t head = 0; // the key's first eight bytes, zeros after a shorter key
        std::size_t length = 0;
    };

    // The first eight bytes of a key (eight readable bytes at key) with those beyond its end
    // cleared.
    static std::uint64_t Head(const char* key, std::size_t length)
    {
        std::uint64_t word;
        std::memcpy(&word, key, sizeof word);
        if (length >= kHead)
            return word;
        std::uint64_t keep = (std::uint64_t{1} << (8 * length)) - 1;
        if constexpr (std::endian::native != std::endian::little)
            keep = ~(~std::uint64_t{0} >> (8 * length));
        return word & keep;
    }

    static std::size_t Hash(std::uint64_t head, std::size_t length)
    {
        std::uint64_t h = (head ^ length) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }

    static bool Same(const Slot& slot, const char* key, std::uint64_t head, std::size_t length)
    {
        if (slot.head != head || slot.length != length)
            return false;
        for (std::size_t i = kHead; i < length; ++i) {
            if (slot.entry->key[i] != key[i])
                return false;
        }
        return true;
    }

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

bool InRange(const ParamDesc& entry, double number)
{
    if ((entry.flags & PF_MIN_INCL) && number < entry.min)
        return false;
    if ((entry.flags & PF_MIN_EXCL) && number <= entry.min)
        return false;
    if ((entry.flags & PF_MAX_INCL) && number > entry.max)
        return false;
    if ((entry.flags & PF_MAX_EXCL) && number >= entry.max)
        return false;
    return true;
}

// The common short forms of a number, read without the general parsers (ParseInt, ParseLong,
// ParseDouble), which take a fifth of a read: an optional sign, one to nine digits and, where a
// point is allowed, a point and up to nine more digits, fifteen digits at most, no exponent.
// Such a number is exact as a whole number below 2^53, and dividing it by an exact power of ten
// rounds correctly, as the general parser does, so both give the same value. Anything else
// (more digits, an exponent, no digit before the point, anything after the number, blanks
// included) gives false and goes to the general parser, which also tells whether the text is
// wholly a number. The text ends at a NUL byte.
struct ShortNumber {
    std::uint64_t digits = 0;
    int decimals = 0;
    bool negative = false;
};

inline bool ReadShortNumber(const char* p, bool point, ShortNumber& number)
{
    constexpr int kMostDigits = 9;
    if (*p == '-' || *p == '+') {
        number.negative = *p == '-';
        ++p;
    }
    const char* const start = p;
    // More digits than kMostDigits wrap the sum harmlessly: the number is refused below.
    while (IsDigit(*p))
        number.digits = number.digits * 10 + static_cast<unsigned>(*p++ - '0');
    const auto whole = p - start;
    if (whole == 0 || whole > kMostDigits)
        return false;
    if (!point)
        return *p == '\0';
    if (*p == '.') {
        const char* const fraction = ++p;
        while (IsDigit(*p))
            number.digits = number.digits * 10 + static_cast<unsigned>(*p++ - '0');
        number.decimals = static_cast<int>(p - fraction);
        if (number.decimals > kMostDigits || whole + number.decimals > 15)
            return false;
    }
    return *p == '\0';
}

inline double ShortNumberValue(const ShortNumber& number)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double value = static_cast<double>(number.digits) / kPowers[number.decimals];
    return number.negative ? -value : value;
}

inline long ShortNumberWhole(const ShortNumber& number)
{
    const long value = static_cast<long>(number.digits);
    return number.negative ? -value : value;
}

// Converts, checks and hands over one known key's value (value..valueEnd, NUL at valueEnd).
int HandleValue(std::string& errorText, ParamDesc& entry, CParamFileContext* context, char* value,
                char* valueEnd, long long line)
{
    union {
        int i;
        long l;
        float f;
        double d;
    } converted;
    const void* argument = value;
    double number = 0;
    const std::string_view text(value, static_cast<std::size_t>(valueEnd - value));
    ShortNumber shortNumber;
    switch (entry.type) {
    case 's':
        if (!(entry.flags & PF_KEEP_BLANKS)) {
            while (valueEnd > value && IsWhitespaceChar(valueEnd[-1]))
                --valueEnd;
            *valueEnd = '\0';
        }
        break;
    case 'c':
        number = static_cast<signed char>(value[0]);
        break;
    case 'i':
        converted.i = ReadShortNumber(value, false, shortNumber) ? static_cast<int>(ShortNumberWhole(shortNumber))
                                                                 : ReadNotedWholeValue<int>(context, text, line);
        number = converted.i;
        argument = &converted.i;
        break;
    case 'l':
        converted.l = ReadShortNumber(value, false, shortNumber) ? ShortNumberWhole(shortNumber)
                                                                 : ReadNotedWholeValue<long>(context, text, line);
        number = static_cast<double>(converted.l);
        argument = &converted.l;
        break;
    case 'f':
        number = ReadShortNumber(value, true, shortNumber) ? ShortNumberValue(shortNumber)
                                                           : ReadNotedRealValue(context, text, line, FLT_MAX);
        converted.f = NarrowToFloat(number);
        argument = &converted.f;
        break;
    case 'd':
        number = ReadShortNumber(value, true, shortNumber) ? ShortNumberValue(shortNumber)
                                                           : ReadNotedRealValue(context, text, line, DBL_MAX);
        converted.d = number;
        argument = &converted.d;
        break;
    }
    if (entry.type != 's' && !InRange(entry, number)) {
        if (!(entry.flags & PF_NOTE_RANGE)) {
            SetKeyLineMessage(errorText, "Parameter '", entry.key, "' out of range, line ", line);
            return PF_OUT_OF_RANGE;
        }
        NoteOutOfRange(context, entry, number, line);
    }
    // The default message of a failing handler is written only when the handler fails without
    // a text of its own: formatting it before every call would cost a fifth of a read.
    errorText.clear();
    const int result = entry.handler(context, entry.key, argument);
    if (result != 0 && errorText.empty())
        SetKeyLineMessage(errorText, "Error: parameter '", entry.key, "', line ", line);
    return result;
}

// One line of the file: 0 to go on (keyLine tells whether it was a key line, endsFile whether its
// key may end a file) or a result that ends the read. The line is split in place as
// SplitParameterLine would split it.
int HandleLine(std::string& errorText, const CKeyIndex& keys, CParamFileContext* context, char* text,
               char* textEnd, long long line, bool& keyLine, bool& endsFile)
{
    keyLine = false;
    endsFile = false;
    while (IsWhitespaceChar(*text)) // the NUL at textEnd stops it
        ++text;
    if (textEnd - text < 3 || !IsLetter(*text))
        return PF_OK;
    // Keys are short: a plain loop beats a library call here.
    char* equals = text + 1;
    while (equals < textEnd && *equals != '=')
        ++equals;
    if (equals == textEnd) {
        SetLineMessage(errorText, "Parse error in line ", line);
        return PF_PARSE_ERROR;
    }
    keyLine = true;
    char* keyEnd = equals;
    while (IsWhitespaceChar(keyEnd[-1]))
        --keyEnd; // stops at the key's first character, a letter
    ParamDesc* entry = keys.Find(text, static_cast<std::size_t>(keyEnd - text));
    if (!entry)
        return PF_OK;
    endsFile = (entry->flags & PF_ENDS_FILE) != 0;
    if (entry->count < INT32_MAX)
        ++entry->count;
    if (entry->count >= 2 && (entry->flags & PF_ONCE)) {
        SetKeyLineMessage(errorText, "Multiple occurrences of parameter '", entry->key, "', line ", line);
        return PF_MULTIPLE;
    }
    char* value = equals + 1;
    while (IsWhitespaceChar(*value))
        ++value;
    return HandleValue(errorText, *entry, context, value, textEnd, line);
}

// Steps after the last line: the end hook, then the required keys.
int FinishRead(std::string& errorText, ParamDesc* table, ParamDesc* endEntry, CParamFileContext* context)
{
    if (endEntry->handler) {
        errorText.assign("Validation error at end of file");
        const int result = endEntry->handler(context, nullptr, &errorText);
        if (result != 0)
            return result;
    }
    for (ParamDesc* entry = table; entry->key; ++entry) {
        if ((entry->flags & PF_REQUIRED) && entry->count == 0) {
            SetKeyMessage(errorText, "Parameter '", entry->key, "' not found");
            return PF_NOT_FOUND;
        }
    }
    errorText.clear();
    return PF_OK;
}

} // namespace

int SplitParameterLine(char* line, char** key, char** value)
{
    if (!line || !*line)
        return 1;
    char* start = line;
    while (*start && IsWhitespaceChar(*start))
        ++start;
    if (!*start || *start == '=' || !start[1])
        return 1;
    char* equals = std::strchr(start + 1, '=');
    if (!equals)
        return 1;
    char* keyEnd = equals;
    while (keyEnd > start && IsWhitespaceChar(keyEnd[-1]))
        --keyEnd;
    *equals = '\0';
    *keyEnd = '\0';
    char* valueStart = equals + 1;
    while (*valueStart && IsWhitespaceChar(*valueStart))
        ++valueStart;
    *key = start;
    *value = valueStart;
    return 0;
}

namespace {

// Steps 2 and 3 of a read, after the table's check: every line, then FinishRead.
int ReadLines(std::string& errorText, CLineSource& source, ParamDesc* table, ParamDesc* endEntry,
              CParamFileContext* context, int lineLimit)
{
    CParamReadNotes* const notes = context ? &context->m_readNotes : nullptr;
    if (notes)
        *notes = CParamReadNotes();
    long long line = 0;
    bool reachedEnd = false;
    // Whether the last line held more than blanks and no key that ends a file; its text, kept
    // only of a line that may be the last (Drained), once per block of the stream.
    bool endsInRecord = false;
    std::string lastText;
    {
        const CKeyIndex keys(table);
        char* text = nullptr;
        char* textEnd = nullptr;
        for (;;) {
            const auto status = source.Next(text, textEnd);
            if (status == CLineSource::Status::End) {
                reachedEnd = true;
                break;
            }
            if (status == CLineSource::Status::Error) {
                SetLineMessage(errorText, "Read error after line ", line);
                return PF_READ_ERROR;
            }
            ++line;
            const bool mayBeLast = source.Drained() &&
                                   std::any_of(text, textEnd, [](char c) { return !IsWhitespaceChar(c); });
            if (mayBeLast)
                lastText = Excerpt(std::string_view(text, static_cast<std::size_t>(textEnd - text)));
            bool keyLine = false;
            bool endsFile = false;
            if (const int result = HandleLine(errorText, keys, context, text, textEnd, line, keyLine, endsFile);
                result != 0)
                return result;
            endsInRecord = mayBeLast && !endsFile;
            if (keyLine && lineLimit >= 1 && line >= lineLimit)
                break;
        }
    }
    if (notes) {
        notes->lines = line;
        if (source.LastLineUnterminated()) {
            if (notes->lastLineUnterminated.Add(line))
                notes->lastLineUnterminated.text = source.LastLineText();
        } else if (reachedEnd && endsInRecord && notes->endsInRecord.Add(line)) {
            notes->endsInRecord.text = std::move(lastText);
        }
    }
    source.Finish();
    return FinishRead(errorText, table, endEntry, context);
}

} // namespace

int ParseParameterFile(std::string& errorText, std::istream& in, ParamDesc* table, CParamFileContext* context,
                       int lineLimit)
{
    ParamDesc* endEntry = nullptr;
    if (const int result = CheckTable(errorText, table, endEntry); result != PF_OK)
        return result;
    if (in.fail()) {
        SetLineMessage(errorText, "Read error after line ", 0);
        return PF_READ_ERROR;
    }
    CLineSource source(in);
    return ReadLines(errorText, source, table, endEntry, context, lineLimit);
}

int ParseParameterText(std::string& errorText, char* text, std::size_t size, ParamDesc* table,
                       CParamFileContext* context)
{
    ParamDesc* endEntry = nullptr;
    if (const int result = CheckTable(errorText, table, endEntry); result != PF_OK)
        return result;
    CLineSource source(text, size);
    return ReadLines(errorText, source, table, endEntry, context, 0);
}
