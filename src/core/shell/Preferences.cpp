#include "shell/Preferences.h"

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
