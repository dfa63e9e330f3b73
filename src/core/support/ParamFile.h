#pragma once

// The table-driven reader of "key = value" files.
//
// Every database file and the preferences file is a text of lines "key = value". A reader
// describes the keys it knows in a static key table of ParamDesc entries; ParseParameterFile
// reads a stream line by line, converts each known key's value by the entry's type, checks how
// often the key occurs and whether the value lies in range, and calls the entry's handler with
// the converted value. The reader knows nothing of records: the handlers build them in the
// context object (a CParamFileContext) that the caller hands in.
//
// Usage:
//
//     class CGlazeList : public CParamFileContextOf<CGlaze> { ... };   // m_records, m_errorText
//
//     static int OnName(CParamFileContext* ctx, const char*, const void* value)
//     {
//         auto* list = static_cast<CGlazeList*>(ctx);
//         list->m_records.push_back(std::make_unique<CGlaze>(ParamText(value)));
//         return 0;
//     }
//     static int OnCone(CParamFileContext* ctx, const char*, const void* value)
//     {
//         auto* list = static_cast<CGlazeList*>(ctx);
//         if (list->NoCurrentRecord())
//             return -1;                          // a field key before the first "name"
//         list->CurrentRecord().cone = ParamInt(value);
//         return 0;
//     }
//     static int OnEnd(CParamFileContext*, const char*, const void*) { return 0; }
//
//     static ParamDesc s_glazeKeys[] = {        // static, not const: the counts change
//         {"name", 's', OnName, 0, 0, 0, 0},
//         {"cone", 'i', OnCone, PF_MIN_INCL | PF_MAX_INCL, -10, 14, 0},
//         {nullptr, 0, OnEnd, 0, 0, 0, 0},       // end entry; its handler is the end hook
//     };
//
//     int result = ParseParameterFile(list.m_errorText, stream, s_glazeKeys, &list, 0);
//     // result 0: read; otherwise list.m_errorText holds the message.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CParamFileContext;

// A key handler: (context, the entry's key, pointer to the converted value) -> 0 to go on,
// anything else ends the read with that code. The value points to, by the entry's type:
//   's' the value text (NUL-terminated; valid only during the call)
//   'c' the same text (the character is its first character)
//   'i' an int, 'l' a long, 'f' a float, 'd' a double.
// The end hook (the handler of the table's end entry) is called once after the last line with
// a null key and a pointer to the error buffer (the std::string the caller passed, holding
// "Validation error at end of file"); a hook that wants its own message writes it through its
// context's m_errorText, which is that same buffer in every reader.
using ParamHandler = int (*)(CParamFileContext* context, const char* key, const void* value);

// Flags of a key-table entry.
constexpr std::uint32_t PF_MIN_INCL = 0x01;   // value >= min
constexpr std::uint32_t PF_MIN_EXCL = 0x02;   // value > min
constexpr std::uint32_t PF_MAX_INCL = 0x04;   // value <= max
constexpr std::uint32_t PF_MAX_EXCL = 0x08;   // value < max
constexpr std::uint32_t PF_KEEP_BLANKS = 0x10; // a string value keeps its trailing whitespace
constexpr std::uint32_t PF_REQUIRED = 0x20;   // the key must occur at least once
constexpr std::uint32_t PF_ONCE = 0x40;       // the key may occur at most once
// With PF_MIN_INCL | PF_MAX_INCL: a value outside the range is handed over as it stands and noted
// (CParamReadNotes::outOfRange) instead of ending the read; for settings that what uses them
// bounds.
constexpr std::uint32_t PF_NOTE_RANGE = 0x80;
// The key a file of the format may end with, its last line, where every other record ends with a
// blank line: a file that ends right after it ends complete (CParamReadNotes::endsInRecord).
constexpr std::uint32_t PF_ENDS_FILE = 0x100;

// One entry of a key table. Tables are static arrays ended by an entry with a null key; only
// the count changes at run time (it is reset to 0 at the start of every read).
struct ParamDesc {
    const char* key;       // matched exactly, case-sensitive; null ends the table
    int type;              // 's', 'i', 'l', 'f', 'd' or 'c'
    ParamHandler handler;  // required for every entry but the end entry
    std::uint32_t flags;   // PF_* bits
    double min;            // bound of PF_MIN_INCL / PF_MIN_EXCL
    double max;            // bound of PF_MAX_INCL / PF_MAX_EXCL
    std::int32_t count;    // occurrences of the key in the current read
};

// One kind of thing a read noticed in its file and read on past: how often, and the first time.
struct CParamNote {
    long long count = 0;
    long long line = 0;   // the first time's line in the file
    std::string text;     // what the first time was, without its line

    // Counts one more; true for the first, whose line it keeps (the caller then sets text).
    bool Add(long long atLine);
};

// What a read noticed in its file without stopping, for the user to be told once per file
// (ReportReadNotes): a file cut short, numbers that are not numbers, settings out of range. The
// values were read all the same, so a save writes them as they were read.
struct CParamReadNotes {
    long long lines = 0;        // the lines read
    // The data ended after a line without a line break that held more than blanks: the line was
    // read like any other, but a file cut short ends so too. text: the line (its first 200 bytes).
    CParamNote lastLineUnterminated;
    // The data ended in the middle of a record: its last line was no blank line (the line every
    // record of the program's own files ends with) nor a key that ends a file (PF_ENDS_FILE),
    // and had its line break (else lastLineUnterminated tells). A file cut short right after a
    // line break ends so. text: the last line (its first 200 bytes).
    CParamNote endsInRecord;
    // Values of numeric keys that are not wholly a number of the key's type, read by the prefix
    // rules of NumberText.h (an empty value, read as 0, is none). text: "\"1,5\" is not a
    // number; read as 1", "... is not a whole number ...", "... is too large a number ...".
    CParamNote notNumbers;
    // Values outside the range of a PF_NOTE_RANGE key. text: "<record>: <key> = <value> is
    // outside its range, <min> to <max>; kept as it is, it is used as <bound>".
    CParamNote outOfRange;

    // Adds the notes of the text that followed this one (the next piece of a file read in pieces).
    void Append(const CParamReadNotes& next);
};

// The object that the handlers fill. Every reading object (a database, the preferences, the
// header probe) derives from it. The reader itself only hands the pointer to the handlers.
//
// m_errorText is the error buffer: ParseParameterFile writes every outcome's message into it
// (and empties it on success); a handler that wants its own message writes it there before
// returning non-zero.
//
// NoCurrentRecord / NoCurrentItem tell a handler whether there is a record (a sub-item) to
// fill; without an override there never is. CParamFileContextOf below adds the typed
// CurrentRecord / CurrentItem for contexts that own their records as pointer arrays; a context
// that stores them otherwise overrides the two tests and writes its own typed accessors.
//
// m_readNotes is what the last read noticed without stopping, for the caller to tell the user.
class CParamFileContext {
public:
    virtual ~CParamFileContext() = default;

    virtual bool NoCurrentRecord() const { return true; }
    virtual bool NoCurrentItem() const { return true; }
    // The record being filled as a note names it ("template \"Oxide bars\""), or nothing.
    virtual std::string DescribeCurrentRecord() const { return std::string(); }

    std::string m_errorText;
    CParamReadNotes m_readNotes;
};

struct CNoParamItem {};

// A context owning its records (in file order; the last one is being filled) and, when the
// format has them, a second array of sub-items.
template <class Record, class Item = CNoParamItem>
class CParamFileContextOf : public CParamFileContext {
public:
    bool NoCurrentRecord() const override { return m_records.empty(); }
    bool NoCurrentItem() const override { return m_items.empty(); }

    // Only when the matching test above is false.
    Record& CurrentRecord() { return *m_records.back(); }
    Item& CurrentItem() { return *m_items.back(); }

    std::vector<std::unique_ptr<Record>> m_records;
    std::vector<std::unique_ptr<Item>> m_items;
};

// Typed views of a handler's value pointer.
inline const char* ParamText(const void* value) { return static_cast<const char*>(value); }
inline char ParamChar(const void* value) { return *static_cast<const char*>(value); }
inline int ParamInt(const void* value) { return *static_cast<const int*>(value); }
inline long ParamLong(const void* value) { return *static_cast<const long*>(value); }
inline float ParamFloat(const void* value) { return *static_cast<const float*>(value); }
inline double ParamDouble(const void* value) { return *static_cast<const double*>(value); }

// Result codes of ParseParameterFile (a handler's own non-zero result is passed on as it is).
enum ParamFileResult : int {
    PF_OK = 0,
    PF_PARSE_ERROR = 1,     // "Parse error in line %d"
    PF_READ_ERROR = 2,      // "Read error after line %d": the stream failed (not end of file)
    PF_OUT_OF_RANGE = 3,    // "Parameter '%s' out of range, line %d"
    PF_MULTIPLE = 4,        // "Multiple occurrences of parameter '%s', line %d"
    PF_NOT_FOUND = 5,       // "Parameter '%s' not found"
    PF_BAD_TABLE = 6,       // "Bad ptype '%c' for parameter '%s'" / "No callback for parameter '%s'"
};

// Reads "key = value" lines from in, from where the stream stands.
//
// Lines end at LF, CR LF or a lone CR, and a line of any length is read whole (the text of a
// line ends at a NUL byte, if it holds one). A last line without a line break is read like any
// other (editors write such files), and noted in the context's m_readNotes, since a file cut
// short ends so too; so are numbers that are not numbers and values kept out of range (the
// caller tells the user: ReportReadNotes). Lines count from 1, skipped ones included. A line
// that, after its leading whitespace, is shorter than 3 characters or does not begin with a
// letter is skipped; any other line must split into key and value (SplitParameterLine) or the
// read fails with code 1. A numeric value is converted by the prefix rules of NumberText.h
// ("12abc" is 12) and range-checked as converted.
// Unknown keys are ignored. With lineLimit >= 1, reading stops after the first key line whose
// number is at least lineLimit. At the end the end hook runs, then every required key is
// checked. A stream that is already failed, or whose buffer throws, gives code 2.
//
// The reader reads the stream's buffer in large blocks; when it stops, it seeks the stream
// back to just after the last line it handled where the stream allows that. It sets eofbit
// when it reached the end of the data. It throws nothing of its own (a handler may).
int ParseParameterFile(std::string& errorText, std::istream& in, ParamDesc* table,
                       CParamFileContext* context, int lineLimit = 0);

// The room a text read in place must have after its bytes.
constexpr std::size_t kParamTextTail = 1 + sizeof(std::uint64_t);

// ParseParameterFile over a text in memory (no line limit), read in place: its line breaks and
// some blanks become NUL bytes, and the kParamTextTail bytes after it must be writable (the reader
// puts a sentinel there).
int ParseParameterText(std::string& errorText, char* text, std::size_t size, ParamDesc* table,
                       CParamFileContext* context);

// Splits a NUL-terminated line in place: key = the text from the first non-blank up to the
// first '=' (its trailing whitespace removed), value = the text after that '=' with its
// leading whitespace skipped (may be empty, may hold further '='). Returns 0 with both
// pointers set, or 1 when the line is empty, blank, begins with '=', holds no '=' after the
// key's first character, or is a single character.
int SplitParameterLine(char* line, char** key, char** value);
