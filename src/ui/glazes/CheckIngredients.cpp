#include "glazes/CheckIngredients.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/DbFileType.h"
#include "textfile/Information.h"

#include <algorithm>

namespace {

constexpr int kIdOk = 1;

// The names of the glaze's recipe lines whose analysis item carries flag; true when any.
bool CollectNames(const CGlaze& glaze, int flag, CStringArrayEx& names)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    bool found = false;
    const std::pair<const CIngredientList*, const CRecipeItemList*> lists[] = {
        {&glaze.m_components, &analysis.componentItems},
        {&glaze.m_additions, &analysis.additionItems},
    };
    for (const auto& [lines, items] : lists) {
        for (std::size_t i = 0; i < lines->size() && i < items->size(); ++i) {
            if (((*items)[i].flags & flag) == 0 || !(*lines)[i])
                continue;
            names.push_back((*lines)[i]->m_name);
            found = true;
        }
    }
    return found;
}

// Ascending ignoring case, each name once. The sort is stable, so the spelling met first in list
// order is the one kept.
void SortUnique(CStringArrayEx& names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    names.RemoveDuplicates(false);
}

std::string Count(int count, const char* what, const char* plural)
{
    return "  " + std::to_string(count) + " " + what + (count == 1 ? "" : plural);
}

void ListNames(const CStringArrayEx& names, const char* heading, const char* none)
{
    if (names.empty()) {
        ShowInformation(std::string(none));
        return;
    }
    ShowInformation(std::string(heading));
    for (const std::string& name : names)
        ShowInformation("  " + name);
    ShowInformation(std::string());
}

// Whether the recipe holds a line of the material name (ignoring case).
bool HoldsIngredient(const CGlaze& glaze, const std::string& name)
{
    return glaze.m_components.FindByName(name) || glaze.m_additions.FindByName(name);
}

} // namespace

CCheckIngredientsOptions CCheckIngredientsOptions::Remembered()
{
    CCheckIngredientsOptions options;
    options.allGlazes = g_prefs.m_nCheckIngrScope;
    options.unknown = g_prefs.m_nCheckIngrUnknown;
    options.unavailable = g_prefs.m_nCheckIngrUnavailable;
    options.selectGlazes = g_prefs.m_nCheckIngrSelect;
    options.listInformation = g_prefs.m_nCheckIngrListInfo;
    options.prompt = g_prefs.m_nCheckIngrPrompt;
    return options;
}

void CCheckIngredientsOptions::Remember() const
{
    g_prefs.m_nCheckIngrScope = allGlazes;
    g_prefs.m_nCheckIngrUnknown = unknown;
    g_prefs.m_nCheckIngrUnavailable = unavailable;
    g_prefs.m_nCheckIngrSelect = selectGlazes;
    g_prefs.m_nCheckIngrListInfo = listInformation;
    g_prefs.m_nCheckIngrPrompt = prompt;
}

CCheckIngredients::CCheckIngredients(CGlazesDoc& document, CView* sender)
    : m_document(document), m_sender(sender)
{
}

void CCheckIngredients::Run(const CCheckIngredientsOptions& options, CCheckIngredientsPrompter& prompter,
                            const std::function<void()>& fillList)
{
    if (options.allGlazes) {
        for (int n = 0; n < m_document.GetGlazeCount(); ++n)
            checked.push_back(n);
    } else {
        checked = GetSelectedGlazeRows(m_document);
    }
    if (checked.empty()) {
        AppMessageBox("No glazes to check!", MsgOk | MsgIconInformation, kNoGlazesToCheckHelpId);
        return;
    }
    Gather(options);
    if (options.listInformation)
        ListInInformation(options);
    if (options.prompt && AskDispositions(prompter) && AskTheirForms()) {
        const int materialCount = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().GetCount() : 0;
        MarkAvailable();
        for (int n = 0; n < static_cast<int>(unknownNames.size()); ++n)
            ApplyUnknown(n);
        const std::string summary = SummaryText();
        if (!summary.empty())
            AppMessageBox(summary, MsgOk, kCheckSummaryHelpId);
        Refresh(materialCount, fillList);
    }
    if (options.selectGlazes)
        SelectFlagged();
}

void CCheckIngredients::Gather(const CCheckIngredientsOptions& options)
{
    unknownNames.clear();
    unavailableNames.clear();
    flagged.assign(checked.size(), 0);
    rewritten.assign(checked.size(), 0);
    for (std::size_t k = 0; k < checked.size(); ++k) {
        const CGlaze& glaze = *m_document.GetGlaze(checked[k]);
        bool problem = false;
        if (options.unknown)
            problem = CollectNames(glaze, kItemNotInDatabase, unknownNames) || problem;
        if (options.unavailable)
            problem = CollectNames(glaze, kItemNotAvailable, unavailableNames) || problem;
        flagged[k] = problem ? 1 : 0;
    }
    SortUnique(unknownNames);
    SortUnique(unavailableNames);
    actions.assign(unknownNames.size(), kCheckNoAction);
    targets.assign(unknownNames.size(), std::string());
    markAvailable.assign(unavailableNames.size(), 0);
}

void CCheckIngredients::ListInInformation(const CCheckIngredientsOptions& options) const
{
    ClearInformation();
    if (options.unknown)
        ListNames(unknownNames, "Unknown materials:", "No unknown materials");
    if (options.unavailable)
        ListNames(unavailableNames, "Unavailable materials:", "No unavailable materials");
}

// False when the user abandoned the disposition.
bool CCheckIngredients::AskDispositions(CCheckIngredientsPrompter& prompter)
{
    abandoned = !AskUnknownNames(prompter) || !AskUnavailableNames(prompter);
    return !abandoned;
}

bool CCheckIngredients::AskUnknownNames(CCheckIngredientsPrompter& prompter)
{
    int preselect = kCheckNoAction;
    for (std::size_t n = 0; n < unknownNames.size(); ++n) {
        int action = preselect;
        std::string target;
        const int result = prompter.AskUnknown(unknownNames[n], action, target);
        // Whoever creates one material probably wants to create the next one too.
        preselect = action == kCheckCreate || action == kCheckCreateAndMap ? kCheckCreate : kCheckNoAction;
        switch (result) {
        case kIdOk:
            actions[n] = action;
            targets[n] = target;
            break;
        case kCheckSkipAllId:
            return true;
        case kCheckCreateAllId:
            for (std::size_t rest = n; rest < unknownNames.size(); ++rest) {
                actions[rest] = kCheckCreate;
                targets[rest].clear();
            }
            return true;
        case kCheckSkipId:
            break;
        default:
            actions.assign(actions.size(), kCheckNoAction);
            return false;
        }
    }
    return true;
}

bool CCheckIngredients::AskUnavailableNames(CCheckIngredientsPrompter& prompter)
{
    for (std::size_t n = 0; n < unavailableNames.size(); ++n) {
        const int result = prompter.AskUnavailable(unavailableNames[n]);
        if (result == kIdOk)
            markAvailable[n] = 1;
        else if (result == kCheckSkipAllId)
            return true;
        else if (result != kCheckSkipId)
            return false;
    }
    return true;
}

std::vector<int> CCheckIngredients::RewrittenGlazes() const
{
    std::vector<int> rows;
    for (std::size_t k = 0; k < checked.size(); ++k) {
        const CGlaze* glaze = flagged[k] ? m_document.GetGlaze(checked[k]) : nullptr;
        for (std::size_t n = 0; glaze && n < unknownNames.size(); ++n) {
            if (actions[n] == kCheckChangeTo && HoldsIngredient(*glaze, unknownNames[n])) {
                rows.push_back(checked[k]);
                break;
            }
        }
    }
    return rows;
}

std::vector<int> CCheckIngredients::RewrittenMaterials() const
{
    std::vector<int> rows;
    CMaterialArray* materials = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    const auto add = [&rows, materials](const std::string& name) {
        if (const CMaterial* material = materials->FindMaterial(std::string_view(name)))
            rows.push_back(materials->IndexOf(material));
    };
    for (std::size_t n = 0; materials && n < unknownNames.size(); ++n) {
        if (actions[n] == kCheckMakeAlias)
            add(targets[n]);
    }
    for (std::size_t n = 0; materials && n < unavailableNames.size(); ++n) {
        if (markAvailable[n])
            add(unavailableNames[n]);
    }
    return rows;
}

// Once the dispositions are chosen, the forms on what they rewrite are asked, all in one step:
// those of the glazes a rename rewrites, and those of the materials that take an alias or are made
// available (a new material changes none). A glaze whose form saves is renamed as it was saved.
// Cancel abandons the disposition, nothing changed.
bool CCheckIngredients::AskTheirForms()
{
    std::vector<CEditForm> forms = m_document.EditFormsOf(RewrittenGlazes(), false);
    if (g_pMaterialsDoc) {
        const std::vector<CEditForm> materialForms = g_pMaterialsDoc->EditFormsOf(RewrittenMaterials(), false);
        forms.insert(forms.end(), materialForms.begin(), materialForms.end());
    }
    abandoned = !AskForms(forms, FormsAsked::BeforeChange);
    return !abandoned;
}

void CCheckIngredients::MarkAvailable()
{
    if (!g_pMaterialsDoc)
        return;
    CMaterialArray& materials = g_pMaterialsDoc->Materials();
    for (std::size_t n = 0; n < unavailableNames.size(); ++n) {
        const CMaterial* material = markAvailable[n] ? materials.FindMaterial(std::string_view(unavailableNames[n])) : nullptr;
        if (!material)
            continue;
        CMaterial available(*material);
        available.m_available = 1;
        g_pMaterialsDoc->ReplaceMaterial(materials.IndexOf(material), available);
        ++madeAvailable;
    }
}

void CCheckIngredients::ApplyUnknown(int n)
{
    const std::string& name = unknownNames[static_cast<std::size_t>(n)];
    const std::string& target = targets[static_cast<std::size_t>(n)];
    switch (actions[static_cast<std::size_t>(n)]) {
    case kCheckChangeTo:
        // Counted only where a recipe held the name.
        if (RenameIngredient(name, target))
            ++namesChanged;
        break;
    case kCheckMakeAlias:
        AddAlias(name, target);
        break;
    case kCheckCreate:
        CreateMaterial(name, std::string());
        break;
    case kCheckCreateAndMap:
        CreateMaterial(name, target);
        break;
    default:
        break;
    }
}

bool CCheckIngredients::RenameIngredient(const std::string& name, const std::string& target)
{
    bool renamed = false;
    for (std::size_t k = 0; k < checked.size(); ++k) {
        CGlaze* glaze = flagged[k] ? m_document.GetGlaze(checked[k]) : nullptr;
        if (!glaze)
            continue;
        bool changed = false;
        for (CIngredientList* lines : {&glaze->m_components, &glaze->m_additions}) {
            for (auto& line : *lines) {
                if (line && EqualsNoCase(line->m_name, name)) {
                    line->m_name = target;
                    changed = true;
                }
            }
        }
        if (changed) {
            glaze->InvalidateAnalysis();
            m_document.SetModifiedFlag(true);
            renamed = true;
            rewritten[k] = 1;
        }
    }
    return renamed;
}

void CCheckIngredients::AddAlias(const std::string& name, const std::string& target)
{
    CMaterialArray* materials = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    const CMaterial* material = materials ? materials->FindMaterial(std::string_view(target)) : nullptr;
    if (!material) {
        ++errors;
        return;
    }
    CMaterial aliased(*material);
    aliased.m_akaNames.push_back(name);
    aliased.m_akaCodes.push_back(std::string());
    g_pMaterialsDoc->ReplaceMaterial(materials->IndexOf(material), aliased);
    ++aliasesAdded;
}

void CCheckIngredients::CreateMaterial(const std::string& name, const std::string& mapTo)
{
    if (!g_pMaterialsDoc) {
        ++errors;
        return;
    }
    CMaterial material(name);
    if (!mapTo.empty()) {
        material.m_mapTo = mapTo;
        g_pMaterialsDoc->ApplyMapping(material);
    }
    g_pMaterialsDoc->InsertMaterial(g_pMaterialsDoc->Materials().GetCount(), material);
    if (mapTo.empty())
        ++materialsCreated;
    else
        ++materialsMapped;
}

std::string CCheckIngredients::SummaryText() const
{
    const int created = materialsCreated + materialsMapped;
    if (namesChanged + aliasesAdded + created + madeAvailable + errors == 0)
        return std::string();
    std::string text = "Summary of changes:\n";
    if (namesChanged > 0)
        text += Count(namesChanged, "ingredient name", "s") + " changed\n";
    if (aliasesAdded > 0)
        text += Count(aliasesAdded, "material alias", "es") + " added\n";
    if (created > 0) {
        text += Count(created, "new material", "s") + " created";
        if (materialsMapped > 0)
            text += " (" + std::to_string(materialsMapped) + " mapped)";
        text += "\n";
    }
    if (madeAvailable > 0)
        text += Count(madeAvailable, "material", "s") + " made available\n";
    if (errors > 0)
        text += Count(errors, "unspecified error", "s") + "\n";
    return text;
}

void CCheckIngredients::Refresh(int materialCount, const std::function<void()>& fillList)
{
    const bool materialsChanged = materialsCreated + materialsMapped + aliasesAdded + madeAvailable > 0;
    if (!materialsChanged && namesChanged == 0)
        return;
    // Edit views holding a renamed glaze reload it, also when the materials changed as well.
    if (namesChanged > 0) {
        for (std::size_t k = 0; k < checked.size(); ++k) {
            if (rewritten[k])
                COxidariumApp::BroadcastUpdate(m_sender, &m_document, static_cast<int>(DbFileType::Glazes),
                                               HintGlazeChanged, checked[k], HintExtra(m_document.GetGlaze(checked[k])));
        }
    }
    if (materialsChanged && g_pMaterialsDoc) {
        // The forms on the materials mapped to a changed one hear of it.
        g_pMaterialsDoc->UpdateMappedMaterials(false, true);
        for (int n = 0; n < m_document.GetGlazeCount(); ++n)
            m_document.GetGlaze(n)->InvalidateAnalysis();
        COxidariumApp::BroadcastUpdate(m_sender, g_pMaterialsDoc, static_cast<int>(DbFileType::Materials),
                                       HintMaterialsReplaced, 0, 0);
    }
    if (fillList)
        fillList();
    if (g_pMaterialsDoc && g_pMaterialsDoc->Materials().GetCount() > materialCount &&
        AppMessageBox("Don't forget to set up the new materials you created!\nDo you want to edit them now?",
                      MsgYesNo | MsgIconQuestion, kEditNewMaterialsHelpId) == MsgResultYes)
        g_pMaterialsDoc->OpenEditView(materialCount);
}

void CCheckIngredients::SelectFlagged()
{
    m_document.ClearSelection();
    for (std::size_t k = 0; k < checked.size(); ++k) {
        if (flagged[k])
            m_document.SelectGlaze(checked[k]);
    }
}
