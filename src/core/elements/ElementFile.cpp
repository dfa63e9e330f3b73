#include "elements/ElementFile.h"

#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <ostream>
#include <string_view>

namespace {

// The result of a key handler that refuses its key.
constexpr int kKeyRefused = -1;

// The value as a note, annotation or information line: without the '|' the writer puts first.
std::string LineFromValue(const void* value)
{
    const std::string_view text = ParamText(value);
    return std::string(text.empty() ? text : text.substr(1));
}

// Version 1 files wrote 0 where the coefficient is unknown.
double CoefficientFromValue(const CElementFile& file, const void* value)
{
    const double number = ParamDouble(value);
    return file.m_version < 2 && number == 0.0 ? -999.0 : number;
}

CElementFile& FileOf(CParamFileContext* context)
{
    return *static_cast<CElementFile*>(context);
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kElementFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return kKeyRefused;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    FileOf(context).m_version = ParamInt(value);
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    FileOf(context).m_dbName = ParamText(value);
    return 0;
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    FileOf(context).m_infoLines.push_back(LineFromValue(value));
    return 0;
}

int OnZ(CParamFileContext* context, const char*, const void* value)
{
    FileOf(context).m_curZ = ParamInt(value);
    return 0;
}

// Applies a change to the record that element keys fill; before the first "z" key there is
// none and the key is refused.
template <class Change>
int ChangeCurrentElement(CParamFileContext* context, Change change)
{
    CElementFile& file = FileOf(context);
    if (file.m_curZ < 1 || file.m_curZ >= kElementCount)
        return kKeyRefused;
    change(file.m_elements, file.m_elements[file.m_curZ]);
    return 0;
}

int OnRole(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) {
        e.SetRole(ParseRoleLetters(ParamText(value)));
    });
}

int OnReductionRole(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) {
        e.SetReductionRole(ParseRoleLetters(ParamText(value)));
    });
}

// The oxide texts and weights are rebuilt from the counts as they are read.
int OnNcat(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable& table, CElementRecord& e) {
        table.SetOxide(e.z, ParamInt(value), -1);
    });
}

int OnNan(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable& table, CElementRecord& e) {
        table.SetOxide(e.z, -1, ParamInt(value));
    });
}

int OnNcatRed(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable& table, CElementRecord& e) {
        table.SetReductionOxide(e.z, ParamInt(value), -1);
    });
}

int OnNanRed(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable& table, CElementRecord& e) {
        table.SetReductionOxide(e.z, -1, ParamInt(value));
    });
}

int OnDifferentOxide(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) {
        e.difoxinred = (ParamChar(value) | 0x20) == 'y' ? 1 : 0;
    });
}

int OnExpansion(CParamFileContext* context, const char*, const void* value)
{
    const double number = CoefficientFromValue(FileOf(context), value);
    return ChangeCurrentElement(context, [number](CElementTable&, CElementRecord& e) { e.expansion = number; });
}

int OnViscosity(CParamFileContext* context, const char*, const void* value)
{
    const double number = CoefficientFromValue(FileOf(context), value);
    return ChangeCurrentElement(context, [number](CElementTable&, CElementRecord& e) { e.viscosity = number; });
}

int OnSurfaceTension(CParamFileContext* context, const char*, const void* value)
{
    const double number = CoefficientFromValue(FileOf(context), value);
    return ChangeCurrentElement(context, [number](CElementTable&, CElementRecord& e) { e.stension = number; });
}

int OnUnusual(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) { e.unusual = ParamInt(value); });
}

int OnHazards(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) { e.hazards = ParamInt(value); });
}

int OnNote(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) {
        e.notes.push_back(LineFromValue(value));
    });
}

int OnAnnotation(CParamFileContext* context, const char*, const void* value)
{
    return ChangeCurrentElement(context, [value](CElementTable&, CElementRecord& e) {
        e.annotations.push_back(LineFromValue(value));
    });
}

// Static, not const: the reader keeps each key's count in its entry.
ParamDesc s_elementKeys[] = {
    {"z", 'i', OnZ, PF_MIN_INCL | PF_MAX_INCL, 1, 103, 0},
    {"role", 's', OnRole, 0, 0, 0, 0},
    {"ncat", 'i', OnNcat, PF_MIN_INCL | PF_MAX_INCL, 1, 99, 0},
    {"nan", 'i', OnNan, PF_MIN_INCL | PF_MAX_INCL, 0, 99, 0},
    {"difoxinred", 'c', OnDifferentOxide, 0, 0, 0, 0},
    {"rolered", 's', OnReductionRole, 0, 0, 0, 0},
    {"ncatred", 'i', OnNcatRed, PF_MIN_INCL | PF_MAX_INCL, 1, 99, 0},
    {"nanred", 'i', OnNanRed, PF_MIN_INCL | PF_MAX_INCL, 0, 99, 0},
    {"expansion", 'd', OnExpansion, 0, 0, 0, 0},
    {"unusual", 'i', OnUnusual, 0, 0, 0, 0},
    {"viscosity", 'd', OnViscosity, 0, 0, 0, 0},
    {"stension", 'd', OnSurfaceTension, 0, 0, 0, 0},
    {"hazards", 'i', OnHazards, 0, 0, 0, 0},
    {"note", 's', OnNote, 0, 0, 0, 0},
    {"annote", 's', OnAnnotation, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_MIN_INCL | PF_MAX_INCL | PF_REQUIRED | PF_ONCE, 1, 2, 0},
    {nullptr, 0, nullptr, 0, 0, 0, 0},
};

void WriteLine(std::ostream& out, const char* key, const std::string& value)
{
    out << key << OneLineValue(value) << '\n' << std::flush;
}

void WriteLines(std::ostream& out, const char* key, const CStringArrayEx& lines)
{
    for (const std::string& line : lines)
        WriteLine(out, key, line);
}

void WriteElement(std::ostream& out, const CElementRecord& e)
{
    using std::to_string;
    WriteLine(out, "z    = ", to_string(e.z));
    WriteLine(out, "role = ", FormatRoleLetters(e.role));
    WriteLine(out, "ncat = ", to_string(e.ncat));
    WriteLine(out, "nan  = ", to_string(e.nan));
    WriteLine(out, "difoxinred = ", e.difoxinred > 0 ? "y" : "n");
    WriteLine(out, "rolered = ", FormatRoleLetters(e.rolered));
    WriteLine(out, "ncatred = ", to_string(e.ncatred));
    WriteLine(out, "nanred  = ", to_string(e.nanred));
    WriteLine(out, "expansion = ", FormatFixed(e.expansion, 8));
    WriteLine(out, "unusual = ", to_string(e.unusual));
    WriteLine(out, "viscosity = ", FormatFixed(e.viscosity, 8));
    WriteLine(out, "stension = ", FormatFixed(e.stension, 8));
    WriteLine(out, "hazards = ", to_string(e.hazards));
    WriteLines(out, "annote = |", e.annotations);
    WriteLines(out, "note = |", e.notes);
    out << '\n' << std::flush;
}

} // namespace

int CElementFile::ReadElements(std::istream& in)
{
    m_elements.RevertAllElements(ENotesRevert::Delete);
    m_infoLines.clear();
    m_curZ = -1;
    // A file without a version key fails anyway; one with it late must not see the version of
    // the file read before.
    m_version = 2;
    const int result = ParseParameterFile(m_errorText, in, s_elementKeys, this);
    if (result != 0) {
        m_elements.RevertAllElements(ENotesRevert::Delete);
        m_infoLines.clear();
    }
    return result;
}

int CElementFile::WriteElements(std::ostream& out) const
{
    WriteLine(out, "filetype = ", kElementFileType);
    WriteLine(out, "version =  ", "2");
    out << '\n';
    WriteLine(out, "dbname  = ", m_dbName);
    WriteLines(out, "I = |", m_infoLines);
    out << '\n' << std::flush;
    for (int z = 1; z < kElementCount; ++z)
        WriteElement(out, m_elements[z]);
    return out ? 0 : 1;
}
