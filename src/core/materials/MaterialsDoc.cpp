#include "materials/MaterialsDoc.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "materials/MaterialText.h"
#include "shell/Backup.h"
#include "shell/DocumentFile.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Profile.h"
#include "support/Services.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

CMaterialsDoc* g_pMaterialsDoc = nullptr;

namespace {

constexpr int kMaterialsKind = static_cast<int>(DbFileType::Materials);

constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr const char* kMaterialFileFilter = "Database Files (*.mat)|*.mat|All Files (*.*)|*.*||";

CMaterialEditViews* s_editViews = nullptr;

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

// The file the next start opens.
void RememberMaterialFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "MaterialDBFileName", path);
}

std::string Plural(int count)
{
    return count >= 2 ? "s" : "";
}

} // namespace

CMaterialEditViews* GetMaterialEditViews()
{
    return s_editViews;
}

void SetMaterialEditViews(CMaterialEditViews* views)
{
    s_editViews = views;
}

CMaterialsDoc::CMaterialsDoc()
{
    SetTitle("Materials");
    g_pMaterialsDoc = this;
    SetSingletonDocument(kMaterialsKind, this);
}

CMaterialsDoc::~CMaterialsDoc()
{
    if (g_pMaterialsDoc == this)
        g_pMaterialsDoc = nullptr;
    if (GetSingletonDocument(kMaterialsKind) == this)
        SetSingletonDocument(kMaterialsKind, nullptr);
}

void CMaterialsDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_materials.GetCount(); ++i)
        rows.push_back({i, m_materials.GetAt(i)->m_displayKey});
}

void CMaterialsDoc::Broadcast(int code, int index, const void* record)
{
    BroadcastUpdate(nullptr, this, kMaterialsKind, code, index, HintExtra(record));
}

// --- record operations ----------------------------------------------------------------------------

void CMaterialsDoc::InsertMaterial(int index, const CMaterial& material)
{
    m_materials.InsertCopy(index, material);
    SetModifiedFlag();
}

void CMaterialsDoc::DeleteMaterial(int index)
{
    m_materials.RemoveAt(index);
    SetModifiedFlag();
}

void CMaterialsDoc::ReplaceMaterial(int index, const CMaterial& material)
{
    m_materials.ReplaceAt(index, material);
    SetModifiedFlag();
}

void CMaterialsDoc::SwapMaterials(int a, int b)
{
    m_materials.Swap(a, b);
    SetModifiedFlag();
}

void CMaterialsDoc::MoveMaterial(int from, int to)
{
    m_materials.Move(from, to);
    SetModifiedFlag();
}

void CMaterialsDoc::SortMaterials(int kind, int oxide)
{
    m_materials.Sort(kind, oxide);
    SetModifiedFlag();
}

void CMaterialsDoc::SetMaterialField(int index, int field, const std::string& text)
{
    m_materials.SetField(index, field, text);
    SetModifiedFlag();
}

CMaterial* CMaterialsDoc::FindMaterial(std::string& text)
{
    return m_materials.FindMaterial(text, true);
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
    for (int i = 0; i < m_materials.GetCount(); ++i) {
        CMaterial* m = m_materials.GetAt(i);
        if (m->m_mapTo.empty())
            continue;
        int status = MappingOk;
        if (const CMaterial* end = m_materials.ResolveMapping(m, &status))
            chains.push_back({i, end});
        else
            ++bad;
    }
    std::vector<int> updated;
    bool formulaChanged = false;
    for (const auto& [index, end] : chains) {
        CMaterial* m = m_materials.GetAt(index);
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
        m_materials.InvalidateIndex(); // a formula is a key
    if (!updated.empty())
        SetModifiedFlag();
    if (broadcast) {
        for (int index : updated)
            Broadcast(HintMaterialChanged, index, m_materials.GetAt(index));
    }
    const int count = static_cast<int>(updated.size());
    if (count > 0 && showMessages)
        AppMessageBox(std::to_string(count) + " material mapping" + Plural(count) + " updated",
                      MsgOk | MsgIconInformation, kMaterialMappingsUpdatedHelpId);
    if (bad > 0 && showMessages)
        Warn(std::to_string(bad) + " bad material mapping" + Plural(bad) + " found, please run material database check",
             kMaterialBadMappingsHelpId);
}

int CMaterialsDoc::ApplyMapping(CMaterial& material)
{
    if (material.m_mapTo.empty())
        return MappingOk;
    double density = 0.0;
    double cost = 0.0;
    int available = 0;
    std::string formula;
    const int status = m_materials.GetMappedValues(&material, &density, &cost, &available, &formula);
    if (status == MappingOk) {
        material.m_density = density;
        material.m_available = available;
        material.m_costPerLb = cost;
        material.SetFormula(formula);
    }
    return status;
}

// --- edit views -----------------------------------------------------------------------------------

int CMaterialsDoc::OpenEditView(int index)
{
    CMaterialEditViews* views = GetMaterialEditViews();
    return views && views->OpenEditView(*this, index) ? 1 : 0;
}

void CMaterialsDoc::OpenLimitedEditView(const CStringArrayEx& names)
{
    std::vector<int> indices;
    for (const std::string& name : names) {
        const int index = m_materials.IndexOf(m_materials.FindMaterial(std::string_view(name)));
        if (index >= 0)
            indices.push_back(index);
    }
    CMaterialEditViews* views = GetMaterialEditViews();
    if (!indices.empty() && views)
        views->OpenLimitedEditView(*this, indices);
}

bool CMaterialsDoc::AskEditView(CView* view, CMaterialEditLink& link, bool close)
{
    CFrameHost* frame = view->GetFrame();
    if (frame)
        frame->ActivateFrame();
    const int answer = link.AskSaveChanges();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        link.SaveToDatabase();
    if (close) {
        link.SetChanged(false);
        if (frame)
            frame->CloseFrame();
    }
    return true;
}

int CMaterialsDoc::AskEditViews(bool close)
{
    CMaterialEditViews* views = GetMaterialEditViews();
    if (!views)
        return 1;
    const std::vector<CView*> snapshot = GetViews();
    for (CView* view : snapshot) {
        // An earlier answer may have closed this view.
        if (std::find(GetViews().begin(), GetViews().end(), view) == GetViews().end())
            continue;
        CMaterialEditLink* link = views->AsEditView(view);
        if (link && !AskEditView(view, *link, close))
            return 0;
    }
    return 1;
}

// --- document life --------------------------------------------------------------------------------

int CMaterialsDoc::OpenFile(const std::string& path)
{
    if (!SaveModified())
        return 1;
    OnOpenDocument(path);
    Broadcast(HintMaterialsReplaced, 0);
    return 0;
}

bool CMaterialsDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_materials.ResetToDefaults();
    m_materials.InsertCopy(0, CMaterial("new material"));
    SetModifiedFlag(false);
    return true;
}

bool CMaterialsDoc::OnOpenDocument(const std::string& path)
{
    m_materials.ResetToDefaults();
    bool loaded = false;
    std::error_code ec;
    std::ifstream in;
    if (!path.empty() && !std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        Warn(path + ": Error opening file", kMaterialOpenErrorHelpId);
    } else {
        int result = 0;
        {
            CBusyScope busy;
            result = m_materials.Read(in);
        }
        if (result != 0)
            Warn(path + ": " + m_materials.m_errorText, kMaterialReadErrorHelpId);
        loaded = result == 0;
    }
    if (loaded)
        SetPathName(path);
    else
        ClearPathName();
    // A file that could not be read stays remembered: the next start tries it again.
    if (loaded)
        RememberMaterialFile(path);
    SetModifiedFlag(false);
    UpdateMappedMaterials(true, false);
    return true;
}

bool CMaterialsDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(path, kMaterialBackupQuestionHelpId, kMaterialWriteErrorHelpId, [this](std::ostream& out) { return m_materials.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberMaterialFile(path);
    return true;
}

CFileDialogRequest CMaterialsDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Material Database Save As...";
    request.defaultExtension = "mat";
    request.filter = kMaterialFileFilter;
    request.helpId = kSaveDialogHelpId;
    return request;
}

bool CMaterialsDoc::SaveModified()
{
    if (!AskEditViews(false))
        return false;
    return CDocument::SaveModified();
}

bool CMaterialsDoc::CanCloseFrame(CFrameHost* frame)
{
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        CMaterialEditViews* views = GetMaterialEditViews();
        if (CMaterialEditLink* link = views ? views->AsEditView(view) : nullptr)
            return AskEditView(view, *link, false);
        // The list window stays while the program runs.
        frame->MinimizeFrame();
        return false;
    }
    return true;
}

void CMaterialsDoc::SetPathName(const std::string& path, bool /*addToRecentFiles*/)
{
    const std::string title = GetTitle();
    CDocument::SetPathName(path, false);
    SetTitle(title);
}

void CMaterialsDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open Material Database...";
    request.filter = kMaterialFileFilter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenFile(answer.paths.front());
}

bool CMaterialsDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdRevertMaterialDb:
        if (!GetPathName().empty()) {
            OnOpenDocument(std::string(GetPathName()));
            Broadcast(HintMaterialsReplaced, 0);
        }
        return true;
    case CmdSaveMaterialDb:
    case CmdSaveMaterialDbAs:
        if (AskEditViews(false)) {
            DoSave(id == CmdSaveMaterialDb ? std::string(GetPathName()) : std::string(), true);
            Broadcast(HintDocumentSaved, 0);
        }
        return true;
    case CmdNewMaterialDb:
        if (SaveModified()) {
            OnNewDocument();
            Broadcast(HintMaterialsReplaced, 0);
        }
        return true;
    case CmdOpenMaterialDb:
        OnFileOpen();
        return true;
    default:
        return false;
    }
}

bool CMaterialsDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertMaterialDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveMaterialDb:
    case CmdSaveMaterialDbAs:
    case CmdNewMaterialDb:
    case CmdOpenMaterialDb:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

// --- texts ----------------------------------------------------------------------------------------

void CMaterialsDoc::WriteMaterialText(std::ostream& out, std::span<const int> indices, const CMaterial* material) const
{
    ::WriteMaterialText(out, m_materials, indices, material, g_prefs.prtuseffs > 0);
}

void CMaterialsDoc::WriteMaterialsTableText(std::ostream& out, int format) const
{
    ::WriteMaterialsTableText(out, m_materials, GetPathName(), format, g_prefs.prtuseffs > 0);
}

void CMaterialsDoc::BuildMaterialsTable(CStringArrayEx& lines, std::string& title, int format) const
{
    ::BuildMaterialsTable(m_materials, lines, title, format);
}
