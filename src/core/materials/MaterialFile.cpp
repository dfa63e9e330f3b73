// The materials database file (.mat): the reader's key table with one handler per key, and the
// writer.
//
// Written files look like this (LF line ends; the reader also takes CR LF and CR):
//
//     filetype = Oxidarium Materials
//     version =  2
//
//     dbname  = Materials
//     I = |an information line
//
//     cursym   = $
//     costunit = 0
//     costrod  = 2
//     costlod  = 3
//     densunit = 0
//     name      = Silica
//     date      = ...
//     code      = SIL
//     aka       = Flint
//     akacode   =
//     type      = silica
//     mapto     =
//     formula   = SiO2
//     density   = 0.0
//     available = y
//     costperlb = 0.00
//     note = |a note line
//     (empty line after every material)
//
// The '|' in front of note and information texts keeps their leading blanks through the
// reader's trimming; the handlers drop the first character of such a value again.

#include "materials/MaterialArray.h"

#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/ParamFilePieces.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <iterator>
#include <ostream>
#include <string_view>

namespace {

// The result of a record key before the first "name": the reader reports the line.
constexpr int kNoRecord = -1;

CMaterialArray& DatabaseOf(CParamFileContext* context)
{
    return *static_cast<CMaterialArray*>(context);
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
    CMaterialArray& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    change(database.CurrentRecord());
    return 0;
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).AppendNewRecord(ParamText(value));
    return 0;
}

int OnDate(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_date = ParamText(value); });
}

int OnCode(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) {
        m.m_code = ParamText(value);
        m.UpdateDisplayKey();
    });
}

int OnAlias(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) {
        m.m_akaNames.emplace_back(ParamText(value));
        m.m_akaCodes.emplace_back();
    });
}

// The code of the alias the latest "aka" added; without one there is nothing to set.
int OnAliasCode(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) {
        if (!m.m_akaCodes.empty())
            m.m_akaCodes.back() = ParamText(value);
    });
}

int OnType(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_type = ParamText(value); });
}

int OnMapTo(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_mapTo = ParamText(value); });
}

// A formula that does not parse is kept as written (the record has no analysis then); reading
// goes on, and Check Database names the material.
int OnFormula(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.KeepFormula(ParamText(value)); });
}

int OnDensity(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_density = ParamDouble(value); });
}

int OnAvailable(CParamFileContext* context, const char*, const void* value)
{
    const char c = ParamChar(value);
    return ChangeCurrentRecord(context, [c](CMaterial& m) { m.m_available = (c == 'y' || c == 'Y') ? 1 : 0; });
}

int OnCost(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_costPerLb = ParamDouble(value); });
}

int OnAnalysisNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_anNotes.push_back(LineFromValue(value)); });
}

int OnHazardNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_hazNotes.push_back(LineFromValue(value)); });
}

int OnNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentRecord(context, [value](CMaterial& m) { m.m_notes.push_back(LineFromValue(value)); });
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_infoLines.push_back(LineFromValue(value));
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_dbName = ParamText(value);
    return 0;
}

int OnCurrencySymbol(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_currencySymbol = ParamText(value);
    return 0;
}

int OnCostUnit(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_costUnit = ParamInt(value);
    return 0;
}

int OnCostPlacesRight(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_costPlacesRight = ParamInt(value);
    return 0;
}

int OnCostPlacesLeft(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_costPlacesLeft = ParamInt(value);
    return 0;
}

int OnDensityUnit(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_densityUnit = ParamInt(value);
    return 0;
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kMaterialFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return 1;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_fileVersion = ParamInt(value);
    return 0;
}

// The last record needs no check of its own.
int OnEndOfFile(CParamFileContext*, const char*, const void*)
{
    return 0;
}

constexpr std::uint32_t kOnceInRange = PF_ONCE | PF_MIN_INCL | PF_MAX_INCL;

// Static, not const: the reader keeps each key's count in its entry.
ParamDesc s_materialKeys[] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"date", 's', OnDate, 0, 0, 0, 0},
    {"code", 's', OnCode, 0, 0, 0, 0},
    {"aka", 's', OnAlias, 0, 0, 0, 0},
    {"akacode", 's', OnAliasCode, 0, 0, 0, 0},
    {"type", 's', OnType, 0, 0, 0, 0},
    {"mapto", 's', OnMapTo, 0, 0, 0, 0},
    {"formula", 's', OnFormula, 0, 0, 0, 0},
    {"density", 'd', OnDensity, 0, 0, 0, 0},
    {"available", 'c', OnAvailable, 0, 0, 0, 0},
    {"costperlb", 'd', OnCost, 0, 0, 0, 0},
    {"annote", 's', OnAnalysisNote, 0, 0, 0, 0},
    {"haznote", 's', OnHazardNote, 0, 0, 0, 0},
    {"note", 's', OnNote, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"cursym", 's', OnCurrencySymbol, PF_ONCE, 0, 0, 0},
    {"costunit", 'i', OnCostUnit, kOnceInRange, 0, 1, 0},
    {"costrod", 'i', OnCostPlacesRight, kOnceInRange, 0, 10, 0},
    {"costlod", 'i', OnCostPlacesLeft, kOnceInRange, 0, 10, 0},
    // The last header line, the last of a database without materials (each material ends with a
    // blank line).
    {"densunit", 'i', OnDensityUnit, kOnceInRange | PF_ENDS_FILE, 0, 1, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | kOnceInRange, 1, 2, 0},
    {nullptr, 0, OnEndOfFile, 0, 0, 0, 0},
};

// A number with decimals, rounded half away from zero. A value too large to have anything to round
// at that many decimals is written as it is: scaling it up and down again would change it, and
// a file written, read and written again would differ.
std::string FileNumber(double value, int decimals)
{
    if (std::fabs(value) * PowerOfTen(decimals) < 1e15)
        return FormatFixed(value, decimals);
    return FormatDoubleFixed(value, decimals);
}

// The decimals the file keeps of a density.
constexpr int kDensityDecimals = 1;

// The number the file holds after value is written with decimals and read back.
double KeptNumber(double value, int decimals)
{
    return ParseDouble(FileNumber(value, decimals));
}

void WriteLine(std::ostream& out, const char* key, const std::string& value)
{
    out << key << OneLineValue(value) << '\n';
}

void WriteLines(std::ostream& out, const char* key, const CStringArrayEx& lines)
{
    for (const std::string& line : lines)
        WriteLine(out, key, line);
}

// Other names and their codes in pairs, as many pairs as the longer list has entries.
void WriteAliases(std::ostream& out, const CMaterial& m)
{
    const std::size_t pairs = std::max(m.m_akaNames.size(), m.m_akaCodes.size());
    for (std::size_t k = 0; k < pairs; ++k) {
        WriteLine(out, "aka       = ", k < m.m_akaNames.size() ? m.m_akaNames[k] : std::string());
        WriteLine(out, "akacode   = ", k < m.m_akaCodes.size() ? m.m_akaCodes[k] : std::string());
    }
}

void WriteMaterial(std::ostream& out, const CMaterial& m, int costPlaces)
{
    WriteLine(out, "name      = ", m.m_name);
    WriteLine(out, "date      = ", m.m_date);
    WriteLine(out, "code      = ", m.m_code);
    WriteAliases(out, m);
    WriteLine(out, "type      = ", m.m_type);
    WriteLine(out, "mapto     = ", m.m_mapTo);
    WriteLine(out, "formula   = ", m.m_formula);
    WriteLine(out, "density   = ", FileNumber(m.m_density, kDensityDecimals));
    WriteLine(out, "available = ", m.m_available > 0 ? "y" : "n");
    WriteLine(out, "costperlb = ", FileNumber(m.m_costPerLb, costPlaces));
    WriteLines(out, "annote = |", m.m_anNotes);
    WriteLines(out, "haznote = |", m.m_hazNotes);
    WriteLines(out, "note = |", m.m_notes);
    out << '\n';
}

} // namespace

bool IsMaterialFileHeaderKey(const char* key)
{
    static constexpr std::string_view kHeaderKeys[] = {"I",        "dbname",  "cursym",   "costunit", "costrod",
                                                       "costlod",  "densunit", "filetype", "version"};
    return std::find(std::begin(kHeaderKeys), std::end(kHeaderKeys), key) != std::end(kHeaderKeys);
}

int CMaterialArray::Read(std::istream& in, const CParamPieceOptions& options)
{
    ResetToDefaults();
    static const CParamPieceFormat format{s_materialKeys, "name", IsMaterialFileHeaderKey};
    std::vector<std::unique_ptr<CMaterialArray>> pieces;
    if (ReadParamFileInPieces(in, format, pieces, options)) {
        CMaterialArray& first = *pieces.front();
        m_records = std::move(first.m_records);
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            RecordList& records = pieces[i]->m_records;
            m_records.insert(m_records.end(), std::make_move_iterator(records.begin()),
                             std::make_move_iterator(records.end()));
        }
        m_dbName = std::move(first.m_dbName);
        m_infoLines = std::move(first.m_infoLines);
        m_currencySymbol = std::move(first.m_currencySymbol);
        m_costUnit = first.m_costUnit;
        m_costPlacesRight = first.m_costPlacesRight;
        m_costPlacesLeft = first.m_costPlacesLeft;
        m_densityUnit = first.m_densityUnit;
        m_fileVersion = first.m_fileVersion;
        m_errorText.clear();
        m_readNotes = std::move(first.m_readNotes);
        m_indexValid = false;
        return 0;
    }
    const int result = ParseParameterFile(m_errorText, in, s_materialKeys, this, 0);
    if (result != 0)
        ResetToDefaults();
    return result;
}

double CMaterialArray::KeptDensity(double density)
{
    return KeptNumber(density, kDensityDecimals);
}

double CMaterialArray::KeptCost(double cost) const
{
    return KeptNumber(cost, m_costPlacesRight);
}

int CMaterialArray::Write(std::ostream& out) const
{
    WriteLine(out, "filetype = ", kMaterialFileType);
    WriteLine(out, "version =  ", "2");
    out << '\n';
    WriteLine(out, "dbname  = ", m_dbName);
    WriteLines(out, "I = |", m_infoLines);
    out << '\n';
    WriteLine(out, "cursym   = ", m_currencySymbol);
    WriteLine(out, "costunit = ", std::to_string(m_costUnit));
    WriteLine(out, "costrod  = ", std::to_string(m_costPlacesRight));
    WriteLine(out, "costlod  = ", std::to_string(m_costPlacesLeft));
    WriteLine(out, "densunit = ", std::to_string(m_densityUnit));
    for (const auto& record : m_records)
        WriteMaterial(out, *record, m_costPlacesRight);
    out.flush();
    return out.bad() || out.fail() ? 1 : 0;
}
