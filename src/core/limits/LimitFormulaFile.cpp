// The limit-formula database file (.lim): the reader's key table with one handler per key, and
// the writer.
//
// Written files look like this (LF line ends; the reader also takes CR LF and CR):
//
//     filetype = Oxidarium Limit Formulas
//     version =  2
//
//     dbname  = Limit Formulas
//     I = |an information line
//
//     cmbname    = KNaO
//     cmbformula = Na+K
//     cmbplotmin = 0
//     cmbplotmax = 1
//     (empty line after every combination)
//
//     (empty line)
//     name  = Cone 6 gloss
//     date  = 01/31/2024
//     combo = SiO2
//     range = 2.5 - 4
//     bypct = n
//     note = |a note line
//     (empty line after every formula)
//
// The '|' in front of note and information texts keeps their leading blanks through the
// reader's trimming; the handlers drop it again. The reader attaches every formula key to the
// formula the latest "name" began and every combination key to the combination the latest
// "cmbname" began, so the two kinds of record may be interleaved.

#include "limits/LimitFormulaDB.h"

#include "support/CompareNoCase.h"
#include "support/DbFileInfo.h"
#include "support/TextHelpers.h"

#include <charconv>
#include <ostream>
#include <string_view>

namespace {

// The result of a record key without its record: the reader reports the key and the line.
constexpr int kNoRecord = -1;
constexpr int kWrongFileType = 1;

CLimitFormulaDB& DatabaseOf(CParamFileContext* context)
{
    return *static_cast<CLimitFormulaDB*>(context);
}

// A note line: the value without the '|' the writer put first.
std::string NoteFromValue(const void* value)
{
    const std::string_view text = ParamText(value);
    return std::string(text.empty() ? text : text.substr(1));
}

// Applies a change to the formula that the latest "name" began.
template <class Change>
int ChangeCurrentFormula(CParamFileContext* context, Change change)
{
    CLimitFormulaDB& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    change(database.CurrentRecord());
    return 0;
}

// Applies a change to the last limit of that formula: "range" and "bypct" follow their "combo".
template <class Change>
int ChangeCurrentLimit(CParamFileContext* context, Change change)
{
    CLimitFormulaDB& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    CLimitArray& limits = database.CurrentRecord().m_limits;
    if (limits.GetCount() == 0)
        return kNoRecord;
    change(limits.GetAt(limits.GetCount() - 1));
    return 0;
}

// Applies a change to the combination that the latest "cmbname" began.
template <class Change>
int ChangeCurrentCombination(CParamFileContext* context, Change change)
{
    CLimitFormulaDB& database = DatabaseOf(context);
    if (database.NoCurrentItem())
        return kNoRecord;
    change(database.CurrentItem());
    return 0;
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    CLimitFormulaDB& database = DatabaseOf(context);
    database.InsertFormula(database.GetCount(), CLimitFormula(ParamText(value)));
    return 0;
}

int OnDate(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentFormula(context, [value](CLimitFormula& f) { f.m_date = ParamText(value); });
}

int OnCombo(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentFormula(context, [value](CLimitFormula& f) { f.m_limits.Add(CLimit(ParamText(value))); });
}

int OnRange(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentLimit(context, [value](CLimit& limit) {
        limit.SetRange(ParamText(value));
        limit.ParseRange();
    });
}

int OnByPercent(CParamFileContext* context, const char*, const void* value)
{
    const char c = ParamChar(value);
    return ChangeCurrentLimit(context, [c](CLimit& limit) { limit.m_byPercent = (c == 'y' || c == 'Y') ? 1 : 0; });
}

int OnNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentFormula(context, [value](CLimitFormula& f) { f.m_notes.push_back(NoteFromValue(value)); });
}

int OnCombinationName(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_combinations.Add(COxideCombination(ParamText(value), std::string(), 0.0, 1.0));
    return 0;
}

int OnCombinationFormula(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentCombination(context, [value](COxideCombination& c) {
        c.SetFormula(ParamText(value));
        c.Parse();
    });
}

int OnPlotMin(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentCombination(context, [value](COxideCombination& c) { c.m_plotMin = ParamDouble(value); });
}

int OnPlotMax(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentCombination(context, [value](COxideCombination& c) { c.m_plotMax = ParamDouble(value); });
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_infoLines.push_back(InfoLineFromValue(ParamText(value)));
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_name = ParamText(value);
    return 0;
}

// The whole value goes into the message, however long it is.
int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kLimitFormulaFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return kWrongFileType;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_version = ParamInt(value);
    return 0;
}

// Nothing is left to check when the file ends.
int OnEndOfFile(CParamFileContext*, const char*, const void*)
{
    return 0;
}

// Static, not const: the reader keeps each key's count in its entry.
ParamDesc s_limitFormulaKeys[] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"date", 's', OnDate, 0, 0, 0, 0},
    {"combo", 's', OnCombo, 0, 0, 0, 0},
    {"range", 's', OnRange, 0, 0, 0, 0},
    {"bypct", 'c', OnByPercent, 0, 0, 0, 0},
    {"note", 's', OnNote, 0, 0, 0, 0},
    {"cmbname", 's', OnCombinationName, 0, 0, 0, 0},
    {"cmbformula", 's', OnCombinationFormula, 0, 0, 0, 0},
    {"cmbplotmin", 'd', OnPlotMin, 0, 0, 0, 0},
    {"cmbplotmax", 'd', OnPlotMax, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {nullptr, 0, OnEndOfFile, 0, 0, 0, 0},
};

// "%g": six significant digits, whatever the locale (0, 1, 2, 10 and 20 stay as they are).
std::string GeneralNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

void WriteLine(std::ostream& out, const char* key, const std::string& value)
{
    out << key << OneLineValue(value) << '\n';
}

void WriteCombination(std::ostream& out, const COxideCombination& combination)
{
    WriteLine(out, "cmbname    = ", combination.m_name);
    WriteLine(out, "cmbformula = ", combination.GetFormula());
    WriteLine(out, "cmbplotmin = ", GeneralNumber(combination.m_plotMin));
    WriteLine(out, "cmbplotmax = ", GeneralNumber(combination.m_plotMax));
    out << '\n';
}

void WriteFormula(std::ostream& out, const CLimitFormula& formula)
{
    WriteLine(out, "name  = ", formula.m_name);
    WriteLine(out, "date  = ", formula.m_date);
    for (int i = 0; i < formula.m_limits.GetCount(); ++i) {
        const CLimit& limit = formula.m_limits.GetAt(i);
        WriteLine(out, "combo = ", limit.m_comboName);
        WriteLine(out, "range = ", limit.GetRange());
        WriteLine(out, "bypct = ", limit.m_byPercent ? "y" : "n");
    }
    for (const std::string& note : formula.m_notes)
        WriteLine(out, "note = |", note);
    out << '\n';
}

} // namespace

int CLimitFormulaDB::Read(std::istream& in)
{
    Reset();
    const int result = ParseParameterFile(m_errorText, in, s_limitFormulaKeys, this, 0);
    if (result != 0)
        Reset();
    return result;
}

int CLimitFormulaDB::Write(std::ostream& out) const
{
    WriteLine(out, "filetype = ", kLimitFormulaFileType);
    WriteLine(out, "version =  ", "2");
    out << '\n';
    WriteLine(out, "dbname  = ", m_name);
    for (const std::string& line : m_infoLines)
        WriteLine(out, "I = |", line);
    out << '\n';
    for (const auto& combination : m_combinations)
        WriteCombination(out, *combination);
    out << '\n';
    for (const auto& formula : m_formulas)
        WriteFormula(out, *formula);
    out.flush();
    return out.fail() ? 1 : 0;
}
