#include "tools/BlendSupport.h"

#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

std::string FormatBlendPercent(double percent)
{
    // A share of exactly nothing must not read "-0".
    std::string text = FormatDoubleFixed(percent == 0.0 ? 0.0 : percent, 1);
    return StripTrailingZerosAll(text);
}

std::string FormatBlendNote(double percent, const std::string& name)
{
    return "  " + FormatDoubleFixedWidth(percent == 0.0 ? 0.0 : percent, 5, 1) + "% " + name;
}

std::string CannotConvertMessage(const std::string& name, bool first)
{
    return "Cannot convert \"" + name + "\" to recipe by weight" + (first ? "!" : "");
}

void AppendWeightedLines(CIngredientList& to, const CIngredientList& from, double weight)
{
    for (const auto& line : from)
        if (line)
            to.InsertAt(to.GetCount(), CIngredient(line->m_name, line->m_amount * weight));
}

int PrepareBlendSource(const CGlaze& source, CGlaze& copy)
{
    copy = source;
    if (copy.ConvertWeightVolume(0) != 0)
        return 1;
    return copy.ScaleRecipe(100.0, true) != 0 ? 2 : 0;
}

CGlazesDoc* PublishGlazeDatabase(const CGlazeList& built)
{
    if (!g_pApp)
        return nullptr;
    CDocument* document = g_pApp->NewGlazeDatabase();
    auto* target = dynamic_cast<CGlazesDoc*>(document);
    if (!target)
        return nullptr;
    for (int i = 0; i < built.GetCount(); ++i)
        target->InsertGlaze(target->GetGlazeCount(), built.GetAt(i));
    target->SetDbName(built.m_name);
    CStringArrayEx& info = target->Glazes().m_infoLines;
    info.insert(info.end(), built.m_infoLines.begin(), built.m_infoLines.end());
    target->SetModifiedFlag(true);
    BroadcastUpdate(nullptr, target, static_cast<int>(DbFileType::Glazes), HintGlazesReplaced, 0,
                                   0);
    return target;
}
