// The substitution database file (.sub): the reader's key table with one handler per key, and
// the writer. The layout, blanks in the key prefixes included, is fixed: existing files and
// other readers rely on it.

#include "substitutions/SubstitutionList.h"

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string_view>

namespace {

// The result of a record key before the first "name", or of an amount before its material.
constexpr int kNoRecord = -1;

CSubstitutionList& ListOf(CParamFileContext* context)
{
    return *static_cast<CSubstitutionList*>(context);
}

// A note or information line: the value without the character the writer put first.
std::string LineFromValue(const void* value)
{
    const std::string_view text = ParamText(value);
    return std::string(text.empty() ? text : text.substr(1));
}

// Applies a change to the record that the latest "name" line began.
template <class Change>
int ChangeCurrentRecord(CParamFileContext* context, Change change)
{
    CSubstitutionList& list = ListOf(context);
    if (list.NoCurrentRecord())
        return kNoRecord;
    return change(list.CurrentRecord());
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    ListOf(context).m_records.push_back(std::make_unique<CSubstitution>(ParamText(value)));
    return 0;
}

int OnDate(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CSubstitution& s) {
        s.m_date = ParamText(value);
        return 0;
    });
}

// "set1mat" and "set2mat": a new line with amount 0.
template <CIngredientList CSubstitution::*Set>
int OnMaterial(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CSubstitution& s) {
        (s.*Set).Add(ParamText(value), 0.0);
        return 0;
    });
}

// "set1amt" and "set2amt": the amount of the set's last line; an error when there is none.
template <CIngredientList CSubstitution::*Set>
int OnAmount(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CSubstitution& s) {
        CIngredientList& set = s.*Set;
        if (set.empty() || !set.back())
            return kNoRecord;
        set.back()->m_amount = ParamDouble(value);
        return 0;
    });
}

int OnNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CSubstitution& s) {
        s.m_notes.push_back(LineFromValue(value));
        return 0;
    });
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    ListOf(context).m_infoLines.push_back(LineFromValue(value));
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    ListOf(context).m_dbName = ParamText(value);
    return 0;
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kSubstitutionFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return 1;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    ListOf(context).m_fileVersion = ParamInt(value);
    return 0;
}

// Every substitution is acceptable as it stands.
int OnEndOfFile(CParamFileContext*, const char*, const void*)
{
    return 0;
}

// Static, not const: the reader keeps each key's count in its entry.
ParamDesc s_substitutionKeys[] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"date", 's', OnDate, 0, 0, 0, 0},
    {"set1mat", 's', OnMaterial<&CSubstitution::m_set1>, 0, 0, 0, 0},
    {"set1amt", 'd', OnAmount<&CSubstitution::m_set1>, PF_MIN_INCL, 0, 0, 0},
    {"set2mat", 's', OnMaterial<&CSubstitution::m_set2>, 0, 0, 0, 0},
    {"set2amt", 'd', OnAmount<&CSubstitution::m_set2>, PF_MIN_INCL, 0, 0, 0},
    {"note", 's', OnNote, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {nullptr, 0, OnEndOfFile, 0, 0, 0, 0},
};

// An amount with trailing zeros kept. The reader refuses amounts below 0, so a negative, NaN or
// infinite amount is written as 0 rather than make the file unreadable. A value too large to
// have anything to round at that many decimals is printed as it is: scaling it up and down again
// would change it, and a file written, read and written again would differ.
std::string AmountText(double amount, int decimals)
{
    if (!std::isfinite(amount) || !(amount > 0.0))
        amount = 0.0;
    if (amount * PowerOfTen(decimals) < 1e15)
        return FormatFixed(amount, decimals);
    return FormatDoubleFixed(amount, decimals);
}

class CSubstitutionFileWriter {
public:
    CSubstitutionFileWriter() : m_decimals(std::max({5, g_prefs.decrecipe, g_prefs.decrecipeinput})) {}

    void Line(std::string_view prefix, std::string_view value)
    {
        m_text.append(prefix);
        AppendOneLineValue(m_text, value);
        m_text.push_back('\n');
    }
    void Empty() { m_text.push_back('\n'); }

    void Set(const CIngredientList& set, const char* materialPrefix, const char* amountPrefix)
    {
        for (const auto& line : set) {
            if (!line)
                continue;
            Line(materialPrefix, line->m_name);
            Line(amountPrefix, AmountText(line->m_amount, m_decimals));
        }
    }

    void Record(const CSubstitution& s)
    {
        Line("name    = ", s.m_name);
        Line("date    = ", s.m_date);
        Set(s.m_set1, "set1mat = ", "set1amt = ");
        Set(s.m_set2, "set2mat = ", "set2amt = ");
        for (const std::string& note : s.m_notes)
            Line("note = |", note);
        Empty();
    }

    const std::string& Text() const { return m_text; }

private:
    const int m_decimals;
    std::string m_text;
};

} // namespace

int CSubstitutionList::Read(std::istream& in)
{
    // An empty list keeps its name when the file names none.
    if (!m_records.empty())
        Reset();
    m_infoLines.clear();
    const int result = ParseParameterFile(m_errorText, in, s_substitutionKeys, this, 0);
    if (result != 0)
        Reset();
    return result;
}

int CSubstitutionList::Write(std::ostream& out) const
{
    CSubstitutionFileWriter writer;
    writer.Line("filetype = ", kSubstitutionFileType);
    writer.Line("version =  ", "2");
    writer.Line("dbname  = ", m_dbName);
    for (const std::string& line : m_infoLines)
        writer.Line("I = |", line);
    writer.Empty();
    for (const auto& record : m_records) {
        if (record)
            writer.Record(*record);
    }
    out.write(writer.Text().data(), static_cast<std::streamsize>(writer.Text().size()));
    out.flush();
    return out.fail() ? 1 : 0;
}
