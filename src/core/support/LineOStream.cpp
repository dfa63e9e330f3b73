#include "support/LineOStream.h"

#include "support/Services.h"

#include <algorithm>

CLineStreamBuf::CLineStreamBuf(CStringArrayEx& target, int controlFlag, int bufferSize)
    : m_target(target)
    , m_dropControl(controlFlag != 0)
    , m_reserve(static_cast<std::size_t>(std::max(bufferSize, 1)))
{
    m_line.reserve(m_reserve);
}

CLineStreamBuf::~CLineStreamBuf()
{
    FlushPendingLine();
}

void CLineStreamBuf::FlushPendingLine()
{
    if (!m_line.empty())
        CloseLine();
}

// The stored line is a copy of its own size: the room reserved for writing stays with the
// stream, not with each of the (maybe hundreds of thousands of) lines.
void CLineStreamBuf::CloseLine()
{
    m_target.push_back(m_line);
    m_line.clear();
}

void CLineStreamBuf::Put(char ch)
{
    if (ch == '\n')
        CloseLine();
    else if (!m_dropControl || static_cast<unsigned char>(ch) >= 32)
        m_line.push_back(ch);
}

CLineStreamBuf::int_type CLineStreamBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        CloseLine();
        return traits_type::not_eof(c);
    }
    Put(traits_type::to_char_type(c));
    return c;
}

std::streamsize CLineStreamBuf::xsputn(const char* s, std::streamsize n)
{
    for (std::streamsize i = 0; i < n; ++i)
        Put(s[i]);
    return n;
}

CLineOStream::CLineOStream(CStringArrayEx& target, int controlFlag, int bufferSize)
    : std::ostream(nullptr)
    , m_buffer(target, controlFlag, bufferSize)
{
    rdbuf(&m_buffer);
}

CLineOStream::~CLineOStream()
{
    m_buffer.FlushPendingLine();
}

CClipboardStream::CClipboardStream()
    : CLineOStream(m_lines, 0, kDefaultBufferSize)
{
}

CClipboardStream::~CClipboardStream()
{
    m_buffer.FlushPendingLine();
    CClipboardService* clipboard = GetClipboardService();
    if (clipboard == nullptr)
        return;
    std::size_t size = 0;
    for (const std::string& line : m_lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    clipboard->SetText(text);
}

void CClipboardInput::Open()
{
    m_stream.reset();
    m_text.clear();
    if (CClipboardService* clipboard = GetClipboardService()) {
        if (!clipboard->GetText(m_text))
            m_text.clear();
        const std::size_t nul = m_text.find('\0');
        if (nul != std::string::npos)
            m_text.resize(nul);
    }
    m_stream = std::make_unique<std::istringstream>(m_text);
}
