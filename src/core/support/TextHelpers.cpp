#include "support/TextHelpers.h"

#include "support/CompareNoCase.h"
#include "support/NumberText.h"

#include <algorithm>
#include <climits>
#include <ctime>

// --- whitespace -------------------------------------------------------------------------------

const char* SkipWhitespace(const char* text)
{
    while (*text != '\0' && IsWhitespaceChar(*text))
        ++text;
    return text;
}

char* SkipWhitespace(char* text)
{
    return const_cast<char*>(SkipWhitespace(static_cast<const char*>(text)));
}

std::size_t CountLeadingWhitespace(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && IsWhitespaceChar(text[n]))
        ++n;
    return n;
}

static std::size_t CountTrailingWhitespace(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && IsWhitespaceChar(text[text.size() - 1 - n]))
        ++n;
    return n;
}

std::string& TrimStringLeft(std::string& text)
{
    text.erase(0, CountLeadingWhitespace(text));
    return text;
}

std::string& TrimStringRight(std::string& text)
{
    text.resize(text.size() - CountTrailingWhitespace(text));
    return text;
}

std::string& TrimString(std::string& text)
{
    return TrimStringLeft(TrimStringRight(text));
}

std::string& TrimBufferLeft(std::string& text) { return TrimStringLeft(text); }
std::string& TrimBufferRight(std::string& text) { return TrimStringRight(text); }
std::string& TrimBuffer(std::string& text) { return TrimString(text); }

std::string GetLeadingWhitespace(std::string_view text)
{
    return std::string(CountLeadingWhitespace(text), ' ');
}

std::string GetTrailingWhitespace(std::string_view text)
{
    return std::string(CountTrailingWhitespace(text), ' ');
}

// --- values of "key = value" lines ---------------------------------------------------------------

void AppendOneLineValue(std::string& text, std::string_view value)
{
    const std::size_t start = text.size();
    text.append(value);
    for (std::size_t i = start; i < text.size(); ++i) {
        char& c = text[i];
        if (c == '\n' || c == '\r' || c == '\0')
            c = ' ';
    }
}

std::string OneLineValue(std::string_view value)
{
    std::string text;
    AppendOneLineValue(text, value);
    return text;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// --- control characters -----------------------------------------------------------------------

bool IsControlChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 31;
}

std::string& StripControlCharsString(std::string& text, bool keepTabs)
{
    std::erase_if(text, [keepTabs](char c) { return IsControlChar(c) && !(keepTabs && c == '\t'); });
    return text;
}

std::string& StripControlChars(std::string& text, bool keepTabs)
{
    return StripControlCharsString(text, keepTabs);
}

void GetControlCharFlags(std::string_view text, int flags[32])
{
    std::fill(flags, flags + 32, 0);
    for (char c : text) {
        if (IsControlChar(c))
            flags[static_cast<unsigned char>(c)] = 1;
    }
}

void GetControlCharFlagsString(std::string_view text, int flags[32])
{
    GetControlCharFlags(text, flags);
}

std::string& StripControlCharsGetFlagsString(std::string& text, int flags[32], bool keepTabs)
{
    GetControlCharFlags(text, flags);
    return StripControlCharsString(text, keepTabs);
}

std::string& StripControlCharsGetFlags(std::string& text, int flags[32], bool keepTabs)
{
    return StripControlCharsGetFlagsString(text, flags, keepTabs);
}

// --- characters, quotes, padding --------------------------------------------------------------

bool ContainsOnlyChars(std::string_view text, std::string_view set)
{
    return text.find_first_not_of(set) == std::string_view::npos;
}

int ReplaceCharInString(std::string& text, char from, char to)
{
    int count = 0;
    for (char& c : text) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

int ReplaceChar(std::string& text, char from, char to)
{
    return ReplaceCharInString(text, from, to);
}

std::string& StripQuotesString(std::string& text)
{
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    return text;
}

std::string& StripQuotes(std::string& text) { return StripQuotesString(text); }

std::string& PadOrTruncate(std::string& text, int width, char fill)
{
    text.resize(static_cast<std::size_t>(std::max(width, 0)), fill);
    return text;
}

std::string& PadRightString(std::string& text, int width, char fill)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.append(static_cast<std::size_t>(width) - text.size(), fill);
    return text;
}

std::string& ExpandTabsString(std::string& text, int tabSize)
{
    if (text.find('\t') == std::string::npos)
        return text;
    const std::size_t size = static_cast<std::size_t>(std::clamp(tabSize, 1, 100));
    std::string out;
    out.reserve(text.size() + size * 2);
    for (char c : text) {
        if (c == '\t')
            out.append(size - out.size() % size, ' ');
        else
            out.push_back(c);
    }
    text = std::move(out);
    return text;
}

namespace {

// The first piece of a line cut for wrapping: [begin, end) of the line, and where the rest
// begins (npos when the line fits).
struct CWrapCut {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t rest = std::string_view::npos;
};

// Cuts line (no whitespace at its right end) at whitespace to at most w characters, or hard
// when a word is longer. A line whose indent fills the width loses its indent first.
CWrapCut CutForWrapping(std::string_view line, std::size_t w)
{
    CWrapCut cut{0, line.size()};
    if (line.size() <= w)
        return cut;
    if (CountLeadingWhitespace(line) >= w) {
        cut.begin = CountLeadingWhitespace(line);
        if (line.size() - cut.begin <= w)
            return cut;
    }
    const std::string_view text = line.substr(cut.begin);
    const std::size_t lead = CountLeadingWhitespace(text);
    std::size_t i = w - 1;
    while (i > lead && !IsWhitespaceChar(text[i]))
        --i;
    const bool atBlank = i > lead;
    cut.end = cut.begin + (atBlank ? i : w);
    cut.rest = cut.begin + (atBlank ? i + 1 : w);
    if (atBlank)
        while (cut.end > cut.begin && IsWhitespaceChar(line[cut.end - 1]))
            --cut.end;
    if (!atBlank || i == w - 1)
        cut.rest += CountLeadingWhitespace(line.substr(cut.rest));
    return cut;
}

} // namespace

void WrapTextLine(std::string& line, std::string& rest, int width)
{
    rest.clear();
    if (width < 1)
        return;
    TrimStringRight(line);
    const CWrapCut cut = CutForWrapping(line, static_cast<std::size_t>(width));
    if (cut.rest != std::string_view::npos)
        rest = line.substr(cut.rest);
    line = line.substr(cut.begin, cut.end - cut.begin);
}

void AppendWrappedLines(std::string_view line, int width, std::vector<std::string>& out)
{
    if (width < 1) {
        out.emplace_back(line);
        return;
    }
    line.remove_suffix(CountTrailingWhitespace(line));
    for (;;) {
        const CWrapCut cut = CutForWrapping(line, static_cast<std::size_t>(width));
        out.emplace_back(line.substr(cut.begin, cut.end - cut.begin));
        if (cut.rest == std::string_view::npos)
            return;
        line.remove_prefix(cut.rest);
    }
}

// --- names, numbers, dates --------------------------------------------------------------------

void SplitNameAndCode(std::string& text, std::string& code)
{
    const std::size_t open = text.find('(');
    if (open == std::string::npos) {
        code.clear();
    } else {
        code = text.substr(open);
        text.resize(open);
    }
    TrimStringRight(text);
}

std::string GetNamePart(std::string_view text)
{
    std::string name(text.substr(0, text.find('(')));
    return TrimStringRight(name);
}

int BracketParentheses(std::string& text)
{
    return ReplaceChar(text, '(', '[') + ReplaceChar(text, ')', ']');
}

bool TakeLastWord(std::string& text, std::string& word)
{
    std::size_t i = text.size();
    while (i > 0 && !IsWhitespaceChar(text[i - 1]))
        --i;
    if (i == 0)
        return false;
    word = text.substr(i);
    text.resize(i - 1);
    TrimStringRight(text);
    return true;
}

std::string FormatDateString(const std::string& format, const std::tm& time)
{
    if (format.empty())
        return std::string();
    // strftime gives 0 both for "too small" and for an empty result: grow a few times, then
    // accept the empty result.
    for (std::size_t size = 128; size <= 128 * 1024; size *= 4) {
        std::string buffer(size, '\0');
        const std::size_t n = std::strftime(buffer.data(), buffer.size(), format.c_str(), &time);
        if (n > 0) {
            buffer.resize(n);
            return buffer;
        }
    }
    return std::string();
}

std::string& GetTodayString(std::string& out, const std::string& format)
{
    // Every glaze a file reader creates starts with today's date: the text of the last second
    // is kept (per thread, as readers may run on several) instead of formatted again each time.
    struct Today {
        std::time_t second = -1;
        std::string format;
        std::string text;
    };
    thread_local Today today;
    const std::time_t now = std::time(nullptr);
    if (now != today.second || format != today.format) {
        struct tm local {};
        localtime_r(&now, &local);
        today.text = FormatDateString(format, local);
        today.format = format;
        today.second = now;
    }
    out = today.text;
    return out;
}

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Up to three runs of digits; missing ones are -1.
int ReadDateNumbers(std::string_view text, int numbers[3])
{
    int count = 0;
    std::size_t i = 0;
    while (count < 3) {
        while (i < text.size() && !IsAsciiDigit(text[i]))
            ++i;
        if (i == text.size())
            break;
        const std::size_t start = i;
        while (i < text.size() && IsAsciiDigit(text[i]))
            ++i;
        numbers[count++] = ParseInt(text.substr(start, i - start));
    }
    for (int k = count; k < 3; ++k)
        numbers[k] = -1;
    return count;
}

// The month named by the first three letters from the first letter on: 1..12, 0 when they name
// none, -1 when the text has no letter.
int ReadDateMonthName(std::string_view text)
{
    static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
    const auto first = std::find_if(text.begin(), text.end(), IsAsciiLetter);
    if (first == text.end())
        return -1;
    const std::size_t pos = static_cast<std::size_t>(first - text.begin());
    for (int m = 0; m < 12; ++m) {
        if (EqualsNoCase(text.substr(pos, 3), kMonths[m]))
            return m + 1;
    }
    return 0;
}

} // namespace

int DateSortKey(std::string_view text)
{
    int n[3];
    const int count = ReadDateNumbers(text, n);
    const int named = ReadDateMonthName(text);
    if (named == 0 && count < 3)
        return 0;
    const int monthName = std::max(named, 0);
    long long year = 0, month = 0, day = 0;
    if (count == 3) {
        month = n[0], day = n[1], year = n[2];
    } else if (count == 2 && monthName > 0) {
        day = n[0], year = n[1], month = monthName;
    } else if (count == 2) {
        month = n[0], year = n[1];
    } else if (count == 1) {
        year = n[0], month = monthName;
    } else {
        month = monthName;
    }
    if (year >= 0 && year <= 49)
        year += 2000;
    else if (year >= 50 && year <= 99)
        year += 1900;
    if (count == 0)
        year = 0;
    // Digit runs saturate; keep the key within int as well.
    const long long key = year * 10000 + month * 100 + day;
    return static_cast<int>(std::clamp<long long>(key, INT_MIN, INT_MAX));
}

CCorePoint GetRectCenter(const CCoreRect& rect)
{
    // Summed in 64 bits so rectangles near the int range cannot overflow.
    const auto mid = [](int a, int b) { return static_cast<int>((static_cast<long long>(a) + b) / 2); };
    return CCorePoint{mid(rect.left, rect.right), mid(rect.top, rect.bottom)};
}
