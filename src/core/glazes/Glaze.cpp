#include "glazes/Glaze.h"

#include "glazes/GlazeAnalysis.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "glazes/OptimizationParams.h"

#include <utility>

CGlaze::CGlaze(std::string name)
    : m_name(std::move(name))
{
    GetTodayString(m_date, g_prefs.datefmt);
    UpdateDateValue();
}

CGlaze::CGlaze(const CGlaze& other)
    : m_components(other.m_components),
      m_additions(other.m_additions),
      m_variations(other.m_variations),
      m_notes(other.m_notes)
{
    CopyFieldsFrom(other);
    ParseRange();
    UpdateDateValue();
    if (other.m_optParams)
        m_optParams = std::make_unique<COptimizationParams>(*other.m_optParams);
}

CGlaze& CGlaze::operator=(const CGlaze& other)
{
    if (this == &other)
        return *this;
    CopyFieldsFrom(other);
    m_components = other.m_components;
    m_additions = other.m_additions;
    m_variations = other.m_variations;
    m_notes = other.m_notes;
    InvalidateAnalysis();
    ParseRange();
    UpdateDateValue();
    m_optParams.reset();
    if (other.m_optParams)
        m_optParams = std::make_unique<COptimizationParams>(*other.m_optParams);
    return *this;
}

// Out of line: the analysis and the parameters are complete types only here.
CGlaze::~CGlaze() = default;

void CGlaze::CopyFieldsFrom(const CGlaze& other)
{
    m_name = other.m_name;
    m_index = other.m_index;
    m_source = other.m_source;
    m_date = other.m_date;
    m_type = other.m_type;
    m_range = other.m_range;
    m_firetype = other.m_firetype;
    m_color = other.m_color;
    m_vistexture = other.m_vistexture;
    m_quality = other.m_quality;
    m_transparency = other.m_transparency;
    m_xtals = other.m_xtals;
    m_bubbles = other.m_bubbles;
    m_flow = other.m_flow;
    m_durability = other.m_durability;
    m_flaws = other.m_flaws;
    m_tested = other.m_tested;
    m_imagefile = other.m_imagefile;
    m_notefile = other.m_notefile;
    m_limform = other.m_limform;
    m_byVol = other.m_byVol;
    m_batchSize = other.m_batchSize;
}

namespace {

// The text member that a plain text field number sets, or null.
std::string CGlaze::* TextFieldMember(int field)
{
    switch (field) {
    case kGlazeFieldName: return &CGlaze::m_name;
    case kGlazeFieldIndex: return &CGlaze::m_index;
    case kGlazeFieldSource: return &CGlaze::m_source;
    case kGlazeFieldType: return &CGlaze::m_type;
    case kGlazeFieldFiretype: return &CGlaze::m_firetype;
    case kGlazeFieldColor: return &CGlaze::m_color;
    case kGlazeFieldVisTexture: return &CGlaze::m_vistexture;
    case kGlazeFieldQuality: return &CGlaze::m_quality;
    case kGlazeFieldTransparency: return &CGlaze::m_transparency;
    case kGlazeFieldCrystals: return &CGlaze::m_xtals;
    case kGlazeFieldBubbles: return &CGlaze::m_bubbles;
    case kGlazeFieldFlow: return &CGlaze::m_flow;
    case kGlazeFieldDurability: return &CGlaze::m_durability;
    case kGlazeFieldFlaws: return &CGlaze::m_flaws;
    case kGlazeFieldTested: return &CGlaze::m_tested;
    case kGlazeFieldImageFile: return &CGlaze::m_imagefile;
    case kGlazeFieldNoteFile: return &CGlaze::m_notefile;
    case kGlazeFieldLimitFormula: return &CGlaze::m_limform;
    default: return nullptr;
    }
}

bool IsYesText(const std::string& text)
{
    const char c = text.empty() ? '\0' : text.front();
    return c == 't' || c == 'T' || c == 'y' || c == 'Y';
}

} // namespace

void CGlaze::SetField(int field, const std::string& text)
{
    if (std::string CGlaze::*member = TextFieldMember(field)) {
        this->*member = text;
        return;
    }
    switch (field) {
    case kGlazeFieldDate:
        m_date = text;
        UpdateDateValue();
        break;
    case kGlazeFieldRange:
        m_range = text;
        ParseRange();
        InvalidateAnalysis();
        break;
    case kGlazeFieldAddVariation:
        m_variations.push_back(text);
        break;
    case kGlazeFieldAddNote:
        m_notes.push_back(text);
        break;
    case kGlazeFieldByVolume:
        m_byVol = IsYesText(text) ? 1 : 0;
        InvalidateAnalysis();
        break;
    case kGlazeFieldBatchSize: {
        // A negative batch size would be stored and written; it means nothing, so it is 0.
        const double size = ParseDouble(text);
        m_batchSize = size > 0.0 ? size : 0.0;
        InvalidateAnalysis();
        break;
    }
    default:
        break;
    }
}

const CGlazeAnalysis& CGlaze::GetAnalysis() const
{
    if (!m_analysis) {
        auto analysis = std::make_unique<CGlazeAnalysis>();
        ComputeAnalysis(*analysis);
        m_analysis = std::move(analysis);
    }
    return *m_analysis;
}

void CGlaze::InvalidateAnalysis()
{
    m_analysis.reset();
}

COptimizationParams& CGlaze::GetOptimizationParams()
{
    if (!m_optParams)
        m_optParams = std::make_unique<COptimizationParams>();
    return *m_optParams;
}

void CGlaze::UpdateDateValue()
{
    m_dateValue = DateSortKey(m_date);
}
