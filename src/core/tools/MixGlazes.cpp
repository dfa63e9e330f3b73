#include "tools/MixGlazes.h"

#include "framework/DocRegistry.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "support/DbFileType.h"
#include "tools/BlendSupport.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

bool NamesGlaze(int index, const CGlazeList& source)
{
    return index >= 0 && index < source.GetCount();
}

// A part that can take a share: a finite number above 0 (an infinite part would make every
// share not-a-number).
bool IsSharingPart(double part)
{
    return part > 0.0 && std::isfinite(part);
}

// The sources' lines combined into result, merged, and expressed per 100 of components.
void CombineInto(CGlaze& result, const std::vector<const CGlaze*>& copies)
{
    for (const CGlaze* copy : copies)
        result.m_components.Append(copy->m_components);
    result.m_components.MergeDuplicates();
    for (const CGlaze* copy : copies)
        result.m_additions.Append(copy->m_additions);
    result.m_additions.MergeDuplicates();
    result.ScaleRecipe(100.0, false);
    result.InvalidateAnalysis();
}

int Insert(CGlazesDoc& document, const CGlaze& glaze, int insertAt, CView* sender)
{
    document.InsertGlaze(insertAt, glaze);
    BroadcastUpdate(sender, &document, static_cast<int>(DbFileType::Glazes), HintGlazesInserted,
                                   insertAt, 0);
    return insertAt;
}

} // namespace

CMixGlazesRequest MakeMixGlazesRequest(const std::vector<int>& selectedRows)
{
    CMixGlazesRequest request;
    for (std::size_t i = 0; i < request.glazes.size() && i < selectedRows.size(); ++i) {
        request.glazes[i] = selectedRows[i];
        request.parts[i] = 1.0;
    }
    return request;
}

int BuildGlazeMixture(const CMixGlazesRequest& request, const CGlazeList& source, CGlaze& mixture, int& insertAt,
                      std::string& error)
{
    double total = 0.0;
    int lastRow = -1;
    for (std::size_t i = 0; i < request.glazes.size(); ++i) {
        if (!NamesGlaze(request.glazes[i], source))
            continue;
        lastRow = std::max(lastRow, request.glazes[i]);
        if (IsSharingPart(request.parts[i]))
            total += request.parts[i];
    }
    if (lastRow < 0 || !(total > 0.0) || !std::isfinite(total))
        return -1;

    // Every slot that names a glaze is converted, in slot order, whether or not it takes a
    // share; the first that cannot be converted stops the mixture.
    std::vector<CGlaze> copies;
    std::vector<double> shares;
    copies.reserve(request.glazes.size());
    for (std::size_t i = 0; i < request.glazes.size(); ++i) {
        if (!NamesGlaze(request.glazes[i], source))
            continue;
        CGlaze copy = source.GetAt(request.glazes[i]);
        if (copy.ConvertWeightVolume(0) != 0) {
            error = CannotConvertMessage(copy.m_name, i == 0);
            return 1;
        }
        if (!IsSharingPart(request.parts[i]))
            continue;
        shares.push_back(request.parts[i] / total);
        copy.ScaleRecipe(100.0 * shares.back(), true);
        copies.push_back(std::move(copy));
    }

    std::string name;
    for (std::size_t k = 0; k < copies.size(); ++k)
        name += (k > 0 ? "  " : "") + FormatBlendPercent(100.0 * shares[k]) + "% " + copies[k].m_name;
    mixture = CGlaze(name);
    mixture.m_notes.push_back("Mixture:");
    std::vector<const CGlaze*> sources;
    for (std::size_t k = 0; k < copies.size(); ++k) {
        mixture.m_notes.push_back(FormatBlendNote(100.0 * shares[k], copies[k].m_name));
        sources.push_back(&copies[k]);
    }
    CombineInto(mixture, sources);
    insertAt = lastRow + 1;
    return 0;
}

int BuildGlazeAverage(const std::vector<int>& rows, const CGlazeList& source, CGlaze& average, int& insertAt,
                      std::string& error)
{
    std::vector<int> used;
    for (int row : rows)
        if (NamesGlaze(row, source))
            used.push_back(row);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    if (used.empty())
        return -1;

    CGlazeList copies;
    for (int row : used) {
        copies.InsertCopyAt(copies.GetCount(), source.GetAt(row));
        CGlaze& copy = copies.GetAt(copies.GetCount() - 1);
        if (copy.ConvertWeightVolume(0) != 0) {
            error = CannotConvertMessage(copy.m_name, true);
            return 1;
        }
        // A glaze without ingredients adds nothing but still counts.
        copy.ScaleRecipe(100.0, true);
    }
    average = CGlaze("Average of " + std::to_string(used.size()) + " glazes");
    average.m_notes.push_back("Average of:");
    std::vector<const CGlaze*> sources;
    for (int i = 0; i < copies.GetCount(); ++i) {
        average.m_notes.push_back("  " + copies.GetAt(i).m_name);
        sources.push_back(&copies.GetAt(i));
    }
    CombineInto(average, sources);
    insertAt = used.back() + 1;
    return 0;
}

int RunMixGlazes(const CMixGlazesRequest& request, CGlazesDoc& document, CView* sender)
{
    CGlaze mixture;
    int insertAt = -1;
    std::string error;
    const int result = BuildGlazeMixture(request, document.Glazes(), mixture, insertAt, error);
    if (result > 0)
        AppMessageBox(error, MsgOk | MsgIconError, kMixGlazesHelpId);
    return result == 0 ? Insert(document, mixture, insertAt, sender) : -1;
}

int RunAverageGlazes(const std::vector<int>& selectedRows, CGlazesDoc& document, CView* sender)
{
    CGlaze average;
    int insertAt = -1;
    std::string error;
    const int result = BuildGlazeAverage(selectedRows, document.Glazes(), average, insertAt, error);
    if (result > 0)
        AppMessageBox(error, MsgOk | MsgIconError, kMixGlazesHelpId);
    return result == 0 ? Insert(document, average, insertAt, sender) : -1;
}
