#include "tools/Blend.h"

#include "framework/MessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "shell/Preferences.h"
#include "tools/BlendSupport.h"

#include <algorithm>
#include <memory>

namespace {

struct CBlendTexts {
    const char* note;     // first note of every generated glaze
    const char* dbName;
    const char* infoLine; // first information line
};

constexpr CBlendTexts kBlendTexts[] = {
    {"Line blend:", "Line Blend", "This database contains glazes created by a line blend."},
    {"Triaxial blend:", "Triaxial Blend", "This database contains glazes created by a triaxial blend."},
    {"Square blend:", "Square Blend", "This database contains glazes created by a square blend."},
};

int ClampPoints(int points)
{
    return std::clamp(points, kMinBlendPoints, kMaxBlendPoints);
}

int ClampKind(int kind)
{
    return std::clamp(kind, static_cast<int>(kLineBlend), static_cast<int>(kSquareBlend));
}

std::string EndpointLetter(int endpoint)
{
    return std::string(1, static_cast<char>('A' + endpoint));
}

// The working copies of the endpoints, checked in endpoint order: 0, or 1 with the message of
// the first endpoint that fails.
int PrepareEndpoints(const std::vector<const CGlaze*>& sources, std::vector<CGlaze>& copies, std::string& error)
{
    copies.clear();
    copies.reserve(sources.size());
    for (const CGlaze* source : sources) {
        copies.push_back(*source);
        const int failure = PrepareBlendSource(*source, copies.back());
        if (failure == 1)
            error = CannotConvertMessage(source->m_name, copies.size() == 1);
        else if (failure == 2)
            error = "Glaze \"" + source->m_name + "\" has no ingredients!";
        if (failure != 0)
            return 1;
    }
    return 0;
}

// One generated glaze: its name from the shares, notes naming the endpoints, and the endpoints'
// lines weighted, merged and expressed per 100 of components.
std::unique_ptr<CGlaze> MakeBlendGlaze(int kind, const BlendWeights& weights, const std::vector<CGlaze>& copies)
{
    std::string name;
    for (std::size_t e = 0; e < copies.size(); ++e) {
        if (e > 0)
            name += ", ";
        name += FormatBlendPercent(100.0 * weights[e]) + "% " + EndpointLetter(static_cast<int>(e));
    }
    auto glaze = std::make_unique<CGlaze>(name);
    glaze->m_notes.push_back(kBlendTexts[kind].note);
    for (std::size_t e = 0; e < copies.size(); ++e)
        glaze->m_notes.push_back(FormatBlendNote(100.0 * weights[e], copies[e].m_name));
    for (std::size_t e = 0; e < copies.size(); ++e)
        AppendWeightedLines(glaze->m_components, copies[e].m_components, weights[e]);
    glaze->m_components.MergeDuplicates();
    for (std::size_t e = 0; e < copies.size(); ++e)
        AppendWeightedLines(glaze->m_additions, copies[e].m_additions, weights[e]);
    glaze->m_additions.MergeDuplicates();
    // A point whose components total nothing keeps its amounts as they are.
    glaze->ScaleRecipe(100.0, false);
    glaze->InvalidateAnalysis();
    return glaze;
}

} // namespace

CRecipeBlendRequest MakeRecipeBlendRequest(int kind, const std::vector<int>& selectedRows)
{
    CRecipeBlendRequest request;
    request.kind = ClampKind(kind);
    const std::size_t endpoints = static_cast<std::size_t>(BlendEndpointCount(request.kind));
    for (std::size_t e = 0; e < endpoints && e < selectedRows.size(); ++e)
        request.endpoints[e] = selectedRows[e];
    request.pointsAB = g_prefs.m_nBlendPointsAB;
    request.pointsAC = g_prefs.m_nBlendPointsAC;
    return request;
}

int BlendEndpointCount(int kind)
{
    return ClampKind(kind) + 2;
}

std::vector<BlendWeights> MakeBlendGrid(int kind, int pointsAB, int pointsAC)
{
    std::vector<BlendWeights> grid;
    const int a = ClampPoints(pointsAB);
    const double steps = a + 1;
    switch (ClampKind(kind)) {
    case kLineBlend:
        for (int i = 0; i <= a + 1; ++i) {
            const double wA = 1.0 - i / steps;
            grid.push_back({wA, 1.0 - wA, 0.0, 0.0});
        }
        break;
    case kTriaxialBlend:
        for (int i = 0; i <= a + 1; ++i)
            for (int j = 0; j <= i; ++j)
                grid.push_back({1.0 - i / steps, (i - j) / steps, j / steps, 0.0});
        break;
    default: {
        const int b = ClampPoints(pointsAC);
        for (int r = 0; r <= b + 1; ++r) {
            const double v = r / (b + 1.0);
            for (int c = 0; c <= a + 1; ++c) {
                const double u = c / steps;
                grid.push_back({(1.0 - u) * (1.0 - v), u * (1.0 - v), (1.0 - u) * v, u * v});
            }
        }
    }
    }
    return grid;
}

int BuildRecipeBlend(const CRecipeBlendRequest& request, const CGlazeList& source, CGlazeList& result,
                     std::string& error)
{
    result.Reset();
    const int kind = ClampKind(request.kind);
    std::vector<const CGlaze*> sources;
    for (int e = 0; e < BlendEndpointCount(kind); ++e) {
        const int index = request.endpoints[static_cast<std::size_t>(e)];
        if (index < 0 || index >= source.GetCount())
            return -1;
        sources.push_back(&source.GetAt(index));
    }
    std::vector<CGlaze> copies;
    if (PrepareEndpoints(sources, copies, error) != 0)
        return 1;

    for (const BlendWeights& weights : MakeBlendGrid(kind, request.pointsAB, request.pointsAC))
        result.m_glazes.push_back(MakeBlendGlaze(kind, weights, copies));
    result.m_name = kBlendTexts[kind].dbName;
    result.m_infoLines.push_back(kBlendTexts[kind].infoLine);
    result.m_infoLines.push_back("The endpoint glazes are:");
    for (std::size_t e = 0; e < sources.size(); ++e)
        result.m_infoLines.push_back("  " + EndpointLetter(static_cast<int>(e)) + " = " + sources[e]->m_name);
    return 0;
}

CGlazesDoc* RunRecipeBlend(const CRecipeBlendRequest& request, CGlazesDoc& source)
{
    // The counts are remembered before anything is checked, so a failed blend keeps them.
    g_prefs.m_nBlendPointsAB = ClampPoints(request.pointsAB);
    if (request.kind == kSquareBlend)
        g_prefs.m_nBlendPointsAC = ClampPoints(request.pointsAC);

    CGlazeList built;
    std::string error;
    const int result = BuildRecipeBlend(request, source.Glazes(), built, error);
    if (result > 0)
        AppMessageBox(error, MsgOk | MsgIconError, kBlendHelpId);
    if (result != 0)
        return nullptr;
    return PublishGlazeDatabase(built);
}
