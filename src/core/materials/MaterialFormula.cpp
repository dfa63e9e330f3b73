// The formula engine: lexical readers, the component parser, forced values, the record's
// analysis and the record-free analysis of the batch calculator.

#include "materials/MaterialFormula.h"

#include "elements/ElementTable.h"
#include "materials/FormulaComponent.h"
#include "materials/Material.h"
#include "support/NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

constexpr int kLastElement = kElementCount - 1;

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
inline char ToLower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

void SetError(std::string* errorText, std::string_view message)
{
    if (errorText)
        errorText->assign(message);
}

void SetPosition(int* errorPos, long position)
{
    if (errorPos)
        *errorPos = static_cast<int>(position);
}

int UnexpectedCharacter(std::string* errorText, char c)
{
    if (errorText) {
        errorText->assign("Unexpected character '");
        errorText->push_back(c);
        errorText->push_back('\'');
    }
    return -3;
}

bool IsSymbol(const char* symbol, char first, char second)
{
    return symbol[0] == first && symbol[1] == second && (second == '\0' || symbol[2] == '\0');
}

// Element numbers of the default symbols by their letters: a capital, then a small letter or
// none. A symbol of one or two letters gives (capital - 'A') * 27 + 1 + (small - 'a'), or
// (capital - 'A') * 27 without a small letter; 0 where no element has that symbol.
class CSymbolIndex {
public:
    CSymbolIndex()
    {
        m_element.fill(0);
        for (int z = kElementCount - 1; z >= 1; --z) {
            const char* symbol = g_defaultElements[z].symbol;
            if (!IsUpper(symbol[0]) || (symbol[1] != '\0' && (!IsLower(symbol[1]) || symbol[2] != '\0')))
                continue;
            m_element[Key(symbol[0], symbol[1])] = static_cast<std::uint8_t>(z);
        }
    }
    int Find(char first, char second) const { return m_element[Key(first, second)]; }

private:
    static std::size_t Key(char first, char second)
    {
        return static_cast<std::size_t>((first - 'A') * 27 + (second ? second - 'a' + 1 : 0));
    }
    std::array<std::uint8_t, 26 * 27> m_element;
};

// The search through the table for a symbol, 0 when no element has it.
int FindElementSymbol(const CElementRecord* table, char first, char second)
{
    for (int z = 1; z < kElementCount; ++z) {
        if (IsSymbol(table[z].symbol, first, second))
            return z;
    }
    return 0;
}

// Element symbol lookup over a given table (the hot path passes the table it fetched once).
inline int ReadElementSymbolIn(const char** cursor, const CElementRecord* table)
{
    const char* p = *cursor;
    char first = *p;
    if (IsFormulaBlank(first) || IsDigit(first))
        return 0;
    if (!IsUpper(first))
        return -1;
    char second = IsLower(p[1]) ? p[1] : '\0';
    *cursor = p + (second ? 2 : 1);
    // The records keep the default symbols, so the index finds the element at once; the search
    // through the table is what decides whenever the index and the table disagree.
    static const CSymbolIndex index;
    const int found = index.Find(first, second);
    if (found != 0 && IsSymbol(table[found].symbol, first, second))
        return found;
    const int z = FindElementSymbol(table, first, second);
    return z != 0 ? z : -1;
}

// Reads a count, multiplier or amount; a value too large to represent is an unexpected
// character at the number's first character.
int ReadFiniteNumber(const char** cursor, double* value, std::string* errorText)
{
    const char* start = *cursor;
    *value = ReadFormulaNumber(cursor);
    if (std::isfinite(*value))
        return 0;
    *cursor = start;
    return UnexpectedCharacter(errorText, *start);
}

struct SComponentContext {
    bool weightPercent;
    std::string* errorText;
    double* percentSum;
    CFormulaComponentList* components;
    const CElementRecord* table;
};

// A vector of element counts and the element numbers touched so far: the loops over a
// component's counts then visit a few slots instead of all 103. A vector of the range's own
// (fresh) holds values only in the slots touched: a slot's first value is set, not added.
struct SAtomRange {
    double* count;
    CSlotValues::Mask touched = {0, 0};
    bool fresh = false;

    explicit SAtomRange(double* counts) : count(counts) {}
    SAtomRange(const SAtomRange&) = delete;
    SAtomRange& operator=(const SAtomRange&) = delete;

    bool Has(int z) const { return (touched[static_cast<unsigned>(z) / 64] >> (static_cast<unsigned>(z) % 64)) & 1; }
    double Get(int z) const { return Has(z) ? count[z] : 0.0; }
    // Adds to slot z; false when the count is no longer finite.
    bool Add(int z, double value)
    {
        count[z] = fresh && !Has(z) ? 0.0 + value : count[z] + value;
        Touch(z);
        return std::isfinite(count[z]);
    }
    // Touches slot z (a fresh vector's slot reads 0).
    void Include(int z)
    {
        if (!Has(z)) {
            if (fresh)
                count[z] = 0.0;
            Touch(z);
        }
    }
    // Touches slots 1..103 of a vector whose every count may not be 0.
    void IncludeAll() { touched = {~std::uint64_t{1}, (std::uint64_t{1} << (kElementCount - 64)) - 1}; }
    // Calls visit(z) for every slot touched, ascending, until it returns false; false then.
    template <typename Visit>
    bool ForEach(Visit&& visit) const
    {
        for (unsigned word = 0; word < 2; ++word) {
            for (std::uint64_t bits = touched[word]; bits != 0; bits &= bits - 1) {
                if (!visit(static_cast<int>(word * 64 + static_cast<unsigned>(std::countr_zero(bits)))))
                    return false;
            }
        }
        return true;
    }

private:
    void Touch(int z) { touched[static_cast<unsigned>(z) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(z) % 64); }
};

// The counts of one component or sub-component, none yet.
struct SComponentAtoms : SAtomRange {
    double storage[kElementCount];
    SComponentAtoms() : SAtomRange(storage) { fresh = true; }
};

int ParseComponentAt(const char** cursor, SAtomRange& atoms, const SComponentContext& context, int depth);

// One parenthesised sub-component with its multiplier, added into local. The cursor is on "(".
int ParseGroup(const char** cursor, SAtomRange& local, const SComponentContext& context, int depth)
{
    if (depth >= kMaxFormulaNesting)
        return UnexpectedCharacter(context.errorText, '(');
    ++*cursor;
    SComponentAtoms sub;
    SComponentContext inner{false, context.errorText, nullptr, nullptr, context.table};
    int rc = ParseComponentAt(cursor, sub, inner, depth + 1);
    if (rc != 0)
        return rc * 10;
    if (**cursor != ')') {
        SetError(context.errorText, "Missing ')'");
        return -1;
    }
    ++*cursor;
    const char* numberStart = *cursor;
    double multiplier = 1.0;
    if (int err = ReadFiniteNumber(cursor, &multiplier, context.errorText))
        return err;
    if (!sub.ForEach([&](int z) { return sub.count[z] == 0.0 || local.Add(z, multiplier * sub.count[z]); })) {
        *cursor = numberStart;
        return UnexpectedCharacter(context.errorText, *numberStart);
    }
    return 0;
}

// One element symbol with its count, or the LOI token, added into local.
int ParseAtom(const char** cursor, SAtomRange& local, const SComponentContext& context)
{
    const char* p = *cursor;
    if (p[0] == 'L') {
        std::size_t token = std::strncmp(p, "L.O.I.", 6) == 0 ? 6 : std::strncmp(p, "LOI", 3) == 0 ? 3 : 0;
        if (token != 0) {
            if (!context.weightPercent) {
                SetError(context.errorText, "LOI is only allowed in % weight formulas");
                return -4;
            }
            *cursor = p + token;
            local.Add(kOxygenZ, 1.0);
            return 0;
        }
    }
    int z = ReadElementSymbolIn(cursor, context.table);
    if (z < 0) {
        if (context.errorText) {
            context.errorText->assign("Unrecognized element symbol '");
            context.errorText->append(p, static_cast<std::size_t>(*cursor - p));
            context.errorText->push_back('\'');
        }
        *cursor = p;
        return -2;
    }
    const char* numberStart = *cursor;
    double count = 1.0;
    if (int err = ReadFiniteNumber(cursor, &count, context.errorText))
        return err;
    if (!local.Add(z, count)) {
        *cursor = numberStart;
        return UnexpectedCharacter(context.errorText, *numberStart);
    }
    return 0;
}

// Parses one component and adds amount x its counts into atoms (slots 1..103).
int ParseComponentAt(const char** cursor, SAtomRange& atoms, const SComponentContext& context, int depth)
{
    SComponentAtoms local;
    const char* start = *cursor;
    double amount = 1.0;
    if (int err = ReadFiniteNumber(cursor, &amount, context.errorText))
        return err;
    const char* amountEnd = *cursor;
    while (IsFormulaBlank(**cursor))
        ++*cursor;
    const char* partsStart = *cursor;

    if (**cursor == ')') {
        SetError(context.errorText, "Unexpected ')'");
        return -1;
    }
    for (char c = **cursor; c != '\0' && !IsFormulaBlank(c) && c != ')'; c = **cursor) {
        int rc;
        if (c == '(')
            rc = ParseGroup(cursor, local, context, depth);
        else if (!IsUpper(c))
            rc = UnexpectedCharacter(context.errorText, c);
        else
            rc = ParseAtom(cursor, local, context);
        if (rc != 0)
            return rc;
    }

    if (context.percentSum)
        *context.percentSum += amount;
    if (context.weightPercent) {
        // A % weight amount is a weight: moles = weight / the component's weight.
        double weight = 0.0;
        local.ForEach([&](int z) {
            if (local.count[z] > 0.0)
                weight += local.count[z] * context.table[z].weight;
            return true;
        });
        if (weight == 0.0) {
            *cursor = partsStart;
            SetError(context.errorText, "Component has no atoms");
            return -8;
        }
        amount /= weight;
    }
    if (!local.ForEach([&](int z) { return local.count[z] == 0.0 || atoms.Add(z, amount * local.count[z]); })) {
        *cursor = start;
        return UnexpectedCharacter(context.errorText, *start);
    }
    if (*cursor == partsStart) {
        SetError(context.errorText, "Component has no atoms");
        return -8;
    }
    if (context.components) {
        context.components->emplace_back(std::string_view(start, static_cast<std::size_t>(amountEnd - start)),
                                         std::string_view(partsStart, static_cast<std::size_t>(*cursor - partsStart)));
    }
    return 0;
}


// The bracket reader shared by both forced values; word is the optional keyword ("mw", "sum").
int ParseForcedValue(const char** cursor, std::string* numberText, std::string_view word)
{
    const char* p = *cursor;
    if (*p == '[')
        ++p;
    while (IsFormulaBlank(*p))
        ++p;
    std::size_t matched = 0;
    while (matched < word.size() && ToLower(p[matched]) == word[matched])
        ++matched;
    if (matched == word.size())
        p += matched;
    while (IsFormulaBlank(*p))
        ++p;
    if (*p == '=')
        ++p;
    while (IsFormulaBlank(*p))
        ++p;
    const char* number = p;
    while (IsDigit(*p) || *p == '.')
        ++p;
    if (numberText)
        numberText->assign(number, static_cast<std::size_t>(p - number));
    while (IsFormulaBlank(*p))
        ++p;
    if (*p != ']') {
        *cursor = p;
        return -1;
    }
    *cursor = p + 1;
    return 0;
}

// Every count not touched is 0 (oxygen is touched then).
int ApplyForcedWeight(SAtomRange& range, double forced, std::string* errorText, const char* notPositive,
                      const char* tooLow)
{
    if (!(forced > 0.0)) {
        SetError(errorText, notPositive);
        return -1;
    }
    range.Include(kOxygenZ);
    const CElementRecord* table = GetElementTable();
    double* atoms = range.count;
    double current = 0.0;
    range.ForEach([&](int z) {
        if (z >= 1)
            current += atoms[z] * table[z].weight;
        return true;
    });
    // The difference is oxygen: volatile, so it adds to the weight and the loss on ignition only.
    atoms[kOxygenZ] += (forced - current) / table[kOxygenZ].weight;
    if (atoms[kOxygenZ] < 0.0) {
        SetError(errorText, tooLow);
        return -2;
    }
    return 0;
}

// What the prefix of a formula says.
struct SFormulaPrefix {
    bool isMolecular = false;
    bool isWeightPercent = false;
    bool isMolePercent = false;
    bool hasForcedMW = false;
    bool hasForcedSum = false;
    double forcedMW = 0.0;
    double forcedSum = 0.0;
};

// Reads the prefix at the start of text; the cursor ends after it. The texts of the forced
// values go to mwText and sumText.
int ReadFormulaPrefix(const char* text, const char** cursor, SFormulaPrefix& prefix, std::string& mwText,
                      std::string& sumText, std::string* errorText, int* errorPos)
{
    const char* p = text;
    if (*p == '[') {
        if (int rc = ParseForcedMolecularWeight(&p, &mwText)) {
            SetError(errorText, "Cannot understand the forced molecular weight");
            SetPosition(errorPos, p - text);
            return rc;
        }
        prefix.isMolecular = true;
        prefix.hasForcedMW = true;
        prefix.forcedMW = ParseDouble(mwText);
    } else if (*p == '%') {
        ++p;
        if (*p == 'm' || *p == 'M') {
            prefix.isMolePercent = true;
            ++p;
        } else if (*p == 'w' || *p == 'W' || IsFormulaBlank(*p)) {
            prefix.isWeightPercent = true;
            ++p;
        } else if (*p == '[') {
            if (int rc = ParseForcedPercentSum(&p, &sumText)) {
                SetError(errorText, "Cannot understand the forced percentage sum");
                SetPosition(errorPos, p - text);
                return rc;
            }
            prefix.isWeightPercent = true;
            prefix.hasForcedSum = true;
            prefix.forcedSum = ParseDouble(sumText);
        } else {
            SetError(errorText, "Unrecognized character after % sign (did you forget to leave a space?)");
            SetPosition(errorPos, p - text);
            return -1;
        }
    } else {
        prefix.isMolecular = true;
    }
    *cursor = p;
    return 0;
}

// The component loop over the rest of text. A NUL byte inside the text is an unexpected
// character, not a silent end of the formula.
int ParseFormulaComponents(const std::string& text, const char* cursor, SAtomRange& atoms,
                           const SComponentContext& context, int* errorPos)
{
    const char* begin = text.c_str();
    for (;;) {
        while (IsFormulaBlank(*cursor))
            ++cursor;
        if (*cursor == '\0')
            break;
        if (int rc = ParseComponentAt(&cursor, atoms, context, 0)) {
            SetPosition(errorPos, cursor - begin);
            return rc;
        }
    }
    if (cursor != begin + text.size()) {
        SetPosition(errorPos, cursor - begin);
        return UnexpectedCharacter(context.errorText, '\0');
    }
    return 0;
}

constexpr const char* kMWNotPositive = "Forced molecular weight must be greater than 0";
constexpr const char* kMWTooLow = "Forced molecular weight is too low and cannot be attained (insufficient oxygen)";
constexpr const char* kSumNotPositive = "Forced % sum must be greater than 0";
constexpr const char* kSumTooLow = "Forced % sum is too low and cannot be attained (insufficient oxygen)";

// Forced values of a parsed formula, made up with oxygen (which the range then includes); on
// success *percentSum (when given) takes a forced sum.
int ApplyForcedValues(SAtomRange& atoms, const SFormulaPrefix& prefix, double* percentSum, std::string* errorText,
                      int* errorPos)
{
    int rc = 0;
    if (prefix.hasForcedMW) {
        rc = ApplyForcedWeight(atoms, prefix.forcedMW, errorText, kMWNotPositive, kMWTooLow);
    } else if (prefix.hasForcedSum) {
        rc = ApplyForcedWeight(atoms, prefix.forcedSum, errorText, kSumNotPositive, kSumTooLow);
        if (rc == 0 && percentSum)
            *percentSum = prefix.forcedSum;
    }
    if (rc != 0)
        SetPosition(errorPos, 0);
    return rc;
}

} // namespace

double ReadFormulaNumber(const char** cursor)
{
    const char* p = *cursor;
    if (!IsDigit(*p) && *p != '.')
        return 1.0;
    double value = 0.0;
    double place = 1.0;
    for (; IsDigit(*p) || *p == '.'; ++p) {
        if (*p == '.') {
            place = 10.0;
        } else if (place == 1.0) {
            value = value * 10.0 + (*p - '0');
        } else {
            value += (*p - '0') / place;
            place *= 10.0;
        }
    }
    *cursor = p;
    return value;
}

int ReadElementSymbol(const char** cursor)
{
    return ReadElementSymbolIn(cursor, GetElementTable());
}

int ParseFormulaComponent(const char** cursor, double* atoms, bool weightPercent, std::string* errorText,
                          double* percentSum, CFormulaComponentList* components)
{
    SComponentContext context{weightPercent, errorText, percentSum, components, GetElementTable()};
    SAtomRange target(atoms);
    return ParseComponentAt(cursor, target, context, 0);
}

int ParseForcedMolecularWeight(const char** cursor, std::string* numberText)
{
    return ParseForcedValue(cursor, numberText, "mw");
}

int ParseForcedPercentSum(const char** cursor, std::string* numberText)
{
    return ParseForcedValue(cursor, numberText, "sum");
}

int ApplyForcedMolecularWeight(double* atoms, double forced, std::string* errorText)
{
    SAtomRange range(atoms);
    range.IncludeAll();
    return ApplyForcedWeight(range, forced, errorText, kMWNotPositive, kMWTooLow);
}

int ApplyForcedPercentSum(double* atoms, double forced, std::string* errorText)
{
    SAtomRange range(atoms);
    range.IncludeAll();
    return ApplyForcedWeight(range, forced, errorText, kSumNotPositive, kSumTooLow);
}

int ParseFormulaAnalysis(const std::string& text, double* atoms, double* oxideMoles, std::string* errorText,
                         int* errorPos)
{
    std::fill(atoms, atoms + kElementCount, 0.0);
    std::fill(oxideMoles, oxideMoles + kElementCount, 0.0);
    SetError(errorText, "");
    SetPosition(errorPos, 0);
    if (text.empty())
        return 0;

    SFormulaPrefix prefix;
    std::string mwText;
    std::string sumText;
    const char* cursor = nullptr;
    int rc = ReadFormulaPrefix(text.c_str(), &cursor, prefix, mwText, sumText, errorText, errorPos);
    const CElementRecord* table = GetElementTable();
    SAtomRange target(atoms);
    if (rc == 0) {
        SComponentContext context{prefix.isWeightPercent, errorText, nullptr, nullptr, table};
        rc = ParseFormulaComponents(text, cursor, target, context, errorPos);
    }
    if (rc == 0)
        rc = ApplyForcedValues(target, prefix, nullptr, errorText, errorPos);
    if (rc != 0) {
        std::fill(atoms, atoms + kElementCount, 0.0);
        return rc;
    }

    for (int z = 1; z <= kLastElement; ++z) {
        if (!(table[z].role & kRoleVolatile))
            oxideMoles[z] = table[z].OxideMolesFromAtoms(atoms[z]);
    }
    atoms[0] = atoms[19] + atoms[11];
    oxideMoles[0] = oxideMoles[19] + oxideMoles[11];
    return 0;
}

void CMaterial::ResetAnalysis()
{
    m_formulaWeight = 0.0;
    m_oxideSum = 0.0;
    m_firedWeight = 0.0;
    m_loi = 0.0;
    m_firedYield = 0.0;
    m_isMolecular = false;
    m_isWeightPercent = false;
    m_isMolePercent = false;
    m_percentSum = 0.0;
    m_hasUnexpected = false;
    m_hasForcedMW = false;
    m_forcedMWText.clear();
    m_forcedMW = 0.0;
    m_naturalWeight = 0.0;
    m_hasForcedSum = false;
    m_forcedSumText.clear();
    m_forcedSum = 0.0;
    m_parsedPercentSum = 0.0;
    m_components.FreeComponentList();
}

int CMaterial::ParseFormula(std::string* errorText, int* errorPos)
{
    // The element values stay until the new ones replace them, so that a record whose formula is
    // set again reuses their room; a formula that gives no analysis leaves none.
    ResetAnalysis();
    bool analysed = false;
    const int rc = ParseFormulaText(errorText, errorPos, analysed);
    if (rc != 0 || !analysed) {
        m_atoms.Clear();
        m_oxides.Clear();
    }
    return rc;
}

int CMaterial::ParseFormulaText(std::string* errorText, int* errorPos, bool& analysed)
{
    SetError(errorText, "");
    SetPosition(errorPos, 0);
    if (m_formula.empty())
        return 0;

    SFormulaPrefix prefix;
    const char* cursor = nullptr;
    if (int rc = ReadFormulaPrefix(m_formula.c_str(), &cursor, prefix, m_forcedMWText, m_forcedSumText, errorText,
                                   errorPos))
        return rc;
    m_isMolecular = prefix.isMolecular;
    m_isWeightPercent = prefix.isWeightPercent;
    m_isMolePercent = prefix.isMolePercent;
    m_hasForcedMW = prefix.hasForcedMW;
    m_forcedMW = prefix.forcedMW;
    m_hasForcedSum = prefix.hasForcedSum;
    m_forcedSum = prefix.forcedSum;

    const CElementRecord* table = GetElementTable();
    double* percentSum = m_isMolecular ? nullptr : &m_percentSum;
    // The record's list keeps no more room than its components need. A list with room (the
    // formula set again) takes the components as they are read and gives back room it had to
    // add beyond them; a list without room (a new record) takes them, whatever way the reading
    // ends, from a list that keeps its room from formula to formula.
    thread_local CFormulaComponentList gathered;
    const bool direct = m_components.capacity() > 0;
    if (!direct)
        gathered.clear();
    struct SKeep {
        CFormulaComponentList& from;
        CFormulaComponentList& to;
        bool direct;
        std::size_t room;
        ~SKeep()
        {
            if (!direct)
                to.assign(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
            else if (to.capacity() != room)
                to.shrink_to_fit();
        }
    } keep{gathered, m_components, direct, m_components.capacity()};
    SComponentContext context{m_isWeightPercent, errorText, percentSum, direct ? &m_components : &gathered, table};
    // Counts only in the slots of the elements read (every other count is 0).
    double counts[kElementCount];
    SAtomRange atoms(counts);
    atoms.fresh = true;
    if (int rc = ParseFormulaComponents(m_formula, cursor, atoms, context, errorPos))
        return rc;
    m_parsedPercentSum = m_percentSum;

    atoms.ForEach([&](int z) {
        if (atoms.count[z] > 0.0)
            m_naturalWeight += atoms.count[z] * table[z].weight;
        return true;
    });
    if (int rc = ApplyForcedValues(atoms, prefix, &m_percentSum, errorText, errorPos))
        return rc;
    // A forced value is made up with oxygen.
    atoms.Include(kOxygenZ);
    ComputeAnalysis(table, counts, atoms.touched);
    analysed = true;
    return 0;
}

void CMaterial::ComputeAnalysis(const CElementRecord* table, double* atoms, const CSlotValues::Mask& present)
{
    // Only the counts present are read (every other one is 0), and only their oxides are computed:
    // only they are set, and read.
    double oxideValues[kElementCount];
    double* oxides = oxideValues;
    const auto presentOf = [&](const double* values, unsigned z) {
        return (present[z / 64] >> (z % 64)) & 1 ? values[z] : 0.0;
    };
    double weight = 0.0; // W
    double fired = 0.0;  // N
    bool unexpected = false;
    CSlotValues::ForEachSlot(present, 1, kLastElement, [&](int z) {
        oxides[z] = 0.0;
        if (!(atoms[z] > 0.0))
            return;
        const CElementRecord& element = table[z];
        weight += atoms[z] * element.weight;
        oxides[z] = DivideByCationCount(atoms[z] * element.oxideMW, element.ncat);
        if (!(element.role & kRoleVolatile))
            fired += oxides[z];
        if (element.role & kRoleNotExpected)
            unexpected = true;
    });
    if (unexpected)
        m_hasUnexpected = true;
    oxides[kOxygenZ] = 0.0;
    double oxideSum = 0.0;
    // The slots that hold a value are noted as they are computed (element numbers stay below 128).
    std::uint64_t atomsLow = 0, atomsHigh = 0, oxidesLow = 0, oxidesHigh = 0;
    const auto note = [](std::uint64_t& low, std::uint64_t& high, unsigned z, double value) {
        const std::uint64_t bit = std::uint64_t{CSlotValues::IsHeld(value)} << (z % 64);
        if (z < 64)
            low |= bit;
        else
            high |= bit;
    };
    CSlotValues::ForEachSlot(present, 1, kLastElement, [&](int z) {
        if (atoms[z] != 0.0) { // else its oxide is 0 too
            atoms[z] = weight > 0.0 ? atoms[z] / weight : 0.0;
            // Without fired oxides (volatile elements only) the values stay per formula unit,
            // scaled up so that they still show.
            oxides[z] = fired > 0.0 ? oxides[z] / fired : oxides[z] * 1000000.0;
            oxideSum += oxides[z];
            note(oxidesLow, oxidesHigh, static_cast<unsigned>(z), oxides[z]);
        }
        note(atomsLow, atomsHigh, static_cast<unsigned>(z), atoms[z]);
    });
    m_oxideSum = oxideSum;
    // Slot 0, K + Na, is never among the elements read.
    atoms[0] = presentOf(atoms, 19) + presentOf(atoms, 11);
    oxides[0] = presentOf(oxides, 19) + presentOf(oxides, 11);
    note(atomsLow, atomsHigh, 0, atoms[0]);
    note(oxidesLow, oxidesHigh, 0, oxides[0]);
    m_atoms.AssignHeld(atoms, {atomsLow, atomsHigh});
    m_oxides.AssignHeld(oxides, {oxidesLow, oxidesHigh});

    m_formulaWeight = weight;
    m_firedWeight = fired;
    m_firedYield = weight > 0.0 ? fired / weight : 0.0;
    m_loi = 1.0 - m_firedYield;
}

void CMaterial::AddScaledAnalysis(double* accumulator, double k) const
{
    // Adding k times an absent element's 0 changes nothing unless k is not finite.
    if (!std::isfinite(k)) {
        for (int z = 0; z < kElementCount; ++z)
            accumulator[z] += k * m_atoms[static_cast<std::size_t>(z)];
        return;
    }
    m_atoms.ForEach([&](int z, double atoms) {
        if (z < kElementCount)
            accumulator[z] += k * atoms;
    });
}
