// Summaries, recipes and reports of glazes (the list tables are in GlazeTextOutputList.cpp).

#include "glazes/GlazeTextOutput.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeReport.h"
#include "glazes/GlazeReportFormat.h"
#include "glazes/GlazesDoc.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <ostream>

namespace {

constexpr int kNameWidth = 22;
// prtrecsize: the glaze's own batch size, the recipe as entered, or the sizes of prtrecsizelist.
constexpr int kRecipeSizeWorking = 0;
constexpr int kRecipeSizeOriginal = 1;

void Line(std::ostream& out, std::string_view text, std::string_view markers = {})
{
    WriteMarkedLine(out, text, markers);
}

// A line that begins with the keep marker.
void KeptLine(std::ostream& out, const std::string& text)
{
    Line(out, kMarkKeep + text);
}

std::string GlazeTitle(const CGlaze& glaze)
{
    return glaze.m_index.empty() ? glaze.m_name : glaze.m_index + "  " + glaze.m_name;
}

std::string Amount(double value)
{
    return BlankedNumber(value, 5, g_prefs.decrecipe, g_prefs.tzsrecipe);
}

std::string BatchAmount(double value)
{
    return BlankedNumber(value, 3, g_prefs.decrecipepct, g_prefs.tzsrecipepct);
}

// The hazard mark of a recipe line whose material has hazard lines.
std::string HazardMark(const std::string& material)
{
    if (g_prefs.hazvis < 1 || !g_pMaterialsDoc)
        return std::string();
    const CMaterial* found = g_pMaterialsDoc->Materials().FindMaterial(std::string_view(material));
    return found && !found->m_hazNotes.empty() ? g_prefs.hazwarn : std::string();
}

// The tall ruled title, or with form feeds the page header.
void WriteTitleBlock(std::ostream& out, const std::string& title)
{
    const std::string dashes = Repeated('-', static_cast<int>(title.size()));
    if (g_prefs.prtuseffs) {
        Line(out, title, kMarkHeaders);
        Line(out, dashes, kMarkHidden);
        Line(out, "", kMarkHidden);
        return;
    }
    Line(out, title, "\x0f\x01");
    Line(out, dashes, "\x19\x0f\x01");
}

void WriteDescriptions(std::ostream& out, const CGlaze& glaze)
{
    const std::pair<const char*, const std::string*> fields[] = {
        {"Range:          ", &glaze.m_range},        {"Firing type:    ", &glaze.m_firetype},
        {"Glaze type:     ", &glaze.m_type},         {"Color:          ", &glaze.m_color},
        {"Surface:        ", &glaze.m_quality},      {"Transparency:   ", &glaze.m_transparency},
        {"Visual texture: ", &glaze.m_vistexture},   {"Crystals:       ", &glaze.m_xtals},
        {"Bubbles:        ", &glaze.m_bubbles},      {"Flow:           ", &glaze.m_flow},
        {"Flaws:          ", &glaze.m_flaws},        {"Durability:     ", &glaze.m_durability},
        {"Testing:        ", &glaze.m_tested},
    };
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const auto& [label, value] = fields[i];
        if (g_prefs.emptydesc || !value->empty())
            Line(out, label + *value, i < 2 ? kMarkKeep : "");
    }
    Line(out, "");
}

// "  <name>  <amount>    <batch amount>  <hazard>" for every line of the list.
void WriteSummaryLines(std::ostream& out, const CIngredientList& lines, double factor)
{
    for (const auto& line : lines) {
        if (!line)
            continue;
        const std::string batch = factor != 1.0 ? BatchAmount(factor * line->m_amount) : std::string();
        KeptLine(out, TrimmedRight("  " + RightAligned(line->m_name, kNameWidth) + "  " + Amount(line->m_amount) +
                                   "    " + batch + "  " + HazardMark(line->m_name)));
    }
}

// The hazard lines of the recipe's materials; prefix goes before each line, keep after the first
// two when the lines are not kept anyway.
void WriteHazardLines(std::ostream& out, const CGlazeAnalysis& analysis, const std::string& prefix, bool keepFirstTwo)
{
    int written = 0;
    for (const CRecipeItemList* items : {&analysis.componentItems, &analysis.additionItems}) {
        if (items == &analysis.additionItems && !g_prefs.anchadd)
            break;
        for (const CRecipeItem& item : *items) {
            if (!item.material)
                continue;
            for (const std::string& hazard : item.material->m_hazNotes) {
                Line(out, prefix + hazard, keepFirstTwo && written < 2 ? kMarkKeep : "");
                ++written;
            }
        }
    }
}

void WriteLinesUnder(std::ostream& out, const char* heading, const CStringArrayEx& lines)
{
    if (lines.empty())
        return;
    Line(out, "");
    Line(out, heading, kMarkKeep);
    for (std::size_t i = 0; i < lines.size(); ++i)
        Line(out, "  " + lines[i], i < 2 ? kMarkKeep : "");
}

void WriteClosingBlankLines(std::ostream& out)
{
    if (!g_prefs.prtuseffs) {
        Line(out, "");
        Line(out, "");
    }
}

} // namespace

void ParseRecipeSizeList(const std::string& text, CStringArrayEx& sizes)
{
    sizes.clear();
    std::string words = text;
    for (char& c : words) {
        if (c == ',')
            c = ' ';
    }
    std::size_t pos = 0;
    while (pos < words.size()) {
        const std::size_t end = std::min(words.find(' ', pos), words.size());
        const std::string piece = words.substr(pos, end - pos);
        pos = end + 1;
        if (piece.empty())
            continue;
        const char first = piece[0];
        if (first == 'W' || first == 'w' || first == 'R' || first == 'r') {
            sizes.push_back(first == 'W' || first == 'w' ? "W" : "R");
            continue;
        }
        const std::string formatted = FormatNumberWidth(ParseDouble(piece), 5, g_prefs.decrecipe);
        if (ParseDouble(formatted) >= 0.0)
            sizes.push_back(formatted);
    }
}

std::vector<const CGlaze*> CGlazeText::Selected(std::span<const int> indices, const CGlaze* glaze) const
{
    if (glaze)
        return {glaze};
    std::vector<const CGlaze*> glazes;
    for (int index : indices) {
        if (const CGlaze* found = m_doc.GetGlaze(index))
            glazes.push_back(found);
    }
    return glazes;
}

void CGlazeText::WriteSummaries(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const
{
    for (const CGlaze* selected : Selected(indices, glaze))
        WriteSummary(out, *selected);
}

void CGlazeText::WriteSummary(std::ostream& out, const CGlaze& glaze) const
{
    if (g_prefs.prtuseffs)
        Line(out, "", "\x0c\x07");
    WriteTitleBlock(out, GlazeTitle(glaze));
    WriteDescriptions(out, glaze);

    const double total = glaze.m_components.GetTotalAmount();
    const bool scaled = glaze.m_batchSize > 0.0 && total > 0.0 && !glaze.m_byVol;
    const double factor = scaled ? glaze.m_batchSize / total : 1.0;
    KeptLine(out, glaze.m_byVol ? "Recipe (by volume):" : "Recipe:");
    WriteSummaryLines(out, glaze.m_components, factor);
    if (!glaze.m_byVol && total > 0.0) {
        const std::string indent = "  " + std::string(kNameWidth, ' ') + "  ";
        std::string rule = indent + Repeated('-', g_prefs.decrecipe + 6);
        if (factor != 1.0)
            rule += "    " + Repeated('-', g_prefs.decrecipepct + 4);
        KeptLine(out, TrimmedRight(rule));
        KeptLine(out, TrimmedRight(indent + Amount(total) + "    " +
                                   (factor != 1.0 ? BatchAmount(factor * total) : std::string())));
    }
    if (!glaze.m_additions.empty()) {
        Line(out, kMarkKeep);
        WriteSummaryLines(out, glaze.m_additions, factor);
    }
    if (g_prefs.hazvis >= 2 && glaze.GetAnalysis().hasHazards) {
        Line(out, "");
        KeptLine(out, "Material Hazards:");
        WriteHazardLines(out, glaze.GetAnalysis(), "  ", true);
    }
    WriteLinesUnder(out, "Variations:", glaze.m_variations);
    WriteLinesUnder(out, "Notes:", glaze.m_notes);
    Line(out, "");
    Line(out, "Source: " + glaze.m_source, kMarkKeep);
    Line(out, "Date:   " + glaze.m_date, kMarkKeep);
    WriteClosingBlankLines(out);
}

void CGlazeText::WriteRecipes(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const
{
    for (const CGlaze* selected : Selected(indices, glaze))
        WriteRecipe(out, *selected);
}

namespace {

CStringArrayEx RecipeSizeTokens()
{
    CStringArrayEx tokens;
    if (g_prefs.prtrecsize == kRecipeSizeWorking)
        tokens.push_back("W");
    else if (g_prefs.prtrecsize == kRecipeSizeOriginal)
        tokens.push_back("R");
    else
        ParseRecipeSizeList(g_prefs.prtrecsizelist, tokens);
    if (tokens.empty())
        tokens.push_back("W");
    return tokens;
}

void WriteVolumeRecipeLines(std::ostream& out, const CIngredientList& lines)
{
    for (const auto& line : lines) {
        if (line)
            KeptLine(out, TrimmedRight(RightAligned(line->m_name, kNameWidth) + "  " + Amount(line->m_amount) + "  " +
                                       HazardMark(line->m_name)));
    }
}

// The by-weight recipe as a table: one column of amounts per batch size.
void WriteWeightRecipeTable(std::ostream& out, const CGlaze& glaze)
{
    struct SRow {
        std::string text;
        const CIngredient* line = nullptr; // null for the rule, total and separator rows
    };
    std::vector<SRow> rows;
    for (const auto& line : glaze.m_components)
        rows.push_back({RightAligned(line ? line->m_name : std::string(), kNameWidth), line.get()});
    const std::size_t rule = rows.size();
    rows.push_back({std::string(kNameWidth, ' ')});
    rows.push_back({std::string(kNameWidth, ' ')});
    if (!glaze.m_additions.empty())
        rows.push_back({std::string(kNameWidth, ' ')});
    for (const auto& line : glaze.m_additions)
        rows.push_back({RightAligned(line ? line->m_name : std::string(), kNameWidth), line.get()});

    const double total = glaze.m_components.GetTotalAmount();
    for (const std::string& token : RecipeSizeTokens()) {
        double target = token == "W" ? glaze.m_batchSize : token == "R" ? total : ParseDouble(token);
        const double factor = target > 0.0 && total > 0.0 ? target / total : 1.0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].line)
                rows[i].text += "  " + Amount(factor * rows[i].line->m_amount);
        }
        rows[rule].text += "  " + Repeated('-', g_prefs.decrecipe + 6);
        rows[rule + 1].text += "  " + Amount(factor * total);
    }
    for (SRow& row : rows) {
        if (g_prefs.hazvis >= 1 && row.line)
            row.text = TrimmedRight(row.text + "  " + HazardMark(row.line->m_name));
        KeptLine(out, row.text);
    }
}

} // namespace

void CGlazeText::WriteRecipe(std::ostream& out, const CGlaze& glaze) const
{
    if (g_prefs.prtuseffs)
        Line(out, "", "\x0c\x07");
    const std::string title = GlazeTitle(glaze);
    Line(out, title, "\x0f\x01");
    Line(out, Repeated('-', static_cast<int>(title.size())), "\x19\x0f\x01");
    Line(out, "  " + glaze.m_range + "  " + glaze.m_firetype, kMarkKeep);
    Line(out, kMarkKeep);
    if (glaze.m_byVol) {
        KeptLine(out, "(by volume)");
        WriteVolumeRecipeLines(out, glaze.m_components);
        if (!glaze.m_additions.empty()) {
            Line(out, kMarkKeep);
            WriteVolumeRecipeLines(out, glaze.m_additions);
        }
    } else {
        WriteWeightRecipeTable(out, glaze);
    }
    if (g_prefs.hazvis >= 2 && glaze.GetAnalysis().hasHazards) {
        Line(out, kMarkKeep);
        KeptLine(out, "  Material Hazards:");
        WriteHazardLines(out, glaze.GetAnalysis(), std::string(kMarkKeep) + "    ", false);
    }
    WriteClosingBlankLines(out);
}

void CGlazeText::WriteReports(std::ostream& out, std::span<const int> indices, const CGlaze* glaze) const
{
    for (const CGlaze* selected : Selected(indices, glaze)) {
        WriteGlazeReport(*selected, out);
        WriteClosingBlankLines(out);
    }
}
