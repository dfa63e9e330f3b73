// The glaze report: everything but the chemistry (GlazeReportChemistry.cpp).

#include "glazes/GlazeReport.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeReportFormat.h"
#include "materials/Material.h"
#include "shell/Preferences.h"

#include <ostream>
#include <string>

namespace {

constexpr const char* kHiddenKeep = "\x02\x01";
constexpr int kNameWidth = 22;

void Line(std::ostream& out, std::string_view text, std::string_view markers = {})
{
    WriteMarkedLine(out, text, markers);
}

// Print-only title lines, or with form feeds the page header, then the screen's box of plus
// signs around the index and name.
void WriteTitle(std::ostream& out, const CGlaze& glaze)
{
    const std::string& name = glaze.m_name;
    if (g_prefs.prtuseffs) {
        Line(out, "", "\x0c\x07\x03");
        Line(out, name, "\x05\x06\x03\x04");
    } else {
        const std::string dashes = Repeated('-', static_cast<int>(name.size()));
        Line(out, dashes, "\x19\x0f\x01\x03\x04");
        Line(out, name, "\x0f\x01\x03\x04");
        Line(out, dashes, "\x19\x0f\x01\x03\x04");
    }
    std::string middle = name;
    if (!glaze.m_index.empty())
        middle = glaze.m_index + "   " + name;
    const std::string row = "++++++" + Repeated('+', static_cast<int>(middle.size())) + "++++++";
    Line(out, row, kHiddenKeep);
    Line(out, "+++   " + middle + "   +++", kHiddenKeep);
    Line(out, row, kHiddenKeep);
}

struct SDescriptiveField {
    const char* label;
    std::string CGlaze::*value;
    const char* markers;
};

constexpr SDescriptiveField kDescriptiveFields[] = {
    {"Range:          ", &CGlaze::m_range, "\x01"},
    {"Firing type:    ", &CGlaze::m_firetype, "\x01"},
    {"Glaze type:     ", &CGlaze::m_type, ""},
    {"Color:          ", &CGlaze::m_color, ""},
    {"Surface:        ", &CGlaze::m_quality, ""},
    {"Transparency:   ", &CGlaze::m_transparency, ""},
    {"Visual texture: ", &CGlaze::m_vistexture, ""},
    {"Crystals:       ", &CGlaze::m_xtals, ""},
    {"Bubbles:        ", &CGlaze::m_bubbles, ""},
    {"Flow:           ", &CGlaze::m_flow, ""},
    {"Flaws:          ", &CGlaze::m_flaws, ""},
    {"Durability:     ", &CGlaze::m_durability, ""},
    {"Testing:        ", &CGlaze::m_tested, ""},
    {"Source:         ", &CGlaze::m_source, ""},
    {"Date:           ", &CGlaze::m_date, ""},
};

void WriteDescriptiveFields(std::ostream& out, const CGlaze& glaze)
{
    Line(out, "", kHiddenKeep);
    for (const SDescriptiveField& field : kDescriptiveFields) {
        const std::string& value = glaze.*field.value;
        if (!value.empty() || g_prefs.emptydesc)
            Line(out, field.label + value, field.markers);
    }
}

// The hazard mark and the availability text of a recipe line.
std::string HazardMark(const CRecipeItem* item)
{
    if (g_prefs.hazvis < 1)
        return std::string();
    if (item && (item->flags & kItemHasHazards))
        return g_prefs.hazwarn + "  ";
    return Repeated(' ', static_cast<int>(g_prefs.hazwarn.size()) + 2);
}

std::string StatusText(const CRecipeItem* item)
{
    if (g_prefs.unavvis < 1 || !item)
        return std::string();
    if (item->flags & kItemNotInDatabase)
        return "(Not in material list)";
    if (item->flags & kItemNotAvailable)
        return "(Not available)";
    return std::string();
}

const CRecipeItem* ItemAt(const CRecipeItemList& items, std::size_t i)
{
    return i < items.size() ? &items[i] : nullptr;
}

std::string NameAt(const CIngredientList& lines, std::size_t i)
{
    return i < lines.size() && lines[i] ? lines[i]->m_name : std::string();
}

void WriteVolumeLines(std::ostream& out, const CIngredientList& lines, const CRecipeItemList& items)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const CRecipeItem* item = ItemAt(items, i);
        const double amount = lines[i] ? lines[i]->m_amount : 0.0;
        Line(out,
             TrimmedRight("  " + RightAligned(NameAt(lines, i), kNameWidth) + "  " +
                          BlankedNumber(amount, 3, g_prefs.decrecipe, g_prefs.tzsrecipe) + "     " +
                          HazardMark(item) + StatusText(item)),
             kMarkKeep);
    }
}

void WriteWeightLines(std::ostream& out, const CIngredientList& lines, const CRecipeItemList& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CRecipeItem& item = items[i];
        Line(out,
             TrimmedRight(RightAligned(NameAt(lines, i), kNameWidth) + "  " +
                          BlankedNumber(item.amount, 5, g_prefs.decrecipe, g_prefs.tzsrecipe) + "    " +
                          BlankedNumber(item.fraction * 100.0, 3, g_prefs.decrecipepct, g_prefs.tzsrecipepct) +
                          "%    " + HazardMark(&item) + StatusText(&item)),
             kMarkKeep);
    }
}

void WriteRecipe(std::ostream& out, const CGlaze& glaze, const CGlazeAnalysis& analysis)
{
    if (glaze.m_byVol) {
        Line(out, "");
        Line(out, "Recipe by volume:", kMarkKeep);
        WriteVolumeLines(out, glaze.m_components, analysis.componentItems);
        if (!glaze.m_additions.empty()) {
            Line(out, "", kMarkKeep);
            WriteVolumeLines(out, glaze.m_additions, analysis.additionItems);
        }
    }
    if (!analysis.amountsValid)
        return;
    Line(out, "");
    WriteWeightLines(out, glaze.m_components, analysis.componentItems);
    const std::string indent(kNameWidth, ' ');
    Line(out, TrimmedRight(indent + "  " + Repeated('-', g_prefs.decrecipe + 6) + "    " +
                           Repeated('-', g_prefs.decrecipepct + 5)));
    Line(out, TrimmedRight(indent + "  " +
                           BlankedNumber(analysis.batchSize, 5, g_prefs.decrecipe, g_prefs.tzsrecipe) + "    " +
                           BlankedNumber(100.0, 3, g_prefs.decrecipepct, g_prefs.tzsrecipepct) + "%"));
    if (!glaze.m_additions.empty()) {
        Line(out, "", kMarkKeep);
        WriteWeightLines(out, glaze.m_additions, analysis.additionItems);
    }
}

// A heading and its lines indented by two blanks, the first two kept with what follows.
void WriteIndentedLines(std::ostream& out, const char* heading, const CStringArrayEx& lines)
{
    if (lines.empty())
        return;
    Line(out, "");
    Line(out, heading, kMarkKeep);
    for (std::size_t i = 0; i < lines.size(); ++i)
        Line(out, "  " + lines[i], i < 2 ? kMarkKeep : "");
}

std::string BatchCostLine(const CGlazeAnalysis& analysis, int indent)
{
    return Repeated(' ', indent) + CurrencyCost(analysis.costPerKg * analysis.batchSize * 0.001) + " per " +
           FormatGeneral(analysis.batchSize) + " g batch";
}

void WriteShortCost(std::ostream& out, const CGlazeAnalysis& analysis)
{
    Line(out, "");
    Line(out, "Cost:  " + CurrencyCost(analysis.costPerKg) + " per kg glaze", kMarkKeep);
    Line(out, BatchCostLine(analysis, 7), kMarkKeep);
}

// Returns the total of the lines' costs.
double WriteCostLines(std::ostream& out, const CIngredientList& lines, const CRecipeItemList& items, bool perKgOnFirst)
{
    double total = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CRecipeItem& item = items[i];
        const std::string cost = item.cost == 0.0 ? Repeated(' ', CostColumnWidth()) : CurrencyCost(item.cost);
        Line(out,
             RightAligned(NameAt(lines, i), kNameWidth) + "   " +
                 BlankedNumber(item.fraction * 100.0, 3, g_prefs.decrecipepct, g_prefs.tzsrecipepct) + "%    " +
                 cost + (perKgOnFirst && i == 0 ? " per kg glaze" : ""),
             kMarkKeep);
        total += item.cost;
    }
    return total;
}

void WriteCostSummary(std::ostream& out, const CGlaze& glaze, const CGlazeAnalysis& analysis, bool headed)
{
    if (headed)
        WriteReportSectionHeading(out, "=======================", "     Cost Summary", "Cost Summary", "Cost Summary");
    const std::string indent(kNameWidth, ' ');
    const int percentWidth = g_prefs.decrecipepct + 5;
    const double componentCost = WriteCostLines(out, glaze.m_components, analysis.componentItems, true);
    Line(out, indent + "   " + Repeated('-', percentWidth) + "    " + Repeated('-', CostColumnWidth()));
    Line(out, indent + "   " + BlankedNumber(100.0, 3, g_prefs.decrecipepct, g_prefs.tzsrecipepct) + "%    " +
                  CurrencyCost(componentCost) + " per kg glaze");
    Line(out, "");
    if (!analysis.additionItems.empty()) {
        const double additionCost = WriteCostLines(out, glaze.m_additions, analysis.additionItems, false);
        const std::string blanks = Repeated(' ', percentWidth);
        Line(out, indent + "   " + blanks + "    " + Repeated('-', CostColumnWidth()));
        Line(out, indent + "   " + blanks + "    " + CurrencyCost(additionCost) + " per kg glaze");
        Line(out, "");
    }
    Line(out, "  Total cost:  " + CurrencyCost(analysis.costPerKg) + " per kg glaze", kMarkKeep);
    Line(out, BatchCostLine(analysis, 15), kMarkKeep);
}

} // namespace

bool WriteMaterialHazards(std::ostream& out, const CGlazeAnalysis& analysis)
{
    if (!analysis.hasHazards)
        return false;
    Line(out, "");
    Line(out, "Material Hazards:");
    for (const CRecipeItemList* items : {&analysis.componentItems, &analysis.additionItems}) {
        if (items == &analysis.additionItems && !g_prefs.anchadd)
            break;
        for (const CRecipeItem& item : *items) {
            if (!item.material)
                continue;
            for (const std::string& hazard : item.material->m_hazNotes)
                Line(out, "  " + hazard);
        }
    }
    return true;
}

void WriteGlazeReport(const CGlaze& glaze, std::ostream& out)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    WriteTitle(out, glaze);
    if (g_prefs.andes)
        WriteDescriptiveFields(out, glaze);
    if (g_prefs.anrec)
        WriteRecipe(out, glaze, analysis);
    if (g_prefs.anvar)
        WriteIndentedLines(out, "Variations:", glaze.m_variations);
    if (g_prefs.annotes)
        WriteIndentedLines(out, "Notes:", glaze.m_notes);
    if (!g_prefs.andes && !glaze.m_source.empty()) {
        Line(out, "");
        Line(out, "Source:  " + glaze.m_source);
    }
    const bool hazards = g_prefs.anhaznotes && WriteMaterialHazards(out, analysis);
    const bool valid = analysis.IsValid();
    if (g_prefs.ancostsum && valid)
        WriteShortCost(out, analysis);
    bool before = g_prefs.anrec || g_prefs.anvar || g_prefs.annotes || hazards;
    if (g_prefs.anchem && valid && WriteChemicalAnalysisSection(out, glaze, before))
        before = true;
    if (g_prefs.ancost && valid)
        WriteCostSummary(out, glaze, analysis, before);
}
