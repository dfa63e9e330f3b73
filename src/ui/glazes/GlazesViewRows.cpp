#include "glazes/GlazesViewRows.h"

#include "elements/ElementList.h"
#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeReportFormat.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kNotesCellLimit = 1000;
constexpr int kSodium = 11;
constexpr int kPotassium = 19;

// The description fields of columns 0 to 15, 17 and 19; null for the other columns.
const std::string* TextField(const CGlaze& g, int column)
{
    const std::string* fields[] = {
        &g.m_name,    &g.m_index,        &g.m_date,  &g.m_type,       &g.m_range, &g.m_firetype,
        &g.m_quality, &g.m_transparency, &g.m_color, &g.m_vistexture, &g.m_xtals, &g.m_bubbles,
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

std::string RatioText(double ratio)
{
    return "1.0:" + FormatDoubleFixedWidth(ratio, 5, 2);
}

// "LOI:", "Alk:" ... with one blank more for values below 9.95 so that one- and two-digit
// percentages line up.
std::string GroupText(const char* label, double fraction)
{
    const double percent = fraction * 100.0;
    return std::string(label) + (percent < 9.95 ? " " : "") + FormatDoubleFixedWidth(percent, 5, 1) + "%";
}

std::string ExpansionText(double expansion)
{
    return "Exp=" + FormatDoubleFixedWidth(expansion, 5, 1) + "x10e-7/K";
}

std::string ShareText(double share)
{
    return "[" + FormatDoubleFixed(share * 100.0, 0) + "%]";
}

std::string CostText(double cost)
{
    return CurrencyCost(cost) + " / kg";
}

const char* const kGroupLabels[] = {"Alk:", "Neut:", "Acid:", "Unex:"};
constexpr int kGroupOfColumn[] = {kOxideGroupAlkali, kOxideGroupNeutral, kOxideGroupAcid, kOxideGroupUnexpected};

// Columns 20 to 31 of a valid analysis; each shows only a value above 0.
std::string AnalysisCell(const CGlazeAnalysis& a, int column)
{
    switch (column) {
    case 20: return a.siAlRatio > 0.0 ? "Al:Si=" + RatioText(a.siAlRatio) : std::string();
    case 21: return a.acidNeutralRatio > 0.0 ? "Neut:Acid=" + RatioText(a.acidNeutralRatio) : std::string();
    case 22:
        if (!(a.neutralAlkaliRatio > 0.0))
            return std::string();
        return "Alk:Neut:Acid=" + RatioText(a.neutralAlkaliRatio) + ":" +
               FormatDoubleFixedWidth(a.neutralAlkaliRatio * a.acidNeutralRatio, 5, 2);
    case 23: return a.expansion > 0.0 ? ExpansionText(a.expansion) : std::string();
    case 24: return a.expansion > 0.0 ? ShareText(a.expansionShare) : std::string();
    case 25: return a.unusualExpansionText.empty() ? std::string() : "[" + a.unusualExpansionText + "]";
    case 26: {
        const double loss = a.groupWeight[kOxideGroupVolatile];
        return loss > 0.0 ? GroupText("LOI:", loss) : std::string();
    }
    case kGlzColCost: return a.costPerKg > 0.0 ? CostText(a.costPerKg) : std::string();
    default: break;
    }
    if (column < 28 || column >= kGlazeListColumns)
        return std::string();
    const int group = column - 28;
    const double fraction = a.groupWeight[static_cast<std::size_t>(kGroupOfColumn[group])];
    return fraction > 0.0 ? GroupText(kGroupLabels[group], fraction) : std::string();
}

std::string OxideLabel(int entry)
{
    if (entry == kElementListSodiumPotassium)
        return "KNaO";
    if (entry == kElementListLoss)
        return "Loss";
    return GetElementTable()[entry].oxide;
}

// The number of a table cell with its leading blanks doubled, so that right-aligned numbers
// keep their alignment in a proportional font.
std::string DoubledLeadingBlanks(const std::string& text)
{
    const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
    return std::string(blanks, ' ') + text;
}

std::string TableNumber(double value, int format)
{
    std::string number = format == 5 ? FormatNumberWidth(value, 2, g_prefs.decanalysis)
                                     : FormatNumberWidth(value, 3, g_prefs.decanalysispct);
    BlankTrailingZeros(number, format == 5 ? g_prefs.tzsanalysis : g_prefs.tzsanalysispct);
    return number;
}

double TableValue(const CGlazeAnalysis& a, int entry, int format)
{
    const auto& values = format == 4 ? a.weightFraction : format == 5 ? a.unity : a.moleFraction;
    const double value = entry == kElementListSodiumPotassium ? values[kSodium] + values[kPotassium]
                                                              : values[static_cast<std::size_t>(entry)];
    return format == 5 ? value : value * 100.0;
}

} // namespace

const std::string& GlazeListLayout(int format)
{
    const std::string* layouts[] = {&g_prefs.glzshort, &g_prefs.glzext1, &g_prefs.glzext2, &g_prefs.glzext3};
    return *layouts[std::clamp(format, 0, 3)];
}

std::string GlazeListCell(const CGlaze& glaze, int column)
{
    if (const std::string* field = TextField(glaze, column))
        return *field;
    if (column == kGlzColByVolume)
        return glaze.m_byVol ? "(By volume)" : std::string();
    if (column == kGlzColNotes) {
        std::string notes;
        glaze.m_notes.JoinWrapped(notes, kNotesCellLimit);
        return notes;
    }
    if (column < kGlzColFirstAnalysis || column >= kGlazeListColumns)
        return std::string();
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    return analysis.IsValid() ? AnalysisCell(analysis, column) : std::string();
}

std::string GlazeColumnRow(const CGlaze& glaze, std::span<const int> columns)
{
    std::string row;
    for (int column : columns) {
        row += '\t';
        row += GlazeListCell(glaze, column);
    }
    return row;
}

bool GlazeTableEntries(std::vector<int>& entries)
{
    std::array<int, kElementListCapacity> parsed{};
    const int count = ParseElementSymbolList(g_prefs.glztab, parsed);
    entries.assign(parsed.begin(), parsed.begin() + std::max(count, 0));
    return count > 0;
}

const char* GlazeTableMarker(int format)
{
    return format == 4 ? "%w" : format == 6 ? "%m" : "-";
}

std::string GlazeTableRow(const CGlaze& glaze, int format, std::span<const int> entries)
{
    std::string row = "\t" + glaze.m_name + "\t";
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (!analysis.IsValid())
        return row;
    row += GlazeTableMarker(format);
    for (int entry : entries) {
        row += '\t';
        if (entry == kElementListLoss)
            continue;
        const double value = TableValue(analysis, entry, format);
        if (value > 0.0)
            row += DoubledLeadingBlanks(TableNumber(value, format) + " " + OxideLabel(entry));
    }
    return row;
}

std::string GlazeTableSampleCell(int format, int entry)
{
    const std::string number = format == 5 ? FormatNumberWidth(99.99, 2, g_prefs.decanalysis)
                                           : FormatNumberWidth(100.0, 3, g_prefs.decanalysispct);
    return number + " " + OxideLabel(entry);
}

std::string GlazeColumnSample(int column)
{
    switch (column) {
    case 20: return "Al:Si=" + RatioText(10.0);
    case 21: return "Neut:Acid=" + RatioText(10.0);
    case 22: return "Alk:Neut:Acid=" + RatioText(10.0) + ":" + FormatDoubleFixedWidth(10.0, 5, 2);
    case 23: return ExpansionText(10.0);
    case 24: return ShareText(1.0);
    case 26: return "LOI:" + FormatDoubleFixedWidth(100.0, 5, 1) + "%";
    case kGlzColCost: return CostText(0.0);
    default: break;
    }
    if (column >= 28 && column < kGlazeListColumns)
        return kGroupLabels[column - 28] + FormatDoubleFixedWidth(100.0, 5, 1) + "%";
    return std::string();
}

bool IsMeasuredGlazeColumn(int column)
{
    return column >= 0 && (column < kGlzColFirstAnalysis || column == kGlzColUnusualExpansion);
}
