#include "support/StringArrayEx.h"

#include "support/CompareNoCase.h"
#include "support/EditLines.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::size_t kEditLineReadLimit = 8191; // characters read from one control line
constexpr std::size_t kEditInsertPiece = 4096;   // text gathered before each insertion

int ClampToInt(std::size_t n)
{
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

// By bytes (compared unsigned), or ignoring the case of ASCII letters.
int CompareStrings(const std::string& a, const std::string& b, bool caseSensitive)
{
    return caseSensitive ? a.compare(b) : CompareNoCase(a, b);
}

} // namespace

void CStringArrayEx::RemoveLeadingEmpty()
{
    const auto first = std::find_if(begin(), end(), [](const std::string& s) { return !s.empty(); });
    erase(begin(), first);
}

void CStringArrayEx::RemoveTrailingEmpty()
{
    while (!empty() && back().empty())
        pop_back();
}

void CStringArrayEx::Append(const std::vector<std::string>& other)
{
    if (&other == this) {
        const std::size_t n = size();
        reserve(n * 2);
        for (std::size_t i = 0; i < n; ++i)
            push_back((*this)[i]);
        return;
    }
    insert(end(), other.begin(), other.end());
}

void CStringArrayEx::AddEmpty(int n)
{
    if (n > 0)
        resize(size() + static_cast<std::size_t>(n));
}

int CStringArrayEx::PadToSize(int n)
{
    if (n <= 0 || size() >= static_cast<std::size_t>(n))
        return 0;
    const int added = n - static_cast<int>(size());
    resize(static_cast<std::size_t>(n));
    return added;
}

void CStringArrayEx::Sort(bool ascending, bool caseSensitive)
{
    const auto less = [ascending, caseSensitive](const std::string& a, const std::string& b) {
        const int c = CompareStrings(a, b, caseSensitive);
        return ascending ? c < 0 : c > 0;
    };
    std::make_heap(begin(), end(), less);
    std::sort_heap(begin(), end(), less);
}

void CStringArrayEx::Reverse()
{
    std::reverse(begin(), end());
}

int CStringArrayEx::RemoveDuplicates(bool exact)
{
    const std::size_t before = size();
    const auto last = std::unique(begin(), end(), [exact](const std::string& a, const std::string& b) {
        return CompareStrings(a, b, exact) == 0;
    });
    erase(last, end());
    return static_cast<int>(before - size());
}

// Builds new lists instead of joining and splitting in place, which cost time and memory growing
// with the square of the text.
void CStringArrayEx::Reflow(int width)
{
    // A line that is not empty and does not begin with a blank continues the line before it,
    // unless that one is empty.
    std::vector<std::string> paragraphs;
    paragraphs.reserve(size());
    bool previousEmpty = true;
    for (std::string& line : *this) {
        const bool empty = line.empty();
        if (!paragraphs.empty() && !empty && line.front() != ' ' && !previousEmpty)
            paragraphs.back().append(1, ' ').append(line);
        else
            paragraphs.push_back(std::move(line));
        previousEmpty = empty;
    }
    std::vector<std::string> wrapped;
    wrapped.reserve(paragraphs.size());
    for (const std::string& paragraph : paragraphs)
        AppendWrappedLines(paragraph, width, wrapped);
    assign(std::make_move_iterator(wrapped.begin()), std::make_move_iterator(wrapped.end()));
}

int CStringArrayEx::AddTextLines(const std::string& text, const std::string& separator)
{
    if (text.empty())
        return 0;
    if (separator.empty()) { // nothing to split at: the text is one piece
        push_back(text);
        return 1;
    }
    int added = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(separator, start);
        if (found == std::string::npos)
            break;
        push_back(text.substr(start, found - start));
        ++added;
        start = found + separator.size();
    }
    if (start < text.size()) {
        push_back(text.substr(start));
        ++added;
    }
    return added;
}

int CStringArrayEx::Join(std::string& out, const std::string& separator) const
{
    out.clear();
    const std::size_t needed = static_cast<std::size_t>(TotalLength()) + separator.size() * size() + 1;
    if (needed > static_cast<std::size_t>(kJoinLimit))
        return -1;
    out.reserve(needed);
    for (const std::string& s : *this) {
        out += s;
        out += separator;
    }
    return static_cast<int>(out.size());
}

int CStringArrayEx::JoinWrapped(std::string& out, int width) const
{
    out.clear();
    if (width <= 0)
        return 0;
    const std::size_t w = static_cast<std::size_t>(width);
    bool written = false;
    for (const std::string& s : *this) {
        if (s.empty())
            continue;
        if (out.size() >= w)
            break;
        if (written && !IsWhitespaceChar(s.front())) {
            out += ' ';
            if (out.size() >= w)
                break;
        }
        written = true;
        if (out.size() + s.size() > w) {
            out.append(s, 0, w - out.size());
            break;
        }
        out += s;
    }
    return static_cast<int>(out.size());
}

int CStringArrayEx::TotalLength() const
{
    std::size_t total = 0;
    for (const std::string& s : *this)
        total += s.size();
    return ClampToInt(total);
}

int CStringArrayEx::MaxLength() const
{
    std::size_t longest = 0;
    for (const std::string& s : *this)
        longest = std::max(longest, s.size());
    return ClampToInt(longest);
}

int CStringArrayEx::ReadEditLines(CEditLinesTarget& edit, bool clear, bool trimRight, bool trimBoth,
                                  bool dropTrailingEmpty, bool skipEmpty)
{
    if (clear)
        this->clear();
    for (int i = 0; i < edit.GetLineCount(); ++i) {
        std::string line = edit.GetLineText(i);
        if (line.size() > kEditLineReadLimit)
            line.resize(kEditLineReadLimit);
        if (trimBoth)
            TrimString(line);
        else if (trimRight)
            TrimStringRight(line);
        if (skipEmpty && line.empty())
            continue;
        push_back(std::move(line));
    }
    if (dropTrailingEmpty)
        RemoveTrailingEmpty();
    return 0;
}

int CStringArrayEx::ReadCEditLines(CEditLinesTarget& edit, bool clear, bool trimRight, bool trimBoth,
                                   bool dropTrailingEmpty, bool skipEmpty)
{
    return ReadEditLines(edit, clear, trimRight, trimBoth, dropTrailingEmpty, skipEmpty);
}

// From the last line to the first: strip control characters, drop lines that held character 3
// (a layout marker of printed reports) and the empty lines at the end.
void CStringArrayEx::CleanForEdit(bool keepTabs)
{
    bool metNonEmpty = false;
    int flags[32];
    for (std::size_t i = size(); i-- > 0;) {
        std::string& line = (*this)[i];
        StripControlCharsGetFlags(line, flags, keepTabs);
        if (flags[3] != 0 || (!metNonEmpty && line.empty())) {
            erase(begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (!line.empty())
            metNonEmpty = true;
    }
}

int CStringArrayEx::WriteLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs, bool limited)
{
    if (clean)
        CleanForEdit(keepTabs);
    if (clear)
        edit.SetText(std::string());
    int selStart = 0, selEnd = 0;
    edit.GetSelection(selStart, selEnd);

    int result = 0;
    std::size_t inserted = 0;
    std::string piece;
    for (const std::string& line : *this) {
        if (limited && inserted + line.size() + 2 > static_cast<std::size_t>(kEditTextLimit)) {
            result = 1;
            break;
        }
        inserted += line.size() + 2;
        piece += line;
        piece += "\r\n";
        if (piece.size() > kEditInsertPiece) {
            edit.ReplaceSelection(piece);
            piece.clear();
        }
    }
    if (!piece.empty())
        edit.ReplaceSelection(piece);
    edit.SetSelection(selStart, selStart);
    if (limited)
        edit.ScrollCaretIntoView();
    return result;
}

int CStringArrayEx::WriteEditLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs)
{
    return WriteLines(edit, clear, clean, keepTabs, true);
}

int CStringArrayEx::WriteCEditLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs)
{
    WriteLines(edit, clear, clean, keepTabs, false);
    return 0;
}
