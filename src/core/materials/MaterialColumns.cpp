#include "materials/MaterialColumns.h"

#include "elements/ElementList.h"
#include "elements/ElementTable.h"
#include "materials/MaterialArray.h"
#include "support/NumberFormat.h"

namespace {

std::string JoinedNotes(const CStringArrayEx& lines)
{
    std::string text;
    lines.JoinWrapped(text, kMaterialNotesCellWidth);
    return text;
}

// A right-aligned number with its padding doubled, then the unit text.
std::string PaddedNumber(const std::string& number)
{
    return DoubledPadding(number) + number;
}

std::string CostCell(const CMaterialArray& database, double cost)
{
    if (!(cost > 0.0))
        return std::string();
    const char* unit = database.m_costUnit == CMaterialArray::kCostPerKilogram ? "kg" : "lb";
    return database.m_currencySymbol + PaddedNumber(database.FormatCost(cost)) + " / " + unit;
}

std::string DensityCell(const CMaterialArray& database, double density)
{
    if (!(density > 0.0))
        return std::string();
    const char* unit = database.m_densityUnit == CMaterialArray::kDensityPerDeciliter ? "dl" : "c";
    return PaddedNumber(FormatNumberWidth(density, 3, 1)) + " g / " + unit;
}

std::string WeightCell(double weight)
{
    if (!(weight > 0.0))
        return std::string();
    return "MW=" + PaddedNumber(FormatNumberWidth(weight, 4, 1));
}

// The weight percentage an entry shows, or false when the material has none.
bool PercentValue(const CMaterial& material, int entry, double& value)
{
    if (entry == kElementListLoss) {
        value = material.m_loi * 100.0;
        return RoundToPowerOfTen(value, -g_prefs.decanalysispct) != 0.0;
    }
    const int z = entry < 0 ? 0 : entry;
    if (z >= kElementCount)
        return false;
    const double fraction = material.m_oxides[static_cast<std::size_t>(z)];
    if (!(fraction > 0.0) || !(material.m_oxideSum > 0.0))
        return false;
    value = fraction * 100.0 / material.m_oxideSum;
    return true;
}

} // namespace

std::string DoubledPadding(std::string_view text)
{
    std::size_t blanks = 0;
    while (blanks < text.size() && text[blanks] == ' ')
        ++blanks;
    return std::string(blanks, ' ');
}

int ParseMaterialColumns(std::string_view text, std::vector<int>& columns, MaterialColumnPresence& present)
{
    present.fill(false);
    columns.clear();
    for (char c : text) {
        if (static_cast<int>(columns.size()) >= kMaterialColumnCount)
            break;
        const std::size_t code = kMaterialColumnCodeLetters.find(c);
        if (code == std::string_view::npos)
            continue;
        columns.push_back(static_cast<int>(code));
        present[code] = true;
    }
    if (columns.empty()) {
        columns.push_back(MaterialColumnName);
        present[MaterialColumnName] = true;
    }
    return static_cast<int>(columns.size());
}

const std::string& MaterialColumnString(int mode)
{
    switch (mode) {
    case 1: return g_prefs.matext1;
    case 2: return g_prefs.matext2;
    case 3: return g_prefs.matext3;
    default: return g_prefs.matshort;
    }
}

std::string MaterialListCell(const CMaterialArray& database, const CMaterial& material, int column)
{
    switch (column) {
    case MaterialColumnCode: return material.m_code;
    case MaterialColumnName: return material.m_name;
    case MaterialColumnFormula: return material.m_formula;
    case MaterialColumnType: return material.m_type;
    case MaterialColumnAvailable: return material.m_available ? "Available" : "Not Available";
    case MaterialColumnCost: return CostCell(database, material.m_costPerLb);
    case MaterialColumnDensity: return DensityCell(database, material.m_density);
    case MaterialColumnMapping: return material.m_mapTo.empty() ? std::string() : "(" + material.m_mapTo + ")";
    case MaterialColumnWeight: return WeightCell(material.m_formulaWeight);
    case MaterialColumnAnalysisNotes: return JoinedNotes(material.m_anNotes);
    case MaterialColumnHazardNotes: return JoinedNotes(material.m_hazNotes);
    case MaterialColumnNotes: return JoinedNotes(material.m_notes);
    default: return std::string();
    }
}

std::string MaterialListRow(const CMaterialArray& database, const CMaterial& material, std::span<const int> columns)
{
    std::string row;
    for (int column : columns) {
        row += '\t';
        row += MaterialListCell(database, material, column);
    }
    return row;
}

std::string MaterialPercentLabel(int entry)
{
    if (entry == kElementListLoss)
        return "LOI";
    if (entry <= 0 || entry >= kElementCount)
        return "KNaO";
    return GetElementTable()[entry].oxide;
}

std::string MaterialPercentCell(const CMaterial& material, int entry)
{
    double value = 0.0;
    if (!PercentValue(material, entry, value))
        return std::string();
    std::string number = FormatNumberWidth(value, 3, g_prefs.decanalysispct);
    BlankTrailingZeros(number, g_prefs.tzsanalysispct);
    const std::string text = number + " " + MaterialPercentLabel(entry);
    // A minus sign takes the place of a digit: one more blank keeps negative values in line.
    const bool negative = text[0] == '-' || (text.size() > 1 && text[1] == '-');
    return DoubledPadding(text) + (negative ? " " : "") + text;
}

std::string MaterialPercentRow(const CMaterial& material, std::span<const int> entries)
{
    std::string row = material.m_name + "\t%";
    for (int entry : entries) {
        row += '\t';
        row += MaterialPercentCell(material, entry);
    }
    return row;
}

std::vector<int> MaterialPercentEntries()
{
    std::array<int, kElementListCapacity> entries{};
    const int count = ParseElementSymbolList(g_prefs.mattab, entries);
    if (count <= 0)
        return {};
    return std::vector<int>(entries.begin(), entries.begin() + count);
}

CMaterialListLayout MaterialListLayout(int& mode)
{
    if (mode < 0 || mode >= kMaterialListModeCount)
        mode = 0;
    CMaterialListLayout layout;
    if (mode == kMaterialPercentMode) {
        layout.entries = MaterialPercentEntries();
        if (!layout.entries.empty()) {
            layout.mode = mode;
            return layout;
        }
        mode = 0;
    }
    layout.mode = mode;
    MaterialColumnPresence present{};
    ParseMaterialColumns(MaterialColumnString(mode), layout.columns, present);
    return layout;
}

std::string MaterialLayoutRow(const CMaterialArray& database, const CMaterial& material,
                              const CMaterialListLayout& layout)
{
    if (layout.mode == kMaterialPercentMode)
        return MaterialPercentRow(material, layout.entries);
    return MaterialListRow(database, material, layout.columns);
}

void BuildMaterialListRows(const CMaterialArray& database, int& mode, CStringArrayEx& rows)
{
    rows.clear();
    if (mode < 0 || mode >= kMaterialListModeCount)
        mode = 0;
    if (database.GetCount() == 0)
        return;
    const CMaterialListLayout layout = MaterialListLayout(mode);
    for (const auto& material : database.Records())
        rows.push_back(MaterialLayoutRow(database, *material, layout));
}
