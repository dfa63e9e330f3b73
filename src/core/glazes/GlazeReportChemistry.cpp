// The chemical analysis section of the glaze report.

#include "glazes/GlazeReport.h"

#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeReportFormat.h"
#include "glazes/LimitComparisonChart.h"
#include "limits/LimitFormulaDB.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <array>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr double kFullShare = 0.995; // below this share an estimate says what it rests on
constexpr int kAnyCone = INT_MIN;

// The oxides that begin to leave the glaze, with the cone from which they do.
struct SVolatilizationRow {
    int element;
    int fromCone;
    const char* text;
};

constexpr SVolatilizationRow kVolatilizationRows[] = {
    {1, kAnyCone, "H2O      100 C          (complete loss)"},
    {7, kAnyCone, "N2       200 C          (complete loss)"},
    {17, kAnyCone, "Cl2      200 C          (complete loss)"},
    {6, -18, "CO,CO2   700 C (c/018)  (complete loss)"},
    {16, -10, "SO2,SO3  900 C (c/010)  (complete loss)"},
    {30, -8, "ZnO      950 C (c/08)   (partial loss)"},
    {9, -6, "F2      1000 C (c/06)   (complete loss)"},
    {82, -6, "PbO     1000 C (c/06)   (partial loss)"},
    {29, -6, "CuO     1000 C (c/06)   (partial loss)"},
    {24, -4, "Cr2O3   1050 C (c/04)   (partial loss)"},
    {11, -2, "Na2O    1100 C (c/02)   (partial loss)"},
    {27, -2, "CoO     1100 C (c/02)   (slight loss)"},
    {5, 2, "B2O3    1150 C (c/2)    (partial loss)"},
    {56, 6, "BaO     1200 C (c/6)    (slight loss)"},
    {25, 6, "MnO     1200 C (c/6)    (slight loss)"},
    {19, 6, "K2O     1200 C (c/6)    (slight loss)"},
};

void Line(std::ostream& out, std::string_view text, std::string_view markers = {})
{
    WriteMarkedLine(out, text, markers);
}

std::string OxideName(int element)
{
    if (element == CGlazeAnalysis::kOtherVolatilesElement)
        return "Other";
    return GetElementTable()[element].oxide;
}

std::array<const COxideItemList*, 3> MainGroups(const CGlazeAnalysis& a)
{
    return {&a.alkaliOxides, &a.neutralOxides, &a.acidOxides};
}

// The alkali, neutral and acid columns side by side, each entry padded or cut to width.
template <class Entry>
void WriteColumns(std::ostream& out, const CGlazeAnalysis& a, int width, Entry entry)
{
    const auto groups = MainGroups(a);
    std::size_t rows = 0;
    for (const COxideItemList* group : groups)
        rows = std::max(rows, group->size());
    for (std::size_t row = 0; row < rows; ++row) {
        std::string text = "  ";
        for (std::size_t column = 0; column < groups.size(); ++column) {
            const COxideItemList& group = *groups[column];
            if (column > 0)
                text += "   ";
            text += FixedWidth(row < group.size() ? entry(group[row]) : std::string(), width);
        }
        Line(out, TrimmedRight(text), kMarkKeep);
    }
}

void WriteRatios(std::ostream& out, const CGlazeAnalysis& a)
{
    bool alumina = false;
    if (a.siAlRatio > 0.0) {
        Line(out, "");
        Line(out, "   Alumina:Silica ratio is   1.00 : " + FormatDoubleFixed(a.siAlRatio, 2), kMarkKeep);
        alumina = true;
    }
    if (a.acidNeutralRatio > 0.0 && a.acidNeutralRatio != a.siAlRatio) {
        if (!alumina)
            Line(out, "");
        Line(out, "   Neutral:Acid ratio is     1.00 : " + FormatDoubleFixed(a.acidNeutralRatio, 2), kMarkKeep);
    }
    if (a.acidNeutralRatio > 0.0 && a.neutralAlkaliRatio > 0.0)
        Line(out, "   Alkali:Neutral:Acid ratio is  1.00 : " + FormatDoubleFixed(a.neutralAlkaliRatio, 2) + " : " +
                      FormatDoubleFixed(a.neutralAlkaliRatio * a.acidNeutralRatio, 2),
             kMarkKeep);
}

void WriteUnityFormula(std::ostream& out, const CGlazeAnalysis& a)
{
    Line(out, "");
    WriteColumns(out, a, g_prefs.decanalysis + 10, [](const COxideItem& item) {
        return RightAligned(OxideName(item.element), 6) + " " +
               BlankedNumber(item.unity, 2, g_prefs.decanalysis, g_prefs.tzsanalysis);
    });
    WriteRatios(out, a);
}

std::string PercentEntry(const COxideItem& item, bool weight)
{
    const double fraction = weight ? item.weightFraction : item.moleFraction;
    return RightAligned(OxideName(item.element), 6) + " " +
           BlankedNumber(fraction * 100.0, 2, g_prefs.decanalysispct, g_prefs.tzsanalysispct) + "%";
}

void WriteExtraOxides(std::ostream& out, const char* heading, const COxideItemList& items, bool weight)
{
    if (items.empty())
        return;
    Line(out, "");
    Line(out, heading, kMarkKeep);
    for (const COxideItem& item : items)
        Line(out, "    " + PercentEntry(item, weight), kMarkKeep);
}

// Weight percentages with the volatiles and the loss on ignition, or molecular percentages.
void WritePercentages(std::ostream& out, const CGlazeAnalysis& a, bool weight)
{
    Line(out, "");
    Line(out, weight ? "Weight percentages:" : "Molecular percentages:", kMarkKeep);
    WriteColumns(out, a, g_prefs.decanalysispct + 11,
                 [weight](const COxideItem& item) { return PercentEntry(item, weight); });
    WriteExtraOxides(out, "  This glaze also contains:", a.otherOxides, weight);
    if (!weight)
        return;
    WriteExtraOxides(out, "  Volatiles:", a.volatileOxides, true);
    const double loss = a.loiFraction * 100.0;
    if (RoundToPowerOfTen(loss, -g_prefs.decanalysispct) != 0.0) {
        Line(out, "");
        Line(out, "  Loss On Ignition: " + BlankedNumber(loss, 2, g_prefs.decanalysispct, g_prefs.tzsanalysispct) +
                      "%");
    }
}

std::string EstimateNote(double share)
{
    return "  (estimate based on oxides composing " + FormatDoubleFixed(share * 100.0, 0) + "% of fired weight)";
}

// One index at the low and the high cone: "Viscosity index:  1.2 (c/04)  1.4 (c/6)".
void WriteConeIndex(std::ostream& out, const CGlaze& glaze, const char* label, const std::array<double, 2>& values,
                    double share)
{
    if (!(share > 0.0)) {
        Line(out, "");
        Line(out, std::string("Nothing known about ") + label, kMarkKeep);
        return;
    }
    if (glaze.m_lowCone == 0)
        return;
    Line(out, "");
    std::string title = label;
    title[0] = static_cast<char>(title[0] - 'a' + 'A');
    std::string text;
    if (values[0] != values[1]) {
        text = title + " index:  " + FormatDoubleFixed(values[0], 1) + " (c/" + ConeText(glaze.m_lowCone) + ")";
        if (glaze.m_highCone != glaze.m_lowCone)
            text += "  " + FormatDoubleFixed(values[1], 1) + " (c/" + ConeText(glaze.m_highCone) + ")";
    } else {
        text = title + " index: " + FormatDoubleFixed(values[0], 1);
    }
    Line(out, text, kMarkKeep);
    if (share < kFullShare)
        Line(out, EstimateNote(share), kMarkKeep);
}

bool WriteVolatilization(std::ostream& out, const CGlaze& glaze)
{
    if (glaze.m_highCone == 0)
        return false;
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    std::vector<const char*> rows;
    for (const SVolatilizationRow& row : kVolatilizationRows) {
        if (a.elementMoles[static_cast<std::size_t>(row.element)] > 0.0 && glaze.m_highCone >= row.fromCone)
            rows.push_back(row.text);
    }
    if (rows.empty())
        return false;
    Line(out, "");
    Line(out, "Onset of oxide volatization:", kMarkKeep);
    for (std::size_t i = 0; i < rows.size(); ++i)
        Line(out, std::string("  ") + rows[i], i < 2 || rows.size() < 5 ? kMarkKeep : "");
    return true;
}

void WriteMaterialAnnotations(std::ostream& out, const CGlazeAnalysis& a)
{
    Line(out, "");
    Line(out, "Materials in glaze:");
    for (const CRecipeItemList* items : {&a.componentItems, &a.additionItems}) {
        if (items == &a.additionItems && !g_prefs.anchadd)
            break;
        for (const CRecipeItem& item : *items) {
            if (!item.material)
                continue;
            for (const std::string& line : item.material->m_anNotes)
                Line(out, "  " + line);
        }
    }
}

void WriteOxideAnnotations(std::ostream& out, const CGlazeAnalysis& a)
{
    const CElementRecord* table = GetElementTable();
    Line(out, "");
    Line(out, "Oxides in glaze:");
    for (const COxideItemList* list :
         {&a.alkaliOxides, &a.neutralOxides, &a.acidOxides, &a.volatileOxides, &a.otherOxides}) {
        for (const COxideItem& item : *list) {
            // The "Other" volatiles row is the unexplained loss, not an oxide.
            if (list == &a.volatileOxides && item.element == CGlazeAnalysis::kOtherVolatilesElement)
                continue;
            for (const std::string& line : table[item.element].annotations)
                Line(out, "  " + line);
        }
    }
}

bool WriteAnnotationSections(std::ostream& out, const CGlazeAnalysis& a)
{
    const bool materials = g_prefs.anchmatn && a.hasMaterialAnnotations;
    const bool oxides = g_prefs.ancheln && a.hasElementAnnotations;
    if (materials)
        WriteMaterialAnnotations(out, a);
    if (oxides)
        WriteOxideAnnotations(out, a);
    return materials || oxides;
}

bool WriteLimitComparison(std::ostream& out, const CGlaze& glaze)
{
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    const CLimitFormula* formula = database ? database->FindFormulaByName(glaze.m_limform) : nullptr;
    if (!formula || formula->m_limits.GetCount() == 0)
        return false;
    Line(out, "");
    Line(out, "Comparison to limit formula \"" + glaze.m_limform + "\"", kMarkKeep);
    WriteLimitComparisonChart(out, glaze.GetAnalysis(), glaze.m_limform, 12, 2, 50, 10, 1);
    return true;
}

} // namespace

void WriteExpansionLines(std::ostream& out, const CGlazeAnalysis& analysis)
{
    Line(out, "");
    if (analysis.expansionShare > 0.0) {
        Line(out, "Expansion coefficient: " + FormatDoubleFixed(analysis.expansion, 1) + " x 10e-7 per degree C",
             kMarkKeep);
        if (analysis.expansionShare < kFullShare)
            Line(out, EstimateNote(analysis.expansionShare), kMarkKeep);
    } else {
        Line(out, "Nothing known about expansion coefficient", kMarkKeep);
    }
    if (analysis.hasUnusualExpansion)
        Line(out, "Oxides causing abnormal expansion effects: " + analysis.unusualExpansionText, kMarkKeep);
}

void CGlaze::WriteViscosityLines(std::ostream& out) const
{
    const CGlazeAnalysis& a = GetAnalysis();
    WriteConeIndex(out, *this, "viscosity", a.viscosity, a.viscosityShare);
    WriteConeIndex(out, *this, "surface tension", a.surfaceTension, a.surfaceTensionShare);
}

void CGlaze::WriteVolatilizationLines(std::ostream& out) const
{
    WriteVolatilization(out, *this);
}

void CGlaze::WriteAnnotations(std::ostream& out) const
{
    WriteAnnotationSections(out, GetAnalysis());
}

void CGlaze::WriteLimitFormulaComparison(std::ostream& out) const
{
    WriteLimitComparison(out, *this);
}

bool WriteChemicalAnalysisSection(std::ostream& out, const CGlaze& glaze, bool headed)
{
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    if (headed) {
        const std::string suffix = g_prefs.anchadd ? "" : "   (components only)";
        WriteReportSectionHeading(out, "===========================", "     Chemical Analysis     " + suffix,
                                  "Chemical Analysis" + suffix, "Chemical Analysis");
    }
    bool wrote = headed;
    if (!a.otherOxides.empty()) {
        std::string text = "  This glaze contains unexpected oxides:";
        for (const COxideItem& item : a.otherOxides)
            text += " " + OxideName(item.element);
        Line(out, "");
        Line(out, text);
        wrote = true;
    }
    const std::pair<int, void (*)(std::ostream&, const CGlazeAnalysis&)> parts[] = {
        {g_prefs.anchunity, WriteUnityFormula},
        {g_prefs.anchwtpct, [](std::ostream& o, const CGlazeAnalysis& x) { WritePercentages(o, x, true); }},
        {g_prefs.anchmolpct, [](std::ostream& o, const CGlazeAnalysis& x) { WritePercentages(o, x, false); }},
        {g_prefs.anchexpan, WriteExpansionLines},
    };
    for (const auto& [wanted, write] : parts) {
        if (wanted) {
            write(out, a);
            wrote = true;
        }
    }
    if (g_prefs.anchvisco) {
        glaze.WriteViscosityLines(out);
        wrote = true;
    }
    if (g_prefs.anchvolat && WriteVolatilization(out, glaze))
        wrote = true;
    if (WriteAnnotationSections(out, a))
        wrote = true;
    if (g_prefs.anchlimform && WriteLimitComparison(out, glaze))
        wrote = true;
    return wrote;
}
