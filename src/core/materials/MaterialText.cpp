#include "materials/MaterialText.h"

#include "elements/ElementList.h"
#include "elements/ElementTable.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialColumns.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <ostream>

namespace {

// The text printer's layout characters, as the lines here combine them.
constexpr const char* kKeep = "\x01";
constexpr const char* kHidden = "\x02";
constexpr const char* kRunningHeaders = "\x05\x06";
constexpr const char* kNewPage = "\x0c";
constexpr const char* kNewPageNumberedOne = "\x0c\x07";
constexpr const char* kTallKeep = "\x0f\x01";
constexpr const char* kRuleKeep = "\x19\x01";
constexpr const char* kTallRuleKeep = "\x19\x0f\x01";

constexpr const char* kIndent = "               "; // under the labels' values
constexpr int kFormulaLineWidth = 60;

void Line(std::ostream& out, const std::string& text, const char* markers = "")
{
    out << text << markers << '\n';
}

std::string Dashes(const std::string& text)
{
    return std::string(text.size(), '-');
}

std::string Padded(std::string text, std::size_t width)
{
    PadRightString(text, static_cast<int>(width));
    return text;
}

// A title: running headers with form feeds, else a tall ruled heading kept with the line after.
void WriteHeading(std::ostream& out, const std::string& title, bool formFeeds)
{
    if (formFeeds) {
        Line(out, title, kRunningHeaders);
        Line(out, Dashes(title), kHidden);
    } else {
        Line(out, title, kTallKeep);
        Line(out, Dashes(title), kTallRuleKeep);
        Line(out, "", kKeep);
    }
}

void WriteAliases(std::ostream& out, const CMaterial& m)
{
    bool first = true;
    for (const std::string& aka : m.m_akaNames) {
        if (aka.empty())
            continue;
        Line(out, (first ? "Also called:   " : kIndent) + aka, kKeep);
        first = false;
    }
    if (!first)
        Line(out, "");
}

// The formula wrapped at blanks into two lines of at most 60 characters and the rest.
void WriteFormula(std::ostream& out, const CMaterial& m)
{
    std::string first = m.m_formula;
    std::string second;
    std::string third;
    WrapTextLine(first, second, kFormulaLineWidth);
    WrapTextLine(second, third, kFormulaLineWidth);
    Line(out, "Formula:       " + first, kKeep);
    for (const std::string* rest : {&second, &third}) {
        if (!rest->empty())
            Line(out, kIndent + *rest, kKeep);
    }
}

std::string DensityText(const CMaterialArray& database, double density)
{
    if (!(density > 0.0))
        return "unknown";
    const char* unit = database.m_densityUnit == CMaterialArray::kDensityPerDeciliter ? "deciliter" : "cup";
    return FormatFixed(density, 1) + " g per " + unit;
}

std::string CostText(const CMaterialArray& database, double cost)
{
    if (!(cost > 0.0))
        return "unknown";
    const char* unit = database.m_costUnit == CMaterialArray::kCostPerKilogram ? "kilogram" : "pound";
    return database.m_currencySymbol + database.FormatCost(cost) + " per " + unit;
}

void WriteNotes(std::ostream& out, const CMaterial& m)
{
    for (const CStringArrayEx* lines : {&m.m_anNotes, &m.m_hazNotes}) {
        if (lines->empty())
            continue;
        Line(out, "");
        for (const std::string& line : *lines)
            Line(out, line, kKeep);
    }
    if (m.m_notes.empty())
        return;
    Line(out, "");
    Line(out, "Notes:", kKeep);
    for (std::size_t i = 0; i < m.m_notes.size(); ++i)
        Line(out, "  " + m.m_notes[i], i < 2 ? kKeep : "");
}

void WriteOneMaterial(std::ostream& out, const CMaterialArray& database, const CMaterial& m, bool formFeeds)
{
    if (formFeeds)
        Line(out, "", kNewPageNumberedOne);
    WriteHeading(out, m.m_name, formFeeds);
    if (formFeeds)
        Line(out, "", kHidden);
    WriteAliases(out, m);
    if (!m.m_mapTo.empty()) {
        Line(out, "Mapped to:     " + m.m_mapTo, kKeep);
        Line(out, "");
    }
    Line(out, "Type:          " + m.m_type, kKeep);
    WriteFormula(out, m);
    Line(out, "Molecular Wt.: " + FormatFixed(m.m_formulaWeight, 1), kKeep);
    Line(out, "");
    Line(out, "Density:       " + DensityText(database, m.m_density), kKeep);
    Line(out, "Cost:          " + CostText(database, m.m_costPerLb), kKeep);
    Line(out, std::string("Available:     ") + (m.m_available ? "yes" : "no"), kKeep);
    Line(out, "");
    WriteNotes(out, m);
    if (!formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}

// --- the table of formats 0 to 3 ----------------------------------------------------------------

const char* const kTableTitles[kMaterialColumnCount] = {
    "Code", "Name", "Formula", "Type", "Available", "   Cost", " Density", "Mapped To", "M.W.", "Report", "Hazards",
    "Notes",
};

bool IsNotesColumn(int column)
{
    return column == MaterialColumnAnalysisNotes || column == MaterialColumnHazardNotes ||
           column == MaterialColumnNotes;
}

std::string TableCell(const CMaterialArray& database, const CMaterial& m, int column)
{
    switch (column) {
    case MaterialColumnAvailable: return std::string("   ") + (m.m_available ? "Yes" : "   ");
    case MaterialColumnCost:
        if (!(m.m_costPerLb > 0.0))
            return std::string();
        return database.m_currencySymbol + database.FormatCost(m.m_costPerLb) + "/" +
               (database.m_costUnit == CMaterialArray::kCostPerKilogram ? "kg" : "lb");
    case MaterialColumnDensity:
        if (!(m.m_density > 0.0))
            return std::string();
        return FormatNumberWidth(m.m_density, 3, 1) + " g/" +
               (database.m_densityUnit == CMaterialArray::kDensityPerDeciliter ? "dl" : "c");
    case MaterialColumnWeight:
        return m.m_formulaWeight > 0.0 ? FormatNumberWidth(m.m_formulaWeight, 4, 1) : std::string();
    default: return MaterialListCell(database, m, column);
    }
}

// Cells joined by two blanks, each padded to its column's width but the notes columns.
std::string TableLine(const std::vector<std::string>& cells, const std::vector<int>& columns,
                      const std::vector<std::size_t>& widths)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += "  ";
        line += IsNotesColumn(columns[c]) ? cells[c] : Padded(cells[c], widths[c]);
    }
    return line;
}

void BuildColumnTable(const CMaterialArray& database, CStringArrayEx& lines, std::string& title, int format)
{
    std::vector<int> columns;
    MaterialColumnPresence present{};
    ParseMaterialColumns(MaterialColumnString(format), columns, present);
    std::vector<std::string> titles;
    std::vector<std::size_t> widths;
    for (int column : columns) {
        titles.emplace_back(kTableTitles[column]);
        widths.push_back(titles.back().size());
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& material : database.Records()) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            cells.push_back(TableCell(database, *material, columns[c]));
            widths[c] = std::max(widths[c], cells.back().size());
        }
    }
    title = TableLine(titles, columns, widths);
    for (const auto& cells : rows)
        lines.push_back(TableLine(cells, columns, widths));
}

// --- the analysis table (format 4) --------------------------------------------------------------

// Weight percentages of every oxide per 100 parts of the raw material, LOI included.
OxideVector PercentsPerHundred(const CMaterial& m)
{
    OxideVector moles;
    m.AddScaledAnalysis(moles.data(), 100.0);
    const CElementRecord* table = GetElementTable();
    OxideVector percents;
    for (int z = 0; z < kElementCount; ++z)
        percents[static_cast<std::size_t>(z)] = table[z].OxideMolesFromAtoms(moles[static_cast<std::size_t>(z)]) *
                                                table[z].oxideMW;
    return percents;
}

std::string AnalysisCell(const CMaterial& m, int entry)
{
    const OxideVector percents = PercentsPerHundred(m);
    const CElementRecord* table = GetElementTable();
    double value = 0.0;
    bool shown = false;
    if (entry == kElementListLoss) {
        double fired = 0.0;
        for (int z = 1; z < kElementCount; ++z) {
            if (!(table[z].role & kRoleVolatile))
                fired += percents[static_cast<std::size_t>(z)];
        }
        value = 100.0 - fired;
        shown = RoundToPowerOfTen(value, -g_prefs.decanalysispct) != 0.0;
    } else {
        value = entry > 0 && entry < kElementCount ? percents[static_cast<std::size_t>(entry)]
                                                   : percents[19] + percents[11];
        shown = value > 0.0;
    }
    if (!shown)
        return std::string();
    std::string number = FormatNumberWidth(value, 3, g_prefs.decanalysispct);
    BlankTrailingZeros(number, g_prefs.tzsanalysispct);
    return number;
}

std::string AnalysisHeading(int entry)
{
    const std::string label = entry == kElementListLoss ? std::string("LOI ") : MaterialPercentLabel(entry);
    return label.size() < 5 ? std::string(5 - label.size(), ' ') + label : label;
}

void BuildAnalysisTable(const CMaterialArray& database, CStringArrayEx& lines, std::string& title)
{
    const std::vector<int> entries = MaterialPercentEntries();
    if (entries.empty())
        return;
    std::size_t nameWidth = std::string_view("Material").size();
    for (const auto& material : database.Records())
        nameWidth = std::max(nameWidth, material->m_name.size());
    const std::size_t columnWidth = static_cast<std::size_t>(std::max(g_prefs.decanalysispct + 4, 5));
    title = Padded("Material", nameWidth) + "  ";
    for (int entry : entries)
        title += "  " + Padded(AnalysisHeading(entry), columnWidth);
    for (const auto& material : database.Records()) {
        std::string row = Padded(material->m_name, nameWidth) + " %";
        for (int entry : entries)
            row += "  " + Padded(AnalysisCell(*material, entry), columnWidth);
        lines.push_back(row);
    }
}

} // namespace

void WriteMaterialText(std::ostream& out, const CMaterialArray& database, std::span<const int> indices,
                       const CMaterial* material, bool formFeeds)
{
    if (material) {
        WriteOneMaterial(out, database, *material, formFeeds);
        return;
    }
    for (int index : indices) {
        if (const CMaterial* record = database.GetAt(index))
            WriteOneMaterial(out, database, *record, formFeeds);
    }
}

void BuildMaterialsTable(const CMaterialArray& database, CStringArrayEx& lines, std::string& title, int format)
{
    lines.clear();
    title.clear();
    if (database.GetCount() == 0)
        return;
    if (format == kMaterialPercentMode)
        BuildAnalysisTable(database, lines, title);
    else
        BuildColumnTable(database, lines, title, format);
}

void WriteMaterialsTableText(std::ostream& out, const CMaterialArray& database, const std::string& path, int format,
                             bool formFeeds)
{
    const bool named = !database.m_dbName.empty();
    WriteHeading(out, named ? database.m_dbName : path, formFeeds);
    if (named) {
        Line(out, "File: " + path);
        Line(out, "");
    }
    for (const std::string& info : database.m_infoLines)
        Line(out, info);
    if (!formFeeds)
        Line(out, "");

    CStringArrayEx rows;
    std::string title;
    BuildMaterialsTable(database, rows, title, format);
    if (title.empty())
        return;
    if (formFeeds) {
        Line(out, "", kNewPage);
        Line(out, title, kRunningHeaders);
        Line(out, Dashes(title), kHidden);
    } else {
        Line(out, title, kKeep);
        Line(out, Dashes(title), kRuleKeep);
    }
    for (const std::string& row : rows)
        Line(out, row);
}
