#include "tools/VarrowBlend.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "tools/BlendSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr const char* kCornerNames[4] = {"A", "B", "C", "D"};

// Held to 0..100; a value that is not a number counts as 0.
double ClampPercent(double percent)
{
    return percent > 0.0 ? std::min(percent, 100.0) : 0.0;
}

double BatchOrDefault(double batch, double fallback)
{
    return batch > 0.0 && std::isfinite(batch) ? batch : fallback;
}

// The settings of a request made safe to compute with, and the two material names.
struct CVarrowSettings {
    double kaolinA = 0.0;
    double silicaD = 0.0;
    double kaolinB = 0.0;
    double silicaB = 0.0;
    double cornerBatch = kDefaultVarrowCornerBatch;
    double blendBatch = kDefaultVarrowBlendBatch;
    int pointsCD = 0;
    int pointsCA = 0;
    std::string kaolin;
    std::string silica;
};

bool MaterialName(int index, std::string& name)
{
    const CMaterial* material =
        g_pMaterialsDoc && g_pMaterialsDoc->Materials().IsValidIndex(index) ? g_pMaterialsDoc->Materials().GetAt(index)
                                                                           : nullptr;
    if (material)
        name = material->m_name;
    return material != nullptr;
}

bool MakeSettings(const CVarrowBlendRequest& request, CVarrowSettings& settings)
{
    settings.kaolinA = ClampPercent(request.kaolinA);
    settings.silicaD = ClampPercent(request.silicaD);
    settings.kaolinB = ClampPercent(request.kaolinB);
    settings.silicaB = ClampPercent(request.silicaB);
    settings.cornerBatch = BatchOrDefault(request.cornerBatch, kDefaultVarrowCornerBatch);
    settings.blendBatch = BatchOrDefault(request.blendBatch, kDefaultVarrowBlendBatch);
    settings.pointsCD = std::clamp(request.pointsCD, 0, kMaxVarrowPoints);
    settings.pointsCA = std::clamp(request.pointsCA, 0, kMaxVarrowPoints);
    return MaterialName(request.kaolinMaterial, settings.kaolin) &&
           MaterialName(request.silicaMaterial, settings.silica);
}

// A corner of C's lines scaled to the rest of 100 beside kaolin k and silica s percent; the
// lines are not merged, so a material C already holds may stand twice. When k + s exceed 100
// the corner holds no line of C and its kaolin and silica make 100 in their own ratio.
std::unique_ptr<CGlaze> MakeCorner(const char* name, const CVarrowBlendRequest& request,
                                   const CVarrowSettings& settings, double k, double s)
{
    auto corner = std::make_unique<CGlaze>(name);
    if (k + s < 100.0) {
        corner->m_components = request.components;
        corner->ScaleRecipe(100.0 - k - s, false);
    }
    if (k > 0.0)
        corner->m_components.Add(settings.kaolin, k);
    if (s > 0.0)
        corner->m_components.Add(settings.silica, s);
    corner->ScaleRecipe(100.0, false);
    corner->m_additions = request.additions;
    corner->InvalidateAnalysis();
    return corner;
}

std::array<std::unique_ptr<CGlaze>, 4> MakeCorners(const CVarrowBlendRequest& request, const CVarrowSettings& settings)
{
    // C is scaled while it has no additions, so the additions keep the dialog's scale.
    auto c = std::make_unique<CGlaze>(kCornerNames[2]);
    c->m_components = request.components;
    c->ScaleRecipe(100.0, false);
    c->m_additions = request.additions;
    c->InvalidateAnalysis();
    return {MakeCorner(kCornerNames[0], request, settings, settings.kaolinA, 0.0),
            MakeCorner(kCornerNames[1], request, settings, settings.kaolinB, settings.silicaB), std::move(c),
            MakeCorner(kCornerNames[3], request, settings, 0.0, settings.silicaD)};
}

std::string GridName(int naming, int number, const std::array<double, 4>& weights)
{
    if (naming != kVarrowNameByPercentages)
        return std::to_string(number);
    std::string name;
    for (std::size_t k = 0; k < weights.size(); ++k)
        name += (k > 0 ? ", " : "") + FormatBlendPercent(100.0 * weights[k]) + "% " + kCornerNames[k];
    return name;
}

std::unique_ptr<CGlaze> MakeGridGlaze(const CVarrowBlendRequest& request, const CVarrowSettings& settings,
                                      const std::array<std::unique_ptr<CGlaze>, 4>& corners, int number,
                                      const std::array<double, 4>& weights)
{
    auto glaze = std::make_unique<CGlaze>(GridName(request.naming, number, weights));
    glaze->m_notes.push_back("Varrow recipe blend:");
    for (std::size_t k = 0; k < weights.size(); ++k)
        glaze->m_notes.push_back(FormatBlendNote(100.0 * weights[k], kCornerNames[k]));
    if (request.amounts == kVarrowLiquidVolumes) {
        for (std::size_t k = 0; k < weights.size(); ++k)
            glaze->m_components.Add(kCornerNames[k], settings.blendBatch * weights[k]);
        glaze->m_byVol = 1;
    } else {
        for (std::size_t k = 0; k < weights.size(); ++k)
            AppendWeightedLines(glaze->m_components, corners[k]->m_components, weights[k]);
        glaze->m_additions = request.additions;
    }
    glaze->m_components.MergeDuplicates();
    glaze->InvalidateAnalysis();
    return glaze;
}

// The grid row by row from the A-B side, each row from the A-C side.
void AddGrid(const CVarrowBlendRequest& request, const CVarrowSettings& settings,
             const std::array<std::unique_ptr<CGlaze>, 4>& corners, CGlazeList& result)
{
    int number = 0;
    for (int r = 0; r <= settings.pointsCA + 1; ++r) {
        const double v = r / (settings.pointsCA + 1.0);
        for (int c = 0; c <= settings.pointsCD + 1; ++c) {
            const double u = c / (settings.pointsCD + 1.0);
            const std::array<double, 4> weights = {(1.0 - u) * (1.0 - v), u * (1.0 - v), (1.0 - u) * v, u * v};
            result.m_glazes.push_back(MakeGridGlaze(request, settings, corners, ++number, weights));
        }
    }
}

// "  name  amount%" lines with the names padded to the longest one.
void AddRecipeLines(const CIngredientList& lines, CStringArrayEx& info)
{
    std::size_t width = 0;
    for (const auto& line : lines)
        width = std::max(width, line->m_name.size());
    for (const auto& line : lines) {
        std::string name = line->m_name;
        std::string amount = FormatNumberWidth(line->m_amount, 3, g_prefs.decrecipe);
        BlankTrailingZeros(amount, g_prefs.tzsrecipepct);
        info.push_back("  " + PadRightString(name, static_cast<int>(width)) + "  " + amount + "%");
    }
}

std::string Percent1(double value)
{
    return FormatDoubleFixed(value == 0.0 ? 0.0 : value, 1);
}

void AddInfoLines(const CGlaze& start, const CGlaze& c, const CVarrowBlendRequest& request,
                  const CVarrowSettings& settings, CStringArrayEx& info)
{
    info.push_back("This database contains glazes for a glaze test using");
    info.push_back("the Systematic Recipe Approach invented by Ivo Varrow.");
    info.push_back("For more information and references, see the Help file.");
    info.push_back("");
    info.push_back("This test is based on ingredients in the glaze " + start.m_name + ".");
    info.push_back("The recipe for glaze C (the lower left, high flux corner) is as follows:");
    AddRecipeLines(c.m_components, info);
    info.push_back("Glaze A (upper left, high alumina corner) consists of");
    info.push_back("  " + Percent1(100.0 - settings.kaolinA) + "% Glaze C and " + Percent1(settings.kaolinA) + "% " +
                   settings.kaolin + ".");
    info.push_back("  " + Percent1(100.0 - settings.silicaD) + "% Glaze C and " + Percent1(settings.silicaD) + "% " +
                   settings.silica + ".");
    info.push_back("Glaze B (upper right, high alumina+silica corner) consists of");
    // B's shares as its recipe holds them: beyond 100 the kaolin and silica make 100 together.
    const double both = settings.kaolinB + settings.silicaB;
    const double scale = both > 100.0 ? 100.0 / both : 1.0;
    info.push_back("  " + Percent1(std::max(0.0, 100.0 - both)) + "% Glaze C, " + Percent1(settings.kaolinB * scale) +
                   "% " + settings.kaolin + ", and " + Percent1(settings.silicaB * scale) + "% " + settings.silica +
                   ".");
    if (request.generateAll) {
        const int high = settings.pointsCA + 2;
        const int wide = settings.pointsCD + 2;
        info.push_back("The blend is " + std::to_string(high) + " points hight and " + std::to_string(wide) +
                       " points wide and contains " + std::to_string(high * wide) + " glazes.");
    }
    if (c.m_additions.GetCount() > 0) {
        info.push_back("To each glaze was added:");
        AddRecipeLines(c.m_additions, info);
    }
}

} // namespace

int PrepareVarrowStartGlaze(const CGlaze& start, CGlaze& scaled)
{
    scaled = start;
    if (scaled.ConvertWeightVolume(0) != 0)
        return 1;
    scaled.ScaleRecipe(100.0, false);
    return 0;
}

int BuildVarrowBlend(const CVarrowBlendRequest& request, const CGlazeList& source, CGlazeList& result)
{
    result.Reset();
    CVarrowSettings settings;
    if (request.startGlaze < 0 || request.startGlaze >= source.GetCount() || request.components.GetCount() == 0 ||
        !MakeSettings(request, settings))
        return 1;
    const auto corners = MakeCorners(request, settings);
    if (request.generateCorners) {
        for (const auto& corner : corners) {
            auto copy = std::make_unique<CGlaze>(*corner);
            copy->ScaleRecipe(settings.cornerBatch, false);
            result.m_glazes.push_back(std::move(copy));
        }
    }
    if (request.generateAll)
        AddGrid(request, settings, corners, result);
    result.m_name = "Varrow Recipe Blend";
    AddInfoLines(source.GetAt(request.startGlaze), *corners[2], request, settings, result.m_infoLines);
    return 0;
}

CGlazesDoc* RunVarrowBlend(const CVarrowBlendRequest& request, CGlazesDoc& source)
{
    CGlazeList built;
    if (BuildVarrowBlend(request, source.Glazes(), built) != 0)
        return nullptr;
    return PublishGlazeDatabase(built);
}
