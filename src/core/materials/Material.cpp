#include "materials/Material.h"

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <array>

namespace {

// A name, code or other name as a key of the look-ups (no parentheses).
std::string LookUpKey(std::string text)
{
    BracketParentheses(text);
    return text;
}

// One field of the search: whole compares the upper-cased field with the upper-cased text,
// otherwise the field must contain it.
bool FieldMatches(const std::string& field, const std::string& upperText, bool whole)
{
    std::string upperField = UpperCaseAscii(field);
    return whole ? upperField == upperText : upperField.find(upperText) != std::string::npos;
}

} // namespace

std::string FormatFormulaAmount(double value)
{
    std::string text = FormatFixed(value, g_prefs.decformulas);
    StripTrailingZeros(text, g_prefs.tzsformulas);
    return text;
}

CMaterial::CMaterial(std::string_view name) : m_name(name), m_type("new")
{
    GetTodayString(m_date, g_prefs.datefmt);
    UpdateDisplayKey();
    SetFormula(std::string());
}

CMaterial::CMaterial(const CMaterial& other)
{
    CopyFieldsFrom(other);
    KeepFormula(other.m_formula);
}

CMaterial& CMaterial::operator=(const CMaterial& other)
{
    if (this != &other) {
        CopyFieldsFrom(other);
        KeepFormula(other.m_formula);
    }
    return *this;
}

void CMaterial::CopyFieldsFrom(const CMaterial& other)
{
    m_name = other.m_name;
    m_code = other.m_code;
    m_displayKey = other.m_displayKey;
    m_type = other.m_type;
    m_akaNames = other.m_akaNames;
    m_akaCodes = other.m_akaCodes;
    m_mapTo = other.m_mapTo;
    m_density = other.m_density;
    m_available = other.m_available;
    m_costPerLb = other.m_costPerLb;
    m_notes = other.m_notes;
    m_anNotes = other.m_anNotes;
    m_hazNotes = other.m_hazNotes;
    m_date = other.m_date;
}

int CMaterial::SetFormula(const std::string& text, std::string* errorText, int* errorPos)
{
    if (&text != &m_formula)
        m_formula = text;
    if (ParseFormula(errorText, errorPos) == 0)
        return 0;
    // A record never keeps a failed analysis: the formula is dropped and the empty one parsed,
    // while the caller keeps the failed parse's message and position.
    m_formula.clear();
    ParseFormula(nullptr, nullptr);
    return -1;
}

int CMaterial::KeepFormula(const std::string& text)
{
    std::string kept = text; // text may be m_formula itself, which SetFormula empties
    if (SetFormula(kept) == 0)
        return 0;
    m_formula = std::move(kept);
    return -1;
}

bool CMaterial::HasUnreadableFormula() const
{
    return !m_formula.empty() && !m_isMolecular && !m_isWeightPercent && !m_isMolePercent;
}

void CMaterial::BuildFormulaText(std::string& output, bool weightPercent, bool molePercent, bool forcedMW,
                                 const std::string& mwText, bool forcedSum, const std::string& sumText) const
{
    output.clear();
    if (weightPercent) {
        output += '%';
        if (forcedSum)
            output += "[Sum=" + sumText + "]";
        output += ' ';
    } else if (molePercent) {
        output += "%m ";
    } else if (forcedMW) {
        output += "[MW=" + mwText + "] ";
    }
    for (std::size_t i = 0; i < m_components.size(); ++i) {
        const CFormulaComponent& component = m_components[i];
        if (i > 0)
            output += "  ";
        if (!component.m_amountText.empty()) {
            output += component.m_amountText;
            output += ' ';
        }
        output += component.m_text;
    }
}

int CMaterial::RebuildFormula(std::string* errorText, int* errorPos)
{
    std::string text;
    BuildFormulaText(text, m_isWeightPercent, m_isMolePercent, m_hasForcedMW, m_forcedMWText, m_hasForcedSum,
                     m_forcedSumText);
    return SetFormula(text, errorText, errorPos);
}

void CMaterial::UpdateDisplayKey()
{
    m_displayKey = m_code + '\t' + m_name;
}

void CMaterial::SetField(int field, const std::string& text)
{
    switch (field) {
    case 1: m_name = LookUpKey(text); UpdateDisplayKey(); break;
    case 2:
        m_akaNames.push_back(LookUpKey(text));
        m_akaCodes.emplace_back();
        break;
    case 3: m_code = LookUpKey(text); UpdateDisplayKey(); break;
    case 4:
        if (!m_akaCodes.empty())
            m_akaCodes.back() = LookUpKey(text);
        break;
    case 5: m_date = text; break;
    case 6: m_type = text; break;
    case 7: m_density = ParseDouble(text); break;
    case 8: {
        char c = text.empty() ? '\0' : text[0];
        m_available = (c == 't' || c == 'T' || c == 'y' || c == 'Y') ? 1 : 0;
        break;
    }
    case 9: m_costPerLb = ParseDouble(text); break;
    case 10: SetFormula(text); break;
    case 11: m_mapTo = text; break;
    case 12: m_notes.assign(1, text); break;
    case 13: m_anNotes.assign(1, text); break;
    case 14: m_hazNotes.assign(1, text); break;
    case 15: m_notes.push_back(text); break;
    case 16: m_anNotes.push_back(text); break;
    case 17: m_hazNotes.push_back(text); break;
    default: break;
    }
}

bool CMaterial::Matches(std::string* text, bool inName, bool inCode, bool inFormula, bool inNotes, bool whole,
                        bool takeSpelling) const
{
    const std::string upperText = UpperCaseAscii(*text);
    const bool replace = whole && takeSpelling;
    auto hit = [&](const std::string& spelling) {
        if (replace)
            *text = spelling;
        return true;
    };
    if (inName && FieldMatches(m_name, upperText, whole))
        return hit(m_name);
    if (inCode && FieldMatches(m_code, upperText, whole))
        return hit(m_code);
    if (inFormula && FieldMatches(m_formula, upperText, whole))
        return hit(m_formula);
    if (inName) {
        for (const std::string& aka : m_akaNames) {
            if (FieldMatches(aka, upperText, whole))
                return hit(aka);
        }
    }
    if (inCode) {
        for (std::size_t i = 0; i < m_akaCodes.size(); ++i) {
            if (!FieldMatches(m_akaCodes[i], upperText, whole))
                continue;
            // A code stands for its other name; an unnamed one for the material itself.
            bool named = i < m_akaNames.size() && !m_akaNames[i].empty();
            return hit(named ? m_akaNames[i] : m_name);
        }
    }
    if (inNotes) {
        for (const CStringArrayEx* lines : {&m_anNotes, &m_hazNotes, &m_notes}) {
            for (const std::string& line : *lines) {
                if (FieldMatches(line, upperText, whole))
                    return true;
            }
        }
    }
    return false;
}

bool CMaterial::MatchesExactly(std::string* text, bool takeSpelling) const
{
    if (text->empty())
        return false;
    return Matches(text, true, true, true, false, true, takeSpelling);
}

bool CMaterial::MatchesNameOrCode(const std::string& text) const
{
    if (text.empty())
        return false;
    std::string key = text;
    return Matches(&key, true, true, false, false, true, false);
}

void CMaterial::OrderComponents()
{
    for (CFormulaComponent& component : m_components)
        component.Classify();

    // Rank of each element in display order; kinds 3 and 4 come after every element.
    std::array<int, kElementCount> rank;
    rank.fill(kElementCount);
    const ElementDisplayOrder order = GetElementDisplayOrder();
    for (int i = kElementCount - 1; i >= 0; --i) {
        if (IsValidElementNumber(order[static_cast<std::size_t>(i)]))
            rank[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = i;
    }
    auto key = [&rank](const CFormulaComponent& component) {
        if ((component.m_kind == kComponentOxide || component.m_kind == kComponentElement) &&
            IsValidElementNumber(component.m_element))
            return rank[static_cast<std::size_t>(component.m_element)];
        return component.m_kind == kComponentLoi ? kElementCount + 2 : kElementCount + 1;
    };
    std::stable_sort(m_components.begin(), m_components.end(),
                     [&key](const CFormulaComponent& a, const CFormulaComponent& b) { return key(a) < key(b); });
}

void CMaterial::MergeDuplicateComponents()
{
    const int count = static_cast<int>(m_components.size());
    for (int i = 1; i < count; ++i) {
        CFormulaComponent& later = m_components[static_cast<std::size_t>(i)];
        for (int j = 0; j < i; ++j) {
            CFormulaComponent& earlier = m_components[static_cast<std::size_t>(j)];
            if (!EqualsNoCase(earlier.m_text, later.m_text))
                continue;
            double sum = FormulaAmountValue(earlier.m_amountText) + FormulaAmountValue(later.m_amountText);
            earlier.m_amountText = FormatFormulaAmount(sum);
            later.m_amountText = "0.0";
            break;
        }
    }
    for (int i = count - 1; i >= 0; --i) {
        const std::string& amountText = m_components[static_cast<std::size_t>(i)].m_amountText;
        if (!amountText.empty() && FormulaAmountValue(amountText) == 0.0)
            m_components.RemoveAt(i);
    }
}

void CMaterial::ReformatAmounts(bool usePreferences, int decimals, int trailingZeros)
{
    if (usePreferences || decimals < 0) {
        decimals = g_prefs.decformulas;
        trailingZeros = g_prefs.tzsformulas;
    }
    decimals = std::min(decimals, 12);
    for (CFormulaComponent& component : m_components) {
        std::string text = FormatFixed(FormulaAmountValue(component.m_amountText), decimals);
        StripTrailingZeros(text, trailingZeros);
        component.m_amountText = std::move(text);
    }
}
