// Reading a glaze database file: one handler per key of g_glzKeyTable.
//
// A handler of a glaze key returns -1 when no glaze has been started yet; the reader then reports
// "Error: parameter '<key>', line <n>".

#include "glazes/GlazeList.h"

#include "support/CompareNoCase.h"
#include "support/DbFileInfo.h"
#include "glazes/OptimizationParams.h"

#include <cstring>
#include <istream>
#include <memory>

namespace {

constexpr int kNoRecord = -1;

CGlazeList& List(CParamFileContext* context)
{
    return *static_cast<CGlazeList*>(context);
}

// The glaze being read, or null before the first "name".
CGlaze* Current(CParamFileContext* context)
{
    CGlazeList& list = List(context);
    return list.NoCurrentRecord() ? nullptr : &list.CurrentRecord();
}

// The text after the writer's leading character (the '|' that protects leading blanks); an empty
// value stays empty.
std::string AfterFirstChar(const char* text)
{
    return *text ? std::string(text + 1) : std::string();
}

// Called before a new glaze starts and at the end of the file: every glaze is acceptable as it
// stands.
int CheckLastRecord(CParamFileContext*, const char*, const void*)
{
    return 0;
}

int OnName(CParamFileContext* context, const char* key, const void* value)
{
    if (const int result = CheckLastRecord(context, key, value); result != 0)
        return result;
    List(context).m_glazes.push_back(std::make_unique<CGlaze>(ParamText(value)));
    return 0;
}

template <std::string CGlaze::*Member>
int OnText(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    glaze->*Member = ParamText(value);
    return 0;
}

int OnDate(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    glaze->m_date = ParamText(value);
    glaze->UpdateDateValue();
    return 0;
}

int OnRange(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    glaze->m_range = ParamText(value);
    glaze->ParseRange();
    glaze->InvalidateAnalysis();
    return 0;
}

int OnByVolume(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    const char c = ParamChar(value);
    glaze->m_byVol = (c == 'y' || c == 'Y') ? 1 : 0;
    glaze->InvalidateAnalysis();
    return 0;
}

int OnBatchSize(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    glaze->m_batchSize = ParamDouble(value);
    glaze->InvalidateAnalysis();
    return 0;
}

// "component" and "addition": a new line with amount 0.
template <CIngredientList CGlaze::*Member>
int OnIngredient(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    (glaze->*Member).Add(ParamText(value), 0.0);
    glaze->InvalidateAnalysis();
    return 0;
}

// "amount" and "addamount": the amount of the last line; an error when there is none.
template <CIngredientList CGlaze::*Member>
int OnAmount(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze || (glaze->*Member).empty())
        return kNoRecord;
    (glaze->*Member).back()->m_amount = ParamDouble(value);
    glaze->InvalidateAnalysis();
    return 0;
}

// "var" and "note": a line without the writer's leading '|'.
template <CStringArrayEx CGlaze::*Member>
int OnLine(CParamFileContext* context, const char*, const void* value)
{
    CGlaze* glaze = Current(context);
    if (!glaze)
        return kNoRecord;
    (glaze->*Member).push_back(AfterFirstChar(ParamText(value)));
    return 0;
}

// The glaze's optimization parameters, created with their defaults by the first opt* key.
COptimizationParams* CurrentParams(CParamFileContext* context)
{
    CGlaze* glaze = Current(context);
    return glaze ? &glaze->GetOptimizationParams() : nullptr;
}

int OnOxideConstraint(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    // Kept even when invalid: the optimizer judges the constraints when it uses them.
    COxideConstraint constraint;
    constraint.Parse(ParamText(value));
    params->m_oxideConstraints.push_back(std::move(constraint));
    return 0;
}

int OnMaterialConstraint(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    CMaterialConstraint constraint;
    constraint.Parse(ParamText(value));
    params->m_materialConstraints.push_back(std::move(constraint));
    return 0;
}

int OnExcludedMaterial(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    params->m_excludedMaterials.push_back(ParamText(value));
    return 0;
}

int OnExpansionConstraint(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    params->m_expansionConstraint.Parse(ParamText(value));
    return 0;
}

template <int COptimizationParams::*Member>
int OnParamsInt(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    params->*Member = ParamInt(value);
    return 0;
}

template <std::string COptimizationParams::*Member>
int OnParamsText(CParamFileContext* context, const char*, const void* value)
{
    COptimizationParams* params = CurrentParams(context);
    if (!params)
        return kNoRecord;
    params->*Member = ParamText(value);
    return 0;
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    List(context).m_infoLines.push_back(InfoLineFromValue(ParamText(value)));
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    List(context).m_name = ParamText(value);
    return 0;
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kGlazeFileType))
        return 0;
    List(context).m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return 1;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    List(context).m_version = ParamInt(value);
    return 0;
}

using P = COptimizationParams;

} // namespace

ParamDesc g_glzKeyTable[kGlazeKeyCount + 1] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"index", 's', OnText<&CGlaze::m_index>, 0, 0, 0, 0},
    {"source", 's', OnText<&CGlaze::m_source>, 0, 0, 0, 0},
    {"date", 's', OnDate, 0, 0, 0, 0},
    {"type", 's', OnText<&CGlaze::m_type>, 0, 0, 0, 0},
    {"range", 's', OnRange, 0, 0, 0, 0},
    {"firetype", 's', OnText<&CGlaze::m_firetype>, 0, 0, 0, 0},
    {"color", 's', OnText<&CGlaze::m_color>, 0, 0, 0, 0},
    {"vistexture", 's', OnText<&CGlaze::m_vistexture>, 0, 0, 0, 0},
    {"quality", 's', OnText<&CGlaze::m_quality>, 0, 0, 0, 0},
    {"transparency", 's', OnText<&CGlaze::m_transparency>, 0, 0, 0, 0},
    {"xtals", 's', OnText<&CGlaze::m_xtals>, 0, 0, 0, 0},
    {"bubbles", 's', OnText<&CGlaze::m_bubbles>, 0, 0, 0, 0},
    {"flow", 's', OnText<&CGlaze::m_flow>, 0, 0, 0, 0},
    {"durability", 's', OnText<&CGlaze::m_durability>, 0, 0, 0, 0},
    {"flaws", 's', OnText<&CGlaze::m_flaws>, 0, 0, 0, 0},
    {"tested", 's', OnText<&CGlaze::m_tested>, 0, 0, 0, 0},
    {"imagefile", 's', OnText<&CGlaze::m_imagefile>, 0, 0, 0, 0},
    {"notefile", 's', OnText<&CGlaze::m_notefile>, 0, 0, 0, 0},
    {"limform", 's', OnText<&CGlaze::m_limform>, 0, 0, 0, 0},
    {"by_vol", 'c', OnByVolume, 0, 0, 0, 0},
    {"batchsize", 'd', OnBatchSize, PF_MIN_INCL, 0.0, 0, 0},
    {"component", 's', OnIngredient<&CGlaze::m_components>, 0, 0, 0, 0},
    {"amount", 'd', OnAmount<&CGlaze::m_components>, PF_MIN_INCL, 0.0, 0, 0},
    {"addition", 's', OnIngredient<&CGlaze::m_additions>, 0, 0, 0, 0},
    {"addamount", 'd', OnAmount<&CGlaze::m_additions>, PF_MIN_INCL, 0.0, 0, 0},
    {"var", 's', OnLine<&CGlaze::m_variations>, 0, 0, 0, 0},
    {"note", 's', OnLine<&CGlaze::m_notes>, 0, 0, 0, 0},
    {"optox", 's', OnOxideConstraint, 0, 0, 0, 0},
    {"optmat", 's', OnMaterialConstraint, 0, 0, 0, 0},
    {"optmex", 's', OnExcludedMaterial, 0, 0, 0, 0},
    {"optoct", 'i', OnParamsInt<&P::m_oxideUnit>, PF_MIN_INCL | PF_MAX_INCL, 0, 2, 0},
    {"optmct", 'i', OnParamsInt<&P::m_materialUnit>, PF_MIN_INCL | PF_MAX_INCL, 0, 1, 0},
    {"optodt", 's', OnParamsText<&P::m_oxideTolerance>, 0, 0, 0, 0},
    {"optmdt", 's', OnParamsText<&P::m_materialTolerance>, 0, 0, 0, 0},
    {"optaaa", 'i', OnParamsInt<&P::m_allMaterials>, PF_MIN_INCL | PF_MAX_INCL, 0, 1, 0},
    {"optgmm", 'i', OnParamsInt<&P::m_maximize>, PF_MIN_INCL | PF_MAX_INCL, 0, 1, 0},
    {"optgt", 'i', OnParamsInt<&P::m_goal>, PF_MIN_INCL | PF_MAX_INCL, 0, 9, 0},
    {"optrfr", 'i', OnParamsInt<&P::m_firedWeight>, PF_MIN_INCL | PF_MAX_INCL, 0, 1, 0},
    {"optsiz", 's', OnParamsText<&P::m_recipeSize>, 0, 0, 0, 0},
    {"optexp", 's', OnExpansionConstraint, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {nullptr, 0, CheckLastRecord, 0, 0, 0, 0},
};

bool IsGlazeListHeaderKey(const char* key)
{
    for (const char* header : {"I", "dbname", "filetype", "version"}) {
        if (std::strcmp(key, header) == 0)
            return true;
    }
    return false;
}

void CGlazeList::Reset()
{
    m_glazes.clear();
    m_name = kDefaultGlazeDbName;
    m_infoLines.clear();
}

int CGlazeList::Read(std::istream& in)
{
    Reset();
    m_version = 0;
    const int result = ParseParameterFile(m_errorText, in, g_glzKeyTable, this, 0);
    if (result != 0)
        Reset();
    return result;
}
