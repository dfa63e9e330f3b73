#pragma once

// Output streams that collect what is written into a list of lines, and the clipboard as a
// stream: reports and exports are written with << and end up as a CStringArrayEx, on the
// clipboard, or both.

#include "support/StringArrayEx.h"

#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

// A stream buffer that collects lines: '\n' closes a line, and a line of any length stays whole
// (bufferSize is only the room reserved for a line). With the control-character flag set,
// characters below 32 (tabs too) are dropped.
class CLineStreamBuf : public std::streambuf {
public:
    CLineStreamBuf(CStringArrayEx& target, int controlFlag, int bufferSize);
    ~CLineStreamBuf() override;
    CLineStreamBuf(const CLineStreamBuf&) = delete;
    CLineStreamBuf& operator=(const CLineStreamBuf&) = delete;

    // Adds a pending unterminated line to the target (nothing when there is none). Called on
    // destruction, so text after the last line break is never lost.
    void FlushPendingLine();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    void CloseLine();
    void Put(char ch);

    CStringArrayEx& m_target;
    bool m_dropControl;
    std::size_t m_reserve; // room reserved for the line being written
    std::string m_line;
};

class CLineOStream : public std::ostream {
public:
    static constexpr int kDefaultBufferSize = 4096;

    CLineOStream(CStringArrayEx& target, int controlFlag, int bufferSize = kDefaultBufferSize);
    ~CLineOStream() override; // adds a pending unterminated line to the target
    CLineOStream(const CLineOStream&) = delete;
    CLineOStream& operator=(const CLineOStream&) = delete;

protected:
    CLineStreamBuf m_buffer;
};

// Holds the lines of a CClipboardStream; a base class so that it exists before the stream.
class CClipboardStreamLines {
protected:
    CStringArrayEx m_lines;
};

// A line stream (control characters kept) whose lines, each followed by "\r\n", replace the
// clipboard's text when it is destroyed. Without a clipboard service nothing happens.
class CClipboardStream : private CClipboardStreamLines, public CLineOStream {
public:
    CClipboardStream();
    ~CClipboardStream() override;

    const CStringArrayEx& Lines() const { return m_lines; }
};

// The clipboard's text as an input stream (imports whose source is the clipboard).
class CClipboardInput {
public:
    CClipboardInput() = default;
    CClipboardInput(const CClipboardInput&) = delete;
    CClipboardInput& operator=(const CClipboardInput&) = delete;

    // Copies the clipboard's text (up to a NUL; empty when there is none or no service) and
    // opens a stream over the copy, replacing any earlier one.
    void Open();
    // The stream to read from; null before Open.
    std::istream* Stream() { return m_stream.get(); }
    const std::string& Text() const { return m_text; }

    std::unique_ptr<std::istringstream> m_stream;

private:
    std::string m_text;
};
