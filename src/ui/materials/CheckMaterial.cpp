#include "materials/CheckMaterial.h"

#include "elements/ElementTable.h"
#include "framework/MessageService.h"
#include "materials/MaterialArray.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/Services.h"

namespace {

// Outcome of one step: go on, or the user cancelled the whole check.
enum class Step { Next, Cancelled };

Step CheckNamesAndCodes(CMaterialArray& materials, int currentIndex, const CMaterialCheckFields& fields,
                        int& problems)
{
    if (fields.keys.empty())
        return Step::Next;
    CBusyScope busy;
    for (int i = 0; i < materials.GetCount(); ++i) {
        if (i == currentIndex)
            continue;
        const CMaterial& record = *materials.GetAt(i);
        for (const std::string& key : fields.keys) {
            if (key.empty() || !record.MatchesNameOrCode(key))
                continue;
            ++problems;
            const int answer = AppMessageBox("\"" + key + "\" matches name or code in material \"" + record.m_name + "\"",
                                             MsgOkCancel | MsgIconExclamation, kCheckDuplicateHelpId);
            if (answer == MsgResultCancel)
                return Step::Cancelled;
        }
    }
    return Step::Next;
}

void CheckMapping(CMaterialArray& materials, const CMaterial* ownRecord, const CMaterialCheckFields& fields,
                  int& problems)
{
    if (fields.mapping.empty())
        return;
    int status = MappingOk;
    const CMaterial* target = materials.FindMaterial(std::string_view(fields.mapping));
    const CMaterial* end = materials.ResolveMapping(target, &status);
    const char* message = nullptr;
    if (end && end == ownRecord)
        message = "Mapping leads back to this material";
    else if (status == MappingMissing)
        message = "Mapping does not lead to a material in the database";
    else if (status == MappingLoop)
        message = "Mapping leads to a loop";
    if (!message)
        return;
    ++problems;
    AppMessageBox(message, MsgOk | MsgIconExclamation, kCheckMappingHelpId);
}

std::string FormulaNumber(double value)
{
    std::string text = FormatFixed(value, g_prefs.decformulas);
    return StripTrailingZeros(text, g_prefs.tzsformulas);
}

// The percentage-sum questions: Yes repairs the formula text (mode 1 adds the remainder as LOI,
// mode 0 normalises); they count as no problem.
Step CheckPercentSum(const CMaterial& parsed, CMaterialCheckFields& fields, bool& repaired)
{
    if (!parsed.m_isWeightPercent && !parsed.m_isMolePercent)
        return Step::Next;
    const double sum = RoundToPowerOfTen(parsed.m_percentSum, -g_prefs.decformulas);
    const std::string sumText = FormulaNumber(sum);
    int mode = -1;
    if (sum > 0.0 && sum < 100.0 && parsed.m_isWeightPercent) {
        const std::string loi = FormulaNumber(100.0 - sum) + "% LOI";
        int answer = AppMessageBox("Component percentages add up to " + sumText + "%. Do you want to add " + loi + "?",
                                   MsgYesNoCancel | MsgIconExclamation, kCheckAddLoiHelpId);
        if (answer == MsgResultYes) {
            mode = 1;
        } else if (answer == MsgResultNo) {
            answer = AppMessageBox("Do you want to normalize to 100%?", MsgYesNoCancel | MsgIconExclamation,
                                   kCheckNormalizeAfterNoHelpId);
            if (answer == MsgResultYes)
                mode = 0;
        }
        if (answer == MsgResultCancel)
            return Step::Cancelled;
    } else if (sum > 100.0 || (sum > 0.0 && sum < 100.0)) {
        const unsigned helpId = sum > 100.0 ? kCheckOver100HelpId : kCheckMolePercentHelpId;
        const int answer = AppMessageBox("Component percentages add up to " + sumText +
                                             "%. Do you want to normalize to 100%?",
                                         MsgYesNoCancel | MsgIconExclamation, helpId);
        if (answer == MsgResultCancel)
            return Step::Cancelled;
        if (answer == MsgResultYes)
            mode = 0;
    }
    if (mode >= 0 && CMaterial::CheckFormula(&fields.formula, mode) == 0)
        repaired = true;
    return Step::Next;
}

Step CheckFormula(CMaterialCheckFields& fields, int& problems, bool& repaired)
{
    if (fields.formula.empty())
        return Step::Next;
    CMaterial parsed("new material");
    if (parsed.SetFormula(fields.formula) != 0) {
        ++problems;
        const int answer = AppMessageBox("Invalid formula", MsgOkCancel | MsgIconExclamation, kCheckInvalidFormulaHelpId);
        return answer == MsgResultCancel ? Step::Cancelled : Step::Next;
    }
    const CElementRecord* table = GetElementTable();
    std::string symbols;
    int unexpected = 0;
    for (int z = 1; z < kElementCount; ++z) {
        if (parsed.m_atoms[z] > 0.0 && (table[z].role & kRoleNotExpected) != 0) {
            symbols += (unexpected++ ? " " : "") + std::string(table[z].symbol);
        }
    }
    if (unexpected > 0) {
        ++problems;
        const int answer = AppMessageBox(std::string("Unexpected element") + (unexpected >= 2 ? "s" : "") +
                                             " found in formula:  " + symbols,
                                         MsgOkCancel | MsgIconExclamation, kCheckUnexpectedHelpId);
        if (answer == MsgResultCancel)
            return Step::Cancelled;
    }
    return CheckPercentSum(parsed, fields, repaired);
}

} // namespace

CMaterialCheckResult CheckMaterialFields(CMaterialArray& materials, int currentIndex, const CMaterial* ownRecord,
                                         CMaterialCheckFields& fields)
{
    CMaterialCheckResult result;
    if (CheckNamesAndCodes(materials, currentIndex, fields, result.problems) == Step::Cancelled) {
        result.cancelled = true;
        return result;
    }
    CheckMapping(materials, ownRecord, fields, result.problems);
    if (CheckFormula(fields, result.problems, result.formulaRepaired) == Step::Cancelled) {
        result.cancelled = true;
        return result;
    }
    if (result.problems == 0)
        AppMessageBox("Current names, codes, mapping, and formula check out okay", MsgOk, kCheckOkayHelpId);
    else
        AppMessageBox("Total number of problems with this material: " + std::to_string(result.problems),
                      MsgOk | MsgIconExclamation, kCheckTotalHelpId);
    return result;
}
