// The glaze database as a table: column layouts of description and analysis cells (formats 0 to
// 3) and oxide tables (formats 4 to 6).

#include "glazes/GlazeTextOutput.h"

#include "elements/ElementList.h"
#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeReportFormat.h"
#include "glazes/GlazesDoc.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"

#include <algorithm>
#include <functional>
#include <ostream>

namespace {

constexpr int kNotesCellLimit = 1000;
constexpr const char* kColumnGap = "  ";

struct SColumn {
    char code;
    const char* title;
};

constexpr SColumn kColumns[kGlazeTextColumnCount] = {
    {'N', "Name"},       {'#', "Index"},         {'D', "Date"},      {'T', "Type"},
    {'R', "Range"},      {'F', "Firing"},        {'S', "Surface"},   {'P', "Transparency"},
    {'C', "Color"},      {'V', "Vis. Texture"},  {'X', "Crystals"},  {'B', "Bubbles"},
    {'O', "Flow"},       {'A', "Flaws"},         {'U', "Durability"}, {'?', "Testing"},
    {'Y', "By Vol."},    {'Z', "Source"},        {'*', "Notes"},     {'L', "Limit Formula"},
    {':', " Al:Si"},     {';', "Neut:Acid"},     {'!', "Alk:Neut:Acid"}, {'@', "Expansion"},
    {'&', ""},           {'^', ""},              {'%', " LOI %"},    {'$', "Cost"},
    {'1', " Alk %"},     {'2', "Neut %"},        {'3', "Acid %"},    {'4', "Unex %"},
};

enum ColumnNumber : int {
    kColumnByVolume = 16,
    kColumnNotes = 18,
    kColumnFirstAnalysis = 20,
    kColumnUnusualExpansion = 25,
    kColumnCost = 27,
};

// The description fields of columns 0 to 15, 17 and 19.
const std::string* TextField(const CGlaze& g, int column)
{
    const std::string* fields[] = {
        &g.m_name,    &g.m_index,        &g.m_date,       &g.m_type,  &g.m_range, &g.m_firetype,
        &g.m_quality, &g.m_transparency, &g.m_color,      &g.m_vistexture, &g.m_xtals, &g.m_bubbles,
        &g.m_flow,    &g.m_flaws,        &g.m_durability, &g.m_tested,
    };
    if (column >= 0 && column < static_cast<int>(std::size(fields)))
        return fields[column];
    if (column == 17)
        return &g.m_source;
    if (column == 19)
        return &g.m_limform;
    return nullptr;
}

std::string RatioCell(double ratio)
{
    return "1.0:" + FormatDoubleFixedWidth(ratio, 5, 2);
}

std::string GroupCell(double fraction)
{
    return FormatDoubleFixedWidth(fraction * 100.0, 5, 1) + " ";
}

std::string CostCell(double cost)
{
    return CurrencyCost(cost) + "/kg";
}

// Columns 20 to 31: shown only for a value above 0.
std::string AnalysisCell(const CGlazeAnalysis& a, int column)
{
    static constexpr int kGroupOfColumn[] = {kOxideGroupAlkali, kOxideGroupNeutral, kOxideGroupAcid,
                                             kOxideGroupUnexpected};
    switch (column) {
    case 20: return a.siAlRatio > 0.0 ? RatioCell(a.siAlRatio) : std::string();
    case 21: return a.acidNeutralRatio > 0.0 ? RatioCell(a.acidNeutralRatio) : std::string();
    case 22:
        if (!(a.neutralAlkaliRatio > 0.0))
            return std::string();
        return RatioCell(a.neutralAlkaliRatio) + ":" +
               FormatDoubleFixedWidth(a.neutralAlkaliRatio * a.acidNeutralRatio, 5, 2);
    case 23: return a.expansion > 0.0 ? FormatDoubleFixedWidth(a.expansion, 5, 1) + "x10e-7/K" : std::string();
    case 24:
        return a.expansion > 0.0 ? "[" + FormatDoubleFixed(a.expansionShare * 100.0, 0) + "%]" : std::string();
    case 25: return a.unusualExpansionText.empty() ? std::string() : "[" + a.unusualExpansionText + "]";
    case 26: {
        const double loss = a.groupWeight[kOxideGroupVolatile];
        return loss > 0.0 ? GroupCell(loss) : std::string();
    }
    case 27: return a.costPerKg > 0.0 ? CostCell(a.costPerKg) : std::string();
    default: break;
    }
    const double fraction = a.groupWeight[static_cast<std::size_t>(kGroupOfColumn[column - 28])];
    return fraction > 0.0 ? GroupCell(fraction) : std::string();
}

std::string Cell(const CGlaze& glaze, int column)
{
    if (const std::string* field = TextField(glaze, column))
        return *field;
    if (column == kColumnByVolume)
        return glaze.m_byVol ? "Yes" : std::string();
    if (column == kColumnNotes) {
        std::string notes;
        glaze.m_notes.JoinWrapped(notes, kNotesCellLimit);
        return notes;
    }
    return AnalysisCell(glaze.GetAnalysis(), column);
}

// The width of a computed column: that of a sample cell, whatever the title.
int SampleWidth(int column)
{
    switch (column) {
    case 20:
    case 21: return static_cast<int>(RatioCell(10.0).size());
    case 22: return static_cast<int>((RatioCell(10.0) + ":" + FormatDoubleFixedWidth(10.0, 5, 2)).size());
    case 23: return static_cast<int>((FormatDoubleFixedWidth(10.0, 5, 1) + "x10e-7/K").size());
    case 24: return static_cast<int>(std::string("[100%]").size());
    case kColumnCost: return static_cast<int>(CostCell(0.0).size());
    default: return static_cast<int>(GroupCell(0.0).size());
    }
}

bool GrowsWithCells(int column)
{
    return column < kColumnByVolume || (column > kColumnByVolume && column < kColumnFirstAnalysis) ||
           column == kColumnUnusualExpansion;
}

std::string JoinCells(const std::vector<int>& columns, const CGlazeColumnWidths& widths,
                      const std::function<std::string(int)>& cell)
{
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            text += kColumnGap;
        text += FixedWidth(cell(columns[i]), widths[static_cast<std::size_t>(columns[i])]);
    }
    return text;
}

const std::string& LayoutOfFormat(int format)
{
    const std::string* layouts[] = {&g_prefs.glzshort, &g_prefs.glzext1, &g_prefs.glzext2, &g_prefs.glzext3};
    return *layouts[std::clamp(format, 0, 3)];
}

} // namespace

int ParseColumnLayout(const std::string& layout, std::vector<int>& columns, CGlazeColumnFlags& present)
{
    columns.clear();
    present.fill(false);
    for (char code : layout) {
        if (static_cast<int>(columns.size()) >= kGlazeTextColumnCount)
            break;
        for (int column = 0; column < kGlazeTextColumnCount; ++column) {
            if (kColumns[column].code == code) {
                columns.push_back(column);
                present[static_cast<std::size_t>(column)] = true;
                break;
            }
        }
    }
    if (columns.empty()) {
        columns.push_back(0);
        present[0] = true;
    }
    return static_cast<int>(columns.size());
}

void CGlazeText::ComputeColumnWidths(CGlazeColumnWidths& widths, const CGlazeColumnFlags& present) const
{
    for (int column = 0; column < kGlazeTextColumnCount; ++column) {
        int& width = widths[static_cast<std::size_t>(column)];
        width = static_cast<int>(std::string_view(kColumns[column].title).size());
        if (!present[static_cast<std::size_t>(column)])
            continue;
        if (column >= kColumnFirstAnalysis && column != kColumnUnusualExpansion) {
            width = SampleWidth(column);
            continue;
        }
        if (!GrowsWithCells(column))
            continue;
        const CGlazeList& glazes = m_doc.Glazes();
        for (int i = 0; i < glazes.GetCount(); ++i)
            width = std::max(width, static_cast<int>(Cell(glazes.GetAt(i), column).size()));
    }
}

void CGlazeText::BuildListTable(CStringArrayEx& rows, std::string& header, int format) const
{
    rows.clear();
    header.clear();
    if (m_doc.GetGlazeCount() == 0)
        return;
    if (format >= 4)
        BuildOxideTable(rows, header, format);
    else
        BuildColumnTable(rows, header, LayoutOfFormat(format));
}

void CGlazeText::BuildColumnTable(CStringArrayEx& rows, std::string& header, const std::string& layout) const
{
    std::vector<int> columns;
    CGlazeColumnFlags present{};
    ParseColumnLayout(layout, columns, present);
    CGlazeColumnWidths widths{};
    ComputeColumnWidths(widths, present);
    header = JoinCells(columns, widths, [](int column) { return std::string(kColumns[column].title); });
    const CGlazeList& glazes = m_doc.Glazes();
    for (int i = 0; i < glazes.GetCount(); ++i) {
        const CGlaze& glaze = glazes.GetAt(i);
        rows.push_back(JoinCells(columns, widths, [&glaze](int column) { return Cell(glaze, column); }));
    }
}

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;

std::string OxideHeading(int entry)
{
    if (entry == kElementListSodiumPotassium)
        return "KNaO";
    if (entry == kElementListLoss)
        return "Loss";
    return GetElementTable()[entry].oxide;
}

// The value of an oxide in a format: weight percent (4), unity (5) or mole percent (6).
double OxideValue(const CGlazeAnalysis& a, int entry, int format)
{
    const auto& values = format == 4 ? a.weightFraction : format == 5 ? a.unity : a.moleFraction;
    const double value = entry == kElementListSodiumPotassium
                             ? values[kSodium] + values[kPotassium]
                             : values[static_cast<std::size_t>(entry)];
    return format == 5 ? value : value * 100.0;
}

std::string OxideCell(const CGlazeAnalysis& a, int entry, int format, int width)
{
    if (entry == kElementListLoss)
        return FixedWidth("", width);
    const double value = OxideValue(a, entry, format);
    if (!(value > 0.0))
        return FixedWidth("     ", width);
    const std::string text = format == 5 ? BlankedNumber(value, 2, g_prefs.decanalysis, g_prefs.tzsanalysis)
                                         : BlankedNumber(value, 3, g_prefs.decanalysispct, g_prefs.tzsanalysispct);
    return FixedWidth(text, width);
}

} // namespace

void CGlazeText::BuildOxideTable(CStringArrayEx& rows, std::string& header, int format) const
{
    std::array<int, kElementListCapacity> entries{};
    const int count = ParseElementSymbolList(g_prefs.glztab, entries);
    if (count <= 0)
        return;
    const CGlazeList& glazes = m_doc.Glazes();
    int nameWidth = static_cast<int>(std::string_view("Glaze").size());
    for (int i = 0; i < glazes.GetCount(); ++i)
        nameWidth = std::max(nameWidth, static_cast<int>(glazes.GetAt(i).m_name.size()));
    const bool unity = format == 5;
    const int cellWidth = unity ? (g_prefs.decanalysis <= 2 ? 5 : g_prefs.decanalysis + 3)
                                : (g_prefs.decanalysispct <= 1 ? 5 : g_prefs.decanalysispct + 4);
    const char* mark = format == 4 ? " %w" : unity ? " -" : " %m";

    header = FixedWidth("Glaze", nameWidth) + (unity ? "  " : "   ");
    for (int i = 0; i < count; ++i)
        header += kColumnGap + FixedWidth(RightAligned(OxideHeading(entries[static_cast<std::size_t>(i)]), 5), cellWidth);
    for (int g = 0; g < glazes.GetCount(); ++g) {
        const CGlaze& glaze = glazes.GetAt(g);
        const CGlazeAnalysis& a = glaze.GetAnalysis();
        if (!a.materialsFound || !a.amountsValid) {
            rows.push_back(glaze.m_name);
            continue;
        }
        std::string row = FixedWidth(glaze.m_name, nameWidth) + mark;
        for (int i = 0; i < count; ++i)
            row += kColumnGap + OxideCell(a, entries[static_cast<std::size_t>(i)], format, cellWidth);
        rows.push_back(row);
    }
}

void CGlazeText::WriteList(std::ostream& out, int format) const
{
    const CGlazeList& glazes = m_doc.Glazes();
    const std::string title = glazes.m_name.empty() ? m_doc.GetPathName() : glazes.m_name;
    const std::string titleDashes = Repeated('-', static_cast<int>(title.size()));
    if (g_prefs.prtuseffs) {
        WriteMarkedLine(out, title, kMarkHeaders);
        WriteMarkedLine(out, titleDashes, kMarkHidden);
    } else {
        WriteMarkedLine(out, title, "\x0f\x01");
        WriteMarkedLine(out, titleDashes, "\x19\x0f\x01");
        WriteMarkedLine(out, "", kMarkKeep);
    }
    if (!glazes.m_name.empty()) {
        WriteMarkedLine(out, "File: " + m_doc.GetPathName());
        WriteMarkedLine(out, "");
    }
    for (const std::string& line : glazes.m_infoLines)
        WriteMarkedLine(out, line);
    if (!g_prefs.prtuseffs)
        WriteMarkedLine(out, "");

    CStringArrayEx rows;
    std::string header;
    BuildListTable(rows, header, format);
    const std::string dashes = Repeated('-', static_cast<int>(header.size()));
    if (g_prefs.prtuseffs) {
        WriteMarkedLine(out, "", kMarkNewPage);
        WriteMarkedLine(out, header, kMarkHeaders);
        WriteMarkedLine(out, dashes, kMarkHidden);
    } else {
        WriteMarkedLine(out, header, kMarkKeep);
        WriteMarkedLine(out, dashes, "\x19\x01");
    }
    for (const std::string& row : rows)
        WriteMarkedLine(out, row);
}
