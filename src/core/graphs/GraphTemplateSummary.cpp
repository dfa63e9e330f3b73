#include "graphs/GraphTemplateSummary.h"

#include "graphs/GraphTemplate.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphVariable.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/StringArrayEx.h"

#include <ostream>
#include <string_view>
#include <vector>

namespace {

// The text printer's layout characters, as the lines here combine them.
constexpr const char* kKeep = "\x01";
constexpr const char* kHidden = "\x02";
constexpr const char* kRunningHeaders = "\x05\x06";
constexpr const char* kNewPageNumberedOne = "\x0c\x07";
constexpr const char* kTallKeep = "\x0f\x01";
constexpr const char* kTallRuleKeep = "\x19\x0f\x01";

constexpr int kStyleWidth = 68;
constexpr int kGlazeNamesWidth = 66;

// What a graph type uses; a type outside the table uses nothing and has no name.
struct SKind {
    explicit SKind(const CGraphTemplate& t)
    {
        static constexpr GraphTypeInfo kUnknown{-1, 0, 0, 0, 0, 0, 0, 0, 0, "", ""};
        const GraphTypeInfo* found = GetGraphTypeInfo(t.type);
        info = found ? *found : kUnknown;
        type = t.type;
    }
    bool Is(int other) const { return type == other; }
    bool PieOrBar() const { return info.pie || info.bar; }
    bool Legend() const
    {
        return type == 3 || type == 6 || type == 13 || type == 15 || type == 16 || (type >= 18 && type <= 24);
    }

    GraphTypeInfo info;
    int type;
};

void Line(std::ostream& out, const std::string& text, const char* markers = "")
{
    out << text << markers << '\n';
}

// "%.6f" without its trailing zeros and point.
std::string Number(double value)
{
    std::string text = FormatDoubleFixed(value, 6);
    return StripTrailingZerosAll(text);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Join(const std::vector<std::string>& names, std::string_view separator)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += separator;
        text += names[i];
    }
    return text;
}

// The text wrapped to width, each line behind the indent.
void WriteReflowed(std::ostream& out, const std::string& text, int width, const std::string& indent)
{
    CStringArrayEx lines{text};
    lines.Reflow(width);
    for (const std::string& line : lines)
        Line(out, indent + line);
}

void WriteHeading(std::ostream& out, const CGraphTemplate& t, bool formFeeds)
{
    const std::string dashes(t.m_name.size(), '-');
    if (formFeeds) {
        Line(out, "", kNewPageNumberedOne);
        Line(out, t.m_name, kRunningHeaders);
        Line(out, dashes, kHidden);
        Line(out, "", kHidden);
    } else {
        Line(out, t.m_name, kTallKeep);
        Line(out, dashes, kTallRuleKeep);
    }
    for (std::size_t i = 0; i < t.m_notes.size(); ++i)
        Line(out, "  " + t.m_notes[i], i < 2 ? kKeep : "");
    if (!t.m_notes.empty())
        Line(out, "");
}

std::string TitleText(int automatic, const std::string& text)
{
    return automatic ? "Automatic" : Quoted(text);
}

void WriteTypeAndTitles(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    Line(out, std::string("Graph type:   ") + kind.info.longName);
    std::vector<std::string> pages;
    if (t.glzedan)
        pages.push_back("Analysis");
    if (t.glzedlf)
        pages.push_back("Limit Formula");
    Line(out, "Glaze Edit:   " + (pages.empty() ? std::string("not allowed") : Join(pages, ", ")));
    Line(out, "Titles:");
    Line(out, "  Graph title:  " + TitleText(t.ttltopa, t.ttltop));
    Line(out, "  Bottom title: " + TitleText(t.ttlbota, t.ttlbot));
    Line(out, "  Left title:   " + TitleText(t.ttllfta, t.ttllft) + (t.ttllftv ? " (vertical)" : ""));
    Line(out, "  Right title:  " + TitleText(t.ttlrta, t.ttlrt) + (t.ttlrtv ? " (vertical)" : ""));
}

// The switches of the first half of the style list: labels, grids, borders and ordering.
void CollectPlainStyles(std::vector<std::string>& names, const CGraphTemplate& t, const SKind& kind)
{
    const bool pie = kind.info.pie;
    const bool bar = kind.info.bar;
    const bool limit = kind.info.limit;
    if (t.labels)
        names.push_back(pie ? "Segment Labels" : "Axis Labels");
    if (t.gridx && !pie && !kind.Is(24))
        names.push_back("X Grid");
    if (t.gridy && !pie && !kind.Is(24))
        names.push_back("Y Grid");
    if (t.borders && ((kind.PieOrBar() && !t.piebar3d) || kind.Is(16) || kind.Is(17) || limit))
        names.push_back("Bar/Segment Borders");
    if (t.sticks && kind.Is(23))
        names.push_back("Sticks");
    if (t.barhor && (bar || limit))
        names.push_back("Horizontal Bars");
    if (t.pareto && ((kind.info.one && kind.PieOrBar()) || kind.Is(11) || kind.Is(12)))
        names.push_back("Sort Descending");
    if (t.reverse && (kind.PieOrBar() || kind.Is(17)))
        names.push_back("Reverse Order");
    if (t.mono)
        names.push_back("Monochrome");
    if (t.autocol && (kind.Is(3) || kind.Is(6) || kind.Is(18) || kind.Is(20) || kind.Is(21)))
        names.push_back("Auto Colors");
    if (t.noleg && kind.Legend())
        names.push_back("No Legend");
    if ((bar && !t.piebar3d) || limit)
        names.push_back("Bar width: " + std::to_string(t.barwid));
    if (kind.info.axes || limit)
        names.push_back("Symbol size: " + std::to_string(t.symsize) + "%");
}

// The 3-D switches and numbers.
void Collect3DStyles(std::vector<std::string>& names, const CGraphTemplate& t, const SKind& kind)
{
    const bool bar3d = t.piebar3d && kind.info.bar;
    const bool true3dBars = bar3d && t.true3d;
    const bool scatter3d = kind.Is(23);
    if (t.piebar3d && kind.PieOrBar())
        names.push_back("3D Pie/Bar");
    if (t.true3d && bar3d)
        names.push_back("True 3D");
    if (t.persp3d && (true3dBars || scatter3d))
        names.push_back("3D Perspective");
    if (t.cgflip3d && (true3dBars || scatter3d))
        names.push_back("Cage Flipping");
    if (t.cgthin3d && (bar3d || scatter3d))
        names.push_back("Thin Cage");
    if ((t.piebar3d && kind.PieOrBar()) || scatter3d)
        names.push_back("3D Thickness: " + std::to_string(t.depth3d));
    if (bar3d)
        names.push_back("3D Bar Width: " + std::to_string(100 - t.xgap3d));
    if (true3dBars)
        names.push_back("3D Bar Depth: " + std::to_string(100 - t.zgap3d));
    if (true3dBars || scatter3d)
        names.push_back("3D Rotation: " + std::to_string(t.rot3d));
    if ((t.piebar3d && kind.PieOrBar() && t.true3d) || scatter3d)
        names.push_back("3D Elevation: " + std::to_string(t.elev3d));
    if (t.persp3d && (true3dBars || scatter3d))
        names.push_back("3D Distance: " + std::to_string(100 - t.eyepos3d));
}

void WriteStyles(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    std::vector<std::string> names;
    CollectPlainStyles(names, t, kind);
    Collect3DStyles(names, t, kind);
    if (names.empty()) {
        Line(out, "Styles: none");
        return;
    }
    Line(out, "Styles:");
    WriteReflowed(out, Join(names, ", "), kStyleWidth, "  ");
}

// "Roman, Plain, size: 200%"; a family or style outside the known ones has an empty name.
std::string FontText(int family, int style, int size)
{
    static constexpr const char* kFamilies[] = {"", "Roman", "Swiss", "Modern", "Script", "Decorative"};
    static constexpr const char* kStyles[] = {"Plain", "Italic", "Bold", "Bold Italic"};
    const int styleIndex = style / 16;
    const char* familyName = family >= 0 && family < 6 ? kFamilies[family] : "";
    const char* styleName = styleIndex >= 0 && styleIndex < 4 ? kStyles[styleIndex] : "";
    return std::string(familyName) + ", " + styleName + ", size: " + std::to_string(size) + "%";
}

void WriteTextStyles(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    Line(out, "Text Styles:");
    Line(out, "  Top title:    " + FontText(t.txmainfam, t.txmainsty, t.txmainsiz));
    Line(out, "  L/R/B titles: " + FontText(t.txlrbfam, t.txlrbsty, t.txlrbsiz));
    if (kind.info.pie)
        Line(out, "  Pie labels:   " + FontText(t.txpiefam, t.txpiesty, t.txpiesiz));
    else
        Line(out, "  Axis labels:  " + FontText(t.txaxfam, t.txaxsty, t.txaxsiz));
    if (kind.Is(24))
        Line(out, "  Triax corners:" + FontText(t.txtrifam, t.txtristy, t.txtrisiz));
    if (kind.Legend())
        Line(out, "  Legend:       " + FontText(t.txlegfam, t.txlegsty, t.txlegsiz));
}

std::string Ticks(double min, double max, int major, int minor)
{
    return Number(min) + " to " + Number(max) + ", " + std::to_string(major) + " major ticks, " +
           std::to_string(minor) + " minor ticks";
}

std::string XAxisText(const CGraphTemplate& t, const SKind& kind)
{
    const bool triaxial = kind.Is(24);
    std::string text = triaxial ? "Bottom axis: " : "X axis: ";
    if (!t.xman)
        text += "Automatic";
    else if (triaxial)
        text += Number(t.xmin) + " to " + Number(t.xmax) + ", " + std::to_string(t.xtick) + " divisions";
    else
        text += Ticks(t.xmin, t.xmax, t.xtick, t.xtickm);
    if (t.xtop && !kind.Is(23) && !triaxial)
        text += ", Opposite side";
    if (t.xvert && !triaxial)
        text += ", Vertical labels";
    return text;
}

std::string YAxisText(const CGraphTemplate& t, const SKind& kind)
{
    const bool triaxial = kind.Is(24);
    std::string text = triaxial ? "Left axis: " : "Y axis: ";
    if (!t.yman)
        text += "Automatic";
    else if (triaxial)
        text += "minimum " + Number(t.ymin);
    else if (kind.info.limit)
        text += std::to_string(t.ytick) + " major ticks";
    else
        text += Ticks(t.ymin, t.ymax, t.ytick, t.ytickm);
    if (t.yrt && !kind.Is(23) && !triaxial)
        text += ", Opposite side";
    return text;
}

void WriteAxes(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    if (kind.info.pie)
        return;
    Line(out, "Axes:");
    if (!kind.info.limit)
        Line(out, "  " + XAxisText(t, kind));
    Line(out, "  " + YAxisText(t, kind));
    if (kind.Is(23))
        Line(out, "  Z axis: " + (t.zman ? Ticks(t.zmin, t.zmax, t.ztick, t.ztickm) : std::string("Automatic")));
    const char* ticks = t.tickin == 0 ? "Ticks inside axes" : t.tickin == 1 ? "Ticks through axes" : "Ticks outside axes";
    Line(out, std::string("  ") + ticks);
}

// The labels of the oxide list: every piece between commas read as a number.
std::vector<std::string> OxideListLabels(const std::string& list)
{
    std::vector<std::string> labels;
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (!piece.empty())
            labels.push_back(GetSummaryVariableLabel(ParseInt(piece)));
    }
    return labels;
}

void WriteOxideNames(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    if (kind.PieOrBar() || kind.Is(17)) {
        const std::vector<std::string> labels = OxideListLabels(t.bpoxides);
        if (labels.empty()) {
            Line(out, "Oxides: none");
            return;
        }
        Line(out, "Oxides:");
        const std::string allBars = kind.info.bar && t.allbar ? "; All bars shown" : "";
        WriteReflowed(out, Join(labels, ", ") + allBars, kStyleWidth, "  ");
    } else if (kind.Is(24)) {
        Line(out, "Oxides:");
        Line(out, "  Lower right: " + GetSummaryVariableLabel(t.xoxide) + ", Top: " + GetSummaryVariableLabel(t.yoxide) +
                      ", Lower left: " + GetSummaryVariableLabel(t.zoxide));
    } else if (kind.info.axes) {
        Line(out, "Oxides:");
        std::string text = "  X axis: " + GetSummaryVariableLabel(t.xoxide) + ", Y axis: " + GetSummaryVariableLabel(t.yoxide);
        if (kind.Is(23))
            text += ", Z axis: " + GetSummaryVariableLabel(t.zoxide);
        Line(out, text);
    } else if (kind.Is(16)) {
        Line(out, "Oxides:");
        Line(out, "  Histogram: " + GetSummaryVariableLabel(t.hoxide) + ", " + Number(t.hmin) + " to " + Number(t.hmax) +
                      ", " + std::to_string(t.hsteps) + " steps");
    }
}

void WriteOxides(std::ostream& out, const CGraphTemplate& t, const SKind& kind)
{
    if (!kind.info.oxides)
        return;
    WriteOxideNames(out, t, kind);
    if (kind.info.limit)
        return;
    const char* unit = t.oxtype == 0 ? "unity" : t.oxtype == 1 ? "weight %" : "molecular %";
    Line(out, std::string("  Oxides as ") + unit);
}

std::string NameOrNoneSet(const std::string& name)
{
    return name.empty() ? std::string("none set") : name;
}

std::string DataSourceText(const CGraphDataSource& source)
{
    static constexpr const char* kGlazes[] = {"Current Glaze", "Selected Glazes", "All Glazes"};
    const std::string database = source.dsdb == 0   ? std::string("Current Database")
                                 : source.dsdb == 1 ? std::string("All Databases")
                                                    : source.dsdbname;
    const char* glazes = source.dsglz >= 0 && source.dsglz < 3 ? kGlazes[source.dsglz] : "Specific Glazes";
    return "  " + Quoted(source.m_name) + ": " + database + ", " + glazes;
}

void WriteDataSources(std::ostream& out, const CGraphTemplate& t)
{
    Line(out, "Data sources:", kKeep);
    if (t.m_dataSources.empty())
        Line(out, "  (none)");
    for (const auto& source : t.m_dataSources) {
        Line(out, DataSourceText(*source));
        if (source->dsdb == kDataSourceNamedDatabase && source->dsglz == kDataSourceNamedGlazes && !source->dsgname.empty())
            WriteReflowed(out, Join(source->dsgname, ", "), kGlazeNamesWidth, "    ");
    }
}

} // namespace

void WriteGraphTemplateSummary(std::ostream& out, const CGraphTemplate& graphTemplate, bool formFeeds)
{
    const CGraphTemplate& t = graphTemplate;
    const SKind kind(t);
    WriteHeading(out, t, formFeeds);
    WriteTypeAndTitles(out, t, kind);
    WriteStyles(out, t, kind);
    WriteTextStyles(out, t, kind);
    WriteAxes(out, t, kind);
    WriteOxides(out, t, kind);
    if (kind.Is(22) || kind.Is(24))
        Line(out, "Overlay file: " + NameOrNoneSet(t.ovfile));
    if (kind.info.limit)
        Line(out, "Limit formula: " + NameOrNoneSet(t.limform));
    WriteDataSources(out, t);
    if (!formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}
