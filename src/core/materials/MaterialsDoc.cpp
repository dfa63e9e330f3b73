#include "materials/MaterialsDoc.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialText.h"
#include "shell/Preferences.h"

#include <string>

CMaterialsDoc* g_pMaterialsDoc = nullptr;

namespace {

const CRecordDatabaseKind kMaterialsKind = {
    .kind = DbFileType::Materials,
    .title = "Materials",
    .profileKey = "MaterialDBFileName",
    .fileFilter = "Database Files (*.mat)|*.mat|All Files (*.*)|*.*||",
    .defaultExtension = "mat",
    .openTitle = "Open Material Database...",
    .saveAsTitle = "Material Database Save As...",
    .newRecordName = "new material",
    .openDialogHelpId = 300,
    .saveDialogHelpId = 303,
    .openErrorHelpId = kMaterialOpenErrorHelpId,
    .readErrorHelpId = kMaterialReadErrorHelpId,
    .backupHelpId = kMaterialBackupQuestionHelpId,
    .writeErrorHelpId = kMaterialWriteErrorHelpId,
    .hints = {HintMaterialChanged, HintMaterialsInserted, HintMaterialsDeleted, HintMaterialsReordered,
              HintMaterialsReplaced},
    .commands = {CmdNewMaterialDb, CmdOpenMaterialDb, CmdSaveMaterialDb, CmdSaveMaterialDbAs, CmdRevertMaterialDb},
    .shiftDownAnnouncesOldRow = true,
};

std::string Plural(int count)
{
    return count >= 2 ? "s" : "";
}

} // namespace

CMaterialsDoc::CMaterialsDoc() : CRecordDatabaseDocOf(kMaterialsKind)
{
    g_pMaterialsDoc = this;
}

CMaterialsDoc::~CMaterialsDoc()
{
    if (g_pMaterialsDoc == this)
        g_pMaterialsDoc = nullptr;
}

void CMaterialsDoc::OnBroadcastNotice(const CUpdateHint& hint)
{
    if (hint.m_nCode == HintElementChanged || hint.m_nCode == HintElementsReplaced)
        m_records.ReparseFormulas();
}

void CMaterialsDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_records.GetCount(); ++i)
        rows.push_back({i, m_records.GetAt(i)->m_displayKey});
}

// --- record operations ----------------------------------------------------------------------------

void CMaterialsDoc::SortMaterials(int kind, int oxide)
{
    m_records.Sort(kind, oxide);
    SetModifiedFlag();
}

void CMaterialsDoc::SetMaterialField(int index, int field, const std::string& text)
{
    m_records.SetField(index, field, text);
    SetModifiedFlag();
}

CMaterial* CMaterialsDoc::FindMaterial(std::string& text)
{
    return m_records.FindMaterial(text, true);
}

void CMaterialsDoc::CopySettingsTo(CMaterialArray& subset) const
{
    subset.m_currencySymbol = m_records.m_currencySymbol;
    subset.m_costUnit = m_records.m_costUnit;
    subset.m_costPlacesLeft = m_records.m_costPlacesLeft;
    subset.m_costPlacesRight = m_records.m_costPlacesRight;
    subset.m_densityUnit = m_records.m_densityUnit;
}

void CMaterialsDoc::OpenLimitedEditView(const CStringArrayEx& names)
{
    std::vector<int> indices;
    for (const std::string& name : names) {
        const int index = m_records.IndexOf(m_records.FindMaterial(std::string_view(name)));
        if (index >= 0)
            indices.push_back(index);
    }
    OpenLimitedEditView(indices);
}

// --- mappings -------------------------------------------------------------------------------------

// Every chain is resolved first and the records changed afterwards: the ends of chains are never
// mapped themselves, so each record gets the values its chain ends in when the pass starts, and
// the name index stays valid for all the look-ups of the pass. Views hear of the changes once
// every record is in step.
void CMaterialsDoc::UpdateMappedMaterials(bool showMessages, bool broadcast)
{
    struct SChain {
        int index;            // of the mapped record
        const CMaterial* end; // of its chain
    };
    std::vector<SChain> chains;
    int bad = 0;
    for (int i = 0; i < m_records.GetCount(); ++i) {
        CMaterial* m = m_records.GetAt(i);
        if (m->m_mapTo.empty())
            continue;
        int status = MappingOk;
        if (const CMaterial* end = m_records.ResolveMapping(m, &status))
            chains.push_back({i, end});
        else
            ++bad;
    }
    std::vector<int> updated;
    bool formulaChanged = false;
    for (const auto& [index, end] : chains) {
        CMaterial* m = m_records.GetAt(index);
        if (end->m_density == m->m_density && end->m_costPerLb == m->m_costPerLb &&
            end->m_available == m->m_available && end->m_formula == m->m_formula)
            continue;
        m->m_density = end->m_density;
        m->m_costPerLb = end->m_costPerLb;
        m->m_available = end->m_available;
        if (end->m_formula != m->m_formula) {
            m->SetFormula(end->m_formula);
            formulaChanged = true;
        }
        updated.push_back(index);
    }
    if (formulaChanged)
        m_records.InvalidateIndex(); // a formula is a key
    if (!updated.empty())
        SetModifiedFlag();
    if (broadcast) {
        for (int index : updated)
            Announce(HintMaterialChanged, index, nullptr, m_records.GetAt(index));
    }
    const int count = static_cast<int>(updated.size());
    if (count > 0 && showMessages)
        AppMessageBox(std::to_string(count) + " material mapping" + Plural(count) + " updated",
                      MsgOk | MsgIconInformation, kMaterialMappingsUpdatedHelpId);
    if (bad > 0 && showMessages)
        AppMessageBox(std::to_string(bad) + " bad material mapping" + Plural(bad) + " found, please run material database check",
                      MsgOk | MsgIconExclamation, kMaterialBadMappingsHelpId);
}

int CMaterialsDoc::ApplyMapping(CMaterial& material)
{
    if (material.m_mapTo.empty())
        return MappingOk;
    double density = 0.0;
    double cost = 0.0;
    int available = 0;
    std::string formula;
    const int status = m_records.GetMappedValues(&material, &density, &cost, &available, &formula);
    if (status == MappingOk) {
        material.m_density = density;
        material.m_available = available;
        material.m_costPerLb = cost;
        material.SetFormula(formula);
    }
    return status;
}

// --- texts ----------------------------------------------------------------------------------------

void CMaterialsDoc::WriteMaterialText(std::ostream& out, std::span<const int> indices, const CMaterial* material) const
{
    ::WriteMaterialText(out, m_records, indices, material, g_prefs.prtuseffs > 0);
}

void CMaterialsDoc::WriteMaterialsTableText(std::ostream& out, int format) const
{
    ::WriteMaterialsTableText(out, m_records, GetPathName(), format, g_prefs.prtuseffs > 0);
}

void CMaterialsDoc::BuildMaterialsTable(CStringArrayEx& lines, std::string& title, int format) const
{
    ::BuildMaterialsTable(m_records, lines, title, format);
}
