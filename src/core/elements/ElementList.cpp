#include "elements/ElementList.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <string_view>

namespace {

// Blanks and commas separate the entries of an element list.
bool IsListSeparator(char c) { return c == ',' || IsWhitespaceChar(c); }

// The element 1..103 whose symbol is exactly `symbol`, or -1.
int FindElementBySymbol(std::string_view symbol)
{
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z < kElementCount; ++z) {
        if (symbol == table[z].symbol) {
            return z;
        }
    }
    return -1;
}

// Reads one element symbol at `pos`: an upper-case letter and, when a lower-case letter
// follows, that one too. Advances `pos` past it and returns the element number, or -1 when the
// text there is no symbol of an element 1..103.
int ReadElementSymbol(std::string_view text, std::size_t& pos)
{
    if (!IsAsciiUpper(text[pos])) {
        return -1;
    }
    std::size_t length = 1;
    if (pos + 1 < text.size() && IsAsciiLower(text[pos + 1])) {
        length = 2;
    }
    const int z = FindElementBySymbol(text.substr(pos, length));
    if (z >= 0) {
        pos += length;
    }
    return z;
}

// Reads a pseudo-entry at the start of `rest`: a loss word or "Nk". Returns its length (0 when
// there is none) and stores its entry value.
std::size_t ReadPseudoEntry(std::string_view rest, int& entry)
{
    for (std::string_view word : {std::string_view("loss"), std::string_view("loi"),
                                  std::string_view("vol")}) {
        if (StartsWithNoCase(rest, word)) {
            entry = kElementListLoss;
            return word.size();
        }
    }
    if (rest.starts_with("Nk")) {
        entry = kElementListSodiumPotassium;
        return 2;
    }
    return 0;
}

// The common reader of both list forms. Slots beyond the count are left as they are.
int ParseElementList(std::string_view text, std::span<int, kElementListCapacity> entries,
                     bool allowPseudoEntries)
{
    int count = 0;
    std::size_t pos = 0;
    while (count < kElementListCapacity) {
        while (pos < text.size() && IsListSeparator(text[pos])) {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        int entry = 0;
        const std::size_t pseudoLength =
            allowPseudoEntries ? ReadPseudoEntry(text.substr(pos), entry) : 0;
        if (pseudoLength > 0) {
            pos += pseudoLength;
        } else {
            entry = ReadElementSymbol(text, pos);
            if (entry < 0) {
                return -1;
            }
        }
        entries[static_cast<std::size_t>(count++)] = entry;
    }
    return count;
}

} // namespace

// Commas separate here as they do in the list check that every read of the preferences runs,
// so a suggestion order that passed that check is always readable.
int ParseElementOrder(const std::string& text, std::span<int, kElementListCapacity> order)
{
    std::fill(order.begin(), order.end(), -1);
    return ParseElementList(text, order, false);
}

int ParseElementSymbolList(const std::string& text, std::span<int, kElementListCapacity> entries)
{
    return ParseElementList(text, entries, true);
}

// The check has no capacity: a list longer than any parse stores is still well formed.
int IsBadElementList(const std::string& text, bool allowLoss, bool allowNk)
{
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsListSeparator(text[pos])) {
            ++pos;
        }
        if (pos >= text.size()) {
            return 0;
        }
        int entry = 0;
        const std::size_t pseudoLength = ReadPseudoEntry(std::string_view(text).substr(pos), entry);
        const bool allowed = entry == kElementListLoss ? allowLoss : allowNk;
        if (pseudoLength > 0 && allowed) {
            pos += pseudoLength;
        } else if (ReadElementSymbol(text, pos) < 0) {
            return 1;
        }
    }
}
