// The graph-template database file (.grt): the reader's key table with its handlers, and the
// writer.
//
// Written files look like this (LF line ends; the reader also takes CR LF and CR):
//
//     filetype = Oxidarium Graph Templates
//     version =  2
//
//     dbname  = Graph Templates
//     I = |an information line
//
//     oxcz = 0               (four lines per oxide colour, then an empty line)
//     oxccol = 11
//     oxcpat = 0
//     oxccp = n
//
//     mtctype = frit         (four lines per material-type colour, then an empty line)
//     mtccol = 3
//     mtcpat = 0
//     mtccp = n
//
//     name   = Oxide pie     (then the notes, every setting, the data sources, an empty line)
//     note = |a note line
//     type = 0
//     ...
//     dsname = [current glaze]
//     dsdb = 0
//     ...
//
// Flags are written "y" or "n", doubles with six decimals. The '|' in front of note and
// information texts keeps their leading blanks through the reader's trimming. The reader attaches
// every template key to the template the latest "name" began, every data-source key to the data
// source the latest "dsname" began, and the colour keys to the entry the latest "oxcz" or
// "mtctype" began, so the blocks may come in any order.

#include "graphs/GraphTemplateDatabase.h"

#include "graphs/GraphTemplateRanges.h"

#include "support/CompareNoCase.h"
#include "support/DbFileInfo.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <iterator>
#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// The result of a key whose record has not begun: the reader reports the key and the line.
constexpr int kNoRecord = -1;
constexpr int kWrongFileType = -1;

// One template setting as the file carries it. kind: 'i' integer, 'c' flag, 'd' double,
// 's' text. Exactly the member of the kind is set.
struct STemplateField {
    const char* key;
    char kind;
    int CGraphTemplate::*number = nullptr;
    double CGraphTemplate::*real = nullptr;
    std::string CGraphTemplate::*text = nullptr;
};

constexpr STemplateField Int(const char* key, int CGraphTemplate::*member) { return {key, 'i', member}; }
constexpr STemplateField Flag(const char* key, int CGraphTemplate::*member) { return {key, 'c', member}; }
constexpr STemplateField Real(const char* key, double CGraphTemplate::*member) { return {key, 'd', nullptr, member}; }
constexpr STemplateField Text(const char* key, std::string CGraphTemplate::*member)
{
    return {key, 's', nullptr, nullptr, member};
}

using T = CGraphTemplate;

// The settings in the order of the file (and of the record).
constexpr STemplateField kTemplateFields[] = {
    Int("type", &T::type),           Flag("glzedan", &T::glzedan),    Flag("glzedlf", &T::glzedlf),
    Flag("gridx", &T::gridx),        Flag("gridy", &T::gridy),        Flag("labels", &T::labels),
    Flag("barhor", &T::barhor),      Int("barwid", &T::barwid),       Flag("mono", &T::mono),
    Flag("piebar3d", &T::piebar3d),  Int("depth3d", &T::depth3d),     Int("xgap3d", &T::xgap3d),
    Int("zgap3d", &T::zgap3d),       Flag("persp3d", &T::persp3d),    Flag("cgflip3d", &T::cgflip3d),
    Flag("cgthin3d", &T::cgthin3d),  Int("rot3d", &T::rot3d),         Int("elev3d", &T::elev3d),
    Int("eyepos3d", &T::eyepos3d),   Flag("borders", &T::borders),    Flag("pareto", &T::pareto),
    Flag("reverse", &T::reverse),    Flag("autocol", &T::autocol),    Flag("sticks", &T::sticks),
    Int("symsize", &T::symsize),     Flag("true3d", &T::true3d),      Flag("noleg", &T::noleg),
    Int("txmainfam", &T::txmainfam), Int("txmainsty", &T::txmainsty), Int("txmainsiz", &T::txmainsiz),
    Int("txlrbfam", &T::txlrbfam),   Int("txlrbsty", &T::txlrbsty),   Int("txlrbsiz", &T::txlrbsiz),
    Int("txpiefam", &T::txpiefam),   Int("txpiesty", &T::txpiesty),   Int("txpiesiz", &T::txpiesiz),
    Int("txaxfam", &T::txaxfam),     Int("txaxsty", &T::txaxsty),     Int("txaxsiz", &T::txaxsiz),
    Int("txtrifam", &T::txtrifam),   Int("txtristy", &T::txtristy),   Int("txtrisiz", &T::txtrisiz),
    Int("txlegfam", &T::txlegfam),   Int("txlegsty", &T::txlegsty),   Int("txlegsiz", &T::txlegsiz),
    Text("ttltop", &T::ttltop),      Text("ttllft", &T::ttllft),      Text("ttlrt", &T::ttlrt),
    Text("ttlbot", &T::ttlbot),      Flag("ttllftv", &T::ttllftv),    Flag("ttlrtv", &T::ttlrtv),
    Flag("ttltopa", &T::ttltopa),    Flag("ttllfta", &T::ttllfta),    Flag("ttlrta", &T::ttlrta),
    Flag("ttlbota", &T::ttlbota),    Flag("xman", &T::xman),          Real("xmin", &T::xmin),
    Real("xmax", &T::xmax),          Int("xtick", &T::xtick),         Int("xtickm", &T::xtickm),
    Flag("xbot", &T::xbot),          Flag("xtop", &T::xtop),          Flag("xvert", &T::xvert),
    Flag("yman", &T::yman),          Real("ymin", &T::ymin),          Real("ymax", &T::ymax),
    Int("ytick", &T::ytick),         Int("ytickm", &T::ytickm),       Flag("ylft", &T::ylft),
    Flag("yrt", &T::yrt),            Flag("zman", &T::zman),          Real("zmin", &T::zmin),
    Real("zmax", &T::zmax),          Int("ztick", &T::ztick),         Int("ztickm", &T::ztickm),
    Int("tickin", &T::tickin),       Text("bpoxides", &T::bpoxides),  Flag("allbar", &T::allbar),
    Int("xoxide", &T::xoxide),       Int("yoxide", &T::yoxide),       Int("zoxide", &T::zoxide),
    Int("oxtype", &T::oxtype),       Int("hoxide", &T::hoxide),       Real("hmin", &T::hmin),
    Real("hmax", &T::hmax),          Int("hsteps", &T::hsteps),       Flag("hpct", &T::hpct),
    Text("ovfile", &T::ovfile),      Int("ovftype", &T::ovftype),     Text("limform", &T::limform),
};

// Fields 3 to 92 of the record: every setting between the name and the data sources.
static_assert(std::size(kTemplateFields) == 90);

CGraphTemplateDatabase& DatabaseOf(CParamFileContext* context)
{
    return *static_cast<CGraphTemplateDatabase*>(context);
}

int FlagValue(const void* value)
{
    const char c = ParamChar(value);
    return c == 'y' || c == 'Y' ? 1 : 0;
}

// A note or information line: the value without the '|' the writer put first.
std::string NoteFromValue(const void* value)
{
    const std::string_view text = ParamText(value);
    return std::string(text.empty() ? text : text.substr(1));
}

// The setting of a key: the reader hands every handler the key of its table entry, which is the
// key text of the field itself.
const STemplateField& FieldOf(const char* key)
{
    static const std::unordered_map<const char*, const STemplateField*> fields = [] {
        std::unordered_map<const char*, const STemplateField*> map;
        for (const STemplateField& field : kTemplateFields)
            map.emplace(field.key, &field);
        return map;
    }();
    return *fields.at(key);
}

int OnTemplateSetting(CParamFileContext* context, const char* key, const void* value)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    CGraphTemplate& record = database.CurrentRecord();
    const STemplateField& field = FieldOf(key);
    switch (field.kind) {
    case 'i': record.*field.number = ParamInt(value); break;
    case 'c': record.*field.number = FlagValue(value); break;
    case 'd': record.*field.real = ParamDouble(value); break;
    default: record.*field.text = ParamText(value); break;
    }
    return 0;
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    database.InsertAt(database.GetCount(), CGraphTemplate(ParamText(value)));
    return 0;
}

int OnNote(CParamFileContext* context, const char*, const void* value)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    database.CurrentRecord().m_notes.push_back(NoteFromValue(value));
    return 0;
}

int OnDataSourceName(CParamFileContext* context, const char*, const void* value)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentRecord())
        return kNoRecord;
    CGraphDataSourceArray& sources = database.CurrentRecord().m_dataSources;
    sources.InsertAt(sources.GetCount(), CGraphDataSource(ParamText(value)));
    return 0;
}

template <class Change>
int ChangeDataSource(CParamFileContext* context, Change change)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentDataSource())
        return kNoRecord;
    change(database.CurrentDataSource());
    return 0;
}

template <int CGraphDataSource::*Member>
int OnDataSourceInt(CParamFileContext* context, const char*, const void* value)
{
    return ChangeDataSource(context, [value](CGraphDataSource& s) { s.*Member = ParamInt(value); });
}

int OnDataSourceFlag(CParamFileContext* context, const char*, const void* value)
{
    return ChangeDataSource(context, [value](CGraphDataSource& s) { s.dscp = FlagValue(value); });
}

int OnDataSourceDatabase(CParamFileContext* context, const char*, const void* value)
{
    return ChangeDataSource(context, [value](CGraphDataSource& s) { s.dsdbname = ParamText(value); });
}

int OnDataSourceGlaze(CParamFileContext* context, const char*, const void* value)
{
    return ChangeDataSource(context, [value](CGraphDataSource& s) { s.dsgname.push_back(ParamText(value)); });
}

int OnOxideColorCode(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_oxideColors.push_back({ParamInt(value), 0, 0, 0});
    return 0;
}

template <class Change>
int ChangeOxideColor(CParamFileContext* context, Change change)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentSubItem())
        return kNoRecord;
    change(database.CurrentSubItem());
    return 0;
}

int OnOxideColor(CParamFileContext* context, const char*, const void* value)
{
    return ChangeOxideColor(context, [value](COxideColor& c) { c.color = ParamInt(value); });
}

int OnOxidePattern(CParamFileContext* context, const char*, const void* value)
{
    return ChangeOxideColor(context, [value](COxideColor& c) { c.pattern = ParamInt(value); });
}

int OnOxideColorWithPattern(CParamFileContext* context, const char*, const void* value)
{
    return ChangeOxideColor(context, [value](COxideColor& c) { c.colorWithPattern = FlagValue(value); });
}

int OnMaterialType(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_materialTypeColors.push_back({ParamText(value), 0, 0, 0});
    return 0;
}

template <class Change>
int ChangeMaterialColor(CParamFileContext* context, Change change)
{
    CGraphTemplateDatabase& database = DatabaseOf(context);
    if (database.NoCurrentItem())
        return kNoRecord;
    change(database.CurrentItem());
    return 0;
}

int OnMaterialColor(CParamFileContext* context, const char*, const void* value)
{
    return ChangeMaterialColor(context, [value](CMaterialTypeColor& c) { c.color = ParamInt(value); });
}

int OnMaterialPattern(CParamFileContext* context, const char*, const void* value)
{
    return ChangeMaterialColor(context, [value](CMaterialTypeColor& c) { c.pattern = ParamInt(value); });
}

int OnMaterialColorWithPattern(CParamFileContext* context, const char*, const void* value)
{
    return ChangeMaterialColor(context, [value](CMaterialTypeColor& c) { c.colorWithPattern = FlagValue(value); });
}

// The whole type text goes into the message, however long it is.
int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kGraphTemplateFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return kWrongFileType;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_version = ParamInt(value);
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_name = ParamText(value);
    return 0;
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    DatabaseOf(context).m_infoLines.push_back(InfoLineFromValue(ParamText(value)));
    return 0;
}

// Nothing is left to check when a template or the file ends.
int CheckLastRecord(CParamFileContext*, const char*, const void*)
{
    return 0;
}

int OnNameAfterCheck(CParamFileContext* context, const char* key, const void* value)
{
    if (const int result = CheckLastRecord(context, key, value); result != 0)
        return result;
    return OnName(context, key, value);
}

ParamDesc Entry(const char* key, int type, ParamHandler handler, std::uint32_t flags = 0, double min = 0,
                double max = 0)
{
    return ParamDesc{key, type, handler, flags, min, max, 0};
}

// The key table: header keys, the template keys in file order, data sources, colours, then the
// end entry. Built once; the reader keeps each key's count in its entry.
std::vector<ParamDesc> BuildKeyTable()
{
    std::vector<ParamDesc> table{
        Entry("filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE),
        Entry("version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2),
        Entry("dbname", 's', OnDbName),
        Entry("I", 's', OnInfoLine),
        Entry("name", 's', OnNameAfterCheck),
        Entry("note", 's', OnNote),
    };
    for (const STemplateField& field : kTemplateFields) {
        // A count or size outside its range is kept as it is stored, so that a save writes it back
        // unchanged, and noted; a chart bounds it when it is built (BoundGraphTemplate). Refusing
        // it left files of earlier builds or edited by hand unreadable.
        const SGraphTemplateRange* range = field.kind == 'i' ? FindGraphTemplateRange(field.number) : nullptr;
        if (range)
            table.push_back(Entry(field.key, field.kind, OnTemplateSetting, PF_MIN_INCL | PF_MAX_INCL | PF_NOTE_RANGE,
                                  range->min, range->max));
        else
            table.push_back(Entry(field.key, field.kind, OnTemplateSetting));
    }
    const ParamDesc rest[] = {
        Entry("dsname", 's', OnDataSourceName),
        Entry("dsdb", 'i', OnDataSourceInt<&CGraphDataSource::dsdb>),
        Entry("dsglz", 'i', OnDataSourceInt<&CGraphDataSource::dsglz>),
        Entry("dscol", 'i', OnDataSourceInt<&CGraphDataSource::dscol>),
        Entry("dssym", 'i', OnDataSourceInt<&CGraphDataSource::dssym>),
        Entry("dspat", 'i', OnDataSourceInt<&CGraphDataSource::dspat>),
        Entry("dscp", 'c', OnDataSourceFlag),
        Entry("dsdbname", 's', OnDataSourceDatabase),
        Entry("dsgname", 's', OnDataSourceGlaze),
        Entry("oxcz", 'i', OnOxideColorCode),
        Entry("oxccol", 'i', OnOxideColor),
        Entry("oxcpat", 'i', OnOxidePattern),
        Entry("oxccp", 'c', OnOxideColorWithPattern),
        Entry("mtctype", 's', OnMaterialType),
        Entry("mtccol", 'i', OnMaterialColor),
        Entry("mtcpat", 'i', OnMaterialPattern),
        Entry("mtccp", 'c', OnMaterialColorWithPattern),
        Entry(nullptr, 0, CheckLastRecord),
    };
    table.insert(table.end(), std::begin(rest), std::end(rest));
    return table;
}

ParamDesc* GrtKeyTable()
{
    static std::vector<ParamDesc> g_grtKeyTable = BuildKeyTable();
    return g_grtKeyTable.data();
}

// --- writing ---------------------------------------------------------------------------------------

void WriteLine(std::ostream& out, std::string_view prefix, const std::string& value)
{
    out << prefix << OneLineValue(value) << '\n';
}

void WriteSetting(std::ostream& out, const char* key, const std::string& value)
{
    out << key << " = " << OneLineValue(value) << '\n';
}

std::string FlagText(int flag)
{
    return flag ? "y" : "n";
}

void WriteTemplateSetting(std::ostream& out, const CGraphTemplate& record, const STemplateField& field)
{
    switch (field.kind) {
    case 'i': WriteSetting(out, field.key, std::to_string(record.*field.number)); break;
    case 'c': WriteSetting(out, field.key, FlagText(record.*field.number)); break;
    case 'd': WriteSetting(out, field.key, FormatDoubleFixed(record.*field.real, 6)); break;
    default: WriteSetting(out, field.key, record.*field.text); break;
    }
}

void WriteDataSource(std::ostream& out, const CGraphDataSource& source)
{
    WriteSetting(out, "dsname", source.m_name);
    WriteSetting(out, "dsdb", std::to_string(source.dsdb));
    WriteSetting(out, "dsglz", std::to_string(source.dsglz));
    WriteSetting(out, "dscol", std::to_string(source.dscol));
    WriteSetting(out, "dssym", std::to_string(source.dssym));
    WriteSetting(out, "dspat", std::to_string(source.dspat));
    WriteSetting(out, "dscp", FlagText(source.dscp));
    WriteSetting(out, "dsdbname", source.dsdbname);
    for (const std::string& glaze : source.dsgname)
        WriteSetting(out, "dsgname", glaze);
}

void WriteTemplate(std::ostream& out, const CGraphTemplate& record)
{
    WriteLine(out, "name   = ", record.m_name);
    for (const std::string& note : record.m_notes)
        WriteLine(out, "note = |", note);
    for (const STemplateField& field : kTemplateFields)
        WriteTemplateSetting(out, record, field);
    for (const auto& source : record.m_dataSources)
        WriteDataSource(out, *source);
    out << '\n';
}

void WriteColorLists(std::ostream& out, const CGraphTemplateDatabase& database)
{
    for (const COxideColor& entry : database.m_oxideColors) {
        WriteSetting(out, "oxcz", std::to_string(entry.code));
        WriteSetting(out, "oxccol", std::to_string(entry.color));
        WriteSetting(out, "oxcpat", std::to_string(entry.pattern));
        WriteSetting(out, "oxccp", FlagText(entry.colorWithPattern));
        out << '\n';
    }
    for (const CMaterialTypeColor& entry : database.m_materialTypeColors) {
        WriteSetting(out, "mtctype", entry.m_name);
        WriteSetting(out, "mtccol", std::to_string(entry.color));
        WriteSetting(out, "mtcpat", std::to_string(entry.pattern));
        WriteSetting(out, "mtccp", FlagText(entry.colorWithPattern));
        out << '\n';
    }
}

} // namespace

std::string CGraphTemplateDatabase::DescribeCurrentRecord() const
{
    return m_templates.empty() ? std::string() : "template \"" + m_templates.back()->m_name + "\"";
}

int CGraphTemplateDatabase::Read(std::istream& in)
{
    m_templates.clear();
    m_infoLines.clear();
    m_materialTypeColors.clear();
    m_oxideColors.clear();
    const int result = ParseParameterFile(m_errorText, in, GrtKeyTable(), this, 0);
    if (result != 0) {
        m_templates.clear();
        m_infoLines.clear();
        m_materialTypeColors.SetDefaults();
        m_oxideColors.SetDefaults();
    }
    return result;
}

int CGraphTemplateDatabase::Write(std::ostream& out) const
{
    WriteLine(out, "filetype = ", kGraphTemplateFileType);
    WriteLine(out, "version =  ", "2");
    out << '\n';
    WriteLine(out, "dbname  = ", m_name);
    for (const std::string& line : m_infoLines)
        WriteLine(out, "I = |", line);
    out << '\n';
    WriteColorLists(out, *this);
    for (const auto& record : m_templates)
        WriteTemplate(out, *record);
    out.flush();
    return out.fail() ? 1 : 0;
}
