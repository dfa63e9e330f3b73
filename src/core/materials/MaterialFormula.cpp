// The formula engine: lexical readers, the component parser, forced values, the record's
// analysis and the record-free analysis of the batch calculator.

#include "materials/MaterialFormula.h"

#include "elements/ElementTable.h"
#include "materials/FormulaComponent.h"
#include "materials/Material.h"
#include "support/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// Element symbol lookup over a given table (the hot path passes the table it fetched once).
int ReadElementSymbolIn(const char** cursor, const CElementRecord* table)
{
    const char* p = *cursor;
    char first = *p;
    if (IsFormulaBlank(first) || IsDigit(first))
        return 0;
    if (!IsUpper(first))
        return -1;
    char second = IsLower(p[1]) ? p[1] : '\0';
    *cursor = p + (second ? 2 : 1);
    for (int z = 1; z < kElementCount; ++z) {
        const char* symbol = table[z].symbol;
        if (symbol[0] == first && symbol[1] == second && (second == '\0' || symbol[2] == '\0'))
            return z;
    }
    return -1;
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

// A vector of element counts and the range of element numbers touched so far: the loops over a
// component's counts then cover a few slots instead of all 103.
struct SAtomRange {
    double* count;
    int lo = kElementCount;
    int hi = 0;

    explicit SAtomRange(double* counts) : count(counts) {}
    SAtomRange(const SAtomRange&) = delete;
    SAtomRange& operator=(const SAtomRange&) = delete;

    // Adds to slot z; false when the count is no longer finite.
    bool Add(int z, double value)
    {
        count[z] += value;
        lo = std::min(lo, z);
        hi = std::max(hi, z);
        return std::isfinite(count[z]);
    }
};

// The counts of one component or sub-component, zeroed.
struct SComponentAtoms : SAtomRange {
    double storage[kElementCount] = {};
    SComponentAtoms() : SAtomRange(storage) {}
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
    for (int z = sub.lo; z <= sub.hi; ++z) {
        if (sub.count[z] != 0.0 && !local.Add(z, multiplier * sub.count[z])) {
            *cursor = numberStart;
            return UnexpectedCharacter(context.errorText, *numberStart);
        }
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
        for (int z = local.lo; z <= local.hi; ++z) {
            if (local.count[z] > 0.0)
                weight += local.count[z] * context.table[z].weight;
        }
        if (weight == 0.0) {
            *cursor = partsStart;
            SetError(context.errorText, "Component has no atoms");
            return -8;
        }
        amount /= weight;
    }
    for (int z = local.lo; z <= local.hi; ++z) {
        if (local.count[z] != 0.0 && !atoms.Add(z, amount * local.count[z])) {
            *cursor = start;
            return UnexpectedCharacter(context.errorText, *start);
        }
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

int ApplyForcedWeight(double* atoms, double forced, std::string* errorText, const char* notPositive,
                      const char* tooLow)
{
    if (!(forced > 0.0)) {
        SetError(errorText, notPositive);
        return -1;
    }
    const CElementRecord* table = GetElementTable();
    double current = 0.0;
    for (int z = 1; z <= kLastElement; ++z)
        current += atoms[z] * table[z].weight;
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

// Forced values of a parsed formula; on success *percentSum (when given) takes a forced sum.
int ApplyForcedValues(double* atoms, const SFormulaPrefix& prefix, double* percentSum, std::string* errorText,
                      int* errorPos)
{
    int rc = 0;
    if (prefix.hasForcedMW) {
        rc = ApplyForcedMolecularWeight(atoms, prefix.forcedMW, errorText);
    } else if (prefix.hasForcedSum) {
        rc = ApplyForcedPercentSum(atoms, prefix.forcedSum, errorText);
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
    return ApplyForcedWeight(atoms, forced, errorText, "Forced molecular weight must be greater than 0",
                             "Forced molecular weight is too low and cannot be attained (insufficient oxygen)");
}

int ApplyForcedPercentSum(double* atoms, double forced, std::string* errorText)
{
    return ApplyForcedWeight(atoms, forced, errorText, "Forced % sum must be greater than 0",
                             "Forced % sum is too low and cannot be attained (insufficient oxygen)");
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
    if (rc == 0) {
        SComponentContext context{prefix.isWeightPercent, errorText, nullptr, nullptr, table};
        SAtomRange target(atoms);
        rc = ParseFormulaComponents(text, cursor, target, context, errorPos);
    }
    if (rc == 0)
        rc = ApplyForcedValues(atoms, prefix, nullptr, errorText, errorPos);
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
    // The components are gathered in a list that keeps its room from formula to formula; the
    // record then takes them in room of their own size, whatever way the reading ends.
    thread_local CFormulaComponentList parsed;
    parsed.clear();
    struct SKeep {
        CFormulaComponentList& from;
        CFormulaComponentList& to;
        ~SKeep() { to.assign(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end())); }
    } keep{parsed, m_components};
    SComponentContext context{m_isWeightPercent, errorText, percentSum, &parsed, table};
    OxideVector counts;
    SAtomRange atoms(counts.data());
    if (int rc = ParseFormulaComponents(m_formula, cursor, atoms, context, errorPos))
        return rc;
    m_parsedPercentSum = m_percentSum;

    for (int z = atoms.lo; z <= atoms.hi; ++z) {
        if (atoms.count[z] > 0.0)
            m_naturalWeight += atoms.count[z] * table[z].weight;
    }
    if (int rc = ApplyForcedValues(atoms.count, prefix, &m_percentSum, errorText, errorPos))
        return rc;
    // A forced value is made up with oxygen.
    atoms.lo = std::min(atoms.lo, static_cast<int>(kOxygenZ));
    atoms.hi = std::max(atoms.hi, static_cast<int>(kOxygenZ));
    ComputeAnalysis(table, counts, atoms.lo, atoms.hi);
    analysed = true;
    return 0;
}

void CMaterial::ComputeAnalysis(const CElementRecord* table, OxideVector& counts, int lo, int hi)
{
    // Outside lo..hi every element count is 0.
    double* atoms = counts.data();
    // Only the oxides of lo..hi are computed: only they are set, and read.
    std::array<double, kElementCount> oxideValues;
    double* oxides = oxideValues.data();
    std::fill(oxides + lo, oxides + hi + 1, 0.0);
    const auto oxideOf = [&](int z) { return z >= lo && z <= hi ? oxides[z] : 0.0; };
    double weight = 0.0; // W
    double fired = 0.0;  // N
    for (int z = lo; z <= hi; ++z) {
        if (!(atoms[z] > 0.0))
            continue;
        const CElementRecord& element = table[z];
        weight += atoms[z] * element.weight;
        oxides[z] = DivideByCationCount(atoms[z] * element.oxideMW, element.ncat);
        if (!(element.role & kRoleVolatile))
            fired += oxides[z];
        if (element.role & kRoleNotExpected)
            m_hasUnexpected = true;
    }
    oxides[kOxygenZ] = 0.0;
    m_oxideSum = 0.0;
    // The slots that hold a value are noted as they are computed.
    CSlotValues::Mask atomsHeld = {0, 0};
    CSlotValues::Mask oxidesHeld = {0, 0};
    const auto note = [](CSlotValues::Mask& held, int z, double value) {
        held[static_cast<std::size_t>(z / 64)] |= std::uint64_t{CSlotValues::IsHeld(value)} << (z % 64);
    };
    for (int z = std::max(lo, 1); z <= hi; ++z) {
        if (atoms[z] != 0.0) { // else its oxide is 0 too
            atoms[z] = weight > 0.0 ? atoms[z] / weight : 0.0;
            // Without fired oxides (volatile elements only) the values stay per formula unit,
            // scaled up so that they still show.
            oxides[z] = fired > 0.0 ? oxides[z] / fired : oxides[z] * 1000000.0;
            m_oxideSum += oxides[z];
        }
        note(atomsHeld, z, atoms[z]);
        note(oxidesHeld, z, oxides[z]);
    }
    atoms[0] = atoms[19] + atoms[11];
    oxides[0] = oxideOf(19) + oxideOf(11);
    note(atomsHeld, 0, atoms[0]);
    note(oxidesHeld, 0, oxides[0]);
    m_atoms.AssignHeld(atoms, atomsHeld);
    m_oxides.AssignHeld(oxides, oxidesHeld);

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
