#include "support/TextPrinter.h"

#include "support/TextHelpers.h"

#include <algorithm>
#include <ostream>

namespace {

constexpr int kKeepTogether = 1;
constexpr int kHidden = 2;
constexpr int kNotWritten = 4;
constexpr int kFirstHeaderLine = 5;
constexpr int kLaterHeaderLine = 6;
constexpr int kRestartNumbering = 7;
constexpr int kNewPage = 12;
constexpr int kTall = 15;
constexpr int kCentred = 20;
constexpr int kRightAligned = 21;
constexpr int kTextRule = 25;
constexpr int kFullRule = 26;

// A body narrower than this is not worth printing: margins are reduced to leave it.
constexpr int kMinimumBodyWidth = 1000;

bool IsRule(const int flags[32])
{
    return flags[kTextRule] || flags[kFullRule];
}

bool IsHeaderLine(const int flags[32])
{
    return flags[kFirstHeaderLine] || flags[kLaterHeaderLine];
}

// Shrinks two opposite margins in proportion until they leave at least `needed` of `size`.
void FitMargins(int size, int needed, int& a, int& b)
{
    a = std::max(a, 0);
    b = std::max(b, 0);
    const long long room = std::max(0, size - needed);
    const long long sum = static_cast<long long>(a) + b;
    if (sum <= room)
        return;
    a = static_cast<int>(room * a / sum);
    b = static_cast<int>(room - a);
}

} // namespace

void CTextPrinter::SetFont(int slot, const CLogFont& font)
{
    if (slot >= 0 && slot < PrinterFontCount)
        m_fonts[slot] = font;
}

const CLogFont* CTextPrinter::GetFont(int slot) const
{
    if (slot < 0 || slot >= PrinterFontCount || !m_fonts[slot])
        return nullptr;
    return &*m_fonts[slot];
}

int CTextPrinter::GetLineHeight(int slot) const
{
    return slot >= 0 && slot < PrinterFontCount ? m_lineHeights[slot] : 0;
}

// --- PrepareDC -----------------------------------------------------------------------------------

void CTextPrinter::PrepareDC(CTextPrinterMetrics& metrics)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    PrepareDC(metrics, local);
}

void CTextPrinter::PrepareDC(CTextPrinterMetrics& metrics, const std::tm& now)
{
    for (int slot = 0; slot < PrinterFontCount; ++slot)
        m_lineHeights[slot] = std::max(0, metrics.LineHeight(slot));
    SetRectangles(std::max(0, metrics.PageWidth()), std::max(0, metrics.PageHeight()));
    // The formatter grows its buffer, so a long pattern is never cut or overrun.
    m_timeStampText = m_timeStamp.empty() ? std::string() : FormatDateString(m_timeStamp, now);
}

// Margins wider or taller than the paper would leave a body of negative size and pagination
// with no room at all: they shrink until the headers and one body line fit.
void CTextPrinter::ClampMargins(int pageWidth, int pageHeight, int& left, int& right, int& top,
                                int& bottom) const
{
    const int firstHeader = m_showFirstHeader ? 2 * m_lineHeights[PrinterFontFirstHeader] : 0;
    const int laterHeader = m_showLaterHeader ? 2 * m_lineHeights[PrinterFontLaterHeader] : 0;
    const int tallest = std::max(m_lineHeights[PrinterFontBody], m_lineHeights[PrinterFontTall]);
    FitMargins(pageHeight, std::max(firstHeader, laterHeader) + tallest, top, bottom);
    FitMargins(pageWidth, std::min(pageWidth, kMinimumBodyWidth), left, right);
}

void CTextPrinter::SetRectangles(int pageWidth, int pageHeight)
{
    int left = m_leftMargin, right = m_rightMargin, top = m_topMargin, bottom = m_bottomMargin;
    ClampMargins(pageWidth, pageHeight, left, right, top, bottom);
    const CCoreRect page{left, top, pageWidth - right, pageHeight - bottom};
    m_firstBodyRect = m_laterBodyRect = page;
    m_firstHeaderRect = m_laterHeaderRect = CCoreRect{};
    if (m_showFirstHeader) {
        m_firstHeaderRect = page;
        m_firstHeaderRect.bottom = page.top + 2 * m_lineHeights[PrinterFontFirstHeader];
        m_firstBodyRect.top = m_firstHeaderRect.bottom;
    }
    if (m_showLaterHeader) {
        m_laterHeaderRect = page;
        m_laterHeaderRect.bottom = page.top + 2 * m_lineHeights[PrinterFontLaterHeader];
        m_laterBodyRect.top = m_laterHeaderRect.bottom;
    }
}

// --- Paginate ------------------------------------------------------------------------------------

CTextPrinter::LineInfo CTextPrinter::Examine(int line) const
{
    LineInfo info;
    info.text = (*this)[static_cast<std::size_t>(line)];
    StripControlCharsGetFlags(info.text, info.flags, m_keepTabs);
    return info;
}

int CTextPrinter::HeightOf(const LineInfo& info) const
{
    if (info.flags[kTall] && !IsRule(info.flags))
        return m_lineHeights[PrinterFontTall];
    return m_lineHeights[PrinterFontBody];
}

void CTextPrinter::StartPage(int firstLine, int number)
{
    CTextPrinterPage page;
    page.firstLine = page.endLine = firstLine;
    page.pageNumber = number;
    m_pages.push_back(page);
}

int CTextPrinter::AvailableHeight(const CTextPrinterPage& page) const
{
    return page.pageNumber == 1 ? m_firstBodyRect.Height() : m_laterBodyRect.Height();
}

void CTextPrinter::TakeHeaders(CTextPrinterPage& page, const LineInfo& info) const
{
    if (info.flags[kFirstHeaderLine])
        page.firstHeader = info.text;
    if (info.flags[kLaterHeaderLine])
        page.laterHeader = info.text;
}

// Starts a page at line, or reuses the current one while nothing is on it, so that no blank
// page is ever printed; with restart the page is numbered 1 and laid out as a first page.
void CTextPrinter::BreakPage(int line, bool restart, int& used, int& offset)
{
    if (used > 0) {
        StartPage(line, static_cast<int>(m_pages.size()) + 1 - offset);
        used = 0;
    }
    CTextPrinterPage& page = m_pages.back();
    page.firstLine = page.endLine = line;
    if (restart) {
        offset = static_cast<int>(m_pages.size()) - 1;
        page.pageNumber = 1;
    }
}

void CTextPrinter::Paginate()
{
    m_pages.clear();
    const int count = static_cast<int>(size());
    if (count == 0)
        return;
    int offset = 0; // index of the page most recently numbered 1
    int used = 0;
    StartPage(0, 1);
    for (int i = 0; i < count;) {
        const LineInfo info = Examine(i);
        if (IsHeaderLine(info.flags))
            TakeHeaders(m_pages.back(), info);
        if (IsHeaderLine(info.flags) || info.flags[kHidden]) {
            ++i;
            continue;
        }
        if (info.flags[kNewPage] && i >= 1)
            BreakPage(i, info.flags[kRestartNumbering] != 0, used, offset);
        if (info.text.empty() && used == 0) {
            // Empty lines at the top of a page are dropped.
            m_pages.back().firstLine = m_pages.back().endLine = i + 1;
            ++i;
            continue;
        }
        int end = i + 1, height = 0;
        MeasureBlock(i, AvailableHeight(m_pages.back()), end, height);
        if (used > 0 && used + height > AvailableHeight(m_pages.back()))
            BreakPage(i, false, used, offset);
        CTextPrinterPage& page = m_pages.back();
        // Hidden header lines travel inside a kept block; their headers still count.
        for (int k = i + 1; k < end; ++k) {
            const LineInfo inner = Examine(k);
            if (IsHeaderLine(inner.flags))
                TakeHeaders(page, inner);
        }
        page.endLine = end;
        used += height;
        i = end;
    }
}

void CTextPrinter::MeasureBlock(int first, int available, int& end, int& height) const
{
    const int count = static_cast<int>(size());
    end = first + 1;
    if (first < 0 || first >= count) {
        height = 0;
        return;
    }
    const LineInfo head = Examine(first);
    height = HeightOf(head);
    if (!head.flags[kKeepTogether])
        return;
    for (int j = first + 1; j < count; ++j) {
        const LineInfo info = Examine(j);
        if (!info.flags[kKeepTogether] || info.flags[kNewPage])
            break;
        if (info.flags[kHidden]) {
            end = j + 1; // costs no height
            continue;
        }
        if (IsHeaderLine(info.flags))
            break;
        const int lineHeight = HeightOf(info);
        if (height + lineHeight > available)
            break;
        height += lineHeight;
        end = j + 1;
    }
}

// --- printing ------------------------------------------------------------------------------------

std::string CTextPrinter::EffectiveFirstHeader(int page) const
{
    std::string text = m_firstHeader;
    for (int k = 0; k < page && k < GetPageCount(); ++k)
        if (!m_pages[static_cast<std::size_t>(k)].firstHeader.empty())
            text = m_pages[static_cast<std::size_t>(k)].firstHeader;
    return text;
}

std::string CTextPrinter::EffectiveLaterHeader(int page) const
{
    std::string text = m_laterHeader;
    for (int k = 0; k < page && k < GetPageCount(); ++k)
        if (!m_pages[static_cast<std::size_t>(k)].laterHeader.empty())
            text = m_pages[static_cast<std::size_t>(k)].laterHeader;
    return text;
}

bool CTextPrinter::PrintPage(CTextPrinterCanvas& canvas, int page) const
{
    if (page < 1 || page > GetPageCount())
        return false;
    PrintHeaderFooter(canvas, page);
    PrintBody(canvas, page);
    return true;
}

void CTextPrinter::PrintHeaderFooter(CTextPrinterCanvas& canvas, int page) const
{
    if (page < 1 || page > GetPageCount())
        return;
    const CTextPrinterPage& record = m_pages[static_cast<std::size_t>(page - 1)];
    const bool first = record.pageNumber == 1;
    if (first ? !m_showFirstHeader : !m_showLaterHeader)
        return;
    // The header in force is worked out from the page records, so printing pages out of order
    // (page 3, then page 2) still gives every page its own header.
    const int font = first ? PrinterFontFirstHeader : PrinterFontLaterHeader;
    const CCoreRect& header = first ? m_firstHeaderRect : m_laterHeaderRect;
    const std::string text = first ? EffectiveFirstHeader(page) : EffectiveLaterHeader(page);
    canvas.DrawText(font, header.left, header.top, CTextPrinterCanvas::Align::Left, text);
    if (first ? m_firstPageNumber : m_laterPageNumber)
        canvas.DrawText(font, header.right, header.top, CTextPrinterCanvas::Align::Right,
                        "Page " + std::to_string(record.pageNumber));
    DrawFooter(canvas, first ? m_firstBodyRect : m_laterBodyRect, page);
    if (first ? m_firstHeaderRule : m_laterHeaderRule) {
        const int y = header.top + m_lineHeights[font] * 5 / 4;
        canvas.DrawRule(header.left, header.right, y, 0);
    }
}

void CTextPrinter::DrawFooter(CTextPrinterCanvas& canvas, const CCoreRect& body, int physicalPage) const
{
    const int y = body.bottom + 2 * m_lineHeights[PrinterFontBody];
    if (!m_timeStampText.empty())
        canvas.DrawText(PrinterFontTimeStamp, body.left, y, CTextPrinterCanvas::Align::Left, m_timeStampText);
    if (!m_pageNumberFormat.empty())
        canvas.DrawText(PrinterFontBody, (body.left + body.right) / 2, y, CTextPrinterCanvas::Align::Center,
                        FormatPageNumber(m_pageNumberFormat, physicalPage));
}

void CTextPrinter::PrintBody(CTextPrinterCanvas& canvas, int page) const
{
    if (page < 1 || page > GetPageCount())
        return;
    const CTextPrinterPage& record = m_pages[static_cast<std::size_t>(page - 1)];
    const CCoreRect& body = record.pageNumber == 1 ? m_firstBodyRect : m_laterBodyRect;
    const int bodyLine = m_lineHeights[PrinterFontBody];
    const int end = std::min(record.endLine, static_cast<int>(size()));
    int y = body.top;
    for (int i = std::max(record.firstLine, 0); i < end; ++i) {
        const LineInfo info = Examine(i);
        if (info.flags[kHidden] || IsHeaderLine(info.flags))
            continue;
        const bool tall = info.flags[kTall] != 0;
        const int font = tall ? PrinterFontTall : PrinterFontBody;
        if (IsRule(info.flags)) {
            const int right = info.flags[kFullRule] ? body.right : body.left + canvas.TextWidth(font, info.text);
            canvas.DrawRule(body.left, right, y + bodyLine / 2, tall ? kTallRuleWidth : 0);
            y += bodyLine;
            continue;
        }
        CTextPrinterCanvas::Align align = CTextPrinterCanvas::Align::Left;
        int x = body.left;
        if (info.flags[kRightAligned]) {
            align = CTextPrinterCanvas::Align::Right;
            x = body.right;
        } else if (info.flags[kCentred]) {
            align = CTextPrinterCanvas::Align::Center;
            x = (body.left + body.right) / 2;
        }
        canvas.DrawText(font, x, y, align, info.text);
        y += m_lineHeights[font];
    }
}

// --- plain text ----------------------------------------------------------------------------------

bool CTextPrinter::WriteText(std::ostream& out) const
{
    for (std::size_t i = 0; i < size(); ++i) {
        std::string text = (*this)[i];
        int flags[32] = {};
        StripControlCharsGetFlags(text, flags, m_keepTabs);
        if (flags[kNotWritten])
            continue;
        if (flags[kNewPage]) {
            if (i > 0)
                out << '\f';
            continue;
        }
        TrimStringRight(text);
        const int length = static_cast<int>(text.size());
        int blanks = 0;
        if (flags[kRightAligned])
            blanks = m_textWidth - length;
        else if (flags[kCentred])
            blanks = (m_textWidth - length) / 2;
        if (blanks > 0)
            out << std::string(static_cast<std::size_t>(blanks), ' ');
        out << text << '\n';
    }
    return static_cast<bool>(out);
}

// --- page numbers and fonts ----------------------------------------------------------------------

namespace {

constexpr int kMaxPageNumberWidth = 100;

struct IntConversion {
    std::size_t length = 0; // characters of the pattern it takes, 0 when there is none here
    bool leftAlign = false;
    bool zeroPad = false;
    char sign = 0; // '+', ' ' or none
    int width = 0;
};

// Reads "%[flags][width](d|i|u)" at pattern[start] (which is '%').
IntConversion ReadIntConversion(const std::string& pattern, std::size_t start)
{
    IntConversion conversion;
    std::size_t k = start + 1;
    for (; k < pattern.size(); ++k) {
        const char c = pattern[k];
        if (c == '-')
            conversion.leftAlign = true;
        else if (c == '0')
            conversion.zeroPad = true;
        else if (c == '+')
            conversion.sign = '+';
        else if (c == ' ')
            conversion.sign = conversion.sign ? conversion.sign : ' ';
        else
            break;
    }
    int width = 0;
    for (; k < pattern.size() && pattern[k] >= '0' && pattern[k] <= '9'; ++k) {
        width = width * 10 + (pattern[k] - '0');
        if (width > kMaxPageNumberWidth)
            return IntConversion{};
    }
    if (k >= pattern.size() || (pattern[k] != 'd' && pattern[k] != 'i' && pattern[k] != 'u'))
        return IntConversion{};
    conversion.width = width;
    conversion.length = k + 1 - start;
    return conversion;
}

std::string FormatInt(const IntConversion& conversion, int number)
{
    const long long value = number;
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string sign = value < 0 ? "-" : (conversion.sign ? std::string(1, conversion.sign) : "");
    const std::size_t width = static_cast<std::size_t>(conversion.width);
    const std::size_t length = sign.size() + digits.size();
    if (length >= width)
        return sign + digits;
    const std::string fill(width - length, conversion.zeroPad && !conversion.leftAlign ? '0' : ' ');
    if (conversion.leftAlign)
        return sign + digits + fill;
    if (conversion.zeroPad)
        return sign + fill + digits;
    return fill + sign + digits;
}

} // namespace

std::string FormatPageNumber(const std::string& pattern, int number)
{
    // The pattern comes from the user's preferences: it is never handed to printf, so a stray
    // "%s" or "%n" prints as it stands instead of reading memory that is not there.
    std::string out;
    bool converted = false;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] != '%') {
            out += pattern[i++];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        const IntConversion conversion = converted ? IntConversion{} : ReadIntConversion(pattern, i);
        if (conversion.length == 0) {
            out += pattern[i++];
            continue;
        }
        out += FormatInt(conversion, number);
        converted = true;
        i += conversion.length;
    }
    return out;
}

CPrintFontSet MakePrintFontSet(const CLogFont& printerFont)
{
    CPrintFontSet set;
    set.normal = printerFont;
    set.normal.underline = 0;
    set.normal.strikeOut = 0;
    set.italic = set.normal;
    set.italic.italic = 1;
    set.bold = set.normal;
    set.bold.weight = printerFont.weight > 500 ? 900 : 700;
    set.tall = set.bold;
    set.tall.height = set.bold.height * 2;
    return set;
}
