#include "graphs/GraphVariables.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "graphs/GraphColorLists.h"
#include "graphs/GraphTemplate.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char* kPercentFormat = "##0\\%";
constexpr int kGroupCount = 5; // alkali, neutral, acid, unexpected, volatile

bool IsPercentUnit(const CGraphTemplate& t)
{
    return t.oxtype != kGraphUnitUnity;
}

// Codes 0..103 and 104..116 as step one fills them: the unit's values, LOI, the group totals and
// the remainders still equal to their totals.
void FillBaseValues(const CGraphTemplate& t, const CGlaze& glaze, const CGlazeAnalysis& a, CGraphValues& v)
{
    const bool unity = t.oxtype == kGraphUnitUnity;
    const bool weight = t.oxtype == kGraphUnitWeightPercent;
    const CGlazeAnalysis::SlotArray& slots = unity ? a.unity : weight ? a.weightFraction : a.moleFraction;
    const auto& groups = unity ? a.groupUnity : weight ? a.groupWeight : a.groupMole;
    const double scale = unity ? 1.0 : 100.0;
    for (int z = kGraphVarFirstOxide; z <= kGraphVarLastOxide; ++z)
        v[static_cast<std::size_t>(z)] = slots[static_cast<std::size_t>(z)] * scale;
    v[kGraphVarLoi] = a.loiFraction * 100.0;
    for (int g = 0; g < kGroupCount; ++g)
        v[static_cast<std::size_t>(kGraphVarAlkalis + g)] = groups[static_cast<std::size_t>(g)] * scale;
    // By weight the volatiles include the loss that no volatile oxide accounts for.
    if (weight)
        v[kGraphVarVolatiles] = (a.groupWeight[kOxideGroupVolatile] + a.otherVolatiles) * 100.0;
    for (int g = 0; g < kGroupCount; ++g)
        v[static_cast<std::size_t>(kGraphVarOtherAlkalis + g)] = v[static_cast<std::size_t>(kGraphVarAlkalis + g)];
    v[kGraphVarOtherNonvolatiles] = v[kGraphVarAlkalis] + v[kGraphVarNeutrals] + v[kGraphVarAcids] + v[kGraphVarUnexpected];
    v[kGraphVarOtherOxides] = v[kGraphVarOtherNonvolatiles] + v[kGraphVarVolatiles];
    v[kGraphVarSiAlRatio] = a.siAlRatio;
    v[kGraphVarExpansion] = a.expansion;
    v[kGraphVarViscosity] = a.viscosity[0];
    v[kGraphVarCost] = a.costPerKg;
    v[kGraphVarAverageTemp] = (glaze.m_lowTemp + glaze.m_highTemp) / 2.0;
    v[kGraphVarHighestTemp] = glaze.m_highTemp;
    v[kGraphVarLowestTemp] = glaze.m_lowTemp;
}

// Takes one listed code out of the remainders (step two of the values).
void SubtractListed(int code, CGraphValues& v)
{
    if (IsOxideVariable(code)) {
        const int g = GraphOxideGroup(code);
        if (g < 0)
            return;
        const double value = v[static_cast<std::size_t>(code)];
        v[static_cast<std::size_t>(kGraphVarOtherAlkalis + g)] -= value;
        if (g != 4)
            v[kGraphVarOtherNonvolatiles] -= value;
        v[kGraphVarOtherOxides] -= value;
    } else if (code >= kGraphVarAlkalis && code <= kGraphVarUnexpected) {
        v[kGraphVarOtherNonvolatiles] -= v[static_cast<std::size_t>(code)];
        v[kGraphVarOtherOxides] -= v[static_cast<std::size_t>(code)];
        v[static_cast<std::size_t>(code + 5)] = 0.0;
    } else if (code == kGraphVarVolatiles) {
        v[kGraphVarOtherOxides] -= v[kGraphVarVolatiles];
        v[kGraphVarOtherVolatiles] = 0.0;
    } else if (code >= kGraphVarOtherAlkalis && code <= kGraphVarOtherNonvolatiles) {
        v[kGraphVarOtherOxides] -= v[static_cast<std::size_t>(code)];
    }
}

std::vector<int> OxideList(const CGraphTemplate& t)
{
    std::array<int, CGraphTemplate::kMaxOxideListCodes> codes{};
    const int count = t.GetOxideList(codes, false);
    return std::vector<int>(codes.begin(), codes.begin() + count);
}

struct SGroupWalk {
    bool taken[kGroupCount] = {};
    bool sodiumOrPotassiumListed = false;
};

struct SEntryValue {
    double value;
    std::string label;
};

std::optional<SEntryValue> OxideEntry(int code, CGraphValues& v, SGroupWalk& walk)
{
    if (code == 11 || code == 19)
        walk.sodiumOrPotassiumListed = true;
    else if (code == 0 && walk.sodiumOrPotassiumListed)
        return std::nullopt;
    const int g = GraphOxideGroup(code);
    if (g < 0)
        return SEntryValue{0.0, std::string()};
    if (walk.taken[g])
        return std::nullopt;
    SubtractListed(code, v);
    return SEntryValue{v[static_cast<std::size_t>(code)], GetElementTable()[code].oxide};
}

// One entry of an oxide chart for a listed code, or none.
std::optional<SEntryValue> GroupEntry(int code, CGraphValues& v, SGroupWalk& walk, bool includeOther)
{
    static constexpr const char* kGroups[] = {"Alkalis", "Neutrals", "Acids", "Unexpected oxides", "Volatiles"};
    static constexpr const char* kOthers[] = {"Other alkalis", "Other neutrals", "Other acids",
                                              "Other unexpected oxides", "Other volatiles"};
    if (!IsGraphVariable(code))
        return std::nullopt;
    double& slot = v[static_cast<std::size_t>(code)];
    if (IsOxideVariable(code))
        return OxideEntry(code, v, walk);
    if (code >= kGraphVarAlkalis && code <= kGraphVarVolatiles) {
        const int g = code - kGraphVarAlkalis;
        walk.taken[g] = true;
        const double value = slot;
        SubtractListed(code, v);
        return SEntryValue{value, kGroups[g]};
    }
    if (code >= kGraphVarOtherAlkalis && code <= kGraphVarOtherVolatiles) {
        const int g = code - kGraphVarOtherAlkalis;
        if (walk.taken[g])
            return std::nullopt;
        const double value = slot;
        v[kGraphVarOtherOxides] -= value;
        slot = 0.0;
        return SEntryValue{value, kOthers[g]};
    }
    if (code == kGraphVarOtherNonvolatiles || code == kGraphVarOtherOxides) {
        const double value = slot;
        if (code == kGraphVarOtherNonvolatiles)
            v[kGraphVarOtherOxides] -= value;
        slot = 0.0;
        return SEntryValue{value, "Other oxides"};
    }
    if (!includeOther)
        return std::nullopt;
    switch (code) {
    case kGraphVarLoi: return SEntryValue{slot, "LOI"};
    case kGraphVarSiAlRatio: return SEntryValue{slot, "Si/Al ratio"};
    case kGraphVarExpansion: return SEntryValue{slot, "Coefficient of expansion"};
    case kGraphVarViscosity: return SEntryValue{slot, "Viscosity"};
    case kGraphVarCost: return SEntryValue{slot, "Cost per kg of glaze"};
    default: return std::nullopt;
    }
}

CChartColor EntryColor(const COxideColorList* colors, int code, bool mono)
{
    const COxideColor* entry = colors ? colors->GetAt(code) : nullptr;
    if (!entry)
        return {};
    return ApplyColorRule(entry->color, entry->pattern, entry->colorWithPattern, mono);
}

std::string CurrencySymbol()
{
    return g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_currencySymbol : std::string("$");
}

std::string ConeText(double temperature)
{
    const int cone = ConeFromTemperature(static_cast<int>(std::lround(temperature)));
    return cone >= 0 ? " (c/" + std::to_string(cone) + ")" : " (c/0" + std::to_string(-cone) + ")";
}

std::string PointName(int code)
{
    static constexpr const char* kNames[] = {
        "Alkalis",       "Neutrals",       "Acids",       "unexpected oxides",       "Volatiles",
        "other alkalis", "other neutrals", "other acids", "other unexpected oxides", "other volatiles",
        "other oxides",  "other oxides",
    };
    if (IsOxideVariable(code))
        return GetElementTable()[code].oxide;
    return kNames[code - kGraphVarAlkalis];
}

} // namespace

int GraphOxideGroup(int z)
{
    if (!IsOxideVariable(z))
        return -1;
    const std::int32_t role = GetElementTable()[z].role;
    if (role & kRoleAlkali) return 0;
    if (role & kRoleNeutral) return 1;
    if (role & kRoleAcid) return 2;
    if (role & kRoleNotExpected) return 3;
    if (role & kRoleVolatile) return 4;
    return -1;
}

std::string BuildChartCurrencyFormat(const std::string& symbol, int placesLeft, int placesRight)
{
    std::string format;
    for (char c : symbol) {
        format += '\\';
        format += c;
    }
    format.append(static_cast<std::size_t>(std::max(placesLeft, 0)), '#');
    format += "0.";
    format.append(static_cast<std::size_t>(std::max(placesRight, 0)), '0');
    return format;
}

void GetGraphVariableLabel(const CGraphTemplate& graphTemplate, int code, std::string& label, std::string& format)
{
    static constexpr const char* kLabels[] = {
        "LOI",           "Alkalis",        "Neutrals",    "Acids",
        "Unexpected oxides", "Volatiles",  "Other alkalis", "Other neutrals",
        "Other acids",   "Other unexpected oxides", "Other volatiles", "Other oxides",
        "Other oxides",  "???",            "Si/Al ratio", "Coefficient of expansion",
        "Viscosity factor", "Cost per kg of glaze", "???", "???",
        "???",           "Firing temp (C)", "Firing temp (C)", "Firing temp (C)",
    };
    const std::string unitFormat = IsPercentUnit(graphTemplate) ? kPercentFormat : "";
    format.clear();
    if (IsOxideVariable(code)) {
        label = GetElementTable()[code].oxide;
        format = unitFormat;
        return;
    }
    if (!IsGraphVariable(code)) {
        label = "???";
        return;
    }
    label = kLabels[code - kGraphVarLoi];
    if (code == kGraphVarLoi)
        format = kPercentFormat;
    else if (code >= kGraphVarAlkalis && code <= kGraphVarOtherOxides)
        format = unitFormat;
    else if (code == kGraphVarCost && g_pMaterialsDoc) {
        const CMaterialArray& materials = g_pMaterialsDoc->Materials();
        format = BuildChartCurrencyFormat(materials.m_currencySymbol, materials.m_costPlacesLeft,
                                          materials.m_costPlacesRight);
    } else if (code == kGraphVarCost) {
        format = BuildChartCurrencyFormat("$", 3, 2);
    }
}

int GetGraphVariableValues(const CGraphTemplate& graphTemplate, const CGlaze& glaze, CGraphValues& values)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (!analysis.IsValid())
        return 0;
    // Histograms and scatters may plot any code 0..127: the unused ones (117, 122..124) read 0,
    // never what the caller's array held before.
    values.fill(0.0);
    FillBaseValues(graphTemplate, glaze, analysis, values);
    const std::vector<int> list = OxideList(graphTemplate);
    for (int code : list)
        SubtractListed(code, values);
    return static_cast<int>(list.size());
}

int GetOxideGroupValues(const CGraphTemplate& graphTemplate, const COxideColorList* colors, const CGlaze& glaze,
                        std::vector<CGraphOxideEntry>& entries, bool keepSmall, bool reverse, int pareto,
                        bool addRemainder, bool includeOther)
{
    entries.clear();
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    if (!analysis.IsValid())
        return 0;
    CGraphValues values{};
    FillBaseValues(graphTemplate, glaze, analysis, values);
    std::vector<int> list = OxideList(graphTemplate);
    if (addRemainder)
        list.push_back(kGraphVarOtherOxides);
    const double smallest = IsPercentUnit(graphTemplate) ? 0.1 : 0.01;
    SGroupWalk walk;
    for (int code : list) {
        if (entries.size() >= static_cast<std::size_t>(kGraphVariableCount))
            break;
        const std::optional<SEntryValue> entry = GroupEntry(code, values, walk, includeOther);
        if (!entry || (entry->value < smallest && !keepSmall))
            continue;
        const CChartColor color = EntryColor(colors, code, graphTemplate.mono != 0);
        entries.push_back({std::max(entry->value, 0.0), entry->label, color.color, color.pattern, code});
    }
    if (pareto != 0) {
        std::stable_sort(entries.begin(), entries.end(), [pareto](const auto& a, const auto& b) {
            return pareto > 0 ? a.value < b.value : a.value > b.value;
        });
    }
    if (reverse)
        std::reverse(entries.begin(), entries.end());
    return static_cast<int>(entries.size());
}

std::string FormatGraphVariableList(int x, int y, int z)
{
    const auto inRange = [](int code, int low, int high) { return code >= low && code <= high; };
    const std::pair<int, int> bands[] = {
        {kGraphVarAlkalis, kGraphVarVolatiles}, {kGraphVarFirstOxide, kGraphVarLastOxide},
        {kGraphVarOtherAlkalis, kGraphVarOtherVolatiles}, {kGraphVarOtherNonvolatiles, kGraphVarOtherNonvolatiles},
        {kGraphVarOtherOxides, kGraphVarOtherOxides}, {kGraphVarLoi, kGraphVarLoi},
    };
    std::string text;
    for (const auto& [low, high] : bands) {
        for (int code : {x, y, z}) {
            // LOI and the properties make one band.
            const bool inBand = inRange(code, low, high) || (low == kGraphVarLoi && inRange(code, kGraphVarSiAlRatio, 127));
            if (inBand)
                text += std::to_string(code) + ",";
        }
    }
    return text;
}

std::string FormatGraphPointValue(const CGraphTemplate& graphTemplate, int code, double value)
{
    if (IsOxideVariable(code) || (code >= kGraphVarAlkalis && code <= kGraphVarOtherOxides)) {
        const bool percent = IsPercentUnit(graphTemplate);
        std::string text = FormatFixed(value, percent ? g_prefs.decanalysispct : g_prefs.decanalysis);
        if (percent)
            text += "%";
        if (graphTemplate.oxtype != kGraphUnitUnity && graphTemplate.oxtype != kGraphUnitWeightPercent)
            text += "m";
        return text + "  " + PointName(code);
    }
    switch (code) {
    case kGraphVarLoi: return FormatFixed(value, g_prefs.decanalysispct) + "%  LOI";
    case kGraphVarSiAlRatio: return "Si/Al: " + FormatDoubleFixed(value, 2);
    case kGraphVarExpansion: return "COE: " + FormatDoubleFixed(value, 1) + " x 10e-7 per degree C";
    case kGraphVarViscosity: return "Viscosity: " + FormatDoubleFixed(value, 1);
    case kGraphVarCost: {
        const int places = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_costPlacesRight : 2;
        return CurrencySymbol() + FormatDoubleFixed(value, places) + " per kg of glaze";
    }
    case kGraphVarAverageTemp:
    case kGraphVarHighestTemp:
    case kGraphVarLowestTemp:
        return "Firing temp: " + FormatDoubleFixed(value, 0) + " C" + ConeText(value);
    default: return std::string();
    }
}

std::string GetDataSetTitle(const CGraphTemplate& graphTemplate, int index, const std::string* databaseName,
                            const std::string* glazeName)
{
    if (!graphTemplate.m_dataSources.IsValidIndex(index))
        return std::string();
    std::string title = graphTemplate.m_dataSources.GetAt(index).m_name;
    const auto replaceFirst = [&title](std::string_view marker, const std::string* by) {
        const std::size_t at = by ? title.find(marker) : std::string::npos;
        if (at != std::string::npos)
            title.replace(at, marker.size(), *by);
    };
    replaceFirst("[current database]", databaseName);
    replaceFirst("[current glaze]", glazeName);
    return title;
}
