#include "elements/ElementRecord.h"

#include <cstring>
#include <tuple>
#include <utility>

namespace {

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// Every field but the two texts, in declaration order.
auto ValueFields(const CElementRecord& r)
{
    return std::tie(r.z, r.weight, r.expansion, r.unusual, r.viscosity, r.stension, r.ncat, r.nan, r.oxide,
                    r.oxideMW, r.priority, r.role, r.hazards, r.difoxinred, r.ncatred, r.nanred, r.oxideRed,
                    r.oxideRedMW, r.rolered, r.notes, r.annotations);
}

} // namespace

bool CElementRecord::operator==(const CElementRecord& other) const
{
    return SameText(symbol, other.symbol) && SameText(name, other.name) && ValueFields(*this) == ValueFields(other);
}

std::string FormatRoleLetters(std::int32_t role)
{
    std::string letters;
    if (role & kRoleNotExpected)
        letters = "x";
    else if (role & kRoleVolatile)
        letters = "v";
    else if (role & kRoleAlkali)
        letters = "1";
    else if (role & kRoleNeutral)
        letters = "2";
    else if (role & kRoleAcid)
        letters = "3";
    if (role & kRoleAmphoteric)
        letters += 'p';
    return letters;
}

const char* RoleColourKey(std::int32_t role)
{
    const bool amphoteric = (role & kRoleAmphoteric) != 0;
    if (role & kRoleAcid)
        return amphoteric ? "el_acidamph" : "el_acid";
    if (role & kRoleNeutral)
        return "el_neut";
    if (role & kRoleAlkali)
        return amphoteric ? "el_alkamph" : "el_alk";
    if (role & kRoleVolatile)
        return "el_volatile";
    return "el_notexp";
}

std::int32_t NextRoleInCycle(std::int32_t role)
{
    if ((role & 0x90) == 0x10)
        return kRoleAlkali | kRoleAmphoteric;
    if ((role & 0x90) == 0x90)
        return kRoleNeutral;
    if (role & kRoleNeutral)
        return kRoleAcid | kRoleAmphoteric;
    if ((role & 0x88) == 0x88)
        return kRoleAcid;
    if ((role & 0x88) == 0x08)
        return kRoleVolatile;
    if (role & kRoleVolatile)
        return kRoleNotExpected;
    if (role & kRoleNotExpected)
        return kRoleAlkali;
    return 0;
}

std::string BuildOxideText(std::string_view symbol, int ncat, int nan, std::string_view oxygenSymbol)
{
    std::string text;
    if (ncat >= 1) {
        text += symbol;
        if (ncat > 1)
            text += std::to_string(ncat);
    }
    if (nan >= 1) {
        text += oxygenSymbol;
        if (nan > 1)
            text += std::to_string(nan);
    }
    return text;
}

double OxideMolecularWeight(double atomicWeight, int ncat, int nan, double oxygenWeight)
{
    double mw = 0.0;
    if (ncat > 0)
        mw += ncat * atomicWeight;
    if (nan > 0)
        mw += nan * oxygenWeight;
    return mw;
}

void CElementRecord::SetOxide(int newNcat, int newNan, const CElementRecord& oxygen)
{
    // Read what is needed from the oxygen record first: it may be this record.
    const double oxygenWeight = oxygen.weight;
    const std::string oxygenSymbol = oxygen.symbol ? oxygen.symbol : "";
    if (newNcat >= 0)
        ncat = newNcat;
    if (newNan >= 0)
        nan = newNan;
    oxideMW = OxideMolecularWeight(weight, ncat, nan, oxygenWeight);
    oxide = BuildOxideText(symbol ? symbol : "", ncat, nan, oxygenSymbol);
}

void CElementRecord::SetReductionOxide(int newNcatred, int newNanred, const CElementRecord& oxygen)
{
    const double oxygenWeight = oxygen.weight;
    const std::string oxygenSymbol = oxygen.symbol ? oxygen.symbol : "";
    if (newNcatred >= 0)
        ncatred = newNcatred;
    if (newNanred >= 0)
        nanred = newNanred;
    oxideRedMW = OxideMolecularWeight(weight, ncatred, nanred, oxygenWeight);
    oxideRed = BuildOxideText(symbol ? symbol : "", ncatred, nanred, oxygenSymbol);
}

void CElementRecord::SetNotes(const CStringArrayEx* lines)
{
    if (lines == &notes)
        return;
    notes.clear();
    if (lines)
        notes.assign(lines->begin(), lines->end());
}

void CElementRecord::SetAnnotations(const CStringArrayEx* lines)
{
    if (lines == &annotations)
        return;
    annotations.clear();
    if (lines)
        annotations.assign(lines->begin(), lines->end());
}

void CElementRecord::RevertTo(const CElementRecord& defaults, ENotesRevert mode)
{
    if (&defaults == this)
        return;
    if (mode == ENotesRevert::Keep) {
        CStringArrayEx keptNotes = std::move(notes);
        CStringArrayEx keptAnnotations = std::move(annotations);
        *this = defaults;
        notes = std::move(keptNotes);
        annotations = std::move(keptAnnotations);
    } else {
        *this = defaults;
    }
}
