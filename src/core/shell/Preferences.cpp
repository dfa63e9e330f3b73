#include "shell/Preferences.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <string_view>

CPreferences::CPreferences()
{
    SetDefaults();
}

CPreferences::~CPreferences() = default;

// Defaulted on purpose: a member added later is copied without anyone having to remember it.
CPreferences::CPreferences(const CPreferences&) = default;
CPreferences& CPreferences::operator=(const CPreferences&) = default;

CLogFont CPreferences::DefaultFont()
{
    CLogFont font;
    font.height = 90; // tenths of a point
    font.weight = CLogFont::kDefaultWeight;
    font.pitchAndFamily = CLogFont::kDefaultPitchAndFamily;
    font.faceName = "Courier New";
    return font;
}

void CPreferences::SetDefaults()
{
    SetPersistedDefaults();
    SetListDefaults();
    SetRememberedDefaults();
    SetSearchDefaults();
}

// --- element lists ------------------------------------------------------------------------------

namespace {

bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

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

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
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
int CPreferences::ParseElementOrder(std::span<int, kElementListCapacity> order) const
{
    std::fill(order.begin(), order.end(), -1);
    return ParseElementList(sugord, order, false);
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

// --- sort orders --------------------------------------------------------------------------------

namespace {

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// Position of the first word equal to value ignoring case, or -1.
int FindWordNoCase(const CStringArrayEx& words, std::string_view value)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (EqualsNoCase(words[i], value)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Position of a description value in a vocabulary: the first word equal to it, else the first
// word that begins it ("Matt, slightly dry" takes the place of "Matt"), else -1. An empty word
// begins every value, so it never counts as a beginning.
int DescriptorPosition(const CStringArrayEx& words, std::string_view value)
{
    const int exact = FindWordNoCase(words, value);
    if (exact >= 0) {
        return exact;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!words[i].empty() && StartsWithNoCase(value, words[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Known positions sort first; two unknown or equal positions give `tie`.
int ComparePositions(int positionA, int positionB, int tie)
{
    if (positionA == positionB) {
        return tie;
    }
    if (positionA < 0) {
        return 1;
    }
    if (positionB < 0) {
        return -1;
    }
    return positionA < positionB ? -1 : 1;
}

} // namespace

int CPreferences::CompareMaterialTypes(const std::string& a, const std::string& b) const
{
    if (EqualsNoCase(a, b)) {
        return 0;
    }
    const int positionA = FindWordNoCase(mattyp, a);
    const int positionB = FindWordNoCase(mattyp, b);
    if (positionA < 0 && positionB < 0) {
        return Sign(CompareNoCase(a, b));
    }
    return ComparePositions(positionA, positionB, 0);
}

const CStringArrayEx* CPreferences::DescriptorVocabulary(char column) const
{
    const char letter = IsAsciiUpper(column) ? static_cast<char>(column - 'A' + 'a') : column;
    switch (letter) {
    case '?': return &glztest;
    case 'a': return &glzflaw;
    case 'b': return &glzbub;
    case 'c': return &glzcol;
    case 'f': return &glzftyp;
    case 'o': return &glzflow;
    case 'p': return &glzxpar;
    case 'r': return &glzrng;
    case 's': return &glzqual;
    case 't': return &glztyp;
    case 'u': return &glzdur;
    case 'v': return &glzvtex;
    case 'x': return &glzxtal;
    default: return nullptr;
    }
}

int CPreferences::CompareDescriptors(const std::string& a, const std::string& b, char column,
                                     bool alphabetical) const
{
    if (a.empty() || b.empty()) {
        return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
    }
    const int byName = Sign(CompareNoCase(a, b));
    if (byName == 0 || alphabetical) {
        return byName;
    }
    const CStringArrayEx* words = DescriptorVocabulary(column);
    if (words == nullptr) {
        return 0;
    }
    return ComparePositions(DescriptorPosition(*words, a), DescriptorPosition(*words, b), byName);
}
